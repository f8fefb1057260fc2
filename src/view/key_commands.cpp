// The view's keys, typed characters and context menu: the rows of the key
// map (key_map.h) carried out, the stepping through records and the menu.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "document/document.h"
#include "model/sheet.h"
#include "model/tool_mode.h"
#include "view/context_menu.h"
#include "view/key_map.h"
#include "view/status_readouts.h"
#include "view/tools/placement_tool.h"
#include "view/tools/select_tool.h"
#include "view/view_controller.h"

namespace {

// The keyboard opens the menu just inside the view's top-left corner.
constexpr CPoint kMenuFromKeyboard {5, 5};

} // namespace

bool CViewController::KeyDown(const CKeyEvent& k)
{
    ctrlDown = k.ctrl || k.key == Key::Control;
    shiftDown = k.shift || k.key == Key::Shift;
    // Z Z and Z N: the memory of a Z lasts until the next key, which uses it.
    const bool afterZ = doc.keyPrefix != 0;
    doc.keyPrefix = 0;
    if (!HasSheet())
        return false;
    const CKeyBinding* row = FindKeyBinding(
        CKeyBinding::Input::Key, k.key, k.ctrl, k.shift, SituationOf(Sheet(), afterZ));
    return row && PerformKey(*row, k);
}

void CViewController::KeyUp(const CKeyEvent& k)
{
    ctrlDown = k.ctrl && k.key != Key::Control;
    shiftDown = k.shift && k.key != Key::Shift;
    if (!HasSheet())
        return;
    if (k.key == Key::Space && Sheet().toolStep != Step::Typing)
        Release();
}

bool CViewController::Char(uint8_t ch)
{
    if (!HasSheet())
        return false;
    const CKeyBinding* row
        = FindKeyBinding(CKeyBinding::Input::Char, ch, false, false, SituationOf(Sheet(), false));
    if (!row)
        return false;
    if (row->action == KeyAction::ToTool)
        return Tool().Char(*this, ch);
    return PerformKey(*row, {});
}

bool CViewController::PerformKey(const CKeyBinding& row, const CKeyEvent& k)
{
    switch (row.action) {
    case KeyAction::Command:
        return Execute(row.command);
    case KeyAction::CommandThenPointer:
        if (!Execute(row.command))
            return false;
        WarpPointer();
        return true;
    case KeyAction::Nothing:
        return false;
    case KeyAction::Modifier:
        return true;
    case KeyAction::ToTool:
        return Tool().KeyDown(*this, k);
    case KeyAction::ContextMenu:
        ContextMenu(std::nullopt);
        return true;
    case KeyAction::SelectAll:
        // Selecting all is the Select tool's command; elsewhere the tool and
        // its step stay.
        if (Sheet().toolMode == ToolMode::Select)
            return Execute(Cmd::SelectAll);
        Sheet().SelectAll();
        Redraw();
        return true;
    case KeyAction::OrthoCursorOnce:
    case KeyAction::OrthoCursorToggle:
    case KeyAction::DiagCursorOnce:
    case KeyAction::DiagCursorToggle:
        ShowLongCursor(
            row.action == KeyAction::DiagCursorOnce || row.action == KeyAction::DiagCursorToggle,
            row.action == KeyAction::OrthoCursorToggle
                || row.action == KeyAction::DiagCursorToggle);
        return true;
    case KeyAction::Press:
        // A held Space presses once.
        if (!k.repeat)
            Press();
        return true;
    case KeyAction::CancelBand:
        FinishInteraction();
        return true;
    case KeyAction::Deselect:
        SetStep(Step::Idle);
        return true;
    case KeyAction::TurnGhost:
    case KeyAction::MirrorGhost: {
        CSheet& s = Sheet();
        const bool mirror = row.action == KeyAction::MirrorGhost;
        ReplaceGhost(*this, [&] { s.TurnBuffer(mirror); });
        return true;
    }
    case KeyAction::CentreView:
        CentreOnCursor();
        return true;
    case KeyAction::RememberZ:
        doc.keyPrefix = 1;
        return true;
    case KeyAction::ResetPan:
        ResetPan();
        return true;
    case KeyAction::CursorStep:
        MoveCursorByKey(k.key);
        return true;
    case KeyAction::RecordForward:
    case KeyAction::RecordBackward:
        StepRecord(row.action == KeyAction::RecordForward);
        return true;
    case KeyAction::ToggleGrid:
        ToggleGrid(Sheet().grids.activeGrid);
        return true;
    }
    return false;
}

void CViewController::ShowLongCursor(bool diagonal, bool toggle)
{
    bool& stays = diagonal ? diagCrosshair : orthoCrosshair;
    if (toggle) {
        stays = !stays;
        Redraw();
    } else if (!stays) {
        DrawCrosshair(diagonal); // until the next complete draw
    }
}

void CViewController::MoveCursorByKey(int key)
{
    const CSheet::CursorKey dir = key == Key::Left ? CSheet::CursorKey::Left
        : key == Key::Right                        ? CSheet::CursorKey::Right
        : key == Key::Up                           ? CSheet::CursorKey::Up
                                                   : CSheet::CursorKey::Down;
    if (Sheet().MoveCursorByKey(dir)) {
        CursorMoved();
        WarpPointer();
    }
}

void CViewController::StepRecord(bool forward)
{
    CSheet& s = Sheet();
    const int from = s.currentRecord;
    if (forward ? from >= s.recordCount - 2 : from < 2)
        return;
    // Without a current record the search starts at record 2.
    s.currentRecord = forward ? std::max(from, 1) : std::min(from, s.recordCount);
    const int found = s.NextVisible(forward);
    // No record on a shown layer is left that way.
    if (found == 0) {
        s.currentRecord = from;
        return;
    }
    if (!s.relFixed)
        s.relPoint = s.cursor;
    s.cursor = {s.records[found].x, s.records[found].y};
    const CPoint p = CursorPixel();
    const CRect& view = s.clientRect;
    if (p.x < view.left || p.x >= view.right || p.y < view.top || p.y >= view.bottom) {
        s.CentreOn(s.cursor.x, s.cursor.y);
        Redraw();
    } else {
        FollowCrosshairs();
        UpdateStatus();
    }
    Prompt(RecordLine(s));
    WarpPointer();
}

void CViewController::ContextMenu(std::optional<CPoint> at)
{
    if (!HasSheet())
        return;
    // The menu takes the pointer; no release comes back to the view.
    captured = false;
    CSheet& s = Sheet();
    if (s.toolMode == ToolMode::Select && !AnythingSelected(s) && s.toolStep != Step::Idle) {
        FinishInteraction();
        SetStep(Step::Idle);
    }
    std::vector<CUiServices::CPopupItem> items;
    for (const int id : ContextMenuItems(s)) {
        if (id == kMenuSeparator) {
            items.push_back({});
            continue;
        }
        const CCommandInfo* command = FindCommand(id);
        items.push_back({id, command ? std::string(ContextCaption(*command)) : std::string(),
            Update(id).enabled});
    }
    const CPoint cursor = s.cursor;
    const int chosen = ui.PopupMenu(items, at.value_or(kMenuFromKeyboard));
    if (!HasSheet())
        return;
    // Turns, mirrors and "Centreer op cursor" take the point from before
    // the menu.
    Sheet().cursor = cursor;
    WarpPointer();
    if (chosen != 0)
        Execute(chosen);
}
