#pragma once
// Orders unsigned 32-bit values; the arguments point at the values (see ValueComparator.h).

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/comp/ValueComparator.h"

namespace s::comp {

class CompU32 : public ValueComparator<uint32_t, CompU32>
{
    S_CLASS_ID(L"s_comp_CompU32")
};

} // namespace s::comp
