#include "view/tools/symbol_tool.h"

#include <fstream>

#include <gtest/gtest.h>

#include "app/command_table.h"
#include "support/temp_folder.h"
#include "symbols/symbol_file.h"
#include "tool_test_support.h"

namespace {

CSym SymRecord(int16_t x, int16_t y, int pen)
{
    return {0, static_cast<uint16_t>((1 << 3) | pen), x, y};
}

std::filesystem::path WriteSymbol(
    const std::filesystem::path& folder, const char* name, const std::vector<CSym>& records)
{
    const auto path = folder / name;
    std::ofstream out(path, std::ios::binary);
    const std::vector<uint8_t> bytes = EncodeSymbolBytes(records);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::vector<CPoint> GhostPoints(const CSheet& s)
{
    std::vector<CPoint> out;
    for (int k = 0; k < s.placementCount; ++k)
        out.push_back(At(s.placement[k]));
    return out;
}

} // namespace

TEST(SymbolTool, TheBrowsersAnswer)
{
    CTempFolder folder;
    const auto good = WriteSymbol(
        folder.path, "WCD.sym", {SymRecord(0, 0, 0), SymRecord(100, 0, 1), SymRecord(100, 50, 1)});
    const auto empty = WriteSymbol(folder.path, "Leeg.sym", {});
    const auto gone = folder.path / "Weg.sym"; // removed since the browser listed it
    // (answer) -> tool, step, message
    const struct {
        const char* name;
        std::optional<std::filesystem::path> answer;
        int tool;
        int step;
        bool message;
    } cases[] = {
        {"a symbol", good, ToolMode::Symbols, Step::Placing, false},
        {"cancel", std::nullopt, ToolMode::Select, Step::Idle, false},
        {"an empty file", empty, ToolMode::Select, Step::Idle, false},
        {"an unreadable file", gone, ToolMode::Select, Step::Idle, true},
    };
    for (const auto& c : cases) {
        CViewBench bench;
        bench.dialogs.symbol = [&](const std::filesystem::path&) { return c.answer; };
        bench.Run({Move(100, 100), Command(Cmd::ToolSymbols)});
        EXPECT_EQ(bench.Sheet().toolMode, c.tool) << c.name;
        EXPECT_EQ(bench.Sheet().toolStep, c.step) << c.name;
        ASSERT_EQ(bench.ui.messages.size(), c.message ? 1u : 0u) << c.name;
        if (c.message)
            EXPECT_EQ(bench.ui.messages[0], "Het symbool Weg.sym kan niet worden gelezen.");
    }
}

TEST(SymbolTool, APressPlacesABlockAndF2TurnsTheGhost)
{
    CTempFolder folder;
    const auto path = WriteSymbol(
        folder.path, "WCD.sym", {SymRecord(0, 0, 0), SymRecord(100, 0, 1), SymRecord(100, 50, 1)});
    CViewBench bench;
    CSheet& s = bench.Sheet();
    bench.dialogs.symbol = [&](const std::filesystem::path&) { return path; };
    bench.Run({Move(100, 100), Command(Cmd::ToolSymbols)});
    const std::vector<CPoint> original = GhostPoints(s);
    ASSERT_EQ(original.size(), 3u);

    bench.Run({KeyStroke(Key::F2)});
    const std::vector<CPoint> turned = GhostPoints(s);
    // A quarter turn about the cursor, counter-clockwise on the screen.
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(turned[k].x - s.cursor.x, original[k].y - s.cursor.y);
        EXPECT_EQ(turned[k].y - s.cursor.y, -(original[k].x - s.cursor.x));
    }
    bench.Run({KeyStroke(Key::F2), KeyStroke(Key::F2), KeyStroke(Key::F2)});
    EXPECT_EQ(GhostPoints(s), original);

    bench.view.KeyDown({Key::F2, false, true});
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(GhostPoints(s)[k].x, original[k].x);
        EXPECT_EQ(GhostPoints(s)[k].y - s.cursor.y, -(original[k].y - s.cursor.y));
    }

    bench.Run({Click(100, 100)});
    EXPECT_EQ(s.recordCount - 1, 5 + 3);
    EXPECT_EQ(s.records[6].Block(), 2);
    EXPECT_EQ(s.toolStep, Step::Placing);
    bench.Run({KeyStroke(Key::Escape)});
    EXPECT_EQ(s.toolMode, ToolMode::Select);
}
