#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

class CCanvas;
class CClipboard;

// What the program's logic asks of the user interface. The GUI implements
// it with Qt; tests script it. Only the message box, the status text and
// Invalidate are needed by every user; the rest serves the drawing view and
// does nothing until a front end that has a view provides it.
class CUiServices {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    enum class Icon { None, Information, Warning, Error, Question };

    // The pointer over the view: a thin cross-hair with an open centre, an
    // arrow with a small four-way cross (a selection can be moved), or
    // nothing at all (a long cursor marks the point).
    enum class PointerShape { CrossHair, Move, Blank };

    // One scroll bar: hidden, or the range 0 ... maximum with a page of
    // `page` and the thumb at `position`.
    struct CScrollBarState {
        bool shown = false;
        int maximum = 0;
        int page = 0;
        int position = 0;
        friend bool operator==(const CScrollBarState&, const CScrollBarState&) = default;
    };

    // An entry of a popup menu: a command with its caption (UTF-8) and
    // whether it can be chosen; id 0 is a separator line.
    struct CPopupItem {
        int id = 0;
        std::string caption;
        bool enabled = true;
        friend bool operator==(const CPopupItem&, const CPopupItem&) = default;
    };

    virtual ~CUiServices() = default;

    // A message box with Windows-1252 text; returns the button chosen.
    virtual Answer MessageBox(
        std::string_view text, Buttons buttons = Buttons::Ok, Icon icon = Icon::Warning)
        = 0;
    // The Windows-1252 text of a status-bar pane (0 is the message pane).
    virtual void SetStatusText(int pane, std::string_view text) = 0;
    // The view needs a complete draw: the sheet into the off-screen image,
    // copied to the screen, the feedback on top.
    virtual void Invalidate() = 0;

    // The screen image of the view, for feedback drawn in XOR between
    // complete draws; it shows once the event being handled is done. Null
    // while there is no screen image yet.
    virtual CCanvas* ScreenCanvas() { return nullptr; }
    // Copies a rectangle of pixels (right and bottom excluded) of the sheet
    // image back onto the screen image, erasing whatever was drawn over it
    // there, for feedback that cannot be taken away in XOR (a dragged
    // selection, a picture being moved). Returns the screen image to draw the
    // feedback on again, or null when there is none to restore (the caller
    // then asks for a complete draw).
    virtual CCanvas* RestoreScreen(const CRect& /*pixels*/) { return nullptr; }
    // The screen image anew: the off-screen image copied once more and the
    // feedback drawn over it, without drawing the sheet (a typed character,
    // the blink of the caret). Nothing while a complete draw is due anyway.
    virtual void Recompose() { }
    virtual void SetPointerShape(PointerShape) { }
    // Puts the system pointer on a pixel of the view. The platform may
    // refuse; the result says whether the pointer moved.
    virtual bool PutPointer(int /*x*/, int /*y*/) { return false; }
    // A popup menu at a pixel of the view, open until the user chooses or
    // closes it; the id chosen, or 0 for none.
    virtual int PopupMenu(const std::vector<CPopupItem>& /*items*/, CPoint /*at*/) { return 0; }
    // Gives the view the keyboard focus.
    virtual void TakeFocus() { }
    // The view changed what the window shows of the project beside it: the
    // sheet and layer lists, the font of new texts, the title (modified) and
    // the state of the commands.
    virtual void DocumentChanged() { }
    // The system clipboard; null where there is none.
    virtual CClipboard* Clipboard() { return nullptr; }
    virtual void SetScrollBars(
        const CScrollBarState& /*horizontal*/, const CScrollBarState& /*vertical*/)
    {
    }
};
