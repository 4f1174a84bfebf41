#include "s/time/TimeZone.h"

#include <cstring>
#include <cwchar>

#include "s/col/MergeSort.h"
#include "s/col/_array/ArrayP.h"
#include "s/reg/win/RegDir.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/ObjLocker.h"
#include "s/time/PlatformCalendar.h"

using s::col::_array::ArrayP;
using s::str::strbuffer::StrBuffer;

namespace s::time
{

namespace
{

const wchar_t ZONES_KEY[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
const wchar_t UNKNOWN_TEXT[] = L"UnKnown";

// Size of the registry's "TZI" record: Bias, StandardBias, DaylightBias (32 bits each),
// StandardDate, DaylightDate (a 16-byte SYSTEMTIME each), little-endian.
constexpr uint32_t TZI_SIZE = 44;

int32_t readInt32(const uint8_t* data)
{
    return static_cast<int32_t>(static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
                                (static_cast<uint32_t>(data[2]) << 16) |
                                (static_cast<uint32_t>(data[3]) << 24));
}

SYSTEMTIME readSystemTime(const uint8_t* data)
{
    WORD parts[8];
    for (int i = 0; i < 8; ++i)
        parts[i] = static_cast<WORD>(data[2 * i] | (data[2 * i + 1] << 8));
    SYSTEMTIME st;
    st.wYear = parts[0];
    st.wMonth = parts[1];
    st.wDayOfWeek = parts[2];
    st.wDay = parts[3];
    st.wHour = parts[4];
    st.wMinute = parts[5];
    st.wSecond = parts[6];
    st.wMilliseconds = parts[7];
    return st;
}

bool ruleHasDaylight(const TIME_ZONE_INFORMATION& rule)
{
    return (rule.StandardBias != 0 || rule.DaylightBias != 0) && rule.StandardDate.wMonth != 0 &&
           rule.DaylightDate.wMonth != 0;
}

// The failure value of every conversion: tick count 0 (1601-01-01 00:00:00).
EpochSeconds failedConversion()
{
    return secondsFromTicks(0);
}

bool toSystemTime(EpochSeconds seconds, SYSTEMTIME& out)
{
    return calendarOf(ticksFromSeconds(seconds), out);
}

bool fromSystemTime(const SYSTEMTIME& st, EpochSeconds& out)
{
    Ticks ticks = 0;
    if (!ticksOfCalendar(st, ticks))
        return false;
    out = secondsFromTicks(ticks);
    return true;
}

// --- the process-wide zones ------------------------------------------------------------

// The list and the system zone live until the process ends and are never destroyed, so
// that no destructor at exit depends on the order in which the pools go away.
struct Zones
{
    ArrayP* list = nullptr;
    TimeZone* system = nullptr;
    bool adjustsDaylight = false;
};

// An all-zero zone handed out in the unlikely case that no zone object could be made.
const TimeZone& emptyZone()
{
    static TimeZone* zone = TimeZone::Acquire();
    return *zone;
}

const Zones& zones()
{
    static s::thread::ObjLocker lock;
    static Zones built;
    static bool ready = false;
    s::thread::ObjLocker::Guard guard(lock);
    if (ready)
        return built;
    ready = true;

    built.list = ArrayP::Acquire();
    built.system = TimeZone::Acquire();
    if (!built.list || !built.system)
        return built; // out of memory: no zones, an empty system zone

    TimeZone::readZones(HKEY_LOCAL_MACHINE, ZONES_KEY, *built.list);
    TIME_ZONE_INFORMATION info = {};
    DWORD id = GetTimeZoneInformation(&info);
    // The zone's key name, which unlike the standard name is the same in every language.
    DYNAMIC_TIME_ZONE_INFORMATION dynamic = {};
    wchar_t keyName[129] = {};
    if (id == TIME_ZONE_ID_INVALID)
    {
        // Nothing trustworthy came back: a zone at UTC with no daylight rule.
        info = TIME_ZONE_INFORMATION{};
        id = TIME_ZONE_ID_UNKNOWN;
    }
    else if (GetDynamicTimeZoneInformation(&dynamic) != TIME_ZONE_ID_INVALID)
    {
        std::memcpy(keyName, dynamic.TimeZoneKeyName, sizeof(dynamic.TimeZoneKeyName));
    }
    built.adjustsDaylight =
        TimeZone::fillSystemZone(*built.list, info, id, *built.system, keyName[0] ? keyName : nullptr);
    return built;
}

} // namespace

// --- TimeZone ------------------------------------------------------------------------------

s::thread::EasyPooler& TimeZone::Pool()
{
    static s::thread::EasyPooler& strings = StrBuffer::Pool();
    static s::thread::EasyPooler pool(
        s::thread::EasyPooler::CLASS_POOL_MAX, &s::thread::PoolHooks<TimeZone>::Create,
        &s::thread::PoolHooks<TimeZone>::Destroy, &s::thread::PoolHooks<TimeZone>::Recycle);
    (void)strings;
    return pool;
}

TimeZone::TimeZone()
    : displayName_(StrBuffer::Acquire()), standardName_(StrBuffer::Acquire()),
      daylightName_(StrBuffer::Acquire()), keyName_(StrBuffer::Acquire())
{
}

TimeZone::~TimeZone()
{
    displayName_->Release();
    standardName_->Release();
    daylightName_->Release();
    keyName_->Release();
}

void TimeZone::Reset()
{
    bias_ = 0;
    displayName_->Clear();
    standardName_->Clear();
    daylightName_->Clear();
    keyName_->Clear();
    hasDaylight_ = false;
    daylightInUse_ = false;
    rule_ = TIME_ZONE_INFORMATION{};
}

void TimeZone::setDisplayName(const wchar_t* text)
{
    displayName_->Assign(text ? text : L"");
}

void TimeZone::setKeyName(const wchar_t* text)
{
    keyName_->Assign(text ? text : L"");
}

void TimeZone::setStandardName(const wchar_t* text)
{
    standardName_->Assign(text ? text : L"");
}

void TimeZone::setDaylightName(const wchar_t* text)
{
    daylightName_->Assign(text ? text : L"");
}

void TimeZone::setRule(const TIME_ZONE_INFORMATION& rule)
{
    rule_ = rule;
    bias_ = -rule.Bias;
    hasDaylight_ = daylightInUse_ = ruleHasDaylight(rule);
}

int TimeZone::compareBias(const void* a, const void* b)
{
    const int32_t left = static_cast<const TimeZone*>(a)->bias_;
    const int32_t right = static_cast<const TimeZone*>(b)->bias_;
    return left < right ? -1 : (left > right ? 1 : 0);
}

uint32_t TimeZone::readZones(HKEY root, const wchar_t* path, ArrayP& into)
{
    s::reg::win::RegDir* dir = s::reg::win::RegDir::Open(root, path);
    if (!dir)
        return 0;
    ArrayP* keys = dir->isOpen() ? dir->listSubKeys() : nullptr;
    uint32_t added = 0;
    for (uint32_t i = 0; keys && i < keys->Count(); ++i)
    {
        auto* key = static_cast<s::reg::win::RegDir*>(keys->Get(i));
        TimeZone* zone = Acquire();
        if (!zone)
            continue;
        const wchar_t* keyPath = key->getPath();
        const wchar_t* keyName = wcsrchr(keyPath, L'\\');
        zone->setKeyName(keyName ? keyName + 1 : keyPath);
        zone->setDisplayName(key->getString(L"Display", UNKNOWN_TEXT, nullptr, false));
        zone->setStandardName(key->getString(L"Std", UNKNOWN_TEXT, nullptr, false));
        zone->setDaylightName(key->getString(L"Dlt", UNKNOWN_TEXT, nullptr, false));
        uint32_t size = 0;
        if (key->readRaw(L"TZI", nullptr, &size, -1) && size >= TZI_SIZE)
        {
            const uint8_t* data = key->getRawData();
            TIME_ZONE_INFORMATION rule = {};
            rule.Bias = readInt32(data);
            rule.StandardBias = readInt32(data + 4);
            rule.DaylightBias = readInt32(data + 8);
            rule.StandardDate = readSystemTime(data + 12);
            rule.DaylightDate = readSystemTime(data + 28);
            zone->setRule(rule);
        }
        into.Add(zone);
        ++added;
    }
    if (keys)
        keys->Release();
    dir->Release();
    s::col::MergeSort(into.Items(), into.Count(), &TimeZone::compareBias);
    return added;
}

int32_t TimeZone::indexByStandardName(const ArrayP& zones, const wchar_t* standardName)
{
    if (!standardName)
        return -1;
    for (uint32_t i = 0; i < zones.Count(); ++i)
    {
        if (static_cast<const TimeZone*>(zones.Get(i))->standardName_->EqualsIgnoreCase(standardName))
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool TimeZone::fillSystemZone(const ArrayP& zones, const TIME_ZONE_INFORMATION& info, DWORD id, TimeZone& out,
                              const wchar_t* keyName)
{
    out.Reset();
    // The record's names are fixed arrays that need not end in a terminator.
    wchar_t standardName[33] = {};
    wchar_t daylightName[33] = {};
    std::memcpy(standardName, info.StandardName, sizeof(info.StandardName));
    std::memcpy(daylightName, info.DaylightName, sizeof(info.DaylightName));

    const TimeZone* matched = nullptr;
    if (zones.Count() > 0)
    {
        int32_t index = indexByStandardName(zones, standardName);
        for (uint32_t i = 0; index < 0 && keyName && i < zones.Count(); ++i)
        {
            if (static_cast<const TimeZone*>(zones.Get(i))->keyName_->EqualsIgnoreCase(keyName))
                index = static_cast<int32_t>(i);
        }
        matched = static_cast<const TimeZone*>(zones.Get(index < 0 ? 0 : static_cast<uint32_t>(index)));
    }

    bool adjusts = false;
    if (id != TIME_ZONE_ID_UNKNOWN && matched)
    {
        // utcToLocal applies the offset in force now to every instant, so this finds out
        // whether that offset differs from the zone's standard one, e.g. in daylight time.
        const EpochSeconds now = nowSeconds();
        const int64_t standardOffset = static_cast<int64_t>(matched->bias_) * 60;
        for (int64_t k = 0; k < 12 && !adjusts; ++k)
        {
            const EpochSeconds t = now + 2592000 * k;
            adjusts = utcToLocal(t) - t != standardOffset;
        }
    }

    if (matched)
        out.displayName_->Assign(*matched->displayName_);
    out.standardName_->Assign(standardName);
    out.daylightName_->Assign(daylightName);
    TIME_ZONE_INFORMATION rule = info;
    out.setRule(rule);
    if (!adjusts)
    {
        rule.StandardDate.wMonth = 0;
        rule.DaylightDate.wMonth = 0;
        out.rule_ = rule;
        out.daylightInUse_ = false;
    }
    return adjusts;
}

// --- the process-wide zones ---------------------------------------------------------------

const ArrayP& zoneList()
{
    const Zones& all = zones();
    if (all.list)
        return *all.list;
    static ArrayP* none = ArrayP::Acquire();
    return *none;
}

uint32_t zoneCount()
{
    return zoneList().Count();
}

const TimeZone* zoneAt(uint32_t index)
{
    const ArrayP& list = zoneList();
    return index < list.Count() ? static_cast<const TimeZone*>(list.Get(index)) : nullptr;
}

const TimeZone& systemZone()
{
    const Zones& all = zones();
    return all.system ? *all.system : emptyZone();
}

bool systemAdjustsDaylight()
{
    return zones().adjustsDaylight;
}

// --- conversions ------------------------------------------------------------------------------

EpochSeconds zoneLocalToUtc(const TimeZone& zone, EpochSeconds local, bool daylight)
{
    if (!daylight)
        return local - static_cast<int64_t>(zone.getBias()) * 60;
    SYSTEMTIME wall;
    SYSTEMTIME utc;
    TIME_ZONE_INFORMATION rule = zone.getRule();
    EpochSeconds result = 0;
    if (!toSystemTime(local, wall) || !TzSpecificLocalTimeToSystemTime(&rule, &wall, &utc) ||
        !fromSystemTime(utc, result))
        return failedConversion();
    return result;
}

EpochSeconds utcToZoneLocal(const TimeZone& zone, EpochSeconds utc, bool daylight)
{
    if (!daylight)
        return utc + static_cast<int64_t>(zone.getBias()) * 60;
    SYSTEMTIME instant;
    SYSTEMTIME wall;
    TIME_ZONE_INFORMATION rule = zone.getRule();
    EpochSeconds result = 0;
    if (!toSystemTime(utc, instant) || !SystemTimeToTzSpecificLocalTime(&rule, &instant, &wall) ||
        !fromSystemTime(wall, result))
        return failedConversion();
    return result;
}

int64_t zoneShift(const TimeZone& from, bool fromDaylight, const TimeZone& to, bool toDaylight)
{
    // 1970-01-03 00:00:00 UTC on the local wall clock; the local offset that enters here
    // leaves again with localToUtc below.
    const EpochSeconds start = 172800;
    const EpochSeconds wall = utcToLocal(start);
    const EpochSeconds utc = zoneLocalToUtc(from, wall, fromDaylight);
    const EpochSeconds target = utcToZoneLocal(to, utc, toDaylight);
    return static_cast<int32_t>(localToUtc(target) - start);
}

} // namespace s::time
