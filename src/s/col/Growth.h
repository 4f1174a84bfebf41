#pragma once
// The one growth rule of the library's growable storage (arrays and strings).
//
// From capacity k the next capacity is: 100 below 100; 3k up to 9,999,999;
// 2k up to 49,999,999; 1.5k up to 99,999,999; 1.2k above (truncated), never
// beyond 0xFFFFFFFF.

#include <cstdint>

namespace s::col {

constexpr uint32_t NextCapacity(uint32_t k)
{
    uint64_t next;
    if (k < 100)
        next = 100;
    else if (k <= 9999999u)
        next = uint64_t(k) * 3;
    else if (k <= 49999999u)
        next = uint64_t(k) * 2;
    else if (k <= 99999999u)
        next = uint64_t(k) * 3 / 2;
    else
        next = uint64_t(k) * 6 / 5;
    if (next <= k)  // only at the very top of the range
        next = uint64_t(k) + 1;
    return next > 0xFFFFFFFFull ? 0xFFFFFFFFu : uint32_t(next);
}

/// Steps of the growth rule from `capacity` until `needed` fits.
constexpr uint32_t CapacityFor(uint32_t capacity, uint32_t needed)
{
    while (capacity < needed && capacity != 0xFFFFFFFFu)
        capacity = NextCapacity(capacity);
    return capacity;
}

} // namespace s::col
