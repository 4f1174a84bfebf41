#include "s/col/_array/ArrayS08.h"

#include "s/comp/CompS08.h"

namespace s::col::_array {

namespace {
constexpr ElementDescriptor DESCRIPTOR{5, sizeof(int8_t), false, true, L"int8"};
} // namespace

const ElementDescriptor* ArrayS08::GetElementDescriptor() const
{
    return &DESCRIPTOR;
}

const s::base::IComparator* ArrayS08::DefaultComparator() const
{
    return &s::comp::CompS08::Instance();
}

} // namespace s::col::_array
