#include "qt/qt_canvas.h"

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "model/pen_table.h"
#include "model/sheet.h"
#include "qt/qt_image_codec.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

QImage White(int width = 100, int height = 100)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Draws on the image through a canvas made for the call.
void Paint(QImage& image, const std::function<void(CQtCanvas&)>& draw)
{
    QPainter painter(&image);
    CQtCanvas canvas(painter);
    draw(canvas);
}

// A sheet at zoom 100 (a pixel is 0.1 mm) without paper or grid, so that
// only its content touches the white image.
std::unique_ptr<CSheet> PixelSheet(int zoom = 100)
{
    auto s = std::make_unique<CSheet>();
    s->recordCount = 1;
    s->zoom = zoom;
    s->zoomAtLastDraw = zoom;
    s->fitMode = 0;
    s->clientRect = {0, 0, 100, 100};
    s->grids.Active().display = 0;
    s->layers.SetVisible(0, 0);
    return s;
}

QImage DrawnSheet(CSheet& s, int width = 100, int height = 100)
{
    QImage image = White(width, height);
    CPenTable pens;
    Paint(image, [&](CQtCanvas& dc) { s.DrawSheet(dc, pens); });
    return image;
}

int CountInColumn(const QImage& image, int x, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

// The groups of drawn (not white) pixels that touch each other, also
// across corners.
int EightConnectedGroups(const QImage& image)
{
    const int w = image.width();
    const int h = image.height();
    std::vector<bool> seen(size_t(w) * h);
    auto drawn = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && !seen[size_t(y) * w + x]
            && image.pixel(x, y) != kWhite;
    };
    int groups = 0;
    std::vector<QPoint> todo;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!drawn(x, y))
                continue;
            ++groups;
            seen[size_t(y) * w + x] = true;
            todo.push_back({x, y});
            while (!todo.empty()) {
                const QPoint p = todo.back();
                todo.pop_back();
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (drawn(p.x() + dx, p.y() + dy)) {
                            seen[size_t(p.y() + dy) * w + p.x() + dx] = true;
                            todo.push_back({p.x() + dx, p.y() + dy});
                        }
                    }
                }
            }
        }
    }
    return groups;
}

} // namespace

TEST(QtCanvas, CircleOfShortSegmentsIsOneLineOfPixels)
{
    // 1,000 points at zoom 5000 (5 mm a pixel): from segments of a quarter
    // pixel to segments of about a pixel, where the joins of single lines
    // left gaps. Thin and wide pens, a width layer and a line-type layer.
    constexpr int kPoints = 1000;
    constexpr int kZoom = 5000;
    constexpr double kStep = 6.28318530718 / kPoints;
    for (int radius : {200000, 500000, 800000, 1000000}) {
        for (int layer : {1, 9}) {
            for (int pen : {1, 7}) {
                auto s = PixelSheet(kZoom);
                const int centre = radius + 5 * kZoom;
                const int size = 2 * centre / kZoom + 1;
                s->clientRect = {0, 0, size, size};
                for (int i = 0; i <= kPoints; ++i) {
                    const double a = i * kStep;
                    s->Append(CETREC::Make(centre + int(radius * std::cos(a)),
                        centre + int(radius * std::sin(a)), layer, i == 0 ? 0 : pen));
                }
                SCOPED_TRACE(testing::Message() << radius << " layer " << layer << " pen " << pen);
                const QImage image = DrawnSheet(*s, size, size);
                EXPECT_EQ(EightConnectedGroups(image), 1);
            }
        }
    }
}

TEST(QtCanvas, PolylineOfOnePixelIsADot)
{
    // (pen width, points, pixels set)
    const struct {
        int width;
        std::vector<CPoint> points;
        int pixels;
    } cases[] = {
        {1, {{50, 50}}, 1},
        {1, {{50, 50}, {50, 50}, {50, 50}}, 1},
        {5, {{50, 50}, {50, 50}}, 16},
        {1, {}, 0},
    };
    for (const auto& c : cases) {
        QImage im = White();
        Paint(im, [&](CQtCanvas& dc) {
            dc.SelectPen({c.width, 0, PenStyle::Solid});
            dc.Polyline(c.points);
        });
        int n = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                n += im.pixel(x, y) == kBlack ? 1 : 0;
        EXPECT_EQ(n, c.pixels) << c.width << " " << c.points.size();
        if (c.pixels > 0) {
            EXPECT_EQ(im.pixel(50, 50), kBlack);
        }
    }
}

