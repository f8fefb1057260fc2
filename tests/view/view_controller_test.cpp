#include "view/view_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "app/settings.h"
#include "document/document.h"
#include "model/model_defaults.h"
#include "model/sheet.h"
#include "model/tool_mode.h"
#include "support/recording_canvas.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_ui.h"
#include "support/view_script.h"

namespace {

using Button = CViewController::Button;

// Tools that list what reached them and take the keys and characters they
// are told to.
class CListingTools : public CToolMachine {
public:
    std::vector<std::string> events;
    std::vector<int> keysTaken;
    std::string charsTaken;

    void Press(CToolContext&) override { events.push_back("press"); }
    void Move(CToolContext&) override { events.push_back("move"); }
    void Release(CToolContext&) override { events.push_back("release"); }
    bool KeyDown(CToolContext&, const CKeyEvent& k) override
    {
        events.push_back("key " + std::to_string(k.key));
        return std::find(keysTaken.begin(), keysTaken.end(), k.key) != keysTaken.end();
    }
    bool Char(CToolContext&, uint8_t ch) override
    {
        events.push_back(std::string("char ") + char(ch));
        return charsTaken.find(char(ch)) != std::string::npos;
    }
};

class ViewTest : public ::testing::Test {
protected:
    ViewTest()
    {
        doc.AddDefaultSheet(); // 400 x 270 mm with its frame, fitted at the first draw
        view.Resize(640, 480);
        for (int mode : {ToolMode::Select, ToolMode::Text})
            view.Tools().Use(mode, tools);
    }
    ~ViewTest() override { ModelDefaults() = savedDefaults; }

    CSheet& Sheet() { return doc.GetActiveSheet(); }

    void Place(int zoom, int originX, int originY) { PlaceView(Sheet(), zoom, originX, originY); }

    bool Key(int key, bool shift = false, bool ctrl = false)
    {
        const bool used = view.KeyDown({key, ctrl, shift});
        view.KeyUp({key, ctrl, shift});
        return used;
    }

    void Click(int px, int py)
    {
        view.PointerPress(Button::Left, px, py);
        view.PointerRelease(Button::Left, px, py);
    }

    CModelDefaults savedDefaults = ModelDefaults();
    CDovereduDoc doc;
    CSettings settings {CDefaultPaths {}};
    CScriptedUi ui;
    CScriptedDialogs dialogs;
    CScriptedClock clock;
    CListingTools tools;
    CViewController view {doc, settings, ui, dialogs, clock};
};

} // namespace

TEST_F(ViewTest, ZThenZZoomsAllAndAnyOtherKeyForgetsTheZ)
{
    CSheet& s = Sheet();
    Key('I');
    const int zoomed = s.zoom;
    ASSERT_EQ(s.fitMode, 0);
    for (int k : {'Z', 'X', 'Z'})
        Key(k);
    EXPECT_EQ(s.zoom, zoomed);
    EXPECT_EQ(s.fitMode, 0);
    Key('Z'); // the second Z of a new sequence
    EXPECT_EQ(s.fitMode, 1);
    EXPECT_EQ(s.zoom, 625); // 400000 / 625 = 640 pixels

    // Z then N brings the true origin back to the top-left; N alone is no key of the view.
    Place(100, -50000, -30000);
    EXPECT_FALSE(Key('N'));
    EXPECT_EQ(s.origin, (CPoint {-50000, -30000}));
    Key('Z');
    Key('N');
    EXPECT_EQ(s.origin, (CPoint {0, 0}));
    EXPECT_EQ(s.zoom, 100);
}

TEST_F(ViewTest, ZoomKeysAndCommandsFollowTheLimits)
{
    // (zoom, "Zoom in" enabled, "Zoom uit" enabled, zoom after I, zoom after O)
    const struct {
        int zoom;
        bool in, out;
        int afterI, afterO;
    } cases[] = {{2, false, true, 2, 3}, {3, true, true, 2, 4}, {9500, true, true, 8550, 10000},
        {10000, true, false, 9000, 10000}};
    for (const auto& c : cases) {
        Place(c.zoom, 0, 0);
        EXPECT_EQ(view.Update(Cmd::ZoomIn).enabled, c.in) << c.zoom;
        EXPECT_EQ(view.Update(Cmd::ZoomOut).enabled, c.out) << c.zoom;
        Key('I');
        EXPECT_EQ(Sheet().zoom, c.afterI) << c.zoom;
        Place(c.zoom, 0, 0);
        Key('O');
        EXPECT_EQ(Sheet().zoom, c.afterO) << c.zoom;
    }
    // Ctrl+I is not a zoom key.
    Place(100, 0, 0);
    EXPECT_FALSE(Key('I', false, true));
    EXPECT_EQ(Sheet().zoom, 100);
}

