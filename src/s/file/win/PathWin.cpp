#include "s/file/win/PathWin.h"

#include <cwchar>
#include <cwctype>
#include <stdlib.h>

#include "s/file/win/PathText.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::file::win {

s::thread::EasyPooler& PathWin::Pool()
{
    // Paths kept at exit give their nine strings back while this pool goes.
    static s::thread::EasyPooler& strings = StrBuffer::Pool();
    static s::thread::EasyPooler pool(s::thread::EasyPooler::CLASS_POOL_MAX,
                                      &s::thread::PoolHooks<PathWin>::Create,
                                      &s::thread::PoolHooks<PathWin>::Destroy,
                                      &s::thread::PoolHooks<PathWin>::Recycle);
    (void)strings;
    return pool;
}

namespace {

// Components of a split path fit in this many characters (terminator included);
// a longer component makes the path invalid.
constexpr size_t kComponentChars = 780;

bool HasColon(const StrBuffer* s)
{
    const wchar_t* p = s->Data();
    for (uint32_t i = 0, n = s->Length(); i < n; ++i)
        if (p[i] == L':')
            return true;
    return false;
}

} // namespace

PathWin::PathWin()
    : scratch_(StrBuffer::Acquire()), source_(StrBuffer::Acquire()), drive_(StrBuffer::Acquire()),
      root_(StrBuffer::Acquire()), folderPart_(StrBuffer::Acquire()),
      longForm_(StrBuffer::Acquire()), extension_(StrBuffer::Acquire()),
      fullPath_(StrBuffer::Acquire()), title_(StrBuffer::Acquire())
{
}

PathWin::~PathWin()
{
    // The strings are this object's own; they go back to their pool with it.
    StrBuffer* strings[] = {scratch_, source_, drive_, root_, folderPart_,
                            longForm_, extension_, fullPath_, title_};
    for (StrBuffer* s : strings)
        if (s)
            s->Release();
}

PathWin* PathWin::FromText(const wchar_t* text)
{
    PathWin* p = Acquire();
    if (p)
        p->SetPath(text);
    return p;
}

PathWin* PathWin::FromFolderAndName(const wchar_t* folder, const wchar_t* name)
{
    PathWin* p = Acquire();
    if (!p)
        return nullptr;
    StrBuffer* t = p->scratch_;
    txt::Set(t, folder);
    txt::AddChar(t, L'\\');
    txt::Add(t, name);
    p->SetPath(t->CStr());
    return p;
}

PathWin* PathWin::FromFolderAndShortcutName(const wchar_t* folder, const wchar_t* name)
{
    PathWin* p = Acquire();
    if (!p)
        return nullptr;
    StrBuffer* t = p->scratch_;
    txt::Set(t, folder);
    txt::AddChar(t, L'\\');
    txt::Add(t, name);
    txt::Add(t, L".lnk");
    p->SetPath(t->CStr());
    return p;
}

// --- comparison -------------------------------------------------------------------

namespace {
const s::base::IComparable* FullPathOf(const s::base::IComparable* other)
{
    // Another path compares by its full path; any other object (a string) as it is.
    const auto* o = dynamic_cast<const s::base::IObject*>(other);
    if (o && o->ClassId() == PathWin::CLASS_ID)
        return static_cast<const PathWin*>(o)->FullPathString();
    return other;
}
} // namespace

int PathWin::Compare(const s::base::IComparable* other, const s::base::IComparator* comparator) const
{
    if (comparator)
        return IObject::Compare(other, comparator);
    return fullPath_->Compare(FullPathOf(other), nullptr);
}

int PathWin::CompareIgnoreCase(const s::base::IComparable* other,
                               const s::base::IComparator* comparator) const
{
    if (comparator)
        return IObject::CompareIgnoreCase(other, comparator);
    return fullPath_->CompareIgnoreCase(FullPathOf(other), nullptr);
}

bool PathWin::Equals(const s::base::IComparable* other, const s::base::IComparator* comparator) const
{
    if (comparator)
        return IObject::Equals(other, comparator);
    return fullPath_->Equals(FullPathOf(other), nullptr);
}

