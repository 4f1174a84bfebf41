// PathWin: creating, removing, renaming, moving and copying items; shortcuts and
// ".url" files; shell texts; neighbours; whole-file reads and writes.
#include "s/file/win/PathWin.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <mutex>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayU08.h"
#include "s/file/win/FileInputStream.h"
#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathText.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::file::win {

namespace {

// Items this short are drive roots ("C:", "C:\"): never created, removed or replaced.
constexpr uint32_t kShortestChangeable = 4;

constexpr UINT kNotifyFlags = SHCNF_PATHW | SHCNF_FLUSH;

void Notify(LONG event, const wchar_t* path) { SHChangeNotify(event, kNotifyFlags, path, nullptr); }

bool Changeable(const PathWin* p) { return p && p->IsValid() && p->GetLength() >= kShortestChangeable; }

// COM for the shell's link objects: joined when the thread has none yet, left as found.
class ComScope
{
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }

private:
    HRESULT hr_;
};

// The target path stored in a ".lnk" file, or false.
bool ReadShortcut(const wchar_t* linkPath, StrBuffer* target)
{
    ComScope com;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    bool ok = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(linkPath, STGM_READ))) {
            wchar_t path[MAX_PATH * 4] = {};
            if (SUCCEEDED(link->GetPath(path, MAX_PATH * 4, nullptr, SLGP_RAWPATH)) && path[0]) {
                txt::Set(target, path);
                ok = true;
            }
        }
        file->Release();
    }
    link->Release();
    return ok;
}

// `inner` lies somewhere below `outer` (compared ignoring case).
bool IsInside(const PathWin* inner, const PathWin* outer)
{
    const uint32_t n = outer->GetLength();
    return n > 0 && inner->GetLength() > n && inner->GetFullPath()[n] == L'\\' &&
           _wcsnicmp(inner->GetFullPath(), outer->GetFullPath(), n) == 0;
}

} // namespace

// --- creating ------------------------------------------------------------------------------

bool PathWin::EnsureParent()
{
    PathWin* parent = GetParent();
    if (!parent)
        return true;  // a drive or share: nothing above it to make
    const bool ok = parent->Exists() || parent->CreateDirectory(false);
    parent->Release();
    return ok;
}

bool PathWin::CreateDirectory(bool notify)
{
    if (!Changeable(this))
        return false;
    bool ok = ::CreateDirectoryW(GetApiPath(), nullptr) != FALSE;
    if (!ok && EnsureParent())
        ok = ::CreateDirectoryW(GetApiPath(), nullptr) != FALSE;
    attributesValid_ = false;
    if (ok && notify)
        Notify(SHCNE_MKDIR, GetFullPath());
    return ok;
}

