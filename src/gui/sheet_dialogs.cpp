#include "gui/sheet_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/dir.h"
#include "document/document.h"
#include "gui/dialog_buttons.h"
#include "model/pen_table.h"
#include "qt/qt_canvas.h"
#include "qt/qt_text.h"

CSheetPreview::CSheetPreview(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(240, 170);
}

void CSheetPreview::SetSheet(CSheet* s)
{
    sheet = s;
    update();
}

void CSheetPreview::paintEvent(QPaintEvent*)
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(QColor(100, 100, 100));
    if (sheet) {
        sheet->clientRect = {0, 0, width(), height()};
        sheet->fitMode = 1;
        QPainter painter(&image);
        CQtCanvas canvas(painter);
        CPenTable pens;
        sheet->DrawSheet(canvas, pens);
    }
    QPainter(this).drawImage(0, 0, image);
}

CSjablonenDlg::CSjablonenDlg(const std::string& templatesFolder, QWidget* parent)
    : QDialog(parent)
    , folder(templatesFolder)
{
    setWindowTitle(QStringLiteral("Blad toevoegen"));
    groups = new QListWidget;
    templates = new QListWidget;
    preview = new CSheetPreview;
    noTemplate = new QPushButton(QStringLiteral("Geen sjabloon gebruiken"));

    CDir::ListFiles(folder + "/*.ETT", groupFiles, CDir::kKeepExtensions);
    for (const std::string& file : groupFiles)
        groups->addItem(FromUtf8(CDir::TitleOf(file)));

    connect(groups, &QListWidget::currentRowChanged, this, &CSjablonenDlg::LoadGroup);
    connect(templates, &QListWidget::currentRowChanged, this, &CSjablonenDlg::ShowTemplate);
    connect(templates, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(noTemplate, &QPushButton::clicked, this, [this] { done(WithoutTemplate); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Groepen")), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Sjablonen")), 0, 1);
    layout->addWidget(groups, 1, 0);
    layout->addWidget(templates, 1, 1);
    layout->addWidget(preview, 0, 2, 2, 1);
    auto* buttons = OkCancelButtons(this);
    buttons->addButton(noTemplate, QDialogButtonBox::ActionRole);
    layout->addWidget(buttons, 2, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    resize(780, 360);

    if (groups->count() > 0)
        groups->setCurrentRow(0);
}

CSjablonenDlg::~CSjablonenDlg() = default;

void CSjablonenDlg::LoadGroup(int row)
{
    preview->SetSheet(nullptr);
    templates->clear();
    project.reset();
    if (row < 0 || row >= static_cast<int>(groupFiles.size()))
        return;
    auto doc = std::make_unique<CDovereduDoc>();
    doc->SetViewRect(0, 0, 200, 200);
    // A template that cannot be read leaves the list empty.
    if (doc->Open(folder + "/" + groupFiles[static_cast<size_t>(row)]))
        return;
    project = std::move(doc);
    for (const auto& sheet : project->sheets)
        templates->addItem(FromCp1252(sheet->sheetName));
    if (templates->count() > 0)
        templates->setCurrentRow(0);
}

void CSjablonenDlg::ShowTemplate(int row)
{
    if (!project || row < 0 || row >= static_cast<int>(project->sheets.size())) {
        preview->SetSheet(nullptr);
        return;
    }
    project->SetActiveSheet(row);
    preview->SetSheet(&project->GetActiveSheet());
}

const CSheet* CSjablonenDlg::ChosenSheet() const
{
    if (!project || !project->HasSheets() || templates->currentRow() < 0)
        return nullptr;
    return project->sheets[static_cast<size_t>(templates->currentRow())].get();
}

CSheetManagerDlg::CSheetManagerDlg(const CDovereduDoc& doc, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Blad indeling"));
    list = new QListWidget;
    for (size_t i = 0; i < doc.sheets.size(); ++i) {
        list->addItem(FromCp1252(doc.sheets[i]->sheetName));
        order.push_back(static_cast<int>(i));
    }
    if (list->count() > 0)
        list->setCurrentRow(0);
    up = new QPushButton(QStringLiteral("Omhoog"));
    down = new QPushButton(QStringLiteral("Omlaag"));
    connect(up, &QPushButton::clicked, this, &CSheetManagerDlg::MoveUp);
    connect(down, &QPushButton::clicked, this, &CSheetManagerDlg::MoveDown);

    auto* side = new QVBoxLayout;
    side->addWidget(up);
    side->addWidget(down);
    side->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(list);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Aanwezige bladen")));
    layout->addLayout(row);
    layout->addWidget(OkCancelButtons(this));
}

void CSheetManagerDlg::Swap(int a, int b)
{
    QListWidgetItem* first = list->item(a);
    QListWidgetItem* second = list->item(b);
    const QString text = first->text();
    first->setText(second->text());
    second->setText(text);
    std::swap(order[static_cast<size_t>(a)], order[static_cast<size_t>(b)]);
    list->setCurrentRow(b);
}

void CSheetManagerDlg::MoveUp()
{
    const int row = list->currentRow();
    if (row > 0)
        Swap(row, row - 1);
}

void CSheetManagerDlg::MoveDown()
{
    const int row = list->currentRow();
    if (row >= 0 && row + 1 < list->count())
        Swap(row, row + 1);
}

std::vector<std::string> CSheetManagerDlg::Names() const
{
    std::vector<std::string> names;
    for (int i = 0; i < list->count(); ++i)
        names.push_back(ToCp1252(list->item(i)->text()));
    return names;
}

CEditSheetNameDlg::CEditSheetNameDlg(const std::string& name, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Bladnaam aanpassen"));
    field = new QLineEdit(FromCp1252(name));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Nieuwe naam")));
    layout->addWidget(field);
    layout->addWidget(OkCancelButtons(this));
}

std::string CEditSheetNameDlg::Name() const
{
    return ToCp1252(field->text());
}

CSelectSheetDlg::CSelectSheetDlg(int n, QWidget* parent)
    : QDialog(parent)
    , number(n)
{
    setWindowTitle(QStringLiteral("Ga naar blad"));
    field = new QLineEdit(QString::number(n));
    field->setObjectName(QStringLiteral("SheetNr"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(field);
    layout->addWidget(OkCancelButtons(this));
    field->setFocus();
    field->selectAll();
}

void CSelectSheetDlg::accept()
{
    bool ok = false;
    const uint value = field->text().trimmed().toUInt(&ok);
    if (!ok || value > 0x7FFFFFFF) {
        QMessageBox::warning(this, windowTitle(), QStringLiteral("Enter a positive integer."));
        field->setFocus();
        return;
    }
    number = static_cast<int>(value);
    QDialog::accept();
}
