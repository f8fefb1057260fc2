#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "model/model_defaults.h"
#include "model/pen_table.h"
#include "model/sheet.h"
#include "support/recording_canvas.h"

namespace {

using Calls = std::vector<std::string>;

// A 100 x 100 pixel sheet at zoom 100 (a pixel is 0.1 mm) in a 640 x 480
// view, without grid, not fitted on drawing.
std::unique_ptr<CSheet> RenderSheet(int zoom = 100)
{
    auto s = std::make_unique<CSheet>();
    s->recordCount = 1;
    s->zoom = zoom;
    s->zoomAtLastDraw = zoom;
    s->fitMode = 0;
    s->sheetExtent = {0, 0, 10000, 10000};
    s->grids.Active().display = 0;
    return s;
}

// A figure: a move to the first point, then a line to each further point.
void AddLine(CSheet& s, std::initializer_list<CPoint> points, int layer, int pen)
{
    bool first = true;
    for (const CPoint& p : points) {
        s.Append(CETREC::Make(p.x, p.y, layer, first ? 0 : pen));
        first = false;
    }
}

// The calls that put something on the device, without the state changes.
Calls Drawn(const Calls& calls)
{
    Calls out;
    for (const std::string& c : calls) {
        if (!c.starts_with("pen ") && !c.starts_with("brush ") && !c.starts_with("rop ")
            && !c.starts_with("textcolour ") && !c.starts_with("background "))
            out.push_back(c);
    }
    return out;
}

Calls DrawSheetCalls(CSheet& s)
{
    CRecordingCanvas dc;
    CPenTable pens;
    s.DrawSheet(dc, pens);
    return dc.calls;
}

Calls Dashes(int x1, int y1, int x2, int y2, int type, double scale)
{
    CRecordingCanvas dc;
    CSheet::DrawDashedLine(dc, x1, y1, x2, y2, type, scale);
    return dc.calls;
}

// Each polyline "polyline a,b c,d e,f" as "a,b-c,d-e,f", space separated.
std::string DashList(const Calls& calls)
{
    std::string out;
    for (const std::string& c : calls) {
        EXPECT_TRUE(c.starts_with("polyline ")) << c;
        std::string dash = c.substr(std::string_view("polyline ").size());
        std::replace(dash.begin(), dash.end(), ' ', '-');
        out += (out.empty() ? "" : " ") + dash;
    }
    return out;
}

} // namespace

