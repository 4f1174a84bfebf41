#include "s/col/MergeSort.h"

namespace s::col {

bool MergeSort(void** items, uint32_t count, const s::base::IComparator* comparator,
               bool descending, bool ignoreCase)
{
    if (!comparator)
        return false;
    if (ignoreCase)
        return MergeSortWith(
            items, count,
            [comparator](const void* a, const void* b) {
                return comparator->CompareElementsIgnoreCase(a, b);
            },
            descending);
    return MergeSortWith(
        items, count,
        [comparator](const void* a, const void* b) { return comparator->CompareElements(a, b); },
        descending);
}

bool MergeSort(void** items, uint32_t count, CompareFunction compare, bool descending)
{
    if (!compare)
        return false;
    return MergeSortWith(items, count, compare, descending);
}

} // namespace s::col
