#include "s/comp/CompS08.h"

#include <cstdint>

namespace s::comp {

const CompS08& CompS08::Instance()
{
    static const CompS08 instance;
    return instance;
}

s::base::IObject* CompS08::NewInstance() const
{
    return new CompS08();
}

int CompS08::CompareElements(const void* a, const void* b) const
{
    const int8_t x = *static_cast<const int8_t*>(a);
    const int8_t y = *static_cast<const int8_t*>(b);
    return x == y ? 0 : (x < y ? -1 : 1);
}

int CompS08::CompareElementsIgnoreCase(const void* a, const void* b) const
{
    return CompareElements(a, b);
}

} // namespace s::comp
