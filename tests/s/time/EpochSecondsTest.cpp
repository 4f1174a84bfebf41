#include "s/time/EpochSeconds.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace s::time
{
namespace
{

TEST(EpochSeconds, TickConstantsMeetAtTheEpoch)
{
    EXPECT_EQ(EPOCH_TICKS, 116444736000000000ULL);
    EXPECT_EQ(ticksFromSeconds(0), 116444736000000000ULL);
    EXPECT_EQ(secondsFromTicks(116444736000000000ULL), 0);
    EXPECT_EQ(ticksFromSeconds(-1), 116444735990000000ULL);
    EXPECT_EQ(secondsFromTicks(116444735990000000ULL), -1);
    EXPECT_EQ(millisFromTicks(116444736000000000ULL + 12345678), 1234);
}

TEST(EpochSeconds, DivisionTruncatesTowardZero)
{
    // Half a second before 1970 is 0 seconds, not -1.
    EXPECT_EQ(secondsFromTicks(EPOCH_TICKS - 5000000), 0);
    EXPECT_EQ(secondsFromTicks(EPOCH_TICKS - 15000000), -1);
    EXPECT_EQ(millisFromTicks(EPOCH_TICKS - 5000), 0);
    EXPECT_EQ(millisFromTicks(EPOCH_TICKS - 15000), -1);
    // Tick 0 (1601-01-01) lies 11644473600 seconds before the epoch.
    EXPECT_EQ(secondsFromTicks(0), -11644473600LL);
    EXPECT_EQ(ticksFromSeconds(-11644473600LL), 0u);
}

TEST(EpochSeconds, SecondsRoundTripThroughTicks)
{
    const EpochSeconds values[] = {0, 1, -1, 1376402709, 32503680000LL, -11644473600LL};
    for (EpochSeconds v : values)
        EXPECT_EQ(secondsFromTicks(ticksFromSeconds(v)), v) << v;
}

TEST(EpochSeconds, NowAgreesWithThePlatformClock)
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const Ticks ticks = (static_cast<Ticks>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const int64_t before = millisFromTicks(ticks);
    const int64_t now = nowMillis();
    EXPECT_GE(now, before);
    EXPECT_LT(now - before, 5000);
    const EpochSeconds seconds = nowSeconds();
    EXPECT_GE(seconds, before / 1000);
    EXPECT_LE(seconds, nowMillis() / 1000);
}

TEST(EpochSeconds, DaysInMonth)
{
    struct Case
    {
        int32_t month, year, days;
    } cases[] = {{1, 2013, 31},  {2, 1900, 28},  {2, 2000, 29}, {2, 2012, 29}, {2, 2013, 28}, {2, 2100, 28},
                 {2, 1600, 29},  {3, 2013, 31},  {4, 2013, 30}, {6, 2013, 30}, {7, 2013, 31}, {9, 2013, 30},
                 {11, 2013, 30}, {12, 2013, 31}, {13, 2013, 0}, {0, 2013, 0},  {-1, 2013, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(daysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
}

TEST(EpochSeconds, LocalConversionUsesTheOffsetInForceNowForEveryDate)
{
    // Whatever zone the machine is in, January and July move by the same amount, and that
    // amount is the current offset.
    const int64_t offset = currentUtcOffset();
    const EpochSeconds dates[] = {1357041600 /* 2013-01-01 12:00 */, 1372680000 /* 2013-07-01 12:00 */,
                                  172800, nowSeconds()};
    for (EpochSeconds utc : dates)
    {
        EXPECT_EQ(utcToLocal(utc) - utc, offset) << utc;
        EXPECT_EQ(localToUtc(utcToLocal(utc)), utc) << utc;
    }
}

TEST(EpochSeconds, CurrentOffsetMatchesThePlatformBias)
{
    TIME_ZONE_INFORMATION info;
    const DWORD id = GetTimeZoneInformation(&info);
    int64_t bias = info.Bias;
    if (id == TIME_ZONE_ID_DAYLIGHT)
        bias += info.DaylightBias;
    if (id == TIME_ZONE_ID_STANDARD)
        bias += info.StandardBias;
    EXPECT_EQ(currentUtcOffset(), -bias * 60);
}

} // namespace
} // namespace s::time
