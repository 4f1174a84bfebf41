// StrBuffer: growth, comparison order, hash codes, searches, trimming, replacing,
// numbers, hexadecimal, code pages, digest, iterators and the stream faces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <thread>
#include <string>
#include <vector>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/Iterator.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/sys/CodePage.h"

using s::col::_array::ArrayU08;
using s::str::strarray::StrArray;
using s::str::strbuffer::Iterator;
using s::str::strbuffer::StrBuffer;

namespace {

/// Holds a pooled string for one test and releases it at the end.
struct Str
{
    explicit Str(const wchar_t* text = L"") : p(StrBuffer::Acquire(text)) {}
    explicit Str(StrBuffer* taken) : p(taken) {}
    ~Str()
    {
        if (p)
            p->Release();
    }
    Str(const Str&) = delete;
    Str& operator=(const Str&) = delete;
    StrBuffer* operator->() const { return p; }
    StrBuffer& operator*() const { return *p; }
    std::wstring Text() const { return std::wstring(p->Data() ? p->Data() : L"", p->Length()); }
    StrBuffer* p;
};

std::vector<std::wstring> Items(const StrArray* list)
{
    std::vector<std::wstring> out;
    for (uint32_t i = 0; i < list->Count(); ++i)
        out.emplace_back(list->Get(i)->CStr());
    return out;
}

std::vector<uint8_t> Bytes(const ArrayU08* a)
{
    return std::vector<uint8_t>(a->Items(), a->Items() + a->Count());
}

} // namespace

// --- object model -----------------------------------------------------------------

TEST(StrBufferObject, ClassIdIsTheClassConstant)
{
    Str s(L"x");
    EXPECT_EQ(s->ClassId(), StrBuffer::CLASS_ID);
    EXPECT_STREQ(s->ClassId(), L"s_str_strbuffer_StrBuffer");
    s::base::IObject* fresh = s->NewInstance();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->ClassId(), StrBuffer::CLASS_ID);
    EXPECT_EQ(static_cast<StrBuffer*>(fresh)->Length(), 0u);
    static_cast<StrBuffer*>(fresh)->Release();
}

TEST(StrBufferObject, ReleasedStringComesBackEmptyWithItsStorage)
{
    StrBuffer* s = StrBuffer::Acquire(L"some text that needs storage");
    const uint32_t capacity = s->Capacity();
    s->Release();
    StrBuffer* again = StrBuffer::Acquire();  // last in, first out
    EXPECT_EQ(again, s);
    EXPECT_EQ(again->Length(), 0u);
    EXPECT_EQ(again->Capacity(), capacity);
    EXPECT_EQ(again->GetPosition(), 0);
    again->Release();
}

// --- storage ----------------------------------------------------------------------

TEST(StrBufferStorage, GrowthFollowsTheRule)
{
    StrBuffer* s = StrBuffer::Acquire();
    s->Free();
    EXPECT_EQ(s->Capacity(), 0u);
    s->AppendChar(L'a');
    EXPECT_EQ(s->Capacity(), 100u);
    while (s->Length() < 100)
        s->AppendChar(L'b');
    EXPECT_EQ(s->Capacity(), 100u);
    s->AppendChar(L'c');
    EXPECT_EQ(s->Capacity(), 300u);
    EXPECT_EQ(s->Length(), 101u);
    EXPECT_EQ(s->CharAt(0), L'a');
    EXPECT_EQ(s->CharAt(100), L'c');

    s->ReserveGrow(301);  // one more step
    EXPECT_EQ(s->Capacity(), 900u);
    s->Reserve(1000);     // exact
    EXPECT_EQ(s->Capacity(), 1000u);
    s->Reserve(10);       // never shrinks
    EXPECT_EQ(s->Capacity(), 1000u);
    s->Grow();
    EXPECT_EQ(s->Capacity(), 3000u);
    EXPECT_EQ(s->Length(), 101u);

    s->Free();
    EXPECT_EQ(s->Capacity(), 0u);
    EXPECT_EQ(s->Length(), 0u);
    s->Release();
}

TEST(StrBufferStorage, EmptyTextsAndTerminators)
{
    StrBuffer* s = StrBuffer::Acquire();
    s->Free();
    EXPECT_STREQ(s->CStr(), L"");
    EXPECT_EQ(s->EndPointer(), nullptr);
    EXPECT_EQ(s->Data(), nullptr);  // no storage was touched

    s->Append(L"abc");
    s->PointerAt(0)[3] = L'X';  // garbage where the terminator goes
    EXPECT_STREQ(s->CStr(), L"abc");
    wchar_t* end = s->EndPointer();
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end, s->PointerAt(3));
    EXPECT_EQ(*end, 0);

    // A text exactly at full capacity still has room for its terminator.
    s->Clear();
    while (s->Length() < s->Capacity())
        s->AppendChar(L'z');
    EXPECT_EQ(wcslen(s->CStr()), s->Capacity());
    s->Release();
}