TEST(QtCanvas, FillPatterns)
{
    // The inside of a filled square from 10 to 90 pixels, by pattern.
    auto set = [](const QImage& im, int x, int y) { return im.pixel(x, y) == kBlack; };
    auto rowsUniform = [&](const QImage& im) {
        for (int y = 20; y < 80; ++y)
            for (int x = 20; x < 80; ++x)
                if (set(im, x, y) != set(im, 20, y))
                    return false;
        return true;
    };
    auto columnsUniform = [&](const QImage& im) {
        for (int x = 20; x < 80; ++x)
            for (int y = 20; y < 80; ++y)
                if (set(im, x, y) != set(im, x, 20))
                    return false;
        return true;
    };
    // Every set pixel continues one row down, dx to the side.
    auto diagonal = [&](const QImage& im, int dx) {
        for (int y = 20; y < 79; ++y)
            for (int x = 21; x < 79; ++x)
                if (set(im, x, y) && !set(im, x + dx, y + 1))
                    return false;
        return true;
    };
    auto fullRow = [&](const QImage& im) {
        for (int y = 20; y < 80; ++y) {
            int n = 0;
            for (int x = 20; x < 80; ++x)
                n += set(im, x, y) ? 1 : 0;
            if (n == 60)
                return true;
        }
        return false;
    };
    auto fullColumn = [&](const QImage& im) {
        for (int x = 20; x < 80; ++x) {
            int n = 0;
            for (int y = 20; y < 80; ++y)
                n += set(im, x, y) ? 1 : 0;
            if (n == 60)
                return true;
        }
        return false;
    };
    auto count = [&](const QImage& im) {
        int n = 0;
        for (int y = 20; y < 80; ++y)
            for (int x = 20; x < 80; ++x)
                n += set(im, x, y) ? 1 : 0;
        return n;
    };

    for (int pattern = 1; pattern <= 7; ++pattern) {
        auto s = PixelSheet();
        const CPoint corners[]
            = {{1000, 1000}, {9000, 1000}, {9000, 9000}, {1000, 9000}, {1000, 1000}};
        for (int i = 0; i < 5; ++i)
            s->Append(CETREC::Make(corners[i].x, corners[i].y, 1, i == 0 ? 0 : pattern, 0, true));
        const QImage im = DrawnSheet(*s);
        const int n = count(im);
        SCOPED_TRACE(pattern);
        switch (pattern) {
        case 1:
            EXPECT_EQ(n, 60 * 60);
            break;
        case 2: // horizontal and vertical lines
            EXPECT_FALSE(rowsUniform(im));
            EXPECT_FALSE(columnsUniform(im));
            EXPECT_TRUE(fullRow(im));
            EXPECT_TRUE(fullColumn(im));
            break;
        case 3: // both diagonals, no straight lines
            EXPECT_FALSE(diagonal(im, 1));
            EXPECT_FALSE(diagonal(im, -1));
            EXPECT_FALSE(fullRow(im));
            EXPECT_FALSE(fullColumn(im));
            EXPECT_GT(n, 60 * 60 / 8);
            break;
        case 4:
            EXPECT_TRUE(rowsUniform(im));
            EXPECT_GT(n, 0);
            break;
        case 5:
            EXPECT_TRUE(columnsUniform(im));
            EXPECT_GT(n, 0);
            break;
        case 6: // rising to the right: "/"
            EXPECT_TRUE(diagonal(im, -1));
            EXPECT_FALSE(diagonal(im, 1));
            break;
        case 7: // falling to the right: "\"
            EXPECT_TRUE(diagonal(im, 1));
            EXPECT_FALSE(diagonal(im, -1));
            break;
        }
        if (pattern > 1) {
            EXPECT_LT(n, 60 * 60 / 2);
        }
    }
}

