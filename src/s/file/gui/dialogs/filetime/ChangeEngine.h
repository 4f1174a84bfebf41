#pragma once
// The change engine of the file-time dialog: the task that the processing frame's worker
// runs, and the two walkers that find the newest/oldest times and write one item.
//
//     ProcessingFrame frame;                 // the drop dialog's frame
//     ChangeEngine engine(frame);            // the frame runs engine.run() on its worker
//     engine.getRequest() = ...;             // captured while the frame is idle
//     { ObjLocker::Guard g(frame.getItemLock()); frame.appendPath(...); frame.startRun(); }
//
// Events (through the frame's status channel): ProcessStatusStart; one ProcessStatusUpdate
// (total 1000, position in thousandths, the item's title) after each item that passed the
// attribute filter has been handled (the frame hands on those the display would show
// differently, see ProcessingFrame); ProcessStatusEnd, also after a cancel.
//
// Writing: each item is written through PathWin's time writer, which needs no attribute
// change (it clears and restores them only where its minimal open is refused). A walked
// entry's attributes and times come from its folder's listing; a dropped item is read once.
//
// Failures are counted, not hidden: an item that passed the filter but could not be
// opened, or whose times could not be written, keeps its times (its attributes are as they
// were and its update is still sent) and is counted; so is an item whose attributes
// could not be put back, an item whose own times cannot be read under a method that derives
// from them (it keeps its times: ERROR_NOT_SUPPORTED for a drive root, which has none,
// ERROR_CANT_ACCESS_FILE otherwise), a walked item whose path cannot be split
// (ERROR_FILENAME_EXCED_RANGE), and a dropped item that cannot be found or reached (with
// the system's code of its query: gone since the drop, a name the system refuses). Only
// items the attribute boxes leave out are passed over without a count. The item view
// adds the item it could not read (noteFailure). The full paths of the first
// MAX_KEPT_FAILURES are kept, each with the system's error code of what failed. Count,
// paths and codes are final when ProcessStatusEnd is sent and stay readable until the next
// run starts.
//
// Times from the item itself (mode FromItem): the date a photo was taken, the date in the
// name, or for a folder the newest time of what it holds at all levels (the filters decide
// what counts; the contents are written first, so a parent sees its children's new times).
// An item with no such time keeps its times, is counted apart from failures
// (getWithoutDateCount) and is told to the listener's withoutDate. A wall-clock time is
// read in the request's zone with that date's daylight rule.
//
// Access times: a folder the engine walks into and writes with "Accessed" unchecked gets
// back the access time it had before its listing stamped it (to the tick); the newest/oldest
// search does the same for the folders the job writes afterwards.
//
// Seams for other front ends (the command line), all set while the frame is idle:
// - setListener: an IChangeListener told about every item before and after its write, with
//   its times as read and as planned; it may skip items.
// - setPlanOnly: walk, filter, compute and tell the listener, but write nothing (no time, no
//   attribute; the search restores no access time either: the listener hears of each folder
//   the plan listed, IChangeListener::listedInPlan). Progress and events are as in a real
//   run; items known to fail without a write (the drive root above) are counted.
// - No window is needed: make a ProcessingFrame and a ChangeEngine, append paths, startRun
//   and ProcessingFrame::waitForEnd(); without a status channel the frame returns to idle
//   by itself (see ProcessingFrame).
//
// Threads: the request, the action, the pending flags and the edit path are written by
// the user-interface thread while the frame is not busy, and read by the worker. run(),
// scanNewestOldest and applyToItem run on the worker. The engine holds the frame's item
// lock only while it reads the path list, never across file operations or status events.
//
// Ownership: the frame and the item view are not owned and must outlive the engine.

#include <atomic>
#include <cstdint>

#include "s/file/gui/dialogs/filetime/ChangeRequest.h"
#include "s/file/gui/dialogs/filetime/IChangeListener.h"
#include "s/time/EpochSeconds.h"
#include "s/thread/ITask.h"

