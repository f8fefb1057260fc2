// The view's commands and their enabling; the zoom, grid and sheet-switch
// handlers.
#include "app/command_table.h"
#include "app/settings.h"
#include "document/document.h"
#include "model/model_defaults.h"
#include "model/sheet.h"
#include "view/command_conditions.h"
#include "view/tools/zoom_window.h"
#include "view/view_controller.h"
#include "view/view_dialogs.h"

namespace {

// A hidden grid comes back as it was last shown; a shown one remembers how
// it was shown (a sheet read from a file knows its display but not the last
// one) and hides.
void ToggleGridDisplay(CGrid& g)
{
    if (g.display > 0) {
        g.lastDisplay = g.display;
        g.display = 0;
    } else {
        g.display = g.lastDisplay == 1 || g.lastDisplay == 2 ? g.lastDisplay : 2;
    }
}

// The configured grids take a sheet's grids, steps of at least 1. The last
// display kind goes along, so that a hidden grid shows again as it was.
void StoreGridDefaults(const CGridArr& sheet, CGridArr& defaults)
{
    for (size_t i = 0; i < sheet.grids.size(); ++i) {
        const CGrid& from = sheet.grids[i];
        CGrid& to = defaults.grids[i];
        to.spacingX = from.SpacingX();
        to.spacingY = from.SpacingY();
        to.snapX = from.SnapX();
        to.snapY = from.SnapY();
        to.display = from.display;
        if (from.display > 0)
            to.lastDisplay = from.display;
        else if (from.lastDisplay == 1 || from.lastDisplay == 2)
            to.lastDisplay = from.lastDisplay;
        to.snapOn = from.snapOn;
    }
}

} // namespace

void CViewController::RegisterCommands()
{
    const auto enabledIf = [this](CCondition enabled) {
        return [this, enabled = std::move(enabled)] { return CCommandState {enabled(doc), false}; };
    };
    const auto enabledTickedIf = [this](CCondition enabled, CCondition ticked) {
        return [this, enabled = std::move(enabled), ticked = std::move(ticked)] {
            return CCommandState {enabled(doc), enabled(doc) && ticked(doc)};
        };
    };
    const auto gridShown = [](int index) {
        return SheetIs([index](const CSheet& s) {
            const int i = index < 0 ? s.grids.activeGrid : index;
            return s.grids.grids[static_cast<size_t>(i)].display > 0;
        });
    };
    const auto withSheet = enabledIf(::HasSheet());
    const CCondition moreThanOneSheet
        = CCondition([](const CDovereduDoc& d) { return d.sheets.size() > 1; });

    handlers.On(
        Cmd::ZoomIn, [this] { ZoomStep(true); },
        enabledIf(SheetIs([](const CSheet& s) { return s.zoom > CSheet::kMinZoom; })));
    handlers.On(
        Cmd::ZoomOut, [this] { ZoomStep(false); },
        enabledIf(SheetIs([](const CSheet& s) { return s.zoom < CSheet::kMaxZoom; })));
    handlers.On(
        Cmd::ZoomAll, [this] { ZoomAll(); }, withSheet);
    handlers.On(
        Cmd::ZoomWindow,
        [this] {
            // What the tool was doing ends first: a line being drawn or
            // typed is kept, with its undo step, not left half made.
            FinishInteraction();
            ArmZoomWindow(*this);
        },
        enabledTickedIf(::HasSheet(), AtStep(Step::ZoomArmed) || AtStep(Step::ZoomDrag)));
    handlers.On(
        Cmd::Refresh, [this] { Redraw(); }, withSheet);
    handlers.On(
        Cmd::RecomputeSize, [this] { RecomputeSize(); }, withSheet);
    handlers.On(
        Cmd::RelativePoint, [this] { ToggleRelativePoint(); },
        enabledTickedIf(::HasSheet(), SheetIs([](const CSheet& s) { return s.relFixed != 0; })));
    handlers.On(
        Cmd::LongCursor,
        [this] {
            orthoCrosshair = !orthoCrosshair;
            Redraw();
        },
        [this] {
            return CCommandState {true, orthoCrosshair};
        });
    handlers.On(
        Cmd::DrawGrid, [this] { ToggleGrid(CGridArr::kDraw); },
        enabledTickedIf(::HasSheet(), gridShown(CGridArr::kDraw)));
    handlers.On(
        Cmd::PlaceGrid, [this] { ToggleGrid(CGridArr::kPlace); },
        enabledTickedIf(::HasSheet(), gridShown(CGridArr::kPlace)));
    handlers.On(
        Cmd::TextGrid, [this] { ToggleGrid(CGridArr::kText); },
        enabledTickedIf(::HasSheet(), gridShown(CGridArr::kText)));
    handlers.On(
        Cmd::GridInForce,
        [this] {
            if (HasSheet())
                ToggleGrid(Sheet().grids.activeGrid);
        },
        enabledTickedIf(::HasSheet(), gridShown(-1)));
    handlers.On(Cmd::GridLines, [] {});
    handlers.On(
        Cmd::GridDialog, [this] { ShowGridDialog(); }, withSheet);
    handlers.On(
        Cmd::SheetConfiguration, [this] { ShowGridDialog(); }, withSheet);
    handlers.On(
        Cmd::PreviousSheet, [this] { SwitchSheet(false); }, enabledIf(moreThanOneSheet));
    handlers.On(
        Cmd::NextSheet, [this] { SwitchSheet(true); }, enabledIf(moreThanOneSheet));

    handlers.On(
        Cmd::ChooseLayer, [this] { ChooseLayer(); }, withSheet);
    handlers.On(
        Cmd::ChoosePen, [this] { ChoosePen(); }, withSheet);
    handlers.On(
        Cmd::LayerTable, [this] { ConfigureLayers(); }, withSheet);
    handlers.On(
        Cmd::ChooseFont, [this] { ChooseFont(); }, withSheet);
}

