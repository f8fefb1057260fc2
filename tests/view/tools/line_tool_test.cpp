#include "view/tools/line_tool.h"

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "model/sheet_records.h"
#include "tool_test_support.h"

namespace {

std::vector<int> LayersOf(const CSheet& s)
{
    std::vector<int> out;
    for (int i = 1; i < s.recordCount; ++i)
        out.push_back(s.records[i].Layer());
    return out;
}

constexpr int kFrame = 5; // the records of the new sheet's frame

} // namespace

TEST(LineTool, StepsRecordsAndUndoSteps)
{
    const CViewEvent esc = KeyStroke(Key::Escape);
    const CViewEvent endLine = Command(Cmd::EndLine);
    // (tool, script after the tool was chosen) -> the line's records, step,
    // undo steps, modified; pixels snap to 10.
    const struct {
        const char* name;
        int tool;
        std::initializer_list<CViewEvent> events;
        std::string drawn;
        int step;
        int undoSteps;
        bool modified;
    } cases[] = {
        {"press and release", ToolMode::Lines, {Click(10, 10)}, "", Step::LineStarted, 0, false},
        {"a move inside the pressed cell", ToolMode::Lines, {Click(10, 10), Move(13, 12)}, "",
            Step::LineStarted, 0, false},
        {"first segment", ToolMode::Lines, {Click(10, 10), Move(50, 10)}, "M10,10 L50,10",
            Step::LineFollows, 0, false},
        {"back onto the start", ToolMode::Lines, {Click(10, 10), Move(50, 10), Move(10, 10)}, "",
            Step::Idle, 0, false},
        {"two segments and Esc", ToolMode::Lines,
            {Click(10, 10), Move(50, 10), Click(50, 10), Move(50, 50), esc}, "M10,10 L50,10 L50,50",
            Step::Idle, 1, true},
        {"back onto the vertex", ToolMode::Lines,
            {Click(10, 10), Move(50, 10), Click(50, 10), Move(50, 50), Move(50, 10)},
            "M10,10 L50,10", Step::LineFollows, 0, false},
        {"a vertex pressed twice", ToolMode::Lines,
            {Click(10, 10), Move(50, 10), Click(50, 10), Move(52, 13)}, "M10,10 L50,10",
            Step::VertexPressed, 0, false},
        {"Einde lijn at 400 only ends the step", ToolMode::Lines, {Click(10, 10), endLine}, "",
            Step::Idle, 0, false},
        {"Einde lijn at 401", ToolMode::Lines, {Click(10, 10), Move(50, 10), endLine},
            "M10,10 L50,10", Step::Idle, 1, true},
        {"Esc at 400 waits", ToolMode::Lines, {Click(10, 10), esc}, "", Step::LineStarted, 0,
            false},
        {"Esc at 402 waits", ToolMode::Lines, {Click(10, 10), Move(50, 10), Click(50, 10), esc},
            "M10,10 L50,10", Step::VertexPressed, 0, false},
        {"collinear straight segments merge after the first", ToolMode::Lines,
            {Click(10, 10), Move(10, 30), Click(10, 30), Move(30, 30), Click(30, 30), Move(50, 30),
                Click(50, 30), Move(70, 30), esc},
            "M10,10 L10,30 L70,30", Step::Idle, 1, true},
        {"the first segment is never merged", ToolMode::Lines,
            {Click(10, 10), Move(30, 10), Click(30, 10), Move(50, 10), esc}, "M10,10 L30,10 L50,10",
            Step::Idle, 1, true},
        {"collinear diagonal segments stay apart", ToolMode::Lines,
            {Click(10, 10), Move(30, 30), Click(30, 30), Move(50, 50), esc}, "M10,10 L30,30 L50,50",
            Step::Idle, 1, true},
        // Closed with a copy of the last record, as the files have it.
        {"a filled polygon is closed", ToolMode::FilledPolygon,
            {Click(10, 10), Move(50, 10), Click(50, 10), Move(50, 50), esc},
            "M10,10* L50,10* L50,50* L50,50*", Step::Idle, 1, true},
        {"a polygon ending on its start gets no closing record", ToolMode::FilledPolygon,
            {Click(10, 10), Move(50, 10), Click(50, 10), Move(50, 50), Click(50, 50), Move(10, 50),
                Click(10, 50), Move(10, 10), esc},
            "M10,10* L50,10* L50,50* L10,50* L10,10*", Step::Idle, 1, true},
        {"right angles: horizontal leg first", ToolMode::Lines90, {Click(10, 10), Move(50, 30)},
            "M10,10 L50,10 L50,30", Step::LineFollows, 0, false},
        {"right angles: exactly diagonal goes vertical first", ToolMode::Lines90,
            {Click(10, 10), Move(30, 30)}, "M10,10 L10,30 L30,30", Step::LineFollows, 0, false},
        {"right angles: plumb under the start turns the legs", ToolMode::Lines90,
            {Click(10, 10), Move(50, 30), Move(10, 60)}, "M10,10 L10,60 L10,60", Step::LineFollows,
            0, false},
        {"right angles: the zero-length leg goes on Esc", ToolMode::Lines90,
            {Click(10, 10), Move(50, 30), Move(10, 60), esc}, "M10,10 L10,60", Step::Idle, 1, true},
        {"right angles: a leg pair taken back", ToolMode::Lines90,
            {Click(10, 10), Move(50, 30), Click(50, 30), Move(80, 60), Move(50, 30)},
            "M10,10 L50,10 L50,30", Step::LineFollows, 0, false},
        {"right angles: back onto the start", ToolMode::Lines90,
            {Click(10, 10), Move(50, 30), Move(10, 10)}, "", Step::Idle, 0, false},
        {"right angles: a jitter on the pressed vertex", ToolMode::Lines90,
            {Click(10, 10), Move(50, 30), Click(50, 30), Move(52, 31)}, "M10,10 L50,10 L50,30",
            Step::VertexPressed, 0, false},
        {"right angles: the next pair", ToolMode::Lines90,
            {Click(10, 10), Move(50, 30), Click(50, 30), Move(50, 80), esc}, "M10,10 L50,10 L50,80",
            Step::Idle, 1, true},
        {"right angles, filled", ToolMode::FilledPolygon90,
            {Click(10, 10), Move(50, 30), Click(50, 30), Move(10, 60), esc},
            "M10,10* L50,10* L50,60* L10,60* L10,60*", Step::Idle, 1, true},
        {"Space after the arrow keys", ToolMode::Lines,
            {Move(10, 10), KeyStroke(Key::Right), KeyStroke(Key::Right), KeyStroke(Key::Space),
                KeyStroke(Key::Down), KeyStroke(Key::Down), esc},
            "M30,10 L30,30", Step::Idle, 1, true},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        bench.Run({Command(Cmd::ToolLines)}); // the pen question comes once
        SnapTo10Pixels(bench);
        bench.Sheet().toolMode = c.tool;
        const CViewOutcome o = bench.Run(c.events);
        EXPECT_EQ(Drawn(bench.Sheet(), kFrame + 1), c.drawn) << c.name;
        EXPECT_EQ(o.step, c.step) << c.name;
        EXPECT_EQ(o.undoSteps, c.undoSteps) << c.name;
        EXPECT_EQ(o.modified, c.modified) << c.name;
        EXPECT_EQ(bench.Sheet().toolMode, c.tool) << c.name; // the tool stays
    }
}