namespace s::gui::dialogs::dragndrop
{
class ProcessingFrame;
}
namespace s::file::win
{
class PathWin;
}
namespace s::str::strarray
{
class StrArray;
}
namespace s::col::_array
{
class ArrayU32;
}
namespace s::str::strbuffer
{
class StrBuffer;
}

namespace s::file::gui::dialogs::filetime
{

// The display of the dropped item in the View & Copy and View & Edit panels, filled in by
// the dialog. Called on the worker thread.
class IDroppedItemView
{
  public:
    virtual ~IDroppedItemView() = default;
    virtual void showDroppedItem() = 0;
};

class ChangeEngine : public s::thread::ITask
{
  public:
    using EpochSeconds = s::time::EpochSeconds;
    using PathWin = s::file::win::PathWin;

    // The dialog's actions, in the order of its action chooser.
    static constexpr int32_t ACTION_VIEW_COPY = 0;
    static constexpr int32_t ACTION_VIEW_EDIT = 1;
    static constexpr int32_t ACTION_CHANGE_MULTIPLE = 2;

    // Paths of failed items kept per run.
    static constexpr uint32_t MAX_KEPT_FAILURES = 100;

    // Makes itself the frame's task. Destroy the engine only while the frame is idle
    // (after the frame's clear()); it then takes itself back from the frame.
    explicit ChangeEngine(s::gui::dialogs::dragndrop::ProcessingFrame& frame);
    ~ChangeEngine() override;
    ChangeEngine(const ChangeEngine&) = delete;
    ChangeEngine& operator=(const ChangeEngine&) = delete;

    ChangeRequest& getRequest() { return request_; }
    const ChangeRequest& getRequest() const { return request_; }

    void setAction(int32_t action) { action_ = action; }
    int32_t getAction() const { return action_; }
    // View & Edit has queued a write of its edited times; run() clears it.
    void setApplyPending(bool pending) { applyPending_ = pending; }
    bool isApplyPending() const { return applyPending_; }
    // View & Copy has queued a re-read of its item (read by the item view).
    void setRefreshPending(bool pending) { refreshPending_ = pending; }
    bool isRefreshPending() const { return refreshPending_; }
    // Full path of the item shown in View & Edit: what an Apply writes. Copied.
    void setEditPath(const wchar_t* path);
    const wchar_t* getEditPath() const;

    // The dialog's display; null shows nothing.
    void setItemView(IDroppedItemView* view) { view_ = view; }

    // Told about every item before and after its write (see IChangeListener); not owned,
    // null = none. Set while the frame is idle.
    void setListener(IChangeListener* listener) { listener_ = listener; }
    IChangeListener* getListener() const { return listener_; }
    // Plan mode: walk, filter, compute and tell the listener; write nothing. Set while the
    // frame is idle; stays until changed (reset() clears it).
    void setPlanOnly(bool on) { planOnly_ = on; }
    bool isPlanOnly() const { return planOnly_; }

    // Back to a new engine's state: default request, action View & Copy, flags clear,
    // no edit path, no failures, no listener, plan mode off.
    void reset();

    // The task, on the worker thread. See the header comment for its events.
    void run();
    // The task face: run().
    void Run() override;

    // Has the dialog show the dropped item (the hook given to setItemView).
    void showDroppedItem();

    // Updates the running values with the newest (or oldest) times of item and, for a
    // folder, of everything inside it, whatever the attribute flags and includeContents
    // say. A running value that is negative is not searched. Stops when cancelled.
    void scanNewestOldest(PathWin* item, bool newest, EpochSeconds& created, EpochSeconds& modified,
                          EpochSeconds& accessed);

