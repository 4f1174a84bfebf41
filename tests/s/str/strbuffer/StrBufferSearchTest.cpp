// StrBuffer searches: characters, texts, regions, starts and ends.
#include "StrBufferTestSupport.h"

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
