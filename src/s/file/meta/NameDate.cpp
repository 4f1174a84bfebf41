#include "s/file/meta/NameDate.h"
#include "s/time/CalendarFields.h"

namespace s::file::meta
{

const NamePattern NAME_PATTERNS[] = {
    // Screenshots (macOS) and messenger pictures: the word "at" between date and time.
    {L"Y~M~D at h:m:s", L"Screenshot 2024-04-03 at 18.40.12.png, WhatsApp Image 2024-04-03 at 18.40.12.jpeg"},
    // Phone exports, cloud uploads and the Windows snipping tool: a space.
    {L"Y~M~D h:m:s", L"2024-04-03 18.40.12.jpg, Screenshot 2024-04-03 184012.png"},
    // Cameras and phones (IMG_, VID_, PXL_ with milliseconds), Telegram: an underscore.
    {L"Y~M~D_h:m:s*", L"IMG_20240403_184012.jpg, PXL_20240403_184012345.jpg, photo_2024-04-03_18-40-12.jpg"},
    // Android screenshots, Signal: a hyphen.
    {L"Y~M~D-h:m:s", L"Screenshot_20240403-184012.png, signal-2024-04-03-184012.jpg"},
    // The ISO form as names can hold it.
    {L"Y~M~DTh:m:s", L"2024-04-03T18.40.12.jpg, 20240403T184012.jpg"},
    // Scanners and some cameras: fourteen digits in a row.
    {L"YMDhms", L"20240403184012.jpg"},
    // A date alone (WhatsApp's IMG-20240403-WA0001.jpg too): midnight of that day.
    {L"Y~M~D", L"2024-04-03.jpg, 2024_04_03, 2024.04.03, IMG-20240403-WA0001.jpg"},
};
const uint32_t NAME_PATTERN_COUNT = sizeof(NAME_PATTERNS) / sizeof(NAME_PATTERNS[0]);

namespace
{

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Reads `count` digits at `p`; false when they are not all there.
bool Digits(const wchar_t*& p, int count, int32_t& value)
{
    value = 0;
    for (int i = 0; i < count; ++i)
    {
        if (!IsDigit(p[i]))
            return false;
        value = value * 10 + (p[i] - L'0');
    }
    p += count;
    return true;
}

// One separator class: the character found at its first place must be found at the second.
// 0 = not met yet, 1 = none, else the character.
bool Separator(const wchar_t*& p, const wchar_t* allowed, wchar_t& seen)
{
    if (seen == 0)
    {
        for (const wchar_t* a = allowed; *a != 0; ++a)
        {
            if (*p == *a)
            {
                seen = *p++;
                return true;
            }
        }
        seen = 1; // none here: none at the second place either
        return true;
    }
    if (seen == 1)
        return true;
    if (*p != seen)
        return false;
    ++p;
    return true;
}

} // namespace

bool matchNamePattern(const wchar_t* form, const wchar_t* name, ItemDate& out)
{
    if (form == nullptr || name == nullptr)
        return false;
    const wchar_t* p = name;
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool hasTime = false;
    bool moreDigits = false;
    wchar_t dateSeparator = 0;
    wchar_t timeSeparator = 0;
    for (const wchar_t* f = form; *f != 0; ++f)
    {
        bool ok = true;
        switch (*f)
        {
        case L'Y':
            ok = Digits(p, 4, year) && year >= 1970 && year <= 2099;
            break;
        case L'M':
            ok = Digits(p, 2, month);
            break;
        case L'D':
            ok = Digits(p, 2, day);
            break;
        case L'h':
            ok = Digits(p, 2, hour);
            hasTime = true;
            break;
        case L'm':
            ok = Digits(p, 2, minute);
            break;
        case L's':
            ok = Digits(p, 2, second);
            break;
        case L'~':
            ok = Separator(p, L"-_.", dateSeparator);
            break;
        case L':':
            ok = Separator(p, L".-_", timeSeparator);
            break;
        case L'*':
            moreDigits = true;
            break;
        default:
            ok = Lower(*p) == Lower(*f);
            if (ok)
                ++p;
            break;
        }
        if (!ok)
            return false;
    }
    if (moreDigits)
    {
        while (IsDigit(*p))
            ++p;
    }
    if (IsDigit(*p))
        return false; // part of a longer number
    s::time::EpochSeconds fields = 0;
    if (!s::time::secondsFromFields(year, month, day, hour, minute, second, fields))
        return false;
    out = ItemDate::wallClock(fields, !hasTime);
    return true;
}

ItemDate dateFromName(const wchar_t* name, uint32_t* row)
{
    if (name == nullptr)
        return ItemDate();
    const wchar_t* start = name;
    for (const wchar_t* c = name; *c != 0; ++c)
    {
        if (*c == L'\\' || *c == L'/')
            start = c + 1;
    }
    for (const wchar_t* p = start; *p != 0; ++p)
    {
        // A year starts with a digit that is not inside a longer number.
        if (!IsDigit(*p) || (p > start && IsDigit(p[-1])))
            continue;
        for (uint32_t i = 0; i < NAME_PATTERN_COUNT; ++i)
        {
            ItemDate found;
            if (matchNamePattern(NAME_PATTERNS[i].form, p, found))
            {
                if (row != nullptr)
                    *row = i;
                return found;
            }
        }
    }
    return ItemDate();
}

} // namespace s::file::meta
