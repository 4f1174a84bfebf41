// The change engine at the system's limit, as ratios against bare loops in the same run:
//   - writing: a tree of 20,000 files in 200 folders, every item written with a specific
//     time by the engine (through the processing frame, with a status channel that does
//     nothing), against the limit loop: a FindFirstFileW walk that opens each entry for
//     FILE_WRITE_ATTRIBUTES only (sharing read, write and delete; backup semantics, the
//     link itself), calls SetFileTime and closes it, contents before their folder, taking
//     everything else from the find data. Alternating (each first in every other round),
//     median of 5. Goal: <= 1.10.
//     The older loop (GetFileAttributesW, SetFileAttributesW to normal, CreateFileW for
//     reading and writing, SetFileTime, CloseHandle, SetFileAttributesW back) is timed
//     too, for comparison.
//   - searching: the newest/oldest search over the same tree against a bare FindFirstFileW
//     walk reading the same three times. Alternating, median of 5. Goal: <= 1.10.
//   The bare loops run at the engine worker's priority (below normal).
//   - memory ("memory" argument): the peak working set after the engine has run over 1,000
//     files and then over 100,000; it must stay flat (paths are pooled, a folder's listing
//     is held only while that folder is handled).
// Run: wine-run.sh bench/engine/bench_engine.exe [files]   or   ... bench_engine.exe memory

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/BareLoop.h"
#include "s/file/gui/dialogs/filetime/ChangeEngine.h"
#include "s/file/win/PathWin.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"
#include "s/thread/ObjLocker.h"

using s::file::gui::dialogs::filetime::ChangeEngine;
using s::file::gui::dialogs::filetime::ChangeRequest;
using s::file::win::PathWin;
using namespace s::gui::dialogs::dragndrop;
using kairon::bench::IsDots;
using kairon::bench::LimitWrite;
using kairon::bench::MakeTree;
using kairon::bench::OldLoopItem;
using kairon::bench::RemoveTree;

namespace
{

constexpr int64_t TICKS_PER_SECOND = 10000000;
constexpr uint64_t EPOCH_TICKS = 116444736000000000ULL;

// Ends the run like the drop dialog does, and tells the benchmark.
class QuietChannel : public IStatusChannel
{
  public:
    QuietChannel(ProcessingFrame& frame, HANDLE done) : frame_(frame), done_(done) {}
    void sendStatus(const wchar_t* name, int32_t, int32_t, const wchar_t*) override
    {
        if (name == ProcessStatusEnd)
        {
            frame_.finishRun();
            SetEvent(done_);
        }
    }

  private:
    ProcessingFrame& frame_;
    HANDLE done_;
};

// Items under path whose modified time is not `seconds` (the engine's work is checked, not
// assumed).
int CountOtherThan(const std::wstring& path, int64_t seconds)
{
    int other = 0;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
    {
        return 1;
    }
    do
    {
        const std::wstring name = d.cFileName;
        if (name == L"." || name == L"..")
        {
            continue;
        }
        const uint64_t t =
            (uint64_t(d.ftLastWriteTime.dwHighDateTime) << 32) | d.ftLastWriteTime.dwLowDateTime;
        if (int64_t((t - EPOCH_TICKS) / TICKS_PER_SECOND) != seconds)
        {
            ++other;
        }
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            other += CountOtherThan(path + L"\\" + name, seconds);
        }
    } while (FindNextFileW(h, &d));
    FindClose(h);
    return other;
}

// A bare walk reading the three times of every entry: what the newest search needs.
void BareNewest(const std::wstring& path, uint64_t& c, uint64_t& m, uint64_t& a)
{
    WIN32_FIND_DATAW d;
    HANDLE f = FindFirstFileW((path + L"\\*").c_str(), &d);
    if (f == INVALID_HANDLE_VALUE)
    {
        return;
    }
    do
    {
        if (IsDots(d.cFileName) || (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        {
            continue;
        }
        auto ticks = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        c = std::max(c, ticks(d.ftCreationTime));
        m = std::max(m, ticks(d.ftLastWriteTime));
        a = std::max(a, ticks(d.ftLastAccessTime));
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            BareNewest(path + L"\\" + d.cFileName, c, m, a);
        }
    } while (FindNextFileW(f, &d));
    FindClose(f);
}

struct EngineRig
{
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ProcessingFrame frame;
    QuietChannel channel{frame, done};
    ChangeEngine engine{frame};

    EngineRig() { frame.setStatusChannel(&channel); }
    ~EngineRig() { CloseHandle(done); }

    void Run(const std::wstring& root, int64_t seconds)
    {
        ChangeRequest& r = engine.getRequest();
        r.reset();
        r.includeContents = true;
        r.normal = r.hidden = true;
        r.created = r.modified = r.accessed = seconds;
        engine.setAction(ChangeEngine::ACTION_CHANGE_MULTIPLE);
        {
            s::thread::ObjLocker::Guard guard(frame.getItemLock());
            frame.appendPath(root.c_str());
            frame.startRun();
        }
        WaitForSingleObject(done, INFINITE);
        frame.getWorker()->WaitIdle();
    }
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

size_t PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof(c);
    K32GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof(c));
    return c.PeakWorkingSetSize;
}


