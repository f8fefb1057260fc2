#include "qt/thin_lines.h"

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QPolygon>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using Polylines = std::vector<std::vector<CPoint>>;

constexpr int kWidth = 120;
constexpr int kHeight = 90;

// The painter's drawing of the polylines in turn, or ours; repeated points
// are left out, and one-point polylines are points. Every third polyline is green, so that the
// order of overlapping polylines shows.
QImage Drawn(const Polylines& lines, bool ours, QImage::Format format, QPointF shift)
{
    QImage image(kWidth, kHeight, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(shift);
    std::optional<CThinLines> thin = CThinLines::For(painter);
    EXPECT_TRUE(thin.has_value());
    for (size_t i = 0; i < lines.size(); ++i) {
        const QColor colour = i % 3 == 0 ? QColor(0, 160, 0) : QColor(0, 0, 0);
        const std::vector<CPoint>& line = lines[i];
        if (ours) {
            thin->SetColour(colour.rgb());
            thin->Polyline(line);
            continue;
        }
        QPolygon polygon;
        for (const CPoint p : line) {
            if (polygon.isEmpty() || polygon.constLast() != QPoint(p.x, p.y))
                polygon.append(QPoint(p.x, p.y));
        }
        painter.setPen(QPen(colour, 1, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        if (polygon.size() == 1)
            painter.drawPoint(polygon.constFirst());
        else
            painter.drawPolyline(polygon);
    }
    return image;
}

// Random polylines: `steps` bounds each step (steps of one pixel repeat
// points), `spread` how far outside the image they may start; every fifth
// polyline closes on its first point.
Polylines RandomPolylines(unsigned seed, int steps, int spread, int count = 400)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> x(-spread, kWidth + spread), y(-spread, kHeight + spread);
    std::uniform_int_distribution<int> step(-steps, steps), length(1, 12);
    Polylines lines;
    for (int i = 0; i < count; ++i) {
        std::vector<CPoint> line {{x(random), y(random)}};
        const int n = length(random);
        for (int k = 0; k < n; ++k)
            line.push_back({line.back().x + step(random), line.back().y + step(random)});
        if (i % 5 == 0 && line.size() > 2)
            line.push_back(line.front());
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(ThinLines, DrawExactlyThePaintersPixels)
{
    // Steps of a pixel or two (the short segments of arcs, with their
    // repeated points and turns), of tens of pixels, and of hundreds far
    // beyond the image's edges; lines in every direction, closed and open.
    const struct {
        const char* what;
        Polylines lines;
    } cases[] = {
        {"tiny steps", RandomPolylines(1, 2, 5)},
        {"short steps", RandomPolylines(2, 6, 10)},
        {"long steps", RandomPolylines(3, 60, 40)},
        {"far outside", RandomPolylines(4, 600, 500, 200)},
        {"axis-aligned corners",
            {{{10, 10}, {40, 10}, {40, 30}, {10, 30}, {10, 10}},
                {{50, 50}, {50, 20}, {80, 20}, {80, 50}},
                {{5, 80}, {6, 80}, {6, 81}, {7, 81}, {7, 82}}, {{-20, 45}, {140, 45}},
                {{60, -30}, {60, 120}}, {{0, 0}, {119, 89}}, {{119, 0}, {0, 89}}, {{30, 60}},
                {{-1, 5}}, {{119, 89}}}},
    };
    // Whole-pixel shifts, and one of fractions of a pixel.
    const QPointF shifts[] = {{0, 0}, {7, -3}, {0.5, -0.25}};
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied};
    for (const auto& c : cases) {
        for (const QPointF shift : shifts) {
            for (const QImage::Format format : formats) {
                const QImage painted = Drawn(c.lines, false, format, shift);
                const QImage ours = Drawn(c.lines, true, format, shift);
                int differing = 0;
                int drawn = 0;
                for (int y = 0; y < kHeight; ++y) {
                    for (int x = 0; x < kWidth; ++x) {
                        differing += painted.pixel(x, y) != ours.pixel(x, y) ? 1 : 0;
                        drawn += painted.pixel(x, y) != 0xFFFFFFFF ? 1 : 0;
                    }
                }
                EXPECT_EQ(differing, 0) << c.what << ", shifted " << shift.x() << "," << shift.y()
                                        << ", format " << format;
                EXPECT_GT(drawn, 0) << c.what;
            }
        }
    }
}

TEST(ThinLines, LeaveToThePainterWhatItDrawsOtherwise)
{
    QImage image(20, 20, QImage::Format_RGB32);
    const struct {
        const char* what;
        std::function<void(QPainter&)> set;
    } cases[] = {
        {"antialiasing", [](QPainter& p) { p.setRenderHint(QPainter::Antialiasing); }},
        {"clip", [](QPainter& p) { p.setClipRect(2, 2, 10, 10); }},
        {"scale", [](QPainter& p) { p.scale(2, 2); }},
        {"opacity", [](QPainter& p) { p.setOpacity(0.5); }},
        {"XOR", [](QPainter& p) { p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); }},
    };
    for (const auto& c : cases) {
        QPainter painter(&image);
        EXPECT_TRUE(CThinLines::For(painter).has_value()) << c.what;
        c.set(painter);
        EXPECT_FALSE(CThinLines::For(painter).has_value()) << c.what;
    }
    QImage indexed(20, 20, QImage::Format_RGB888);
    QPainter painter(&indexed);
    EXPECT_FALSE(CThinLines::For(painter).has_value());
}
