#pragma once
// A pooled list of pooled strings.
//
// The list owns its strings: they go back to the StrBuffer pool when they are
// removed through the list (RemoveAll, RemoveAt, DropLast...), when the list is
// released, and when its pool recycles it. List().Clear() forgets the pointers
// WITHOUT releasing them (only for strings the caller took over with TakeAt).
//
//     StrArray* parts = path->Split(L'\\');
//     for (uint32_t i = 0; i < parts->Count(); ++i) use(parts->Get(i)->CStr());
//     parts->Release();                  // releases every string too
//
// Used by one thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/col/_array/ArrayP.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::str::strarray {

class StrArray : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_str_strarray_StrArray")
    S_POOLED(StrArray)

public:
    using StrBuffer = s::str::strbuffer::StrBuffer;

    /// The embedded list (element destructor: the StrBuffer pool).
    s::col::_array::ArrayP& List() { return list_; }
    const s::col::_array::ArrayP& List() const { return list_; }

    uint32_t Count() const { return list_.Count(); }
    bool IsEmpty() const { return list_.Count() == 0; }
    /// The string at index (still owned by the list).
    StrBuffer* Get(uint32_t index) const { return static_cast<StrBuffer*>(list_.Get(index)); }
    StrBuffer* Last() const { return static_cast<StrBuffer*>(list_.Last()); }

    /// Appends a pooled copy of the text (count -1: up to the terminating 0); answers it.
    StrBuffer* Add(const wchar_t* chars, int32_t count = -1);
    /// Appends a pooled copy of text; answers it.
    StrBuffer* Add(const StrBuffer& text);
    /// Appends text itself: the list takes it over (null is ignored).
    void AddOwned(StrBuffer* text);

    /// Index of the first string equal to text (same units), or -1.
    int32_t IndexOf(const wchar_t* text) const;
    /// Index of the first string equal to text ignoring case (_wcsnicmp), or -1.
    int32_t IndexOfIgnoreCase(const wchar_t* text) const;
    int32_t IndexOfIgnoreCase(const StrBuffer& text) const;

    /// Releases the string at index and closes the gap.
    void RemoveAt(uint32_t index) { list_.RemoveAt(index); }
    /// Hands the string at index to the caller (who releases it) and closes the gap.
    StrBuffer* TakeAt(uint32_t index) { return static_cast<StrBuffer*>(list_.TakeAt(index)); }
    /// Releases every string and frees the storage.
    void RemoveAll() { list_.FreeAll(); }

    /// Stable sort by StrBuffer::Compare (UTF-16LE byte order), or ignoring case by
    /// StrBuffer::CompareIgnoreCase (_wcsnicmp, then the shorter first).
    bool Sort(bool ignoreCase = false, bool descending = false);

    /// The strings joined with separator (may be null) into target (appended when
    /// append). Answers target, or a new pooled string when target is null.
    StrBuffer* Join(const wchar_t* separator, StrBuffer* target = nullptr,
                    bool append = false) const;

    /// Without comparator: another StrArray with the same count and equal strings.
    bool Equals(const s::base::IComparable* other,
                const s::base::IComparator* comparator = nullptr) const override;
    /// The same with the strings compared ignoring case (_wcsnicmp).
    bool EqualsIgnoreCase(const s::base::IComparable* other,
                          const s::base::IComparator* comparator = nullptr) const override;

    /// Releases every string; the list's storage is freed when it held any.
    void Reset() override;

protected:
    StrArray();
    ~StrArray() override = default;

private:
    bool SameStrings(const s::base::IComparable* other, bool ignoreCase) const;

    s::col::_array::ArrayP list_;
};

} // namespace s::str::strarray
