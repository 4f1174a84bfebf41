#include "s/time/EpochSeconds.h"

#include "s/time/PlatformCalendar.h"

namespace s::time
{

namespace
{

// The difference to the epoch, read as signed: tick counts below the epoch wrap around in
// unsigned arithmetic and come back as the negative distance.
int64_t ticksSinceEpoch(Ticks ticks)
{
    return static_cast<int64_t>(ticks - EPOCH_TICKS);
}

} // namespace

Ticks ticksFromSeconds(EpochSeconds seconds)
{
    return static_cast<Ticks>(seconds) * static_cast<Ticks>(TICKS_PER_SECOND) + EPOCH_TICKS;
}

EpochSeconds secondsFromTicks(Ticks ticks)
{
    return ticksSinceEpoch(ticks) / TICKS_PER_SECOND;
}

int64_t millisFromTicks(Ticks ticks)
{
    return ticksSinceEpoch(ticks) / TICKS_PER_MILLISECOND;
}

int64_t nowMillis()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return millisFromTicks(ticksOf(ft));
}

EpochSeconds nowSeconds()
{
    return nowMillis() / 1000;
}

EpochSeconds utcToLocal(EpochSeconds utc)
{
    FILETIME in = fileTimeOf(ticksFromSeconds(utc));
    FILETIME out;
    if (!FileTimeToLocalFileTime(&in, &out))
        return secondsFromTicks(0);
    return secondsFromTicks(ticksOf(out));
}

EpochSeconds localToUtc(EpochSeconds local)
{
    FILETIME in = fileTimeOf(ticksFromSeconds(local));
    FILETIME out;
    if (!LocalFileTimeToFileTime(&in, &out))
        return secondsFromTicks(0);
    return secondsFromTicks(ticksOf(out));
}

int64_t currentUtcOffset()
{
    // Two days after the epoch, so that the intermediate tick count stays positive even at
    // the far western zones.
    const EpochSeconds start = 172800;
    return utcToLocal(start) - start;
}

int32_t daysInMonth(int32_t month, int32_t year)
{
    switch (month)
    {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0) ? 29 : 28;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    default:
        return 0;
    }
}

} // namespace s::time
