// kairon-cli set: changes times through the change engine, with a preview (--dry-run) and a
// journal of the times replaced.
#include <windows.h>

#include <atomic>
#include <set>

#include "kairon-cli/Commands.h"
#include "kairon-cli/Items.h"
#include "kairon-cli/Output.h"
#include "kairon-cli/TimeText.h"
#include "kairon-cli/Zones.h"
#include "s/file/gui/dialogs/filetime/ChangeEngine.h"
#include "s/file/gui/dialogs/filetime/IChangeListener.h"
#include "s/file/gui/dialogs/filetime/PlanRecorder.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"
#include "s/col/_array/ArrayU32.h"
#include "s/io/win/ConsoleOutput.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/ObjLocker.h"
#include "s/time/TimeZone.h"

namespace kairon::cli
{

namespace ft = s::file::gui::dialogs::filetime;
namespace dnd = s::gui::dialogs::dragndrop;
using s::file::win::PathWin;

namespace
{

// The frame of the run under way, for the console's Ctrl+C.
std::atomic<dnd::ProcessingFrame*> g_runningFrame{nullptr};
std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleBreak(DWORD kind)
{
    if (kind != CTRL_C_EVENT && kind != CTRL_BREAK_EVENT)
        return FALSE;
    if (dnd::ProcessingFrame* frame = g_runningFrame.load())
    {
        // The item under way is finished; the journal already holds every item written.
        g_interrupted = true;
        frame->cancelProcessing(false);
        return TRUE;
    }
    return FALSE;
}

// A path as the messages show it: a drive as its root ("C:\\"), everything else as it is.
std::wstring Shown(const wchar_t* path)
{
    std::wstring text = path;
    if (text.size() == 2 && text[1] == L':')
        text += L'\\';
    return text;
}

// Progress on standard error when it is a console and the run takes a while: a line that
// is redrawn at most ten times a second, from the first second on.
class Progress
{
  public:
    Progress() : enabled_(s::io::win::ConsoleOutput::StdErr().IsConsole()), start_(GetTickCount64()) {}

    void update(int32_t position, const wchar_t* title)
    {
        if (!enabled_)
            return;
        const uint64_t now = GetTickCount64();
        if (now - start_ < 1000 || now - last_ < 100)
            return;
        last_ = now;
        std::wstring line = L"\r" + std::to_wstring(position / 10) + L"% ";
        std::wstring name = title != nullptr ? title : L"";
        if (name.size() > 60)
            name = name.substr(0, 57) + L"...";
        line += name;
        const size_t width = line.size();
        if (width < shown_)
            line.append(shown_ - width, L' ');
        shown_ = width;
        Err(line);
    }

    // Clears the progress line before other output.
    void clear()
    {
        if (shown_ == 0)
            return;
        Err(L"\r" + std::wstring(shown_, L' ') + L"\r");
        shown_ = 0;
    }

  private:
    bool enabled_;
    uint64_t start_;
    uint64_t last_ = 0;
    size_t shown_ = 0;
};

// Shows the engine's progress; the end of the run is awaited with the frame's waitForEnd.
class RunChannel : public dnd::IStatusChannel
{
  public:
    explicit RunChannel(Progress& progress) : progress_(progress) {}

    void sendStatus(const wchar_t* name, int32_t, int32_t position, const wchar_t* text) override
    {
        if (name == dnd::ProcessStatusUpdate)
            progress_.update(position, text);
        else if (name == dnd::ProcessStatusEnd)
            progress_.clear();
    }

  private:
    Progress& progress_;
};

// Hears every item the engine writes (or, in a dry run, would write): lists it or puts it
// in the journal before the write, and lists failures after it.
class RunListener : public ft::IChangeListener
{
  public:
    RunListener(bool dryRun, JournalListener* journal, Progress& progress)
        : dryRun_(dryRun), journal_(journal), progress_(progress)
    {
    }

