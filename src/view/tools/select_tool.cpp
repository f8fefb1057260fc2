#include "view/tools/select_tool.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "document/document.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "view/edit_commands.h"
#include "view/keys.h"
#include "view/tools/tool_context.h"

namespace {

// A window ends beyond this distance from its anchor, in micrometres, or
// beyond this many pixels when that is less: at a fine zoom a millimetre
// is hundreds of pixels.
constexpr int64_t kWindowMinimum = 1000;
constexpr int64_t kWindowMinimumPixels = 4;

// The window in XOR on the screen image: drawn twice it is gone.
void DrawBand(CToolContext& ctx)
{
    if (CCanvas* screen = ctx.Ui().ScreenCanvas())
        ctx.Sheet().DrawRubberRect(*screen);
}

CRect Normalised(CPoint a, CPoint b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool Holds(const CRect& r, CPoint p)
{
    const CRect n = Normalised({r.left, r.top}, {r.right, r.bottom});
    return n.left <= p.x && p.x <= n.right && n.top <= p.y && p.y <= n.bottom;
}

// What lies under the unsnapped pointer, first match: a text (when texts
// are picked), a record, a picture (when pictures are picked). Texts and
// records on hidden layers are not there to be picked.
void HitTest(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    CToolState& st = ctx.State();
    st.hitKind = Hit::None;
    st.hitIndex = -1;
    const CPoint p = s.rawPoint;
    if (s.HasCriterion(CSheet::kSelectTexts)) {
        const int t = s.texts.HitTest(p.x, p.y, s.layers.VisibleMask());
        if (t >= 0) {
            st.hitKind = s.texts.IsSelected(t) ? Hit::SelectedText : Hit::Text;
            st.hitIndex = t;
            return;
        }
    }
    const int r = s.HitFigure(p.x, p.y);
    if (r > 0) {
        st.hitKind = s.selectionFlags[r] ? Hit::SelectedRecord : Hit::Record;
        st.hitIndex = r;
        return;
    }
    if (s.HasCriterion(CSheet::kSelectPictures)) {
        const int k = s.pictures->HitTest(p.x, p.y);
        if (k >= 0) {
            st.hitKind = s.pictures->IsSelected(k) ? Hit::SelectedPicture : Hit::Picture;
            st.hitIndex = k;
        }
    }
}

// A text picked without Ctrl lands on the grid: the cursor goes to its
// anchor, snapped, and the text with it.
void SnapText(CToolContext& ctx, int index)
{
    CSheet& s = ctx.Sheet();
    CText* t = s.texts.At(index);
    if (t == nullptr)
        return;
    const CPoint at = t->Position();
    const CPoint snapped = s.Snapped(at);
    s.cursor = snapped;
    ctx.WarpPointer();
    if (snapped != at && t->MoveTo(snapped.x, snapped.y))
        s.pendingChange = 1;
}

// A press on an unselected text, record or picture.
void Pick(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    CToolState& st = ctx.State();
    ctx.SetStep(Step::Selection);
    switch (st.hitKind) {
    case Hit::Text:
        s.texts.SetSelected(st.hitIndex, true);
        if (!ctx.Modifiers().ctrl)
            SnapText(ctx, st.hitIndex);
        break;
    case Hit::Record: {
        // A record replaces the element selection, Ctrl or not. Clearing it
        // tidies the figures, which may take records away under the pointer.
        RecordPendingMove(ctx);
        if (s.selectedCount > 0) {
            const int before = s.recordCount;
            s.ClearSelection();
            if (s.recordCount != before)
                st.hitIndex = s.HitFigure(s.rawPoint.x, s.rawPoint.y);
        }
        if (st.hitIndex > 0) {
            s.SelectAt(st.hitIndex);
            s.currentRecord = st.hitIndex;
        }
        break;
    }
    case Hit::Picture:
        s.pictures->SetSelected(st.hitIndex, true);
        s.pictures->currentIndex = st.hitIndex;
        break;
    default:
        break;
    }
    if (AnythingSelected(s))
        ctx.Redraw();
    else
        ctx.SetStep(Step::Idle);
}

void StartWindow(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    ctx.SetStep(Step::Rubber);
    s.rubberActive = 1;
    s.rubberAnchor = s.rawPoint;
    s.rubberRect = {s.rawPoint.x, s.rawPoint.y, s.rawPoint.x, s.rawPoint.y};
    DrawBand(ctx);
}

void PressToSelect(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    if (s.rubberActive) {
        // A press inside the window holds the selection for a drag.
        if (Holds(s.rubberRect, s.rawPoint)) {
            ctx.SetStep(Step::Selection);
            return;
        }
        DrawBand(ctx);
        s.rubberActive = 0;
    }
    HitTest(ctx);
    ctx.WarpPointer();
    const int kind = ctx.State().hitKind;
    switch (kind) {
    case Hit::SelectedText:
    case Hit::SelectedRecord:
    case Hit::SelectedPicture:
        return; // a drag moves the selection
    default:
        break;
    }
    if (!ctx.Modifiers().ctrl && AnythingSelected(s)) {
        EndSelection(ctx); // this press only deselects
        return;
    }
    if (kind == Hit::None)
        StartWindow(ctx);
    else
        Pick(ctx);
}

// Moves the selection and the window by the cursor's step.
void Drag(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    ctx.State().hitKind = Hit::None;
    const CPoint from = s.prevCursor;
    if (!s.MoveSelection(ctx.Ui()) || !s.rubberActive)
        return;
    const int64_t dx = int64_t {s.cursor.x} - from.x;
    const int64_t dy = int64_t {s.cursor.y} - from.y;
    CRect& r = s.rubberRect;
    const auto fits = [](int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
    if (fits(r.left + dx) && fits(r.right + dx) && fits(r.top + dy) && fits(r.bottom + dy)) {
        r = {static_cast<int32_t>(r.left + dx), static_cast<int32_t>(r.top + dy),
            static_cast<int32_t>(r.right + dx), static_cast<int32_t>(r.bottom + dy)};
    }
}

// The release of a window: far enough from its anchor, it selects.
void FinishWindow(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const int64_t least = std::min(kWindowMinimum, kWindowMinimumPixels * std::max(s.zoom, 1));
    if (std::abs(int64_t {s.rawPoint.x} - s.rubberAnchor.x) <= least
        && std::abs(int64_t {s.rawPoint.y} - s.rubberAnchor.y) <= least)
        return; // it keeps following the pointer
    s.rubberRect = Normalised(s.rubberAnchor, s.rawPoint);
    if (!ctx.Modifiers().ctrl) {
        RecordPendingMove(ctx);
        if (s.selectedCount > 0)
            s.ClearSelection();
    }
    s.SelectInWindow();
    if (!AnythingSelected(s)) {
        EndSelection(ctx);
        return;
    }
    ctx.SetStep(Step::Selection);
    ctx.Redraw();
}

// A release with Ctrl, without a drag, on a selected text or record
// deselects it: the whole figure, or the whole block, of the record.
void CtrlDeselect(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const CToolState& st = ctx.State();
    switch (st.hitKind) {
    case Hit::SelectedText:
        s.texts.SetSelected(st.hitIndex, false);
        break;
    case Hit::SelectedRecord:
        if (st.hitIndex < 1 || st.hitIndex >= s.recordCount)
            return;
        if (const int block = s.records[st.hitIndex].Block(); block != 0)
            s.DeselectBlock(block);
        else
            s.DeselectFigure(st.hitIndex);
        break;
    default:
        return;
    }
    if (!AnythingSelected(s))
        EndSelection(ctx);
}

} // namespace

bool AnythingSelected(CSheet& s)
{
    return s.selectedCount > 0 || s.texts.GetSelectedCount() > 0
        || s.pictures->GetSelectedCount() > 0;
}

void RecordPendingMove(CToolContext& ctx)
{
    if (ctx.Sheet().pendingChange)
        ctx.Document().RecordUndoStep();
}

void EndSelection(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    s.rubberActive = 0;
    RecordPendingMove(ctx);
    if (s.selectedCount > 0)
        s.ClearSelection();
    ctx.SetStep(Step::Idle); // which deselects the texts and pictures and redraws
}

void SelectEverything(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    RecordPendingMove(ctx);
    s.SelectAll();
    if (!AnythingSelected(s)) {
        EndSelection(ctx);
        return;
    }
    ctx.SetStep(Step::Selection);
    ctx.Redraw();
}

void InvertEverything(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    RecordPendingMove(ctx);
    s.InvertSelection();
    if (!AnythingSelected(s)) {
        EndSelection(ctx);
        return;
    }
    ctx.SetStep(Step::Selection);
    ctx.Redraw();
}

void CSelectTool::Press(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Idle:
    case Step::Selection:
        PressToSelect(ctx);
        break;
    default:
        break;
    }
}

void CSelectTool::Move(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Selection:
        if (!ctx.Captured() || s.cursor == s.prevCursor)
            break;
        Drag(ctx);
        ctx.RedrawOverlays();
        break;
    case Step::Rubber:
        DrawBand(ctx);
        s.rubberRect = {s.rubberAnchor.x, s.rubberAnchor.y, s.rawPoint.x, s.rawPoint.y};
        DrawBand(ctx);
        break;
    default:
        break;
    }
}

void CSelectTool::Panned(CToolContext& ctx)
{
    // The view moved under the pointer with everything on it; the selection
    // still takes the pointer's step, or it would fall behind. The complete
    // draw of the pan shows it.
    switch (ctx.Step()) {
    case Step::Selection:
        Drag(ctx);
        break;
    default:
        break;
    }
}

void CSelectTool::Release(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Rubber:
        FinishWindow(ctx);
        break;
    default:
        if (ctx.Modifiers().ctrl)
            CtrlDeselect(ctx);
        ctx.State().hitKind = Hit::None;
        // A drag is a change of the project now; its undo step waits for
        // the selection to change.
        if (s.pendingChange && !ctx.Document().modified) {
            ctx.Document().MarkChanged();
            ctx.Ui().DocumentChanged();
        }
        ctx.Redraw();
        break;
    }
}

void CSelectTool::Finish(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Rubber:
        DrawBand(ctx);
        s.rubberActive = 0;
        ctx.SetStep(AnythingSelected(s) ? Step::Selection : Step::Idle);
        break;
    case Step::Selection:
        RecordPendingMove(ctx);
        break;
    default:
        break;
    }
}
