#include <gtest/gtest.h>

#include "app/command_table.h"
#include "support/view_script.h"

TEST(ChoiceCommands, TheLayerChoiceTakesOnlyLayersOneToFifteen)
{
    // (answer, active layer afterwards) from layer 1; no answer is a cancel.
    const struct {
        std::optional<int> answer;
        int active;
    } cases[] = {{7, 7}, {15, 15}, {0, 1}, {16, 1}, {std::nullopt, 1}};
    for (const auto& c : cases) {
        CViewBench bench;
        bench.Sheet().layers.SetName(7, "Kabels");
        bench.dialogs.layer = [&c](const CLayerArray& layers, int active) {
            EXPECT_EQ(active, 1);
            EXPECT_EQ(layers.Name(7), "Kabels");
            return c.answer;
        };
        bench.Run({Command(Cmd::ChooseLayer)});
        EXPECT_EQ(bench.Sheet().activeLayer, c.active) << c.answer.value_or(-1);
        EXPECT_EQ(bench.doc.layerListSelection, c.active - 1);
        EXPECT_FALSE(bench.doc.modified);
    }
}

TEST(ChoiceCommands, ChangedPenWidthsAreWorkToSave)
{
    CViewBench bench;
    bench.Sheet().activePen = 2;
    const auto widths = bench.Sheet().penWidths;

    // Another pen alone is no change of the project.
    bench.dialogs.pen = [](CPenValues& v) {
        EXPECT_EQ(v.pen, 2);
        v.pen = 5;
        return true;
    };
    bench.Run({KeyStroke('P')});
    EXPECT_EQ(bench.Sheet().activePen, 5);
    EXPECT_EQ(bench.Sheet().penWidths, widths);
    EXPECT_FALSE(bench.doc.modified);

    bench.dialogs.pen = [](CPenValues& v) {
        v.widths[3] = 350;
        return true;
    };
    const int shown = bench.ui.documentChanges;
    bench.Run({KeyStroke('P')});
    EXPECT_EQ(bench.Sheet().penWidths[3], 350);
    EXPECT_TRUE(bench.doc.modified);
    EXPECT_GT(bench.ui.documentChanges, shown); // the title shows it

    // Cancelled, nothing changes; a pen of 0 asks nothing.
    bench.dialogs.pen = [](CPenValues& v) {
        v.pen = 1;
        v.widths[3] = 1;
        return false;
    };
    bench.Run({KeyStroke('P')});
    EXPECT_EQ(bench.Sheet().activePen, 5);
    EXPECT_EQ(bench.Sheet().penWidths[3], 350);
    bench.Sheet().activePen = 0;
    bench.dialogs.asked.clear();
    bench.Run({KeyStroke('P')});
    EXPECT_TRUE(bench.dialogs.asked.empty());
}

TEST(ChoiceCommands, TheLayerTableAndTheFont)
{
    CViewBench bench;
    bench.dialogs.layerTable = [](CLayerTable& t) {
        EXPECT_EQ(t.uses[1], 5); // the frame's lines, counted before asking
        t.names[2] = "Voeding";
        return true;
    };
    bench.Run({Command(Cmd::LayerTable)});
    EXPECT_EQ(bench.Sheet().layers.Name(2), "Voeding");
    EXPECT_TRUE(bench.doc.modified);
    EXPECT_EQ(bench.doc.layerList.at(1), "Voeding");

    // (answer, font of new texts afterwards) from font 0 of eight.
    const struct {
        std::optional<int> answer;
        int font;
    } cases[] = {{3, 3}, {8, 3}, {-1, 3}, {std::nullopt, 3}, {0, 0}};
    for (const auto& c : cases) {
        bench.dialogs.font = [&c](const std::vector<std::string>& faces, int) {
            EXPECT_EQ(faces.size(), 8u);
            return c.answer;
        };
        bench.Run({Command(Cmd::ChooseFont)});
        EXPECT_EQ(bench.Sheet().textDefaults.fontNumber, c.font) << c.answer.value_or(-2);
    }
}
