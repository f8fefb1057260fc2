#include <gtest/gtest.h>

#include "app/command_table.h"
#include "tools/tool_test_support.h"

namespace {

constexpr int kFrame = 5; // the records of the new sheet's frame

} // namespace

TEST(ToolCommands, ChoosingAToolAsksForThePenWhereItDraws)
{
    // (tool before, command) -> whether the pen was asked for.
    const struct {
        int before;
        int command;
        bool asks;
    } cases[] = {
        {ToolMode::Select, Cmd::ToolLines, true},
        {ToolMode::Select, Cmd::ToolFilledEllipse, true},
        {ToolMode::Lines, Cmd::ToolLines, false}, // the same tool again
        {ToolMode::Text, Cmd::ToolLines, false}, // leaving the stroke text
        {ToolMode::Select, Cmd::ToolJunctions, false},
        {ToolMode::Lines, Cmd::SelectTool, false},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        bench.Sheet().toolMode = c.before;
        bench.dialogs.pen = [](CPenValues& v) {
            v.pen = 5;
            return true;
        };
        bench.Run({Command(c.command)});
        EXPECT_EQ(!bench.dialogs.asked.empty(), c.asks) << c.command;
        EXPECT_EQ(bench.Sheet().activePen, c.asks ? 5 : 1) << c.command;
        EXPECT_TRUE(bench.view.Update(c.command).checked) << c.command;
    }
    // Cancel keeps the pen; the tool changes all the same.
    CViewBench bench;
    bench.Run({Command(Cmd::ToolRectangles)});
    EXPECT_EQ(bench.dialogs.asked, std::vector<std::string> {"pen"});
    EXPECT_EQ(bench.Sheet().activePen, 1);
    EXPECT_EQ(bench.Sheet().toolMode, ToolMode::Rectangles);
}

TEST(ToolCommands, EnablingAndTicks)
{
    CViewBench bench;
    const auto enabled = [&](int id) { return bench.view.Update(id).enabled; };
    EXPECT_FALSE(enabled(Cmd::End)); // in the Select tool
    EXPECT_FALSE(enabled(Cmd::FillPatterns[0]));
    EXPECT_FALSE(enabled(Cmd::EndLine));
    EXPECT_FALSE(enabled(Cmd::Undo));
    EXPECT_FALSE(enabled(Cmd::Redo));

    bench.Run({Command(Cmd::ToolFilledPolygon)});
    EXPECT_TRUE(enabled(Cmd::End));
    EXPECT_TRUE(enabled(Cmd::FillPatterns[6]));
    EXPECT_TRUE(bench.view.Update(Cmd::FillPatterns[0]).checked);
    bench.Run({Command(Cmd::FillPatterns[2])});
    EXPECT_EQ(bench.Sheet().fillPattern, 3);
    EXPECT_FALSE(bench.view.Update(Cmd::FillPatterns[0]).checked);
    EXPECT_TRUE(bench.view.Update(Cmd::FillPatterns[2]).checked);

    bench.Run({Click(10, 10)});
    EXPECT_TRUE(enabled(Cmd::EndLine)); // 400
    bench.Run({Move(50, 10)});
    EXPECT_TRUE(enabled(Cmd::EndLine)); // 401
    EXPECT_TRUE(enabled(Cmd::Undo)); // the line in progress
    EXPECT_FALSE(enabled(Cmd::Redo));

    bench.Run({Command(Cmd::ToolLines)});
    EXPECT_FALSE(enabled(Cmd::FillPatterns[2]));
    EXPECT_TRUE(enabled(Cmd::Undo));

    // Without a sheet nothing is enabled.
    bench.doc.DeleteActiveSheet();
    for (int id : {Cmd::ToolLines, Cmd::End, Cmd::Undo, Cmd::SelectTool})
        EXPECT_FALSE(enabled(id)) << id;
}

TEST(ToolCommands, UndoAndRedo)
{
    const CViewEvent undo = Command(Cmd::Undo);
    const CViewEvent redo = Command(Cmd::Redo);
    // (script after choosing the line tool) -> records after the frame, undo
    // steps, whether Redo is possible, the tool.
    const struct {
        const char* name;
        std::initializer_list<CViewEvent> events;
        int records;
        int undoSteps;
        bool canRedo;
    } cases[] = {
        {"a line", {Click(10, 10), Move(50, 10), KeyStroke(Key::Escape)}, 2, 1, false},
        {"a line undone", {Click(10, 10), Move(50, 10), KeyStroke(Key::Escape), undo}, 0, 0, true},
        {"a line undone and redone",
            {Click(10, 10), Move(50, 10), KeyStroke(Key::Escape), undo, redo}, 2, 1, false},
        {"undo in the middle of a line takes it back",
            {Click(10, 10), Move(50, 10), Click(50, 10), Move(50, 50), undo}, 0, 0, true},
        {"two lines, two undo steps",
            {Click(10, 10), Move(50, 10), KeyStroke(Key::Escape), Click(10, 30), Move(50, 30),
                KeyStroke(Key::Escape), undo},
            2, 1, true},
        {"a new change after an undo ends redo",
            {Click(10, 10), Move(50, 10), KeyStroke(Key::Escape), undo, Command(Cmd::ToolLines),
                Click(10, 30), Move(50, 30), KeyStroke(Key::Escape)},
            2, 1, false},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        bench.Run({Command(Cmd::ToolLines)});
        const CViewOutcome o = bench.Run(c.events);
        EXPECT_EQ(o.records - kFrame, c.records) << c.name;
        EXPECT_EQ(o.undoSteps, c.undoSteps) << c.name;
        EXPECT_EQ(bench.Sheet().CanRedo(), c.canRedo) << c.name;
        EXPECT_TRUE(o.modified) << c.name;
    }
    // Undo returns to the Select tool, without any selection.
    CViewBench bench;
    bench.Run({Command(Cmd::ToolLines), Click(10, 10), Move(50, 10), KeyStroke(Key::Escape)});
    bench.Sheet().SelectRecord(1);
    bench.Run({undo});
    EXPECT_EQ(bench.Sheet().toolMode, ToolMode::Select);
    EXPECT_EQ(bench.Sheet().selectedCount, 0);
}

TEST(ToolCommands, FinishingEndsTheLineBeforeASheetSwitch)
{
    CViewBench bench;
    bench.doc.AddDefaultSheet();
    bench.doc.SetActiveSheet(0);
    bench.Run({Command(Cmd::ToolLines), Click(10, 10), Move(50, 10), KeyStroke(Key::PageDown)});
    const CSheet& first = *bench.doc.sheets[0];
    EXPECT_EQ(first.toolStep, Step::Idle);
    EXPECT_EQ(first.recordCount - 1, kFrame + 2);
    EXPECT_EQ(first.undoPosition, 1);
    EXPECT_EQ(bench.doc.activeSheet, 1);
}
