#pragma once

#include "view/tools/tool_machine.h"

// Rectangles and ellipses, open and filled: a press anchors a rubber band
// at the cursor (112), which follows the pointer until a release leaves it at
// least one snap step of the drawing grid high and wide. The figure is then
// built in the placement buffer and placed from there (500); a band too small
// (or an ellipse too small to build) keeps following from the same anchor.
// Esc (the view's key map) takes the band away: Finish.
class CRubberTool : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Move(CToolContext& ctx) override;
    void Release(CToolContext& ctx) override;
    void Finish(CToolContext& ctx) override;
};
