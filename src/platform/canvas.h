#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/types.h"

class CImage;

enum class PenStyle { Solid, Dash, Null };

struct CPenDesc {
    int width = 1; // pixels; 0 draws one pixel wide
    COLORREF colour = 0;
    PenStyle style = PenStyle::Solid;
    friend bool operator==(const CPenDesc&, const CPenDesc&) = default;
};

// The hatches are those of the fill patterns 2 to 7.
enum class BrushStyle { Solid, Cross, DiagCross, Horizontal, Vertical, BDiagonal, FDiagonal, Null };

struct CBrushDesc {
    BrushStyle style = BrushStyle::Solid;
    COLORREF colour = 0;
    friend bool operator==(const CBrushDesc&, const CBrushDesc&) = default;
};

// How a pen combines with what is already there. Drawing twice with Not,
// XorPen or NotXorPen restores the original pixels.
enum class RasterOp { CopyPen, Not, XorPen, NotXorPen };

// A system font, as the sheet stores and asks for it.
struct CFontDesc {
    std::string face = "Arial"; // Windows-1252
    int height = 40; // character cell height in pixels (ascent + descent)
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    int escapement = 0; // tenths of a degree, counter-clockwise
    friend bool operator==(const CFontDesc&, const CFontDesc&) = default;
};

// The drawing surface every sheet draws on: the screen bitmap, a printer
// page, a PDF or SVG file, the clipboard picture, or a recording in tests.
// Coordinates are device pixels.
class CCanvas {
public:
    virtual ~CCanvas() = default;

    virtual void SelectPen(const CPenDesc& pen) = 0;
    virtual void SelectBrush(const CBrushDesc& brush) = 0;
    // Returns the operation that was in force.
    virtual RasterOp SetRasterOp(RasterOp op) = 0;
    virtual void SetTextColour(COLORREF colour) = 0;
    virtual void SetTransparentBackground(bool transparent) = 0;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // One connected line through the points in order, drawn as one stroke:
    // a dash pattern of the pen runs on across the vertices, and a thin
    // line leaves no pixel gap where two segments meet. A polyline whose
    // points are all equal is one dot; an empty one draws nothing.
    virtual void Polyline(std::span<const CPoint> points) = 0;
    // Polylines one after another with the selected pen: the first counts[0]
    // points, then the next counts[1], and so on. A canvas may draw them in
    // one call where that looks the same as drawing them in turn.
    virtual void PolyPolyline(std::span<const CPoint> points, std::span<const int> counts)
    {
        size_t at = 0;
        for (const int n : counts) {
            Polyline(points.subspan(at, static_cast<size_t>(n)));
            at += static_cast<size_t>(n);
        }
    }
    // Outlined with the pen, filled with the brush.
    virtual void Polygon(std::span<const CPoint> points) = 0;
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void SetPixel(int x, int y, COLORREF colour) = 0;

    // Text in Windows-1252 with the cell's top-left corner at (x, y); an
    // escapement turns it counter-clockwise about that corner.
    virtual void TextOut(int x, int y, const CFontDesc& font, std::string_view text) = 0;

    // Draws the part `source` of the image (in HIMETRIC, 0.01 mm, from its
    // top-left; an empty source means the whole image) into `dest` (pixels).
    virtual void DrawImage(const CImage& image, const CRect& dest, const CRect& source) = 0;
};
