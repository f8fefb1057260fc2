#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "model/sheet.h"
#include "sheet_records.h"
#include "support/scripted_ui.h"

namespace {

// A line of three records (block 0), a block 5 of two figures, a junction.
std::unique_ptr<CSheet> Schematic()
{
    return SheetWith(Figure({{0, 0}, {10, 0}, {20, 0}}) + Figure({{0, 10}, {10, 10}}, 1, 1, 5)
        + Figure({{0, 20}, {10, 20}}, 1, 1, 5) + std::vector {CETREC::Junction(30, 30, 1)});
}

void Select(CSheet& s, const std::vector<int>& records)
{
    for (int i : records)
        s.SelectRecord(i);
}

CPict& AddPicture(CSheet& s, CRect placement)
{
    auto p = std::make_unique<CPict>();
    p->placementRect = placement;
    s.pictures->pictures.push_back(std::move(p));
    return *s.pictures->pictures.back();
}

CText& AddText(CSheet& s, CRect box, bool selected = false)
{
    const int i = s.texts.Add(std::make_unique<CText>("L1", box, CText::kDefaultAttributes));
    s.texts.SetSelected(i, selected);
    return *s.texts.At(i);
}

} // namespace

TEST(SelectAt, ByTheCriteria)
{
    // (criteria, records selected before, record clicked, records selected after)
    const struct {
        int32_t criteria;
        std::vector<int> before;
        int clicked;
        std::vector<int> after;
    } cases[] = {
        {CSheet::kSelectSegments, {}, 2, {2}},
        {CSheet::kSelectSegments, {2}, 2, {2}}, // a click leaves a selected record selected
        {CSheet::kSelectFigures, {}, 2, {1, 2, 3}},
        {CSheet::kSelectFigures, {1, 2, 3}, 3, {}},
        {CSheet::kSelectBlocks, {}, 4, {4, 5, 6, 7}},
        {CSheet::kSelectBlocks, {4, 5, 6, 7}, 6, {}},
        {CSheet::kSelectBlocks, {}, 2, {1, 2, 3}}, // block 0: by figure
        {CSheet::kSelectBlocks, {}, 8, {8}},
        {0x1000, {}, 2, {}},
    };
    for (const auto& c : cases) {
        auto s = Schematic();
        s->selectionCriteria = c.criteria;
        Select(*s, c.before);
        s->SelectAt(c.clicked);
        EXPECT_EQ(SelectedOf(*s), c.after) << std::hex << c.criteria << " " << c.clicked;
        EXPECT_EQ(s->selectedCount, static_cast<int>(c.after.size()));
    }
}

TEST(Selection, APendingMoveIsRecordedBeforeTheSelectionChanges)
{
    const std::function<void(CSheet&)> changes[] = {
        [](CSheet& s) { s.SelectAt(2); },
        [](CSheet& s) { s.SelectInWindow(); },
        [](CSheet& s) { s.SelectAll(); },
        [](CSheet& s) { s.InvertSelection(); },
        [](CSheet& s) { s.DeselectBlock(5); },
        [](CSheet& s) { s.DeselectFigure(1); },
    };
    for (const auto& change : changes) {
        auto s = Schematic();
        s->pendingChange = 1;
        change(*s);
        EXPECT_EQ(s->undoPosition, 0);
        EXPECT_EQ(s->pendingChange, 0);
    }
    auto s = Schematic();
    s->SelectAt(2);
    EXPECT_EQ(s->undoPosition, -1);
}

