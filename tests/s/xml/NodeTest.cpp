#include <gtest/gtest.h>

#include <string>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/AttrFactory.h"
#include "s/xml/Attributes.h"
#include "s/xml/Codec.h"
#include "s/xml/Node.h"

using s::col::_array::ArrayU08;
using s::str::strbuffer::StrBuffer;
using s::xml::Node;

namespace {

// A node from the pool, released at scope end.
struct NodeHolder
{
    Node* node = Node::Acquire();
    ~NodeHolder() { node->Release(); }
    Node* operator->() const { return node; }
};

std::wstring Serialise(const Node* node)
{
    StrBuffer* text = node->toText(nullptr);
    std::wstring result(text->CStr());
    text->Release();
    return result;
}

std::wstring TextOf(const Node* node, const wchar_t* name, const wchar_t* def = L"<missing>")
{
    StrBuffer* text = node->getText(nullptr, name, def);
    std::wstring result(text->CStr());
    text->Release();
    return result;
}

} // namespace

TEST(NodeParse, ElementWithAttributesTextRunsAndEmptyChild)
{
    NodeHolder a;
    const wchar_t* doc = L"<a x=\"1\" y=\"2\">hi<b/>there</a>tail";
    const wchar_t* after = a->parse(doc);
    EXPECT_STREQ(L"tail", after);

    EXPECT_STREQ(L"a", a->getName());
    const s::xml::Attributes* attributes = a->getAttributes();
    ASSERT_EQ(4u, attributes->Count());
    EXPECT_STREQ(L"x", attributes->At(0)->Name());
    EXPECT_STREQ(L"y", attributes->At(1)->Name());
    EXPECT_STREQ(L"", attributes->At(2)->Name());
    EXPECT_STREQ(L"hi", attributes->At(2)->Value());
    EXPECT_STREQ(L"", attributes->At(3)->Name());
    EXPECT_STREQ(L"there", attributes->At(3)->Value());
    ASSERT_EQ(1u, a->getChildCount());
    EXPECT_STREQ(L"b", a->getChild(0)->getName());
    EXPECT_EQ(0u, a->getChild(0)->getChildCount());

    // Only the first text run is written; the empty child gets its end tag.
    EXPECT_EQ(L"<a x=\"1\" y=\"2\">hi<b></b></a>", Serialise(a.node));
}

TEST(NodeParse, CommentsDroppedEndTagNamesNotCompared)
{
    NodeHolder a;
    a->parse(L"  <!-- top --><r><!-- one --><b>x</c><!-- two -->y</r>");
    // The first element of the text is the comment itself.
    EXPECT_TRUE(a->isComment());

    a->parse(L"<r><!-- one --><b>x</c><!-- two -->y</r>");
    EXPECT_STREQ(L"r", a->getName());
    ASSERT_EQ(1u, a->getChildCount());
    EXPECT_EQ(L"x", TextOf(a->getChild(0), L""));
    EXPECT_EQ(L"y", TextOf(a.node, L""));
}

TEST(NodeParse, TextWithoutElementGivesUnnamedEmptyNode)
{
    NodeHolder a;
    a->parse(L"no markup here");
    EXPECT_STREQ(L"", a->getName());
    EXPECT_EQ(0u, a->getChildCount());
    EXPECT_EQ(0u, a->getAttributes()->Count());
    EXPECT_EQ(L"<></>", Serialise(a.node));
}

TEST(NodeParse, WhitespaceAroundNamesAndValuesWithMarkupCharacters)
{
    NodeHolder a;
    a->parse(L"<\n root\tk=\"a/b>c\"\r\n  other = \"v\" >\n <child k2=\"&amp;&#10;\" />\n</root>");
    EXPECT_STREQ(L"root", a->getName());
    EXPECT_STREQ(L"a/b>c", a->getRawValue(L"k", nullptr));
    EXPECT_STREQ(L"v", a->getRawValue(L"OTHER", nullptr));
    ASSERT_EQ(1u, a->getChildCount());
    EXPECT_EQ(L"&\n", TextOf(a->getChild(0), L"k2"));
    EXPECT_FALSE(a->hasValue(L""));
}

