#include "s/file/win/PathArray.h"

#include <cwchar>

#include "s/col/MergeSort.h"
#include "s/col/_array/ArrayU32.h"
#include "s/file/Extension.h"
#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::file::win {

s::thread::EasyPooler& PathArray::Pool()
{
    // Lists kept at exit own strings, flags and (when not yet reset) paths.
    static s::thread::EasyPooler& strings = StrBuffer::Pool();
    static s::thread::EasyPooler& flags = s::col::_array::ArrayU32::Pool();
    static s::thread::EasyPooler& paths = PathWin::Pool();
    static s::thread::EasyPooler pool(s::thread::EasyPooler::CLASS_POOL_MAX,
                                      &s::thread::PoolHooks<PathArray>::Create,
                                      &s::thread::PoolHooks<PathArray>::Destroy,
                                      &s::thread::PoolHooks<PathArray>::Recycle);
    (void)strings;
    (void)flags;
    (void)paths;
    return pool;
}

namespace {

// Ignoring case over the common length, then the shorter first.
int CompareTexts(const StrBuffer* a, const StrBuffer* b)
{
    const uint32_t na = a->Length(), nb = b->Length();
    const uint32_t common = na < nb ? na : nb;
    if (common) {
        const int c = _wcsnicmp(a->Data(), b->Data(), common);
        if (c)
            return c;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

int ByFullPath(const void* a, const void* b)
{
    return CompareTexts(static_cast<const PathWin*>(a)->FullPathString(),
                        static_cast<const PathWin*>(b)->FullPathString());
}

int ByExtension(const void* a, const void* b)
{
    return CompareTexts(static_cast<const PathWin*>(a)->ExtensionPart(),
                        static_cast<const PathWin*>(b)->ExtensionPart());
}

} // namespace

PathArray::PathArray() : scratch_(StrBuffer::Acquire())
{
    list_.SetElementDestructor(&PathWin::Pool());
}

PathArray::~PathArray()
{
    list_.FreeAll();
    if (flags_)
        flags_->Release();
    if (scratch_)
        scratch_->Release();
}

void PathArray::Reset()
{
    list_.FreeAll();
    list_.SetElementDestructor(&PathWin::Pool());
    if (flags_) {
        flags_->Release();
        flags_ = nullptr;
    }
    scratch_->Clear();
}

uint32_t PathArray::Count() const { return list_.Count(); }

PathWin* PathArray::Get(uint32_t index) const { return static_cast<PathWin*>(list_.Get(index)); }

void PathArray::Insert(uint32_t index, PathWin* path)
{
    if (!path)
        return;
    void* element = path;
    if (flags_)
        EnsureFlags();
    list_.Insert(index, &element, 1);
    if (flags_) {
        const uint32_t zero = 0;
        flags_->Insert(index, &zero, 1);
    }
}

void PathArray::Insert(uint32_t index, const wchar_t* text) { Insert(index, PathWin::FromText(text)); }

void PathArray::Append(PathWin* path) { Insert(list_.Count(), path); }

void PathArray::Append(const wchar_t* text) { Append(PathWin::FromText(text)); }

void PathArray::RemoveAt(uint32_t index)
{
    PathWin* p = TakeAt(index);
    if (p)
        p->Release();
}

PathWin* PathArray::TakeAt(uint32_t index)
{
    if (index >= list_.Count())
        return nullptr;
    if (flags_ && index < flags_->Count())
        flags_->RemoveRange(index, 1);
    return static_cast<PathWin*>(list_.TakeAt(index));
}

void PathArray::Clear()
{
    list_.FreeAll();
    list_.SetElementDestructor(&PathWin::Pool());
    if (flags_)
        flags_->Clear();
}

int32_t PathArray::Find(const PathWin* path) const
{
    if (!path)
        return -1;
    for (uint32_t i = 0, n = list_.Count(); i < n; ++i)
        if (Get(i)->Equals(path))
            return int32_t(i);
    return -1;
}

int32_t PathArray::FindIgnoreCase(const PathWin* path) const
{
    if (!path)
        return -1;
    for (uint32_t i = 0, n = list_.Count(); i < n; ++i)
        if (Get(i)->EqualsIgnoreCase(path))
            return int32_t(i);
    return -1;
}

int32_t PathArray::IndexOfText(const wchar_t* text, bool ignoreCase) const
{
    PathWin* p = PathWin::FromText(text);
    if (!p)
        return -1;
    const int32_t at = ignoreCase ? FindIgnoreCase(p) : Find(p);
    p->Release();
    return at;
}

const wchar_t* PathArray::Join(uint32_t* length)
{
    scratch_->Clear();
    for (uint32_t i = 0, n = list_.Count(); i < n; ++i) {
        const StrBuffer* full = Get(i)->FullPathString();
        if (full->Length())
            scratch_->Append(full->Data(), int32_t(full->Length()));
        scratch_->AppendChar(0);
    }
    if (length)
        *length = scratch_->Length();
    scratch_->AppendChar(0);
    return scratch_->Data();
}

void PathArray::SortByFullPath()
{
    s::col::MergeSort(list_.Items(), list_.Count(), &ByFullPath);
    if (flags_)
        flags_->Clear();
}

void PathArray::SortByExtension()
{
    s::col::MergeSort(list_.Items(), list_.Count(), &ByExtension);
    if (flags_)
        flags_->Clear();
}

s::col::_array::ArrayP* PathArray::GroupByExtension()
{
    SortByExtension();
    s::col::_array::ArrayP* groups = s::col::_array::ArrayP::Acquire(&s::file::Extension::Pool());
    if (!groups)
        return nullptr;
    s::file::Extension* current = nullptr;
    for (uint32_t i = 0, n = list_.Count(); i < n; ++i) {
        PathWin* p = Get(i);
        const StrBuffer* ext = p->ExtensionPart();
        if (!current || CompareTexts(static_cast<PathWin*>(current->Get(0))->ExtensionPart(), ext) != 0) {
            current = s::file::Extension::Acquire();
            if (!current)
                break;
            current->SetText(ext->Data(), ext->Length());
            groups->Add(current);
        }
        current->Add(p);
    }
    return groups;
}

void PathArray::EnsureFlags()
{
    if (!flags_)
        flags_ = s::col::_array::ArrayU32::Acquire();
    if (flags_ && flags_->Count() < list_.Count()) {
        const uint32_t from = flags_->Count();
        flags_->SetCount(list_.Count());
        for (uint32_t i = from; i < list_.Count(); ++i)
            flags_->Set(i, 0);
    }
}

uint32_t PathArray::GetFlag(uint32_t index) const
{
    return flags_ && index < flags_->Count() ? flags_->Get(index) : 0;
}

void PathArray::SetFlag(uint32_t index, uint32_t flag)
{
    EnsureFlags();
    if (flags_ && index < flags_->Count())
        flags_->Set(index, flag);
}

} // namespace s::file::win
