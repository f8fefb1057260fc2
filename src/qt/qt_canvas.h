#pragma once

#include <QBrush>
#include <QColor>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QPolygon>

#include "platform/canvas.h"
#include "qt/thin_lines.h"

class QPainter;

// The drawing surface over a QPainter: the sheet's bitmap (a 32-bit QImage),
// an SVG or PDF file, a printer page. Antialiasing is off, so that the
// inverting and XOR operations touch whole pixels and drawing a figure twice
// restores every pixel. A one-pixel line leaves out one end pixel, as the
// drawings always looked, so that the vertices of a polyline drawn in XOR
// are drawn once; a line of no length is one pixel, so that the dots of a
// dotted line show at every zoom. A polyline is one stroke of the painter,
// so its pixels stay connected at every vertex and its dashes run on along
// it. The painter must outlive the canvas, and keep the transformation and
// clip it had when the canvas was made for as long as the canvas draws.
class CQtCanvas : public CCanvas {
public:
    // With `ownThinLines`, thin solid lines on an image are written by the
    // canvas itself (CThinLines), which looks the same and costs far less
    // per polyline; without it every line goes through the painter.
    explicit CQtCanvas(QPainter& painter, bool ownThinLines = true);

    void SelectPen(const CPenDesc& pen) override;
    void SelectBrush(const CBrushDesc& brush) override;
    RasterOp SetRasterOp(RasterOp op) override;
    void SetTextColour(COLORREF colour) override;
    void SetTransparentBackground(bool transparent) override;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(std::span<const CPoint> points) override;
    // One stroke of the painter for them all where that draws the same
    // pixels as drawing them in turn: a solid pen on a vector device, a wide
    // solid pen copying onto pixels.
    void PolyPolyline(std::span<const CPoint> points, std::span<const int> counts) override;
    void Polygon(std::span<const CPoint> points) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void SetPixel(int x, int y, COLORREF colour) override;
    void TextOut(int x, int y, const CFontDesc& font, std::string_view text) override;
    // Draws a CQtImage; any other image draws nothing.
    void DrawImage(const CImage& image, const CRect& dest, const CRect& source) override;

    static QColor Colour(COLORREF c);

private:
    // The painter's pen is the selected one only until a pixel or a text is
    // drawn; it is put back lazily.
    void UsePen();

    QPainter& painter;
    QPen pen;
    bool thinLine = true;
    bool ownThinLines;
    std::optional<CThinLines> thinLines; // while the painter's state allows them
    bool thinSolid = false; // a thin solid pen, which thinLines can draw
    bool penInUse = false;
    QColor textColour = Qt::black;
    QPoint current;
    QPolygon polyline; // kept between calls for its storage
    QPainterPath batch; // likewise
    QPolygon dots; // likewise
    RasterOp rasterOp = RasterOp::CopyPen;
};
