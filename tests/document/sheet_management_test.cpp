#include <gtest/gtest.h>

#include "document/document.h"

namespace {

// A project with sheets named "A", "B", ... ; the given one active.
std::unique_ptr<CDovereduDoc> Project(int count, int active = 0)
{
    auto doc = std::make_unique<CDovereduDoc>();
    for (int i = 0; i < count; ++i)
        doc->AddSheet(0, std::string(1, static_cast<char>('A' + i)), "");
    doc->SetActiveSheet(active);
    return doc;
}

std::string Names(const CDovereduDoc& doc)
{
    std::string out;
    for (const auto& s : doc.sheets)
        out += s->sheetName;
    return out;
}

} // namespace

TEST(SheetManagement, NextAndPreviousWrapRound)
{
    // (count, active, next gives, previous gives)
    const struct {
        int count, active, next, previous;
    } cases[] = {
        {3, 2, 0, 1},
        {3, 0, 1, 2},
        {2, 1, 0, 0},
    };
    for (const auto& c : cases) {
        auto doc = Project(c.count, c.active);
        EXPECT_EQ(doc->NextSheet(), c.active);
        EXPECT_EQ(doc->activeSheet, c.next);
        doc->SetActiveSheet(c.active);
        EXPECT_EQ(doc->PreviousSheet(), c.active);
        EXPECT_EQ(doc->activeSheet, c.previous);
        EXPECT_EQ(doc->sheetListSelection, c.previous);
    }
    auto one = Project(1);
    EXPECT_EQ(one->NextSheet(), -1);
    EXPECT_EQ(one->PreviousSheet(), -1);
    EXPECT_EQ(one->activeSheet, 0);
}

TEST(SheetManagement, MovingTheSecondOfThreeUpKeepsTheActiveIndex)
{
    auto doc = Project(3, 1);
    doc->ReorderSheets({1, 0, 2}, {"B", "A", "C"});
    EXPECT_EQ(Names(*doc), "BAC");
    EXPECT_EQ(doc->activeSheet, 1);
    EXPECT_EQ(doc->GetActiveSheet().sheetName, "A");
    EXPECT_EQ(doc->sheetList[0], "1: B");
    EXPECT_TRUE(doc->modified);

    // Names typed in the dialog are written back; a broken order changes nothing.
    doc->ReorderSheets({0, 1, 2}, {"X.ETT", "Y", "Z"});
    EXPECT_EQ(Names(*doc), "XYZ");
    doc->ReorderSheets({0, 0, 2}, {"P", "Q", "R"});
    EXPECT_EQ(Names(*doc), "XYZ");
}

TEST(SheetManagement, DeletingSheets)
{
    auto doc = Project(3, 2);
    EXPECT_EQ(doc->DeleteActiveSheet(), 1);
    EXPECT_EQ(Names(*doc), "AB");
    EXPECT_EQ(doc->activeSheet, 1);
    EXPECT_TRUE(doc->modified);
    EXPECT_EQ(doc->changedSinceBackup, 1);

    // The last one: a project without sheets and without changes.
    auto single = Project(1);
    single->MarkChanged();
    EXPECT_EQ(single->DeleteActiveSheet(), 1);
    EXPECT_TRUE(single->sheets.empty());
    EXPECT_FALSE(single->modified);
    EXPECT_EQ(single->changedSinceBackup, 0);
    EXPECT_TRUE(single->sheetList.empty());
    EXPECT_EQ(single->DeleteActiveSheet(), 0);
}

TEST(SheetManagement, RenamingKeepsTheBareTitle)
{
    auto doc = Project(2, 1);
    // (typed name, kept name)
    const struct {
        const char *typed, *kept;
    } cases[] = {
        {"Kelder.1", "Kelder"},
        {"C:\\map\\Zolder", "Zolder"},
        {"Hal", "Hal"},
    };
    for (const auto& c : cases) {
        doc->RenameActiveSheet(c.typed);
        EXPECT_EQ(doc->GetActiveSheet().sheetName, c.kept);
        EXPECT_EQ(doc->sheetList[1], std::string("2: ") + c.kept);
    }
}

TEST(SheetManagement, AddingFromATemplateCopiesItsContent)
{
    CSheet templateSheet(0, "A3 liggend", "titel");
    templateSheet.AddFrame(0, 0, 420000, 297000);
    auto doc = Project(1);
    doc->AddSheetFrom(templateSheet);
    ASSERT_EQ(doc->sheets.size(), 2u);
    EXPECT_EQ(doc->activeSheet, 1);
    const CSheet& added = doc->GetActiveSheet();
    EXPECT_EQ(added.sheetName, "A3 liggend");
    EXPECT_EQ(added.recordCount, 6);
    EXPECT_EQ(added.records[3], templateSheet.records[3]);
    EXPECT_EQ(added.undoPosition, 0);
    EXPECT_TRUE(doc->modified);
}
