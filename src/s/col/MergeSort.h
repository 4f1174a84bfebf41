#pragma once
// The library's one stable sort for lists of pointers (paths, strings, time
// zones, code pages, any ArrayP).
//
// Equal elements keep their input order. Ranges under 7 elements are sorted by
// insertion; two sorted halves that are already in order are copied through
// without merging, so sorted input costs one comparison per range.
// `descending` reverses every comparison (still stable).
//
// Comparison: cmp(a, b) answers negative, 0 or positive for the two pointers
// themselves (an IComparator receives them as its two arguments).
// Needs a scratch copy of the list: answers false, leaving the list untouched,
// when that memory is not available.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "s/base/IComparator.h"

namespace s::col {

using CompareFunction = int (*)(const void* a, const void* b);

namespace detail {

template <class Greater>
void MergeSortRange(void** source, void** target, uint32_t low, uint32_t high, const Greater& greater)
{
    const uint32_t length = high - low;
    if (length < 7) {
        // Insertion: each element moves left while its left neighbour compares greater.
        for (uint32_t i = low + 1; i < high; ++i) {
            void* moving = target[i];
            uint32_t j = i;
            for (; j > low && greater(target[j - 1], moving); --j)
                target[j] = target[j - 1];
            target[j] = moving;
        }
        return;
    }
    const uint32_t mid = low + length / 2;
    // The halves are sorted into `source` so that merging lands in `target`.
    MergeSortRange(target, source, low, mid, greater);
    MergeSortRange(target, source, mid, high, greater);
    if (!greater(source[mid - 1], source[mid])) {
        std::memcpy(target + low, source + low, size_t(length) * sizeof(void*));
        return;
    }
    // Ties take the left element: that keeps the sort stable.
    uint32_t i = low, p = low, q = mid;
    while (p < mid && q < high)
        target[i++] = greater(source[p], source[q]) ? source[q++] : source[p++];
    if (p < mid)
        std::memcpy(target + i, source + p, size_t(mid - p) * sizeof(void*));
    else if (q < high)
        std::memcpy(target + i, source + q, size_t(high - q) * sizeof(void*));
}

} // namespace detail

/// Sorts items[0, count) with cmp (any callable int(const void*, const void*)).
template <class Compare>
bool MergeSortWith(void** items, uint32_t count, const Compare& cmp, bool descending = false)
{
    if (count < 2)
        return true;
    void** scratch = static_cast<void**>(std::malloc(size_t(count) * sizeof(void*)));
    if (!scratch)
        return false;
    std::memcpy(scratch, items, size_t(count) * sizeof(void*));
    if (descending) {
        auto greater = [&cmp](const void* a, const void* b) { return cmp(b, a) > 0; };
        detail::MergeSortRange(scratch, items, 0, count, greater);
    } else {
        auto greater = [&cmp](const void* a, const void* b) { return cmp(a, b) > 0; };
        detail::MergeSortRange(scratch, items, 0, count, greater);
    }
    std::free(scratch);
    return true;
}

/// Sorts with a comparator's CompareElements (or CompareElementsIgnoreCase).
/// A null comparator leaves the list as it is and answers false.
bool MergeSort(void** items, uint32_t count, const s::base::IComparator* comparator,
               bool descending = false, bool ignoreCase = false);

/// Sorts with a plain compare function; null leaves the list as it is and answers false.
bool MergeSort(void** items, uint32_t count, CompareFunction compare, bool descending = false);

} // namespace s::col
