#include "view/view_controller.h"

#include <algorithm>
#include <utility>

#include "app/command_table.h"
#include "app/settings.h"
#include "document/document.h"
#include "model/sheet.h"
#include "model/tool_mode.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "view/command_conditions.h"
#include "view/status_readouts.h"

namespace {

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;
// Auto-pan starts this close to the left and top edges (micrometres of view
// space) and to the right and bottom edges (pixels).
constexpr int kAutoPanNear = 1000;
constexpr int kAutoPanEdge = 10;

constexpr int kPaneRecord = 0;
// The arms of the cross that marks the cursor where the pointer cannot be put.
constexpr int kWarpCrossArm = 8;
constexpr int kPaneTime = 8;

CBackupSettings BackupSettings(const CSettings& s)
{
    return {
        s.autoReserve, s.reserveInterval, s.maxReserveCopies, s.backupFolder, s.defaults.backup};
}

CUiServices::CScrollBarState BarState(const CSheet::CScrollBar& bar)
{
    return {bar.shown, bar.maximum, bar.page, bar.position};
}

} // namespace

CViewController::CViewController(
    CDovereduDoc& doc, CSettings& settings, CUiServices& ui, CViewDialogs& dialogs, CClock& clock)
    : doc(doc)
    , settings(settings)
    , ui(ui)
    , dialogs(dialogs)
    , clock(clock)
    , backup(doc, ui, clock, kBackupTimer)
{
    orthoCrosshair = settings.longCursor;
    RegisterCommands();
    RegisterToolCommands();
    RegisterClipboardCommands();
    RegisterPictureCommands();
    RegisterTextCommands();
    RegisterSelectCommands();
    RegisterEditCommands();
    RegisterTypingCommands();
    router.AddTarget(handlers);
}

CViewController::~CViewController() = default;

bool CViewController::HasSheet() const
{
    return doc.HasSheets();
}

CSheet& CViewController::Sheet()
{
    return doc.GetActiveSheet();
}

int CViewController::Step()
{
    return Sheet().toolStep;
}

CToolMachine& CViewController::Tool()
{
    return toolBox.For(Sheet());
}

void CViewController::FinishInteraction()
{
    if (HasSheet())
        Tool().Finish(*this);
}

void CViewController::Prompt(std::string_view text)
{
    ui.SetStatusText(kPaneRecord, text);
}

// --- state shared with the tools ---------------------------------------------

void CViewController::Redraw()
{
    UpdateScrollBars();
    UpdateStatus();
    UpdatePointerShape();
    ui.Invalidate();
}

void CViewController::RedrawOverlays()
{
    CCanvas* screen = HasSheet() ? ui.RestoreScreen(Sheet().clientRect) : nullptr;
    if (!screen) {
        Redraw();
        return;
    }
    DrawOverlays(*screen);
}

void CViewController::UpdateScrollBars()
{
    // A sheet that fits itself to the view at every draw has nothing to
    // scroll to; and a bar that took room would make it fit anew, without
    // the bar, and so on.
    if (!HasSheet() || !settings.showScrollBars || Sheet().fitMode) {
        ui.SetScrollBars({}, {});
        return;
    }
    const CSheet::CScrollBars bars = Sheet().ScrollBars();
    ui.SetScrollBars(BarState(bars.horizontal), BarState(bars.vertical));
}

void CViewController::UpdateStatus(bool withValues)
{
    const bool values = withValues && HasSheet();
    const auto texts = ReadoutTexts(values ? &Sheet() : nullptr, doc.workingTime);
    for (size_t i = 0; i < texts.size(); ++i)
        ui.SetStatusText(static_cast<int>(i) + 1, texts[i]);
}

void CViewController::UpdatePointerShape()
{
    using Shape = CUiServices::PointerShape;
    Shape wanted = Shape::CrossHair;
    if (orthoCrosshair || diagCrosshair)
        wanted = Shape::Blank;
    else if (HasSheet() && Sheet().toolStep == Step::Selection)
        wanted = Shape::Move;
    if (shape == wanted)
        return;
    shape = wanted;
    ui.SetPointerShape(wanted);
}