    bool beforeWrite(const wchar_t* path, bool isFolder, const ft::ItemTimes& before,
                     const ft::ItemTimes& planned) override
    {
        if (dryRun_)
        {
            listPlanned(path, before, planned);
            return true;
        }
        const bool told = journal_->failed();
        if (journal_->beforeWrite(path, isFolder, before, planned))
            return true;
        // Without its journal line an item could not be undone: the run is stopped.
        if (!told)
        {
            progress_.clear();
            ErrorLine(journal_->error() + (journal_->count() == 0 ? L"; nothing was changed" : L"; the run is stopped"));
        }
        return false;
    }

    void afterWrite(const wchar_t* path, bool ok, uint32_t systemError) override
    {
        if (ok)
        {
            ++changed_;
            return;
        }
        reported_.insert(path);
        progress_.clear();
        ErrorLine(L"cannot change " + Shown(path) + L": " + SystemReason(systemError));
    }

    // A dry run changes no time, but the system stamps the access time of a folder when it
    // is listed: a folder the dry run listed gets back the time it had.
    void listedInPlan(const wchar_t* path, int64_t accessedBefore) override
    {
        ft::PlanRecorder::keepAccessTime(path, accessedBefore);
    }

    // --from: an item with no time of its own is listed in a dry run, with the reason.
    void withoutDate(const wchar_t* path, bool isFolder, NoDate reason) override
    {
        (void)isFolder;
        if (!dryRun_ || reason == NoDate::NotAFolder)
            return;
        const wchar_t* why = L"no date taken in the file";
        if (reason == NoDate::NoNameDate)
            why = L"no date in the name";
        else if (reason == NoDate::EmptyFolder)
            why = L"nothing inside";
        else if (reason == NoDate::Before1970)
            why = L"the date lies before 1970";
        Out(std::wstring(path) + L"\n  left alone: " + why + L"\n");
    }

    uint32_t changed() const { return changed_; }
    uint32_t wouldChange() const { return wouldChange_; }
    bool journalFailed() const { return journal_ != nullptr && journal_->failed(); }
    bool wasReported(const wchar_t* path) const { return reported_.count(path) != 0; }

  private:
    void listPlanned(const wchar_t* path, const ft::ItemTimes& before, const ft::ItemTimes& planned)
    {
        std::wstring lines;
        const struct
        {
            const wchar_t* label;
            int64_t from, to;
        } fields[] = {{L"  created   ", before.created, planned.created},
                      {L"  modified  ", before.modified, planned.modified},
                      {L"  accessed  ", before.accessed, planned.accessed}};
        for (const auto& f : fields)
        {
            if (f.from != f.to)
                lines += f.label + FormatLocal(static_cast<s::time::Ticks>(f.from)) + L" -> " +
                         FormatLocal(static_cast<s::time::Ticks>(f.to)) + L"\n";
        }
        if (lines.empty())
            return;
        ++wouldChange_;
        Out(std::wstring(path) + L"\n" + lines);
    }

