#pragma once
// A re-entrant lock (a Windows critical section) that may also own one object.
//
// Shared objects embed an ObjLocker and every access enters and leaves it:
//
//     s::thread::ObjLocker::Guard guard(lock_);   // Enter() now, Leave() at scope end
//
// Never hold it across a wait for another thread. The owning thread may enter
// again (re-entrant); each Enter() needs its Leave(). Enter/Leave are const so
// that const members of shared objects can lock.
//
// The owned object (optional): when the ObjLocker is destroyed it disposes of it
// with the disposal function if one was given, else with the IDestructor if one
// was given (e.g. s::cleaner::CleanerIObject::Instance() or a class pool), else
// with delete through IObject's virtual destructor.
// Thread affinity: the owned-object functions are not locked; set the object
// before sharing the ObjLocker.

#include "s/base/ClassId.h"
#include "s/base/IDestructor.h"
#include "s/base/IObject.h"

namespace s::thread {

class ObjLocker : public s::base::IObject
{
    S_CLASS_ID(L"s_thread_ObjLocker")

public:
    using DisposeFunction = void (*)(s::base::IObject* object);

    ObjLocker();
    /// Takes ownership of `object` (may be null); see the header comment for disposal.
    explicit ObjLocker(s::base::IObject* object, s::base::IDestructor* destructor = nullptr,
                       DisposeFunction dispose = nullptr);
    ~ObjLocker() override;
    ObjLocker(const ObjLocker&) = delete;
    ObjLocker& operator=(const ObjLocker&) = delete;

    /// A new, empty ObjLocker; it is not pooled: the caller deletes it.
    s::base::IObject* NewInstance() const override;

    void Enter() const;
    void Leave() const;
    /// Enters when the lock is free or already held by this thread; answers whether it did.
    bool TryEnter() const;

    /// The owned object, or null.
    s::base::IObject* Object() const { return object_; }
    /// Disposes of the current object (as the destructor would) and owns `object` instead.
    void SetObject(s::base::IObject* object, s::base::IDestructor* destructor = nullptr,
                   DisposeFunction dispose = nullptr);
    /// Gives the owned object up without disposing of it; the caller owns it now.
    s::base::IObject* TakeObject();

    /// Holds the lock for its lifetime.
    class Guard
    {
    public:
        explicit Guard(const ObjLocker& locker) : locker_(locker) { locker_.Enter(); }
        ~Guard() { locker_.Leave(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        const ObjLocker& locker_;
    };

private:
    void DisposeObject();

    s::base::IObject* object_ = nullptr;
    DisposeFunction dispose_ = nullptr;
    s::base::IDestructor* destructor_ = nullptr;
    // Storage of the platform lock (a CRITICAL_SECTION on Windows), kept opaque so
    // that this header does not pull in <windows.h>; sizes are checked in the .cpp.
    alignas(8) mutable unsigned char lock_[sizeof(void*) == 8 ? 40 : 24];
};

} // namespace s::thread
