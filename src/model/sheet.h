#pragma once

#include <array>
#include <cstdint>
#include <memory>
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
#include "platform/types.h"

class CUndoRedo;

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
    void DeleteRecord(int i);
    int ClearSelection();
    void Normalize(int from, int to);
    void NormalizeFigure(int i);
    // Recounts the records and texts of every layer.
    void Recount();

    // --- Geometry, selection and edits (sheet_geometry.cpp, sheet_selection.cpp,
    // sheet_edit.cpp, sheet_buffer.cpp) ---

    // --- View operations: pointer, pan, zoom (sheet_view.cpp) ---

    // --- Drawing (sheet_render.cpp) ---

    // The stroke text being placed, into the placement buffer at `cursor`.
    bool BuildTextStrokes();
    // Loads the configured stroke font again (after the configuration changed).
    bool ReloadFont();

    // Undo (sheet_undo.cpp).
    void PushUndo();
    int Restore(int i);
    int Undo();
    int Redo();
    bool CanUndo() const { return undoPosition > 0; }
    bool CanRedo() const { return undoPosition < undoValidCount - 1; }
    // Discards the history and starts it again from the current state.
    void RestartUndo();

    // Content.
    std::string sheetName = "Nieuw";
    std::string sheetTitle;
    int kind = 0;
    int currentRecord = 1;
    CTextArray texts;
    std::unique_ptr<CText> editText;
    std::unique_ptr<CPictArray> pictures;
    CDovereduFont font;  // the stroke font of the texts built on this sheet

    // Layers, pens and colours.
    CLayerArray layers;
    int16_t activeLayer = 1;
    int16_t activePen = 1;
    int fillPattern = 1;
    std::array<int32_t, 8> penWidths{};
    std::array<COLORREF, 16> layerColours{};
    std::array<COLORREF, 16> highlightColours{};
    std::array<COLORREF, 16> printColours{};
    int32_t junctionSize = 1000;

    // View and tool state.
    int32_t zoom = kDefaultZoom;
    int32_t zoomAtLastDraw = 0;
    int fitMode = 1;
    CRect clientRect{0, 0, 640, 480};
    CRect sheetExtent{0, 0, 297000, 210000};
    CPoint origin;
    CPoint cursor;
    CPoint prevCursor;
    CPoint rawPoint;
    CPoint textPoint;
    CPoint relPoint;
    int relFixed = 0;
    CGridArr grids;
    int32_t selectionCriteria = kDefaultCriteria;
    int toolMode = 8192;
    int toolStep = 0;
    int cornerMode = 1;
    int hitCode = 0;
    CRect rubberRect{0, 0, 100, 100};
    CPoint rubberAnchor;
    int rubberActive = 0;
    CRect zoomWindowRect{0, 0, 100, 100};
    CPoint zoomWindowStart;
    int zoomWindowActive = 0;

    // Undo state.
    std::vector<std::unique_ptr<CUndoRedo>> undoList;
    int undoPosition = -1;
    int undoValidCount = 0;
    int undoLimit = 10;
    int pendingChange = 0;
    int changedFlag = 0;

private:
    void LoadBody(CArchive& ar, int schema);
    void StoreBody(CArchive& ar);
    void AfterLoad();
};

// One undo snapshot: the content of a sheet at one moment.
class CUndoRedo {
public:
    std::vector<CETREC> records;
    int recordCount = 0;
    int currentRecord = 1;
    CTextArray texts;
    int textIndex = 0;
    std::unique_ptr<CPictArray> pictures;
    CPoint origin;
};
