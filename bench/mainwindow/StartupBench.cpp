// Start-up to a visible main window, as a ratio against the least a Win32 program does to
// show an empty window (bench_empty_window), both started as processes in the same run,
// alternating, median of 5. Goal: Kairon / empty <= 1.5.
// The clock stops when a visible top-level window of the started process exists (Kairon
// lays its window out before it shows it); the window is then closed and the process
// awaited.
// Run from the build folder: wine-run.sh bench/mainwindow/bench_startup.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

struct Found
{
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data)
{
    Found* found = reinterpret_cast<Found*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->processId && IsWindowVisible(window))
    {
        RECT r;
        GetWindowRect(window, &r);
        if (r.right - r.left > 100 && r.bottom - r.top > 100)
        {
            found->window = window;
            return FALSE;
        }
    }
    return TRUE;
}

// Seconds from CreateProcess to a visible window of the process; negative on failure.
double TimeToWindow(const std::wstring& program)
{
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    {
        return -1;
    }
    Found found{pi.dwProcessId, nullptr};
    double seconds = -1;
    for (int i = 0; i < 60000 && found.window == nullptr; ++i)
    {
        EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&found));
        if (found.window != nullptr)
        {
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
        {
            break;
        }
        Sleep(1);
    }
    if (found.window != nullptr)
    {
        PostMessageW(found.window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
    {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return seconds;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder = folder.substr(0, folder.find_last_of(L"\\/"));
    const std::wstring empty = folder + L"\\bench_empty_window.exe";
    // The build folder holds Kairon.exe, two levels up from bench/mainwindow.
    std::wstring build = folder.substr(0, folder.find_last_of(L"\\/"));
    build = build.substr(0, build.find_last_of(L"\\/"));
    const std::wstring kairon = build + L"\\Kairon.exe";

    // One start of each first: the system caches the programs' files.
    TimeToWindow(empty);
    TimeToWindow(kairon);
    std::vector<double> kaironTimes, emptyTimes;
    for (int round = 0; round < 5; ++round)
    {
        const double k = TimeToWindow(kairon);
        const double e = TimeToWindow(empty);
        if (k < 0 || e < 0)
        {
            std::printf("a program did not show its window (Kairon %.3f s, empty %.3f s)\n", k, e);
            return 1;
        }
        kaironTimes.push_back(k);
        emptyTimes.push_back(e);
    }
    const double k = Median(kaironTimes), e = Median(emptyTimes);
    std::printf("start-up to a visible window, median of 5, alternating\n");
    std::printf("  Kairon %8.1f ms   empty window %8.1f ms   ratio %.3f   (goal <= 1.50)\n", k * 1000, e * 1000,
                k / e);
    return 0;
}
