#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/archive.h"
#include "model/grid.h"
#include "model/layer.h"
#include "model/picture.h"
#include "model/record_list.h"
#include "model/stroke_font.h"
#include "model/text.h"
#include "model/tool_mode.h"
#include "platform/types.h"

class CUiServices;
class CPenTable;
class CUndoRedo;
class CKeptFile;

// One drawing sheet: its display list, texts, pictures, layers, pens and
// colours, grids, the state of the view that shows it, and its undo history.
// Coordinates are micrometres with the pan offset `origin` already added.
class CSheet : public CObject, public CRecordList {
public:
    static constexpr int kSchema = 813;
    static constexpr int kDefaultZoom = 512;
    static constexpr int kMinZoom = 2;
    static constexpr int kMaxZoom = 10000;
    static constexpr int kDefaultCriteria = 0x1004;
    static constexpr COLORREF kPaperColour = 0xC8FAFA;
    static constexpr COLORREF kHighlightColour = 0x0000FF;

    // Hit codes left by HitFigure.
    static constexpr int kHitVertex = 0x4020;
    static constexpr int kHitLastPoint = 0x4030;
    static constexpr int kHitSegment = 0x4040;

    CSheet();
    CSheet(int kind, std::string_view name, std::string_view title);
    ~CSheet() override;
    CSheet(const CSheet&) = delete;
    CSheet& operator=(const CSheet&) = delete;

    static const CClassInfo& StaticClass();
    const CClassInfo& ClassInfo() const override { return StaticClass(); }
    void Serialize(CArchive& ar) override;

    void Reset(int kind = 0);
    // Keeps the bare file title of a name that holds a folder or an extension.
    void SetName(std::string_view name);
    // The frame of a new sheet: block 1, layer 1, pen 1.
    void AddFrame(int left, int top, int right, int bottom);
    // Takes over what a sheet made from another one shares with it.
    void CopySettingsFrom(const CSheet& other);

    // Geometry (sheet_geometry.cpp).
    // Sets sheetExtent from records and pictures and returns their lowest
    // point; an empty sheet gives the empty rectangle at (0, 0).
    CPoint Extents();
    // The same, with the records already looked at.
    CPoint Extents(const CRecordTally& records);
    void DeleteRecord(int i);
    int ClearSelection();
    void Normalize(int from, int to);
    void NormalizeFigure(int i);
    // Recounts the records and texts of every layer.
    void Recount();
    void Recount(const CRecordTally& records);

    // --- Geometry, selection and edits (sheet_geometry.cpp, sheet_selection.cpp,
    // sheet_edit.cpp, sheet_buffer.cpp) ---

    // Selection criteria: one is in force when every bit of its mask is set.
    static constexpr int32_t kSelectSegments = 0x1001; // single records
    static constexpr int32_t kSelectFigures = 0x1002; // whole figures
    static constexpr int32_t kSelectBlocks = 0x1004; // whole blocks, block 0 by figure
    static constexpr int32_t kSelectPictures = 0x1008;
    static constexpr int32_t kSelectTexts = 0x1010;
    bool HasCriterion(int32_t mask) const { return (selectionCriteria & mask) == mask; }

    // "All" as the first argument of ChangeLayer and ChangePen.
    static constexpr int kAll = -1;

    static constexpr std::string_view kMsgSelectionCriteria
        = "De optie \"Selectie criteria\" moet op Lijnen of objecten\" staan om deze bewerking "
          "mogelijk te maken";
    static constexpr std::string_view kMsgOutOfRange
        = "De bewerking is niet uitgevoerd: het resultaat zou buiten het tekengebied vallen.";
    static constexpr std::string_view kMsgNoBlockNumber
        = "Er is geen bloknummer meer vrij: de plaatsing is niet uitgevoerd.";

    // Not a junction and drawn with a pen: a record that continues a figure.
    static bool IsLineRecord(const CETREC& r) { return !r.IsJunction() && r.Pen() != 0; }

    // The line record on a visible layer hit within 4 pixels of the point
    // (micrometres), or 0; sets currentRecord and hitCode.
    int HitFigure(int x, int y);
    // The highest-numbered junction within 4 pixels of the point, or 0.
    int FindJunction(int x, int y) const;
    // -1 for an index outside the records in use; PenOf gives -1 for a junction.
    int LayerOf(int i) const;
    int PenOf(int i) const;
    // Steps currentRecord to the nearest record on a visible layer after (or
    // before) it; the new index, or 0 (and no step) when there is none.
    int NextVisible(bool forward);

