#include "gui/dxf_export_dlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "app/settings.h"
#include "document/document.h"
#include "gui_test_main.h"
#include "support/temp_folder.h"

namespace {

QStringList Entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

struct DialogParts {
    QListWidget* available;
    QListWidget* chosen;
    QPushButton* add;
    QPushButton* addAll;
    QPushButton* remove;
    QPushButton* removeAll;
};

DialogParts Parts(QWidget& dlg)
{
    const auto button = [&](const char* name) {
        auto* b = dlg.findChild<QPushButton*>(QLatin1String(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    };
    DialogParts p {dlg.findChild<QListWidget*>(QStringLiteral("available")),
        dlg.findChild<QListWidget*>(QStringLiteral("chosen")), button("add"), button("addAll"),
        button("remove"), button("removeAll")};
    EXPECT_TRUE(p.available && p.chosen);
    return p;
}

std::unique_ptr<CSheet> Sheet(const char* name, int size)
{
    auto sheet = std::make_unique<CSheet>();
    sheet->sheetName = name;
    sheet->AddFrame(0, 0, size, size);
    return sheet;
}

} // namespace

TEST(DXFExportDlg, ListsAndButtons)
{
    CDXFExportDlg dlg({"Blad 10", "Blad 1", "Schak\xe9l", "Blad 2"});
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Export DXF"));
    QStringList labels;
    for (const QLabel* l : dlg.findChildren<QLabel*>())
        labels.append(l->text());
    EXPECT_TRUE(labels.contains(QStringLiteral("Beschikbare bladen")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Te exporteren bladen")));
    const DialogParts p = Parts(dlg);
    EXPECT_EQ(p.add->text(), QStringLiteral(">"));
    EXPECT_EQ(p.addAll->text(), QStringLiteral(">>"));
    EXPECT_EQ(p.remove->text(), QStringLiteral("<"));
    EXPECT_EQ(p.removeAll->text(), QStringLiteral("<<"));

    EXPECT_EQ(Entries(p.available), (QStringList {"Blad 1", "Blad 10", "Blad 2", "Schakél"}));
    EXPECT_EQ(p.available->currentRow(), 0);

    // Choosing "Blad 10" leaves "Blad 1" available.
    p.available->setCurrentRow(1);
    p.add->click();
    EXPECT_EQ(Entries(p.available), (QStringList {"Blad 1", "Blad 2", "Schakél"}));
    EXPECT_EQ(Entries(p.chosen), (QStringList {"Blad 10"}));
    EXPECT_EQ(p.available->currentRow(), 1); // "Blad 2", which followed it

    // A double-click moves the name clicked; "<" removes the selected one.
    emit p.available->itemDoubleClicked(p.available->item(2));
    EXPECT_EQ(Entries(p.chosen), (QStringList {"Blad 10", "Schakél"}));
    EXPECT_EQ(p.available->currentRow(), 1); // the last one
    emit p.available->itemDoubleClicked(p.available->item(1));
    EXPECT_EQ(Entries(p.chosen), (QStringList {"Blad 10", "Blad 2", "Schakél"}));
    p.chosen->setCurrentRow(0);
    p.remove->click();
    EXPECT_EQ(Entries(p.chosen), (QStringList {"Blad 2", "Schakél"}));
    EXPECT_EQ(Entries(p.available), (QStringList {"Blad 1", "Blad 10"}));
    emit p.chosen->itemDoubleClicked(p.chosen->item(1));
    EXPECT_EQ(Entries(p.chosen), (QStringList {"Blad 2"}));

    p.addAll->click();
    EXPECT_EQ(Entries(p.chosen).size(), 4);
    EXPECT_EQ(p.available->count(), 0);
    p.removeAll->click();
    EXPECT_EQ(p.available->count(), 4);
}

TEST(DXFExportDlg, OkNeedsANameToExport)
{
    CDXFExportDlg empty({"A"});
    empty.accept();
    EXPECT_EQ(empty.result(), QDialog::Rejected);

    CDXFExportDlg dlg({"B", "A", "C"});
    const DialogParts p = Parts(dlg);
    p.available->setCurrentRow(2);
    p.add->click();
    p.available->setCurrentRow(0);
    p.add->click();
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Result(), (std::vector<std::string> {"A", "C"}));
}

TEST(DXFExportDlg, CommandWritesEachChosenSheetIntoTheChosenFolder)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    doc.pathName = (tmp.path / "elders" / "Kelder.ETT").string();
    doc.sheets.push_back(Sheet("A", 100000));
    doc.sheets.push_back(Sheet("B", 200000));
    doc.sheets.push_back(Sheet("C", 300000));
    doc.sheets.push_back(Sheet("A", 400000));
    CSettings settings;
    settings.projectsFolder = (tmp.path / "Projecten").string();
    std::filesystem::create_directories(tmp.path / "uit");

    QString startFolder, startName;
    RunWhenModal<CDXFExportDlg>([&](CDXFExportDlg* dlg) {
        const DialogParts p = Parts(*dlg);
        p.add->click(); // "A"
        p.add->click(); // "B"
        RunWhenModal<QFileDialog>([&](QFileDialog* save) {
            startFolder = save->directory().absolutePath();
            startName = save->selectedFiles().value(0);
            save->selectFile(QString::fromStdString((tmp.path / "uit" / "getypt.DXF").string()));
            static_cast<QDialog*>(save)->accept();
        });
        dlg->accept();
    });
    EXPECT_TRUE(RunDXFExportCommand(doc, settings, nullptr));
    const auto folder = tmp.path / "Projecten" / "Kelder";
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(startFolder.toStdString(), folder.string());
    EXPECT_TRUE(startName.endsWith(QStringLiteral("/A.DXF"))) << startName.toStdString();

    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(tmp.path / "uit"))
        files.push_back(e.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string> {"A (2).DXF", "A.DXF", "B.DXF"}));
}

TEST(DXFExportDlg, CommandReportsAFileThatCannotBeWritten)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    doc.sheets.push_back(Sheet("A", 100000));
    doc.sheets.push_back(Sheet("B", 100000));
    CSettings settings;
    settings.projectsFolder = tmp.path.string();
    // A folder where the second file should go; the first is still written.
    std::filesystem::create_directories(tmp.path / "B.DXF" / "in de weg");

    QString message;
    RunWhenModal<CDXFExportDlg>([&](CDXFExportDlg* dlg) {
        Parts(*dlg).addAll->click();
        RunWhenModal<QFileDialog>([&](QFileDialog* save) {
            RunWhenModal<QMessageBox>([&](QMessageBox* box) {
                message = box->text();
                box->close();
            });
            save->selectFile(QString::fromStdString((tmp.path / "x.DXF").string()));
            static_cast<QDialog*>(save)->accept();
        });
        dlg->accept();
    });
    EXPECT_FALSE(RunDXFExportCommand(doc, settings, nullptr));
    EXPECT_TRUE(message.contains(QStringLiteral("B.DXF"))) << message.toStdString();
    EXPECT_TRUE(std::filesystem::is_regular_file(tmp.path / "A.DXF"));

    // Cancelling the sheet dialog ends the command at once.
    RunWhenModal<CDXFExportDlg>([](CDXFExportDlg* dlg) { dlg->reject(); });
    EXPECT_FALSE(RunDXFExportCommand(doc, settings, nullptr));
}
