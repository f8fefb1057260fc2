#include "model/record_list.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#include <immintrin.h>
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

namespace {

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define RIDIZAV_WIDE_TALLY 1
// Sixteen records at a time with 512-bit vectors, on processors that have
// them: sixteen records are three vectors of sixteen words. The bounds are
// word-wise minimum and maximum, the x and y words picked out after. The
// records' first words (block and style) are gathered into one vector; from
// it the highest block and, per record, a one in the four-bit counter of its
// layer: layers 0 to 7 in one vector, 8 to 15 in another. The four-bit
// counters are emptied into byte counters every 15 rounds, those into the
// tally every 255.
// GCC 12 warns of the undefined vectors inside its own 512-bit minimum and
// maximum.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
template<bool kStream>
__attribute__((target("avx512f"))) size_t TakeWide(
    CRecordTally& tally, const CETREC* records, size_t n, CETREC* to = nullptr)
{
    static_assert(sizeof(CETREC) == 12 && offsetof(CETREC, blockWord) == 0
        && offsetof(CETREC, styleWord) == 2);
    const size_t groups = n / 16;
    if (groups == 0)
        return 0;
    const __m512i firstOfAB
        = _mm512_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 0, 0, 0, 0, 0);
    const __m512i firstOfC = _mm512_setr_epi32(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 4, 7, 10, 13);
    const __m512i blockMask = _mm512_set1_epi32(CETREC::kBlockMask);
    const __m512i shiftMask = _mm512_set1_epi32(7 << 2); // (layer & 7) * 4, layer in bits 19-22
    const __m512i highLayer = _mm512_set1_epi32(1 << 22);
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i nibbles = _mm512_set1_epi32(0x0F0F0F0F);
    __m512i low[3], high[3];
    for (int v = 0; v < 3; ++v) {
        low[v] = _mm512_set1_epi32(INT32_MAX);
        high[v] = _mm512_set1_epi32(INT32_MIN);
    }
    __m512i block = _mm512_setzero_si512();
    const auto* words = reinterpret_cast<const int32_t*>(records);
    size_t g = 0;
    while (g < groups) {
        // Byte counters: even and odd layers of 0 to 7, of 8 to 15.
        __m512i bytes[4] = {_mm512_setzero_si512(), _mm512_setzero_si512(), _mm512_setzero_si512(),
            _mm512_setzero_si512()};
        for (int emptied = 0; emptied < 17 && g < groups; ++emptied) {
            __m512i lower = _mm512_setzero_si512();
            __m512i upper = _mm512_setzero_si512();
            for (const size_t end = std::min(groups, g + 15); g < end; ++g) {
                const int32_t* p = words + g * 48;
                const __m512i a = _mm512_loadu_si512(p);
                const __m512i b = _mm512_loadu_si512(p + 16);
                const __m512i c = _mm512_loadu_si512(p + 32);
                if constexpr (kStream) {
                    auto* q = reinterpret_cast<int32_t*>(to) + g * 48;
                    _mm512_stream_si512(reinterpret_cast<__m512i*>(q), a);
                    _mm512_stream_si512(reinterpret_cast<__m512i*>(q + 16), b);
                    _mm512_stream_si512(reinterpret_cast<__m512i*>(q + 32), c);
                }
                low[0] = _mm512_min_epi32(low[0], a);
                low[1] = _mm512_min_epi32(low[1], b);
                low[2] = _mm512_min_epi32(low[2], c);
                high[0] = _mm512_max_epi32(high[0], a);
                high[1] = _mm512_max_epi32(high[1], b);
                high[2] = _mm512_max_epi32(high[2], c);
                const __m512i firsts = _mm512_mask_permutexvar_epi32(
                    _mm512_permutex2var_epi32(a, firstOfAB, b), 0xF800, firstOfC, c);
                block = _mm512_max_epu32(block, _mm512_and_si512(firsts, blockMask));
                const __m512i counter = _mm512_sllv_epi32(
                    one, _mm512_and_si512(_mm512_srli_epi32(firsts, 17), shiftMask));
                const __mmask16 upperLayers = _mm512_test_epi32_mask(firsts, highLayer);
                lower = _mm512_mask_add_epi32(
                    lower, static_cast<__mmask16>(~upperLayers), lower, counter);
                upper = _mm512_mask_add_epi32(upper, upperLayers, upper, counter);
            }
            bytes[0] = _mm512_add_epi32(bytes[0], _mm512_and_si512(lower, nibbles));
            bytes[1] = _mm512_add_epi32(
                bytes[1], _mm512_and_si512(_mm512_srli_epi32(lower, 4), nibbles));
            bytes[2] = _mm512_add_epi32(bytes[2], _mm512_and_si512(upper, nibbles));
            bytes[3] = _mm512_add_epi32(
                bytes[3], _mm512_and_si512(_mm512_srli_epi32(upper, 4), nibbles));
        }
        for (int k = 0; k < 4; ++k) {
            alignas(64) uint8_t counts[64];
            _mm512_store_si512(counts, bytes[k]);
            // Byte j of a word counts layer 2j (k even) or 2j + 1, plus 8 for k >= 2.
            for (int j = 0; j < 4; ++j) {
                int sum = 0;
                for (int lane = 0; lane < 16; ++lane)
                    sum += counts[lane * 4 + j];
                tally.layerUses[size_t((k >> 1) * 8 + 2 * j + (k & 1))] += sum;
            }
        }
    }
    // Word w of the sixteen records is an x word when w % 3 == 1, a y word
    // when w % 3 == 2.
    for (int v = 0; v < 3; ++v) {
        alignas(64) int32_t lows[16], highs[16];
        _mm512_store_si512(lows, low[v]);
        _mm512_store_si512(highs, high[v]);
        for (int lane = 0; lane < 16; ++lane) {
            const int kind = (v * 16 + lane) % 3;
            if (kind == 1) {
                tally.lowX = std::min(tally.lowX, lows[lane]);
                tally.highX = std::max(tally.highX, highs[lane]);
            } else if (kind == 2) {
                tally.lowY = std::min(tally.lowY, lows[lane]);
                tally.highY = std::max(tally.highY, highs[lane]);
            }
        }
    }
    tally.highestBlock
        = std::max(tally.highestBlock, static_cast<int>(_mm512_reduce_max_epu32(block)));
    return groups * 16;
}
#pragma GCC diagnostic pop

