#pragma once

#include "view/tools/tool_machine.h"

// "Zoom venster", whatever the sheet's tool: armed (step 101), a press
// starts the window at the cursor (102), it follows the pointer in XOR, and
// the release zooms the view onto it and ends at step 0.
class CZoomWindow : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Move(CToolContext& ctx) override;
    void Release(CToolContext& ctx) override;
    void Finish(CToolContext& ctx) override;
};

// Arms the zoom window on the active sheet: the next press starts it.
void ArmZoomWindow(CToolContext& ctx);