TEST(StrBufferStorage, AppendingAPieceOfItselfSurvivesGrowth)
{
    Str s(L"0123456789");
    s->Free();
    s->Append(L"0123456789");
    while (s->Length() < 100)
        s->Append(*s);  // crosses 100 -> 300 while reading its own storage
    EXPECT_EQ(s->Length(), 160u);
    for (uint32_t i = 0; i < s->Length(); ++i)
        ASSERT_EQ(s->CharAt(i), wchar_t(L'0' + i % 10)) << i;
    s->Assign(s->PointerAt(150), 5);
    EXPECT_EQ(s.Text(), L"01234");
    s->Prepend(s->PointerAt(3), 2);
    EXPECT_EQ(s.Text(), L"3401234");
}

// --- comparison and hash codes -------------------------------------------------------

TEST(StrBufferCompare, OrderIsByLittleEndianBytes)
{
    struct Case
    {
        const wchar_t* a;
        const wchar_t* b;
        int sign;
    } cases[] = {
        {L"B", L"a", -1},          // 0x42 < 0x61
        {L"\u0101", L"a", -1},     // low byte 0x01 < 0x61, although U+0101 > U+0061
        {L"\u0161", L"\u0260", 1}, // low bytes 0x61 > 0x60
        {L"a", L"a", 0},
        {L"", L"", 0},
        {L"", L"a", -1},
        {L"ab", L"a", 1},          // equal common part: the shorter is smaller
        {L"abc", L"abd", -1},
    };
    for (const Case& c : cases) {
        Str a(c.a), b(c.b);
        const int got = a->Compare(b.p);
        EXPECT_EQ(got < 0 ? -1 : got > 0 ? 1 : 0, c.sign) << int(&c - cases);
        const int back = b->Compare(a.p);
        EXPECT_EQ(back < 0 ? -1 : back > 0 ? 1 : 0, -c.sign);
        EXPECT_EQ(a->Equals(b.p), c.sign == 0);
    }
}

TEST(StrBufferCompare, IgnoringCase)
{
    struct Case
    {
        const wchar_t* a;
        const wchar_t* b;
        int sign;
    } cases[] = {
        {L"a", L"A", 0},
        {L"Hello", L"hELLO", 0},
        {L"abc", L"ABD", -1},
        {L"AB", L"a", 1},
        {L"", L"x", -1},
    };
    for (const Case& c : cases) {
        Str a(c.a), b(c.b);
        const int got = a->CompareIgnoreCase(b.p);
        EXPECT_EQ(got < 0 ? -1 : got > 0 ? 1 : 0, c.sign);
        EXPECT_EQ(a->EqualsIgnoreCase(b.p), c.sign == 0);
        EXPECT_EQ(a->EqualsIgnoreCase(c.b), c.sign == 0);
    }
    Str a(L"a"), upper(L"A");
    EXPECT_FALSE(a->Equals(upper.p));

    // Texts holding 0 units (lists of strings) are compared beyond them.
    Str x(StrBuffer::Acquire(L"A\0b", 3)), y(StrBuffer::Acquire(L"a\0c", 3)),
        z(StrBuffer::Acquire(L"a\0B", 3)), w(StrBuffer::Acquire(L"a\0\0", 3));
    EXPECT_FALSE(x->EqualsIgnoreCase(y.p));
    EXPECT_LT(x->CompareIgnoreCase(y.p), 0);
    EXPECT_TRUE(x->EqualsIgnoreCase(z.p));
    EXPECT_GT(x->CompareIgnoreCase(w.p), 0);
    EXPECT_LT(w->CompareIgnoreCase(x.p), 0);
    EXPECT_FALSE(x->EndsWithIgnoreCase(L"\0c", 2));
}

namespace {

class ReversedLength : public s::base::IComparator
{
public:
    int CompareElements(const void* a, const void* b) const override
    {
        return int(static_cast<const StrBuffer*>(b)->Length()) -
               int(static_cast<const StrBuffer*>(a)->Length());
    }
    int CompareElementsIgnoreCase(const void*, const void*) const override { return 0; }
};

} // namespace

TEST(StrBufferCompare, AComparatorDecides)
{
    ReversedLength byLength;
    Str a(L"aa"), b(L"zz"), c(L"b");
    EXPECT_TRUE(a->Equals(b.p, &byLength));
    EXPECT_LT(a->Compare(c.p, &byLength), 0);
    EXPECT_TRUE(a->EqualsIgnoreCase(c.p, &byLength));
    EXPECT_EQ(a->Compare(static_cast<const s::base::IComparable*>(nullptr)), 1);  // null first
}

TEST(StrBufferHash, KnownValues)
{
    struct Case
    {
        const wchar_t* text;
        uint32_t hash;
        uint32_t hashIgnoreCase;
    } cases[] = {
        {L"", 0, 0},
        {L"a", 97, 97},
        {L"abc", 291, 291},
        {L"ABC", (65u * 4) ^ (66u * 2) ^ 67u, 291},
    };
    for (const Case& c : cases) {
        Str s(c.text);
        EXPECT_EQ(s->HashCode(), c.hash);
        EXPECT_EQ(s->HashCodeIgnoreCase(), c.hashIgnoreCase);
    }
}

