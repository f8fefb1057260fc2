#pragma once

class CToolContext;

// The edits of a selection, for the commands and the Select tool's keys.
// Each records a pending move as its own undo step first; then whatever the
// edit changes (records, texts, pictures, the selection window) is one undo
// step, or none when nothing changed, and marks the project modified.

// "Selectie verwijderen": records, texts and pictures; step 0.
void DeleteSelected(CToolContext& ctx);
// "Spiegelen in X-As" (about the horizontal line through the cursor) or in
// the Y axis: the selected records.
void MirrorSelected(CToolContext& ctx, bool xAxis);
// "Kantelen": a quarter turn of the selected records about the cursor; the
// selected texts turn their angle.
void RotateSelected(CToolContext& ctx);
// "Laag": the layer choice; after OK the selected records and texts take
// the chosen layer, which becomes the active one.
void LayerOfSelected(CToolContext& ctx);
// "Selectie bewerken...": the dialog, then its edits as one undo step, all
// of them or, when one would leave the 32-bit range, none.
void EditSelected(CToolContext& ctx);
