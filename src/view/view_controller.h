#pragma once

#include <cstdint>
#include <optional>

#include "app/command_router.h"
#include "document/backup.h"
#include "model/pen_table.h"
#include "platform/types.h"
#include "platform/ui_services.h"
#include "view/keys.h"
#include "view/tools/tool_box.h"
#include "view/tools/tool_context.h"

class CCanvas;
class CClock;
class CDovereduDoc;
class CSheet;
class CViewDialogs;
struct CKeyBinding;
struct CSettings;

// The drawing view of one project window, without the window: it turns the
// window's pointer, wheel, key, focus, scroll and timer events into the
// active sheet's view operations (zoom, pan and the cursor live on the
// sheet, so every sheet keeps its own view), and keeps what belongs to the
// view itself: the modifier keys, the long cursors and the pointer capture.
// It reaches the window only through CUiServices (status panes, pointer,
// scroll bars, the screen image, the lists beside the view), CViewDialogs
// (the questions) and CClock; pixels are the view's client pixels. The tools
// are the machines of the tool box, which see the view as a CToolContext.
class CViewController : private CToolContext {
public:
    static constexpr int kWorkTimer = 1; // working time, caret
    static constexpr int kBackupTimer = 2; // reserve copies
    static constexpr int kWorkTimerMs = 400;

    enum class Button { Left, Right, Middle };
    enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbTrack, ThumbPosition, End };

    CViewController(CDovereduDoc& doc, CSettings& settings, CUiServices& ui, CViewDialogs& dialogs,
        CClock& clock);
    ~CViewController();
    CViewController(const CViewController&) = delete;
    CViewController& operator=(const CViewController&) = delete;

    // --- Events of the window ---
    // The modifiers are those held at the move, press or release; the move
    // that follows putting the pointer on the cursor is ignored.
    void PointerMove(int px, int py, CModifiers held = {});
    void PointerPress(Button button, int px, int py, CModifiers held = {});
    void PointerRelease(Button button, int px, int py, CModifiers held = {});
    // The second press of a double click, in its place: no press of its own.
    void DoubleClick(int px, int py, CModifiers held = {});
    // A wheel turn in eighths of a degree (120 a notch, positive away from
    // the user): zooms in (away) or out about the point under the pointer.
    void Wheel(int px, int py, int delta, CModifiers held = {});
    // The key map (key_map.h); true when the key was used.
    bool KeyDown(const CKeyEvent& key);
    void KeyUp(const CKeyEvent& key);
    // A typed character, Windows-1252.
    bool Char(uint8_t ch);
    // The context menu of the tool, its step and the selection, at a pixel
    // of the view, or near its top-left corner when the keyboard asked for
    // it. The chosen command runs after the cursor and the pointer are
    // back where they were.
    void ContextMenu(std::optional<CPoint> at);
    void FocusIn();
    // `toPopup`: a menu or popup of the view took the focus for a moment.
    void FocusOut(bool toPopup = false);
    void Timer(int id);
    void Resize(int cx, int cy);
    void Scroll(bool vertical, ScrollCode code, int trackPosition = 0);

    // --- The complete draw ---
    // The sheet into the off-screen image (filled with the background by the
    // window); then the window copies it to the screen image and calls
    // DrawOverlays on that.
    void DrawOffscreen(CCanvas& dc);
    // On the screen image: the rubber rectangle, the selection marks, the
    // tools' feedback, the record line of pane 0 and the long cursors.
    void DrawOverlays(CCanvas& screen);

    // --- Commands: the view's own ids (view_commands.cpp); the window adds
    // Handlers() to its router while this view is the active one ---
    CCommandHandlers& Handlers() { return handlers; }
    CCommandState Update(int id) const;
    // Runs the command when it is enabled; returns whether it ran.
    bool Execute(int id);

    // --- Tools ---
    // Ends what the active sheet's tool has in progress, then the sheet
    // takes the tool `toolMode` at step 0; the line and figure tools ask for
    // the pen first.
    void SelectTool(int toolMode) override;
    // Ends what the active sheet's tool has in progress, back at step 0:
    // called first by whatever changes the sheet under the tool.
    void FinishInteraction();
    CToolBox& Tools() { return toolBox; }

    // The text tool bar's lists (typing_commands.cpp): the font number or
    // the height of the next typed lines, and of the line being typed or the
    // selected texts; the view takes the keyboard back.
    void PickFont(int fontNumber);
    void PickTextHeight(int height);
    // Whether a line is being typed, and its caret in pixels: the window's
    // input method follows them.
    bool Typing();
    std::optional<CRect> CaretRect();

    bool HasSheet() const;
    CSheet& Sheet() override;
    CDovereduDoc& Document() override { return doc; }
    CSettings& Settings() override { return settings; }
    CUiServices& Ui() override { return ui; }
    // The pens of the last complete draw.
    const CPenTable& Pens() const { return pens; }

    // A complete draw, with the scroll bars, readouts and pointer shape.
    void Redraw() override;
    void RedrawOverlays() override;
    // No bars while the sheet fits itself to the view.
    void UpdateScrollBars();
    // The readouts of panes 1 to 8; without values (or without a sheet)
    // every number reads 0.
    void UpdateStatus(bool withValues = true);
    void UpdatePointerShape();
    // Puts the system pointer on `cursor`; false when the platform refused.
    bool WarpPointer() override;
    // While the pointer is captured and the cursor comes near an edge,
    // centres the view on it; 1 when the content moved.
    int AutoPan() override;
    // The step of the sheet's tool, with what a change of step brings.
    void SetStep(int step) override;
    // Press and release of the active tool: the left button, or Space.
    void Press();
    void Release();
    bool Captured() const override { return captured; }
    void DropCapture() override { captured = false; }
    // A long cursor at `cursor`, in XOR, on the screen image.
    void DrawCrosshair(bool diagonal);
    // Shows or hides grid 0, 1 or 2 of the active sheet.
    void ToggleGrid(int index);
    // "Toepassen op alle bladen": the configured grids become those of the
    // active sheet, and every sheet of the project takes them.
    void ApplyGridsToAllSheets();

    // The view's own state.
    bool ctrlDown = false;
    bool shiftDown = false;
    bool orthoCrosshair = false; // the long horizontal/vertical cursor stays on
    bool diagCrosshair = false; // the long diagonal cursor stays on

