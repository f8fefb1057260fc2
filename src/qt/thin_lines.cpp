#include "qt/thin_lines.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <utility>

namespace {

enum Caps { kNoCaps = 0, kCapBegin = 1, kCapEnd = 2 };

enum Direction {
    kNoDirection = 0,
    kTopToBottom = 1,
    kBottomToTop = 2,
    kLeftToRight = 4,
    kRightToLeft = 8,
    kVerticalMask = kTopToBottom | kBottomToTop,
    kHorizontalMask = kLeftToRight | kRightToLeft,
};

// Coordinates in 1/64 pixel, cut toward zero; slopes in 1/65536.
int Fixed6(double v)
{
    return static_cast<int>(v * 64.);
}

int64_t Slope16(int along, int across)
{
    return int64_t {along} * (1 << 16) / across;
}

int SwapCaps(int caps)
{
    return ((caps & kCapBegin) << 1) | ((caps & kCapEnd) >> 1);
}

// A cap moves the line's ends out by half a pixel.
void CapAdjust(int caps, int& from, int& to, int64_t& across, int64_t slope)
{
    if (caps & kCapBegin) {
        from -= 32;
        across -= slope >> 1;
    }
    if (caps & kCapEnd)
        to += 32;
}

} // namespace

std::optional<CThinLines> CThinLines::For(QPainter& painter)
{
    QPaintDevice* device = painter.device();
    QPaintEngine* engine = painter.paintEngine();
    if (device == nullptr || engine == nullptr || engine->type() != QPaintEngine::Raster
        || device->devType() != QInternal::Image)
        return std::nullopt;
    auto* image = static_cast<QImage*>(device);
    const QTransform& t = painter.combinedTransform();
    if ((image->format() != QImage::Format_RGB32
            && image->format() != QImage::Format_ARGB32_Premultiplied)
        || image->devicePixelRatio() != 1.0 || painter.hasClipping()
        || !engine->systemClip().isEmpty() || t.type() > QTransform::TxTranslate
        || painter.opacity() != 1.0 || painter.testRenderHint(QPainter::Antialiasing)
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    // The painter detached the image when it began; constBits does not
    // detach again, so the lines go where the painter draws.
    auto* pixels = reinterpret_cast<uint32_t*>(const_cast<uchar*>(image->constBits()));
    return CThinLines(
        pixels, image->bytesPerLine() / 4, image->width(), image->height(), t.dx(), t.dy());
}

CThinLines::CThinLines(
    uint32_t* pixels, qsizetype stride, int width, int height, double dx, double dy)
    : pixels(pixels)
    , stride(stride)
    , width(width)
    , height(height)
    , dx(dx)
    , dy(dy)
    , xmin(-1)
    , xmax(width + 1)
    , ymin(-1)
    , ymax(height + 1)
    , wholeShift(dx == std::trunc(dx) && dy == std::trunc(dy) && std::abs(dx) < (1 << 20)
          && std::abs(dy) < (1 << 20))
    , shiftX(wholeShift ? static_cast<int>(dx) : 0)
    , shiftY(wholeShift ? static_cast<int>(dy) : 0)
{
}

void CThinLines::Point(CPoint p)
{
    Plot(qRound(p.x + dx), qRound(p.y + dy));
}

void CThinLines::Polyline(std::span<const CPoint> points)
{
    if (points.empty())
        return;
    const CPoint first = points.front();
    const CPoint last = points.back();
    size_t k = points.size() - 1;
    while (k > 0 && points[k - 1] == last)
        --k;
    if (k == 0) {
        Point(first);
        return;
    }
    lastDir = kNoDirection;
    lastPixel = {};
    lastAxisAligned = false;
    // A closed polyline joins its first segment to its last one, which
    // starts at points[k - 1].
    if (first == last)
        TakeLastSegment(points[k - 1].x + dx, points[k - 1].y + dy, first.x + dx, first.y + dy);
    // The points being whole pixels apart, every segment reaches its end
    // point and the next one starts there. A segment within the image on
    // whole pixels needs no floating point: the usual case.
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i] == points[i - 1])
            continue;
        const CPoint& a = points[i - 1];
        const CPoint& b = points[i];
        if (wholeShift && InsideWhole(a) && InsideWhole(b)) {
            StrokeFixed((a.x + shiftX) * 64, (a.y + shiftY) * 64, (b.x + shiftX) * 64,
                (b.y + shiftY) * 64, kNoCaps);
        } else {
            Stroke(a.x + dx, a.y + dy, b.x + dx, b.y + dy, kNoCaps);
        }
    }
}

