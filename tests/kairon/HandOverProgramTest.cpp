// The real program started as Explorer starts it: once per selected item, with the item on
// the command line, the registered verb's command line, many processes at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <set>
#include <vector>

#include "s/app/win/ShellIntegration.h"
#include "s/lang/Localizer.h"

namespace
{

constexpr wchar_t TEST_KEY[] = L"Software\\KaironTests\\HandOverProgram";
constexpr wchar_t CLASSES[] = L"Software\\KaironTests\\HandOverProgramClasses";

void writeString(const wchar_t* sub, const wchar_t* name, const wchar_t* text)
{
    HKEY key;
    const std::wstring path = std::wstring(TEST_KEY) + sub;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD((wcslen(text) + 1) * 2));
    RegCloseKey(key);
}

int64_t modifiedOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (int64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime) / 10000000;
}

void setModified(const std::wstring& path, int64_t seconds)
{
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    const uint64_t ticks = uint64_t(seconds) * 10000000;
    FILETIME t{DWORD(ticks), DWORD(ticks >> 32)};
    SetFileTime(h, nullptr, &t, &t);
    CloseHandle(h);
}

HWND windowOf(DWORD processId)
{
    struct Search
    {
        DWORD processId;
        HWND found = nullptr;
    } search{processId};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL
        {
            Search* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            RECT r;
            GetWindowRect(window, &r);
            if (owner == s->processId && IsWindowVisible(window) && r.right - r.left > 100)
            {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class ProgramHandOver : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY);
        RegDeleteTreeW(HKEY_CURRENT_USER, CLASSES);
        wchar_t here[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, here);
        program = std::wstring(here) + L"\\Kairon.exe";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(program.c_str())) << "run from the build folder";
        // Change Multiple, every item synchronised to the newest among the dropped ones: items
        // that arrive in one drop end with one time, items of two drops with two.
        s::lang::Localizer* pack = s::lang::Localizer::loadFromResource(nullptr);
        pack->selectLanguage(L"English");
        writeString(L"\\SaveData\\MainWindow\\View", L"ConvertTo", pack->getText(1101000));
        pack->Release();
        writeString(L"\\SaveData\\View\\Multiple", L"Mode", L"Sync");
        writeString(L"\\SaveData\\View\\Multiple", L"SyncMode", L"Newest");
        SetEnvironmentVariableW(L"KAIRON_TEST_PRODUCT_KEY", TEST_KEY);
        SetEnvironmentVariableW(L"KAIRON_TEST_CLASSES_KEY", CLASSES);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"kairon-handover-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        for (PROCESS_INFORMATION& pi : processes)
        {
            if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
            {
                if (HWND w = windowOf(pi.dwProcessId))
                    PostMessageW(w, WM_CLOSE, 0, 0);
                if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0)
                    TerminateProcess(pi.hProcess, 1);
            }
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        for (const std::wstring& f : files)
            DeleteFileW(f.c_str());
        RemoveDirectoryW(folder.c_str());
        SetEnvironmentVariableW(L"KAIRON_TEST_PRODUCT_KEY", nullptr);
        SetEnvironmentVariableW(L"KAIRON_TEST_CLASSES_KEY", nullptr);
        RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY);
        RegDeleteTreeW(HKEY_CURRENT_USER, CLASSES);
    }
    // Files whose modified times are an hour apart, the last the newest.
    std::vector<std::wstring> makeFiles(int count, const wchar_t* prefix)
    {
        std::vector<std::wstring> made;
        for (int i = 0; i < count; ++i)
        {
            std::wstring path = folder + L"\\" + prefix + L" " + std::to_wstring(i) + L" é.txt";
            CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            setModified(path, base + i * 3600);
            made.push_back(path);
            files.push_back(path);
        }
        return made;
    }
    // Starts a command line as the shell does (the program file taken from the line).
    PROCESS_INFORMATION start(std::wstring commandLine)
    {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                   &si, &pi))
            << std::string(commandLine.begin(), commandLine.end());
        processes.push_back(pi);
        return pi;
    }
    bool waitUntil(int seconds, const std::vector<std::wstring>& paths, int64_t modified)
    {
        for (int i = 0; i < seconds * 10; ++i)
        {
            if (std::all_of(paths.begin(), paths.end(), [&](const std::wstring& p) { return modifiedOf(p) == modified; }))
                return true;
            Sleep(100);
        }
        return false;
    }
    std::wstring program, folder;
    std::vector<std::wstring> files;
    std::vector<PROCESS_INFORMATION> processes;
    const int64_t base = 13300000000; // seconds since 1601: in 2022
};

} // namespace

