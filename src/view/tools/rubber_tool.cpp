#include "view/tools/rubber_tool.h"

#include <algorithm>
#include <string_view>

#include "model/sheet.h"
#include "platform/ui_services.h"
#include "view/keys.h"
#include "view/tools/placement_tool.h"
#include "view/tools/tool_context.h"

namespace {

// The band in XOR on the screen image: drawn twice it is gone. The complete
// draw shows it while `rubberActive` is set.
void DrawBand(CToolContext& ctx)
{
    if (CCanvas* screen = ctx.Ui().ScreenCanvas())
        ctx.Sheet().DrawRubberRect(*screen);
}

CRect Normalised(const CRect& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
        std::max(r.top, r.bottom)};
}

std::string_view PlacePrompt(int toolMode)
{
    switch (toolMode) {
    case ToolMode::Rectangles:
        return "Place rectangle";
    case ToolMode::FilledRectangle:
        return "Place filled rectangle";
    default:
        return "Place ellipse";
    }
}

// The figure of the band into the placement buffer; false when an ellipse
// came out too small to build.
bool BuildFigure(CSheet& s, const CRect& r)
{
    switch (s.toolMode) {
    case ToolMode::Rectangles:
    case ToolMode::FilledRectangle:
        s.BuildRectangle(r.left, r.top, r.right, r.bottom);
        return true;
    default:
        return s.BuildEllipse(
                   r.left, r.top, r.right, r.bottom, s.toolMode == ToolMode::FilledEllipse)
            != 0;
    }
}

void EndBand(CToolContext& ctx)
{
    DrawBand(ctx);
    ctx.Sheet().rubberActive = 0;
}

} // namespace

void CRubberTool::Press(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Idle:
        s.rubberAnchor = s.cursor;
        s.rubberRect = {s.cursor.x, s.cursor.y, s.cursor.x, s.cursor.y};
        s.rubberActive = 1;
        DrawBand(ctx);
        ctx.SetStep(Step::Rubber);
        break;
    default:
        break;
    }
}

void CRubberTool::Move(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Rubber:
        DrawBand(ctx);
        s.rubberRect = {s.rubberAnchor.x, s.rubberAnchor.y, s.cursor.x, s.cursor.y};
        DrawBand(ctx);
        break;
    default:
        break;
    }
}

void CRubberTool::Release(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Rubber: {
        const CRect r = Normalised(s.rubberRect);
        const CGrid& grid = s.grids.grids[CGridArr::kDraw];
        // The height against the x step and the width against the y step.
        if (r.Height() < grid.SnapX() || r.Width() < grid.SnapY())
            break;
        if (!BuildFigure(s, r))
            break;
        EndBand(ctx);
        s.rubberRect = r;
        StartPlacement(ctx);
        ctx.Prompt(PlacePrompt(s.toolMode));
        break;
    }
    default:
        break;
    }
}

void CRubberTool::Finish(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Rubber:
        EndBand(ctx);
        ctx.SetStep(Step::Idle);
        break;
    default:
        break;
    }
}
