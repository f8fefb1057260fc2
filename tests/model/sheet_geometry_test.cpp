#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "model/sheet.h"
#include "model/tool_mode.h"
#include "sheet_records.h"
#include "support/scripted_ui.h"

TEST(HitFigure, VerticesLastPointsAndSegments)
{
    // An L-shaped line, then a steep segment far to the right; 100 um per pixel.
    auto s = SheetWith(
        Figure({{0, 0}, {10000, 0}, {10000, 10000}}) + Figure({{50000, 0}, {50800, 80000}}));
    s->zoom = 100;
    // (click, record hit, hit code)
    const struct {
        CPoint click;
        int record;
        int code;
    } cases[] = {
        {{10000, 0}, 2, CSheet::kHitVertex},
        {{9950, 40}, 2, CSheet::kHitVertex}, // rounded to the nearest pixel
        {{10000, 10000}, 3, CSheet::kHitLastPoint},
        {{0, 0}, 1, CSheet::kHitVertex},
        {{50800, 80000}, 5, CSheet::kHitLastPoint}, // the last record in use
        {{5000, 100}, 2, CSheet::kHitSegment},
        {{10100, 5000}, 3, CSheet::kHitSegment},
        {{5000, 2000}, 0, 0},
        // On the line through the steep segment, 200 pixels past its end.
        {{51000, 100000}, 0, 0},
    };
    for (const auto& c : cases) {
        s->currentRecord = 99;
        EXPECT_EQ(s->HitFigure(c.click.x, c.click.y), c.record) << c.click;
        EXPECT_EQ(s->hitCode, c.code) << c.click;
        if (c.record != 0) {
            EXPECT_EQ(s->currentRecord, c.record) << c.click;
        }
    }
}

TEST(HitFigure, BoxHoldsItsLeftAndTopEdgesOnly)
{
    // A vertical segment ending at pixel (100, 200).
    auto s = SheetWith(Figure({{10000, 10000}, {10000, 20000}}));
    s->zoom = 100;
    // (click, hit): the box is the clicked pixel -4 ... +4.
    const struct {
        CPoint click;
        int record;
    } cases[] = {
        {{10400, 20000}, 2}, // the point on the box's left edge
        {{9600, 20000}, 0}, // on its right edge
        {{10000, 20400}, 2}, // on its top edge
        {{10000, 15000}, 2}, // the segment runs through the box
        {{10400, 15000}, 0}, // the segment on the box's left edge
    };
    for (const auto& c : cases)
        EXPECT_EQ(s->HitFigure(c.click.x, c.click.y), c.record) << c.click;
}

TEST(HitFigure, JunctionsAndMovesAreNotLines)
{
    auto s = SheetWith({CETREC::Junction(0, 0, 1), CETREC::Make(5000, 0, 1, 0)});
    s->zoom = 100;
    EXPECT_EQ(s->HitFigure(0, 0), 0);
    EXPECT_EQ(s->HitFigure(5000, 0), 0);
}

