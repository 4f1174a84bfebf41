#include "s/file/gui/dialogs/filetime/ChangeEngine.h"

#include <windows.h>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayU32.h"
#include "s/file/meta/DateTaken.h"
#include "s/file/meta/NameDate.h"
#include "s/file/win/PathWin.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::file::gui::dialogs::filetime
{

namespace dnd = s::gui::dialogs::dragndrop;
using s::file::win::PathWin;
using s::thread::ObjLocker;

namespace
{

constexpr int32_t PROGRESS_TOTAL = 1000;

// The request flag that decides about an item with these attributes: the first of system,
// hidden, read-only that it has, else normal.
bool Wanted(uint32_t attributes, const ChangeRequest& r)
{
    if (attributes & FILE_ATTRIBUTE_SYSTEM)
    {
        return r.system;
    }
    if (attributes & FILE_ATTRIBUTE_HIDDEN)
    {
        return r.hidden;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
    {
        return r.readOnly;
    }
    return r.normal;
}

// The new value of one time: negative leaves it unchanged.
ChangeEngine::EpochSeconds NewTime(ChangeEngine::EpochSeconds marker, ChangeEngine::EpochSeconds own,
                                   ChangeEngine::EpochSeconds synced, const ChangeRequest& r)
{
    if (marker < 0)
    {
        return -1;
    }
    if (r.mode == ModeOffset)
    {
        const ChangeEngine::EpochSeconds t = own + r.offset;
        return t < 0 ? -1 : t; // before 1970: not written
    }
    if (r.mode == ModeSync)
    {
        return synced;
    }
    return marker;
}

// Newest inside compares the modified time, unless only created or accessed is written.
ChangeEngine::EpochSeconds ComparedTime(PathWin* item, const ChangeRequest& r)
{
    if (r.modified < 0 && r.created >= 0)
    {
        return item->GetCreationTime();
    }
    if (r.modified < 0 && r.accessed >= 0)
    {
        return item->GetAccessTime();
    }
    return item->GetModifiedTime();
}

int32_t Thousandths(float to)
{
    const float scaled = to * 1000.0f;
    if (!(scaled > 0.0f))
    {
        return 0;
    }
    const int32_t p = scaled >= 1000.0f ? PROGRESS_TOTAL : static_cast<int32_t>(scaled);
    return p < PROGRESS_TOTAL ? p : PROGRESS_TOTAL;
}

} // namespace

ChangeEngine::ChangeEngine(dnd::ProcessingFrame& frame)
    : frame_(frame), editPath_(s::str::strbuffer::StrBuffer::Acquire()),
      failedPaths_(s::str::strarray::StrArray::Acquire()), failedErrors_(s::col::_array::ArrayU32::Acquire())
{
    frame_.setTask(this);
}

ChangeEngine::~ChangeEngine()
{
    if (frame_.getTask() == this)
    {
        frame_.setTask(nullptr);
    }
    editPath_->Release();
    failedPaths_->Release();
    failedErrors_->Release();
}

void ChangeEngine::setEditPath(const wchar_t* path)
{
    editPath_->Clear();
    if (path != nullptr)
    {
        editPath_->Append(path);
    }
}

const wchar_t* ChangeEngine::getEditPath() const
{
    return editPath_->CStr();
}

void ChangeEngine::reset()
{
    request_.reset();
    action_ = ACTION_VIEW_COPY;
    applyPending_ = false;
    refreshPending_ = false;
    editPath_->Clear();
    listener_ = nullptr;
    planOnly_ = false;
    lastRunWrote_ = false;
    failureCount_ = 0;
    failedPaths_->RemoveAll();
    failedErrors_->Clear();
    changedCount_ = 0;
    withoutDateCount_ = 0;
}

bool ChangeEngine::isCancelled() const
{
    return frame_.isCancelRequested();
}

void ChangeEngine::Run()
{
    run();
}

void ChangeEngine::showDroppedItem()
{
    if (view_ != nullptr)
    {
        view_->showDroppedItem();
    }
}

void ChangeEngine::run()
{
    failureCount_ = 0;
    failedPaths_->RemoveAll();
    failedErrors_->Clear();
    changedCount_ = 0;
    withoutDateCount_ = 0;
    newestBelow_ = -1;
    frame_.sendStatus(dnd::ProcessStatusStart, 0, 0, nullptr);
    lastRunWrote_ = !(action_ == ACTION_VIEW_COPY || (action_ == ACTION_VIEW_EDIT && !applyPending_));
    if (!lastRunWrote_)
    {
        showDroppedItem();
    }
    else if (action_ == ACTION_VIEW_EDIT)
    {
        PathWin* item = PathWin::FromText(editPath_->CStr());
        if (item != nullptr)
        {
            applyToItem(item, 0.0f, 1.0f, request_);
            item->Release();
        }
        applyPending_ = false;
    }
    else
    {
        runChangeMultiple();
    }
    frame_.sendStatus(dnd::ProcessStatusEnd, 0, 0, nullptr);
}

ChangeRequest ChangeEngine::requestForDropped(PathWin* item) const
{
    // The one read of a dropped item: attributes, size and times.
    item->Query();
    ChangeRequest request = request_;
    if (item->IsFile())
    {
        // A file dropped directly is always meant: the four boxes are for folders.
        request.normal = request.readOnly = request.hidden = request.system = true;
    }
    return request;
}

void ChangeEngine::runNewestOldestSearch()
{
    const bool newest = request_.syncTarget == SyncNewest;
    const ObjLocker& lock = frame_.getItemLock();
    // The lock is released while each dropped path is searched, as in the change loop, so
    // that the user-interface thread is never held up by the search (the list does not
    // change while the frame is busy).
    lock.Enter();
    for (uint32_t i = 0; !isCancelled() && i < frame_.getPathCount(); ++i)
    {
        PathWin* item = PathWin::FromText(frame_.getPath(i));
        lock.Leave();
        if (item != nullptr)
        {
            const ChangeRequest job = requestForDropped(item);
            scanItem(item, newest, request_.created, request_.modified, request_.accessed, &job);
            item->Release();
        }
        lock.Enter();
    }
    lock.Leave();
}

void ChangeEngine::runChangeMultiple()
{
    if (request_.mode == ModeSpecific &&
        (request_.syncTarget == SyncNewest || request_.syncTarget == SyncOldest))
    {
        runNewestOldestSearch();
    }
    const ObjLocker& lock = frame_.getItemLock();
    lock.Enter();
    const uint32_t n = frame_.getPathCount();
    const float step = n > 0 ? 1.0f / static_cast<float>(n) : 0.0f;
    for (uint32_t i = 0; !isCancelled() && i < frame_.getPathCount(); ++i)
    {
        PathWin* item = PathWin::FromText(frame_.getPath(i));
        lock.Leave();
        if (item != nullptr)
        {
            const ChangeRequest request = requestForDropped(item);
            // The last item ends the job exactly; step * n may fall short of 1 in floats.
            const float to = i + 1 == n ? 1.0f : step * static_cast<float>(i + 1);
            applyToItem(item, step * static_cast<float>(i), to, request);
            item->Release();
        }
        lock.Enter();
    }
    lock.Leave();
}

void ChangeEngine::scanNewestOldest(PathWin* item, bool newest, EpochSeconds& created, EpochSeconds& modified,
                                    EpochSeconds& accessed)
{
    scanItem(item, newest, created, modified, accessed, nullptr);
}

void ChangeEngine::scanItem(PathWin* item, bool newest, EpochSeconds& created, EpochSeconds& modified,
                            EpochSeconds& accessed, const ChangeRequest* job)
{
    if (item == nullptr || isCancelled() || !item->IsValid() || (!item->HasCachedFacts() && !item->Query()))
    {
        return;
    }
    // The job writes this item later (its filter lets it through) without touching its access
    // time; everything below it is written only with includeContents.
    const bool jobKeepsAccess = job != nullptr && job->accessed < 0 && Wanted(item->GetAttributes(), *job);
    const ChangeRequest* jobBelow = jobKeepsAccess && job->includeContents ? job : nullptr;
    // Own times first: listing a folder may stamp its access time. An item whose times
    // cannot be read (a drive root has none of its own; they read as 0) takes no part, or
    // an oldest search would end on 1970 for every item.
    const bool hasTimes = item->HasTimes();
    struct Kind
    {
        EpochSeconds& running;
        EpochSeconds own;
    } kinds[] = {{created, created >= 0 && hasTimes ? item->GetCreationTime() : 0},
                 {modified, modified >= 0 && hasTimes ? item->GetModifiedTime() : 0},
                 {accessed, accessed >= 0 && hasTimes ? item->GetAccessTime() : 0}};
    if (item->IsDirectory())
    {
        const s::time::Ticks accessBefore = hasTimes ? item->GetAccessTicks() : 0;
        s::col::_array::ArrayP* entries = item->ListEntries(true, false);
        if (entries != nullptr)
        {
            for (uint32_t j = 0; !isCancelled() && j < entries->Count(); ++j)
            {
                scanItem(static_cast<PathWin*>(entries->Get(j)), newest, created, modified, accessed, jobBelow);
            }
            entries->Release();
        }
        // A folder that the job writes afterwards, leaving its access time alone, gets back
        // the access time this listing stamped: the write would read and keep the stamp.
        if (jobKeepsAccess && accessBefore != 0 && !planOnly_)
        {
            PathWin::WriteTimeTicks(item->AttributePath(), nullptr, &accessBefore, nullptr);
        }
        if (planOnly_ && listener_ != nullptr)
        {
            listener_->listedInPlan(item->GetFullPath(), static_cast<int64_t>(accessBefore));
        }
    }
    for (Kind& k : kinds)
    {
        // A time before 1970 reads as negative, which in the request means "leave this time
        // alone": taken as the oldest, it would silently switch that field off for every item.
        if (k.running < 0 || !hasTimes || k.own < 0)
        {
            continue;
        }
        if (newest ? k.own > k.running : k.own < k.running)
        {
            k.running = k.own;
        }
    }
}

void ChangeEngine::applyToItem(PathWin* item, float from, float to, const ChangeRequest& request)
{
    if (item == nullptr || isCancelled())
    {
        return;
    }
    if (!item->IsValid())
    {
        // A text that does not split into a path (a folder part over the length a path may
        // have, met deep inside a walked tree) names an item that cannot be reached: it
        // keeps its times, and the user is told so, unless its filter leaves it out anyway.
        const uint32_t known = item->GetAttributes();
        if (item->GetLength() > 0 && (known == INVALID_FILE_ATTRIBUTES || Wanted(known, request)))
        {
            noteFailure(item->GetFullPath(), ERROR_FILENAME_EXCED_RANGE);
        }
        return;
    }
    // A walked entry carries its attributes and times from its folder's listing; a dropped
    // item is read once here. One that cannot be found or reached (gone since the drop, a
    // name the system refuses) is not what the user asked for: it is counted with the
    // system's reason.
    uint32_t queryError = ERROR_SUCCESS;
    if (!item->HasCachedFacts() && !item->Query(&queryError))
    {
        noteFailure(item->GetFullPath(), queryError);
        return;
    }
    const uint32_t attributes = item->GetAttributes();
    if (attributes == INVALID_FILE_ATTRIBUTES || !Wanted(attributes, request))
    {
        return;
    }

    // The item's own times as they were before the walk below: listing a folder may stamp
    // its access time, and the new times derive from what the user saw. An item whose
    // times cannot be read (a drive root has none; they answer 0) is never the base of a
    // new time.
    const bool hasTimes = item->HasTimes();
    ItemTimes before;
    if (hasTimes)
    {
        before.created = static_cast<int64_t>(item->GetCreationTicks());
        before.modified = static_cast<int64_t>(item->GetModifiedTicks());
        before.accessed = static_cast<int64_t>(item->GetAccessTicks());
    }
    EpochSeconds created = request.created;
    EpochSeconds modified = request.modified;
    EpochSeconds accessed = request.accessed;
    uint32_t refusal = ERROR_SUCCESS; // why the item keeps its times although it passed the filter
    if (request.mode == ModeOffset || request.mode == ModeSync)
    {
        const EpochSeconds ownCreated = item->GetCreationTime();
        const EpochSeconds ownModified = item->GetModifiedTime();
        const EpochSeconds ownAccessed = item->GetAccessTime();
        // Sync is only ever to one of the item's own times; any other target has nothing to
        // copy and leaves the times alone rather than writing 1970.
        EpochSeconds synced = -1;
        if (request.syncTarget == SyncCreated)
        {
            synced = ownCreated;
        }
        else if (request.syncTarget == SyncModified)
        {
            synced = ownModified;
        }
        else if (request.syncTarget == SyncAccessed)
        {
            synced = ownAccessed;
        }
        created = NewTime(request.created, ownCreated, synced, request);
        modified = NewTime(request.modified, ownModified, synced, request);
        accessed = NewTime(request.accessed, ownAccessed, synced, request);
        if (!hasTimes && (created >= 0 || modified >= 0 || accessed >= 0))
        {
            // Deriving from times that could not be read would write 1970 plus the offset.
            // The item keeps its times and counts as not changed.
            created = modified = accessed = -1;
            refusal = item->IsDriveOnly() ? ERROR_NOT_SUPPORTED : ERROR_CANT_ACCESS_FILE;
        }
    }

    // Listing a folder stamps its access time: one whose access time is not to change gets
    // back, exactly, the time it had before the walk.
    const bool walksIn = request.includeContents && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool keepAccess = walksIn && accessed < 0 && hasTimes && before.accessed != 0;
    // Newest inside: the walk below gathers the newest time of this folder's contents.
    const bool newestInside = request.mode == ModeFromItem && request.fromSource == FromNewestInside;
    const EpochSeconds outerNewest = newestBelow_;
    newestBelow_ = -1;

    if (walksIn)
    {
        s::col::_array::ArrayP* entries = item->ListEntries(true, false);
        if (entries != nullptr)
        {
            const uint32_t k = entries->Count();
            const float part = k > 0 ? (to - from) / static_cast<float>(k) : 0.0f;
            for (uint32_t j = 0; j < k && !isCancelled(); ++j)
            {
                // The last entry ends where its folder's share ends.
                const float entryTo = j + 1 == k ? to : from + part * static_cast<float>(j + 1);
                applyToItem(static_cast<PathWin*>(entries->Get(j)), from + part * static_cast<float>(j),
                            entryTo, request);
            }
            // The listing is held only while its folder is handled.
            entries->Release();
        }
        if (planOnly_ && listener_ != nullptr)
        {
            listener_->listedInPlan(item->GetFullPath(), hasTimes ? before.accessed : 0);
        }
    }
    const EpochSeconds newestWalked = newestBelow_;
    newestBelow_ = outerNewest;
    if (request.mode == ModeFromItem)
    {
        if (newestInside && walksIn && isCancelled())
        {
            return; // what the walk saw is not the folder's whole content
        }
        IChangeListener::NoDate why = IChangeListener::NoDate::NoPhotoDate;
        const EpochSeconds found = timeFromItem(item, request, walksIn ? &newestWalked : nullptr, why);
        if (newestInside)
        {
            // What this item adds to its folder's newest: a file its own time, a folder
            // the newest of what it holds.
            const EpochSeconds mine = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? found : ComparedTime(item, request);
            newestBelow_ = mine > newestBelow_ ? mine : newestBelow_;
        }
        if (found < 0)
        {
            if (keepAccess && !planOnly_)
            {
                const s::time::Ticks accessBefore = static_cast<s::time::Ticks>(before.accessed);
                PathWin::WriteTimeTicks(item->AttributePath(), nullptr, &accessBefore, nullptr);
            }
            if (why != IChangeListener::NoDate::NotAFolder)
            {
                ++withoutDateCount_;
            }
            if (listener_ != nullptr)
            {
                listener_->withoutDate(item->GetFullPath(), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, why);
            }
            frame_.sendStatus(dnd::ProcessStatusUpdate, PROGRESS_TOTAL, Thousandths(to), item->GetTitle());
            return;
        }
        created = request.created >= 0 ? found : -1;
        modified = request.modified >= 0 ? found : -1;
        accessed = request.accessed >= 0 ? found : -1;
    }

    // What will be written: a time left unchanged carries its old value.
    ItemTimes planned = before;
    const s::time::Ticks newCreated = created >= 0 ? s::time::ticksFromSeconds(created) : 0;
    const s::time::Ticks newModified = modified >= 0 ? s::time::ticksFromSeconds(modified) : 0;
    const s::time::Ticks newAccessed =
        accessed >= 0 ? s::time::ticksFromSeconds(accessed) : static_cast<s::time::Ticks>(before.accessed);
    if (created >= 0)
    {
        planned.created = static_cast<int64_t>(newCreated);
    }
    if (modified >= 0)
    {
        planned.modified = static_cast<int64_t>(newModified);
    }
    if (accessed >= 0)
    {
        planned.accessed = static_cast<int64_t>(newAccessed);
    }

    const bool offered = listener_ == nullptr ||
                         listener_->beforeWrite(item->GetFullPath(), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                                before, planned);
    if (offered && planOnly_)
    {
        if (refusal != ERROR_SUCCESS)
        {
            noteFailure(item->GetFullPath(), refusal);
        }
        else
        {
            ++changedCount_;
        }
    }
    else if (offered)
    {
        // The writer leaves the attributes alone unless the item refuses its minimal open;
        // then it clears them for the write and puts them back exactly.
        uint32_t error = ERROR_SUCCESS;
        PathWin::WriteTimeTicks(item->AttributePath(), created >= 0 ? &newCreated : nullptr,
                                accessed >= 0 || keepAccess ? &newAccessed : nullptr,
                                modified >= 0 ? &newModified : nullptr, &error);
        if (error == ERROR_SUCCESS)
        {
            error = refusal;
        }
        if (error != ERROR_SUCCESS)
        {
            noteFailure(item->GetFullPath(), error);
        }
        else
        {
            ++changedCount_;
        }
        if (listener_ != nullptr)
        {
            listener_->afterWrite(item->GetFullPath(), error == ERROR_SUCCESS, error);
        }
    }

    frame_.sendStatus(dnd::ProcessStatusUpdate, PROGRESS_TOTAL, Thousandths(to), item->GetTitle());
}

void ChangeEngine::noteFailure(const wchar_t* fullPath, uint32_t systemError)
{
    ++failureCount_;
    if (failedPaths_->Count() < MAX_KEPT_FAILURES)
    {
        failedPaths_->Add(fullPath != nullptr ? fullPath : L"");
        failedErrors_->Add(systemError);
    }
}

ChangeEngine::EpochSeconds ChangeEngine::timeFromItem(PathWin* item, const ChangeRequest& request,
                                                      const EpochSeconds* newestWalked, IChangeListener::NoDate& why)
{
    using NoDate = IChangeListener::NoDate;
    const bool folder = item->IsDirectory();
    s::file::meta::ItemDate date;
    if (request.fromSource == FromNewestInside)
    {
        if (!folder)
        {
            why = NoDate::NotAFolder;
            return -1;
        }
        const EpochSeconds newest = newestWalked != nullptr ? *newestWalked : newestInside(item, request);
        why = NoDate::EmptyFolder;
        return newest;
    }
    if (request.fromSource == FromName)
    {
        why = NoDate::NoNameDate;
        date = s::file::meta::dateFromName(item->GetFullPath());
    }
    else
    {
        why = NoDate::NoPhotoDate;
        if (!folder)
        {
            date = s::file::meta::readDateTaken(item->GetApiPath());
        }
    }
    const EpochSeconds utc = date.toUtc(request.wallClockZone, request.wallClockDaylight);
    if (date.isFound() && utc < 0)
    {
        why = NoDate::Before1970;
    }
    return utc;
}

ChangeEngine::EpochSeconds ChangeEngine::newestInside(PathWin* folder, const ChangeRequest& request)
{
    EpochSeconds newest = -1;
    // Listing stamps the folder's access time; the search only looks, so the stamp is put
    // back (the folder's own write, if any, comes afterwards and sets what the user asked).
    const s::time::Ticks accessBefore = folder->HasTimes() ? folder->GetAccessTicks() : 0;
    s::col::_array::ArrayP* entries = folder->ListEntries(true, false);
    if (accessBefore != 0)
    {
        PathWin::WriteTimeTicks(folder->AttributePath(), nullptr, &accessBefore, nullptr);
    }
    if (entries == nullptr)
    {
        return newest;
    }
    for (uint32_t j = 0; j < entries->Count() && !isCancelled(); ++j)
    {
        PathWin* entry = static_cast<PathWin*>(entries->Get(j));
        const uint32_t attributes = entry->GetAttributes();
        // The filters say which items count, at every level, as in the walk.
        if (!entry->IsValid() || attributes == INVALID_FILE_ATTRIBUTES || !Wanted(attributes, request))
        {
            continue;
        }
        const EpochSeconds t = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? newestInside(entry, request)
                                                                            : ComparedTime(entry, request);
        newest = t > newest ? t : newest;
    }
    entries->Release();
    return newest;
}

} // namespace s::file::gui::dialogs::filetime
