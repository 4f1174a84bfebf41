#include "s/comp/CompU32.h"

#include <cstdint>

namespace s::comp {

const CompU32& CompU32::Instance()
{
    static const CompU32 instance;
    return instance;
}

s::base::IObject* CompU32::NewInstance() const
{
    return new CompU32();
}

int CompU32::CompareElements(const void* a, const void* b) const
{
    const uint32_t x = *static_cast<const uint32_t*>(a);
    const uint32_t y = *static_cast<const uint32_t*>(b);
    return x == y ? 0 : (x < y ? -1 : 1);
}

int CompU32::CompareElementsIgnoreCase(const void* a, const void* b) const
{
    return CompareElements(a, b);
}

} // namespace s::comp
