// The processing frame without any window: a status channel that records the events and,
// like the drop dialog's handler, calls finishRun when the run ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"

using namespace s::gui::dialogs::dragndrop;
using s::thread::ObjLocker;

namespace
{

struct Event
{
    const wchar_t* name;
    int32_t total;
    int32_t position;
    const wchar_t* textPointer;
    std::wstring text;
    int32_t currentIndex;
};

class RecordingChannel : public IStatusChannel
{
  public:
    explicit RecordingChannel(ProcessingFrame& frame) : frame_(frame) {}

    void sendStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text) override
    {
        int32_t index = 0;
        {
            // The worker must not hold the item lock here: another thread must get it. The
            // thread that started the run may still hold it for a moment (startRun is called
            // under the lock), so the other thread keeps trying for a while; a lock the
            // worker held would stay held throughout.
            std::atomic<bool> got{false};
            std::thread other(
                [&]
                {
                    for (int attempt = 0; attempt < 100 && !got; ++attempt)
                    {
                        if (frame_.getItemLock().TryEnter())
                        {
                            got = true;
                            frame_.getItemLock().Leave();
                        }
                        else
                        {
                            Sleep(10);
                        }
                    }
                });
            other.join();
            if (!got)
            {
                lockHeldDuringSend = true;
            }
            ObjLocker::Guard guard(frame_.getItemLock());
            index = frame_.getCurrentIndex();
        }
        {
            std::lock_guard<std::mutex> g(m_);
            events_.push_back({name, total, position, text, text != nullptr ? text : L"", index});
        }
        if (onEvent)
        {
            onEvent(name, position);
        }
        if (name == ProcessStatusEnd)
        {
            frame_.finishRun();
        }
    }

    std::vector<Event> Events()
    {
        std::lock_guard<std::mutex> g(m_);
        return events_;
    }

    std::function<void(const wchar_t*, int32_t)> onEvent;
    std::atomic<bool> lockHeldDuringSend{false};

  private:
    ProcessingFrame& frame_;
    std::mutex m_;
    std::vector<Event> events_;
};

void Drop(ProcessingFrame& frame, std::initializer_list<const wchar_t*> paths)
{
    ObjLocker::Guard guard(frame.getItemLock());
    for (const wchar_t* p : paths)
    {
        frame.appendPath(p);
    }
    ASSERT_TRUE(frame.startRun());
}

void ExpectIdle(ProcessingFrame& frame)
{
    ObjLocker::Guard guard(frame.getItemLock());
    EXPECT_EQ(frame.getPathCount(), 0u);
    EXPECT_FALSE(frame.isBusy());
    EXPECT_FALSE(frame.isCancelRequested());
    EXPECT_EQ(frame.getCurrentIndex(), 0);
}

} // namespace

TEST(ProcessingFrame, ThreePathsGiveStartThreeUpdatesEndAndAnIdleFrame)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    frame.setStatusChannel(&channel);
    Drop(frame, {L"C:\\a", L"C:\\b", L"C:\\c"});
    frame.getWorker()->WaitIdle();

    const std::vector<Event> e = channel.Events();
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(e[0].name, ProcessStatusStart);
    EXPECT_EQ(e[0].total, 0);
    EXPECT_EQ(e[0].position, 0);
    EXPECT_EQ(e[0].textPointer, nullptr);
    for (int i = 0; i < 3; ++i)
    {
        const Event& u = e[1 + i];
        EXPECT_EQ(u.name, ProcessStatusUpdate);
        EXPECT_EQ(u.total, 3);
        EXPECT_EQ(u.position, i);
        EXPECT_EQ(u.textPointer, EntryName);
        EXPECT_EQ(u.text, L"EntryName");
        EXPECT_EQ(u.currentIndex, i + 1);
    }
    EXPECT_EQ(e[4].name, ProcessStatusEnd);
    EXPECT_EQ(e[4].textPointer, nullptr);
    EXPECT_FALSE(channel.lockHeldDuringSend);
    ExpectIdle(frame);
}

// Without any display: no status channel, startRun and waitForEnd. The frame returns to
// idle by itself, as no handler will see the end.
TEST(ProcessingFrame, RunsWithoutAStatusChannelAndWaitsForTheEnd)
{
    ProcessingFrame frame;
    for (int run = 0; run < 2; ++run)
    {
        Drop(frame, {L"C:\\a", L"C:\\b"});
        frame.waitForEnd();
        ExpectIdle(frame);
    }
    // Waiting while no run is under way returns at once.
    frame.waitForEnd();
    ExpectIdle(frame);
}