TEST(SelectInWindow, RecordsStrictlyInsideOnVisibleLayers)
{
    // (criteria, window, records selected)
    const struct {
        int32_t criteria;
        CRect window;
        std::vector<int> selected;
    } cases[] = {
        // The window's edges touch records 1 and 3 and the block's points.
        {CSheet::kSelectSegments, {0, -5, 20, 10}, {2}},
        {CSheet::kSelectSegments, {-1, -5, 21, 5}, {1, 2, 3}},
        {CSheet::kSelectFigures, {5, -5, 15, 5}, {1, 2, 3}},
        {CSheet::kSelectBlocks, {5, 15, 15, 25}, {4, 5, 6, 7}},
        {CSheet::kSelectBlocks, {25, 35, 35, 25}, {8}}, // corners in any order
        {CSheet::kSelectBlocks, {-5, -5, 35, 15}, {1, 2, 3, 4, 5, 6, 7}},
    };
    for (const auto& c : cases) {
        auto s = Schematic();
        s->selectionCriteria = c.criteria;
        s->rubberRect = c.window;
        s->SelectInWindow();
        EXPECT_EQ(SelectedOf(*s), c.selected) << std::hex << c.criteria;
        EXPECT_EQ(s->selectedCount, static_cast<int>(c.selected.size()));
    }

    auto s = Schematic();
    s->layers.SetVisible(1, 0);
    s->selectionCriteria = CSheet::kSelectSegments;
    s->rubberRect = {-100, -100, 100, 100};
    s->SelectInWindow();
    EXPECT_EQ(s->selectedCount, 0);
}

TEST(SelectInWindow, TogglesBlocksAndFiguresOnce)
{
    // A window over a selected block deselects it, whatever else it holds.
    auto s = Schematic();
    Select(*s, {4, 5, 6, 7});
    s->rubberRect = {-5, -5, 35, 35};
    s->SelectInWindow();
    EXPECT_EQ(SelectedOf(*s), (std::vector<int> {1, 2, 3, 8}));

    // A block in two runs is toggled once, not once per run.
    s = SheetWith(Figure({{0, 0}, {10, 0}}, 1, 1, 5) + Figure({{0, 5}, {10, 5}})
        + Figure({{0, 9}, {10, 9}}, 1, 1, 5));
    s->rubberRect = {-5, -5, 15, 15};
    s->SelectInWindow();
    EXPECT_EQ(SelectedOf(*s), (std::vector<int> {1, 2, 3, 4, 5, 6}));
}

TEST(SelectInWindow, TextsAndPictures)
{
    auto s = Schematic();
    s->selectionCriteria = CSheet::kSelectBlocks | CSheet::kSelectTexts | CSheet::kSelectPictures;
    AddText(*s, {100, 0, 200, 50}, true);
    AddText(*s, {300, 0, 400, 50}); // touches the window's right edge
    AddText(*s, {401, 0, 500, 50});
    AddPicture(*s, {150, 10, 250, 20});
    AddPicture(*s, {300, 0, 350, 50}); // touches it: not in
    s->rubberRect = {120, -10, 300, 100};
    s->SelectInWindow();
    EXPECT_FALSE(s->texts.IsSelected(0)); // toggled off
    EXPECT_TRUE(s->texts.IsSelected(1));
    EXPECT_FALSE(s->texts.IsSelected(2));
    EXPECT_TRUE(s->pictures->IsSelected(0));
    EXPECT_FALSE(s->pictures->IsSelected(1));
}

TEST(Selection, AllInvertAndBlocks)
{
    auto s = Schematic();
    AddText(*s, {0, 0, 10, 10});
    AddPicture(*s, {0, 0, 10, 10});
    s->SelectRecord(2);
    s->SelectAll();
    EXPECT_EQ(s->selectedCount, 8);
    EXPECT_EQ(s->selectionFlags[0], 0);
    EXPECT_TRUE(s->texts.IsSelected(0));
    EXPECT_TRUE(s->pictures->IsSelected(0));

    s->DeselectBlock(5);
    EXPECT_EQ(s->selectedCount, 4);
    s->InvertSelection();
    EXPECT_EQ(SelectedOf(*s), (std::vector<int> {4, 5, 6, 7}));
    EXPECT_EQ(s->selectedCount, 4);
    EXPECT_FALSE(s->texts.IsSelected(0));
    EXPECT_FALSE(s->pictures->IsSelected(0));
    s->SelectBlock(5);
    EXPECT_EQ(s->selectedCount, 4);
    s->DeselectFigure(5);
    EXPECT_EQ(SelectedOf(*s), (std::vector<int> {6, 7}));
    EXPECT_EQ(s->selectedCount, 2);
}

