#include "qt/qt_canvas.h"

#include <cmath>

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <QString>
#include <vector>

#include "qt/qt_image_codec.h"
#include "qt/qt_text.h"
#include "qt/qt_text_metrics.h"

namespace {

Qt::BrushStyle QtHatch(BrushStyle style)
{
    switch (style) {
    case BrushStyle::Solid:
        return Qt::SolidPattern;
    case BrushStyle::Cross:
        return Qt::CrossPattern;
    case BrushStyle::DiagCross:
        return Qt::DiagCrossPattern;
    case BrushStyle::Horizontal:
        return Qt::HorPattern;
    case BrushStyle::Vertical:
        return Qt::VerPattern;
    // Pattern 6 rises to the right ("/"), pattern 7 falls ("\").
    case BrushStyle::BDiagonal:
        return Qt::BDiagPattern;
    case BrushStyle::FDiagonal:
        return Qt::FDiagPattern;
    case BrushStyle::Null:
        return Qt::NoBrush;
    }
    return Qt::NoBrush;
}

QPainter::CompositionMode QtMode(RasterOp op)
{
    switch (op) {
    case RasterOp::CopyPen:
        return QPainter::CompositionMode_SourceOver;
    case RasterOp::Not:
        return QPainter::RasterOp_NotDestination;
    case RasterOp::XorPen:
        return QPainter::RasterOp_SourceXorDestination;
    case RasterOp::NotXorPen:
        return QPainter::RasterOp_NotSourceXorDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

} // namespace

QColor CQtCanvas::Colour(COLORREF c)
{
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

CQtCanvas::CQtCanvas(QPainter& painter, bool ownThinLines)
    : painter(painter)
    , ownThinLines(ownThinLines)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackground(QBrush(Qt::white));
    painter.setBackgroundMode(Qt::OpaqueMode);
    if (ownThinLines)
        thinLines = CThinLines::For(painter);
    SelectPen({});
    SelectBrush({BrushStyle::Solid, Rgb(255, 255, 255)});
}

void CQtCanvas::SelectPen(const CPenDesc& desc)
{
    thinLine = false;
    thinSolid = false;
    if (desc.style == PenStyle::Null) {
        pen = QPen(Qt::NoPen);
    } else {
        thinLine = desc.width <= 1;
        thinSolid = thinLine && desc.style != PenStyle::Dash;
        const int width = std::max(desc.width, 1);
        // A thin line stops short of its end point; a wide one has round
        // ends, so that the segments of a polyline join.
        pen = QPen(Colour(desc.colour), width,
            desc.style == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine,
            width == 1 ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin);
    }
    if (thinSolid && thinLines)
        thinLines->SetColour(pen.color().rgb());
    penInUse = false;
}

void CQtCanvas::UsePen()
{
    if (penInUse)
        return;
    painter.setPen(pen);
    penInUse = true;
}

void CQtCanvas::SelectBrush(const CBrushDesc& brush)
{
    painter.setBrush(QBrush(Colour(brush.colour), QtHatch(brush.style)));
}

RasterOp CQtCanvas::SetRasterOp(RasterOp op)
{
    const RasterOp old = rasterOp;
    // Only raster devices know these operations; the others are never asked
    // to change from plain copying.
    if (op != rasterOp) {
        painter.setCompositionMode(QtMode(op));
        if (ownThinLines) {
            thinLines = CThinLines::For(painter);
            if (thinSolid && thinLines)
                thinLines->SetColour(pen.color().rgb());
        }
    }
    rasterOp = op;
    return old;
}

void CQtCanvas::SetTextColour(COLORREF colour)
{
    textColour = Colour(colour);
}

void CQtCanvas::SetTransparentBackground(bool transparent)
{
    painter.setBackgroundMode(transparent ? Qt::TransparentMode : Qt::OpaqueMode);
}

void CQtCanvas::MoveTo(int x, int y)
{
    current = {x, y};
}

void CQtCanvas::LineTo(int x, int y)
{
    UsePen();
    const QPoint to(x, y);
    QPoint from = current;
    QPoint end = to;
    // Qt leaves out the pixel at the larger coordinate whichever way a thin
    // line runs. A horizontal or vertical line drawn toward smaller
    // coordinates is moved by one pixel, so that it too keeps its first
    // pixel and leaves out its last, and the corners of a rectangle drawn
    // in XOR are each drawn once.
    if (thinLine && from != end) {
        if (from.y() == end.y() && end.x() < from.x()) {
            from.rx() += 1;
            end.rx() += 1;
        } else if (from.x() == end.x() && end.y() < from.y()) {
            from.ry() += 1;
            end.ry() += 1;
        }
    }
    painter.drawLine(from, end);
    current = to;
}

void CQtCanvas::Polyline(std::span<const CPoint> points)
{
    if (thinSolid && thinLines) {
        thinLines->Polyline(points);
        return;
    }
    if (points.empty())
        return;
    // Repeated points add nothing but zero-length pieces to the stroke.
    polyline.clear();
    polyline.reserve(static_cast<int>(points.size()));
    polyline.append(QPoint(points[0].x, points[0].y));
    for (const CPoint& p : points.subspan(1)) {
        const QPoint q(p.x, p.y);
        if (q != polyline.constLast())
            polyline.append(q);
    }
    // The painter draws nothing for a polyline of one point; a figure
    // smaller than a pixel still shows as a dot.
    UsePen();
    if (polyline.size() == 1)
        painter.drawPoint(polyline.constFirst());
    else
        painter.drawPolyline(polyline);
}

void CQtCanvas::PolyPolyline(std::span<const CPoint> points, std::span<const int> counts)
{
    // On pixels, a thin line's first pixel follows the polyline before it
    // when both are in one stroke; a wide line's overlap with another is
    // drawn once, which differs under a raster operation. A vector device
    // (PDF, printer, SVG) keeps every polyline as it is in one path. Thin
    // solid lines on an image go to the canvas's own writer one by one, at
    // little cost each.
    if (thinSolid && thinLines) {
        size_t at = 0;
        for (const int n : counts) {
            thinLines->Polyline(points.subspan(at, static_cast<size_t>(n)));
            at += static_cast<size_t>(n);
        }
        return;
    }
    const bool pixels
        = painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster;
    if (pen.style() != Qt::SolidLine || (pixels && (thinLine || rasterOp != RasterOp::CopyPen))) {
        CCanvas::PolyPolyline(points, counts);
        return;
    }
    UsePen();
    batch.clear();
    dots.clear();
    size_t at = 0;
    for (const int n : counts) {
        const auto part = points.subspan(at, static_cast<size_t>(n));
        at += part.size();
        if (part.empty())
            continue;
        // As in Polyline: repeated points are dropped, and a polyline on
        // one pixel is a dot.
        QPoint last(part[0].x, part[0].y);
        const QPoint first = last;
        bool line = false;
        for (const CPoint& p : part.subspan(1)) {
            const QPoint q(p.x, p.y);
            if (q == last)
                continue;
            if (!line)
                batch.moveTo(first);
            batch.lineTo(q);
            last = q;
            line = true;
        }
        if (!line)
            dots.append(first);
    }
    if (!batch.isEmpty())
        painter.strokePath(batch, pen);
    if (!dots.isEmpty())
        painter.drawPoints(dots);
}

void CQtCanvas::Polygon(std::span<const CPoint> points)
{
    if (points.empty())
        return;
    UsePen();
    QPolygon polygon(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    painter.drawPolygon(polygon, Qt::OddEvenFill);
}

void CQtCanvas::Ellipse(int left, int top, int right, int bottom)
{
    UsePen();
    // The box's right and bottom edges lie outside the figure.
    painter.drawEllipse(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
}

void CQtCanvas::Rectangle(int left, int top, int right, int bottom)
{
    UsePen();
    painter.drawRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
}

void CQtCanvas::SetPixel(int x, int y, COLORREF colour)
{
    const QColor c = Colour(colour);
    if (penInUse || painter.pen().color() != c || painter.pen().width() != 1)
        painter.setPen(QPen(c, 1));
    penInUse = false;
    painter.drawPoint(x, y);
}

void CQtCanvas::TextOut(int x, int y, const CFontDesc& font, std::string_view text)
{
    const QFont f = MakeQFont(font);
    painter.setFont(f);
    painter.setPen(textColour);
    penInUse = false;
    const QString s = FromCp1252(text);
    const int ascent = QFontMetrics(f).ascent();
    if (font.escapement == 0) {
        painter.drawText(x, y + ascent, s);
        return;
    }
    painter.save();
    painter.translate(x, y);
    painter.rotate(-font.escapement / 10.0);
    painter.drawText(0, ascent, s);
    painter.restore();
}

void CQtCanvas::DrawImage(const CImage& image, const CRect& dest, const CRect& source)
{
    const auto* qt = dynamic_cast<const CQtImage*>(&image);
    if (qt == nullptr || qt->Image().isNull())
        return;
    const QImage& full = qt->Image();
    QRectF from = qt->PixelsOf(source);
    if (from.width() <= 0 || from.height() <= 0)
        return;
    // The whole image at the scale it is drawn: a smaller copy may do.
    const QSizeF shown(std::abs(full.width() * dest.Width() / from.width()),
        std::abs(full.height() * dest.Height() / from.height()));
    const QImage& pixels = qt->ImageFor(shown);
    if (&pixels != &full) {
        const double f = double(pixels.width()) / full.width();
        const double g = double(pixels.height()) / full.height();
        from = QRectF(from.left() * f, from.top() * g, from.width() * f, from.height() * g);
    }
    painter.drawImage(QRectF(dest.left, dest.top, dest.Width(), dest.Height()), pixels, from);
}
