#include <algorithm>
#include <climits>

#include "model/sheet.h"

CPoint CSheet::Extents()
{
    int64_t lowX = INT64_MAX, lowY = INT64_MAX, highX = INT64_MIN, highY = INT64_MIN;
    auto take = [&](int64_t x, int64_t y) {
        lowX = std::min(lowX, x);
        lowY = std::min(lowY, y);
        highX = std::max(highX, x);
        highY = std::max(highY, y);
    };
    for (int i = 1; i < recordCount; ++i)
        take(records[i].x, records[i].y);
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

void CSheet::DeleteRecord(int i)
{
    if (i < 1 || i >= recordCount)
        return;
    std::copy(records.begin() + i + 1, records.begin() + recordCount, records.begin() + i);
    --recordCount;
    records[recordCount] = CETREC{};
    if (currentRecord >= recordCount)
        currentRecord = recordCount - 1;
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

// The direction of a segment: 0 no length, 1 vertical, 3 horizontal,
// 4 both coordinates growing (or both shrinking), 2 the other diagonals.
int Direction(const CETREC& a, const CETREC& b)
{
    const int64_t dx = int64_t{b.x} - a.x;
    const int64_t dy = int64_t{b.y} - a.y;
    if (dx == 0 && dy == 0)
        return 0;
    if (dx == 0)
        return 1;
    if (dy == 0)
        return 3;
    return (dx > 0) == (dy > 0) ? 4 : 2;
}

bool IsLineRecord(const CETREC& r)
{
    return !r.IsJunction() && r.Pen() != 0;
}

}  // namespace

void CSheet::Normalize(int from, int to)
{
    from = std::max(from, 1);
    if (to <= 0 || to < from)
        to = recordCount;
    if (from >= recordCount)
        return;
    if (IsLineRecord(records[from]) && records[from].Layer() != records[from - 1].Layer())
        records[from].SetPen(0);
    int i = from;
    while (i <= to && i < recordCount) {
        NormalizeFigure(i);
        i = FigureEnd(i) + 1;
    }
}

void CSheet::NormalizeFigure(int i)
{
    const int s = FigureStart(i);
    int e = FigureEnd(i);
    int previous = 0;
    int k = s;
    while (k < e) {
        // The first segment starts at the figure's move and sets no direction.
        const bool line = IsLineRecord(records[k]);
        const int d = Direction(records[k], records[k + 1]);
        if (line && (d == 0 || (d == previous && (d == 1 || d == 3)))) {
            DeleteRecord(k);
            --e;
            if (k < recordCount && !IsLineRecord(records[k]) && k <= e) {
                DeleteRecord(k);
                --e;
            }
            previous = d;
            continue;
        }
        if (line)
            previous = d;
        ++k;
    }
}

void CSheet::Recount()
{
    std::vector<int> textLayers;
    textLayers.reserve(texts.GetCount());
    for (const auto& text : texts)
        textLayers.push_back(text->Layer());
    layers.Recount(std::span<const CETREC>(records.data() + 1, std::max(recordCount - 1, 0)), textLayers);
}
