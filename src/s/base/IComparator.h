#pragma once
// Element order for lists and sorts.
//
// What "an element" is depends on the list: for a list of object pointers
// (ArrayP and everything sorted with the merge sort) the two arguments ARE the
// object pointers; for value arrays (ArrayS32, ...) they point at the values.
// Both operations answer a negative number, 0 or a positive number.
//
// Comparators are stateless and shared: every method is const and safe to call
// from any thread.

namespace s::base {

class IComparator
{
public:
    virtual ~IComparator() = default;

    virtual int CompareElements(const void* a, const void* b) const = 0;
    virtual int CompareElementsIgnoreCase(const void* a, const void* b) const = 0;
};

} // namespace s::base
