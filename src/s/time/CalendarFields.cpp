#include "s/time/CalendarFields.h"

namespace s::time
{

bool secondsFromFields(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second,
                       EpochSeconds& out)
{
    if (year < 1601 || year > 30827 || month < 1 || month > 12 || day < 1 || day > daysInMonth(month, year) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
    {
        return false;
    }
    // Days since 1970-01-01 in the proleptic Gregorian calendar, counted from March so that
    // the leap day ends the year (eras of 400 years, 146097 days each).
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const int64_t days = era * 146097 + dayOfEra - 719468;
    out = days * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

} // namespace s::time
