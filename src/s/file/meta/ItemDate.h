#pragma once
// A date found in what an item says about itself (the date a photo was taken, a date in a
// file name): either an exact instant, or a wall-clock time that still needs a zone.
//
//     ItemDate d = readDateTaken(path);              // or dateFromName(name)
//     if (d.isFound()) write(d.toUtc(&zone));        // null zone: the system's zone
//
// A plain value: copy it freely, any thread.

#include <cstdint>

#include "s/time/EpochSeconds.h"

namespace s::time
{
class TimeZone;
}

namespace s::file::meta
{

struct ItemDate
{
    using EpochSeconds = s::time::EpochSeconds;

    enum class Kind : uint8_t
    {
        None,      // no date found (value is 0)
        WallClock, // value: the calendar fields counted as if they were UTC
        Instant    // value: the exact UTC time (the item stated its offset from UTC)
    };

    Kind kind = Kind::None;
    EpochSeconds value = 0;
    // Only the date was given (a name without a time): value is that day's midnight.
    bool dateOnly = false;

    bool isFound() const { return kind != Kind::None; }

    // The UTC time: an instant as it is; a wall-clock time read in `zone` (null: the
    // system's zone), with `daylight` by the daylight rule in force on that date (a zone
    // without a rule, or the system's zone while the system does not adjust, has only its
    // standard offset). -1 when nothing was found or the time falls before 1970 (nothing to
    // write).
    EpochSeconds toUtc(const s::time::TimeZone* zone, bool daylight = true) const;

    static ItemDate wallClock(EpochSeconds fields, bool dateOnly = false)
    {
        return ItemDate{Kind::WallClock, fields, dateOnly};
    }
    static ItemDate instant(EpochSeconds utc) { return ItemDate{Kind::Instant, utc, false}; }
};

} // namespace s::file::meta