// A task that reports every one of many fast items, the way the change engine does (total
// 1000, position in thousandths of the end of the item's share, the item's name); one item
// may be slow (the seam of the tests below).
struct ManyItemsTask : s::thread::ITask
{
    ProcessingFrame* frame = nullptr;
    int count = 20000;
    int slowItem = -1;
    int cancelSeenAt = -1; // the item at which the task saw the cancel flag
    void Run() override
    {
        frame->sendStatus(ProcessStatusStart, 0, 0, nullptr);
        for (int i = 0; i < count; ++i)
        {
            if (frame->isCancelRequested())
            {
                cancelSeenAt = i;
                break;
            }
            if (i == slowItem)
            {
                Sleep(200);
            }
            const std::wstring name = L"item" + std::to_wstring(i);
            frame->sendStatus(ProcessStatusUpdate, 1000, int32_t(int64_t(i + 1) * 1000 / count), name.c_str());
        }
        frame->sendStatus(ProcessStatusEnd, 0, 0, nullptr);
    }
};

// 20,000 items: one update per visible step (plus at most one per interval of the frame),
// never backwards, the last one at 1000 with the last item's name; Start and End always.
TEST(ProcessingFrame, ManyFastItemsGiveOneUpdatePerVisibleStep)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    frame.setStatusChannel(&channel);
    ManyItemsTask task;
    task.frame = &frame;
    frame.setTask(&task);
    const DWORD started = GetTickCount();
    Drop(frame, {L"C:\\many"});
    frame.waitForEnd();
    const DWORD elapsed = GetTickCount() - started;

    const std::vector<Event> e = channel.Events();
    ASSERT_GE(e.size(), 3u);
    EXPECT_EQ(e.front().name, ProcessStatusStart);
    EXPECT_EQ(e.back().name, ProcessStatusEnd);
    const size_t updates = e.size() - 2;
    // Each update beyond one per step needs an interval of its own to have passed.
    EXPECT_LE(updates, 1001u + elapsed / ProcessingFrame::UPDATE_INTERVAL_MS);
    EXPECT_GE(updates, 1000u);
    int32_t last = -1;
    for (size_t i = 1; i + 1 < e.size(); ++i)
    {
        EXPECT_EQ(e[i].name, ProcessStatusUpdate);
        EXPECT_GE(e[i].position, last);
        last = e[i].position;
    }
    EXPECT_EQ(e[e.size() - 2].position, 1000);
    EXPECT_EQ(e[e.size() - 2].text, L"item19999");
}

// A slow item still gets its name shown: an interval has passed when it reports.
TEST(ProcessingFrame, ASlowItemStillGetsItsNameShown)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    frame.setStatusChannel(&channel);
    ManyItemsTask task;
    task.frame = &frame;
    task.slowItem = 12345; // inside a step: its position is the one already shown
    frame.setTask(&task);
    Drop(frame, {L"C:\\slow"});
    frame.waitForEnd();
    bool shown = false;
    for (const Event& ev : channel.Events())
    {
        shown = shown || ev.text == L"item12345";
    }
    EXPECT_TRUE(shown);
}

// The last update of a run shows its end even when it repeats the position already shown
// (a folder reporting after its last entry), and a new run starts afresh.
TEST(ProcessingFrame, AHeldBackLastUpdateIsShownBeforeTheEnd)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    frame.setStatusChannel(&channel);
    struct Task : s::thread::ITask
    {
        ProcessingFrame* frame = nullptr;
        void Run() override
        {
            frame->sendStatus(ProcessStatusStart, 0, 0, nullptr);
            frame->sendStatus(ProcessStatusUpdate, 1000, 1000, L"entry");
            frame->sendStatus(ProcessStatusUpdate, 1000, 1000, L"sub");
            frame->sendStatus(ProcessStatusUpdate, 1000, 1000, L"folder");
            frame->sendStatus(ProcessStatusEnd, 0, 0, nullptr);
        }
    } task;
    task.frame = &frame;
    frame.setTask(&task);
    for (int run = 0; run < 2; ++run)
    {
        Drop(frame, {L"C:\\f"});
        frame.waitForEnd();
    }
    const std::vector<Event> e = channel.Events();
    ASSERT_EQ(e.size(), 8u);
    for (int run = 0; run < 2; ++run)
    {
        EXPECT_EQ(e[run * 4 + 1].text, L"entry");
        EXPECT_EQ(e[run * 4 + 2].name, ProcessStatusUpdate);
        EXPECT_EQ(e[run * 4 + 2].text, L"folder");
        EXPECT_EQ(e[run * 4 + 3].name, ProcessStatusEnd);
    }
}

