#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "s/col/MergeSort.h"

namespace {

struct Record
{
    int key;
    int sequence;  // input position, to see stability
};

int compareCalls = 0;

int CompareKeys(const void* a, const void* b)
{
    ++compareCalls;
    const int x = static_cast<const Record*>(a)->key;
    const int y = static_cast<const Record*>(b)->key;
    return x < y ? -1 : (x > y ? 1 : 0);
}

std::vector<Record> MakeRecords(uint32_t n, int distinctKeys, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<Record> records(n);
    for (uint32_t i = 0; i < n; ++i)
        records[i] = Record{int(random() % uint32_t(distinctKeys)), int(i)};
    return records;
}

std::vector<void*> PointersTo(std::vector<Record>& records)
{
    std::vector<void*> pointers;
    for (Record& r : records)
        pointers.push_back(&r);
    return pointers;
}

// Every size around the insertion-sort threshold and some larger ones, many equal
// keys: the result must equal std::stable_sort's, ascending and descending.
TEST(MergeSortTest, StableLikeStdStableSortInBothDirections)
{
    const uint32_t sizes[] = {0, 1, 2, 5, 6, 7, 8, 13, 14, 15, 63, 64, 65, 1000, 4097};
    for (const bool descending : {false, true}) {
        for (const uint32_t n : sizes) {
            std::vector<Record> records = MakeRecords(n, 5, n * 7 + 1);
            std::vector<void*> sorted = PointersTo(records);
            ASSERT_TRUE(s::col::MergeSort(sorted.data(), n, &CompareKeys, descending));
            std::vector<void*> expected = PointersTo(records);
            std::stable_sort(expected.begin(), expected.end(), [descending](void* a, void* b) {
                const int x = static_cast<Record*>(a)->key, y = static_cast<Record*>(b)->key;
                return descending ? x > y : x < y;
            });
            EXPECT_EQ(sorted, expected) << "n=" << n << " descending=" << descending;
        }
    }
}

// Sorted input stays as it is and costs about one comparison per element (no
// merging at any level); a merge sort that merged anyway needs n log n.
TEST(MergeSortTest, SortedInputIsCopiedThroughWithoutMerging)
{
    std::vector<Record> records(4096);
    for (int i = 0; i < 4096; ++i)
        records[i] = Record{i / 3, i};  // ascending, with runs of equal keys
    std::vector<void*> pointers = PointersTo(records);
    const std::vector<void*> original = pointers;
    compareCalls = 0;
    ASSERT_TRUE(s::col::MergeSort(pointers.data(), 4096, &CompareKeys));
    EXPECT_EQ(pointers, original);
    EXPECT_LT(compareCalls, 2 * 4096);

    // The same for descending order with the descending variant.
    std::reverse(records.begin(), records.end());
    for (int i = 0; i < 4096; ++i)
        records[i].sequence = i;
    std::vector<void*> down = PointersTo(records);
    const std::vector<void*> downOriginal = down;
    compareCalls = 0;
    ASSERT_TRUE(s::col::MergeSort(down.data(), 4096, &CompareKeys, true));
    EXPECT_EQ(down, downOriginal);
    EXPECT_LT(compareCalls, 2 * 4096);
}

class ByKey : public s::base::IComparator
{
public:
    int CompareElements(const void* a, const void* b) const override { return CompareKeys(a, b); }
    // "Ignoring case" here ignores the key's lowest bit, to see which one is used.
    int CompareElementsIgnoreCase(const void* a, const void* b) const override
    {
        const int x = static_cast<const Record*>(a)->key >> 1;
        const int y = static_cast<const Record*>(b)->key >> 1;
        return x < y ? -1 : (x > y ? 1 : 0);
    }
};

TEST(MergeSortTest, ComparatorFormsAndNullComparator)
{
    std::vector<Record> records = {{3, 0}, {2, 1}, {1, 2}, {0, 3}};
    std::vector<void*> p = PointersTo(records);
    ByKey byKey;
    ASSERT_TRUE(s::col::MergeSort(p.data(), 4, &byKey, false, true));
    // Pairs (2,3) and (0,1) are equal ignoring the low bit and keep their order.
    EXPECT_EQ(p, (std::vector<void*>{&records[2], &records[3], &records[0], &records[1]}));
    ASSERT_TRUE(s::col::MergeSort(p.data(), 4, &byKey));
    EXPECT_EQ(p, (std::vector<void*>{&records[3], &records[2], &records[1], &records[0]}));

    const std::vector<void*> before = p;
    EXPECT_FALSE(s::col::MergeSort(p.data(), 4, static_cast<const s::base::IComparator*>(nullptr)));
    EXPECT_FALSE(s::col::MergeSort(p.data(), 4, static_cast<s::col::CompareFunction>(nullptr)));
    EXPECT_EQ(p, before);
}

} // namespace
