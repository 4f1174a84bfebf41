#include "s/col/_array/ArrayBase.h"

#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "s/col/CollectionInputStream.h"
#include "s/col/Growth.h"
#include "s/col/_array/Iterator.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/sys/IDigest.h"
#include "s/sys/Md5Digest.h"

namespace s::col::_array {

namespace {
constexpr ElementDescriptor BASE_DESCRIPTOR{0, 1, false, false, L"byte"};

int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}
} // namespace

ArrayBase::ArrayBase(uint8_t elementShift) : shift_(elementShift) {}

ArrayBase::~ArrayBase()
{
    FreeStorage();
}

int ArrayBase::Compare(const s::base::IComparable* other,
                       const s::base::IComparator* comparator) const
{
    if (comparator)
        return comparator->CompareElements(this, other);
    const ArrayBase* that = dynamic_cast<const ArrayBase*>(other);
    if (!that)
        return IObject::Compare(other, nullptr);
    if (that == this)
        return 0;
    if (count_ != that->count_)
        return count_ < that->count_ ? -1 : 1;
    const s::base::IComparator* elements = DefaultComparator();
    if (!elements || that->shift_ != shift_) {
        const uint32_t bytes = ByteSize(-1) < that->ByteSize(-1) ? ByteSize(-1) : that->ByteSize(-1);
        const int c = bytes ? std::memcmp(items_, that->items_, bytes) : 0;
        if (c)
            return Sign(c);
        return ByteSize(-1) == that->ByteSize(-1) ? 0 : (ByteSize(-1) < that->ByteSize(-1) ? -1 : 1);
    }
    for (uint32_t i = 0; i < count_; ++i) {
        const int c = elements->CompareElements(CompareArgument(i), that->CompareArgument(i));
        if (c)
            return Sign(c);
    }
    return 0;
}

s::base::IObject* ArrayBase::NewInstance() const
{
    return new ArrayBase(shift_);
}

void ArrayBase::Release()
{
    delete this;
}

void ArrayBase::Reset()
{
    FreeAll();
}

const wchar_t* ArrayBase::TypeIdentifier() const
{
    return ClassId();
}

void ArrayBase::CopyInto(ArrayBase* target, uint32_t targetIndex, uint32_t index,
                         int32_t count) const
{
    if (!target)
        return;
    const uint32_t n = count < 0 ? count_ - index : uint32_t(count);
    const uint32_t bytes = n << shift_;
    // Elements of another size are carried over byte for byte.
    target->WriteAt(Bytes() + (size_t(index) << shift_), bytes >> target->shift_, 0, targetIndex);
}

void ArrayBase::CopyFrom(const ArrayBase* source, uint32_t sourceIndex, uint32_t index,
                         int32_t count)
{
    if (source)
        source->CopyInto(this, index, sourceIndex, count);
}

uint32_t ArrayBase::Count() const
{
    return count_;
}

void ArrayBase::SetCount(uint32_t n)
{
    if (n > capacity_)
        Reallocate(n);
    count_ = n;
}

uint32_t ArrayBase::ByteSize(int32_t n) const
{
    return (n < 0 ? count_ : uint32_t(n)) << shift_;
}

void ArrayBase::CopyOut(void* raw, uint32_t rawIndex, uint32_t index, int32_t count) const
{
    const uint32_t n = count < 0 ? count_ - index : uint32_t(count);
    assert(index + n <= count_);
    if (n && raw)
        std::memcpy(static_cast<unsigned char*>(raw) + (size_t(rawIndex) << shift_),
                    Bytes() + (size_t(index) << shift_), size_t(n) << shift_);
}

void ArrayBase::WriteAt(const void* raw, uint32_t n, uint32_t rawIndex, uint32_t index)
{
    if (!n || !raw)
        return;
    const uint32_t end = index + n;
    if (end < index || (uint64_t(end) << shift_) > SIZE_MAX)
        return;  // an end beyond 32 bits would wrap and write before the storage's end
    const unsigned char* source = static_cast<const unsigned char*>(raw) + (size_t(rawIndex) << shift_);
    if (end > capacity_)
        source = ReallocateKeeping(end, source);
    std::memmove(Bytes() + (size_t(index) << shift_), source, size_t(n) << shift_);
    if (end > count_)
        count_ = end;
}

