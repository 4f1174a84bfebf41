#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "s/col/CollectionInputStream.h"
#include "s/col/_array/ArrayBase.h"
#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayS08.h"
#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayU08.h"
#include "s/col/_array/ArrayU32.h"
#include "s/col/_array/Iterator.h"
#include "s/comp/CompP.h"
#include "s/comp/CompS08.h"
#include "s/comp/CompS32.h"
#include "s/comp/CompU08.h"
#include "s/comp/CompU32.h"

using namespace s::col::_array;

namespace {

std::vector<int32_t> Contents(const ArrayS32& a)
{
    return std::vector<int32_t>(a.Items(), a.Items() + a.Count());
}

// An ArrayS32 holding 0, 1, ..., n-1.
ArrayS32* Numbers(int32_t n)
{
    ArrayS32* a = ArrayS32::Acquire();
    for (int32_t i = 0; i < n; ++i)
        a->Add(i);
    return a;
}

struct Kind
{
    const wchar_t* name;
    ArrayBase* (*acquire)();
    const wchar_t* classId;
    uint32_t elementSize;
    const s::base::IComparator* comparator;
};

const Kind KINDS[] = {
    {L"ArrayP", [] { return static_cast<ArrayBase*>(ArrayP::Acquire()); }, L"s_col__array_ArrayP",
     sizeof(void*), &s::comp::CompP::Instance()},
    {L"ArrayU08", [] { return static_cast<ArrayBase*>(ArrayU08::Acquire()); },
     L"s_col__array_ArrayU08", 1, &s::comp::CompU08::Instance()},
    {L"ArrayS08", [] { return static_cast<ArrayBase*>(ArrayS08::Acquire()); },
     L"s_col__array_ArrayS08", 1, &s::comp::CompS08::Instance()},
    {L"ArrayS32", [] { return static_cast<ArrayBase*>(ArrayS32::Acquire()); },
     L"s_col__array_ArrayS32", 4, &s::comp::CompS32::Instance()},
    {L"ArrayU32", [] { return static_cast<ArrayBase*>(ArrayU32::Acquire()); },
     L"s_col__array_ArrayU32", 4, &s::comp::CompU32::Instance()},
};

TEST(ArrayBaseTest, IdentityOfEveryTypedArray)
{
    for (const Kind& k : KINDS) {
        ArrayBase* a = k.acquire();
        EXPECT_STREQ(a->ClassId(), k.classId);
        EXPECT_EQ(a->TypeIdentifier(), a->ClassId());
        EXPECT_EQ(a->ElementSize(), k.elementSize);
        EXPECT_EQ(a->ElementKind(), 5);
        EXPECT_EQ(a->GetElementDescriptor()->size, k.elementSize);
        EXPECT_EQ(a->DefaultComparator(), k.comparator);
        s::base::IObject* other = a->NewInstance();
        EXPECT_EQ(other->ClassId(), a->ClassId());
        static_cast<ArrayBase*>(other)->Release();
        a->Release();
    }
    ArrayBase plain(2);
    EXPECT_STREQ(plain.ClassId(), L"s_col_array_ArrayBase");
    EXPECT_EQ(plain.ElementKind(), 0);
    EXPECT_EQ(plain.DefaultComparator(), nullptr);
}

// First append makes room for 100, the 101st for 300, the 301st for 900, for
// every element size and both the one-element and the raw append.
TEST(ArrayBaseTest, GrowthStepsFromHundredToThreeHundred)
{
    for (const Kind& k : KINDS) {
        for (const bool raw : {false, true}) {
            ArrayBase* a = k.acquire();
            EXPECT_EQ(a->Capacity(), 0u);
            const uint64_t element = 0;
            std::vector<uint32_t> capacities;
            for (int i = 0; i < 301; ++i) {
                if (raw)
                    a->Append(&element, 1);
                else if (k.elementSize == sizeof(void*))
                    static_cast<ArrayP*>(a)->Add(nullptr);
                else if (a->ClassId() == ArrayS32::CLASS_ID)
                    static_cast<ArrayS32*>(a)->Add(0);
                else if (a->ClassId() == ArrayU32::CLASS_ID)
                    static_cast<ArrayU32*>(a)->Add(0);
                else if (a->ClassId() == ArrayU08::CLASS_ID)
                    static_cast<ArrayU08*>(a)->Add(0);
                else
                    static_cast<ArrayS08*>(a)->Add(0);
                if (i == 0 || i == 99 || i == 100 || i == 299 || i == 300)
                    capacities.push_back(a->Capacity());
            }
            EXPECT_EQ(capacities, (std::vector<uint32_t>{100, 100, 300, 300, 900}))
                << k.classId << " raw=" << raw;
            EXPECT_EQ(a->Count(), 301u);
            a->Release();
        }
    }
}

TEST(ArrayBaseTest, ExactAllocationAndStepsForMany)
{
    ArrayS32* a = ArrayS32::Acquire();
    a->SetCount(150);
    EXPECT_EQ(a->Capacity(), 150u);  // exact
    a->Clear();
    EXPECT_EQ(a->Capacity(), 150u);  // Clear keeps the storage
    a->FreeAll();
    EXPECT_EQ(a->Capacity(), 0u);
    EXPECT_EQ(a->Data(), nullptr);
    const int32_t values[7] = {};
    a->WriteAt(values, 7, 0, 3);  // exact, and raises the count
    EXPECT_EQ(a->Capacity(), 10u);
    EXPECT_EQ(a->Count(), 10u);
    a->FreeAll();
    std::vector<int32_t> many(250, 1);
    a->Append(many.data(), 250);  // steps until it fits: 100, 300
    EXPECT_EQ(a->Capacity(), 300u);
    a->ReserveGrow(301);
    EXPECT_EQ(a->Capacity(), 900u);
    a->Release();
}

TEST(ArrayBaseTest, InsertAtZeroOfAnEmptyArrayAppends)
{
    ArrayS32* a = ArrayS32::Acquire();
    const int32_t v[] = {4, 5};
    a->Insert(0, v, 2);
    EXPECT_EQ(Contents(*a), (std::vector<int32_t>{4, 5}));
    EXPECT_EQ(a->Capacity(), 100u);
    a->Release();
}

struct EditCase
{
    const char* name;
    void (*edit)(ArrayS32& a, int32_t* out);
    std::vector<int32_t> contents;
    std::vector<int32_t> out;  // what moved out, when anything did
};

const int32_t RAW[] = {100, 101, 102, 103};

// Every edit starts from 0 1 2 3 4 5.
const EditCase EDITS[] = {
    {"Append", [](ArrayS32& a, int32_t*) { a.Append(RAW, 2, 1); }, {0, 1, 2, 3, 4, 5, 101, 102}, {}},
    {"Prepend", [](ArrayS32& a, int32_t*) { a.Prepend(RAW, 2); }, {100, 101, 0, 1, 2, 3, 4, 5}, {}},
    {"InsertMiddle", [](ArrayS32& a, int32_t*) { a.Insert(2, RAW, 3, 1); },
     {0, 1, 101, 102, 103, 2, 3, 4, 5}, {}},
    {"InsertAtCount", [](ArrayS32& a, int32_t*) { a.Insert(6, RAW, 1); }, {0, 1, 2, 3, 4, 5, 100}, {}},
    {"WriteAtInside", [](ArrayS32& a, int32_t*) { a.WriteAt(RAW, 2, 0, 1); }, {0, 100, 101, 3, 4, 5}, {}},
    {"WriteAtPastEnd", [](ArrayS32& a, int32_t*) { a.WriteAt(RAW, 3, 0, 5); },
     {0, 1, 2, 3, 4, 100, 101, 102}, {}},
    {"DropLast", [](ArrayS32& a, int32_t*) { a.DropLast(2); }, {0, 1, 2, 3}, {}},
    {"DropLastTooMany", [](ArrayS32& a, int32_t*) { a.DropLast(9); }, {}, {}},
    {"DropFirst", [](ArrayS32& a, int32_t*) { a.DropFirst(2); }, {2, 3, 4, 5}, {}},
    {"RemoveRange", [](ArrayS32& a, int32_t*) { a.RemoveRange(1, 3); }, {0, 4, 5}, {}},
    {"PopLast", [](ArrayS32& a, int32_t* out) { a.PopLast(out, 2); }, {0, 1, 2, 3}, {4, 5}},
    {"PopFirst", [](ArrayS32& a, int32_t* out) { a.PopFirst(out, 2, 1); }, {2, 3, 4, 5}, {-1, 0, 1}},
    {"Extract", [](ArrayS32& a, int32_t* out) { a.Extract(3, out, 2); }, {0, 1, 2, 5}, {3, 4}},
    {"CopyOut", [](ArrayS32& a, int32_t* out) { a.CopyOut(out, 0, 4, -1); }, {0, 1, 2, 3, 4, 5}, {4, 5}},
    {"Swap", [](ArrayS32& a, int32_t*) { a.Swap(0, 5); }, {5, 1, 2, 3, 4, 0}, {}},
    {"SwapVia", [](ArrayS32& a, int32_t*) { int32_t t; a.SwapVia(1, 2, &t); }, {0, 2, 1, 3, 4, 5}, {}},
    {"Reverse", [](ArrayS32& a, int32_t*) { a.Reverse(); }, {5, 4, 3, 2, 1, 0}, {}},
    {"SetCountShrinks", [](ArrayS32& a, int32_t*) { a.SetCount(2); }, {0, 1}, {}},
    {"AppendOwnElements", [](ArrayS32& a, int32_t*) { a.Append(a.Items(), 3, 2); },
     {0, 1, 2, 3, 4, 5, 2, 3, 4}, {}},
    {"InsertOwnElementsAcrossTheGap", [](ArrayS32& a, int32_t*) { a.Insert(2, a.Items(), 3, 1); },
     {0, 1, 1, 2, 3, 2, 3, 4, 5}, {}},
};

TEST(ArrayBaseTest, EditsTable)
{
    for (const EditCase& c : EDITS) {
        ArrayS32* a = Numbers(6);
        int32_t out[4] = {-1, -1, -1, -1};
        c.edit(*a, out);
        EXPECT_EQ(Contents(*a), c.contents) << c.name;
        if (!c.out.empty()) {
            EXPECT_EQ(std::vector<int32_t>(out, out + c.out.size()), c.out) << c.name;
        }
        a->Release();
    }
}

TEST(ArrayBaseTest, OwnElementsSurviveGrowth)
{
    ArrayS32* a = Numbers(100);  // full: the append must grow while reading itself
    a->Append(a->Items(), 100);
    ASSERT_EQ(a->Count(), 200u);
    for (int32_t i = 0; i < 200; ++i)
        ASSERT_EQ(a->Get(uint32_t(i)), i % 100);
    a->Release();
}

TEST(ArrayBaseTest, OwnElementsSurviveGrowthThroughWriteAtAndTheStream)
{
    // Both grow the storage before copying: the source must not be read from
    // the freed block.
    ArrayS32* a = Numbers(100);
    a->WriteAt(a->Items(), 100, 0, 100);  // exact allocation to 200
    ASSERT_EQ(a->Count(), 200u);
    for (int32_t i = 0; i < 200; ++i)
        ASSERT_EQ(a->Get(uint32_t(i)), i % 100) << i;
    a->Release();

    ArrayS32* b = Numbers(100);
    ASSERT_TRUE(b->SeekEnd());
    uint32_t written = 0;
    ASSERT_TRUE(b->Write(b->Items(), 400, &written));
    EXPECT_EQ(written, 400u);
    ASSERT_EQ(b->Count(), 200u);
    for (int32_t i = 0; i < 200; ++i)
        ASSERT_EQ(b->Get(uint32_t(i)), i % 100) << i;
    b->Release();
}

TEST(ArrayBaseTest, CopyIntoAndFrom)
{
    ArrayS32* a = Numbers(5);
    ArrayS32* b = ArrayS32::Acquire();
    a->CopyInto(b, 0, 1, 3);
    EXPECT_EQ(Contents(*b), (std::vector<int32_t>{1, 2, 3}));
    b->CopyFrom(a, 3, 2, -1);
    EXPECT_EQ(Contents(*b), (std::vector<int32_t>{1, 2, 3, 4}));
    a->Release();
    b->Release();
}

TEST(ArrayBaseTest, CompareRangeAndCompare)
{
    ArrayU08* a = ArrayU08::Acquire();
    const uint8_t bytes[] = {1, 2, 3, 4};
    a->Append(bytes, 4);
    EXPECT_EQ(a->CompareRange(1, bytes, 2, 1, 2), 0);
    EXPECT_EQ(a->CompareRange(0, bytes, 2, 1, 2), -1);
    EXPECT_EQ(a->CompareRange(1, bytes, 2, 0, 2), 1);
    EXPECT_EQ(a->CompareRange(0, bytes, 2, 0, 3), -1);  // equal start, shorter region
    EXPECT_EQ(a->ByteSize(), 4u);
    EXPECT_EQ(a->ByteSize(3), 3u);

    ArrayS32* x = Numbers(3);
    ArrayS32* y = Numbers(3);
    ArrayS32* z = Numbers(4);
    EXPECT_EQ(x->Compare(y), 0);
    EXPECT_TRUE(x->Equals(y));
    EXPECT_EQ(x->Compare(z), -1);  // fewer elements first
    y->Set(2, -7);                 // signed order of the elements
    EXPECT_EQ(x->Compare(y), 1);
    EXPECT_EQ(y->Compare(x), -1);
    x->Release();
    y->Release();
    z->Release();
    a->Release();
}

TEST(ArrayBaseTest, FindValues)
{
    ArrayU32* a = ArrayU32::Acquire();
    a->Add(7);
    a->Add(0xFFFFFFFF);
    a->Add(7);
    EXPECT_EQ(a->IndexOf(7), 0);
    EXPECT_EQ(a->IndexOf(0xFFFFFFFF), 1);
    EXPECT_EQ(a->IndexOf(8), -1);
    a->Release();
}

TEST(ArrayBaseTest, PooledArraysComeBackEmpty)
{
    ArrayS32* a = Numbers(50);
    a->Release();
    ArrayS32* b = ArrayS32::Acquire();
    EXPECT_EQ(b, a);
    EXPECT_EQ(b->Count(), 0u);
    EXPECT_EQ(b->Capacity(), 0u);  // FreeAll gave the storage back
    EXPECT_EQ(b->GetPosition(), 0);
    b->Release();
}

TEST(ArrayBaseTest, StreamFacesShareOnePosition)
{
    ArrayS32* a = ArrayS32::Acquire();
    const uint8_t six[6] = {1, 0, 0, 0, 2, 0};
    uint32_t done = 0;
    ASSERT_TRUE(a->Write(six, 6, &done));
    EXPECT_EQ(done, 6u);
    EXPECT_EQ(a->GetPosition(), 6);
    EXPECT_EQ(a->Count(), 1u);  // position 6 / 4 elements
    ASSERT_TRUE(a->Write(six, 2, &done));
    EXPECT_EQ(a->Count(), 2u);
    EXPECT_EQ(a->Get(0), 1);
    EXPECT_EQ(a->Get(1), 0x00010002);

    ASSERT_TRUE(a->Rewind());
    uint8_t back[16] = {};
    ASSERT_TRUE(a->Read(back, 16, &done));
    EXPECT_EQ(done, 8u);  // only what the count holds
    EXPECT_EQ(std::memcmp(back, six, 6), 0);
    ASSERT_TRUE(a->Read(back, 16, &done));
    EXPECT_EQ(done, 0u);  // at the end: nothing, no failure

    EXPECT_TRUE(a->SeekFromEnd(4));
    EXPECT_EQ(a->GetPosition(), 4);
    EXPECT_TRUE(a->Back(4));
    EXPECT_FALSE(a->Back(1));  // before the start
    EXPECT_EQ(a->GetPosition(), 0);
    EXPECT_TRUE(a->Skip(4));
    EXPECT_TRUE(a->SetEnd());
    EXPECT_EQ(a->Count(), 1u);
    EXPECT_TRUE(a->SeekEnd());
    EXPECT_EQ(a->GetPosition(), 4);
    EXPECT_FALSE(a->SetPosition(-1));
    EXPECT_TRUE(a->IsSeekable());

    a->Clear();
    EXPECT_EQ(a->GetPosition(), 0);
    a->Release();
}

// A write whose end, rounded up to whole elements, is beyond 4 GiB used to wrap in
// 32 bits: nothing was grown and the copy went far past the storage (the process
// died). It is refused now, with nothing written and the array as it was.
TEST(ArrayBaseTest, StreamWriteWhoseEndDoesNotFitIsRefused)
{
    struct Case
    {
        const char* name;
        ArrayBase* array;
        int64_t position;
        uint32_t n;
    };
    const Case cases[] = {
        {"S32 just below 4 GiB", ArrayS32::Acquire(), 0xFFFFFFFCll, 2},
        {"U32 ending on the last byte", ArrayU32::Acquire(), 0xFFFFFFFDll, 2},
        {"P at the last byte", ArrayP::Acquire(), 0xFFFFFFFFll, 1},
        {"U08 past the last byte", ArrayU08::Acquire(), 0xFFFFFFFFll, 2},
        {"S32 a huge write", ArrayS32::Acquire(), 8, 0xFFFFFFFCu},
    };
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.array->Append(bytes, 8 >> c.array->ElementShift());
        const uint32_t count = c.array->Count();
        ASSERT_TRUE(c.array->SetPosition(c.position));
        uint32_t written = 7;
        EXPECT_FALSE(c.array->Write(bytes, c.n, &written));
        EXPECT_EQ(written, 0u);
        EXPECT_EQ(c.array->Count(), count);
        EXPECT_EQ(c.array->GetPosition(), c.position);
        EXPECT_EQ(std::memcmp(c.array->Data(), bytes, 8), 0);
        // The array goes on working.
        ASSERT_TRUE(c.array->SeekEnd());
        EXPECT_TRUE(c.array->Write(bytes, 8, &written));
        EXPECT_EQ(c.array->ByteSize(-1), 16u);
        c.array->Release();
    }
}