TEST_F(ViewTest, ZoomingCentresOnTheCursorAndRedraws)
{
    Place(100, 0, 0);
    view.PointerMove(400, 300);
    const int before = ui.invalidated;
    ASSERT_TRUE(view.Execute(Cmd::ZoomIn));
    CSheet& s = Sheet();
    EXPECT_EQ(s.zoom, 90);
    EXPECT_EQ(s.cursor, (CPoint {90 * 320, 90 * 240}));
    EXPECT_GT(ui.invalidated, before);

    // C centres without zooming.
    view.PointerMove(500, 400);
    Key('C');
    EXPECT_EQ(s.cursor, (CPoint {90 * 320, 90 * 240}));
    EXPECT_EQ(s.zoom, 90);
}

TEST_F(ViewTest, ReadoutsMeasureFromTheOriginAndTheRelativePoint)
{
    Place(100, 2000, 3000);
    Click(20, 40); // the relative point at (2000, 4000)
    view.PointerMove(50, 80); // the cursor at (5000, 8000)
    const std::vector<std::string> expected = {"X: 3.000", "Y: 5.000", "Vrij", "XR: 3.000",
        "YR: 4.000", "LN: 5.000", "HK:306.870", "T:00:00"};
    EXPECT_EQ(std::vector<std::string>(ui.status.begin() + 1, ui.status.end()), expected);

    // Fixed with F6, the point stays where it is when pressing elsewhere.
    Key(Key::F6);
    EXPECT_EQ(ui.status[3], "Vast");
    EXPECT_TRUE(view.Update(Cmd::RelativePoint).checked);
    Click(10, 10);
    EXPECT_EQ(ui.status[4], "XR:-1.000");
    EXPECT_EQ(Sheet().relPoint, (CPoint {2000, 4000}));
}

TEST(ViewWithoutSheet, ShowsEmptyReadoutsAndIgnoresEverything)
{
    CDovereduDoc doc;
    CSettings settings {CDefaultPaths {}};
    CScriptedUi ui;
    CScriptedDialogs dialogs;
    CScriptedClock clock;
    CViewController view(doc, settings, ui, dialogs, clock);
    view.UpdateStatus();
    const std::vector<std::string> expected = {"X: 0.000", "Y: 0.000", "Vrij", "XR: 0.000",
        "YR: 0.000", "LN: 0.000", "HK: 0.000", "T:00:00"};
    EXPECT_EQ(std::vector<std::string>(ui.status.begin() + 1, ui.status.end()), expected);

    view.PointerMove(10, 10);
    view.PointerPress(Button::Left, 10, 10);
    view.PointerRelease(Button::Left, 10, 10);
    view.Wheel(10, 10, 120);
    view.Scroll(false, CViewController::ScrollCode::PageDown);
    for (int k : std::initializer_list<int> {'Z', 'Z', 'I', 'A', Key::Left, Key::F5})
        view.KeyDown({k, false, false});
    CRecordingCanvas dc;
    view.DrawOffscreen(dc);
    view.DrawOverlays(dc);
    EXPECT_TRUE(dc.calls.empty());
    for (int id : {Cmd::ZoomIn, Cmd::ZoomAll, Cmd::ZoomWindow, Cmd::Refresh, Cmd::RecomputeSize,
             Cmd::RelativePoint, Cmd::DrawGrid, Cmd::GridInForce, Cmd::GridDialog, Cmd::ChooseLayer,
             Cmd::ChoosePen, Cmd::LayerTable, Cmd::ChooseFont, Cmd::NextSheet})
        EXPECT_FALSE(view.Update(id).enabled) << id;
    EXPECT_TRUE(view.Update(Cmd::LongCursor).enabled);
}

