#include "view/tools/select_tool.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/command_table.h"
#include "tool_test_support.h"

namespace {

// The fixture after the frame (records 1-5, block 1), in pixels of zoom 100:
//   6-8    figure A        M100,100 L200,100 L200,150
//   9-10   figure B        M100,200 L200,200
//   11-14  block 2         M300,100 L400,100 and M300,150 L400,150
//   15     a junction      J250,250
//   16-17  figure H        M100,300 L200,300, on layer 5, hidden
//   18-21  figure D        M100,400 L150,400 L150,400 L200,450: a doubled point
//   text 0   450,300 - 520,320
//   picture 0  450,100 - 550,180
void AddFixture(CViewBench& bench)
{
    CSheet& s = bench.Sheet();
    auto add = [&](int x, int y, int pen, int block = 0, int layer = 1) {
        s.Append(CETREC::Make(x * 100, y * 100, layer, pen, block));
    };
    add(100, 100, 0);
    add(200, 100, 1);
    add(200, 150, 1);
    add(100, 200, 0);
    add(200, 200, 1);
    add(300, 100, 0, 2);
    add(400, 100, 1, 2);
    add(300, 150, 0, 2);
    add(400, 150, 1, 2);
    s.Append(CETREC::Junction(25000, 25000, 1));
    add(100, 300, 0, 0, 5);
    add(200, 300, 1, 0, 5);
    add(100, 400, 0);
    add(150, 400, 1);
    add(150, 400, 1);
    add(200, 450, 1);
    s.layers.SetVisible(5, 0);
    auto text = std::make_unique<CText>("Tekst", CRect {45000, 30000, 52000, 32000}, 0);
    text->SetHeight(20);
    text->SetLayer(1);
    s.texts.Add(std::move(text));
    auto picture = std::make_unique<CPict>();
    picture->placementRect = {45000, 10000, 55000, 18000};
    s.pictures->pictures.push_back(std::move(picture));
    s.PushUndo();
}

// The selected records as their indices, then "t" and "p" with the indices
// of the selected texts and pictures.
std::string Selection(const CSheet& s)
{
    std::string out;
    auto add = [&](const std::string& item) { out += (out.empty() ? "" : " ") + item; };
    for (int i = 1; i < s.recordCount; ++i) {
        if (s.selectionFlags[i])
            add(std::to_string(i));
    }
    for (int i = 0; i < s.texts.GetCount(); ++i) {
        if (s.texts.IsSelected(i))
            add("t" + std::to_string(i));
    }
    for (int i = 0; i < s.pictures->GetSize(); ++i) {
        if (s.pictures->IsSelected(i))
            add("p" + std::to_string(i));
    }
    return out;
}

constexpr int kObjects = CSheet::kSelectBlocks;
constexpr int kLines = CSheet::kSelectFigures;
constexpr int kSegments = CSheet::kSelectSegments;
constexpr int kTexts = CSheet::kSelectTexts;
constexpr int kPictures = CSheet::kSelectPictures;

} // namespace

