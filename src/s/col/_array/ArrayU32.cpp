#include "s/col/_array/ArrayU32.h"

#include "s/comp/CompU32.h"

namespace s::col::_array {

namespace {
constexpr ElementDescriptor DESCRIPTOR{5, sizeof(uint32_t), false, false, L"uint32"};
} // namespace

const ElementDescriptor* ArrayU32::GetElementDescriptor() const
{
    return &DESCRIPTOR;
}

const s::base::IComparator* ArrayU32::DefaultComparator() const
{
    return &s::comp::CompU32::Instance();
}

} // namespace s::col::_array
