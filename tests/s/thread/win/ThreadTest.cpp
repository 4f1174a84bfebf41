// The pooled worker thread: every Run form, waiting, stopping, replacement of a hung
// worker, pooling, and the hand-over of a job to a worker that is on its way to park.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "s/thread/win/Thread.h"

using s::thread::ITask;
using s::thread::win::Thread;

namespace
{

ULONGLONG NowMs()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<ULONGLONG>(c.QuadPart * 1000.0 / static_cast<double>(f.QuadPart));
}

// Counts its runs and remembers when each started (milliseconds, steady clock).
class CountingTask : public ITask
{
  public:
    explicit CountingTask(DWORD sleepMs = 0) : sleepMs_(sleepMs) {}
    void Run() override
    {
        const int running = ++inside_;
        if (running > 1)
        {
            overlapped = true;
        }
        {
            std::lock_guard<std::mutex> g(m_);
            starts_.push_back(NowMs());
        }
        if (sleepMs_ != 0)
        {
            Sleep(sleepMs_);
        }
        {
            std::lock_guard<std::mutex> g(m_);
            ends_.push_back(NowMs());
        }
        --inside_;
        ++count;
    }
    std::vector<ULONGLONG> Starts()
    {
        std::lock_guard<std::mutex> g(m_);
        return starts_;
    }
    std::vector<ULONGLONG> Ends()
    {
        std::lock_guard<std::mutex> g(m_);
        return ends_;
    }
    std::atomic<int> count{0};
    std::atomic<bool> overlapped{false};

  private:
    DWORD sleepMs_;
    std::atomic<int> inside_{0};
    std::mutex m_;
    std::vector<ULONGLONG> starts_;
    std::vector<ULONGLONG> ends_;
};

// Blocks until released (or for ever).
class BlockingTask : public ITask
{
  public:
    BlockingTask() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~BlockingTask() override { CloseHandle(event_); }
    void Run() override
    {
        started = true;
        WaitForSingleObject(event_, INFINITE);
    }
    void Open() { SetEvent(event_); }
    std::atomic<bool> started{false};

  private:
    HANDLE event_;
};

// Waits (10 s at most) until pred holds.
template <class Pred> bool Eventually(Pred pred, DWORD ms = 10000)
{
    const ULONGLONG end = NowMs() + ms;
    while (!pred())
    {
        if (NowMs() > end)
        {
            return false;
        }
        Sleep(1);
    }
    return true;
}

struct Worker
{
    Thread* t = Thread::Acquire();
    ~Worker() { t->Release(); }
};

} // namespace

TEST(Thread, ClassIdIsTheClassConstant)
{
    Worker w;
    EXPECT_EQ(w.t->ClassId(), Thread::CLASS_ID);
    EXPECT_STREQ(w.t->ClassId(), L"s_thread_win_Thread");
}

TEST(Thread, RunOnAFreshThreadRunsOnceAndBecomesIdle)
{
    Worker w;
    EXPECT_TRUE(w.t->IsIdle());
    EXPECT_NE(w.t->GetThreadId(), 0u);
    CountingTask task;
    w.t->Run(&task);
    w.t->WaitIdle();
    EXPECT_TRUE(w.t->IsIdle());
    Sleep(50);
    EXPECT_EQ(task.count, 1);
}

TEST(Thread, TheTaskRunsOnTheWorkerThread)
{
    struct WhereTask : ITask
    {
        std::atomic<DWORD> id{0};
        void Run() override { id = GetCurrentThreadId(); }
    } task;
    Worker w;
    w.t->Run(&task);
    w.t->WaitIdle();
    EXPECT_EQ(task.id.load(), w.t->GetThreadId());
    EXPECT_NE(task.id.load(), GetCurrentThreadId());
}

TEST(Thread, RunTimesRunsNTimesWithoutOverlap)
{
    Worker w;
    CountingTask task(1);
    w.t->RunTimes(&task, 7);
    w.t->WaitIdle();
    EXPECT_EQ(task.count, 7);
    EXPECT_FALSE(task.overlapped);
    w.t->RunTimes(&task, 0);
    w.t->WaitIdle();
    EXPECT_EQ(task.count, 7);
}

TEST(Thread, RunTimesPacedPausesBetweenRunsOnly)
{
    Worker w;
    CountingTask task;
    const ULONGLONG before = NowMs();
    w.t->RunTimesPaced(&task, 3, 200);
    w.t->WaitIdle();
    const ULONGLONG after = NowMs();
    ASSERT_EQ(task.count, 3);
    const std::vector<ULONGLONG> s = task.Starts();
    EXPECT_GE(s[1] - s[0], 190u);
    EXPECT_GE(s[2] - s[1], 190u);
    // No pause after the last run: idle (20 ms polling) well before a pause would end.
    EXPECT_LT(after - task.Ends()[2], 180u);
    EXPECT_GE(after - before, 380u);
}

