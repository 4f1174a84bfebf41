// The change engine against a bare loop, as ratios (engine / bare):
//   - a tree of 20,000 files in 200 folders, every item written with a specific time by the
//     engine (through the processing frame, with a status channel that does nothing), and
//     by a bare loop making the same system calls per item (FindFirstFileW walk,
//     GetFileAttributesW, SetFileAttributesW twice, CreateFileW, SetFileTime, CloseHandle);
//     alternating, median of 5. Goal: ratio <= 1.10.
//   - the peak working set after the engine has run over 1,000 files and then over 20,000:
//     it must stay flat (paths are pooled, a folder's listing is held only while that folder
//     is handled).
// Run: wine-run.sh bench/engine/bench_engine.exe [files]

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/BareLoop.h"
#include "s/file/gui/dialogs/filetime/ChangeEngine.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"
#include "s/thread/ObjLocker.h"

using s::file::gui::dialogs::filetime::ChangeEngine;
using s::file::gui::dialogs::filetime::ChangeRequest;
using namespace s::gui::dialogs::dragndrop;
using kairon::bench::BareItem;
using kairon::bench::MakeTree;
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

} // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::max(200, std::atoi(argv[1])) : 20000;
    const int folders = 200;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base =
        std::wstring(temp) + L"kairon_bench_engine_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring small = base + L"_small";
    const std::wstring large = base + L"_large";
    std::printf("building trees: 1000 and %d files in %d folders...\n", files, folders);
    if (!MakeTree(small, 1000, folders) || !MakeTree(large, files, folders))
    {
        std::printf("cannot build the trees\n");
        RemoveTree(small);
        RemoveTree(large);
        return 1;
    }

    EngineRig rig;
    // Memory first, before the bare loop and the timing rounds touch anything.
    const size_t before = PeakWorkingSet();
    rig.Run(small, 1000000000);
    const size_t peakSmall = PeakWorkingSet();
    rig.Run(large, 1000000001);
    const size_t peakLarge = PeakWorkingSet();
    const int missed = CountOtherThan(large, 1000000001);

    std::vector<double> engineTimes, bareTimes;
    for (int round = 0; round < 5; ++round)
    {
        const int64_t seconds = 1100000000 + round;
        auto start = std::chrono::steady_clock::now();
        rig.Run(large, seconds);
        engineTimes.push_back(Seconds(start));

        const uint64_t ticks = uint64_t(seconds + 7) * TICKS_PER_SECOND + EPOCH_TICKS;
        FILETIME t{DWORD(ticks), DWORD(ticks >> 32)};
        start = std::chrono::steady_clock::now();
        BareItem(large, t);
        bareTimes.push_back(Seconds(start));
    }
    const double engine = Median(engineTimes), bare = Median(bareTimes);
    std::printf("%d files, %d folders, median of 5, alternating\n", files, folders);
    std::printf("  engine %8.1f ms   bare loop %8.1f ms   ratio %.3f   (goal <= 1.10)\n", engine * 1000,
                bare * 1000, engine / bare);
    std::printf("peak working set: before %.1f MiB, after 1000 files %.1f MiB, after %d files "
                "%.1f MiB, growth %.1f%%\n",
                before / 1048576.0, peakSmall / 1048576.0, files, peakLarge / 1048576.0,
                peakSmall ? 100.0 * (double(peakLarge) - double(peakSmall)) / double(peakSmall) : 0.0);
    std::printf("failures reported by the engine: %u; items the engine left unwritten: %d\n",
                rig.engine.getFailureCount(), missed);

    RemoveTree(small);
    RemoveTree(large);
    return 0;
}