namespace {

// The hit rule worked out in pixels, record by record: the record's point,
// then the one before it, then the segment between them.
struct CHit {
    int record = 0;
    int code = 0;
    bool operator==(const CHit&) const = default;
};

bool CrossesByRule(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t left, int64_t top,
    int64_t right, int64_t bottom)
{
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (right < x1 || x2 < left || std::max(y1, y2) < top || bottom < std::min(y1, y2))
        return false;
    if (x1 == x2)
        return left < x1 && x1 < right && std::min(y1, y2) < top && std::max(y1, y2) > bottom;
    const double m = double(y1 - y2) / double(x1 - x2);
    const double o = double(y1) - double(x1) * m;
    const auto inside = [](double v, int64_t low, int64_t high) { return low < v && v < high; };
    return inside(m * double(left) + o, top, bottom) || inside(m * double(right) + o, top, bottom)
        || (m != 0
            && (inside((double(top) - o) / m, left, right)
                || inside((double(bottom) - o) / m, left, right)));
}

CHit HitByRule(const CSheet& s, int x, int y)
{
    const int64_t z = s.zoom;
    const int64_t px = (x + z / 2) / z;
    const int64_t py = (y + z / 2) / z;
    const auto inBox = [&](const CETREC& r) {
        const int64_t rx = r.x / z;
        const int64_t ry = r.y / z;
        return px - 4 <= rx && rx < px + 4 && py - 4 <= ry && ry < py + 4;
    };
    for (int d = s.recordCount - 1; d >= 1; --d) {
        const CETREC& r = s.records[d];
        const CETREC& p = s.records[d - 1];
        if (r.IsJunction() || r.Pen() == 0)
            continue;
        if (inBox(r)) {
            const bool ends = d + 1 >= s.recordCount || s.records[d + 1].StartsFigure();
            return {d, ends ? CSheet::kHitLastPoint : CSheet::kHitVertex};
        }
        if (inBox(p))
            return {d - 1, CSheet::kHitVertex};
        if (CrossesByRule(p.x / z, p.y / z, r.x / z, r.y / z, px - 4, py - 4, px + 4, py + 4))
            return {d, CSheet::kHitSegment};
    }
    return {};
}

} // namespace

TEST(HitFigure, AgreesWithTheRuleRecordByRecord)
{
    // Points a few pixels round the click, now and then far away or at the
    // ends of the 32-bit range, so that groups of records are passed over
    // whole, partly or not at all.
    std::mt19937 random(77);
    const int zooms[] = {1, 3, 100, 512, 10000};
    for (int round = 0; round < 20000; ++round) {
        const int zoom = zooms[random() % 5];
        // Now and then the click is at an end of the range, where the box
        // reaches past it.
        const int end = (INT32_MAX - 3) / zoom;
        const int clickX = round % 8 == 0 ? end
            : round % 8 == 1              ? -end
                                          : static_cast<int>(random() % 2001) - 1000;
        const int clickY = round % 8 == 2 ? -end : static_cast<int>(random() % 2001) - 1000;
        const auto near = [&](int click) {
            switch (random() % 12) {
            case 0:
                return INT32_MIN;
            case 1:
                return INT32_MAX;
            case 2:
                return static_cast<int>(std::clamp<int64_t>(
                    int64_t {click} + static_cast<int>(random() % 200001) - 100000, INT32_MIN,
                    INT32_MAX));
            default:
                return static_cast<int>(std::clamp<int64_t>(
                    int64_t {click} + (static_cast<int>(random() % 25) - 12) * int64_t {zoom},
                    INT32_MIN, INT32_MAX));
            }
        };
        std::vector<CETREC> records;
        const int n = 1 + static_cast<int>(random() % 30);
        for (int i = 0; i < n; ++i) {
            const int kind = static_cast<int>(random() % 8);
            const int x = near(clickX * zoom);
            const int y = near(clickY * zoom);
            records.push_back(
                kind == 0 ? CETREC::Junction(x, y, 1) : CETREC::Make(x, y, 1, kind < 3 ? 0 : kind));
        }
        auto s = SheetWith(records);
        s->zoom = zoom;
        const int x = clickX * zoom + (static_cast<int>(random() % 7) - 3);
        const int y = clickY * zoom + (static_cast<int>(random() % 7) - 3);
        const CHit expected = HitByRule(*s, x, y);
        const int record = s->HitFigure(x, y);
        ASSERT_EQ((CHit {record, s->hitCode}), expected) << "round " << round;
    }
}

TEST(FindJunction, HighestWithinFourPixels)
{
    // Junctions at pixels 0 and 3; a line point at pixel 1.
    auto s = SheetWith(
        {CETREC::Junction(0, 0, 1), CETREC::Junction(300, 0, 1), CETREC::Make(100, 0, 1, 0)});
    s->zoom = 100;
    // (click x, junction found)
    const std::pair<int, int> cases[] = {{0, 2}, {-400, 1}, {700, 2}, {800, 0}, {-900, 0}};
    for (const auto& [x, found] : cases)
        EXPECT_EQ(s->FindJunction(x, 0), found) << x;
}

