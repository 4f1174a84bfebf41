#include "s/time/Time.h"

#include <windows.h>
#include <oleauto.h>

#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/PlatformCalendar.h"

using s::str::strbuffer::StrBuffer;

namespace s::time
{

namespace
{

const wchar_t INVALID_TEXT[] = L"Invalid DateTime";

// 1970-01-01 00:00:00.000, the value of a fresh Time.
constexpr Ticks FRESH_TICKS = EPOCH_TICKS;

StrBuffer* emptied(StrBuffer* out)
{
    if (!out)
        return StrBuffer::Acquire();
    out->Clear();
    return out;
}

void appendTwoDigits(StrBuffer& out, int64_t value)
{
    if (value < 10)
        out.AppendChar(L'0');
    out.AppendNumber(value);
}

// "2013-08-13 14:05:09"
void appendDateAndTime(StrBuffer& out, const Time& time)
{
    out.AppendNumber(static_cast<int32_t>(time.getYear()));
    out.AppendChar(L'-');
    appendTwoDigits(out, time.getMonth());
    out.AppendChar(L'-');
    appendTwoDigits(out, time.getDay());
    out.AppendChar(L' ');
    appendTwoDigits(out, time.getHour());
    out.AppendChar(L':');
    appendTwoDigits(out, time.getMinute());
    out.AppendChar(L':');
    appendTwoDigits(out, time.getSecond());
}

// One part of the locale text: VarBstrFromDate under the user's locale with `flags`.
// Some platforms answer an empty text for a zero part (midnight, or the variant epoch
// 1899-12-30) instead of the locale's text for it; the same locale formatting through
// GetDateFormatW / GetTimeFormatW fills that gap, so a midnight time never shows as
// nothing.
bool appendLocalePart(StrBuffer& out, double variantDate, const SYSTEMTIME& fields, ULONG flags)
{
    BSTR text = nullptr;
    if (FAILED(VarBstrFromDate(variantDate, LOCALE_USER_DEFAULT, flags, &text)))
        return false;
    const UINT length = text ? SysStringLen(text) : 0;
    if (length > 0)
        out.Append(text, static_cast<int32_t>(length));
    SysFreeString(text);
    if (length > 0)
        return true;
    wchar_t buffer[128];
    const int written =
        (flags & VAR_DATEVALUEONLY)
            ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &fields, nullptr, buffer, 128)
            : GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &fields, nullptr, buffer, 128);
    if (written <= 1)
        return false;
    out.Append(buffer, written - 1);
    return true;
}

} // namespace

Time::Time()
{
    setTicks(FRESH_TICKS);
}

void Time::Reset()
{
    setTicks(FRESH_TICKS);
}

Time* Time::fromSeconds(EpochSeconds seconds)
{
    Time* time = Acquire();
    if (time)
        time->setTicks(ticksFromSeconds(seconds));
    return time;
}

Time* Time::fromSecondsLocal(EpochSeconds seconds)
{
    Time* time = Acquire();
    if (time)
        time->setTicks(ticksFromSeconds(utcToLocal(seconds)));
    return time;
}

Time* Time::fromFields(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second)
{
    Time* time = Acquire();
    if (time)
        time->setFields(year, month, day, hour, minute, second);
    return time;
}

void Time::setTicks(Ticks ticks)
{
    valueLow_ = static_cast<uint32_t>(ticks & 0xFFFFFFFFu);
    valueHigh_ = static_cast<uint32_t>(ticks >> 32);
    SYSTEMTIME st = {};
    if (!calendarOf(ticks, st))
        st = SYSTEMTIME{};
    year_ = static_cast<int16_t>(st.wYear);
    month_ = static_cast<uint8_t>(st.wMonth);
    dayOfWeek_ = static_cast<uint8_t>(st.wDayOfWeek);
    day_ = static_cast<uint8_t>(st.wDay);
    hour_ = static_cast<uint8_t>(st.wHour);
    minute_ = static_cast<uint8_t>(st.wMinute);
    second_ = static_cast<uint8_t>(st.wSecond);
    milliseconds_ = st.wMilliseconds;
}

