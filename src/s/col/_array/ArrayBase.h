#pragma once
// The storage and all generic operations of the library's contiguous arrays.
//
// Elements are 1 << ElementShift() bytes; the storage is malloc'ed and owned.
// "Raw" arguments are plain memory blocks of elements, indexed in elements. A
// count of -1 means "up to the end". Indexes and counts are the caller's
// responsibility: nothing is checked against the count (a debug build asserts),
// but a WriteAt or Insert whose end would wrap past 32 bits writes nothing.
//
// Growth: appending at full capacity grows by one step of s::col::NextCapacity
// (100, 300, 900, ...); making room for n repeats the step; SetCount and
// WriteAt allocate exactly what they need.
//
// Faces: the array (IObject), IInputStreamable (a CollectionInputStream over the
// bytes), IPoolable, IEnumerable (pooled iterators), IInputStream and
// IOutputStream over the bytes, sharing one stream position.
//
// Use ArrayP / ArrayU08 / ArrayS08 / ArrayS32 / ArrayU32 (pooled: Acquire() /
// Release()). An array is used by one thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IComparator.h"
#include "s/base/IObject.h"
#include "s/col/IEnumerable.h"
#include "s/io/IInputStream.h"
#include "s/io/IInputStreamable.h"
#include "s/io/IOutputStream.h"
#include "s/thread/IPoolable.h"

namespace s::sys {
class IDigest;
}

namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::col::_array {

class Iterator;

/// Identifies the element type of an array class (one static object per class).
struct ElementDescriptor
{
    int32_t kind;          // 5 for the typed arrays, 0 for ArrayBase
    uint32_t size;         // bytes per element
    bool isPointer;        // elements are object pointers (ArrayP)
    bool isSigned;         // integer elements are signed
    const wchar_t* name;   // "void*", "uint8", "int8", "int32", "uint32", "byte"
};

class ArrayBase : public s::base::IObject,
                  public s::io::IInputStreamable,
                  public s::thread::IPoolable,
                  public s::col::IEnumerable,
                  public s::io::IInputStream,
                  public s::io::IOutputStream
{
    S_CLASS_ID(L"s_col_array_ArrayBase")

public:
    /// The largest byte size the stream faces reach (positions are 32-bit).
    static constexpr uint64_t MAX_BYTES = 0xFFFFFFFFu;

    /// A plain array of (1 << elementShift)-byte elements. ArrayBase itself is not
    /// pooled: Release() deletes it. Prefer the typed arrays.
    explicit ArrayBase(uint8_t elementShift = 0);
    ~ArrayBase() override;
    ArrayBase(const ArrayBase&) = delete;
    ArrayBase& operator=(const ArrayBase&) = delete;

    // --- object ------------------------------------------------------------
    /// With a comparator: its answer for (this, other). Without: arrays order by
    /// count, then element by element with DefaultComparator() (bytes for
    /// ArrayBase). A non-array `other` is ordered by address.
    int Compare(const s::base::IComparable* other,
                const s::base::IComparator* comparator = nullptr) const override;
    /// A new ArrayBase with the same element size; the caller releases it.
    s::base::IObject* NewInstance() const override;

    // --- IPoolable -----------------------------------------------------------
    void Release() override;
    /// FreeAll().
    void Reset() override;

    // --- the array -----------------------------------------------------------
    virtual const wchar_t* TypeIdentifier() const;
    /// Copies count elements from index into target at targetIndex (target->WriteAt).
    virtual void CopyInto(ArrayBase* target, uint32_t targetIndex, uint32_t index,
                          int32_t count) const;
    /// Copies count elements of source from sourceIndex into this array at index.
    virtual void CopyFrom(const ArrayBase* source, uint32_t sourceIndex, uint32_t index,
                          int32_t count);
    virtual uint32_t Count() const;
    /// New elements are not initialised; allocates exactly n when the capacity is smaller.
    virtual void SetCount(uint32_t n);
    /// n * element size; -1 means Count().
    virtual uint32_t ByteSize(int32_t n = -1) const;
    /// Copies count elements from index to raw[rawIndex...].
    virtual void CopyOut(void* raw, uint32_t rawIndex, uint32_t index, int32_t count) const;
    /// Copies n raw elements to index, raising the count when they end beyond it.
    virtual void WriteAt(const void* raw, uint32_t n, uint32_t rawIndex, uint32_t index);
    virtual void Append(const void* raw, uint32_t n, uint32_t rawIndex = 0);
    virtual void Prepend(const void* raw, uint32_t n, uint32_t rawIndex = 0);
    /// index == Count() appends, 0 prepends.
    virtual void Insert(uint32_t index, const void* raw, uint32_t n, uint32_t rawIndex = 0);
    /// Drop/Remove: the elements leave the array (ArrayP disposes of them, see there).
    virtual void DropLast(uint32_t n);
    virtual void DropFirst(uint32_t n);
    virtual void RemoveRange(uint32_t index, uint32_t n);
    /// Pop/Extract: the elements move out to raw (ownership goes with them).
    virtual void PopLast(void* raw, uint32_t n, uint32_t rawIndex = 0);
    virtual void PopFirst(void* raw, uint32_t n, uint32_t rawIndex = 0);
    virtual void Extract(uint32_t index, void* raw, uint32_t n, uint32_t rawIndex = 0);
    /// Byte comparison of n elements at index with `length` raw elements from
    /// rawIndex: -1, 0 or 1; on an equal common part the shorter is smaller.
    virtual int CompareRange(uint32_t index, const void* raw, uint32_t n, uint32_t rawIndex,
                             uint32_t length) const;
    /// Count and stream position 0; storage kept; elements never disposed of.
    virtual void Clear();
    /// Disposes of owned elements (ArrayP), frees the storage; back to the initial state.
    virtual void FreeAll();
    virtual void Swap(uint32_t i, uint32_t j);
    virtual void Reverse();
    /// 5 for the typed arrays, 0 for ArrayBase.
    virtual int32_t ElementKind() const;
    virtual const ElementDescriptor* GetElementDescriptor() const;

    // Text forms. `string` null: a new pooled StrBuffer is made and answered (the
    // caller releases it); otherwise `string` is answered, emptied first unless
    // `append`. `element` is the address of an element.
    using StrBuffer = s::str::strbuffer::StrBuffer;
    /// Typed arrays: the value ("%u" / "%d"); ArrayP: "<class id>(<pointer as signed decimal>)";
    /// ArrayBase: the element's bytes in hexadecimal.
    virtual void AppendElementText(StrBuffer* string, const void* element) const;
    /// Lower-case hexadecimal: two digits for bytes, eight for 32-bit values; nothing for ArrayP.
    virtual void AppendElementHex(StrBuffer* string, const void* element) const;
    /// "<class id> [<element text> <element text> ...]", e.g. "s_col__array_ArrayS32 [1 2 3]".
    virtual StrBuffer* ToText(StrBuffer* string = nullptr, bool append = false) const;
    /// "<class id length="<count>"><all elements in hexadecimal></class id>".
    virtual StrBuffer* ToXml(StrBuffer* string = nullptr, bool append = false) const;
    /// Feeds ByteSize() bytes to digest (a pooled MD5 object when null) and writes
    /// its DigestSize() bytes to out. Answers false on failure (out untouched).
    virtual bool Digest(s::sys::IDigest* digest, uint8_t* out) const;
    /// Every element in hexadecimal without separators (nothing for ArrayP).
    virtual StrBuffer* AppendAllHex(StrBuffer* string = nullptr, bool append = false) const;
    /// The process-wide comparator of the element type (null for ArrayBase).
    virtual const s::base::IComparator* DefaultComparator() const;
    /// Swap through a caller-given element-sized temporary.
    virtual void SwapVia(uint32_t i, uint32_t j, void* temporary);

    // --- helpers -------------------------------------------------------------
    uint8_t ElementShift() const { return shift_; }
    uint32_t ElementSize() const { return 1u << shift_; }
    uint32_t Capacity() const { return capacity_; }
    /// The storage (null before the first allocation); valid until it grows or is freed.
    void* Data() { return items_; }
    const void* Data() const { return items_; }
    /// Exactly n elements of capacity when the capacity is smaller.
    void Reserve(uint32_t n);
    /// One growth step.
    void Grow();
    /// Growth steps until n elements fit.
    void ReserveGrow(uint32_t n);

    // --- IInputStreamable ----------------------------------------------------
    /// A pooled CollectionInputStream over this array's bytes with its own position.
    s::io::IInputStream* OpenInputStream() override;

    // --- IEnumerable ---------------------------------------------------------
    s::col::IteratorBase* Begin() override;
    s::col::IteratorBase* End() override;
    s::col::IteratorBase* IteratorAt(uint32_t index) override;
    s::col::IteratorBase* IteratorFromEnd(uint32_t index) override;
    void* PointerAt(uint32_t index) override;

    // --- IInputStream / IOutputStream (one shared byte position) -------------
    /// Copies at most ByteSize() - position bytes.
    bool Read(void* buffer, uint32_t n, uint32_t* read) override;
    /// Grows the storage so that position + n bytes fit; raises the count to
    /// position / element size when the position passes it. False, with nothing
    /// written, when the end (rounded up to whole elements) is beyond MAX_BYTES or
    /// the memory for it cannot be had.
    bool Write(const void* data, uint32_t n, uint32_t* written) override;
    bool Flush() override { return true; }
    /// Count = position / element size; false when the memory cannot be had.
    bool SetEnd() override;
    void Close() override {}
    int64_t GetPosition() const override { return position_; }
    bool IsSeekable() const override { return true; }
    bool Rewind() override;
    bool SeekEnd() override;
    /// 0 .. 0xFFFFFFFF; beyond the end is allowed (a write there extends the array).
    bool SetPosition(int64_t position) override;
    bool SeekFromEnd(int64_t n) override;
    bool Skip(int64_t n) override;
    bool Back(int64_t n) override;

protected:
    /// What the comparator receives for element i: its address (ArrayP: the pointer itself).
    virtual const void* CompareArgument(uint32_t index) const;
    /// Makes an iterator of this array's class; ArrayBase uses s::col::_array::Iterator.
    Iterator* NewIterator(int32_t index, uint32_t pointerIndex);
    unsigned char* Bytes() { return static_cast<unsigned char*>(items_); }
    const unsigned char* Bytes() const { return static_cast<const unsigned char*>(items_); }
    /// Releases storage without touching elements.
    void FreeStorage();
    /// Count without growth checks, for subclasses' fast paths.
    void SetCountFast(uint32_t n) { count_ = n; }

private:
    /// Exactly `capacity` elements, keeping the count; aborts when memory ran out.
    void Reallocate(uint32_t capacity);
    /// The same; false (storage untouched) when memory ran out.
    bool TryReallocate(uint32_t capacity);
    /// Reallocate(capacity); answers where `source` lives afterwards (moved along
    /// when it pointed into the old storage). With `grown` given, a failure is
    /// reported there instead of aborting.
    const unsigned char* ReallocateKeeping(uint32_t capacity, const unsigned char* source,
                                           bool* grown = nullptr);
    void OpenGap(uint32_t index, uint32_t n);
    void CloseGap(uint32_t index, uint32_t n);

    uint8_t shift_;
    void* items_ = nullptr;
    uint32_t count_ = 0;
    uint32_t capacity_ = 0;
    uint32_t position_ = 0;
};

} // namespace s::col::_array
