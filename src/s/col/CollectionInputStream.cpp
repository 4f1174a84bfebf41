#include "s/col/CollectionInputStream.h"

#include <cstring>

#include "s/col/_array/ArrayBase.h"

namespace s::col {

void CollectionInputStream::Open(const s::col::_array::ArrayBase* array)
{
    array_ = array;
    position_ = 0;
}

int64_t CollectionInputStream::Size() const
{
    return array_ ? int64_t(array_->ByteSize(-1)) : 0;
}

bool CollectionInputStream::Read(void* buffer, uint32_t n, uint32_t* read)
{
    const int64_t size = Size();
    int64_t available = position_ < size ? size - position_ : 0;
    if (int64_t(n) < available)
        available = n;
    if (!buffer)
        available = 0;
    if (available)
        std::memcpy(buffer, static_cast<const unsigned char*>(array_->Data()) + position_,
                    size_t(available));
    position_ += uint32_t(available);
    if (read)
        *read = uint32_t(available);
    return true;
}

void CollectionInputStream::Close()
{
    array_ = nullptr;
    position_ = 0;
}

bool CollectionInputStream::Rewind()
{
    position_ = 0;
    return true;
}

bool CollectionInputStream::SeekEnd()
{
    position_ = uint32_t(Size());
    return true;
}

bool CollectionInputStream::SetPosition(int64_t position)
{
    if (position < 0 || position > Size())
        return false;
    position_ = uint32_t(position);
    return true;
}

bool CollectionInputStream::SeekFromEnd(int64_t n)
{
    return SetPosition(Size() - n);
}

bool CollectionInputStream::Skip(int64_t n)
{
    return SetPosition(int64_t(position_) + n);
}

bool CollectionInputStream::Back(int64_t n)
{
    return SetPosition(int64_t(position_) - n);
}

void CollectionInputStream::Reset()
{
    Close();
}

} // namespace s::col