bool PathWin::EqualsIgnoreCase(const s::base::IComparable* other,
                               const s::base::IComparator* comparator) const
{
    if (comparator)
        return IObject::EqualsIgnoreCase(other, comparator);
    return fullPath_->EqualsIgnoreCase(FullPathOf(other), nullptr);
}

uint32_t PathWin::HashCode() const { return fullPath_->HashCode(); }
uint32_t PathWin::HashCodeIgnoreCase() const { return fullPath_->HashCodeIgnoreCase(); }

// --- state --------------------------------------------------------------------------

void PathWin::Reset() { Clear(); }

void PathWin::Clear()
{
    StrBuffer* strings[] = {scratch_, source_, drive_, root_, folderPart_,
                            longForm_, extension_, fullPath_, title_};
    for (StrBuffer* s : strings)
        s->Clear();
    stat_ = StatRecord();
    sizeOnDisk_ = -1;
    statValid_ = false;
    valid_ = false;
    isStream_ = false;
    streamSize_ = -1;
    attributesValid_ = false;
    attributes_ = 0;
    fileSystemType_ = -1;
}

bool PathWin::SetPath(const StrBuffer* text)
{
    if (!text)
        return SetPath(static_cast<const wchar_t*>(nullptr));
    return SetPath(text->Data(), text->Length());
}

bool PathWin::SetPath(const wchar_t* text)
{
    return SetPath(text, text ? uint32_t(wcslen(text)) : 0);
}

bool PathWin::SetPath(const wchar_t* chars, uint32_t count)
{
    // The text may be one of this object's own strings (a derived path built in its
    // scratch string): it is copied out before anything is cleared.
    StrBuffer* text = StrBuffer::Acquire();
    if (!text) {
        Clear();
        return false;
    }
    txt::SetN(text, chars, count);
    Clear();
    StrBuffer* old = source_;
    source_ = text;
    old->Release();
    return Normalise();
}

bool PathWin::Normalise()
{
    if (source_->Length() == 0)
        return false;
    valid_ = true;
    txt::Replace(source_, L'/', L'\\');
    txt::SetN(fullPath_, source_->Data(), source_->Length());
    Parse();
    return valid_;
}

void PathWin::Parse()
{
    // Trailing separators go: "C:\" is the drive "C:", "C:\Data\" the folder "C:\Data".
    uint32_t n = fullPath_->Length();
    const wchar_t* p = fullPath_->Data();
    while (n > 0 && p[n - 1] == L'\\')
        --n;
    txt::Cut(fullPath_, n);
    if (n == 0)
        return;  // only separators: an empty full path that still counts as valid

    // Each call has its own split buffers, so parsing needs no process-wide lock.
    wchar_t drive[kComponentChars];
    wchar_t dir[kComponentChars];
    wchar_t name[kComponentChars];
    wchar_t ext[kComponentChars];
    drive[0] = dir[0] = name[0] = ext[0] = 0;
    if (_wsplitpath_s(fullPath_->CStr(), drive, kComponentChars, dir, kComponentChars, name,
                      kComponentChars, ext, kComponentChars) != 0) {
        valid_ = false;
        return;
    }
    txt::Set(drive_, drive);
    txt::Set(folderPart_, dir);
    txt::Set(title_, name);
    txt::Set(extension_, ext);

    // "C:\a.txt:notes" is title "a", extension ".txt:notes": a stream. A colon in
    // the folder part ("C:\dir:x\a.txt") is not.
    isStream_ = (extension_->Length() > 0 && HasColon(extension_)) ||
                (title_->Length() > 0 && HasColon(title_));

    BuildLongForm();
}

