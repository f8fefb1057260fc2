#pragma once

#include "view/tools/tool_machine.h"

// What a release does in a tool that has nothing in progress over a release:
// the step goes back to 0 and the message pane reads "Ready". A text being
// typed (220) and a picture following the pointer (300) stay as they are.
void ReleaseToIdle(CToolContext& ctx);

// The machine of the tools that only know the release.
class CIdleTool : public CToolMachine {
public:
    void Release(CToolContext& ctx) override { ReleaseToIdle(ctx); }
};
