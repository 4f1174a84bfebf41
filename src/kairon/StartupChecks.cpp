#include "kairon/StartupChecks.h"

#include <atomic>
#include <string>

#include "s/file/win/PathWin.h"
#include "s/process/commandline/ICommandLine.h"
#include "s/reg/win/RegDir.h"
#include "s/str/strarray/StrArray.h"

namespace kairon
{

const wchar_t UNSUPPORTED_SYSTEM_TEXT[] =
    L"This Operating System is currently not supported by this Application. We are sorry for the inconvenience.";

namespace
{
std::atomic<VersionSource> versionSource{nullptr};

bool systemVersion(OSVERSIONINFOEXW* version)
{
    version->dwOSVersionInfoSize = sizeof(*version);
    // GetVersionExW is deprecated for feature tests, not for this one: the program states
    // which systems it runs on.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    return GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(version)) != FALSE;
}
} // namespace

bool resetOutdatedSettings(const wchar_t* productKey)
{
    const std::wstring saveData = std::wstring(productKey) + L"\\SaveData";
    s::reg::win::RegDir* versionKey = s::reg::win::RegDir::Open(HKEY_CURRENT_USER, (saveData + L"\\Version").c_str());
    if (versionKey == nullptr)
    {
        return false;
    }
    const wchar_t* stored = versionKey->isOpen() ? versionKey->getString(L"", L"", nullptr, false) : L"";
    const bool outdated =
        lstrcmpiW(stored, L"1.00") == 0 || lstrcmpiW(stored, L"1.01") == 0 || lstrcmpiW(stored, L"1.02") == 0;
    versionKey->Release();
    if (!outdated)
    {
        return false;
    }
    s::reg::win::RegDir* settings = s::reg::win::RegDir::Open(HKEY_CURRENT_USER, saveData.c_str());
    if (settings == nullptr)
    {
        return false;
    }
    const bool removed = settings->remove(true);
    settings->Release();
    return removed;
}

bool isSupportedSystem(const OSVERSIONINFOEXW& version)
{
    if (version.dwMajorVersion >= 6)
    {
        return true;
    }
    return version.dwMajorVersion == 5 && (version.dwMinorVersion == 1 || version.dwMinorVersion == 2) &&
           version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

s::str::strarray::StrArray* pathsOfCommandLine(const s::process::commandline::ICommandLine* commandLine)
{
    s::str::strarray::StrArray* paths = s::str::strarray::StrArray::Acquire();
    const uint32_t count = commandLine != nullptr ? commandLine->getArgumentCount() : 0;
    for (uint32_t i = 0; i < count; ++i)
    {
        const wchar_t* argument = commandLine->getArgument(i);
        if (argument == nullptr || argument[0] == L'\0' || argument[0] == L'-')
        {
            continue;
        }
        // Made absolute here: the instance that receives the paths has a folder of its own.
        // The system form ("\\?\C:\..." or "\\?\UNC\...") is the absolute one, with every
        // name as written; it is handed on in the plain form a drop has.
        s::file::win::PathWin* path = s::file::win::PathWin::FromText(argument);
        if (path != nullptr)
        {
            const std::wstring api = path->GetApiPath();
            if (api.rfind(L"\\\\?\\UNC\\", 0) == 0)
            {
                paths->Add((L"\\\\" + api.substr(8)).c_str());
            }
            else if (api.rfind(L"\\\\?\\", 0) == 0 && api.size() > 4)
            {
                paths->Add(api.c_str() + 4);
            }
            else if (path->GetFullPath()[0] != L'\0')
            {
                paths->Add(path->GetFullPath());
            }
            path->Release();
        }
    }
    return paths;
}

VersionSource setVersionSource(VersionSource source)
{
    return versionSource.exchange(source);
}

bool readSystemVersion(OSVERSIONINFOEXW* version)
{
    VersionSource source = versionSource.load();
    return source != nullptr ? source(version) : systemVersion(version);
}

} // namespace kairon
