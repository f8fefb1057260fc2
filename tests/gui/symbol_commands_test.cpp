#include "gui/symbol_commands.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

#include "app/command_table.h"
#include "app/settings.h"
#include "document/document.h"
#include "gui/import_bnk_lmc_dlg.h"
#include "gui/main_frame.h"
#include "gui_test_main.h"
#include "model/sheet.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    for (uint8_t b : bytes)
        out.put(static_cast<char>(b));
}

QString Q(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

// Types into the dialog's file name field, as a user would. (selectFile
// leaves the field alone while it has the focus.)
void Type(QFileDialog* dialog, const QString& text)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
}

QStringList Entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

QPushButton* ButtonOf(QWidget& dlg, const char* name)
{
    return dlg.findChild<QPushButton*>(QLatin1String(name));
}

const std::vector<uint8_t> kLine = {0, 0, 0x08, 0, 100, 0, 0, 0, 0, 0, 0x09, 0, 200, 0, 0, 0};

} // namespace

TEST(ImportBnkLmcDlg, TextsAndButtons)
{
    CImportBnkLmcDlg dlg("/nergens");
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Import BNK en LMC bestanden"));
    QStringList labels;
    for (const QLabel* l : dlg.findChildren<QLabel*>())
        labels.append(l->text());
    EXPECT_TRUE(labels.contains(QStringLiteral(
        "Hier kunt u in een klap alle BNK of LMC bestanden converteren naar het SYM formaat. "
        "Selecteer de hoofddirectory, druk op import en alle  symbolen inclusief subdirectories "
        "worden aangemaakt in de huidige Symbolen directory..")))
        << labels.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("Gevonden bestanden:")));
    EXPECT_EQ(ButtonOf(dlg, "browse")->text(), QStringLiteral("Bladeren..."));
    EXPECT_EQ(ButtonOf(dlg, "cancel")->text(), QStringLiteral("Annuleren"));
    QPushButton* import = ButtonOf(dlg, "import");
    EXPECT_EQ(import->text(), QStringLiteral("Importeer"));
    EXPECT_TRUE(import->isDefault());
    EXPECT_FALSE(import->isEnabled());
}

TEST(ImportBnkLmcDlg, BrowsingListsTheFilesAndImportConvertsThem)
{
    CTempFolder tmp;
    const fs::path src = tmp.path / "lmc";
    const fs::path sym = tmp.path / "Symbolen";
    WriteFile(src / "B.LMC", {0, 0, 0x08, 0, 100, 0, 0, 0});
    WriteFile(src / "Relais" / "A.bnk", {0, 0x08, 100, 0, 0, 0});
    WriteFile(src / "Relais" / "lees mij.txt", {1});
    fs::create_directories(tmp.path / "leeg" / "map");

    CImportBnkLmcDlg dlg(sym.string());
    auto* files = dlg.findChild<QListWidget*>(QStringLiteral("files"));
    ASSERT_NE(files, nullptr);

    QString title, start;
    RunWhenModal<QFileDialog>([&](QFileDialog* chooser) {
        title = chooser->windowTitle();
        start = chooser->directory().absolutePath();
        Type(chooser, Q(src));
        static_cast<QDialog*>(chooser)->accept();
    });
    ButtonOf(dlg, "browse")->click();
    EXPECT_EQ(title, QStringLiteral("Importeer DOS PCB Library"));
    EXPECT_EQ(start, QDir::homePath());
    EXPECT_EQ(Entries(files),
        (QStringList {Q(src / "Relais" / "A.bnk") + " -> " + Q(sym / "Relais" / "A.SYM"),
            Q(src / "B.LMC") + " -> " + Q(sym / "B.SYM")}));
    EXPECT_TRUE(ButtonOf(dlg, "import")->isEnabled());

    // A cancelled chooser changes nothing; a folder without libraries empties
    // the list and disables "Importeer".
    RunWhenModal<QFileDialog>([](QFileDialog* chooser) { chooser->reject(); });
    ButtonOf(dlg, "browse")->click();
    EXPECT_EQ(files->count(), 2);
    dlg.ScanFolder(tmp.path / "leeg");
    EXPECT_EQ(files->count(), 0);
    EXPECT_FALSE(ButtonOf(dlg, "import")->isEnabled());

    dlg.ScanFolder(src);
    ButtonOf(dlg, "import")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(fs::file_size(sym / "Relais" / "A.SYM"), 8u);
    EXPECT_EQ(fs::file_size(sym / "B.SYM"), 24u);
}

TEST(ImportBnkLmcDlg, AFileThatCannotBeConvertedIsReportedAndTheRestConverted)
{
    CTempFolder tmp;
    WriteFile(tmp.path / "src" / "A.BNK", {0, 0x08, 100, 0, 0, 0});
    WriteFile(tmp.path / "src" / "B.BNK", {0, 0x08, 100, 0, 0, 0});
    CImportBnkLmcDlg dlg((tmp.path / "sym").string());
    dlg.ScanFolder(tmp.path / "src");
    fs::remove(tmp.path / "src" / "A.BNK");

    QString message;
    RunWhenModal<QMessageBox>([&](QMessageBox* box) {
        message = box->text();
        box->accept();
    });
    ButtonOf(dlg, "import")->click();
    EXPECT_TRUE(message.contains(QStringLiteral("A.BNK"))) << message.toStdString();
    EXPECT_EQ(dlg.Failed(), std::vector<fs::path> {tmp.path / "src" / "A.BNK"});
    EXPECT_TRUE(fs::exists(tmp.path / "sym" / "B.SYM"));
}