TEST(StrBufferHash, TopBitFoldsIntoBitZero)
{
    // 32 units: the first unit's bit has been doubled up to bit 31 and must come back at bit 0.
    std::wstring text(32, L'\0');
    text[0] = 1;
    Str s(StrBuffer::Acquire(text.data(), int32_t(text.size())));
    uint32_t h = 0;
    for (wchar_t c : text) {
        h += h;
        if (h & 0x80000000u)
            h |= 1;
        h ^= uint16_t(c);
    }
    EXPECT_EQ(h, 0x80000001u);
    EXPECT_EQ(s->HashCode(), h);
}

// --- searches -------------------------------------------------------------------------

TEST(StrBufferSearch, Characters)
{
    Str s(L"a,b;A,c");
    uint32_t at = 99;
    EXPECT_TRUE(s->IndexOf(L',', &at));
    EXPECT_EQ(at, 1u);
    EXPECT_TRUE(s->IndexOf(L',', &at, 2));
    EXPECT_EQ(at, 5u);
    EXPECT_FALSE(s->IndexOf(L'x', &at));
    EXPECT_FALSE(s->IndexOf(L'a', &at, 7));
    EXPECT_TRUE(s->IndexOfIgnoreCase(L'A', &at, 1));
    EXPECT_EQ(at, 4u);
    EXPECT_TRUE(s->IndexOfAny(L";,", 2, &at));
    EXPECT_EQ(at, 1u);
    EXPECT_TRUE(s->IndexOfAnyIgnoreCase(L"XC", -1, &at));
    EXPECT_EQ(at, 6u);

    EXPECT_TRUE(s->LastIndexOf(L',', &at));
    EXPECT_EQ(at, 5u);
    EXPECT_TRUE(s->LastIndexOf(L',', &at, 5));  // looks before position 5
    EXPECT_EQ(at, 1u);
    EXPECT_FALSE(s->LastIndexOf(L',', &at, 1));
    EXPECT_TRUE(s->LastIndexOfIgnoreCase(L'a', &at));
    EXPECT_EQ(at, 4u);
    EXPECT_TRUE(s->LastIndexOfAny(L";b", -1, &at));
    EXPECT_EQ(at, 3u);
    EXPECT_TRUE(s->LastIndexOfAnyIgnoreCase(L"B", 1, &at));
    EXPECT_EQ(at, 2u);
    EXPECT_TRUE(s->IndexOf(L'c'));  // no out-argument needed
}

TEST(StrBufferSearch, FromTheEndReachesTheEndOfVeryLongTexts)
{
    // FROM_END is 0xFFFFFF; a longer text must still be searched from its real end.
    Str s;
    s->Reserve(StrBuffer::FROM_END + 11);
    s->SetLength(StrBuffer::FROM_END + 10);
    wmemset(s->Data(), L'a', s->Length());
    s->Data()[s->Length() - 1] = L'b';
    uint32_t at = 0;
    EXPECT_TRUE(s->LastIndexOf(L'b', &at));
    EXPECT_EQ(at, StrBuffer::FROM_END + 9);
    EXPECT_TRUE(s->FindLast(L"ab", &at));
    EXPECT_EQ(at, StrBuffer::FROM_END + 8);
    EXPECT_FALSE(s->LastIndexOf(L'b', &at, StrBuffer::FROM_END - 1));
    s->Free();
}

TEST(StrBufferSearch, Texts)
{
    Str s(L"one Two one two");
    uint32_t at = 99;
    EXPECT_TRUE(s->Find(L"one", &at));
    EXPECT_EQ(at, 0u);
    EXPECT_TRUE(s->Find(L"one", &at, 1));
    EXPECT_EQ(at, 8u);
    EXPECT_FALSE(s->Find(L"three", &at));
    EXPECT_FALSE(s->Find(L"two", &at, 13));
    EXPECT_FALSE(s->Find(L"x", &at, 100));
    EXPECT_TRUE(s->FindIgnoreCase(L"TWO", &at));
    EXPECT_EQ(at, 4u);
    EXPECT_TRUE(s->FindLast(L"one", &at));
    EXPECT_EQ(at, 8u);
    EXPECT_TRUE(s->FindLast(L"one", &at, 10));  // must end by position 10
    EXPECT_EQ(at, 0u);
    EXPECT_TRUE(s->FindLastIgnoreCase(L"TWO", &at));
    EXPECT_EQ(at, 12u);
    EXPECT_TRUE(s->FindLastIgnoreCase(L"TWO", &at, 14));
    EXPECT_EQ(at, 4u);
    EXPECT_TRUE(s->Find(L"", &at, 3));
    EXPECT_EQ(at, 3u);
}