TEST(SheetRender, DrawsEverythingInOrder)
{
    auto s = RenderSheet();
    s->grids.Active() = {50000, 50000, 5000, 5000, 1, 1, 1}; // dots every 500 pixels
    s->layerColours[2] = 0x000022;
    s->layerColours[3] = 0x000033;
    s->layerColours[4] = 0x000044;
    s->Append(CETREC::Make(1000, 1000, 2, 0, 0, true)); // a filled triangle, pattern 4
    s->Append(CETREC::Make(3000, 1000, 2, 4, 0, true));
    s->Append(CETREC::Make(3000, 3000, 2, 4, 0, true));
    s->Append(CETREC::Make(1000, 1000, 2, 4, 0, true));
    AddLine(*s, {{0, 5000}, {5000, 5000}}, 1, 3);
    AddLine(*s, {{0, 6000}, {5000, 6000}}, 9, 1);
    s->Append(CETREC::Junction(2000, 7000, 1));
    auto pict = std::make_unique<CPict>();
    pict->placementRect = {0, 0, 2000, 1000};
    pict->SetImage(std::make_shared<CFakeImage>(CSize {100, 100}));
    s->pictures->pictures.push_back(std::move(pict));
    CText text("Hi", {100, 200, 300, 400}, CText::kDefaultAttributes);
    text.SetLayer(3);
    s->texts.Add(std::make_unique<CText>(text));
    s->editText
        = std::make_unique<CText>("Ed", CRect {1000, 1000, 1100, 1100}, CText::kDefaultAttributes);
    s->editText->SetLayer(4);
    s->ReadyPlacement();
    s->placement[0] = CETREC::Make(0, 0, 1, 0);
    s->placement[1] = CETREC::Make(1000, 0, 1, 1);
    s->placementCount = 2;
    s->zoomWindowActive = 1;
    s->zoomWindowRect = {0, 0, 2000, 2000};

    EXPECT_EQ(DrawSheetCalls(*s),
        (Calls {
            // paper, with pen 1 of layer 0 (200 / 100 pixels)
            "pen 2 0xc8fafa solid",
            "brush solid 0xc8fafa",
            "rectangle 0 0 100 100",
            // grid, down to the first row at or beyond the bottom
            "pixel 0 0 0xdcdcdc",
            "pixel 0 500 0xdcdcdc",
            "pixel 500 0 0xdcdcdc",
            "pixel 500 500 0xdcdcdc",
            // fills, every point; then the paper's brush again
            "pen 2 0x000022 solid",
            "brush horizontal 0x000022",
            "polygon 10,10 30,10 30,30 10,10",
            "brush solid 0xc8fafa",
            "image 100x100 -> 0 0 20 10 from 0 0 0 0",
            // line types first, then widths; the dot with the last pen
            "pen 2 0x000000 solid",
            "polyline 0,60 50,60",
            "pen 2 0x000000 solid",
            "pen 3 0x000000 solid",
            "polyline 0,50 50,50",
            "ellipse 15 65 25 75",
            "background transparent",
            "textcolour 0x000033",
            "text 1 2 Arial/200/400/0/0 Hi",
            // the zoom window; the ghost and the text being typed are the
            // view's feedback, not the sheet's
            "rop not",
            "pen 1 0x000000 solid",
            "move 0 0",
            "line 20 0",
            "line 20 20",
            "line 0 20",
            "line 0 0",
            "rop copy",
        }));
    EXPECT_EQ(s->zoomAtLastDraw, 100);
    EXPECT_EQ(s->junctionSize, 1000);
}

TEST(SheetRender, EmptySheetDrawsPaperAndGridOnly)
{
    auto s = RenderSheet();
    s->origin = {1000, 2000};
    s->sheetExtent = {0, 0, 20000, 10000};
    s->grids.Active().display = 2; // lines every 100 pixels
    const Calls drawn = Drawn(DrawSheetCalls(*s));
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn[0], "rectangle 10 20 210 120");
    // Columns from -90 to 610 and rows from -80 to 420, in step with the origin.
    EXPECT_EQ(drawn[1], "move -90 0");
    EXPECT_EQ(drawn[2], "line -90 480");
    EXPECT_EQ(drawn[16], "line 610 480");
    EXPECT_EQ(drawn[17], "move 0 -80");
    EXPECT_EQ(drawn[18], "line 640 -80");
    EXPECT_EQ(drawn.back(), "line 640 420");
    EXPECT_EQ(drawn.size(), 1u + 2 * (8 + 6));
}

TEST(SheetRender, GridLimitsAndAnchor)
{
    // (display, zoom, drawn) for a spacing of 10000: dots need 4 pixels,
    // lines 8.
    const struct {
        int display, zoom;
        bool drawn;
    } limits[] = {
        {1, 2500, true},
        {1, 2501, false},
        {2, 1250, true},
        {2, 1251, false},
        {0, 100, false},
    };
    for (const auto& c : limits) {
        auto s = RenderSheet(c.zoom);
        s->grids.Active().display = c.display;
        CRecordingCanvas dc;
        s->DrawGrid(dc);
        EXPECT_EQ(!dc.calls.empty(), c.drawn) << c.display << " " << c.zoom;
    }

    // The first column is the last grid line at or before the view's left
    // edge, on either side of the origin: never one far off the screen.
    for (int originX : {-25000, 25000, -10000, 5000000, -5000000}) {
        auto s = RenderSheet();
        s->origin = {originX, 0};
        s->grids.Active().display = 2;
        CRecordingCanvas dc;
        s->DrawGrid(dc);
        const Calls moves = dc.Only("move");
        ASSERT_FALSE(moves.empty());
        const int expected = originX % 10000 == 0 ? 0 : -50;
        EXPECT_EQ(moves.front(), "move " + std::to_string(expected) + " 0") << originX;
        EXPECT_EQ(moves.size(), 7u + 5u) << originX;
    }
}

