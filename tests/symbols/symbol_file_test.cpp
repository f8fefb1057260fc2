#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "model/file_io.h"
#include "model/sheet.h"
#include "model/sheet_records.h"
#include "support/bytes.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"
#include "symbols/symbol_file.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> FileBytes(const fs::path& path)
{
    return ReadFileBytes(path).value_or(std::vector<uint8_t> {0xEE});
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<CETREC> Placement(const CSheet& s)
{
    return {s.placement.begin(), s.placement.begin() + s.placementCount};
}

CSym Sym(uint16_t block, uint16_t style, int16_t x, int16_t y)
{
    return {block, style, x, y};
}

} // namespace

TEST(SymbolFile, SavesTheSelectedRecordsRelativeToTheCursor)
{
    CTempFolder tmp;
    // Block 3 filled on layer 2, a line of block 7 on layer 9, a junction.
    auto sheet = SheetWith(Figure({{10000, 20000}, {9850, 19950}}, 2, 3, 3)
        + Figure({{0, 0}, {32767 * 100 + 10000, -3000}}, 9, 1, 7)
        + std::vector {CETREC::Junction(10250, 20099, 4)});
    sheet->records[1].SetFilled(true);
    sheet->cursor = {10000, 20000};
    sheet->SelectRecord(1);
    sheet->SelectRecord(2);
    sheet->SelectRecord(5);

    CScriptedUi ui;
    const fs::path path = tmp.path / "a.SYM";
    ASSERT_TRUE(SaveSelectionAsSymbol(*sheet, path, ui));
    EXPECT_TRUE(ui.messages.empty());
    // -150 micrometres is stored as -1 and 99 as 0: truncated toward the
    // reference point.
    EXPECT_EQ(Hex(FileBytes(path)),
        Hex(Bytes({0x03, 0x80, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, //
            0x03, 0x00, 0x13, 0x00, 0xff, 0xff, 0x00, 0x00, //
            0x00, 0x00, 0xa0, 0x00, 0x02, 0x00, 0x00, 0x00})));

    // Nothing selected: an empty symbol, which replaces the old file.
    sheet->ClearSelection();
    ASSERT_TRUE(SaveSelectionAsSymbol(*sheet, path, ui));
    EXPECT_TRUE(FileBytes(path).empty());
}

TEST(SymbolFile, SaveIsRefusedAndTheOldFileKept)
{
    CTempFolder tmp;
    const fs::path path = tmp.path / "oud.SYM";
    WriteFile(path, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    auto sheet = SheetWith(Figure({{0, 0}, {32768 * 100, 0}}));
    sheet->SelectRecord(1);
    {
        // Segments alone cannot make a symbol; segments with another criterion can.
        CScriptedUi ui;
        sheet->selectionCriteria = CSheet::kSelectSegments;
        EXPECT_FALSE(SaveSelectionAsSymbol(*sheet, path, ui));
        EXPECT_EQ(
            ui.messages, std::vector<std::string> {std::string(CSheet::kMsgSelectionCriteria)});
        sheet->selectionCriteria = CSheet::kSelectSegments | CSheet::kSelectFigures;
        EXPECT_TRUE(SaveSelectionAsSymbol(*sheet, tmp.path / "b.SYM", ui));
        EXPECT_EQ(ui.messages.size(), 1u);
    }
    {
        // 3276.8 mm from the cursor would wrap round to the other side.
        CScriptedUi ui;
        sheet->SelectRecord(2);
        EXPECT_FALSE(SaveSelectionAsSymbol(*sheet, path, ui));
        EXPECT_EQ(ui.messages, std::vector<std::string> {std::string(kMsgSymbolTooLarge)});
    }
    EXPECT_EQ(FileBytes(path).size(), 8u);
    {
        CScriptedUi ui;
        sheet->DeselectRecord(2);
        EXPECT_FALSE(SaveSelectionAsSymbol(*sheet, tmp.path / "geen map" / "x.SYM", ui));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find("geen map"), std::string::npos) << ui.messages[0];
    }
}

