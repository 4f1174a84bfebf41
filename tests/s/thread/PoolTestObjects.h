#pragma once
// Pooled classes with counters for the pool tests.

#include <atomic>
#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace pooltest {

struct Counters
{
    std::atomic<int> made{0};
    std::atomic<int> destroyed{0};
    std::atomic<int> resets{0};
};

// 1000 kept, like every class pool.
class Widget : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"pooltest_Widget")
    S_POOLED(Widget)

public:
    static Counters counters;
    int value = 0;
    void Reset() override
    {
        value = 0;
        ++counters.resets;
    }

protected:
    Widget() { ++counters.made; }
    ~Widget() override { ++counters.destroyed; }
};

// Never kept.
class Font : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"pooltest_Font")
    S_POOLED_MAX(Font, 0)

public:
    static Counters counters;
    void Reset() override { ++counters.resets; }

protected:
    Font() { ++counters.made; }
    ~Font() override { ++counters.destroyed; }
};

// Used only by the threaded test, so its counts are its own.
class Busy : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"pooltest_Busy")
    S_POOLED(Busy)

public:
    static Counters counters;
    int owner = -1;
    void Reset() override { owner = -1; }

protected:
    Busy() { ++counters.made; }
    ~Busy() override { ++counters.destroyed; }
};

} // namespace pooltest
