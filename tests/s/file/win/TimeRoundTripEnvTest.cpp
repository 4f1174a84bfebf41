// Read -> write back under a zone with daylight saving (run with TZ=America/New_York,
// see tests.cmake). Whatever today's daylight-saving state, one of the two dates has
// the other one; a conversion through local time would move it by an hour.
#include <gtest/gtest.h>

#include <string>

#include "TempTree.h"
#include "s/file/win/PathWin.h"

using s::file::win::PathWin;
using s::file::win::test::TempTree;

namespace {

constexpr long long kSummer = 1373891696;  // 2013-07-15 12:34:56 UTC
constexpr long long kWinter = 1358253296;  // 2013-01-15 12:34:56 UTC

long long g_creationHandedOver = -2;

void ObserveCreation(const wchar_t*, const FILETIME* c, const FILETIME*, const FILETIME*)
{
    g_creationHandedOver =
        c ? (long long)((TempTree::Ticks(*c) - 116444736000000000ULL) / 10000000ULL) : -1;
}

} // namespace

TEST(TimeRoundTripEnv, ZoneHasDaylightSaving)
{
    TIME_ZONE_INFORMATION tz;
    const DWORD id = GetTimeZoneInformation(&tz);
    EXPECT_NE(TIME_ZONE_ID_UNKNOWN, id) << "the zone of this run keeps no daylight saving";
    EXPECT_NE(0, tz.DaylightBias);
    EXPECT_NE(0, tz.DaylightDate.wMonth);
}

TEST(TimeRoundTripEnv, ReadAndWriteBackKeepsEveryTimeToTheSecond)
{
    TempTree tree;
    const struct
    {
        long long modified;
        long long accessed;
    } cases[] = {{kSummer, kWinter}, {kWinter, kSummer}, {kSummer + 1, kSummer + 2}, {kWinter + 3, kWinter}};
    for (const auto& c : cases) {
        const std::wstring file = tree.File(L"round.txt", 1);
        const FILETIME m = TempTree::FromSeconds(c.modified);
        const FILETIME a = TempTree::FromSeconds(c.accessed);
        ASSERT_TRUE(TempTree::SetTimes(file, nullptr, &a, &m));

        PathWin* read = PathWin::FromText(file.c_str());
        const long long creation = read->GetCreationTime();
        const long long modified = read->GetModifiedTime();
        const long long accessed = read->GetAccessTime();
        EXPECT_EQ(c.modified, modified);
        EXPECT_EQ(c.accessed, accessed);
        read->Release();

        PathWin::SetTimeWriteObserver(&ObserveCreation);
        PathWin* write = PathWin::FromText(file.c_str());
        EXPECT_TRUE(write->SetTimes(creation, modified, accessed, true, true, true, true, false));
        write->Release();
        PathWin::SetTimeWriteObserver(nullptr);

        FILETIME a2, m2;
        ASSERT_TRUE(TempTree::Times(file, nullptr, &a2, &m2));
        EXPECT_EQ(TempTree::Ticks(m), TempTree::Ticks(m2));
        EXPECT_EQ(TempTree::Ticks(a), TempTree::Ticks(a2));
        // Wine keeps no creation time on Linux file systems (it reads back as the
        // modified time), so the creation time is checked as handed to the write.
        EXPECT_EQ(creation, g_creationHandedOver);
    }
}
