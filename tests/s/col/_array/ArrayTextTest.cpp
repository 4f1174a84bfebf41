#include <gtest/gtest.h>

#include <string>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayS08.h"
#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayU08.h"
#include "s/col/_array/ArrayU32.h"
#include "s/str/strbuffer/StrBuffer.h"

using namespace s::col::_array;
using s::str::strbuffer::StrBuffer;

namespace {

template <class A, class E>
A* Make(std::initializer_list<E> values)
{
    A* a = A::Acquire();
    for (E v : values)
        a->Add(v);
    return a;
}

struct TextCase
{
    ArrayBase* array;
    const wchar_t* text;
    const wchar_t* xml;
};

TEST(ArrayTextTest, TextAndXmlOfTheTypedArrays)
{
    const TextCase cases[] = {
        {Make<ArrayS32, int32_t>({}), L"s_col__array_ArrayS32 []",
         L"<s_col__array_ArrayS32 length=\"0\"></s_col__array_ArrayS32>"},
        {Make<ArrayS32, int32_t>({1, 2, 3}), L"s_col__array_ArrayS32 [1 2 3]",
         L"<s_col__array_ArrayS32 length=\"3\">000000010000000200000003</s_col__array_ArrayS32>"},
        {Make<ArrayS32, int32_t>({-5}), L"s_col__array_ArrayS32 [-5]",
         L"<s_col__array_ArrayS32 length=\"1\">fffffffb</s_col__array_ArrayS32>"},
        {Make<ArrayU32, uint32_t>({4294967295u, 10}), L"s_col__array_ArrayU32 [4294967295 10]",
         L"<s_col__array_ArrayU32 length=\"2\">ffffffff0000000a</s_col__array_ArrayU32>"},
        {Make<ArrayS08, int8_t>({-1, 127}), L"s_col__array_ArrayS08 [-1 127]",
         L"<s_col__array_ArrayS08 length=\"2\">ff7f</s_col__array_ArrayS08>"},
        {Make<ArrayU08, uint8_t>({255, 0, 0xab}), L"s_col__array_ArrayU08 [255 0 171]",
         L"<s_col__array_ArrayU08 length=\"3\">ff00ab</s_col__array_ArrayU08>"},
    };
    for (const TextCase& c : cases) {
        StrBuffer* text = c.array->ToText();
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text->CStr(), c.text);
        StrBuffer* xml = c.array->ToXml(text);  // reuses the string, emptied first
        EXPECT_EQ(xml, text);
        EXPECT_STREQ(xml->CStr(), c.xml);
        text->Release();
        c.array->Release();
    }
}

TEST(ArrayTextTest, AppendKeepsWhatIsThere)
{
    ArrayU08* a = Make<ArrayU08, uint8_t>({1, 2});
    StrBuffer* s = StrBuffer::Acquire(L"x=");
    a->ToText(s, true);
    EXPECT_STREQ(s->CStr(), L"x=s_col__array_ArrayU08 [1 2]");
    a->AppendAllHex(s, true);
    EXPECT_STREQ(s->CStr(), L"x=s_col__array_ArrayU08 [1 2]0102");
    a->AppendAllHex(s);
    EXPECT_STREQ(s->CStr(), L"0102");
    s->Release();
    a->Release();
}

TEST(ArrayTextTest, PointerListsShowClassAndAddress)
{
    ArrayP* inner = ArrayP::Acquire();
    ArrayP* list = ArrayP::Acquire();
    list->Add(inner);
    list->Add(nullptr);
    StrBuffer* text = list->ToText();
    const std::wstring expected = L"s_col__array_ArrayP [s_col__array_ArrayP(" +
                                  std::to_wstring(reinterpret_cast<intptr_t>(inner)) +
                                  L") null(0)]";
    EXPECT_EQ(std::wstring(text->CStr()), expected);
    list->AppendAllHex(text);
    EXPECT_EQ(text->Length(), 0u);  // pointers have no hexadecimal form
    list->ToXml(text);
    EXPECT_STREQ(text->CStr(), L"<s_col__array_ArrayP length=\"2\"></s_col__array_ArrayP>");
    text->Release();
    list->Release();
    inner->Release();
}

TEST(ArrayTextTest, PlainArrayShowsElementBytesInHexadecimal)
{
    ArrayBase* plain = new ArrayBase(1);  // 2-byte elements; not pooled
    const uint8_t bytes[] = {0x01, 0xab, 0xff, 0x00};
    plain->Append(bytes, 2);
    StrBuffer* text = plain->ToText();
    EXPECT_STREQ(text->CStr(), L"s_col_array_ArrayBase [01ab ff00]");
    text->Release();
    plain->Release();  // deletes it
}

} // namespace
