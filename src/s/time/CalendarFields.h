#pragma once
// Calendar fields to seconds by plain arithmetic: for readers of dates written as text (a
// photo's EXIF date, a date in a file name), which must not go through the platform for
// every one of thousands of items. Any thread.

#include <cstdint>

#include "s/time/EpochSeconds.h"

namespace s::time
{

// The seconds since 1970 of a calendar date and time read as UTC (a wall-clock time read in
// a zone goes on through zoneLocalToUtc). Accepted are years 1601..30827, months 1..12, a
// day the month has, hours 0..23, minutes and seconds 0..59: anything else answers false
// and leaves `out` alone. Plain arithmetic, no platform call.
bool secondsFromFields(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second,
                       EpochSeconds& out);

} // namespace s::time
