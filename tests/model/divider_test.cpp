#include "model/divider.h"

#include <climits>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>

TEST(Divider, DividesAsTheOperatorDoes)
{
    // Zooms of the drawing, powers of two and the largest divisors, against
    // the numbers where a quotient changes (multiples and their
    // neighbours), the extremes and random numbers.
    const uint32_t divisors[] = {1, 2, 3, 7, 10, 100, 219, 1000, 4096, 12345, 65537, 1u << 20,
        123456789, 1u << 30, INT32_MAX - 1, INT32_MAX};
    std::mt19937 random(3);
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    for (const uint32_t d : divisors) {
        const CDivider divider(d);
        const auto sd = static_cast<int32_t>(d);
        std::vector<int32_t> numbers {0, 1, -1, INT32_MAX, INT32_MIN, INT32_MIN + 1, INT32_MAX - 1};
        for (const int64_t k : {int64_t {1}, int64_t {2}, int64_t {5}, int64_t {INT32_MAX} / d}) {
            for (const int64_t delta : {-1, 0, 1}) {
                for (const int64_t sign : {-1, 1}) {
                    const int64_t n = sign * (k * d + delta);
                    if (n >= INT32_MIN && n <= INT32_MAX)
                        numbers.push_back(static_cast<int32_t>(n));
                }
            }
        }
        for (int i = 0; i < 2000; ++i)
            numbers.push_back(any(random));
        for (const int32_t n : numbers) {
            const int32_t expected = d == 1 ? n : n / sd;
            ASSERT_EQ(divider.Divide(n), expected) << n << " / " << d;
        }
    }
}
