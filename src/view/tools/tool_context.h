#pragma once

#include <string_view>

#include "platform/types.h"

class CDovereduDoc;
class CSheet;
class CUiServices;
class CViewDialogs;
struct CSettings;

// The modifier keys as the view last saw them.
struct CModifiers {
    bool ctrl = false;
    bool shift = false;
};

// What the view keeps for its tools between events, beside what the sheet
// keeps: where a line under construction began, what the last press hit
// and whether the caret of a typed text shows.
// Every sheet switch ends a line first, so the line's start belongs to the
// active sheet.
struct CToolState {
    int lineStartCount = 0; // records of the sheet when the line began
    int hitKind = 0; // what the last press hit: a record, a text, a picture
    int hitIndex = -1; // which one of them
    bool caretShown = false; // the caret of a typed text is on the screen
};

// What a tool may use of the view: the project and its active sheet, the
// settings, the user interface and its questions, and the few operations of
// the view that a step needs.
class CToolContext {
public:
    virtual CDovereduDoc& Document() = 0;
    // The active sheet; the tools only see events while there is one.
    virtual CSheet& Sheet() = 0;
    virtual CSettings& Settings() = 0;
    virtual CUiServices& Ui() = 0;
    virtual CViewDialogs& Dialogs() = 0;
    virtual CToolState& State() = 0;
    virtual CModifiers Modifiers() const = 0;
    // Whether the pointer is captured (the left button or Space is down).
    virtual bool Captured() const = 0;
    // Lets go of the pointer before a press opens a dialog: the release
    // goes to the dialog, and the view would wait for it for ever.
    virtual void DropCapture() = 0;

    // The step of the active sheet's tool.
    virtual int Step() = 0;
    // A new step, with what a change of step brings (an undo step for a
    // moved selection; at step 0 the texts and pictures deselected).
    virtual void SetStep(int step) = 0;
    // A complete draw, with the scroll bars, readouts and pointer shape.
    virtual void Redraw() = 0;
    // The screen restored from the off-screen image and every overlay drawn
    // on it again (window, selection marks, feedback, long cursors), as after
    // a complete draw; a complete draw when the screen cannot be restored.
    virtual void RedrawOverlays() = 0;
    // Puts the system pointer on the cursor; false when the platform refused.
    virtual bool WarpPointer() = 0;
    // While captured near an edge, centres the view on the cursor; 1 when the
    // content moved.
    virtual int AutoPan() = 0;
    // Ends what is in progress, then the sheet takes the tool at step 0.
    virtual void SelectTool(int toolMode) = 0;
    // The message pane (pane 0), Windows-1252.
    virtual void Prompt(std::string_view text) = 0;

protected:
    ~CToolContext() = default;
};
