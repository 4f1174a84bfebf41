#include <gtest/gtest.h>

#include "s/base/ClassId.h"
#include "s/base/IComparator.h"
#include "s/base/IObject.h"

namespace {

class Apple : public s::base::IObject
{
    S_CLASS_ID(L"tests_Apple")

public:
    s::base::IObject* NewInstance() const override { return new Apple(); }
};

class Pear : public s::base::IObject
{
    S_CLASS_ID(L"tests_Pear")

public:
    s::base::IObject* NewInstance() const override { return new Pear(); }
};

// Orders by the first byte of the object's class identifier and says so when asked
// for case-insensitivity, to show which operation was used.
class FixedComparator : public s::base::IComparator
{
public:
    int CompareElements(const void*, const void*) const override { return 7; }
    int CompareElementsIgnoreCase(const void*, const void*) const override { return 0; }
};

TEST(IComparableTest, WithoutComparatorOrdersByAddress)
{
    Apple objects[2];
    EXPECT_EQ(objects[0].Compare(&objects[1]), -1);
    EXPECT_EQ(objects[1].Compare(&objects[0]), 1);
    EXPECT_EQ(objects[0].Compare(&objects[0]), 0);
    EXPECT_EQ(objects[0].CompareIgnoreCase(&objects[1]), -1);
    EXPECT_TRUE(objects[0].Equals(&objects[0]));
    EXPECT_FALSE(objects[0].Equals(&objects[1]));
    EXPECT_FALSE(objects[0].EqualsIgnoreCase(&objects[1]));
    EXPECT_EQ(objects[0].Compare(nullptr), 1);
}

TEST(IComparableTest, ComparatorDecides)
{
    Apple a, b;
    FixedComparator c;
    EXPECT_EQ(a.Compare(&b, &c), 7);
    EXPECT_EQ(a.CompareIgnoreCase(&b, &c), 0);
    EXPECT_FALSE(a.Equals(&b, &c));
    EXPECT_TRUE(a.EqualsIgnoreCase(&b, &c));
}

TEST(IComparableTest, HashCodeIdentifiesTheClass)
{
    Apple a, b;
    Pear p;
    EXPECT_EQ(a.HashCode(), b.HashCode());
    EXPECT_NE(a.HashCode(), p.HashCode());
    EXPECT_EQ(a.HashCodeIgnoreCase(), a.HashCode());
}

TEST(IComparableTest, ClassIdIsTheClassConstant)
{
    Apple a;
    Pear p;
    EXPECT_EQ(a.ClassId(), Apple::CLASS_ID);
    EXPECT_NE(p.ClassId(), Apple::CLASS_ID);
    EXPECT_STREQ(a.ClassId(), L"tests_Apple");
    s::base::IObject* fresh = a.NewInstance();
    EXPECT_EQ(fresh->ClassId(), Apple::CLASS_ID);
    delete fresh;
}

} // namespace
