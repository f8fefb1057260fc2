// The placement buffer: what is being placed (a rectangle, an ellipse, a
// symbol, a copy of the selection, a stroke text) as records
// placement[0 ... placementCount - 1], placed as one new block.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/figures.h"
#include "model/sheet.h"
#include "model/tool_mode.h"
#include "model/turn.h"
#include "platform/ui_services.h"

namespace {

bool Fits(int64_t v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

// Grows the three arrays, in the usual steps, until the buffer holds `count`
// records with the usual spare.
void MakeBufferRoom(CSheet& s, int count)
{
    int length = s.Length();
    while (length - count < CRecordList::kMinSpare)
        length += CRecordList::kGrowth;
    if (length != s.Length())
        s.ResizeArrays(length);
    s.ReadyPlacement();
}

void SetBuffer(CSheet& s, const std::vector<CETREC>& built)
{
    s.ClearBuffer();
    const int n = static_cast<int>(built.size());
    MakeBufferRoom(s, n);
    std::copy(built.begin(), built.end(), s.placement.begin());
    s.placementCount = n;
}

// Moves every buffer record and the buffer's anchor; all or nothing.
bool ShiftBuffer(CSheet& s, int64_t dx, int64_t dy)
{
    if (dx == 0 && dy == 0)
        return false;
    if (!Fits(s.bufferAnchor.x + dx) || !Fits(s.bufferAnchor.y + dy))
        return false;
    for (int k = 0; k < s.placementCount; ++k) {
        const CETREC& r = s.placement[k];
        if (!Fits(r.x + dx) || !Fits(r.y + dy))
            return false;
    }
    for (int k = 0; k < s.placementCount; ++k) {
        CETREC& r = s.placement[k];
        r.x = static_cast<int32_t>(r.x + dx);
        r.y = static_cast<int32_t>(r.y + dy);
    }
    s.bufferAnchor.x = static_cast<int32_t>(s.bufferAnchor.x + dx);
    s.bufferAnchor.y = static_cast<int32_t>(s.bufferAnchor.y + dy);
    return true;
}

} // namespace

void CSheet::ClearBuffer()
{
    std::fill(placement.begin(), placement.end(), CETREC {});
    placementCount = 0;
    bufferTexts.clear();
    bufferKeepsBlocks = false;
}

void CSheet::BuildRectangle(int left, int top, int right, int bottom)
{
    std::vector<CETREC> built;
    BuildRectangleRecords(left, top, right, bottom, activeLayer, activePen, built);
    SetBuffer(*this, built);
}

int CSheet::BuildEllipse(int left, int top, int right, int bottom, bool filled)
{
    std::vector<CETREC> built;
    if (!BuildEllipseRecords(left, top, right, bottom, activeLayer, activePen, filled, built)) {
        ClearBuffer(); // nothing follows the pointer
        return 0;
    }
    SetBuffer(*this, built);
    return 1;
}

void CSheet::AppendShown(const CETREC& r)
{
    records[recordCount] = r;
    uint8_t& flag = selectionFlags[recordCount];
    if (flag) {
        flag = 0;
        --selectedCount;
    }
    ++recordCount;
    if (r.Layer() != 0)
        layers.SetVisible(r.Layer(), 1);
}

std::vector<CETREC> CSheet::SelectedForCopy() const
{
    std::vector<CETREC> out;
    out.reserve(static_cast<size_t>(std::max(selectedCount, 0)));
    ForEachSelected(selectionFlags, 1, recordCount, [&](int i) {
        const CETREC& r = records[i];
        if (IsLineRecord(r) && (i == 1 || !selectionFlags[i - 1])) {
            // The first record has no point before it: the move goes to its own.
            CETREC move = records[i > 1 ? i - 1 : i];
            move.blockWord = r.blockWord;
            move.styleWord = 0;
            move.SetLayer(r.Layer());
            out.push_back(move);
        }
        out.push_back(r);
    });
    return out;
}

void CSheet::CopySelection()
{
    const std::vector<CETREC> copy = SelectedForCopy();
    MakeBufferRoom(*this, placementCount + static_cast<int>(copy.size()));
    for (const CETREC& r : copy)
        placement[placementCount++] = r;
}

int CSheet::CentreBufferOnCursor(CUiServices& ui)
{
    if (placementCount <= 0)
        return 0;
    int64_t lowX = INT64_MAX, lowY = INT64_MAX, highX = INT64_MIN, highY = INT64_MIN;
    for (int k = 0; k < placementCount; ++k) {
        const CETREC& r = placement[k];
        lowX = std::min<int64_t>(lowX, r.x);
        lowY = std::min<int64_t>(lowY, r.y);
        highX = std::max<int64_t>(highX, r.x);
        highY = std::max<int64_t>(highY, r.y);
    }
    const int64_t dx = cursor.x - (lowX + (highX - lowX) / 2);
    const int64_t dy = cursor.y - (lowY + (highY - lowY) / 2);
    if (dx == 0 && dy == 0)
        return 0;
    if (!ShiftBuffer(*this, dx, dy)) {
        ui.MessageBox(kMsgOutOfRange);
        return 0;
    }
    return 1;
}

int CSheet::MoveBuffer(int64_t dx, int64_t dy)
{
    return ShiftBuffer(*this, dx, dy) ? 1 : 0;
}

int CSheet::TurnBuffer(bool mirror)
{
    const auto turned = [&](CPoint p, CPoint& out) {
        CWideVector v {int64_t {p.x} - cursor.x, int64_t {p.y} - cursor.y};
        v = mirror ? CWideVector {v.x, -v.y} : RotateVector(v, 90);
        const int64_t x = cursor.x + v.x;
        const int64_t y = cursor.y + v.y;
        if (!Fits(x) || !Fits(y))
            return false;
        out = {static_cast<int32_t>(x), static_cast<int32_t>(y)};
        return true;
    };
    std::vector<CPoint> points(static_cast<size_t>(placementCount));
    CPoint anchor;
    if (!turned(bufferAnchor, anchor))
        return 0;
    for (int k = 0; k < placementCount; ++k) {
        if (!turned({placement[k].x, placement[k].y}, points[static_cast<size_t>(k)]))
            return 0;
    }
    for (int k = 0; k < placementCount; ++k) {
        placement[k].x = points[static_cast<size_t>(k)].x;
        placement[k].y = points[static_cast<size_t>(k)].y;
    }
    bufferAnchor = anchor;
    return 1;
}

int CSheet::NewBlockNumber() const
{
    // Every placement looks at every record: four running maxima keep the
    // processor busy while the records stream in.
    const CETREC* r = records.data();
    const int n = std::min(recordCount, Length());
    uint16_t m[4] = {0, 0, 0, 0};
    int i = 1;
    for (; i + 4 <= n; i += 4) {
        for (int k = 0; k < 4; ++k)
            m[k] = std::max<uint16_t>(m[k], r[i + k].blockWord & CETREC::kBlockMask);
    }
    for (; i < n; ++i)
        m[0] = std::max<uint16_t>(m[0], r[i].blockWord & CETREC::kBlockMask);
    const int highest = std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
    if (highest < CETREC::kMaxBlock)
        return highest + 1;
    // Block numbers have 15 bits: past the top the lowest free number is
    // taken, so a new block never runs into the filled flag.
    std::vector<bool> used(CETREC::kMaxBlock + 1);
    for (int i = 1; i < recordCount; ++i)
        used[records[i].Block()] = true;
    for (int b = 1; b <= CETREC::kMaxBlock; ++b) {
        if (!used[b])
            return b;
    }
    return 0;
}

int CSheet::CommitBuffer(CUiServices& ui)
{
    if (bufferKeepsBlocks)
        return CommitPastedBuffer(ui);
    if (placementCount <= 0)
        return 0;
    if (recordCount < 1)
        recordCount = 1; // the sentinel comes first
    const int64_t needed = int64_t {recordCount} + placementCount + kGrowth;
    if (needed > INT32_MAX) {
        ui.MessageBox(kMsgOutOfRange);
        return 0;
    }
    if (Length() < needed)
        ResizeArrays(static_cast<int>(needed));

    // The new block's number is given as the undo step copies the records.
    const int first = recordCount;
    for (int k = 0; k < placementCount; ++k) {
        CETREC r = placement[k];
        r.SetBlock(0);
        AppendShown(r);
    }
    currentRecord = recordCount - 1;
    if (toolMode == ToolMode::FilledRectangle || toolMode == ToolMode::FilledEllipse)
        FillFigure();
    if (PushUndoNumbering(first) == 0) {
        ui.MessageBox(kMsgNoBlockNumber);
        return 0;
    }
    return 1;
}