TEST(StrBufferSearch, RegionsStartsEnds)
{
    Str s(L"Hello World");
    EXPECT_TRUE(s->RegionMatches(6, L"xxWorld", 2, 5));
    EXPECT_TRUE(s->RegionMatches(6, L"World", 0, -1));
    EXPECT_FALSE(s->RegionMatches(6, L"Worl", 0, -1));  // must reach the end exactly
    EXPECT_FALSE(s->RegionMatches(8, L"rldxyz", 0, 6)); // beyond this text
    EXPECT_FALSE(s->RegionMatches(0, L"He", 0, 5));     // beyond the other text
    EXPECT_TRUE(s->RegionMatchesIgnoreCase(0, L"hELLO", 0, 5));
    EXPECT_TRUE(s->StartsWith(L"Hello"));
    EXPECT_TRUE(s->StartsWith(L"Help", 3));
    EXPECT_FALSE(s->StartsWith(L"hello"));
    EXPECT_TRUE(s->StartsWithIgnoreCase(L"hello"));
    EXPECT_TRUE(s->EndsWith(L"World"));
    EXPECT_TRUE(s->EndsWithIgnoreCase(L"WORLD"));
    EXPECT_FALSE(s->EndsWith(L"x Hello World"));
    EXPECT_TRUE(s->StartsWith(L""));
}

TEST(StrBufferSearch, CompareAt)
{
    Str s(L"abcdef");
    EXPECT_EQ(s->CompareAt(2, L"cdef"), 0);
    EXPECT_EQ(s->CompareAt(2, L"xxcdZZ", 2, 2), 0);
    EXPECT_LT(s->CompareAt(2, L"cdeg"), 0);
    EXPECT_GT(s->CompareAt(2, L"cde"), 0);
    EXPECT_EQ(s->CompareAtIgnoreCase(0, L"ABCDEF"), 0);
    EXPECT_EQ(s->CompareAt(7, L"a"), -1);  // index beyond the text
    EXPECT_LT(s->CompareAt(6, L"a"), 0);
}

// --- trimming -------------------------------------------------------------------------

TEST(StrBufferTrim, Whitespace)
{
    struct Case
    {
        const wchar_t* text;
        const wchar_t* right;
        const wchar_t* left;
    } cases[] = {
        {L"x\u3000", L"x", L"x\u3000"},
        {L"x\u00A0", L"x\u00A0", L"x\u00A0"},  // no-break space is not whitespace
        {L" \t\r\nx y \t\r\n", L" \t\r\nx y", L"x y \t\r\n"},
        {L"\u3000 ", L"", L""},
        {L"", L"", L""},
    };
    for (const Case& c : cases) {
        Str r(c.text), l(c.text);
        r->TrimRight();
        l->TrimLeft();
        EXPECT_EQ(r.Text(), c.right);
        EXPECT_EQ(l.Text(), c.left);
    }
}

TEST(StrBufferTrim, SetsAndMinimum)
{
    Str s(L"ab   ");
    s->TrimRightTo(3);
    EXPECT_EQ(s.Text(), L"ab ");
    Str t(L"--ab-+-");
    t->TrimRightChars(L"-+");
    EXPECT_EQ(t.Text(), L"--ab");
    t->TrimLeftChars(L"-", 1);
    EXPECT_EQ(t.Text(), L"ab");
    Str u(L"abc///");
    u->TrimRightCharsTo(L"/", 4);
    EXPECT_EQ(u.Text(), L"abc/");
}

// --- changing in place ----------------------------------------------------------------

TEST(StrBufferEdit, CaseAndOrder)
{
    Str s(L"hELLO wORLD");
    s->ToUpper();
    EXPECT_EQ(s.Text(), L"HELLO WORLD");
    s->ToLower();
    EXPECT_EQ(s.Text(), L"hello world");
    s->Capitalize();
    EXPECT_EQ(s.Text(), L"Hello world");
    s->Reverse();
    EXPECT_EQ(s.Text(), L"dlrow olleH");
    EXPECT_EQ(s->LowerCharAt(10), L'h');
    EXPECT_EQ(s->UpperCharAt(0), L'D');
    Str n(L"1abc");
    n->Capitalize();
    EXPECT_EQ(n.Text(), L"1abc");
    Str pieces(StrBuffer::Acquire(L"ab\0cd", 5));
    pieces->ToUpper();
    EXPECT_EQ(pieces.Text(), std::wstring(L"AB\0CD", 5));
}

TEST(StrBufferEdit, ReplaceAllInEveryLengthCase)
{
    struct Case
    {
        const wchar_t* text;
        const wchar_t* find;
        const wchar_t* replacement;
        const wchar_t* result;
        uint32_t count;
    } cases[] = {
        {L"aaa", L"aa", L"b", L"ba", 1},          // shorter, compacted in place
        {L"a-b--c-", L"-", L"", L"abc", 4},        // shorter, to nothing
        {L"aba", L"a", L"aa", L"aabaa", 2},        // longer, replaced text not searched again
        {L"xyz", L"y", L"<y>", L"x<y>z", 1},
        {L"abcabc", L"b", L"X", L"aXcaXc", 2},     // same length, overwritten in place
        {L"aaaa", L"aa", L"bb", L"bbbb", 2},
        {L"abc", L"x", L"yy", L"abc", 0},          // no occurrence
        {L"ab", L"abc", L"", L"ab", 0},            // text shorter than the search
        {L"abc", L"", L"x", L"abc", 0},            // empty search text
    };
    for (const Case& c : cases) {
        Str s(c.text);
        EXPECT_EQ(s->ReplaceAll(c.find, c.replacement), c.count) << c.text;
        EXPECT_EQ(s.Text(), c.result) << c.text;
    }
    Str i(L"aBAbab");
    EXPECT_EQ(i->ReplaceAllIgnoreCase(L"AB", L"x"), 3u);
    EXPECT_EQ(i.Text(), L"xxx");
}