int RunMemory()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"kairon_bench_memory_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring small = base + L"_small", large = base + L"_large";
    std::printf("building trees: 1000 and 100000 files in 200 folders...\n");
    std::fflush(stdout);
    if (!MakeTree(small, 1000, 200) || !MakeTree(large, 100000, 200))
    {
        std::printf("cannot build the trees\n");
        RemoveTree(small);
        RemoveTree(large);
        return 1;
    }
    EngineRig rig;
    const size_t before = PeakWorkingSet();
    rig.Run(small, 1000000000);
    const size_t peakSmall = PeakWorkingSet();
    rig.Run(large, 1000000001);
    const size_t peakLarge = PeakWorkingSet();
    std::printf("peak working set: before %.1f MiB, after 1000 files %.1f MiB, after 100000 files %.1f MiB, "
                "growth %.1f%%\n",
                before / 1048576.0, peakSmall / 1048576.0, peakLarge / 1048576.0,
                peakSmall ? 100.0 * (double(peakLarge) - double(peakSmall)) / double(peakSmall) : 0.0);
    std::printf("failures reported by the engine: %u; items left unwritten: %d\n", rig.engine.getFailureCount(),
                CountOtherThan(large, 1000000001));
    RemoveTree(small);
    RemoveTree(large);
    return 0;
}

FILETIME FileTimeOfSeconds(int64_t seconds)
{
    const uint64_t ticks = uint64_t(seconds) * TICKS_PER_SECOND + EPOCH_TICKS;
    return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "memory") == 0)
    {
        return RunMemory();
    }
    const int files = argc > 1 ? std::max(200, std::atoi(argv[1])) : 20000;
    const int folders = 200;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root =
        std::wstring(temp) + L"kairon_bench_engine_" + std::to_wstring(GetCurrentProcessId());
    std::printf("building the tree: %d files in %d folders...\n", files, folders);
    std::fflush(stdout);
    if (!MakeTree(root, files, folders))
    {
        std::printf("cannot build the tree\n");
        RemoveTree(root);
        return 1;
    }

    EngineRig rig;
    // The loops run at the engine worker's priority (below normal), so that on a shared
    // machine both compete for the processor alike.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    rig.Run(root, 1000000000); // warm-up: the tree and the pools as they will be
    const int missed = CountOtherThan(root, 1000000000);
    const uint32_t failures = rig.engine.getFailureCount();

    // Engine and limit loop alternate, each going first in every other round. The older loop
    // runs afterwards: its attribute changes leave the file system work to flush that would
    // otherwise fall on whichever loop ran next.
    std::vector<double> engineTimes, limitTimes, oldTimes;
    for (int round = 0; round < 5; ++round)
    {
        const int64_t seconds = 1100000000 + round * 10;
        for (int turn = 0; turn < 2; ++turn)
        {
            const auto start = std::chrono::steady_clock::now();
            if ((turn + round) % 2 == 0)
            {
                rig.Run(root, seconds);
                engineTimes.push_back(Seconds(start));
            }
            else
            {
                LimitWrite(root, true, FileTimeOfSeconds(seconds + 1));
                limitTimes.push_back(Seconds(start));
            }
        }
        std::printf("  round %d: engine %.0f ms, limit loop %.0f ms\n", round + 1, engineTimes.back() * 1000,
                    limitTimes.back() * 1000);
        std::fflush(stdout);
    }
    for (int round = 0; round < 3; ++round)
    {
        const auto start = std::chrono::steady_clock::now();
        OldLoopItem(root, FileTimeOfSeconds(1200000000 + round));
        oldTimes.push_back(Seconds(start));
    }
    const double engine = Median(engineTimes), limit = Median(limitTimes), old = Median(oldTimes);
    std::printf("writing %d files in %d folders, median of 5, alternating:\n", files, folders);
    std::printf("  engine %8.1f ms   limit loop %8.1f ms   ratio %.3f   (goal <= 1.10)\n", engine * 1000,
                limit * 1000, engine / limit);
    std::printf("  older loop (median of 3) %8.1f ms: limit / older %.2f, engine / older %.2f\n", old * 1000,
                limit / old, engine / old);
    std::printf("  warm-up run: failures reported %u, items left unwritten %d\n", failures, missed);

    std::vector<double> searchTimes, walkTimes;
    int64_t found = 0;
    uint64_t bareModified = 0;
    for (int round = 0; round < 5; ++round)
    {
        PathWin* item = PathWin::FromText(root.c_str());
        int64_t c = 0, m = 0, a = 0;
        auto start = std::chrono::steady_clock::now();
        rig.engine.scanNewestOldest(item, true, c, m, a);
        searchTimes.push_back(Seconds(start));
        item->Release();
        found = m;

        uint64_t bc = 0, bm = 0, ba = 0;
        start = std::chrono::steady_clock::now();
        BareNewest(root, bc, bm, ba);
        walkTimes.push_back(Seconds(start));
        bareModified = bm;
    }
    const double search = Median(searchTimes), walk = Median(walkTimes);
    std::printf("newest search over the same tree, median of 5, alternating:\n");
    std::printf("  engine %8.1f ms   bare walk %8.1f ms   ratio %.3f   (goal <= 1.10)   same result: %s\n",
                search * 1000, walk * 1000, search / walk,
                found == int64_t((bareModified - EPOCH_TICKS) / TICKS_PER_SECOND) ? "yes" : "NO");
    RemoveTree(root);
    return 0;
}