TEST(Thread, RunTimesPeriodicKeepsThePeriodAndDoesNotWaitAfterALongRun)
{
    {
        Worker w;
        CountingTask quick;
        w.t->RunTimesPeriodic(&quick, 3, 100);
        w.t->WaitIdle();
        const std::vector<ULONGLONG> s = quick.Starts();
        ASSERT_EQ(s.size(), 3u);
        EXPECT_GE(s[1] - s[0], 90u);
        EXPECT_GE(s[2] - s[1], 90u);
    }
    {
        // Each run takes 250 ms, the period is 200 ms: the next run starts right after the
        // previous one ended, not a period later.
        Worker w;
        CountingTask slow(250);
        w.t->RunTimesPeriodic(&slow, 3, 200);
        w.t->WaitIdle();
        const std::vector<ULONGLONG> s = slow.Starts();
        const std::vector<ULONGLONG> e = slow.Ends();
        ASSERT_EQ(s.size(), 3u);
        EXPECT_LT(s[1] - e[0], 180u);
        EXPECT_LT(s[2] - e[1], 180u);
    }
}

TEST(Thread, RunForeverFormsRepeatUntilStopRepeating)
{
    Worker w;
    CountingTask plain, paced, periodic;
    w.t->RunForever(&plain);
    ASSERT_TRUE(Eventually([&] { return plain.count >= 20; }));
    EXPECT_FALSE(w.t->IsIdle());
    w.t->Finish();
    EXPECT_TRUE(w.t->IsIdle());
    const int stopped = plain.count;
    Sleep(60);
    EXPECT_EQ(plain.count, stopped);

    w.t->RunForeverPaced(&paced, 30);
    ASSERT_TRUE(Eventually([&] { return paced.count >= 3; }));
    w.t->Finish();
    const std::vector<ULONGLONG> s = paced.Starts();
    EXPECT_GE(s[1] - s[0], 25u);

    w.t->RunForeverPeriodic(&periodic, 30);
    ASSERT_TRUE(Eventually([&] { return periodic.count >= 3; }));
    w.t->StopRepeating();
    w.t->WaitIdle();
    const int last = periodic.count;
    Sleep(80);
    EXPECT_EQ(periodic.count, last);
    EXPECT_FALSE(plain.overlapped || paced.overlapped || periodic.overlapped);
}

TEST(Thread, ARunGivenWhileAJobRunsReplacesItForTheNextIteration)
{
    Worker w;
    CountingTask forever(2), once;
    w.t->RunForever(&forever);
    ASSERT_TRUE(Eventually([&] { return forever.count >= 2; }));
    w.t->Run(&once);
    w.t->WaitIdle();
    const int after = forever.count;
    EXPECT_EQ(once.count, 1);
    Sleep(30);
    EXPECT_EQ(forever.count, after);
}

TEST(Thread, PauseIsTakenBeforeTheNextRun)
{
    Worker w;
    struct PausingTask : CountingTask
    {
        Thread* self = nullptr;
        void Run() override
        {
            CountingTask::Run();
            if (count == 1)
            {
                self->Pause(150); // a task may pace its own thread
            }
        }
    } task;
    task.self = w.t;
    w.t->RunTimes(&task, 2);
    w.t->WaitIdle();
    const std::vector<ULONGLONG> s = task.Starts();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_GE(s[1] - s[0], 140u);
}

TEST(Thread, StopOnAnIdleThreadEndsTheRoutineAndStaysIdle)
{
    Worker w;
    w.t->Stop();
    EXPECT_TRUE(w.t->IsFinished());
    EXPECT_TRUE(w.t->IsIdle());
    // A stopped thread runs nothing; waiting on it does not hang.
    CountingTask task;
    w.t->Run(&task);
    w.t->WaitIdle();
    EXPECT_EQ(task.count, 0);
}

TEST(Thread, StopWaitsForTheRunningTask)
{
    Worker w;
    CountingTask task(100);
    w.t->RunForever(&task);
    ASSERT_TRUE(Eventually([&] { return task.Starts().size() >= 1; }));
    w.t->Stop();
    EXPECT_TRUE(w.t->IsFinished());
    const int n = task.count;
    EXPECT_GE(n, 1);
    Sleep(150);
    EXPECT_EQ(task.count, n);
}

