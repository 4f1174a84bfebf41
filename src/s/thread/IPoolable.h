#pragma once
// The face through which an object goes back to its class pool.
//
// Release() gives the object to its pool (which calls Reset() and keeps it for
// reuse, or destroys it when the pool is full); the caller must not touch the
// object afterwards. Reset() returns the object to its freshly made state but
// keeps reusable storage (strings keep their buffer, arrays give theirs back).
// Pools call Reset() while holding their lock: it must not take locks that may
// be held by a thread releasing into the same pool.

namespace s::thread {

class IPoolable
{
public:
    virtual ~IPoolable() = default;

    virtual void Release() = 0;
    virtual void Reset() = 0;
};

} // namespace s::thread
