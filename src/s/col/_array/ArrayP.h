#pragma once
// A list of object pointers that may own its elements.
//
// Ownership goes through the element destructor (an IDestructor, not owned by
// the list; typically the elements' class pool, e.g. &StrBuffer::Pool()):
//   - FreeAll(), DropLast/DropFirst/RemoveRange/RemoveAt(), Release() of the
//     list and the list's destructor dispose of the elements they give up;
//   - Clear() never does (the pointers are just forgotten);
//   - PopLast/PopFirst/Extract/TakeAt() hand elements to the caller undisposed;
//   - SetCount(), Set(), Swap() and the stream faces work on the raw pointers and
//     never dispose.
// Without an element destructor the list never disposes of anything.
// Elements are stored as the objects' own class pointers (see s/base/IObject.h).
//
// Pooled: ArrayP::Acquire() or ArrayP::Acquire(&Element::Pool()); Release()
// disposes of the elements and gives the list back; a list from the pool never
// has an element destructor unless asked for.
// Used by one thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IDestructor.h"
#include "s/col/_array/ArrayBase.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {

class ArrayP : public ArrayBase
{
    S_CLASS_ID(L"s_col__array_ArrayP")
    S_POOLED(ArrayP)

public:
    /// An empty list from the pool that disposes of its elements with `elementDestructor`.
    static ArrayP* Acquire(s::base::IDestructor* elementDestructor);

    ArrayP();
    /// Disposes of the elements (when it has an element destructor) and frees the storage.
    ~ArrayP() override;

    void SetElementDestructor(s::base::IDestructor* destructor) { destructor_ = destructor; }
    s::base::IDestructor* ElementDestructor() const { return destructor_; }

    /// Appends one pointer (grows one step when full).
    void Add(void* element)
    {
        if (Count() == Capacity())
            Grow();
        Items()[Count()] = element;
        SetCountFast(Count() + 1);
    }
    void* Get(uint32_t index) const { return Items()[index]; }
    /// Replaces the pointer at index; the old element is not disposed of.
    void Set(uint32_t index, void* element) { Items()[index] = element; }
    void* Last() const { return Items()[Count() - 1]; }
    /// Index of the first element equal to `element`, or -1.
    int32_t IndexOf(const void* element) const;
    /// Removes element index, disposing of it.
    void RemoveAt(uint32_t index) { RemoveRange(index, 1); }
    /// Removes element index and hands it to the caller.
    void* TakeAt(uint32_t index);
    void** Items() { return static_cast<void**>(Data()); }
    void* const* Items() const { return static_cast<void* const*>(Data()); }

    /// Stable merge sort (s/col/MergeSort.h); null = CompP (by address).
    bool Sort(const s::base::IComparator* comparator = nullptr, bool descending = false,
              bool ignoreCase = false);

    void DropLast(uint32_t n) override;
    void DropFirst(uint32_t n) override;
    void RemoveRange(uint32_t index, uint32_t n) override;
    void FreeAll() override;
    /// FreeAll(), and forgets the element destructor.
    void Reset() override;
    int32_t ElementKind() const override { return 5; }
    const ElementDescriptor* GetElementDescriptor() const override;
    /// "<element's class id>(<pointer as signed decimal>)"; a null element gives "null(0)".
    void AppendElementText(StrBuffer* string, const void* element) const override;
    /// Nothing: pointers have no hexadecimal form.
    void AppendElementHex(StrBuffer*, const void*) const override {}
    /// s::comp::CompP.
    const s::base::IComparator* DefaultComparator() const override;

protected:
    const void* CompareArgument(uint32_t index) const override { return Items()[index]; }

private:
    void Dispose(uint32_t index, uint32_t n);

    s::base::IDestructor* destructor_ = nullptr;
};

} // namespace s::col::_array