TEST(LineTool, TheSheetImageLeavesOutTheLineBeingDrawn)
{
    CViewBench bench;
    bench.Run({Command(Cmd::ToolLines), Click(10, 10), Move(50, 10), Click(50, 10), Move(50, 40)});
    CRecordingCanvas sheet;
    bench.view.DrawOffscreen(sheet);
    EXPECT_EQ(sheet.Only("polyline 10,10").size(), 0u);
    // The screen shows it on top, in NOT-XOR.
    CRecordingCanvas screen;
    bench.view.DrawOverlays(screen);
    EXPECT_EQ(screen.Only("polyline 10,10 50,10 50,40").size(), 1u);
    EXPECT_EQ(screen.Only("rop notxor").size(), 1u);

    // Finished, it is part of the sheet.
    bench.Run({KeyStroke(Key::Escape)});
    CRecordingCanvas after;
    bench.view.DrawOffscreen(after);
    EXPECT_EQ(after.Only("polyline 10,10 50,10 50,40").size(), 1u);
}

TEST(LineTool, AMoveRedrawsOnlyTheLineBeingDrawn)
{
    CViewBench bench;
    bench.Run({Command(Cmd::ToolLines), Click(10, 10), Move(50, 10)});
    bench.ui.screen.calls.clear();
    const int draws = bench.ui.invalidated;
    bench.Run({Move(60, 20)});
    EXPECT_EQ(bench.ui.invalidated, draws); // no complete draw
    // Erased where it was, drawn where it is.
    EXPECT_EQ(bench.ui.screen.Only("polyline").size(), 2u);
    EXPECT_EQ(bench.ui.screen.Only("polyline 10,10 50,10").size(), 1u);
    EXPECT_EQ(bench.ui.screen.Only("polyline 10,10 60,20").size(), 1u);
}

TEST(LineTool, ALayerChosenWhileTheLineFollowsTakesTheLineAlong)
{
    // An earlier line on layer 1, then the line being drawn on layer 2.
    const std::vector<CETREC> records
        = Figure({{0, 0}, {1000, 0}}, 1) + Figure({{0, 5000}, {2000, 5000}, {2000, 8000}}, 2);
    // (tool, step, layers of the records after layer 6 was chosen with L)
    const struct {
        int tool, step;
        std::vector<int> layers;
    } cases[] = {
        {ToolMode::Lines, Step::LineFollows, {1, 1, 6, 6, 6}},
        {ToolMode::Lines90, Step::LineFollows, {1, 1, 6, 6, 6}},
        {ToolMode::FilledPolygon, Step::LineFollows, {1, 1, 6, 6, 6}},
        {ToolMode::FilledPolygon90, Step::LineFollows, {1, 1, 6, 6, 6}},
        {ToolMode::Lines, Step::VertexPressed, {1, 1, 2, 2, 2}},
        {ToolMode::Lines, Step::Idle, {1, 1, 2, 2, 2}},
        {ToolMode::Select, Step::LineFollows, {1, 1, 2, 2, 2}},
        {ToolMode::Rectangles, Step::LineFollows, {1, 1, 2, 2, 2}},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        bench.doc.sheets[0] = SheetWith(records);
        CSheet& s = bench.Sheet();
        s.toolMode = c.tool;
        s.toolStep = c.step;
        bench.dialogs.layer = [](const CLayerArray&, int) { return 6; };
        const int draws = bench.ui.invalidated;
        bench.Run({KeyStroke('L')});
        EXPECT_EQ(s.activeLayer, 6);
        EXPECT_EQ(LayersOf(s), c.layers) << c.tool << " step " << c.step;
        // A line that took the layer is drawn anew in its new colour.
        EXPECT_EQ(bench.ui.invalidated > draws, c.layers[2] == 6) << c.tool << " step " << c.step;
    }
}