bool HasWideVectors()
{
    static const bool has = __builtin_cpu_supports("avx512f");
    return has;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// Processors with AVX2 take the signed minimum and maximum in one
// instruction; the baseline needs several.
__attribute__((target_clones("avx2", "default")))
#endif
void TakeFour(CRecordTally& tally, std::span<const CETREC> records)
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
    uint16_t blocks[4] = {};
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
        for (size_t k = 0; k < 8; ++k) {
            blocks[k % 4]
                = std::max<uint16_t>(blocks[k % 4], records[i + k].blockWord & CETREC::kBlockMask);
        }
        ++pairs[0][records[i].Layer() | records[i + 1].Layer() << 4];
        ++pairs[1][records[i + 2].Layer() | records[i + 3].Layer() << 4];
        ++pairs[2][records[i + 4].Layer() | records[i + 5].Layer() << 4];
        ++pairs[3][records[i + 6].Layer() | records[i + 7].Layer() << 4];
    }
    const CFourRecords low {{low0, low1, low2}};
    const CFourRecords high {{high0, high1, high2}};
    for (int q = 0; q < 4; ++q) {
        tally.lowX = std::min(tally.lowX, low.X(q));
        tally.lowY = std::min(tally.lowY, low.Y(q));
        tally.highX = std::max(tally.highX, high.X(q));
        tally.highY = std::max(tally.highY, high.Y(q));
        tally.highestBlock = std::max<int>(tally.highestBlock, blocks[q]);
    }
    for (; i < n; ++i) {
        tally.lowX = std::min(tally.lowX, records[i].x);
        tally.lowY = std::min(tally.lowY, records[i].y);
        tally.highX = std::max(tally.highX, records[i].x);
        tally.highY = std::max(tally.highY, records[i].y);
        tally.highestBlock = std::max(tally.highestBlock, records[i].Block());
        ++tally.layerUses[size_t(records[i].Layer())];
    }
    for (size_t pair = 0; pair < 256; ++pair) {
        const int count = pairs[0][pair] + pairs[1][pair] + pairs[2][pair] + pairs[3][pair];
        tally.layerUses[pair & 15] += count;
        tally.layerUses[pair >> 4] += count;
    }
}

} // namespace

void CRecordTally::Take(std::span<const CETREC> records)
{
#if defined(RIDIZAV_WIDE_TALLY)
    if (HasWideVectors())
        records = records.subspan(TakeWide<false>(*this, records.data(), records.size()));
#endif
    TakeFour(*this, records);
}

void StreamRecordsTallied(CETREC* to, const CETREC* from, size_t count, CRecordTally& tally)
{
    size_t done = 0;
#if defined(RIDIZAV_WIDE_TALLY)
    if (HasWideVectors()) {
        // Up to the first record that starts on a 64-byte boundary of the
        // target as usual (one of the first sixteen does, in a 4-byte
        // aligned target); from there sixteen records at a time, each loaded
        // once, streamed past the caches and tallied.
        size_t head = 0;
        while (
            head < std::min<size_t>(count, 16) && reinterpret_cast<uintptr_t>(to + head) % 64 != 0)
            ++head;
        if (reinterpret_cast<uintptr_t>(to + head) % 64 == 0) {
            std::memcpy(to, from, head * sizeof(CETREC));
            TakeFour(tally, std::span<const CETREC>(from, head));
            done = head + TakeWide<true>(tally, from + head, count - head, to + head);
            _mm_sfence();
        }
    }
#endif
    // Otherwise a piece at a time: streamed, then tallied while it is still
    // in the cache.
    constexpr size_t kPiece = 16384;
    while (done < count) {
        const size_t n = std::min(kPiece, count - done);
        StreamRecords(to + done, from + done, n);
        tally.Take(std::span<const CETREC>(from + done, n));
        done += n;
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
