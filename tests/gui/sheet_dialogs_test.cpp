#include "gui/sheet_dialogs.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "document/document.h"
#include "gui_test_main.h"
#include "support/temp_folder.h"

namespace {

void WriteTemplates(const std::filesystem::path& file, std::initializer_list<const char*> names)
{
    CDovereduDoc doc;
    for (const char* name : names) {
        doc.AddSheet(0, name, "");
        doc.sheets.back()->AddFrame(0, 0, 297000, 210000);
    }
    ASSERT_FALSE(doc.Save(file.string()));
}

} // namespace

TEST(SjablonenDlg, GroupsTemplatesAndPreview)
{
    CTempFolder tmp;
    WriteTemplates(tmp.path / "Kasten.ETT", {"A4 liggend", "A3 liggend"});
    WriteTemplates(tmp.path / "borden.ett", {"Verdeler"});
    std::ofstream(tmp.path / "Kapot.ETT") << "no project";

    CSjablonenDlg dlg(tmp.path.string());
    EXPECT_EQ(dlg.windowTitle(), "Blad toevoegen");
    ASSERT_EQ(dlg.groups->count(), 3);
    EXPECT_EQ(dlg.groups->item(0)->text(), "Kapot");
    // A template that cannot be read gives an empty list and nothing to add.
    EXPECT_EQ(dlg.templates->count(), 0);
    EXPECT_EQ(dlg.ChosenSheet(), nullptr);

    dlg.groups->setCurrentRow(1);
    ASSERT_EQ(dlg.templates->count(), 2);
    dlg.templates->setCurrentRow(1);
    ASSERT_NE(dlg.ChosenSheet(), nullptr);
    EXPECT_EQ(dlg.ChosenSheet()->sheetName, "A3 liggend");
    dlg.groups->setCurrentRow(2);
    EXPECT_EQ(dlg.templates->item(0)->text(), "Verdeler");
    EXPECT_EQ(dlg.noTemplate->text(), "Geen sjabloon gebruiken");
}

TEST(SjablonenDlg, AnEmptyFolderGivesEmptyLists)
{
    CTempFolder tmp;
    CSjablonenDlg dlg(tmp.path.string());
    EXPECT_EQ(dlg.groups->count(), 0);
    EXPECT_EQ(dlg.templates->count(), 0);
    RunWhenModal<CSjablonenDlg>([](CSjablonenDlg* d) { d->noTemplate->click(); });
    EXPECT_EQ(dlg.exec(), CSjablonenDlg::WithoutTemplate);
}

TEST(SheetManagerDlg, MovesEntriesWithTheirStartingPositions)
{
    CDovereduDoc doc;
    for (const char* n : {"A", "B", "C"})
        doc.AddSheet(0, n, "");
    CSheetManagerDlg dlg(doc);
    EXPECT_EQ(dlg.windowTitle(), "Blad indeling");
    dlg.MoveUp(); // the first entry: nothing
    EXPECT_EQ(dlg.Order(), (std::vector<int> {0, 1, 2}));
    dlg.list->setCurrentRow(1);
    dlg.MoveUp();
    EXPECT_EQ(dlg.Order(), (std::vector<int> {1, 0, 2}));
    EXPECT_EQ(dlg.list->currentRow(), 0);
    dlg.list->setCurrentRow(2);
    dlg.MoveDown(); // the last entry: nothing
    EXPECT_EQ(dlg.Names(), (std::vector<std::string> {"B", "A", "C"}));
}

TEST(SelectSheetDlg, TakesOnlyAPositiveWholeNumber)
{
    CSelectSheetDlg dlg(2);
    EXPECT_EQ(dlg.windowTitle(), "Ga naar blad");
    EXPECT_EQ(dlg.field->text(), "2");
    QString said;
    RunWhenModal<QMessageBox>([&](QMessageBox* box) {
        said = box->text();
        box->accept();
    });
    dlg.field->setText("twee");
    dlg.accept();
    EXPECT_EQ(said, "Enter a positive integer.");
    EXPECT_EQ(dlg.result(), 0);
    dlg.field->setText("7");
    dlg.accept();
    EXPECT_EQ(dlg.Number(), 7);
}

TEST(EditSheetNameDlg, PresetWithTheName)
{
    CEditSheetNameDlg dlg("Kelder\xEB");
    EXPECT_EQ(dlg.windowTitle(), "Bladnaam aanpassen");
    EXPECT_EQ(dlg.field->text(), QString::fromUtf8("Kelderë"));
    EXPECT_EQ(dlg.Name(), "Kelder\xEB");
}