void ArrayBase::Append(const void* raw, uint32_t n, uint32_t rawIndex)
{
    Insert(count_, raw, n, rawIndex);
}

void ArrayBase::Prepend(const void* raw, uint32_t n, uint32_t rawIndex)
{
    Insert(0, raw, n, rawIndex);
}

void ArrayBase::Insert(uint32_t index, const void* raw, uint32_t n, uint32_t rawIndex)
{
    if (!n || !raw || n > 0xFFFFFFFFu - count_)
        return;  // a count beyond 32 bits would wrap
    assert(index <= count_);
    const size_t bytes = size_t(n) << shift_;
    const unsigned char* source = static_cast<const unsigned char*>(raw) + (size_t(rawIndex) << shift_);
    // A source inside our own storage would move (gap) or vanish (growth) under us.
    void* copy = nullptr;
    const unsigned char* own = Bytes();
    if (own && source < own + (size_t(capacity_) << shift_) && source + bytes > own) {
        copy = std::malloc(bytes);
        if (!copy)
            std::abort();
        std::memcpy(copy, source, bytes);
        source = static_cast<const unsigned char*>(copy);
    }
    OpenGap(index, n);
    std::memcpy(Bytes() + (size_t(index) << shift_), source, bytes);
    std::free(copy);
}

void ArrayBase::DropLast(uint32_t n)
{
    count_ = n >= count_ ? 0 : count_ - n;
    if (position_ > (count_ << shift_))
        position_ = count_ << shift_;
}

void ArrayBase::DropFirst(uint32_t n)
{
    RemoveRange(0, n > count_ ? count_ : n);
}

void ArrayBase::RemoveRange(uint32_t index, uint32_t n)
{
    if (!n)
        return;
    assert(index + n <= count_);
    CloseGap(index, n);
    if (position_ > (count_ << shift_))
        position_ = count_ << shift_;
}

void ArrayBase::PopLast(void* raw, uint32_t n, uint32_t rawIndex)
{
    assert(n <= count_);
    CopyOut(raw, rawIndex, count_ - n, int32_t(n));
    ArrayBase::DropLast(n);
}

void ArrayBase::PopFirst(void* raw, uint32_t n, uint32_t rawIndex)
{
    ArrayBase::Extract(0, raw, n, rawIndex);
}

void ArrayBase::Extract(uint32_t index, void* raw, uint32_t n, uint32_t rawIndex)
{
    if (!n)
        return;
    CopyOut(raw, rawIndex, index, int32_t(n));
    ArrayBase::RemoveRange(index, n);
}

int ArrayBase::CompareRange(uint32_t index, const void* raw, uint32_t n, uint32_t rawIndex,
                            uint32_t length) const
{
    const size_t common = size_t(n < length ? n : length) << shift_;
    if (common) {
        const int c = std::memcmp(Bytes() + (size_t(index) << shift_),
                                  static_cast<const unsigned char*>(raw) + (size_t(rawIndex) << shift_),
                                  common);
        if (c)
            return Sign(c);
    }
    return n == length ? 0 : (n < length ? -1 : 1);
}

void ArrayBase::Clear()
{
    count_ = 0;
    position_ = 0;
}

void ArrayBase::FreeAll()
{
    FreeStorage();
}

void ArrayBase::Swap(uint32_t i, uint32_t j)
{
    unsigned char temporary[8];
    if (ElementSize() <= sizeof temporary) {
        SwapVia(i, j, temporary);
        return;
    }
    void* large = std::malloc(ElementSize());
    SwapVia(i, j, large);
    std::free(large);
}

void ArrayBase::Reverse()
{
    if (count_ < 2)
        return;
    for (uint32_t i = 0, j = count_ - 1; i < j; ++i, --j)
        Swap(i, j);
}

int32_t ArrayBase::ElementKind() const
{
    return 0;
}

const ElementDescriptor* ArrayBase::GetElementDescriptor() const
{
    return &BASE_DESCRIPTOR;
}

void ArrayBase::AppendElementText(StrBuffer* string, const void* element) const
{
    AppendElementHex(string, element);
}

void ArrayBase::AppendElementHex(StrBuffer* string, const void* element) const
{
    if (string && element)
        string->AppendHex(static_cast<const uint8_t*>(element), ElementSize());
}

