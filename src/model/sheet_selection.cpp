// The selection of element records (flags and selectedCount kept in step),
// of texts and of pictures, by the sheet's selection criteria.
#include <algorithm>
#include <vector>

#include "model/sheet.h"

namespace {

// A move that no snapshot holds yet is recorded before the selection
// changes, so that undo steps back over the move alone.
void RecordPendingMove(CSheet& s)
{
    if (s.pendingChange)
        s.PushUndo();
}

void SetFlag(CSheet& s, int i, bool on)
{
    if (i < 1 || i >= s.recordCount)
        return;
    uint8_t& flag = s.selectionFlags[i];
    if ((flag != 0) == on)
        return;
    flag = on ? 1 : 0;
    s.selectedCount += on ? 1 : -1;
}

void SetFigure(CSheet& s, int i, bool on)
{
    if (i < 1 || i >= s.recordCount)
        return;
    const int end = s.FigureEnd(i);
    for (int k = std::max(s.FigureStart(i), 1); k <= end; ++k)
        SetFlag(s, k, on);
}

void SetBlock(CSheet& s, int block, bool on)
{
    for (int i = 1; i < s.recordCount; ++i) {
        if (s.records[i].Block() == block)
            SetFlag(s, i, on);
    }
}

void ToggleFigure(CSheet& s, int i)
{
    SetFigure(s, i, s.selectionFlags[i] == 0);
}

} // namespace

void CSheet::SelectRecord(int i)
{
    RecordPendingMove(*this);
    SetFlag(*this, i, true);
}

void CSheet::DeselectRecord(int i)
{
    RecordPendingMove(*this);
    SetFlag(*this, i, false);
}

void CSheet::SelectFigure(int i)
{
    RecordPendingMove(*this);
    SetFigure(*this, i, true);
}

void CSheet::DeselectFigure(int i)
{
    RecordPendingMove(*this);
    SetFigure(*this, i, false);
}

void CSheet::SelectBlock(int block)
{
    RecordPendingMove(*this);
    SetBlock(*this, block, true);
}

void CSheet::DeselectBlock(int block)
{
    RecordPendingMove(*this);
    SetBlock(*this, block, false);
}

void CSheet::SelectAt(int i)
{
    RecordPendingMove(*this);
    if (i < 1 || i >= recordCount)
        return;
    if (HasCriterion(kSelectSegments))
        SetFlag(*this, i, true);
    if (HasCriterion(kSelectFigures))
        ToggleFigure(*this, i);
    if (HasCriterion(kSelectBlocks)) {
        const int block = records[i].Block();
        if (block != 0)
            SetBlock(*this, block, selectionFlags[i] == 0);
        else
            ToggleFigure(*this, i);
    }
}

void CSheet::SelectInWindow()
{
    RecordPendingMove(*this);
    const int32_t left = std::min(rubberRect.left, rubberRect.right);
    const int32_t right = std::max(rubberRect.left, rubberRect.right);
    const int32_t top = std::min(rubberRect.top, rubberRect.bottom);
    const int32_t bottom = std::max(rubberRect.top, rubberRect.bottom);
    // Strictly inside: a point on the window's edge is outside.
    auto inside = [&](const CETREC& r) {
        return left < r.x && r.x < right && top < r.y && r.y < bottom
            && layers.IsVisible(r.Layer());
    };

    if (HasCriterion(kSelectSegments)) {
        for (int i = 1; i < recordCount; ++i) {
            if (inside(records[i]))
                SetFlag(*this, i, true);
        }
    }
    if (HasCriterion(kSelectFigures)) {
        for (int i = 1; i < recordCount;) {
            if (!inside(records[i])) {
                ++i;
                continue;
            }
            ToggleFigure(*this, i);
            i = FigureEnd(i) + 1;
        }
    }
    if (HasCriterion(kSelectBlocks)) {
        // Each block is toggled once, by the first of its records found
        // inside, even when it lies in more than one run; the toggles are
        // applied in one pass afterwards.
        enum : int8_t { kNone, kSelect, kDeselect };
        std::vector<int8_t> action(CETREC::kMaxBlock + 1, kNone);
        bool any = false;
        for (int i = 1; i < recordCount;) {
            const CETREC& r = records[i];
            if (!inside(r)) {
                ++i;
                continue;
            }
            const int block = r.Block();
            if (block == 0) {
                ToggleFigure(*this, i);
                i = FigureEnd(i) + 1;
                continue;
            }
            if (action[block] == kNone) {
                action[block] = selectionFlags[i] ? kDeselect : kSelect;
                any = true;
            }
            while (i < recordCount && records[i].Block() == block)
                ++i;
        }
        for (int i = 1; any && i < recordCount; ++i) {
            const int8_t a = action[records[i].Block()];
            if (a != kNone && records[i].Block() != 0)
                SetFlag(*this, i, a == kSelect);
        }
    }
    const CRect window {left, top, right, bottom};
    if (HasCriterion(kSelectTexts))
        texts.ToggleInWindow(window, layers.VisibleMask());
    if (HasCriterion(kSelectPictures)) {
        for (int k = 0; k < pictures->GetSize(); ++k) {
            if (pictures->Intersects(k, window))
                pictures->SetSelected(k, true);
        }
    }
}

void CSheet::SelectAll()
{
    RecordPendingMove(*this);
    for (int i = 1; i < recordCount; ++i)
        SetFlag(*this, i, true);
    texts.SelectAll();
    pictures->SetAllSelected(true);
}

void CSheet::InvertSelection()
{
    RecordPendingMove(*this);
    for (int i = 1; i < recordCount; ++i)
        SetFlag(*this, i, selectionFlags[i] == 0);
    texts.InvertSelection();
    for (int k = 0; k < pictures->GetSize(); ++k)
        pictures->SetSelected(k, !pictures->IsSelected(k));
}