TEST(Records, LayerPenAndNextVisible)
{
    auto s = SheetWith({CETREC::Make(0, 0, 3, 0), CETREC::Make(1, 0, 2, 5),
        CETREC::Junction(2, 0, 3), CETREC::Make(3, 0, 3, 0)});
    EXPECT_EQ(s->LayerOf(2), 2);
    EXPECT_EQ(s->PenOf(2), 5);
    EXPECT_EQ(s->PenOf(3), -1);
    EXPECT_EQ(s->LayerOf(0), -1);
    EXPECT_EQ(s->LayerOf(5), -1);

    s->layers.SetVisible(2, 0);
    s->currentRecord = 1;
    EXPECT_EQ(s->NextVisible(true), 3);
    EXPECT_EQ(s->NextVisible(true), 4);
    EXPECT_EQ(s->NextVisible(true), 0);
    EXPECT_EQ(s->currentRecord, 4);
    EXPECT_EQ(s->NextVisible(false), 3);
    EXPECT_EQ(s->NextVisible(false), 1);
    EXPECT_EQ(s->NextVisible(false), 0);
    EXPECT_EQ(s->currentRecord, 1);
}

TEST(Records, DeleteMovesFlagsAndZeroesTheVacatedSlot)
{
    auto s = SheetWith(Figure({{0, 0}, {10, 0}, {20, 0}}) + Figure({{5, 5}, {6, 6}}));
    s->selectionFlags[3] = 1;
    s->selectionFlags[5] = 1;
    s->selectedCount = 2;
    s->currentRecord = 5;

    s->DeleteRecord(3); // a selected record
    EXPECT_EQ(PointsOf(*s), (std::vector<CPoint> {{0, 0}, {10, 0}, {5, 5}, {6, 6}}));
    EXPECT_EQ(SelectedOf(*s), (std::vector<int> {4}));
    EXPECT_EQ(s->selectedCount, 1);
    EXPECT_EQ(s->records[5], CETREC {});
    EXPECT_EQ(s->selectionFlags[5], 0);
    EXPECT_EQ(s->currentRecord, 4); // it was the last: it stays the last

    s->currentRecord = 1;
    s->DeleteRecord(s->currentRecord);
    EXPECT_EQ(s->recordCount, 4);
    EXPECT_EQ(s->currentRecord, 1);
    EXPECT_EQ(s->records[1].x, 10);

    // A record appended afterwards is new, not the stale copy of a deleted one.
    s->cursor = {77, 77};
    s->ToggleJunction();
    EXPECT_EQ(s->records[4], CETREC::Junction(77, 77, 1));
    EXPECT_EQ(s->selectionFlags[4], 0);
}

TEST(Records, DrawingALine)
{
    auto s = SheetWith({});
    s->activeLayer = 3;
    s->activePen = 2;
    s->prevCursor = {0, 0};
    s->cursor = {1000, 0};
    s->StartLine(s->prevCursor);
    EXPECT_EQ(RecordsOf(*s),
        (std::vector<CETREC> {CETREC::Make(0, 0, 3, 0), CETREC::Make(1000, 0, 3, 2)}));
    EXPECT_EQ(s->currentRecord, 2);

    s->AddVertex({1000, 1000});
    EXPECT_EQ(s->currentRecord, 3);
    EXPECT_EQ(s->records[3], CETREC::Make(1000, 1000, 3, 2));

    // A record inserted in the middle moves the rest up, selection included.
    s->selectionFlags[3] = 1;
    s->selectedCount = 1;
    s->currentRecord = 2;
    s->InsertAtCurrent();
    s->records[2] = CETREC::Make(500, 0, 3, 2);
    EXPECT_EQ(PointsOf(*s), (std::vector<CPoint> {{0, 0}, {500, 0}, {1000, 0}, {1000, 1000}}));
    EXPECT_EQ(SelectedOf(*s), (std::vector<int> {4}));
    EXPECT_EQ(s->selectedCount, 1);
}

