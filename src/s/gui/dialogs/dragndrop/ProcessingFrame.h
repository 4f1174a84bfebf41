#pragma once
// The processing frame of the drop dialog: the dropped paths, the worker that runs the
// dialog's task over them, the status events it reports, and cancelling. No window code:
// the drop dialog embeds one frame, fills it from the user interface and shows what the
// status channel delivers; tests drive it directly.
//
// Threads. The user-interface thread appends paths, starts runs, cancels and (from its
// status handler) calls finishRun; the worker runs the task and sends status events.
// The item lock (re-entrant) guards the path list, busy and the current index. The cancel
// flag is written and polled without the lock.
//
// Life of a run: idle -> startRun (busy) -> the task sends Start ... End -> the handler of
// End calls finishRun -> idle. cancelProcessing(false) makes the task stop early; it still
// sends End, so busy is always cleared.
//
// Status updates at the display's pace: a task may report after every item; the frame hands
// a ProcessStatusUpdate on only when its position in thousandths of the total differs from
// the last one handed on, or when UPDATE_INTERVAL_MS have passed since then (so the label
// still follows the current item when items are slow). ProcessStatusStart and
// ProcessStatusEnd always go; an update held back is handed on just before End, so the last
// update of a run always shows where the run ended and the last item's text. Each update
// that goes is still synchronous: the worker never runs ahead of the display. The rule is
// the frame's alone; tasks report every item and test the cancel flag before every item.
//
// Ownership: the frame owns its worker and its path list; the task and the status channel
// given to it are not owned and must outlive every run.

#include <atomic>
#include <cstdint>

#include "s/gui/dialogs/dragndrop/ProcessStatus.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/ITask.h"
#include "s/thread/ObjLocker.h"
#include "s/thread/win/Thread.h"

namespace s::gui::dialogs::dragndrop
{

class ProcessingFrame : public s::thread::ITask
{
  public:
    // The drop dialog's worker priority: below normal.
    static constexpr int32_t DEFAULT_WORKER_PRIORITY = -1;
    // An update whose position in thousandths is the one already shown goes on only after
    // this long since the last update that went.
    static constexpr int64_t UPDATE_INTERVAL_MS = 50;

    // Takes a worker from its pool (priority below normal), an empty list.
    ProcessingFrame();
    // clear(), then gives the worker back.
    ~ProcessingFrame() override;
    ProcessingFrame(const ProcessingFrame&) = delete;
    ProcessingFrame& operator=(const ProcessingFrame&) = delete;

    // Where status events go. Set while idle. Null: nowhere, and the frame then returns to
    // idle by itself when the task sends ProcessStatusEnd (there is no handler to call
    // finishRun), so a run without any display needs nothing but startRun and waitForEnd.
    void setStatusChannel(IStatusChannel* channel) { channel_ = channel; }
    IStatusChannel* getStatusChannel() const { return channel_; }

    // The task that startRun runs on the worker; null (the default) runs the base task
    // (runBaseTask). Set while idle.
    void setTask(s::thread::ITask* task) { task_ = task; }
    s::thread::ITask* getTask() const { return task_; }

    void setWorkerPriority(int32_t priority);
    s::thread::win::Thread* getWorker() const { return worker_; }

    // The item lock. Enter/leave it around every use of the path list, busy and the
    // current index (ObjLocker::Guard does both).
    const s::thread::ObjLocker& getItemLock() const { return itemLock_; }

    // The dropped paths (caller holds the item lock). Valid until the list changes.
    uint32_t getPathCount() const;
    const wchar_t* getPath(uint32_t index) const;

    // Caller holds the item lock.
    bool isBusy() const { return busy_; }
    int32_t getCurrentIndex() const { return currentIndex_; }
    void setCurrentIndex(int32_t index) { currentIndex_ = index; }

    // Polled by the task without the lock.
    bool isCancelRequested() const { return cancel_; }

    // Appends a copy of text (caller holds the item lock). Null or empty is ignored.
    void appendPath(const wchar_t* text);

    // Sets busy, clears a cancel left over from an earlier run and starts the worker on the
    // task (caller holds the item lock). Answers false and changes nothing when a run is
    // already under way.
    bool startRun();

    // Hands one event to the status channel and returns when it has been handled; an update
    // the display would not show differently may be held back (see the header comment). On
    // the worker only, never with the item lock held (the user-interface thread may need the
    // lock meanwhile).
    void sendStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text);

    // Empties the path list, current index 0, busy and cancel cleared. Called by the status
    // handler when it handles ProcessStatusEnd, after it has updated the display.
    void finishRun();

    // Blocks until the run under way (if any) has ended, its task returned, then makes sure
    // the frame is idle (finishRun, in case the status channel's handler did not call it).
    // For callers without a user interface (the command line, tests). Never on the worker,
    // nor on the thread that serves the status channel (the worker may be waiting for it),
    // and not while a user interface may start the next run.
    void waitForEnd();

    // Asks the task to stop. With wait: blocks until the worker's task has ended (20 ms
    // steps), then clears the cancel flag. Never wait on the thread that serves the status
    // channel while a run is under way: the worker may be waiting for that thread.
    void cancelProcessing(bool wait);

    // The dialog's release: cancel and wait for the task, then empty the list and zero the
    // index and both flags. Same thread rule as cancelProcessing(true).
    void clear();

    // The base task: Start, one Update per path (total = count, position = index, text
    // "EntryName") while not cancelled, End. Runs on the worker.
    void runBaseTask();

    // The frame's own task face: runBaseTask.
    void Run() override;

  private:
    void deliver(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text);

    s::thread::ObjLocker itemLock_;
    s::str::strarray::StrArray* paths_; // owned
    s::thread::win::Thread* worker_;    // owned (its pool's)
    s::thread::ITask* task_ = nullptr;  // not owned
    IStatusChannel* channel_ = nullptr; // not owned
    std::atomic<bool> busy_{false};
    std::atomic<bool> cancel_{false};
    int32_t currentIndex_ = 0;
    // The update rule's state, used by the worker only (sendStatus).
    int32_t lastStep_ = -1;        // thousandths of the last update handed on; -1: none yet
    int64_t lastSentAt_ = 0;       // when it went, milliseconds of a steady clock
    bool held_ = false;            // an update is held back
    int32_t heldTotal_ = 0;
    int32_t heldPosition_ = 0;
    bool heldHasText_ = false;
    s::str::strbuffer::StrBuffer* heldText_; // owned
};

} // namespace s::gui::dialogs::dragndrop
