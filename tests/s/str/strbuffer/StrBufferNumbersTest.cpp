// StrBuffer numbers: formatting, parsing and hexadecimal.
#include "StrBufferTestSupport.h"

// --- numbers --------------------------------------------------------------------------

TEST(StrBufferNumber, Formatting)
{
    struct Case
    {
        void (*append)(StrBuffer*);
        const wchar_t* text;
    } cases[] = {
        {[](StrBuffer* s) { s->AppendNumber(int64_t(-9000000000)); }, L"-9000000000"},
        {[](StrBuffer* s) { s->AppendNumber(uint64_t(18446744073709551615ull)); }, L"18446744073709551615"},
        {[](StrBuffer* s) { s->AppendNumber(uint32_t(4294967295u)); }, L"4294967295"},
        {[](StrBuffer* s) { s->AppendNumber(uint16_t(65535)); }, L"65535"},
        {[](StrBuffer* s) { s->AppendNumber(uint8_t(255)); }, L"255"},
        {[](StrBuffer* s) { s->AppendNumber(int32_t(-2147483647 - 1)); }, L"-2147483648"},
        {[](StrBuffer* s) { s->AppendNumber(int16_t(-32768)); }, L"-32768"},
        {[](StrBuffer* s) { s->AppendNumber(int8_t(-128)); }, L"-128"},
        {[](StrBuffer* s) { s->AppendNumber(1.5); }, L"1.500000"},
        {[](StrBuffer* s) { s->AppendNumber(0.25f); }, L"0.250000"},
        {[](StrBuffer* s) { s->AppendNumber(-7L); }, L"-7"},
        {[](StrBuffer* s) { s->AppendNumber(4294967295UL); }, L"4294967295"},  // a DWORD
    };
    for (const Case& c : cases) {
        Str s(L"n=");
        c.append(s.p);
        EXPECT_EQ(s.Text(), std::wstring(L"n=") + c.text);
    }
    Str s(L"old");
    s->SetNumber(int32_t(42));
    EXPECT_EQ(s.Text(), L"42");
    s->SetNumber(uint64_t(7));
    EXPECT_EQ(s.Text(), L"7");
    s->SetNumber(-0.5);
    EXPECT_EQ(s.Text(), L"-0.500000");
}

TEST(StrBufferNumber, EveryDigitOfLargeDoublesIsKept)
{
    // "%f" writes all integer digits: far more than the 256 units that suffice
    // for every integer type. (Runtimes differ in the digits behind the 17th
    // significant one, so only the leading ones are compared.)
    struct Case
    {
        double value;
        bool asFloat;
        uint32_t length;
        const wchar_t* start;
    } cases[] = {
        {1e300, false, 301 + 7, L"1000000000000000"},
        {-1.7976931348623157e308, false, 1 + 309 + 7, L"-1797693134862315"},
        {3.4028234663852886e38, true, 39 + 7, L"3402823466385288"},
    };
    for (const Case& c : cases) {
        Str s(L"v=");
        if (c.asFloat)
            s->AppendNumber(float(c.value));
        else
            s->AppendNumber(c.value);
        EXPECT_EQ(s->Length(), 2 + c.length) << c.start;
        EXPECT_TRUE(s->StartsWith((std::wstring(L"v=") + c.start).c_str())) << s->CStr();
        EXPECT_TRUE(s->EndsWith(L".000000")) << c.start;
        s->SetNumber(c.value);
        EXPECT_EQ(s->Length(), c.length) << c.start;
    }
}

TEST(StrBufferNumber, AppendingAtFullCapacityGrowsFirst)
{
    Str s;
    s->Free();
    while (s->Length() < 99)
        s->AppendChar(L'x');
    s->AppendNumber(int64_t(-1234567890123456789ll));
    EXPECT_EQ(s->Length(), 99u + 20u);
    EXPECT_TRUE(s->EndsWith(L"-1234567890123456789"));
}

