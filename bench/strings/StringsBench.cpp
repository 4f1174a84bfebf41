// StrBuffer costs against their plain counterparts, as ratios (ours / theirs):
//   - a pooled string taken, filled with a short text and released, against the
//     same object made with new and deleted (goal: ratio <= 1);
//   - appending characters and short texts to a StrBuffer against std::wstring.
// Run: wine-run.sh bench/strings/bench_strings.exe

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "s/str/strbuffer/StrBuffer.h"

using s::str::strbuffer::StrBuffer;

namespace {

/// Lets the benchmark make and delete a StrBuffer without its pool, for comparison.
class UnpooledStr : public StrBuffer
{
public:
    UnpooledStr() = default;
    ~UnpooledStr() override = default;
};

template <class Work>
double BestOfSeconds(int rounds, Work work)
{
    double best = 1e30;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void Report(const char* what, const char* theirName, double ours, double theirs)
{
    std::printf("%-40s StrBuffer %8.1f ms  %-14s %8.1f ms  ratio %.2f\n", what, ours * 1000,
                theirName, theirs * 1000, ours / theirs);
}

volatile uint32_t sink;

} // namespace

int main()
{
    constexpr int ROUNDS = 5;
    constexpr int OBJECTS = 1000000;
    const wchar_t* text = L"C:\\Users\\someone\\Documents\\file.txt";

    // Warm the pool so that the first round does not pay for making the objects.
    StrBuffer::Acquire(text)->Release();

    double pooled = BestOfSeconds(ROUNDS, [&] {
        for (int i = 0; i < OBJECTS; ++i) {
            StrBuffer* s = StrBuffer::Acquire();
            s->Append(text);
            sink = s->Length();
            s->Release();
        }
    });
    double plain = BestOfSeconds(ROUNDS, [&] {
        for (int i = 0; i < OBJECTS; ++i) {
            UnpooledStr* s = new UnpooledStr();
            s->Append(text);
            sink = s->Length();
            delete s;
        }
    });
    Report("take, fill, give back (1M strings)", "new/delete", pooled, plain);

    double pooledEmpty = BestOfSeconds(ROUNDS, [&] {
        for (int i = 0; i < OBJECTS; ++i) {
            StrBuffer* s = StrBuffer::Acquire();
            sink = s->Length();
            s->Release();
        }
    });
    double plainEmpty = BestOfSeconds(ROUNDS, [&] {
        for (int i = 0; i < OBJECTS; ++i) {
            UnpooledStr* s = new UnpooledStr();
            sink = s->Length();
            delete s;
        }
    });
    Report("take and give back empty (1M strings)", "new/delete", pooledEmpty, plainEmpty);

    constexpr int CHARS = 10000000;
    double ourChars = BestOfSeconds(ROUNDS, [&] {
        StrBuffer* s = StrBuffer::Acquire();
        s->Free();
        for (int i = 0; i < CHARS; ++i)
            s->AppendChar(wchar_t(L'a' + i % 26));
        sink = s->Length();
        s->Free();
        s->Release();
    });
    double theirChars = BestOfSeconds(ROUNDS, [&] {
        std::wstring s;
        for (int i = 0; i < CHARS; ++i)
            s.push_back(wchar_t(L'a' + i % 26));
        sink = uint32_t(s.size());
    });
    Report("append 10M characters", "std::wstring", ourChars, theirChars);

    constexpr int TEXTS = 1000000;
    double ourTexts = BestOfSeconds(ROUNDS, [&] {
        StrBuffer* s = StrBuffer::Acquire();
        s->Free();
        for (int i = 0; i < TEXTS; ++i)
            s->Append(text);
        sink = s->Length();
        s->Free();
        s->Release();
    });
    double theirTexts = BestOfSeconds(ROUNDS, [&] {
        std::wstring s;
        for (int i = 0; i < TEXTS; ++i)
            s.append(text);
        sink = uint32_t(s.size());
    });
    Report("append 1M short texts", "std::wstring", ourTexts, theirTexts);

    double ourNumbers = BestOfSeconds(ROUNDS, [&] {
        StrBuffer* s = StrBuffer::Acquire();
        for (int i = 0; i < TEXTS; ++i) {
            s->Clear();
            s->AppendNumber(int32_t(i));
        }
        sink = s->Length();
        s->Release();
    });
    double theirNumbers = BestOfSeconds(ROUNDS, [&] {
        std::wstring s;
        for (int i = 0; i < TEXTS; ++i)
            s = std::to_wstring(i);
        sink = uint32_t(s.size());
    });
    Report("format 1M numbers", "std::to_wstring", ourNumbers, theirNumbers);
    return 0;
}