    // Record primitives of the drawing tools; each makes room first.
    void InsertAtCurrent();
    // The first segment of a line: a move to `from`, then `cursor`.
    void StartLine(CPoint from);
    // The next vertex of the line at the end of the records.
    void AddVertex(CPoint p);
    void SetRecordLayer(int i, int layer);
    void SetFigureLayer(int i, int layer);
    void SetRecordPen(int i, int pen);
    // Removes the junction at `cursor` (0) or adds one there (1); drawing the
    // dot is the caller's.
    int ToggleJunction();
    // Closes and fills the figure that holds currentRecord; 0 when it has a
    // single record.
    int FillFigure();

    // The placement buffer (sheet_buffer.cpp): placement[0 ... placementCount - 1].
    void ClearBuffer();
    void BuildRectangle(int left, int top, int right, int bottom);
    int BuildEllipse(int left, int top, int right, int bottom, bool filled);
    // Appends the selected records to the buffer (SelectedForCopy).
    void CopySelection();
    // The selected records in record order, each selected line record whose
    // predecessor is not selected led by a move to that predecessor's point
    // (with its own layer and block word; the first record by a move to its
    // own point): exactly the highlighted segments, no run joined to another
    // by a stray line.
    std::vector<CETREC> SelectedForCopy() const;
    // The middle of the buffer's box onto `cursor`; says so when that would
    // leave the 32-bit range, and moves nothing.
    int CentreBufferOnCursor(CUiServices& ui);
    // Moves the buffer and its anchor; 0, moving nothing, when that would
    // leave the 32-bit range.
    int MoveBuffer(int64_t dx, int64_t dy);
    // Turns the buffer and its anchor a quarter counter-clockwise about
    // `cursor`, or mirrors them top to bottom through it; exact, and 0,
    // changing nothing, when a point would leave the 32-bit range.
    int TurnBuffer(bool mirror);
    // Appends the buffer as one new block; 0 when nothing was placed.
    int CommitBuffer(CUiServices& ui);
    // The number a new block gets, or 0 when every number is in use.
    int NewBlockNumber() const;

    // Selection (sheet_selection.cpp). Each takes the snapshot of a pending
    // move first and keeps selectedCount.
    void SelectRecord(int i);
    void DeselectRecord(int i);
    void SelectAt(int i);
    void SelectInWindow();
    void SelectAll();
    void InvertSelection();
    void SelectFigure(int i);
    void DeselectFigure(int i);
    void SelectBlock(int block);
    void DeselectBlock(int block);

    // Edits of the selection (sheet_edit.cpp). An edit whose result would
    // leave the 32-bit range changes nothing, says so (and sets editRefused)
    // and gives 0; otherwise the result is 1 when anything changed, and a
    // snapshot is taken then. A move only sets pendingChange.
    int MoveSelection(CUiServices& ui);
    int MirrorX(CUiServices& ui);
    int MirrorY(CUiServices& ui);
    // About `cursor`; withTexts also turns every selected text by the angle.
    int Rotate(int angle, CUiServices& ui, bool withTexts = false);
    int RotateAbout(int px, int py, int angle, CUiServices& ui);
    int Scale(double percent, CUiServices& ui);
    // Refused, with kMsgSelectionCriteria, while the criteria are segments alone.
    int ChangeLayer(int from, int to, CUiServices& ui);
    int ChangePen(int from, int to);
    // Deletes the selected records, texts and pictures and tidies what is
    // left (sheet_geometry.cpp); a snapshot when anything was deleted.
    int DeleteSelection();
    // Turns the whole sheet a quarter counter-clockwise; 1 when done.
    int RotateSheet(CUiServices& ui);

    // --- The clipboard's selection stream (sheet_clipboard.cpp) ---

    // What a paste came to; every outcome but Pasted leaves the sheet as it was.
    enum class PasteResult { Pasted, Empty, Damaged, OutOfRange, NoBlockNumber };
    static constexpr std::string_view kMsgClipboardData = "Failed to get Clipboard data!";

