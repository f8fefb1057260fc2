#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/file_io.h"
#include "model/sheet.h"
#include "model/sheet_records.h"
#include "support/bytes.h"
#include "support/temp_folder.h"
#include "symbols/dos_library.h"
#include "symbols/library_folders.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> FileBytes(const fs::path& path)
{
    return ReadFileBytes(path).value_or(std::vector<uint8_t> {0xEE});
}

// The 6-byte record of a ".BNK" or ".LAY" file.
std::vector<uint8_t> Bnk(int block, int style, int x, int y)
{
    return Bytes({block, style, x & 0xff, (x >> 8) & 0xff, y & 0xff, (y >> 8) & 0xff});
}

// The 8-byte record of a ".LMC", ".SYM" or ".sch" file.
std::vector<uint8_t> Rec8(int block, int style, int x, int y)
{
    return Bytes({block & 0xff, block >> 8, style & 0xff, style >> 8, x & 0xff, (x >> 8) & 0xff,
        y & 0xff, (y >> 8) & 0xff});
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr int kLayer2Pen1 = 0x11;

} // namespace

TEST(CornerRule, SplitsTracksThatAreNotStraightOrDiagonal)
{
    // (record drawn to, from the point (0, 0): the points appended)
    const struct {
        CETREC r;
        std::vector<CPoint> points;
    } cases[] = {
        {CETREC::Make(100, 40, 2, 1), {{40, 40}, {100, 40}}},
        {CETREC::Make(-100, 40, 7, 3), {{-40, 40}, {-100, 40}}},
        {CETREC::Make(30, -100, 0, 1), {{30, -30}, {30, -100}}},
        {CETREC::Make(100, 40, 9, 1), {{100, 40}}}, // a line-type layer
        {CETREC::Make(40, 40, 2, 1), {{40, 40}}}, // 45 degrees already
        {CETREC::Make(100, 0, 2, 1), {{100, 0}}},
        {CETREC::Make(0, 40, 2, 1), {{0, 40}}},
        {CETREC::Make(100, 40, 2, 0), {{100, 40}}}, // a move
        {CETREC::Junction(100, 40, 2), {{100, 40}}},
    };
    for (const auto& c : cases) {
        std::vector<CETREC> out {CETREC::Make(0, 0, 5, 0)};
        AppendWithCorner(out, c.r);
        std::vector<CPoint> points;
        for (size_t i = 1; i < out.size(); ++i) {
            points.push_back({out[i].x, out[i].y});
            EXPECT_EQ(out[i].styleWord, c.r.styleWord);
            EXPECT_EQ(out[i].blockWord, c.r.blockWord);
        }
        EXPECT_EQ(points, c.points) << c.r;
    }
    // The very first record has no point to come from.
    std::vector<CETREC> out;
    AppendWithCorner(out, CETREC::Make(100, 40, 2, 1));
    EXPECT_EQ(out.size(), 1u);
}

TEST(ConvertLibraryFile, BnkRecordsBecomeSymbolRecords)
{
    CTempFolder tmp;
    // A move, a track to (100.0125, 40.08) symbol units, a junction; then
    // five stray bytes.
    WriteFile(tmp.path / "lib" / "PAD.bnk",
        Bnk(3, 0x10, 0, 0) + Bnk(3, kLayer2Pen1, 504, 202) + Bnk(0, 0x90, 100, -100)
            + Bytes({1, 2, 3, 4, 5}));
    const fs::path target = tmp.path / "sym" / "nieuw" / "PAD.SYM";
    ASSERT_TRUE(ConvertLibraryFile(tmp.path / "lib" / "PAD.bnk", target));
    EXPECT_EQ(Hex(FileBytes(target)),
        Hex(Rec8(3, 0x10, 0, 0) + Rec8(3, kLayer2Pen1, 40, 40) + Rec8(3, kLayer2Pen1, 100, 40)
            + Rec8(0, 0x90, 19, -19)));

    // A first record that draws has nothing to turn a corner from.
    WriteFile(tmp.path / "lib" / "EEN.BNK", Bnk(1, kLayer2Pen1, 504, 202));
    ASSERT_TRUE(ConvertLibraryFile(tmp.path / "lib" / "EEN.BNK", tmp.path / "EEN.SYM"));
    EXPECT_EQ(Hex(FileBytes(tmp.path / "EEN.SYM")), Hex(Rec8(1, kLayer2Pen1, 100, 40)));
}

