#include "s/str/strbuffer/StrComparator.h"

#include "s/str/strbuffer/StrBuffer.h"

namespace s::str::strbuffer {

const StrComparator& StrComparator::Instance()
{
    static const StrComparator instance;
    return instance;
}

int StrComparator::CompareElements(const void* a, const void* b) const
{
    if (!a || !b)
        return a == b ? 0 : (a ? 1 : -1);
    return static_cast<const StrBuffer*>(a)->Compare(*static_cast<const StrBuffer*>(b));
}

int StrComparator::CompareElementsIgnoreCase(const void* a, const void* b) const
{
    if (!a || !b)
        return a == b ? 0 : (a ? 1 : -1);
    return static_cast<const StrBuffer*>(a)->CompareIgnoreCase(*static_cast<const StrBuffer*>(b));
}

} // namespace s::str::strbuffer