TEST(QtCanvas, InvertedAndXorDrawingTwiceRestoresEveryPixel)
{
    auto s = PixelSheet();
    s->layers.SetVisible(0, 1);
    s->sheetExtent = {0, 0, 8000, 8000};
    s->layerColours[1] = Rgb(10, 200, 30);
    s->AddFrame(500, 500, 7000, 6000);
    s->Append(CETREC::Make(0, 0, 2, 0, 0, true));
    s->Append(CETREC::Make(5000, 0, 2, 3, 0, true));
    s->Append(CETREC::Make(5000, 5000, 2, 3, 0, true));
    s->Append(CETREC::Junction(3000, 3000, 1));
    s->selectionFlags[2] = s->selectionFlags[3] = 1;
    s->ReadyPlacement();
    s->placement[0] = CETREC::Make(1000, 1000, 9, 0);
    s->placement[1] = CETREC::Make(8000, 7000, 9, 4);
    s->placement[2] = CETREC::Make(2000, 9000, 3, 6);
    s->placementCount = 3;
    s->rubberRect = {1500, 1500, 8500, 6500};
    s->zoomWindowRect = {8500, 500, 2500, 9500};

    CPenTable pens;
    QImage image = White();
    Paint(image, [&](CQtCanvas& dc) { s->DrawSheet(dc, pens); });
    const QImage before = image;

    const std::pair<const char*, std::function<void(CQtCanvas&)>> feedback[] = {
        {"ghost", [&](CQtCanvas& dc) { s->DrawPlacement(dc, true); }},
        {"range", [&](CQtCanvas& dc) { s->DrawRange(dc, 2, 3, false); }},
        {"selection", [&](CQtCanvas& dc) { s->DrawSelection(dc, pens, CSheet::kSelectionInvert); }},
        {"rubber band", [&](CQtCanvas& dc) { s->DrawRubberRect(dc); }},
        {"zoom window", [&](CQtCanvas& dc) { s->DrawZoomWindow(dc); }},
    };
    for (const auto& [name, draw] : feedback) {
        Paint(image, draw);
        EXPECT_NE(image, before) << name;
        Paint(image, draw);
        EXPECT_EQ(image, before) << name;
    }
}

TEST(QtCanvas, PenWidthAtZoom)
{
    // Pen 5 on a width layer: 800 micrometres at 20 per pixel.
    auto s = PixelSheet(20);
    s->Append(CETREC::Make(1000, 2000, 3, 0));
    s->Append(CETREC::Make(5000, 2000, 3, 5));
    const QImage im = DrawnSheet(*s, 400, 200);
    EXPECT_EQ(CountInColumn(im, 150, kBlack), 40);
    // The same pen on a line-type layer has the width of pen 1.
    auto t = PixelSheet(20);
    t->Append(CETREC::Make(1000, 2000, 12, 0));
    t->Append(CETREC::Make(5000, 2000, 12, 1));
    EXPECT_EQ(CountInColumn(DrawnSheet(*t, 400, 200), 150, kBlack), 10);
}

TEST(QtCanvas, ThinRectangleInvertsEachPixelOnce)
{
    // Drawn corner to corner both ways round: every pixel of the outline
    // exactly once, the corners included.
    for (bool clockwise : {true, false}) {
        QImage im = White(60, 40);
        Paint(im, [&](CQtCanvas& dc) {
            dc.SetRasterOp(RasterOp::Not);
            dc.SelectPen({1, 0, PenStyle::Solid});
            dc.MoveTo(10, 10);
            if (clockwise) {
                dc.LineTo(50, 10);
                dc.LineTo(50, 30);
                dc.LineTo(10, 30);
            } else {
                dc.LineTo(10, 30);
                dc.LineTo(50, 30);
                dc.LineTo(50, 10);
            }
            dc.LineTo(10, 10);
        });
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                n += im.pixel(x, y) == kBlack ? 1 : 0;
        EXPECT_EQ(n, 2 * 40 + 2 * 20) << clockwise;
        for (const QPoint& corner :
            {QPoint(10, 10), QPoint(50, 10), QPoint(50, 30), QPoint(10, 30)})
            EXPECT_EQ(im.pixel(corner), kBlack)
                << clockwise << " " << corner.x() << "," << corner.y();
    }
}

