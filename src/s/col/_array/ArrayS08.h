#pragma once
// A pooled array of signed 8-bit values: Acquire() / Release().
// Add/Get/Set/IndexOf/Items from ValueArray; everything else from ArrayBase.
// Used by one thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/col/_array/ValueArray.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {

class ArrayS08 : public ValueArray<int8_t>
{
    S_CLASS_ID(L"s_col__array_ArrayS08")
    S_POOLED(ArrayS08)

public:
    ArrayS08() = default;

    const ElementDescriptor* GetElementDescriptor() const override;
    /// s::comp::CompS08.
    const s::base::IComparator* DefaultComparator() const override;
    /// FreeAll().
    void Reset() override { FreeAll(); }
};

} // namespace s::col::_array
