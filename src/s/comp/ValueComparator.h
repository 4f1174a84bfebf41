#pragma once
// The common body of the comparators of plain values (CompU08, CompS08, CompS32,
// CompU32): the arguments point at two values of type T, compared as T; answers
// -1, 0 or 1, and ignoring case changes nothing. Stateless: Instance() is the one
// process-wide object (made on first use, never released by callers);
// NewInstance() makes a separate one that the caller deletes.

#include "s/base/IComparator.h"
#include "s/base/IObject.h"

namespace s::comp {

template <class T, class Self>
class ValueComparator : public s::base::IObject, public s::base::IComparator
{
public:
    static const Self& Instance()
    {
        static const Self instance;
        return instance;
    }

    s::base::IObject* NewInstance() const override { return new Self(); }

    int CompareElements(const void* a, const void* b) const override
    {
        const T x = *static_cast<const T*>(a);
        const T y = *static_cast<const T*>(b);
        return x == y ? 0 : (x < y ? -1 : 1);
    }

    int CompareElementsIgnoreCase(const void* a, const void* b) const override
    {
        return CompareElements(a, b);
    }
};

} // namespace s::comp
