// The choices for the active sheet: the active layer (key L), the active pen
// and the pen widths (key P), the layer table and the font of new texts.
// Each asks through the view's dialogs; the window then shows the lists anew.
#include "app/choice_logic.h"
#include "app/settings.h"
#include "document/document.h"
#include "model/sheet.h"
#include "view/tools/line_tool.h"
#include "view/view_controller.h"
#include "view/view_dialogs.h"

void CViewController::ChooseLayer()
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    const std::optional<int> layer = dialogs.ChooseLayer(s.layers, s.activeLayer);
    if (layer && *layer >= 1 && *layer <= kChoosableLayers) {
        s.activeLayer = static_cast<int16_t>(*layer);
        // The screen shows the line in its old colour: drawn anew, the next
        // erase of it meets what it drew.
        if (LineTakesLayer(s, *layer))
            Redraw();
    }
    doc.RefreshSheetLists(true);
    ui.DocumentChanged();
}

void CViewController::ChoosePen()
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    if (!CPenChoice::Opens(s.activePen, true))
        return;
    CPenValues values {s.activePen, s.penWidths};
    if (!dialogs.ChoosePen(values))
        return;
    s.activePen = static_cast<int16_t>(values.pen);
    if (values.widths != s.penWidths) {
        s.penWidths = values.widths;
        // The widths are stored with the project: closing must ask for them.
        doc.MarkChanged();
        Redraw();
        ui.DocumentChanged();
    }
}

void CViewController::ConfigureLayers()
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    s.Recount();
    CLayerTable table(s);
    if (!dialogs.EditLayerTable(table))
        return;
    table.Apply(s);
    doc.MarkChanged();
    // Refreshing the lists also gives every sheet the configured grids when
    // they apply to all sheets.
    doc.RefreshSheetLists(true);
    Redraw();
    ui.DocumentChanged();
}

void CViewController::ChooseFont()
{
    if (!HasSheet())
        return;
    std::vector<std::string> faces;
    for (const CLogFont& font : settings.fonts)
        faces.push_back(font.Face());
    CSheet& s = Sheet();
    const std::optional<int> font = dialogs.ChooseFont(faces, s.textDefaults.fontNumber);
    if (!font || *font < 0 || *font >= static_cast<int>(faces.size()))
        return;
    s.textDefaults.fontNumber = *font;
    ui.DocumentChanged();
}