TEST(StrBufferEdit, ReplaceAllGrowingAcrossCapacity)
{
    Str s;
    s->Free();
    for (int i = 0; i < 250; ++i)
        s->Append(L"a.");
    EXPECT_EQ(s->ReplaceAll(L".", L"<>"), 250u);
    EXPECT_EQ(s->Length(), 750u);
    EXPECT_TRUE(s->StartsWith(L"a<>a<>"));
    EXPECT_TRUE(s->EndsWith(L"a<>"));
}

TEST(StrBufferEdit, RangesAndNewStrings)
{
    Str s(L"path\\to\\file.txt");
    Str sub(s->Substring(5, 7));
    EXPECT_EQ(sub.Text(), L"to");
    Str tail(s->Substring(8));
    EXPECT_EQ(tail.Text(), L"file.txt");
    Str none(s->Substring(16, 20));
    EXPECT_EQ(none->Length(), 0u);
    Str past(s->Substring(30, 40));
    EXPECT_EQ(past->Length(), 0u);
    Str clone(s->Clone());
    EXPECT_TRUE(clone->Equals(s.p));
    EXPECT_NE(clone.p, s.p);

    Str dir(s->BeforeLast(L'\\'));
    EXPECT_EQ(dir.Text(), L"path\\to");
    Str dir2(s->BeforeLast(L'\\', 7));
    EXPECT_EQ(dir2.Text(), L"path");
    Str noDot(s->BeforeLastIgnoreCase(L'X'));
    EXPECT_EQ(noDot.Text(), L"path\\to\\file.t");
    Str any(s->BeforeLastAny(L"/\\", -1));
    EXPECT_EQ(any.Text(), L"path\\to");
    Str anyCase(s->BeforeLastAnyIgnoreCase(L"F", 1));
    EXPECT_EQ(anyCase.Text(), L"path\\to\\");
    Str text(s->BeforeLastText(L".txt"));
    EXPECT_EQ(text.Text(), L"path\\to\\file");
    Str textCase(s->BeforeLastTextIgnoreCase(L"TO"));
    EXPECT_EQ(textCase.Text(), L"path\\");
    Str missing(s->BeforeLast(L'#'));
    EXPECT_EQ(missing->Length(), 0u);

    s->KeepRange(5, 100);
    EXPECT_EQ(s.Text(), L"to\\file.txt");
    s->KeepRange(3, 7);
    EXPECT_EQ(s.Text(), L"file");
    s->KeepRange(9, 12);
    EXPECT_EQ(s->Length(), 0u);
}

TEST(StrBufferEdit, AppendForms)
{
    Str s;
    s->Append(L"ab");
    s->Append(L"cdef", 2);
    s->AppendChar(L'!');
    s->AppendAscii("\xE9x");
    s->AppendAscii("yz12", 2);
    s->Prepend(L">>");
    Str other(L"++");
    s->Append(*other);
    EXPECT_EQ(s.Text(), L">>abcd!\u00E9xyz++");
    s->Assign(L"new");
    EXPECT_EQ(s.Text(), L"new");
    s->Assign(*other);
    EXPECT_EQ(s.Text(), L"++");
    s->Append(other.p);
    s->Append(static_cast<const StrBuffer*>(nullptr));
    EXPECT_EQ(s.Text(), L"++++");
    s->Assign(static_cast<const StrBuffer*>(nullptr));
    EXPECT_EQ(s->Length(), 0u);
}

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

// --- code pages ------------------------------------------------------------------------

TEST(StrBufferCodePage, Utf8RoundTrip)
{
    const wchar_t* text = L"Zeit \u00e9\u6642\U0001F600";
    const std::vector<uint8_t> utf8 = {0x5a, 0x65, 0x69, 0x74, 0x20, 0xc3, 0xa9, 0xe6, 0x99,
                                       0x82, 0xf0, 0x9f, 0x98, 0x80};
    Str s(text);
    ArrayU08* bytes = s->ToUtf8NoTerminator();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(Bytes(bytes), utf8);
    s->ToUtf8(bytes, false);
    std::vector<uint8_t> terminated = utf8;
    terminated.push_back(0);
    EXPECT_EQ(Bytes(bytes), terminated);

    Str back;
    EXPECT_TRUE(back->FromUtf8(bytes->Items()));  // up to the zero byte
    EXPECT_EQ(back.Text(), text);
    EXPECT_TRUE(back->FromUtf8(bytes->Items(), true, 4));
    EXPECT_EQ(back.Text(), std::wstring(text) + L"Zeit");

    s->ToUtf8NoTerminator(bytes, true);
    EXPECT_EQ(bytes->Count(), terminated.size() + utf8.size());
    bytes->Release();

    Str empty;
    ArrayU08* none = empty->ToUtf8NoTerminator();
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->Count(), 0u);
    none->Release();
}