    // The selected records (with the moves that keep selected segments
    // apart) and the selected texts, relative to `origin`; 0, writing
    // nothing, when a point relative to `origin` would leave the 32-bit range.
    int WriteSelection(CArchive& ar) const;
    // Appends the stream's records and texts at the same place relative to
    // `origin`, unselected, the blocks numbered anew; `origin` becomes the
    // lowest point of the sheet and the paste one undo step. A damaged
    // stream, a point outside the 32-bit range or too few free block
    // numbers pastes nothing.
    PasteResult PasteSelection(CArchive& ar);
    // The message a user is shown for an outcome; empty for Pasted and Empty.
    static std::string_view PasteMessage(PasteResult result);
    // A sheet that draws the picture of a copy (DrawMetafile): while a
    // selection window is shown, the figures and texts that reach into it,
    // in the window's area; otherwise the selected records and texts alone,
    // in the box round them with a margin of kPictureMargin. Holds only what
    // the picture shows, so that copying it costs little.
    std::unique_ptr<CSheet> PictureSheet() const;
    static constexpr int kPictureMargin = 1000;
    // "Plakken op cursor": the stream into the placement buffer, centred on
    // `cursor`, its blocks kept apart and its texts riding along; the
    // buffer is then placed as a paste at every press.
    PasteResult PasteIntoBuffer(CArchive& ar);

    // --- View operations: pointer, pan, zoom (sheet_view.cpp) ---

    // The arrow keys that move the cursor by one snap step.
    enum class CursorKey { Left, Right, Up, Down };

    // One scroll bar of the view: hidden, or its range 0 ... maximum with a
    // page and the thumb at position; the big and small steps of the page
    // and line scroll events.
    struct CScrollBar {
        bool shown = false;
        int maximum = 0;
        int page = 0;
        int position = 0;
        int bigStep = 1;
        int smallStep = 1;
        friend bool operator==(const CScrollBar&, const CScrollBar&) = default;
    };
    struct CScrollBars {
        CScrollBar horizontal;
        CScrollBar vertical;
    };

    // Pointer pixels to `rawPoint` and `cursor`, snapped to the grid in force
    // relative to the sheet's true origin.
    void SetPointer(int px, int py);
    // Moves every point of the sheet by the offset, clamped unless
    // `noClamp` so that the sheet stays in view; returns the offset applied.
    // A move that would take a point out of the 32-bit range changes nothing.
    CPoint Pan(int dx, int dy, bool noClamp = false);
    // Ten per cent per step within kMinZoom ... kMaxZoom; 1 when the zoom changed.
    int ZoomIn();
    int ZoomOut();
    // Fits the sheet into `clientRect` and centres it; returns the pan.
    CPoint ZoomAll();
    // Zooms to `zoomWindowRect`; returns the pan.
    CPoint ZoomWindow();
    // Pans the point (x, y) to the middle of the view; returns the pan.
    CPoint CentreOn(int x, int y);
    // Brings the true origin back to the top-left, clamped.
    CPoint ResetPan();
    // `sheetExtent` and `origin` from the records and pictures.
    void RecomputeExtent();
    // The point snapped to the grid in force, as the pointer would be.
    CPoint Snapped(CPoint p) const;
    // One snap step of the grid in force, snapping on or off; 1 when moved.
    int MoveCursorByKey(CursorKey key);
    // The scroll bars for `clientRect`, `zoom` and `sheetExtent`.
    CScrollBars ScrollBars() const;

    // --- Drawing (sheet_render.cpp) ---

    // The modes of DrawSelection: normal colours, highlight colours, normal
    // colours again to take the highlight away, inverted.
    enum {
        kSelectionNormal = 0,
        kSelectionHighlight = 1,
        kSelectionRestore = 2,
        kSelectionInvert = 4
    };

    // The complete draw into the view's bitmap: paper, grid, fills,
    // pictures, the records before `recordEnd`, texts, then the zoom window.
    // Rebuilds the pen table for the sheet's zoom; fits first while
    // `fitMode` is set. Selected records, texts and pictures are left to
    // DrawSelection, the placement buffer, a line being drawn (the records
    // from `recordEnd` on) and the text being typed to the view's feedback.
    void DrawSheet(CCanvas& dc, CPenTable& pens, int recordEnd = INT32_MAX);
    // The selected records, texts and pictures, with the pens of the last
    // complete draw.
    void DrawSelection(CCanvas& dc, const CPenTable& pens, int mode) const;
    // Records first ... last of the layer of `last`, quickly, while a figure
    // is drawn; without `xorFlag` in NOT-XOR, so that a second call erases.
    void DrawRange(CCanvas& dc, int first, int last, bool xorFlag);
    // The placement buffer's lines; with `xorFlag` as a grey XOR ghost.
    void DrawPlacement(CCanvas& dc, bool xorFlag) const;
    // One segment in the dash pattern of line type 2 ... 7, the pattern's
    // micrometres divided by `scale`; solid for another type or a scale that
    // is not a positive number.
    static void DrawDashedLine(CCanvas& dc, int x1, int y1, int x2, int y2, int type, double scale);
    // The dragged rectangles, inverted so that drawing twice erases them.
    void DrawZoomWindow(CCanvas& dc) const;
    void DrawRubberRect(CCanvas& dc) const;
    // The grid in force over `clientRect`, anchored at the true origin.
    void DrawGrid(CCanvas& dc) const;
    // The sheet, or the area of `rubberRect` while it is shown, in units of
    // 10 micrometres from (0, 0): everything but the grid and pictures,
    // selected parts like the rest.
    void DrawMetafile(CCanvas& dc);
    // A printer page of `page` pixels at `pixelsPerInch` and the print
    // scale, or fitted to the page; 1 mm margin, print colours.
    void DrawForPrinter(CCanvas& dc, CSize page, int pixelsPerInch, double scale, bool fit);