CPoint CViewController::CursorPixel()
{
    const CSheet& s = Sheet();
    const int z = std::max(s.zoom, 1);
    return {s.cursor.x / z, s.cursor.y / z};
}

bool CViewController::WarpPointer()
{
    if (!HasSheet())
        return false;
    const CPoint p = CursorPixel();
    HideWarpCross();
    if (ui.PutPointer(p.x, p.y)) {
        warpedTo = p;
        return true;
    }
    // Where the platform keeps the pointer to itself, a cross marks the
    // cursor until the user moves the pointer.
    warpedTo.reset();
    warpCross = true;
    if (CCanvas* screen = ui.ScreenCanvas()) {
        DrawWarpCrossAt(*screen, p);
        warpCrossShownAt = p;
    }
    return false;
}

void CViewController::HideWarpCross()
{
    if (!warpCross)
        return;
    warpCross = false;
    CCanvas* screen = ui.ScreenCanvas();
    if (screen && warpCrossShownAt)
        DrawWarpCrossAt(*screen, *warpCrossShownAt);
    warpCrossShownAt.reset();
}

void CViewController::DrawWarpCrossAt(CCanvas& dc, CPoint p)
{
    const RasterOp old = dc.SetRasterOp(RasterOp::Not);
    dc.SelectPen({1, 0, PenStyle::Solid});
    dc.MoveTo(p.x - kWarpCrossArm, p.y);
    dc.LineTo(p.x + kWarpCrossArm + 1, p.y);
    dc.MoveTo(p.x, p.y - kWarpCrossArm);
    dc.LineTo(p.x, p.y + kWarpCrossArm + 1);
    dc.SetRasterOp(old);
}

int CViewController::AutoPan()
{
    CSheet& s = Sheet();
    const CPoint p = CursorPixel();
    const bool nearEdge = s.cursor.x < kAutoPanNear || p.x > s.clientRect.right - kAutoPanEdge
        || s.cursor.y < kAutoPanNear || p.y > s.clientRect.bottom - kAutoPanEdge;
    if (!nearEdge || s.CentreOn(s.cursor.x, s.cursor.y) == CPoint {})
        return 0;
    Redraw();
    WarpPointer();
    return 1;
}

void CViewController::SetStep(int step)
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    // A moved selection becomes an undo step once the selecting is over.
    if (s.toolMode == ToolMode::Select && s.pendingChange)
        doc.RecordUndoStep();
    s.toolStep = step;
    s.grids.SelectFor(s.toolMode);
    if (step == Step::Idle) {
        s.texts.DeselectAll();
        s.pictures->SetAllSelected(false);
        Redraw();
    }
    UpdatePointerShape();
}

// --- pointer ------------------------------------------------------------------

void CViewController::PointerMove(int px, int py, CModifiers held)
{
    ctrlDown = held.ctrl;
    shiftDown = held.shift;
    // The move the system makes after the pointer was put on the cursor
    // is none of the user's.
    if (std::exchange(warpedTo, std::nullopt) == CPoint {px, py})
        return;
    ui.TakeFocus();
    if (!HasSheet())
        return;
    HideWarpCross();
    Sheet().SetPointer(px, py);
    CursorMoved();
}

void CViewController::CursorMoved()
{
    CSheet& s = Sheet();
    if (captured && s.cursor != s.prevCursor && AutoPan()) {
        Tool().Panned(*this);
        return;
    }
    Tool().Move(*this);
    FollowCrosshairs();
    UpdateStatus();
    UpdatePointerShape();
}

void CViewController::PointerPress(Button button, int px, int py, CModifiers held)
{
    ctrlDown = held.ctrl;
    shiftDown = held.shift;
    if (button != Button::Left || !HasSheet())
        return;
    Sheet().SetPointer(px, py);
    FollowCrosshairs();
    Press();
}

void CViewController::Press()
{
    if (captured)
        return;
    captured = true;
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    // A dragged rectangle ignores presses; its release finishes it.
    if (s.toolStep == Step::Rubber || s.toolStep == Step::ZoomDrag)
        return;
    if (s.CanUndo())
        doc.MarkChanged();
    s.textPoint = s.cursor;
    if (!s.relFixed)
        s.relPoint = s.cursor;
    UpdateStatus();
    Tool().Press(*this);
    UpdatePointerShape();
}

