#pragma once
// Orders object pointers: the two arguments ARE the pointers; compared as full-width unsigned addresses.
// Answers -1, 0 or 1; ignoring case changes nothing. Stateless: Instance() is the
// one process-wide object (made on first use, never released by callers);
// NewInstance() makes a separate one that the caller deletes.

#include "s/base/ClassId.h"
#include "s/base/IComparator.h"
#include "s/base/IObject.h"

namespace s::comp {

class CompP : public s::base::IObject, public s::base::IComparator
{
    S_CLASS_ID(L"s_comp_CompP")

public:
    static const CompP& Instance();

    s::base::IObject* NewInstance() const override;
    int CompareElements(const void* a, const void* b) const override;
    int CompareElementsIgnoreCase(const void* a, const void* b) const override;
};

} // namespace s::comp