// Cancel stays as prompt as before: the task sees the flag at the very next item, whether
// or not an update went to the display.
TEST(ProcessingFrame, CancelDuringManyFastItemsStopsWithinOneItem)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    int cancelledAfter = -1;
    channel.onEvent = [&](const wchar_t* name, int32_t position)
    {
        if (name == ProcessStatusUpdate && position >= 300 && cancelledAfter < 0)
        {
            cancelledAfter = position;
            frame.cancelProcessing(false);
        }
    };
    frame.setStatusChannel(&channel);
    ManyItemsTask task;
    task.frame = &frame;
    frame.setTask(&task);
    Drop(frame, {L"C:\\cancel"});
    frame.waitForEnd();
    ASSERT_GE(cancelledAfter, 300);
    // The item whose update set the flag; the next one is not begun.
    int cancellingItem = -1;
    for (const Event& ev : channel.Events())
    {
        if (ev.name == ProcessStatusUpdate && ev.position == cancelledAfter)
        {
            cancellingItem = std::stoi(ev.text.substr(4));
            break;
        }
    }
    EXPECT_EQ(task.cancelSeenAt, cancellingItem + 1);
    EXPECT_EQ(channel.Events().back().name, ProcessStatusEnd);
    ExpectIdle(frame);
}

TEST(ProcessingFrame, EventNamesAreRecognisedByIdentityNotText)
{
    // A copy of the text is not the event.
    static const wchar_t copy[] = L"ProcessStatusEnd";
    EXPECT_NE(static_cast<const wchar_t*>(copy), static_cast<const wchar_t*>(ProcessStatusEnd));
    EXPECT_NE(static_cast<const wchar_t*>(ProcessStatusStart),
              static_cast<const wchar_t*>(ProcessStatusUpdate));
}

TEST(ProcessingFrame, CancelWithoutWaitDuringTheSecondUpdateStopsTheRun)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    channel.onEvent = [&](const wchar_t* name, int32_t position)
    {
        if (name == ProcessStatusUpdate && position == 1)
        {
            frame.cancelProcessing(false);
            EXPECT_TRUE(frame.isCancelRequested());
        }
    };
    frame.setStatusChannel(&channel);
    Drop(frame, {L"C:\\a", L"C:\\b", L"C:\\c", L"C:\\d"});
    frame.getWorker()->WaitIdle();

    const std::vector<Event> e = channel.Events();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[1].position, 0);
    EXPECT_EQ(e[2].position, 1);
    EXPECT_EQ(e[3].name, ProcessStatusEnd);
    ExpectIdle(frame);
}

TEST(ProcessingFrame, CancelWithWaitWhileIdleReturnsAtOnceAndClearsTheFlag)
{
    ProcessingFrame frame;
    frame.cancelProcessing(true);
    EXPECT_FALSE(frame.isCancelRequested());
    ExpectIdle(frame);
}

TEST(ProcessingFrame, CancelWithWaitBlocksUntilTheTaskHasEnded)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> inUpdate{false};
    channel.onEvent = [&](const wchar_t* name, int32_t)
    {
        if (name == ProcessStatusUpdate)
        {
            inUpdate = true;
            WaitForSingleObject(gate, 10000);
        }
    };
    frame.setStatusChannel(&channel);
    Drop(frame, {L"C:\\a", L"C:\\b"});
    while (!inUpdate)
    {
        Sleep(1);
    }
    std::atomic<bool> returned{false};
    std::thread canceller(
        [&]
        {
            frame.cancelProcessing(true);
            returned = true;
        });
    Sleep(150);
    EXPECT_FALSE(returned);
    SetEvent(gate);
    canceller.join();
    EXPECT_TRUE(frame.getWorker()->IsIdle());
    EXPECT_FALSE(frame.isCancelRequested());
    const std::vector<Event> e = channel.Events();
    ASSERT_EQ(e.size(), 3u); // Start, the update under way, End
    EXPECT_EQ(e[2].name, ProcessStatusEnd);
    CloseHandle(gate);
}

TEST(ProcessingFrame, ClearingWhileATaskRunsWaitsBeforeEmptyingTheList)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> inUpdate{false};
    // This handler does not call finishRun on End, so only clear() can empty the list.
    struct Quiet : IStatusChannel
    {
        std::function<void(const wchar_t*)> f;
        void sendStatus(const wchar_t* name, int32_t, int32_t, const wchar_t*) override { f(name); }
    } quiet;
    std::atomic<int> ends{0};
    quiet.f = [&](const wchar_t* name)
    {
        if (name == ProcessStatusUpdate && !inUpdate)
        {
            inUpdate = true;
            WaitForSingleObject(gate, 10000);
        }
        if (name == ProcessStatusEnd)
        {
            ++ends;
        }
    };
    frame.setStatusChannel(&quiet);
    Drop(frame, {L"C:\\a", L"C:\\b", L"C:\\c"});
    while (!inUpdate)
    {
        Sleep(1);
    }
    std::atomic<bool> returned{false};
    std::thread releaser(
        [&]
        {
            frame.clear();
            returned = true;
        });
    Sleep(150);
    EXPECT_FALSE(returned);
    EXPECT_EQ(frame.getPathCount(), 3u);
    SetEvent(gate);
    releaser.join();
    EXPECT_EQ(ends, 1);
    ExpectIdle(frame);
    CloseHandle(gate);
}