    // The stroke text being placed, into the placement buffer at `cursor`,
    // or at `at`; false, the buffer as it was, beyond the 32-bit range.
    bool BuildTextStrokes();
    bool BuildTextStrokes(CPoint at);
    // Loads the configured stroke font again (after the configuration changed).
    bool ReloadFont();

    // Undo (sheet_undo.cpp).
    void PushUndo();
    // PushUndo, the records from `first` on taking the next block number
    // (see NewBlockNumber) on the way; that number, or 0 when none was free
    // and the records from `first` on were removed again.
    int PushUndoNumbering(int first);
    // Folds the snapshots of the operations made while it lives into one,
    // taken by End (or when it goes) when any of them asked for one; edits
    // refused inside it are told by Refused. Scopes nest: the outermost
    // takes the snapshot.
    class CUndoScope {
    public:
        explicit CUndoScope(CSheet& sheet);
        ~CUndoScope();
        CUndoScope(const CUndoScope&) = delete;
        CUndoScope& operator=(const CUndoScope&) = delete;
        bool Refused() const { return sheet.editRefused; }
        // Takes the snapshot when one was asked for; true when it did.
        bool End();
        // Ends without a snapshot: the caller put everything back.
        void Discard();

    private:
        CSheet& sheet;
        bool ended = false;
    };
    // Past the last record that is not zero, looking back from `end` to
    // recordCount (recordCount when all of them are zero).
    int UsedLength(int end) const;
    int Restore(int i);
    int Undo();
    int Redo();
    bool CanUndo() const { return undoPosition > 0; }
    bool CanRedo() const { return undoPosition < undoValidCount - 1; }
    // Discards the history and starts it again from the current state. The
    // snapshot that matches the sheet, when one does, stays as the first one
    // (a save of an unchanged sheet copies nothing); otherwise the new one
    // goes into memory the history already has.
    void RestartUndo();

    // Content.
    std::string sheetName = "Nieuw";
    std::string sheetTitle;
    int kind = 0;
    int currentRecord = 1;
    CTextArray texts;
    std::unique_ptr<CText> editText;
    std::unique_ptr<CPictArray> pictures;
    CDovereduFont font; // the stroke font of the texts built on this sheet
    // What the next typed system-font text takes; not stored. The font
    // number is 0 ... 7, one of the configured fonts; the height is in units
    // of 100 micrometres, the angle in degrees.
    struct CTextDefaults {
        int32_t fontNumber = 0;
        int32_t height = 50;
        int32_t italic = 0;
        int32_t bold = 0;
        int32_t angle = 0;
    } textDefaults;

    // Layers, pens and colours.
    CLayerArray layers;
    int16_t activeLayer = 1;
    int16_t activePen = 1;
    int fillPattern = 1;
    std::array<int32_t, 8> penWidths {};
    std::array<COLORREF, 16> layerColours {};
    std::array<COLORREF, 16> highlightColours {};
    std::array<COLORREF, 16> printColours {};
    int32_t junctionSize = 1000;

