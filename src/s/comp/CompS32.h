#pragma once
// Orders signed 32-bit values; the arguments point at the values (see ValueComparator.h).

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/comp/ValueComparator.h"

namespace s::comp {

class CompS32 : public ValueComparator<int32_t, CompS32>
{
    S_CLASS_ID(L"s_comp_CompS32")
};

} // namespace s::comp
