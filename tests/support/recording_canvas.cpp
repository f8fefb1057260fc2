#include "support/recording_canvas.h"

#include <cstdio>

namespace {

std::string Format(const char* format, auto... args)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

const char* Name(PenStyle s)
{
    switch (s) {
    case PenStyle::Solid:
        return "solid";
    case PenStyle::Dash:
        return "dash";
    case PenStyle::Null:
        return "null";
    }
    return "?";
}

const char* Name(BrushStyle s)
{
    switch (s) {
    case BrushStyle::Solid:
        return "solid";
    case BrushStyle::Cross:
        return "cross";
    case BrushStyle::DiagCross:
        return "diagcross";
    case BrushStyle::Horizontal:
        return "horizontal";
    case BrushStyle::Vertical:
        return "vertical";
    case BrushStyle::BDiagonal:
        return "bdiagonal";
    case BrushStyle::FDiagonal:
        return "fdiagonal";
    case BrushStyle::Null:
        return "null";
    }
    return "?";
}

const char* Name(RasterOp op)
{
    switch (op) {
    case RasterOp::CopyPen:
        return "copy";
    case RasterOp::Not:
        return "not";
    case RasterOp::XorPen:
        return "xor";
    case RasterOp::NotXorPen:
        return "notxor";
    }
    return "?";
}

} // namespace

void CRecordingCanvas::SelectPen(const CPenDesc& pen)
{
    calls.push_back(Format("pen %d 0x%06x %s", pen.width, pen.colour, Name(pen.style)));
}

void CRecordingCanvas::SelectBrush(const CBrushDesc& brush)
{
    calls.push_back(Format("brush %s 0x%06x", Name(brush.style), brush.colour));
}

RasterOp CRecordingCanvas::SetRasterOp(RasterOp op)
{
    calls.push_back(Format("rop %s", Name(op)));
    const RasterOp old = rasterOp;
    rasterOp = op;
    return old;
}

void CRecordingCanvas::SetTextColour(COLORREF colour)
{
    calls.push_back(Format("textcolour 0x%06x", colour));
}

void CRecordingCanvas::SetTransparentBackground(bool transparent)
{
    calls.push_back(transparent ? "background transparent" : "background opaque");
}

void CRecordingCanvas::MoveTo(int x, int y)
{
    calls.push_back(Format("move %d %d", x, y));
}

void CRecordingCanvas::LineTo(int x, int y)
{
    calls.push_back(Format("line %d %d", x, y));
}

namespace {

std::string PointList(const char* name, std::span<const CPoint> points)
{
    std::string text = name;
    for (const CPoint& p : points)
        text += Format(" %d,%d", p.x, p.y);
    return text;
}

} // namespace

void CRecordingCanvas::Polyline(std::span<const CPoint> points)
{
    calls.push_back(PointList("polyline", points));
}

void CRecordingCanvas::Polygon(std::span<const CPoint> points)
{
    calls.push_back(PointList("polygon", points));
}

void CRecordingCanvas::Ellipse(int left, int top, int right, int bottom)
{
    calls.push_back(Format("ellipse %d %d %d %d", left, top, right, bottom));
}

void CRecordingCanvas::Rectangle(int left, int top, int right, int bottom)
{
    calls.push_back(Format("rectangle %d %d %d %d", left, top, right, bottom));
}

void CRecordingCanvas::SetPixel(int x, int y, COLORREF colour)
{
    calls.push_back(Format("pixel %d %d 0x%06x", x, y, colour));
}

void CRecordingCanvas::TextOut(int x, int y, const CFontDesc& font, std::string_view text)
{
    calls.push_back(Format("text %d %d %s/%d/%d/%d/%d ", x, y, font.face.c_str(), font.height,
                        font.weight, font.italic ? 1 : 0, font.escapement)
        + std::string(text));
}

void CRecordingCanvas::DrawImage(const CImage& image, const CRect& dest, const CRect& source)
{
    const CSize size = image.SizeHimetric();
    calls.push_back(
        Format("image %dx%d -> %d %d %d %d from %d %d %d %d", size.cx, size.cy, dest.left, dest.top,
            dest.right, dest.bottom, source.left, source.top, source.right, source.bottom));
}

std::vector<std::string> CRecordingCanvas::Only(std::string_view prefix) const
{
    std::vector<std::string> out;
    for (const std::string& c : calls) {
        if (std::string_view(c).starts_with(prefix))
            out.push_back(c);
    }
    return out;
}