TEST(StrBufferCodePage, Utf16BothOrdersAndOtherPages)
{
    Str s(L"A\u00e9\u6642");
    ArrayU08* le = s->EncodeNoTerminator(s::sys::CodePage::UTF16LE);
    ArrayU08* be = s->Encode(s::sys::CodePage::UTF16BE);
    ASSERT_NE(le, nullptr);
    ASSERT_NE(be, nullptr);
    EXPECT_EQ(Bytes(le), (std::vector<uint8_t>{0x41, 0, 0xe9, 0, 0x42, 0x66}));
    EXPECT_EQ(Bytes(be), (std::vector<uint8_t>{0, 0x41, 0, 0xe9, 0x66, 0x42, 0, 0}));
    Str fromBe;
    EXPECT_TRUE(fromBe->Decode(s::sys::CodePage::UTF16BE, be->Items()));
    EXPECT_EQ(fromBe.Text(), L"A\u00e9\u6642");
    Str fromLe;
    EXPECT_TRUE(fromLe->Decode(s::sys::CodePage::UTF16LE, le->Items(), false, int32_t(le->Count())));
    EXPECT_EQ(fromLe.Text(), L"A\u00e9\u6642");

    Str latin(L"caf\u00e9");
    ArrayU08* cp1252 = latin->EncodeNoTerminator(1252, le, false);
    EXPECT_EQ(cp1252, le);  // the given array is filled and answered
    EXPECT_EQ(Bytes(le), (std::vector<uint8_t>{'c', 'a', 'f', 0xe9}));
    Str decoded(L"x");
    EXPECT_TRUE(decoded->Decode(1252, le->Items(), true, 4));
    EXPECT_EQ(decoded.Text(), L"xcaf\u00e9");
    le->Release();
    be->Release();
}

TEST(StrBufferCodePage, FailedConversionsLeaveEverythingAsItWas)
{
    Str s(L"abc");
    ArrayU08* bytes = ArrayU08::Acquire();
    bytes->Add(7);
    EXPECT_EQ(s->Encode(12345, bytes, true), nullptr);  // no such code page
    EXPECT_EQ(Bytes(bytes), (std::vector<uint8_t>{7}));
    EXPECT_FALSE(s->Decode(12345, "xyz"));
    EXPECT_EQ(s.Text(), L"abc");
    EXPECT_FALSE(s->FromUtf8(nullptr));
    EXPECT_EQ(s.Text(), L"abc");
    bytes->Release();
}

// Byte and character counts of the conversions used to be added and doubled in 32
// bits: a text of more than 2^31 characters encoded to UTF-16 wrapped to a tiny
// byte count, and decoding behind a text near 2^32 characters wrapped the room it
// asked for; both then wrote far past their storage. Such sizes are refused before
// anything is read or written. (SetLength stands in for texts of several GiB: the
// refusal comes before the characters would be read.)
TEST(StrBufferCodePage, SizesBeyond32BitsAreRefusedNotWrapped)
{
    Str s(L"ab");
    const uint32_t realLength = s->Length();
    s->SetLength(0x80000001u);
    for (const uint32_t page : {uint32_t(s::sys::CodePage::UTF16LE), uint32_t(s::sys::CodePage::UTF16BE)}) {
        ArrayU08* target = ArrayU08::Acquire();
        const uint8_t before[] = {7, 8};
        target->Append(before, 2);
        EXPECT_EQ(nullptr, s->EncodeNoTerminator(page, target, true)) << page;
        ASSERT_EQ(2u, target->Count()) << page;  // left as it was
        EXPECT_EQ(7, target->Items()[0]);
        target->Release();
    }
    s->SetLength(realLength);

    Str t(L"kept");
    t->SetLength(0xFFFFFFF0u);  // stands for a text just below the largest length
    EXPECT_FALSE(t->FromUtf8("abcdefghijklmnopqrstuvwxyz", true));
    EXPECT_EQ(0xFFFFFFF0u, t->Length());
    t->SetLength(4);
    EXPECT_EQ(t.Text(), L"kept");
    EXPECT_TRUE(t->FromUtf8("!", true));
    EXPECT_EQ(t.Text(), L"kept!");
}

TEST(StrBufferCodePage, OemRoundTrip)
{
    Str s(L"plain ASCII 123");
    ArrayU08* bytes = s->ToOem();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->Count(), s->Length() + 1);
    Str back;
    EXPECT_TRUE(back->FromOem(bytes->Items()));
    EXPECT_EQ(back.Text(), s.Text());
    bytes->Release();
}

// --- digest ----------------------------------------------------------------------------

