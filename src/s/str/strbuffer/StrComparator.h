#pragma once
// The order of strings for lists and sorts: the two elements are StrBuffer
// pointers (as ArrayP and the merge sort hand them over).
//
// CompareElements: StrBuffer::Compare (UTF-16LE byte order, then the shorter
// first). CompareElementsIgnoreCase: StrBuffer::CompareIgnoreCase (_wcsnicmp,
// then the shorter first). A null element orders before every string.
//
//     list->Sort(&StrComparator::Instance(), false, true);   // ArrayP of StrBuffer*
//
// One process-wide instance, stateless, callable from any thread. Not pooled.

#include "s/base/ClassId.h"
#include "s/base/IComparator.h"
#include "s/base/IObject.h"

namespace s::str::strbuffer {

class StrComparator : public s::base::IObject, public s::base::IComparator
{
    S_CLASS_ID(L"s_str_strbuffer_StrComparator")

public:
    static const StrComparator& Instance();

    int CompareElements(const void* a, const void* b) const override;
    int CompareElementsIgnoreCase(const void* a, const void* b) const override;
    /// A new comparator; the caller deletes it (prefer Instance()).
    s::base::IObject* NewInstance() const override { return new StrComparator(); }
};

} // namespace s::str::strbuffer
