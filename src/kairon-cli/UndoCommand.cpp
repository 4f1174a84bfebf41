// kairon-cli undo: puts back the times a run replaced, from its journal.
#include "kairon-cli/Commands.h"
#include "kairon-cli/Items.h"
#include "kairon-cli/Output.h"
#include "kairon-cli/TimeText.h"

namespace kairon::cli
{

using s::file::gui::dialogs::filetime::UndoEntry;
using s::file::gui::dialogs::filetime::UndoOutcome;

namespace
{

// One item put back, with its message on standard error when it is not.
UndoOutcome UndoItem(const JournalEntry& e, bool force)
{
    TickTimes now;
    uint32_t error = 0;
    const UndoOutcome outcome = UndoEntry(e, force, now, error);
    if (outcome == UndoOutcome::Failed)
        ErrorLine(L"cannot restore " + e.path + L": " + SystemReason(error));
    else if (outcome == UndoOutcome::ChangedSince)
        Err(L"kairon-cli: " + e.path + L" was modified since the run (" +
            FormatLocal(static_cast<s::time::Ticks>(now.modified)) + L"); left alone\n");
    return outcome;
}

} // namespace

int RunUndo(const Options& options)
{
    // The journal is read once: what it holds, whether it was undone and where its complete
    // lines end (where the "undone" mark goes).
    std::wstring file = options.journal;
    std::vector<JournalEntry> entries;
    bool undone = false;
    uint64_t linesEnd = 0;
    if (file.empty())
    {
        const std::wstring folder = JournalFolder();
        if (!FindLastJournal(folder, file, nullptr, &entries, &linesEnd))
        {
            ErrorLine(L"no run to undo (no journal left in " + folder + L")");
            return EXIT_SOME_FAILED;
        }
    }
    else
    {
        file = FullPathOf(file);
        std::wstring error;
        if (!ReadJournal(file, entries, undone, error, nullptr, &linesEnd))
        {
            ErrorLine(error);
            return EXIT_SOME_FAILED;
        }
    }
    uint32_t restored = 0, already = 0, changedSince = 0, failed = 0;
    // Latest first: the reverse of the run.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    {
        switch (UndoItem(*it, options.force))
        {
        case UndoOutcome::Restored: ++restored; break;
        case UndoOutcome::AlreadyBefore: ++already; break;
        case UndoOutcome::ChangedSince: ++changedSince; break;
        case UndoOutcome::Failed: ++failed; break;
        }
    }
    if (failed == 0 && changedSince == 0 && !undone)
        MarkUndone(file, linesEnd);
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
