#include "s/base/IComparable.h"

#include "s/base/IComparator.h"

#include <cstdint>
#include <typeinfo>

namespace s::base {

int IComparable::Compare(const IComparable* other, const IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElements(this, other);
    // Addresses compared as full-width unsigned numbers: the order of two
    // unrelated objects must never collapse to "equal".
    const uintptr_t a = reinterpret_cast<uintptr_t>(this);
    const uintptr_t b = reinterpret_cast<uintptr_t>(other);
    return a == b ? 0 : (a < b ? -1 : 1);
}

int IComparable::CompareIgnoreCase(const IComparable* other, const IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElementsIgnoreCase(this, other);
    return Compare(other, nullptr);
}

bool IComparable::Equals(const IComparable* other, const IComparator* comparator) const
{
    return Compare(other, comparator) == 0;
}

bool IComparable::EqualsIgnoreCase(const IComparable* other, const IComparator* comparator) const
{
    return CompareIgnoreCase(other, comparator) == 0;
}

uint32_t IComparable::HashCode() const
{
    const size_t h = typeid(*this).hash_code();
    return static_cast<uint32_t>(h ^ (static_cast<uint64_t>(h) >> 32));
}

uint32_t IComparable::HashCodeIgnoreCase() const
{
    return HashCode();
}

} // namespace s::base
