#pragma once

#include <QFont>
#include <string_view>

#include "platform/canvas.h"
#include "platform/text_metrics.h"

// The Qt font for a system-font description, sized the way the stored text
// boxes were measured: a positive height is the character cell (ascent plus
// descent) in pixels, so the pixel size chosen is the largest whose cell
// fits in it; a negative height is the em size; 0 asks for a default size.
// Arial and the other core faces map to their metric-compatible Liberation
// fonts. The escapement is left to the painter, which turns the text
// counter-clockwise about the cell's top-left corner.
QFont MakeQFont(const CFontDesc& desc);

// Text extents on the screen through Qt. A positive height measures as
// exactly that cell height, as the drawings expect, whatever pixel size the
// font engine rounds to; the width is the advance of the font that is drawn.
class CQtTextMetrics : public CTextMetrics {
public:
    CSize TextExtent(const CFontDesc& font, std::string_view text) const override;
};