namespace {

// "\\?\" (the long form), "\\.\" (devices) and "\??\" (the native form) are handed to the
// system as they stand: prefixing them again would name nothing.
bool HasSystemPrefix(const wchar_t* p, uint32_t n)
{
    if (n < 4 || p[0] != L'\\' || p[3] != L'\\')
        return false;
    return (p[1] == L'\\' && (p[2] == L'?' || p[2] == L'.')) || (p[1] == L'?' && p[2] == L'?');
}

// The folder a relative text starts from, as the system resolves it now: the current
// folder, the current folder of another drive ("D:name"), or the current drive's root
// ("\name"). False when the system answers nothing.
bool RelativeBase(const wchar_t* p, uint32_t n, StrBuffer* base, uint32_t* restAt)
{
    wchar_t ask[4] = {0, 0, 0, 0};
    const wchar_t* asked = nullptr;
    *restAt = 0;
    if (n >= 2 && p[1] == L':') {
        ask[0] = p[0];
        ask[1] = L':';
        ask[2] = L'.';
        asked = ask;
        *restAt = 2;
    } else if (p[0] == L'\\') {
        asked = L"\\";
    } else {
        asked = L".";
    }
    DWORD need = ::GetFullPathNameW(asked, 0, nullptr, nullptr);
    if (need == 0)
        return false;
    base->Clear();
    base->Reserve(need + 1);
    const DWORD got = ::GetFullPathNameW(asked, need + 1, base->Data(), nullptr);
    if (got == 0 || got > need)
        return false;
    base->SetLength(got);
    return true;
}

// Appends the absolute path p ("X:\..." or "\\server\share\...") to out in the long form:
// empty and "." parts dropped, ".." taking back one part (never the drive or the
// server and share), every other name kept exactly as it is written, trailing dots and
// blanks and device names included.
void AppendLongForm(StrBuffer* out, const wchar_t* p, uint32_t n)
{
    const bool unc = !(n >= 2 && p[1] == L':');
    uint32_t i = 0;
    uint32_t fixed = 0;  // parts ".." never takes back
    if (unc) {
        txt::Add(out, L"\\\\?\\UNC");
        fixed = 2;
    } else {
        txt::Add(out, L"\\\\?\\");
        txt::AddN(out, p, 2);
        i = 2;
    }
    uint32_t parts = 0;
    while (i < n) {
        while (i < n && p[i] == L'\\')
            ++i;
        const uint32_t start = i;
        while (i < n && p[i] != L'\\')
            ++i;
        const uint32_t len = i - start;
        if (len == 0 || (len == 1 && p[start] == L'.'))
            continue;
        if (len == 2 && p[start] == L'.' && p[start + 1] == L'.') {
            if (parts > fixed) {
                uint32_t end = out->Length();
                while (end > 0 && out->Data()[end - 1] != L'\\')
                    --end;
                txt::Cut(out, end - 1);
                --parts;
            }
            continue;
        }
        txt::AddChar(out, L'\\');
        txt::AddN(out, p + start, len);
        ++parts;
    }
    // "\\?\C:" would name the volume itself, not its root folder.
    if (!unc && parts == 0)
        txt::AddChar(out, L'\\');
}

} // namespace

void PathWin::BuildLongForm()
{
    // Every system call goes through the long form, whatever the length: in the plain form
    // the system drops trailing dots and blanks from a name and takes "aux", "con", "nul",
    // "com1", "lpt1" (with any extension) for devices, so a walked "name." would reach its
    // neighbour "name" and "aux.log" the AUX device.
    const uint32_t n = fullPath_->Length();
    const wchar_t* p = fullPath_->Data();
    if (n == 0 || HasSystemPrefix(p, n) || IsDriveOnly())
        return;  // "X:" goes to the system as its root "X:\" (AttributePath)
    const bool absolute = (n >= 3 && p[1] == L':' && p[2] == L'\\') || IsUnc();
    if (absolute) {
        AppendLongForm(longForm_, p, n);
        return;
    }
    // A typed relative text is made absolute once, against the folder it means now.
    StrBuffer* joined = StrBuffer::Acquire();
    uint32_t restAt = 0;
    if (joined && RelativeBase(p, n, joined, &restAt)) {
        txt::AddChar(joined, L'\\');
        txt::AddN(joined, p + restAt, n - restAt);
        const wchar_t* j = joined->Data();
        const uint32_t jn = joined->Length();
        if ((jn >= 3 && j[1] == L':' && j[2] == L'\\') ||
            (jn > 2 && j[0] == L'\\' && j[1] == L'\\' && j[2] != L'\\'))
            AppendLongForm(longForm_, j, jn);
    }
    if (joined)
        joined->Release();
}