TEST_F(ViewTest, GridsAreNotDrawnBelowTheirPixelLimits)
{
    // (display, zoom, drawn) for the 10 mm grid: dots need 4 pixels, lines 8.
    const struct {
        int display, zoom;
        bool drawn;
    } cases[] = {{1, 2500, true}, {1, 2501, false}, {2, 1250, true}, {2, 1251, false}};
    for (const auto& c : cases) {
        Place(c.zoom, 0, 0);
        Sheet().grids.Active().display = c.display;
        CRecordingCanvas dc;
        view.DrawOffscreen(dc);
        const size_t grid
            = c.display == 1 ? dc.Only("pixel").size() : dc.Only("pen 1 0xdcdcdc").size();
        EXPECT_EQ(grid > 0, c.drawn) << c.display << " at " << c.zoom;
    }
}

TEST_F(ViewTest, ShowingAGridAgainBringsBackItsLastDisplayKind)
{
    settings.gridToAllSheets = false;
    // (display, lastDisplay) as found: a sheet read from a file knows its
    // display but not the last one.
    const struct {
        int display, last;
    } cases[] = {{1, 1}, {1, 2}, {2, 2}, {2, 1}};
    for (const auto& c : cases) {
        CGrid& g = Sheet().grids.grids[0];
        g.display = c.display;
        g.lastDisplay = c.last;
        ASSERT_TRUE(view.Execute(Cmd::DrawGrid));
        EXPECT_EQ(g.display, 0);
        EXPECT_FALSE(view.Update(Cmd::DrawGrid).checked);
        EXPECT_TRUE(view.Char('.')); // the grid in force is the draw grid
        EXPECT_EQ(g.display, c.display) << c.display << "/" << c.last;
        EXPECT_TRUE(view.Update(Cmd::DrawGrid).checked);
    }

    // The "." key toggles the grid in force: the text grid in the text tool.
    Sheet().toolMode = ToolMode::Text;
    Sheet().grids.SelectFor(ToolMode::Text);
    view.Char('.');
    EXPECT_EQ(Sheet().grids.grids[2].display, 0);
    EXPECT_NE(Sheet().grids.grids[0].display, 0);
    EXPECT_FALSE(view.Update(Cmd::GridInForce).checked);
}

TEST_F(ViewTest, ApplyToAllSheetsCarriesAGridChangeToEverySheet)
{
    doc.AddSheet(0, "Tweede", "");
    CSheet& other = *doc.sheets[1];
    Sheet().grids.grids[1].spacingX = 2500;
    Sheet().grids.grids[1].snapY = 0;

    settings.gridToAllSheets = false;
    view.Execute(Cmd::PlaceGrid);
    EXPECT_EQ(other.grids.grids[1].display, 2);
    EXPECT_EQ(settings.grids.grids[1].display, 2);

    settings.gridToAllSheets = true;
    view.Execute(Cmd::PlaceGrid); // shows it again
    view.Execute(Cmd::PlaceGrid); // and hides it on every sheet
    for (const CGridArr* g : {&other.grids, &settings.grids, &ModelDefaults().grids}) {
        EXPECT_EQ(g->grids[1].display, 0);
        EXPECT_EQ(g->grids[1].spacingX, 2500);
        EXPECT_EQ(g->grids[1].snapY, 1); // a step below 1 becomes 1
    }
    // The other sheet, switched to, shows it again as it was.
    doc.SetActiveSheet(1);
    view.Execute(Cmd::PlaceGrid);
    EXPECT_EQ(doc.sheets[0]->grids.grids[1].display, 2);
}

TEST_F(ViewTest, TheGridDialogChangesThisSheetOrEverySheet)
{
    doc.AddSheet(0, "Tweede", "");
    settings.gridToAllSheets = false;
    bool offerToAll = true;
    dialogs.grids = [&](CGridValues& values) {
        EXPECT_FALSE(values.applyToAll);
        values.grids.grids[0].spacingX = 7500;
        values.applyToAll = offerToAll;
        return true;
    };
    offerToAll = false;
    view.Execute(Cmd::GridDialog);
    EXPECT_EQ(Sheet().grids.grids[0].spacingX, 7500);
    EXPECT_EQ(doc.sheets[1]->grids.grids[0].spacingX, 10000);
    EXPECT_FALSE(settings.gridToAllSheets);

    settings.gridToAllSheets = false;
    offerToAll = true;
    view.Execute(Cmd::SheetConfiguration);
    EXPECT_TRUE(settings.gridToAllSheets);
    EXPECT_EQ(doc.sheets[1]->grids.grids[0].spacingX, 7500);
    EXPECT_EQ(settings.grids.grids[0].spacingX, 7500);

    // Cancelled, nothing changes.
    dialogs.grids = [](CGridValues& values) {
        values.grids.grids[0].spacingX = 1;
        return false;
    };
    view.Execute(Cmd::GridDialog);
    EXPECT_EQ(Sheet().grids.grids[0].spacingX, 7500);
}