TEST(SymbolFile, LoadPlacesEveryRecordAsOneNewBlockAtTheCursor)
{
    // The sheet's highest block is 41; layer 0 is hidden, layers 2 and 9 too.
    auto sheet = SheetWith(Figure({{0, 0}, {5, 5}}, 1, 1, 41) + Figure({{0, 0}, {5, 5}}, 1, 1, 6));
    for (int layer : {0, 2, 9})
        sheet->layers.SetVisible(layer, 0);
    sheet->cursor = {1000000, 2000000};
    const std::vector<CSym> symbol
        = {Sym(0x8003, 0x10, -1, 2), Sym(0x0007, 0x49, 0, -32768), Sym(0x0000, 0x02, 32767, 0)};
    CScriptedUi ui;
    ASSERT_TRUE(LoadSymbol(*sheet, symbol, ui));
    EXPECT_EQ(Placement(*sheet),
        (std::vector<CETREC> {
            {0x802A, 0x10, 999900, 2000200},
            {0x002A, 0x49, 1000000, 2000000 - 3276800},
            {0x002A, 0x02, 1000000 + 3276700, 2000000},
        }));
    EXPECT_EQ(sheet->layers.IsVisible(0), 0);
    EXPECT_EQ(sheet->layers.IsVisible(2), 1);
    EXPECT_EQ(sheet->layers.IsVisible(9), 1);
    EXPECT_EQ(sheet->recordCount, 5);

    // Placing it keeps one block and the filled flag.
    ASSERT_EQ(sheet->CommitBuffer(ui), 1);
    EXPECT_EQ(sheet->records[5].blockWord, 0x802A);
    EXPECT_EQ(sheet->records[7].blockWord, 0x002A);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SymbolFile, TheNewBlockNeverReachesTheFilledFlag)
{
    auto sheet = SheetWith(
        Figure({{0, 0}, {5, 5}}, 1, 1, CETREC::kMaxBlock) + Figure({{0, 0}, {5, 5}}, 1, 1, 1));
    CScriptedUi ui;
    ASSERT_TRUE(LoadSymbol(*sheet, std::vector {Sym(0, 0x08, 0, 0)}, ui));
    EXPECT_EQ(sheet->placement[0].blockWord, 2); // the lowest number free

    // No number free: refused, the buffer left as it was.
    std::vector<CETREC> all;
    for (int b = 1; b <= CETREC::kMaxBlock; ++b)
        all.push_back(CETREC::Make(0, 0, 1, 0, b));
    auto full = SheetWith(all);
    full->BuildRectangle(0, 0, 10, 10);
    EXPECT_FALSE(LoadSymbol(*full, std::vector {Sym(0, 0x08, 0, 0)}, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string> {std::string(CSheet::kMsgNoBlockNumber)});
    EXPECT_EQ(full->placementCount, 5);
}

TEST(SymbolFile, LoadRefusesPointsOutsideThe32BitRange)
{
    auto sheet = SheetWith({});
    sheet->cursor = {INT32_MAX - 50, 0};
    sheet->BuildRectangle(0, 0, 10, 10);
    CScriptedUi ui;
    EXPECT_FALSE(LoadSymbol(*sheet, std::vector {Sym(0, 0x08, -1, 0), Sym(0, 0x09, 1, 0)}, ui));
    EXPECT_EQ(ui.messages, std::vector<std::string> {std::string(CSheet::kMsgOutOfRange)});
    EXPECT_EQ(sheet->placementCount, 5);
}

TEST(SymbolFile, LoadGrowsAllThreeArraysFirst)
{
    auto sheet = SheetWith({});
    sheet->recordCount = 1995;
    ASSERT_EQ(sheet->Length(), 2000);
    CScriptedUi ui;
    ASSERT_TRUE(LoadSymbol(*sheet, std::vector<CSym>(10, Sym(0, 0x09, 1, 1)), ui));
    EXPECT_EQ(sheet->Length(), 1995 + 10 + 1000);
    EXPECT_EQ(sheet->placement.size(), sheet->records.size());
    EXPECT_EQ(sheet->selectionFlags.size(), sheet->records.size());
    EXPECT_EQ(sheet->placementCount, 10);
}

TEST(SymbolFile, LoadForPlacementReadsWholeRecordsOnly)
{
    CTempFolder tmp;
    auto sheet = SheetWith({});
    sheet->cursor = {500, 700};
    CScriptedUi ui;

    const fs::path odd = tmp.path / "oneven.sym";
    WriteFile(odd, Bytes({0x05, 0x00, 0x09, 0x00, 0xff, 0xff, 0x02, 0x00, 0x01, 0x02, 0x03}));
    ASSERT_TRUE(LoadSymbolForPlacement(*sheet, odd, ui));
    EXPECT_EQ(Placement(*sheet), (std::vector<CETREC> {{1, 0x09, 400, 900}}));

    // An empty file is an empty symbol: placing it drops nothing.
    const fs::path empty = tmp.path / "leeg.SYM";
    WriteFile(empty, {});
    ASSERT_TRUE(LoadSymbolForPlacement(*sheet, empty, ui));
    EXPECT_EQ(sheet->placementCount, 0);
    EXPECT_EQ(sheet->CommitBuffer(ui), 0);
    EXPECT_EQ(sheet->recordCount, 1);

    // A file that cannot be read: false, silently, the buffer as it was.
    sheet->BuildRectangle(0, 0, 10, 10);
    EXPECT_FALSE(LoadSymbolForPlacement(*sheet, tmp.path / "weg.SYM", ui));
    EXPECT_EQ(sheet->placementCount, 5);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SymbolFile, SavedAndLoadedBackLandsOnWholeTenthsOfAMillimetre)
{
    CTempFolder tmp;
    auto sheet = SheetWith(Figure({{12345, -6789}, {20000, 20000}, {-150, 99}}, 3, 2));
    sheet->cursor = {0, 0};
    sheet->SelectAll();
    CScriptedUi ui;
    ASSERT_TRUE(SaveSelectionAsSymbol(*sheet, tmp.path / "r.SYM", ui));
    auto target = SheetWith({});
    target->cursor = {1000, 1000};
    ASSERT_TRUE(LoadSymbolForPlacement(*target, tmp.path / "r.SYM", ui));
    EXPECT_EQ(Placement(*target),
        (std::vector<CETREC> {
            {1, 0x18, 13300, -5700}, {1, 0x1A, 21000, 21000}, {1, 0x1A, 900, 1000}}));
}
