#include "s/str/strarray/StrArray.h"

#include "s/str/strbuffer/StrBuffer.h"
#include "s/str/strbuffer/StrComparator.h"

namespace s::str::strarray {

using s::str::strbuffer::StrBuffer;

StrArray::StrArray()
{
    list_.SetElementDestructor(&StrBuffer::Pool());
}

void StrArray::Reset()
{
    if (list_.Count() > 0 || list_.Capacity() > 0)
        list_.FreeAll();
    list_.SetElementDestructor(&StrBuffer::Pool());
}

StrBuffer* StrArray::Add(const wchar_t* chars, int32_t count)
{
    StrBuffer* s = StrBuffer::Acquire(chars, count);
    if (s)
        list_.Add(s);
    return s;
}

StrBuffer* StrArray::Add(const StrBuffer& text)
{
    StrBuffer* s = StrBuffer::Acquire(text);
    if (s)
        list_.Add(s);
    return s;
}

void StrArray::AddOwned(StrBuffer* text)
{
    if (text)
        list_.Add(text);
}

int32_t StrArray::IndexOf(const wchar_t* text) const
{
    for (uint32_t i = 0, n = list_.Count(); i < n; ++i)
        if (Get(i)->Equals(text))
            return int32_t(i);
    return -1;
}

int32_t StrArray::IndexOfIgnoreCase(const wchar_t* text) const
{
    for (uint32_t i = 0, n = list_.Count(); i < n; ++i)
        if (Get(i)->EqualsIgnoreCase(text))
            return int32_t(i);
    return -1;
}

int32_t StrArray::IndexOfIgnoreCase(const StrBuffer& text) const
{
    for (uint32_t i = 0, n = list_.Count(); i < n; ++i)
        if (Get(i)->EqualsIgnoreCase(text))
            return int32_t(i);
    return -1;
}

bool StrArray::Sort(bool ignoreCase, bool descending)
{
    return list_.Sort(&s::str::strbuffer::StrComparator::Instance(), descending, ignoreCase);
}

StrBuffer* StrArray::Join(const wchar_t* separator, StrBuffer* target, bool append) const
{
    StrBuffer* out = target ? target : StrBuffer::Acquire();
    if (!out)
        return nullptr;
    if (!append)
        out->Clear();
    for (uint32_t i = 0, n = list_.Count(); i < n; ++i) {
        if (i > 0 && separator)
            out->Append(separator);
        out->Append(*Get(i));
    }
    return out;
}

bool StrArray::SameStrings(const s::base::IComparable* other, bool ignoreCase) const
{
    const StrArray* o = dynamic_cast<const StrArray*>(other);
    if (!o)
        return other == this;
    if (o->Count() != Count())
        return false;
    for (uint32_t i = 0, n = Count(); i < n; ++i) {
        const bool same = ignoreCase ? Get(i)->EqualsIgnoreCase(*o->Get(i)) : Get(i)->Equals(*o->Get(i));
        if (!same)
            return false;
    }
    return true;
}

bool StrArray::Equals(const s::base::IComparable* other,
                      const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElements(this, other) == 0;
    return SameStrings(other, false);
}

bool StrArray::EqualsIgnoreCase(const s::base::IComparable* other,
                                const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElementsIgnoreCase(this, other) == 0;
    return SameStrings(other, true);
}

} // namespace s::str::strarray
