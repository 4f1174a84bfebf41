#include "s/col/_array/Iterator.h"

#include "s/col/_array/ArrayBase.h"

namespace s::col::_array {

void Iterator::Attach(ArrayBase* array, int32_t index, uint32_t pointerIndex)
{
    array_ = array;
    step_ = array ? array->ElementSize() : 1;
    index_ = index;
    pointer_ = array ? static_cast<unsigned char*>(array->Data()) + size_t(pointerIndex) * step_
                     : nullptr;
}

void Iterator::SetIndex(int32_t index)
{
    Attach(array_, index, uint32_t(index + 1));
}

bool Iterator::HasNext() const
{
    return array_ && int64_t(index_) < int64_t(array_->Count()) - 1;
}

void Iterator::Skip(int32_t n)
{
    index_ += n;
    pointer_ += ptrdiff_t(n) * ptrdiff_t(step_);
}

void Iterator::Back(int32_t n)
{
    Skip(-n);
}

void* Iterator::Next()
{
    unsigned char* current = pointer_;
    pointer_ += step_;
    ++index_;
    return current;
}

void* Iterator::Previous()
{
    pointer_ -= step_;
    --index_;
    return pointer_;
}

void Iterator::Reset()
{
    array_ = nullptr;
    pointer_ = nullptr;
    index_ = -1;
    step_ = 1;
}

} // namespace s::col::_array