TEST(SelectTool, PressesWindowsAndReleasesSelectByTheCriteria)
{
    // (criteria, events) -> what is selected, step, window shown.
    const struct {
        const char* name;
        int criteria;
        std::initializer_list<CViewEvent> events;
        const char* selected;
        int step;
        bool window;
    } cases[] = {
        {"a figure", kObjects, {Click(150, 100)}, "6 7 8", Step::Selection, false},
        {"a vertex picks its figure", kObjects, {Click(201, 151)}, "6 7 8", Step::Selection, false},
        {"a block", kObjects, {Click(350, 150)}, "11 12 13 14", Step::Selection, false},
        {"a segment", kSegments, {Click(150, 100)}, "7", Step::Selection, false},
        {"a segment clicked again stays", kSegments, {Click(150, 100), Click(150, 100)}, "7",
            Step::Selection, false},
        {"one figure of a block", kLines, {Click(350, 100)}, "11 12", Step::Selection, false},
        {"no criterion picks nothing", 0x1000, {Click(150, 100)}, "", Step::Idle, false},
        {"a text", kObjects | kTexts, {Click(480, 310)}, "t0", Step::Selection, false},
        {"texts not picked", kObjects, {Click(480, 310)}, "", Step::Rubber, true},
        {"a picture", kObjects | kPictures, {Click(500, 140)}, "p0", Step::Selection, false},
        {"pictures not picked", kObjects, {Click(500, 140)}, "", Step::Rubber, true},
        {"a press on paper only deselects", kObjects, {Click(150, 100), Click(600, 400)}, "",
            Step::Idle, false},
        {"the next one starts a window", kObjects,
            {Click(150, 100), Click(600, 400), Press(600, 400)}, "", Step::Rubber, true},
        {"a press on another figure only deselects", kObjects, {Click(150, 100), Click(150, 200)},
            "", Step::Idle, false},
        {"Ctrl adds a text to the figure", kObjects | kTexts,
            {Click(150, 100), WithCtrl(Click(480, 310))}, "6 7 8 t0", Step::Selection, false},
        {"Ctrl on another figure replaces the figure", kObjects | kTexts,
            {Click(480, 310), WithCtrl(Click(150, 100)), WithCtrl(Click(150, 200))}, "9 10 t0",
            Step::Selection, false},
        {"a Ctrl click on a selected figure deselects it", kObjects,
            {Click(150, 100), WithCtrl(Click(150, 100))}, "", Step::Idle, false},
        {"... and the rest stays", kObjects | kTexts,
            {Click(150, 100), WithCtrl(Click(480, 310)), WithCtrl(Click(150, 100))}, "t0",
            Step::Selection, false},
        {"a Ctrl click on a selected block deselects it whatever the criteria", kLines,
            {Command(Cmd::SelectAll), WithCtrl(Click(350, 150))},
            "1 2 3 4 5 6 7 8 9 10 15 16 17 18 19 20 21 t0 p0", Step::Selection, false},
        {"a Ctrl click on a selected picture keeps it", kObjects | kPictures,
            {Click(500, 140), WithCtrl(Click(500, 140))}, "p0", Step::Selection, false},
        {"a window", kObjects, {Press(90, 90), Move(210, 160), Release(210, 160)}, "6 7 8",
            Step::Selection, true},
        {"a window of segments takes only the points inside", kSegments,
            {Press(90, 90), Release(160, 160)}, "6", Step::Selection, true},
        {"a window of figures takes whole figures", kLines, {Press(90, 90), Release(160, 160)},
            "6 7 8", Step::Selection, true},
        {"a window of blocks", kObjects, {Press(290, 90), Release(310, 110)}, "11 12 13 14",
            Step::Selection, true},
        {"a window edge on a point leaves it out", kSegments, {Press(90, 90), Release(100, 160)},
            "", Step::Idle, false},
        {"a window over a text and a picture", kObjects | kTexts | kPictures,
            {Press(440, 90), Release(600, 330)}, "t0 p0", Step::Selection, true},
        {"a small window follows the pointer", kObjects, {Press(90, 90), Release(93, 94)}, "",
            Step::Rubber, true},
        {"... until a release far enough", kObjects,
            {Press(90, 90), Release(93, 94), Move(150, 130), Move(210, 160), Release(210, 160)},
            "6 7 8", Step::Selection, true},
        {"... a press in between is no part of it", kObjects,
            {Press(90, 90), Release(93, 94), Press(210, 160), Release(210, 160)}, "6 7 8",
            Step::Selection, true},
        {"a window with nothing in it ends the selection", kObjects,
            {Press(600, 400), Release(605, 400)}, "", Step::Idle, false},
        {"a Ctrl window adds", kObjects,
            {Click(150, 200), WithCtrl(Press(90, 90)), WithCtrl(Release(210, 160))}, "6 7 8 9 10",
            Step::Selection, true},
        {"a Ctrl window over a selected block deselects it", kObjects,
            {Click(350, 100), WithCtrl(Press(290, 90)), WithCtrl(Release(410, 160))}, "",
            Step::Idle, false},
        {"a press inside the window holds the selection", kObjects,
            {Press(90, 90), Release(210, 160), Click(120, 130)}, "6 7 8", Step::Selection, true},
        {"a press outside it deselects", kObjects,
            {Press(90, 90), Release(210, 160), Click(300, 300)}, "", Step::Idle, false},
        {"the hidden figure is not clicked", kObjects, {Click(150, 300)}, "", Step::Rubber, true},
        {"nor taken by a window", kSegments, {Press(90, 290), Release(210, 310)}, "", Step::Idle,
            false},
        {"Esc ends a window", kObjects, {Press(90, 90), Move(150, 150), KeyStroke(Key::Escape)}, "",
            Step::Idle, false},
        {"Esc ends the selection", kObjects,
            {Press(90, 90), Release(210, 160), KeyStroke(Key::Escape)}, "", Step::Idle, false},
        {"Ctrl+A selects everything", kObjects, {WithCtrl(KeyStroke('A'))},
            "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 t0 p0", Step::Selection, false},
        {"invert", kObjects, {Click(150, 100), Command(Cmd::InvertSelection)},
            "1 2 3 4 5 9 10 11 12 13 14 15 16 17 18 19 20 21 t0 p0", Step::Selection, false},
        {"invert of everything leaves nothing", kObjects,
            {Command(Cmd::SelectAll), Command(Cmd::InvertSelection)}, "", Step::Idle, false},
        {"a doubled point tidied away under a Ctrl press", kObjects,
            {Click(150, 200), WithCtrl(Click(176, 425))}, "18 19 20", Step::Selection, false},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        AddFixture(bench);
        bench.Sheet().selectionCriteria = c.criteria;
        const CViewOutcome o = bench.Run(c.events);
        const CSheet& s = bench.Sheet();
        EXPECT_EQ(Selection(s), c.selected) << c.name;
        EXPECT_EQ(o.step, c.step) << c.name;
        EXPECT_EQ(s.rubberActive != 0, c.window) << c.name;
    }
}

