#include "s/thread/PoolerBase.h"

#include "s/col/_array/ArrayP.h"

namespace s::thread {

PoolerBase::PoolerBase() : free_(new s::col::_array::ArrayP()) {}

PoolerBase::~PoolerBase()
{
    // Objects still kept here can only be destroyed by the subclass (DestroyKept());
    // what is left is forgotten rather than destroyed the wrong way.
    delete free_;
}

int32_t PoolerBase::SizeOf(void*)
{
    return 1024;
}

void PoolerBase::Release(void* object, int32_t size)
{
    if (!object)
        return;
    lock_.Enter();
    bool keep = int64_t(free_->Count()) <= maxCount_;
    if (keep && accounting_) {
        if (size < 0)
            size = SizeOf(object);
        keep = size <= maxObjectSize_ && int64_t(totalSize_) + size <= maxTotalSize_;
    }
    if (keep) {
        ResetObject(object);
        free_->Add(object);
        if (accounting_)
            totalSize_ += size;
        lock_.Leave();
        return;
    }
    lock_.Leave();
    DestroyObject(object);
}

void* PoolerBase::Acquire()
{
    lock_.Enter();
    if (free_->Count() > 0) {
        void* object = free_->Last();
        free_->SetCount(free_->Count() - 1);
        if (accounting_) {
            totalSize_ -= SizeOf(object);
            if (totalSize_ < 0)
                totalSize_ = 0;
        }
        lock_.Leave();
        return object;
    }
    lock_.Leave();
    return Generate();
}

void PoolerBase::Destroy(void** slot)
{
    if (!slot)
        return;
    void* object = *slot;
    *slot = nullptr;
    Release(object, -1);
}

void PoolerBase::SetAccounting(bool on)
{
    ObjLocker::Guard guard(lock_);
    accounting_ = on;
}

int32_t PoolerBase::TotalSize() const
{
    ObjLocker::Guard guard(lock_);
    return totalSize_;
}

uint32_t PoolerBase::KeptCount() const
{
    ObjLocker::Guard guard(lock_);
    return free_->Count();
}

void PoolerBase::SetLimits(int32_t maxCount, int32_t maxObjectSize, int32_t maxTotalSize)
{
    ObjLocker::Guard guard(lock_);
    maxCount_ = maxCount;
    maxObjectSize_ = maxObjectSize;
    maxTotalSize_ = maxTotalSize;
}

void PoolerBase::DestroyKept()
{
    lock_.Enter();
    const uint32_t n = free_->Count();
    void** items = free_->Items();
    void** kept = n ? new void*[n] : nullptr;
    for (uint32_t i = 0; i < n; ++i)
        kept[i] = items[i];
    free_->Clear();
    totalSize_ = 0;
    lock_.Leave();
    for (uint32_t i = 0; i < n; ++i)
        DestroyObject(kept[i]);
    delete[] kept;
}

} // namespace s::thread
