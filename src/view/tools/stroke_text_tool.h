#pragma once

#include "view/tools/tool_machine.h"

// "Teksten" (8240): a press asks for the text ("Plaats tekst"), which then
// follows the pointer from the cursor, built in the program's own font, to
// be placed at every press (500, the placement's). While it follows, the
// commands below change one of its settings and build it anew where it is.
class CStrokeTextTool : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Release(CToolContext& ctx) override;
};

// "Plaats tekst": from a press or "Teksten" chosen again, the text built at
// the cursor starts following the pointer (500); Cancel, no font, a text
// that builds nothing or leaves the coordinate range end at step 0. While
// the text already follows ("Aanpassen..."), OK builds it anew where it is,
// and whatever does not give a text to place changes nothing.
void PlaceText(CToolContext& ctx);

// The commands on the text that follows the pointer. Each builds it anew at
// its origin (where it was built, moved along with it); a text that would
// leave the coordinate range keeps its old settings, and says so.
// "Verkleinen" and "Vergroten": the size in force by one, within 1 ... 10001,
// shown in the message pane.
void ResizeText(CToolContext& ctx, int step);
// "Laagkeuze...": the layer chosen for the text is made visible.
void ChooseTextLayer(CToolContext& ctx);
// "Penkeuze...": the pen of the text; widths changed there are the project's.
// A text of pen 0 (moves only) keeps it: the pen choice does not open for it.
void ChooseTextPen(CToolContext& ctx);
// "Spiegelschrift".
void MirrorText(CToolContext& ctx);
// "Kantelen": a quarter turn counter-clockwise.
void TurnText(CToolContext& ctx);