    // View and tool state.
    int32_t zoom = kDefaultZoom;
    int32_t zoomAtLastDraw = 0;
    int fitMode = 1;
    CRect clientRect {0, 0, 640, 480};
    CRect sheetExtent {0, 0, 297000, 210000};
    CPoint origin;
    CPoint cursor;
    CPoint prevCursor;
    CPoint rawPoint;
    CPoint textPoint;
    CPoint relPoint;
    int relFixed = 0;
    CGridArr grids;
    int32_t selectionCriteria = kDefaultCriteria;
    int toolMode = ToolMode::Select;
    int toolStep = Step::Idle;
    int cornerMode = 1;
    int hitCode = 0;
    CRect rubberRect {0, 0, 100, 100};
    CPoint rubberAnchor;
    int rubberActive = 0;
    // The placement buffer's point of reference (where it was built) and
    // the cursor it last followed; both move with it and with every pan.
    CPoint bufferAnchor;
    CPoint bufferCursor;
    // What a paste at the cursor adds to the buffer: texts, their boxes
    // relative to bufferAnchor, placed with it at every press; and the
    // buffer's blocks kept apart, numbered as a paste numbers them, in place
    // of one new block.
    std::vector<CText> bufferTexts;
    bool bufferKeepsBlocks = false;
    CRect zoomWindowRect {0, 0, 100, 100};
    CPoint zoomWindowStart;
    int zoomWindowActive = 0;

    // Undo state.
    std::vector<std::unique_ptr<CUndoRedo>> undoList;
    int undoPosition = -1;
    int undoValidCount = 0;
    int undoLimit = 10;
    int pendingChange = 0;
    int changedFlag = 0;
    // The state of the undo scopes: how deep, whether a snapshot was asked
    // for inside them, whether an edit inside them was refused.
    int undoScopeDepth = 0;
    bool undoScopeWanted = false;
    bool editRefused = false;
    // Memory for a snapshot while the history is full or has steps to redo;
    // see FreeSnapshot.
    std::unique_ptr<CUndoRedo> undoSpare;

private:
    // A snapshot of the records 0 to usedLength - 1, the rest being zero.
    // With `newFrom`, the records from there on are new: they take the next
    // block number (found while the others are copied), which is returned;
    // when none is free they are removed again and 0 is returned.
    int TakeSnapshot(int usedLength, int newFrom = -1);
    // The next snapshot's place in the history, and what it keeps beside the
    // records once they are in.
    CUndoRedo& NextSnapshot();
    void FinishSnapshot(CUndoRedo& snap);
    // A snapshot no step of the history needs (the next place when it holds
    // none, else the spare), filled with the records 0 to recordCount - 1,
    // those in use tallied on the way: an operation that only appends reads
    // the records once, and may still give up before CommitSnapshot without
    // the history having changed.
    CUndoRedo& FreeSnapshot(CRecordTally& tally);
    // Copies in the records that followed, then makes `written` the next step.
    void CommitSnapshot(CUndoRedo& written);
    // Whether the snapshot's records are those of the sheet.
    bool SameRecords(const CUndoRedo& snap) const;
    // Returns what it saw of the records in use as they were read.
    CRecordTally LoadBody(CArchive& ar, int schema);
    void StoreBody(CArchive& ar);
    void AfterLoad(const CRecordTally& records);
    // The file the records were just read from and where they lie in it,
    // while the load is going on.
    std::shared_ptr<const CKeptFile> loadedFile;
    uint64_t loadedOffset = 0;
    // Puts a new record after the last, where the arrays already have room:
    // unselected, its layer shown (sheet_buffer.cpp).
    void AppendShown(const CETREC& r);
    // Appends pasted records, each block numbered from `numbers` by its
    // ordinal (0: none), and pasted texts, all shown on their layers; the
    // arrays already have room (sheet_clipboard.cpp).
    void AppendPasted(std::span<const CETREC> pasted, const std::vector<int>& ordinals,
        const std::vector<int>& numbers, std::span<const CText> pastedTexts);
    // CommitBuffer for a paste at the cursor (sheet_clipboard.cpp).
    int CommitPastedBuffer(CUiServices& ui);
};

// One undo snapshot: the content of a sheet at one moment. The records are
// kept up to the last one that is not zero; the rest of the array, up to
// arrayLength, is zero.
class CUndoRedo {
public:
    // Puts the records in `records` when they are still in the file; false
    // when the file changed since (the snapshot is lost).
    bool Ready();

    CRecordVector records;
    // The snapshot a load takes leaves its records in the file they were
    // read from until they are first needed: `fileRecords` records at
    // `fileOffset`, of which the first reads as the zero sentinel. Null
    // once they are in `records`.
    std::shared_ptr<const CKeptFile> file;
    uint64_t fileOffset = 0;
    size_t fileRecords = 0;
    int arrayLength = 0;
    int recordCount = 0;
    int currentRecord = 1;
    CTextArray texts;
    int textIndex = 0;
    std::unique_ptr<CPictArray> pictures;
    CPoint origin;
};