TEST(ConvertLibraryFile, LmcRecordsAreFramedByZeroRecords)
{
    CTempFolder tmp;
    // The first track turns a corner from the zero record before it.
    WriteFile(tmp.path / "M.Lmc",
        Rec8(0x8005, kLayer2Pen1, 504, 202) + Rec8(0x0102, 0x48, -100, 100) + Bytes({9, 9, 9}));
    ASSERT_TRUE(ConvertLibraryFile(tmp.path / "M.Lmc", tmp.path / "M.SYM"));
    EXPECT_EQ(Hex(FileBytes(tmp.path / "M.SYM")),
        Hex(Rec8(0, 0, 0, 0) + Rec8(0x8005, kLayer2Pen1, 40, 40)
            + Rec8(0x8005, kLayer2Pen1, 100, 40) + Rec8(0x0102, 0x48, -19, 19) + Rec8(0, 0, 0, 0)));

    // An empty library still gets its frame.
    WriteFile(tmp.path / "L.LMC", {});
    ASSERT_TRUE(ConvertLibraryFile(tmp.path / "L.LMC", tmp.path / "L.SYM"));
    EXPECT_EQ(FileBytes(tmp.path / "L.SYM"), std::vector<uint8_t>(16, 0));

    // A source that cannot be read writes nothing.
    EXPECT_FALSE(ConvertLibraryFile(tmp.path / "weg.LMC", tmp.path / "weg.SYM"));
    EXPECT_FALSE(fs::exists(tmp.path / "weg.SYM"));
}

TEST(LibraryConversion, ATreeBecomesTheSameTreeOfSymbols)
{
    CTempFolder tmp;
    const fs::path src = tmp.path / "lmc";
    const fs::path sym = tmp.path / "Symbolen";
    const auto one = Bnk(0, 0x08, 100, 0);
    WriteFile(src / "Wortel.BNK", one);
    WriteFile(src / "b" / "Twee.lmc", Rec8(0, 0x08, 100, 0));
    WriteFile(src / "a" / "Een.bnk", one);
    WriteFile(src / "a" / "Drie.LMC", Rec8(0, 0x08, 100, 0));
    WriteFile(src / "a" / "diep" / "Vier.Bnk", one);
    WriteFile(src / "a" / "Tekst.txt", one);
    fs::create_directories(src / "a" / "map.bnk");

    const CLibraryConversion plan = PlanLibraryConversion(src, sym);
    EXPECT_EQ(plan.sources,
        (std::vector<fs::path> {src / "Wortel.BNK", src / "a" / "Een.bnk",
            src / "a" / "diep" / "Vier.Bnk", src / "a" / "Drie.LMC", src / "b" / "Twee.lmc"}));
    EXPECT_EQ(plan.targets,
        (std::vector<fs::path> {sym / "Wortel.SYM", sym / "a" / "Een.SYM",
            sym / "a" / "diep" / "Vier.SYM", sym / "a" / "Drie.SYM", sym / "b" / "Twee.SYM"}));
    ASSERT_EQ(plan.Lines().size(), 5u);
    EXPECT_EQ(plan.Lines()[1],
        (src / "a" / "Een.bnk").string() + " -> " + (sym / "a" / "Een.SYM").string());

    // A file that went away meanwhile is skipped; the rest is converted.
    fs::remove(src / "a" / "Drie.LMC");
    EXPECT_EQ(plan.Run(), std::vector<fs::path> {src / "a" / "Drie.LMC"});
    EXPECT_EQ(FileBytes(sym / "Wortel.SYM"), Rec8(0, 0x08, 19, 0));
    EXPECT_EQ(FileBytes(sym / "b" / "Twee.SYM").size(), 24u);
    EXPECT_FALSE(fs::exists(sym / "a" / "Drie.SYM"));

    // The root's symbol lies in no group; the others are in groups of
    // their folders.
    std::vector<std::string> groups;
    for (const auto& g : ListSymbolGroups(sym))
        groups.push_back(g.name);
    EXPECT_EQ(groups, (std::vector<std::string> {"a", "a/diep", "b"}));
    EXPECT_EQ(ListSymbols(sym / "a" / "diep"), std::vector<std::string> {"Vier"});

    EXPECT_TRUE(PlanLibraryConversion(tmp.path / "leeg", sym).sources.empty());
}

