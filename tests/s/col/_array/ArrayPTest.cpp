#include <gtest/gtest.h>

#include <vector>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/col/_array/ArrayP.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

using s::col::_array::ArrayP;

namespace {

class Item : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"arrayptest_Item")
    S_POOLED(Item)

public:
    int value = 0;
    void Reset() override { value = 0; }
};

uint32_t Kept()
{
    return Item::Pool().KeptCount();
}

ArrayP* ListOfItems(int n)
{
    ArrayP* list = ArrayP::Acquire(&Item::Pool());
    for (int i = 0; i < n; ++i) {
        Item* item = Item::Acquire();
        item->value = i + 1;
        list->Add(item);
    }
    return list;
}

TEST(ArrayPTest, ReleasingTheListReleasesItsElements)
{
    ArrayP* list = ListOfItems(5);
    const uint32_t kept = Kept();
    list->Release();
    EXPECT_EQ(Kept(), kept + 5);
}

TEST(ArrayPTest, ClearReleasesNothing)
{
    ArrayP* list = ListOfItems(5);
    std::vector<Item*> items;
    for (uint32_t i = 0; i < 5; ++i)
        items.push_back(static_cast<Item*>(list->Get(i)));
    const uint32_t kept = Kept();
    list->Clear();
    EXPECT_EQ(Kept(), kept);
    EXPECT_EQ(list->Count(), 0u);
    for (Item* item : items) {
        EXPECT_NE(item->value, 0);  // still in use, untouched
        item->Release();
    }
    list->Release();
}

TEST(ArrayPTest, WhatEachRemovalDoesWithTheElements)
{
    struct Case
    {
        const char* name;
        void (*remove)(ArrayP& list, void** out);
        uint32_t released;  // elements given back to the pool by the list
        uint32_t left;
    };
    const Case cases[] = {
        {"FreeAll", [](ArrayP& l, void**) { l.FreeAll(); }, 4, 0},
        {"DropLast", [](ArrayP& l, void**) { l.DropLast(2); }, 2, 2},
        {"DropFirst", [](ArrayP& l, void**) { l.DropFirst(1); }, 1, 3},
        {"RemoveRange", [](ArrayP& l, void**) { l.RemoveRange(1, 2); }, 2, 2},
        {"RemoveAt", [](ArrayP& l, void**) { l.RemoveAt(3); }, 1, 3},
        {"PopLast", [](ArrayP& l, void** out) { l.PopLast(out, 2); }, 0, 2},
        {"Extract", [](ArrayP& l, void** out) { l.Extract(1, out, 2); }, 0, 2},
        {"TakeAt", [](ArrayP& l, void** out) { out[0] = l.TakeAt(0); }, 0, 3},
        {"Clear", [](ArrayP& l, void** out) {
             for (uint32_t i = 0; i < l.Count(); ++i)
                 out[i] = l.Get(i);
             l.Clear();
         }, 0, 0},
    };
    for (const Case& c : cases) {
        ArrayP* list = ListOfItems(4);
        void* out[4] = {};
        const uint32_t kept = Kept();
        c.remove(*list, out);
        EXPECT_EQ(Kept() - kept, c.released) << c.name;
        EXPECT_EQ(list->Count(), c.left) << c.name;
        for (void* o : out) {
            if (o)
                static_cast<Item*>(o)->Release();  // what moved out is ours
        }
        list->Release();
    }
}

TEST(ArrayPTest, ListsFromThePoolHaveNoElementDestructor)
{
    ArrayP* owning = ListOfItems(1);
    owning->Release();
    ArrayP* plain = ArrayP::Acquire();
    EXPECT_EQ(plain, owning);
    EXPECT_EQ(plain->ElementDestructor(), nullptr);
    Item* item = Item::Acquire();
    plain->Add(item);
    const uint32_t kept = Kept();
    plain->Release();  // no destructor: the element is not ours to release
    EXPECT_EQ(Kept(), kept);
    item->Release();
}

TEST(ArrayPTest, FindAndSort)
{
    Item items[3];
    ArrayP* list = ArrayP::Acquire();
    list->Add(&items[2]);
    list->Add(&items[0]);
    list->Add(&items[1]);
    EXPECT_EQ(list->IndexOf(&items[0]), 1);
    EXPECT_EQ(list->IndexOf(nullptr), -1);
    ASSERT_TRUE(list->Sort());  // by address
    EXPECT_EQ(list->Get(0), &items[0]);
    EXPECT_EQ(list->Get(2), &items[2]);
    ASSERT_TRUE(list->Sort(nullptr, true));
    EXPECT_EQ(list->Get(0), &items[2]);
    EXPECT_EQ(list->Last(), &items[0]);
    list->Release();
}

// The pool's recycling of the outer list releases the inner lists into the same
// pool while it is being entered (the lock is re-entrant).
TEST(ArrayPTest, ListOfListsGoesBackToOnePool)
{
    ArrayP* outer = ArrayP::Acquire(&ArrayP::Pool());
    for (int i = 0; i < 3; ++i) {
        ArrayP* inner = ArrayP::Acquire(&Item::Pool());
        inner->Add(Item::Acquire());
        outer->Add(inner);
    }
    const uint32_t lists = ArrayP::Pool().KeptCount();
    const uint32_t items = Kept();
    outer->Release();
    EXPECT_EQ(ArrayP::Pool().KeptCount(), lists + 4);
    EXPECT_EQ(Kept(), items + 3);
}

TEST(ArrayPTest, DestroyedListDisposesOfItsElements)
{
    uint32_t kept = 0;
    {
        ArrayP embedded;  // e.g. a list inside another object
        embedded.SetElementDestructor(&Item::Pool());
        embedded.Add(Item::Acquire());
        embedded.Add(Item::Acquire());
        kept = Kept();
    }
    EXPECT_EQ(Kept(), kept + 2);
}

} // namespace
