#pragma once
// Orders unsigned 8-bit values; the arguments point at the values (see ValueComparator.h).

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/comp/ValueComparator.h"

namespace s::comp {

class CompU08 : public ValueComparator<uint8_t, CompU08>
{
    S_CLASS_ID(L"s_comp_CompU08")
};

} // namespace s::comp
