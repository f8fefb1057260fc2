#pragma once

#include "platform/types.h"
#include "view/tools/tool_machine.h"

// The picture tool (8336): a picture just added with "Afbeelding toevoegen"
// is selected, so it is not in the sheet image, and follows the pointer
// (300) by its top-left corner. A press places it as an undo step and asks
// for the next picture; Esc, or anything that ends the tool before a press
// (another tool, Undo, Redo, another sheet), takes it off the sheet again.
class CPictureTool : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Move(CToolContext& ctx) override;
    void Release(CToolContext& ctx) override;
    void Finish(CToolContext& ctx) override;
};

// "Afbeeldingen": the add-picture dialog (a project never saved is saved
// first); the picture placed there follows the pointer in the picture tool.
// Cancel leaves the tool as it was. The caller has finished what was in
// progress.
void AddPictures(CToolContext& ctx);

// Picture `index` of the active sheet has moved from `oldPlacement`: its old
// pixels come back from the sheet image and it is drawn at its new place on
// the screen image, without a complete draw.
void ShowPictureMoved(CToolContext& ctx, int index, const CRect& oldPlacement);