TEST(Records, LayerAndPenChangesKeepTheOtherBits)
{
    auto s = SheetWith(
        Figure({{0, 0}, {1, 0}, {2, 0}}, 1, 3) + std::vector {CETREC::Junction(5, 5, 1)});
    s->SetFigureLayer(2, 9);
    EXPECT_EQ(s->LayerOf(1), 9);
    EXPECT_EQ(s->LayerOf(3), 9);
    EXPECT_EQ(s->PenOf(3), 3);
    EXPECT_EQ(s->LayerOf(4), 1);
    s->SetRecordLayer(4, 12);
    EXPECT_TRUE(s->records[4].IsJunction());
    EXPECT_EQ(s->LayerOf(4), 12);
    s->SetRecordPen(2, 6);
    EXPECT_EQ(s->records[2], CETREC::Make(1, 0, 9, 6));
}

TEST(Records, ToggleJunctionAndItsSnapshots)
{
    auto s = SheetWith(Figure({{0, 0}, {5000, 0}}));
    s->zoom = 100;
    s->activeLayer = 4;
    s->cursor = {2000, 2000};
    EXPECT_EQ(s->ToggleJunction(), 1);
    EXPECT_EQ(s->records[3], CETREC::Junction(2000, 2000, 4));
    EXPECT_EQ(s->currentRecord, 3);
    EXPECT_EQ(s->undoPosition, 0);

    s->cursor = {2300, 1800}; // within four pixels
    EXPECT_EQ(s->ToggleJunction(), 0);
    EXPECT_EQ(s->recordCount, 3);
    EXPECT_EQ(s->undoPosition, 1);
}

TEST(Records, FillFigureClosesAndFills)
{
    // (points, records after filling, current record afterwards)
    const struct {
        std::vector<CPoint> points;
        int filled;
        int current;
    } cases[] = {
        {{{0, 0}, {100, 0}, {100, 100}}, 4, 4}, // open: closed with a copy
        {{{0, 0}, {100, 0}, {100, 100}, {0, 0}}, 4, 2}, // closed already
    };
    for (const auto& c : cases) {
        auto s = SheetWith(Figure(c.points, 2, 1, 7) + Figure({{9, 9}, {8, 8}}));
        s->activeLayer = 5;
        s->fillPattern = 4;
        s->currentRecord = 2;
        EXPECT_EQ(s->FillFigure(), 1);
        std::vector<CETREC> expected;
        for (size_t i = 0; i < c.points.size(); ++i)
            expected.push_back(
                CETREC::Make(c.points[i].x, c.points[i].y, 5, i == 0 ? 0 : 4, 7, true));
        if (static_cast<int>(c.points.size()) < c.filled)
            expected.push_back(CETREC::Make(100, 100, 5, 4, 7, true));
        expected.push_back(CETREC::Make(9, 9, 1, 0));
        expected.push_back(CETREC::Make(8, 8, 1, 1));
        EXPECT_EQ(RecordsOf(*s), expected);
        EXPECT_EQ(s->currentRecord, c.current);
    }
    auto single = SheetWith({CETREC::Make(1, 1, 1, 0)});
    EXPECT_EQ(single->FillFigure(), 0);
    EXPECT_FALSE(single->records[1].IsFilled());
}

