#pragma once
// The command line's time texts: ISO 8601 output of file times (local time of that date
// with its offset, and UTC) and the parsing of the times and offsets users type.
//
// Local time here is the wall clock of the given date under the system's zone rules (a
// January time shows winter time even in summer), with the offset written out, so every
// text names exactly one instant.
//
// Pure functions apart from the platform's zone rules; any thread.

#include <cstdint>
#include <string>

#include "s/time/EpochSeconds.h"

namespace kairon::cli
{

using s::time::EpochSeconds;
using s::time::Ticks;

/// "2024-03-01T12:00:00+01:00" for the UTC tick count `utc`; a sub-second part is written
/// as up to seven digits (".1234567", trailing zeros dropped). A count the calendar cannot
/// show gives "?".
std::wstring FormatLocal(Ticks utc);
/// "2024-03-01T11:00:00Z", the sub-second part as in FormatLocal.
std::wstring FormatUtc(Ticks utc);

/// Parses "now", or an ISO 8601 date and time: "YYYY-MM-DD", "YYYY-MM-DDThh:mm" or
/// "YYYY-MM-DDThh:mm:ss" (a blank may stand for the "T"), followed by nothing (local time
/// of that date), "Z" or an offset "+hh:mm", "+hhmm", "+hh" (or "-"). Whole seconds only
/// (a fraction of zeros is accepted). The result lies between 1970 and 9999. On failure
/// answers false and a one-line reason in `error`.
bool ParseDateTime(const wchar_t* text, EpochSeconds now, EpochSeconds& out, std::wstring& error);

/// Parses an offset: an optional sign followed by one or more parts "<digits><unit>", unit
/// s, m, h or d ("-1h30m", "+2d", "90s"). At most 100 years in all. On failure answers false
/// and a one-line reason in `error`.
bool ParseOffset(const wchar_t* text, int64_t& seconds, std::wstring& error);

/// "+1h30m", "-2d", "0s": an offset as ParseOffset reads it.
std::wstring FormatOffset(int64_t seconds);

} // namespace kairon::cli
