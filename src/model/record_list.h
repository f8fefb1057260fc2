#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "model/etrec.h"
#include "model/record_vector.h"

// What one look at a run of records learns: the box round their points, how
// many lie on each layer and the highest block number among them.
struct CRecordTally {
    int32_t lowX = INT32_MAX;
    int32_t lowY = INT32_MAX;
    int32_t highX = INT32_MIN;
    int32_t highY = INT32_MIN;
    std::array<int, 16> layerUses {};
    int highestBlock = 0;

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

    CRecordVector records = CRecordVector(kInitialLength);
    int recordCount = 0;
    CRecordVector placement;
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

// Calls f(i) for every index i in [begin, end) whose flag is set, in order,
// and stops after the `limit`-th. A selection is mostly a few records on a
// large sheet: the 64 flags of a cache line that are all clear are passed
// over with a few instructions, and the scan ends at the `limit`-th selected
// record.
template<class F>
void ForEachSelected(
    std::span<const uint8_t> flags, int begin, int end, F&& f, int limit = INT32_MAX)
{
    const int stop = std::min(end, static_cast<int>(flags.size()));
    int i = std::max(begin, 0);
    const uint8_t* data = flags.data();
    int found = 0;
    while (i < stop && found < limit) {
        if (i + 64 <= stop) {
            uint64_t words[8];
            std::memcpy(words, data + i, sizeof words);
            uint64_t any = 0;
            for (const uint64_t w : words)
                any |= w;
            if (any == 0) {
                i += 64;
                continue;
            }
        }
        const int piece = std::min(stop, i + 64);
        for (; i < piece && found < limit; ++i) {
            if (data[i]) {
                ++found;
                f(i);
            }
        }
    }
}

// Copies records into memory that will not be read again soon (an undo
// snapshot). Where the processor allows, the copy bypasses the caches: it
// neither fetches the old contents of the target first nor pushes the
// drawing being worked on out of the caches.
void StreamRecords(CETREC* to, const CETREC* from, size_t count);
// StreamRecords, returning the highest block number of the records copied:
// each piece is looked at while it is in the cache, then streamed.
int StreamRecordsHighestBlock(CETREC* to, const CETREC* from, size_t count);
// StreamRecords, the records copied taken into `tally` on the way.
void StreamRecordsTallied(CETREC* to, const CETREC* from, size_t count, CRecordTally& tally);