TEST(NodeParse, Utf8WithByteOrderMark)
{
    NodeHolder a;
    const char utf8[] = "\xEF\xBB\xBF<p t=\"\xC3\xA4\">\xE6\x97\xA5</p>";
    ASSERT_TRUE(a->parseUtf8(reinterpret_cast<const uint8_t*>(utf8), -1));
    EXPECT_STREQ(L"p", a->getName());
    EXPECT_EQ(L"\u00e4", TextOf(a.node, L"t"));
    EXPECT_EQ(L"\u65e5", TextOf(a.node, L""));
}

TEST(NodeValues, TextSpaceWrittenAsReferenceAndTrailingSpaceKept)
{
    NodeHolder a;
    a->setName(L"t");
    ASSERT_TRUE(a->setString(L"", L"Vesk Kairon "));
    EXPECT_STREQ(L"Vesk&#160;Kairon&#160;", a->getRawValue(L"", nullptr));
    EXPECT_EQ(L"Vesk Kairon ", TextOf(a.node, L""));

    // Written and parsed back.
    NodeHolder b;
    b->parse(Serialise(a.node).c_str());
    EXPECT_EQ(L"Vesk Kairon ", TextOf(b.node, L""));
}

TEST(NodeValues, AttributeKeepsGreaterThanAndEncodesLineBreaks)
{
    NodeHolder a;
    a->setName(L"t");
    ASSERT_TRUE(a->setString(L"v", L"a>b\nc\r\"d\" <&"));
    EXPECT_STREQ(L"a>b&#10;c&#13;&quot;d&quot; &lt;&amp;", a->getRawValue(L"v", nullptr));
    EXPECT_EQ(L"a>b\nc\r\"d\" <&", TextOf(a.node, L"v"));
    EXPECT_EQ(L"<t v=\"a>b&#10;c&#13;&quot;d&quot; &lt;&amp;\"></t>", Serialise(a.node));
}

TEST(NodeValues, DecodingReversesOnlyItsOwnReferencesAndTrims)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* raw;
        const wchar_t* decoded;
    };
    const Case cases[] = {
        {L"", L"&gt;&gt;", L">>"},
        {L"", L"Advanced Options &gt;&gt;", L"Advanced Options >>"},
        {L"", L"a&amp;lt;b", L"a&lt;b"},
        {L"", L"&foo; & &#161;", L"&foo; & &#161;"},
        {L"", L"x \t\r\n\u3000", L"x"},
        {L"", L"x&#160;", L"x "},
        {L"", L"x &#160; ", L"x  "},
        {L"", L"x&#10;", L"x\n"},
        {L"", L"\u00a0Refresh\u00a0", L"\u00a0Refresh\u00a0"},
        {L"k", L"a&#160;b&gt;", L"a&#160;b&gt;"},
        {L"k", L"  &quot;x&quot;  ", L"  \"x\"  "},
    };
    for (const Case& c : cases) {
        NodeHolder a;
        a->setRawValue(c.name, c.raw);
        EXPECT_EQ(std::wstring(c.decoded), TextOf(a.node, c.name)) << c.raw;
    }
}

TEST(NodeValues, BooleanTrueOnlyForOneAndLowerCaseLetters)
{
    struct Case
    {
        const wchar_t* raw;
        bool expected;
    };
    const Case cases[] = {{L"1", true},     {L"true", true}, {L"rubbish", true}, {L"u", true},
                          {L"e", true},     {L"True", false}, {L"TRUE", false},  {L"0", false},
                          {L"yes", false},  {L"", false},     {L"2", false}};
    NodeHolder a;
    for (const Case& c : cases) {
        a->setRawValue(L"b", c.raw);
        EXPECT_EQ(c.expected, a->getBool(L"b", !c.expected)) << c.raw;
    }
    EXPECT_TRUE(a->getBool(L"missing", true));
    a->setBool(L"b", true);
    EXPECT_STREQ(L"1", a->getRawValue(L"b", nullptr));
}

