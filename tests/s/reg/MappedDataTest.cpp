// The registry store against Wine's registry, checked with the Win32 registry functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "s/col/_array/ArrayU08.h"
#include "s/map/MappedDataContract.h"
#include "s/reg/MappedData.h"
#include "s/reg/RegTestKey.h"
#include "s/reg/win/RegDir.h"

namespace {

using regtest::TestKey;
using s::col::_array::ArrayU08;
using s::map::IMappedData;
using s::reg::MappedData;
using s::reg::win::RegDir;

std::vector<uint8_t> Le(uint64_t value, int n)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return bytes;
}

struct StoreFixture : ::testing::Test {
    TestKey key;
    MappedData* store = nullptr;
    void SetUp() override
    {
        store = s::reg::openRegistryStore(key.Path().c_str());
        ASSERT_NE(store, nullptr);
    }
    void TearDown() override
    {
        if (store) store->Release();
    }
};

using RegistryStore = StoreFixture;

// --- every type through the store ------------------------------------------------------

struct RoundTrip {
    const char* what;
    std::function<bool(IMappedData*)> write;  // into "Sec\Sub", value "v"
    DWORD type;
    std::vector<uint8_t> data;
    std::function<bool(IMappedData*)> readsBack;
};

std::vector<RoundTrip> RoundTrips()
{
    const wchar_t* S = L"Sec\\Sub";
    float f = 3.25f;
    double d = 1e300;
    uint32_t fb;
    uint64_t db;
    memcpy(&fb, &f, 4);
    memcpy(&db, &d, 8);
    return {
        {"U8", [=](IMappedData* m) { return m->setU8(S, L"v", 255); }, REG_DWORD, Le(255, 4),
         [=](IMappedData* m) { return m->getU8(S, L"v", 0) == 255; }},
        {"U16", [=](IMappedData* m) { return m->setU16(S, L"v", 0xFFFF); }, REG_DWORD, Le(65535, 4),
         [=](IMappedData* m) { return m->getU16(S, L"v", 0) == 0xFFFF; }},
        {"U32", [=](IMappedData* m) { return m->setU32(S, L"v", 4000000000u); }, REG_DWORD,
         Le(4000000000u, 4), [=](IMappedData* m) { return m->getU32(S, L"v", 0) == 4000000000u; }},
        {"U64", [=](IMappedData* m) { return m->setU64(S, L"v", ~0ULL - 1); }, REG_BINARY,
         Le(~0ULL - 1, 8), [=](IMappedData* m) { return m->getU64(S, L"v", 0) == ~0ULL - 1; }},
        {"S8", [=](IMappedData* m) { return m->setS8(S, L"v", -128); }, REG_DWORD, Le(0xFFFFFF80, 4),
         [=](IMappedData* m) { return m->getS8(S, L"v", 0) == -128; }},
        {"S16", [=](IMappedData* m) { return m->setS16(S, L"v", -1); }, REG_DWORD, Le(0xFFFFFFFF, 4),
         [=](IMappedData* m) { return m->getS16(S, L"v", 0) == -1; }},
        {"S32", [=](IMappedData* m) { return m->setS32(S, L"v", -7); }, REG_DWORD,
         Le(static_cast<uint32_t>(-7), 4), [=](IMappedData* m) { return m->getS32(S, L"v", 0) == -7; }},
        {"S64", [=](IMappedData* m) { return m->setS64(S, L"v", INT64_MIN); }, REG_BINARY,
         Le(static_cast<uint64_t>(INT64_MIN), 8),
         [=](IMappedData* m) { return m->getS64(S, L"v", 0) == INT64_MIN; }},
        {"F32", [=](IMappedData* m) { return m->setF32(S, L"v", 3.25f); }, REG_BINARY, Le(fb, 4),
         [=](IMappedData* m) { return m->getF32(S, L"v", 0) == 3.25f; }},
        {"F64", [=](IMappedData* m) { return m->setF64(S, L"v", 1e300); }, REG_BINARY, Le(db, 8),
         [=](IMappedData* m) { return m->getF64(S, L"v", 0) == 1e300; }},
        {"Bool", [=](IMappedData* m) { return m->setBool(S, L"v", true); }, REG_DWORD, Le(1, 4),
         [=](IMappedData* m) { return m->getBool(S, L"v", false); }},
        {"String", [=](IMappedData* m) { return m->setString(S, L"v", L"Close"); }, REG_SZ,
         {'C', 0, 'l', 0, 'o', 0, 's', 0, 'e', 0, 0, 0},
         [=](IMappedData* m) {
             bool expandable = true;
             return std::wstring(m->getString(S, L"v", L"x", &expandable, true)) == L"Close" && !expandable;
         }},
        {"Expandable", [=](IMappedData* m) { return m->setExpandableString(S, L"v", L"%A%"); },
         REG_EXPAND_SZ, {'%', 0, 'A', 0, '%', 0, 0, 0},
         [=](IMappedData* m) {
             bool expandable = false;
             return std::wstring(m->getString(S, L"v", L"x", &expandable, false)) == L"%A%" && expandable;
         }},
        {"Bytes",
         [=](IMappedData* m) {
             ArrayU08* a = ArrayU08::Acquire();
             for (int i = 0; i < 5; ++i) a->Add(static_cast<uint8_t>(0xF0 + i));
             bool ok = m->setBytes(S, L"v", a);
             a->Release();
             return ok;
         },
         REG_BINARY, {0xF0, 0xF1, 0xF2, 0xF3, 0xF4},
         [=](IMappedData* m) {
             ArrayU08* a = m->getBytes(S, L"v", nullptr);
             bool ok = a && a->Count() == 5 && a->Get(4) == 0xF4;
             if (a) a->Release();
             return ok;
         }},
    };
}

