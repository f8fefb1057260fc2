#include "view/tools/placement_tool.h"

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "model/sheet_records.h"
#include "tool_test_support.h"

namespace {

constexpr int kFrame = 5; // the records of the new sheet's frame

// The offset of the buffer's first record from the cursor, in micrometres.
CPoint GhostOffset(const CSheet& s)
{
    return {s.placement[0].x - s.cursor.x, s.placement[0].y - s.cursor.y};
}

} // namespace

TEST(PlacementTool, EachPressPlacesANewBlock)
{
    const struct {
        const char* name;
        int command;
        std::initializer_list<CViewEvent> events;
        std::string drawn;
        int undoSteps;
    } cases[] = {
        {"a rectangle placed twice", Cmd::ToolRectangles,
            {Press(10, 10), Release(70, 60), Click(70, 60), Click(100, 100)},
            "M10,10#2 L70,10#2 L70,60#2 L10,60#2 L10,10#2 "
            "M40,50#3 L100,50#3 L100,100#3 L40,100#3 L40,50#3",
            2},
        {"a filled rectangle closed and filled", Cmd::ToolFilledRectangle,
            {Press(10, 10), Release(70, 60), Click(70, 60)},
            "M10,10*#2 L70,10*#2 L70,60*#2 L10,60*#2 L10,10*#2", 1},
        {"nothing placed before a press", Cmd::ToolRectangles, {Press(10, 10), Release(70, 60)}, "",
            0},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        bench.Run({Command(c.command)});
        const CViewOutcome o = bench.Run(c.events);
        EXPECT_EQ(Drawn(bench.Sheet(), kFrame + 1), c.drawn) << c.name;
        EXPECT_EQ(o,
            (CViewOutcome {
                Step::Placing, bench.Sheet().recordCount - 1, c.undoSteps, c.undoSteps > 0}))
            << c.name;
    }
}

TEST(PlacementTool, AFilledEllipseIsClosedAndFilledWithThePatternInForce)
{
    CViewBench bench;
    bench.Run({Command(Cmd::ToolFilledEllipse), Press(10, 10), Release(70, 70),
        Command(Cmd::FillPatterns[3]), Click(70, 70)});
    const CSheet& s = bench.Sheet();
    ASSERT_GT(s.recordCount, kFrame + 3);
    const CETREC& first = s.records[kFrame + 1];
    const CETREC& last = s.records[s.recordCount - 1];
    EXPECT_EQ(first.Pen(), 0);
    EXPECT_EQ(last.Pen(), 4);
    EXPECT_TRUE(first.IsFilled() && last.IsFilled());
    EXPECT_EQ(At(first), At(last));
    EXPECT_EQ(s.undoPosition, 1);
}

TEST(PlacementTool, CopyPlacementPlacesCopiesUntilEsc)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    // The frame selected: its five records follow the pointer.
    for (int i = 1; i <= kFrame; ++i)
        s.SelectRecord(i);
    EXPECT_TRUE(bench.view.Update(Cmd::CopySelection).enabled);
    bench.Run({Move(0, 0), Command(Cmd::CopySelection)});
    EXPECT_EQ(s.toolMode, ToolMode::CopyPlacement);
    EXPECT_EQ(s.toolStep, Step::Placing);
    EXPECT_EQ(s.selectedCount, 0);
    EXPECT_EQ(s.placementCount, kFrame);
    EXPECT_EQ(GhostOffset(s), (CPoint {0, 0})); // on the original until the pointer moves

    bench.Run({Click(10, 10), Click(20, 20), Click(30, 30)});
    EXPECT_EQ(s.recordCount - 1, 4 * kFrame);
    EXPECT_EQ(s.records[kFrame + 1].Block(), 2);
    EXPECT_EQ(s.records[3 * kFrame + 1].Block(), 4);
    EXPECT_EQ(s.records[3 * kFrame + 1].x, 3000);
    EXPECT_EQ(s.undoPosition, 3);

    bench.Run({KeyStroke(Key::Escape)});
    EXPECT_EQ(s.toolMode, ToolMode::Select);
    EXPECT_EQ(s.toolStep, Step::Idle);
    EXPECT_EQ(s.placementCount, 0);
    EXPECT_FALSE(bench.view.Update(Cmd::CopySelection).enabled);
}