// Clips roughly, in floating point, to a pixel beyond the image; true when
// nothing is left.
bool CThinLines::ClipLine(double& x1, double& y1, double& x2, double& y2)
{
    if (x1 < xmin) {
        if (x2 <= xmin)
            goto clipped;
        y1 += (y2 - y1) / (x2 - x1) * (xmin - x1);
        x1 = xmin;
    } else if (x1 > xmax) {
        if (x2 >= xmax)
            goto clipped;
        y1 += (y2 - y1) / (x2 - x1) * (xmax - x1);
        x1 = xmax;
    }
    if (x2 < xmin) {
        lastPixel.x = INT_MIN;
        y2 += (y2 - y1) / (x2 - x1) * (xmin - x2);
        x2 = xmin;
    } else if (x2 > xmax) {
        lastPixel.x = INT_MIN;
        y2 += (y2 - y1) / (x2 - x1) * (xmax - x2);
        x2 = xmax;
    }

    if (y1 < ymin) {
        if (y2 <= ymin)
            goto clipped;
        x1 += (x2 - x1) / (y2 - y1) * (ymin - y1);
        y1 = ymin;
    } else if (y1 > ymax) {
        if (y2 >= ymax)
            goto clipped;
        x1 += (x2 - x1) / (y2 - y1) * (ymax - y1);
        y1 = ymax;
    }
    if (y2 < ymin) {
        lastPixel.x = INT_MIN;
        x2 += (x2 - x1) / (y2 - y1) * (ymin - y2);
        y2 = ymin;
    } else if (y2 > ymax) {
        lastPixel.x = INT_MIN;
        x2 += (x2 - x1) / (y2 - y1) * (ymax - y2);
        y2 = ymax;
    }
    return false;

clipped:
    lastPixel.x = INT_MIN;
    return true;
}

