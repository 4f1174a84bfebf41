#pragma once
// What every settings store (s::map::IMappedData) must do, whatever keeps its values.
// Each check takes a fresh, empty, writable store that the caller owns. A store's own test
// program runs them, e.g.:
//
//     TEST(MyStore, KeepsTheSettingsStoreContract) {
//         MyStore* store = ...;                        // fresh and empty
//         mappeddata_contract::CheckAll(store);
//         store->Release();
//     }
//
// Only what the interface promises is checked; how a store encodes its values is its own
// test's business. Values are chosen so that a text encoding with six decimals keeps them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "s/col/_array/ArrayU08.h"
#include "s/map/IMappedData.h"

namespace mappeddata_contract {

using s::col::_array::ArrayU08;
using s::map::IMappedData;

inline void RoundTripsEveryType(IMappedData* m)
{
    const wchar_t* S = L"Contract\\Types";
    EXPECT_TRUE(m->setU8(S, L"u8", 255));
    EXPECT_TRUE(m->setU16(S, L"u16", 65535));
    EXPECT_TRUE(m->setU32(S, L"u32", 4000000000u));
    EXPECT_TRUE(m->setU64(S, L"u64", 18000000000000000000ULL));
    EXPECT_TRUE(m->setS8(S, L"s8", -128));
    EXPECT_TRUE(m->setS16(S, L"s16", -32768));
    EXPECT_TRUE(m->setS32(S, L"s32", INT32_MIN));
    EXPECT_TRUE(m->setS64(S, L"s64", INT64_MIN));
    EXPECT_TRUE(m->setF32(S, L"f32", -3.25f));
    EXPECT_TRUE(m->setF64(S, L"f64", 1234.5));
    EXPECT_TRUE(m->setBool(S, L"yes", true));
    EXPECT_TRUE(m->setBool(S, L"no", false));
    EXPECT_TRUE(m->setString(S, L"text", L"Vesk Kairon \u65e5\u672c"));
    EXPECT_TRUE(m->setString(S, L"empty", L""));
    EXPECT_TRUE(m->setString(S, L"", L"unnamed"));
    ArrayU08* bytes = ArrayU08::Acquire();
    for (int i = 0; i < 4; ++i) bytes->Add(static_cast<uint8_t>(i * 85));
    EXPECT_TRUE(m->setBytes(S, L"bytes", bytes));
    bytes->Release();

    EXPECT_EQ(m->getU8(S, L"u8", 0), 255);
    EXPECT_EQ(m->getU16(S, L"u16", 0), 65535);
    EXPECT_EQ(m->getU32(S, L"u32", 0), 4000000000u);
    EXPECT_EQ(m->getU64(S, L"u64", 0), 18000000000000000000ULL);
    EXPECT_EQ(m->getS8(S, L"s8", 0), -128);
    EXPECT_EQ(m->getS16(S, L"s16", 0), -32768);
    EXPECT_EQ(m->getS32(S, L"s32", 0), INT32_MIN);
    EXPECT_EQ(m->getS64(S, L"s64", 0), INT64_MIN);
    EXPECT_EQ(m->getF32(S, L"f32", 0), -3.25f);
    EXPECT_EQ(m->getF64(S, L"f64", 0), 1234.5);
    EXPECT_TRUE(m->getBool(S, L"yes", false));
    EXPECT_FALSE(m->getBool(S, L"no", true));
    EXPECT_EQ(std::wstring(m->getString(S, L"text", L"def", nullptr, false)), L"Vesk Kairon \u65e5\u672c");
    EXPECT_EQ(std::wstring(m->getString(S, L"empty", L"def", nullptr, false)), L"");
    EXPECT_EQ(std::wstring(m->getString(S, L"", L"def", nullptr, false)), L"unnamed");
    ArrayU08* read = m->getBytes(S, L"bytes", nullptr);
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->Count(), 4u);
    EXPECT_EQ(read->Get(3), 255);
    read->Release();
    EXPECT_TRUE(m->hasValue(S, L"u8"));
}