TEST_F(ViewTest, EverySheetKeepsItsOwnView)
{
    doc.AddSheet(0, "Tweede", "");
    Place(100, -20000, -10000);
    view.PointerMove(30, 40);
    Key(Key::F6);
    const CSheet& first = Sheet();

    doc.SetActiveSheet(1);
    view.Redraw();
    Place(300, 0, 0);
    Key('O');
    view.PointerMove(5, 5);

    doc.SetActiveSheet(0);
    view.Redraw();
    EXPECT_EQ(&Sheet(), &first);
    EXPECT_EQ(first.zoom, 100);
    EXPECT_EQ(first.origin, (CPoint {-20000, -10000}));
    EXPECT_EQ(first.cursor, (CPoint {3000, 4000}));
    EXPECT_EQ(ui.status[1], "X:23.000");
    EXPECT_EQ(ui.status[3], "Vast");
    // Its next complete draw uses its own zoom and pan: the frame's corner.
    CRecordingCanvas dc;
    view.DrawOffscreen(dc);
    EXPECT_EQ(dc.Only("rectangle").front(), "rectangle -200 -100 3800 2600");
    EXPECT_EQ(doc.sheets[1]->zoom, 330);
}

TEST_F(ViewTest, APointerMoveDrawsOnlyTheLongCursorsInXor)
{
    Place(100, 0, 0);
    view.PointerMove(100, 50);
    const int draws = ui.invalidated;
    ui.screen.calls.clear();
    view.PointerMove(120, 60);
    EXPECT_TRUE(ui.screen.calls.empty()); // no long cursor: nothing at all
    EXPECT_EQ(ui.invalidated, draws);

    Key('A', true); // on for good: a complete draw, and no pointer
    EXPECT_TRUE(view.orthoCrosshair);
    EXPECT_TRUE(view.Update(Cmd::LongCursor).checked);
    EXPECT_EQ(ui.pointerShape, CUiServices::PointerShape::Blank);
    EXPECT_GT(ui.invalidated, draws);
    view.DrawOverlays(ui.screen); // the complete draw ends with it
    ui.screen.calls.clear();
    const int redraws = ui.invalidated;

    view.PointerMove(130, 70);
    const std::vector<std::string> moved = {"rop not", "pen 1 0x000000 solid", "move 0 60",
        "line 640 60", "move 120 0", "line 120 480", "rop copy", "rop not", "pen 1 0x000000 solid",
        "move 0 70", "line 640 70", "move 130 0", "line 130 480", "rop copy"};
    EXPECT_EQ(ui.screen.calls, moved);
    EXPECT_EQ(ui.invalidated, redraws);

    // Within the same pixel nothing is drawn again.
    ui.screen.calls.clear();
    Sheet().zoom = 100;
    view.PointerMove(130, 70);
    EXPECT_TRUE(ui.screen.calls.empty());

    // Q once: the diagonal cursor, drawn once without a complete draw.
    Key('Q');
    EXPECT_EQ(ui.screen.Only("move").front(), "move -510 -570");
    EXPECT_EQ(ui.invalidated, redraws);
    EXPECT_FALSE(view.diagCrosshair);

    Key('A', true);
    EXPECT_EQ(ui.pointerShape, CUiServices::PointerShape::CrossHair);
}

TEST_F(ViewTest, TheLongCursorStartsFromTheConfiguration)
{
    settings.longCursor = true;
    CViewController other(doc, settings, ui, dialogs, clock);
    EXPECT_TRUE(other.orthoCrosshair);
    EXPECT_FALSE(other.diagCrosshair);
}