namespace {

// The tidying rule, written the slow way: delete record by record.
void TidySlowly(std::vector<CETREC>& r)
{
    auto line = [](const CETREC& e) { return !e.IsJunction() && e.Pen() != 0; };
    auto direction = [](const CETREC& a, const CETREC& b) {
        const int64_t dx = int64_t {b.x} - a.x, dy = int64_t {b.y} - a.y;
        if (dx == 0 && dy == 0)
            return 0;
        if (dx == 0)
            return 1;
        if (dy == 0)
            return 3;
        return (dx > 0) == (dy > 0) ? 4 : 2;
    };
    if (r.size() > 1 && line(r[1]) && r[1].Layer() != r[0].Layer())
        r[1].SetPen(0);
    size_t i = 1;
    while (i < r.size()) {
        size_t s = i;
        while (s > 0 && r[s].Pen() != 0)
            --s;
        size_t e = i;
        while (e + 1 < r.size() && line(r[e + 1]))
            ++e;
        int previous = 0;
        size_t k = std::max<size_t>(s, 1);
        while (k < e) {
            if (!line(r[k])) {
                ++k;
                continue;
            }
            const int d = direction(r[k], r[k + 1]);
            const bool drop = d == 0 || (d == previous && (d == 1 || d == 3));
            previous = d;
            if (drop) {
                r.erase(r.begin() + static_cast<long>(k));
                --e;
                continue;
            }
            ++k;
        }
        i = e + 1;
    }
}

} // namespace

TEST(Normalize, AgreesWithDeletingRecordByRecord)
{
    // Lists long enough for several groups of four; in every other round
    // some records are selected (marked by block 1 to follow them), and
    // their flags must move with them.
    std::mt19937 random(1234);
    for (int round = 0; round < 4000; ++round) {
        std::vector<CETREC> records {CETREC {}};
        const int n = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < n; ++i) {
            const int kind = static_cast<int>(random() % 10);
            const int x = static_cast<int>(random() % 3) * 10;
            const int y = static_cast<int>(random() % 3) * 10;
            const int layer = 1 + static_cast<int>(random() % 4 == 0);
            const int block = round % 2 == 1 && random() % 3 == 0 ? 1 : 0;
            if (kind == 0)
                records.push_back(CETREC::Junction(x, y, layer));
            else
                records.push_back(CETREC::Make(x, y, layer, kind < 3 ? 0 : 1 + kind % 3, block));
        }
        auto s = SheetWith({records.begin() + 1, records.end()});
        for (int i = 1; i < s->recordCount; ++i) {
            s->selectionFlags[i] = static_cast<uint8_t>(s->records[i].Block());
            s->selectedCount += s->selectionFlags[i];
        }
        s->Normalize(0, 0);
        TidySlowly(records);
        ASSERT_EQ(RecordsOf(*s), std::vector<CETREC>(records.begin() + 1, records.end())) << round;
        EXPECT_EQ(s->records[s->recordCount], CETREC {}) << round;
        int selected = 0;
        for (int i = 1; i < s->recordCount; ++i) {
            ASSERT_EQ(s->selectionFlags[i], s->records[i].Block()) << round << " " << i;
            selected += s->selectionFlags[i];
        }
        EXPECT_EQ(s->selectedCount, selected) << round;
    }
}

TEST(Normalize, ALineThatFollowsAnotherLayerStartsWithAMove)
{
    auto s = SheetWith({CETREC::Make(0, 0, 1, 0), CETREC::Make(10, 0, 1, 1),
        CETREC::Make(20, 5, 2, 1), CETREC::Make(30, 9, 2, 1)});
    s->Normalize(3, 0);
    EXPECT_EQ(s->PenOf(3), 0);
    EXPECT_EQ(s->PenOf(4), 1);
}

TEST(Normalize, OneFigureAlone)
{
    auto s = SheetWith(
        Figure({{0, 0}, {10, 0}, {20, 0}, {30, 0}}) + Figure({{0, 5}, {10, 5}, {20, 5}, {30, 5}}));
    s->NormalizeFigure(6);
    EXPECT_EQ(PointsOf(*s),
        (std::vector<CPoint> {{0, 0}, {10, 0}, {20, 0}, {30, 0}, {0, 5}, {10, 5}, {30, 5}}));
}

