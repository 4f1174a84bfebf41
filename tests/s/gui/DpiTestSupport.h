#pragma once
// Running tests at another screen density. Wine gives a process the DPI of the prefix's
// registry value HKCU\Control Panel\Desktop\LogPixels (falling back to
// HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts\LogPixels), read
// when the process starts. A test therefore sets the value, runs suites of its own program
// in a new process and puts the value back as it was (or removes it when there was none).
// Such tests change the whole prefix while they run: their CTest entries are RUN_SERIAL.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace testgui
{

// Set in the child's environment to the DPI it was started for.
constexpr wchar_t DPI_CHILD_VARIABLE[] = L"KAIRON_DPI_CHILD";

// The DPI this process was started for by runAtDpi; 0 in any other process.
inline int childDpi()
{
    wchar_t text[16] = {};
    DWORD n = GetEnvironmentVariableW(DPI_CHILD_VARIABLE, text, 16);
    return n > 0 && n < 16 ? static_cast<int>(std::wcstol(text, nullptr, 10)) : 0;
}

// Sets the user's LogPixels for its lifetime and restores what was there.
class LogPixels
{
  public:
    explicit LogPixels(int dpi)
    {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, KEY, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS)
        {
            key_ = nullptr;
            return;
        }
        DWORD size = sizeof(saved_), type = 0;
        had_ = RegQueryValueExW(key_, VALUE, nullptr, &type, reinterpret_cast<BYTE*>(&saved_), &size) ==
                   ERROR_SUCCESS &&
               type == REG_DWORD;
        DWORD value = static_cast<DWORD>(dpi);
        set_ = RegSetValueExW(key_, VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
               ERROR_SUCCESS;
    }
    ~LogPixels()
    {
        if (!key_)
            return;
        if (had_)
            RegSetValueExW(key_, VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved_), sizeof(saved_));
        else
            RegDeleteValueW(key_, VALUE);
        RegCloseKey(key_);
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;
    bool isSet() const { return set_; }

  private:
    static constexpr wchar_t KEY[] = L"Control Panel\\Desktop";
    static constexpr wchar_t VALUE[] = L"LogPixels";
    HKEY key_ = nullptr;
    bool had_ = false, set_ = false;
    DWORD saved_ = 0;
};

// Runs this test program again with `--gtest_filter=filter` at `dpi` and answers its exit
// code (0 when every test passed; -1 when it could not start or did not end in 5 minutes).
// Its output goes to this process's output.
inline int runAtDpi(int dpi, const wchar_t* filter)
{
    LogPixels setting(dpi);
    if (!setting.isSet())
        return -1;
    wchar_t self[MAX_PATH];
    if (GetModuleFileNameW(nullptr, self, MAX_PATH) == 0)
        return -1;
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + filter;
    std::fflush(nullptr); // this process's output first
    SetEnvironmentVariableW(DPI_CHILD_VARIABLE, std::to_wstring(dpi).c_str());
    STARTUPINFOW start{};
    start.cb = sizeof(start);
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
    SetEnvironmentVariableW(DPI_CHILD_VARIABLE, nullptr);
    if (!started)
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 300000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, static_cast<UINT>(-1));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace testgui
