#include "s/file/gui/dialogs/filetime/JournalUndo.h"

#include "s/file/gui/dialogs/filetime/Journal.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"

namespace s::file::gui::dialogs::filetime
{

namespace dnd = s::gui::dialogs::dragndrop;

void JournalUndo::Run()
{
    restored_ = already_ = changedSince_ = failed_ = 0;
    cancelled_ = false;
    failedPaths_.clear();
    failedErrors_.clear();
    frame_.sendStatus(dnd::ProcessStatusStart, 0, 0, nullptr);
    std::vector<JournalEntry> entries;
    bool undone = false;
    std::wstring error;
    read_ = ReadJournal(file_, entries, undone, error);
    const size_t n = entries.size();
    // Newest first: the reverse of the run.
    for (size_t i = 0; read_ && i < n; ++i)
    {
        if (frame_.isCancelRequested())
        {
            cancelled_ = true;
            break;
        }
        const JournalEntry& e = entries[n - 1 - i];
        ItemTimes now;
        uint32_t code = 0;
        switch (UndoEntry(e, false, now, code))
        {
        case UndoOutcome::Restored: ++restored_; break;
        case UndoOutcome::AlreadyBefore: ++already_; break;
        case UndoOutcome::ChangedSince: ++changedSince_; break;
        case UndoOutcome::Failed:
            ++failed_;
            failedPaths_.push_back(e.path);
            failedErrors_.push_back(code);
            break;
        }
        frame_.sendStatus(dnd::ProcessStatusUpdate, 1000, static_cast<int32_t>((i + 1) * 1000 / n), e.path.c_str());
    }
    if (read_ && !cancelled_ && failed_ == 0 && !undone)
        MarkUndone(file_);
    frame_.sendStatus(dnd::ProcessStatusEnd, 0, 0, nullptr);
}

} // namespace s::file::gui::dialogs::filetime