inline void AMissingSectionGivesDefaultsAndStaysMissing(IMappedData* m)
{
    const wchar_t* S = L"Contract\\Missing";
    const wchar_t* def = L"def";
    bool expandable = true;
    EXPECT_FALSE(m->openSectionForRead(S));
    EXPECT_EQ(m->getS32(S, L"v", -5), -5);
    EXPECT_EQ(m->getU64(S, L"v", 9), 9u);
    EXPECT_EQ(m->getF64(S, L"v", 0.5), 0.5);
    EXPECT_TRUE(m->getBool(S, L"v", true));
    EXPECT_EQ(m->getString(S, L"v", def, &expandable, true), def);
    EXPECT_FALSE(expandable);
    EXPECT_FALSE(m->hasValue(S, L"v"));
    ArrayU08* given = ArrayU08::Acquire();
    EXPECT_EQ(m->getBytes(S, L"v", given), given);
    given->Release();
    EXPECT_EQ(m->getBytes(S, L"v", nullptr), nullptr);
    EXPECT_FALSE(m->openSectionForRead(S));
    EXPECT_FALSE(m->openSectionForRead(L"Contract"));
}

inline void AMissingValueGivesItsDefault(IMappedData* m)
{
    const wchar_t* S = L"Contract\\Values";
    ASSERT_TRUE(m->setS32(S, L"present", 1));
    EXPECT_EQ(m->getS32(S, L"absent", 42), 42);
    EXPECT_EQ(m->getBytes(S, L"absent", nullptr), nullptr);
    EXPECT_TRUE(m->removeValue(S, L"present"));
    EXPECT_FALSE(m->hasValue(S, L"present"));
    EXPECT_EQ(m->getS32(S, L"present", 7), 7);
}

inline void SectionNamesIgnoreCase(IMappedData* m)
{
    ASSERT_TRUE(m->setS32(L"Contract\\MainWindow\\View", L"X", 11));
    EXPECT_EQ(m->getS32(L"contract\\MAINWINDOW\\view", L"X", 0), 11);
    EXPECT_TRUE(m->openSectionForRead(L"CONTRACT\\mainwindow"));
}

inline void RemoveSectionRemovesEverythingBelow(IMappedData* m)
{
    ASSERT_TRUE(m->setS32(L"Contract\\Gone\\A\\B", L"X", 1));
    ASSERT_TRUE(m->setS32(L"Contract\\Gone", L"X", 2));
    ASSERT_TRUE(m->setS32(L"Contract\\Kept", L"X", 3));
    EXPECT_TRUE(m->removeSection(L"Contract\\Gone"));
    EXPECT_FALSE(m->openSectionForRead(L"Contract\\Gone\\A\\B"));
    EXPECT_FALSE(m->openSectionForRead(L"Contract\\Gone"));
    EXPECT_EQ(m->getS32(L"Contract\\Gone", L"X", -1), -1);
    EXPECT_EQ(m->getS32(L"Contract\\Kept", L"X", 0), 3);
    EXPECT_TRUE(m->openSectionForWrite(L"Contract\\Gone"));
    EXPECT_TRUE(m->openSectionForRead(L"Contract\\Gone"));
}

inline void AutoFlushStartsOffAndIsAFlag(IMappedData* m)
{
    EXPECT_FALSE(m->getAutoFlush());
    m->setAutoFlush(true);
    EXPECT_TRUE(m->getAutoFlush());
    m->setAutoFlush(false);
    EXPECT_FALSE(m->getAutoFlush());
}

inline void CheckAll(IMappedData* m)
{
    {
        SCOPED_TRACE("auto-flush");
        AutoFlushStartsOffAndIsAFlag(m);
    }
    {
        SCOPED_TRACE("missing section");
        AMissingSectionGivesDefaultsAndStaysMissing(m);
    }
    {
        SCOPED_TRACE("round trip");
        RoundTripsEveryType(m);
    }
    {
        SCOPED_TRACE("missing value");
        AMissingValueGivesItsDefault(m);
    }
    {
        SCOPED_TRACE("section case");
        SectionNamesIgnoreCase(m);
    }
    {
        SCOPED_TRACE("remove section");
        RemoveSectionRemovesEverythingBelow(m);
    }
}

}  // namespace mappeddata_contract
