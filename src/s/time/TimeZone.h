#pragma once
// Time zones: one zone's record, the system's list of zones, the system's own zone, and the
// conversions between UTC and a zone's wall-clock time.
//
//     const TimeZone* tokyo = zoneAt(index);                   // a number from the selectors
//     int64_t shift = zoneShift(*tokyo, false, systemZone(), true);
//
// The list is read once, on the first call of zoneList, zoneAt, zoneCount, systemZone or
// systemAdjustsDaylight from any thread (under a process-wide lock), from the registry's
// zone keys (HKEY_LOCAL_MACHINE "SOFTWARE\Microsoft\Windows NT\CurrentVersion\Time Zones"),
// ordered by standard offset from west to east with zones of equal offset in registry
// order, and kept unchanged for the life of the process: a change of the system's zone
// while the program runs is not seen. Positions in the list are the zone numbers the
// dialog's selectors carry. The list and the system zone belong to the library; callers
// only read them (from any thread).
//
// No operation reports an error: a registry key that cannot be read gives an empty list,
// missing texts read "UnKnown", a short or missing rule gives a zone at UTC without
// daylight saving.

#include <windows.h>

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/EasyPooler.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"
#include "s/time/EpochSeconds.h"

namespace s::str::strbuffer
{
class StrBuffer;
}
namespace s::col::_array
{
class ArrayP;
}

namespace s::time
{

// One zone: its standard offset, its three names and the platform's zone record (the rule
// that says when daylight saving time begins and ends).
//
// Pooled (class identifier "s_time_TimeZone"): Acquire() / Release(); a fresh or reset zone
// has offset 0, four empty names, both flags false and an all-zero rule. One thread at a
// time per object, except the process-wide zones above, which are only read.
class TimeZone : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_time_TimeZone")

  public:
    // The class pool (1000 kept). Written out rather than taken from S_POOLED because a
    // zone owns strings: the string pool has to be made before this one so that it is
    // still there when this one, destroyed first at process exit, releases the names of
    // the zones it keeps.
    static s::thread::EasyPooler& Pool();
    static TimeZone* Acquire() { return static_cast<TimeZone*>(Pool().Acquire()); }
    void Release() override { Pool().Release(this); }
    s::base::IObject* NewInstance() const override { return Acquire(); }
    void Reset() override;

    /// Standard offset from UTC in minutes, positive east of Greenwich (the negated Bias of
    /// the rule).
    int32_t getBias() const { return bias_; }
    /// The text the selectors show ("(UTC+09:00) Osaka, Sapporo, Tokyo").
    const s::str::strbuffer::StrBuffer& getDisplayName() const { return *displayName_; }
    /// The name of standard time ("Tokyo Standard Time"); the system's zone is recognised
    /// in the list by this name.
    const s::str::strbuffer::StrBuffer& getStandardName() const { return *standardName_; }
    const s::str::strbuffer::StrBuffer& getDaylightName() const { return *daylightName_; }
    /// The name of the zone's registry key ("Tokyo Standard Time", "UTC"): the name scripts
    /// and other programs know the zone by. Empty for a zone not read from the registry.
    const s::str::strbuffer::StrBuffer& getKeyName() const { return *keyName_; }
    /// The rule has a daylight period (a bias for it and both change-over dates).
    bool hasDaylight() const { return hasDaylight_; }
    /// The daylight rule is offered as in effect. For the zones of the list it equals
    /// hasDaylight(); for the system zone it is false whenever the daylight period was
    /// taken out of its rule (see systemZone).
    bool isDaylightInUse() const { return daylightInUse_; }
    /// The platform's record of the zone, as handed to the daylight-aware conversions.
    const TIME_ZONE_INFORMATION& getRule() const { return rule_; }

    void setDisplayName(const wchar_t* text);
    void setStandardName(const wchar_t* text);
    void setDaylightName(const wchar_t* text);
    void setKeyName(const wchar_t* text);
    /// Takes `rule` as this zone's record: bias = -rule.Bias; hasDaylight and
    /// daylightInUse = (StandardBias or DaylightBias non-zero) and both change-over months
    /// non-zero. The names are left as they are.
    void setRule(const TIME_ZONE_INFORMATION& rule);

