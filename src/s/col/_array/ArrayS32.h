#pragma once
// A pooled array of signed 32-bit values: Acquire() / Release().
// Add/Get/Set/IndexOf/Items from ValueArray; everything else from ArrayBase.
// Used by one thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/col/_array/ValueArray.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {

class ArrayS32 : public ValueArray<int32_t>
{
    S_CLASS_ID(L"s_col__array_ArrayS32")
    S_POOLED(ArrayS32)

public:
    ArrayS32() = default;

    const ElementDescriptor* GetElementDescriptor() const override;
    /// s::comp::CompS32.
    const s::base::IComparator* DefaultComparator() const override;
    /// FreeAll().
    void Reset() override { FreeAll(); }
};

} // namespace s::col::_array
