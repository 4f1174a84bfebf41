#include "s/comp/CompU08.h"

#include <cstdint>

namespace s::comp {

const CompU08& CompU08::Instance()
{
    static const CompU08 instance;
    return instance;
}

s::base::IObject* CompU08::NewInstance() const
{
    return new CompU08();
}

int CompU08::CompareElements(const void* a, const void* b) const
{
    const uint8_t x = *static_cast<const uint8_t*>(a);
    const uint8_t y = *static_cast<const uint8_t*>(b);
    return x == y ? 0 : (x < y ? -1 : 1);
}

int CompU08::CompareElementsIgnoreCase(const void* a, const void* b) const
{
    return CompareElements(a, b);
}

} // namespace s::comp
