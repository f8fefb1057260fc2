#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/image_codec.h"

// A canvas that lists every call as one line of text, so tests compare the
// exact drawing: "pen 3 0x0000ff solid", "move 1 2", "line 3 4",
// "polyline 1,2 3,4 5,6", ...
class CRecordingCanvas : public CCanvas {
public:
    std::vector<std::string> calls;
    RasterOp rasterOp = RasterOp::CopyPen;

    void SelectPen(const CPenDesc& pen) override;
    void SelectBrush(const CBrushDesc& brush) override;
    RasterOp SetRasterOp(RasterOp op) override;
    void SetTextColour(COLORREF colour) override;
    void SetTransparentBackground(bool transparent) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(std::span<const CPoint> points) override;
    void Polygon(std::span<const CPoint> points) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void SetPixel(int x, int y, COLORREF colour) override;
    void TextOut(int x, int y, const CFontDesc& font, std::string_view text) override;
    void DrawImage(const CImage& image, const CRect& dest, const CRect& source) override;

    // The calls whose text starts with `prefix`.
    std::vector<std::string> Only(std::string_view prefix) const;
};

// An image that only has a size, for drawing tests.
class CFakeImage : public CImage {
public:
    explicit CFakeImage(CSize himetric)
        : size(himetric)
    {
    }
    CSize SizeHimetric() const override { return size; }
    CSize size;
};
