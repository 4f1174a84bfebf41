#pragma once
// A point in time as a tick count (100 ns since 1601-01-01 00:00:00, a FILETIME) together
// with its calendar fields, and the three text forms the program shows.
//
//     Time* t = Time::fromSecondsLocal(modified);     // fields show local wall-clock time
//     int year = t->getYear();
//     StrBuffer* text = formatWithOffset(*t);         // "2013-08-13 14:05:09 (+09:00)"
//     text->Release();
//     t->Release();
//
// The fields always describe the value: every operation that changes the value derives
// all fields from it again (proleptic Gregorian calendar, no leap seconds). Whether the
// value is UTC or local wall-clock time is up to whoever set it.
//
// Pooled (class identifier "s_time_Time"): take one with Acquire() or a factory, give it
// back with Release(). A fresh or reset Time holds 1970-01-01 00:00:00.000 (a Thursday).
// One thread at a time per object; the pool is thread-safe.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"
#include "s/time/EpochSeconds.h"

namespace s::str::strbuffer
{
class StrBuffer;
}

namespace s::time
{

class Time : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_time_Time")
    S_POOLED(Time)

  public:
    /// Back to 1970-01-01 00:00:00.000.
    void Reset() override;

    // --- pooled factories: the caller releases the result ----------------------------
    /// The calendar time of the UTC instant `seconds`.
    static Time* fromSeconds(EpochSeconds seconds);
    /// The local wall-clock time of the UTC instant `seconds` (see utcToLocal for the
    /// offset used).
    static Time* fromSecondsLocal(EpochSeconds seconds);
    /// See setFields.
    static Time* fromFields(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                            int32_t second);

    // --- value ---------------------------------------------------------------------------
    /// Stores the value and derives the fields. A tick count the platform's calendar
    /// cannot express (2^63 and above) leaves every field 0.
    void setTicks(Ticks ticks);
    /// Sets the value from calendar fields with milliseconds 0. Accepted are years
    /// 1601..30827, months 1..12, a day within that month, hours 0..23, minutes and
    /// seconds 0..59; anything else is rejected and the value becomes 0, so the fields
    /// read 1601-01-01 00:00:00.000 (a Monday). Answers whether the fields were accepted.
    bool setFields(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second);

    Ticks getTicks() const { return (static_cast<Ticks>(valueHigh_) << 32) | valueLow_; }
    /// secondsFromTicks(getTicks()).
    EpochSeconds getEpochSeconds() const { return secondsFromTicks(getTicks()); }

    int16_t getYear() const { return year_; }
    uint8_t getMonth() const { return month_; }
    /// 0 = Sunday .. 6 = Saturday.
    uint8_t getDayOfWeek() const { return dayOfWeek_; }
    uint8_t getDay() const { return day_; }
    uint8_t getHour() const { return hour_; }
    uint8_t getMinute() const { return minute_; }
    uint8_t getSecond() const { return second_; }
    uint16_t getMilliseconds() const { return milliseconds_; }

  protected:
    Time();
    ~Time() override = default;

  private:
    uint32_t valueLow_ = 0;
    uint32_t valueHigh_ = 0;
    int16_t year_ = 0;
    uint8_t month_ = 0;
    uint8_t dayOfWeek_ = 0;
    uint8_t day_ = 0;
    uint8_t hour_ = 0;
    uint8_t minute_ = 0;
    uint8_t second_ = 0;
    uint16_t milliseconds_ = 0;
};

// --- text forms ------------------------------------------------------------------------
// Each empties `out` and writes the text into it, or, when `out` is null, into a new string
// from the pool that the caller releases; the answer is the string written to.

/// The date, one blank and the time in the user's default locale ("8/13/2013 2:05:09 PM"),
/// through the platform's variant dates. Each part that cannot be formatted reads
/// "Invalid DateTime"; a value a variant date cannot hold (a year after 9999) gives that
/// text for both parts.
s::str::strbuffer::StrBuffer* formatLocale(const Time& time, s::str::strbuffer::StrBuffer* out = nullptr);
/// "2013-08-13 14:05:09 (+09:00)": the fields followed by the offset of local time from
/// UTC in force now (currentUtcOffset), whatever the date of the value.
s::str::strbuffer::StrBuffer* formatWithOffset(const Time& time, s::str::strbuffer::StrBuffer* out = nullptr);
/// "2013-08-13 05:05:09 UTC": the fields followed by " UTC".
s::str::strbuffer::StrBuffer* formatUtc(const Time& time, s::str::strbuffer::StrBuffer* out = nullptr);

/// formatLocale of Time::fromSecondsLocal(seconds).
s::str::strbuffer::StrBuffer* formatSecondsLocale(EpochSeconds seconds,
                                                  s::str::strbuffer::StrBuffer* out = nullptr);
/// formatWithOffset of Time::fromSecondsLocal(seconds).
s::str::strbuffer::StrBuffer* formatSecondsWithOffset(EpochSeconds seconds,
                                                      s::str::strbuffer::StrBuffer* out = nullptr);
/// formatUtc of Time::fromSeconds(seconds).
s::str::strbuffer::StrBuffer* formatSecondsUtc(EpochSeconds seconds,
                                               s::str::strbuffer::StrBuffer* out = nullptr);

} // namespace s::time