TEST(StrBufferNumber, Parsing)
{
    struct Case
    {
        const wchar_t* text;
        int32_t asInt;
        int64_t asInt64;
        double asDouble;
    } cases[] = {
        {L"123", 123, 123, 123.0},
        {L"-42", -42, -42, -42.0},
        {L"  7", 7, 7, 7.0},
        {L"12abc", 12, 12, 12.0},
        {L"abc", 0, 0, 0.0},
        {L"", 0, 0, 0.0},
        {L"2.5", 2, 2, 2.5},
    };
    for (const Case& c : cases) {
        Str s(c.text);
        EXPECT_EQ(s->ToInt(), c.asInt) << c.text;
        EXPECT_EQ(s->ToInt64(), c.asInt64) << c.text;
        EXPECT_DOUBLE_EQ(s->ToDouble(), c.asDouble) << c.text;
    }
    EXPECT_EQ(Str(L"9000000000")->ToInt64(), 9000000000ll);
    EXPECT_EQ(Str(L"4000000000")->ToUInt(), 4000000000u);
    EXPECT_EQ(Str(L"18446744073709551615")->ToUInt64(), 18446744073709551615ull);
    EXPECT_EQ(Str(L"-5")->ToInt16(), -5);
    EXPECT_EQ(Str(L"200")->ToUInt8(), 200);
    EXPECT_EQ(Str(L"-100")->ToInt8(), -100);
    EXPECT_EQ(Str(L"60000")->ToUInt16(), 60000);
    EXPECT_FLOAT_EQ(Str(L"0.125")->ToFloat(), 0.125f);
}

TEST(StrBufferNumber, IsInteger)
{
    struct Case
    {
        const wchar_t* text;
        bool integer;
    } cases[] = {
        {L"-", false}, {L"", false}, {L"-12", true}, {L"007", true}, {L"0", true},
        {L"1-2", false}, {L"+1", false}, {L"12a", false}, {L" 1", false}, {L"--1", false},
        {L"\uFF11", false},  // a full-width digit is not 0-9
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(c.text)->IsInteger(), c.integer) << c.text;
}

// --- hexadecimal -----------------------------------------------------------------------

TEST(StrBufferHex, Append)
{
    const uint8_t u8[] = {0x0a, 0xff};
    const int8_t s8[] = {-1};
    const uint16_t u16[] = {0x1234, 0x00ab};
    const int16_t s16[] = {-2};
    const uint32_t u32[] = {0xdeadbeef};
    const int32_t s32[] = {-1};
    const uint64_t u64[] = {1};
    const int64_t s64[] = {-1};
    Str s;
    s->AppendHex(u8, 2);
    s->AppendChar(L' ');
    s->AppendHex(s8, 1);
    s->AppendChar(L' ');
    s->AppendHex(u16, 2);
    s->AppendChar(L' ');
    s->AppendHex(s16, 1);
    s->AppendChar(L' ');
    s->AppendHex(u32, 1);
    s->AppendChar(L' ');
    s->AppendHex(s32, 1);
    s->AppendChar(L' ');
    s->AppendHex(u64, 1);
    s->AppendChar(L' ');
    s->AppendHex(s64, 1);
    EXPECT_EQ(s.Text(), L"0aff ff 123400ab fffe deadbeef ffffffff 0000000000000001 ffffffffffffffff");
}

TEST(StrBufferHex, CountsWhoseDigitsCannotFitAreRefused)
{
    // 2^31 bytes make 2^32 digits: the room must not wrap around to a small number.
    Str s(L"x");
    const uint8_t one = 1;
    s->AppendHex(&one, 0x80000000u);
    const uint32_t many[1] = {7};
    s->AppendHex(many, 0x20000000u);
    EXPECT_EQ(s.Text(), L"x");
}

TEST(StrBufferHex, TestsAndBytes)
{
    struct Case
    {
        const wchar_t* text;
        bool hex;
    } cases[] = {{L"0123456789abcdefABCDEF", true}, {L"", false}, {L"0x1", false}, {L"g", false}};
    for (const Case& c : cases)
        EXPECT_EQ(Str(c.text)->IsHex(), c.hex) << c.text;

    Str h(L"0aFf1");
    EXPECT_EQ(h->HexDigitAt(0), 0);
    EXPECT_EQ(h->HexDigitAt(1), 10);
    EXPECT_EQ(h->HexDigitAt(2), 15);
    EXPECT_EQ(Str(L"z")->HexDigitAt(0), 0);
    ArrayU08* bytes = h->HexToBytes();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(Bytes(bytes), (std::vector<uint8_t>{0x0a, 0xff}));  // the odd last digit is ignored
    Str(L"10")->HexToBytes(bytes, true);
    EXPECT_EQ(Bytes(bytes), (std::vector<uint8_t>{0x0a, 0xff, 0x10}));
    Str(L"7f")->HexToBytes(bytes, false);
    EXPECT_EQ(Bytes(bytes), (std::vector<uint8_t>{0x7f}));
    bytes->Release();
}