TEST(SelectTool, HiddenTextsAreNotClicked)
{
    CViewBench bench;
    AddFixture(bench);
    CSheet& s = bench.Sheet();
    s.selectionCriteria = kObjects | kTexts;
    s.texts.At(0)->SetLayer(5);
    EXPECT_EQ(bench.Run({Click(480, 310)}).step, Step::Rubber);
    EXPECT_EQ(Selection(s), "");
    // Nor by a window.
    EXPECT_EQ(bench.Run({Press(440, 290), Release(600, 330)}).step, Step::Idle);
    EXPECT_EQ(Selection(s), "");
}

TEST(SelectTool, AWindowAtAFineZoomEndsBeyondFourPixels)
{
    // At zoom 2 a millimetre is 500 pixels (and so is the margin where a
    // drag pans); record 6 lies at pixel (600, 600).
    CViewBench bench;
    AddFixture(bench);
    bench.view.Resize(1200, 1000);
    bench.Place(2, -8800, -8800);
    EXPECT_EQ(bench.Run({Press(595, 595), Release(599, 598)}).step, Step::Rubber);
    EXPECT_EQ(bench.Run({Move(605, 605), Release(605, 605)}).step, Step::Selection);
    EXPECT_EQ(Selection(bench.Sheet()), "6 7 8");
}

