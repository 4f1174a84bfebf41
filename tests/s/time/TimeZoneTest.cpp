#include "s/time/TimeZone.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "s/col/_array/ArrayP.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::col::_array::ArrayP;

namespace s::time
{
namespace
{

const wchar_t SYSTEM_ZONES_KEY[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

const TimeZone& zoneNamed(const wchar_t* standardName)
{
    const int32_t index = TimeZone::indexByStandardName(zoneList(), standardName);
    EXPECT_GE(index, 0) << "no zone " << std::string(standardName, standardName + wcslen(standardName));
    return *zoneAt(index < 0 ? 0 : static_cast<uint32_t>(index));
}

const TimeZone& ListZone(const ArrayP& list, uint32_t i)
{
    return *static_cast<const TimeZone*>(list.Get(i));
}

// --- the record ------------------------------------------------------------------------

TEST(TimeZone, FreshAndRecycledZonesAreEmpty)
{
    TimeZone* zone = TimeZone::Acquire();
    ASSERT_NE(zone, nullptr);
    EXPECT_STREQ(zone->ClassId(), L"s_time_TimeZone");
    EXPECT_EQ(zone->ClassId(), TimeZone::CLASS_ID);
    TIME_ZONE_INFORMATION rule = {};
    rule.Bias = -540;
    rule.DaylightBias = -60;
    rule.StandardDate.wMonth = 10;
    rule.DaylightDate.wMonth = 4;
    zone->setRule(rule);
    zone->setDisplayName(L"display");
    zone->setStandardName(L"standard");
    zone->setDaylightName(L"daylight");
    zone->setKeyName(L"key");
    EXPECT_EQ(zone->getBias(), 540);
    EXPECT_TRUE(zone->hasDaylight());
    EXPECT_TRUE(zone->isDaylightInUse());
    zone->Release();

    TimeZone* again = TimeZone::Acquire();
    EXPECT_EQ(again, zone);
    EXPECT_EQ(again->getBias(), 0);
    EXPECT_EQ(again->getDisplayName().Length(), 0u);
    EXPECT_EQ(again->getStandardName().Length(), 0u);
    EXPECT_EQ(again->getDaylightName().Length(), 0u);
    EXPECT_EQ(again->getKeyName().Length(), 0u);
    EXPECT_FALSE(again->hasDaylight());
    EXPECT_FALSE(again->isDaylightInUse());
    const TIME_ZONE_INFORMATION zero = {};
    EXPECT_EQ(memcmp(&again->getRule(), &zero, sizeof zero), 0);
    again->Release();
}

TEST(TimeZone, DaylightRuleNeedsABiasAndBothMonths)
{
    struct Case
    {
        LONG standardBias, daylightBias;
        WORD standardMonth, daylightMonth;
        bool daylight;
    } cases[] = {
        {0, -60, 11, 3, true}, {-30, 0, 11, 3, true},  {0, 0, 11, 3, false},
        {0, -60, 0, 0, false}, {0, -60, 11, 0, false}, {0, -60, 0, 3, false},
    };
    TimeZone* zone = TimeZone::Acquire();
    for (const Case& c : cases)
    {
        TIME_ZONE_INFORMATION rule = {};
        rule.Bias = 300;
        rule.StandardBias = c.standardBias;
        rule.DaylightBias = c.daylightBias;
        rule.StandardDate.wMonth = c.standardMonth;
        rule.DaylightDate.wMonth = c.daylightMonth;
        zone->setRule(rule);
        EXPECT_EQ(zone->getBias(), -300);
        EXPECT_EQ(zone->hasDaylight(), c.daylight)
            << c.standardBias << " " << c.daylightBias << " " << c.standardMonth << " " << c.daylightMonth;
        EXPECT_EQ(zone->isDaylightInUse(), c.daylight);
    }
    zone->Release();
}

// --- reading zones from the registry ----------------------------------------------------

// A made-up zone key: Display/Std/Dlt when given, and a TZI record of `tziSize` bytes
// (none when 0).
struct FakeZone
{
    const wchar_t* key;
    const wchar_t* display; // null: value missing
    const wchar_t* standard;
    const wchar_t* daylight;
    LONG bias, standardBias, daylightBias;
    WORD standardMonth, daylightMonth;
    DWORD tziSize;
};

class TimeZoneRegistry : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        path_ = L"Software\\KaironTests\\time-zones-" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        if (list_)
            list_->Release();
    }

