#include "view/tools/junction_tool.h"

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "tool_test_support.h"

TEST(JunctionTool, APressAddsOrRemovesTheDotWithinFourPixels)
{
    // (zoom, pixel of the second press) -> whether it took the first dot away.
    const struct {
        int zoom;
        int second;
        bool removed;
    } cases[] = {
        {512, 104, true},
        {512, 105, false},
        {2000, 96, true},
        {2000, 95, false},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        bench.Run({Command(Cmd::ToolJunctions)});
        bench.Place(c.zoom, 0, 0);
        const CViewOutcome first = bench.Run({Click(100, 100)});
        EXPECT_EQ(first, (CViewOutcome {Step::Idle, 6, 1, true}));
        EXPECT_TRUE(bench.Sheet().records[6].IsJunction());
        EXPECT_EQ(bench.Sheet().records[6].x, 100 * c.zoom);

        bench.doc.modified = false;
        const CViewOutcome second = bench.Run({Click(c.second, 100)});
        EXPECT_EQ(second, (CViewOutcome {Step::Idle, c.removed ? 5 : 7, 2, true}))
            << "zoom " << c.zoom << ", pixel " << c.second;
        // And back again.
        if (c.removed)
            EXPECT_EQ(bench.Run({Click(100, 100)}).records, 6);
    }
}

TEST(JunctionTool, AskNoPenAndReleaseToReady)
{
    CViewBench bench;
    bench.Run({Command(Cmd::ToolJunctions), Click(50, 50)});
    EXPECT_TRUE(bench.dialogs.asked.empty());
    EXPECT_EQ(bench.ui.status[0].substr(0, 5), "Ready");
    EXPECT_EQ(bench.Sheet().toolMode, ToolMode::Junctions);
}