TEST(Thread, WaitIdleWithTimeoutReplacesAHungWorkerAndKeepsItsPriority)
{
    Worker w;
    ASSERT_TRUE(w.t->SetPriority(THREAD_PRIORITY_BELOW_NORMAL));
    EXPECT_EQ(w.t->GetPriority(), THREAD_PRIORITY_BELOW_NORMAL);
    const uint32_t oldId = w.t->GetThreadId();
    BlockingTask hung;
    w.t->Run(&hung);
    ASSERT_TRUE(Eventually([&] { return hung.started.load(); }));
    EXPECT_FALSE(w.t->WaitIdle(100));
    EXPECT_TRUE(w.t->IsIdle());
    EXPECT_NE(w.t->GetThreadId(), oldId);
    EXPECT_EQ(w.t->GetPriority(), THREAD_PRIORITY_BELOW_NORMAL);
    // The replacement works.
    CountingTask task;
    w.t->Run(&task);
    EXPECT_TRUE(w.t->WaitIdle(5000));
    EXPECT_EQ(task.count, 1);
    hung.Open();
}

TEST(Thread, WaitIdleWithTimeoutAnswersTrueForATaskThatEndsInTime)
{
    Worker w;
    CountingTask task(30);
    w.t->Run(&task);
    EXPECT_TRUE(w.t->WaitIdle(5000));
    EXPECT_EQ(task.count, 1);
}

TEST(Thread, SuspendAndResume)
{
    Worker w;
    CountingTask task;
    w.t->Suspend();
    w.t->Suspend();
    w.t->Run(&task); // Run resumes the thread fully
    w.t->WaitIdle();
    EXPECT_EQ(task.count, 1);
}

TEST(Thread, SetFunctionIsWhatTheThreadsOwnTaskFaceRuns)
{
    static std::atomic<ITask*> seen{nullptr};
    Worker helper, w;
    w.t->SetFunction([](ITask* self) { seen = self; });
    helper.t->Run(static_cast<ITask*>(w.t));
    helper.t->WaitIdle();
    EXPECT_EQ(seen.load(), static_cast<ITask*>(w.t));
}

TEST(Thread, PooledThreadsComeBackResetAndWorking)
{
    Thread* t = Thread::Acquire();
    t->SetPriority(THREAD_PRIORITY_LOWEST);
    CountingTask task(50);
    t->RunTimes(&task, 3);
    ASSERT_TRUE(Eventually([&] { return task.Starts().size() >= 1; }));
    t->Release(); // lets the run under way finish, drops the runs still pending
    EXPECT_EQ(task.count, 1);
    Sleep(80);
    EXPECT_EQ(task.count, 1);
    Thread* again = Thread::Acquire();
    EXPECT_EQ(again, t);
    EXPECT_TRUE(again->IsIdle());
    EXPECT_EQ(again->GetPriority(), THREAD_PRIORITY_NORMAL);
    again->Stop();
    again->Release(); // a stopped thread gets a new routine on reset
    Thread* third = Thread::Acquire();
    EXPECT_FALSE(third->IsFinished());
    CountingTask more;
    third->Run(&more);
    third->WaitIdle();
    EXPECT_EQ(more.count, 1);
    third->Release();
}

// A job handed over while the worker is between "no work, idle" and its parking wait must
// not be lost. Run right after the previous run ends, many times, with the machine busy.
TEST(Thread, NoJobIsLostWhileTheWorkerGoesToParkUnderLoad)
{
    std::atomic<bool> stopLoad{false};
    std::vector<std::thread> load;
    for (int i = 0; i < 3; ++i)
    {
        load.emplace_back(
            [&]
            {
                volatile unsigned x = 0;
                while (!stopLoad)
                {
                    for (int k = 0; k < 10000; ++k)
                    {
                        x = x + k;
                    }
                    if ((x & 0xFF) == 0)
                    {
                        SwitchToThread();
                    }
                }
            });
    }
    Worker w;
    CountingTask task;
    const int rounds = 5000;
    int lost = 0;
    for (int i = 0; i < rounds && lost == 0; ++i)
    {
        w.t->Run(&task);
        // Spin instead of WaitIdle's 20 ms steps so that the next Run lands while the
        // worker is still on its way to park.
        if (!Eventually([&] { return task.count == i + 1; }, 5000))
        {
            lost = i + 1;
        }
    }
    stopLoad = true;
    for (auto& t : load)
    {
        t.join();
    }
    EXPECT_EQ(lost, 0) << "run " << lost << " was never executed";
    EXPECT_TRUE(w.t->WaitIdle(5000));
    EXPECT_EQ(task.count, rounds);
}