bool Time::setFields(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second)
{
    // The limits are checked here rather than left to SystemTimeToFileTime alone: not every
    // implementation of it refuses a day beyond the end of the month (29 February 2013 would
    // silently become 1 March), and the arguments must not wrap when narrowed to 16 bits.
    bool accepted = year >= 1601 && year <= 30827 && month >= 1 && month <= 12 && day >= 1 &&
                    day <= daysInMonth(month, year) && hour >= 0 && hour < 24 && minute >= 0 && minute < 60 &&
                    second >= 0 && second < 60;
    Ticks ticks = 0;
    if (accepted)
    {
        SYSTEMTIME st = {};
        st.wYear = static_cast<WORD>(year);
        st.wMonth = static_cast<WORD>(month);
        st.wDay = static_cast<WORD>(day);
        st.wHour = static_cast<WORD>(hour);
        st.wMinute = static_cast<WORD>(minute);
        st.wSecond = static_cast<WORD>(second);
        accepted = ticksOfCalendar(st, ticks);
    }
    setTicks(ticks);
    return accepted;
}

StrBuffer* formatLocale(const Time& time, StrBuffer* out)
{
    out = emptied(out);
    if (!out)
        return nullptr;
    SYSTEMTIME fields = {};
    fields.wYear = static_cast<WORD>(time.getYear());
    fields.wMonth = time.getMonth();
    fields.wDayOfWeek = time.getDayOfWeek();
    fields.wDay = time.getDay();
    fields.wHour = time.getHour();
    fields.wMinute = time.getMinute();
    fields.wSecond = time.getSecond();
    double variantDate = 0;
    SYSTEMTIME back = {};
    const bool valid =
        SystemTimeToVariantTime(&fields, &variantDate) && VariantTimeToSystemTime(variantDate, &back) &&
        back.wYear == fields.wYear && back.wMonth == fields.wMonth && back.wDay == fields.wDay &&
        back.wHour == fields.wHour && back.wMinute == fields.wMinute && back.wSecond == fields.wSecond;
    if (!valid || !appendLocalePart(*out, variantDate, fields, VAR_DATEVALUEONLY))
        out->Append(INVALID_TEXT);
    out->AppendChar(L' ');
    if (!valid || !appendLocalePart(*out, variantDate, fields, VAR_TIMEVALUEONLY))
        out->Append(INVALID_TEXT);
    return out;
}

StrBuffer* formatWithOffset(const Time& time, StrBuffer* out)
{
    out = emptied(out);
    if (!out)
        return nullptr;
    appendDateAndTime(*out, time);
    const int64_t offset = currentUtcOffset();
    out->Append(offset >= 0 ? L" (+" : L" (-");
    const int64_t magnitude = offset >= 0 ? offset : -offset;
    appendTwoDigits(*out, magnitude / 3600);
    out->AppendChar(L':');
    appendTwoDigits(*out, (magnitude / 60) % 60);
    out->AppendChar(L')');
    return out;
}

StrBuffer* formatUtc(const Time& time, StrBuffer* out)
{
    out = emptied(out);
    if (!out)
        return nullptr;
    appendDateAndTime(*out, time);
    out->Append(L" UTC");
    return out;
}

namespace
{

template <class Format> StrBuffer* formatSeconds(Time* time, StrBuffer* out, Format format)
{
    if (!time)
        return out ? (out->Clear(), out) : StrBuffer::Acquire();
    StrBuffer* result = format(*time, out);
    time->Release();
    return result;
}

} // namespace

StrBuffer* formatSecondsLocale(EpochSeconds seconds, StrBuffer* out)
{
    return formatSeconds(Time::fromSecondsLocal(seconds), out, formatLocale);
}

StrBuffer* formatSecondsWithOffset(EpochSeconds seconds, StrBuffer* out)
{
    return formatSeconds(Time::fromSecondsLocal(seconds), out, formatWithOffset);
}

StrBuffer* formatSecondsUtc(EpochSeconds seconds, StrBuffer* out)
{
    return formatSeconds(Time::fromSeconds(seconds), out, formatUtc);
}

} // namespace s::time
