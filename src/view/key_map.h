#pragma once

#include <cstdint>
#include <span>

class CSheet;

// What a key or a typed character does in the view.
enum class KeyAction {
    Command, // runs the row's command, when it is enabled
    CommandThenPointer, // the same, then the pointer is put on the cursor
    Nothing, // the key is taken and does nothing
    ToTool, // the tool's own: the keys and characters of a text being typed
    ContextMenu,
    SelectAll, // in every tool: the Select tool's command, elsewhere the tool stays
    OrthoCursorOnce, // the long horizontal/vertical cursor until the next draw
    OrthoCursorToggle,
    DiagCursorOnce,
    DiagCursorToggle,
    Modifier, // Ctrl or Shift alone
    Press, // Space: a press of the tool; its release is the key's release
    CancelBand, // a dragged rectangle of a figure tool is dropped
    Deselect, // the text selected in the system-font text tool
    TurnGhost, // a symbol or a copy being placed: a quarter turn
    MirrorGhost,
    CentreView, // the view centred on the cursor
    RememberZ, // the first key of Z Z and Z N
    ResetPan, // Z N
    CursorStep, // an arrow key: the cursor one snap step
    RecordForward, // "+" and "-": the current record
    RecordBackward,
    ToggleGrid, // "." : the grid in force
};

// When a row of the key map holds, by the active tool, its step, the
// selection and the memory of a Z.
enum class KeyWhen {
    Always,
    Typing, // step 220
    NotTyping,
    SelectTool,
    SelectingElementsOnly, // Select tool, records selected and no texts
    OtherTool, // any tool but Select, at any step
    LineFollows, // step 401 of another tool than Select
    Placing, // step 500 of another tool
    PictureFollows, // step 300 of another tool
    Idle, // step 0 of another tool
    BandDragged, // step 112 of another tool
    TextSelected, // step 200 of another tool
    TextPlacing, // the stroke-text tool at step 500
    GhostTurns, // a symbol or a copy at step 500
    LineInProgress, // a line tool at step 400, 401 or 402
    AfterZ, // the previous key was Z
};

// Which of Ctrl and Shift a row asks for.
enum class KeyMods {
    Any,
    Plain, // neither
    NoCtrl, // Shift or not
    Ctrl, // Shift or not
    ShiftOnly, // Shift without Ctrl
};

// One row of the key map: a key (Key:: numbers) or a typed character
// (Windows-1252), the modifiers, the condition, then what it does.
struct CKeyBinding {
    enum class Input { Key, Char };
    Input input;
    int code; // kAnyCode: every key or character
    KeyMods mods;
    KeyWhen when;
    KeyAction action;
    int command = 0; // for the actions that run a command
};

constexpr int kAnyCode = -1;

// What the conditions look at, taken from the active sheet (and the project's
// memory of a Z).
struct CKeySituation {
    int toolMode = 0;
    int step = 0;
    bool recordsSelected = false;
    bool textsSelected = false;
    bool afterZ = false;
};
CKeySituation SituationOf(const CSheet& sheet, bool afterZ);

// The key map in its order of precedence: the first row that matches decides.
std::span<const CKeyBinding> KeyMap();

// The row for a key or a typed character; nullptr when none holds.
const CKeyBinding* FindKeyBinding(
    CKeyBinding::Input input, int code, bool ctrl, bool shift, const CKeySituation& situation);
