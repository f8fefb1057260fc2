#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "model/sheet.h"

namespace {

// Zoom in and out change the scale by this fraction per step.
constexpr double kZoomStep = 0.1;
// The clamped pan keeps this many pixels of margin at the left and top; the
// allowed width and height are the view's less twice that.
constexpr int kPanMargin = 4;

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

bool Fits32(int64_t v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

// Snaps one coordinate to the step s, in step with the true origin o; the
// divisions truncate toward zero, so a point just left of the origin snaps
// to the origin itself.
int32_t Snap(int32_t v, int32_t s, int32_t o)
{
    const int64_t step = s;
    return Clamp32(o + step * ((step / 2 - o + v) / step));
}

// The clamp of one axis: a sheet smaller than the view stays inside it at
// least 4 pixels from the left (top) edge; a larger one shows no more than
// that margin there and leaves no gap at the other side.
int64_t ClampAxis(int64_t d, int64_t o, int64_t size, int64_t view, int64_t zoom)
{
    const int64_t margin = kPanMargin * zoom;
    if (size <= view) {
        if ((o + d) / zoom < kPanMargin)
            d = margin - o;
        if (o + size + d > view)
            d = view - (o + size);
    } else {
        if ((o + d) / zoom > kPanMargin)
            d = margin - o;
        if (o + size + d < view)
            d = view - (o + size);
    }
    return d;
}

struct CRange {
    int64_t lowX = INT64_MAX, lowY = INT64_MAX, highX = INT64_MIN, highY = INT64_MIN;
    void Take(int64_t x, int64_t y)
    {
        lowX = std::min(lowX, x);
        lowY = std::min(lowY, y);
        highX = std::max(highX, x);
        highY = std::max(highY, y);
    }
    void Take(const CPoint& p) { Take(p.x, p.y); }
    void Take(const CRect& r)
    {
        Take(r.left, r.top);
        Take(r.right, r.bottom);
    }
    bool FitsAfter(int64_t dx, int64_t dy) const
    {
        return lowX > highX
            || (Fits32(lowX + dx) && Fits32(highX + dx) && Fits32(lowY + dy) && Fits32(highY + dy));
    }
};

void Move(CPoint& p, int32_t dx, int32_t dy)
{
    p.x += dx;
    p.y += dy;
}

void Move(CRect& r, int32_t dx, int32_t dy)
{
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

} // namespace

void CSheet::SetPointer(int px, int py)
{
    prevCursor = cursor;
    rawPoint = {Clamp32(int64_t {px} * zoom), Clamp32(int64_t {py} * zoom)};
    cursor = rawPoint;
    const CGrid& g = grids.Active();
    if (g.snapOn) {
        cursor.x = Snap(cursor.x, g.SnapX(), origin.x);
        cursor.y = Snap(cursor.y, g.SnapY(), origin.y);
    }
}

CPoint CSheet::Snapped(CPoint p) const
{
    const CGrid& g = grids.Active();
    if (!g.snapOn)
        return p;
    return {Snap(p.x, g.SnapX(), origin.x), Snap(p.y, g.SnapY(), origin.y)};
}

int CSheet::MoveCursorByKey(CursorKey key)
{
    prevCursor = cursor;
    const CGrid& g = grids.Active();
    int64_t x = cursor.x;
    int64_t y = cursor.y;
    switch (key) {
    case CursorKey::Left:
        x -= g.SnapX();
        break;
    case CursorKey::Right:
        x += g.SnapX();
        break;
    case CursorKey::Up:
        y -= g.SnapY();
        break;
    case CursorKey::Down:
        y += g.SnapY();
        break;
    }
    cursor = {Clamp32(x), Clamp32(y)};
    if (g.snapOn) {
        cursor.x = Snap(cursor.x, g.SnapX(), origin.x);
        cursor.y = Snap(cursor.y, g.SnapY(), origin.y);
    }
    return cursor == prevCursor ? 0 : 1;
}

CPoint CSheet::Pan(int dx, int dy, bool noClamp)
{
    const int64_t z = std::max(zoom, 1);
    int64_t cx = dx;
    int64_t cy = dy;
    if (!noClamp) {
        const int64_t w = int64_t {sheetExtent.right} - sheetExtent.left;
        const int64_t h = int64_t {sheetExtent.bottom} - sheetExtent.top;
        cx = ClampAxis(cx, origin.x, w, (int64_t {clientRect.right} - 2 * kPanMargin) * z, z);
        cy = ClampAxis(cy, origin.y, h, (int64_t {clientRect.bottom} - 2 * kPanMargin) * z, z);
    }
    if (dx == 0 && dy == 0 && zoom == zoomAtLastDraw)
        return {};
    if (!Fits32(cx) || !Fits32(cy))
        return {};

    // Everything that is held in view space moves together; when any point
    // would leave the 32-bit range nothing moves at all.
    CRange range;
    for (int i = 1; i < recordCount; ++i)
        range.Take(records[i].x, records[i].y);
    for (int i = 0; i < placementCount; ++i)
        range.Take(placement[i].x, placement[i].y);
    for (const CPoint& p : {origin, cursor, prevCursor, zoomWindowStart, rubberAnchor, textPoint,
             relPoint, bufferAnchor, bufferCursor})
        range.Take(p);
    range.Take(zoomWindowRect);
    range.Take(rubberRect);
    if (!range.FitsAfter(cx, cy))
        return {};
    const int32_t mx = static_cast<int32_t>(cx);
    const int32_t my = static_cast<int32_t>(cy);
    if (!texts.Offset(mx, my))
        return {};
    if (!pictures->OffsetAll(mx, my)) {
        texts.Offset(-mx, -my);
        return {};
    }
    if (editText && !editText->Offset(mx, my)) {
        pictures->OffsetAll(-mx, -my);
        texts.Offset(-mx, -my);
        return {};
    }

    for (int i = 1; i < recordCount; ++i) {
        records[i].x += mx;
        records[i].y += my;
    }
    for (int i = 0; i < placementCount; ++i) {
        placement[i].x += mx;
        placement[i].y += my;
    }
    for (CPoint* p : {&origin, &cursor, &prevCursor, &zoomWindowStart, &rubberAnchor, &textPoint,
             &relPoint, &bufferAnchor, &bufferCursor})
        Move(*p, mx, my);
    Move(zoomWindowRect, mx, my);
    Move(rubberRect, mx, my);
    return {mx, my};
}

int CSheet::ZoomOut()
{
    const int z = zoom;
    fitMode = 0;
    int64_t n = static_cast<int64_t>(std::trunc(z * (1 + kZoomStep)));
    if (n == z)
        n = static_cast<int64_t>(std::trunc(z * 1.5));
    n = std::clamp<int64_t>(n, kMinZoom, kMaxZoom);
    if (n == z)
        return 0;
    zoom = static_cast<int32_t>(n);
    return 1;
}

int CSheet::ZoomIn()
{
    const int z = zoom;
    fitMode = 0;
    int64_t n = static_cast<int64_t>(std::trunc(z * (1 - kZoomStep)));
    if (n < kMinZoom)
        n = kMinZoom;
    if (n == z)
        return 0;
    zoom = static_cast<int32_t>(n);
    return 1;
}

CPoint CSheet::CentreOn(int x, int y)
{
    fitMode = 0;
    const int64_t z = zoom;
    return Pan(
        Clamp32(((z * clientRect.right) >> 1) - x), Clamp32(((z * clientRect.bottom) >> 1) - y));
}

CPoint CSheet::ZoomAll()
{
    const int64_t cw = clientRect.right;
    const int64_t ch = clientRect.bottom;
    if (cw <= 0 || ch <= 0)
        return {};
    fitMode = 1;
    const int64_t w = std::max(0, sheetExtent.right);
    const int64_t h = std::max(0, sheetExtent.bottom);
    // The smallest d with w / d <= cw and h / d <= ch, found without walking
    // every candidate (a huge imported drawing in a tiny view would take
    // billions of steps). A sheet with nothing in it still gets a zoom the
    // rest of the program accepts.
    const int64_t d = std::max<int64_t>({w / (cw + 1) + 1, h / (ch + 1) + 1, kMinZoom});
    zoom = Clamp32(d);
    return Pan(
        Clamp32(d * ((cw - w / d) >> 1) - origin.x), Clamp32(d * ((ch - h / d) >> 1) - origin.y));
}

CPoint CSheet::ZoomWindow()
{
    const int64_t z = std::max(zoom, 1);
    int64_t l = zoomWindowRect.left / z;
    int64_t t = zoomWindowRect.top / z;
    int64_t r = zoomWindowRect.right / z;
    int64_t b = zoomWindowRect.bottom / z;
    const int64_t cw = clientRect.right;
    const int64_t ch = clientRect.bottom;
    if (l == r || t == b || cw <= 0 || ch <= 0)
        return {};
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    const int64_t w = r - l;
    const int64_t h = b - t;
    const int64_t rx = cw / w;
    const int64_t ry = ch / h;
    double n;
    if (rx == 0 || ry == 0) {
        // A window larger than the view (the pointer was captured beyond its
        // edge) zooms out until the window fits.
        n = std::ceil(z * std::max(double(w) / cw, double(h) / ch));
        n = std::min<double>(n, kMaxZoom);
    } else {
        n = std::trunc(double(z) / std::min(rx, ry));
    }
    const int64_t nz = std::max<int64_t>(1, static_cast<int64_t>(n));
    zoom = Clamp32(nz);
    zoomWindowActive = 0;
    fitMode = 0;
    return Pan(Clamp32(((nz * cw) >> 1) - (l + (w >> 1)) * z),
        Clamp32(((nz * ch) >> 1) - (t + (h >> 1)) * z));
}

CPoint CSheet::ResetPan()
{
    fitMode = 0;
    return Pan(Clamp32(-int64_t {origin.x}), Clamp32(-int64_t {origin.y}));
}

void CSheet::RecomputeExtent()
{
    origin = Extents();
}

CSheet::CScrollBars CSheet::ScrollBars() const
{
    CScrollBars bars;
    const int64_t z = zoom;
    const int64_t wc = int64_t {clientRect.right} * z;
    const int64_t hc = int64_t {clientRect.bottom} * z;
    const int64_t w = sheetExtent.right;
    const int64_t h = sheetExtent.bottom;
    if (w < wc && h < hc)
        return bars;
    auto steps = [](CScrollBar& bar, int64_t range) {
        const int64_t big = std::max<int64_t>(1, range / 10);
        bar.bigStep = Clamp32(big);
        bar.smallStep = Clamp32(std::max<int64_t>(1, big / 10));
    };
    if (w >= wc) {
        const int64_t rx = std::abs(w - (int64_t {clientRect.right} - 2 * kPanMargin) * z);
        // A view without width counts as one micrometre wide.
        const int64_t page = rx / std::max<int64_t>(1, w / std::max<int64_t>(1, wc));
        bars.horizontal = {true, Clamp32(rx + page), Clamp32(page), Clamp32(-int64_t {origin.x})};
        steps(bars.horizontal, rx);
    }
    if (h >= hc) {
        // The vertical range leaves only half the margin.
        const int64_t ry = std::abs(h - (int64_t {clientRect.bottom} - kPanMargin) * z);
        const double ratio = hc > 0 ? double(h) / double(hc) : 1.0;
        const int64_t page = static_cast<int64_t>(std::trunc(ry / std::max(1.0, ratio)));
        bars.vertical = {true, Clamp32(ry + page), Clamp32(page), Clamp32(-int64_t {origin.y})};
        steps(bars.vertical, ry);
    }
    return bars;
}
