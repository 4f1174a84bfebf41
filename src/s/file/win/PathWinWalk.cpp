// PathWin: walking folders, listing streams, checking exclusive access.
#include "s/file/win/PathWin.h"

#include <winternl.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "s/col/_array/ArrayP.h"
#include "s/file/win/ExplorerSettings.h"
#include "s/file/win/PathArray.h"
#include "s/file/win/PathText.h"
#include "s/file/win/StreamRecords.h"
#include "s/file/win/WalkFilter.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/ObjLocker.h"

namespace s::file::win {

bool IsDotsName(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

bool PassesWalkFilter(const WIN32_FIND_DATAW& d, const WalkFilter& f)
{
    if (IsDotsName(d.cFileName))
        return false;
    // Junctions and symbolic links lead elsewhere (or round in circles): never listed.
    if (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return false;
    if (f.includeAll)
        return true;
    if (!f.showHidden && (d.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
        return false;
    if (!f.showSystem && (d.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM))
        return false;
    if (f.hideBootFiles &&
        (_wcsicmp(d.cFileName, L"AUTOEXEC.BAT") == 0 || _wcsicmp(d.cFileName, L"CONFIG.SYS") == 0))
        return false;
    return true;
}

namespace {

bool IsFolder(const WIN32_FIND_DATAW& d) { return (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

ArrayP* NewPathList() { return ArrayP::Acquire(&PathWin::Pool()); }

enum Collect : int
{
    kFiles = 1,
    kFolders = 2,
    kBoth = 3,
};

} // namespace

// Walks share one entry-path string per folder: truncated to the folder's length and
// the found name appended, instead of composing every path anew.
class PathWalker
{
public:
    static WalkFilter Filter(PathWin* folder, bool includeAll)
    {
        WalkFilter f;
        f.includeAll = includeAll;
        if (includeAll)
            return f;
        const ExplorerVisibility v = ExplorerSettings::Read();
        f.showHidden = v.showHidden;
        f.showSystem = v.showSystem;
        if (!f.showHidden || !f.showSystem)
            f.hideBootFiles = _wcsicmp(folder->GetRootPath(), ExplorerSettings::SystemRoot()) == 0;
        return f;
    }

    /// Calls visit(data, entryPath) for every entry of `pattern` that passes; entryPath
    /// holds folderText + "\" + name. visit answers false to stop. False when the
    /// search could not start.
    template <class Visit>
    static bool ForEach(const wchar_t* pattern, const wchar_t* folderText, uint32_t folderLength,
                        const WalkFilter& f, Visit&& visit)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW(pattern, &data);
        if (find == INVALID_HANDLE_VALUE)
            return false;
        StrBuffer* entry = StrBuffer::Acquire();
        txt::SetN(entry, folderText, folderLength);
        txt::AddChar(entry, L'\\');
        const uint32_t base = entry->Length();
        do {
            if (!PassesWalkFilter(data, f))
                continue;
            txt::Cut(entry, base);
            txt::Add(entry, data.cFileName);
            if (!visit(data, entry))
                break;
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
        entry->Release();
        return true;
    }

    static PathWin* Entry(const WIN32_FIND_DATAW& data, const StrBuffer* entryPath)
    {
        PathWin* p = PathWin::Acquire();
        if (!p)
            return nullptr;
        p->SetPath(entryPath);
        p->TakeFindData(data);
        return p;
    }

    /// An entry of `folder` (entryPath = its full path + "\" + the found name).
    static PathWin* Entry(const PathWin& folder, const WIN32_FIND_DATAW& data, const StrBuffer* entryPath)
    {
        PathWin* p = PathWin::Acquire();
        if (!p)
            return nullptr;
        p->SetEntryPath(folder, entryPath, data.cFileName, uint32_t(wcslen(data.cFileName)));
        p->TakeFindData(data);
        return p;
    }

    /// Lists the folder's entries of the kinds in `collect` into `list`, depth first.
    /// recurseAll: enter every folder found; else (files only) every folder that passes.
    static void List(PathWin* folder, const WalkFilter& f, int collect, bool recursive,
                     ArrayP* list)
    {
        StrBuffer* pattern = StrBuffer::Acquire();
        txt::SetAllPattern(pattern, folder->GetApiPath());
        const StrBuffer* full = folder->FullPathString();
        ForEach(pattern->CStr(), full->Data(), full->Length(), f,
                [&](const WIN32_FIND_DATAW& data, const StrBuffer* entryPath) {
                    const bool isFolder = IsFolder(data);
                    const bool wanted = (collect & (isFolder ? kFolders : kFiles)) != 0;
                    if (!wanted && !(isFolder && recursive))
                        return true;
                    PathWin* entry = Entry(*folder, data, entryPath);
                    if (!entry)
                        return true;
                    if (wanted)
                        list->Add(entry);
                    if (isFolder && recursive)
                        List(entry, f, collect, true, list);
                    if (!wanted)
                        entry->Release();
                    return true;
                });
        pattern->Release();
    }

    static void Names(PathWin* folder, const WalkFilter& f, int collect, bool fullPaths,
                      StrArray* names)
    {
        StrBuffer* pattern = StrBuffer::Acquire();
        txt::SetAllPattern(pattern, folder->GetApiPath());
        const StrBuffer* full = folder->FullPathString();
        ForEach(pattern->CStr(), full->Data(), full->Length(), f,
                [&](const WIN32_FIND_DATAW& data, const StrBuffer* entryPath) {
                    if (collect & (IsFolder(data) ? kFolders : kFiles))
                        names->Add(fullPaths ? entryPath->CStr() : data.cFileName);
                    return true;
                });
        pattern->Release();
    }

    static void Find(PathWin* pattern, const WalkFilter& f, int collect, bool recursive,
                     ArrayP* list)
    {
        StrBuffer* folder = pattern->GetFolderNoSlashInto(nullptr, false);
        ForEach(pattern->GetApiPath(), folder->Data(), folder->Length(), f,
                [&](const WIN32_FIND_DATAW& data, const StrBuffer* entryPath) {
                    if (collect & (IsFolder(data) ? kFolders : kFiles)) {
                        PathWin* entry = Entry(data, entryPath);
                        if (entry)
                            list->Add(entry);
                    }
                    return true;
                });
        if (recursive) {
            PathWin* parent = PathWin::FromText(folder->CStr());
            StrArray* subFolders = parent ? parent->ListFolderNames(true, f.includeAll) : nullptr;
            StrBuffer* name = pattern->GetNameInto(nullptr, false);
            for (uint32_t i = 0, n = subFolders ? subFolders->Count() : 0; i < n; ++i) {
                PathWin* sub = PathWin::FromFolderAndName(subFolders->Get(i)->CStr(), name->CStr());
                if (sub) {
                    Find(sub, f, collect, true, list);
                    sub->Release();
                }
            }
            name->Release();
            if (subFolders)
                subFolders->Release();
            if (parent)
                parent->Release();
        }
        folder->Release();
    }
};

bool PathWin::HasEntries(bool includeAll)
{
    if (!valid_ || fullPath_->Length() == 0)
        return false;
    const WalkFilter f = PathWalker::Filter(this, includeAll);
    StrBuffer* pattern = StrBuffer::Acquire();
    txt::SetAllPattern(pattern, GetApiPath());
    bool found = false;
    PathWalker::ForEach(pattern->CStr(), fullPath_->Data(), fullPath_->Length(), f,
                        [&](const WIN32_FIND_DATAW&, const StrBuffer*) {
                            found = true;
                            return false;
                        });
    pattern->Release();
    return found;
}

namespace {
StrArray* NamesOf(PathWin* folder, int collect, bool fullPaths, bool includeAll)
{
    StrArray* names = StrArray::Acquire();
    if (names && folder->IsValid() && folder->GetLength())
        PathWalker::Names(folder, PathWalker::Filter(folder, includeAll), collect, fullPaths, names);
    return names;
}
} // namespace

StrArray* PathWin::ListNames(bool fullPaths, bool includeAll)
{
    return NamesOf(this, kBoth, fullPaths, includeAll);
}

StrArray* PathWin::ListFolderNames(bool fullPaths, bool includeAll)
{
    return NamesOf(this, kFolders, fullPaths, includeAll);
}

StrArray* PathWin::ListFileNames(bool fullPaths, bool includeAll)
{
    return NamesOf(this, kFiles, fullPaths, includeAll);
}

namespace {
ArrayP* ListOf(PathWin* folder, int collect, bool includeAll, bool recursive, ArrayP* list)
{
    if (!list)
        list = NewPathList();
    if (list && folder->IsValid() && folder->GetLength())
        PathWalker::List(folder, PathWalker::Filter(folder, includeAll), collect, recursive, list);
    return list;
}

PathArray* ListIntoOf(PathWin* folder, int collect, bool includeAll, bool recursive,
                      PathArray* paths)
{
    if (!paths)
        paths = PathArray::Acquire();
    if (paths && folder->IsValid() && folder->GetLength())
        PathWalker::List(folder, PathWalker::Filter(folder, includeAll), collect, recursive,
                         paths->List());
    return paths;
}
} // namespace

ArrayP* PathWin::ListEntries(bool includeAll, bool recursive, ArrayP* list)
{
    return ListOf(this, kBoth, includeAll, recursive, list);
}

ArrayP* PathWin::ListFolders(bool includeAll, bool recursive, ArrayP* list)
{
    return ListOf(this, kFolders, includeAll, recursive, list);
}

ArrayP* PathWin::ListFiles(bool includeAll, bool recursive, ArrayP* list)
{
    return ListOf(this, kFiles, includeAll, recursive, list);
}

PathArray* PathWin::ListEntriesInto(bool includeAll, bool recursive, PathArray* list)
{
    return ListIntoOf(this, kBoth, includeAll, recursive, list);
}

PathArray* PathWin::ListFoldersInto(bool includeAll, bool recursive, PathArray* list)
{
    return ListIntoOf(this, kFolders, includeAll, recursive, list);
}

PathArray* PathWin::ListFilesInto(bool includeAll, bool recursive, PathArray* list)
{
    return ListIntoOf(this, kFiles, includeAll, recursive, list);
}

ArrayP* PathWin::FindFiles(bool includeAll, bool recursive, ArrayP* list)
{
    if (!list)
        list = NewPathList();
    if (list && valid_ && fullPath_->Length())
        PathWalker::Find(this, PathWalker::Filter(this, includeAll), kFiles, recursive, list);
    return list;
}

ArrayP* PathWin::FindEntries(bool includeAll, bool recursive, ArrayP* list)
{
    if (!list)
        list = NewPathList();
    if (list && valid_ && fullPath_->Length())
        PathWalker::Find(this, PathWalker::Filter(this, includeAll), kBoth, recursive, list);
    return list;
}

// --- alternate data streams ------------------------------------------------------------------

namespace {

using NtQueryInformationFileFn = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, ULONG);

struct NativeStreamApi
{
    NtQueryInformationFileFn query = nullptr;
    bool usable = false;
};

void EnableBackupPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token))
        return;
    TOKEN_PRIVILEGES tp = {};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, L"SeBackupPrivilege", &tp.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
    CloseHandle(token);
}

const NativeStreamApi& StreamApi()
{
    static const NativeStreamApi api = [] {
        NativeStreamApi a;
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        if (ntdll) {
            a.query = reinterpret_cast<NtQueryInformationFileFn>(
                reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationFile")));
            const bool fsControl = GetProcAddress(ntdll, "NtFsControlFile") != nullptr;
            const bool toDos = GetProcAddress(ntdll, "RtlNtStatusToDosError") != nullptr;
            a.usable = a.query && fsControl && toDos;
        }
        EnableBackupPrivilege();
        return a;
    }();
    return api;
}

// The one buffer of the stream query, grown as needed; guarded by its lock.
struct StreamBuffer
{
    s::thread::ObjLocker lock;
    unsigned char* bytes = nullptr;
    uint32_t size = 0;
};

StreamBuffer& TheStreamBuffer()
{
    static StreamBuffer buffer;
    return buffer;
}

constexpr LONG kBufferOverflow = LONG(0x80000005);
constexpr LONG kInfoLengthMismatch = LONG(0xC0000004);
constexpr LONG kBufferTooSmall = LONG(0xC0000023);
constexpr ULONG kFileStreamInformation = 22;
constexpr uint32_t kStreamBufferLimit = 10000000;

struct StreamListContext
{
    const PathWin* file;
    ArrayP* list;
};

void AddStream(void* context, const wchar_t* name, uint32_t nameChars, int64_t size)
{
    auto* c = static_cast<StreamListContext*>(context);
    PathWin* stream = PathWin::Acquire();
    if (!stream)
        return;
    StrBuffer* text = c->file->GetFullPathInto(nullptr, false);
    txt::AddN(text, name, nameChars);
    stream->SetPath(text);
    text->Release();
    stream->SetStreamSize(size);
    c->list->Add(stream);
}

} // namespace

ArrayP* PathWin::ListStreams(ArrayP* list)
{
    if (!list)
        list = NewPathList();
    if (!list || !valid_ || isStream_)
        return list;
    const NativeStreamApi& api = StreamApi();
    if (!api.usable || !IsNtfs())
        return list;
    HANDLE h = ::CreateFileW(GetApiPath(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, IsDirectory() ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return list;
    StreamBuffer& buffer = TheStreamBuffer();
    {
        s::thread::ObjLocker::Guard guard(buffer.lock);
        if (!buffer.bytes) {
            buffer.bytes = static_cast<unsigned char*>(std::malloc(1024));
            buffer.size = buffer.bytes ? 1024 : 0;
        }
        LONG status = kBufferOverflow;
        IO_STATUS_BLOCK io = {};
        while (buffer.bytes) {
            std::memset(&io, 0, sizeof io);
            status = api.query(h, &io, buffer.bytes, buffer.size, kFileStreamInformation);
            if (status != kBufferOverflow && status != kInfoLengthMismatch &&
                status != kBufferTooSmall)
                break;
            if (buffer.size > kStreamBufferLimit) {
                status = kBufferTooSmall;
                break;
            }
            const uint32_t grown = buffer.size + buffer.size / 2;
            unsigned char* bigger = static_cast<unsigned char*>(std::realloc(buffer.bytes, grown));
            if (!bigger) {
                status = kBufferTooSmall;
                break;
            }
            buffer.bytes = bigger;
            buffer.size = grown;
        }
        if (status >= 0 && buffer.bytes) {
            StreamListContext context{this, list};
            ReadStreamAnswer(buffer.bytes, buffer.size, uint64_t(io.Information), &AddStream,
                             &context);
        }
    }
    CloseHandle(h);
    return list;
}

// --- exclusive access -----------------------------------------------------------------------------

bool PathWin::CheckExclusiveAccess(bool passOn, bool restore, void* buffer, uint32_t size)
{
    if (fullPath_->Length() <= 3 || !Exists())
        return false;
    const uint32_t word = GetAttributes();
    if (!(word & FILE_ATTRIBUTE_DIRECTORY) && GetSize() == 0)
        return true;
    SetAttributes(FILE_ATTRIBUTE_NORMAL);
    AddAttributes(FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    AddAttributes(word & FILE_ATTRIBUTE_DIRECTORY);
    bool ok = true;
    if (word & FILE_ATTRIBUTE_DIRECTORY) {
        ArrayP* entries = ListEntries(true, false);
        for (uint32_t i = 0, n = entries ? entries->Count() : 0; i < n; ++i)
            if (!static_cast<PathWin*>(entries->Get(i))->CheckExclusiveAccess(passOn, restore, buffer, size))
                ok = false;
        if (entries)
            entries->Release();
    }
    if (!isStream_ && IsNtfs()) {
        ArrayP* streams = ListStreams();
        for (uint32_t i = 0, n = streams ? streams->Count() : 0; i < n; ++i)
            if (!static_cast<PathWin*>(streams->Get(i))->CheckExclusiveAccess(passOn, false, buffer, size))
                ok = false;
        if (streams)
            streams->Release();
    }
    // Encrypted, compressed and sparse files refuse unbuffered opening: not tried.
    if (ok && !(word & FILE_ATTRIBUTE_DIRECTORY) && !(word & 0x4A00)) {
        HANDLE h = ::CreateFileW(GetApiPath(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_NO_BUFFERING | FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        if (h == INVALID_HANDLE_VALUE)
            ok = false;
        else
            CloseHandle(h);
    }
    if (restore)
        SetAttributes(word);
    return ok;
}

} // namespace s::file::win