TEST(StrBufferDigest, Md5OfTheUtf16Bytes)
{
    struct Case
    {
        const wchar_t* text;
        const wchar_t* md5;
    } cases[] = {
        {L"abc", L"ce1473cf80c6b3fda8e3dfc006adc315"},
        {L"", L"d41d8cd98f00b204e9800998ecf8427e"},
    };
    for (const Case& c : cases) {
        Str s(c.text), hex;
        EXPECT_TRUE(s->Md5HexInto(hex.p));
        EXPECT_EQ(hex.Text(), c.md5);
        uint8_t out[16] = {};
        EXPECT_TRUE(s->Digest(nullptr, out));
        Str again;
        again->AppendHex(out, 16);
        EXPECT_EQ(again.Text(), c.md5);
    }
    Str s(L"abc");
    EXPECT_FALSE(s->Digest(nullptr, nullptr));
}

// --- lists -----------------------------------------------------------------------------

TEST(StrBufferLists, Split)
{
    struct Case
    {
        const wchar_t* text;
        std::vector<std::wstring> parts;
    } cases[] = {
        {L",a,,b,", {L"a", L"b"}},
        {L"", {}},
        {L"abc", {L"abc"}},
        {L",,,", {}},
        {L"x,y", {L"x", L"y"}},
    };
    for (const Case& c : cases) {
        StrArray* parts = Str(c.text)->Split(L',');
        ASSERT_NE(parts, nullptr);
        EXPECT_EQ(Items(parts), c.parts) << c.text;
        parts->Release();
    }
}

TEST(StrBufferLists, Words)
{
    Str s(L"The cat, the DOG and 50% (of) +1 \u3010cat\u3011 caf\u00e9\u6642\u9593\uff08x\uff09");
    StrArray* words = s->Words();
    EXPECT_EQ(Items(words), (std::vector<std::wstring>{L"The", L"cat", L"DOG", L"and", L"50%",
                                                       L"of", L"+1", L"caf", L"\u6642\u9593",
                                                       L"x"}));
    words->Release();
    StrArray* plain = s->Words(true);
    EXPECT_EQ(plain->IndexOfIgnoreCase(L"the"), -1);
    EXPECT_EQ(plain->IndexOfIgnoreCase(L"and"), -1);
    EXPECT_EQ(plain->IndexOfIgnoreCase(L"of"), -1);
    EXPECT_EQ(plain->IndexOf(L"cat"), 0);
    plain->Release();
}

// --- iterators ---------------------------------------------------------------------------

TEST(StrBufferIterator, WalksForwardAndBack)
{
    Str s(L"abc");
    Iterator* it = s->Begin();
    EXPECT_EQ(it->ClassId(), Iterator::CLASS_ID);
    EXPECT_STREQ(it->ClassId(), L"s_str_strbuffer_Iterator");
    EXPECT_EQ(it->GetIndex(), -1);
    std::wstring forward;
    while (it->HasNext())
        forward += it->NextChar();
    EXPECT_EQ(forward, L"abc");
    EXPECT_EQ(it->GetIndex(), 2);
    it->Release();

    it = s->End();
    EXPECT_EQ(it->GetIndex(), 3);
    std::wstring backward;
    while (it->HasPrevious())
        backward += it->PreviousChar();
    EXPECT_EQ(backward, L"cba");
    it->Release();

    it = s->IteratorAt(1);
    EXPECT_EQ(it->GetIndex(), 0);
    EXPECT_EQ(it->NextChar(), L'b');
    it->SetIndex(-1);
    EXPECT_EQ(it->NextChar(), L'a');
    it->Skip(1);
    EXPECT_EQ(it->NextChar(), L'c');
    it->Back(2);
    EXPECT_EQ(it->NextChar(), L'b');
    it->Release();

    it = s->IteratorFromEnd(1);
    EXPECT_EQ(it->NextChar(), L'c');
    EXPECT_FALSE(it->HasNext());
    it->Release();

    Str empty;
    it = empty->Begin();
    EXPECT_FALSE(it->HasNext());
    it->Release();
}

TEST(StrBufferIterator, ComesBackResetFromThePool)
{
    Str s(L"abc");
    Iterator* it = s->IteratorAt(2);
    it->Release();
    Iterator* again = Iterator::Acquire();
    EXPECT_EQ(again->Text(), nullptr);
    EXPECT_EQ(again->GetIndex(), -1);
    again->Release();
}

// --- stream faces ------------------------------------------------------------------------

TEST(StrBufferStream, WriteAndReadTheBytes)
{
    Str s;
    s::io::IOutputStream* out = s.p;
    const wchar_t abc[] = L"abc";
    uint32_t written = 0;
    EXPECT_TRUE(out->Write(abc, 6, &written));
    EXPECT_EQ(written, 6u);
    EXPECT_EQ(s.Text(), L"abc");
    EXPECT_EQ(out->GetPosition(), 6);
    EXPECT_TRUE(out->SeekFromEnd(4));
    EXPECT_TRUE(out->Write(L"XYZ", 6, nullptr));  // overwrites b, c and extends
    EXPECT_EQ(s.Text(), L"aXYZ");
    EXPECT_TRUE(out->Write("\x41", 1, nullptr));   // half a character: not counted yet
    EXPECT_EQ(s->Length(), 4u);
    EXPECT_TRUE(out->Write("\x00", 1, nullptr));
    EXPECT_EQ(s.Text(), L"aXYZA");

    s::io::IInputStream* in = s.p;
    EXPECT_TRUE(in->Rewind());
    EXPECT_TRUE(in->Skip(2));
    wchar_t buffer[8] = {};
    uint32_t read = 0;
    EXPECT_TRUE(in->Read(buffer, 100, &read));
    EXPECT_EQ(read, 8u);
    EXPECT_EQ(std::wstring(buffer, 4), L"XYZA");
    EXPECT_TRUE(in->Read(buffer, 2, &read));  // at the end: nothing, no failure
    EXPECT_EQ(read, 0u);
    EXPECT_FALSE(in->Back(100));
    EXPECT_FALSE(in->SetPosition(-1));
    EXPECT_TRUE(in->SeekEnd());
    EXPECT_EQ(in->GetPosition(), 10);
}

