#include "symbols/old_import.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "document/document.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// An old drawing: one line from (x, 0) to (x + 1000, 0) in 0.1 mm, layer 1.
void WriteDrawing(const fs::path& path, int x)
{
    const int e = x + 1000;
    const uint8_t bytes[] = {0, 0, 0x08, 0, uint8_t(x), uint8_t(x >> 8), 0, 0, //
        0, 0, 0x09, 0, uint8_t(e), uint8_t(e >> 8), 0, 0};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::vector<std::string> Names(const CDovereduDoc& doc)
{
    std::vector<std::string> out;
    for (const auto& s : doc.sheets)
        out.push_back(s->sheetName);
    return out;
}

} // namespace

TEST(OldImport, EachFileBecomesASheetInTheGivenOrder)
{
    CTempFolder tmp;
    WriteDrawing(tmp.path / "KAST.SCH", 20);
    WriteDrawing(tmp.path / "aarde.sch", 40);
    WriteDrawing(tmp.path / "Paneel.sym", 60);
    CDovereduDoc doc;
    doc.sheets.push_back(std::make_unique<CSheet>(0, "Eerste", "x"));
    doc.sheets.push_back(std::make_unique<CSheet>(0, "Tweede", "y"));
    doc.SetViewRect(0, 0, 800, 600);
    CGridArr grids;
    grids.grids[1].spacingX = 2500;

    const auto unread = ImportOldDrawings(doc,
        {(tmp.path / "KAST.SCH").string(), (tmp.path / "aarde.sch").string(),
            (tmp.path / "Paneel.sym").string()},
        grids);
    EXPECT_TRUE(unread.empty());
    EXPECT_EQ(
        Names(doc), (std::vector<std::string> {"Eerste", "Tweede", "KAST", "aarde", "Paneel"}));
    EXPECT_EQ(doc.activeSheet, 4);
    EXPECT_EQ(doc.sheetList.back(), "5: Paneel");
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.changedSinceBackup, 1);

    const CSheet& kast = *doc.sheets[2];
    EXPECT_EQ(kast.sheetTitle, "Geen opmerkingen");
    EXPECT_EQ(kast.kind, 0);
    EXPECT_EQ(kast.recordCount, 3);
    EXPECT_EQ(kast.records[2].x - kast.records[1].x, 100000);
    EXPECT_EQ(kast.sheetExtent, (CRect {0, 0, 100000, 0}));
    EXPECT_EQ(kast.clientRect, (CRect {0, 0, 800, 600}));
    EXPECT_EQ(kast.zoom, 100000 / 801 + 1); // fitted into the view
    EXPECT_EQ(kast.grids.grids[1].spacingX, 2500);
    EXPECT_TRUE(kast.undoPosition >= 0);
}

TEST(OldImport, AnUnreadableFileGivesAnEmptySheetAndNoFilesChangeNothing)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    doc.sheets.push_back(std::make_unique<CSheet>(0, "Eerste", "x"));
    EXPECT_TRUE(ImportOldDrawings(doc, {}, CGridArr {}).empty());
    EXPECT_EQ(doc.sheets.size(), 1u);
    EXPECT_FALSE(doc.modified);

    WriteDrawing(tmp.path / "goed.sch", 0);
    const std::string missing = (tmp.path / "C:\\Oud\\WEG.SCH").string();
    EXPECT_EQ(ImportOldDrawings(doc, {missing, (tmp.path / "goed.sch").string()}, CGridArr {}),
        std::vector<std::string> {missing});
    EXPECT_EQ(Names(doc), (std::vector<std::string> {"Eerste", "WEG", "goed"}));
    EXPECT_EQ(doc.sheets[1]->recordCount, 1);
    EXPECT_EQ(doc.sheets[2]->recordCount, 3);
    EXPECT_TRUE(doc.modified);
}