    void write(const FakeZone& zone)
    {
        HKEY key;
        const std::wstring path = path_ + L"\\" + zone.key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        auto text = [&](const wchar_t* name, const wchar_t* value)
        {
            if (value)
                RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                               static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
        };
        text(L"Display", zone.display);
        text(L"Std", zone.standard);
        text(L"Dlt", zone.daylight);
        if (zone.tziSize)
        {
            // Bias, StandardBias, DaylightBias, StandardDate, DaylightDate (first Sunday, 2:00).
            BYTE tzi[44] = {};
            const LONG biases[3] = {zone.bias, zone.standardBias, zone.daylightBias};
            memcpy(tzi, biases, 12);
            const SYSTEMTIME standardDate = {0, zone.standardMonth, 0, 1, 2, 0, 0, 0};
            const SYSTEMTIME daylightDate = {0, zone.daylightMonth, 0, 2, 3, 0, 0, 0};
            memcpy(tzi + 12, &standardDate, 16);
            memcpy(tzi + 28, &daylightDate, 16);
            RegSetValueExW(key, L"TZI", 0, REG_BINARY, tzi, zone.tziSize);
        }
        RegCloseKey(key);
    }

    const ArrayP& read()
    {
        list_ = ArrayP::Acquire(&TimeZone::Pool());
        count_ = TimeZone::readZones(HKEY_CURRENT_USER, path_.c_str(), *list_);
        return *list_;
    }

