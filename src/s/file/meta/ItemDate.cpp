#include "s/file/meta/ItemDate.h"

#include "s/time/TimeZone.h"

namespace s::file::meta
{

ItemDate::EpochSeconds ItemDate::toUtc(const s::time::TimeZone* zone, bool daylight) const
{
    EpochSeconds utc = -1;
    if (kind == Kind::Instant)
    {
        utc = value;
    }
    else if (kind == Kind::WallClock)
    {
        const s::time::TimeZone& in = zone != nullptr ? *zone : s::time::systemZone();
        // Each date with its own rule: a July photo taken in Berlin is read at UTC+2, a
        // January one at UTC+1, whatever the date today.
        utc = s::time::zoneLocalToUtc(in, value, daylight && in.isDaylightInUse());
    }
    return utc >= 0 ? utc : -1;
}

} // namespace s::file::meta
