#include <gtest/gtest.h>

#include <thread>

#include "PoolTestObjects.h"
#include "s/cleaner/CleanerIObject.h"
#include "s/thread/ObjLocker.h"

using s::thread::ObjLocker;

namespace {

class Tracked : public s::base::IObject
{
    S_CLASS_ID(L"objlockertest_Tracked")

public:
    explicit Tracked(int* deletions) : deletions_(deletions) {}
    ~Tracked() override { ++*deletions_; }
    s::base::IObject* NewInstance() const override { return new Tracked(deletions_); }

private:
    int* deletions_;
};

int disposals = 0;
void CountingDispose(s::base::IObject* object)
{
    ++disposals;
    delete object;
}

TEST(ObjLockerTest, ClassIdAndEmptyLocker)
{
    ObjLocker locker;
    EXPECT_EQ(locker.ClassId(), ObjLocker::CLASS_ID);
    EXPECT_STREQ(locker.ClassId(), L"s_thread_ObjLocker");
    EXPECT_EQ(locker.Object(), nullptr);
}

TEST(ObjLockerTest, DestroyedWithCleanerDeletesTheObject)
{
    int deletions = 0;
    {
        ObjLocker locker(new Tracked(&deletions), &s::cleaner::CleanerIObject::Instance());
        EXPECT_EQ(deletions, 0);
    }
    EXPECT_EQ(deletions, 1);
}

TEST(ObjLockerTest, DisposalFunctionWinsOverDestructorAndDelete)
{
    int deletions = 0;
    disposals = 0;
    {
        ObjLocker withFunction(new Tracked(&deletions), &s::cleaner::CleanerIObject::Instance(),
                               &CountingDispose);
        ObjLocker plain(new Tracked(&deletions));  // no disposal given: deleted
    }
    EXPECT_EQ(disposals, 1);
    EXPECT_EQ(deletions, 2);
}

TEST(ObjLockerTest, PoolAsDestructorGivesTheObjectBack)
{
    pooltest::Widget* w = pooltest::Widget::Acquire();
    w->value = 3;
    const uint32_t kept = pooltest::Widget::Pool().KeptCount();
    {
        ObjLocker locker(w, &pooltest::Widget::Pool());
    }
    EXPECT_EQ(pooltest::Widget::Pool().KeptCount(), kept + 1);
    EXPECT_EQ(w->value, 0);  // reset by the pool: it is in the free list again
}

TEST(ObjLockerTest, TakeObjectAndSetObject)
{
    int deletions = 0;
    Tracked* first = new Tracked(&deletions);
    Tracked* second = new Tracked(&deletions);
    {
        ObjLocker locker(first);
        locker.SetObject(second, &s::cleaner::CleanerIObject::Instance());
        EXPECT_EQ(deletions, 1);  // the first was disposed of when replaced
        EXPECT_EQ(locker.TakeObject(), second);
        EXPECT_EQ(locker.Object(), nullptr);
    }
    EXPECT_EQ(deletions, 1);  // taken objects are the caller's
    delete second;
}

TEST(ObjLockerTest, ReentrantForTheOwnerExclusiveForOthers)
{
    ObjLocker locker;
    locker.Enter();
    EXPECT_TRUE(locker.TryEnter());  // same thread again
    bool otherGotIt = true;
    std::thread([&] { otherGotIt = locker.TryEnter(); }).join();
    EXPECT_FALSE(otherGotIt);
    locker.Leave();
    locker.Leave();
    std::thread([&] {
        otherGotIt = locker.TryEnter();
        if (otherGotIt)
            locker.Leave();
    }).join();
    EXPECT_TRUE(otherGotIt);
}

TEST(ObjLockerTest, GuardSerialisesUpdates)
{
    ObjLocker locker;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 100000; ++i) {
            ObjLocker::Guard guard(locker);
            counter = counter + 1;
        }
    };
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(counter, 200000);
}

} // namespace