TEST_F(RegistryStore, EveryTypeRoundTripsWithItsEncoding)
{
    for (const RoundTrip& c : RoundTrips()) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.write(store));
        TestKey::Value v = key.Read(L"Sec\\Sub", L"v");
        ASSERT_TRUE(v.found);
        EXPECT_EQ(v.type, c.type);
        EXPECT_EQ(v.data, c.data);
        EXPECT_TRUE(c.readsBack(store));
        // A second store has nothing cached.
        MappedData* other = s::reg::openRegistryStore(key.Path().c_str());
        EXPECT_TRUE(c.readsBack(other));
        other->Release();
    }
}

// --- reading what is there -------------------------------------------------------------

TEST_F(RegistryStore, EdgeCasesOfReading)
{
    std::vector<uint8_t> four = Le(0x01020304, 4);
    key.Write(L"S", L"bin4", REG_BINARY, four.data(), 4);
    key.WriteDword(L"S", L"two", 2);
    key.Write(L"S", L"three", REG_BINARY, "abc", 3);
    uint64_t eight = 1;
    key.Write(L"S", L"eight", REG_QWORD, &eight, 8);

    EXPECT_EQ(store->getS32(L"S", L"bin4", 0), 0x01020304);
    EXPECT_TRUE(store->getBool(L"S", L"two", false));
    const wchar_t* def = L"def";
    EXPECT_EQ(store->getString(L"S", L"two", def, nullptr, true), def);
    // Wrong lengths give the default.
    EXPECT_EQ(store->getS32(L"S", L"three", -1), -1);
    EXPECT_EQ(store->getS32(L"S", L"eight", -1), -1);
    EXPECT_EQ(store->getU16(L"S", L"eight", 5), 5);
    EXPECT_EQ(store->getF64(L"S", L"bin4", 0.5), 0.5);
    EXPECT_EQ(store->getS64(L"S", L"two", -9), -9);
    EXPECT_FALSE(store->getBool(L"S", L"three", false));
    // Missing values too.
    EXPECT_EQ(store->getU32(L"S", L"none", 77), 77u);
    EXPECT_FALSE(store->hasValue(L"S", L"none"));
    EXPECT_TRUE(store->hasValue(L"S", L"three"));
}

