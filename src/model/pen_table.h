#pragma once

#include <array>
#include <cstdint>

#include "model/layer.h"
#include "platform/canvas.h"
#include "platform/types.h"

inline constexpr int kPenCount = 8;
// Layers from this one on choose a line type by pen and draw every pen with
// the width of pen 1.
inline constexpr int kFirstLineTypeLayer = 8;

// Pen widths of a new sheet in micrometres, pens 0 to 7; pen 7 is also the
// diameter of junction dots.
inline constexpr std::array<int32_t, kPenCount> kDefaultPenWidths
    = {1, 200, 250, 300, 500, 800, 1000, 1000};

// Line types of layers 8 to 15 by pen: up to three (dash, gap) pairs in
// micrometres along the line, starting with a dash; zeros end the pattern.
// Pens 0 and 1 draw solid.
using CDashPattern = std::array<int, 6>;
inline constexpr std::array<CDashPattern, kPenCount> kDashPatterns = {{
    {0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0},
    {2000, 1000, 0, 0, 0, 0},
    {1000, 1000, 0, 0, 0, 0},
    {4000, 1000, 1000, 1000, 0, 0},
    {100, 1000, 0, 0, 0, 0},
    {2000, 1000, 100, 1000, 0, 0},
    {2000, 1000, 100, 1000, 100, 1000},
}};

// The pattern of a pen; a pen outside 0 to 7 draws solid.
const CDashPattern& DashPattern(int pen);

// The width in pixels of pen `pen` of a layer at `zoom` micrometres per
// pixel, truncated toward zero and at least 1. A zoom of 0 or less counts
// as 1; a pen outside 0 to 7 on a width layer throws std::out_of_range.
int PenPixelWidth(const std::array<int32_t, kPenCount>& penWidths, int layer, int pen, int zoom);

// The drawing pens every complete draw selects from: set 0 in the layers'
// colours for normal drawing, set 1 in the highlight colours for selected
// figures. Until the first rebuild every pen is solid black, 1 pixel wide.
class CPenTable {
public:
    enum { kNormal = 0, kHighlight = 1, kSets = 2 };

    // Makes every pen anew for a sheet drawn at `zoom`.
    void Rebuild(const std::array<int32_t, kPenCount>& penWidths,
        const std::array<COLORREF, kLayerCount>& layerColours,
        const std::array<COLORREF, kLayerCount>& highlightColours, int zoom);

    // Throws std::out_of_range for an index outside the table.
    const CPenDesc& Pen(int set, int layer, int pen) const;

private:
    std::array<std::array<std::array<CPenDesc, kPenCount>, kLayerCount>, kSets> pens {};
};
