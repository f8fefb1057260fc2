#include "view/tools/zoom_window.h"

#include "model/sheet.h"
#include "platform/ui_services.h"
#include "view/tools/tool_context.h"

namespace {

// The window's rectangle from its first corner to the cursor, drawn in XOR:
// the old one erased, the new one drawn.
void Drag(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    CCanvas* screen = ctx.Ui().ScreenCanvas();
    if (screen)
        s.DrawZoomWindow(*screen);
    s.zoomWindowRect = {s.zoomWindowStart.x, s.zoomWindowStart.y, s.cursor.x, s.cursor.y};
    if (screen)
        s.DrawZoomWindow(*screen);
}

} // namespace

void ArmZoomWindow(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    s.fitMode = 0;
    const bool shown = s.zoomWindowActive != 0;
    s.zoomWindowActive = 0;
    ctx.SetStep(Step::ZoomArmed);
    if (shown)
        ctx.Redraw();
}

void CZoomWindow::Press(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::ZoomArmed:
        s.zoomWindowStart = s.cursor;
        s.zoomWindowRect = {s.cursor.x, s.cursor.y, s.cursor.x, s.cursor.y};
        s.zoomWindowActive = 1;
        ctx.SetStep(Step::ZoomDrag);
        break;
    default:
        break;
    }
}

void CZoomWindow::Move(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::ZoomDrag:
        Drag(ctx);
        break;
    default:
        break;
    }
}

void CZoomWindow::Release(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::ZoomDrag:
        ctx.Sheet().ZoomWindow();
        // A window without width or height changes nothing: it keeps
        // following the pointer from its first corner until a release makes
        // it a window.
        if (!ctx.Sheet().zoomWindowActive)
            ctx.SetStep(Step::Idle);
        break;
    default:
        break;
    }
}

void CZoomWindow::Finish(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::ZoomArmed:
    case Step::ZoomDrag:
        // Back at step 0 the view is drawn anew, without the window.
        ctx.Sheet().zoomWindowActive = 0;
        ctx.SetStep(Step::Idle);
        break;
    default:
        break;
    }
}