TEST(LoadLibraryFileAsSheet, ScalesByTheKindOfFile)
{
    CTempFolder tmp;
    // (file, bytes, points of the sheet)
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::vector<CPoint> points;
    } cases[] = {
        {"a.LAY", Bnk(1, 0x08, 100, 200) + Bnk(1, 0x09, 300, 100) + Bytes({7}),
            {{1984, 3968}, {3968, 1984}, {5953, 1984}}},
        {"b.lmc", Rec8(1, 0x08, 100, 200) + Rec8(1, 0x09, 300, 100),
            {{1984, 3968}, {3968, 1984}, {5953, 1984}}},
        {"c.SCH", Rec8(1, 0x08, 100, 200) + Rec8(1, 0x09, 300, 100) + Bytes({7, 7}),
            {{10000, 20000}, {20000, 10000}, {30000, 10000}}},
        {"d.sym", Rec8(1, 0x48, 100, 200) + Rec8(1, 0x49, 300, 100),
            {{10000, 20000}, {30000, 10000}}},
        {"e.lay", {}, {}},
    };
    for (const auto& c : cases) {
        WriteFile(tmp.path / c.name, c.bytes);
        auto sheet = SheetWith(Figure({{5, 5}, {6, 6}}));
        sheet->SelectRecord(1);
        ASSERT_TRUE(LoadLibraryFileAsSheet(*sheet, tmp.path / c.name)) << c.name;
        EXPECT_EQ(PointsOf(*sheet), c.points) << c.name;
        EXPECT_EQ(sheet->records[0], CETREC {});
        EXPECT_EQ(sheet->selectedCount, 0);
        EXPECT_TRUE(SelectedOf(*sheet).empty());
        EXPECT_GE(sheet->Length(), sheet->recordCount + 1000);
        EXPECT_EQ(sheet->undoPosition, 0) << "one snapshot";
    }
}

TEST(LoadLibraryFileAsSheet, LayoutsBringTheirPenWidthsAndExtent)
{
    CTempFolder tmp;
    WriteFile(tmp.path / "p.Lay", Bnk(0, 0x08, 100, 100) + Bnk(0, 0x09, 200, 150));
    CSheet sheet;
    const auto before = sheet.penWidths[0];
    ASSERT_TRUE(LoadLibraryFileAsSheet(sheet, tmp.path / "p.Lay"));
    EXPECT_EQ(
        sheet.penWidths, (std::array<int32_t, 8> {before, 300, 900, 1500, 2100, 2700, 3300, 3900}));
    EXPECT_EQ(sheet.origin, (CPoint {1984, 1984}));
    EXPECT_EQ(sheet.sheetExtent, (CRect {0, 0, 1984, 992}));
    EXPECT_EQ(PointsOf(sheet), (std::vector<CPoint> {{1984, 1984}, {2976, 2976}, {3968, 2976}}));

    // A file that cannot be read changes nothing.
    auto other = SheetWith(Figure({{5, 5}, {6, 6}}));
    EXPECT_FALSE(LoadLibraryFileAsSheet(*other, tmp.path / "weg.sch"));
    EXPECT_EQ(other->recordCount, 3);
    EXPECT_EQ(other->undoPosition, -1);
}
