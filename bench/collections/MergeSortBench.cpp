// The library's merge sort against std::stable_sort on one million pointers.
// Prints the time of each and their ratio (goal: merge sort / stable_sort <= 1.5).
// Run: wine-run.sh bench/collections/bench_collections.exe

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "s/col/MergeSort.h"
#include "s/comp/CompP.h"

namespace {

struct Record
{
    uint32_t key;
};

int CompareKeys(const void* a, const void* b)
{
    const uint32_t x = static_cast<const Record*>(a)->key;
    const uint32_t y = static_cast<const Record*>(b)->key;
    return x < y ? -1 : (x > y ? 1 : 0);
}

template <class Sort>
double BestOfSeconds(const std::vector<void*>& input, int rounds, Sort sort)
{
    double best = 1e30;
    std::vector<void*> work;
    for (int r = 0; r < rounds; ++r) {
        work = input;
        const auto start = std::chrono::steady_clock::now();
        sort(work);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void Report(const char* what, double ours, double theirs)
{
    std::printf("%-44s merge sort %8.1f ms  std::stable_sort %8.1f ms  ratio %.2f\n", what,
                ours * 1000, theirs * 1000, ours / theirs);
}

} // namespace

int main()
{
    constexpr uint32_t N = 1000000;
    constexpr int ROUNDS = 5;
    std::mt19937 random(12345);
    std::vector<Record> records(N);
    for (Record& r : records)
        r.key = random() % (N / 4);  // many equal keys: stability matters
    std::vector<void*> shuffled(N);
    for (uint32_t i = 0; i < N; ++i)
        shuffled[i] = &records[i];
    std::shuffle(shuffled.begin(), shuffled.end(), random);

    // The same inlinable comparison for both.
    const double ours = BestOfSeconds(shuffled, ROUNDS, [](std::vector<void*>& v) {
        // A lambda, not the function itself: a plain function type would make the
        // template call through a pointer, which std::stable_sort's lambda does not.
        s::col::MergeSortWith(v.data(), uint32_t(v.size()),
                              [](const void* a, const void* b) { return CompareKeys(a, b); });
    });
    const double theirs = BestOfSeconds(shuffled, ROUNDS, [](std::vector<void*>& v) {
        std::stable_sort(v.begin(), v.end(),
                         [](const void* a, const void* b) { return CompareKeys(a, b) < 0; });
    });
    Report("random keys, inlined comparison", ours, theirs);

    // The same comparison through a function pointer the compiler cannot see through.
    static s::col::CompareFunction volatile opaque = &CompareKeys;
    const double oursPointer = BestOfSeconds(shuffled, ROUNDS, [](std::vector<void*>& v) {
        s::col::MergeSort(v.data(), uint32_t(v.size()), opaque);
    });
    const double theirsPointer = BestOfSeconds(shuffled, ROUNDS, [](std::vector<void*>& v) {
        const s::col::CompareFunction compare = opaque;
        std::stable_sort(v.begin(), v.end(),
                         [compare](const void* a, const void* b) { return compare(a, b) < 0; });
    });
    Report("random keys, compare function pointer", oursPointer, theirsPointer);

    const double oursComparator = BestOfSeconds(shuffled, ROUNDS, [](std::vector<void*>& v) {
        s::col::MergeSort(v.data(), uint32_t(v.size()), &s::comp::CompP::Instance());
    });
    const double theirsAddress = BestOfSeconds(shuffled, ROUNDS, [](std::vector<void*>& v) {
        std::stable_sort(v.begin(), v.end(), [](const void* a, const void* b) {
            return s::comp::CompP::Instance().CompareElements(a, b) < 0;
        });
    });
    Report("by address, CompP comparator", oursComparator, theirsAddress);

    std::vector<void*> sorted = shuffled;
    s::col::MergeSort(sorted.data(), N, &CompareKeys);
    const double oursSorted = BestOfSeconds(sorted, ROUNDS, [](std::vector<void*>& v) {
        s::col::MergeSort(v.data(), uint32_t(v.size()), &CompareKeys);
    });
    const double theirsSorted = BestOfSeconds(sorted, ROUNDS, [](std::vector<void*>& v) {
        std::stable_sort(v.begin(), v.end(),
                         [](const void* a, const void* b) { return CompareKeys(a, b) < 0; });
    });
    Report("already sorted input", oursSorted, theirsSorted);

    const double ratio = ours / theirs;
    std::printf("goal (random keys) merge sort within 1.5x of std::stable_sort: %s (%.2f)\n",
                ratio <= 1.5 ? "met" : "NOT met", ratio);
    return 0;
}