    // Writes one item (and, with includeContents, what a folder holds, before the folder
    // itself). from and to are the fractions of the whole job (0..1) that the item covers;
    // its update reports to. Skips (silently, no event) an item whose attribute flag is off
    // (with everything inside it), and everything once cancelled, except that an item
    // already under way is finished, together with the folders that enclose it. An item
    // that cannot be found or reached is counted as failed (no event), and so is one whose
    // text cannot be split into a path (unless its attribute flag is off).
    void applyToItem(PathWin* item, float from, float to, const ChangeRequest& request);

    // Items of the last (or current) run whose times were written (in plan mode: would be).
    uint32_t getChangedCount() const { return changedCount_; }
    // Items of the last (or current) run in mode FromItem that passed the filter but state no
    // time (see IChangeListener::NoDate; files under newest inside are not counted). They
    // keep their times and are not failures.
    uint32_t getWithoutDateCount() const { return withoutDateCount_; }

    // Items of the last (or current) run that could not be changed (or, in a run that
    // only showed an item, read).
    uint32_t getFailureCount() const { return failureCount_; }
    // Counts an item as failed with the system's error code of what failed and keeps its
    // path (within MAX_KEPT_FAILURES). On the worker, during run(): the engine's own
    // walkers and the item view (an item it could not read) use it.
    void noteFailure(const wchar_t* fullPath, uint32_t systemError);
    // The last (or current) run wrote times (Change Multiple, View & Edit Apply), rather
    // than showing the dropped item.
    bool didLastRunWrite() const { return lastRunWrote_; }
    // Full paths of the first MAX_KEPT_FAILURES of them, in the order they failed.
    const s::str::strarray::StrArray& getFailedPaths() const { return *failedPaths_; }
    // The system's error code of each of them, in the same order as getFailedPaths().
    const s::col::_array::ArrayU32& getFailedErrors() const { return *failedErrors_; }

  private:
    void runChangeMultiple();
    void runNewestOldestSearch();
    // Reads a dropped item once and answers the request it is written with (a file dropped
    // directly passes the attribute filter whatever the four boxes say).
    ChangeRequest requestForDropped(PathWin* item) const;
    // scanNewestOldest; job (may be null) is the request the change loop will write item
    // with (its filter as for a dropped item), so that a folder it will write keeps its
    // access time through the search.
    void scanItem(PathWin* item, bool newest, EpochSeconds& created, EpochSeconds& modified,
                  EpochSeconds& accessed, const ChangeRequest* job);
    // Mode FromItem: the UTC time `item` states, or -1 with `why` set. newestWalked: the
    // newest time of a folder's contents as the walk found it (null: not walked, look).
    EpochSeconds timeFromItem(PathWin* item, const ChangeRequest& request, const EpochSeconds* newestWalked,
                              IChangeListener::NoDate& why);
    // The newest compared time of the files at all levels inside `folder` that the filters
    // let through; -1 when there is none.
    EpochSeconds newestInside(PathWin* folder, const ChangeRequest& request);
    bool isCancelled() const;

    s::gui::dialogs::dragndrop::ProcessingFrame& frame_;
    ChangeRequest request_;
    int32_t action_ = ACTION_VIEW_COPY;
    // Tested by the user-interface thread while the worker clears them.
    std::atomic<bool> applyPending_{false};
    std::atomic<bool> refreshPending_{false};
    s::str::strbuffer::StrBuffer* editPath_; // owned
    IDroppedItemView* view_ = nullptr;       // not owned
    IChangeListener* listener_ = nullptr;    // not owned
    bool planOnly_ = false;
    bool lastRunWrote_ = false;
    uint32_t failureCount_ = 0;
    uint32_t changedCount_ = 0;
    uint32_t withoutDateCount_ = 0;
    // Newest inside: the newest time met so far among the contents of the folder being walked.
    EpochSeconds newestBelow_ = -1;
    s::str::strarray::StrArray* failedPaths_; // owned
    s::col::_array::ArrayU32* failedErrors_;  // owned
};

} // namespace s::file::gui::dialogs::filetime
