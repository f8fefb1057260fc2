#include "view/tools/zoom_window.h"

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "support/view_script.h"
#include "tool_test_support.h"

namespace {

// A tool that counts the presses that reach it.
class CCountingTool : public CToolMachine {
public:
    int presses = 0;
    void Press(CToolContext&) override { ++presses; }
};

} // namespace

TEST(ZoomWindow, StepsOfTheWindow)
{
    const CViewEvent arm = Command(Cmd::ZoomWindow);
    // (events, step afterwards, zoom afterwards) at zoom 100 over a 640 x 480
    // view; the sheet's records and undo steps never change.
    const struct {
        const char* name;
        std::initializer_list<CViewEvent> events;
        int step;
        int zoom;
    } cases[] = {
        {"armed", {arm}, Step::ZoomArmed, 100},
        {"moving does not start it", {arm, Move(50, 50)}, Step::ZoomArmed, 100},
        {"pressed", {arm, Press(100, 100)}, Step::ZoomDrag, 100},
        // 200 x 150 pixels fill the view three times: zoom 100 / 3.
        {"dragged and released", {arm, Press(100, 100), Move(300, 250), Release(300, 250)},
            Step::Idle, 33},
        // Without width or height it keeps following until a release makes one.
        {"released on the spot", {arm, Press(100, 100), Release(100, 100)}, Step::ZoomDrag, 100},
        {"a second release",
            {arm, Press(100, 100), Release(100, 100), Press(420, 340), Release(420, 340)},
            Step::Idle, 50},
        {"finished while armed", {arm, Finish()}, Step::Idle, 100},
        {"finished while dragged",
            {arm, Press(100, 100), Move(300, 250), Finish(), Release(300, 250)}, Step::Idle, 100},
        {"armed again", {arm, Press(100, 100), Move(300, 250), arm}, Step::ZoomArmed, 100},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        const CViewOutcome before = bench.Outcome();
        const CViewOutcome after = bench.Run(c.events);
        EXPECT_EQ(after, (CViewOutcome {c.step, before.records, before.undoSteps})) << c.name;
        EXPECT_EQ(bench.Sheet().zoom, c.zoom) << c.name;
        EXPECT_EQ(bench.Sheet().zoomWindowActive, c.step == Step::ZoomDrag ? 1 : 0) << c.name;
        EXPECT_EQ(bench.view.Update(Cmd::ZoomWindow).checked, c.step != Step::Idle) << c.name;
    }
}

TEST(ZoomWindow, BelongsToTheSheetItWasArmedOn)
{
    CViewBench bench;
    bench.doc.AddSheet(0, "Tweede", "");
    CCountingTool select;
    bench.view.Tools().Use(ToolMode::Select, select);

    // Switched as the tool bar's list switches: the other sheet's tool has
    // the press, and the first sheet keeps its armed window.
    bench.Run({Command(Cmd::ZoomWindow)});
    bench.doc.SetActiveSheet(1);
    EXPECT_EQ(bench.Run({Press(10, 10), Release(10, 10)}).step, Step::Idle);
    EXPECT_EQ(select.presses, 1);
    bench.doc.SetActiveSheet(0);
    EXPECT_EQ(bench.Outcome().step, Step::ZoomArmed);
    EXPECT_EQ(bench.Run({Press(10, 10)}).step, Step::ZoomDrag);
    EXPECT_EQ(select.presses, 1);

    // Page Down ends it before it leaves the sheet.
    bench.Run({KeyStroke(Key::PageDown)});
    EXPECT_EQ(bench.doc.activeSheet, 1);
    EXPECT_EQ(bench.doc.sheets[0]->toolStep, Step::Idle);
    EXPECT_EQ(bench.doc.sheets[0]->zoomWindowActive, 0);
}

TEST(ZoomWindow, ChoosingAToolEndsIt)
{
    CViewBench bench;
    bench.Run({Command(Cmd::ZoomWindow), Press(100, 100), Move(200, 200)});
    bench.view.SelectTool(ToolMode::Lines);
    CSheet& s = bench.Sheet();
    EXPECT_EQ(s.toolMode, ToolMode::Lines);
    EXPECT_EQ(s.toolStep, Step::Idle);
    EXPECT_EQ(s.zoomWindowActive, 0);
    EXPECT_EQ(s.zoom, 100);
}

TEST(ZoomWindow, ALineBeingDrawnIsEndedAndKeptFirst)
{
    CViewBench bench;
    bench.Run({Command(Cmd::ToolLines)});
    SnapTo10Pixels(bench);
    const CViewOutcome o = bench.Run(
        {Click(10, 10), Move(50, 10), Click(50, 10), Move(50, 50), Command(Cmd::ZoomWindow)});
    EXPECT_EQ(Drawn(bench.Sheet(), 6), "M10,10 L50,10 L50,50");
    EXPECT_EQ(o.step, Step::ZoomArmed);
    EXPECT_EQ(o.undoSteps, 1);
    EXPECT_TRUE(o.modified);
}