TEST(PlacementTool, APressWithAnEmptyBufferDoesNothing)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    s.toolMode = ToolMode::Rectangles;
    s.toolStep = Step::Placing;
    const int draws = bench.ui.invalidated;
    EXPECT_EQ(bench.Run({Click(10, 10)}), (CViewOutcome {Step::Placing, kFrame, 0, false}));
    EXPECT_EQ(bench.ui.invalidated, draws);
}

TEST(PlacementTool, TheGhostKeepsItsOffsetFromThePointer)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    bench.Run({Command(Cmd::ToolRectangles), Press(10, 10), Release(70, 60)});
    bench.Run({Move(100, 100)});
    const CPoint offset = GhostOffset(s);
    EXPECT_EQ(offset, (CPoint {-6000, -5000}));

    // A wheel zoom moves the point under the pointer; the ghost follows.
    bench.view.Wheel(200, 150, 120);
    EXPECT_EQ(GhostOffset(s), offset);
    bench.Run({Move(210, 160)});
    EXPECT_EQ(GhostOffset(s), offset);

    // An auto-panned move (pointer captured near the edge) moves everything.
    bench.view.KeyDown({Key::Space, false, false});
    bench.Run({Move(636, 300)});
    bench.view.KeyUp({Key::Space, false, false});
    bench.Run({Move(300, 300)});
    EXPECT_EQ(GhostOffset(s), offset);
}

TEST(PlacementTool, CentreOnCursorAndTheGhostOnTheScreen)
{
    CViewBench bench;
    CSheet& s = bench.Sheet();
    EXPECT_FALSE(bench.view.Update(Cmd::CentreOnCursor).enabled);
    bench.Run({Command(Cmd::ToolRectangles), Press(10, 10), Release(70, 60)});
    EXPECT_TRUE(bench.view.Update(Cmd::CentreOnCursor).enabled);
    bench.Run({Move(100, 100)});
    bench.ui.screen.calls.clear();
    bench.Run({Command(Cmd::CentreOnCursor)});
    // The 60 by 50 pixel box has its middle on the cursor.
    EXPECT_EQ(At(s.placement[0]), (CPoint {7000, 7500}));
    EXPECT_EQ(bench.ui.screen.Only("rop xor").size(), 2u); // erased, drawn

    // The ghost is never in the sheet image; the overlays draw it once.
    CRecordingCanvas sheet;
    bench.view.DrawOffscreen(sheet);
    EXPECT_TRUE(sheet.Only("rop xor").empty());
    CRecordingCanvas overlays;
    bench.view.DrawOverlays(overlays);
    EXPECT_EQ(overlays.Only("rop xor").size(), 1u);

    bench.Run({Command(Cmd::End)});
    EXPECT_EQ(s.toolMode, ToolMode::Select);
    CRecordingCanvas after;
    bench.view.DrawOverlays(after);
    EXPECT_TRUE(after.Only("rop xor").empty());
}

TEST(PlacementTool, PastTheHighestBlockTheLowestFreeNumber)
{
    CViewBench bench;
    bench.doc.sheets[0] = SheetWith(Figure({{0, 0}, {1000, 0}}, 1, 1, CETREC::kMaxBlock)
        + Figure({{0, 1000}, {1000, 1000}}, 1, 1, 1));
    PlaceView(bench.Sheet(), 100, 0, 0);
    bench.Sheet().clientRect = {0, 0, 640, 480};
    bench.Run({Command(Cmd::ToolRectangles), Press(10, 10), Release(70, 60), Click(70, 60)});
    EXPECT_EQ(bench.Sheet().records[5].Block(), 2);
}