TEST(SheetRender, ClippingRule)
{
    // (segment in pixels, drawn) in a 640 x 480 view
    const struct {
        CPoint a, b;
        bool drawn;
    } cases[] = {
        {{-5, 10}, {-1, 50}, false}, // both left
        {{-5, 10}, {0, 50}, true},
        {{641, 10}, {700, 50}, false}, // both right
        {{640, 10}, {700, 50}, true},
        {{10, -3}, {50, -1}, false}, // both above
        {{10, 481}, {50, 999}, false}, // both below
        {{10, 480}, {50, 999}, true},
        {{-10, 50}, {50, -10}, true}, // across a corner, not wholly beyond one edge
        {{-10, -10}, {700, 500}, true},
    };
    for (const auto& c : cases) {
        auto s = RenderSheet();
        s->layers.SetVisible(0, 0);
        AddLine(*s, {{c.a.x * 100, c.a.y * 100}, {c.b.x * 100, c.b.y * 100}}, 1, 1);
        const Calls drawn = Drawn(DrawSheetCalls(*s));
        EXPECT_EQ(drawn.size(), c.drawn ? 1u : 0u)
            << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
    }

    // A junction dot goes by the step from the point before it.
    // (point before, dot, drawn)
    const struct {
        CPoint before, dot;
        bool drawn;
    } dots[] = {
        {{-10, 50}, {-5, 50}, false},
        {{10, 50}, {-5, 50}, true},
        {{10, 500}, {10, 490}, false},
    };
    for (const auto& c : dots) {
        auto s = RenderSheet();
        s->layers.SetVisible(0, 0);
        s->Append(CETREC::Make(c.before.x * 100, c.before.y * 100, 1, 0));
        s->Append(CETREC::Junction(c.dot.x * 100, c.dot.y * 100, 1));
        EXPECT_EQ(Drawn(DrawSheetCalls(*s)).size(), c.drawn ? 1u : 0u) << c.dot.x << "," << c.dot.y;
    }
}