    /// Order of the list: by bias, west first (-1, 0, 1). Arguments are TimeZone pointers.
    static int compareBias(const void* a, const void* b);

    // --- building blocks of the zone list, usable on any key --------------------------
    /// Reads one zone per sub-key of root\path, in the registry's order (the key's name;
    /// "Display", "Std", "Dlt" with "UnKnown" for a missing text; the 44-byte "TZI" record), appends them to
    /// `into` and sorts the whole list with the stable merge sort by bias. The zones come
    /// from the pool and belong to the list's owner. Answers the number of zones appended
    /// (0 when the key cannot be opened).
    static uint32_t readZones(HKEY root, const wchar_t* path, s::col::_array::ArrayP& into);
    /// Index of the first zone of `zones` whose standard name equals `standardName`
    /// ignoring case, or -1.
    static int32_t indexByStandardName(const s::col::_array::ArrayP& zones, const wchar_t* standardName);
    /// Makes `out` the system's zone from the platform's record `info` and the answer `id`
    /// of GetTimeZoneInformation, with `zones` the sorted list it belongs to: the display
    /// name of the list's zone of that standard name, else of the zone whose key is
    /// `keyName` (the record's names follow the user's language, the list's may not;
    /// the key never changes; null when unknown), else of the first zone; the names,
    /// offset and rule of `info`. Answers whether the system adjusts for daylight saving:
    /// true when the offset in force now differs from that list zone's standard offset
    /// (never when `id` says the zone has no daylight rule, or the list is empty). When it
    /// does not, the daylight period is taken out of the rule and daylightInUse is false.
    static bool fillSystemZone(const s::col::_array::ArrayP& zones, const TIME_ZONE_INFORMATION& info,
                               DWORD id, TimeZone& out, const wchar_t* keyName = nullptr);

  protected:
    TimeZone();
    ~TimeZone() override;

  private:
    friend struct s::thread::PoolHooks<TimeZone>;

    int32_t bias_ = 0;
    s::str::strbuffer::StrBuffer* displayName_;
    s::str::strbuffer::StrBuffer* standardName_;
    s::str::strbuffer::StrBuffer* daylightName_;
    s::str::strbuffer::StrBuffer* keyName_;
    bool hasDaylight_ = false;
    bool daylightInUse_ = false;
    TIME_ZONE_INFORMATION rule_ = {};
};

// --- the process-wide zones (built on first use, see the header comment) ---------------

/// The system's zones, sorted by bias; elements are TimeZone pointers owned by the library.
const s::col::_array::ArrayP& zoneList();
uint32_t zoneCount();
/// The zone with that number, or null when there is none.
const TimeZone* zoneAt(uint32_t index);
/// The zone the system is set to ("Current System Time Zone"): names, offset and rule from
/// the system, the display name of the list's zone with the same standard name (the first
/// zone of the list when none matches; empty when the list is empty).
const TimeZone& systemZone();
/// Whether the local offset in force now differs from the system zone's standard offset,
/// e.g. while daylight saving time is in effect. While it is false the system zone's rule
/// carries no daylight period, so converting with or without daylight gives the same.
bool systemAdjustsDaylight();

// --- conversions (no state; any thread) ------------------------------------------------

/// The UTC time of the wall-clock time `local` in `zone`. With `daylight`, the zone's rule
/// decides for that date (the platform's TzSpecificLocalTimeToSystemTime); without, only
/// the standard offset is taken away. A value the platform cannot convert (outside the
/// years 1601..30827) gives -11644473600, as utcToLocal does.
EpochSeconds zoneLocalToUtc(const TimeZone& zone, EpochSeconds local, bool daylight);
/// The wall-clock time in `zone` of the UTC time `utc`; the reverse of zoneLocalToUtc.
EpochSeconds utcToZoneLocal(const TimeZone& zone, EpochSeconds utc, bool daylight);
/// Seconds to add to a time to move it from the `from` zone's wall clock to the `to`
/// zone's: the To zone's offset from UTC minus the From zone's, both taken in the first
/// days of January 1970 (a daylight flag matters only for zones whose daylight period
/// covers early January). From UTC+9 to UTC-5 without daylight: -50400.
int64_t zoneShift(const TimeZone& from, bool fromDaylight, const TimeZone& to, bool toDaylight);

} // namespace s::time