TEST_F(ViewTest, PointerShapes)
{
    view.PointerMove(10, 10);
    EXPECT_EQ(ui.pointerShape, CUiServices::PointerShape::CrossHair);
    view.SetStep(Step::Selection);
    EXPECT_EQ(ui.pointerShape, CUiServices::PointerShape::Move);
    Key('Q', true);
    EXPECT_EQ(ui.pointerShape, CUiServices::PointerShape::Blank);
}

TEST_F(ViewTest, ZoomWindowDragsAnXorRectangleAndZoomsToIt)
{
    Place(100, 0, 0);
    ASSERT_TRUE(view.Execute(Cmd::ZoomWindow));
    CSheet& s = Sheet();
    EXPECT_EQ(s.toolStep, Step::ZoomArmed);
    EXPECT_TRUE(view.Update(Cmd::ZoomWindow).checked);

    view.PointerPress(Button::Left, 100, 100);
    EXPECT_EQ(s.toolStep, Step::ZoomDrag);
    ui.screen.calls.clear();
    view.PointerMove(300, 250);
    // The empty rectangle erased, the new one drawn, both inverted.
    EXPECT_EQ(ui.screen.Only("rop not").size(), 2u);
    EXPECT_EQ(ui.screen.Only("line 300 250").size(), 1u);
    view.PointerRelease(Button::Left, 300, 250);
    // 200 x 150 pixels fill the 640 x 480 view three times: zoom 100 / 3.
    EXPECT_EQ(s.zoom, 33);
    EXPECT_EQ(s.toolStep, Step::Idle);
    EXPECT_EQ(s.zoomWindowActive, 0);
    // The window's middle, (20000, 17500) before, is the view's middle.
    EXPECT_EQ(s.origin, (CPoint {33 * 320 - 20000, 33 * 240 - 17500}));
    EXPECT_TRUE(tools.events.empty());
}

TEST_F(ViewTest, AZoomWindowWithoutSizeKeepsFollowingUntilAReleaseMakesOne)
{
    Place(100, 0, 0);
    view.Execute(Cmd::ZoomWindow);
    Click(100, 100);
    CSheet& s = Sheet();
    EXPECT_EQ(s.zoom, 100);
    EXPECT_EQ(s.toolStep, Step::ZoomDrag);
    view.PointerMove(420, 340);
    view.PointerPress(Button::Left, 420, 340); // ignored: the window is being dragged
    EXPECT_EQ(s.toolStep, Step::ZoomDrag);
    view.PointerRelease(Button::Left, 420, 340);
    EXPECT_EQ(s.zoom, 50);
    EXPECT_EQ(s.toolStep, Step::Idle);
}

TEST_F(ViewTest, AutoPanCentresOnTheCursorNearAnEdgeWhileCaptured)
{
    Place(100, -100000, -100000);
    view.PointerMove(635, 240); // not captured: no pan
    EXPECT_EQ(Sheet().origin, (CPoint {-100000, -100000}));

    view.PointerPress(Button::Left, 320, 240);
    tools.events.clear();
    ui.refusePointer = true; // nothing may depend on the pointer being put
    view.PointerMove(635, 240);
    CSheet& s = Sheet();
    EXPECT_EQ(s.origin, (CPoint {-100000 + 32000 - 63500, -100000}));
    EXPECT_EQ(s.cursor, (CPoint {32000, 24000}));
    EXPECT_EQ(ui.pointerPuts.back(), (CPoint {320, 240}));
    EXPECT_TRUE(tools.events.empty()); // the tool does not see this move
    EXPECT_EQ(ui.status[1], "X:163.500");

    view.PointerMove(330, 240); // away from the edges: the tool sees it
    EXPECT_EQ(tools.events, std::vector<std::string> {"move"});
}

TEST_F(ViewTest, ArrowKeysStepBySnapEvenWithoutSnapping)
{
    Place(100, 0, 0);
    view.PointerMove(100, 100);
    tools.events.clear();
    CSheet& s = Sheet();
    // (key, cursor after) from (10000, 10000), snap step 5000
    const struct {
        int key;
        CPoint after;
    } cases[] = {{Key::Right, {15000, 10000}}, {Key::Down, {15000, 15000}},
        {Key::Left, {10000, 15000}}, {Key::Up, {10000, 10000}}};
    for (const auto& c : cases) {
        EXPECT_TRUE(Key(c.key));
        EXPECT_EQ(s.cursor, c.after) << c.key;
        EXPECT_EQ(ui.pointerPuts.back(), (CPoint {c.after.x / 100, c.after.y / 100}));
    }
    EXPECT_EQ(std::count(tools.events.begin(), tools.events.end(), "move"), 4);
}

