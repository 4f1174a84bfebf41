// OEM and ANSI conversions under a Japanese system (Wine started with
// LC_ALL=ja_JP.UTF-8: OEM and ANSI code page 932, a double-byte code page).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/sys/CodePage.h"

using s::col::_array::ArrayU08;
using s::str::strbuffer::StrBuffer;

TEST(StrBufferJapaneseEnv, OemAndAnsiRoundTripsInShiftJis)
{
    if (GetOEMCP() != 932)
        GTEST_SKIP() << "needs code page 932 (LC_ALL=ja_JP.UTF-8)";
    const std::vector<uint8_t> sjis = {'A', 0x8e, 0x9e, 0x8a, 0xd4, 0};
    StrBuffer* s = StrBuffer::Acquire(L"A\u6642\u9593");
    for (uint32_t page : {uint32_t(s::sys::CodePage::OEM), uint32_t(s::sys::CodePage::ANSI)}) {
        ArrayU08* bytes = page == s::sys::CodePage::OEM ? s->ToOem() : s->Encode(page);
        ASSERT_NE(bytes, nullptr);
        EXPECT_EQ(std::vector<uint8_t>(bytes->Items(), bytes->Items() + bytes->Count()), sjis);
        StrBuffer* back = StrBuffer::Acquire();
        EXPECT_TRUE(page == s::sys::CodePage::OEM ? back->FromOem(bytes->Items())
                                                  : back->Decode(page, bytes->Items()));
        EXPECT_TRUE(back->Equals(s));
        back->Release();
        bytes->Release();
    }
    s->Release();
}
