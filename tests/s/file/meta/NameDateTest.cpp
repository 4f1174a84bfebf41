// The dates that file and folder names state: every row of the pattern table, the common
// names of phones, cameras, messengers and screenshots, and near-misses that must not match.

#include <gtest/gtest.h>

#include <string>

#include "s/file/meta/NameDate.h"
#include "s/time/CalendarFields.h"
#include "s/time/EpochSeconds.h"
#include "s/time/TimeZone.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::file::meta::dateFromName;
using s::file::meta::ItemDate;
using s::file::meta::NAME_PATTERN_COUNT;
using s::file::meta::NAME_PATTERNS;

namespace
{

s::time::EpochSeconds Fields(int y, int mo, int d, int h, int mi, int s)
{
    s::time::EpochSeconds out = -1;
    EXPECT_TRUE(s::time::secondsFromFields(y, mo, d, h, mi, s, out));
    return out;
}

struct NameCase
{
    const wchar_t* name;
    int year, month, day, hour, minute, second; // year 0: no date
    bool dateOnly;
};

const NameCase NAME_CASES[] = {
    // Cameras and phones.
    {L"IMG_20240403_184012.jpg", 2024, 4, 3, 18, 40, 12, false},
    {L"VID_20240403_184012.mp4", 2024, 4, 3, 18, 40, 12, false},
    {L"PXL_20240403_184012345.jpg", 2024, 4, 3, 18, 40, 12, false},
    {L"PXL_20240403_184012345.MP.jpg", 2024, 4, 3, 18, 40, 12, false},
    {L"20240403_184012.jpg", 2024, 4, 3, 18, 40, 12, false},
    {L"20240403184012.jpg", 2024, 4, 3, 18, 40, 12, false},
    {L"2024-04-03 18.40.12.jpg", 2024, 4, 3, 18, 40, 12, false},
    {L"2024-04-03 18-40-12.heic", 2024, 4, 3, 18, 40, 12, false},
    {L"2024-04-03T18.40.12.jpg", 2024, 4, 3, 18, 40, 12, false},
    {L"2024_04_03_18_40_12.jpg", 2024, 4, 3, 18, 40, 12, false},
    // Screenshots.
    {L"Screenshot 2024-04-03 at 18.40.12.png", 2024, 4, 3, 18, 40, 12, false},
    {L"Screenshot_20240403-184012.png", 2024, 4, 3, 18, 40, 12, false},
    {L"Screenshot_2024-04-03-18-40-12.png", 2024, 4, 3, 18, 40, 12, false},
    {L"Screenshot 2024-04-03 184012.png", 2024, 4, 3, 18, 40, 12, false},
    // Messengers.
    {L"IMG-20240403-WA0001.jpg", 2024, 4, 3, 0, 0, 0, true},
    {L"WhatsApp Image 2024-04-03 at 18.40.12.jpeg", 2024, 4, 3, 18, 40, 12, false},
    {L"WHATSAPP IMAGE 2024-04-03 AT 18.40.12.JPEG", 2024, 4, 3, 18, 40, 12, false},
    {L"photo_2024-04-03_18-40-12.jpg", 2024, 4, 3, 18, 40, 12, false},
    {L"signal-2024-04-03-184012.jpg", 2024, 4, 3, 18, 40, 12, false},
    // A date alone, with each separator, in files and folders: midnight.
    {L"2024-04-03.jpg", 2024, 4, 3, 0, 0, 0, true},
    {L"2024_04_03", 2024, 4, 3, 0, 0, 0, true},
    {L"2024.04.03 Holiday", 2024, 4, 3, 0, 0, 0, true},
    {L"Holiday 20240403", 2024, 4, 3, 0, 0, 0, true},
    {L"2024-04-03 18.40.jpg", 2024, 4, 3, 0, 0, 0, true},     // no seconds: the date alone
    {L"2024-04-03 25.40.12.jpg", 2024, 4, 3, 0, 0, 0, true},  // hour 25: the date alone
    {L"1970-01-01.txt", 1970, 1, 1, 0, 0, 0, true},
    {L"2024-02-29.txt", 2024, 2, 29, 0, 0, 0, true},
    {L"C:\\Photos\\2019-05-06\\IMG_20240403_184012.jpg", 2024, 4, 3, 18, 40, 12, false}, // the name only
    {L"scan 1066 - 2011-11-11.pdf", 2011, 11, 11, 0, 0, 0, true}, // the first real date wins
    // Near-misses: digits that are no date, or no date at all.
    {L"2024-13-03.jpg", 0, 0, 0, 0, 0, 0, false},
    {L"2023-02-29.jpg", 0, 0, 0, 0, 0, 0, false},
    {L"2024-02-31.jpg", 0, 0, 0, 0, 0, 0, false},
    {L"20240231_184012.jpg", 0, 0, 0, 0, 0, 0, false},
    {L"1066-10-14 Hastings.txt", 0, 0, 0, 0, 0, 0, false},
    {L"10661014.txt", 0, 0, 0, 0, 0, 0, false},
    {L"2024-04-00.jpg", 0, 0, 0, 0, 0, 0, false},
    {L"2024-04_03.jpg", 0, 0, 0, 0, 0, 0, false}, // two different separators
    {L"2024-0403.jpg", 0, 0, 0, 0, 0, 0, false},
    {L"IMG_1234.jpg", 0, 0, 0, 0, 0, 0, false},
    {L"120240403.jpg", 0, 0, 0, 0, 0, 0, false},  // inside a longer number
    {L"202404031.jpg", 0, 0, 0, 0, 0, 0, false},
    {L"DSC00042.JPG", 0, 0, 0, 0, 0, 0, false},
    {L"", 0, 0, 0, 0, 0, 0, false},
};

} // namespace