namespace {
// The caller's string (emptied unless appending) or a new pooled one.
s::str::strbuffer::StrBuffer* Target(s::str::strbuffer::StrBuffer* string, bool append)
{
    if (!string)
        return s::str::strbuffer::StrBuffer::Acquire();
    if (!append)
        string->Clear();
    return string;
}
} // namespace

ArrayBase::StrBuffer* ArrayBase::ToText(StrBuffer* string, bool append) const
{
    string = Target(string, append);
    if (!string)
        return nullptr;
    string->Append(ClassId());
    string->Append(L" [");
    for (uint32_t i = 0; i < count_; ++i) {
        if (i)
            string->AppendChar(L' ');
        AppendElementText(string, Bytes() + (size_t(i) << shift_));
    }
    string->AppendChar(L']');
    return string;
}

ArrayBase::StrBuffer* ArrayBase::ToXml(StrBuffer* string, bool append) const
{
    string = Target(string, append);
    if (!string)
        return nullptr;
    string->AppendChar(L'<');
    string->Append(ClassId());
    string->Append(L" length=\"");
    string->AppendNumber(count_);
    string->Append(L"\">");
    AppendAllHex(string, true);
    string->Append(L"</");
    string->Append(ClassId());
    string->AppendChar(L'>');
    return string;
}

ArrayBase::StrBuffer* ArrayBase::AppendAllHex(StrBuffer* string, bool append) const
{
    string = Target(string, append);
    if (!string)
        return nullptr;
    for (uint32_t i = 0; i < count_; ++i)
        AppendElementHex(string, Bytes() + (size_t(i) << shift_));
    return string;
}

bool ArrayBase::Digest(s::sys::IDigest* digest, uint8_t* out) const
{
    return s::sys::Md5Digest::Digest(digest, items_, ByteSize(-1), out);
}

const s::base::IComparator* ArrayBase::DefaultComparator() const
{
    return nullptr;
}

void ArrayBase::SwapVia(uint32_t i, uint32_t j, void* temporary)
{
    if (i == j)
        return;
    const size_t size = ElementSize();
    unsigned char* a = Bytes() + (size_t(i) << shift_);
    unsigned char* b = Bytes() + (size_t(j) << shift_);
    std::memcpy(temporary, a, size);
    std::memcpy(a, b, size);
    std::memcpy(b, temporary, size);
}

void ArrayBase::Reserve(uint32_t n)
{
    if (n > capacity_)
        Reallocate(n);
}

void ArrayBase::Grow()
{
    Reallocate(s::col::NextCapacity(capacity_));
}

void ArrayBase::ReserveGrow(uint32_t n)
{
    if (n > capacity_)
        Reallocate(s::col::CapacityFor(capacity_, n));
}

s::io::IInputStream* ArrayBase::OpenInputStream()
{
    s::col::CollectionInputStream* stream = s::col::CollectionInputStream::Acquire();
    if (stream)
        stream->Open(this);
    return stream;
}

Iterator* ArrayBase::NewIterator(int32_t index, uint32_t pointerIndex)
{
    Iterator* it = Iterator::Acquire();
    if (it)
        it->Attach(this, index, pointerIndex);
    return it;
}

s::col::IteratorBase* ArrayBase::Begin()
{
    return NewIterator(-1, 0);
}

s::col::IteratorBase* ArrayBase::End()
{
    return NewIterator(int32_t(count_), count_);
}

s::col::IteratorBase* ArrayBase::IteratorAt(uint32_t index)
{
    return NewIterator(int32_t(index) - 1, index);
}

s::col::IteratorBase* ArrayBase::IteratorFromEnd(uint32_t index)
{
    return IteratorAt(count_ - index);
}

void* ArrayBase::PointerAt(uint32_t index)
{
    return Bytes() + (size_t(index) << shift_);
}

bool ArrayBase::Read(void* buffer, uint32_t n, uint32_t* read)
{
    const uint32_t size = ByteSize(-1);
    uint32_t available = position_ < size ? size - position_ : 0;
    if (n < available)
        available = n;
    if (available && buffer)
        std::memcpy(buffer, Bytes() + position_, available);
    else
        available = 0;
    position_ += available;
    if (read)
        *read = available;
    return true;
}

