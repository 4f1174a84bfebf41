#include <gtest/gtest.h>

#include <cstdint>

#include "s/comp/CompP.h"
#include "s/comp/CompS08.h"
#include "s/comp/CompS32.h"
#include "s/comp/CompU08.h"
#include "s/comp/CompU32.h"

namespace {

using s::base::IComparator;

struct ValueCase
{
    const IComparator* comparator;
    int64_t a;
    int64_t b;
    int expected;
};

// Packs the value into the element type that the comparator reads.
template <class T>
int CompareAs(const IComparator* c, int64_t a, int64_t b)
{
    const T x = static_cast<T>(a), y = static_cast<T>(b);
    EXPECT_EQ(c->CompareElementsIgnoreCase(&x, &y), c->CompareElements(&x, &y));
    return c->CompareElements(&x, &y);
}

TEST(ComparatorTest, ValueComparatorsAnswerMinusOneZeroOne)
{
    const IComparator* u08 = &s::comp::CompU08::Instance();
    const IComparator* s08 = &s::comp::CompS08::Instance();
    const IComparator* s32 = &s::comp::CompS32::Instance();
    const IComparator* u32 = &s::comp::CompU32::Instance();
    const ValueCase cases[] = {
        {u08, 1, 2, -1},     {u08, 200, 100, 1},       {u08, 7, 7, 0},
        {s08, -1, 1, -1},    {s08, 127, -128, 1},      {s08, -5, -5, 0},
        {s32, -100000, 3, -1}, {s32, 2147483647, -2147483647 - 1, 1}, {s32, 0, 0, 0},
        {u32, 0xFFFFFFFF, 1, 1}, {u32, 5, 6, -1},      {u32, 9, 9, 0},
    };
    for (const ValueCase& c : cases) {
        int got;
        if (c.comparator == u08)
            got = CompareAs<uint8_t>(c.comparator, c.a, c.b);
        else if (c.comparator == s08)
            got = CompareAs<int8_t>(c.comparator, c.a, c.b);
        else if (c.comparator == s32)
            got = CompareAs<int32_t>(c.comparator, c.a, c.b);
        else
            got = CompareAs<uint32_t>(c.comparator, c.a, c.b);
        EXPECT_EQ(got, c.expected) << c.a << " vs " << c.b;
    }
}

// Pointers that differ only above bit 31 must not compare equal, and the order is
// that of the full addresses.
TEST(ComparatorTest, CompPComparesFullWidthAddresses)
{
    const IComparator& c = s::comp::CompP::Instance();
    const void* low = reinterpret_cast<const void*>(uintptr_t(0x10));
    const void* high = reinterpret_cast<const void*>(uintptr_t(0x10) | (uintptr_t(1) << 40));
    const void* top = reinterpret_cast<const void*>(~uintptr_t(0));
    EXPECT_EQ(c.CompareElements(low, high), -1);
    EXPECT_EQ(c.CompareElements(high, low), 1);
    EXPECT_EQ(c.CompareElements(high, high), 0);
    EXPECT_EQ(c.CompareElements(top, high), 1);  // unsigned: the top address is the largest
    EXPECT_EQ(c.CompareElementsIgnoreCase(low, high), -1);
}

TEST(ComparatorTest, ClassIdsAndInstances)
{
    EXPECT_STREQ(s::comp::CompP::Instance().ClassId(), L"s_comp_CompP");
    EXPECT_STREQ(s::comp::CompU08::Instance().ClassId(), L"s_comp_CompU08");
    EXPECT_STREQ(s::comp::CompS08::Instance().ClassId(), L"s_comp_CompS08");
    EXPECT_STREQ(s::comp::CompS32::Instance().ClassId(), L"s_comp_CompS32");
    EXPECT_STREQ(s::comp::CompU32::Instance().ClassId(), L"s_comp_CompU32");
    EXPECT_EQ(s::comp::CompP::Instance().ClassId(), s::comp::CompP::CLASS_ID);
    EXPECT_EQ(&s::comp::CompS32::Instance(), &s::comp::CompS32::Instance());
    s::base::IObject* fresh = s::comp::CompS32::Instance().NewInstance();
    EXPECT_EQ(fresh->ClassId(), s::comp::CompS32::CLASS_ID);
    delete fresh;
}

} // namespace
