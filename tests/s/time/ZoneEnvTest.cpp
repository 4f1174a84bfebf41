// Behaviour that depends on the zone the process runs in. Each suite runs in its own CTest
// entry with TZ set (tests.cmake); run alone under another zone they fail by design.
//
// The expected offsets follow the zone's daylight state at the moment of the run (read
// from the platform), so the suites hold all year; the daylight cases that matter most
// (New York in standard time, Sydney in summer time) are the ones of December.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "s/col/_array/ArrayP.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/Time.h"
#include "s/time/TimeZone.h"

namespace s::time
{
namespace
{

const EpochSeconds AUGUST_2013 = 1376402709;  // 2013-08-13 14:05:09 UTC
const EpochSeconds JANUARY_2013 = 1358251200; // 2013-01-15 12:00:00 UTC
const EpochSeconds JULY_2013 = 1372680000;    // 2013-07-01 12:00:00 UTC

std::wstring take(s::str::strbuffer::StrBuffer* text)
{
    std::wstring result = text->CStr();
    text->Release();
    return result;
}

bool inDaylightTimeNow()
{
    TIME_ZONE_INFORMATION info;
    return GetTimeZoneInformation(&info) == TIME_ZONE_ID_DAYLIGHT;
}

const TimeZone& zoneNamed(const wchar_t* standardName)
{
    const int32_t index = TimeZone::indexByStandardName(zoneList(), standardName);
    EXPECT_GE(index, 0);
    return *zoneAt(index < 0 ? 0 : static_cast<uint32_t>(index));
}

// What every zone must show: the current offset, the offset text, every date shifted by
// the offset in force now, and the system zone found in the list.
void expectZone(int64_t offset, const wchar_t* offsetText, const wchar_t* standardName, int32_t standardBias)
{
    EXPECT_EQ(currentUtcOffset(), offset);
    for (EpochSeconds t : {JANUARY_2013, JULY_2013, AUGUST_2013, nowSeconds()})
    {
        EXPECT_EQ(utcToLocal(t), t + offset) << t;
        EXPECT_EQ(localToUtc(t + offset), t) << t;
    }
    const std::wstring text = take(formatSecondsWithOffset(AUGUST_2013));
    ASSERT_GE(text.size(), 8u);
    EXPECT_EQ(text.substr(text.size() - 8), offsetText) << text.c_str();

    const TimeZone& system = systemZone();
    EXPECT_STREQ(system.getStandardName().CStr(), standardName);
    EXPECT_EQ(system.getBias(), standardBias);
    EXPECT_TRUE(system.getDisplayName().Equals(zoneNamed(standardName).getDisplayName()));
    EXPECT_EQ(systemAdjustsDaylight(), offset != standardBias * 60LL);
}

TEST(UtcEnv, OffsetIsZero)
{
    expectZone(0, L"(+00:00)", L"Greenwich Standard Time", 0);
    EXPECT_EQ(take(formatSecondsWithOffset(AUGUST_2013)), L"2013-08-13 14:05:09 (+00:00)");
    EXPECT_EQ(take(formatSecondsUtc(AUGUST_2013)), L"2013-08-13 14:05:09 UTC");
    EXPECT_FALSE(systemAdjustsDaylight());
    EXPECT_FALSE(systemZone().hasDaylight());
}

TEST(TokyoEnv, NineHoursEastWithoutDaylight)
{
    expectZone(32400, L"(+09:00)", L"Tokyo Standard Time", 540);
    EXPECT_EQ(take(formatSecondsWithOffset(AUGUST_2013)), L"2013-08-13 23:05:09 (+09:00)");
    EXPECT_FALSE(systemAdjustsDaylight());
    EXPECT_FALSE(systemZone().hasDaylight());
    EXPECT_EQ(zoneShift(systemZone(), false, zoneNamed(L"Eastern Standard Time"), false), -50400);
    EXPECT_EQ(zoneShift(systemZone(), true, systemZone(), true), 0);
}

TEST(KolkataEnv, HalfHourOffset)
{
    expectZone(19800, L"(+05:30)", L"India Standard Time", 330);
    EXPECT_EQ(take(formatSecondsWithOffset(AUGUST_2013)), L"2013-08-13 19:35:09 (+05:30)");
    EXPECT_EQ(zoneShift(systemZone(), false, zoneNamed(L"Coordinated Universal Time"), false), -19800);
}

TEST(StJohnsEnv, NegativeHalfHourOffset)
{
    if (inDaylightTimeNow())
    {
        expectZone(-9000, L"(-02:30)", L"Newfoundland Standard Time", -210);
    }
    else
    {
        expectZone(-12600, L"(-03:30)", L"Newfoundland Standard Time", -210);
        // An August value is shown with the winter offset in force now.
        EXPECT_EQ(take(formatSecondsWithOffset(AUGUST_2013)), L"2013-08-13 10:35:09 (-03:30)");
    }
}

TEST(NewYorkEnv, SystemZoneInStandardTimeHasNoDaylightPeriod)
{
    const TimeZone& system = systemZone();
    EXPECT_TRUE(system.hasDaylight());
    if (inDaylightTimeNow())
    {
        expectZone(-14400, L"(-04:00)", L"Eastern Standard Time", -300);
        EXPECT_TRUE(system.isDaylightInUse());
        return;
    }
    expectZone(-18000, L"(-05:00)", L"Eastern Standard Time", -300);
    EXPECT_EQ(take(formatSecondsWithOffset(AUGUST_2013)), L"2013-08-13 09:05:09 (-05:00)");
    EXPECT_FALSE(systemAdjustsDaylight());
    EXPECT_FALSE(system.isDaylightInUse());
    EXPECT_EQ(system.getRule().StandardDate.wMonth, 0);
    EXPECT_EQ(system.getRule().DaylightDate.wMonth, 0);
    // The daylight flag changes nothing with the system zone, even for a summer date...
    EXPECT_EQ(utcToZoneLocal(system, JULY_2013, true), utcToZoneLocal(system, JULY_2013, false));
    EXPECT_EQ(zoneLocalToUtc(system, JULY_2013, true), zoneLocalToUtc(system, JULY_2013, false));
    EXPECT_EQ(utcToZoneLocal(system, JULY_2013, true), JULY_2013 - 18000);
    // ...while the list's own zone of the same name keeps its rule.
    EXPECT_EQ(utcToZoneLocal(zoneNamed(L"Eastern Standard Time"), JULY_2013, true), JULY_2013 - 14400);
}

TEST(SydneyEnv, SummerOffsetAppliesToWinterDates)
{
    const TimeZone& system = systemZone();
    EXPECT_TRUE(system.hasDaylight());
    if (!inDaylightTimeNow())
    {
        expectZone(36000, L"(+10:00)", L"AUS Eastern Standard Time", 600);
        EXPECT_FALSE(system.isDaylightInUse());
        return;
    }
    expectZone(39600, L"(+11:00)", L"AUS Eastern Standard Time", 600);
    // July is winter in Sydney, yet the summer offset in force now is added.
    EXPECT_EQ(utcToLocal(JULY_2013) - JULY_2013, 39600);
    EXPECT_EQ(take(formatSecondsWithOffset(JULY_2013)), L"2013-07-01 23:00:00 (+11:00)");
    EXPECT_TRUE(systemAdjustsDaylight());
    EXPECT_TRUE(system.isDaylightInUse());
    EXPECT_NE(system.getRule().StandardDate.wMonth, 0);
    EXPECT_NE(system.getRule().DaylightDate.wMonth, 0);
    // With the daylight flag the system zone's rule decides for each date.
    EXPECT_EQ(utcToZoneLocal(system, JULY_2013, true), JULY_2013 + 36000);
    EXPECT_EQ(utcToZoneLocal(system, JANUARY_2013, true), JANUARY_2013 + 39600);
    EXPECT_EQ(utcToZoneLocal(system, JULY_2013, false), JULY_2013 + 36000);
    // Early January 1970 is summer time in Sydney.
    EXPECT_EQ(zoneShift(system, true, zoneNamed(L"Coordinated Universal Time"), false), -39600);
    EXPECT_EQ(zoneShift(system, false, zoneNamed(L"Coordinated Universal Time"), false), -36000);
}

// The user-locale text follows the language the process runs in, midnight included.
TEST(EnglishLocaleEnv, DateAndTimeInUsEnglish)
{
    Time* t = Time::fromFields(2013, 8, 13, 14, 5, 9);
    EXPECT_EQ(take(formatLocale(*t)), L"8/13/2013 2:05:09 PM");
    t->setFields(2013, 8, 13, 0, 0, 0);
    EXPECT_EQ(take(formatLocale(*t)), L"8/13/2013 12:00:00 AM");
    t->setFields(10000, 1, 1, 0, 0, 0);
    EXPECT_EQ(take(formatLocale(*t)), L"Invalid DateTime Invalid DateTime");
    t->Release();
}

TEST(GermanLocaleEnv, DateAndTimeInGerman)
{
    Time* t = Time::fromFields(2013, 8, 13, 14, 5, 9);
    EXPECT_EQ(take(formatLocale(*t)), L"13.8.2013 14:05:09");
    t->setFields(2013, 8, 13, 0, 0, 0);
    EXPECT_EQ(take(formatLocale(*t)), L"13.8.2013 00:00:00");
    t->Release();
}

// Under another language the platform names the zone in that language, the zone list in
// English: the system zone is still the listed one, and daylight adjustment is judged
// against its offset. Berlin has a daylight rule; UTC (Greenwich here) has none.
void expectListedSystemZone(const wchar_t* listedName, int32_t standardBias)
{
    const TimeZone& system = systemZone();
    EXPECT_STRNE(system.getStandardName().CStr(), listedName);
    const int32_t index = TimeZone::indexByStandardName(zoneList(), listedName);
    ASSERT_GE(index, 0);
    EXPECT_TRUE(system.getDisplayName().Equals(zoneAt(static_cast<uint32_t>(index))->getDisplayName()))
        << system.getDisplayName().CStr();
    EXPECT_EQ(system.getBias(), standardBias);
    EXPECT_EQ(systemAdjustsDaylight(), inDaylightTimeNow());
}

TEST(GermanBerlinEnv, TheSystemZoneIsFoundWhateverTheLanguage)
{
    expectListedSystemZone(L"Central Europe Standard Time", 60);
}

TEST(JapaneseUtcEnv, TheSystemZoneIsFoundWhateverTheLanguage)
{
    expectListedSystemZone(L"Greenwich Standard Time", 0);
}

// Runs alone in its own process, so that the threads below are the first to ask for the
// zones: every one of them must see the same, completely built list.
TEST(ZoneListFirstUseEnv, ThreadsAskingAtOnceShareOneList)
{
    const int threads = 8;
    std::vector<const s::col::_array::ArrayP*> lists(threads, nullptr);
    std::vector<uint32_t> counts(threads, 0);
    std::vector<const TimeZone*> systems(threads, nullptr);
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i)
    {
        workers.emplace_back(
            [&, i]
            {
                if (i % 2)
                {
                    systems[i] = &systemZone();
                    lists[i] = &zoneList();
                }
                else
                {
                    lists[i] = &zoneList();
                    systems[i] = &systemZone();
                }
                counts[i] = lists[i]->Count();
            });
    }
    for (std::thread& worker : workers)
        worker.join();
    ASSERT_GT(counts[0], 50u);
    for (int i = 1; i < threads; ++i)
    {
        EXPECT_EQ(lists[i], lists[0]);
        EXPECT_EQ(counts[i], counts[0]);
        EXPECT_EQ(systems[i], systems[0]);
    }
    EXPECT_GT(systems[0]->getDisplayName().Length(), 0u);
}

} // namespace
} // namespace s::time
