// The stream faces of StrBuffer: reading and writing its units as bytes, and
// moving the stream position.
#include "s/str/strbuffer/StrBuffer.h"

#include <cstring>

namespace s::str::strbuffer {

// --- the two stream faces ------------------------------------------------------------

bool StrBuffer::Read(void* buffer, uint32_t n, uint32_t* read)
{
    const uint64_t size = uint64_t(length_) * sizeof(wchar_t);
    uint32_t count = 0;
    if (position_ < size && buffer) {
        count = uint32_t(std::min<uint64_t>(n, size - position_));
        memcpy(buffer, reinterpret_cast<const unsigned char*>(chars_) + position_, count);
        position_ += count;
    }
    if (read)
        *read = count;
    return buffer != nullptr || n == 0;
}

bool StrBuffer::Write(const void* data, uint32_t n, uint32_t* written)
{
    if (written)
        *written = 0;
    if (n == 0)
        return true;
    const uint64_t end = uint64_t(position_) + n;
    if (!data || end > 0xFFFFFFFEull)
        return false;
    const uint32_t units = uint32_t((end + 1) / 2);
    // Bytes taken from this string's own storage would be read after growing
    // freed it; they move along to the same offset (growing keeps the text).
    const unsigned char* source = static_cast<const unsigned char*>(data);
    const unsigned char* own = reinterpret_cast<const unsigned char*>(chars_);
    const bool inside = own && source >= own && source < own + (size_t(capacity_) + 1) * 2;
    const size_t offset = inside ? size_t(source - own) : 0;
    if (!EnsureStreamRoom(units))
        return false;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(chars_);
    if (inside)
        source = bytes + offset;
    ZeroGapBefore(position_);
    memmove(bytes + position_, source, n);
    position_ = uint32_t(end);
    if (position_ / 2 > length_)
        length_ = position_ / 2;
    // An odd end behind the text leaves half a character that is not counted
    // yet; a later write past it must keep it.
    oddByteEnd_ = (position_ & 1) && position_ / 2 == length_ ? position_ : 0;
    if (written)
        *written = n;
    return true;
}

bool StrBuffer::EnsureStreamRoom(uint32_t units)
{
    // Growing keeps the counted text only: a pending odd byte moves along by hand.
    const bool odd = oddByteEnd_ != 0 && oddByteEnd_ == length_ * uint32_t(sizeof(wchar_t)) + 1;
    const unsigned char oddByte = odd ? reinterpret_cast<unsigned char*>(chars_)[oddByteEnd_ - 1] : 0;
    if (!EnsureRoom(units))
        return false;
    if (odd)
        reinterpret_cast<unsigned char*>(chars_)[oddByteEnd_ - 1] = oddByte;
    return true;
}

void StrBuffer::ZeroGapBefore(uint32_t byteOffset)
{
    // A gap behind the text reads as zeros, not as old garbage. The byte right
    // behind the text stays when an earlier (odd-sized) write put it there.
    uint32_t from = length_ * uint32_t(sizeof(wchar_t));
    if (oddByteEnd_ == from + 1)
        from = oddByteEnd_;
    if (byteOffset > from)
        memset(reinterpret_cast<unsigned char*>(chars_) + from, 0, byteOffset - from);
}

bool StrBuffer::SetEnd()
{
    const uint32_t units = position_ / 2;
    if (units > length_) {
        if (!EnsureStreamRoom(units))
            return false;
        ZeroGapBefore(units * uint32_t(sizeof(wchar_t)));
    }
    length_ = units;
    oddByteEnd_ = 0;
    return true;
}

bool StrBuffer::Rewind()
{
    position_ = 0;
    return true;
}

bool StrBuffer::SeekEnd()
{
    position_ = length_ * uint32_t(sizeof(wchar_t));
    return true;
}

bool StrBuffer::SetPosition(int64_t position)
{
    if (position < 0 || position > int64_t(0xFFFFFFFEll))
        return false;
    position_ = uint32_t(position);
    return true;
}

bool StrBuffer::SeekFromEnd(int64_t n)
{
    return SetPosition(int64_t(length_) * 2 - n);
}

bool StrBuffer::Skip(int64_t n)
{
    return SetPosition(int64_t(position_) + n);
}

bool StrBuffer::Back(int64_t n)
{
    return SetPosition(int64_t(position_) - n);
}

} // namespace s::str::strbuffer
