#pragma once

// Fills the processor's caches with other data (not to be timed), so that a
// measurement starts as the work does in use: a project is opened, saved or
// copied once, not over and over with its memory still in the caches.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

inline void EvictCaches()
{
    static std::vector<uint8_t> other(96 << 20);
    for (size_t i = 0; i < other.size(); i += 64)
        ++other[i];
    benchmark::DoNotOptimize(other.data());
}