TEST(NodeValues, NumberFormatsAndConversions)
{
    NodeHolder a;
    a->setU32(L"u", 4294967295u);
    EXPECT_STREQ(L"4294967295", a->getRawValue(L"u", nullptr));
    EXPECT_EQ(4294967295u, a->getU32(L"u", 0));
    a->setS16(L"s", -2);
    EXPECT_STREQ(L"-2", a->getRawValue(L"s", nullptr));
    EXPECT_EQ(-2, a->getS16(L"s", 0));
    a->setS64(L"big", -9000000000000LL);
    EXPECT_EQ(-9000000000000LL, a->getS64(L"big", 0));
    a->setU64(L"ubig", 0xFFFFFFFFFFFFFFFFull);
    EXPECT_STREQ(L"-1", a->getRawValue(L"ubig", nullptr));
    EXPECT_EQ(0xFFFFFFFFFFFFFFFFull, a->getU64(L"ubig", 0));
    a->setF64(L"f", 1.5);
    EXPECT_STREQ(L"1.500000", a->getRawValue(L"f", nullptr));
    EXPECT_DOUBLE_EQ(1.5, a->getF64(L"f", 0));
    a->setF32(L"g", -0.25f);
    EXPECT_FLOAT_EQ(-0.25f, a->getF32(L"g", 0));

    // Truncated to the width; text without digits reads as 0.
    a->setRawValue(L"wide", L"300");
    EXPECT_EQ(44, a->getU8(L"wide", 0));
    a->setRawValue(L"word", L"abc");
    EXPECT_EQ(0, a->getS32(L"word", 7));
    EXPECT_EQ(7, a->getS32(L"missing", 7));

    // The element text holds numbers too, decoded and trimmed first.
    a->setRawValue(L"", L"  42\n");
    EXPECT_EQ(42, a->getS32(L"", 0));
}

TEST(NodeValues, BytesAsLowerCaseHex)
{
    NodeHolder a;
    const uint8_t bytes[] = {0x0a, 0xff, 0x00, 0x7c};
    a->setBytes(L"b", bytes, 4);
    EXPECT_STREQ(L"0aff007c", a->getRawValue(L"b", nullptr));
    ArrayU08* back = a->getBytes(L"b", nullptr);
    ASSERT_NE(nullptr, back);
    ASSERT_EQ(4u, back->Count());
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(bytes[i], back->Get(i));
    back->Release();
    EXPECT_EQ(nullptr, a->getBytes(L"missing", nullptr));
}

TEST(NodeValues, SettingReplacesEveryEntryOfTheNameAndAppendsAtTheEnd)
{
    NodeHolder a;
    a->parse(L"<a k=\"1\" K=\"2\" z=\"3\">one<c/>two</a>");
    a->setS32(L"k", 9);
    const s::xml::Attributes* attributes = a->getAttributes();
    ASSERT_EQ(4u, attributes->Count());
    EXPECT_STREQ(L"z", attributes->At(0)->Name());  // the order of the rest is kept
    EXPECT_STREQ(L"one", attributes->At(1)->Value());
    EXPECT_STREQ(L"two", attributes->At(2)->Value());
    EXPECT_STREQ(L"k", attributes->At(3)->Name());
    EXPECT_EQ(9, a->getS32(L"K", 0));

    a->setString(L"", L"new");
    EXPECT_EQ(L"new", TextOf(a.node, L""));
    EXPECT_EQ(L"<a z=\"3\" k=\"9\">new<c></c></a>", Serialise(a.node));

    EXPECT_TRUE(a->removeValue(L"Z"));
    EXPECT_FALSE(a->removeValue(L"z"));
    EXPECT_EQ(L"def", TextOf(a.node, L"z", L"def"));
}