TEST(StrBufferStream, WritingItsOwnBytesSurvivesGrowth)
{
    Str s;
    s->Free();
    for (int i = 0; i < 100; ++i)
        s->AppendChar(wchar_t(L'A' + i % 26));  // full: capacity 100
    const std::wstring text = s.Text();
    ASSERT_TRUE(s->SeekEnd());
    ASSERT_TRUE(s->Write(s->Data(), 200, nullptr));  // grows while reading itself
    EXPECT_EQ(s.Text(), text + text);
}

TEST(StrBufferStream, WritingPastTheEndFillsTheGapWithZeros)
{
    Str s(L"ab");
    EXPECT_TRUE(s->SetPosition(8));
    EXPECT_TRUE(s->Write(L"z", 2, nullptr));
    ASSERT_EQ(s->Length(), 5u);
    EXPECT_EQ(s->CharAt(2), 0);
    EXPECT_EQ(s->CharAt(3), 0);
    EXPECT_EQ(s->CharAt(4), L'z');
    EXPECT_TRUE(s->SetPosition(2));
    EXPECT_TRUE(s->SetEnd());
    EXPECT_EQ(s.Text(), L"a");
}

// A byte written right behind the text is half a character that is not counted
// yet; a later write past it used to zero it along with the gap.
TEST(StrBufferStream, WritingPastAnOddByteKeepsIt)
{
    struct Case
    {
        const char* name;
        uint32_t at;  // where the second write goes
        bool grow;    // start from a full string so that the second write grows it
    };
    const Case cases[] = {
        {"small gap", 4, false},
        {"gap that grows the storage", 1000, false},
        {"odd byte in the terminator's unit", 210, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Str s;
        s->Free();
        uint32_t base = 0;
        if (c.grow) {
            for (int i = 0; i < 100; ++i)
                s->AppendChar(L'.');
            base = 200;  // capacity is full: the odd byte sits in the spare unit
            ASSERT_TRUE(s->SeekEnd());
        }
        ASSERT_TRUE(s->Write("a", 1, nullptr));
        ASSERT_TRUE(s->SetPosition(c.at));
        ASSERT_TRUE(s->Write("x\0y\0", 4, nullptr));
        ASSERT_EQ(s->Length(), c.at / 2 + 2);
        EXPECT_EQ(s->CharAt(base / 2), L'a');  // the odd byte, completed by a zero
        for (uint32_t i = base / 2 + 1; i < c.at / 2; ++i)
            ASSERT_EQ(s->CharAt(i), 0) << i;
        EXPECT_EQ(s->CharAt(c.at / 2), L'x');
        EXPECT_EQ(s->CharAt(c.at / 2 + 1), L'y');
    }
    // SetEnd past an odd byte keeps it too; a text that was cleared has none.
    Str t;
    ASSERT_TRUE(t->Write("b", 1, nullptr));
    ASSERT_TRUE(t->SetPosition(6));
    ASSERT_TRUE(t->SetEnd());
    ASSERT_EQ(t->Length(), 3u);
    EXPECT_EQ(t->CharAt(0), L'b');
    t->Clear();
    ASSERT_TRUE(t->SetPosition(4));
    ASSERT_TRUE(t->Write("z\0", 2, nullptr));
    EXPECT_EQ(t->CharAt(0), 0);
}

// --- the pool from several threads ----------------------------------------------------------

TEST(StrBufferPool, SeveralThreadsTakeFillAndGiveBack)
{
    constexpr int THREADS = 4;
    constexpr int ROUNDS = 20000;
    int failures[THREADS] = {};
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < ROUNDS; ++i) {
                StrBuffer* s = StrBuffer::Acquire();
                if (s->Length() != 0)
                    ++failures[t];  // a string handed out twice, or not reset
                s->AppendNumber(int32_t(t));
                s->AppendChar(L':');
                s->AppendNumber(int32_t(i));
                std::wstring expected = std::to_wstring(t) + L":" + std::to_wstring(i);
                if (expected != s->CStr())
                    ++failures[t];
                s->Release();
            }
        });
    }
    for (std::thread& th : threads)
        th.join();
    for (int t = 0; t < THREADS; ++t)
        EXPECT_EQ(failures[t], 0) << "thread " << t;
}
