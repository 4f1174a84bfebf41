// PathWin: attributes, sizes, times and the time writer.
#include "s/file/win/PathWin.h"

#include <cwchar>

#include "s/file/win/PathText.h"
#include "s/file/win/StreamRecords.h"
#include "s/file/win/WalkFilter.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/col/_array/ArrayP.h"
#include "s/time/EpochSeconds.h"
#include "s/time/PlatformCalendar.h"

namespace s::file::win {

namespace {

PathWin::TimeWriteObserver g_timeWriteObserver = nullptr;

const PathWin::TimeWriterCalls kSystemCalls = {&::CreateFileW, &::GetFileAttributesW,
                                               &::SetFileAttributesW};
const PathWin::TimeWriterCalls* g_writerCalls = &kSystemCalls;

// Beyond the last file time the system can show (year 30827) the tick count would wrap
// round and a wrong time be written as if all were well.
constexpr PathWin::Seconds kLastWritableSecond = PathWin::Seconds(
    (uint64_t(INT64_MAX) - s::time::EPOCH_TICKS) / uint64_t(s::time::TICKS_PER_SECOND));

bool IsZero(const FILETIME& t) { return t.dwLowDateTime == 0 && t.dwHighDateTime == 0; }

// SetTimes' filter: the first of system, hidden, read-only present decides which flag
// applies; an item with none of them is "normal".
bool Wanted(uint32_t word, bool normal, bool readOnly, bool hidden, bool system)
{
    return (word & FILE_ATTRIBUTE_SYSTEM)     ? system
           : (word & FILE_ATTRIBUTE_HIDDEN)   ? hidden
           : (word & FILE_ATTRIBUTE_READONLY) ? readOnly
                                              : normal;
}

} // namespace

// --- attributes ---------------------------------------------------------------------

const wchar_t* PathWin::AttributePath()
{
    // "C:" alone would name the drive's current folder; the root is meant.
    return IsDriveOnly() ? GetRootPath() : GetApiPath();
}

uint32_t PathWin::GetAttributes()
{
    if (attributesValid_)
        return attributes_;
    if (isStream_) {
        // Read through the path itself, with the times (see FillStat); a stream that cannot
        // be opened answers as a failed query does, and is not cached.
        if (!FillStat())
            return INVALID_FILE_ATTRIBUTES;
    } else {
        const DWORD word = valid_ ? ::GetFileAttributesW(AttributePath()) : INVALID_FILE_ATTRIBUTES;
        // A failed query is answered but not kept: were it cached, a later SetTimes or
        // SetAttributes on the item (made meanwhile) would put back 0xFFFFFFFF, which
        // sets read-only, hidden, system and every other settable bit.
        if (word == INVALID_FILE_ATTRIBUTES)
            return INVALID_FILE_ATTRIBUTES;
        attributes_ = word;
    }
    attributesValid_ = true;
    return attributes_;
}

bool PathWin::AddAttributes(uint32_t bits)
{
    const uint32_t word = GetAttributes();
    if (word == INVALID_FILE_ATTRIBUTES)
        return false;
    if ((word & bits) == bits)
        return true;
    if (!::SetFileAttributesW(AttributePath(), word | bits))
        return false;
    attributes_ = word | bits;
    attributesValid_ = true;
    return true;
}

bool PathWin::SetAttributes(uint32_t word)
{
    // 0xFFFFFFFF is the failed query's answer, never a word to write.
    if (word == INVALID_FILE_ATTRIBUTES)
        return false;
    if (attributesValid_ && attributes_ == word)
        return true;
    if (!valid_ || !::SetFileAttributesW(AttributePath(), word))
        return false;
    attributes_ = word;
    return true;
}

bool PathWin::Exists()
{
    return valid_ && fullPath_->Length() > 0 &&
           ::GetFileAttributesW(AttributePath()) != INVALID_FILE_ATTRIBUTES;
}

bool PathWin::IsReadable() { return Exists(); }

bool PathWin::IsWritable()
{
    if (!valid_ || fullPath_->Length() == 0)
        return false;
    const DWORD a = ::GetFileAttributesW(AttributePath());
    if (a == INVALID_FILE_ATTRIBUTES)
        return false;
    return (a & FILE_ATTRIBUTE_DIRECTORY) || !(a & FILE_ATTRIBUTE_READONLY);
}

bool PathWin::IsReadWritable() { return IsWritable(); }

bool PathWin::IsDirectory() { return valid_ && (GetAttributes() & FILE_ATTRIBUTE_DIRECTORY) != 0; }
bool PathWin::IsFile() { return valid_ && (GetAttributes() & FILE_ATTRIBUTE_DIRECTORY) == 0; }
bool PathWin::IsHidden() { return valid_ && (GetAttributes() & FILE_ATTRIBUTE_HIDDEN) != 0; }
bool PathWin::IsSystem() { return valid_ && (GetAttributes() & FILE_ATTRIBUTE_SYSTEM) != 0; }
bool PathWin::IsArchive() { return valid_ && (GetAttributes() & FILE_ATTRIBUTE_ARCHIVE) != 0; }

// Exists() first: a missing item's word 0xFFFFFFFF reads as a folder, and a missing
// folder is not an empty one.
bool PathWin::IsEmptyDirectory() { return Exists() && IsDirectory() && !HasEntries(true); }

bool PathWin::IsExe() { return IsFile() && extension_->EndsWithIgnoreCase(L".exe"); }
bool PathWin::IsShortcut() { return IsFile() && extension_->EndsWithIgnoreCase(L".lnk"); }
bool PathWin::IsUrlFile() { return IsFile() && extension_->EndsWithIgnoreCase(L".url"); }

bool PathWin::MakeWritable() { return SetWritable(true); }

bool PathWin::SetWritable(bool writable)
{
    // The runtime's permission change, done on the long form so that long paths
    // work too: only the read-only bit moves.
    if (!valid_ || fullPath_->Length() == 0)
        return false;
    const DWORD word = ::GetFileAttributesW(AttributePath());
    if (word == INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD wanted = writable ? (word & ~DWORD(FILE_ATTRIBUTE_READONLY)) : (word | FILE_ATTRIBUTE_READONLY);
    if (wanted == word)
        return true;
    if (!::SetFileAttributesW(AttributePath(), wanted))
        return false;
    // The cached word no longer tells the truth: it is read again when next asked, so
    // that SetAttributes() cannot take a stale word for "nothing to do" and skip a restore.
    attributesValid_ = false;
    return true;
}

bool PathWin::ReapplyReadOnly() { return SetWritable(IsWritable()); }

bool PathWin::SetHidden() { return AddAttributes(FILE_ATTRIBUTE_HIDDEN); }

// --- file-system type -------------------------------------------------------------------

int32_t PathWin::GetFileSystemType()
{
    if (fileSystemType_ >= 0)
        return fileSystemType_;
    fileSystemType_ = FS_OTHER;
    if (!valid_)
        return fileSystemType_;
    wchar_t name[19] = {};
    if (!::GetVolumeInformationW(GetRootPath(), nullptr, 0, nullptr, nullptr, nullptr, name, 19))
        return fileSystemType_;
    static const struct { const wchar_t* name; int32_t type; } kinds[] = {
        {L"FAT", FS_FAT}, {L"FAT32", FS_FAT32}, {L"VFAT", FS_VFAT},
        {L"NTFS", FS_NTFS}, {L"HPFS", FS_HPFS}};
    for (const auto& k : kinds)
        if (_wcsicmp(name, k.name) == 0)
            fileSystemType_ = k.type;
    return fileSystemType_;
}

bool PathWin::IsNtfs() { return GetFileSystemType() == FS_NTFS; }

bool PathWin::IsFat()
{
    const int32_t t = GetFileSystemType();
    return t == FS_FAT || t == FS_FAT32 || t == FS_VFAT;
}

// --- the stat record ------------------------------------------------------------------------

void PathWin::TakeFindData(const WIN32_FIND_DATAW& data)
{
    attributes_ = data.dwFileAttributes;
    attributesValid_ = true;
    StoreStat(data.nFileSizeHigh, data.nFileSizeLow, data.ftCreationTime, data.ftLastAccessTime,
              data.ftLastWriteTime);
}

void PathWin::StoreStat(uint32_t sizeHigh, uint32_t sizeLow, const FILETIME& created,
                        const FILETIME& accessed, const FILETIME& modified)
{
    // The item's own UTC file times, converted exactly: no detour through local time.
    stat_.size = int64_t((uint64_t(sizeHigh) << 32) | sizeLow);
    stat_.modifiedTicks = s::time::ticksOf(modified);
    stat_.createdTicks = IsZero(created) ? stat_.modifiedTicks : s::time::ticksOf(created);
    stat_.accessedTicks = IsZero(accessed) ? stat_.modifiedTicks : s::time::ticksOf(accessed);
    stat_.modified = s::time::secondsFromTicks(stat_.modifiedTicks);
    stat_.created = s::time::secondsFromTicks(stat_.createdTicks);
    stat_.accessed = s::time::secondsFromTicks(stat_.accessedTicks);
    statValid_ = true;
}

void PathWin::StoreRead(DWORD attributes, uint32_t sizeHigh, uint32_t sizeLow, const FILETIME& created,
                        const FILETIME& accessed, const FILETIME& modified)
{
    if (!attributesValid_) {
        attributes_ = attributes;
        attributesValid_ = true;
    }
    // A folder has no size of its own.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        sizeHigh = sizeLow = 0;
    StoreStat(sizeHigh, sizeLow, created, accessed, modified);
}

bool PathWin::Query(uint32_t* systemError)
{
    attributesValid_ = false;
    stat_ = StatRecord();
    statValid_ = false;
    bool found = false;
    if (!valid_ || fullPath_->Length() == 0)
        ::SetLastError(ERROR_INVALID_NAME);
    else if (IsDriveOnly())
        found = GetAttributes() != INVALID_FILE_ATTRIBUTES;
    else
        found = FillStat();
    if (systemError != nullptr) {
        *systemError = found ? 0 : ::GetLastError();
        if (!found && *systemError == 0)
            *systemError = ERROR_FILE_NOT_FOUND;
    }
    return found;
}

bool PathWin::HasTimes(bool refresh)
{
    if (refresh || !statValid_)
        FillStat();
    return statValid_;
}

bool PathWin::FillStat()
{
    // A drive root ("C:") has no record; a missing item has size 0. On failure the
    // system's error code is left for GetLastError().
    stat_ = StatRecord();
    statValid_ = false;
    if (!valid_ || IsDriveOnly() || fullPath_->Length() == 0) {
        ::SetLastError(IsDriveOnly() ? ERROR_NOT_SUPPORTED : ERROR_INVALID_NAME);
        return false;
    }
    if (isStream_) {
        // A name with a colon in its last part: on Windows a named stream, whose times are
        // those of the file it belongs to; under a system that allows the colon in names (Wine
        // on a Unix file system) an ordinary file. Both are read through the path itself,
        // as they are written, so that what is read is what a write reaches.
        HANDLE h = ::CreateFileW(GetApiPath(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        BY_HANDLE_FILE_INFORMATION info;
        const bool read = GetFileInformationByHandle(h, &info) != FALSE;
        const DWORD error = ::GetLastError();
        CloseHandle(h);
        if (!read) {
            ::SetLastError(error);
            return false;
        }
        StoreRead(info.dwFileAttributes, info.nFileSizeHigh, info.nFileSizeLow, info.ftCreationTime,
                  info.ftLastAccessTime, info.ftLastWriteTime);
        return true;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(GetApiPath(), GetFileExInfoStandard, &data))
        return false;
    StoreRead(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftCreationTime,
              data.ftLastAccessTime, data.ftLastWriteTime);
    return true;
}

PathWin::Seconds PathWin::GetCreationTime(bool refresh)
{
    if (refresh || !statValid_)
        FillStat();
    return stat_.created;
}

PathWin::Seconds PathWin::GetAccessTime(bool refresh)
{
    if (refresh || !statValid_)
        FillStat();
    return stat_.accessed;
}

PathWin::Seconds PathWin::GetModifiedTime(bool refresh)
{
    if (refresh || !statValid_)
        FillStat();
    return stat_.modified;
}

s::time::Ticks PathWin::GetCreationTicks(bool refresh)
{
    if (refresh || !statValid_)
        FillStat();
    return stat_.createdTicks;
}

s::time::Ticks PathWin::GetAccessTicks(bool refresh)
{
    if (refresh || !statValid_)
        FillStat();
    return stat_.accessedTicks;
}

s::time::Ticks PathWin::GetModifiedTicks(bool refresh)
{
    if (refresh || !statValid_)
        FillStat();
    return stat_.modifiedTicks;
}

// --- writing times --------------------------------------------------------------------------

void PathWin::SetTimeWriteObserver(TimeWriteObserver observer)
{
    g_timeWriteObserver = observer;
}

bool PathWin::WriteTimes(const wchar_t* apiPath, Seconds creation, Seconds modified,
                         Seconds accessed)
{
    if (creation > kLastWritableSecond || modified > kLastWritableSecond ||
        accessed > kLastWritableSecond)
        return false;
    // A negative time is left as it is: no pointer for it.
    const s::time::Ticks c = creation >= 0 ? s::time::ticksFromSeconds(creation) : 0;
    const s::time::Ticks a = accessed >= 0 ? s::time::ticksFromSeconds(accessed) : 0;
    const s::time::Ticks m = modified >= 0 ? s::time::ticksFromSeconds(modified) : 0;
    return WriteTimeTicks(apiPath, creation >= 0 ? &c : nullptr, accessed >= 0 ? &a : nullptr,
                          modified >= 0 ? &m : nullptr);
}

void PathWin::SetTimeWriterCalls(const TimeWriterCalls* calls)
{
    g_writerCalls = calls ? calls : &kSystemCalls;
}

bool PathWin::WriteTimeTicks(const wchar_t* apiPath, const s::time::Ticks* creation,
                             const s::time::Ticks* accessed, const s::time::Ticks* modified,
                             uint32_t* systemError)
{
    uint32_t ignored = 0;
    uint32_t& error = systemError ? *systemError : ignored;
    error = ERROR_SUCCESS;
    if (!apiPath || !apiPath[0]) {
        error = ERROR_INVALID_NAME;
        return false;
    }
    // The system takes no file time from the top half of the range.
    for (const s::time::Ticks* t : {creation, accessed, modified}) {
        if (t && *t > s::time::Ticks(INT64_MAX)) {
            error = ERROR_INVALID_PARAMETER;
            return false;
        }
    }
    const TimeWriterCalls& calls = *g_writerCalls;
    // The least the write needs: the right to change attributes, which also covers the
    // times. No data access is asked, so no other program's handle can refuse it through
    // sharing, and read-only, hidden and system items open as they are. A link (junction,
    // symbolic link) is opened itself: its own times are the ones read, and following it
    // would give its target times derived from another item.
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE h = calls.createFile(apiPath, FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, flags, nullptr);
    // Refused (a file system that wants more for it): the older way, which clears the
    // attributes for an open for reading and writing and puts them back afterwards.
    DWORD word = INVALID_FILE_ATTRIBUTES;
    if (h == INVALID_HANDLE_VALUE) {
        word = calls.getFileAttributes(apiPath);
        if (word == INVALID_FILE_ATTRIBUTES) {
            error = ::GetLastError();
            return false;
        }
        if (word != FILE_ATTRIBUTE_NORMAL)
            calls.setFileAttributes(apiPath, FILE_ATTRIBUTE_NORMAL);
        h = calls.createFile(apiPath, GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags,
                             nullptr);
    }
    bool ok = false;
    if (h == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
    } else {
        FILETIME c = creation ? s::time::fileTimeOf(*creation) : FILETIME{};
        FILETIME a = accessed ? s::time::fileTimeOf(*accessed) : FILETIME{};
        FILETIME m = modified ? s::time::fileTimeOf(*modified) : FILETIME{};
        const FILETIME* pc = creation ? &c : nullptr;
        const FILETIME* pa = accessed ? &a : nullptr;
        const FILETIME* pm = modified ? &m : nullptr;
        if (g_timeWriteObserver)
            g_timeWriteObserver(apiPath, pc, pa, pm);
        ok = ::SetFileTime(h, pc, pa, pm) != FALSE;
        if (!ok)
            error = ::GetLastError();
        CloseHandle(h);
    }
    // The attributes are put back exactly, whether or not the write worked; a word that
    // cannot be put back (read-only or hidden lost) is a failure too.
    if (word != INVALID_FILE_ATTRIBUTES && word != FILE_ATTRIBUTE_NORMAL &&
        !calls.setFileAttributes(apiPath, word)) {
        if (ok)
            error = ::GetLastError();
        ok = false;
    }
    return ok;
}

bool PathWin::SetTimes(Seconds creation, Seconds modified, Seconds accessed, bool normal,
                       bool readOnly, bool hidden, bool system, bool recursive)
{
    if (!valid_ || !Exists())
        return false;
    const uint32_t word = GetAttributes();
    // Gone since Exists(), or a stream whose word could not be read: there is no
    // word to put back, and writing 0 back would strip the file's bits.
    if (word == INVALID_FILE_ATTRIBUTES || !attributesValid_)
        return false;
    if (!Wanted(word, normal, readOnly, hidden, system))
        return false;
    bool entriesWritten = true;
    // Listing a folder stamps its access time; one that is not to change gets back the
    // time it had before the walk.
    bool keepAccess = false;
    s::time::Ticks accessBefore = 0;
    if (recursive && (word & FILE_ATTRIBUTE_DIRECTORY)) {
        if (accessed < 0 && !IsDriveOnly()) {
            accessBefore = GetAccessTicks();
            keepAccess = statValid_;
        }
        // Contents first (hidden and system entries too; each is filtered itself),
        // so that writing them does not disturb the folder's own times afterwards.
        ArrayP* entries = ListEntries(true, false);
        if (entries) {
            for (uint32_t i = 0, n = entries->Count(); i < n; ++i) {
                PathWin* entry = static_cast<PathWin*>(entries->Get(i));
                // An entry refused by the filter is no failure; one that was wanted
                // but not written is.
                const bool entryWanted =
                    Wanted(entry->GetAttributes(), normal, readOnly, hidden, system);
                if (!entry->SetTimes(creation, modified, accessed, normal, readOnly, hidden,
                                     system, true) &&
                    entryWanted)
                    entriesWritten = false;
            }
            entries->Release();
        }
    }
    // AttributePath(): a drive is written at its root "X:\", not at "X:", which
    // names the drive's current folder. The writer changes no attribute unless the
    // item refuses its minimal open, and then puts them back.
    bool written;
    if (keepAccess) {
        const s::time::Ticks c = creation >= 0 ? s::time::ticksFromSeconds(creation) : 0;
        const s::time::Ticks m = modified >= 0 ? s::time::ticksFromSeconds(modified) : 0;
        written = creation <= kLastWritableSecond && modified <= kLastWritableSecond &&
                  WriteTimeTicks(AttributePath(), creation >= 0 ? &c : nullptr, &accessBefore,
                                 modified >= 0 ? &m : nullptr);
    } else {
        written = WriteTimes(AttributePath(), creation, modified, accessed);
    }
    // A write that failed is reported, and so is a wanted entry inside that was not
    // written.
    return written && entriesWritten;
}

// --- sizes ---------------------------------------------------------------------------------------

int64_t PathWin::SetStreamSize(int64_t size)
{
    streamSize_ = size;
    return size;
}

int64_t PathWin::GetSize(bool includeContents, bool recurse, int32_t* fileCounter,
                         int32_t* folderCounter, bool includeFiles)
{
    if (isStream_) {
        if (streamSize_ >= 0)
            return streamSize_;
        uint32_t colon = 0;
        if (!fullPath_->IndexOf(L':', &colon, 2))
            return 0;
        PathWin* file = Acquire();
        if (!file)
            return 0;
        txt::SetN(file->scratch_, fullPath_->Data(), colon);
        file->SetPath(file->scratch_->CStr());
        ArrayP* streams = file->ListStreams();
        int64_t size = 0;
        for (uint32_t i = 0, n = streams ? streams->Count() : 0; i < n; ++i) {
            PathWin* s = static_cast<PathWin*>(streams->Get(i));
            if (s->fullPath_->EqualsIgnoreCase(*fullPath_)) {
                size = s->streamSize_;
                streamSize_ = size;
                break;
            }
        }
        if (streams)
            streams->Release();
        file->Release();
        // Not among its file's streams (none are listed where the system keeps no streams,
        // and there the name is an ordinary file's): the size the path itself answers.
        if (streamSize_ < 0 && (statValid_ || FillStat()))
            size = stat_.size;
        return size;
    }
    if (!includeContents || !Exists() || !IsDirectory()) {
        if (!statValid_)
            FillStat();
        return stat_.size;
    }
    int64_t sum = 0;
    StrBuffer* pattern = StrBuffer::Acquire();
    txt::SetAllPattern(pattern, GetApiPath());
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(pattern->CStr(), &data);
    pattern->Release();
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const wchar_t* name = data.cFileName;
        if (IsDotsName(name))
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (recurse && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                PathWin* child = GetChild(name);
                if (child) {
                    sum += child->GetSize(true, true, fileCounter, folderCounter, true);
                    child->Release();
                }
                if (folderCounter)
                    ++*folderCounter;
            }
        } else if (includeFiles) {
            sum += int64_t((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
            if (fileCounter)
                ++*fileCounter;
        }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return sum;
}

int64_t PathWin::GetSizeOnDisk()
{
    if (sizeOnDisk_ >= 0)
        return sizeOnDisk_;
    const int64_t size = GetSize();
    if (size <= 0)
        return 0;
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!::GetDiskFreeSpaceW(GetRootPath(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                             &clusters))
        sectorsPerCluster = bytesPerSector = 0;
    int64_t cluster = int64_t(bytesPerSector) * sectorsPerCluster;
    if (cluster < int64_t(bytesPerSector))
        cluster = bytesPerSector;
    if (cluster < 512)
        cluster = 512;
    sizeOnDisk_ = (size + cluster - 1) / cluster * cluster;
    return sizeOnDisk_;
}

} // namespace s::file::win
