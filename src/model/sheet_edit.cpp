// Edits of the selected content: move, mirror, turn, scale, change of layer
// or pen, and the quarter turn of the whole sheet. Every edit is all or
// nothing: when one point would leave the 32-bit range, nothing changes and
// the user is told.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "model/sheet.h"
#include "model/turn.h"
#include "platform/ui_services.h"

namespace {

bool Fits(int64_t v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

bool Fits(const CWideVector& p)
{
    return Fits(p.x) && Fits(p.y);
}

std::optional<CRect> Shifted(const CRect& r, int64_t dx, int64_t dy)
{
    const int64_t left = r.left + dx, top = r.top + dy, right = r.right + dx,
                  bottom = r.bottom + dy;
    if (!Fits(left) || !Fits(top) || !Fits(right) || !Fits(bottom))
        return std::nullopt;
    return CRect {static_cast<int32_t>(left), static_cast<int32_t>(top),
        static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
}

// A quarter turn of the sheet about its height h: (x, y) becomes (y, h - x).
std::optional<CRect> QuarterTurned(const CRect& r, int64_t h)
{
    const int64_t left = r.top, top = h - r.left, right = r.bottom, bottom = h - r.right;
    if (!Fits(top) || !Fits(bottom))
        return std::nullopt;
    return CRect {static_cast<int32_t>(left), static_cast<int32_t>(top),
        static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
}

// The indices of the selected records, found in one pass over the flags
// that ends at the last of them (a count of 0 beside set flags is not
// trusted).
std::vector<int> SelectedRecords(const CSheet& s)
{
    std::vector<int> selected;
    selected.reserve(static_cast<size_t>(std::max(s.selectedCount, 0)));
    ForEachSelected(
        s.selectionFlags, 1, s.recordCount, [&](int i) { selected.push_back(i); },
        s.selectedCount > 0 ? s.selectedCount : INT32_MAX);
    return selected;
}

// Maps every selected record's point through `map` (a CWideVector of the
// new point): -1, and nothing changed, when any result leaves the 32-bit
// range; otherwise the number of records whose point changed.
template<class Map> int MapSelected(CSheet& s, Map&& map)
{
    const std::vector<int> selected = SelectedRecords(s);
    for (const int i : selected) {
        if (!Fits(map(s.records[i])))
            return -1;
    }
    int changed = 0;
    for (const int i : selected) {
        CETREC& r = s.records[i];
        const CWideVector p = map(r);
        if (p.x != r.x || p.y != r.y) {
            r.x = static_cast<int32_t>(p.x);
            r.y = static_cast<int32_t>(p.y);
            ++changed;
        }
    }
    return changed;
}

int Refuse(CSheet& s, CUiServices& ui)
{
    s.editRefused = true;
    ui.MessageBox(CSheet::kMsgOutOfRange);
    return 0;
}

// A snapshot when the edit changed anything; the edit's result.
int Changed(CSheet& s, bool changed)
{
    if (!changed)
        return 0;
    s.PushUndo();
    return 1;
}

// Turns the selected records about (px, py) by the angle and puts the turned
// offsets about `cursor`; with `withTexts` every selected text's angle turns
// too. A snapshot when anything turned.
int Turn(CSheet& s, int64_t px, int64_t py, int angle, bool withTexts, CUiServices& ui)
{
    const int64_t cx = s.cursor.x, cy = s.cursor.y;
    const int changed = MapSelected(s, [&](const CETREC& r) {
        const CWideVector v = RotateVector({r.x - px, r.y - py}, angle);
        return CWideVector {cx + v.x, cy + v.y};
    });
    if (changed < 0)
        return Refuse(s, ui);
    bool turned = changed > 0;
    if (withTexts) {
        for (int k = 0; k < s.texts.GetCount(); ++k) {
            CText* t = s.texts.At(k);
            if (!t->IsSelected())
                continue;
            const int before = t->Angle();
            t->SetAngle(before + NormaliseRotation(angle));
            turned = turned || t->Angle() != before;
        }
    }
    return Changed(s, turned);
}

} // namespace

int CSheet::MoveSelection(CUiServices& ui)
{
    const int64_t dx = int64_t {cursor.x} - prevCursor.x;
    const int64_t dy = int64_t {cursor.y} - prevCursor.y;
    if (dx == 0 && dy == 0)
        return 0;
    if (!Fits(dx) || !Fits(dy))
        return Refuse(*this, ui);
    const std::vector<int> selected = SelectedRecords(*this);
    for (const int i : selected) {
        if (!Fits(records[i].x + dx) || !Fits(records[i].y + dy))
            return Refuse(*this, ui);
    }
    for (const auto& t : texts) {
        if (t->IsSelected() && !Shifted(t->box, dx, dy))
            return Refuse(*this, ui);
    }
    for (const auto& p : pictures->pictures) {
        if (p->IsSelected() && !Shifted(p->placementRect, dx, dy))
            return Refuse(*this, ui);
    }

    bool moved = !selected.empty();
    for (const int i : selected) {
        records[i].x += static_cast<int32_t>(dx);
        records[i].y += static_cast<int32_t>(dy);
    }
    moved = texts.GetSelectedCount() > 0 || moved;
    texts.OffsetSelected(static_cast<int>(dx), static_cast<int>(dy));
    for (int k = 0; k < pictures->GetSize(); ++k) {
        if (pictures->IsSelected(k)) {
            pictures->Offset(k, static_cast<int>(dx), static_cast<int>(dy));
            moved = true;
        }
    }
    if (!moved)
        return 0;
    pendingChange = 1; // recorded when the selection next changes
    return 1;
}

int CSheet::MirrorX(CUiServices& ui)
{
    const int64_t twice = 2 * int64_t {cursor.y};
    const int changed = MapSelected(*this, [&](const CETREC& r) {
        return CWideVector {r.x, twice - r.y};
    });
    if (changed < 0)
        return Refuse(*this, ui);
    return Changed(*this, changed > 0);
}

int CSheet::MirrorY(CUiServices& ui)
{
    const int64_t twice = 2 * int64_t {cursor.x};
    const int changed = MapSelected(*this, [&](const CETREC& r) {
        return CWideVector {twice - r.x, r.y};
    });
    if (changed < 0)
        return Refuse(*this, ui);
    return Changed(*this, changed > 0);
}

int CSheet::Rotate(int angle, CUiServices& ui, bool withTexts)
{
    return Turn(*this, cursor.x, cursor.y, angle, withTexts, ui);
}

int CSheet::RotateAbout(int px, int py, int angle, CUiServices& ui)
{
    return Turn(*this, px, py, angle, false, ui);
}

int CSheet::Scale(double percent, CUiServices& ui)
{
    if (percent == 100.0)
        return 0;
    const int64_t cx = cursor.x, cy = cursor.y;
    // A decimal percent is not exact in binary: 3000 at 33.3 % comes out a
    // hair below 999. A result that close to a whole micrometre is that
    // micrometre; anything else is truncated toward zero. Out of range, and
    // not a number, are refused before the conversion.
    auto scaled = [&](int64_t c, int32_t v) -> int64_t {
        const double exact = static_cast<double>(v - c) * percent / 100.0;
        const double nearest = std::round(exact);
        const double d = std::abs(exact - nearest) < 1e-6 ? nearest : std::trunc(exact);
        if (!(d >= -4.0e9 && d <= 4.0e9))
            return INT64_MAX;
        return c + static_cast<int64_t>(d);
    };
    const int changed = MapSelected(*this, [&](const CETREC& r) {
        return CWideVector {scaled(cx, r.x), scaled(cy, r.y)};
    });
    if (changed < 0)
        return Refuse(*this, ui);
    return Changed(*this, changed > 0);
}

int CSheet::ChangeLayer(int from, int to, CUiServices& ui)
{
    if (selectionCriteria == kSelectSegments) {
        ui.MessageBox(kMsgSelectionCriteria);
        return 0;
    }
    if (to < 0 || to >= kLayerCount)
        return 0;
    bool changed = false;
    ForEachSelected(selectionFlags, 1, recordCount, [&](int i) {
        const int layer = records[i].Layer();
        const bool match = from == kAll ? layer != 0 : layer == from;
        if (match && layer != to) {
            SetRecordLayer(i, to);
            changed = true;
        }
    });
    layers.SetVisible(to, 1);
    return Changed(*this, changed);
}

int CSheet::ChangePen(int from, int to)
{
    if (to < 0 || to > 7)
        return 0;
    bool changed = false;
    ForEachSelected(selectionFlags, 1, recordCount, [&](int i) {
        const CETREC& r = records[i];
        const bool match = from == kAll ? IsLineRecord(r) : PenOf(i) == from;
        if (match && r.Pen() != to) {
            SetRecordPen(i, to);
            changed = true;
        }
    });
    return Changed(*this, changed);
}

int CSheet::RotateSheet(CUiServices& ui)
{
    fitMode = 0;
    const CPoint panned = origin;
    if (origin.x != 0 || origin.y != 0) {
        if (origin.x == INT32_MIN || origin.y == INT32_MIN)
            return Refuse(*this, ui);
        Pan(-origin.x, -origin.y, true);
        if (origin.x != 0 || origin.y != 0)
            return Refuse(*this, ui);
    }
    // Pans back to where the sheet was, for a turn that is refused.
    auto refuse = [&] {
        Pan(panned.x, panned.y, true);
        return Refuse(*this, ui);
    };
    Extents();
    const int64_t h = sheetExtent.Height();

    for (int i = 1; i < recordCount; ++i) {
        if (!Fits(h - records[i].x))
            return refuse();
    }
    for (const auto& t : texts) {
        if (!QuarterTurned(t->box, h))
            return refuse();
    }
    for (const auto& p : pictures->pictures) {
        if (!QuarterTurned(p->placementRect, h))
            return refuse();
    }

    for (int i = 1; i < recordCount; ++i) {
        CETREC& r = records[i];
        const int32_t x = r.x;
        r.x = r.y;
        r.y = static_cast<int32_t>(h - x);
    }
    for (const auto& t : texts) {
        t->box = *QuarterTurned(t->box, h);
        t->SetAngle(t->Angle() + 90);
        t->Measure();
    }
    for (const auto& p : pictures->pictures) {
        // Pictures are drawn upright into their rectangle, which must stay
        // ordered to be drawn and hit at all.
        CRect r = *QuarterTurned(p->placementRect, h);
        if (r.left > r.right)
            std::swap(r.left, r.right);
        if (r.top > r.bottom)
            std::swap(r.top, r.bottom);
        p->placementRect = r;
        p->angle += 90.0;
    }
    PushUndo();
    return 1;
}
