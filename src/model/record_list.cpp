#include "model/record_list.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "model/four_records.h"

void CRecordList::ResizeArrays(int length)
{
    records.resize(length);
    selectionFlags.resize(length);
    if (!placement.empty())
        placement.resize(length);
}

void CRecordList::ReadyPlacement()
{
    if (placement.size() != records.size())
        placement.resize(records.size());
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// Processors with AVX2 take the signed minimum and maximum in one
// instruction; the baseline needs several.
__attribute__((target_clones("avx2", "default")))
#endif
void CRecordTally::Take(std::span<const CETREC> records)
{
    // Four records are three vectors of four words. Word-wise bounds keep the
    // loop to plain vector minimum and maximum, each vector with its own, so
    // that nothing goes through memory; the x and y words are picked out
    // after. The layers are counted in pairs of records: half the counts, on
    // four tables so that neighbouring pairs, mostly on the same layers, do
    // not wait for each other's count.
    using CWords = CFourRecords::CWords;
    const size_t n = records.size();
    const CFourRecords lowStart = CFourRecords::Filled(INT32_MAX);
    const CFourRecords highStart = CFourRecords::Filled(INT32_MIN);
    CWords low0 = lowStart.words[0], low1 = lowStart.words[1], low2 = lowStart.words[2];
    CWords high0 = highStart.words[0], high1 = highStart.words[1], high2 = highStart.words[2];
    int pairs[4][256] = {};
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        for (size_t half = 0; half < 8; half += 4) {
            const CFourRecords four = CFourRecords::Load(&records[i + half]);
            const CWords a = four.words[0], b = four.words[1], c = four.words[2];
            low0 = a < low0 ? a : low0;
            low1 = b < low1 ? b : low1;
            low2 = c < low2 ? c : low2;
            high0 = a > high0 ? a : high0;
            high1 = b > high1 ? b : high1;
            high2 = c > high2 ? c : high2;
        }
        ++pairs[0][records[i].Layer() | records[i + 1].Layer() << 4];
        ++pairs[1][records[i + 2].Layer() | records[i + 3].Layer() << 4];
        ++pairs[2][records[i + 4].Layer() | records[i + 5].Layer() << 4];
        ++pairs[3][records[i + 6].Layer() | records[i + 7].Layer() << 4];
    }
    const CFourRecords low {{low0, low1, low2}};
    const CFourRecords high {{high0, high1, high2}};
    for (int q = 0; q < 4; ++q) {
        lowX = std::min(lowX, low.X(q));
        lowY = std::min(lowY, low.Y(q));
        highX = std::max(highX, high.X(q));
        highY = std::max(highY, high.Y(q));
    }
    for (; i < n; ++i) {
        lowX = std::min(lowX, records[i].x);
        lowY = std::min(lowY, records[i].y);
        highX = std::max(highX, records[i].x);
        highY = std::max(highY, records[i].y);
        ++layerUses[size_t(records[i].Layer())];
    }
    for (size_t pair = 0; pair < 256; ++pair) {
        const int count = pairs[0][pair] + pairs[1][pair] + pairs[2][pair] + pairs[3][pair];
        layerUses[pair & 15] += count;
        layerUses[pair >> 4] += count;
    }
}

void CRecordTally::TakeInUse(size_t first, std::span<const CETREC> piece, int recordCount)
{
    const size_t from = std::max<size_t>(first, 1);
    const size_t to = std::min(first + piece.size(), static_cast<size_t>(std::max(recordCount, 0)));
    if (from < to)
        Take(piece.subspan(from - first, to - from));
}

void StreamRecords(CETREC* to, const CETREC* from, size_t count)
{
    if (count == 0)
        return; // empty arrays may have no memory at all
    auto* target = reinterpret_cast<unsigned char*>(to);
    const auto* source = reinterpret_cast<const unsigned char*>(from);
    size_t bytes = count * sizeof(CETREC);
#if defined(__SSE2__)
    // Up to the first 16-byte boundary of the target as usual, then 64
    // bytes at a time with streaming stores.
    const size_t head = std::min(bytes, (16 - reinterpret_cast<uintptr_t>(target) % 16) % 16);
    std::memcpy(target, source, head);
    target += head;
    source += head;
    bytes -= head;
    for (; bytes >= 64; bytes -= 64, target += 64, source += 64) {
        for (int j = 0; j < 64; j += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + j));
            _mm_stream_si128(reinterpret_cast<__m128i*>(target + j), v);
        }
    }
    _mm_sfence();
