#pragma once
// The real program started from a test: its process, its windows, and its end.
#include <windows.h>

#include <string>
#include <vector>

namespace testkairon
{

// Visible top-level windows of a process, wider than 100 pixels.
inline std::vector<HWND> windowsOf(DWORD processId)
{
    struct Search
    {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL
        {
            Search* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            RECT r;
            GetWindowRect(window, &r);
            if (owner == s->processId && IsWindowVisible(window) && r.right - r.left > 100)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first visible window of the process, waiting up to `milliseconds` for one.
inline HWND waitForWindow(DWORD processId, int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 50)
    {
        std::vector<HWND> found = windowsOf(processId);
        if (!found.empty())
            return found[0];
        Sleep(50);
    }
    return nullptr;
}

// Kairon.exe of the build folder (the tests' working folder), started with its settings in
// `productKey` (a key under Software\KaironTests) and an argument, which keeps the first-run
// page away. Ends the program (WM_CLOSE, then by force) when the object goes.
class Program
{
  public:
    explicit Program(const wchar_t* productKey)
    {
        wchar_t folder[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, folder);
        const std::wstring program = std::wstring(folder) + L"\\Kairon.exe";
        SetEnvironmentVariableW(L"KAIRON_TEST_PRODUCT_KEY", productKey);
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        std::wstring commandLine = L"\"" + program + L"\" /test";
        started_ = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &si, &process_) != FALSE;
        SetEnvironmentVariableW(L"KAIRON_TEST_PRODUCT_KEY", nullptr);
        if (started_)
            window_ = waitForWindow(process_.dwProcessId, 60000);
    }
    ~Program() { close(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The main window, null when the program did not start or show it.
    HWND window() const { return window_; }
    DWORD processId() const { return process_.dwProcessId; }
    // Waits until the program's user-interface thread has handled what was sent before.
    void settle() const
    {
        if (window_)
            SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    }
    // Closes the main window and waits for the process to end; true when it ended by itself.
    bool close()
    {
        if (!started_)
            return false;
        started_ = false;
        if (window_)
            PostMessageW(window_, WM_CLOSE, 0, 0);
        bool ended = WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0;
        if (!ended)
            TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        return ended;
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    HWND window_ = nullptr;
};

} // namespace testkairon
