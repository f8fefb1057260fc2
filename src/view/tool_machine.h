#pragma once

#include <cstdint>
#include <optional>

#include "platform/types.h"
#include "view/keys.h"

class CCanvas;
class CViewController;

// The tools of the view: the state machine of the sheet's toolMode and
// toolStep that turns presses, moves, releases and keys into edits. The
// view hands it every event after doing what is the same in every tool, and
// only while the project has a sheet:
// - Press: the pointer is snapped and captured, the typing point and the
//   relative point are set and the readouts refreshed; marking a project
//   with undo history modified is done too. A press while the capture is
//   held, or at step 101, 102 (zoom window) or 112, never arrives.
// - Move: the cursor is snapped (or moved by an arrow key). A move that
//   auto-panned, or that drags the zoom window, never arrives.
// - Release: the capture is released; a release at step 102 finishes the
//   zoom window instead.
// - KeyDown: while a text is typed (step 220) every key; otherwise every key
//   except A and Q without Ctrl, Ctrl, Shift and Space. Return true for a
//   key taken; the view's own map goes on with the rest (F5, F6, C, I, O,
//   Z Z, Z N, the arrows).
// - Char: every typed character; the view itself only toggles the grid on
//   "." when the tools did not take it.
// - DrawFeedback: after each complete draw, on the screen image, after the
//   rubber rectangle and the selection marks, before the long cursors.
class CToolMachine {
public:
    virtual ~CToolMachine() = default;

    virtual void Press(CViewController&) { }
    virtual void Move(CViewController&) { }
    virtual void Release(CViewController&) { }
    virtual void DoubleClick(CViewController&) { }
    virtual bool KeyDown(CViewController&, const CKeyEvent&) { return false; }
    virtual void KeyUp(CViewController&, const CKeyEvent&) { }
    virtual bool Char(CViewController&, uint8_t) { return false; }
    // The context menu: at a pixel of the view after a right-button release,
    // or without a position when the keyboard asked for it.
    virtual void ContextMenu(CViewController&, std::optional<CPoint>) { }
    // Every 400 ms while the view has the focus (the caret of a typed text).
    virtual void Tick(CViewController&) { }
    virtual void DrawFeedback(CViewController&, CCanvas&) { }
};