TEST(MoveSelection, MovesRecordsTextsAndPicturesWithoutASnapshot)
{
    auto s = Schematic();
    Select(*s, {1, 2, 3});
    AddText(*s, {0, 0, 10, 10}, true);
    AddText(*s, {0, 0, 10, 10});
    AddPicture(*s, {0, 0, 10, 10}).SetSelected(true);
    s->prevCursor = {1000, 1000};
    s->cursor = {1100, 950};
    CScriptedUi ui;
    EXPECT_EQ(s->MoveSelection(ui), 1);
    EXPECT_EQ(PointsOf(*s)[2], (CPoint {120, -50}));
    EXPECT_EQ(PointsOf(*s)[3], (CPoint {0, 10}));
    EXPECT_EQ(s->texts.At(0)->box, (CRect {100, -50, 110, -40}));
    EXPECT_EQ(s->texts.At(1)->box, (CRect {0, 0, 10, 10}));
    EXPECT_EQ(s->pictures->At(0).placementRect, (CRect {100, -50, 110, -40}));
    EXPECT_EQ(s->pendingChange, 1);
    EXPECT_EQ(s->undoPosition, -1);

    // One picture that would leave the range keeps everything in place.
    AddPicture(*s, {0, 0, INT32_MAX - 50, 10}).SetSelected(true);
    s->prevCursor = {0, 0};
    s->cursor = {100, 0};
    EXPECT_EQ(s->MoveSelection(ui), 0);
    EXPECT_EQ(PointsOf(*s)[2], (CPoint {120, -50}));
    EXPECT_EQ(s->texts.At(0)->box.left, 100);
    EXPECT_EQ(ui.messages, std::vector<std::string> {std::string(CSheet::kMsgOutOfRange)});
}