private:
    // CToolContext
    CViewDialogs& Dialogs() override { return dialogs; }
    CToolState& State() override { return toolState; }
    CModifiers Modifiers() const override { return {ctrlDown, shiftDown}; }
    int Step() override;

    // The machine for the next event of the active sheet.
    CToolMachine& Tool();

    // The pointer-move processing once `cursor` is set.
    void CursorMoved();

    // The message pane.
    void Prompt(std::string_view text) override;

    // tool_commands.cpp
    void RegisterToolCommands();
    // "Kopieer de selectie": the selected records follow the pointer, to be
    // placed as copies.
    void CopyPlacement();
    // The sheet's Undo or Redo, after the tool in progress is finished.
    void UndoRedo(bool redo);

    // clipboard_commands.cpp: Cut, Copy, Paste and "Plakken op cursor".
    void RegisterClipboardCommands();
    // Puts the selection on the clipboard; Cut then deletes what it copied.
    void CopyToClipboard(bool cut);
    void PasteFromClipboard();
    void PasteAtCursor();

    // picture_commands.cpp: "Eigenschappen" of the one selected picture.
    void RegisterPictureCommands();
    void EditPictureProperties();
    // typing_commands.cpp: bold, italic, "Bewerk tekst" and the layer of the
    // line being typed.
    void RegisterTypingCommands();

    // view_commands.cpp
    void RegisterCommands();
    void ZoomStep(bool in);
    void ZoomAll();
    void ResetPan();
    void CentreOnCursor();
    void RecomputeSize();
    void ToggleRelativePoint();
    void ShowGridDialog();
    // Page Up and Page Down: the previous or next sheet, which brings its own
    // view along.
    void SwitchSheet(bool next);

    // text_commands.cpp: the stroke text's dialog and the commands that
    // change its ghost.
    void RegisterTextCommands();
    // select_commands.cpp: the selection criteria, select all, invert and
    // end the selection.
    void RegisterSelectCommands();
    // edit_commands.cpp: delete, mirror, rotate, layer and "Selectie
    // bewerken" on the selection.
    void RegisterEditCommands();

    // choice_commands.cpp: the active layer (key L), the active pen and the
    // pen widths (key P), the layer table and the font of new texts.
    void ChooseLayer();
    void ChoosePen();
    void ConfigureLayers();
    void ChooseFont();

    // key_commands.cpp: what a row of the key map does.
    bool PerformKey(const CKeyBinding& row, const CKeyEvent& key);
    void MoveCursorByKey(int key);
    void ShowLongCursor(bool diagonal, bool toggle);
    // "+" and "-": the next or previous record on a shown layer becomes the
    // current record and the cursor goes to its point.
    void StepRecord(bool forward);

    // The cross that marks the cursor after the platform refused to put the
    // pointer on it, until the next move of the user's.
    void HideWarpCross();
    void DrawWarpCrossAt(CCanvas& dc, CPoint pixel);

    // The long cursors.
    void FollowCrosshairs();
    void DrawCrosshairAt(CCanvas& dc, bool diagonal, CPoint pixel);
    CPoint CursorPixel();

    CDovereduDoc& doc;
    CSettings& settings;
    CUiServices& ui;
    CViewDialogs& dialogs;
    CClock& clock;
    CToolBox toolBox;
    CToolState toolState;
    CCommandHandlers handlers;
    CCommandRouter router;
    CPenTable pens;

    bool captured = false;
    int wheelRest = 0;
    // Where the long cursors that stay on are drawn on the screen image.
    std::optional<CPoint> orthoShownAt;
    std::optional<CPoint> diagShownAt;
    std::optional<CUiServices::PointerShape> shape;
    // Where the pointer was put; the system's move to there is ignored.
    std::optional<CPoint> warpedTo;
    bool warpCross = false;
    std::optional<CPoint> warpCrossShownAt;
    // The project's reserve copies, on the backup timer.
    CProjectBackup backup;
};