// A value set from the node's own storage (its stored value, its name, the element
// text): the old entry used to be freed before the new one was copied from it.
TEST(NodeValues, ValueSetFromItsOwnStorageIsCopiedBeforeTheOldOneGoes)
{
    const std::wstring longValue(300, L'v');
    const std::wstring text = L"some element text that is long enough" + longValue;
    NodeHolder a;
    a->parse((L"<a x=\"" + longValue + L"\" y=\"&amp;1\">" + text + L"</a>").c_str());

    EXPECT_TRUE(a->setRawValue(L"X", a->getRawValue(L"x", nullptr)));
    EXPECT_TRUE(a->setRawValue(L"", a->getRawValue(L"", nullptr)));
    EXPECT_TRUE(a->setString(L"y", a->getRawValue(L"y", nullptr)));  // encoded once more
    EXPECT_EQ(longValue, a->getRawValue(L"X", L"<missing>"));
    EXPECT_EQ(text, a->getRawValue(L"", L"<missing>"));
    EXPECT_EQ(L"&amp;1", TextOf(a.node, L"y"));

    // The name handed in is the stored entry's own name.
    const s::xml::Attributes* attributes = a->getAttributes();
    ASSERT_EQ(3u, attributes->Count());
    ASSERT_STREQ(L"X", attributes->At(0)->Name());
    EXPECT_TRUE(a->setRawValue(attributes->At(0)->Name(), L"new value"));
    ASSERT_EQ(3u, attributes->Count());
    EXPECT_STREQ(L"X", attributes->At(2)->Name());
    EXPECT_STREQ(L"new value", attributes->At(2)->Value());

    a->setName(a->getName());
    EXPECT_STREQ(L"a", a->getName());
}

// The room for an encoded text (six characters per character at most) used to be
// computed in 32 bits: for texts over 715,827,882 characters it wrapped to a small
// buffer that the encoder then wrote past. The room is checked before the text is
// read, so a claimed length beyond it is refused without touching the text.
TEST(NodeValues, EncodedRoomIsCheckedBeforeTheTextIsRead)
{
    uint32_t room = 0;
    EXPECT_TRUE(s::xml::codec::EncodeRoomFor(715827882u, &room));
    EXPECT_EQ(room, 4294967292u);
    EXPECT_FALSE(s::xml::codec::EncodeRoomFor(715827883u, &room));
    EXPECT_FALSE(s::xml::codec::EncodeRoomFor(0x100000000ull, &room));

    NodeHolder a;
    a->setString(L"k", L"kept");
    const wchar_t shortText[] = L"<\"&";
    EXPECT_FALSE(a->setString(L"k", shortText, 800000000));  // wrapped to 505,032,704 before
    EXPECT_FALSE(a->setString(L"", shortText, 0x7FFFFFFF));
    EXPECT_EQ(L"kept", TextOf(a.node, L"k"));
    EXPECT_FALSE(a->hasValue(L""));
    EXPECT_TRUE(a->setString(L"k", shortText, 3));
    EXPECT_STREQ(L"&lt;&quot;&amp;", a->getRawValue(L"k", nullptr));
}

TEST(NodeTree, NameEqualsWholeIgnoringCaseOrExactPrefixLength)
{
    NodeHolder a;
    a->setName(L"View");
    EXPECT_TRUE(a->nameEquals(L"view"));
    EXPECT_TRUE(a->nameEquals(L"VIEW", -1));
    EXPECT_FALSE(a->nameEquals(L"Vie"));
    EXPECT_TRUE(a->nameEquals(L"View", 4));
    EXPECT_FALSE(a->nameEquals(L"view", 4));         // exact with a length
    EXPECT_TRUE(a->nameEquals(L"View\\Multiple", 4));  // the first part of a longer text
    EXPECT_FALSE(a->nameEquals(L"Vi", 2));            // the name must end there
    EXPECT_FALSE(a->isComment());
}

