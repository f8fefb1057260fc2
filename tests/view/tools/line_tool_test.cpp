#include "view/tools/line_tool.h"

#include <gtest/gtest.h>

#include "model/sheet_records.h"
#include "support/view_script.h"

namespace {

std::vector<int> LayersOf(const CSheet& s)
{
    std::vector<int> out;
    for (int i = 1; i < s.recordCount; ++i)
        out.push_back(s.records[i].Layer());
    return out;
}

} // namespace

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
        bench.Run({KeyStroke('L')});
        EXPECT_EQ(s.activeLayer, 6);
        EXPECT_EQ(LayersOf(s), c.layers) << c.tool << " step " << c.step;
    }
}