TEST(SelectTool, ADragMovesTheSelectionInSnapStepsAndRedrawsOnlyTheOverlays)
{
    CViewBench bench;
    AddFixture(bench);
    SnapTo10Pixels(bench);
    CSheet& s = bench.Sheet();
    s.RestartUndo(); // as just opened
    bench.doc.modified = false;
    bench.Run({Press(150, 100)});
    const int draws = bench.ui.invalidated;
    // 153 snaps back to 150: no step yet; 157 snaps to 160.
    bench.Run({Move(153, 100)});
    EXPECT_EQ(Drawn(s, 6).substr(0, 26), "M100,100 L200,100 L200,150");
    bench.Run({Move(157, 104)});
    EXPECT_EQ(Drawn(s, 6).substr(0, 26), "M110,100 L210,100 L210,150");
    EXPECT_EQ(bench.ui.invalidated, draws);
    EXPECT_EQ(bench.ui.restored.size(), 1U);
    // What the screen shows after the restore: the marks of the selection.
    EXPECT_FALSE(bench.ui.screen.calls.empty());
    EXPECT_FALSE(bench.doc.modified);
    const CViewOutcome o = bench.Run({Release(157, 104)});
    // Modified at the release; the undo step waits for the selection to end.
    EXPECT_EQ(o, (CViewOutcome {Step::Selection, 21, 0, true}));
    EXPECT_EQ(s.pendingChange, 1);
    EXPECT_EQ(bench.Run({KeyStroke(Key::Escape)}).undoSteps, 1);
}

TEST(SelectTool, ADragThatPansKeepsTheSelectionUnderThePointer)
{
    CViewBench bench;
    AddFixture(bench);
    CSheet& s = bench.Sheet();
    bench.Run({Press(150, 100)});
    const CPoint offset {s.records[6].x - s.cursor.x, s.records[6].y - s.cursor.y};
    const CPoint origin = s.origin;
    bench.Run({Move(635, 100)});
    ASSERT_NE(s.origin, origin) << "the view did not pan";
    EXPECT_EQ((CPoint {s.records[6].x - s.cursor.x, s.records[6].y - s.cursor.y}), offset);
    bench.Run({Move(300, 200)});
    EXPECT_EQ((CPoint {s.records[6].x - s.cursor.x, s.records[6].y - s.cursor.y}), offset);
}

TEST(SelectTool, UndoRightAfterADragTakesTheDragBackAndRedoBringsItAgain)
{
    CViewBench bench;
    AddFixture(bench);
    CSheet& s = bench.Sheet();
    s.RestartUndo(); // as just opened
    bench.doc.modified = false;
    bench.Run({Press(150, 100), Move(170, 120), Release(170, 120)});
    EXPECT_TRUE(bench.view.Update(Cmd::Undo).enabled);
    EXPECT_FALSE(bench.view.Update(Cmd::Redo).enabled);
    bench.Run({Command(Cmd::Undo)});
    EXPECT_EQ(Drawn(s, 6).substr(0, 8), "M100,100");
    EXPECT_TRUE(bench.view.Update(Cmd::Redo).enabled);
    bench.Run({Command(Cmd::Redo)});
    EXPECT_EQ(Drawn(s, 6).substr(0, 8), "M120,120");
}

TEST(SelectTool, SelectingATextSnapsItAndUndoStepsBackOverTheChangeBefore)
{
    CViewBench bench;
    AddFixture(bench);
    SnapTo10Pixels(bench);
    CSheet& s = bench.Sheet();
    s.selectionCriteria = kObjects | kTexts;
    // With Ctrl the text stays where it is.
    bench.Run({WithCtrl(Click(480, 310)), KeyStroke(Key::Escape)});
    EXPECT_EQ(s.texts.At(0)->Position(), (CPoint {45000, 30000}));
    EXPECT_EQ(s.pendingChange, 0);
    // Off the grid, it lands on it.
    s.texts.At(0)->MoveTo(45300, 29800);
    bench.Run({Click(480, 310)});
    EXPECT_EQ(s.texts.At(0)->Position(), (CPoint {45000, 30000}));
    EXPECT_EQ(s.cursor, (CPoint {45000, 30000}));
    EXPECT_EQ(s.pendingChange, 1);
    bench.Run({KeyStroke(Key::Escape)});

    // A line drawn, then a text on the grid selected: undo takes the line.
    const int records = s.recordCount;
    bench.Run({Command(Cmd::ToolLines), Press(600, 400), Move(620, 400), KeyStroke(Key::Escape),
        Command(Cmd::SelectTool)});
    ASSERT_EQ(s.recordCount, records + 2);
    bench.Run({Click(480, 310)});
    EXPECT_EQ(s.pendingChange, 0);
    bench.Run({Command(Cmd::Undo)});
    EXPECT_EQ(s.recordCount, records);
    EXPECT_TRUE(bench.view.Update(Cmd::Redo).enabled);
}

