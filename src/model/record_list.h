#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

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

// What one look at a run of records learns: the box round their points and
// how many lie on each layer.
struct CRecordTally {
    int32_t lowX = INT32_MAX;
    int32_t lowY = INT32_MAX;
    int32_t highX = INT32_MIN;
    int32_t highY = INT32_MIN;
    std::array<int, 16> layerUses {};

    bool Empty() const { return lowX > highX; }
    void Take(std::span<const CETREC> records);
    // Takes those of the records in use (1 to recordCount - 1) that lie in a
    // piece of the array starting at index `first`.
    void TakeInUse(size_t first, std::span<const CETREC> piece, int recordCount);
};

// A sheet's display list with the two arrays that share its length: the
// selection flags, always, and the placement buffer, which takes no memory
// until something is placed through it and from then on follows the length.
// Record 0 is an all-zero sentinel; the records in use are 1 to
// recordCount - 1, and the array is always longer than that.
struct CRecordList {
    static constexpr int kInitialLength = 2000;
    static constexpr int kGrowth = 1000;
    static constexpr int kMinSpare = 10;

    std::vector<CETREC> records = std::vector<CETREC>(kInitialLength);
    int recordCount = 0;
    std::vector<CETREC> placement;
    int placementCount = 0;
    std::vector<uint8_t> selectionFlags = std::vector<uint8_t>(kInitialLength);
    int selectedCount = 0;

    int Length() const { return static_cast<int>(records.size()); }
    // Resizes the arrays together; new elements are zero.
    void ResizeArrays(int length);
    // Gives the placement buffer the length of the record array, before
    // anything is placed through it.
    void ReadyPlacement();
    // Before records are added: grows by 1000 while fewer than `needed`
    // (at least 10) spare records remain.
    void EnsureSpare(int needed = kMinSpare);
    // Appends a record after the last one in use.
    void Append(const CETREC& r);
    // The records in use, looked at once.
    CRecordTally Tally() const;

    // The first record of the figure that holds record i.
    int FigureStart(int i) const;
    // The last record of the figure that holds record i; a record past the
    // last one in use ends a figure.
    int FigureEnd(int i) const;

    // "Record:%d/%d Layer:%d Pen:%d Blok:%d" for record i.
    std::string DebugStatus(int i) const;
};

// Copies records into memory that will not be read again soon (an undo
// snapshot). Where the processor allows, the copy bypasses the caches: it
// neither fetches the old contents of the target first nor pushes the
// drawing being worked on out of the caches.
void StreamRecords(CETREC* to, const CETREC* from, size_t count);

// Builds an ellipse in the given bounding rectangle as a closed polyline:
// a move to the bottom of the ellipse, then one point every s degrees round
// to 360. Appends to `out` and returns false (nothing appended) when a
// semi-axis is below 16 micrometres.
bool BuildEllipseRecords(int left, int top, int right, int bottom, int layer, int pen, bool filled,
    std::vector<CETREC>& out);

// The angle step of an ellipse with the larger semi-axis r, in degrees.
int EllipseAngleStep(int r);

// The five records of a rectangle, appended to `out`.
void BuildRectangleRecords(
    int left, int top, int right, int bottom, int layer, int pen, std::vector<CETREC>& out);

// Degrees to radians, with the factor the drawings were always made with.
inline constexpr double kRadiansPerDegree = 0.017453292519944444;
