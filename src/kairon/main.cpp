// Kairon's entry point: the framework runs the application object's InitInstance.
#include <windows.h>

#include "kairon/KaironApp.h"
#include "s/sys/StepProfile.h"

namespace
{
CKaironApp theApp;

// Tests start the program with its settings in a key of their own; nothing else may move
// them, so only keys under the tests' own branch are taken.
void takeTestKey()
{
    wchar_t key[256] = L"";
    const DWORD length = GetEnvironmentVariableW(L"KAIRON_TEST_PRODUCT_KEY", key, 256);
    const wchar_t prefix[] = L"Software\\KaironTests\\";
    if (length > 0 && length < 256 && _wcsnicmp(key, prefix, wcslen(prefix)) == 0)
    {
        theApp.setProductKey(key);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showCommand)
{
    // KAIRON_STARTUP_PROFILE=<file>: the milliseconds of each start-up step go to the file.
    s::sys::StepProfile::startFromEnvironment(L"KAIRON_STARTUP_PROFILE");
    s::sys::StepProfile::mark(L"process to entry point");
    takeTestKey();
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
