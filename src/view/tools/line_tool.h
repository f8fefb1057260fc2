#pragma once

#include "view/tools/tool_machine.h"

class CSheet;

// The line tools: lines and filled polygons, free or at right angles. The
// pressed point starts a line (400); the first move that leaves it adds the
// first segment (401), which follows the pointer; a press fixes the vertex
// (402) and the next move that leaves it starts the next segment. "Einde
// lijn" (or Esc while a segment follows) tidies the line, closes a filled
// polygon and records the line as one undo step; the tool stays for the next
// line. The line being drawn is feedback: it is in the sheet's records, but
// only the screen image shows it, in NOT-XOR, until it is finished.
class CLineTool : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Move(CToolContext& ctx) override;
    void DrawFeedback(CToolContext& ctx, CCanvas& screen) override;
    void Finish(CToolContext& ctx) override;
};

// Whether the sheet's records end in a line being drawn.
bool LineInProgress(const CSheet& sheet);

// A layer chosen while a line is being drawn (its last segment following the
// pointer) takes the line under construction along with it; true when it did.
bool LineTakesLayer(CSheet& sheet, int layer);