    std::wstring path_;
    ArrayP* list_ = nullptr;
    uint32_t count_ = 0;
};

TEST_F(TimeZoneRegistry, ZonesAreSortedWestFirstAndEqualOffsetsKeepRegistryOrder)
{
    const FakeZone zones[] = {
        {L"Zone 01", L"D01", L"Twin Standard Time", L"L01", -540, 0, -60, 0, 0, 44},
        {L"Zone 02", L"D02", L"S02", L"L02", 300, 0, -60, 0, 0, 44},
        {L"Zone 03", L"D03", L"S03", L"L03", 0, 0, 0, 0, 0, 44},
        {L"Zone 04", L"D04", L"TWIN standard TIME", L"L04", -540, 0, -60, 0, 0, 44},
        {L"Zone 05", L"D05", L"S05", L"L05", 300, 0, -60, 0, 0, 44},
        {L"Zone 06", nullptr, nullptr, nullptr, -330, 0, -60, 0, 0, 44},
        {L"Zone 07", L"D07", L"S07", L"L07", -600, 0, -60, 10, 4, 40}, // record too short
        {L"Zone 08", L"D08", L"S08", L"L08", 0, 0, 0, 0, 0, 0},        // no record
        {L"Zone 09", L"D09", L"S09", L"L09", 300, 0, -60, 11, 3, 44},
        {L"Zone 10", L"D10", L"S10", L"L10", -540, 0, -60, 0, 0, 44},
        {L"Zone 11", L"D11", L"S11", L"L11", 720, 0, 0, 11, 3, 44},
    };
    for (const FakeZone& zone : zones)
        write(zone);
    const ArrayP& list = read();
    ASSERT_EQ(count_, 11u);
    ASSERT_EQ(list.Count(), 11u);

    const wchar_t* expectedOrder[] = {L"D11", L"D02",     L"D05", L"D09", L"D03", L"D07",
                                      L"D08", L"UnKnown", L"D01", L"D04", L"D10"};
    const int32_t expectedBias[] = {-720, -300, -300, -300, 0, 0, 0, 330, 540, 540, 540};
    for (uint32_t i = 0; i < 11; ++i)
    {
        EXPECT_STREQ(ListZone(list, i).getDisplayName().CStr(), expectedOrder[i]) << i;
        EXPECT_EQ(ListZone(list, i).getBias(), expectedBias[i]) << i;
    }

    // Each zone knows its key's name.
    EXPECT_STREQ(ListZone(list, 0).getKeyName().CStr(), L"Zone 11");
    EXPECT_STREQ(ListZone(list, 10).getKeyName().CStr(), L"Zone 10");

    // Missing texts read "UnKnown".
    const TimeZone& unnamed = ListZone(list, 7);
    EXPECT_STREQ(unnamed.getStandardName().CStr(), L"UnKnown");
    EXPECT_STREQ(unnamed.getDaylightName().CStr(), L"UnKnown");
    // A short or missing record: UTC without daylight, all-zero rule.
    const TIME_ZONE_INFORMATION zero = {};
    for (uint32_t i : {5u, 6u})
    {
        EXPECT_FALSE(ListZone(list, i).hasDaylight());
        EXPECT_EQ(memcmp(&ListZone(list, i).getRule(), &zero, sizeof zero), 0);
    }
    // The record is read field by field.
    const TimeZone& eastern = ListZone(list, 3);
    EXPECT_STREQ(eastern.getStandardName().CStr(), L"S09");
    EXPECT_STREQ(eastern.getDaylightName().CStr(), L"L09");
    EXPECT_TRUE(eastern.hasDaylight());
    EXPECT_TRUE(eastern.isDaylightInUse());
    EXPECT_EQ(eastern.getRule().Bias, 300);
    EXPECT_EQ(eastern.getRule().DaylightBias, -60);
    EXPECT_EQ(eastern.getRule().StandardDate.wMonth, 11);
    EXPECT_EQ(eastern.getRule().StandardDate.wDay, 1);
    EXPECT_EQ(eastern.getRule().StandardDate.wHour, 2);
    EXPECT_EQ(eastern.getRule().DaylightDate.wMonth, 3);
    EXPECT_EQ(eastern.getRule().DaylightDate.wDay, 2);
    EXPECT_EQ(eastern.getRule().DaylightDate.wHour, 3);
    // A daylight bias without change-over months is no daylight rule; nor are months
    // without any bias.
    EXPECT_FALSE(ListZone(list, 10).hasDaylight());
    EXPECT_FALSE(ListZone(list, 0).hasDaylight());

    // The first zone of that standard name (ignoring case) in sorted order.
    EXPECT_EQ(TimeZone::indexByStandardName(list, L"twin STANDARD time"), 8);
    EXPECT_EQ(TimeZone::indexByStandardName(list, L"No Such Zone"), -1);
}

TEST_F(TimeZoneRegistry, MissingKeyGivesNoZones)
{
    const ArrayP& list = read();
    EXPECT_EQ(count_, 0u);
    EXPECT_EQ(list.Count(), 0u);
}

// --- the system zone ----------------------------------------------------------------------

// A list of zones made by hand; the zones go back to their pool with the list.
struct HandList
{
    HandList() : list(ArrayP::Acquire(&TimeZone::Pool())) {}
    ~HandList() { list->Release(); }
    void add(const wchar_t* display, const wchar_t* standard, int32_t biasEast, const wchar_t* key = nullptr)
    {
        TimeZone* zone = TimeZone::Acquire();
        TIME_ZONE_INFORMATION rule = {};
        rule.Bias = -biasEast;
        zone->setRule(rule);
        zone->setDisplayName(display);
        zone->setStandardName(standard);
        zone->setKeyName(key ? key : standard);
        list->Add(zone);
    }
    ArrayP* list;
};

TIME_ZONE_INFORMATION systemRecord(const wchar_t* standardName, LONG bias)
{
    TIME_ZONE_INFORMATION info = {};
    wcsncpy(info.StandardName, standardName, 31);
    wcsncpy(info.DaylightName, L"Some Daylight Time", 31);
    info.Bias = bias;
    info.DaylightBias = -60;
    info.StandardDate = {0, 11, 0, 1, 2, 0, 0, 0};
    info.DaylightDate = {0, 3, 0, 2, 2, 0, 0, 0};
    return info;
}

// The offset in force now, in minutes east.
int32_t nowBias()
{
    return static_cast<int32_t>(currentUtcOffset() / 60);
}

TEST(TimeZoneSystem, StandardTimeTakesTheDaylightPeriodOutOfTheRule)
{
    HandList zones;
    zones.add(L"(West)", L"West Standard Time", nowBias() - 60);
    zones.add(L"(Here)", L"Here Standard Time", nowBias());
    TimeZone* system = TimeZone::Acquire();
    const TIME_ZONE_INFORMATION info = systemRecord(L"here standard time", -nowBias());
    EXPECT_FALSE(TimeZone::fillSystemZone(*zones.list, info, TIME_ZONE_ID_STANDARD, *system));
    EXPECT_STREQ(system->getDisplayName().CStr(), L"(Here)");
    EXPECT_STREQ(system->getStandardName().CStr(), L"here standard time");
    EXPECT_STREQ(system->getDaylightName().CStr(), L"Some Daylight Time");
    EXPECT_EQ(system->getBias(), nowBias());
    EXPECT_TRUE(system->hasDaylight());
    EXPECT_FALSE(system->isDaylightInUse());
    EXPECT_EQ(system->getRule().StandardDate.wMonth, 0);
    EXPECT_EQ(system->getRule().DaylightDate.wMonth, 0);
    EXPECT_EQ(system->getRule().DaylightDate.wDay, 2); // only the months go
    EXPECT_EQ(system->getRule().DaylightBias, -60);
    // With the period gone the daylight flag changes nothing, for any date.
    for (EpochSeconds t : {1358251200LL, 1372680000LL})
    {
        EXPECT_EQ(utcToZoneLocal(*system, t, true), utcToZoneLocal(*system, t, false));
        EXPECT_EQ(zoneLocalToUtc(*system, t, true), zoneLocalToUtc(*system, t, false));
    }
    system->Release();
}

TEST(TimeZoneSystem, AStandardNameInTheUsersLanguageIsFoundByTheZonesKey)
{
    // The platform gives the standard name in the user's language while the list holds
    // the system's: the zone's key finds it; without a key the first zone is taken.
    HandList zones;
    zones.add(L"(Far West)", L"Dateline Standard Time", -720);
    zones.add(L"(Here)", L"Here Standard Time", nowBias(), L"Here Zone");
    TimeZone* system = TimeZone::Acquire();
    const TIME_ZONE_INFORMATION info = systemRecord(L"Hiesige Normalzeit", -nowBias());
    EXPECT_FALSE(TimeZone::fillSystemZone(*zones.list, info, TIME_ZONE_ID_STANDARD, *system, L"here zone"));
    EXPECT_STREQ(system->getDisplayName().CStr(), L"(Here)");
    EXPECT_STREQ(system->getStandardName().CStr(), L"Hiesige Normalzeit");
    EXPECT_FALSE(system->isDaylightInUse());

    TimeZone::fillSystemZone(*zones.list, info, TIME_ZONE_ID_STANDARD, *system, L"No Such Zone");
    EXPECT_STREQ(system->getDisplayName().CStr(), L"(Far West)");
    // The standard name still comes first: the key only decides when no name matched.
    const TIME_ZONE_INFORMATION named = systemRecord(L"Dateline Standard Time", 720);
    TimeZone::fillSystemZone(*zones.list, named, TIME_ZONE_ID_STANDARD, *system, L"Here Zone");
    EXPECT_STREQ(system->getDisplayName().CStr(), L"(Far West)");
    system->Release();
}

TEST(TimeZoneSystem, AnOffsetOtherThanTheStandardOneMeansDaylightAdjustment)
{
    HandList zones;
    zones.add(L"(Elsewhere)", L"Elsewhere Standard Time", nowBias() - 60);
    TimeZone* system = TimeZone::Acquire();
    const TIME_ZONE_INFORMATION info = systemRecord(L"Elsewhere Standard Time", 60 - nowBias());
    EXPECT_TRUE(TimeZone::fillSystemZone(*zones.list, info, TIME_ZONE_ID_DAYLIGHT, *system));
    EXPECT_TRUE(system->hasDaylight());
    EXPECT_TRUE(system->isDaylightInUse());
    EXPECT_EQ(system->getRule().StandardDate.wMonth, 11);
    EXPECT_EQ(system->getRule().DaylightDate.wMonth, 3);

    // A zone without a daylight rule (TIME_ZONE_ID_UNKNOWN) is never adjusted.
    EXPECT_FALSE(TimeZone::fillSystemZone(*zones.list, info, TIME_ZONE_ID_UNKNOWN, *system));
    EXPECT_FALSE(system->isDaylightInUse());
    EXPECT_EQ(system->getRule().StandardDate.wMonth, 0);
    system->Release();
}

TEST(TimeZoneSystem, UnmatchedNameTakesTheWesternmostZone)
{
    HandList zones;
    zones.add(L"(West)", L"West Standard Time", nowBias() - 120);
    zones.add(L"(Here)", L"Here Standard Time", nowBias());
    TimeZone* system = TimeZone::Acquire();
    const TIME_ZONE_INFORMATION info = systemRecord(L"Nowhere Standard Time", -nowBias());
    // The daylight test compares with the westernmost zone's offset, which differs from now.
    EXPECT_TRUE(TimeZone::fillSystemZone(*zones.list, info, TIME_ZONE_ID_STANDARD, *system));
    EXPECT_STREQ(system->getDisplayName().CStr(), L"(West)");
    EXPECT_STREQ(system->getStandardName().CStr(), L"Nowhere Standard Time");
    EXPECT_EQ(system->getBias(), nowBias());
    system->Release();
}

TEST(TimeZoneSystem, EmptyListGivesNoDisplayNameAndNoAdjustment)
{
    HandList zones;
    TimeZone* system = TimeZone::Acquire();
    const TIME_ZONE_INFORMATION info = systemRecord(L"Far Standard Time", 60 - nowBias());
    EXPECT_FALSE(TimeZone::fillSystemZone(*zones.list, info, TIME_ZONE_ID_DAYLIGHT, *system));
    EXPECT_EQ(system->getDisplayName().Length(), 0u);
    EXPECT_STREQ(system->getStandardName().CStr(), L"Far Standard Time");
    EXPECT_FALSE(system->isDaylightInUse());
    system->Release();
}

// --- the process-wide list over the system's registry --------------------------------------

// The zone keys as the registry enumerates them, by display text.
std::vector<std::wstring> registryDisplayNames()
{
    std::vector<std::wstring> names;
    HKEY root;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SYSTEM_ZONES_KEY, 0, KEY_READ, &root) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i)
    {
        wchar_t key[256];
        DWORD length = 256;
        if (RegEnumKeyExW(root, i, key, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        wchar_t display[256] = L"UnKnown";
        DWORD size = sizeof display;
        RegGetValueW(root, key, L"Display", RRF_RT_REG_SZ, nullptr, display, &size);
        names.push_back(display);
    }
    RegCloseKey(root);
    return names;
}

TEST(TimeZoneList, HoldsEveryRegistryZoneSortedStablyByBias)
{
    const std::vector<std::wstring> registry = registryDisplayNames();
    ASSERT_GT(registry.size(), 50u);
    ASSERT_EQ(zoneCount(), registry.size());
    EXPECT_EQ(&zoneList(), &zoneList());
    EXPECT_EQ(zoneAt(zoneCount()), nullptr);
    int previousPosition = -1;
    for (uint32_t i = 0; i < zoneCount(); ++i)
    {
        const TimeZone* zone = zoneAt(i);
        ASSERT_NE(zone, nullptr);
        int position = -1;
        for (size_t r = 0; r < registry.size(); ++r)
            if (registry[r] == zone->getDisplayName().CStr())
                position = static_cast<int>(r);
        ASSERT_GE(position, 0) << i;
        if (i > 0)
        {
            const TimeZone* before = zoneAt(i - 1);
            ASSERT_LE(before->getBias(), zone->getBias()) << i;
            if (before->getBias() == zone->getBias())
            {
                EXPECT_LT(previousPosition, position) << i;
            }
        }
        previousPosition = position;
    }
    // The westernmost zone of the platform's list is twelve hours behind UTC.
    EXPECT_EQ(zoneAt(0)->getBias(), -720);
}

TEST(TimeZoneList, SystemZoneIsTheListZoneOfTheSystemsStandardName)
{
    TIME_ZONE_INFORMATION info = {};
    GetTimeZoneInformation(&info);
    const TimeZone& system = systemZone();
    EXPECT_EQ(system.getBias(), -info.Bias);
    EXPECT_STREQ(system.getStandardName().CStr(), info.StandardName);
    const int32_t index = TimeZone::indexByStandardName(zoneList(), info.StandardName);
    ASSERT_GE(index, 0);
    EXPECT_TRUE(system.getDisplayName().Equals(zoneAt(index)->getDisplayName()));
    EXPECT_EQ(&systemZone(), &system);
    // Adjusted exactly when the offset in force now is not the standard one.
    EXPECT_EQ(systemAdjustsDaylight(), currentUtcOffset() != system.getBias() * 60LL);
    EXPECT_EQ(system.isDaylightInUse(), systemAdjustsDaylight() && system.hasDaylight());
}

// --- conversions and the shift ---------------------------------------------------------------

TEST(TimeZoneConversion, WithoutDaylightOnlyTheStandardOffsetApplies)
{
    const TimeZone& eastern = zoneNamed(L"Eastern Standard Time");
    const EpochSeconds july = 1372680000; // 2013-07-01 12:00:00 UTC
    EXPECT_EQ(utcToZoneLocal(eastern, july, false), july - 5 * 3600);
    EXPECT_EQ(zoneLocalToUtc(eastern, july - 5 * 3600, false), july);
    const TimeZone& india = zoneNamed(L"India Standard Time");
    EXPECT_EQ(utcToZoneLocal(india, july, true), july + 19800);
    EXPECT_EQ(utcToZoneLocal(india, july, false), july + 19800);
}

TEST(TimeZoneConversion, WithDaylightTheRuleDecidesForTheDate)
{
    const TimeZone& eastern = zoneNamed(L"Eastern Standard Time");
    ASSERT_TRUE(eastern.hasDaylight());
    const EpochSeconds july = 1372680000;    // 2013-07-01 12:00:00 UTC
    const EpochSeconds january = 1358251200; // 2013-01-15 12:00:00 UTC
    EXPECT_EQ(utcToZoneLocal(eastern, july, true), july - 4 * 3600);
    EXPECT_EQ(utcToZoneLocal(eastern, january, true), january - 5 * 3600);
    EXPECT_EQ(zoneLocalToUtc(eastern, july - 4 * 3600, true), july);
    EXPECT_EQ(zoneLocalToUtc(eastern, january - 5 * 3600, true), january);
    // Southern hemisphere: summer time in January.
    const TimeZone& sydney = zoneNamed(L"AUS Eastern Standard Time");
    EXPECT_EQ(utcToZoneLocal(sydney, january, true), january + 11 * 3600);
    EXPECT_EQ(utcToZoneLocal(sydney, july, true), july + 10 * 3600);
}

TEST(TimeZoneConversion, ValuesOutsideTheCalendarGiveTheFailureValue)
{
    const TimeZone& eastern = zoneNamed(L"Eastern Standard Time");
    const EpochSeconds before1601 = -11644473600LL - 86400;
    EXPECT_EQ(utcToZoneLocal(eastern, before1601, true), -11644473600LL);
    EXPECT_EQ(zoneLocalToUtc(eastern, before1601, true), -11644473600LL);
}

TEST(TimeZoneShift, IsTheDifferenceOfTheTwoOffsetsInEarlyJanuary1970)
{
    const TimeZone& tokyo = zoneNamed(L"Tokyo Standard Time");
    const TimeZone& eastern = zoneNamed(L"Eastern Standard Time");
    const TimeZone& india = zoneNamed(L"India Standard Time");
    const TimeZone& utc = zoneNamed(L"Coordinated Universal Time");
    const TimeZone& newfoundland = zoneNamed(L"Newfoundland Standard Time");
    const TimeZone& sydney = zoneNamed(L"AUS Eastern Standard Time");
    EXPECT_EQ(zoneShift(tokyo, false, eastern, false), -50400);
    EXPECT_EQ(zoneShift(eastern, false, tokyo, false), 50400);
    EXPECT_EQ(zoneShift(india, false, utc, false), -19800);
    EXPECT_EQ(zoneShift(newfoundland, false, utc, false), 12600);
    // Early January is standard time in New York, so the flag changes nothing there...
    EXPECT_EQ(zoneShift(tokyo, true, eastern, true), -50400);
    // ...but summer time in Sydney.
    EXPECT_EQ(zoneShift(sydney, false, utc, false), -36000);
    EXPECT_EQ(zoneShift(sydney, true, utc, false), -39600);
    EXPECT_EQ(zoneShift(utc, false, sydney, true), 39600);
    for (bool daylight : {false, true})
    {
        EXPECT_EQ(zoneShift(sydney, daylight, sydney, daylight), 0);
        EXPECT_EQ(zoneShift(india, daylight, india, daylight), 0);
        EXPECT_EQ(zoneShift(systemZone(), daylight, systemZone(), daylight), 0);
    }
}

} // namespace
} // namespace s::time