TEST(NodeTree, FindTakesTheFirstOfSameNamedChildren)
{
    NodeHolder a;
    a->parse(L"<r><s n=\"1\"/><S n=\"2\"/><t/></r>");
    uint32_t index = 99;
    ASSERT_TRUE(a->findChildIndex(L"s", &index));
    EXPECT_EQ(0u, index);
    EXPECT_EQ(1, a->findChild(L"S")->getS32(L"n", 0));
    EXPECT_EQ(2, a->findChild(L"S", 1)->getS32(L"n", 0));
    EXPECT_EQ(nullptr, a->findChild(L"u"));
    EXPECT_FALSE(a->findChildIndex(L"u", &index));

    Node* added = a->addChild(L"u");
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(added, a->findChild(L"U"));
    EXPECT_TRUE(a->removeChild(0));
    EXPECT_FALSE(a->removeChild(10));
    EXPECT_EQ(2, a->findChild(L"s")->getS32(L"n", 0));
    EXPECT_EQ(nullptr, a->getChild(3));

    Node* own = Node::Acquire();
    own->setName(L"own");
    a->appendChild(own);
    EXPECT_EQ(own, a->getChild(a->getChildCount() - 1));
    a->decodeAll();
}

TEST(NodeTree, ReleasedNodeComesBackEmpty)
{
    Node* a = Node::Acquire();
    a->parse(L"<a k=\"v\">t<b><c/></b></a>");
    a->Release();
    Node* again = Node::Acquire();
    EXPECT_STREQ(L"", again->getName());
    EXPECT_EQ(0u, again->getChildCount());
    EXPECT_EQ(0u, again->getAttributes()->Count());
    again->Release();
}

TEST(NodeTree, DeepNestingIsReadWholeWithoutOverflow)
{
    std::wstring deep;
    for (int i = 0; i < 20000; ++i)
        deep += L"<a>";
    NodeHolder a;
    const wchar_t* end = a->parse(deep.c_str());
    EXPECT_EQ(deep.c_str() + deep.size(), end);
    uint32_t depth = 0;
    for (const Node* n = a.node; n->getChildCount() > 0; n = n->getChild(0))
        ++depth;
    EXPECT_EQ(19999u, depth);
}

// Far deeper than any stack would take by recursion: parsed, written, decoded and
// released, with the element after the deep part kept (it used to be dropped with
// everything after the parser's depth limit).
TEST(NodeTree, VeryDeepTreeRoundTripsAndIsReleasedWithoutOverflow)
{
    constexpr int DEPTH = 100000;
    std::wstring text = L"<root>";
    for (int i = 0; i < DEPTH; ++i)
        text += L"<d v=\"1\">";
    text += L"deepest";
    for (int i = 0; i < DEPTH; ++i)
        text += L"</d>";
    text += L"<after k=\"kept\"/></root>";

    NodeHolder a;
    EXPECT_EQ(text.c_str() + text.size(), a->parse(text.c_str()));
    ASSERT_EQ(2u, a->getChildCount());
    EXPECT_STREQ(L"kept", a->getChild(1)->getRawValue(L"k", nullptr));
    const Node* n = a->getChild(0);
    for (int i = 1; i < DEPTH; ++i)
        n = n->getChild(0);
    EXPECT_EQ(L"deepest", TextOf(n, L""));
    a->decodeAll();

    const std::wstring written = Serialise(a.node);
    NodeHolder b;
    b->parse(written.c_str());
    EXPECT_EQ(written, Serialise(b.node));
    ASSERT_EQ(2u, b->getChildCount());
    EXPECT_STREQ(L"kept", b->getChild(1)->getRawValue(L"k", nullptr));

    // Released through a parent, and through removeChild.
    b->removeChild(0);
    EXPECT_EQ(1u, b->getChildCount());
}
