#include <climits>
#include <gtest/gtest.h>

#include "model/sheet.h"

namespace {

// A sheet of the given size that is not fitted on every draw; the draw
// grid snaps every 5000.
std::unique_ptr<CSheet> ViewSheet(int zoom, CRect extent = {0, 0, 297000, 210000})
{
    auto s = std::make_unique<CSheet>();
    s->recordCount = 1;
    s->zoom = zoom;
    s->sheetExtent = extent;
    s->fitMode = 0;
    return s;
}

} // namespace

TEST(SheetView, ZoomSteps)
{
    // (zoom, ZoomIn result and zoom, ZoomOut result and zoom)
    const struct {
        int zoom, in, zoomIn, out, zoomOut;
    } cases[] = {
        {2, 0, 2, 1, 3}, // 2.2 truncates to 2: the 1.5 step applies
        {3, 1, 2, 1, 4}, // 2.7 truncates to 2
        {6, 1, 5, 1, 9},
        {512, 1, 460, 1, 563},
        {9500, 1, 8550, 1, 10000}, // 10450 is past the largest zoom
        {10000, 1, 9000, 0, 10000},
    };
    for (const auto& c : cases) {
        auto s = ViewSheet(c.zoom);
        s->fitMode = 1;
        EXPECT_EQ(s->ZoomIn(), c.in) << c.zoom;
        EXPECT_EQ(s->zoom, c.zoomIn) << c.zoom;
        EXPECT_EQ(s->fitMode, 0);
        s->zoom = c.zoom;
        EXPECT_EQ(s->ZoomOut(), c.out) << c.zoom;
        EXPECT_EQ(s->zoom, c.zoomOut) << c.zoom;
    }
}

TEST(SheetView, ZoomAllFitsAndCentres)
{
    auto s = ViewSheet(512);
    s->AddFrame(0, 0, 297000, 210000);
    s->texts.Add(std::make_unique<CText>("a", CRect {0, 0, 100, 100}, CText::kDefaultAttributes));
    // 297000 / 464 = 640 and 210000 / 464 = 452: the top edge 14 pixels down.
    EXPECT_EQ(s->ZoomAll(), (CPoint {0, 6496}));
    EXPECT_EQ(s->zoom, 464);
    EXPECT_EQ(s->fitMode, 1);
    EXPECT_EQ(s->origin, (CPoint {0, 6496}));
    EXPECT_EQ(s->records[3], CETREC::Make(297000, 216496, 1, 1, 1));
    EXPECT_EQ(s->texts.At(0)->box, (CRect {0, 6496, 100, 6596}));

    // Fitting again finds it where it is.
    s->zoomAtLastDraw = s->zoom;
    EXPECT_EQ(s->ZoomAll(), (CPoint {0, 0}));
    EXPECT_EQ(s->origin, (CPoint {0, 6496}));
}

TEST(SheetView, ZoomAllEdgeCases)
{
    // A view without width or height: nothing changes.
    for (const CRect& client :
        {CRect {0, 0, 0, 480}, CRect {0, 0, 640, 0}, CRect {0, 0, -5, 480}}) {
        auto s = ViewSheet(300);
        s->clientRect = client;
        EXPECT_EQ(s->ZoomAll(), (CPoint {0, 0}));
        EXPECT_EQ(s->zoom, 300);
        EXPECT_EQ(s->fitMode, 0);
    }

    // An empty sheet still gets a usable zoom.
    auto empty = ViewSheet(300, {});
    empty->ZoomAll();
    EXPECT_EQ(empty->zoom, CSheet::kMinZoom);

    // The largest drawing in a one-pixel view is fitted at once.
    auto huge = ViewSheet(300, {0, 0, INT32_MAX, INT32_MAX});
    huge->clientRect = {0, 0, 1, 1};
    huge->ZoomAll();
    EXPECT_EQ(huge->zoom, INT32_MAX / 2 + 1);
}

