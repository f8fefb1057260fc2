#include "view/tools/junction_tool.h"

#include "document/document.h"
#include "model/sheet.h"
#include "view/tools/idle_tool.h"
#include "view/tools/tool_context.h"

void CJunctionTool::Press(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Idle:
        // The sheet takes the snapshot itself.
        ctx.Sheet().ToggleJunction();
        ctx.Document().MarkChanged();
        ctx.Redraw();
        break;
    default:
        break;
    }
}

void CJunctionTool::Release(CToolContext& ctx)
{
    ReleaseToIdle(ctx);
}
