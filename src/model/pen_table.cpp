#include "model/pen_table.h"

#include <cmath>

const CDashPattern& DashPattern(int pen)
{
    if (pen < 0 || pen >= kPenCount)
        return kDashPatterns[0];
    return kDashPatterns[pen];
}

int PenPixelWidth(const std::array<int32_t, kPenCount>& penWidths, int layer, int pen, int zoom)
{
    const int32_t micrometres = layer >= kFirstLineTypeLayer ? penWidths[1] : penWidths.at(pen);
    const double z = zoom > 0 ? zoom : 1;
    const double pixels = std::trunc(micrometres / z);
    // Damaged files may hold a negative width; it draws as thin as a pen can.
    return pixels < 1 ? 1 : static_cast<int>(pixels);
}

void CPenTable::Rebuild(const std::array<int32_t, kPenCount>& penWidths,
    const std::array<COLORREF, kLayerCount>& layerColours,
    const std::array<COLORREF, kLayerCount>& highlightColours, int zoom)
{
    for (int layer = 0; layer < kLayerCount; ++layer) {
        for (int pen = 0; pen < kPenCount; ++pen) {
            const int width = PenPixelWidth(penWidths, layer, pen, zoom);
            pens[kNormal][layer][pen] = {width, layerColours[layer], PenStyle::Solid};
            pens[kHighlight][layer][pen] = {width, highlightColours[layer], PenStyle::Solid};
        }
    }
}

const CPenDesc& CPenTable::Pen(int set, int layer, int pen) const
{
    return pens.at(set).at(layer).at(pen);
}
