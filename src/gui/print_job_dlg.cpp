#include "gui/print_job_dlg.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>

#include "document/document.h"
#include "gui/printer_output.h"
#include "model/pen_table.h"
#include "model/sheet.h"
#include "qt/qt_canvas.h"
#include "qt/qt_text.h"

namespace {

const QColor kPreviewBackground(100, 100, 100);

// 573 x 352 dialog units of the system font.
constexpr int kDialogWidth = 860;
constexpr int kDialogHeight = 572;
// The column of the text and the buttons, then the list; the preview takes
// the rest. Each keeps 3 pixels from the dialog's edges.
constexpr int kInset = 3;
constexpr int kMargin = 8;
constexpr int kColumnWidth = 160;
constexpr int kListLeft = kMargin + kColumnWidth + kMargin;
constexpr int kListWidth = 220;
constexpr int kButtonHeight = 28;

} // namespace

CPrintPreview::CPrintPreview(QWidget* parent)
    : QWidget(parent)
{
}

void CPrintPreview::SetSheet(CSheet* s)
{
    sheet = s;
    update();
}

void CPrintPreview::paintEvent(QPaintEvent*)
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(kPreviewBackground);
    if (sheet != nullptr && width() > 0 && height() > 0) {
        // The sheet's own view must find everything as it left it.
        const CRect client = sheet->clientRect;
        const int32_t zoom = sheet->zoom;
        const int32_t lastZoom = sheet->zoomAtLastDraw;
        const int fit = sheet->fitMode;
        sheet->clientRect = {0, 0, width(), height()};
        const CPoint pan = sheet->ZoomAll();
        sheet->fitMode = 0;
        {
            QPainter painter(&image);
            CQtCanvas canvas(painter);
            CPenTable pens;
            sheet->DrawSheet(canvas, pens);
            // Selected parts print like the rest.
            sheet->DrawSelection(canvas, pens, CSheet::kSelectionNormal);
        }
        sheet->Pan(-pan.x, -pan.y, true);
        sheet->clientRect = client;
        sheet->zoom = zoom;
        sheet->zoomAtLastDraw = lastZoom;
        sheet->fitMode = fit;
    }
    QPainter(this).drawImage(0, 0, image);
}

CPrintJobDlg::CPrintJobDlg(CDovereduDoc& d, QPrinter& p, const CPrintOptions& o, QWidget* parent)
    : QDialog(parent)
    , doc(d)
    , printer(p)
    , options(o)
{
    setWindowTitle(QStringLiteral("Project Afdrukken"));
    text = new QLabel(QStringLiteral("Selecteer de bladen die u wilt afdrukken (gebruik de Ctrl "
                                     "toets voor gedeeltelijke lselectie)"),
        this);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    allButton = new QPushButton(QStringLiteral("Alle bladen"), this);
    resetButton = new QPushButton(QStringLiteral("Reset"), this);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    cancelButton = new QPushButton(QStringLiteral("Annuleren"), this);
    okButton->setDefault(true);
    list = new QListWidget(this);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    preview = new CPrintPreview(this);

    for (const auto& sheet : doc.sheets)
        list->addItem(FromCp1252(sheet->sheetName));
    list->selectAll();
    if (list->count() > 0)
        list->setCurrentRow(0, QItemSelectionModel::NoUpdate);

    connect(allButton, &QPushButton::clicked, list, &QListWidget::selectAll);
    connect(resetButton, &QPushButton::clicked, list, &QListWidget::clearSelection);
    connect(okButton, &QPushButton::clicked, this, &CPrintJobDlg::accept);
    connect(cancelButton, &QPushButton::clicked, this, &CPrintJobDlg::reject);
    connect(list, &QListWidget::currentRowChanged, this, &CPrintJobDlg::ShowFocused);
    connect(list, &QListWidget::itemSelectionChanged, this, &CPrintJobDlg::ShowFocused);

    setMinimumSize(kListLeft + kListWidth + 160, 300);
    resize(kDialogWidth, kDialogHeight);
    list->setFocus();
    ShowFocused();
}

std::vector<int> CPrintJobDlg::ChosenSheets() const
{
    std::vector<int> chosen;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            chosen.push_back(row);
    }
    return chosen;
}

void CPrintJobDlg::ShowFocused()
{
    const int row = list->currentRow();
    preview->SetSheet(row >= 0 && row < static_cast<int>(doc.sheets.size())
            ? doc.sheets[static_cast<size_t>(row)].get()
            : nullptr);
}

void CPrintJobDlg::accept()
{
    const std::vector<int> chosen = ChosenSheets();
    if (chosen.empty()) {
        QMessageBox::information(this, QCoreApplication::applicationName(),
            QStringLiteral("Er zijn geen bladen geselecteerd!"));
        return;
    }
    // A cancelled print dialog leaves the choice of sheets open.
    if (!(choosePrinter ? choosePrinter(printer) : ChoosePrinter(printer)))
        return;
    const auto jobs = PlanPrintJobs(doc, chosen, options.autoRotate);
    if (auto error = PrintJobs(printer, doc, jobs, options))
        QMessageBox::warning(this, QCoreApplication::applicationName(), *error);
    QDialog::accept();
}

bool CPrintJobDlg::ChoosePrinter(QPrinter& p)
{
    QPrintDialog dialog(&p, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // Without a printer a file is the only place a page can go.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, offerFile);
    return dialog.exec() == QDialog::Accepted;
}

void CPrintJobDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    text->setGeometry(kMargin, kMargin, kColumnWidth, 96);
    allButton->setGeometry(kMargin, kMargin + 104, kColumnWidth, kButtonHeight);
    resetButton->setGeometry(
        kMargin, kMargin + 104 + kButtonHeight + 6, kColumnWidth, kButtonHeight);
    okButton->setGeometry(
        kMargin, h - kMargin - 2 * kButtonHeight - 6, kColumnWidth, kButtonHeight);
    cancelButton->setGeometry(kMargin, h - kMargin - kButtonHeight, kColumnWidth, kButtonHeight);
    list->setGeometry(kListLeft, kInset, kListWidth, std::max(0, h - 2 * kInset));
    const int previewLeft = kListLeft + kListWidth + kInset;
    preview->setGeometry(
        previewLeft, kInset, std::max(0, w - previewLeft - kInset), std::max(0, h - 2 * kInset));
}