TEST_F(RegistryStore, AMissingSectionGivesDefaultsAndIsNotCreated)
{
    const wchar_t* def = L"def";
    bool expandable = true;
    EXPECT_FALSE(store->openSectionForRead(L"Missing\\Deeper"));
    EXPECT_EQ(store->getS32(L"Missing\\Deeper", L"v", 12), 12);
    EXPECT_EQ(store->getString(L"Missing\\Deeper", L"v", def, &expandable, true), def);
    EXPECT_FALSE(expandable);
    EXPECT_FALSE(store->hasValue(L"Missing\\Deeper", L"v"));
    EXPECT_FALSE(store->removeValue(L"Missing\\Deeper", L"v"));

    ArrayU08* given = ArrayU08::Acquire();
    given->Add(1);
    EXPECT_EQ(store->getBytes(L"Missing\\Deeper", L"v", given), given);
    EXPECT_EQ(given->Count(), 1u);
    EXPECT_EQ(store->getBytes(L"Missing\\Deeper", L"v", nullptr), nullptr);
    given->Release();

    EXPECT_FALSE(key.Exists(L"Missing"));
    EXPECT_FALSE(key.Exists());  // not even the store's own key
}

TEST_F(RegistryStore, AMissingValueInAnExistingSection)
{
    key.WriteDword(L"S", L"other", 1);
    ArrayU08* given = ArrayU08::Acquire();
    given->Add(1);
    EXPECT_EQ(store->getBytes(L"S", L"v", given), nullptr);
    EXPECT_EQ(given->Count(), 1u);
    given->Release();
    EXPECT_EQ(store->getBytes(L"S", L"v", nullptr), nullptr);
}

TEST_F(RegistryStore, ReadsFromOneSectionOpenItsKeyOnce)
{
    key.WriteDword(L"MainWindow\\View", L"X", 10);
    key.WriteDword(L"MainWindow\\View", L"Y", 20);
    key.WriteDword(L"Other", L"Z", 30);

    EXPECT_EQ(store->getS32(L"MainWindow\\View", L"X", 0), 10);
    uint32_t opens = RegDir::NativeOpenCount();
    EXPECT_EQ(store->getS32(L"MainWindow\\View", L"Y", 0), 20);
    EXPECT_EQ(store->getS32(L"mainwindow\\VIEW", L"X", 0), 10);  // names ignore case
    EXPECT_TRUE(store->setS32(L"MainWindow\\View", L"W", 5));
    EXPECT_EQ(RegDir::NativeOpenCount(), opens);

    EXPECT_EQ(store->getS32(L"Other", L"Z", 0), 30);
    EXPECT_GT(RegDir::NativeOpenCount(), opens);
    opens = RegDir::NativeOpenCount();
    EXPECT_EQ(store->getS32(L"Other", L"Z", 0), 30);
    EXPECT_EQ(RegDir::NativeOpenCount(), opens);
}