bool PathWin::SetEntryPath(const PathWin& folder, const StrBuffer* entryPath, const wchar_t* name,
                           uint32_t nameLength)
{
    // Only a plain entry of a valid folder takes the short way; anything unusual is split.
    const uint32_t folderLength = folder.fullPath_->Length();
    if (!folder.valid_ || folderLength == 0 || nameLength == 0 ||
        entryPath->Length() != folderLength + 1 + nameLength) {
        return SetPath(entryPath);
    }
    for (uint32_t i = 0; i < nameLength; ++i)
        if (name[i] == L'\\' || name[i] == L'/' || name[i] == L':')
            return SetPath(entryPath);
    Clear();
    valid_ = true;
    txt::SetN(source_, entryPath->Data(), entryPath->Length());
    txt::SetN(fullPath_, entryPath->Data(), entryPath->Length());
    // The pieces as the split gives them: the folder's drive; the folder's own folder part
    // and name, then a separator; the name cut at its last dot.
    txt::SetN(drive_, folder.drive_->Data(), folder.drive_->Length());
    txt::SetN(folderPart_, folder.folderPart_->Data(), folder.folderPart_->Length());
    txt::AddN(folderPart_, folder.title_->Data(), folder.title_->Length());
    txt::AddN(folderPart_, folder.extension_->Data(), folder.extension_->Length());
    txt::AddChar(folderPart_, L'\\');
    if (folderPart_->Length() >= kComponentChars) {
        // The split refuses a folder part this long: the same invalid path.
        valid_ = false;
        return false;
    }
    uint32_t dot = nameLength;
    while (dot > 0 && name[dot - 1] != L'.')
        --dot;
    const uint32_t titleLength = dot > 0 ? dot - 1 : nameLength;
    txt::SetN(title_, name, titleLength);
    txt::SetN(extension_, name + titleLength, nameLength - titleLength);
    // A listed name is never "." or "..": the folder's long form and the name, as written.
    const uint32_t longLength = folder.longForm_->Length();
    if (longLength == 0) {
        BuildLongForm();
        return true;
    }
    txt::SetN(longForm_, folder.longForm_->Data(), longLength);
    if (folder.longForm_->Data()[longLength - 1] != L'\\')
        txt::AddChar(longForm_, L'\\');
    txt::AddN(longForm_, name, nameLength);
    return true;
}

bool PathWin::IsAbsolute() const { return valid_ && (HasDrive() || IsUnc()); }

bool PathWin::IsUnc() const
{
    const wchar_t* p = fullPath_->Data();
    return fullPath_->Length() > 2 && p[0] == L'\\' && p[1] == L'\\' && p[2] != L'\\';
}

const wchar_t* PathWin::GetServerName()
{
    scratch_->Clear();
    const uint32_t n = fullPath_->Length();
    const wchar_t* p = fullPath_->Data();
    if (IsUnc()) {
        uint32_t end = 2;
        while (end < n && p[end] != L'\\')
            ++end;
        txt::SetN(scratch_, p + 2, end - 2);
    }
    return scratch_->CStr();
}

bool PathWin::IsDriveOnly() const
{
    return fullPath_->Length() == 2 && fullPath_->Data()[1] == L':';
}

bool PathWin::HasDrive() const
{
    return fullPath_->Length() > 1 && fullPath_->Data()[1] == L':';
}

wchar_t PathWin::GetDriveLetter() const
{
    return fullPath_->Length() > 0 ? fullPath_->Data()[0] : 0;
}

