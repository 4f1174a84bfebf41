#include "s/comp/CompS32.h"

#include <cstdint>

namespace s::comp {

const CompS32& CompS32::Instance()
{
    static const CompS32 instance;
    return instance;
}

s::base::IObject* CompS32::NewInstance() const
{
    return new CompS32();
}

int CompS32::CompareElements(const void* a, const void* b) const
{
    const int32_t x = *static_cast<const int32_t*>(a);
    const int32_t y = *static_cast<const int32_t*>(b);
    return x == y ? 0 : (x < y ? -1 : 1);
}

int CompS32::CompareElementsIgnoreCase(const void* a, const void* b) const
{
    return CompareElements(a, b);
}

} // namespace s::comp
