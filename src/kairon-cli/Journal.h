#pragma once
// The journal of a run: the times that `set` replaced, item by item, so that `undo` can put
// them back, even after a run that was interrupted.
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
// changed. "undone" marks a journal whose run has been undone.
//
// The writer puts each line into a view of the file mapped into memory: a line is in the
// system's cache of the file as soon as it is written (it survives the end of the process,
// even a forced one) without a system call per item. A journal whose run was interrupted
// may end in zero bytes (the mapped room not yet used) or a line cut short: both are
// ignored when it is read, and cut off before "undone" is added.
//
// Journals live in %LOCALAPPDATA%\Kairon\Journal (or the folder named by the environment
// variable KAIRON_JOURNAL_DIR), named by their start time in UTC so that names sort by age.
//
// Threads: a writer is used by one thread at a time (the engine's worker during a run).
// Failures: answered as false with a one-line reason where asked.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "s/file/gui/dialogs/filetime/IChangeListener.h"

namespace kairon::cli
{

// File-system ticks of an item's three times: the engine's own record.
using TickTimes = s::file::gui::dialogs::filetime::ItemTimes;

struct JournalEntry
{
    bool folder = false;
    TickTimes before;
    TickTimes after;
    std::wstring path;
};

class JournalWriter
{
  public:
    JournalWriter() = default;
    ~JournalWriter() { Close(); }
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    /// Makes a new journal in `folder` (made when missing) and writes its head. False with
    /// a reason when it cannot be made.
    bool Create(const std::wstring& folder, const std::wstring& commandLine, std::wstring& error);
    /// Writes one item line; it is in the system's cache of the file at once (it survives
    /// the end of the process). False when the journal could not grow.
    bool Add(const wchar_t* path, bool folder, const TickTimes& before, const TickTimes& after);
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
std::wstring JournalFolder();

/// Reads a journal. False with a reason when the file cannot be read or is no journal.
bool ReadJournal(const std::wstring& file, std::vector<JournalEntry>& entries, bool& undone,
                 std::wstring& error);

/// The newest journal of `folder` that is not marked undone; false when there is none.
bool FindLastJournal(const std::wstring& folder, std::wstring& file);

/// Appends the "undone" line (after the last complete line).
bool MarkUndone(const std::wstring& file);

/// The current UTC time as "2026-12-10T14:00:00.123Z".
std::wstring NowUtcText();

} // namespace kairon::cli