TEST_F(RegistryStore, TheRootSectionAndTheUnnamedValue)
{
    EXPECT_TRUE(store->setBool(L"", L"AtRoot", true));
    EXPECT_TRUE(store->setString(L"Version", L"", L"1.16"));
    EXPECT_TRUE(store->getBool(nullptr, L"AtRoot", false));
    EXPECT_EQ(std::wstring(store->getString(L"Version", nullptr, L"", nullptr, false)), L"1.16");
    EXPECT_EQ(key.Read(L"", L"AtRoot").data, Le(1, 4));
    EXPECT_EQ(key.Read(L"Version", L"").type, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryStore, AStringStaysValidWhenAnotherSectionIsRead)
{
    key.Write(L"A", L"t", REG_SZ, L"first", 12);
    key.WriteDword(L"B", L"n", 1);
    const wchar_t* text = store->getString(L"A", L"t", L"", nullptr, false);
    EXPECT_EQ(store->getU32(L"B", L"n", 0), 1u);
    EXPECT_EQ(std::wstring(text), L"first");
}

TEST_F(RegistryStore, ExpandableStringsExpandOnRequest)
{
    SetEnvironmentVariableW(L"KAIRON_STORE_VAR", L"expanded");
    ASSERT_TRUE(store->setExpandableString(L"S", L"p", L"<%KAIRON_STORE_VAR%>"));
    bool expandable = false;
    EXPECT_EQ(std::wstring(store->getString(L"S", L"p", L"", &expandable, true)), L"<expanded>");
    EXPECT_TRUE(expandable);
    EXPECT_EQ(std::wstring(store->getString(L"S", L"p", L"", nullptr, false)), L"<%KAIRON_STORE_VAR%>");
    SetEnvironmentVariableW(L"KAIRON_STORE_VAR", nullptr);
}

// --- sections ----------------------------------------------------------------------------

TEST_F(RegistryStore, OpeningSections)
{
    EXPECT_FALSE(store->openSectionForRead(L"A\\B"));
    EXPECT_FALSE(key.Exists(L"A"));
    EXPECT_TRUE(store->openSectionForWrite(L"A\\B"));  // same name, now created
    EXPECT_TRUE(key.Exists(L"A\\B"));
    EXPECT_TRUE(store->openSectionForRead(L"A\\B"));
    EXPECT_TRUE(store->openSectionForRead(L"A"));
    EXPECT_TRUE(store->openSectionForRead(L""));
}

TEST_F(RegistryStore, RemoveSectionRemovesNestedKeys)
{
    ASSERT_TRUE(store->setS32(L"Win\\View", L"X", 1));
    ASSERT_TRUE(store->setS32(L"Win\\View\\Deep\\Deeper", L"X", 2));
    ASSERT_TRUE(store->setS32(L"Win\\Skin", L"X", 3));
    ASSERT_TRUE(store->setS32(L"Keep", L"X", 4));

    EXPECT_TRUE(store->removeSection(L"Win"));
    EXPECT_FALSE(key.Exists(L"Win"));
    EXPECT_TRUE(key.Exists(L"Keep"));
    EXPECT_EQ(store->getS32(L"Win\\View", L"X", -1), -1);
    EXPECT_FALSE(store->removeSection(L"Win"));

    // The section can be written again at once.
    EXPECT_TRUE(store->setS32(L"Win", L"X", 5));
    EXPECT_EQ(key.Read(L"Win", L"X").data, Le(5, 4));
}

TEST_F(RegistryStore, RemovingTheCurrentSectionThenWritingRecreatesIt)
{
    ASSERT_TRUE(store->setS32(L"S", L"X", 1));
    EXPECT_TRUE(store->removeSection(L"S"));
    EXPECT_TRUE(store->setS32(L"S", L"Y", 2));
    EXPECT_TRUE(key.Exists(L"S"));
    EXPECT_FALSE(key.Read(L"S", L"X").found);
    EXPECT_EQ(store->getS32(L"S", L"Y", 0), 2);
}

TEST_F(RegistryStore, AWriteSurvivesTheKeyBeingDeletedUnderneath)
{
    ASSERT_TRUE(store->setS32(L"S", L"X", 1));
    // Someone else deletes the section the store holds open.
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, key.Path(L"S").c_str()), ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, key.Path(L"S").c_str());
    ASSERT_FALSE(key.Exists(L"S"));
    EXPECT_TRUE(store->setS32(L"S", L"Y", 2));
    EXPECT_EQ(key.Read(L"S", L"Y").data, Le(2, 4));
}

TEST_F(RegistryStore, RemoveValue)
{
    ASSERT_TRUE(store->setU32(L"S", L"v", 1));
    EXPECT_TRUE(store->removeValue(L"S", L"v"));
    EXPECT_FALSE(key.Read(L"S", L"v").found);
    EXPECT_FALSE(store->removeValue(L"S", L"v"));
}

// --- auto-flush ----------------------------------------------------------------------------

class CountingStore : public MappedData
{
    S_CLASS_ID(L"tests_CountingStore")
    S_POOLED(CountingStore)

public:
    int flushes = 0;
    bool flush() override
    {
        ++flushes;
        return true;
    }
    void Reset() override
    {
        MappedData::Reset();
        flushes = 0;
    }
};

