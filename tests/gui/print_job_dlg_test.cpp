#include "gui/print_job_dlg.h"

#include "qt/print_output.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

#include "document/document.h"
#include "gui_test_main.h"
#include "model/file_io.h"
#include "support/temp_folder.h"

namespace {

// Three sheets: two landscape, the third portrait.
void AddSheets(CDovereduDoc& doc)
{
    const struct {
        const char* name;
        int width;
        int height;
    } sheets[]
        = {{"Blad 1", 400000, 270000}, {"Blad 2", 297000, 210000}, {"Schak\xe9l", 210000, 297000}};
    for (const auto& s : sheets) {
        auto sheet = std::make_unique<CSheet>();
        sheet->sheetName = s.name;
        sheet->AddFrame(0, 0, s.width, s.height);
        sheet->sheetExtent = {0, 0, s.width, s.height};
        doc.sheets.push_back(std::move(sheet));
    }
}

QPushButton* Button(QWidget& dlg, const char* text)
{
    for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
        if (b->text() == QLatin1String(text))
            return b;
    }
    ADD_FAILURE() << "no button " << text;
    return nullptr;
}

// Whether each page of a PDF file is wider than high, in page order.
std::vector<bool> LandscapePages(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    std::vector<bool> pages;
    if (!bytes)
        return pages;
    const std::string text(bytes->begin(), bytes->end());
    const std::regex box(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), box);
         it != std::sregex_iterator(); ++it)
        pages.push_back(std::stod((*it)[1]) > std::stod((*it)[2]));
    return pages;
}

} // namespace

TEST(PrintJobDlg, TextsListAndButtons)
{
    CDovereduDoc doc;
    AddSheets(doc);
    QPrinter printer;
    CPrintJobDlg dlg(doc, printer, {});
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Project Afdrukken"));
    ASSERT_NE(dlg.findChild<QLabel*>(), nullptr);
    EXPECT_EQ(dlg.findChild<QLabel*>()->text(),
        QStringLiteral("Selecteer de bladen die u wilt afdrukken (gebruik de Ctrl toets voor "
                       "gedeeltelijke lselectie)"));
    QListWidget* list = dlg.List();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("Schakél"));
    // Every sheet is chosen at first.
    EXPECT_EQ(dlg.ChosenSheets(), (std::vector<int> {0, 1, 2}));

    Button(dlg, "Reset")->click();
    EXPECT_TRUE(dlg.ChosenSheets().empty());
    Button(dlg, "Alle bladen")->click();
    EXPECT_EQ(dlg.ChosenSheets(), (std::vector<int> {0, 1, 2}));
    ASSERT_NE(Button(dlg, "Annuleren"), nullptr);
}

TEST(PrintJobDlg, OkWithoutSheetsOrPrinterStaysOpen)
{
    CDovereduDoc doc;
    AddSheets(doc);
    QPrinter printer;
    CPrintJobDlg dlg(doc, printer, {});
    dlg.show();
    Button(dlg, "Reset")->click();
    QString said;
    RunWhenModal<QMessageBox>([&](QMessageBox* box) {
        said = box->text();
        box->accept();
    });
    Button(dlg, "OK")->click();
    EXPECT_EQ(said, QStringLiteral("Er zijn geen bladen geselecteerd!"));
    EXPECT_TRUE(dlg.isVisible());

    // The platform's print dialog, cancelled: nothing printed, still open.
    Button(dlg, "Alle bladen")->click();
    bool asked = false;
    RunWhenModal<QPrintDialog>([&](QPrintDialog* print) {
        asked = true;
        print->reject();
    });
    Button(dlg, "OK")->click();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(dlg.isVisible());
}

