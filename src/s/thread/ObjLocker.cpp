#include "s/thread/ObjLocker.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#include <new>
#endif

namespace s::thread {

namespace {
#ifdef _WIN32
using NativeLock = CRITICAL_SECTION;
// Pools are entered for a handful of instructions: spinning briefly is cheaper
// than sleeping in the kernel when two threads collide.
constexpr DWORD SPIN_COUNT = 1000;
#else
using NativeLock = std::recursive_mutex;
#endif
} // namespace

#define S_NATIVE_LOCK reinterpret_cast<NativeLock*>(lock_)

ObjLocker::ObjLocker()
{
    static_assert(sizeof(NativeLock) <= sizeof(lock_), "lock storage too small");
    static_assert(alignof(NativeLock) <= 8, "lock storage misaligned");
#ifdef _WIN32
    InitializeCriticalSectionAndSpinCount(S_NATIVE_LOCK, SPIN_COUNT);
#else
    new (lock_) NativeLock();
#endif
}

ObjLocker::ObjLocker(s::base::IObject* object, s::base::IDestructor* destructor,
                     DisposeFunction dispose)
    : ObjLocker()
{
    object_ = object;
    destructor_ = destructor;
    dispose_ = dispose;
}

ObjLocker::~ObjLocker()
{
    DisposeObject();
#ifdef _WIN32
    DeleteCriticalSection(S_NATIVE_LOCK);
#else
    S_NATIVE_LOCK->~NativeLock();
#endif
}

s::base::IObject* ObjLocker::NewInstance() const
{
    return new ObjLocker();
}

void ObjLocker::Enter() const
{
#ifdef _WIN32
    EnterCriticalSection(S_NATIVE_LOCK);
#else
    S_NATIVE_LOCK->lock();
#endif
}

void ObjLocker::Leave() const
{
#ifdef _WIN32
    LeaveCriticalSection(S_NATIVE_LOCK);
#else
    S_NATIVE_LOCK->unlock();
#endif
}

bool ObjLocker::TryEnter() const
{
#ifdef _WIN32
    return TryEnterCriticalSection(S_NATIVE_LOCK) != FALSE;
#else
    return S_NATIVE_LOCK->try_lock();
#endif
}

void ObjLocker::SetObject(s::base::IObject* object, s::base::IDestructor* destructor,
                          DisposeFunction dispose)
{
    if (object != object_)
        DisposeObject();
    object_ = object;
    destructor_ = destructor;
    dispose_ = dispose;
}

s::base::IObject* ObjLocker::TakeObject()
{
    s::base::IObject* object = object_;
    object_ = nullptr;
    return object;
}

void ObjLocker::DisposeObject()
{
    if (!object_)
        return;
    if (dispose_) {
        dispose_(object_);
    } else if (destructor_) {
        void* slot = object_;
        destructor_->Destroy(&slot);
    } else {
        delete object_;
    }
    object_ = nullptr;
}

#undef S_NATIVE_LOCK

} // namespace s::thread
