#pragma once
// The common part of the arrays of plain values (ArrayU08, ArrayS08, ArrayS32,
// ArrayU32): typed access on top of ArrayBase. Not used on its own.

#include <cstdint>

#include "s/col/_array/ArrayBase.h"

namespace s::col::_array {

template <class E>
class ValueArray : public ArrayBase
{
    static_assert(sizeof(E) == 1 || sizeof(E) == 2 || sizeof(E) == 4 || sizeof(E) == 8);

public:
    using Element = E;

    /// Appends one value (grows one step when full).
    void Add(E value)
    {
        if (Count() == Capacity())
            Grow();
        Items()[Count()] = value;
        SetCountFast(Count() + 1);
    }
    E Get(uint32_t index) const { return Items()[index]; }
    void Set(uint32_t index, E value) { Items()[index] = value; }
    /// Index of the first element equal to value, or -1.
    int32_t IndexOf(E value) const
    {
        const E* items = Items();
        for (uint32_t i = 0, n = Count(); i < n; ++i) {
            if (items[i] == value)
                return int32_t(i);
        }
        return -1;
    }
    E* Items() { return static_cast<E*>(Data()); }
    const E* Items() const { return static_cast<const E*>(Data()); }

    int32_t ElementKind() const override { return 5; }
    /// "%u" for unsigned, "%d" for signed values.
    void AppendElementText(StrBuffer* string, const void* element) const override;
    /// Two lower-case hexadecimal digits per byte of the value ("%02x", "%08x").
    void AppendElementHex(StrBuffer* string, const void* element) const override;
    StrBuffer* AppendAllHex(StrBuffer* string = nullptr, bool append = false) const override;

protected:
    ValueArray() : ArrayBase(sizeof(E) == 1 ? 0 : sizeof(E) == 2 ? 1 : sizeof(E) == 4 ? 2 : 3) {}
};

// Defined once, in ValueArray.cpp.
extern template class ValueArray<uint8_t>;
extern template class ValueArray<int8_t>;
extern template class ValueArray<int32_t>;
extern template class ValueArray<uint32_t>;

} // namespace s::col::_array
