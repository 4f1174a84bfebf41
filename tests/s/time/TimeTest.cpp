#include "s/time/Time.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "s/str/strbuffer/StrBuffer.h"

using s::str::strbuffer::StrBuffer;

namespace s::time
{
namespace
{

// A Time from the pool, given back at scope end.
struct Held
{
    explicit Held(Time* t) : time(t) {}
    ~Held()
    {
        if (time)
            time->Release();
    }
    Time* operator->() const { return time; }
    Time& operator*() const { return *time; }
    Time* time;
};

// A string from a text form, given back at scope end.
std::wstring take(StrBuffer* text)
{
    std::wstring result = text->CStr();
    text->Release();
    return result;
}

struct Fields
{
    int year, month, day, hour, minute, second, milliseconds, dayOfWeek;
};

void expectFields(const Time& t, const Fields& f)
{
    EXPECT_EQ(int(t.getYear()), f.year);
    EXPECT_EQ(int(t.getMonth()), f.month);
    EXPECT_EQ(int(t.getDay()), f.day);
    EXPECT_EQ(int(t.getHour()), f.hour);
    EXPECT_EQ(int(t.getMinute()), f.minute);
    EXPECT_EQ(int(t.getSecond()), f.second);
    EXPECT_EQ(int(t.getMilliseconds()), f.milliseconds);
    EXPECT_EQ(int(t.getDayOfWeek()), f.dayOfWeek);
}

TEST(Time, FreshAndRecycledTimeHold1970)
{
    Time* t = Time::Acquire();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->ClassId(), Time::CLASS_ID);
    EXPECT_STREQ(t->ClassId(), L"s_time_Time");
    EXPECT_EQ(t->getTicks(), EPOCH_TICKS);
    expectFields(*t, {1970, 1, 1, 0, 0, 0, 0, 4});
    t->setTicks(ticksFromSeconds(1376402709) + 123 * TICKS_PER_MILLISECOND);
    t->Release();
    // The pool hands the same object out again, reset.
    Time* again = Time::Acquire();
    EXPECT_EQ(again, t);
    EXPECT_EQ(again->getTicks(), EPOCH_TICKS);
    expectFields(*again, {1970, 1, 1, 0, 0, 0, 0, 4});
    again->Release();
}

TEST(Time, SetTicksDerivesEveryField)
{
    Held t(Time::Acquire());
    t->setTicks(ticksFromSeconds(1376402709) + 123 * TICKS_PER_MILLISECOND);
    expectFields(*t, {2013, 8, 13, 14, 5, 9, 123, 2});
    EXPECT_EQ(t->getEpochSeconds(), 1376402709);
    t->setTicks(0);
    expectFields(*t, {1601, 1, 1, 0, 0, 0, 0, 1});
    // The calendar cannot express 2^63 ticks and above: the fields read 0.
    t->setTicks(0x8000000000000000ULL);
    EXPECT_EQ(t->getTicks(), 0x8000000000000000ULL);
    expectFields(*t, {0, 0, 0, 0, 0, 0, 0, 0});
}

TEST(Time, SetFieldsAcceptsValidCalendarTimes)
{
    struct Case
    {
        int year, month, day, hour, minute, second, dayOfWeek;
    } cases[] = {
        {2012, 2, 29, 12, 30, 15, 3}, {1601, 1, 1, 0, 0, 0, 1},      {30827, 12, 31, 23, 59, 59, 5},
        {2000, 2, 29, 0, 0, 0, 2},    {2013, 12, 31, 23, 59, 59, 2}, {1970, 1, 1, 0, 0, 0, 4},
    };
    for (const Case& c : cases)
    {
        Held t(Time::Acquire());
        EXPECT_TRUE(t->setFields(c.year, c.month, c.day, c.hour, c.minute, c.second)) << c.year;
        expectFields(*t, {c.year, c.month, c.day, c.hour, c.minute, c.second, 0, c.dayOfWeek});
    }
    Held t(Time::fromFields(2012, 2, 29, 12, 30, 15));
    EXPECT_EQ(t->getEpochSeconds(), 1330518615);
}

TEST(Time, SetFieldsRejectsInvalidInputAs1601)
{
    struct Case
    {
        int year, month, day, hour, minute, second;
    } cases[] = {
        {2013, 2, 29, 0, 0, 0},
        {1900, 2, 29, 0, 0, 0},
        {2013, 4, 31, 0, 0, 0},
        {2013, 0, 1, 0, 0, 0},
        {2013, 13, 1, 0, 0, 0},
        {2013, 1, 0, 0, 0, 0},
        {2013, 1, 32, 0, 0, 0},
        {2013, 1, 1, 24, 0, 0},
        {2013, 1, 1, 0, 60, 0},
        {2013, 1, 1, 0, 0, 60},
        {2013, 1, 1, -1, 0, 0},
        {1600, 12, 31, 23, 59, 59},
        {30828, 1, 1, 0, 0, 0},
        {-2013, 1, 1, 0, 0, 0},
        // Would read as 1601-01-01 if it were cut to 16 bits.
        {67137, 1, 1, 0, 0, 0},
        {2013, 65537, 1, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        Held t(Time::fromFields(2000, 1, 1, 0, 0, 0));
        EXPECT_FALSE(t->setFields(c.year, c.month, c.day, c.hour, c.minute, c.second))
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":"
            << c.second;
        EXPECT_EQ(t->getTicks(), 0u);
        expectFields(*t, {1601, 1, 1, 0, 0, 0, 0, 1});
    }
}

TEST(Time, FactoriesConvertEpochSeconds)
{
    Held utc(Time::fromSeconds(1376402709));
    expectFields(*utc, {2013, 8, 13, 14, 5, 9, 0, 2});
    EXPECT_EQ(utc->getTicks(), ticksFromSeconds(1376402709));
    Held local(Time::fromSecondsLocal(1376402709));
    EXPECT_EQ(local->getTicks(), ticksFromSeconds(utcToLocal(1376402709)));
    EXPECT_EQ(local->getEpochSeconds() - utc->getEpochSeconds(), currentUtcOffset());
    Held early(Time::fromSeconds(-1));
    expectFields(*early, {1969, 12, 31, 23, 59, 59, 0, 3});
}

TEST(Time, FormatUtc)
{
    EXPECT_EQ(take(formatSecondsUtc(0)), L"1970-01-01 00:00:00 UTC");
    EXPECT_EQ(take(formatSecondsUtc(1376402709)), L"2013-08-13 14:05:09 UTC");
    Held t(Time::fromFields(30827, 12, 31, 23, 59, 59));
    EXPECT_EQ(take(formatUtc(*t)), L"30827-12-31 23:59:59 UTC");
    Held first(Time::fromSeconds(-11644473600LL));
    EXPECT_EQ(take(formatUtc(*first)), L"1601-01-01 00:00:00 UTC");
}

TEST(Time, FormatsReplaceTheTextOfAGivenString)
{
    StrBuffer* out = StrBuffer::Acquire(L"old text that must go");
    Held t(Time::fromSeconds(0));
    EXPECT_EQ(formatUtc(*t, out), out);
    EXPECT_STREQ(out->CStr(), L"1970-01-01 00:00:00 UTC");
    EXPECT_EQ(formatSecondsUtc(1376402709, out), out);
    EXPECT_STREQ(out->CStr(), L"2013-08-13 14:05:09 UTC");
    EXPECT_EQ(formatWithOffset(*t, out), out);
    EXPECT_TRUE(out->StartsWith(L"1970-01-01 00:00:00 ("));
    EXPECT_EQ(formatLocale(*t, out), out);
    EXPECT_FALSE(out->StartsWith(L"1970-01-01 00:00:00 ("));
    out->Release();
}

// The offset text of any zone, built independently of the code under test.
std::wstring offsetText(int64_t offset)
{
    wchar_t text[32];
    const int64_t a = offset < 0 ? -offset : offset;
    swprintf(text, 32, L" (%lc%02d:%02d)", offset < 0 ? L'-' : L'+', static_cast<int>(a / 3600),
             static_cast<int>(a / 60 % 60));
    return text;
}

TEST(Time, FormatWithOffsetShowsTheCurrentOffsetForEveryDate)
{
    const std::wstring offset = offsetText(currentUtcOffset());
    Held t(Time::fromFields(2013, 8, 13, 14, 5, 9));
    EXPECT_EQ(take(formatWithOffset(*t)), L"2013-08-13 14:05:09" + offset);
    Held winter(Time::fromFields(2013, 1, 2, 3, 4, 5));
    EXPECT_EQ(take(formatWithOffset(*winter)), L"2013-01-02 03:04:05" + offset);
    // The seconds form shows the local wall-clock fields.
    Held local(Time::fromSecondsLocal(1376402709));
    EXPECT_EQ(take(formatSecondsWithOffset(1376402709)), take(formatWithOffset(*local)));
}

// What the variant-date calls give for one part, or "" when they fail.
std::wstring variantPart(const Time& t, ULONG flags)
{
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(t.getYear());
    st.wMonth = t.getMonth();
    st.wDay = t.getDay();
    st.wHour = t.getHour();
    st.wMinute = t.getMinute();
    st.wSecond = t.getSecond();
    double date = 0;
    if (!SystemTimeToVariantTime(&st, &date))
        return L"";
    BSTR text = nullptr;
    if (FAILED(VarBstrFromDate(date, LOCALE_USER_DEFAULT, flags, &text)))
        return L"";
    std::wstring result = text ? text : L"";
    SysFreeString(text);
    return result;
}

TEST(Time, FormatLocaleIsTheVariantDateAndTime)
{
    Held t(Time::fromFields(2013, 8, 13, 14, 5, 9));
    const std::wstring date = variantPart(*t, VAR_DATEVALUEONLY);
    const std::wstring time = variantPart(*t, VAR_TIMEVALUEONLY);
    ASSERT_FALSE(date.empty());
    ASSERT_FALSE(time.empty());
    EXPECT_EQ(take(formatLocale(*t)), date + L" " + time);
    Held local(Time::fromSecondsLocal(1376402709));
    EXPECT_EQ(take(formatSecondsLocale(1376402709)), take(formatLocale(*local)));
}

TEST(Time, FormatLocaleNeverLeavesAZeroPartEmpty)
{
    // A midnight time and the date 1899-12-30 are the zero parts of a variant date; each
    // must still show the locale's text, not an empty one.
    Held midnight(Time::fromFields(2013, 8, 13, 0, 0, 0));
    const std::wstring text = take(formatLocale(*midnight));
    const std::wstring date = variantPart(*midnight, VAR_DATEVALUEONLY);
    ASSERT_FALSE(date.empty());
    ASSERT_GT(text.size(), date.size() + 1);
    EXPECT_EQ(text.substr(0, date.size() + 1), date + L" ");
    SYSTEMTIME st = {2013, 8, 2, 13, 0, 0, 0, 0};
    wchar_t expected[128];
    ASSERT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, expected, 128), 1);
    EXPECT_EQ(text.substr(date.size() + 1), expected);

    Held variantEpoch(Time::fromFields(1899, 12, 30, 5, 0, 0));
    const std::wstring epochText = take(formatLocale(*variantEpoch));
    EXPECT_EQ(epochText.find(L"Invalid"), std::wstring::npos) << epochText.c_str();
    EXPECT_NE(epochText.front(), L' ') << epochText.c_str();
}

TEST(Time, FormatLocaleOfValuesAVariantDateCannotHold)
{
    Held late(Time::fromFields(10000, 1, 1, 0, 0, 0));
    EXPECT_EQ(take(formatLocale(*late)), L"Invalid DateTime Invalid DateTime");
    Held beyond(Time::Acquire());
    beyond->setTicks(0x8000000000000000ULL);
    EXPECT_EQ(take(formatLocale(*beyond)), L"Invalid DateTime Invalid DateTime");
    Held last(Time::fromFields(9999, 12, 31, 23, 59, 59));
    EXPECT_EQ(take(formatLocale(*last)).find(L"Invalid"), std::wstring::npos);
}

} // namespace
} // namespace s::time
