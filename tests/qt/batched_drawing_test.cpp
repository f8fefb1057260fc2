// The canvas draws the polylines of one pen in one stroke of the painter, and
// writes thin lines on images itself. That must look exactly like the
// painter drawing them one by one, as the sheet did before: compared pixel
// for pixel on the shipped templates, a DXF import and a sheet of every
// layer, pen, fill and dot, on the screen and in the modes that draw over
// the screen.
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "document/document.h"
#include "dxf/dxf_import.h"
#include "model/pen_table.h"
#include "model/sheet.h"
#include "qt/qt_canvas.h"
#include "support/shipped_data.h"
#include "support/temp_folder.h"

namespace {

// The drawing as it was: one painter call for each polyline.
class CPolylineByPolyline : public CQtCanvas {
public:
    explicit CPolylineByPolyline(QPainter& painter)
        : CQtCanvas(painter, false)
    {
    }
    void PolyPolyline(std::span<const CPoint> points, std::span<const int> counts) override
    {
        CCanvas::PolyPolyline(points, counts);
    }
};

using Draw = std::function<void(CCanvas&)>;

QImage Drawn(const Draw& draw, bool batched, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    if (batched) {
        CQtCanvas canvas(painter);
        draw(canvas);
    } else {
        CPolylineByPolyline canvas(painter);
        draw(canvas);
    }
    return image;
}

// The pixels that differ between the batched and the one-by-one drawing,
// and how many pixels the drawing changed at all (a test that draws nothing
// shows nothing).
struct CComparison {
    int differing = 0;
    int drawn = 0;
};

CComparison Compare(const Draw& draw, int width = 800, int height = 600)
{
    const QImage a = Drawn(draw, true, width, height);
    const QImage b = Drawn(draw, false, width, height);
    CComparison c;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            c.differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
            c.drawn += b.pixel(x, y) != 0xFFFFFFFF ? 1 : 0;
        }
    }
    return c;
}

// Every way the sheet is drawn: the complete draw at the fitted zoom and
// closer in, the selection highlighted and inverted, a printer page, and
// the placement ghost in XOR over the drawing.
void ExpectSameInEveryDraw(CSheet& s, const std::string& what)
{
    s.clientRect = {0, 0, 800, 600};
    s.fitMode = 1;
    CPenTable pens;
    for (int closer = 0; closer < 3; ++closer) {
        const CComparison c = Compare([&](CCanvas& dc) {
            s.DrawSheet(dc, pens);
            s.fitMode = 0;
        });
        EXPECT_EQ(c.differing, 0) << what << ", zoomed in " << closer << " times";
        EXPECT_GT(c.drawn, 0) << what;
        for (int i = 0; i < 4; ++i)
            s.ZoomIn();
    }
    s.fitMode = 1;

    for (int i = 1; i < s.recordCount; i += 3)
        s.selectionFlags[i] = 1;
    for (const int mode : {CSheet::kSelectionHighlight, CSheet::kSelectionInvert}) {
        const CComparison c = Compare([&](CCanvas& dc) {
            s.DrawSheet(dc, pens);
            s.DrawSelection(dc, pens, mode);
        });
        EXPECT_EQ(c.differing, 0) << what << ", selection mode " << mode;
    }
    std::fill(s.selectionFlags.begin(), s.selectionFlags.end(), 0);

    const CComparison print = Compare(
        [&](CCanvas& dc) {
            s.DrawForPrinter(dc, {1100, 780}, 96, 1.0, true);
        },
        1100, 780);
    EXPECT_EQ(print.differing, 0) << what << ", printed";

    s.ClearBuffer();
    for (int i = 1; i < std::min(s.recordCount, 2000); ++i)
        s.placement.push_back(s.records[i]);
    s.placementCount = static_cast<int>(s.placement.size());
    const CComparison ghost = Compare([&](CCanvas& dc) {
        s.DrawSheet(dc, pens);
        s.DrawPlacement(dc, true);
    });
    EXPECT_EQ(ghost.differing, 0) << what << ", placement ghost";
    s.ClearBuffer();
}

std::string G(int code, const std::string& value)
{
    return std::to_string(code) + "\n" + value + "\n";
}

} // namespace

TEST(BatchedDrawing, TheTemplatesLookAsDrawnOneByOne)
{
    CDovereduDoc doc;
    const auto folder = ShippedDataFolder() / "Sjablonen";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ASSERT_FALSE(doc.Open(entry.path().string())) << entry.path();
        for (auto& sheet : doc.sheets)
            ExpectSameInEveryDraw(
                *sheet, entry.path().filename().string() + " " + sheet->sheetName);
    }
}

