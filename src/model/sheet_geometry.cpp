#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "model/four_records.h"
#include "model/sheet.h"

namespace {

// Pixel boxes of the hit tests: the pointer's pixel (rounded to nearest)
// plus and minus this many pixels.
constexpr int64_t kHitPixels = 4;

// The micrometre span whose pixels (x / zoom, truncated toward zero) lie in
// low ... high. Truncation never decreases, so the span is one interval and
// the hit tests compare micrometres without dividing every record.
struct CSpan {
    int64_t low = 0;
    int64_t high = 0;
    bool Holds(int64_t v) const { return low <= v && v <= high; }
};

CSpan PixelSpan(int64_t low, int64_t high, int64_t zoom)
{
    return {low > 0 ? low * zoom : (low - 1) * zoom + 1,
        high >= 0 ? (high + 1) * zoom - 1 : high * zoom};
}

// The pointer's pixel, rounded to nearest as the view does.
int64_t PointerPixel(int64_t v, int64_t zoom)
{
    return (v + zoom / 2) / zoom;
}

// Whether the segment (x1, y1)-(x2, y2) crosses the box, all in pixels.
// Besides the box lying beside the segment, a box above or below it is left
// out as well: the line through a steep segment would otherwise "hit"
// clicks far beyond the segment's ends.
bool SegmentCrossesBox(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t left, int64_t top,
    int64_t right, int64_t bottom)
{
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (right < x1 || x2 < left)
        return false;
    if (std::max(y1, y2) < top || bottom < std::min(y1, y2))
        return false;
    if (x1 == x2)
        return left < x1 && x1 < right && std::min(y1, y2) < top && std::max(y1, y2) > bottom;
    const double m = static_cast<double>(y1 - y2) / static_cast<double>(x1 - x2);
    const double o = static_cast<double>(y1) - static_cast<double>(x1) * m;
    auto between = [](double v, int64_t low, int64_t high) {
        return static_cast<double>(low) < v && v < static_cast<double>(high);
    };
    if (between(m * static_cast<double>(left) + o, top, bottom)
        || between(m * static_cast<double>(right) + o, top, bottom))
        return true;
    if (m == 0.0)
        return false;
    return between((static_cast<double>(top) - o) / m, left, right)
        || between((static_cast<double>(bottom) - o) / m, left, right);
}

// Whether each of the segments that end at the four records from `first`
// on, each drawn from the record before it, lies wholly beyond one side of
// the box `low` ... `high` (x and y words; the style words never count).
bool SegmentsBeyond(const CETREC* first, const CFourRecords& low, const CFourRecords& high)
{
    const CFourRecords ends = CFourRecords::Load(first);
    const CFourRecords starts = CFourRecords::Load(first - 1);
    CFourRecords beyond;
    for (int j = 0; j < 3; ++j) {
        beyond.words[j] = ((ends.words[j] < low.words[j]) & (starts.words[j] < low.words[j]))
            | ((ends.words[j] > high.words[j]) & (starts.words[j] > high.words[j]));
    }
    // A record's x or y word, moved down onto its first word.
    const unsigned bits = beyond.Bits();
    constexpr unsigned kAll = CFourRecords::kRecordBits;
    return ((bits >> 1 | bits >> 2) & kAll) == kAll;
}

int32_t ToWord(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Appends a record that starts unselected.
void AppendUnselected(CSheet& s, const CETREC& r)
{
    s.Append(r);
    uint8_t& flag = s.selectionFlags[s.recordCount - 1];
    if (flag) {
        flag = 0;
        --s.selectedCount;
    }
}

} // namespace

CPoint CSheet::Extents()
{
    return Extents(Tally());
}

CPoint CSheet::Extents(const CRecordTally& records)
{
    int64_t lowX = INT64_MAX, lowY = INT64_MAX, highX = INT64_MIN, highY = INT64_MIN;
    auto take = [&](int64_t x, int64_t y) {
        lowX = std::min(lowX, x);
        lowY = std::min(lowY, y);
        highX = std::max(highX, x);
        highY = std::max(highY, y);
    };
    if (!records.Empty()) {
        take(records.lowX, records.lowY);
        take(records.highX, records.highY);
    }
    for (int i = 0; i < pictures->GetSize(); ++i) {
        const CRect& r = pictures->At(i).placementRect;
        take(r.left, r.top);
        take(r.right, r.bottom);
    }
    if (lowX > highX) {
        sheetExtent = {};
        return {};
    }
    sheetExtent = {0, 0, static_cast<int32_t>(std::min<int64_t>(highX - lowX, INT32_MAX)),
        static_cast<int32_t>(std::min<int64_t>(highY - lowY, INT32_MAX))};
    return {static_cast<int32_t>(lowX), static_cast<int32_t>(lowY)};
}

int CSheet::HitFigure(int x, int y)
{
    const int64_t z = std::max(zoom, 1);
    const int64_t px = PointerPixel(x, z);
    const int64_t py = PointerPixel(y, z);
    // A point is in the box when its pixel lies in px - 4 ... px + 3: the
    // box's left and top edges count, its right and bottom edges do not.
    const CSpan pointX = PixelSpan(px - kHitPixels, px + kHitPixels - 1, z);
    const CSpan pointY = PixelSpan(py - kHitPixels, py + kHitPixels - 1, z);
    const CSpan boxX = PixelSpan(px - kHitPixels, px + kHitPixels, z);
    const CSpan boxY = PixelSpan(py - kHitPixels, py + kHitPixels, z);

    // Groups of four records whose segments all lie beyond a side of the
    // box are passed over with a few word-wise compares. Clamped to 32 bits
    // the box can only grow, which keeps the test on the safe side.
    const CFourRecords low = CFourRecords::Repeated(INT32_MIN, ToWord(boxX.low), ToWord(boxY.low));
    const CFourRecords high
        = CFourRecords::Repeated(INT32_MAX, ToWord(boxX.high), ToWord(boxY.high));
    for (int d = recordCount - 1; d >= 1; --d) {
        if (d >= 4 && SegmentsBeyond(records.data() + d - 3, low, high)) {
            d -= 3;
            continue;
        }
        const CETREC& r = records[d];
        if (!IsLineRecord(r) || !layers.IsVisible(r.Layer()))
            continue;
        const CETREC& p = records[d - 1];
        if (pointX.Holds(r.x) && pointY.Holds(r.y)) {
            currentRecord = d;
            const bool ends = d + 1 >= recordCount || records[d + 1].StartsFigure();
            hitCode = ends ? kHitLastPoint : kHitVertex;
            return d;
        }
        if (pointX.Holds(p.x) && pointY.Holds(p.y)) {
            currentRecord = d - 1;
            hitCode = kHitVertex;
            return d - 1;
        }
        // Only segments whose extent meets the box are worth the exact test.
        if (std::max(r.x, p.x) < boxX.low || std::min(r.x, p.x) > boxX.high
            || std::max(r.y, p.y) < boxY.low || std::min(r.y, p.y) > boxY.high)
            continue;
        if (SegmentCrossesBox(p.x / z, p.y / z, r.x / z, r.y / z, px - kHitPixels, py - kHitPixels,
                px + kHitPixels, py + kHitPixels)) {
            currentRecord = d;
            hitCode = kHitSegment;
            return d;
        }
    }
    hitCode = 0;
    return 0;
}

int CSheet::FindJunction(int x, int y) const
{
    const int64_t z = std::max(zoom, 1);
    const int64_t px = PointerPixel(x, z);
    const int64_t py = PointerPixel(y, z);
    const CSpan spanX = PixelSpan(px - kHitPixels, px + kHitPixels, z);
    const CSpan spanY = PixelSpan(py - kHitPixels, py + kHitPixels, z);
    for (int i = recordCount - 1; i >= 1; --i) {
        const CETREC& r = records[i];
        if (r.IsJunction() && spanX.Holds(r.x) && spanY.Holds(r.y))
            return i;
    }
    return 0;
}

int CSheet::LayerOf(int i) const
{
    if (i < 1 || i >= recordCount)
        return -1;
    return records[i].Layer();
}

int CSheet::PenOf(int i) const
{
    if (i < 1 || i >= recordCount || records[i].IsJunction())
        return -1;
    return records[i].Pen();
}

int CSheet::NextVisible(bool forward)
{
    const int step = forward ? 1 : -1;
    for (int i = currentRecord + step; i >= 1 && i < recordCount; i += step) {
        if (layers.IsVisible(records[i].Layer())) {
            currentRecord = i;
            return i;
        }
    }
    return 0;
}

void CSheet::InsertAtCurrent()
{
    if (recordCount < 1)
        recordCount = 1;
    if (currentRecord < 1 || currentRecord > recordCount)
        return;
    EnsureSpare();
    const int at = currentRecord;
    std::copy_backward(
        records.begin() + at, records.begin() + recordCount, records.begin() + recordCount + 1);
    std::copy_backward(selectionFlags.begin() + at, selectionFlags.begin() + recordCount,
        selectionFlags.begin() + recordCount + 1);
    selectionFlags[at] = 0; // the flag moved up with its record; the copy is new
    ++recordCount;
}

void CSheet::StartLine(CPoint from)
{
    AppendUnselected(*this, CETREC::Make(from.x, from.y, activeLayer, 0));
    AppendUnselected(*this, CETREC::Make(cursor.x, cursor.y, activeLayer, activePen));
    currentRecord = recordCount - 1;
}

void CSheet::AddVertex(CPoint p)
{
    AppendUnselected(*this, CETREC::Make(p.x, p.y, activeLayer, activePen));
    currentRecord = recordCount - 1;
}

void CSheet::DeleteRecord(int i)
{
    if (i < 1 || i >= recordCount)
        return;
    // The flags move with their records, and the vacated slots are zeroed:
    // a stale copy there would be read as the next record appended.
    if (selectionFlags[i])
        --selectedCount;
    std::copy(records.begin() + i + 1, records.begin() + recordCount, records.begin() + i);
    std::copy(selectionFlags.begin() + i + 1, selectionFlags.begin() + recordCount,
        selectionFlags.begin() + i);
    --recordCount;
    records[recordCount] = CETREC {};
    selectionFlags[recordCount] = 0;
    if (currentRecord >= recordCount)
        currentRecord = recordCount - 1;
}

void CSheet::SetRecordLayer(int i, int layer)
{
    if (i >= 1 && i < recordCount)
        records[i].SetLayer(layer);
}

void CSheet::SetFigureLayer(int i, int layer)
{
    if (i < 1 || i >= recordCount)
        return;
    const int end = FigureEnd(i);
    for (int k = std::max(FigureStart(i), 1); k <= end; ++k)
        records[k].SetLayer(layer);
}

void CSheet::SetRecordPen(int i, int pen)
{
    if (i >= 1 && i < recordCount)
        records[i].SetPen(pen);
}

int CSheet::ToggleJunction()
{
    if (const int j = FindJunction(cursor.x, cursor.y)) {
        DeleteRecord(j);
        PushUndo();
        return 0;
    }
    AppendUnselected(*this, CETREC::Junction(cursor.x, cursor.y, activeLayer));
    currentRecord = recordCount - 1;
    PushUndo();
    return 1;
}

int CSheet::FillFigure()
{
    if (currentRecord < 1 || currentRecord >= recordCount)
        return 0;
    const int s = std::max(FigureStart(currentRecord), 1);
    int e = FigureEnd(currentRecord);
    if (e <= s)
        return 0;
    if (records[e].x != records[s].x || records[e].y != records[s].y) {
        currentRecord = e;
        InsertAtCurrent();
        currentRecord = ++e;
    }
    for (int k = s; k <= e; ++k) {
        CETREC& r = records[k];
        r.SetFilled(true);
        r.SetLayer(activeLayer);
        r.SetPen(k == s ? 0 : fillPattern);
    }
    return 1;
}

int CSheet::ClearSelection()
{
    const int previous = selectedCount;
    std::fill(selectionFlags.begin(), selectionFlags.end(), 0);
    selectedCount = 0;
    Normalize(0, 0);
    return previous;
}

namespace {

// How straight a segment is, and whether the point between two segments
// goes: one without length always, a straight one when it continues the
// segment before it in the same direction.
enum SegmentKind { kDiagonal = 0, kVertical = 1, kHorizontal = 2, kNoLength = 3 };

int KindOf(const CETREC& a, const CETREC& b)
{
    return (a.x == b.x ? kVertical : kDiagonal) | (a.y == b.y ? kHorizontal : kDiagonal);
}

bool Drops(int kind, int previous)
{
    return kind == kNoLength || (kind != kDiagonal && kind == previous);
}

// Tidies records k ... n - 1 in place: a record in the middle of a straight
// horizontal or vertical run, and the first of two equal points, are
// dropped. Each segment is judged with the one before it as they stood
// before anything was dropped, and a figure's first segment sets no
// direction, so its far point always stays. The pass stops before the first
// figure whose tidied index would pass `to`. With kFlags the selection
// flags move with their records.
struct CTidied {
    int write; // the index after the last record kept
    int stop; // the first record not looked at
    int selected; // selected records dropped
};

template<bool kFlags> CTidied TidyRecords(CETREC* records, uint8_t* flags, int k, int n, int to)
{
    int write = k;
    int previous = kDiagonal;
    int selected = 0;
    bool line = k < n && CSheet::IsLineRecord(records[k]);
    for (; k < n; ++k) {
        const CETREC& r = records[k];
        const bool nextLine = k + 1 < n && CSheet::IsLineRecord(records[k + 1]);
        bool drop = false;
        if (!line) {
            if (write > to)
                break;
            previous = kDiagonal; // a figure starts: its first segment sets none
        } else if (nextLine) {
            const int kind = KindOf(r, records[k + 1]);
            drop = Drops(kind, previous);
            previous = kind;
        }
        line = nextLine;
        if (drop) {
            if constexpr (kFlags)
                selected += flags[k];
            continue;
        }
        if (write != k) {
            records[write] = r;
            if constexpr (kFlags)
                flags[write] = flags[k];
        }
        ++write;
    }
    return {write, k, selected};
}

// Whether record k goes when the whole list from `start` is tidied: the
// rule above depends only on the record's neighbours, so each record can be
// judged on its own.
bool DropsAt(const CETREC* records, int k, int n, int start)
{
    if (k + 1 >= n || !CSheet::IsLineRecord(records[k]) || !CSheet::IsLineRecord(records[k + 1]))
        return false;
    const bool segmentBefore = k > start && CSheet::IsLineRecord(records[k - 1]);
    const int previous = segmentBefore ? KindOf(records[k - 1], records[k]) : kDiagonal;
    return Drops(KindOf(records[k], records[k + 1]), previous);
}

// TidyRecords for the whole list from k on. Groups of four records that
// cannot lose a record (no segment without length, no straight segment
// continuing the one before) are passed over at the price of one compare;
// kept records move in runs.
template<bool kFlags> CTidied TidyAll(CETREC* records, uint8_t* flags, int k, int n)
{
    const int start = k;
    int write = k;
    int runStart = k; // kept records from here on have not moved yet
    int selected = 0;
    const auto flush = [&](int end) {
        const int count = end - runStart;
        if (count > 0 && write != runStart) {
            std::memmove(static_cast<void*>(records + write), records + runStart,
                static_cast<size_t>(count) * sizeof(CETREC));
            if constexpr (kFlags)
                std::memmove(flags + write, flags + runStart, static_cast<size_t>(count));
        }
        write += std::max(count, 0);
    };
    const auto judge = [&](int i) {
        if (!DropsAt(records, i, n, start))
            return;
        flush(i);
        if constexpr (kFlags)
            selected += flags[i];
        runStart = i + 1;
    };
    unsigned before = 0; // the kind of the segment into the group's first record
    int i = k;
    for (; i + 5 <= n; i += 4) {
        // The group compared word by word with the four records one further
        // on tells at once whether any of its segments is straight or
        // without length: record q's kind (1 x equal, 2 y equal) is in bits
        // 3q and 3q + 1 of `kinds`, and the kind before it in `before`.
        const CFourRecords group = CFourRecords::Load(records + i);
        const CFourRecords next = CFourRecords::Load(records + i + 1);
        CFourRecords equal;
        for (int j = 0; j < 3; ++j)
            equal.words[j] = group.words[j] == next.words[j];
        constexpr unsigned kLowBits = CFourRecords::kRecordBits;
        constexpr unsigned kKindBits = kLowBits * 3;
        const unsigned kinds = (equal.Bits() >> 1) & kKindBits;
        const unsigned previous = ((kinds << 3) | before) & kKindBits;
        before = kinds >> 9;
        // A record may go only when its segment has no length, or is
        // straight and goes on from the one before.
        const unsigned noLength = kinds & (kinds >> 1);
        const unsigned straight = kinds | (kinds >> 1);
        const unsigned differ = (kinds ^ previous) | ((kinds ^ previous) >> 1);
        const bool any = ((noLength | (straight & ~differ)) & kLowBits) != 0;
        if (any) {
            for (int q = 0; q < 4; ++q)
                judge(i + q);
        }
    }
    for (; i < n; ++i)
        judge(i);
    flush(n);
    return {write, n, selected};
}

// Ends a list that was compacted to `write` records: zeroes the slots left
// behind and keeps currentRecord within the list.
void EndList(CSheet& s, int write)
{
    if (write < s.recordCount) {
        const size_t count = static_cast<size_t>(s.recordCount - write);
        std::memset(static_cast<void*>(s.records.data() + write), 0, count * sizeof(CETREC));
        std::memset(s.selectionFlags.data() + write, 0, count);
    }
    s.recordCount = write;
    if (s.currentRecord >= s.recordCount)
        s.currentRecord = s.recordCount - 1;
}

// Tidies the figures from the one that holds record `from` on, while the
// next figure starts at or before `to`, counted in the tidied list.
void Tidy(CSheet& s, int from, int to)
{
    const int n = s.recordCount;
    CETREC* records = s.records.data();
    uint8_t* flags = s.selectionFlags.data();
    const int start = std::max(s.FigureStart(from), 1);
    // Without a selection every flag is 0 and need not move.
    // Tidying to the end needs no stop at each figure: the faster pass.
    CTidied t;
    if (to >= n)
        t = s.selectedCount > 0 ? TidyAll<true>(records, flags, start, n)
                                : TidyAll<false>(records, flags, start, n);
    else
        t = s.selectedCount > 0 ? TidyRecords<true>(records, flags, start, n, to)
                                : TidyRecords<false>(records, flags, start, n, to);
    s.selectedCount -= t.selected;
    if (t.write == t.stop)
        return;
    int write = t.write;
    for (int k = t.stop; k < n; ++k, ++write) {
        records[write] = records[k];
        flags[write] = flags[k];
    }
    EndList(s, write);
}

} // namespace

void CSheet::Normalize(int from, int to)
{
    from = std::max(from, 1);
    if (to <= 0 || to < from)
        to = recordCount;
    if (from >= recordCount)
        return;
    // A line record that follows another layer cannot draw from it.
    if (IsLineRecord(records[from]) && records[from].Layer() != records[from - 1].Layer())
        records[from].SetPen(0);
    Tidy(*this, from, to);
}

void CSheet::NormalizeFigure(int i)
{
    if (i >= 1 && i < recordCount)
        Tidy(*this, i, std::max(FigureStart(i), 1)); // this figure alone
}

// One pass deletes the selected records and tidies what is left, so the
// snapshot holds the list as it is shown. A kept run starts with a move and
// ends before a move or a junction, so each run is tidied on its own.
int CSheet::DeleteSelection()
{
    const int n = recordCount;
    const int usedBefore = UsedLength(Length());
    CETREC* list = records.data();
    const uint8_t* flags = selectionFlags.data();
    // Records are written behind the one being read: `write` never passes it.
    int write = 1;
    bool changed = false;
    for (int i = 1; i < n;) {
        if (flags[i]) {
            while (++i < n && flags[i]) { }
            changed = true;
            continue;
        }
        const CETREC r = list[i];
        if (r.IsJunction()) {
            list[write++] = r;
            ++i;
            continue;
        }
        // A run of unselected line records on the layer of record i. Each
        // record is settled when the next one is known.
        const int layer = r.Layer();
        const int start = write;
        CETREC first = r;
        if (first.Pen() != 0) {
            first.SetPen(0); // every kept run starts with a move
            changed = true;
        }
        list[write++] = first;
        int last = i;
        int previous = kDiagonal;
        int k = i + 1;
        for (; k < n && !flags[k] && list[k].Layer() == layer && IsLineRecord(list[k]); ++k) {
            if (last != i) {
                const int kind = KindOf(list[last], list[k]);
                const bool drop = Drops(kind, previous);
                previous = kind;
                if (!drop)
                    list[write++] = list[last];
            }
            last = k;
        }
        if (last == i) {
            write = start; // alone it draws nothing
            changed = true;
        } else {
            list[write++] = list[last];
        }
        i = k;
    }
    if (n >= 1)
        EndList(*this, write);
    changed = texts.RemoveSelected() > 0 || changed;
    changed = pictures->DeleteSelected() > 0 || changed;
    std::fill(selectionFlags.begin(), selectionFlags.end(), 0);
    selectedCount = 0;
    // The slots the compaction left behind are zero: when nothing followed
    // the list before, nothing follows it now.
    if (changed)
        TakeSnapshot(n >= 1 && usedBefore == n ? recordCount : UsedLength(Length()));
    return changed ? 1 : 0;
}

void CSheet::Recount()
{
    Recount(Tally());
}

void CSheet::Recount(const CRecordTally& records)
{
    std::vector<int> textLayers;
    textLayers.reserve(texts.GetCount());
    for (const auto& text : texts)
        textLayers.push_back(text->Layer());
    layers.Recount(records.layerUses, textLayers);
}
