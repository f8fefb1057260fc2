#pragma once

#include <cstdint>

#include "platform/types.h"
#include "view/keys.h"

class CCanvas;
class CToolContext;

// One tool family of the view: the steps of the sheet's toolStep that turn
// presses, moves, releases and keys into edits. A machine holds no state of
// its own (the sheet and the view's tool state hold it), so the tool box may
// hand any sheet's events to it. Each handler opens with a switch on the
// step, so that the tool's table of steps reads off its code. The view hands
// it every event after doing what is the same in every tool, and only while
// the project has a sheet:
// - Press: the pointer is snapped and captured, the typing point and the
//   relative point are set and the readouts refreshed; marking a project
//   with undo history modified is done too. A press while the capture is
//   held, or at step 102 (zoom window) or 112, never arrives.
// - Move: the cursor is snapped (or moved by an arrow key). A move that
//   auto-panned never arrives; Panned does in its place.
// - Release: the capture is released.
// - KeyDown, Char: while a text is typed (step 220), every key but Ctrl+A,
//   Ctrl and Shift, and every typed character. Every other key is the view's
//   key map's (key_map.h), which runs the tools' commands.
// - DrawFeedback: after each complete draw, on the screen image, after the
//   rubber rectangle and the selection marks, before the long cursors.
// - Finish: ends what is in progress (before a tool change, an undo, a
//   sheet switch, a save, a close or the clipboard), back at step 0.
class CToolMachine {
public:
    virtual ~CToolMachine() = default;

    virtual void Press(CToolContext&) { }
    virtual void Move(CToolContext&) { }
    // A captured move that auto-panned: everything, the cursor too, moved
    // with the view, and a complete draw follows.
    virtual void Panned(CToolContext&) { }
    virtual void Release(CToolContext&) { }
    virtual void DoubleClick(CToolContext&) { }
    virtual bool KeyDown(CToolContext&, const CKeyEvent&) { return false; }
    virtual bool Char(CToolContext&, uint8_t) { return false; }
    // Every 400 ms while the view has the focus (the caret of a typed text).
    virtual void Tick(CToolContext&) { }
    virtual void DrawFeedback(CToolContext&, CCanvas&) { }
    virtual void Finish(CToolContext&) { }
};
