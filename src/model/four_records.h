#pragma once

// Private to the record loops of the model (tally, hit test, tidying): only
// their .cpp files include this header.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/etrec.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Four records in a row as twelve 32-bit words, [styles, x, y] four times,
// for word-wise vector work (minimum, maximum, compare) over whole groups.
struct CFourRecords {
    using CWords = int32_t __attribute__((vector_size(16)));
    CWords words[3];

    static CFourRecords Load(const CETREC* first)
    {
        static_assert(sizeof(CETREC) == 12 && offsetof(CETREC, x) == 4 && offsetof(CETREC, y) == 8);
        CFourRecords four;
        std::memcpy(&four.words, first, sizeof four.words);
        return four;
    }
    static CFourRecords Filled(int32_t v)
    {
        return {{CWords {} + v, CWords {} + v, CWords {} + v}};
    }
    // The same three words four times.
    static CFourRecords Repeated(int32_t styles, int32_t x, int32_t y)
    {
        const int32_t record[3] = {styles, x, y};
        int32_t all[12];
        for (int k = 0; k < 12; ++k)
            all[k] = record[k % 3];
        CFourRecords four;
        std::memcpy(&four.words, all, sizeof four.words);
        return four;
    }
    int32_t X(int q) const { return Word(3 * q + 1); }
    int32_t Y(int q) const { return Word(3 * q + 2); }
    // Of a compare's result (words all ones or all zeros): bit k for word k.
    // Record q's words are 3q (styles), 3q + 1 (x) and 3q + 2 (y); these are
    // the bits of the records' first words.
    static constexpr unsigned kRecordBits = 0x249;
    unsigned Bits() const
    {
#if defined(__SSE2__)
        unsigned bits = 0;
        for (int j = 0; j < 3; ++j) {
            const auto word = reinterpret_cast<__m128i>(words[j]);
            bits |= static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(word))) << (4 * j);
        }
        return bits;
#else
        unsigned bits = 0;
        for (int k = 0; k < 12; ++k)
            bits |= (Word(k) & 1u) << k;
        return bits;
#endif
    }

private:
    int32_t Word(int k) const
    {
        return words[k / 4][k % 4];
    }
};