TEST(Extents, RecordsAndPicturesButNotTexts)
{
    auto s = SheetWith(Figure({{1000, 2000}, {5000, 3000}}));
    auto p = std::make_unique<CPict>();
    p->placementRect = {-500, 2500, 4000, 9000};
    s->pictures->pictures.push_back(std::move(p));
    s->texts.Add(std::make_unique<CText>(
        "x", CRect {-90000, -90000, 90000, 90000}, CText::kDefaultAttributes));
    EXPECT_EQ(s->Extents(), (CPoint {-500, 2000}));
    EXPECT_EQ(s->sheetExtent, (CRect {0, 0, 5500, 7000}));

    auto empty = SheetWith({});
    EXPECT_EQ(empty->Extents(), (CPoint {0, 0}));
    EXPECT_EQ(empty->sheetExtent, (CRect {}));
}

TEST(Buffer, RectangleAndEllipse)
{
    auto s = SheetWith({});
    s->activeLayer = 2;
    s->activePen = 3;
    EXPECT_TRUE(s->placement.empty());
    s->BuildRectangle(0, 0, 100, 50);
    ASSERT_EQ(s->placementCount, 5);
    // Once used, the buffer has the array's length and follows it.
    EXPECT_EQ(s->placement.size(), s->records.size());
    s->EnsureSpare(s->Length());
    EXPECT_EQ(s->placement.size(), s->records.size());
    EXPECT_EQ(s->placement[0], CETREC::Make(0, 0, 2, 0));
    EXPECT_EQ(s->placement[2], CETREC::Make(100, 50, 2, 3));
    EXPECT_EQ(s->placement[4], CETREC::Make(0, 0, 2, 3));
    EXPECT_EQ(s->undoPosition, -1);

    // Too small: refused, and nothing is left to follow the pointer.
    EXPECT_EQ(s->BuildEllipse(0, 0, 31, 100, false), 0);
    EXPECT_EQ(s->placementCount, 0);
    EXPECT_EQ(s->placement[0], CETREC {});
    EXPECT_EQ(s->undoPosition, -1);

    EXPECT_EQ(s->BuildEllipse(0, 0, 32, 32, true), 1);
    EXPECT_EQ(s->placementCount, 6); // a move and a point every 90 degrees
    EXPECT_EQ(s->placement[0], CETREC::Make(16, 32, 2, 0, 0, true));
    EXPECT_EQ(s->undoPosition, -1); // placing it is the undo step
}

TEST(Buffer, CopyCentreAndMove)
{
    auto s = SheetWith(Figure({{0, 0}, {101, 0}, {101, 51}}, 3, 2, 4));
    s->selectionFlags[1] = s->selectionFlags[3] = 1;
    s->selectedCount = 2;
    s->CopySelection();
    // The segment cut from its figure is led by a move to where it starts.
    EXPECT_EQ(s->placementCount, 3);
    EXPECT_EQ(s->placement[1], CETREC::Make(101, 0, 3, 0, 4));
    EXPECT_EQ(s->placement[2], CETREC::Make(101, 51, 3, 2, 4));

    CScriptedUi ui;
    s->cursor = {1000, 1000};
    EXPECT_EQ(s->CentreBufferOnCursor(ui), 1);
    // The box is 101 by 51: its integer centre (50, 25) goes onto the cursor.
    EXPECT_EQ(s->placement[0], CETREC::Make(950, 975, 3, 0, 4));

    EXPECT_EQ(s->MoveBuffer(0, 0), 0);
    EXPECT_EQ(s->MoveBuffer(-950, 25), 1);
    EXPECT_EQ(s->placement[2].x, 101);
    EXPECT_EQ(s->placement[2].y, 1051);

    // A move past the 32-bit range moves nothing, silently: it comes with
    // every pointer move.
    EXPECT_EQ(s->MoveBuffer(INT32_MAX, 0), 0);
    EXPECT_EQ(s->placement[2].x, 101);
    EXPECT_TRUE(ui.messages.empty());
    s->cursor = {INT32_MAX, 0};
    EXPECT_EQ(s->CentreBufferOnCursor(ui), 0);
    EXPECT_EQ(ui.messages, std::vector<std::string> {std::string(CSheet::kMsgOutOfRange)});
}