bool ArrayBase::Write(const void* data, uint32_t n, uint32_t* written)
{
    if (written)
        *written = 0;
    if (!n)
        return true;
    if (!data)
        return false;
    // The end, rounded up to whole elements, must still be a 32-bit byte size: a
    // write just below 4 GiB would otherwise wrap and copy past the storage.
    const uint64_t end = uint64_t(position_) + n;
    const uint64_t elements = (end + ElementSize() - 1) >> shift_;
    if ((elements << shift_) > MAX_BYTES)
        return false;
    if (elements > capacity_) {
        uint32_t capacity = s::col::CapacityFor(capacity_, uint32_t(elements));
        if ((uint64_t(capacity) << shift_) > MAX_BYTES)
            capacity = uint32_t(elements);
        bool grown = false;
        data = ReallocateKeeping(capacity, static_cast<const unsigned char*>(data), &grown);
        if (!grown)
            return false;  // out of memory: nothing written
    }
    std::memmove(Bytes() + position_, data, n);
    position_ = uint32_t(end);
    if ((position_ >> shift_) > count_)
        count_ = position_ >> shift_;
    if (written)
        *written = n;
    return true;
}

bool ArrayBase::SetEnd()
{
    const uint32_t n = position_ >> shift_;
    if (n > capacity_ && !TryReallocate(n))
        return false;
    count_ = n;
    return true;
}

bool ArrayBase::Rewind()
{
    position_ = 0;
    return true;
}

bool ArrayBase::SeekEnd()
{
    position_ = ByteSize(-1);
    return true;
}

bool ArrayBase::SetPosition(int64_t position)
{
    if (position < 0 || position > int64_t(0xFFFFFFFFu))
        return false;
    position_ = uint32_t(position);
    return true;
}

bool ArrayBase::SeekFromEnd(int64_t n)
{
    return SetPosition(int64_t(ByteSize(-1)) - n);
}

bool ArrayBase::Skip(int64_t n)
{
    return SetPosition(int64_t(position_) + n);
}

bool ArrayBase::Back(int64_t n)
{
    return SetPosition(int64_t(position_) - n);
}

const void* ArrayBase::CompareArgument(uint32_t index) const
{
    return Bytes() + (size_t(index) << shift_);
}

void ArrayBase::FreeStorage()
{
    std::free(items_);
    items_ = nullptr;
    count_ = 0;
    capacity_ = 0;
    position_ = 0;
}

bool ArrayBase::TryReallocate(uint32_t capacity)
{
    const uint64_t bytes = uint64_t(capacity) << shift_;
    if (bytes > SIZE_MAX)
        return false;  // more than the address space (32-bit builds)
    void* items = std::malloc(size_t(bytes));
    if (!items && bytes)
        return false;
    if (count_)
        std::memcpy(items, items_, size_t(count_) << shift_);
    std::free(items_);
    items_ = items;
    capacity_ = capacity;
    return true;
}

void ArrayBase::Reallocate(uint32_t capacity)
{
    if (!TryReallocate(capacity))
        std::abort();  // out of memory: nothing sensible is left to do
}

const unsigned char* ArrayBase::ReallocateKeeping(uint32_t capacity, const unsigned char* source,
                                                  bool* grown)
{
    // A source inside the old storage would be read after it is freed: it moves
    // to the same offset of the new storage (Reallocate keeps the elements).
    const unsigned char* own = Bytes();
    const bool inside = own && source >= own && source < own + (size_t(capacity_) << shift_);
    const size_t offset = inside ? size_t(source - own) : 0;
    if (grown)
        *grown = TryReallocate(capacity);
    else
        Reallocate(capacity);
    return inside ? Bytes() + offset : source;
}

void ArrayBase::OpenGap(uint32_t index, uint32_t n)
{
    if (count_ + n > capacity_)
        Reallocate(s::col::CapacityFor(capacity_, count_ + n));
    if (index < count_)
        std::memmove(Bytes() + (size_t(index + n) << shift_), Bytes() + (size_t(index) << shift_),
                     size_t(count_ - index) << shift_);
    count_ += n;
}

void ArrayBase::CloseGap(uint32_t index, uint32_t n)
{
    if (index + n < count_)
        std::memmove(Bytes() + (size_t(index) << shift_), Bytes() + (size_t(index + n) << shift_),
                     size_t(count_ - index - n) << shift_);
    count_ -= n;
}

} // namespace s::col::_array
