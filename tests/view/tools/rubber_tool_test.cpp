#include "view/tools/rubber_tool.h"

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "tool_test_support.h"

TEST(RubberTool, TheBandBuildsTheFigureOnceItIsOneSnapStepLarge)
{
    // (tool command, script) -> step, placement records, the band's anchor
    // and corner in pixels, the message pane; snapping to 10 pixels.
    const struct {
        const char* name;
        int command;
        std::initializer_list<CViewEvent> events;
        int step;
        int buffer;
        CRect band;
        const char* prompt;
    } cases[] = {
        {"rectangle", Cmd::ToolRectangles, {Press(10, 10), Move(60, 40), Release(60, 40)},
            Step::Placing, 5, {10, 10, 60, 40}, "Place rectangle"},
        {"filled rectangle", Cmd::ToolFilledRectangle,
            {Press(10, 10), Move(60, 40), Release(60, 40)}, Step::Placing, 5, {10, 10, 60, 40},
            "Place filled rectangle"},
        {"ellipse", Cmd::ToolEllipses, {Press(10, 10), Release(60, 40)}, Step::Placing, 0,
            {10, 10, 60, 40}, "Place ellipse"},
        {"filled ellipse", Cmd::ToolFilledEllipse, {Press(10, 10), Release(60, 40)}, Step::Placing,
            0, {10, 10, 60, 40}, "Place ellipse"},
        {"too narrow", Cmd::ToolRectangles, {Press(10, 10), Release(14, 40)}, Step::Rubber, 0,
            {10, 10, 10, 40}, ""},
        {"too narrow, then wide enough", Cmd::ToolRectangles,
            {Press(10, 10), Release(14, 40), Move(30, 40), Release(30, 40)}, Step::Placing, 5,
            {10, 10, 30, 40}, "Place rectangle"},
        {"too low", Cmd::ToolEllipses, {Press(10, 10), Release(60, 13)}, Step::Rubber, 0,
            {10, 10, 60, 10}, ""},
        {"dragged up and left", Cmd::ToolRectangles, {Press(60, 40), Release(10, 10)},
            Step::Placing, 5, {10, 10, 60, 40}, "Place rectangle"},
        {"Esc takes the band away", Cmd::ToolRectangles,
            {Press(10, 10), Move(60, 40), KeyStroke(Key::Escape)}, Step::Idle, 0, {10, 10, 60, 40},
            ""},
        {"Space after the arrow keys anchors at the cursor", Cmd::ToolRectangles,
            {Move(10, 10), KeyStroke(Key::Right), KeyStroke(Key::Right), KeyStroke(Key::Space),
                KeyStroke(Key::Down), KeyStroke(Key::Down), Release(50, 30)},
            Step::Placing, 5, {30, 10, 50, 30}, "Place rectangle"},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        bench.Run({Command(c.command)});
        SnapTo10Pixels(bench);
        bench.ui.status[0].clear();
        const CViewOutcome o = bench.Run(c.events);
        const CSheet& s = bench.Sheet();
        EXPECT_EQ(o, (CViewOutcome {c.step, 5, 0, false})) << c.name;
        if (c.buffer > 0)
            EXPECT_EQ(s.placementCount, c.buffer) << c.name;
        EXPECT_EQ(s.placementCount > 0, c.step == Step::Placing) << c.name;
        const CRect band {s.rubberRect.left / 100, s.rubberRect.top / 100, s.rubberRect.right / 100,
            s.rubberRect.bottom / 100};
        EXPECT_EQ(band, c.band) << c.name;
        EXPECT_EQ(s.rubberActive != 0, c.step == Step::Rubber) << c.name;
        if (c.step == Step::Placing)
            EXPECT_EQ(bench.ui.status[0], c.prompt) << c.name;
    }
}

TEST(RubberTool, AnEllipseTooSmallToBuildKeepsTheBand)
{
    CViewBench bench;
    bench.Run({Command(Cmd::ToolEllipses)});
    // At zoom 2 a pixel is 2 micrometres; the snap step is 10.
    bench.Place(2, 0, 0);
    CGrid& g = bench.Sheet().grids.grids[CGridArr::kDraw];
    g.snapX = g.snapY = 10;
    // 20 by 20 micrometres: a semi-axis of 10 is below 16.
    EXPECT_EQ(bench.Run({Press(10, 10), Release(20, 20)}).step, Step::Rubber);
    EXPECT_EQ(bench.Sheet().placementCount, 0);
    EXPECT_EQ(bench.Sheet().rubberActive, 1);
    EXPECT_EQ(bench.Run({Move(40, 40), Release(40, 40)}).step, Step::Placing);
    EXPECT_GT(bench.Sheet().placementCount, 0);
    EXPECT_EQ(bench.Sheet().undoPosition, 0); // building it is no undo step
}

TEST(RubberTool, TheBandFollowsInXorOnTheScreen)
{
    CViewBench bench;
    bench.Run({Command(Cmd::ToolRectangles), Press(10, 10), Move(60, 40)});
    bench.ui.screen.calls.clear();
    const int draws = bench.ui.invalidated;
    bench.Run({Move(70, 50)});
    EXPECT_EQ(bench.ui.invalidated, draws);
    // The old band inverted back, the new one inverted.
    EXPECT_EQ(bench.ui.screen.Only("rop not").size(), 2u);
    CRecordingCanvas overlays;
    bench.view.DrawOverlays(overlays);
    EXPECT_EQ(overlays.Only("rop not").size(), 1u);
}
