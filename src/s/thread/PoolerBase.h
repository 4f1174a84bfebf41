#pragma once
// The second pool kind: driven by virtual functions instead of hooks, with
// optional accounting of the kept objects' sizes.
//
// A subclass supplies Generate() (a new object), ResetObject(), DestroyObject()
// and NewInstance(), and may override SizeOf().
// - Acquire(): the most recently released object (its size is taken off the
//   total when accounting), else Generate(). The caller owns it.
// - Release(object, size): without accounting the object is destroyed when the
//   free list already holds MORE than MaxCount() objects (so up to MaxCount()+1
//   are kept), else reset and kept. With accounting (size -1 = SizeOf(object))
//   it is also destroyed when size > MaxObjectSize() or when the total would
//   pass MaxTotalSize(). Destroying happens outside the lock, resetting inside.
// - Destroy(&slot) (IDestructor face): Release(*slot, -1), *slot = null.
// - The destructor of PoolerBase cannot call the subclass's DestroyObject();
//   a subclass calls DestroyKept() in its own destructor.
// Thread-safe.

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

class PoolerBase : public s::base::IObject, public s::base::IGenerator, public s::base::IDestructor
{
    S_CLASS_ID(L"s_thread_PoolerBase")

public:
    PoolerBase();
    ~PoolerBase() override;
    PoolerBase(const PoolerBase&) = delete;
    PoolerBase& operator=(const PoolerBase&) = delete;

    /// 1024 unless overridden.
    virtual int32_t SizeOf(void* object);
    virtual void Release(void* object, int32_t size = -1);
    virtual void* Acquire();
    virtual void ResetObject(void* object) = 0;
    virtual void DestroyObject(void* object) = 0;

    void Destroy(void** slot) override;

    void SetAccounting(bool on);
    bool Accounting() const { return accounting_; }
    int32_t MaxCount() const { return maxCount_; }
    int32_t MaxObjectSize() const { return maxObjectSize_; }
    int32_t MaxTotalSize() const { return maxTotalSize_; }
    int32_t TotalSize() const;
    uint32_t KeptCount() const;

protected:
    void SetLimits(int32_t maxCount, int32_t maxObjectSize, int32_t maxTotalSize);
    /// Destroys every kept object with DestroyObject(); call from the subclass's destructor.
    void DestroyKept();

private:
    ObjLocker lock_;
    s::col::_array::ArrayP* free_;  // owned
    int32_t maxCount_ = 1000;
    int32_t maxObjectSize_ = 1024;
    int32_t maxTotalSize_ = 102400;
    int32_t totalSize_ = 0;
    bool accounting_ = false;
};

} // namespace s::thread
