#pragma once
// A thread-safe pool of objects driven by three hooks: a stack of released
// objects that are handed out again last in, first out.
//
// - Acquire(): the most recently released object, or a new one from the create
//   hook (run outside the lock); null when creating failed. The caller owns it.
// - Release(object): while fewer than Maximum() objects are kept, the recycle
//   hook resets the object (inside the lock) and it is kept; otherwise the
//   destroy hook disposes of it (outside the lock). Maximum 0 = never keep.
// - Destroy(&slot) (the IDestructor face, used as a list's element destructor):
//   Release(*slot), then *slot = null.
// - Destroying the pool destroys every kept object. A class pool is destroyed at
//   process exit; objects that static destructors release after that are
//   destroyed at once, and Acquire() then makes new ones, without the lock.
//
// Class pools are made with s/thread/Pooled.h (one per class, 1000 kept); do not
// construct EasyPooler directly for a class. The pointers the pool receives are
// the class's own pointers (T*, which is also the IObject* by the library's
// layout rule); pass them exactly as the class's Acquire() handed them out.

#include <atomic>
#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IDestructor.h"
#include "s/base/IGenerator.h"
#include "s/base/IObject.h"
#include "s/thread/ObjLocker.h"

namespace s::col::_array {
class ArrayP;
}

namespace s::thread {

class EasyPooler : public s::base::IObject, public s::base::IGenerator, public s::base::IDestructor
{
    S_CLASS_ID(L"s_thread_EasyPooler")

public:
    using CreateHook = void* (*)();
    using DestroyHook = void (*)(void* object);
    using RecycleHook = void (*)(void* object);

    /// Objects kept by a class pool.
    static constexpr int32_t CLASS_POOL_MAX = 1000;
    /// Blocks kept by a pool of raw 16-byte blocks.
    static constexpr int32_t RAW_BLOCK_POOL_MAX = 10000;

    EasyPooler(int32_t maximum, CreateHook create, DestroyHook destroy, RecycleHook recycle);
    ~EasyPooler() override;
    EasyPooler(const EasyPooler&) = delete;
    EasyPooler& operator=(const EasyPooler&) = delete;

    /// A new, empty pool with the same maximum and hooks; the caller deletes it.
    s::base::IObject* NewInstance() const override;

    void* Acquire();
    /// Null is ignored.
    void Release(void* object);

    void* Generate() override { return Acquire(); }
    void Destroy(void** slot) override;

    int32_t Maximum() const { return maximum_; }
    /// Objects kept right now (a snapshot).
    uint32_t KeptCount() const;

    /// The process-wide pool of zeroed raw 16-byte blocks (malloc/free), 10,000 kept.
    static EasyPooler& RawBlocks16();

private:
    ObjLocker lock_;
    std::atomic<bool> closed_{false};
    s::col::_array::ArrayP* free_;  // owned; made with new, it cannot come from its own pool
    int32_t maximum_;
    CreateHook create_;
    DestroyHook destroy_;
    RecycleHook recycle_;
};

} // namespace s::thread
