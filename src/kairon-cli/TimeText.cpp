#include "kairon-cli/TimeText.h"

#include <windows.h>

#include <cwchar>

#include "s/time/EpochSeconds.h"
#include "s/time/PlatformCalendar.h"
#include "s/time/Time.h"

namespace kairon::cli
{

namespace
{

constexpr int64_t SECONDS_PER_DAY = 86400;
constexpr int64_t MAX_OFFSET = 100 * 366 * SECONDS_PER_DAY;

void AppendDigits(std::wstring& out, int64_t value, int width)
{
    wchar_t digits[24];
    swprintf(digits, 24, L"%0*lld", width, static_cast<long long>(value));
    out += digits;
}

// "YYYY-MM-DDThh:mm:ss" and the sub-second part of `ticks`, whose calendar fields are st.
std::wstring DateTimeText(const SYSTEMTIME& st, Ticks ticks)
{
    std::wstring out;
    AppendDigits(out, st.wYear, 4);
    out += L'-';
    AppendDigits(out, st.wMonth, 2);
    out += L'-';
    AppendDigits(out, st.wDay, 2);
    out += L'T';
    AppendDigits(out, st.wHour, 2);
    out += L':';
    AppendDigits(out, st.wMinute, 2);
    out += L':';
    AppendDigits(out, st.wSecond, 2);
    int64_t fraction = static_cast<int64_t>(ticks % s::time::TICKS_PER_SECOND);
    if (fraction != 0)
    {
        int width = 7;
        while (fraction % 10 == 0)
        {
            fraction /= 10;
            --width;
        }
        out += L'.';
        AppendDigits(out, fraction, width);
    }
    return out;
}

// The offset of local time from UTC in force at the UTC instant `utc`, in seconds east.
bool LocalOffsetAt(Ticks utc, int64_t& offset)
{
    SYSTEMTIME utcFields, localFields;
    if (!s::time::calendarOf(utc, utcFields) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utcFields, &localFields))
        return false;
    Ticks wholeUtc = 0, local = 0;
    if (!s::time::ticksOfCalendar(utcFields, wholeUtc) || !s::time::ticksOfCalendar(localFields, local))
        return false;
    offset = (static_cast<int64_t>(local) - static_cast<int64_t>(wholeUtc)) / s::time::TICKS_PER_SECOND;
    return true;
}

// Reads exactly `count` digits at text[at]; advances at.
bool Digits(const wchar_t* text, size_t& at, int count, int& value)
{
    value = 0;
    for (int i = 0; i < count; ++i)
    {
        const wchar_t c = text[at];
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + (c - L'0');
        ++at;
    }
    return true;
}

bool Fail(std::wstring& error, const wchar_t* text, const wchar_t* why)
{
    error = L"invalid date and time \"";
    error += text;
    error += L"\": ";
    error += why;
    return false;
}

} // namespace

std::wstring FormatUtc(Ticks utc)
{
    SYSTEMTIME st;
    if (!s::time::calendarOf(utc, st))
        return L"?";
    return DateTimeText(st, utc) + L"Z";
}

std::wstring FormatLocal(Ticks utc)
{
    int64_t offset = 0;
    if (!LocalOffsetAt(utc, offset))
        return L"?";
    const Ticks shifted = static_cast<Ticks>(static_cast<int64_t>(utc) + offset * s::time::TICKS_PER_SECOND);
    SYSTEMTIME st;
    if (!s::time::calendarOf(shifted, st))
        return L"?";
    std::wstring out = DateTimeText(st, shifted);
    out += offset < 0 ? L'-' : L'+';
    const int64_t a = offset < 0 ? -offset : offset;
    AppendDigits(out, a / 3600, 2);
    out += L':';
    AppendDigits(out, (a / 60) % 60, 2);
    return out;
}