TEST_F(ProgramHandOver, TheRegisteredCommandLineRunAsExplorerDoesReachesTheRunningWindow)
{
    // Each item to the current time: what reaches the window changes, in one drop or in two.
    writeString(L"\\SaveData\\View\\Multiple", L"SyncMode", L"Current");
    PROCESS_INFORMATION first = start(L"\"" + program + L"\" /test");
    HWND window = nullptr;
    for (int i = 0; i < 600 && window == nullptr; ++i, Sleep(100))
        window = windowOf(first.dwProcessId);
    ASSERT_NE(nullptr, window);

    s::app::win::ShellIntegration::setClassesKey(CLASSES);
    ASSERT_TRUE(s::app::win::ShellIntegration::addContextMenu(L"Kairon", program.c_str(), L"Verb"));
    s::app::win::ShellIntegration::setClassesKey(nullptr);
    wchar_t command[1024] = L"";
    DWORD size = sizeof command;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, (std::wstring(CLASSES) + L"\\*\\shell\\Kairon\\command").c_str(),
                                          L"", RRF_RT_REG_SZ, nullptr, command, &size));

    // One process per selected item, each with "%1" replaced by the item, as Explorer does.
    const std::vector<std::wstring> items = makeFiles(2, L"selected");
    std::vector<PROCESS_INFORMATION> later;
    for (const std::wstring& item : items)
    {
        std::wstring line = command;
        line.replace(line.find(L"%1"), 2, item);
        later.push_back(start(line));
    }
    for (PROCESS_INFORMATION& pi : later)
    {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 90000));
        DWORD code = 99;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(0u, code);
        EXPECT_EQ(nullptr, windowOf(pi.dwProcessId));
    }
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const int64_t nowSeconds = (int64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime) / 10000000;
    bool changed = false;
    for (int i = 0; i < 300 && !changed; ++i, Sleep(100))
        changed = modifiedOf(items[0]) > nowSeconds - 600 && modifiedOf(items[1]) > nowSeconds - 600;
    EXPECT_TRUE(changed) << modifiedOf(items[0]) - base << " " << modifiedOf(items[1]) - base;
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(ProgramHandOver, FiftyProcessesStartedAtOnceFormOneRun)
{
    const std::vector<std::wstring> items = makeFiles(50, L"many");
    for (const std::wstring& item : items)
        start(L"\"" + program + L"\" \"" + item + L"\"");
    // One process keeps its window; every other one hands its item over and ends with 0.
    std::vector<bool> ended(processes.size(), false);
    size_t endedCount = 0;
    for (int i = 0; i < 1800 && endedCount < processes.size() - 1; ++i, Sleep(100))
    {
        for (size_t p = 0; p < processes.size(); ++p)
        {
            if (!ended[p] && WaitForSingleObject(processes[p].hProcess, 0) == WAIT_OBJECT_0)
            {
                ended[p] = true;
                ++endedCount;
            }
        }
    }
    ASSERT_EQ(processes.size() - 1, endedCount);
    for (size_t p = 0; p < processes.size(); ++p)
    {
        if (!ended[p])
        {
            EXPECT_NE(nullptr, windowOf(processes[p].dwProcessId));
            continue;
        }
        DWORD code = 99;
        GetExitCodeProcess(processes[p].hProcess, &code);
        EXPECT_EQ(0u, code);
    }
    // One drop: every item synchronised to the newest of all fifty.
    const int64_t newest = base + int64_t(items.size() - 1) * 3600;
    const bool one = waitUntil(180, items, newest);
    std::set<int64_t> runs;
    for (const std::wstring& item : items)
        runs.insert(modifiedOf(item));
    EXPECT_TRUE(one) << "50 starts formed " << runs.size() << " drops";
}

TEST_F(ProgramHandOver, RelativePathsOnTheCommandLineAreTheStartingFolders)
{
    const std::vector<std::wstring> items = makeFiles(2, L"relative");
    std::wstring line = L"\"" + program + L"\"";
    for (const std::wstring& item : items)
        line += L" \"" + item.substr(folder.size() + 1) + L"\"";
    // Started in the items' folder (see start): the first instance opens with them as a drop.
    start(line);
    EXPECT_TRUE(waitUntil(90, items, base + 3600));
}
