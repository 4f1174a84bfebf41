#pragma once
// A collection that hands out pooled iterators (see IteratorBase.h).
//
// Every iterator returned belongs to the caller, who calls Release() on it.
// Begin(): index -1, pointer at the first element. End(): index = count, pointer
// after the last element (walk back with Previous()). IteratorAt(i): pointer at
// element i, index i - 1. IteratorFromEnd(i): IteratorAt(count - i).
// PointerAt(i): the address of element i (not checked).

#include <cstdint>

#include "s/col/IteratorBase.h"

namespace s::col {

class IEnumerable
{
public:
    virtual ~IEnumerable() = default;

    virtual IteratorBase* Begin() = 0;
    virtual IteratorBase* End() = 0;
    virtual IteratorBase* IteratorAt(uint32_t index) = 0;
    virtual IteratorBase* IteratorFromEnd(uint32_t index) = 0;
    virtual void* PointerAt(uint32_t index) = 0;
};

} // namespace s::col
