// The journal and the preview, each against its baseline in the same run (alternating,
// median of 5):
//   1. the engine through the real window with the journal on / the same run without it
//      (goal <= 1.10);
//   2. planning every item of a tree for the preview (the engine's plan mode with the
//      preview's recorder) / the bare FindFirstFileW walk of the same tree (goal <= 1.3);
//   3. opening the list window with 100,000 rows, drawn (goal <= 300 ms).
// Run from the build folder: wine-run.sh bench/mainwindow/bench_journal.exe [files] [planned files]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "s/file/gui/dialogs/filetime/ChangeEngine.h"
#include "s/file/gui/dialogs/filetime/ItemListWindow.h"
#include "s/file/gui/dialogs/filetime/Journal.h"
#include "s/file/gui/dialogs/filetime/PlanRecorder.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"
#include "s/gui/win/Window.h"
#include "s/thread/ObjLocker.h"
#include "../engine/BareLoop.h"
#include "BenchDialog.h"

namespace ft = s::file::gui::dialogs::filetime;
using s::gui::dialogs::dragndrop::Dialog;
using s::gui::dialogs::dragndrop::ProcessingFrame;
using kairon::bench::BenchDialog;
using kairon::bench::MakeTree;
using kairon::bench::Median;
using kairon::bench::Seconds;
using kairon::bench::RemoveTree;

namespace
{

// The least a walk of the tree costs: FindFirstFileW/FindNextFileW through every folder.
uint32_t BareWalk(const std::wstring& path)
{
    uint32_t count = 0;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    do
    {
        if (kairon::bench::IsDots(d.cFileName))
            continue;
        ++count;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += BareWalk(path + L"\\" + d.cFileName);
    } while (FindNextFileW(h, &d));
    FindClose(h);
    return count;
}

void Request(ft::ChangeEngine& engine, int64_t offset)
{
    ft::ChangeRequest& r = engine.getRequest();
    r.reset();
    r.includeContents = true;
    r.normal = r.hidden = true;
    r.mode = ft::ModeOffset;
    r.offset = offset;
    r.created = r.accessed = -1;
    r.modified = 0;
    engine.setAction(ft::ChangeEngine::ACTION_CHANGE_MULTIPLE);
}

} // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::max(200, std::atoi(argv[1])) : 20000;
    const int planned = argc > 2 ? std::max(200, std::atoi(argv[2])) : 100000;
    const int folders = 200;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"kairon_bench_journal_" + std::to_wstring(GetCurrentProcessId());
    const std::wstring root = base + L"_run";
    const std::wstring journals = base + L"_journals";
    CreateDirectoryW(journals.c_str(), nullptr);
    std::printf("building a tree of %d files in %d folders...\n", files, folders);
    if (!MakeTree(root, files, folders))
    {
        std::printf("cannot build the tree\n");
        RemoveTree(root);
        return 1;
    }

    // 1. The window's run with and without its journal.
    BenchDialog* dialog = BenchDialog::Acquire();
    dialog->bind(nullptr, L"MainWindow", nullptr, nullptr, nullptr);
    ft::ChangeEngine* engine = new ft::ChangeEngine(dialog->getFrame());
    if (!dialog->buildAndShow())
    {
        std::printf("the window could not be made\n");
        return 1;
    }
    ft::JournalListener journal(dialog->getFrame(), [] { return std::wstring(L"Change Multiple: bench"); });
    int64_t offset = 3600;
    auto runEngine = [&](bool journalled) {
        Request(*engine, journalled ? offset : -offset);
        offset += 60;
        engine->setListener(journalled ? &journal : nullptr);
        if (journalled)
            journal.begin(journals);
        {
            s::thread::ObjLocker::Guard guard(dialog->getFrame().getItemLock());
            dialog->getFrame().appendPath(root.c_str());
            dialog->getFrame().startRun();
        }
        WaitForSingleObject(dialog->done, INFINITE);
        dialog->getFrame().getWorker()->WaitIdle();
        journal.end();
    };
    runEngine(false); // warm-up
    std::vector<double> withJournal, without;
    for (int round = 0; round < 5; ++round)
    {
        auto start = std::chrono::steady_clock::now();
        runEngine(true);
        withJournal.push_back(Seconds(start));
        start = std::chrono::steady_clock::now();
        runEngine(false);
        without.push_back(Seconds(start));
    }
    std::printf("%d files, %d folders, median of 5, alternating\n", files, folders);
    std::printf("  window run with journal %8.1f ms   without %8.1f ms   ratio %.3f   (goal <= 1.10)\n",
                Median(withJournal) * 1000, Median(without) * 1000, Median(withJournal) / Median(without));
    dialog->getFrame().clear();
    delete engine;
    dialog->Release();
    RemoveTree(root);
    RemoveTree(journals);

    // 2. Planning a large tree for the preview against the bare walk.
    const std::wstring big = base + L"_plan";
    std::printf("building a tree of %d files in %d folders...\n", planned, folders);
    if (!MakeTree(big, planned, folders))
    {
        std::printf("cannot build the tree\n");
        RemoveTree(big);
        return 1;
    }
    {
        ProcessingFrame frame;
        frame.setWorkerPriority(0);
        ft::ChangeEngine planner(frame);
        ft::PlanRecorder recorder;
        planner.setListener(&recorder);
        planner.setPlanOnly(true);
        auto plan = [&] {
            recorder.clear();
            Request(planner, 3600);
            planner.setPlanOnly(true);
            {
                s::thread::ObjLocker::Guard guard(frame.getItemLock());
                frame.appendPath(big.c_str());
                frame.startRun();
            }
            frame.waitForEnd();
        };
        plan(); // warm-up
        BareWalk(big);
        std::vector<double> planTimes, walkTimes;
        uint32_t walked = 0;
        for (int round = 0; round < 5; ++round)
        {
            auto start = std::chrono::steady_clock::now();
            plan();
            planTimes.push_back(Seconds(start));
            start = std::chrono::steady_clock::now();
            walked = BareWalk(big);
            walkTimes.push_back(Seconds(start));
        }
        std::printf("%u items planned (%zu rows), median of 5, alternating\n", walked, recorder.rows().size());
        std::printf("  plan for the preview %8.1f ms   bare walk %8.1f ms   ratio %.3f   (goal <= 1.30)\n",
                    Median(planTimes) * 1000, Median(walkTimes) * 1000, Median(planTimes) / Median(walkTimes));

        // 3. The list window with 100,000 of those rows, made and drawn.
        std::vector<ft::ItemRow> rows = recorder.rows();
        rows.resize(std::min<size_t>(rows.size(), 100000));
        while (rows.size() < 100000)
            rows.push_back(rows.empty() ? ft::ItemRow{big, 1, 1, 2, 0} : rows[rows.size() % 1000]);
        std::vector<double> openTimes;
        for (int round = 0; round < 5; ++round)
        {
            ft::ItemListWindow list(ft::ItemListWindow::MODE_PREVIEW, nullptr);
            list.rows() = rows;
            const auto start = std::chrono::steady_clock::now();
            list.create(nullptr);
            UpdateWindow(list.handle());
            UpdateWindow(list.list());
            openTimes.push_back(Seconds(start));
        }
        std::printf("  opening the list with %zu rows %8.1f ms   (goal <= 300 ms)\n", rows.size(),
                    Median(openTimes) * 1000);
    }
    RemoveTree(big);
    return 0;
}
