#pragma once
// Epoch seconds and file-system ticks: the two integer forms of a point in time, and the
// conversions between UTC and the local wall clock.
//
// Everything here is plain arithmetic on values (or one platform call) and keeps no state,
// so every function may be called from any thread at the same time. Nothing reports an
// error: a conversion the platform refuses answers a fixed value documented per function.

#include <cstdint>

namespace s::time
{

// Whole seconds since 1970-01-01 00:00:00 UTC, signed. The dialog keeps, computes and writes
// every time in this form; a negative value in a change request means "leave unchanged".
using EpochSeconds = int64_t;

// 100-nanosecond intervals since 1601-01-01 00:00:00 (the platform's FILETIME count).
using Ticks = uint64_t;

// The tick count of 1970-01-01 00:00:00 UTC.
inline constexpr Ticks EPOCH_TICKS = 116444736000000000ULL;
inline constexpr int64_t TICKS_PER_SECOND = 10000000;
inline constexpr int64_t TICKS_PER_MILLISECOND = 10000;

// s * 10,000,000 + EPOCH_TICKS. No range check: epoch seconds of the years the program
// handles (1601..30827) stay far inside 64 bits.
Ticks ticksFromSeconds(EpochSeconds seconds);

// (ticks - EPOCH_TICKS) / 10,000,000, signed, truncated toward zero: a tick count half a
// second before 1970 gives 0, not -1.
EpochSeconds secondsFromTicks(Ticks ticks);

// (ticks - EPOCH_TICKS) / 10,000, truncated toward zero.
int64_t millisFromTicks(Ticks ticks);

// The platform's current UTC time in milliseconds since 1970.
int64_t nowMillis();

// nowMillis() / 1000, truncated.
EpochSeconds nowSeconds();

// UTC to local wall-clock time and back. Both apply the offset of local time from UTC that
// is in force at the moment of the call (daylight saving included when it is in effect now)
// to every value alike, whatever its date: a January and a July value move by the same
// amount. This keeps the shown offset and the conversion in agreement and lets a value that
// was shown, edited and converted back arrive exactly where it started.
// If the platform refuses the conversion, the result is that of tick count 0, i.e.
// -11644473600 (1601-01-01 00:00:00).
EpochSeconds utcToLocal(EpochSeconds utc);
EpochSeconds localToUtc(EpochSeconds local);

// The offset of local time from UTC in force now, in seconds, positive east of Greenwich
// (32400 at UTC+9, -18000 at UTC-5 in winter, -12600 at UTC-3:30).
int64_t currentUtcOffset();

// Days in the month (1..12) of the year in the proleptic Gregorian calendar: 28..31, or 0
// for a month outside 1..12.
int32_t daysInMonth(int32_t month, int32_t year);

} // namespace s::time
