#pragma once

#include <QtGlobal>
#include <climits>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/types.h"

class QImage;
class QPainter;

// Thin solid lines written straight into the pixels of a 32-bit image,
// exactly as the painter draws them with a one-pixel flat-capped pen, no
// antialiasing and plain copying: the same rounding to 1/64 pixel, the same
// stepping along the longer axis, the same pixel left out at the joins of a
// polyline and added where its direction turns, the same clipping just
// outside the image. The painter spends most of a thin polyline on its
// fixed cost per call; a large drawing is tens of thousands of them.
class CThinLines {
public:
    // Lines for the image the painter draws on, or nothing when the
    // painter would draw them any other way (another device or pixel
    // format, a clip, a transformation beyond a shift, a device pixel ratio,
    // opacity, antialiasing, a composition mode other than copying).
    static std::optional<CThinLines> For(QPainter& painter);

    // `argb` opaque, as the painter stores it.
    void SetColour(uint32_t argb) { colour = argb; }

    // As QPainter::drawPolyline of the points with repeated neighbours left
    // out, and a polyline on one point as QPainter::drawPoint.
    void Polyline(std::span<const CPoint> points);

private:
    CThinLines(uint32_t* pixels, qsizetype stride, int width, int height, double dx, double dy);

    struct CPixel {
        int x = INT_MIN;
        int y = INT_MIN;
    };

    void Point(CPoint p);
    bool Inside(double x, double y) const
    {
        return x >= xmin && x <= xmax && y >= ymin && y <= ymax;
    }
    // Within the clipping bounds after a whole-pixel shift.
    bool InsideWhole(CPoint p) const
    {
        return p.x >= -1 - shiftX && p.x <= width + 1 - shiftX && p.y >= -1 - shiftY
            && p.y <= height + 1 - shiftY;
    }
    bool ClipLine(double& x1, double& y1, double& x2, double& y2);
    void Stroke(double rx1, double ry1, double rx2, double ry2, int caps);
    void StrokeFixed(int x1, int y1, int x2, int y2, int caps);
    void TakeLastSegment(double rx1, double ry1, double rx2, double ry2);
    void Plot(int x, int y)
    {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(width)
            && static_cast<unsigned>(y) < static_cast<unsigned>(height))
            pixels[x + stride * y] = colour;
    }

    uint32_t* pixels;
    qsizetype stride; // in pixels
    int width;
    int height;
    double dx; // the painter's shift
    double dy;
    // Lines are clipped a pixel beyond the image's edges.
    double xmin;
    double xmax;
    double ymin;
    double ymax;
    // The shift in whole pixels, when it is one.
    bool wholeShift;
    int shiftX;
    int shiftY;
    uint32_t colour = 0xFF000000;

    // How the segment before ended, to join the next one without a pixel
    // twice or a gap.
    int lastDir = 0;
    CPixel lastPixel;
    bool lastAxisAligned = false;
};
