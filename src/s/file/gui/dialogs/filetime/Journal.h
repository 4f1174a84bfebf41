#pragma once
// The journal of a run: the times that a run of the change engine replaced, item by item,
// so that an undo can put them back, even after a run that was interrupted. One journal
// for both front ends: the window and the command line write it through the engine's
// change listener (JournalListener) and undo either's runs (UndoEntry, JournalUndo).
//
// Format (UTF-8 text, one record per line, fields separated by tabs; a path holds neither):
//
//     Kairon journal 1
//     started<TAB>2026-12-10T14:00:00.123Z
//     command<TAB>set --offset -1h D:\Photos
//     item<TAB>F|D<TAB>created<TAB>modified<TAB>accessed<TAB>created'<TAB>modified'<TAB>accessed'<TAB>path
//     undone<TAB>2026-12-10T14:05:00.456Z
//
// An item line carries the item's times before the run and the times the run writes, as
// file-system ticks (100 ns since 1601, UTC, decimal), F for a file and D for a folder. It
// is written before the item's times are, so the journal never lacks an item that was
// changed. "undone" marks a journal whose run has been undone. The command is what the
// run was asked, as its front end tells it (the command line as typed; the window's run
// in words).
//
// The writer puts each line into a view of the file mapped into memory: a line is in the
// system's cache of the file as soon as it is written (it survives the end of the process,
// even a forced one) without a system call per item. A journal whose run was interrupted
// may end in zero bytes (the mapped room not yet used) or a line cut short: both are
// ignored when it is read, and cut off before "undone" is added.
//
// Journals live in %LOCALAPPDATA%\Kairon\Journal (or the folder named by the environment
// variable KAIRON_JOURNAL_DIR), named by their start time in UTC so that names sort by age.
// A new journal prunes its folder: the newest KEEP_NEWEST journals are kept, and every
// journal younger than KEEP_DAYS days; older ones beyond that are deleted.
//
// Threads: a writer is used by one thread at a time (the engine's worker during a run);
// the free functions may run on any thread.
// Failures: answered as false with a one-line reason where asked.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "s/file/gui/dialogs/filetime/IChangeListener.h"

namespace s::gui::dialogs::dragndrop
{
class ProcessingFrame;
}
namespace s::file::win
{
class PathWin;
}

namespace s::file::gui::dialogs::filetime
{

struct JournalEntry
{
    bool folder = false;
    ItemTimes before;
    ItemTimes after;
    std::wstring path;
};

// Journals kept by pruning: the newest KEEP_NEWEST, and all younger than KEEP_DAYS days.
constexpr uint32_t JOURNAL_KEEP_NEWEST = 50;
constexpr uint32_t JOURNAL_KEEP_DAYS = 30;

class JournalWriter
{
  public:
    JournalWriter() = default;
    ~JournalWriter() { Close(); }
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    /// Makes a new journal in `folder` (made when missing), writes its head and prunes the
    /// folder (see PruneJournals). False with a reason when it cannot be made.
    bool Create(const std::wstring& folder, const std::wstring& command, std::wstring& error);
    /// Writes one item line; it is in the system's cache of the file at once (it survives
    /// the end of the process). False when the journal could not grow.
    bool Add(const wchar_t* path, bool folder, const ItemTimes& before, const ItemTimes& after);
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    /// The journal's full path.
    const std::wstring& Path() const { return path_; }
    /// Items written.
    uint32_t Count() const { return count_; }
    /// Cuts the file to what was written and closes it; a journal without items is deleted
    /// (it would undo nothing).
    void Close();

