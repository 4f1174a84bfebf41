#include "s/col/_array/ArrayS32.h"

#include "s/comp/CompS32.h"

namespace s::col::_array {

namespace {
constexpr ElementDescriptor DESCRIPTOR{5, sizeof(int32_t), false, true, L"int32"};
} // namespace

const ElementDescriptor* ArrayS32::GetElementDescriptor() const
{
    return &DESCRIPTOR;
}

const s::base::IComparator* ArrayS32::DefaultComparator() const
{
    return &s::comp::CompS32::Instance();
}

} // namespace s::col::_array
