// Kairon's entry point. Until the main window exists the program introduces itself
// in a message box; the start-up sequence replaces this as the dialogs arrive.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    MessageBoxW(nullptr, L"Kairon", L"Kairon", MB_OK | MB_ICONINFORMATION);
    return 0;
}