bool PathWin::IsSameVolume(const wchar_t* text) const
{
    PathWin* other = FromText(text);
    if (!other)
        return false;
    bool same = false;
    if (HasDrive() && other->HasDrive()) {
        same = GetDriveLetter() == other->GetDriveLetter();
    } else if (IsUnc() && other->IsUnc()) {
        StrBuffer* a = StrBuffer::Acquire();
        StrBuffer* b = StrBuffer::Acquire();
        txt::SetN(a, ServerStart(), ServerLength());
        txt::SetN(b, other->ServerStart(), other->ServerLength());
        same = a->EqualsIgnoreCase(b, nullptr);
        a->Release();
        b->Release();
    }
    other->Release();
    return same;
}

const wchar_t* PathWin::ServerStart() const { return fullPath_->Data() + 2; }

uint32_t PathWin::ServerLength() const
{
    const uint32_t n = fullPath_->Length();
    const wchar_t* p = fullPath_->Data();
    uint32_t end = 2;
    while (end < n && p[end] != L'\\')
        ++end;
    return n > 2 ? end - 2 : 0;
}

const wchar_t* PathWin::GetFullPath() const { return fullPath_->CStr(); }

const wchar_t* PathWin::GetApiPath() const
{
    return longForm_->Length() ? longForm_->CStr() : fullPath_->CStr();
}

uint32_t PathWin::GetLength() const { return fullPath_->Length(); }

const wchar_t* PathWin::GetRootPath()
{
    if (root_->Length())
        return root_->CStr();
    if (drive_->Length()) {
        txt::SetN(root_, drive_->Data(), drive_->Length());
        txt::AddChar(root_, L'\\');
        return root_->CStr();
    }
    if (IsDirectory()) {
        txt::SetN(root_, fullPath_->Data(), fullPath_->Length());
        txt::AddChar(root_, L'\\');
    } else {
        txt::SetN(root_, folderPart_->Data(), folderPart_->Length());
    }
    // "\\srv\share\dir\" keeps "\\srv\share\": up to and including the fourth "\".
    const wchar_t* p = root_->Data();
    uint32_t seen = 0;
    for (uint32_t i = 0, n = root_->Length(); i < n; ++i) {
        if (p[i] == L'\\' && ++seen == 4) {
            txt::Cut(root_, i + 1);
            break;
        }
    }
    return root_->CStr();
}

const wchar_t* PathWin::GetExtensionText() const { return extension_->CStr(); }

bool PathWin::HasExtension(const wchar_t* text) const
{
    if (!text)
        return false;
    const size_t n = wcslen(text);
    return n == extension_->Length() && (n == 0 || _wcsnicmp(text, extension_->Data(), n) == 0);
}

// --- texts -------------------------------------------------------------------------------

StrBuffer* PathWin::Target(StrBuffer* out, bool append) const
{
    if (!out)
        return StrBuffer::Acquire();
    if (!append)
        out->Clear();
    return out;
}

StrBuffer* PathWin::GetFullPathInto(StrBuffer* out, bool append) const
{
    out = Target(out, append);
    txt::AddN(out, fullPath_->Data(), fullPath_->Length());
    return out;
}

StrBuffer* PathWin::GetFullPathWithSlashInto(StrBuffer* out, bool append) const
{
    out = GetFullPathInto(out, append);
    txt::AddChar(out, L'\\');
    return out;
}

const wchar_t* PathWin::GetFullPathWithSlash()
{
    return GetFullPathWithSlashInto(scratch_, false)->CStr();
}

StrBuffer* PathWin::GetFolderInto(StrBuffer* out, bool append) const
{
    out = Target(out, append);
    const uint32_t start = out->Length();
    txt::AddN(out, drive_->Data(), drive_->Length());
    txt::AddN(out, folderPart_->Data(), folderPart_->Length());
    if (out->Length() > start && out->Data()[out->Length() - 1] != L'\\')
        txt::AddChar(out, L'\\');
    return out;
}

const wchar_t* PathWin::GetFolder() { return GetFolderInto(scratch_, false)->CStr(); }