// Where the last segment of a closed polyline ends and which way it runs,
// as Stroke would leave them, without drawing it.
void CThinLines::TakeLastSegment(double rx1, double ry1, double rx2, double ry2)
{
    lastPixel = {};
    if (ClipLine(rx1, ry1, rx2, ry2))
        return;
    int x1 = Fixed6(rx1);
    int y1 = Fixed6(ry1);
    int x2 = Fixed6(rx2);
    int y2 = Fixed6(ry2);
    const int adx = std::abs(x2 - x1);
    const int ady = std::abs(y2 - y1);
    if (adx < ady) {
        bool swapped = false;
        if (y1 > y2) {
            swapped = true;
            std::swap(y1, y2);
            std::swap(x1, x2);
        }
        const int64_t xinc = Slope16(x2 - x1, y2 - y1);
        int64_t x = int64_t {x1} * (1 << 10);
        const int y = (y1 + 32) >> 6;
        const int ys = (y2 + 32) >> 6;
        const int round = xinc > 0 ? 32 : 0;
        if (y != ys) {
            x += ((y * (1 << 6)) + round - y1) * xinc >> 6;
            if (swapped) {
                lastPixel = {static_cast<int>(x >> 16), y};
                lastDir = kBottomToTop;
            } else {
                lastPixel = {static_cast<int>((x + (ys - y - 1) * xinc) >> 16), ys - 1};
                lastDir = kTopToBottom;
            }
            lastAxisAligned = std::abs(xinc) < (1 << 14);
        }
    } else {
        if (adx == 0)
            return;
        bool swapped = false;
        if (x1 > x2) {
            swapped = true;
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const int64_t yinc = Slope16(y2 - y1, x2 - x1);
        int64_t y = int64_t {y1} * (1 << 10);
        const int x = (x1 + 32) >> 6;
        const int xs = (x2 + 32) >> 6;
        const int round = yinc > 0 ? 32 : 0;
        if (x != xs) {
            y += ((x * (1 << 6)) + round - x1) * yinc >> 6;
            if (swapped) {
                lastPixel = {x, static_cast<int>(y >> 16)};
                lastDir = kRightToLeft;
            } else {
                lastPixel = {xs - 1, static_cast<int>((y + (xs - x - 1) * yinc) >> 16)};
                lastDir = kLeftToRight;
            }
            lastAxisAligned = std::abs(yinc) < (1 << 14);
        }
    }
}

// One segment, stepping one pixel at a time along its longer axis. Its
// first pixel is left out when the segment before ended on it, and a pixel
// is put back where the line turns a corner that would leave a gap.
void CThinLines::Stroke(double rx1, double ry1, double rx2, double ry2, int caps)
{
    if ((!Inside(rx1, ry1) || !Inside(rx2, ry2)) && ClipLine(rx1, ry1, rx2, ry2))
        return;
    StrokeFixed(Fixed6(rx1), Fixed6(ry1), Fixed6(rx2), Fixed6(ry2), caps);
}

// The same from coordinates in 1/64 pixel, within the clipping bounds.
void CThinLines::StrokeFixed(int x1, int y1, int x2, int y2, int caps)
{
    const int adx = std::abs(x2 - x1);
    const int ady = std::abs(y2 - y1);
    CPixel last = lastPixel;

    if (adx < ady) {
        int dir = kTopToBottom;
        bool swapped = false;
        if (y1 > y2) {
            swapped = true;
            std::swap(y1, y2);
            std::swap(x1, x2);
            caps = SwapCaps(caps);
            dir = kBottomToTop;
        }
        const int64_t xinc = Slope16(x2 - x1, y2 - y1);
        int64_t x = int64_t {x1} * (1 << 10);
        if ((lastDir ^ kVerticalMask) == dir)
            caps |= swapped ? kCapEnd : kCapBegin;
        CapAdjust(caps, y1, y2, x, xinc);
        int y = (y1 + 32) >> 6;
        int ys = (y2 + 32) >> 6;
        const int round = xinc > 0 ? 32 : 0;
        if ((caps & kCapBegin) && lastPixel.y == y + 1)
            y++;
        if (y != ys) {
            x += ((y * (1 << 6)) + round - y1) * xinc >> 6;
            CPixel first {static_cast<int>(x >> 16), y};
            last = {static_cast<int>((x + (ys - y - 1) * xinc) >> 16), ys - 1};
            if (swapped)
                std::swap(first, last);
            const bool axisAligned = std::abs(xinc) < (1 << 14);
            if (lastPixel.x > INT_MIN) {
                if (first.x == lastPixel.x && first.y == lastPixel.y) {
                    if (swapped) {
                        --ys;
                    } else {
                        ++y;
                        x += xinc;
                    }
                } else if (lastDir != dir
                    && (((axisAligned && lastAxisAligned) && lastPixel.x != first.x
                            && lastPixel.y != first.y)
                        || (std::abs(lastPixel.x - first.x) > 1
                            || std::abs(lastPixel.y - first.y) > 1))) {
                    if (swapped) {
                        ++ys;
                    } else {
                        --y;
                        x -= xinc;
                    }
                } else if (lastDir == dir && std::abs(lastPixel.x - first.x) <= 1
                    && std::abs(lastPixel.y - first.y) > 1) {
                    x += xinc >> 1;
                    if (swapped)
                        last.x = static_cast<int>(x >> 16);
                    else
                        last.x = static_cast<int>((x + (ys - y - 1) * xinc) >> 16);
                }
            }
            lastDir = dir;
            lastAxisAligned = axisAligned;
            do {
                Plot(static_cast<int>(x >> 16), y);
                x += xinc;
            } while (++y < ys);
        }
    } else {
        if (adx == 0)
            return;
        int dir = kLeftToRight;
        bool swapped = false;
        if (x1 > x2) {
            swapped = true;
            std::swap(x1, x2);
            std::swap(y1, y2);
            caps = SwapCaps(caps);
            dir = kRightToLeft;
        }
        const int64_t yinc = Slope16(y2 - y1, x2 - x1);
        int64_t y = int64_t {y1} * (1 << 10);
        if ((lastDir ^ kHorizontalMask) == dir)
            caps |= swapped ? kCapEnd : kCapBegin;
        CapAdjust(caps, x1, x2, y, yinc);
        int x = (x1 + 32) >> 6;
        int xs = (x2 + 32) >> 6;
        const int round = yinc > 0 ? 32 : 0;
        if ((caps & kCapBegin) && lastPixel.x == x + 1)
            x++;
        if (x != xs) {
            y += ((x * (1 << 6)) + round - x1) * yinc >> 6;
            CPixel first {x, static_cast<int>(y >> 16)};
            last = {xs - 1, static_cast<int>((y + (xs - x - 1) * yinc) >> 16)};
            if (swapped)
                std::swap(first, last);
            const bool axisAligned = std::abs(yinc) < (1 << 14);
            if (lastPixel.x > INT_MIN) {
                if (first.x == lastPixel.x && first.y == lastPixel.y) {
                    if (swapped) {
                        --xs;
                    } else {
                        ++x;
                        y += yinc;
                    }
                } else if (lastDir != dir
                    && (((axisAligned && lastAxisAligned) && lastPixel.x != first.x
                            && lastPixel.y != first.y)
                        || (std::abs(lastPixel.x - first.x) > 1
                            || std::abs(lastPixel.y - first.y) > 1))) {
                    if (swapped) {
                        ++xs;
                    } else {
                        --x;
                        y -= yinc;
                    }
                } else if (lastDir == dir && std::abs(lastPixel.x - first.x) <= 1
                    && std::abs(lastPixel.y - first.y) > 1) {
                    y += yinc >> 1;
                    if (swapped)
                        last.y = static_cast<int>(y >> 16);
                    else
                        last.y = static_cast<int>((y + (xs - x - 1) * yinc) >> 16);
                }
            }
            lastDir = dir;
            lastAxisAligned = axisAligned;
            do {
                Plot(x, static_cast<int>(y >> 16));
                y += yinc;
            } while (++x < xs);
        }
    }
    lastPixel = last;
}