TEST(QtCanvas, PixelsAndTextDoNotChangeTheSelectedPen)
{
    QImage im = White();
    Paint(im, [](CQtCanvas& dc) {
        dc.SelectPen({5, 0, PenStyle::Solid});
        dc.SetPixel(90, 90, Rgb(255, 0, 0));
        dc.TextOut(60, 60, CFontDesc {"Arial", 12, 400, false, 0}, "x");
        dc.MoveTo(10, 20);
        dc.LineTo(50, 20);
    });
    EXPECT_EQ(im.pixel(90, 90), 0xFFFF0000);
    EXPECT_EQ(CountInColumn(im, 30, kBlack), 5);
}

TEST(QtCanvas, TextHangsFromItsTopLeftCorner)
{
    const CFontDesc font {"Arial", 30, 700, false, 0};
    QImage im = White(200, 200);
    Paint(im, [&](CQtCanvas& dc) {
        dc.SetTextColour(0);
        dc.SetTransparentBackground(true);
        dc.TextOut(50, 100, font, "HH");
    });
    // Turned a quarter counter-clockwise about the corner, it runs upward
    // with the cell to the right of the corner.
    QImage turned = White(200, 200);
    Paint(turned, [&](CQtCanvas& dc) {
        dc.SetTransparentBackground(true);
        CFontDesc up = font;
        up.escapement = 900;
        dc.TextOut(50, 100, up, "HH");
    });
    int inside = 0, outside = 0, turnedInside = 0, turnedOutside = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (im.pixel(x, y) != kWhite)
                (x >= 50 && y >= 100 && y < 130 ? inside : outside) += 1;
            if (turned.pixel(x, y) != kWhite)
                (x >= 50 && x < 80 && y <= 100 ? turnedInside : turnedOutside) += 1;
        }
    }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(turnedInside, 50);
    EXPECT_EQ(turnedOutside, 0);
}

TEST(QtCanvas, ImagesStretchIntoTheirRectangle)
{
    QImage pixels(2, 2, QImage::Format_RGB32);
    pixels.setPixel(0, 0, 0xFFFF0000);
    pixels.setPixel(1, 0, 0xFF00FF00);
    pixels.setPixel(0, 1, 0xFF0000FF);
    pixels.setPixel(1, 1, 0xFF000000);
    const CQtImage image(pixels, {200, 200});

    QImage im = White();
    Paint(im, [&](CQtCanvas& dc) {
        dc.DrawImage(image, {10, 10, 30, 30}, {}); // whole
        dc.DrawImage(image, {50, 50, 70, 70}, {100, 0, 200, 100}); // the top right part
    });
    EXPECT_EQ(im.pixel(15, 15), 0xFFFF0000u);
    EXPECT_EQ(im.pixel(25, 25), 0xFF000000u);
    EXPECT_EQ(im.pixel(9, 9), kWhite);
    EXPECT_EQ(im.pixel(30, 30), kWhite);
    EXPECT_EQ(im.pixel(60, 60), 0xFF00FF00u);
}

TEST(QtCanvas, ALargeImageDrawnSmallShowsTheSameParts)
{
    // Quarters red, green, blue and black of 2048 x 1024 pixels; drawn into
    // a few pixels it comes from a smaller copy, the parts where they were.
    QImage pixels(2048, 1024, QImage::Format_RGB32);
    const QRgb colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
    for (int y = 0; y < 1024; ++y) {
        for (int x = 0; x < 2048; ++x)
            pixels.setPixel(x, y, colours[(y / 512) * 2 + x / 1024]);
    }
    const CQtImage image(pixels, {20480, 10240});
    EXPECT_EQ(image.ImageFor(QSizeF(100, 50)).size(), QSize(512, 256));
    EXPECT_EQ(image.ImageFor(QSizeF(1500, 50)).size(), QSize(2048, 1024));

    QImage im = White();
    Paint(im, [&](CQtCanvas& dc) {
        dc.DrawImage(image, {0, 0, 40, 20}, {}); // whole
        dc.DrawImage(image, {50, 50, 70, 70}, {10240, 0, 20480, 5120}); // the top right part
    });
    EXPECT_EQ(im.pixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(im.pixel(35, 5), 0xFF00FF00u);
    EXPECT_EQ(im.pixel(5, 15), 0xFF0000FFu);
    EXPECT_EQ(im.pixel(35, 15), 0xFF000000u);
    EXPECT_EQ(im.pixel(52, 52), 0xFF00FF00u);
    EXPECT_EQ(im.pixel(68, 68), 0xFF00FF00u);
}
