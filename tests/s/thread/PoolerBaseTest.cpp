#include <gtest/gtest.h>

#include <vector>

#include "s/thread/Factory.h"
#include "s/thread/PoolerBase.h"

namespace {

struct Block
{
    int size;
    int resets = 0;
};

// A factory of Blocks whose SizeOf is the block's own size.
class BlockFactory : public s::thread::Factory
{
public:
    BlockFactory(int32_t maxCount, int32_t maxObjectSize, int32_t maxTotalSize)
    {
        SetLimits(maxCount, maxObjectSize, maxTotalSize);
    }
    ~BlockFactory() override { DestroyKept(); }

    int made = 0;
    int destroyed = 0;
    int nextSize = 10;

    void* Generate() override
    {
        ++made;
        return new Block{nextSize};
    }
    int32_t SizeOf(void* object) override { return static_cast<Block*>(object)->size; }
    void ResetObject(void* object) override { ++static_cast<Block*>(object)->resets; }
    void DestroyObject(void* object) override
    {
        ++destroyed;
        delete static_cast<Block*>(object);
    }
    s::base::IObject* NewInstance() const override { return nullptr; }
};

TEST(PoolerBaseTest, ClassIds)
{
    BlockFactory f(3, 1024, 102400);
    EXPECT_STREQ(f.ClassId(), L"s_thread_Factory");
    EXPECT_STREQ(s::thread::PoolerBase::CLASS_ID, L"s_thread_PoolerBase");
}

TEST(PoolerBaseTest, WithoutAccountingKeepsOneMoreThanTheMaximum)
{
    BlockFactory f(3, 1024, 102400);
    std::vector<void*> blocks;
    for (int i = 0; i < 6; ++i)
        blocks.push_back(f.Acquire());
    for (void* b : blocks)
        f.Release(b);
    EXPECT_EQ(f.KeptCount(), 4u);
    EXPECT_EQ(f.destroyed, 2);
    EXPECT_EQ(f.Acquire(), blocks[3]);  // last kept, first out
    EXPECT_EQ(static_cast<Block*>(blocks[3])->resets, 1);
    f.Release(blocks[3]);
}

TEST(PoolerBaseTest, AccountingLimitsObjectAndTotalSize)
{
    BlockFactory f(100, 50, 100);
    f.SetAccounting(true);
    f.nextSize = 60;
    void* big = f.Acquire();
    f.nextSize = 40;
    void* a = f.Acquire();
    void* b = f.Acquire();
    void* c = f.Acquire();
    f.Release(big);  // over the object limit
    EXPECT_EQ(f.destroyed, 1);
    f.Release(a);
    f.Release(b);
    EXPECT_EQ(f.TotalSize(), 80);
    f.Release(c);  // 80 + 40 > 100
    EXPECT_EQ(f.destroyed, 2);
    EXPECT_EQ(f.KeptCount(), 2u);
    f.Release(f.Acquire(), 100);  // an explicit size wins over SizeOf: too big
    EXPECT_EQ(f.TotalSize(), 40);
    EXPECT_EQ(f.destroyed, 3);
}

TEST(PoolerBaseTest, DestructorFaceReleases)
{
    BlockFactory f(3, 1024, 102400);
    void* slot = f.Acquire();
    void* object = slot;
    f.Destroy(&slot);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(f.Acquire(), object);
    f.Release(object);
}

} // namespace
