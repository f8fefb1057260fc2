#pragma once

#include "view/tools/tool_machine.h"

// "Knooppunten": a press on a junction dot (within 4 pixels) removes it,
// anywhere else it adds one on the active layer; each is one undo step and
// the tool stays at step 0.
class CJunctionTool : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Release(CToolContext& ctx) override;
};
