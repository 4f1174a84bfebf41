#pragma once
// Orders signed 8-bit values; the arguments point at the values (see ValueComparator.h).

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/comp/ValueComparator.h"

namespace s::comp {

class CompS08 : public ValueComparator<int8_t, CompS08>
{
    S_CLASS_ID(L"s_comp_CompS08")
};

} // namespace s::comp