TEST(SheetView, SnapsToTheTrueOrigin)
{
    // (origin x, pointer x at zoom 1, snapped x) with a step of 5000
    const struct {
        int origin, pointer, snapped;
    } cases[] = {
        {0, 7499, 5000},
        {0, 7500, 10000},
        {0, -3000, 0}, // truncating toward zero: to the origin itself
        {0, -7500, -5000},
        {1000, 7499, 6000},
    };
    for (const auto& c : cases) {
        auto s = ViewSheet(1);
        s->origin = {c.origin, 0};
        s->cursor = {11, 12};
        s->SetPointer(c.pointer, 0);
        EXPECT_EQ(s->cursor.x, c.snapped) << c.origin << " " << c.pointer;
        EXPECT_EQ(s->rawPoint.x, c.pointer);
        EXPECT_EQ(s->prevCursor, (CPoint {11, 12}));
    }

    // Without snapping the cursor is the pointer times the zoom.
    auto s = ViewSheet(512);
    s->grids.Active().snapOn = 0;
    s->SetPointer(3, 4);
    EXPECT_EQ(s->cursor, (CPoint {1536, 2048}));
}

TEST(SheetView, ArrowKeysMoveBySnapStep)
{
    auto s = ViewSheet(512);
    s->grids.Active().snapOn = 0;
    s->grids.Active().snapY = 2500;
    s->cursor = {1234, 0};
    // (key, cursor afterwards), one after the other
    const struct {
        CSheet::CursorKey key;
        CPoint cursor;
    } steps[] = {
        {CSheet::CursorKey::Right, {6234, 0}},
        {CSheet::CursorKey::Up, {6234, -2500}},
        {CSheet::CursorKey::Left, {1234, -2500}},
        {CSheet::CursorKey::Down, {1234, 0}},
    };
    for (const auto& step : steps) {
        const CPoint before = s->cursor;
        EXPECT_EQ(s->MoveCursorByKey(step.key), 1);
        EXPECT_EQ(s->cursor, step.cursor);
        EXPECT_EQ(s->prevCursor, before);
    }

    // With snapping the moved cursor lands on the grid.
    s->grids.Active().snapOn = 1;
    EXPECT_EQ(s->MoveCursorByKey(CSheet::CursorKey::Right), 1);
    EXPECT_EQ(s->cursor, (CPoint {5000, 0}));
}

TEST(SheetView, PanClamps)
{
    // A 300 x 200 pixel sheet in a 640 x 480 view at zoom 100 stays inside
    // it, 4 pixels from the left; a 2970 pixel sheet shows at most 4 pixels
    // of margin and no gap at the right.
    // (sheet width, requested dx, applied dx)
    const struct {
        int width, dx, applied;
    } cases[] = {
        {30000, -100000, 400},
        {30000, 1000000, 63200 - 30000},
        {30000, 5000, 5000},
        {297000, 50000, 400},
        {297000, -1000000, 63200 - 297000},
        {297000, -5000, -5000},
    };
    for (const auto& c : cases) {
        auto s = ViewSheet(100, {0, 0, c.width, 20000});
        const CPoint applied = s->Pan(c.dx, 0);
        EXPECT_EQ(applied.x, c.applied) << c.width << " " << c.dx;
        EXPECT_EQ(s->origin.x, c.applied);
    }

    auto s = ViewSheet(100, {0, 0, 30000, 20000});
    EXPECT_EQ(s->Pan(-100000, 0, true), (CPoint {-100000, 0}));

    // Nothing asked and nothing zoomed since the last draw: nothing moves,
    // although the clamp would.
    s->zoomAtLastDraw = 100;
    EXPECT_EQ(s->Pan(0, 0), (CPoint {0, 0}));
    EXPECT_EQ(s->origin.x, -100000);
    s->zoomAtLastDraw = 0;
    EXPECT_EQ(s->Pan(0, 0), (CPoint {100400, 400}));
}