void CViewController::PointerRelease(Button button, int px, int py, CModifiers held)
{
    ctrlDown = held.ctrl;
    shiftDown = held.shift;
    if (button == Button::Right) {
        ContextMenu(CPoint {px, py});
        return;
    }
    if (button == Button::Left)
        Release();
}

void CViewController::Release()
{
    captured = false;
    if (!HasSheet())
        return;
    Tool().Release(*this);
    UpdatePointerShape();
}

void CViewController::DoubleClick(int px, int py, CModifiers held)
{
    ctrlDown = held.ctrl;
    shiftDown = held.shift;
    if (!HasSheet())
        return;
    Sheet().SetPointer(px, py);
    // Whatever the tool, a double click on the one selected picture opens
    // its properties.
    if (Execute(Cmd::PictureProperties))
        return;
    Tool().DoubleClick(*this);
}

void CViewController::Wheel(int px, int py, int delta, CModifiers held)
{
    ctrlDown = held.ctrl;
    shiftDown = held.shift;
    if (!HasSheet())
        return;
    wheelRest += delta;
    const int notches = wheelRest / kWheelNotch;
    wheelRest %= kWheelNotch;
    if (notches == 0)
        return;
    CSheet& s = Sheet();
    // The point under the pointer stays under it.
    const int zoom = s.zoom;
    const int64_t x = int64_t {px} * zoom;
    const int64_t y = int64_t {py} * zoom;
    for (int i = 0; i < std::abs(notches); ++i) {
        if (!(notches > 0 ? s.ZoomIn() : s.ZoomOut()))
            break;
    }
    if (s.zoom == zoom)
        return;
    const int64_t dx = int64_t {px} * s.zoom - x;
    const int64_t dy = int64_t {py} * s.zoom - y;
    s.Pan(static_cast<int>(std::clamp<int64_t>(dx, INT32_MIN, INT32_MAX)),
        static_cast<int>(std::clamp<int64_t>(dy, INT32_MIN, INT32_MAX)));
    s.SetPointer(px, py);
    Redraw();
    // What follows the pointer follows it to where the zoom left it.
    Tool().Move(*this);
}

// --- focus, timers, size, scrolling ---------------------------------------------

void CViewController::FocusIn()
{
    // Time without the focus does not count.
    doc.startTick = clock.Tick();
    clock.StartTimer(kWorkTimer, kWorkTimerMs);
    backup.FocusIn(BackupSettings(settings));
}

void CViewController::FocusOut(bool toPopup)
{
    doc.UpdateWorkingTime(clock.Tick());
    ui.SetStatusText(kPaneTime, CDovereduDoc::FormatWorkingTime(doc.workingTime));
    clock.StopTimer(kWorkTimer);
    backup.FocusOut(toPopup);
    ctrlDown = false;
    shiftDown = false;
    // Whatever took the focus took the pointer too.
    captured = false;
}

void CViewController::Timer(int id)
{
    if (id == kWorkTimer) {
        doc.UpdateWorkingTime(clock.Tick());
        ui.SetStatusText(kPaneTime, CDovereduDoc::FormatWorkingTime(doc.workingTime));
        if (HasSheet())
            Tool().Tick(*this);
        const bool idle = !captured && (!HasSheet() || Sheet().toolStep == Step::Idle);
        backup.Poll(BackupSettings(settings), captured, idle);
    } else if (id == kBackupTimer) {
        backup.Expired(BackupSettings(settings), captured);
    }
}

void CViewController::Resize(int cx, int cy)
{
    doc.SetViewRect(0, 0, std::max(cx, 0), std::max(cy, 0));
    UpdateScrollBars();
    ui.Invalidate();
}