#endif
    std::memcpy(target, source, bytes);
}

int StreamRecordsHighestBlock(CETREC* to, const CETREC* from, size_t count)
{
    static_assert(sizeof(CETREC) == 12 && offsetof(CETREC, blockWord) == 0);
    uint16_t highest = 0;
    size_t done = 0;
#if defined(__SSE2__)
    if (reinterpret_cast<uintptr_t>(to) % 16 == 0) {
        // Four records are three 16-byte pieces, with their block words in
        // 16-bit lanes 0 and 6 of the first, 4 of the second and 2 of the
        // third: the pieces loaded to be streamed are looked at on the way.
        constexpr short kMask = CETREC::kBlockMask;
        const __m128i mask0 = _mm_setr_epi16(kMask, 0, 0, 0, 0, 0, kMask, 0);
        const __m128i mask1 = _mm_setr_epi16(0, 0, 0, 0, kMask, 0, 0, 0);
        const __m128i mask2 = _mm_setr_epi16(0, 0, kMask, 0, 0, 0, 0, 0);
        // One running maximum per piece, so that no maximum waits for another.
        __m128i high0 = _mm_setzero_si128();
        __m128i high1 = _mm_setzero_si128();
        __m128i high2 = _mm_setzero_si128();
        auto* target = reinterpret_cast<__m128i*>(to);
        const auto* source = reinterpret_cast<const __m128i*>(from);
        for (; done + 4 <= count; done += 4, target += 3, source += 3) {
            const __m128i a = _mm_loadu_si128(source);
            const __m128i b = _mm_loadu_si128(source + 1);
            const __m128i c = _mm_loadu_si128(source + 2);
            _mm_stream_si128(target, a);
            _mm_stream_si128(target + 1, b);
            _mm_stream_si128(target + 2, c);
            high0 = _mm_max_epi16(high0, _mm_and_si128(a, mask0));
            high1 = _mm_max_epi16(high1, _mm_and_si128(b, mask1));
            high2 = _mm_max_epi16(high2, _mm_and_si128(c, mask2));
        }
        _mm_sfence();
        const __m128i high = _mm_max_epi16(high0, _mm_max_epi16(high1, high2));
        alignas(16) int16_t lanes[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), high);
        for (const int16_t lane : lanes)
            highest = std::max(highest, static_cast<uint16_t>(lane));
    }
#endif
    for (; done < count; ++done) {
        highest = std::max<uint16_t>(highest, from[done].blockWord & CETREC::kBlockMask);
        to[done] = from[done];
    }
    return highest;
}

CRecordTally CRecordList::Tally() const
{
    CRecordTally tally;
    tally.TakeInUse(0, records, recordCount);
    return tally;
}

void CRecordList::EnsureSpare(int needed)
{
    needed = std::max(needed, kMinSpare);
    int length = Length();
    while (length - recordCount < needed)
        length += kGrowth;
    if (length != Length())
        ResizeArrays(length);
}

void CRecordList::Append(const CETREC& r)
{
    if (recordCount < 1)
        recordCount = 1; // the sentinel comes first
    EnsureSpare();
    records[recordCount++] = r;
}

int CRecordList::FigureStart(int i) const
{
    while (i > 0 && records[i].Pen() != 0)
        --i;
    return i;
}

int CRecordList::FigureEnd(int i) const
{
    const int last = recordCount - 1;
    if (i >= last)
        return i;
    int k = i + 1;
    while (k <= last && !records[k].IsJunction() && records[k].Pen() != 0)
        ++k;
    return k - 1;
}

std::string CRecordList::DebugStatus(int i) const
{
    const CETREC& r = records[i];
    const int pen = r.IsJunction() ? -1 : r.Pen();
    char text[96];
    std::snprintf(text, sizeof text, "Record:%d/%d Layer:%d Pen:%d Blok:%d", i, recordCount - 1,
        r.Layer(), pen, r.Block());
    return text;
}
