#pragma once
// The time library's bridge to the platform's calendar: tick counts as FILETIME and the
// platform's conversions between ticks and calendar fields. Kept in one place so that
// every conversion of the library packs and unpacks the 64-bit count the same way.
// Pure functions; any thread.

#include <windows.h>

#include "s/time/EpochSeconds.h"

namespace s::time
{

inline FILETIME fileTimeOf(Ticks ticks)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return ft;
}

inline Ticks ticksOf(const FILETIME& ft)
{
    return (static_cast<Ticks>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

/// FileTimeToSystemTime of `ticks`; false (fields untouched) for a count of 2^63 or more.
inline bool calendarOf(Ticks ticks, SYSTEMTIME& out)
{
    const FILETIME ft = fileTimeOf(ticks);
    return FileTimeToSystemTime(&ft, &out) != FALSE;
}

/// SystemTimeToFileTime of `fields`; false when the platform rejects them.
inline bool ticksOfCalendar(const SYSTEMTIME& fields, Ticks& out)
{
    FILETIME ft;
    if (!SystemTimeToFileTime(&fields, &ft))
        return false;
    out = ticksOf(ft);
    return true;
}

} // namespace s::time
