#include "s/thread/EasyPooler.h"

#include <cstdlib>
#include <cstring>

#include "s/col/_array/ArrayP.h"

namespace s::thread {

EasyPooler::EasyPooler(int32_t maximum, CreateHook create, DestroyHook destroy,
                       RecycleHook recycle)
    : free_(new s::col::_array::ArrayP()),
      maximum_(maximum < 0 ? 0 : maximum),
      create_(create),
      destroy_(destroy),
      recycle_(recycle)
{
}

EasyPooler::~EasyPooler()
{
    closed_ = true;
    s::col::_array::ArrayP* kept;
    {
        ObjLocker::Guard guard(lock_);
        kept = free_;
        free_ = nullptr;
        maximum_ = 0;
    }
    for (uint32_t i = 0, n = kept->Count(); i < n; ++i) {
        if (destroy_)
            destroy_(kept->Get(i));
    }
    delete kept;
}

s::base::IObject* EasyPooler::NewInstance() const
{
    return new EasyPooler(maximum_, create_, destroy_, recycle_);
}

void* EasyPooler::Acquire()
{
    if (closed_)
        return create_ ? create_() : nullptr;
    lock_.Enter();
    if (free_ && free_->Count() > 0) {
        void* object = free_->Last();
        free_->SetCount(free_->Count() - 1);
        lock_.Leave();
        return object;
    }
    lock_.Leave();
    return create_ ? create_() : nullptr;
}

void EasyPooler::Release(void* object)
{
    if (!object)
        return;
    if (closed_) {
        if (destroy_)
            destroy_(object);
        return;
    }
    lock_.Enter();
    if (free_ && int64_t(free_->Count()) < maximum_) {
        if (recycle_)
            recycle_(object);
        // Recycling may have released other objects into this same pool (a list
        // of lists), so the room is looked at again.
        if (free_ && int64_t(free_->Count()) < maximum_) {
            free_->Add(object);
            lock_.Leave();
            return;
        }
    }
    lock_.Leave();
    if (destroy_)
        destroy_(object);
}

void EasyPooler::Destroy(void** slot)
{
    if (!slot)
        return;
    void* object = *slot;
    *slot = nullptr;
    Release(object);
}

uint32_t EasyPooler::KeptCount() const
{
    if (closed_)
        return 0;
    ObjLocker::Guard guard(lock_);
    return free_ ? free_->Count() : 0;
}

EasyPooler& EasyPooler::RawBlocks16()
{
    static EasyPooler pool(
        RAW_BLOCK_POOL_MAX, []() -> void* { return std::calloc(1, 16); },
        [](void* block) { std::free(block); }, [](void* block) { std::memset(block, 0, 16); });
    return pool;
}

} // namespace s::thread
