#pragma once

#include "view/tools/tool_machine.h"

class CSheet;

// What a press in the Select tool hit (the tool state's hitKind): a text, a
// record or a picture, each unselected or already selected.
namespace Hit {
constexpr int None = 0;
constexpr int Text = 8;
constexpr int SelectedText = 9;
constexpr int Record = 16;
constexpr int SelectedRecord = 17;
constexpr int Picture = 32;
constexpr int SelectedPicture = 33;
} // namespace Hit

// The Select tool (8192). Its steps follow the selection:
// - 0: nothing selected. A press on a text, record or picture selects it by
//   the sheet's criteria (200); a press on empty paper starts a window (112).
// - 112: the window follows the pointer, with or without a button, until a
//   release more than 1 mm or 4 pixels (the smaller) from its anchor selects
//   what lies inside (200, the window stays shown) or, when that is nothing,
//   ends the selection (0).
// - 200: something is selected. A drag from a selected item or from inside
//   the window moves the selection in steps of the cursor; a press elsewhere
//   without Ctrl only deselects (0). With Ctrl a press adds, and a release
//   without a drag on a selected text or record deselects it.
// The view's key map runs the commands on it: Esc ends the selection at
// every step; Ctrl+A selects everything; Delete deletes the selection; F2
// turns it, Shift+F2 mirrors it when it holds elements and no texts.
class CSelectTool : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Move(CToolContext& ctx) override;
    void Panned(CToolContext& ctx) override;
    void Release(CToolContext& ctx) override;
    void Finish(CToolContext& ctx) override;
};

// Records, texts or pictures selected.
bool AnythingSelected(CSheet& s);
// A move not yet recorded becomes its undo step, before the selection
// changes under it.
void RecordPendingMove(CToolContext& ctx);
// "Einde selectie": the window and every selection go, step 0.
void EndSelection(CToolContext& ctx);
// "Alles selecteren": every record, text and picture; step 200.
void SelectEverything(CToolContext& ctx);
// "Selectie inverteren": step 200 when anything is left selected, else 0.
void InvertEverything(CToolContext& ctx);
