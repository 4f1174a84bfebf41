#pragma once
// A pooled cursor over the elements of a collection (or the characters of a
// string), stepping by the element size.
//
// State: an index and a pointer that move together. Begin gives index -1 with
// the pointer at element 0; Next() answers the pointer and then advances both, so
// after Next() the index is the element just returned:
//
//     auto* it = list->Begin();
//     while (it->HasNext()) { void* element = it->Next(); ... }
//     it->Release();
//
// HasNext(): index < count - 1. HasPrevious(): index > 0. Previous() moves back
// first, then answers the pointer. Nothing is checked against the bounds.
// The iterator belongs to the caller (Release() gives it back to its pool); it
// does not own the collection, which must outlive it and not grow while it is
// used (growing moves the storage).

#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::col {

class IteratorBase : public s::base::IObject, public s::thread::IPoolable
{
public:
    virtual int32_t GetIndex() const = 0;
    /// Index i, pointer at element i + 1 (the state Next() leaves after element i).
    virtual void SetIndex(int32_t index) = 0;
    virtual bool HasNext() const = 0;
    virtual bool HasPrevious() const = 0;
    virtual void Skip(int32_t n) = 0;
    virtual void Back(int32_t n) = 0;
    virtual void* Next() = 0;
    virtual void* Previous() = 0;
};

} // namespace s::col