bool PathWin::CreateFile(bool notify)
{
    if (!Changeable(this))
        return false;
    auto make = [this] {
        HANDLE h = ::CreateFileW(GetApiPath(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        ::CloseHandle(h);
        return true;
    };
    bool ok = make();
    if (!ok && EnsureParent())
        ok = make();
    attributesValid_ = false;
    statValid_ = false;
    if (ok && notify)
        Notify(SHCNE_CREATE, GetFullPath());
    return ok;
}

// --- removing ----------------------------------------------------------------------------------

bool PathWin::Delete(bool notify, bool force)
{
    if (!Changeable(this))
        return false;
    if (!Exists())
        return true;
    const bool folder = IsDirectory();
    bool ok;
    if (!folder) {
        ok = ::DeleteFileW(GetApiPath()) != FALSE;
        if (!ok) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND)
                ok = true;
            else if (error == ERROR_ACCESS_DENIED && MakeWritable())
                ok = ::DeleteFileW(GetApiPath()) != FALSE;
        }
    } else {
        ok = ::RemoveDirectoryW(GetApiPath()) != FALSE;
        if (!ok) {
            ArrayP* entries = ListEntries(true, false);
            for (uint32_t i = 0, n = entries ? entries->Count() : 0; i < n; ++i)
                static_cast<PathWin*>(entries->Get(i))->Delete(false, force);
            if (entries)
                entries->Release();
            ok = ::RemoveDirectoryW(GetApiPath()) != FALSE;
        }
    }
    attributesValid_ = false;
    statValid_ = false;
    if (!ok && force)
        ::MoveFileExW(GetApiPath(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (ok && notify)
        Notify(folder ? SHCNE_RMDIR : SHCNE_DELETE, GetFullPath());
    return ok;
}

bool PathWin::DeleteOnReboot()
{
    if (!Changeable(this) || !Exists())
        return false;
    bool ok = true;
    if (IsDirectory()) {
        ArrayP* entries = ListEntries(true, false);
        for (uint32_t i = 0, n = entries ? entries->Count() : 0; i < n; ++i)
            if (!static_cast<PathWin*>(entries->Get(i))->DeleteOnReboot())
                ok = false;
        if (entries)
            entries->Release();
    }
    if (!::MoveFileExW(GetApiPath(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        ok = false;
    return ok;
}

bool PathWin::Recycle(bool confirm, bool notify)
{
    if (!Changeable(this))
        return false;
    const bool folder = IsDirectory();
    // The shell wants a list ending in two NULs, and plain paths: it takes no "\\?\" form.
    StrBuffer* from = GetFullPathInto(nullptr, false);
    txt::AddChar(from, 0);
    txt::AddChar(from, 0);
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from->Data();
    op.fFlags = FILEOP_FLAGS(confirm ? FOF_ALLOWUNDO : (FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT));
    const bool ok = SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
    from->Release();
    attributesValid_ = false;
    statValid_ = false;
    if (ok && notify)
        Notify(folder ? SHCNE_RMDIR : SHCNE_DELETE, GetFullPath());
    return ok;
}

// --- renaming, moving, copying ----------------------------------------------------------------

bool PathWin::Rename(const wchar_t* newPath)
{
    PathWin* target = FromText(newPath);
    bool ok = false;
    if (Changeable(this) && Changeable(target) && !target->Exists())
        ok = ::MoveFileExW(GetApiPath(), target->GetApiPath(), MOVEFILE_WRITE_THROUGH) != FALSE;
    if (target)
        target->Release();
    return ok;
}

bool PathWin::MoveTo(const wchar_t* newPath, bool replace, bool notify)
{
    PathWin* target = FromText(newPath);
    bool ok = false;
    if (Changeable(this) && Changeable(target)) {
        const bool folder = IsDirectory();
        const DWORD flags = MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH |
                            (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        ok = ::MoveFileExW(GetApiPath(), target->GetApiPath(), flags) != FALSE;
        if (ok && notify) {
            Notify(folder ? SHCNE_RMDIR : SHCNE_DELETE, GetFullPath());
            Notify(folder ? SHCNE_MKDIR : SHCNE_CREATE, target->GetFullPath());
        }
    }
    if (target)
        target->Release();
    return ok;
}

bool PathWin::CopyTo(const wchar_t* newPath, bool overwrite)
{
    PathWin* target = FromText(newPath);
    bool ok = false;
    if (Changeable(this) && Changeable(target) && Exists()) {
        if (!IsDirectory()) {
            ok = ::CopyFileW(GetApiPath(), target->GetApiPath(), !overwrite) != FALSE;
            if (!ok && target->EnsureParent())
                ok = ::CopyFileW(GetApiPath(), target->GetApiPath(), !overwrite) != FALSE;
        } else if (target->EqualsIgnoreCase(this) || IsInside(target, this)) {
            // A folder copied into itself would copy its own copy again, without end.
            ok = false;
        } else {
            ok = target->Exists() || target->CreateDirectory(false);
            ArrayP* entries = ok ? ListEntries(true, false) : nullptr;
            StrBuffer* name = StrBuffer::Acquire();
            for (uint32_t i = 0, n = entries ? entries->Count() : 0; i < n; ++i) {
                PathWin* entry = static_cast<PathWin*>(entries->Get(i));
                target->GetFullPathInto(name, false);
                txt::AddChar(name, L'\\');
                entry->GetNameInto(name, true);
                if (!entry->CopyTo(name->CStr(), overwrite))
                    ok = false;
            }
            name->Release();
            if (entries)
                entries->Release();
        }
    }
    if (target)
        target->Release();
    return ok;
}

bool PathWin::RenameRandomly(int32_t passes, StrBuffer* nameOut, bool restore)
{
    if (!Changeable(this) || !Exists())
        return false;
    static std::once_flag seeded;
    std::call_once(seeded, [] { std::srand(unsigned(std::time(nullptr))); });
    static const wchar_t kChars[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz123456789";
    const uint32_t kCharCount = uint32_t(wcslen(kChars));

    const uint32_t word = GetAttributes();
    SetAttributes(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    bool ok = true;
    StrBuffer* candidate = StrBuffer::Acquire();
    StrBuffer* name = StrBuffer::Acquire();
    for (int32_t pass = 0; pass < passes && ok; ++pass) {
        bool renamed = false;
        for (int attempt = 0; attempt < 20 && !renamed; ++attempt) {
            GetNameInto(name, false);
            wchar_t* c = name->Data();
            for (uint32_t i = 0; i < name->Length(); ++i)
                if (c[i] != L'.')
                    c[i] = kChars[uint32_t(std::rand()) % kCharCount];
            GetFolderInto(candidate, false);
            txt::AddN(candidate, name->Data(), name->Length());
            PathWin* target = FromText(candidate->CStr());
            if (!target)
                break;
            if (!target->Exists()) {
                for (int tryNo = 0; tryNo < 2 && !renamed; ++tryNo) {
                    if (tryNo)
                        ::Sleep(50);
                    renamed = ::MoveFileExW(GetApiPath(), target->GetApiPath(),
                                            MOVEFILE_WRITE_THROUGH) != FALSE;
                }
            }
            target->Release();
        }
        if (renamed) {
            SetPath(candidate);
            attributes_ = FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
            attributesValid_ = true;
        } else {
            ok = false;
        }
    }
    candidate->Release();
    name->Release();
    if (restore)
        SetAttributes(word);
    if (nameOut)
        GetFullPathInto(nameOut, false);
    return ok;
}

// --- shortcuts and ".url" files ---------------------------------------------------------------------

bool PathWin::CreateShortcut(const wchar_t* at, bool replace, const wchar_t* description)
{
    PathWin* link = FromText(at);
    if (!link)
        return false;
    if (!link->HasExtension(L".lnk")) {
        StrBuffer* t = link->GetFullPathInto(nullptr, false);
        txt::Add(t, L".lnk");
        link->SetPath(t);
        t->Release();
    }
    bool ok = Changeable(link) && valid_;
    if (ok && link->Exists())
        ok = replace && link->Delete(false, false);
    if (ok)
        ok = link->EnsureParent();
    if (ok) {
        ComScope com;
        IShellLinkW* shell = nullptr;
        ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkW, reinterpret_cast<void**>(&shell)));
        if (ok) {
            shell->SetPath(GetFullPath());
            StrBuffer* folder = GetFolderNoSlashInto(nullptr, false);
            shell->SetWorkingDirectory(folder->CStr());
            folder->Release();
            if (description)
                shell->SetDescription(description);
            IPersistFile* file = nullptr;
            ok = SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
            if (ok) {
                ok = SUCCEEDED(file->Save(link->GetApiPath(), TRUE));
                file->Release();
            }
            shell->Release();
        }
    }
    link->Release();
    return ok;
}

bool PathWin::CreateShortcutHere(const wchar_t* folder, bool replace)
{
    PathWin* at = FromFolderAndShortcutName(folder, GetName());
    if (!at)
        return false;
    const bool ok = CreateShortcut(at->GetFullPath(), replace);
    at->Release();
    return ok;
}

PathWin* PathWin::ResolveShortcut()
{
    if (!IsShortcut())
        return nullptr;
    StrBuffer* target = StrBuffer::Acquire();
    PathWin* p = ReadShortcut(GetApiPath(), target) ? FromText(target->CStr()) : nullptr;
    target->Release();
    return p;
}

bool PathWin::IsFolderShortcut()
{
    PathWin* target = GetFolderShortcutTargetPath();
    if (!target)
        return false;
    target->Release();
    return true;
}

PathWin* PathWin::GetFolderShortcutTargetPath()
{
    if (!IsDirectory())
        return nullptr;
    PathWin* link = GetChild(L"target.lnk");
    PathWin* target = nullptr;
    if (link && link->Exists() && link->IsFile()) {
        target = link->ResolveShortcut();
        if (target && !(target->Exists() && target->IsDirectory())) {
            target->Release();
            target = nullptr;
        }
    }
    if (link)
        link->Release();
    return target;
}

StrBuffer* PathWin::GetFolderShortcutTargetInto(StrBuffer* out, bool append)
{
    out = Target(out, append);
    PathWin* target = GetFolderShortcutTargetPath();
    if (target) {
        target->GetFullPathInto(out, true);
        target->Release();
    }
    return out;
}

const wchar_t* PathWin::GetFolderShortcutTarget()
{
    return GetFolderShortcutTargetInto(scratch_, false)->CStr();
}

StrBuffer* PathWin::GetUrlInto(StrBuffer* out, bool append)
{
    out = Target(out, append);
    if (!IsUrlFile() || !Exists())
        return out;
    // An Internet shortcut keeps its address in the "URL" line of [InternetShortcut].
    wchar_t url[4096] = {};
    const DWORD n = GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", url, 4096, GetApiPath());
    txt::AddN(out, url, n);
    return out;
}

const wchar_t* PathWin::GetUrl() { return GetUrlInto(scratch_, false)->CStr(); }

// --- shell texts ---------------------------------------------------------------------------------------

StrBuffer* PathWin::GetTypeNameInto(StrBuffer* out, bool append)
{
    out = Target(out, append);
    if (!valid_)
        return out;
    SHFILEINFOW info = {};
    const bool exists = Exists();
    const DWORD attributes = exists ? (GetAttributes() & FILE_ATTRIBUTE_DIRECTORY ? FILE_ATTRIBUTE_DIRECTORY
                                                                                 : FILE_ATTRIBUTE_NORMAL)
                                    : FILE_ATTRIBUTE_NORMAL;
    const wchar_t* asked = exists ? GetFullPath() : GetExtensionText();
    if (SHGetFileInfoW(asked, attributes, &info, sizeof info, SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES))
        txt::Add(out, info.szTypeName);
    return out;
}

const wchar_t* PathWin::GetTypeName() { return GetTypeNameInto(scratch_, false)->CStr(); }

StrBuffer* PathWin::GetSizeTextInto(StrBuffer* out, bool append)
{
    out = Target(out, append);
    if (!valid_ || (Exists() && IsDirectory()))
        return out;
    wchar_t text[64] = {};
    if (StrFormatByteSizeW(GetSize(), text, 64))
        txt::Add(out, text);
    return out;
}

const wchar_t* PathWin::GetSizeText() { return GetSizeTextInto(scratch_, false)->CStr(); }

// --- neighbours -------------------------------------------------------------------------------------------

PathWin* PathWin::GetNeighbour(bool next, const StrArray* extensions, bool sort, bool wrap)
{
    PathWin* folder = GetParent();
    if (!folder)
        return nullptr;
    StrArray* names = folder->ListFileNames(false, false);
    if (!names) {
        folder->Release();
        return nullptr;
    }
    if (sort)
        names->Sort(true);
    if (extensions && extensions->Count()) {
        for (uint32_t i = names->Count(); i-- > 0;) {
            bool keep = false;
            for (uint32_t e = 0; e < extensions->Count() && !keep; ++e)
                keep = names->Get(i)->EndsWithIgnoreCase(extensions->Get(e)->CStr());
            if (!keep)
                names->RemoveAt(i);
        }
    }
    PathWin* found = nullptr;
    const uint32_t count = names->Count();
    StrBuffer* own = GetNameInto(nullptr, false);
    const int32_t at = names->IndexOfIgnoreCase(*own);
    own->Release();
    if (count >= 2 && at >= 0) {
        int64_t to = next ? int64_t(at) + 1 : int64_t(at) - 1;
        if (to < 0)
            to = wrap ? int64_t(count) - 1 : -1;
        else if (to >= int64_t(count))
            to = wrap ? 0 : -1;
        if (to >= 0)
            found = folder->GetChild(names->Get(uint32_t(to))->CStr());
    }
    names->Release();
    folder->Release();
    return found;
}

// --- whole-file reads and writes ---------------------------------------------------------------------------

FileInputStream* PathWin::OpenInputStream()
{
    FileInputStream* stream = FileInputStream::Acquire();
    if (stream)
        stream->Open(this);
    return stream;
}

FileOutputStream* PathWin::OpenOutputStream(bool append)
{
    EnsureParent();
    FileOutputStream* stream = FileOutputStream::Acquire();
    if (stream)
        stream->Open(this, append);
    attributesValid_ = false;
    statValid_ = false;
    return stream;
}

bool PathWin::ReadAll(ArrayU08* bytes)
{
    if (!bytes)
        return false;
    bytes->Clear();
    FileInputStream* stream = OpenInputStream();
    if (!stream)
        return false;
    const bool opened = stream->IsOpen();
    if (opened) {
        int64_t size = GetSize();
        if (size > 0 && size < 0x7FFFFFFF)
            bytes->ReserveGrow(uint32_t(size));
        // Read to the end even when the file grew since its size was taken.
        unsigned char chunk[65536];
        uint32_t got = 0;
        while (stream->Read(chunk, sizeof chunk, &got))
            bytes->Append(chunk, got);
    }
    stream->CloseAndRelease();
    return opened;
}

bool PathWin::WriteAll(const ArrayU08* bytes, bool append)
{
    FileOutputStream* stream = OpenOutputStream(append);
    if (!stream)
        return false;
    bool ok = stream->IsOpen();
    if (ok && bytes && bytes->Count())
        ok = stream->Write(bytes->Data(), bytes->Count(), nullptr);
    if (ok)
        ok = stream->Flush();
    stream->CloseAndRelease();
    return ok;
}

bool PathWin::WriteFrom(const StrBuffer* text, bool append)
{
    ArrayU08* bytes = ArrayU08::Acquire();
    if (!bytes)
        return false;
    if (text)
        text->ToUtf8NoTerminator(bytes, false);
    const bool ok = WriteAll(bytes, append);
    bytes->Release();
    return ok;
}

} // namespace s::file::win
