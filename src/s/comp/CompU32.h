#pragma once
// Orders unsigned 32-bit values; the arguments point at the values.
// Answers -1, 0 or 1; ignoring case changes nothing. Stateless: Instance() is the
// one process-wide object (made on first use, never released by callers);
// NewInstance() makes a separate one that the caller deletes.

#include "s/base/ClassId.h"
#include "s/base/IComparator.h"
#include "s/base/IObject.h"

namespace s::comp {

class CompU32 : public s::base::IObject, public s::base::IComparator
{
    S_CLASS_ID(L"s_comp_CompU32")

public:
    static const CompU32& Instance();

    s::base::IObject* NewInstance() const override;
    int CompareElements(const void* a, const void* b) const override;
    int CompareElementsIgnoreCase(const void* a, const void* b) const override;
};

} // namespace s::comp
