#pragma once
// Gives a class its class pool in one line.
//
//     class StrBuffer : public IStr, public s::thread::IPoolable {
//         S_CLASS_ID(L"s_str_strbuffer_StrBuffer")
//         S_POOLED(StrBuffer)
//     public:
//         void Reset() override;          // the class's own "back to fresh" step
//         ...
//     protected:
//         StrBuffer();                    // optional: forbids plain new outside the pool
//         ~StrBuffer() override;
//     };
//
// S_POOLED(T) declares, all public:
//     static s::thread::EasyPooler& Pool();   // T's one pool, 1000 kept
//     static T* Acquire();                     // an empty, reset T; caller calls Release()
//     void Release() override;                 // back to Pool()
//     s::base::IObject* NewInstance() const override;   // = Acquire()
// and makes the pool's hooks friends, so T's constructor and destructor may be
// protected. S_POOLED_MAX(T, n) keeps n instead of 1000 (0 = never kept).
//
// Requirements on T: default-constructible; IObject is its first base (see
// s/base/IObject.h); implements IPoolable::Reset(). A class derived from a
// pooled class uses S_POOLED itself, otherwise its objects would go to the base
// class's pool.
//
// The pool is a function-local static: made once on first use even when several
// threads ask at the same moment (the language guarantees it) and destroyed at
// process exit in reverse order of creation. Releasing into a pool from the
// destructor of a static object that was made before that pool is not allowed.

#include "s/base/IObject.h"
#include "s/thread/EasyPooler.h"

#include <new>

namespace s::thread {

/// The hooks of T's class pool. A struct so that classes can befriend it.
template <class T>
struct PoolHooks
{
    static void* Create() { return static_cast<void*>(new (std::nothrow) T()); }
    static void Destroy(void* object) { delete static_cast<T*>(object); }
    static void Recycle(void* object) { static_cast<T*>(object)->Reset(); }
};

} // namespace s::thread

#define S_POOLED_MAX(T, maximum)                                                          \
    friend struct ::s::thread::PoolHooks<T>;                                              \
                                                                                          \
public:                                                                                   \
    static ::s::thread::EasyPooler& Pool()                                                \
    {                                                                                     \
        static ::s::thread::EasyPooler pool((maximum), &::s::thread::PoolHooks<T>::Create, \
                                            &::s::thread::PoolHooks<T>::Destroy,          \
                                            &::s::thread::PoolHooks<T>::Recycle);         \
        return pool;                                                                      \
    }                                                                                     \
    static T* Acquire() { return static_cast<T*>(Pool().Acquire()); }                     \
    void Release() override { Pool().Release(static_cast<T*>(this)); }                    \
    ::s::base::IObject* NewInstance() const override { return Acquire(); }

#define S_POOLED(T) S_POOLED_MAX(T, ::s::thread::EasyPooler::CLASS_POOL_MAX)