TEST(SymbolCommands, TheLibraryImportNeedsNoProject)
{
    CMainFrame frame;
    EXPECT_FALSE(frame.Router().Update(Cmd::ImportDosLibrary).enabled);
    RegisterSymbolCommands(frame);
    EXPECT_TRUE(frame.Router().Update(Cmd::ImportDosLibrary).enabled);

    QString title;
    RunWhenModal<CImportBnkLmcDlg>([&](CImportBnkLmcDlg* dlg) {
        title = dlg->windowTitle();
        dlg->reject();
    });
    EXPECT_TRUE(frame.Router().Execute(Cmd::ImportDosLibrary));
    EXPECT_EQ(title, QStringLiteral("Import BNK en LMC bestanden"));
}

TEST(SymbolCommands, SaveAsSymbolAsksForAFileInTheSymbolsFolder)
{
    CTempFolder tmp;
    CSettings settings;
    settings.symbolsFolder = (tmp.path / "Symbolen").string();
    fs::create_directories(tmp.path / "Symbolen" / "Relais");
    CSheet sheet;
    sheet.AddFrame(0, 0, 10000, 10000);
    sheet.SelectRecord(1);
    sheet.SelectRecord(2);
    CScriptedUi ui;

    QString start, suffix;
    QStringList filters;
    RunWhenModal<QFileDialog>([&](QFileDialog* save) {
        start = save->directory().absolutePath();
        suffix = save->defaultSuffix();
        filters = save->nameFilters();
        Type(save, Q(tmp.path / "Symbolen" / "Relais" / "Spoel"));
        static_cast<QDialog*>(save)->accept();
    });
    EXPECT_TRUE(RunSaveAsSymbolCommand(sheet, settings, ui, nullptr));
    EXPECT_EQ(start, Q(tmp.path / "Symbolen"));
    EXPECT_EQ(suffix, QStringLiteral("SYM"));
    EXPECT_EQ(filters, QStringList {QStringLiteral("*.SYM")});
    EXPECT_EQ(fs::file_size(tmp.path / "Symbolen" / "Relais" / "Spoel.SYM"), 16u);

    RunWhenModal<QFileDialog>([](QFileDialog* save) { save->reject(); });
    EXPECT_FALSE(RunSaveAsSymbolCommand(sheet, settings, ui, nullptr));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SymbolCommands, ImportOldProjectAddsASheetPerFileInTheDialogsOrder)
{
    CTempFolder tmp;
    for (const char* name : {"KAST.SCH", "aarde.sch", "b.sch"})
        WriteFile(tmp.path / name, kLine);
    CSettings settings;
    settings.projectsFolder = tmp.path.string();
    settings.grids.grids[0].spacingX = 1234;
    CDovereduDoc doc;
    doc.sheets.push_back(std::make_unique<CSheet>(0, "Eerste", "x"));
    doc.RefreshSheetLists(true);

    QStringList filters;
    QString suffix, start;
    bool multiple = false, caseSensitive = true;
    RunWhenModal<QFileDialog>([&](QFileDialog* open) {
        filters = open->nameFilters();
        suffix = open->defaultSuffix();
        start = open->directory().absolutePath();
        multiple = open->fileMode() == QFileDialog::ExistingFiles;
        caseSensitive = open->filter().testFlag(QDir::CaseSensitive);
        // Names typed in this order; the filter lets "KAST.SCH" through.
        Type(open, QStringLiteral("\"b.sch\" \"KAST.SCH\" \"aarde.sch\""));
        static_cast<QDialog*>(open)->accept();
    });
    EXPECT_EQ(RunImportOldProjectCommand(doc, settings, nullptr), 3);
    EXPECT_EQ(filters,
        (QStringList {"Vorel Tekeningen (*.sch)", "Vorel Symbolen (*.sym)",
            "Vorel PCB DOS Symbolen (*.lmc)", "Vorel PCB DOS Tekeningen (*.lay)"}));
    EXPECT_EQ(suffix, QStringLiteral("sch"));
    EXPECT_EQ(start, Q(tmp.path));
    EXPECT_TRUE(multiple);
    EXPECT_FALSE(caseSensitive);

    ASSERT_EQ(doc.sheets.size(), 4u);
    EXPECT_EQ(doc.sheets[1]->sheetName, "b");
    EXPECT_EQ(doc.sheets[2]->sheetName, "KAST");
    EXPECT_EQ(doc.sheets[3]->sheetName, "aarde");
    EXPECT_EQ(doc.activeSheet, 3);
    EXPECT_EQ(doc.sheets[3]->grids.grids[0].spacingX, 1234);
    EXPECT_EQ(doc.sheets[3]->recordCount, 3);
    EXPECT_TRUE(doc.modified);

    doc.modified = false;
    RunWhenModal<QFileDialog>([](QFileDialog* open) { open->reject(); });
    EXPECT_EQ(RunImportOldProjectCommand(doc, settings, nullptr), 0);
    EXPECT_EQ(doc.sheets.size(), 4u);
    EXPECT_FALSE(doc.modified);
}
