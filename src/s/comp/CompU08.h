#pragma once
// Orders unsigned 8-bit values; the arguments point at the values.
// Answers -1, 0 or 1; ignoring case changes nothing. Stateless: Instance() is the
// one process-wide object (made on first use, never released by callers);
// NewInstance() makes a separate one that the caller deletes.

#include "s/base/ClassId.h"
#include "s/base/IComparator.h"
#include "s/base/IObject.h"

namespace s::comp {

class CompU08 : public s::base::IObject, public s::base::IComparator
{
    S_CLASS_ID(L"s_comp_CompU08")

public:
    static const CompU08& Instance();

    s::base::IObject* NewInstance() const override;
    int CompareElements(const void* a, const void* b) const override;
    int CompareElementsIgnoreCase(const void* a, const void* b) const override;
};

} // namespace s::comp
