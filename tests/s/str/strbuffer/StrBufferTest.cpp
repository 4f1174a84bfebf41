// StrBuffer: the object model, growth, comparison order, hash codes, trimming, changing in
// place, lists, iterators and the pool from several threads.
#include "StrBufferTestSupport.h"

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
