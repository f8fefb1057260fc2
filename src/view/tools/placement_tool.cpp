#include "view/tools/placement_tool.h"

#include <cstdint>

#include "document/document.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "view/keys.h"
#include "view/tools/tool_context.h"

void DrawGhost(CToolContext& ctx)
{
    if (CCanvas* screen = ctx.Ui().ScreenCanvas())
        ctx.Sheet().DrawPlacement(*screen, true);
}

bool StartPlacement(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    if (s.placementCount <= 0 && s.bufferTexts.empty())
        return false;
    s.bufferAnchor = s.cursor;
    s.bufferCursor = s.cursor;
    ctx.SetStep(Step::Placing);
    DrawGhost(ctx);
    return true;
}

void CentreGhost(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    if (s.placementCount <= 0)
        return;
    ReplaceGhost(ctx, [&] { s.CentreBufferOnCursor(ctx.Ui()); });
}

void CPlacementTool::Press(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Placing:
        if (!s.CommitBuffer(ctx.Ui()))
            break; // nothing to place, or no room for it
        ctx.Document().MarkChanged();
        s.rubberActive = 0;
        ctx.Redraw();
        break;
    default:
        break;
    }
}

void CPlacementTool::Move(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    switch (ctx.Step()) {
    case Step::Placing: {
        // The ghost follows the cursor itself, not the sum of the moves it
        // saw: a move it never saw (a pan, a zoom) cannot leave it behind.
        const int64_t dx = int64_t {s.cursor.x} - s.bufferCursor.x;
        const int64_t dy = int64_t {s.cursor.y} - s.bufferCursor.y;
        if (dx == 0 && dy == 0)
            break;
        DrawGhost(ctx);
        if (s.MoveBuffer(dx, dy))
            s.bufferCursor = s.cursor;
        DrawGhost(ctx);
        break;
    }
    default:
        break;
    }
}

void CPlacementTool::DrawFeedback(CToolContext& ctx, CCanvas& screen)
{
    ctx.Sheet().DrawPlacement(screen, true);
}