TEST(SelectTool, CtrlAInAnotherToolSelectsAllAndKeepsTheTool)
{
    CViewBench bench;
    AddFixture(bench);
    const CViewOutcome o
        = bench.Run({Command(Cmd::ToolLines), Press(600, 400), WithCtrl(KeyStroke('A'))});
    EXPECT_EQ(bench.Sheet().toolMode, ToolMode::Lines);
    EXPECT_EQ(o.step, Step::LineStarted);
    EXPECT_EQ(bench.Sheet().selectedCount, 21);
}

TEST(SelectTool, TheCriteriaCommandsSwitchOneWayOfPickingAndToggleTheOthers)
{
    // Start value x command -> new value, then the ticks of Segmenten,
    // Lijnen, Objecten, Afbeeldingen and Windows teksten.
    const struct {
        int32_t start;
        int command;
        int32_t next;
        const char* ticks;
    } cases[] = {
        {0x1004, Cmd::SelectSegments, 0x1001, "10000"},
        {0x1004, Cmd::SelectLines, 0x1002, "01000"},
        {0x1004, Cmd::SelectObjects, 0x1000, "00000"},
        {0x1000, Cmd::SelectObjects, 0x1004, "00100"},
        {0x101C, Cmd::SelectSegments, 0x1019, "10011"},
        {0x1019, Cmd::SelectSegments, 0x1018, "00011"},
        {0x1004, Cmd::SelectPictures, 0x100C, "00110"},
        {0x100C, Cmd::SelectPictures, 0x1004, "00100"},
        {0x1004, Cmd::SelectWindowsTexts, 0x1014, "00101"},
        {0x101F, Cmd::SelectWindowsTexts, 0x100F, "11110"},
        {0x101F, Cmd::SelectPictures, 0x1017, "11101"},
        {0x101F, Cmd::SelectLines, 0x1018, "00011"},
        {0x0004, Cmd::SelectPictures, 0x100C, "00110"},
    };
    const int ticked[] = {Cmd::SelectSegments, Cmd::SelectLines, Cmd::SelectObjects,
        Cmd::SelectPictures, Cmd::SelectWindowsTexts};
    for (const auto& c : cases) {
        CViewBench bench;
        AddFixture(bench);
        CSheet& s = bench.Sheet();
        bench.Run({Command(Cmd::ToolLines), WithCtrl(KeyStroke('A'))});
        s.selectionCriteria = c.start;
        bench.Run({Command(c.command)});
        EXPECT_EQ(s.selectionCriteria, c.next)
            << std::hex << c.start << " " << std::dec << c.command;
        std::string ticks;
        for (int id : ticked)
            ticks += bench.view.Update(id).checked ? '1' : '0';
        EXPECT_EQ(ticks, c.ticks) << std::hex << c.start << " " << std::dec << c.command;
        // Each command selects the Select tool, without a selection.
        EXPECT_EQ(s.toolMode, ToolMode::Select);
        EXPECT_EQ(s.selectedCount, 0);
    }
}

TEST(SelectTool, TheSelectCommandsAreEnabledInTheSelectToolOnly)
{
    CViewBench bench;
    AddFixture(bench);
    EXPECT_TRUE(bench.view.Update(Cmd::SelectAll).enabled);
    EXPECT_FALSE(bench.view.Update(Cmd::InvertSelection).enabled);
    bench.Run({Click(150, 100)});
    EXPECT_TRUE(bench.view.Update(Cmd::InvertSelection).enabled);
    EXPECT_TRUE(bench.view.Update(Cmd::EndSelection).enabled);
    bench.Run({Command(Cmd::ToolLines)});
    for (int id : {Cmd::SelectAll, Cmd::InvertSelection, Cmd::EndSelection})
        EXPECT_FALSE(bench.view.Update(id).enabled) << id;
    EXPECT_TRUE(bench.view.Update(Cmd::SelectObjects).enabled);
}
