// kairon-cli undo: puts back the times a run replaced, from its journal.
#include "kairon-cli/Commands.h"
#include "kairon-cli/Items.h"
#include "kairon-cli/Journal.h"
#include "kairon-cli/Output.h"
#include "kairon-cli/TimeText.h"

namespace kairon::cli
{

using s::file::win::PathWin;

namespace
{

enum class Outcome
{
    Restored,
    AlreadyBefore, // nothing to put back (the write never happened, or was undone)
    ChangedSince,  // modified again after the run: left alone unless forced
    Failed,
};

Outcome UndoItem(const JournalEntry& e, bool force)
{
    HeldPath item(e.path);
    if (item.p == nullptr || !item->Query())
    {
        ErrorLine(L"cannot restore " + e.path + L": " + SystemReason(ERROR_FILE_NOT_FOUND));
        return Outcome::Failed;
    }
    TickTimes now;
    uint32_t error = 0;
    if (!ReadTickTimes(*item.p, now, error))
    {
        ErrorLine(L"cannot restore " + e.path + L": " + SystemReason(error));
        return Outcome::Failed;
    }
    // Only the times the run changed are put back: the others may have moved on since.
    const bool changeCreated = e.before.created != e.after.created;
    const bool changeModified = e.before.modified != e.after.modified;
    const bool changeAccessed = e.before.accessed != e.after.accessed;
    if ((!changeCreated || now.created == e.before.created) && (!changeModified || now.modified == e.before.modified) &&
        (!changeAccessed || now.accessed == e.before.accessed))
        return Outcome::AlreadyBefore;
    // A program that changes an item sets its modified time: one that is neither the time
    // before the run nor the time the run wrote tells that the item was changed since.
    if (!force && now.modified != e.after.modified && now.modified != e.before.modified)
    {
        Err(L"kairon-cli: " + e.path + L" was modified since the run (" +
            FormatLocal(static_cast<s::time::Ticks>(now.modified)) + L"); left alone\n");
        return Outcome::ChangedSince;
    }
    const auto c = static_cast<s::time::Ticks>(e.before.created);
    const auto m = static_cast<s::time::Ticks>(e.before.modified);
    const auto a = static_cast<s::time::Ticks>(e.before.accessed);
    // The library's time writer, as the engine uses it: read-only, hidden and system items
    // keep their attributes.
    uint32_t writeError = 0;
    if (!PathWin::WriteTimeTicks(item->AttributePath(), changeCreated ? &c : nullptr, changeAccessed ? &a : nullptr,
                                 changeModified ? &m : nullptr, &writeError))
    {
        ErrorLine(L"cannot restore " + e.path + L": " + SystemReason(writeError));
        return Outcome::Failed;
    }
    return Outcome::Restored;
}

} // namespace

int RunUndo(const Options& options)
{
    std::wstring file = options.journal;
    if (file.empty())
    {
        const std::wstring folder = JournalFolder();
        if (!FindLastJournal(folder, file))
        {
            ErrorLine(L"no run to undo (no journal left in " + folder + L")");
            return EXIT_SOME_FAILED;
        }
    }
    else
        file = FullPathOf(file);
    std::vector<JournalEntry> entries;
    bool undone = false;
    std::wstring error;
    if (!ReadJournal(file, entries, undone, error))
    {
        ErrorLine(error);
        return EXIT_SOME_FAILED;
    }
    uint32_t restored = 0, already = 0, changedSince = 0, failed = 0;
    // Latest first: the reverse of the run.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    {
        switch (UndoItem(*it, options.force))
        {
        case Outcome::Restored: ++restored; break;
        case Outcome::AlreadyBefore: ++already; break;
        case Outcome::ChangedSince: ++changedSince; break;
        case Outcome::Failed: ++failed; break;
        }
    }
    if (failed == 0 && changedSince == 0 && !undone)
        MarkUndone(file);
    std::wstring summary = L"Restored " + std::to_wstring(restored) + (restored == 1 ? L" item" : L" items");
    if (already != 0)
        summary += L", " + std::to_wstring(already) + L" already as before";
    if (changedSince != 0)
        summary += L", " + std::to_wstring(changedSince) + L" modified since left alone (--force restores them)";
    if (failed != 0)
        summary += L", " + std::to_wstring(failed) + L" failed";
    summary += L" (journal " + file + L")\n";
    Out(summary);
    return failed != 0 || changedSince != 0 ? EXIT_SOME_FAILED : EXIT_DONE;
}

} // namespace kairon::cli
