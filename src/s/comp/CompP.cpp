#include "s/comp/CompP.h"

#include <cstdint>

namespace s::comp {

const CompP& CompP::Instance()
{
    static const CompP instance;
    return instance;
}

s::base::IObject* CompP::NewInstance() const
{
    return new CompP();
}

int CompP::CompareElements(const void* a, const void* b) const
{
    const uintptr_t x = reinterpret_cast<uintptr_t>(a);
    const uintptr_t y = reinterpret_cast<uintptr_t>(b);
    return x == y ? 0 : (x < y ? -1 : 1);
}

int CompP::CompareElementsIgnoreCase(const void* a, const void* b) const
{
    return CompareElements(a, b);
}

} // namespace s::comp