StrBuffer* PathWin::GetFolderNoSlashInto(StrBuffer* out, bool append) const
{
    out = Target(out, append);
    const uint32_t start = out->Length();
    GetFolderInto(out, true);
    uint32_t n = out->Length();
    while (n > start && out->Data()[n - 1] == L'\\')
        --n;
    txt::Cut(out, n);
    return out;
}

const wchar_t* PathWin::GetFolderNoSlash() { return GetFolderNoSlashInto(scratch_, false)->CStr(); }

StrBuffer* PathWin::GetNameInto(StrBuffer* out, bool append) const
{
    out = Target(out, append);
    txt::AddN(out, title_->Data(), title_->Length());
    txt::AddN(out, extension_->Data(), extension_->Length());
    return out;
}

const wchar_t* PathWin::GetName() { return GetNameInto(scratch_, false)->CStr(); }

StrBuffer* PathWin::GetTitleInto(StrBuffer* out, bool append) const
{
    out = Target(out, append);
    txt::AddN(out, title_->Data(), title_->Length());
    return out;
}

const wchar_t* PathWin::GetTitle() { return GetTitleInto(scratch_, false)->CStr(); }

StrBuffer* PathWin::GetExtensionInto(StrBuffer* out, bool append) const
{
    out = Target(out, append);
    txt::AddN(out, extension_->Data(), extension_->Length());
    return out;
}

const wchar_t* PathWin::GetExtension() { return GetExtensionInto(scratch_, false)->CStr(); }

StrBuffer* PathWin::GetExtensionNoDotInto(StrBuffer* out, bool append) const
{
    out = Target(out, append);
    if (extension_->Length() > 1)
        txt::AddN(out, extension_->Data() + 1, extension_->Length() - 1);
    return out;
}

const wchar_t* PathWin::GetExtensionNoDot()
{
    return GetExtensionNoDotInto(scratch_, false)->CStr();
}

// --- derived paths -------------------------------------------------------------------------

PathWin* PathWin::GetParent() const
{
    if (IsDriveOnly() || fullPath_->Length() == 0)
        return nullptr;
    PathWin* p = Acquire();
    if (!p)
        return nullptr;
    GetFolderNoSlashInto(p->scratch_, false);
    if (!p->SetPath(p->scratch_) || p->GetLength() == 0) {
        p->Release();
        return nullptr;
    }
    return p;
}

PathWin* PathWin::GetChild(const wchar_t* name) const
{
    PathWin* p = Acquire();
    if (!p)
        return nullptr;
    GetFullPathInto(p->scratch_, false);
    txt::AddChar(p->scratch_, L'\\');
    txt::Add(p->scratch_, name);
    p->SetPath(p->scratch_->CStr());
    return p;
}

PathWin* PathWin::GetSibling(const wchar_t* suffix) const
{
    PathWin* p = Acquire();
    if (!p)
        return nullptr;
    GetFolderInto(p->scratch_, false);
    GetTitleInto(p->scratch_, true);
    txt::Add(p->scratch_, suffix);
    p->SetPath(p->scratch_->CStr());
    return p;
}

PathWin* PathWin::WithSuffix(const wchar_t* suffix)
{
    PathWin* p = Acquire();
    if (!p)
        return nullptr;
    GetFolderInto(p->scratch_, false);
    if (Exists() && IsDirectory()) {
        GetNameInto(p->scratch_, true);
        txt::Add(p->scratch_, suffix);
    } else {
        GetTitleInto(p->scratch_, true);
        txt::Add(p->scratch_, suffix);
        GetExtensionInto(p->scratch_, true);
    }
    p->SetPath(p->scratch_->CStr());
    return p;
}

PathWin* PathWin::NewWithSuffix(bool numbered)
{
    if (!Exists())
        return FromText(GetFullPath());
    const bool folder = IsDirectory();
    PathWin* p = Acquire();
    if (!p)
        return nullptr;
    StrBuffer* t = StrBuffer::Acquire();
    for (uint32_t n = 1; n != 0; ++n) {
        GetFolderInto(t, false);
        if (folder)
            GetNameInto(t, true);
        else
            GetTitleInto(t, true);
        if (!numbered)
            txt::Add(t, L" (");
        wchar_t digits[16];
        swprintf(digits, 16, L"%u", n);
        txt::Add(t, digits);
        if (!numbered)
            txt::AddChar(t, L')');
        if (!folder)
            GetExtensionInto(t, true);
        p->SetPath(t->CStr());
        if (!p->Exists())
            break;
    }
    t->Release();
    return p;
}