TEST(PrintJobDlg, SelectedSheetsPrintAsJobsOfTheirOwnInOrder)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    AddSheets(doc);
    QPrinter printer(QPrinter::HighResolution);
    CPrintJobDlg dlg(doc, printer, {1.0, true, true, false});
    dlg.List()->clearSelection();
    dlg.List()->item(2)->setSelected(true);
    dlg.List()->item(0)->setSelected(true);
    EXPECT_EQ(dlg.ChosenSheets(), (std::vector<int> {0, 2}));

    const std::filesystem::path out = tmp.path / "uit.pdf";
    dlg.choosePrinter = [&](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(out.string()));
        return true;
    };
    dlg.show();
    Button(dlg, "OK")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    // One file per job, the paper turned to each sheet's shape; the
    // printer keeps the file name it was given.
    EXPECT_EQ(LandscapePages(tmp.path / "uit - Blad 1.pdf"), std::vector<bool> {true});
    EXPECT_EQ(LandscapePages(tmp.path / "uit - Schak\xc3\xa9l.pdf"), std::vector<bool> {false});
    EXPECT_FALSE(std::filesystem::exists(tmp.path / "uit - Blad 2.pdf"));
    EXPECT_EQ(printer.outputFileName().toStdString(), out.string());
}

TEST(PrintJobDlg, PreviewShowsTheFocusedSheetAndLeavesItsView)
{
    CDovereduDoc doc;
    AddSheets(doc);
    for (auto& s : doc.sheets) {
        s->zoom = 300;
        s->fitMode = 0;
        s->clientRect = {0, 0, 640, 480};
    }
    QPrinter printer;
    CPrintJobDlg dlg(doc, printer, {});
    dlg.show();

    const QColor paper(0xFA, 0xFA, 0xC8);
    const auto leftMiddle = [&] {
        const QImage image = dlg.Preview()->grab().toImage();
        return image.pixelColor(2, image.height() / 2);
    };
    // A landscape sheet fills the preview's width, a portrait one does not.
    EXPECT_EQ(leftMiddle(), paper);
    dlg.List()->setCurrentRow(2);
    EXPECT_NE(leftMiddle(), paper);

    for (auto& s : doc.sheets) {
        EXPECT_EQ(s->zoom, 300);
        EXPECT_EQ(s->fitMode, 0);
        EXPECT_EQ(s->clientRect, (CRect {0, 0, 640, 480}));
        EXPECT_EQ(s->origin, (CPoint {0, 0}));
        EXPECT_EQ(s->records[1].x, 0);
    }
}

TEST(PrintJobDlg, ResizingKeepsTheListAndGrowsThePreview)
{
    CDovereduDoc doc;
    AddSheets(doc);
    QPrinter printer;
    CPrintJobDlg dlg(doc, printer, {});
    dlg.show();
    const QRect list = dlg.List()->geometry();
    for (const QSize size : {QSize(1000, 700), QSize(760, 400)}) {
        dlg.resize(size);
        const QRect now = dlg.List()->geometry();
        EXPECT_EQ(now.left(), list.left());
        EXPECT_EQ(now.width(), list.width());
        EXPECT_EQ(now.top(), 3);
        EXPECT_EQ(now.height(), size.height() - 6);
        const QRect preview = dlg.Preview()->geometry();
        EXPECT_GT(preview.left(), now.right());
        EXPECT_EQ(preview.right(), size.width() - 4);
        EXPECT_EQ(preview.height(), size.height() - 6);
    }
}

TEST(PrintPdf, PagesTurnedOneByOne)
{
    CTempFolder tmp;
    CDovereduDoc doc;
    AddSheets(doc);
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    const std::filesystem::path out = tmp.path / "alle.pdf";
    const QString path = QString::fromStdString(out.string());

    ASSERT_FALSE(WritePrintPdf(path, doc, PlanPrintJobs(doc, {2, 0, 1}, true), a4, {}));
    EXPECT_EQ(LandscapePages(out), (std::vector<bool> {false, true, true}));
    // Without automatic rotation the paper stays as it is.
    ASSERT_FALSE(WritePrintPdf(path, doc, PlanPrintJobs(doc, {0, 2}, false), a4, {}));
    EXPECT_EQ(LandscapePages(out), (std::vector<bool> {false, false}));
    // A file that cannot be written is reported; nothing is left behind.
    EXPECT_TRUE(WritePrintPdf(QString::fromStdString((tmp.path / "geen" / "x.pdf").string()), doc,
        PlanPrintJobs(doc, {0}, true), a4, {}));
}
