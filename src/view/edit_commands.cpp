// The edit commands on a selection: delete, mirror, rotate, layer and
// "Selectie bewerken".
#include "view/edit_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "app/command_table.h"
#include "app/selection_edit.h"
#include "document/document.h"
#include "model/sheet.h"
#include "platform/ui_services.h"
#include "view/command_conditions.h"
#include "view/tools/select_tool.h"
#include "view/tools/tool_context.h"
#include "view/view_controller.h"
#include "view/view_dialogs.h"

namespace {

// Runs one edit in an undo scope: one snapshot when it changed anything,
// the project marked modified then. Selected content is not in the sheet
// image, so restoring the screen and drawing the marks shows the edit,
// unless it showed a hidden layer.
template<class Edit> void RunEdit(CToolContext& ctx, Edit edit)
{
    CSheet& s = ctx.Sheet();
    RecordPendingMove(ctx);
    const uint32_t shown = s.layers.VisibleMask();
    bool changed = false;
    {
        CSheet::CUndoScope scope(s);
        if (!edit(s, scope))
            scope.Discard();
        changed = scope.End();
    }
    if (changed) {
        ctx.Document().MarkChanged();
        ctx.Ui().DocumentChanged();
    }
    if (s.layers.VisibleMask() != shown)
        ctx.Redraw();
    else
        ctx.RedrawOverlays();
}

// The selected texts take the layer; whether any changed.
bool TextsToLayer(CSheet& s, int layer)
{
    bool changed = false;
    for (int k = 0; k < s.texts.GetCount(); ++k) {
        CText* t = s.texts.At(k);
        if (t->IsSelected() && t->Layer() != layer) {
            t->SetLayer(layer);
            changed = true;
        }
    }
    return changed;
}

bool Fits(int64_t v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

// The selection window scaled about the cursor as the records are, in 64
// bits; false, changing nothing, when it would leave the 32-bit range.
bool ScaleWindow(CSheet& s, double percent)
{
    const auto scaled = [&](int64_t c, int32_t v) {
        const double d = std::trunc(static_cast<double>(v - c) * percent / 100.0);
        return d >= -4.0e9 && d <= 4.0e9 ? c + static_cast<int64_t>(d) : INT64_MAX;
    };
    const CRect& r = s.rubberRect;
    const int64_t left = scaled(s.cursor.x, r.left), right = scaled(s.cursor.x, r.right);
    const int64_t top = scaled(s.cursor.y, r.top), bottom = scaled(s.cursor.y, r.bottom);
    if (!Fits(left) || !Fits(right) || !Fits(top) || !Fits(bottom))
        return false;
    s.rubberRect = {static_cast<int32_t>(left), static_cast<int32_t>(top),
        static_cast<int32_t>(right), static_cast<int32_t>(bottom)};
    return true;
}

// The dialog's steps in their order; false when one was refused.
bool ApplyEdit(CSheet& s, const CSelectionEdit& e, CUiServices& ui, CSheet::CUndoScope& scope)
{
    if (e.mirrorX)
        s.MirrorX(ui);
    if (!scope.Refused() && e.mirrorY)
        s.MirrorY(ui);
    if (!scope.Refused() && e.angle)
        s.Rotate(*e.angle, ui);
    if (!scope.Refused() && e.pen)
        s.ChangePen(e.pen->first, e.pen->second);
    if (!scope.Refused() && e.layer)
        s.ChangeLayer(e.layer->first, e.layer->second, ui);
    if (!scope.Refused() && e.percent && *e.percent != 100.0) {
        const CRect window = s.rubberRect;
        if (s.rubberActive && !ScaleWindow(s, *e.percent)) {
            s.editRefused = true;
            ui.MessageBox(CSheet::kMsgOutOfRange);
        } else {
            s.Scale(*e.percent, ui);
            if (s.rubberRect != window)
                s.PushUndo(); // the window is part of the change
        }
    }
    return !scope.Refused();
}

} // namespace

void DeleteSelected(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    RecordPendingMove(ctx);
    s.rubberActive = 0;
    if (s.DeleteSelection()) {
        ctx.Document().MarkChanged();
        ctx.Ui().DocumentChanged();
    }
    ctx.SetStep(Step::Idle); // which draws the sheet anew
}

void MirrorSelected(CToolContext& ctx, bool xAxis)
{
    RunEdit(ctx, [&](CSheet& s, CSheet::CUndoScope&) {
        xAxis ? s.MirrorX(ctx.Ui()) : s.MirrorY(ctx.Ui());
        return true;
    });
}

void RotateSelected(CToolContext& ctx)
{
    RunEdit(ctx, [&](CSheet& s, CSheet::CUndoScope&) {
        s.Rotate(90, ctx.Ui(), true);
        return true;
    });
}

void LayerOfSelected(CToolContext& ctx)
{
    CSheet& s = ctx.Sheet();
    const std::optional<int> layer = ctx.Dialogs().ChooseLayer(s.layers, s.activeLayer);
    if (!layer || *layer < 1 || *layer > kChoosableLayers)
        return;
    s.activeLayer = static_cast<int16_t>(*layer);
    RunEdit(ctx, [&](CSheet& sheet, CSheet::CUndoScope&) {
        sheet.ChangeLayer(CSheet::kAll, *layer, ctx.Ui());
        if (TextsToLayer(sheet, *layer)) {
            sheet.layers.SetVisible(*layer, 1);
            sheet.PushUndo();
        }
        return true;
    });
    ctx.Document().RefreshSheetLists(true);
    ctx.Ui().DocumentChanged();
}

void EditSelected(CToolContext& ctx)
{
    CDovereduDoc& doc = ctx.Document();
    CSelectionEditValues values = OpenSelectionEdit(doc.selectionEdit);
    if (!ctx.Dialogs().EditSelection(values))
        return;
    const std::optional<CSelectionEdit> edit = ReadSelectionEdit(values);
    if (!edit)
        return;
    RememberSelectionEdit(doc.selectionEdit, values);
    if (!edit->Any())
        return;
    RunEdit(ctx, [&](CSheet& s, CSheet::CUndoScope& scope) {
        // All or nothing: the dialog changes only the selected records, the
        // layers shown and the window, which are put back when a step is
        // refused.
        std::vector<std::pair<int, CETREC>> before;
        before.reserve(static_cast<size_t>(std::max(s.selectedCount, 0)));
        ForEachSelected(s.selectionFlags, 1, s.recordCount,
            [&](int i) { before.emplace_back(i, s.records[i]); });
        const CLayerArray layers = s.layers;
        const CRect window = s.rubberRect;
        if (ApplyEdit(s, *edit, ctx.Ui(), scope))
            return true;
        for (const auto& [i, r] : before)
            s.records[i] = r;
        s.layers = layers;
        s.rubberRect = window;
        return false;
    });
}

void CViewController::RegisterEditCommands()
{
    const auto when = [this](CCondition enabled) {
        return [this, enabled = std::move(enabled)] { return CCommandState {enabled(doc), false}; };
    };
    const CCondition elements = SheetIs([](const CSheet& s) { return s.selectedCount > 0; });
    const CCondition texts
        = SheetIs([](const CSheet& s) { return s.texts.GetSelectedCount() > 0; });
    const CCondition selecting = InTool(ToolMode::Select);

    handlers.On(
        Cmd::DeleteSelection, [this] { DeleteSelected(*this); }, when(selecting && HasSelection()));
    handlers.On(
        Cmd::MirrorX, [this] { MirrorSelected(*this, true); }, when(elements));
    handlers.On(
        Cmd::MirrorY, [this] { MirrorSelected(*this, false); }, when(elements));
    handlers.On(
        Cmd::RotateSelection, [this] { RotateSelected(*this); }, when(HasSelection()));
    handlers.On(
        Cmd::SelectionLayer, [this] { LayerOfSelected(*this); }, when(elements || texts));
    handlers.On(
        Cmd::EditSelection, [this] { EditSelected(*this); }, when(selecting && elements));
}
