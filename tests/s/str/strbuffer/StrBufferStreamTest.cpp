// StrBuffer bytes: code pages, the digest and the stream faces.
#include "StrBufferTestSupport.h"

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