TEST(SheetView, PanMovesEveryPoint)
{
    auto s = ViewSheet(100);
    s->AddFrame(0, 0, 1000, 1000);
    s->ReadyPlacement();
    s->placement[0] = CETREC::Make(10, 20, 1, 0);
    s->placement[1] = CETREC::Make(30, 40, 1, 1);
    s->placementCount = 2;
    s->texts.Add(std::make_unique<CText>("a", CRect {1, 2, 3, 4}, CText::kDefaultAttributes));
    s->editText = std::make_unique<CText>("b", CRect {5, 6, 7, 8}, CText::kDefaultAttributes);
    auto pict = std::make_unique<CPict>();
    pict->placementRect = {100, 200, 300, 400};
    s->pictures->pictures.push_back(std::move(pict));
    s->cursor = s->prevCursor = s->rawPoint = s->textPoint = s->relPoint = {1, 1};
    s->zoomWindowStart = s->rubberAnchor = {2, 2};

    ASSERT_EQ(s->Pan(1000, -500, true), (CPoint {1000, -500}));
    EXPECT_EQ(s->records[2], CETREC::Make(2000, -500, 1, 1, 1));
    EXPECT_EQ(s->placement[1], CETREC::Make(1030, -460, 1, 1));
    EXPECT_EQ(s->placement[2], CETREC {});
    EXPECT_EQ(s->texts.At(0)->box, (CRect {1001, -498, 1003, -496}));
    EXPECT_EQ(s->editText->box, (CRect {1005, -494, 1007, -492}));
    EXPECT_EQ(s->pictures->At(0).placementRect, (CRect {1100, -300, 1300, -100}));
    for (const CPoint& p : {s->cursor, s->prevCursor, s->textPoint, s->relPoint})
        EXPECT_EQ(p, (CPoint {1001, -499}));
    for (const CPoint& p : {s->zoomWindowStart, s->rubberAnchor})
        EXPECT_EQ(p, (CPoint {1002, -498}));
    EXPECT_EQ(s->zoomWindowRect, (CRect {1000, -500, 1100, -400}));
    EXPECT_EQ(s->rubberRect, (CRect {1000, -500, 1100, -400}));
    EXPECT_EQ(s->origin, (CPoint {1000, -500}));
    // The pointer is where it was on the screen.
    EXPECT_EQ(s->rawPoint, (CPoint {1, 1}));
}

TEST(SheetView, PanThatWouldOverflowChangesNothing)
{
    // A record, a text, a picture near the edge of the range in turn.
    for (int which = 0; which < 3; ++which) {
        auto s = ViewSheet(100);
        s->AddFrame(0, 0, 1000, 1000);
        s->texts.Add(std::make_unique<CText>("a", CRect {0, 0, 10, 10}, CText::kDefaultAttributes));
        auto pict = std::make_unique<CPict>();
        pict->placementRect = {0, 0, 10, 10};
        s->pictures->pictures.push_back(std::move(pict));
        if (which == 0)
            s->records[2].x = INT32_MAX - 10;
        if (which == 1)
            s->texts.At(0)->box.right = INT32_MAX - 10;
        if (which == 2)
            s->pictures->At(0).placementRect.right = INT32_MAX - 10;

        EXPECT_EQ(s->Pan(100, 0, true), (CPoint {0, 0})) << which;
        EXPECT_EQ(s->records[1].x, 0);
        EXPECT_EQ(s->texts.At(0)->box.left, 0);
        EXPECT_EQ(s->pictures->At(0).placementRect.left, 0);
        EXPECT_EQ(s->origin, (CPoint {0, 0}));
    }
}

TEST(SheetView, CentreOnAndResetPan)
{
    auto s = ViewSheet(100, {0, 0, 640000, 480000});
    s->fitMode = 1;
    EXPECT_EQ(s->CentreOn(300000, 200000), (CPoint {32000 - 300000, 24000 - 200000}));
    EXPECT_EQ(s->fitMode, 0);

    // Back to the true origin, which the clamp keeps 4 pixels in.
    auto r = ViewSheet(512);
    r->Pan(5000, 7000, true);
    r->fitMode = 1;
    r->ResetPan();
    EXPECT_EQ(r->origin, (CPoint {2048, 2048}));
    EXPECT_EQ(r->fitMode, 0);
}

