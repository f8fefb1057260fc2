#pragma once

#include <cstdint>

// Divides 32-bit numbers by one fixed divisor, truncating toward zero
// exactly as `/` does, with a multiplication in place of the division: a
// drawing divides every coordinate by the zoom, and a division costs several
// times a multiplication. For a divisor d of 2 or more and n below 2^32,
// n / d = floor(n * m / 2^64) with m = floor(2^64 / d) + 1 (or 2^64 / d for
// a power of two): m * d exceeds 2^64 by at most d, and n times that excess
// stays below 2^64, too little to reach the next whole quotient.
class CDivider {
public:
    // `divisor` at least 1.
    explicit CDivider(uint32_t divisor)
        : multiplier(divisor >= 2 ? UINT64_MAX / divisor + 1 : 0)
    {
    }

    int32_t Divide(int32_t n) const
    {
        if (multiplier == 0) // by 1
            return n;
        const uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(int64_t {n}) : uint64_t(n);
        const auto q = static_cast<int32_t>(
            static_cast<uint64_t>((static_cast<unsigned __int128>(magnitude) * multiplier) >> 64));
        return n < 0 ? -q : q;
    }

private:
    uint64_t multiplier;
};