TEST(ProcessingFrame, StartRunWhileBusyIsRefused)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    channel.onEvent = [&](const wchar_t* name, int32_t)
    {
        if (name == ProcessStatusStart)
        {
            WaitForSingleObject(gate, 10000);
        }
    };
    frame.setStatusChannel(&channel);
    Drop(frame, {L"C:\\a"});
    {
        ObjLocker::Guard guard(frame.getItemLock());
        EXPECT_TRUE(frame.isBusy());
        EXPECT_FALSE(frame.startRun());
    }
    SetEvent(gate);
    frame.getWorker()->WaitIdle();
    EXPECT_EQ(channel.Events().size(), 3u);
    ExpectIdle(frame);
    CloseHandle(gate);
}

// A cancel pressed after the last run's End was handled (the frame idle again) must not
// end the next drop before its first item, which would report "Done!" for nothing done.
TEST(ProcessingFrame, ACancelLeftFromAnEndedRunDoesNotStopTheNextRun)
{
    ProcessingFrame frame;
    RecordingChannel channel(frame);
    frame.setStatusChannel(&channel);
    Drop(frame, {L"C:\\a"});
    frame.getWorker()->WaitIdle();
    ExpectIdle(frame);

    frame.cancelProcessing(false);
    EXPECT_TRUE(frame.isCancelRequested());
    Drop(frame, {L"C:\\a", L"C:\\b"});
    frame.getWorker()->WaitIdle();

    const std::vector<Event> e = channel.Events();
    ASSERT_EQ(e.size(), 3u + 4u);
    EXPECT_EQ(e[4].name, ProcessStatusUpdate);
    EXPECT_EQ(e[5].name, ProcessStatusUpdate);
    EXPECT_EQ(e[5].position, 1);
    ExpectIdle(frame);
}

TEST(ProcessingFrame, RunsTheGivenTaskOnABelowNormalWorker)
{
    ProcessingFrame frame;
    EXPECT_EQ(frame.getWorker()->GetPriority(), THREAD_PRIORITY_BELOW_NORMAL);
    struct Task : s::thread::ITask
    {
        ProcessingFrame* frame = nullptr;
        std::atomic<int> runs{0};
        std::atomic<DWORD> thread{0};
        void Run() override
        {
            ++runs;
            thread = GetCurrentThreadId();
            frame->finishRun();
        }
    } task;
    task.frame = &frame;
    frame.setTask(&task);
    Drop(frame, {L"C:\\x"});
    frame.getWorker()->WaitIdle();
    EXPECT_EQ(task.runs, 1);
    EXPECT_EQ(task.thread.load(), frame.getWorker()->GetThreadId());
    ExpectIdle(frame);
}

TEST(ProcessingFrame, EmptyPathsAreNotAppended)
{
    ProcessingFrame frame;
    ObjLocker::Guard guard(frame.getItemLock());
    frame.appendPath(nullptr);
    frame.appendPath(L"");
    frame.appendPath(L"C:\\kept");
    ASSERT_EQ(frame.getPathCount(), 1u);
    EXPECT_STREQ(frame.getPath(0), L"C:\\kept");
    EXPECT_EQ(frame.getPath(1), nullptr);
}

TEST(ProcessingFrame, DestroyingTheFrameWhileATaskRunsWaitsForTheTask)
{
    struct Gate : IStatusChannel
    {
        HANDLE open = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::atomic<bool> inUpdate{false};
        std::atomic<int> ends{0};
        ~Gate() override { CloseHandle(open); }
        void sendStatus(const wchar_t* name, int32_t, int32_t, const wchar_t*) override
        {
            if (name == ProcessStatusUpdate && !inUpdate)
            {
                inUpdate = true;
                WaitForSingleObject(open, 10000);
            }
            if (name == ProcessStatusEnd)
            {
                ++ends;
            }
        }
    } gate;
    std::optional<ProcessingFrame> frame(std::in_place);
    frame->setStatusChannel(&gate);
    {
        ObjLocker::Guard guard(frame->getItemLock());
        frame->appendPath(L"C:\\a");
        frame->appendPath(L"C:\\b");
        ASSERT_TRUE(frame->startRun());
    }
    while (!gate.inUpdate)
    {
        Sleep(1);
    }
    std::atomic<bool> destroyed{false};
    std::thread releaser(
        [&]
        {
            frame.reset();
            destroyed = true;
        });
    Sleep(150);
    EXPECT_FALSE(destroyed);
    SetEvent(gate.open);
    releaser.join();
    EXPECT_EQ(gate.ends, 1);
}
