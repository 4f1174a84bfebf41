#pragma once
// A pooled array of unsigned 8-bit values (bytes): Acquire() / Release().
// Add/Get/Set/IndexOf/Items from ValueArray; everything else from ArrayBase.
// Used by one thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/col/_array/ValueArray.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {

class ArrayU08 : public ValueArray<uint8_t>
{
    S_CLASS_ID(L"s_col__array_ArrayU08")
    S_POOLED(ArrayU08)

public:
    ArrayU08() = default;

    const ElementDescriptor* GetElementDescriptor() const override;
    /// s::comp::CompU08.
    const s::base::IComparator* DefaultComparator() const override;
    /// FreeAll().
    void Reset() override { FreeAll(); }
};

} // namespace s::col::_array
