#include "s/col/_array/ArrayU08.h"

#include "s/comp/CompU08.h"

namespace s::col::_array {

namespace {
constexpr ElementDescriptor DESCRIPTOR{5, sizeof(uint8_t), false, false, L"uint8"};
} // namespace

const ElementDescriptor* ArrayU08::GetElementDescriptor() const
{
    return &DESCRIPTOR;
}

const s::base::IComparator* ArrayU08::DefaultComparator() const
{
    return &s::comp::CompU08::Instance();
}

} // namespace s::col::_array