PathWin* PathWin::GetUniqueName() { return NewWithSuffix(false); }
PathWin* PathWin::GetUniqueNameNumbered() { return NewWithSuffix(true); }

PathWin* PathWin::GetFolderPath() const
{
    PathWin* p = Acquire();
    if (!p)
        return nullptr;
    GetFolderInto(p->scratch_, false);
    p->SetPath(p->scratch_->CStr());
    return p;
}

// --- relative and absolute ------------------------------------------------------------------

const wchar_t* PathWin::MakeRelative(const wchar_t* text, bool treatAsFolder)
{
    StrBuffer* out = scratch_;
    txt::Set(out, text);
    if (!text || !IsSameVolume(text))
        return out->CStr();
    PathWin* other = FromText(text);
    StrBuffer* base = StrBuffer::Acquire();
    if (treatAsFolder)
        GetFullPathInto(base, false);
    else
        GetFolderNoSlashInto(base, false);
    txt::AddChar(base, L'\\');
    StrBuffer* target = other->GetFullPathInto(nullptr, false);
    txt::AddChar(target, L'\\');
    // Common leading components, compared ignoring case up to a separator.
    const wchar_t* a = base->CStr();
    const wchar_t* b = target->CStr();
    uint32_t common = 0;
    for (uint32_t i = 0; a[i] && b[i] && towlower(a[i]) == towlower(b[i]); ++i)
        if (a[i] == L'\\')
            common = i + 1;
    out->Clear();
    for (uint32_t i = common; a[i]; ++i)
        if (a[i] == L'\\')
            txt::Add(out, L"..\\");
    txt::Add(out, b + common);
    uint32_t n = out->Length();
    while (n > 0 && out->Data()[n - 1] == L'\\')
        --n;
    txt::Cut(out, n);
    if (n == 0)
        txt::AddChar(out, L'.');
    target->Release();
    base->Release();
    other->Release();
    return out->CStr();
}

const wchar_t* PathWin::MakeAbsolute(const wchar_t* text, bool treatAsFolder)
{
    StrBuffer* out = scratch_;
    if (!text) {
        out->Clear();
        return out->CStr();
    }
    const bool rooted = (text[0] && text[1] == L':') || (text[0] == L'\\' && text[1] == L'\\');
    if (rooted) {
        txt::Set(out, text);
        return out->CStr();
    }
    StrBuffer* base = StrBuffer::Acquire();
    if (text[0] == L'\\' || text[0] == L'/') {
        // Rooted on this path's volume.
        txt::SetN(base, drive_->Data(), drive_->Length());
    } else if (treatAsFolder) {
        GetFullPathInto(base, false);
    } else {
        GetFolderNoSlashInto(base, false);
    }
    // Walk the relative text component by component, "." stays, ".." goes up.
    const wchar_t* p = text;
    while (*p) {
        const wchar_t* end = p;
        while (*end && *end != L'\\' && *end != L'/')
            ++end;
        const size_t len = size_t(end - p);
        if (len == 2 && p[0] == L'.' && p[1] == L'.') {
            uint32_t n = base->Length();
            while (n > 0 && base->Data()[n - 1] != L'\\')
                --n;
            // Never climb above the drive or the UNC share.
            if (n > 0 && !(n <= 3 && base->Length() <= 2))
                txt::Cut(base, n - 1);
        } else if (len > 0 && !(len == 1 && p[0] == L'.')) {
            txt::AddChar(base, L'\\');
            txt::AddN(base, p, uint32_t(len));
        }
        p = *end ? end + 1 : end;
    }
    txt::SetN(out, base->Data(), base->Length());
    base->Release();
    return out->CStr();
}

} // namespace s::file::win
