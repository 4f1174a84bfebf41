// Loading the embedded language pack (UTF-8 decoding, parsing, building all
// languages and selecting the system language) against its parts, best of many runs:
//   - decoding the resource's UTF-8 into a string (the baseline every load pays);
//   - parsing the decoded text into nodes;
//   - building the languages from parsed nodes;
//   - the whole load (Localizer::loadFromResource). Goal: at most 20 ms under Wine.
// Run: wine-run.sh bench/langpack/bench_langpack.exe

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "s/lang/Localizer.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Node.h"

using s::lang::Localizer;
using s::str::strbuffer::StrBuffer;
using s::xml::Node;

namespace {

template <class Work>
double BestOfMilliseconds(int rounds, Work work)
{
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

} // namespace

int main()
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(Localizer::RESOURCE_NUMBER),
                                Localizer::RESOURCE_TYPE);
    if (!found) {
        std::printf("the language pack is not embedded\n");
        return 1;
    }
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    const int32_t size = int32_t(SizeofResource(nullptr, found));
    const int rounds = 30;

    const double decode = BestOfMilliseconds(rounds, [&] {
        StrBuffer* text = StrBuffer::Acquire();
        text->FromUtf8(bytes, false, size);
        text->Release();
    });
    StrBuffer* text = StrBuffer::Acquire();
    text->FromUtf8(bytes, false, size);
    const double parse = BestOfMilliseconds(rounds, [&] {
        Node* root = Node::Acquire();
        root->parse(text->CStr());
        root->Release();
    });
    Node* parsed = Node::Acquire();
    parsed->parse(text->CStr());
    text->Release();
    const double build = BestOfMilliseconds(rounds, [&] {
        Localizer* pack = Localizer::loadFromDocument(parsed);
        pack->Release();
    });
    parsed->Release();
    uint32_t languages = 0;
    const double load = BestOfMilliseconds(rounds, [&] {
        Localizer* pack = Localizer::loadFromResource(nullptr);
        languages = pack->getLanguageCount();
        pack->Release();
    });

    std::printf("language pack: %d bytes, %u languages\n", size, languages);
    std::printf("  UTF-8 decode (baseline) %8.3f ms\n", decode);
    std::printf("  parse                   %8.3f ms  (%.1f x baseline)\n", parse, parse / decode);
    std::printf("  build from parsed nodes %8.3f ms  (%.1f x baseline)\n", build, build / decode);
    std::printf("  whole load              %8.3f ms  (%.1f x baseline)\n", load, load / decode);
    std::printf("  goal: whole load <= 20 ms -> %s (%.2f of the goal)\n",
                load <= 20.0 ? "met" : "NOT met", load / 20.0);
    return 0;
}