  private:
    bool WriteLine(const std::wstring& line);
    // Maps the file with room for at least `size` bytes (the file grows with it).
    bool Map(uint64_t size);
    void Unmap();

    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    char* view_ = nullptr;
    uint64_t capacity_ = 0; // bytes mapped
    uint64_t used_ = 0;     // bytes written
    std::wstring path_;
    uint32_t count_ = 0;
    std::string utf8_;
};

/// The folder of the journals: KAIRON_JOURNAL_DIR, else %LOCALAPPDATA%\Kairon\Journal.
/// Empty when neither is known.
std::wstring JournalFolder();

/// Reads a journal; `command` (optional) receives its command line, `linesEnd` (optional)
/// the size of its complete lines in bytes (what MarkUndone keeps). False with a reason
/// when the file cannot be read or is no journal.
bool ReadJournal(const std::wstring& file, std::vector<JournalEntry>& entries, bool& undone,
                 std::wstring& error, std::wstring* command = nullptr, uint64_t* linesEnd = nullptr);

/// The newest journal of `folder` that is not marked undone; false when there is none.
/// `command`, `entries` and `linesEnd` (each optional) receive what reading it found (see
/// ReadJournal), so that the journal found need not be read again.
bool FindLastJournal(const std::wstring& folder, std::wstring& file, std::wstring* command = nullptr,
                     std::vector<JournalEntry>* entries = nullptr, uint64_t* linesEnd = nullptr);

/// A `linesEnd` that MarkUndone finds out by reading the journal.
constexpr uint64_t JOURNAL_LINES_END_UNKNOWN = UINT64_MAX;

/// Appends the "undone" line after the last complete line, which ends `linesEnd` bytes into
/// the file as ReadJournal told (unknown: the journal is read to find it).
bool MarkUndone(const std::wstring& file, uint64_t linesEnd = JOURNAL_LINES_END_UNKNOWN);

/// Deletes the journals of `folder` that are neither among its `keepNewest` newest nor
/// younger than `keepDays` days (by the start time in their names). Answers how many were
/// deleted.
uint32_t PruneJournals(const std::wstring& folder, uint32_t keepNewest = JOURNAL_KEEP_NEWEST,
                       uint32_t keepDays = JOURNAL_KEEP_DAYS);

/// The current UTC time as "2026-12-10T14:00:00.123Z".
std::wstring NowUtcText();

/// The item's three times exactly as the file system keeps them (ticks; a zero creation or
/// access time reads as the modified time, as everywhere in the program). False with the
/// system's error code when they cannot be read. Times the item has cached (from a listing
/// or a Query just made) are taken as they are; otherwise they are read.
bool ReadItemTimes(s::file::win::PathWin& item, ItemTimes& out, uint32_t& systemError);

// --- writing a run's journal ---------------------------------------------------------------

/// The engine's listener that journals a run: each item whose times change gets its line
/// before its write. The journal is made at the first such item (a run that changes
/// nothing leaves none), with the command `commandOf()` answers then. An item whose line
/// cannot be written is not written either, and the run is cancelled: the journal never
/// lacks a changed item.
///
/// Threads: the engine's worker calls it during a run; the rest while the frame is idle.
/// Ownership: the frame is not owned and must outlive the listener.
class JournalListener : public IChangeListener
{
  public:
    JournalListener(s::gui::dialogs::dragndrop::ProcessingFrame& frame, std::function<std::wstring()> commandOf)
        : frame_(frame), commandOf_(std::move(commandOf))
    {
    }

    /// Starts a new run: the next changing item opens a new journal in `folder`.
    void begin(const std::wstring& folder);
    /// Closes the run's journal (see JournalWriter::Close).
    void end() { writer_.Close(); }

    bool beforeWrite(const wchar_t* path, bool isFolder, const ItemTimes& before, const ItemTimes& planned) override;
    void afterWrite(const wchar_t*, bool, uint32_t) override {}

    /// The run was stopped because the journal could not be made or written; error() says why.
    bool failed() const { return failed_; }
    const std::wstring& error() const { return error_; }
    /// Path of the run's journal (empty when none was made) and its items.
    const std::wstring& path() const { return writer_.Path(); }
    uint32_t count() const { return writer_.Count(); }

  private:
    s::gui::dialogs::dragndrop::ProcessingFrame& frame_;
    std::function<std::wstring()> commandOf_;
    JournalWriter writer_;
    std::wstring folder_;
    bool failed_ = false;
    std::wstring error_;
};

// --- undoing a run -------------------------------------------------------------------------

enum class UndoOutcome
{
    Restored,
    AlreadyBefore, // nothing to put back (the write never happened, or was undone)
    ChangedSince,  // modified again after the run: left alone unless forced
    Failed,
};

/// Puts back the times of one journal item: only the fields the run changed, to the tick,
/// through the library's time writer (attributes kept). An item whose modified time is
/// neither the one before the run nor the one the run wrote was changed since: it is left
/// alone unless `force`. `now` receives the item's times as found; `systemError` the
/// reason of a failure.
UndoOutcome UndoEntry(const JournalEntry& entry, bool force, ItemTimes& now, uint32_t& systemError);

} // namespace s::file::gui::dialogs::filetime