TEST(BatchedDrawing, ADxfImportLooksAsDrawnOneByOne)
{
    // Lines in several line types, circles and arcs (runs of short
    // segments), a polyline with bulges and texts in the stroke font.
    std::string body;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> at(0, 400), size(1, 30);
    const char* types[] = {"", "DASHED", "CENTER", "HIDDEN"};
    for (int i = 0; i < 300; ++i) {
        const int x = at(random) % 380, y = at(random) % 280;
        const std::string layer = G(8, std::to_string(i % 4));
        switch (i % 5) {
        case 0:
            body += G(0, "LINE") + layer
                + (types[i % 4][0] != 0 ? G(6, types[i % 4]) : std::string())
                + G(10, std::to_string(x)) + G(20, std::to_string(y))
                + G(11, std::to_string(x + size(random))) + G(21, std::to_string(y + size(random)));
            break;
        case 1:
            body += G(0, "CIRCLE") + layer + G(10, std::to_string(x)) + G(20, std::to_string(y))
                + G(40, std::to_string(size(random)));
            break;
        case 2:
            body += G(0, "ARC") + layer + G(10, std::to_string(x)) + G(20, std::to_string(y))
                + G(40, std::to_string(size(random))) + G(50, "30") + G(51, "250");
            break;
        case 3:
            body += G(0, "POLYLINE") + layer + G(66, "1") + G(70, "1");
            for (int k = 0; k < 4; ++k) {
                body += G(0, "VERTEX") + G(10, std::to_string(x + k * 7))
                    + G(20, std::to_string(y + (k % 2) * 9)) + G(42, k == 1 ? "0.5" : "0");
            }
            body += G(0, "SEQEND");
            break;
        default:
            body += G(0, "TEXT") + layer + G(10, std::to_string(x)) + G(20, std::to_string(y))
                + G(40, "3.5") + G(1, "Schakelaar " + std::to_string(i));
            break;
        }
    }
    const std::string dxf = G(0, "SECTION") + G(2, "HEADER") + G(9, "$EXTMIN") + G(10, "0")
        + G(20, "0") + G(9, "$EXTMAX") + G(10, "420") + G(20, "297") + G(0, "ENDSEC")
        + G(0, "SECTION") + G(2, "ENTITIES") + body + G(0, "ENDSEC") + G(0, "EOF");
    CTempFolder temp;
    const auto path = temp.path / "tekening.dxf";
    std::ofstream(path, std::ios::binary) << dxf;
    CDovereduFont font;
    font.Load((ShippedDataFolder() / CDovereduFont::kFileName).string());
    CDovereduDoc doc;
    const CDXFImportResult result = ImportDXF(doc, path, {}, font);
    ASSERT_TRUE(result.imported) << result.message;
    CSheet& s = *doc.sheets.back();
    EXPECT_GT(s.recordCount, 3000);
    ExpectSameInEveryDraw(s, "DXF import");
}

TEST(BatchedDrawing, EveryLayerPenFillAndDotLooksAsDrawnOneByOne)
{
    // Overlapping figures of every pen on every layer, filled figures and
    // junction dots among them, so that a batch drawn out of turn would show.
    CSheet s;
    s.recordCount = 1;
    s.penWidths = {1, 200, 900, 1500, 2500, 4000, 6000, 1000};
    std::mt19937 random(5);
    std::uniform_int_distribution<int> at(0, 40000), step(-3000, 3000), layer(1, 15), pen(1, 7);
    for (int figure = 0; figure < 600; ++figure) {
        const int l = layer(random);
        int x = at(random), y = at(random) * 3 / 4;
        s.Append(CETREC::Make(x, y, l, 0));
        const bool filled = figure % 17 == 0;
        const int p = pen(random);
        for (int k = 0; k < 6; ++k) {
            x += step(random);
            y += step(random);
            if (figure % 13 == 0 && k == 3) {
                CETREC dot = CETREC::Make(x, y, l, 0);
                dot.SetJunction(true);
                s.Append(dot);
                continue;
            }
            s.Append(CETREC::Make(x, y, l, figure % 3 == 0 ? pen(random) : p));
        }
        if (filled) {
            const int start = s.recordCount - 7;
            for (int k = start; k < s.recordCount; ++k)
                s.records[k].SetFilled(true);
        }
    }
    s.sheetExtent = {0, 0, 40000, 30000};
    ExpectSameInEveryDraw(s, "every layer and pen");
}
