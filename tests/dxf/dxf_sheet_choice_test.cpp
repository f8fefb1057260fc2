#include "dxf/dxf_sheet_choice.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "model/file_io.h"
#include "support/temp_folder.h"

using Names = std::vector<std::string>;

TEST(DXFSheetChoice, StartsWithEveryNameOnceSortedAndTheFirstSelected)
{
    CDXFSheetChoice c({"blad 2", "Blad 10", "Blad 1", "BLAD 2", "Aansluiting"});
    EXPECT_EQ(c.Available(), (Names {"Aansluiting", "Blad 1", "Blad 10", "blad 2"}));
    EXPECT_TRUE(c.Chosen().empty());
    EXPECT_EQ(c.AvailableSelection(), 0);
    EXPECT_EQ(c.ChosenSelection(), -1);

    CDXFSheetChoice none({});
    EXPECT_EQ(none.AvailableSelection(), -1);
    none.Add();
    none.Remove();
    EXPECT_TRUE(none.Chosen().empty());
}

TEST(DXFSheetChoice, ANameIsPresentOnlyWhenEqual)
{
    // Choosing "Blad 10" or "P2" leaves "Blad 1" and "P"; case does not count.
    CDXFSheetChoice c({"Blad 1", "Blad 10", "P", "P2"});
    c.SelectAvailable(1);
    c.Add();
    c.SelectAvailable(2);
    c.Add();
    EXPECT_EQ(c.Chosen(), (Names {"Blad 10", "P2"}));
    EXPECT_EQ(c.Available(), (Names {"Blad 1", "P"}));
    EXPECT_TRUE(c.IsChosen("blad 10"));
    EXPECT_FALSE(c.IsChosen("Blad 1"));
    EXPECT_FALSE(c.IsChosen("P"));
}

TEST(DXFSheetChoice, AddMovesTheSelectionOn)
{
    // (selected before ">", available afterwards, selected afterwards)
    const struct {
        int selected;
        Names left;
        int next;
    } cases[] = {{0, {"B", "C", "D"}, 0}, {1, {"A", "C", "D"}, 1}, {3, {"A", "B", "C"}, 2}};
    for (const auto& k : cases) {
        CDXFSheetChoice c({"D", "C", "B", "A"});
        c.SelectAvailable(k.selected);
        c.Add();
        EXPECT_EQ(c.Available(), k.left) << k.selected;
        EXPECT_EQ(c.AvailableSelection(), k.next) << k.selected;
        EXPECT_EQ(c.ChosenSelection(), 0);
    }
    CDXFSheetChoice one({"A"});
    one.Add();
    EXPECT_EQ(one.AvailableSelection(), -1);
    EXPECT_EQ(one.Chosen(), (Names {"A"}));
}

TEST(DXFSheetChoice, RemoveAndTheButtonsForAll)
{
    CDXFSheetChoice c({"A", "B", "C", "D"});
    c.SelectAvailable(2);
    c.Add();
    // ">>" takes every name, also those chosen before.
    c.AddAll();
    EXPECT_EQ(c.Chosen(), (Names {"A", "B", "C", "D"}));
    EXPECT_TRUE(c.Available().empty());
    EXPECT_EQ(c.AvailableSelection(), -1);

    // "<" removes the selected entry; the one now at its place, or the new
    // last one, is selected.
    c.SelectChosen(1);
    c.Remove();
    EXPECT_EQ(c.Chosen(), (Names {"A", "C", "D"}));
    EXPECT_EQ(c.ChosenSelection(), 1);
    EXPECT_EQ(c.Available(), (Names {"B"}));
    c.SelectChosen(2);
    c.Remove();
    EXPECT_EQ(c.ChosenSelection(), 1);
    EXPECT_EQ(c.Available(), (Names {"B", "D"}));

    c.RemoveAll();
    EXPECT_TRUE(c.Chosen().empty());
    EXPECT_EQ(c.ChosenSelection(), -1);
    EXPECT_EQ(c.Available(), (Names {"A", "B", "C", "D"}));
}

TEST(DXFExportPlan, OneDistinctFileForEachChosenSheet)
{
    const Names sheets = {"A", "B", "a", "", "C", "", "A (2)", "x/y\\z"};
    const auto jobs = PlanDXFExport(sheets, {"A", "", "A (2)", "x/y\\z", "B"});
    std::vector<std::pair<int, std::string>> got;
    for (const CDXFJob& j : jobs)
        got.emplace_back(j.sheet, j.fileName);
    EXPECT_EQ(got,
        (std::vector<std::pair<int, std::string>> {{0, "A.DXF"}, {1, "B.DXF"}, {2, "a (2).DXF"},
            {3, "Blad.DXF"}, {5, "Blad (2).DXF"}, {6, "A (2) (2).DXF"}, {7, "x_y_z.DXF"}}));
    // Windows-1252 names become UTF-8 file names.
    EXPECT_EQ(PlanDXFExport({"Schak\xe9l"}, {"Schak\xe9l"}).at(0).fileName, "Schak\xc3\xa9l.DXF");
    EXPECT_TRUE(PlanDXFExport(sheets, {}).empty());
}

TEST(DXFExportPlan, FolderBelowTheProjectsFolder)
{
    EXPECT_EQ(DXFExportFolder("/p/Projecten", "/home/jan/Werk/Kelder.ETT"),
        std::filesystem::path("/p/Projecten/Kelder"));
    EXPECT_EQ(DXFExportFolder("/p/Projecten", "C:\\Oud\\Zolder.ETT"),
        std::filesystem::path("/p/Projecten/Zolder"));
    EXPECT_EQ(DXFExportFolder("/p/Projecten", ""), std::filesystem::path("/p/Projecten"));
}

TEST(DXFExportPlan, ChosenSheetsWrittenIntoTheFolder)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    // (name, frame size; 0 for an empty sheet)
    const std::pair<const char*, int> sheets[]
        = {{"A", 400000}, {"B", 400000}, {"Leeg", 0}, {"A", 100000}};
    for (const auto& [name, size] : sheets) {
        auto sheet = std::make_unique<CSheet>();
        sheet->sheetName = name;
        if (size > 0)
            sheet->AddFrame(0, 0, size, size);
        doc.sheets.push_back(std::move(sheet));
    }
    const auto jobs = PlanDXFExport({"A", "B", "Leeg", "A"}, {"A", "Leeg"});
    const auto results = ExportSheets(doc, jobs, tmp.path);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].written);
    EXPECT_FALSE(results[1].written); // an empty sheet
    EXPECT_FALSE(results[1].Failed());
    EXPECT_TRUE(results[2].written);
    EXPECT_TRUE(std::filesystem::exists(tmp.path / "A.DXF"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path / "B.DXF"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path / "Leeg.DXF"));
    const auto first = ReadFileBytes(tmp.path / "A.DXF");
    const auto second = ReadFileBytes(tmp.path / "A (2).DXF");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);

    const auto failed = ExportSheets(doc, jobs, tmp.path / "missing");
    EXPECT_TRUE(failed[0].Failed());
    EXPECT_FALSE(failed[1].Failed());
}