TEST(Buffer, CommitPlacesOneNewBlock)
{
    auto s = SheetWith(Figure({{0, 0}, {10, 0}}, 1, 1, 6));
    s->layers.SetVisible(9, 0);
    s->placementCount = 2;
    s->ReadyPlacement();
    s->placement[0] = CETREC::Make(0, 0, 9, 0, 0, true);
    s->placement[1] = CETREC::Make(50, 0, 9, 2, 3, true);
    s->selectionFlags[3] = 1; // left behind by some earlier edit
    s->selectedCount = 1;
    CScriptedUi ui;

    EXPECT_EQ(s->CommitBuffer(ui), 1);
    EXPECT_EQ(s->records[3], CETREC::Make(0, 0, 9, 0, 7, true));
    EXPECT_EQ(s->records[4], CETREC::Make(50, 0, 9, 2, 7, true));
    EXPECT_EQ(s->selectionFlags[3], 0);
    EXPECT_EQ(s->selectedCount, 0);
    EXPECT_EQ(s->currentRecord, 4);
    EXPECT_EQ(s->layers.IsVisible(9), 1);
    EXPECT_EQ(s->undoPosition, 0);
    EXPECT_EQ(s->placementCount, 2); // every press places another copy

    EXPECT_EQ(s->CommitBuffer(ui), 1);
    EXPECT_EQ(s->records[6].Block(), 8);
}

TEST(Buffer, CommitWithTheFilledRectangleToolFills)
{
    auto s = SheetWith({});
    s->toolMode = ToolMode::FilledRectangle;
    s->fillPattern = 3;
    s->BuildRectangle(0, 0, 100, 100);
    CScriptedUi ui;
    s->CommitBuffer(ui);
    EXPECT_EQ(s->recordCount, 6);
    EXPECT_EQ(s->records[1], CETREC::Make(0, 0, 1, 0, 1, true));
    EXPECT_EQ(s->records[5], CETREC::Make(0, 0, 1, 3, 1, true));
}

TEST(Buffer, BlockNumbersNeverReachTheFilledFlag)
{
    auto s = SheetWith({CETREC::Make(0, 0, 1, 0, 32767)});
    EXPECT_EQ(s->NewBlockNumber(), 1);
    std::vector<CETREC> all;
    for (int b = 1; b <= 32767; ++b)
        all.push_back(CETREC::Make(b, 0, 1, 0, b == 5 ? 4 : b));
    s = SheetWith(all);
    EXPECT_EQ(s->NewBlockNumber(), 5);

    all[4].SetBlock(5);
    s = SheetWith(all);
    s->BuildRectangle(0, 0, 10, 10);
    CScriptedUi ui;
    EXPECT_EQ(s->CommitBuffer(ui), 0);
    EXPECT_EQ(s->recordCount, 32768);
    EXPECT_EQ(ui.messages, std::vector<std::string> {std::string(CSheet::kMsgNoBlockNumber)});
}

TEST(Buffer, CommitGrowsTheArrays)
{
    auto s = SheetWith({});
    s->recordCount = 1500;
    std::vector<CETREC> built;
    for (int i = 0; i < 900; ++i)
        built.push_back(CETREC::Make(i, i, 1, i == 0 ? 0 : 1));
    s->ReadyPlacement();
    std::copy(built.begin(), built.end(), s->placement.begin());
    s->placementCount = 900;
    CScriptedUi ui;
    EXPECT_EQ(s->CommitBuffer(ui), 1);
    EXPECT_EQ(s->recordCount, 2400);
    EXPECT_EQ(s->Length(), 3400);
    EXPECT_EQ(s->placement.size(), 3400u);
    EXPECT_EQ(s->selectionFlags.size(), 3400u);
    EXPECT_EQ(s->records[2399].x, 899);
}
