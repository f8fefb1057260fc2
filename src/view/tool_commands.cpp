// The tool commands of the tool set and the "Plaats" menu, the fill
// patterns, "Einde lijn", "Einde", "Centreer op cursor", "Kopieer de
// selectie", Undo and Redo; SelectTool.
#include <array>
#include <utility>

#include "app/command_table.h"
#include "document/document.h"
#include "model/sheet.h"
#include "view/command_conditions.h"
#include "view/tools/picture_tool.h"
#include "view/tools/placement_tool.h"
#include "view/tools/stroke_text_tool.h"
#include "view/tools/symbol_tool.h"
#include "view/tools/typing_tool.h"
#include "view/view_controller.h"

namespace {

// The tools by their commands.
constexpr std::array<std::pair<int, int>, 14> kToolCommands = {{
    {Cmd::SelectTool, ToolMode::Select},
    {Cmd::ToolSymbols, ToolMode::Symbols},
    {Cmd::ToolLines, ToolMode::Lines},
    {Cmd::ToolLines90, ToolMode::Lines90},
    {Cmd::ToolJunctions, ToolMode::Junctions},
    {Cmd::ToolText, ToolMode::Text},
    {Cmd::ToolWindowsText, ToolMode::WindowsText},
    {Cmd::ToolRectangles, ToolMode::Rectangles},
    {Cmd::ToolEllipses, ToolMode::Ellipses},
    {Cmd::ToolPictures, ToolMode::Pictures},
    {Cmd::ToolFilledPolygon, ToolMode::FilledPolygon},
    {Cmd::ToolFilledPolygon90, ToolMode::FilledPolygon90},
    {Cmd::ToolFilledRectangle, ToolMode::FilledRectangle},
    {Cmd::ToolFilledEllipse, ToolMode::FilledEllipse},
}};

// The tools that ask for the pen when they are chosen.
bool AsksForPen(int toolMode)
{
    switch (toolMode) {
    case ToolMode::Lines:
    case ToolMode::Lines90:
    case ToolMode::Rectangles:
    case ToolMode::Ellipses:
    case ToolMode::FilledPolygon:
    case ToolMode::FilledPolygon90:
    case ToolMode::FilledRectangle:
    case ToolMode::FilledEllipse:
        return true;
    default:
        return false;
    }
}

} // namespace

void CViewController::RegisterToolCommands()
{
    const auto enabledIf = [this](CCondition enabled) {
        return [this, enabled = std::move(enabled)] { return CCommandState {enabled(doc), false}; };
    };
    const auto enabledTickedIf = [this](CCondition enabled, CCondition ticked) {
        return [this, enabled = std::move(enabled), ticked = std::move(ticked)] {
            return CCommandState {enabled(doc), enabled(doc) && ticked(doc)};
        };
    };

    for (const auto& [id, tool] : kToolCommands) {
        handlers.On(
            id,
            [this, tool = tool] {
                // "Teksten" chosen again asks for the text.
                if (tool == ToolMode::Text && HasSheet() && Sheet().toolMode == ToolMode::Text) {
                    PlaceText(*this);
                    return;
                }
                // The picture tool starts with its dialog, and only a picture
                // chosen there selects it.
                if (tool == ToolMode::Pictures) {
                    FinishInteraction();
                    if (HasSheet())
                        AddPictures(*this);
                    return;
                }
                SelectTool(tool);
                if (tool == ToolMode::Symbols && HasSheet())
                    ChooseSymbol(*this);
            },
            enabledTickedIf(::HasSheet(), InTool(tool)));
    }
    const CCondition filling = InTool(ToolMode::FilledPolygon) || InTool(ToolMode::FilledPolygon90)
        || InTool(ToolMode::FilledRectangle) || InTool(ToolMode::FilledEllipse);
    for (size_t i = 0; i < Cmd::FillPatterns.size(); ++i) {
        const int pattern = static_cast<int>(i) + 1;
        handlers.On(
            Cmd::FillPatterns[i], [this, pattern] { Sheet().fillPattern = pattern; },
            enabledTickedIf(
                filling, SheetIs([pattern](const CSheet& s) { return s.fillPattern == pattern; })));
    }

    handlers.On(
        Cmd::EndLine, [this] { FinishInteraction(); }, enabledIf(SheetIs([](const CSheet& s) {
            return IsLineTool(s.toolMode) && s.toolStep >= Step::LineStarted
                && s.toolStep <= Step::VertexPressed;
        })));
    handlers.On(
        Cmd::End, [this] { SelectTool(ToolMode::Select); },
        enabledIf(::HasSheet() && !InTool(ToolMode::Select)));
    handlers.On(
        Cmd::CentreOnCursor, [this] { CentreGhost(*this); },
        enabledIf(AtStep(Step::Placing)
            && SheetIs([](const CSheet& s) { return s.placementCount > 0; })));
    handlers.On(
        Cmd::CopySelection, [this] { CopyPlacement(); },
        enabledIf(SheetIs([](const CSheet& s) { return s.selectedCount > 0; })));
    // Undo takes a line being drawn or typed back too: finishing it is its
    // undo step.
    handlers.On(
        Cmd::Undo, [this] { UndoRedo(false); }, enabledIf(SheetIs([](const CSheet& s) {
            return s.CanUndo() || s.pendingChange || HasTypedText(s);
        })));
    // Redo would drop a change not yet recorded.
    handlers.On(
        Cmd::Redo, [this] { UndoRedo(true); }, enabledIf(SheetIs([](const CSheet& s) {
            return s.CanRedo() && !s.pendingChange && !HasTypedText(s);
        })));
}

void CViewController::SelectTool(int toolMode)
{
    if (!HasSheet())
        return;
    FinishInteraction();
    CSheet& s = Sheet();
    // Leaving the stroke-text tool keeps the pen of its text; Cancel keeps
    // the pen in force, and the tool changes all the same.
    if (AsksForPen(toolMode) && toolMode != s.toolMode && s.toolMode != ToolMode::Text)
        ChoosePen();
    s.ClearBuffer();
    SetStep(Step::Idle);
    s.rubberActive = 0;
    // Clearing a selection tidies the whole sheet: only when there is one.
    if (toolMode != ToolMode::CopyPlacement && s.selectedCount > 0)
        s.ClearSelection();
    s.toolMode = toolMode;
    s.grids.SelectFor(toolMode);
    doc.RefreshSheetLists(true);
    ui.DocumentChanged();
    Redraw();
}

void CViewController::CopyPlacement()
{
    if (!HasSheet() || Sheet().selectedCount <= 0)
        return;
    SelectTool(ToolMode::CopyPlacement);
    CSheet& s = Sheet();
    s.CopySelection();
    s.ClearSelection();
    // The ghost lies on the original until the pointer moves.
    if (!StartPlacement(*this))
        SelectTool(ToolMode::Select);
    Redraw();
}

void CViewController::UndoRedo(bool redo)
{
    if (!HasSheet())
        return;
    SelectTool(ToolMode::Select);
    CSheet& s = Sheet();
    if (redo ? s.Redo() : s.Undo())
        doc.MarkChanged();
    Redraw();
    ui.DocumentChanged();
}
