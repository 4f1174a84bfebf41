// kairon-cli against the bare loop, as a ratio (kairon-cli / bare):
//   a tree of 20,000 files in 200 folders; `kairon-cli set --offset +1s --recursive` run as
//   a child process (the whole program: start, walk, journal, writes, exit), against the
//   limit loop of bench/engine (a walk, one minimal open, SetFileTime and CloseHandle per
//   item); alternating, median of 5. Goal: ratio <= 1.15. The older loop (the engine's first
//   form of system calls) is timed too, for comparison.
// Run from the build folder: wine-run.sh bench/cli/bench_cli.exe [files]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/BareLoop.h"

namespace
{

constexpr int64_t TICKS_PER_SECOND = 10000000;
constexpr uint64_t EPOCH_TICKS = 116444736000000000ULL;

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::wstring CliPath()
{
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring here = std::wstring(folder) + L"\\kairon-cli.exe";
    if (GetFileAttributesW(here.c_str()) != INVALID_FILE_ATTRIBUTES)
        return here;
    // Beside the build folder's bench\cli.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    for (int up = 0; up < 3; ++up)
        path = path.substr(0, path.find_last_of(L'\\'));
    return path + L"\\kairon-cli.exe";
}

// Runs kairon-cli with its output thrown away; answers its exit status.
DWORD RunCli(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring line = L"\"" + exe + L"\" " + arguments;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0,
                             nullptr);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nul;
    si.hStdOutput = nul;
    si.hStdError = nul;
    PROCESS_INFORMATION pi = {};
    DWORD code = 0xFFFFFFFF;
    if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    {
        WaitForSingleObject(pi.hProcess, INFINITE);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(nul);
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::max(200, std::atoi(argv[1])) : 20000;
    const int folders = 200;
    const std::wstring exe = CliPath();
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
    {
        std::printf("kairon-cli.exe not found (run from the build folder)\n");
        return 1;
    }
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"kairon_bench_cli_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring tree = base + L"_tree";
    const std::wstring journals = base + L"_journals";
    SetEnvironmentVariableW(L"KAIRON_JOURNAL_DIR", journals.c_str());
    std::printf("building a tree of %d files in %d folders...\n", files, folders);
    if (!kairon::bench::MakeTree(tree, files, folders))
    {
        std::printf("cannot build the tree\n");
        kairon::bench::RemoveTree(tree);
        return 1;
    }

    // One run first, so that both sides meet a warm cache and a started wineserver.
    const std::wstring arguments = L"set --offset +1s --recursive --quiet \"" + tree + L"\"";
    DWORD failedRuns = RunCli(exe, arguments) != 0;
    std::vector<double> cliTimes, bareTimes, oldTimes;
    for (int round = 0; round < 5; ++round)
    {
        auto start = std::chrono::steady_clock::now();
        failedRuns += RunCli(exe, arguments) != 0;
        cliTimes.push_back(Seconds(start));

        const uint64_t ticks = uint64_t(1100000000 + round) * TICKS_PER_SECOND + EPOCH_TICKS;
        const FILETIME t{DWORD(ticks), DWORD(ticks >> 32)};
        start = std::chrono::steady_clock::now();
        kairon::bench::LimitWrite(tree, true, t);
        bareTimes.push_back(Seconds(start));

        start = std::chrono::steady_clock::now();
        kairon::bench::OldLoopItem(tree, t);
        oldTimes.push_back(Seconds(start));
    }
    const double cli = Median(cliTimes), bare = Median(bareTimes), old = Median(oldTimes);
    std::printf("%d files, %d folders, median of 5, alternating\n", files, folders);
    std::printf("  kairon-cli set --offset %8.1f ms   limit loop %8.1f ms   ratio %.3f   (goal <= 1.15)\n",
                cli * 1000, bare * 1000, cli / bare);
    std::printf("  older loop %8.1f ms   ratio kairon-cli / older loop %.3f\n", old * 1000, cli / old);
    std::printf("kairon-cli runs that did not exit 0: %lu\n", static_cast<unsigned long>(failedRuns));

    kairon::bench::RemoveTree(tree);
    kairon::bench::RemoveTree(journals);
    return 0;
}