void CViewController::Scroll(bool vertical, ScrollCode code, int trackPosition)
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    const CSheet::CScrollBars bars = s.ScrollBars();
    const CSheet::CScrollBar& bar = vertical ? bars.vertical : bars.horizontal;
    int64_t d = 0;
    switch (code) {
    case ScrollCode::LineUp:
        d = bar.smallStep;
        break;
    case ScrollCode::LineDown:
        d = -int64_t {bar.smallStep};
        break;
    case ScrollCode::PageUp:
        d = bar.bigStep;
        break;
    case ScrollCode::PageDown:
        d = -int64_t {bar.bigStep};
        break;
    case ScrollCode::ThumbTrack:
        d = int64_t {bar.position} - trackPosition;
        break;
    case ScrollCode::ThumbPosition:
    case ScrollCode::End:
        break;
    }
    const int step = static_cast<int>(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX));
    if (step != 0)
        s.Pan(vertical ? 0 : step, vertical ? step : 0);
    Redraw();
}

// --- drawing ----------------------------------------------------------------------

void CViewController::DrawOffscreen(CCanvas& dc)
{
    if (!HasSheet()) {
        UpdateStatus(false);
        return;
    }
    CSheet& s = Sheet();
    const int zoom = s.zoom;
    const CPoint origin = s.origin;
    // A line being drawn is the tool's feedback, not yet part of the sheet.
    s.DrawSheet(dc, pens, LineInProgress(s) ? toolState.lineStartCount : s.recordCount);
    // A sheet that fits itself to the view at every draw changes its bars.
    if (s.zoom != zoom || s.origin != origin) {
        UpdateScrollBars();
        UpdateStatus();
    }
}

void CViewController::DrawOverlays(CCanvas& screen)
{
    orthoShownAt.reset();
    diagShownAt.reset();
    warpCrossShownAt.reset();
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    if (s.rubberActive)
        s.DrawRubberRect(screen);
    if (HasSelection()(doc))
        s.DrawSelection(screen, pens, CSheet::kSelectionHighlight);
    Tool().DrawFeedback(*this, screen);
    ui.SetStatusText(kPaneRecord, RecordLine(s));
    if (orthoCrosshair) {
        orthoShownAt = CursorPixel();
        DrawCrosshairAt(screen, false, *orthoShownAt);
    }
    if (diagCrosshair) {
        diagShownAt = CursorPixel();
        DrawCrosshairAt(screen, true, *diagShownAt);
    }
    if (warpCross) {
        warpCrossShownAt = CursorPixel();
        DrawWarpCrossAt(screen, *warpCrossShownAt);
    }
}

void CViewController::DrawCrosshair(bool diagonal)
{
    if (!HasSheet())
        return;
    if (CCanvas* screen = ui.ScreenCanvas())
        DrawCrosshairAt(*screen, diagonal, CursorPixel());
}

void CViewController::DrawCrosshairAt(CCanvas& dc, bool diagonal, CPoint p)
{
    const int w = Sheet().clientRect.right;
    const int h = Sheet().clientRect.bottom;
    const RasterOp old = dc.SetRasterOp(RasterOp::Not);
    dc.SelectPen({1, 0, PenStyle::Solid});
    if (diagonal) {
        const int d = std::max(w, h);
        dc.MoveTo(p.x - d, p.y - d);
        dc.LineTo(p.x + d, p.y + d);
        dc.MoveTo(p.x - d, p.y + d);
        dc.LineTo(p.x + d, p.y - d);
    } else {
        dc.MoveTo(0, p.y);
        dc.LineTo(w, p.y);
        dc.MoveTo(p.x, 0);
        dc.LineTo(p.x, h);
    }
    dc.SetRasterOp(old);
}

void CViewController::FollowCrosshairs()
{
    if (!orthoCrosshair && !diagCrosshair)
        return;
    CCanvas* screen = ui.ScreenCanvas();
    if (!screen)
        return;
    const CPoint at = CursorPixel();
    const auto follow = [&](bool on, bool diagonal, std::optional<CPoint>& shownAt) {
        if (!on || shownAt == at)
            return;
        if (shownAt)
            DrawCrosshairAt(*screen, diagonal, *shownAt);
        DrawCrosshairAt(*screen, diagonal, at);
        shownAt = at;
    };
    follow(orthoCrosshair, false, orthoShownAt);
    follow(diagCrosshair, true, diagShownAt);
}
