#pragma once
// The pooled iterator of the arrays (see s/col/IteratorBase.h for the walk).
// Steps by the array's element size; Next()/Previous() answer the address of
// the element (for ArrayP: the address of the pointer slot).
// Get one from the array (Begin(), End(), IteratorAt(), IteratorFromEnd()) and
// Release() it when done.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/col/IteratorBase.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {

class ArrayBase;

class Iterator : public s::col::IteratorBase
{
    S_CLASS_ID(L"s_col_array_Iterator")
    S_POOLED(Iterator)

public:
    /// Positions the iterator on `array` (not owned): index, and the pointer at element pointerIndex.
    void Attach(ArrayBase* array, int32_t index, uint32_t pointerIndex);
    ArrayBase* Array() const { return array_; }

    int32_t GetIndex() const override { return index_; }
    void SetIndex(int32_t index) override;
    bool HasNext() const override;
    bool HasPrevious() const override { return index_ > 0; }
    void Skip(int32_t n) override;
    void Back(int32_t n) override;
    void* Next() override;
    void* Previous() override;
    /// No array, index -1.
    void Reset() override;

protected:
    Iterator() = default;
    ~Iterator() override = default;

private:
    ArrayBase* array_ = nullptr;
    unsigned char* pointer_ = nullptr;
    int32_t index_ = -1;
    uint32_t step_ = 1;
};

} // namespace s::col::_array