TEST_F(ViewTest, KeysReachTheToolsInTheirPlace)
{
    Place(100, 0, 0);
    view.PointerMove(100, 100);
    CSheet& s = Sheet();

    // While a text is typed every key is the text's.
    s.toolStep = Step::Typing;
    tools.events.clear();
    for (int k : std::initializer_list<int> {'A', 'Z', 'Z', Key::F6})
        view.KeyDown({k, false, k == 'A'});
    EXPECT_EQ(tools.events.size(), 4u);
    EXPECT_FALSE(view.orthoCrosshair);
    EXPECT_EQ(s.fitMode, 0);
    EXPECT_EQ(s.relFixed, 0);
    EXPECT_FALSE(view.Char('.'));
    s.toolStep = Step::Idle;

    // Outside typing the keys and characters are the view's: the tool never
    // sees them, even those it would take.
    tools.keysTaken = {'C'};
    tools.charsTaken = ".";
    view.PointerMove(10, 10);
    tools.events.clear();
    const CPoint before = s.origin;
    EXPECT_TRUE(Key('C'));
    EXPECT_NE(s.origin, before);
    const int display = s.grids.Active().display;
    EXPECT_TRUE(view.Char('.'));
    EXPECT_NE(s.grids.Active().display, display);
    EXPECT_TRUE(tools.events.empty());

    // Space presses and releases the tool; A never reaches it.
    tools.events.clear();
    Key(Key::Space);
    Key('A');
    EXPECT_EQ(tools.events, (std::vector<std::string> {"press", "release"}));
    EXPECT_EQ(s.relPoint, s.cursor);

    // A press at step 101 starts the zoom window, not the tool.
    view.Execute(Cmd::ZoomWindow);
    tools.events.clear();
    view.PointerPress(Button::Left, 50, 50);
    EXPECT_TRUE(tools.events.empty());
}

TEST_F(ViewTest, EveryPointerMoveTakesTheFocus)
{
    view.PointerMove(1, 1);
    view.PointerMove(2, 2);
    EXPECT_EQ(ui.focusTaken, 2);
}

TEST_F(ViewTest, FocusRunsTheTimersAndCountsTheWorkingTime)
{
    settings.reserveInterval = 3;
    clock.now = 1000;
    view.FocusIn();
    EXPECT_EQ(clock.running,
        (std::map<int, int> {
            {CViewController::kWorkTimer, 400}, {CViewController::kBackupTimer, 180000}}));
    clock.now = 1000 + 3600000;
    view.Timer(CViewController::kWorkTimer);
    EXPECT_EQ(doc.workingTime, 3600000);
    EXPECT_EQ(ui.status[8], "T:01:00");

    view.KeyDown({Key::Control, true, false});
    EXPECT_TRUE(view.ctrlDown);
    clock.now += 60000;
    view.FocusOut();
    EXPECT_EQ(doc.workingTime, 3660000);
    EXPECT_EQ(ui.status[8], "T:01:01");
    EXPECT_TRUE(clock.running.empty());
    EXPECT_FALSE(view.ctrlDown);

    // Time without the focus is not counted.
    clock.now += 600000;
    view.FocusIn();
    clock.now += 400;
    view.Timer(CViewController::kWorkTimer);
    EXPECT_EQ(doc.workingTime, 3660400);

    // A menu of the view takes the focus for a moment: the backup timer
    // goes on counting.
    view.FocusOut(true);
    EXPECT_EQ(clock.running.count(CViewController::kBackupTimer), 1u);
}

