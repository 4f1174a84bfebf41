// Time costs against their plain counterparts, as ratios (ours / theirs):
//   - a pooled Time taken for one conversion and released, against the same object made
//     with new and deleted (goal: ratio <= 1);
//   - the same with the value formatted as UTC text into one reused string, the way the
//     View & Copy panel converts several values per file shown.
// Run: wine-run.sh bench/time/bench_time.exe

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/Time.h"

using s::str::strbuffer::StrBuffer;
using s::time::Time;

namespace
{

// Lets the benchmark make and delete a Time without its pool, for comparison.
class UnpooledTime : public Time
{
public:
    UnpooledTime() = default;
    ~UnpooledTime() override = default;
};

template <class Work>
double BestOfSeconds(int rounds, Work work)
{
    double best = 1e30;
    for (int r = 0; r < rounds; ++r)
    {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void Report(const char* what, double ours, double theirs)
{
    std::printf("%-44s pooled %8.1f ms  new/delete %8.1f ms  ratio %.2f\n", what, ours * 1000,
                theirs * 1000, ours / theirs);
}

volatile uint32_t sink;

} // namespace

int main()
{
    constexpr int ROUNDS = 5;
    constexpr int CONVERSIONS = 1000000;
    constexpr int FORMATS = 200000;
    const s::time::EpochSeconds base = 1376402709;

    Time::Acquire()->Release(); // warm the pool

    const double pooled = BestOfSeconds(ROUNDS, [&] {
        for (int i = 0; i < CONVERSIONS; ++i)
        {
            Time* t = Time::fromSeconds(base + i);
            sink = sink + t->getSecond();
            t->Release();
        }
    });
    const double plain = BestOfSeconds(ROUNDS, [&] {
        for (int i = 0; i < CONVERSIONS; ++i)
        {
            UnpooledTime* t = new UnpooledTime();
            t->setTicks(s::time::ticksFromSeconds(base + i));
            sink = sink + t->getSecond();
            delete t;
        }
    });
    Report("one conversion per Time", pooled, plain);

    StrBuffer* out = StrBuffer::Acquire();
    const double pooledText = BestOfSeconds(ROUNDS, [&] {
        for (int i = 0; i < FORMATS; ++i)
        {
            Time* t = Time::fromSeconds(base + i);
            s::time::formatUtc(*t, out);
            sink = sink + out->Length();
            t->Release();
        }
    });
    const double plainText = BestOfSeconds(ROUNDS, [&] {
        for (int i = 0; i < FORMATS; ++i)
        {
            UnpooledTime* t = new UnpooledTime();
            t->setTicks(s::time::ticksFromSeconds(base + i));
            s::time::formatUtc(*t, out);
            sink = sink + out->Length();
            delete t;
        }
    });
    out->Release();
    Report("conversion and UTC text", pooledText, plainText);
    return 0;
}