TEST(Mirror, AboutTheCursor)
{
    auto s = SheetWith(Figure({{5000, 30000}, {7000, 40000}}) + Figure({{1, 1}, {2, 2}}));
    Select(*s, {1, 2});
    s->cursor = {6000, 100000};
    CScriptedUi ui;
    EXPECT_EQ(s->MirrorX(ui), 1);
    EXPECT_EQ(PointsOf(*s), (std::vector<CPoint> {{5000, 170000}, {7000, 160000}, {1, 1}, {2, 2}}));
    EXPECT_EQ(s->MirrorY(ui), 1);
    EXPECT_EQ(PointsOf(*s), (std::vector<CPoint> {{7000, 170000}, {5000, 160000}, {1, 1}, {2, 2}}));
    EXPECT_EQ(s->undoPosition, 1);

    s->cursor = {INT32_MAX, 0};
    EXPECT_EQ(s->MirrorY(ui), 0);
    EXPECT_EQ(PointsOf(*s)[0], (CPoint {7000, 170000}));
    EXPECT_EQ(s->undoPosition, 1);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(Rotate, QuarterTurnsExactOthersRounded)
{
    // The point lies (1000, 1) from the cursor (100, 200).
    // (angle, point afterwards)
    const struct {
        int angle;
        CPoint turned;
    } cases[] = {
        {90, {101, -800}},
        {-90, {99, 1200}},
        {270, {99, 1200}},
        {-450, {99, 1200}},
        {180, {-900, 199}},
        {45, {808, -506}},
        {-315, {808, -506}},
        {1, {1100, 184}},
    };
    for (const auto& c : cases) {
        auto s = SheetWith(Figure({{1100, 201}, {1100, 201}}));
        s->SelectRecord(1);
        s->cursor = {100, 200};
        CScriptedUi ui;
        EXPECT_EQ(s->Rotate(c.angle, ui), 1) << c.angle;
        EXPECT_EQ(PointsOf(*s)[0], c.turned) << c.angle;
        EXPECT_EQ(PointsOf(*s)[1], (CPoint {1100, 201})) << c.angle;
        EXPECT_EQ(s->undoPosition, 0) << c.angle;
    }
}

TEST(Rotate, SnapshotOnlyWhenSomethingTurned)
{
    auto s = SheetWith(Figure({{1000, 0}, {2000, 0}}));
    Select(*s, {1, 2});
    CScriptedUi ui;
    EXPECT_EQ(s->Rotate(0, ui), 0);
    EXPECT_EQ(s->Rotate(360, ui), 0);
    EXPECT_EQ(s->undoPosition, -1);

    // Turning about another point puts the turned offsets about the cursor.
    s->cursor = {5, 5};
    EXPECT_EQ(s->RotateAbout(1000, 0, 90, ui), 1);
    EXPECT_EQ(PointsOf(*s), (std::vector<CPoint> {{5, 5}, {5, -995}}));
    EXPECT_EQ(s->undoPosition, 0);

    // Texts turn with the command's records, through the angle rule.
    AddText(*s, {0, 0, 1, 1}, true).SetAngle(360);
    AddText(*s, {0, 0, 1, 1});
    s->ClearSelection();
    EXPECT_EQ(s->Rotate(90, ui, true), 1);
    EXPECT_EQ(s->texts.At(0)->Angle(), 90);
    EXPECT_EQ(s->texts.At(1)->Angle(), 0);
    EXPECT_EQ(s->undoPosition, 1);

    s->cursor = {INT32_MAX, 0};
    s->SelectRecord(1);
    EXPECT_EQ(s->Rotate(180, ui), 0);
    EXPECT_EQ(ui.messages, std::vector<std::string> {std::string(CSheet::kMsgOutOfRange)});
}

TEST(Scale, TowardTheCursorTruncating)
{
    // (percent, points afterwards of (-1000, 1000) and (3000, 7) about (0, 0))
    const struct {
        double percent;
        std::vector<CPoint> points;
        int snapshots;
    } cases[] = {
        {100, {{-1000, 1000}, {3000, 7}}, 0},
        {50, {{-500, 500}, {1500, 3}}, 1},
        {33.3, {{-333, 333}, {999, 2}}, 1},
        {-200, {{2000, -2000}, {-6000, -14}}, 1},
        {NAN, {{-1000, 1000}, {3000, 7}}, 0},
        {1e12, {{-1000, 1000}, {3000, 7}}, 0},
    };
    for (const auto& c : cases) {
        auto s = SheetWith(Figure({{-1000, 1000}, {3000, 7}}));
        Select(*s, {1, 2});
        CScriptedUi ui;
        s->Scale(c.percent, ui);
        EXPECT_EQ(PointsOf(*s), c.points) << c.percent;
        EXPECT_EQ(s->undoPosition + 1, c.snapshots) << c.percent;
        EXPECT_EQ(ui.messages.size(), std::isnan(c.percent) || c.percent > 1e6 ? 1u : 0u);
    }
}

TEST(ChangeLayer, RefusedForSegmentsOnly)
{
    const std::string message = "De optie \"Selectie criteria\" moet op Lijnen of objecten\" staan "
                                "om deze bewerking mogelijk te maken";
    // (criteria, refused)
    for (const auto& [criteria, refused] :
        {std::pair {0x1001, true}, {0x1011, false}, {0x1009, false}, {0x1004, false}}) {
        auto s = Schematic();
        s->selectionCriteria = criteria;
        Select(*s, {1, 2});
        CScriptedUi ui;
        EXPECT_EQ(s->ChangeLayer(CSheet::kAll, 4, ui), refused ? 0 : 1);
        EXPECT_EQ(s->LayerOf(1), refused ? 1 : 4);
        EXPECT_EQ(s->undoPosition, refused ? -1 : 0);
        EXPECT_EQ(ui.messages, refused ? std::vector {message} : std::vector<std::string> {});
    }
}

TEST(ChangeLayer, FromAllOrOneLayer)
{
    auto s = SheetWith({CETREC::Make(0, 0, 0, 0), CETREC::Make(1, 0, 2, 1),
        CETREC::Make(2, 0, 3, 1), CETREC::Junction(3, 0, 2)});
    s->SelectAll();
    s->layers.SetVisible(7, 0);
    CScriptedUi ui;
    EXPECT_EQ(s->ChangeLayer(2, 7, ui), 1);
    EXPECT_EQ((std::vector {s->LayerOf(1), s->LayerOf(2), s->LayerOf(3), s->LayerOf(4)}),
        (std::vector {0, 7, 3, 7}));
    EXPECT_TRUE(s->records[4].IsJunction());
    EXPECT_EQ(s->layers.IsVisible(7), 1);
    EXPECT_EQ(s->ChangeLayer(CSheet::kAll, 9, ui), 1);
    EXPECT_EQ((std::vector {s->LayerOf(1), s->LayerOf(2), s->LayerOf(3), s->LayerOf(4)}),
        (std::vector {0, 9, 9, 9}));
    EXPECT_EQ(s->ChangeLayer(CSheet::kAll, 9, ui), 0); // nothing left to change
    EXPECT_EQ(s->undoPosition, 1); // and no snapshot for it
}

TEST(ChangePen, FromAllOrOnePen)
{
    auto s = SheetWith({CETREC::Make(0, 0, 1, 0), CETREC::Make(1, 0, 1, 2),
        CETREC::Make(2, 0, 1, 5), CETREC::Junction(3, 0, 1), CETREC::Make(4, 0, 1, 2)});
    Select(*s, {1, 2, 3, 4});
    EXPECT_EQ(s->ChangePen(2, 6), 1);
    EXPECT_EQ((std::vector {s->PenOf(1), s->PenOf(2), s->PenOf(3), s->PenOf(4), s->PenOf(5)}),
        (std::vector {0, 6, 5, -1, 2}));
    EXPECT_EQ(s->ChangePen(CSheet::kAll, 3), 1);
    EXPECT_EQ((std::vector {s->PenOf(1), s->PenOf(2), s->PenOf(3), s->PenOf(4), s->PenOf(5)}),
        (std::vector {0, 3, 3, -1, 2}));
    EXPECT_EQ(s->undoPosition, 1);
}

TEST(DeleteSelection, KeepsTheRestOfALineAsALine)
{
    // (selected records of a four-record line, points left, pens left)
    const struct {
        std::vector<int> selected;
        std::vector<CPoint> left;
        std::vector<int> pens;
    } cases[] = {
        {{1}, {{10, 0}, {10, 10}, {20, 10}}, {0, 1, 1}}, // the second becomes the start
        {{4}, {{0, 0}, {10, 0}, {10, 10}}, {0, 1, 1}},
        {{2}, {{10, 10}, {20, 10}}, {0, 1}},
        {{3}, {{0, 0}, {10, 0}}, {0, 1}},
        {{2, 3}, {}, {}},
    };
    for (const auto& c : cases) {
        auto s = SheetWith(Figure({{0, 0}, {10, 0}, {10, 10}, {20, 10}}));
        Select(*s, c.selected);
        EXPECT_EQ(s->DeleteSelection(), 1);
        EXPECT_EQ(PointsOf(*s), c.left);
        std::vector<int> pens;
        for (int i = 1; i < s->recordCount; ++i)
            pens.push_back(s->PenOf(i));
        EXPECT_EQ(pens, c.pens);
        EXPECT_EQ(s->records[s->recordCount], CETREC {});
    }

    // The middle of three: both halves are single records.
    auto s = SheetWith(Figure({{0, 0}, {10, 0}, {10, 10}}));
    s->SelectRecord(2);
    s->DeleteSelection();
    EXPECT_EQ(s->recordCount, 1);
}

TEST(DeleteSelection, TidiesWhatIsLeftBeforeItsSnapshot)
{
    auto s = SheetWith(Figure({{0, 0}, {10, 0}, {20, 0}, {30, 0}}) + Figure({{5, 5}, {9, 9}}));
    s->SelectFigure(5);
    EXPECT_EQ(s->DeleteSelection(), 1);
    EXPECT_EQ(PointsOf(*s), (std::vector<CPoint> {{0, 0}, {10, 0}, {30, 0}}));
    const CUndoRedo& snapshot = *s->undoList[s->undoPosition];
    EXPECT_EQ(snapshot.recordCount, s->recordCount);
    EXPECT_EQ(snapshot.arrayLength, s->Length());
    // Only the records in use are kept: the slots the deletion emptied are zero.
    EXPECT_EQ(
        snapshot.records, CRecordVector(s->records.begin(), s->records.begin() + s->recordCount));
}

TEST(DeleteSelection, JunctionsLayersTextsAndPictures)
{
    auto s
        = SheetWith({CETREC::Junction(5, 5, 1), CETREC::Make(0, 0, 1, 0), CETREC::Make(10, 0, 1, 1),
            CETREC::Make(20, 0, 2, 1), CETREC::Make(30, 9, 2, 1), CETREC::Make(40, 0, 2, 1)});
    AddText(*s, {0, 0, 1, 1}, true);
    AddText(*s, {5, 5, 6, 6});
    AddPicture(*s, {0, 0, 1, 1}).SetSelected(true);
    s->SelectRecord(3);
    EXPECT_EQ(s->DeleteSelection(), 1);
    // The run on layer 2 keeps going after the deleted record on layer 1.
    EXPECT_EQ(RecordsOf(*s),
        (std::vector<CETREC> {CETREC::Junction(5, 5, 1), CETREC::Make(20, 0, 2, 0),
            CETREC::Make(30, 9, 2, 1), CETREC::Make(40, 0, 2, 1)}));
    EXPECT_EQ(s->texts.GetCount(), 1);
    EXPECT_EQ(s->texts.At(0)->box.left, 5);
    EXPECT_EQ(s->pictures->GetSize(), 0);
    EXPECT_EQ(s->selectedCount, 0);
    EXPECT_EQ(SelectedOf(*s), std::vector<int> {});
    EXPECT_EQ(s->undoPosition, 0);

    // Nothing selected, nothing deleted: no snapshot.
    EXPECT_EQ(s->DeleteSelection(), 0);
    EXPECT_EQ(s->undoPosition, 0);
}

TEST(RotateSheet, QuarterTurnAfterPanningBack)
{
    // Drawn at (0, 0) ... (400, 200), panned by (1000, 500).
    auto s = SheetWith(Figure({{1000, 500}, {1400, 700}}));
    s->origin = {1000, 500};
    s->fitMode = 1;
    AddText(*s, {1010, 520, 1030, 540});
    AddPicture(*s, {1100, 500, 1300, 600}).angle = 10.0;
    CScriptedUi ui;
    EXPECT_EQ(s->RotateSheet(ui), 1);
    EXPECT_EQ(s->origin, (CPoint {0, 0}));
    EXPECT_EQ(s->fitMode, 0);
    // The height is 200: (x, y) becomes (y, 200 - x).
    EXPECT_EQ(PointsOf(*s), (std::vector<CPoint> {{0, 200}, {200, -200}}));
    EXPECT_EQ(s->texts.At(0)->box, (CRect {20, 190, 40, 170}));
    EXPECT_EQ(s->texts.At(0)->Angle(), 90);
    EXPECT_EQ(s->pictures->At(0).placementRect, (CRect {0, -100, 100, 100}));
    EXPECT_EQ(s->pictures->At(0).angle, 100.0);
    EXPECT_EQ(s->undoPosition, 0);

    // Refused when a turned point would leave the range: the sheet stays
    // where it was, panned as before.
    s = SheetWith(Figure({{INT32_MIN + 5, 0}, {INT32_MIN + 5, 10}}) + Figure({{0, 0}, {1, 1}}));
    s->origin = {5, 5};
    EXPECT_EQ(s->RotateSheet(ui), 0);
    EXPECT_EQ(PointsOf(*s)[0], (CPoint {INT32_MIN + 5, 0}));
    EXPECT_EQ(s->origin, (CPoint {5, 5}));
    EXPECT_EQ(ui.messages.size(), 1u);
}

namespace {

// What undo must bring back: records, texts and pictures.
struct CContent {
    std::vector<CETREC> records;
    std::vector<std::pair<CRect, int>> texts;
    std::vector<CRect> pictures;
    friend bool operator==(const CContent&, const CContent&) = default;
};

std::ostream& operator<<(std::ostream& os, const CContent& c)
{
    for (const auto& r : c.records)
        os << r << " ";
    for (const auto& [box, angle] : c.texts)
        os << "text " << box.left << "," << box.top << "," << box.right << "," << box.bottom << " @"
           << angle << " ";
    for (const auto& p : c.pictures)
        os << "picture " << p.left << "," << p.top << "," << p.right << "," << p.bottom << " ";
    return os;
}

CContent ContentOf(const CSheet& s)
{
    CContent c {RecordsOf(s), {}, {}};
    for (const auto& t : s.texts)
        c.texts.push_back({t->box, t->Angle()});
    for (const auto& p : s.pictures->pictures)
        c.pictures.push_back(p->placementRect);
    return c;
}

} // namespace

TEST(Undo, RestoresWhatEachEditChanged)
{
    CScriptedUi ui;
    // (edit, snapshots it takes)
    const struct {
        const char* name;
        std::function<void(CSheet&)> edit;
        int snapshots;
    } cases[] = {
        {"move", [&](CSheet& s) { s.MoveSelection(ui); }, 0},
        {"mirror x", [&](CSheet& s) { s.MirrorX(ui); }, 1},
        {"mirror y", [&](CSheet& s) { s.MirrorY(ui); }, 1},
        {"rotate", [&](CSheet& s) { s.Rotate(90, ui, true); }, 1},
        {"rotate about", [&](CSheet& s) { s.RotateAbout(3, 4, 45, ui); }, 1},
        {"scale", [&](CSheet& s) { s.Scale(250.5, ui); }, 1},
        {"layer", [&](CSheet& s) { s.ChangeLayer(CSheet::kAll, 6, ui); }, 1},
        {"pen", [&](CSheet& s) { s.ChangePen(CSheet::kAll, 4); }, 1},
        {"delete", [&](CSheet& s) { s.DeleteSelection(); }, 1},
        {"turn sheet", [&](CSheet& s) { s.RotateSheet(ui); }, 1},
        {"junction", [&](CSheet& s) { s.ToggleJunction(); }, 1},
        {"place",
            [&](CSheet& s) {
                s.BuildRectangle(0, 0, 50, 50);
                s.CommitBuffer(ui);
            },
            1},
        // An ellipse is one undo step when it is placed, not when it is built.
        {"place ellipse",
            [&](CSheet& s) {
                s.BuildEllipse(0, 0, 5000, 5000, false);
                s.CommitBuffer(ui);
            },
            1},
    };
    for (const auto& c : cases) {
        auto s = SheetWith(Figure({{100, 100}, {900, 100}, {900, 700}})
            + Figure({{2000, 0}, {2500, 300}}, 3, 2, 1));
        s->origin = {40, 30};
        AddText(*s, {500, 500, 600, 600});
        AddText(*s, {700, 500, 800, 600});
        AddPicture(*s, {0, 0, 300, 200});
        AddPicture(*s, {1000, 0, 1300, 200});
        s->PushUndo();
        const CContent before = ContentOf(*s);
        s->SelectFigure(4);
        s->texts.SetSelected(0, true);
        s->pictures->SetSelected(1, true);
        s->prevCursor = {0, 0};
        s->cursor = {150, -70};

        c.edit(*s);
        if (std::string(c.name) != "ellipse") {
            EXPECT_NE(ContentOf(*s), before) << c.name;
        }
        EXPECT_EQ(s->undoPosition, c.snapshots) << c.name;
        // Undo takes a selected text for an unrecorded change; ending the
        // selection first steps back over the edit itself.
        s->texts.DeselectAll();
        EXPECT_EQ(s->Undo(), 1) << c.name;
        EXPECT_EQ(ContentOf(*s), before) << c.name;
        EXPECT_EQ(s->origin, (CPoint {40, 30})) << c.name;
    }
}