TEST(ArrayBaseTest, CollectionInputStreamHasItsOwnPosition)
{
    ArrayU08* a = ArrayU08::Acquire();
    const uint8_t bytes[] = {10, 20, 30, 40, 50};
    a->Append(bytes, 5);
    a->SetPosition(3);
    s::io::IInputStream* in = a->OpenInputStream();
    ASSERT_NE(in, nullptr);
    EXPECT_STREQ(static_cast<s::col::CollectionInputStream*>(in)->ClassId(),
                 L"s_col_CollectionInputStream");
    uint8_t got[8] = {};
    uint32_t n = 0;
    ASSERT_TRUE(in->Read(got, 2, &n));
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(got[0], 10);
    EXPECT_EQ(got[1], 20);
    EXPECT_EQ(a->GetPosition(), 3);  // the array's own position did not move
    EXPECT_TRUE(in->SeekFromEnd(1));
    ASSERT_TRUE(in->Read(got, 8, &n));
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(got[0], 50);
    EXPECT_FALSE(in->SetPosition(6));  // beyond the bytes
    in->Close();
    ASSERT_TRUE(in->Read(got, 8, &n));
    EXPECT_EQ(n, 0u);
    in->Release();
    a->Release();
}

TEST(ArrayBaseTest, IteratorsWalkBothWays)
{
    ArrayS32* a = Numbers(4);
    s::col::IteratorBase* it = a->Begin();
    EXPECT_STREQ(it->ClassId(), L"s_col_array_Iterator");
    EXPECT_EQ(it->GetIndex(), -1);
    std::vector<int32_t> forward;
    while (it->HasNext())
        forward.push_back(*static_cast<int32_t*>(it->Next()));
    EXPECT_EQ(forward, (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(it->GetIndex(), 3);
    it->Release();

    it = a->End();
    EXPECT_EQ(it->GetIndex(), 4);
    std::vector<int32_t> backward;
    while (it->HasPrevious())
        backward.push_back(*static_cast<int32_t*>(it->Previous()));
    EXPECT_EQ(backward, (std::vector<int32_t>{3, 2, 1, 0}));
    it->Release();

    it = a->IteratorAt(2);
    EXPECT_EQ(it->GetIndex(), 1);
    EXPECT_EQ(*static_cast<int32_t*>(it->Next()), 2);
    it->Skip(-2);
    EXPECT_EQ(it->GetIndex(), 0);
    EXPECT_EQ(*static_cast<int32_t*>(it->Next()), 1);
    it->SetIndex(-1);
    EXPECT_EQ(*static_cast<int32_t*>(it->Next()), 0);
    it->Release();

    it = a->IteratorFromEnd(1);
    EXPECT_EQ(*static_cast<int32_t*>(it->Next()), 3);
    EXPECT_FALSE(it->HasNext());
    it->Release();

    EXPECT_EQ(*static_cast<int32_t*>(a->PointerAt(2)), 2);

    // Iterators are pooled and come back reset.
    s::col::IteratorBase* first = a->Begin();
    first->Release();
    Iterator* again = Iterator::Acquire();
    EXPECT_EQ(static_cast<s::col::IteratorBase*>(again), first);
    EXPECT_EQ(again->Array(), nullptr);
    EXPECT_EQ(again->GetIndex(), -1);
    again->Release();
    a->Release();
}

TEST(ArrayBaseTest, DigestIsTheMd5OfTheBytes)
{
    ArrayU08* a = ArrayU08::Acquire();
    a->Append("abc", 3);
    uint8_t out[16] = {};
    ASSERT_TRUE(a->Digest(nullptr, out));
    const uint8_t expected[16] = {0x90, 0x01, 0x50, 0x98, 0x3c, 0xd2, 0x4f, 0xb0,
                                  0xd6, 0x96, 0x3f, 0x7d, 0x28, 0xe1, 0x7f, 0x72};
    EXPECT_EQ(std::memcmp(out, expected, 16), 0);
    EXPECT_FALSE(a->Digest(nullptr, nullptr));
    a->Release();
}

} // namespace
