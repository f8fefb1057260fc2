#pragma once

#include "view/tools/tool_machine.h"

// Placing from the sheet's placement buffer (500), whatever the tool: the
// buffer follows the cursor as a grey XOR ghost on the screen image, each
// press places a copy of it as a new block and the step stays 500, until
// Esc or "Einde" empties it and selects the Select tool. The tools only fill
// the buffer and start the placement.
class CPlacementTool : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Move(CToolContext& ctx) override;
    void DrawFeedback(CToolContext& ctx, CCanvas& screen) override;
};

// Starts placing what the buffer holds, built at the cursor: the ghost is
// drawn and the step is 500. False, with nothing changed, for an empty
// buffer: the caller falls back as after a cancelled choice.
bool StartPlacement(CToolContext& ctx);
// The buffer refilled while it is being placed: `refill` rebuilds it at the
// anchor; the old ghost is erased and the new one drawn.
template<class Refill> void ReplaceGhost(CToolContext& ctx, Refill refill);
// "Centreer op cursor": the middle of the buffer's box onto the cursor.
void CentreGhost(CToolContext& ctx);
// The ghost on the screen image, in XOR: drawn twice it is gone.
void DrawGhost(CToolContext& ctx);

template<class Refill> void ReplaceGhost(CToolContext& ctx, Refill refill)
{
    DrawGhost(ctx);
    refill();
    DrawGhost(ctx);
}