TEST(RegistryStoreAutoFlush, EveryWriteFlushesWhenOnAndNoneWhenOff)
{
    TestKey key;
    CountingStore* store = CountingStore::Acquire();
    ASSERT_TRUE(store->openBase(HKEY_CURRENT_USER, key.Path().c_str()));
    EXPECT_FALSE(store->getAutoFlush());

    std::vector<std::pair<const char*, std::function<void()>>> writes = {
        {"setU8", [&] { store->setU8(L"S", L"a", 1); }},
        {"setU16", [&] { store->setU16(L"S", L"a", 1); }},
        {"setU32", [&] { store->setU32(L"S", L"a", 1); }},
        {"setU64", [&] { store->setU64(L"S", L"a", 1); }},
        {"setS8", [&] { store->setS8(L"S", L"a", 1); }},
        {"setS16", [&] { store->setS16(L"S", L"a", 1); }},
        {"setS32", [&] { store->setS32(L"S", L"a", 1); }},
        {"setS64", [&] { store->setS64(L"S", L"a", 1); }},
        {"setF32", [&] { store->setF32(L"S", L"a", 1); }},
        {"setF64", [&] { store->setF64(L"S", L"a", 1); }},
        {"setBool", [&] { store->setBool(L"S", L"a", true); }},
        {"setString", [&] { store->setString(L"S", L"a", L"t"); }},
        {"setExpandableString", [&] { store->setExpandableString(L"S", L"a", L"t"); }},
        {"setBytes", [&] { store->setBytes(L"S", L"a", nullptr); }},
        {"removeValue", [&] { store->removeValue(L"S", L"a"); }},
        {"openSectionForWrite", [&] { store->openSectionForWrite(L"T"); }},
        {"removeSection", [&] { store->removeSection(L"T"); }},
    };
    for (auto& w : writes) {
        SCOPED_TRACE(w.first);
        store->flushes = 0;
        w.second();
        EXPECT_EQ(store->flushes, 0);
    }
    store->setAutoFlush(true);
    EXPECT_EQ(store->flushes, 0);  // switching it on does not flush
    EXPECT_TRUE(store->getAutoFlush());
    for (auto& w : writes) {
        SCOPED_TRACE(w.first);
        store->flushes = 0;
        w.second();
        EXPECT_EQ(store->flushes, 1);
    }
    store->flushes = 0;
    store->getS32(L"S", L"a", 0);
    store->openSectionForRead(L"S");
    EXPECT_EQ(store->flushes, 0);  // reads never flush
    store->Release();
}

TEST(RegistryStoreLifecycle, AReleasedStoreComesBackClearedWithAutoFlushOff)
{
    TestKey key;
    MappedData* store = s::reg::openRegistryStore(key.Path().c_str());
    store->setAutoFlush(true);
    store->setS32(L"S", L"X", 1);
    EXPECT_STREQ(store->ClassId(), L"s_reg_MappedData");
    EXPECT_EQ(store->ClassId(), MappedData::CLASS_ID);
    store->Release();

    MappedData* again = MappedData::Acquire();
    EXPECT_FALSE(again->getAutoFlush());
    EXPECT_EQ(again->getBaseDirectory(), nullptr);
    // Without a base every read gives its default and every write fails.
    EXPECT_EQ(again->getS32(L"S", L"X", -1), -1);
    EXPECT_FALSE(again->setS32(L"S", L"X", 2));
    EXPECT_FALSE(again->openSectionForWrite(L""));
    again->Release();
    EXPECT_EQ(key.Read(L"S", L"X").data, Le(1, 4));
}

TEST(RegistryStoreLifecycle, RemovingTheRootSectionRemovesTheStoresKey)
{
    TestKey key;
    MappedData* store = s::reg::openRegistryStore(key.Path(L"SaveData").c_str());
    ASSERT_TRUE(store->setS32(L"A\\B", L"X", 1));
    ASSERT_TRUE(store->setS32(L"", L"Y", 1));
    EXPECT_TRUE(store->removeSection(L""));
    EXPECT_FALSE(key.Exists(L"SaveData"));
    EXPECT_TRUE(key.Exists());
    EXPECT_TRUE(store->setS32(L"", L"Y", 2));
    EXPECT_EQ(key.Read(L"SaveData", L"Y").data, Le(2, 4));
    store->Release();
}

TEST(RegistryStoreLifecycle, AStoreOnTheBareRootNeverRemovesIt)
{
    MappedData* store = MappedData::Acquire();
    ASSERT_TRUE(store->openBase(HKEY_CURRENT_USER, L""));
    EXPECT_FALSE(store->removeSection(L""));
    EXPECT_TRUE(store->openSectionForRead(L"Software"));
    store->Release();
    MappedData* badRoot = MappedData::Acquire();
    EXPECT_FALSE(badRoot->openBase(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(1)), L"x"));
    EXPECT_FALSE(badRoot->setS32(L"", L"X", 1));
    badRoot->Release();
}

}  // namespace

namespace {

TEST(RegistryStoreContract, KeepsTheSettingsStoreContract)
{
    TestKey key;
    MappedData* store = s::reg::openRegistryStore(key.Path().c_str());
    mappeddata_contract::CheckAll(store);
    store->Release();
}

}  // namespace