TEST(SheetRender, DashPositionsOfEachLineType)
{
    // Horizontal from 0 to 100 pixels at scale 100 (a pixel per 100 micrometres).
    const struct {
        int type;
        const char* dashes;
    } cases[] = {
        {2, "0,0-20,0 30,0-50,0 60,0-80,0 90,0-100,0"},
        {3, "0,0-10,0 20,0-30,0 40,0-50,0 60,0-70,0 80,0-90,0"},
        {4, "0,0-40,0 50,0-60,0 70,0-100,0"},
        {5,
            "0,0-1,0 11,0-12,0 22,0-23,0 33,0-34,0 44,0-45,0 55,0-56,0 66,0-67,0 77,0-78,0 "
            "88,0-89,0 "
            "99,0-100,0"},
        {6, "0,0-20,0 30,0-31,0 41,0-61,0 71,0-72,0 82,0-100,0"},
        {7, "0,0-20,0 30,0-31,0 41,0-42,0 52,0-72,0 82,0-83,0 93,0-94,0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DashList(Dashes(0, 0, 100, 0, c.type, 100)), c.dashes) << c.type;

    // Along an axis the pattern starts at the smaller coordinate.
    EXPECT_EQ(DashList(Dashes(5, 70, 5, 0, 2, 100)), "5,0-5,20 5,30-5,50 5,60-5,70");
    EXPECT_EQ(DashList(Dashes(70, 5, 0, 5, 2, 100)), "0,5-20,5 30,5-50,5 60,5-70,5");

    // Shorter than the first dash: one solid stroke from end to end.
    EXPECT_EQ(DashList(Dashes(0, 0, 15, 0, 2, 100)), "0,0-15,0");
    EXPECT_EQ(DashList(Dashes(0, 0, 10, 10, 2, 100)), "0,0-10,10");

    // Solid for types without a pattern and for scales that are no size.
    for (double scale : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN(),
             std::numeric_limits<double>::infinity()})
        EXPECT_EQ(DashList(Dashes(0, 0, 70, 0, 2, scale)), "0,0-70,0") << scale;
    EXPECT_EQ(DashList(Dashes(0, 0, 70, 0, 1, 100)), "0,0-70,0");
}

TEST(SheetRender, DiagonalDashesStopAtTheEndInEveryDirection)
{
    // Type 3 (10 on, 10 off) along a 130 pixel 5-12-13 diagonal, each way:
    // seven dashes, the last one cut at the end point.
    for (int sx : {1, -1}) {
        for (int sy : {1, -1}) {
            auto p = [&](int x, int y) {
                return std::to_string(sx * x) + "," + std::to_string(sy * y);
            };
            const std::string expected = p(0, 0) + "-" + p(3, 9) + " " + p(7, 18) + "-" + p(11, 27)
                + " " + p(15, 36) + "-" + p(19, 46) + " " + p(23, 55) + "-" + p(26, 64) + " "
                + p(30, 73) + "-" + p(34, 83) + " " + p(38, 92) + "-" + p(42, 101) + " "
                + p(46, 110) + "-" + p(50, 120);
            EXPECT_EQ(DashList(Dashes(0, 0, 50 * sx, 120 * sy, 3, 100)), expected)
                << sx << " " << sy;
        }
    }
}

TEST(SheetRender, EachRunOfAFigureIsOnePolyline)
{
    auto s = RenderSheet();
    s->layers.SetVisible(0, 0);
    // Segments shorter than a pixel: points on the pixel before them go.
    AddLine(*s, {{0, 0}, {40, 0}, {80, 0}, {120, 0}, {160, 30}, {200, 60}, {240, 90}, {250, 110}},
        1, 1);
    // A whole figure within one pixel is a dot.
    AddLine(*s, {{5000, 5000}, {5010, 5020}, {5050, 5050}}, 1, 1);
    // A segment that the clipping rule leaves out ends the run.
    AddLine(*s, {{1000, 20000}, {-1000, 20000}, {-1000, 30000}, {1000, 30000}}, 1, 1);
    // A figure that starts where the last one ended is a run of its own.
    AddLine(*s, {{0, 40000}, {10000, 40000}}, 1, 1);
    AddLine(*s, {{10000, 40000}, {20000, 40000}}, 1, 1);
    // A change of pen ends the run at the vertex.
    AddLine(*s, {{0, 45000}, {1000, 45000}, {2000, 45000}, {3000, 45500}}, 1, 1);
    s->records[s->recordCount - 1].SetPen(5);
    EXPECT_EQ(DrawSheetCalls(*s),
        (Calls {"pen 2 0xc8fafa solid", "brush solid 0xc8fafa", "pen 2 0x000000 solid",
            "polyline 0,0 1,0 2,0 2,1", "polyline 50,50", "polyline 10,200 -10,200",
            "polyline -10,300 10,300", "polyline 0,400 100,400", "polyline 100,400 200,400",
            "polyline 0,450 10,450 20,450", "pen 8 0x000000 solid", "polyline 20,450 30,455",
            "background transparent"}));
}

TEST(SheetRender, DashPatternRunsOnAlongTheRun)
{
    auto dashes = [](CSheet& s) {
        s.layers.SetVisible(0, 0);
        CRecordingCanvas dc;
        CPenTable pens;
        s.DrawSheet(dc, pens);
        return DashList(dc.Only("polyline"));
    };
    // Type 2 (20 pixels on, 10 off at zoom 100) round a corner: the first
    // dash turns it, the next starts 10 pixels on.
    auto corner = RenderSheet();
    AddLine(*corner, {{0, 0}, {1500, 0}, {1500, 4000}}, 9, 2);
    EXPECT_EQ(dashes(*corner), "0,0-15,0-15,5 15,15-15,35");

    // Type 3 (10 on, 10 off) along 20 segments of 5 pixels: the dashes of
    // one straight line of 100 pixels.
    auto straight = RenderSheet();
    std::string expected;
    for (int i = 0; i <= 20; ++i)
        straight->Append(CETREC::Make(i * 500, 0, 10, i == 0 ? 0 : 3));
    for (int x = 0; x < 100; x += 20)
        expected += (x == 0 ? "" : " ") + std::to_string(x) + ",0-" + std::to_string(x + 5) + ",0-"
            + std::to_string(x + 10) + ",0";
    EXPECT_EQ(dashes(*straight), expected);

    // Out of view the pattern moves on without drawing: left of the view
    // and back, 100 + 40 + 150 pixels, type 3.
    auto away = RenderSheet();
    AddLine(*away, {{0, 1000}, {-10000, 1000}, {-10000, 5000}, {5000, 5000}}, 11, 3);
    EXPECT_EQ(dashes(*away), "0,10--10,10 0,50-10,50 20,50-30,50 40,50-50,50");
}

TEST(SheetRender, JunctionRadius)
{
    // (zoom, radius in the complete draw, radius in the selection drawing)
    const struct {
        int zoom, sheet, selection;
    } cases[] = {{20, 25, 25}, {512, 1, 0}, {2000, 1, 0}};
    for (const auto& c : cases) {
        auto s = RenderSheet(c.zoom);
        s->layers.SetVisible(0, 0);
        s->Append(CETREC::Junction(c.zoom * 100, c.zoom * 100, 1));
        const int r = c.sheet;
        EXPECT_EQ(Drawn(DrawSheetCalls(*s)),
            (Calls {"ellipse " + std::to_string(100 - r) + " " + std::to_string(100 - r) + " "
                + std::to_string(100 + r) + " " + std::to_string(100 + r)}))
            << c.zoom;

        s->selectionFlags[1] = 1;
        CRecordingCanvas dc;
        CPenTable pens;
        s->DrawSelection(dc, pens, CSheet::kSelectionHighlight);
        const int q = c.selection;
        EXPECT_EQ(dc.Only("ellipse"),
            (Calls {"ellipse " + std::to_string(100 - q) + " " + std::to_string(100 - q) + " "
                + std::to_string(100 + q) + " " + std::to_string(100 + q)}))
            << c.zoom;
    }
}

TEST(SheetRender, SelectedRecordsAreLeftToTheSelectionDrawing)
{
    auto s = RenderSheet();
    s->layers.SetVisible(0, 0);
    AddLine(*s, {{0, 0}, {1000, 0}, {2000, 0}, {3000, 0}}, 1, 1);
    s->Append(CETREC::Junction(3000, 0, 1));
    s->texts.Add(std::make_unique<CText>("Sel", CRect {0, 0, 100, 100}, CText::kDefaultAttributes));
    s->texts.At(0)->SetLayer(1);
    s->texts.SetSelected(0, true);
    auto pict = std::make_unique<CPict>();
    pict->placementRect = {0, 0, 2000, 1000};
    pict->SetImage(std::make_shared<CFakeImage>(CSize {100, 100}));
    pict->SetSelected(true);
    s->pictures->pictures.push_back(std::move(pict));
    s->selectionFlags[3] = 1;
    s->selectedCount = 1;

    // Record 3 goes with the segments into it and out of it; the dot after
    // the figure stays.
    CPenTable pens;
    CRecordingCanvas sheet;
    s->DrawSheet(sheet, pens);
    EXPECT_EQ(Drawn(sheet.calls), (Calls {"polyline 0,0 10,0", "ellipse 25 -5 35 5"}));

    // (mode, first calls)
    const struct {
        int mode;
        Calls calls;
    } modes[] = {
        {CSheet::kSelectionHighlight, {"pen 2 0x0000ff solid"}},
        {CSheet::kSelectionRestore, {"pen 2 0x000000 solid"}},
        {CSheet::kSelectionInvert, {"rop not", "pen 2 0x000000 solid"}},
    };
    for (const auto& m : modes) {
        CRecordingCanvas dc;
        s->DrawSelection(dc, pens, m.mode);
        Calls expected = m.calls;
        // The segments into and out of it are one line.
        for (const char* c : {"polyline 10,0 20,0 30,0", "background transparent",
                 "textcolour 0x0000ff", "text 0 0 Arial/200/400/0/0 Sel",
                 "image 100x100 -> 0 0 20 10 "
                 "from 0 0 0 0",
                 "pen 1 0x0000ff solid", "move -1 0", "line 20 0", "line 20 10", "line -1 10",
                 "line -1 0"})
            expected.push_back(c);
        if (m.mode == CSheet::kSelectionInvert)
            expected.push_back("rop copy");
        EXPECT_EQ(dc.calls, expected) << m.mode;
    }

    // A selected move draws the segment that leaves it with the next pen.
    auto moveSel = RenderSheet();
    AddLine(*moveSel, {{0, 0}, {1000, 0}}, 2, 5);
    moveSel->selectionFlags[1] = 1;
    CRecordingCanvas dc;
    moveSel->DrawSelection(dc, pens, CSheet::kSelectionHighlight);
    EXPECT_EQ(dc.calls[0], "pen 8 0x0000ff solid"); // pen 5: 800 micrometres
    EXPECT_EQ(Drawn(dc.calls), (Calls {"polyline 0,0 10,0"}));
}

TEST(SheetRender, LayerZeroIsThePaper)
{
    // Hidden, it takes only the paper away.
    auto s = RenderSheet();
    AddLine(*s, {{0, 0}, {1000, 0}}, 1, 1);
    s->layers.SetVisible(0, 0);
    EXPECT_EQ(Drawn(DrawSheetCalls(*s)), (Calls {"polyline 0,0 10,0"}));

    // Its lines, dots and texts never show; its filled figures do.
    auto z = RenderSheet();
    AddLine(*z, {{0, 0}, {1000, 0}}, 0, 1);
    z->Append(CETREC::Junction(0, 0, 0));
    z->Append(CETREC::Make(0, 0, 0, 0, 0, true));
    z->Append(CETREC::Make(1000, 0, 0, 1, 0, true));
    z->Append(CETREC::Make(1000, 1000, 0, 1, 0, true));
    z->texts.Add(std::make_unique<CText>("nul", CRect {0, 0, 100, 100}, CText::kDefaultAttributes));
    EXPECT_EQ(
        Drawn(DrawSheetCalls(*z)), (Calls {"rectangle 0 0 100 100", "polygon 0,0 10,0 10,10"}));
}

TEST(SheetRender, FillPatterns)
{
    // (pen of the second record, brush)
    const struct {
        int pen;
        bool junction;
        const char* brush;
    } cases[] = {
        {1, false, "solid"},
        {2, false, "cross"},
        {3, false, "diagcross"},
        {4, false, "horizontal"},
        {5, false, "vertical"},
        {6, false, "bdiagonal"},
        {7, false, "fdiagonal"},
        {0, true, "horizontal"},
    };
    for (const auto& c : cases) {
        auto s = RenderSheet();
        s->layers.SetVisible(0, 0);
        s->Append(CETREC::Make(0, 0, 3, 0, 0, true));
        CETREC second = CETREC::Make(1000, 0, 3, c.pen, 0, true);
        second.SetJunction(c.junction);
        s->Append(second);
        const Calls brushes = [&] {
            CRecordingCanvas dc;
            CPenTable pens;
            s->DrawSheet(dc, pens);
            return dc.Only("brush");
        }();
        ASSERT_GE(brushes.size(), 2u);
        EXPECT_EQ(brushes[1], std::string("brush ") + c.brush + " 0x000000") << c.pen;
    }
}

TEST(SheetRender, LargeFilledFigureIsDrawnWhole)
{
    auto s = RenderSheet();
    s->layers.SetVisible(0, 0);
    constexpr int kPoints = 1500;
    for (int i = 0; i < kPoints; ++i) {
        const double a = i * 2 * 3.14159265359 / kPoints;
        s->Append(CETREC::Make(static_cast<int>(50000 + 40000 * std::cos(a)),
            static_cast<int>(50000 + 40000 * std::sin(a)), 1, i == 0 ? 0 : 1, 0, true));
    }
    const Calls polygons = Drawn(DrawSheetCalls(*s));
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(std::count(polygons[0].begin(), polygons[0].end(), ','), kPoints);
}

TEST(SheetRender, DrawRangeErasesBySecondDraw)
{
    auto s = RenderSheet();
    AddLine(*s, {{0, 0}, {1000, 0}, {2000, 0}, {3000, 0}}, 11, 1);
    s->Append(CETREC::Junction(5000, 5000, 11));
    s->layers.SetVisible(11, 0);

    // Record 3 with its neighbours on both sides, in NOT-XOR.
    CRecordingCanvas dc;
    s->DrawRange(dc, 3, 3, false);
    EXPECT_EQ(dc.calls,
        (Calls {"rop notxor", "pen 2 0x000000 solid", "polyline 0,0 10,0 20,0 30,0", "rop copy"}));
    EXPECT_EQ(s->layers.IsVisible(11), 1);

    // A single junction: its dot, drawn normally with the xor flag set.
    CRecordingCanvas dot;
    s->DrawRange(dot, 5, 5, true);
    EXPECT_EQ(dot.calls, (Calls {"pen 2 0x000000 solid", "ellipse 45 45 55 55"}));

    // Outside the records: nothing.
    CRecordingCanvas none;
    s->DrawRange(none, 1, 6, false);
    s->DrawRange(none, 0, 0, false);
    EXPECT_TRUE(none.calls.empty());
}

TEST(SheetRender, PlacementGhost)
{
    auto s = RenderSheet();
    const CETREC ghost[] = {CETREC::Make(0, 0, 9, 0), CETREC::Make(5000, 0, 9, 3),
        CETREC::Junction(0, 0, 1), CETREC::Make(0, 1000, 2, 0), CETREC::Make(1000, 1000, 2, 6),
        CETREC::Make(0, 0, 3, 0, 0, true), CETREC::Make(1000, 0, 3, 1, 0, true)};
    s->ReadyPlacement();
    std::copy(std::begin(ghost), std::end(ghost), s->placement.begin());
    s->placementCount = 7;

    CRecordingCanvas dc;
    s->DrawPlacement(dc, true);
    // Dashed on line-type layers, width by pen on the others; no dots, no fills.
    EXPECT_EQ(dc.calls,
        (Calls {"rop xor", "pen 2 0x7f7f7f solid", "polyline 0,0 10,0", "polyline 20,0 30,0",
            "polyline 40,0 50,0", "pen 2 0x7f7f7f solid", "pen 10 0x7f7f7f solid",
            "polyline 0,10 10,10", "rop copy"}));

    s->layerColours[2] = 0x0000AA;
    CRecordingCanvas plain;
    s->DrawPlacement(plain, false);
    EXPECT_EQ(plain.Only("rop").size(), 0u);
    EXPECT_EQ(plain.Only("pen 10"), (Calls {"pen 10 0x0000aa solid"}));
}

TEST(SheetRender, DraggedRectanglesAreInverted)
{
    auto s = RenderSheet();
    s->rubberRect = {0, 0, 5000, 2500};
    CRecordingCanvas dc;
    s->DrawRubberRect(dc);
    EXPECT_EQ(dc.calls.front(), "rop not");
    EXPECT_EQ(dc.calls.back(), "rop copy");
    EXPECT_EQ(
        DashList(Drawn(dc.calls)), "0,0-20,0 30,0-50,0 50,0-50,20 0,25-20,25 30,25-50,25 0,0-0,20");
}

TEST(SheetRender, PenTableFollowsTheZoom)
{
    auto s = RenderSheet(20);
    CRecordingCanvas dc;
    CPenTable pens;
    s->DrawSheet(dc, pens);
    EXPECT_EQ(pens.Pen(CPenTable::kNormal, 1, 5).width, 40);
    EXPECT_EQ(pens.Pen(CPenTable::kNormal, 9, 5).width, 10);
    EXPECT_EQ(pens.Pen(CPenTable::kHighlight, 9, 5).colour, 0x0000FFu);

    // While fitted, the draw fits first.
    s->fitMode = 1;
    s->DrawSheet(dc, pens);
    EXPECT_EQ(s->zoom, 21); // 10000 / 21 = 476 pixels high in 480
    EXPECT_EQ(pens.Pen(CPenTable::kNormal, 1, 5).width, 38);
}

TEST(SheetRender, PrinterPageWithMarginAndPrintColours)
{
    auto s = RenderSheet();
    s->AddFrame(0, 0, 400000, 270000);
    s->sheetExtent = {0, 0, 400000, 270000};
    s->printColours[1] = 0x000011;
    s->layerColours[1] = 0x0000EE;
    s->texts.Add(std::make_unique<CText>(
        "P", CRect {10000, 10000, 20000, 20000}, CText::kDefaultAttributes));
    s->texts.At(0)->SetLayer(1);
    s->texts.SetSelected(0, true);
    s->selectionFlags[2] = 1;

    // Fitted on 4800 x 3300 pixels: f = 4800 / 402000, the origin at pixel 11.
    CRecordingCanvas dc;
    s->DrawForPrinter(dc, {4800, 3300}, 600, 1.0, true);
    const double f = 4800.0 / 402000;
    EXPECT_EQ(dc.calls[0], "pen 2 0xc8fafa solid");
    EXPECT_EQ(dc.Only("rectangle").size(), 0u); // no paper
    const Calls drawn = Drawn(dc.calls);
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_TRUE(drawn[0].starts_with("polyline 11,11 4788,11 ")) << drawn[0];
    EXPECT_EQ(dc.Only("pen 2 0x000011").size(), 1u);
    // Selected texts print like the rest, at the scaled height.
    EXPECT_EQ(drawn.back(),
        "text 131 131 Arial/" + std::to_string(static_cast<int>(20000 * f)) + "/400/0/0 P");

    // Black and white: every pen and text black.
    ModelDefaults().blackAndWhitePrinting = true;
    CRecordingCanvas bw;
    s->DrawForPrinter(bw, {4800, 3300}, 600, 1.0, false);
    ModelDefaults().blackAndWhitePrinting = false;
    const Calls bwPens = bw.Only("pen");
    ASSERT_FALSE(bwPens.empty());
    for (const std::string& pen : bwPens)
        EXPECT_EQ(pen, "pen 4 0x000000 solid"); // 200 micrometres at 600 / 25400 pixels each
    EXPECT_EQ(bw.Only("textcolour"), (Calls {"textcolour 0x000000"}));
}

TEST(SheetRender, MetafileOfTheSelectionWindow)
{
    auto s = RenderSheet(512);
    s->origin = {5000, 5000};
    AddLine(*s, {{6000, 7000}, {26000, 7000}}, 1, 1);
    s->selectionFlags[2] = 1;
    s->grids.Active().display = 2;
    auto pict = std::make_unique<CPict>();
    pict->placementRect = {0, 0, 2000, 1000};
    pict->SetImage(std::make_shared<CFakeImage>(CSize {100, 100}));
    s->pictures->pictures.push_back(std::move(pict));
    s->rubberActive = 1;
    s->rubberRect = {16000, 6000, 6000, 9000}; // dragged from right to left

    CRecordingCanvas dc;
    s->DrawMetafile(dc);
    // In units of 10 micrometres from the window's corner; selected records
    // like the rest; no grid, no pictures.
    EXPECT_EQ(Drawn(dc.calls), (Calls {"rectangle -100 -100 900 900", "polyline 0,100 2000,100"}));
    EXPECT_EQ(dc.calls[0], "pen 20 0xc8fafa solid");
    EXPECT_EQ(s->zoom, 512);
    EXPECT_EQ(s->origin, (CPoint {5000, 5000}));
}