TEST(NameDate, NamesAndNearMisses)
{
    for (const NameCase& c : NAME_CASES)
    {
        SCOPED_TRACE(std::wstring(c.name).size());
        const ItemDate d = dateFromName(c.name);
        if (c.year == 0)
        {
            EXPECT_FALSE(d.isFound()) << "matched: " << std::string(c.name, c.name + std::wcslen(c.name));
            continue;
        }
        ASSERT_TRUE(d.isFound()) << "no match: " << std::string(c.name, c.name + std::wcslen(c.name));
        EXPECT_EQ(ItemDate::Kind::WallClock, d.kind);
        EXPECT_EQ(Fields(c.year, c.month, c.day, c.hour, c.minute, c.second), d.value)
            << std::string(c.name, c.name + std::wcslen(c.name));
        EXPECT_EQ(c.dateOnly, d.dateOnly);
    }
    EXPECT_FALSE(dateFromName(nullptr).isFound());
}

TEST(NameDate, EveryRowMatchesItsOwnExamples)
{
    for (uint32_t i = 0; i < NAME_PATTERN_COUNT; ++i)
    {
        std::wstring examples = NAME_PATTERNS[i].example;
        size_t start = 0;
        int seen = 0;
        while (start < examples.size())
        {
            size_t end = examples.find(L", ", start);
            if (end == std::wstring::npos)
                end = examples.size();
            const std::wstring name = examples.substr(start, end - start);
            uint32_t row = NAME_PATTERN_COUNT;
            EXPECT_TRUE(dateFromName(name.c_str(), &row).isFound()) << i;
            EXPECT_EQ(i, row) << "row " << i << " example " << seen;
            ++seen;
            start = end + 2;
        }
        EXPECT_GT(seen, 0);
    }
}

TEST(NameDate, WallClockIsReadInTheChosenZoneWithThatDatesRule)
{
    // Central Europe: UTC+1 in winter, UTC+2 in summer, whatever the date today.
    const s::time::TimeZone* berlin = nullptr;
    for (uint32_t i = 0; i < s::time::zoneCount(); ++i)
    {
        const s::time::TimeZone* z = s::time::zoneAt(i);
        if (std::wstring(z->getKeyName().CStr()) == L"W. Europe Standard Time")
            berlin = z;
    }
    ASSERT_NE(nullptr, berlin);
    EXPECT_EQ(Fields(2024, 7, 1, 10, 0, 0), dateFromName(L"IMG_20240701_120000.jpg").toUtc(berlin));
    EXPECT_EQ(Fields(2024, 1, 15, 11, 0, 0), dateFromName(L"IMG_20240115_120000.jpg").toUtc(berlin));
    // A date alone: that day's midnight in the zone.
    EXPECT_EQ(Fields(2024, 4, 2, 22, 0, 0), dateFromName(L"2024-04-03.jpg").toUtc(berlin));
    EXPECT_EQ(-1, ItemDate().toUtc(berlin));
}

TEST(NameDate, SecondsFromFieldsAgreesWithTheCalendar)
{
    struct
    {
        int y, mo, d, h, mi, s;
        s::time::EpochSeconds expected;
    } const cases[] = {
        {1970, 1, 1, 0, 0, 0, 0},
        {2000, 2, 29, 12, 0, 0, 951825600},
        {2024, 4, 3, 18, 40, 12, 1712169612},
        {1969, 12, 31, 23, 59, 59, -1},
        {1601, 1, 1, 0, 0, 0, -11644473600},
        {2100, 3, 1, 0, 0, 0, 4107542400},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Fields(c.y, c.mo, c.d, c.h, c.mi, c.s)) << c.y;
    s::time::EpochSeconds untouched = 7;
    EXPECT_FALSE(s::time::secondsFromFields(2100, 2, 29, 0, 0, 0, untouched));
    EXPECT_FALSE(s::time::secondsFromFields(2024, 4, 3, 24, 0, 0, untouched));
    EXPECT_FALSE(s::time::secondsFromFields(1600, 12, 31, 0, 0, 0, untouched));
    EXPECT_EQ(7, untouched);
}
