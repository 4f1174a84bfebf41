#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "PoolTestObjects.h"
#include "s/thread/EasyPooler.h"
#include "s/thread/Pooled.h"

using pooltest::Busy;
using pooltest::Font;
using pooltest::Widget;
using s::thread::EasyPooler;
using s::thread::PoolHooks;

namespace {

// A private pool of Widgets, so that counts do not depend on other tests.
EasyPooler* NewWidgetPool(int32_t maximum = EasyPooler::CLASS_POOL_MAX)
{
    return new EasyPooler(maximum, &PoolHooks<Widget>::Create, &PoolHooks<Widget>::Destroy,
                          &PoolHooks<Widget>::Recycle);
}

TEST(EasyPoolerTest, KeepsAThousandAndHandsOutTheLastReleasedFirst)
{
    EasyPooler* pool = NewWidgetPool();
    std::vector<Widget*> objects;
    for (int i = 0; i < 1001; ++i) {
        objects.push_back(static_cast<Widget*>(pool->Acquire()));
        objects.back()->value = i + 1;
    }
    const int destroyedBefore = Widget::counters.destroyed;
    for (Widget* w : objects)
        pool->Release(w);

    EXPECT_EQ(pool->KeptCount(), 1000u);
    EXPECT_EQ(Widget::counters.destroyed - destroyedBefore, 1);  // the 1001st

    Widget* first = static_cast<Widget*>(pool->Acquire());
    EXPECT_EQ(first, objects[999]);  // the 1000th released
    EXPECT_EQ(first->value, 0);      // reset when it went back
    Widget* second = static_cast<Widget*>(pool->Acquire());
    EXPECT_EQ(second, objects[998]);
    pool->Release(second);
    pool->Release(first);

    const int beforeDelete = Widget::counters.destroyed;
    delete pool;  // destroys everything it keeps
    EXPECT_EQ(Widget::counters.destroyed - beforeDelete, 1000);
}

TEST(EasyPoolerTest, EmptyPoolCreates)
{
    EasyPooler* pool = NewWidgetPool();
    const int made = Widget::counters.made;
    void* a = pool->Acquire();
    void* b = pool->Generate();
    EXPECT_NE(a, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(Widget::counters.made - made, 2);
    pool->Release(a);
    pool->Release(b);
    pool->Release(nullptr);  // ignored
    EXPECT_EQ(pool->KeptCount(), 2u);
    delete pool;
}

TEST(EasyPoolerTest, MaximumZeroDestroysEveryRelease)
{
    const int destroyed = Font::counters.destroyed;
    const int resets = Font::counters.resets;
    Font* f = Font::Acquire();
    f->Release();
    EXPECT_EQ(Font::counters.destroyed - destroyed, 1);
    EXPECT_EQ(Font::counters.resets - resets, 0);  // destroyed, not recycled
    EXPECT_EQ(Font::Pool().KeptCount(), 0u);
    EXPECT_EQ(Font::Pool().Maximum(), 0);
}

TEST(EasyPoolerTest, DestructorFaceReleasesAndClearsTheSlot)
{
    EasyPooler* pool = NewWidgetPool();
    Widget* w = static_cast<Widget*>(pool->Acquire());
    w->value = 5;
    void* slot = w;
    s::base::IDestructor* destructor = pool;
    destructor->Destroy(&slot);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(pool->KeptCount(), 1u);
    EXPECT_EQ(pool->Acquire(), static_cast<void*>(w));
    EXPECT_EQ(w->value, 0);
    destructor->Destroy(&slot);  // a null slot is ignored
    pool->Release(w);
    delete pool;
}

TEST(EasyPoolerTest, NewInstanceIsAnEmptyPoolWithTheSameHooks)
{
    EasyPooler* pool = NewWidgetPool(7);
    pool->Release(pool->Acquire());
    EasyPooler* other = static_cast<EasyPooler*>(pool->NewInstance());
    EXPECT_EQ(other->ClassId(), EasyPooler::CLASS_ID);
    EXPECT_EQ(other->Maximum(), 7);
    EXPECT_EQ(other->KeptCount(), 0u);
    const int made = Widget::counters.made;
    other->Release(other->Acquire());
    EXPECT_EQ(Widget::counters.made - made, 1);
    delete other;
    delete pool;
}

TEST(EasyPoolerTest, ClassPoolGivesBackResetObjects)
{
    EXPECT_EQ(&Widget::Pool(), &Widget::Pool());
    EXPECT_EQ(Widget::Pool().Maximum(), 1000);
    Widget* w = Widget::Acquire();
    w->value = 42;
    w->Release();
    Widget* again = Widget::Acquire();
    EXPECT_EQ(again, w);
    EXPECT_EQ(again->value, 0);
    s::base::IObject* made = again->NewInstance();
    EXPECT_EQ(made->ClassId(), Widget::CLASS_ID);
    EXPECT_NE(made, again);
    static_cast<Widget*>(made)->Release();
    again->Release();
}

TEST(EasyPoolerTest, RawBlocksComeBackZeroed)
{
    EasyPooler& pool = EasyPooler::RawBlocks16();
    EXPECT_EQ(pool.Maximum(), 10000);
    unsigned char* block = static_cast<unsigned char*>(pool.Acquire());
    const unsigned char zero[16] = {};
    EXPECT_EQ(std::memcmp(block, zero, 16), 0);
    std::memset(block, 0xAB, 16);
    pool.Release(block);
    unsigned char* again = static_cast<unsigned char*>(pool.Acquire());
    EXPECT_EQ(again, block);
    EXPECT_EQ(std::memcmp(again, zero, 16), 0);
    pool.Release(again);
}

// Several threads take their first look at one class pool at the same moment and
// then hammer it: exactly one pool, no object handed to two users at once, every
// object handed out reset, and nothing lost.
TEST(EasyPoolerTest, OnePoolHammeredFromSeveralThreads)
{
    constexpr int THREADS = 6;
    constexpr int ROUNDS = 3000;
    constexpr int HELD = 5;
    std::atomic<bool> go{false};
    std::atomic<int> faults{0};
    EasyPooler* seen[THREADS] = {};
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t) {
        threads.emplace_back([&, t] {
            while (!go.load())
                std::this_thread::yield();
            seen[t] = &Busy::Pool();
            Busy* held[HELD];
            for (int round = 0; round < ROUNDS; ++round) {
                for (int k = 0; k < HELD; ++k) {
                    held[k] = Busy::Acquire();
                    if (held[k]->owner != -1)
                        ++faults;
                    held[k]->owner = t;
                }
                for (int k = HELD - 1; k >= 0; --k) {
                    if (held[k]->owner != t)
                        ++faults;
                    held[k]->Release();
                }
            }
        });
    }
    go = true;
    for (std::thread& th : threads)
        th.join();

    EXPECT_EQ(faults.load(), 0);
    for (int t = 1; t < THREADS; ++t)
        EXPECT_EQ(seen[t], seen[0]);
    const int alive = Busy::counters.made - Busy::counters.destroyed;
    EXPECT_EQ(uint32_t(alive), Busy::Pool().KeptCount());
    EXPECT_LE(alive, THREADS * HELD);
}

} // namespace