    bool dryRun_;
    JournalListener* journal_;
    Progress& progress_;
    uint32_t changed_ = 0;
    uint32_t wouldChange_ = 0;
    std::set<std::wstring> reported_;
};

// The request for the options; false with a message for a zone or reference that is not
// there.
bool MakeRequest(const Options& o, ft::ChangeRequest& r, std::wstring& error)
{
    r.reset();
    r.includeContents = o.recursive;
    r.normal = o.includeNormal;
    r.readOnly = o.includeReadOnly;
    r.hidden = o.includeHidden;
    r.system = o.includeSystem;
    // Markers: zero or more = this time is changed.
    const auto mark = [&](s::time::EpochSeconds value) {
        r.created = o.created ? value : -1;
        r.modified = o.modified ? value : -1;
        r.accessed = o.accessed ? value : -1;
    };
    switch (o.method)
    {
    case Method::To:
        r.mode = ft::ModeSpecific;
        mark(o.to);
        return true;
    case Method::SyncTo:
        switch (o.syncTarget)
        {
        case SyncTarget::Created: r.mode = ft::ModeSync; r.syncTarget = ft::SyncCreated; mark(0); return true;
        case SyncTarget::Modified: r.mode = ft::ModeSync; r.syncTarget = ft::SyncModified; mark(0); return true;
        case SyncTarget::Accessed: r.mode = ft::ModeSync; r.syncTarget = ft::SyncAccessed; mark(0); return true;
        case SyncTarget::Newest:
            // The search starts from 1970 for the newest and from now for the oldest.
            r.mode = ft::ModeSpecific;
            r.syncTarget = ft::SyncNewest;
            mark(0);
            return true;
        case SyncTarget::Oldest:
            r.mode = ft::ModeSpecific;
            r.syncTarget = ft::SyncOldest;
            mark(s::time::nowSeconds());
            return true;
        }
        return false;
    case Method::Reference:
    {
        HeldPath reference(FullPathOf(o.reference));
        if (reference.p == nullptr || !reference->Exists() || reference->IsDriveOnly())
        {
            error = L"no such file or folder: " + o.reference + L" (given with --reference)";
            return false;
        }
        r.mode = ft::ModeSpecific;
        r.created = o.created ? reference->GetCreationTime() : -1;
        r.modified = o.modified ? reference->GetModifiedTime() : -1;
        r.accessed = o.accessed ? reference->GetAccessTime() : -1;
        // A time before 1970 would read as "leave alone" in the request.
        if ((o.created && r.created < 0) || (o.modified && r.modified < 0) || (o.accessed && r.accessed < 0))
        {
            error = L"the times of " + o.reference + L" lie before 1970 and cannot be copied";
            return false;
        }
        return true;
    }
    case Method::Offset:
        r.mode = ft::ModeOffset;
        r.offset = o.offset;
        mark(0);
        return true;
    case Method::ZoneShift:
    {
        const s::time::TimeZone* from = FindZone(o.fromZone, error);
        if (from == nullptr)
            return false;
        const s::time::TimeZone* to = FindZone(o.toZone, error);
        if (to == nullptr)
            return false;
        // The same shift the window computes for its time-zone method.
        r.mode = ft::ModeOffset;
        r.offset = s::time::zoneShift(*from, o.fromDst, *to, o.toDst);
        mark(0);
        return true;
    }
    case Method::From:
    {
        const s::time::TimeZone* zone = &s::time::systemZone();
        if (!o.clockZone.empty() && (zone = FindZone(o.clockZone, error)) == nullptr)
            return false;
        r.mode = ft::ModeFromItem;
        r.fromSource = o.fromSource == FromSource::Name           ? ft::FromName
                       : o.fromSource == FromSource::NewestInside ? ft::FromNewestInside
                                                                  : ft::FromTaken;
        r.wallClockZone = zone;
        r.wallClockDaylight = true;
        mark(0);
        return true;
    }
    case Method::None:
        break;
    }
    error = L"set needs a method";
    return false;
}

} // namespace

int RunSet(const Options& options, const std::wstring& commandLine)
{
    // Every path is checked before anything is changed.
    std::vector<std::wstring> paths;
    bool missing = false;
    for (const std::wstring& typed : options.paths)
    {
        const std::wstring full = FullPathOf(typed);
        HeldPath item(full);
        if (item.p == nullptr || !item->Exists())
        {
            ErrorLine(L"no such file or folder: " + typed);
            missing = true;
            continue;
        }
        paths.push_back(full);
    }
    if (missing)
        return UsageError(L"nothing was changed");

    dnd::ProcessingFrame frame;
    ft::ChangeEngine engine(frame);
    std::wstring error;
    if (!MakeRequest(options, engine.getRequest(), error))
        return UsageError(error);

    // The journal is made at the first item that changes: a run that changes nothing
    // leaves none.
    JournalListener journal(frame, [&commandLine] { return commandLine; });
    journal.begin(JournalFolder());

    Progress progress;
    RunChannel channel(progress);
    RunListener listener(options.dryRun, options.dryRun ? nullptr : &journal, progress);
    frame.setStatusChannel(&channel);
    engine.setAction(ft::ChangeEngine::ACTION_CHANGE_MULTIPLE);
    engine.setListener(&listener);
    engine.setPlanOnly(options.dryRun);
    // The main thread only waits: the run goes at the pace of the disk, not below it.
    frame.setWorkerPriority(0);

    g_runningFrame = &frame;
    SetConsoleCtrlHandler(&OnConsoleBreak, TRUE);
    {
        s::thread::ObjLocker::Guard guard(frame.getItemLock());
        for (const std::wstring& path : paths)
            frame.appendPath(path.c_str());
        frame.startRun();
    }
    frame.waitForEnd();
    const bool cancelled = g_interrupted || listener.journalFailed();
    SetConsoleCtrlHandler(&OnConsoleBreak, FALSE);
    g_runningFrame = nullptr;
    journal.end();

    // Every failure the engine counts, failed writes included; those it counted without a
    // failed write (an item whose attributes could not be put back, a drive root whose times
    // cannot be derived) are told here.
    const uint32_t failed = engine.getFailureCount();
    const s::str::strarray::StrArray& failedPaths = engine.getFailedPaths();
    const s::col::_array::ArrayU32& failedErrors = engine.getFailedErrors();
    for (uint32_t i = 0; i < failedPaths.Count(); ++i)
    {
        const wchar_t* path = failedPaths.Get(i)->CStr();
        if (!listener.wasReported(path))
        {
            const uint32_t code = i < failedErrors.Count() ? failedErrors.Get(i) : 0;
            ErrorLine(L"cannot change " + Shown(path) + (code != 0 ? L": " + SystemReason(code) : L""));
        }
    }

    const bool fromItem = options.method == Method::From;
    if (fromItem && !options.quiet)
    {
        // Items without a date are neither changed nor failed: the count says how many.
        const uint32_t done = options.dryRun ? listener.wouldChange() : listener.changed();
        Out(std::to_wstring(done) + (options.dryRun ? L" would change, " : L" changed, ") +
            std::to_wstring(engine.getWithoutDateCount()) + L" without a date, " + std::to_wstring(failed) +
            (options.dryRun ? L" would fail; nothing was written.\n"
                            : L" failed" + (journal.count() != 0 ? L". Journal: " + journal.path() : L"") + L"\n"));
    }
    if (options.dryRun)
    {
        // Items that are known to fail (listed above) fail the preview as they would the run.
        if (!options.quiet && !fromItem)
            Out(std::to_wstring(listener.wouldChange()) +
                (listener.wouldChange() == 1 ? L" item would change" : L" items would change") +
                (failed != 0 ? L", " + std::to_wstring(failed) + L" would fail" : L"") +
                L"; nothing was written.\n");
        return failed != 0 ? EXIT_SOME_FAILED : EXIT_DONE;
    }
    if (cancelled && !listener.journalFailed())
        ErrorLine(L"interrupted; kairon-cli undo puts back what was changed");
    if (!options.quiet && !fromItem)
    {
        std::wstring summary = L"Changed " + std::to_wstring(listener.changed()) +
                               (listener.changed() == 1 ? L" item" : L" items");
        if (failed != 0)
            summary += L", " + std::to_wstring(failed) + L" failed";
        summary += journal.count() != 0 ? L". Journal: " + journal.path() + L"\n" : L".\n";
        Out(summary);
    }
    return failed != 0 || cancelled ? EXIT_SOME_FAILED : EXIT_DONE;
}

} // namespace kairon::cli