TEST_F(ViewTest, ScrollingPansByTheBarsSteps)
{
    Place(100, 0, 0);
    view.UpdateScrollBars();
    ASSERT_TRUE(ui.horizontal.shown);
    ASSERT_TRUE(ui.vertical.shown);
    const CSheet::CScrollBars bars = Sheet().ScrollBars();
    using Code = CViewController::ScrollCode;
    view.Scroll(false, Code::PageDown);
    EXPECT_EQ(Sheet().origin.x, -bars.horizontal.bigStep);
    view.Scroll(false, Code::LineUp);
    EXPECT_EQ(Sheet().origin.x, -bars.horizontal.bigStep + bars.horizontal.smallStep);
    view.Scroll(true, Code::ThumbTrack, 50000);
    EXPECT_EQ(Sheet().origin.y, -50000);
    EXPECT_EQ(ui.vertical.position, 50000);

    // The whole sheet in view, or fitting itself to it (Z Z): no bars; bars
    // switched off: none either.
    Key('Z');
    Key('Z');
    EXPECT_FALSE(ui.horizontal.shown);
    EXPECT_FALSE(ui.vertical.shown);
    Place(100, 0, 0);
    view.UpdateScrollBars();
    ASSERT_TRUE(ui.horizontal.shown);
    Place(700, 0, 0);
    view.UpdateScrollBars();
    EXPECT_FALSE(ui.horizontal.shown);
    EXPECT_FALSE(ui.vertical.shown);
    Place(100, 0, 0);
    settings.showScrollBars = false;
    view.UpdateScrollBars();
    EXPECT_FALSE(ui.horizontal.shown);
}

TEST_F(ViewTest, TheWheelZoomsAboutThePointer)
{
    Place(100, -100000, -100000);
    CSheet& s = Sheet();
    // The point under pixel (200, 150) is (120000, 115000) of the drawing.
    view.Wheel(200, 150, 60);
    EXPECT_EQ(s.zoom, 100); // half a notch
    view.Wheel(200, 150, 60);
    EXPECT_EQ(s.zoom, 90);
    EXPECT_EQ((120000 + s.origin.x) / s.zoom, 200);
    EXPECT_EQ((115000 + s.origin.y) / s.zoom, 150);
    view.Wheel(200, 150, -240);
    EXPECT_EQ(s.zoom, 108);
    EXPECT_EQ((120000 + s.origin.x) / s.zoom, 200);
    EXPECT_EQ((115000 + s.origin.y) / s.zoom, 150);
    EXPECT_EQ(s.fitMode, 0);
}

TEST_F(ViewTest, RecomputingTheSizeFitsTheContent)
{
    doc.SetActiveSheet(doc.AddSheet(0, "", ""));
    CSheet& s = Sheet();
    s.Append(CETREC::Make(50000, 60000, 1, 0));
    s.Append(CETREC::Make(150000, 100000, 1, 1));
    ASSERT_TRUE(view.Execute(Cmd::RecomputeSize));
    EXPECT_EQ(s.sheetExtent, (CRect {0, 0, 100000, 40000}));
    EXPECT_EQ(s.zoom, 157); // 100000 / 157 = 636 pixels
    EXPECT_EQ(s.fitMode, 1);
}

TEST_F(ViewTest, KeysThatStandForCommandsRunThem)
{
    doc.AddSheet(0, "Tweede", "");
    doc.AddSheet(0, "Derde", "");
    doc.SetActiveSheet(1);
    dialogs.layer = [](const CLayerArray&, int) { return 4; };
    dialogs.pen = [](CPenValues& values) {
        values.pen = 6;
        return true;
    };
    // (key, question asked, active sheet afterwards)
    const struct {
        int key;
        const char* asked;
        int sheet;
    } cases[] = {
        {'L', "layer", 1},
        {'P', "pen", 1},
        {Key::PageUp, "", 0},
        {Key::PageUp, "", 2}, // round to the last
        {Key::PageDown, "", 0},
        {Key::PageDown, "", 1},
    };
    for (const auto& c : cases) {
        dialogs.asked.clear();
        EXPECT_TRUE(Key(c.key)) << c.key;
        EXPECT_EQ(dialogs.asked,
            *c.asked ? std::vector<std::string> {c.asked} : std::vector<std::string> {})
            << c.key;
        EXPECT_EQ(doc.activeSheet, c.sheet) << c.key;
    }
    EXPECT_EQ(doc.sheets[1]->activeLayer, 4);
    EXPECT_EQ(doc.sheets[1]->activePen, 6);
    // The window shows the lists anew after each change.
    EXPECT_EQ(ui.documentChanges, 5); // L, and each switch of sheet

    dialogs.asked.clear();
    EXPECT_FALSE(Key('L', false, true)); // Ctrl+L is no command of the view
    EXPECT_FALSE(Key(Key::PageUp, false, true));
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(doc.activeSheet, 1);
}
