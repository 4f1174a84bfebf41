// Kairon's entry point: the framework runs the application object's InitInstance.
#include <windows.h>

#include "kairon/KaironApp.h"
#include "s/app/win/ShellIntegration.h"
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
// Tests put the Explorer entries into a classes key under the tests' branch and a SendTo
// folder of their own.
void takeTestShellPlaces()
{
    wchar_t value[1024] = L"";
    const wchar_t prefix[] = L"Software\\KaironTests\\";
    DWORD length = GetEnvironmentVariableW(L"KAIRON_TEST_CLASSES_KEY", value, 1024);
    if (length > 0 && length < 1024 && _wcsnicmp(value, prefix, wcslen(prefix)) == 0)
    {
        s::app::win::ShellIntegration::setClassesKey(value);
    }
    length = GetEnvironmentVariableW(L"KAIRON_TEST_SENDTO", value, 1024);
    if (length > 0 && length < 1024 && GetFileAttributesW(value) != INVALID_FILE_ATTRIBUTES)
    {
        s::app::win::ShellIntegration::setSendToFolder(value);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int showCommand)
{
    // KAIRON_STARTUP_PROFILE=<file>: the milliseconds of each start-up step go to the file.
    s::sys::StepProfile::startFromEnvironment(L"KAIRON_STARTUP_PROFILE");
    s::sys::StepProfile::mark(L"process to entry point");
    takeTestKey();
    takeTestShellPlaces();
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
