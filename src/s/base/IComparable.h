#pragma once
// Root interface of everything that can be ordered, tested for equality and hashed.
//
// The defaults here order objects by address and hash by class, which is what a
// class without a natural order wants; value classes (strings, paths, arrays)
// override them. A comparator, when given, always wins: Compare(other, c)
// answers c->CompareElements(this, other).
//
// `other` stays with its owner; nothing here keeps or releases it. A null
// `other` orders before every object.

#include <cstdint>

namespace s::base {

class IComparator;

class IComparable
{
public:
    virtual ~IComparable() = default;

    /// -1, 0 or 1 without comparator; the comparator's answer with one.
    virtual int Compare(const IComparable* other, const IComparator* comparator = nullptr) const;
    /// Without comparator: Compare(other) without comparator.
    virtual int CompareIgnoreCase(const IComparable* other,
                                  const IComparator* comparator = nullptr) const;
    /// Compare(...) == 0.
    virtual bool Equals(const IComparable* other, const IComparator* comparator = nullptr) const;
    /// CompareIgnoreCase(...) == 0.
    virtual bool EqualsIgnoreCase(const IComparable* other,
                                  const IComparator* comparator = nullptr) const;
    /// The same value for every object of one class unless the class overrides it.
    virtual uint32_t HashCode() const;
    /// HashCode() unless the class overrides it.
    virtual uint32_t HashCodeIgnoreCase() const;
};

} // namespace s::base
