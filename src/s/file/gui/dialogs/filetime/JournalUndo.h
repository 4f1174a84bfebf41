#pragma once
// Undoing a run from its journal on the processing frame's worker, with the progress and
// the cancel of a drop: the window's "Undo Last Change".
//
//     JournalUndo undo(frame);
//     undo.setJournal(file);                 // while the frame is idle
//     frame.setTask(&undo); { ObjLocker::Guard g(frame.getItemLock()); frame.startRun(); }
//
// Events: ProcessStatusStart; one ProcessStatusUpdate per journal item (total 1000,
// position in thousandths, the item's path); ProcessStatusEnd, also after a cancel.
// Items go newest first, each by UndoEntry (only the fields the run changed, to the tick;
// an item modified since the run is left alone and counted). A run that was undone
// without a cancel and without a failure is marked undone in its journal; items modified
// since are left alone on purpose and do not keep it open (the command line's
// `undo --force <journal>` still puts them back).
//
// Threads: setJournal and the results on the user-interface thread while the frame is
// idle; Run on the worker. The results are final when ProcessStatusEnd is sent.
// Ownership: the frame is not owned and must outlive the task.

#include <cstdint>
#include <string>
#include <vector>

#include "s/thread/ITask.h"

namespace s::gui::dialogs::dragndrop
{
class ProcessingFrame;
}

namespace s::file::gui::dialogs::filetime
{

class JournalUndo : public s::thread::ITask
{
  public:
    explicit JournalUndo(s::gui::dialogs::dragndrop::ProcessingFrame& frame) : frame_(frame) {}

    void setJournal(const std::wstring& file) { file_ = file; }
    const std::wstring& getJournal() const { return file_; }

    void Run() override;

    // The last run's results.
    uint32_t restored() const { return restored_; }
    uint32_t alreadyBefore() const { return already_; }
    uint32_t changedSince() const { return changedSince_; }
    uint32_t failed() const { return failed_; }
    bool cancelled() const { return cancelled_; }
    // False when the journal could not be read (nothing was done).
    bool journalRead() const { return read_; }
    // Paths and system error codes of the items that could not be put back, in order.
    const std::vector<std::wstring>& failedPaths() const { return failedPaths_; }
    const std::vector<uint32_t>& failedErrors() const { return failedErrors_; }

  private:
    s::gui::dialogs::dragndrop::ProcessingFrame& frame_;
    std::wstring file_;
    uint32_t restored_ = 0;
    uint32_t already_ = 0;
    uint32_t changedSince_ = 0;
    uint32_t failed_ = 0;
    bool cancelled_ = false;
    bool read_ = false;
    std::vector<std::wstring> failedPaths_;
    std::vector<uint32_t> failedErrors_;
};

} // namespace s::file::gui::dialogs::filetime
