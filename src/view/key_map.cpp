#include "view/key_map.h"

#include <algorithm>
#include <array>

#include "app/command_table.h"
#include "model/sheet.h"
#include "model/tool_mode.h"
#include "view/keys.h"

namespace {

using In = CKeyBinding::Input;
using A = KeyAction;
using W = KeyWhen;
using M = KeyMods;

constexpr In K = In::Key;
constexpr In Ch = In::Char;

// The view's keys and typed characters, first match first. Typing a text
// (step 220) takes every key but Ctrl+A, the modifiers themselves and the
// menu's keys; the Select tool takes Esc, F2, Delete and its Ctrl
// combinations before the other tools' keys; the letters of the view come
// last.
// clang-format off
constexpr std::array kKeyMap = {
    //          key          modifiers    when                       action                    command
    CKeyBinding{K, Key::Slash,   M::Any,       W::NotTyping,              A::ContextMenu},
    CKeyBinding{K, 'A',          M::Ctrl,      W::Always,                 A::SelectAll},
    CKeyBinding{K, 'A',          M::Plain,     W::NotTyping,              A::OrthoCursorOnce},
    CKeyBinding{K, 'A',          M::ShiftOnly, W::NotTyping,              A::OrthoCursorToggle},
    CKeyBinding{K, 'Q',          M::Plain,     W::NotTyping,              A::DiagCursorOnce},
    CKeyBinding{K, 'Q',          M::ShiftOnly, W::NotTyping,              A::DiagCursorToggle},
    CKeyBinding{K, Key::Control, M::Any,       W::Always,                 A::Modifier},
    CKeyBinding{K, Key::Shift,   M::Any,       W::Always,                 A::Modifier},
    // The menu's own keys type nothing: they open it while typing too.
    CKeyBinding{K, Key::Menu,    M::Any,       W::Always,                 A::ContextMenu},
    CKeyBinding{K, Key::F10,     M::ShiftOnly, W::Always,                 A::ContextMenu},
    CKeyBinding{K, kAnyCode,     M::Any,       W::Typing,                 A::ToTool},
    CKeyBinding{K, Key::PageDown, M::NoCtrl,   W::NotTyping,              A::CommandThenPointer, Cmd::NextSheet},
    CKeyBinding{K, Key::PageUp,  M::NoCtrl,    W::NotTyping,              A::CommandThenPointer, Cmd::PreviousSheet},
    CKeyBinding{K, Key::Space,   M::Any,       W::NotTyping,              A::Press},
    CKeyBinding{K, Key::F2,      M::ShiftOnly, W::SelectingElementsOnly,  A::Command,   Cmd::MirrorX},
    CKeyBinding{K, Key::F2,      M::NoCtrl,    W::SelectTool,             A::Command,   Cmd::RotateSelection},
    CKeyBinding{K, Key::Escape,  M::NoCtrl,    W::SelectTool,             A::Command,   Cmd::EndSelection},
    CKeyBinding{K, 'B',          M::Ctrl,      W::NotTyping,              A::Command,   Cmd::Bold},
    CKeyBinding{K, 'I',          M::Ctrl,      W::NotTyping,              A::Command,   Cmd::Italic},
    CKeyBinding{K, kAnyCode,     M::Ctrl,      W::SelectTool,             A::Nothing},
    CKeyBinding{K, Key::Escape,  M::NoCtrl,    W::LineFollows,            A::Command,   Cmd::EndLine},
    CKeyBinding{K, Key::Escape,  M::NoCtrl,    W::Placing,                A::Command,   Cmd::End},
    CKeyBinding{K, Key::Escape,  M::NoCtrl,    W::PictureFollows,         A::Command,   Cmd::End},
    CKeyBinding{K, Key::Escape,  M::NoCtrl,    W::Idle,                   A::Command,   Cmd::End},
    CKeyBinding{K, Key::Escape,  M::NoCtrl,    W::BandDragged,            A::CancelBand},
    CKeyBinding{K, Key::Escape,  M::NoCtrl,    W::TextSelected,           A::Deselect},
    CKeyBinding{K, Key::Escape,  M::Any,       W::OtherTool,              A::Nothing},
    CKeyBinding{K, Key::Return,  M::Any,       W::NotTyping,              A::Nothing},
    CKeyBinding{K, Key::F5,      M::Any,       W::NotTyping,              A::Command,   Cmd::Refresh},
    CKeyBinding{K, Key::F6,      M::Any,       W::NotTyping,              A::Command,   Cmd::RelativePoint},
    CKeyBinding{K, Key::Delete,  M::NoCtrl,    W::SelectTool,             A::Command,   Cmd::DeleteSelection},
    CKeyBinding{K, Key::F2,      M::ShiftOnly, W::TextPlacing,            A::Command,   Cmd::TextMirror},
    CKeyBinding{K, Key::F2,      M::NoCtrl,    W::TextPlacing,            A::Command,   Cmd::TextRotate},
    CKeyBinding{K, 'L',          M::NoCtrl,    W::TextPlacing,            A::Command,   Cmd::TextLayer},
    CKeyBinding{K, 'P',          M::NoCtrl,    W::TextPlacing,            A::Command,   Cmd::TextPen},
    CKeyBinding{K, Key::F2,      M::ShiftOnly, W::GhostTurns,             A::MirrorGhost},
    CKeyBinding{K, Key::F2,      M::NoCtrl,    W::GhostTurns,             A::TurnGhost},
    CKeyBinding{K, 'C',          M::NoCtrl,    W::NotTyping,              A::CentreView},
    CKeyBinding{K, 'I',          M::NoCtrl,    W::NotTyping,              A::Command,   Cmd::ZoomIn},
    CKeyBinding{K, 'O',          M::NoCtrl,    W::NotTyping,              A::Command,   Cmd::ZoomOut},
    CKeyBinding{K, 'L',          M::NoCtrl,    W::NotTyping,              A::Command,   Cmd::ChooseLayer},
    CKeyBinding{K, 'P',          M::NoCtrl,    W::NotTyping,              A::Command,   Cmd::ChoosePen},
    CKeyBinding{K, 'Z',          M::NoCtrl,    W::AfterZ,                 A::Command,   Cmd::ZoomAll},
    CKeyBinding{K, 'Z',          M::NoCtrl,    W::NotTyping,              A::RememberZ},
    CKeyBinding{K, 'N',          M::NoCtrl,    W::AfterZ,                 A::ResetPan},
    CKeyBinding{K, Key::Left,    M::Any,       W::NotTyping,              A::CursorStep},
    CKeyBinding{K, Key::Right,   M::Any,       W::NotTyping,              A::CursorStep},
    CKeyBinding{K, Key::Up,      M::Any,       W::NotTyping,              A::CursorStep},
    CKeyBinding{K, Key::Down,    M::Any,       W::NotTyping,              A::CursorStep},

    CKeyBinding{Ch, kAnyCode,    M::Any,       W::Typing,                 A::ToTool},
    CKeyBinding{Ch, '+',         M::Any,       W::TextPlacing,            A::Command,   Cmd::TextBigger},
    CKeyBinding{Ch, '-',         M::Any,       W::TextPlacing,            A::Command,   Cmd::TextSmaller},
    // Moving the current record would send the line being drawn into
    // another figure.
    CKeyBinding{Ch, '+',         M::Any,       W::LineInProgress,         A::Nothing},
    CKeyBinding{Ch, '-',         M::Any,       W::LineInProgress,         A::Nothing},
    CKeyBinding{Ch, '+',         M::Any,       W::NotTyping,              A::RecordForward},
    CKeyBinding{Ch, '-',         M::Any,       W::NotTyping,              A::RecordBackward},
    CKeyBinding{Ch, '.',         M::Any,       W::NotTyping,              A::ToggleGrid},
};
// clang-format on

bool ModsHold(M mods, bool ctrl, bool shift)
{
    switch (mods) {
    case M::Any:
        return true;
    case M::Plain:
        return !ctrl && !shift;
    case M::NoCtrl:
        return !ctrl;
    case M::Ctrl:
        return ctrl;
    case M::ShiftOnly:
        return shift && !ctrl;
    }
    return false;
}

bool Holds(W when, const CKeySituation& s)
{
    const bool select = s.toolMode == ToolMode::Select;
    switch (when) {
    case W::Always:
        return true;
    case W::Typing:
        return s.step == Step::Typing;
    case W::NotTyping:
        return s.step != Step::Typing;
    case W::SelectTool:
        return select;
    case W::SelectingElementsOnly:
        return select && s.recordsSelected && !s.textsSelected;
    case W::OtherTool:
        return !select;
    case W::LineFollows:
        return !select && s.step == Step::LineFollows;
    case W::Placing:
        return !select && s.step == Step::Placing;
    case W::PictureFollows:
        return !select && s.step == Step::PictureFollows;
    case W::Idle:
        return !select && s.step == Step::Idle;
    case W::BandDragged:
        return !select && s.step == Step::Rubber;
    case W::TextSelected:
        return !select && s.step == Step::Selection;
    case W::TextPlacing:
        return s.toolMode == ToolMode::Text && s.step == Step::Placing;
    case W::GhostTurns:
        return (s.toolMode == ToolMode::Symbols || s.toolMode == ToolMode::CopyPlacement)
            && s.step == Step::Placing;
    case W::LineInProgress:
        return IsLineTool(s.toolMode) && s.step >= Step::LineStarted
            && s.step <= Step::VertexPressed;
    case W::AfterZ:
        return s.afterZ && s.step != Step::Typing;
    }
    return false;
}

} // namespace

CKeySituation SituationOf(const CSheet& sheet, bool afterZ)
{
    return {sheet.toolMode, sheet.toolStep, sheet.selectedCount > 0,
        sheet.texts.GetSelectedCount() > 0, afterZ};
}

std::span<const CKeyBinding> KeyMap()
{
    return kKeyMap;
}

const CKeyBinding* FindKeyBinding(
    CKeyBinding::Input input, int code, bool ctrl, bool shift, const CKeySituation& situation)
{
    const auto it = std::find_if(kKeyMap.begin(), kKeyMap.end(), [&](const CKeyBinding& b) {
        return b.input == input && (b.code == kAnyCode || b.code == code)
            && ModsHold(b.mods, ctrl, shift) && Holds(b.when, situation);
    });
    return it == kKeyMap.end() ? nullptr : &*it;
}