bool ParseDateTime(const wchar_t* text, EpochSeconds now, EpochSeconds& out, std::wstring& error)
{
    if (text == nullptr || text[0] == 0)
        return Fail(error, L"", L"empty");
    if (_wcsicmp(text, L"now") == 0)
    {
        out = now;
        return true;
    }
    size_t at = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(text, at, 4, year) || text[at++] != L'-' || !Digits(text, at, 2, month) ||
        text[at++] != L'-' || !Digits(text, at, 2, day))
        return Fail(error, text, L"expected YYYY-MM-DD, optionally followed by Thh:mm[:ss] and Z or +hh:mm");
    if (text[at] == L'T' || text[at] == L't' || text[at] == L' ')
    {
        ++at;
        if (!Digits(text, at, 2, hour) || text[at++] != L':' || !Digits(text, at, 2, minute))
            return Fail(error, text, L"expected the time as hh:mm or hh:mm:ss");
        if (text[at] == L':')
        {
            ++at;
            if (!Digits(text, at, 2, second))
                return Fail(error, text, L"expected two digits of seconds");
            if (text[at] == L'.' || text[at] == L',')
            {
                ++at;
                if (text[at] < L'0' || text[at] > L'9')
                    return Fail(error, text, L"expected digits after the decimal point");
                for (; text[at] >= L'0' && text[at] <= L'9'; ++at)
                {
                    if (text[at] != L'0')
                        return Fail(error, text, L"times are written in whole seconds");
                }
            }
        }
    }
    bool zoned = false;
    int64_t zoneOffset = 0;
    if (text[at] == L'Z' || text[at] == L'z')
    {
        zoned = true;
        ++at;
    }
    else if (text[at] == L'+' || text[at] == L'-')
    {
        const bool negative = text[at] == L'-';
        ++at;
        int hh = 0, mm = 0;
        if (!Digits(text, at, 2, hh))
            return Fail(error, text, L"expected the offset as +hh:mm");
        if (text[at] == L':')
            ++at;
        if (text[at] != 0 && !Digits(text, at, 2, mm))
            return Fail(error, text, L"expected the offset as +hh:mm");
        if (hh > 14 || mm > 59)
            return Fail(error, text, L"the offset from UTC is out of range");
        zoned = true;
        zoneOffset = (negative ? -1 : 1) * (hh * 3600 + mm * 60);
    }
    if (text[at] != 0)
        return Fail(error, text, L"unexpected text at the end");
    if (month < 1 || month > 12)
        return Fail(error, text, L"there is no such month");
    if (day < 1 || day > s::time::daysInMonth(month, year))
        return Fail(error, text, L"there is no such day in that month");
    if (hour > 23 || minute > 59 || second > 59)
        return Fail(error, text, L"there is no such time of day");
    if (year < 1970 || year > 9999)
        return Fail(error, text, L"the year must lie between 1970 and 9999");

    // The calendar's own check of the fields, and their tick count as a wall-clock time.
    s::time::Time* wallClock = s::time::Time::Acquire();
    const bool valid = wallClock->setFields(year, month, day, hour, minute, second);
    const Ticks wall = wallClock->getTicks();
    wallClock->Release();
    if (!valid)
        return Fail(error, text, L"not a valid date");
    if (zoned)
        out = s::time::secondsFromTicks(wall) - zoneOffset;
    else
    {
        // The wall clock of that date under the system's zone rules.
        SYSTEMTIME fields, utcFields;
        Ticks ticks = 0;
        if (!s::time::calendarOf(wall, fields) || !TzSpecificLocalTimeToSystemTime(nullptr, &fields, &utcFields) ||
            !s::time::ticksOfCalendar(utcFields, ticks))
            return Fail(error, text, L"not a valid local time");
        out = s::time::secondsFromTicks(ticks);
    }
    if (out < 0)
        return Fail(error, text, L"times before 1970-01-01T00:00:00Z cannot be written");
    return true;
}

bool ParseOffset(const wchar_t* text, int64_t& seconds, std::wstring& error)
{
    error.clear();
    const auto fail = [&](const wchar_t* why) {
        error = L"invalid offset \"";
        error += text ? text : L"";
        error += L"\": ";
        error += why;
        return false;
    };
    if (text == nullptr || text[0] == 0)
        return fail(L"empty");
    size_t at = 0;
    int64_t sign = 1;
    if (text[at] == L'+' || text[at] == L'-')
    {
        sign = text[at] == L'-' ? -1 : 1;
        ++at;
    }
    int64_t total = 0;
    int parts = 0;
    while (text[at] != 0)
    {
        if (text[at] < L'0' || text[at] > L'9')
            return fail(L"expected a number followed by s, m, h or d (e.g. -1h30m)");
        int64_t n = 0;
        for (; text[at] >= L'0' && text[at] <= L'9'; ++at)
        {
            n = n * 10 + (text[at] - L'0');
            if (n > MAX_OFFSET)
                return fail(L"too large (at most 100 years)");
        }
        int64_t unit = 0;
        switch (text[at])
        {
        case L's': case L'S': unit = 1; break;
        case L'm': case L'M': unit = 60; break;
        case L'h': case L'H': unit = 3600; break;
        case L'd': case L'D': unit = SECONDS_PER_DAY; break;
        default: return fail(L"each number needs a unit: s, m, h or d (e.g. -1h30m)");
        }
        ++at;
        total += n * unit;
        if (total > MAX_OFFSET)
            return fail(L"too large (at most 100 years)");
        ++parts;
    }
    if (parts == 0)
        return fail(L"expected a number followed by s, m, h or d (e.g. -1h30m)");
    seconds = sign * total;
    return true;
}

std::wstring FormatOffset(int64_t seconds)
{
    std::wstring out = seconds < 0 ? L"-" : L"+";
    int64_t a = seconds < 0 ? -seconds : seconds;
    if (a == 0)
        return L"0s";
    const struct { int64_t size; wchar_t unit; } units[] = {{SECONDS_PER_DAY, L'd'}, {3600, L'h'}, {60, L'm'}, {1, L's'}};
    for (const auto& u : units)
    {
        if (a >= u.size)
        {
            AppendDigits(out, a / u.size, 1);
            out += u.unit;
            a %= u.size;
        }
    }
    return out;
}

} // namespace kairon::cli
