#include "view/tools/idle_tool.h"

#include "model/tool_mode.h"
#include "view/tools/tool_context.h"

void ReleaseToIdle(CToolContext& ctx)
{
    switch (ctx.Step()) {
    case Step::Typing:
    case Step::PictureFollows:
        break;
    default:
        ctx.SetStep(Step::Idle);
        ctx.Prompt("Ready");
        break;
    }
}