CCommandState CViewController::Update(int id) const
{
    return router.Update(id);
}

bool CViewController::Execute(int id)
{
    return router.Execute(id);
}

void CViewController::ZoomStep(bool in)
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    if (in)
        s.ZoomIn();
    else
        s.ZoomOut();
    s.CentreOn(s.cursor.x, s.cursor.y);
    Redraw();
}

void CViewController::ZoomAll()
{
    if (!HasSheet())
        return;
    Sheet().ZoomAll();
    Redraw();
}

void CViewController::ResetPan()
{
    if (!HasSheet())
        return;
    Sheet().ResetPan();
    Redraw();
}

void CViewController::CentreOnCursor()
{
    CSheet& s = Sheet();
    if (s.CentreOn(s.cursor.x, s.cursor.y) != CPoint {})
        Redraw();
}

void CViewController::RecomputeSize()
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    if (doc.viewRect.right > 0 && doc.viewRect.bottom > 0)
        s.clientRect = doc.viewRect;
    s.RecomputeExtent();
    s.ZoomAll();
    Redraw();
}

void CViewController::ToggleRelativePoint()
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    s.relFixed = s.relFixed ? 0 : 1;
    UpdateStatus();
}

void CViewController::ToggleGrid(int index)
{
    if (!HasSheet() || index < 0 || index > 2)
        return;
    ToggleGridDisplay(Sheet().grids.grids[static_cast<size_t>(index)]);
    if (settings.gridToAllSheets)
        ApplyGridsToAllSheets();
    Redraw();
}

void CViewController::ApplyGridsToAllSheets()
{
    if (!HasSheet())
        return;
    StoreGridDefaults(Sheet().grids, settings.grids);
    ModelDefaults().grids.CopyFrom(settings.grids);
    for (auto& sheet : doc.sheets)
        sheet->grids.CopyFrom(settings.grids);
}

void CViewController::ShowGridDialog()
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    CGridValues values {s.grids, settings.gridToAllSheets};
    if (!dialogs.EditGrids(values))
        return;
    s.grids.CopyFrom(values.grids);
    settings.gridToAllSheets = values.applyToAll;
    if (values.applyToAll)
        ApplyGridsToAllSheets();
    Redraw();
}

void CViewController::SwitchSheet(bool next)
{
    FinishInteraction();
    if ((next ? doc.NextSheet() : doc.PreviousSheet()) < 0)
        return;
    Redraw();
    ui.DocumentChanged();
}
