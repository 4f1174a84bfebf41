#include <gtest/gtest.h>

#include <random>
#include <string>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Node.h"

using s::xml::Node;

// Thousands of mutated documents (fixed seed, so a failure repeats) must parse,
// serialise and parse again without a crash or a hang; each parse returns a
// position inside the text.
TEST(NodeRobustness, MutatedDocumentsParseWithoutCrashOrHang)
{
    const std::wstring seed =
        L"<langpack><!-- c --><languages><entry tagName=\"eng\" engName=\"English\" "
        L"trueName=\"English\"/></languages><entries><entry id=\"1005000\"><eng>Advanced "
        L"Options &gt;&gt;</eng><deu>Erweitert&#160;&amp;</deu></entry><entry id=\"7\">"
        L"\u00a0Refresh\u00a0<x a=\"&quot;\"/>tail</entry></entries></langpack>";
    const wchar_t alphabet[] = L"<>/=\"!- &;#a1\n\t?x\u00e4";
    const size_t alphabetSize = sizeof(alphabet) / sizeof(alphabet[0]) - 1;

    std::mt19937 random(20261210u);
    Node* node = Node::Acquire();
    Node* again = Node::Acquire();
    for (int round = 0; round < 10000; ++round) {
        std::wstring doc = seed;
        const int edits = 1 + int(random() % 12);
        for (int e = 0; e < edits && !doc.empty(); ++e) {
            const size_t at = random() % doc.size();
            switch (random() % 4) {
            case 0: doc[at] = alphabet[random() % alphabetSize]; break;
            case 1: doc.insert(at, 1, alphabet[random() % alphabetSize]); break;
            case 2: doc.erase(at, 1 + random() % 8); break;
            default: doc.resize(at); break;
            }
        }
        const wchar_t* end = node->parse(doc.c_str());
        ASSERT_GE(end, doc.c_str());
        ASSERT_LE(end, doc.c_str() + doc.size());
        node->decodeAll();
        s::str::strbuffer::StrBuffer* text = node->toText(nullptr);
        again->parse(text->CStr());
        text->Release();

        // The same bytes through the UTF-8 door, including cut-off sequences.
        s::col::_array::ArrayU08* bytes = node->toUtf8(nullptr);
        if (bytes && bytes->Count() > 1)
            again->parseUtf8(bytes->Items(), int32_t(bytes->Count() - (round % 2)));
        if (bytes)
            bytes->Release();
    }
    node->Release();
    again->Release();
}

// Random bytes (mostly markup characters, some invalid UTF-8) through the UTF-8 door.
TEST(NodeRobustness, RandomBytesParseWithoutCrashOrHang)
{
    const uint8_t pieces[] = {'<', '>', '/', '=', '"', '!', '-', '&', ';', '#', 'a', ' ',
                              '\n', 0xC3, 0xA4, 0xE6, 0x97, 0xFF, 0x80};
    std::mt19937 random(7u);
    Node* node = Node::Acquire();
    uint8_t bytes[256];
    for (int round = 0; round < 5000; ++round) {
        const uint32_t n = 1 + random() % sizeof(bytes);
        for (uint32_t i = 0; i < n; ++i)
            bytes[i] = pieces[random() % sizeof(pieces)];
        node->parseUtf8(bytes, int32_t(n));
        s::str::strbuffer::StrBuffer* text = node->toText(nullptr);
        ASSERT_NE(nullptr, text);
        text->Release();
    }
    node->Release();
}