TEST(SheetView, ZoomWindow)
{
    // (rectangle, zoom afterwards, pan) in a 640 x 480 view at zoom 100
    const struct {
        CRect rect;
        int zoom;
        CPoint pan;
    } cases[] = {
        // 320 x 160 pixels: ratios 2 and 3, the smaller one counts.
        {{10000, 20000, 42000, 36000}, 50, {-10000, -16000}},
        {{42000, 36000, 10000, 20000}, 50, {-10000, -16000}},
        // Wider than the view: zoomed out until it fits.
        {{100000, 100000, 228000, 148000}, 200, {64000 - 164000, 48000 - 124000}},
        // ... but never further than the largest zoom; the top kept 4 pixels in.
        {{0, 0, 100000000, 100}, 10000, {3200000 - 50000000, 40000}},
    };
    for (const auto& c : cases) {
        auto s = ViewSheet(100, {0, 0, 100000000, 100000000});
        s->zoomWindowRect = c.rect;
        s->zoomWindowActive = 1;
        const CPoint pan = s->ZoomWindow();
        EXPECT_EQ(s->zoom, c.zoom) << c.rect.right;
        EXPECT_EQ(pan, c.pan) << c.rect.right;
        EXPECT_EQ(s->zoomWindowActive, 0);
    }

    // No width or no height: nothing changes.
    for (const CRect& rect : {CRect {1000, 0, 1050, 9000}, CRect {0, 1000, 9000, 1099}}) {
        auto s = ViewSheet(100);
        s->zoomWindowRect = rect;
        EXPECT_EQ(s->ZoomWindow(), (CPoint {0, 0}));
        EXPECT_EQ(s->zoom, 100);
    }
}

TEST(SheetView, RecomputeExtentFromRecordsAndPictures)
{
    auto s = ViewSheet(100);
    s->Append(CETREC::Make(5000, 7000, 1, 0));
    s->Append(CETREC::Make(25000, 10000, 1, 1));
    s->texts.Add(
        std::make_unique<CText>("far", CRect {-90000, -90000, 1, 1}, CText::kDefaultAttributes));
    auto pict = std::make_unique<CPict>();
    pict->placementRect = {1000, 8000, 2000, 30000};
    s->pictures->pictures.push_back(std::move(pict));
    s->RecomputeExtent();
    EXPECT_EQ(s->sheetExtent, (CRect {0, 0, 24000, 23000}));
    EXPECT_EQ(s->origin, (CPoint {1000, 7000}));
}

TEST(SheetView, ScrollBars)
{
    // The whole sheet fits: no bars.
    auto fits = ViewSheet(512);
    EXPECT_EQ(fits->ScrollBars().horizontal, CSheet::CScrollBar {});
    EXPECT_EQ(fits->ScrollBars().vertical, CSheet::CScrollBar {});

    auto s = ViewSheet(100);
    s->origin = {-1000, -2000};
    const auto bars = s->ScrollBars();
    // Horizontal: range |297000 - 632 * 100|, a quarter page (297000 / 64000).
    EXPECT_EQ(
        bars.horizontal, (CSheet::CScrollBar {true, 233800 + 58450, 58450, 1000, 23380, 2338}));
    // Vertical: 4 pixels of margin, the page by the exact ratio 4.375.
    EXPECT_EQ(bars.vertical, (CSheet::CScrollBar {true, 162400 + 37120, 37120, 2000, 16240, 1624}));

    // Only the width is too large.
    auto wide = ViewSheet(100, {0, 0, 100000, 10000});
    EXPECT_TRUE(wide->ScrollBars().horizontal.shown);
    EXPECT_FALSE(wide->ScrollBars().vertical.shown);

    // A view without size divides by nothing.
    auto none = ViewSheet(100);
    none->clientRect = {};
    EXPECT_TRUE(none->ScrollBars().horizontal.shown);
}
