#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/grid.h"
#include "model/layer.h"
#include "model/pen_table.h"
#include "platform/types.h"

class CSheet;

// What the small choice dialogs show and what their OK stores: the active
// layer, the active pen with the pen widths, the layer table and the font of
// new system-font texts. The dialogs only show these values.

// --- Layer choice ----------------------------------------------------------

// Layers 1 ... 15 can be chosen; layer 0 is the paper.
inline constexpr int kChoosableLayers = kLayerCount - 1;

// One entry per layer 1 ... 15: its name, or "Layer %d" when it has none.
std::vector<std::string> LayerChoiceEntries(const CLayerArray& layers);
// The entry selected when the choice opens for `layer`; a layer outside
// 1 ... 15 (a damaged file) selects the nearest one.
int LayerChoiceRow(int layer);

// --- Pen choice ------------------------------------------------------------

// Pens 1 ... 7 can be chosen; pen 0 moves without drawing.
inline constexpr int kChoosablePens = kPenCount - 1;
// The scale at which the choice draws each pen's line style.
inline constexpr double kPenStyleMicrometresPerPixel = 100.0;

// A width as the pen choice shows it: "%7.3f mm" of the millimetres.
std::string FormatPenWidth(int32_t micrometres);
// A width text back in micrometres: its leading number (a trailing " mm" and
// anything else after the number are ignored) times 1000, cut off toward
// zero, within the 32-bit range. "1.001" is just under 1001 in binary and
// gives 1000.
int32_t ParsePenWidth(std::string_view text);
// The pen a key chooses in the pen choice: '1' ... '7', else 0.
int PenOfKey(int key);

// The state of the pen choice: the selected pen and the seven width texts.
class CPenChoice {
public:
    // Whether the choice opens at all: not without a sheet, and not for a
    // pen of 0 or less; the caller then keeps the pen it had.
    static bool Opens(int pen, bool hasSheet) { return hasSheet && pen > 0; }

    // The widths of pens 1 ... 7 as texts; the given pen selected (a pen
    // above 7, from a damaged file, selects pen 7).
    CPenChoice(const std::array<int32_t, kPenCount>& penWidths, int pen);

    int Pen() const { return row + 1; }
    void SelectPen(int pen);
    const std::string& WidthText(int pen) const;
    // "Aanpassen": the text replaces the width text as typed.
    void SetWidthText(int pen, std::string text);

    // OK: every width text into penWidths[1 ... 7]; the chosen pen.
    int Accept(std::array<int32_t, kPenCount>& penWidths) const;

private:
    int row = 0;
    std::array<std::string, kChoosablePens> widths;
};

// The pen choice's values, in and out: the active pen and the widths of
// pens 0 ... 7 in micrometres.
struct CPenValues {
    int pen = 1;
    std::array<int32_t, kPenCount> widths {};
};

// --- Layer table -----------------------------------------------------------

// The rows of "Laag configuratie": names, usage counts, visibility and the
// colour fields, which show the screen or the print colours.
class CLayerTable {
public:
    // From the sheet, whose counts must be recounted first.
    explicit CLayerTable(const CSheet& sheet);

    std::array<std::string, kLayerCount> names; // layers 1 ... 15 are edited
    std::array<int, kLayerCount> uses {}; // records per layer, shown only
    std::array<bool, kLayerCount> visible {};

    bool PrintColoursShown() const { return printShown; }
    // "Afdrukkleuren": the colours shown go back into their set, then the
    // other set is shown.
    void ShowPrintColours(bool on);
    COLORREF Colour(int layer) const;
    void SetColour(int layer, COLORREF colour);

    // OK: names, visibility and both colour sets into the sheet; the counts
    // stay the sheet's.
    void Apply(CSheet& sheet) const;

private:
    std::array<COLORREF, kLayerCount>& Shown() { return printShown ? printSet : screenSet; }
    const std::array<COLORREF, kLayerCount>& Shown() const
    {
        return printShown ? printSet : screenSet;
    }

    bool printShown = false;
    std::array<COLORREF, kLayerCount> screenSet {};
    std::array<COLORREF, kLayerCount> printSet {};
};

// --- Font choice -----------------------------------------------------------

// One entry per configured font: "%d. %s" with its number from 1 and its
// face name (Windows-1252).
std::vector<std::string> FontChoiceEntries(const std::vector<std::string>& faces);
// The entry selected for a font number; one outside the list selects the
// nearest entry.
int FontChoiceRow(int fontNumber, int fontCount);

// --- Grids -----------------------------------------------------------------

// The grid dialog's values, in and out: the sheet's three grids and whether
// they apply to every sheet.
struct CGridValues {
    CGridArr grids;
    bool applyToAll = false;
};
