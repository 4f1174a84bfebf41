// StrArray: owning its strings, lookups, sorting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/str/strbuffer/StrComparator.h"

using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

namespace {

std::vector<std::wstring> Items(const StrArray* list)
{
    std::vector<std::wstring> out;
    for (uint32_t i = 0; i < list->Count(); ++i)
        out.emplace_back(list->Get(i)->CStr());
    return out;
}

} // namespace

TEST(StrArray, ClassIdAndFreshState)
{
    StrArray* list = StrArray::Acquire();
    EXPECT_EQ(list->ClassId(), StrArray::CLASS_ID);
    EXPECT_STREQ(list->ClassId(), L"s_str_strarray_StrArray");
    EXPECT_EQ(list->Count(), 0u);
    EXPECT_EQ(list->List().ElementDestructor(), &StrBuffer::Pool());
    list->Release();
}

TEST(StrArray, AddAndFind)
{
    StrArray* list = StrArray::Acquire();
    list->Add(L"Alpha");
    list->Add(L"beta-gamma", 4);
    StrBuffer* own = StrBuffer::Acquire(L"Gamma");
    list->AddOwned(own);
    StrBuffer* copy = list->Add(*own);
    EXPECT_NE(copy, own);
    EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"Alpha", L"beta", L"Gamma", L"Gamma"}));
    EXPECT_EQ(list->IndexOfIgnoreCase(L"BETA"), 1);
    EXPECT_EQ(list->IndexOfIgnoreCase(*own), 2);
    EXPECT_EQ(list->IndexOf(L"alpha"), -1);
    EXPECT_EQ(list->IndexOf(L"Alpha"), 0);
    EXPECT_EQ(list->IndexOfIgnoreCase(L"delta"), -1);

    StrBuffer* joined = list->Join(L", ");
    EXPECT_STREQ(joined->CStr(), L"Alpha, beta, Gamma, Gamma");
    joined->Release();
    list->Release();
}

TEST(StrArray, ReleasingTheListReleasesItsStringsButClearDoesNot)
{
    // Take three strings out of the pool first so that the counts below are ours.
    StrBuffer* a = StrBuffer::Acquire(L"a");
    StrBuffer* b = StrBuffer::Acquire(L"b");
    StrBuffer* c = StrBuffer::Acquire(L"c");
    StrArray* list = StrArray::Acquire();
    list->AddOwned(a);
    list->AddOwned(b);
    list->AddOwned(c);

    const uint32_t kept = StrBuffer::Pool().KeptCount();
    StrBuffer* taken = list->TakeAt(1);
    EXPECT_EQ(taken, b);
    list->RemoveAt(1);  // c goes back to its pool
    EXPECT_EQ(StrBuffer::Pool().KeptCount(), kept + 1);
    list->Release();    // a goes back too
    EXPECT_EQ(StrBuffer::Pool().KeptCount(), kept + 2);

    StrArray* other = StrArray::Acquire();
    other->AddOwned(taken);
    other->List().Clear();  // forgets without releasing
    EXPECT_EQ(StrBuffer::Pool().KeptCount(), kept + 2);
    EXPECT_EQ(taken->Length(), 1u);
    other->Release();
    taken->Release();
    EXPECT_EQ(StrBuffer::Pool().KeptCount(), kept + 3);
}

TEST(StrArray, ComesBackFromThePoolEmptyAndStillOwning)
{
    StrArray* list = StrArray::Acquire();
    list->Add(L"x");
    list->Release();
    StrArray* again = StrArray::Acquire();
    EXPECT_EQ(again, list);
    EXPECT_EQ(again->Count(), 0u);
    EXPECT_EQ(again->List().ElementDestructor(), &StrBuffer::Pool());
    again->Release();
}

TEST(StrArray, SortIsStableAndCanIgnoreCase)
{
    StrArray* list = StrArray::Acquire();
    for (const wchar_t* t : {L"b", L"B", L"a", L"A", L"c", L"a", L"bb", L"Ba", L"\u0101"})
        list->Add(t);
    ASSERT_TRUE(list->Sort(true));
    // Equal ignoring case keeps the input order; the shorter comes first.
    EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"a", L"A", L"a", L"b", L"B", L"Ba", L"bb",
                                                     L"c", L"\u0101"}));
    ASSERT_TRUE(list->Sort());
    // Byte order: U+0101 (low byte 0x01) first, upper case before lower case.
    EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"\u0101", L"A", L"B", L"Ba", L"a", L"a",
                                                     L"b", L"bb", L"c"}));
    ASSERT_TRUE(list->Sort(false, true));
    EXPECT_EQ(list->Get(0)->CStr(), std::wstring(L"c"));
    list->Release();
}

TEST(StrArray, Equality)
{
    StrArray* a = StrArray::Acquire();
    StrArray* b = StrArray::Acquire();
    a->Add(L"x");
    b->Add(L"x");
    EXPECT_TRUE(a->Equals(b));
    b->Add(L"y");
    EXPECT_FALSE(a->Equals(b));
    a->Add(L"Y");
    EXPECT_FALSE(a->Equals(b));
    EXPECT_TRUE(a->EqualsIgnoreCase(b));
    a->Release();
    b->Release();
}

TEST(StrComparator, OrdersStringPointers)
{
    using s::str::strbuffer::StrComparator;
    const StrComparator& c = StrComparator::Instance();
    EXPECT_STREQ(c.ClassId(), L"s_str_strbuffer_StrComparator");
    StrBuffer* a = StrBuffer::Acquire(L"a");
    StrBuffer* upper = StrBuffer::Acquire(L"A");
    EXPECT_GT(c.CompareElements(a, upper), 0);  // 0x61 after 0x41
    EXPECT_EQ(c.CompareElementsIgnoreCase(a, upper), 0);
    EXPECT_LT(c.CompareElements(nullptr, a), 0);
    EXPECT_EQ(c.CompareElements(nullptr, nullptr), 0);
    a->Release();
    upper->Release();
}
