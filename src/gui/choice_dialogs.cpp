#include "gui/choice_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/dialog_buttons.h"
#include "model/sheet.h"
#include "qt/qt_canvas.h"
#include "qt/qt_text.h"

namespace {

COLORREF ToColorref(const QColor& c)
{
    return Rgb(c.red(), c.green(), c.blue());
}

// A list whose double click confirms the dialog.
QListWidget* ChoiceList(QDialog* dialog, const std::vector<std::string>& entries, int row)
{
    auto* list = new QListWidget;
    for (const std::string& entry : entries)
        list->addItem(FromCp1252(entry));
    list->setCurrentRow(row);
    QObject::connect(
        list, &QListWidget::itemDoubleClicked, dialog, [list, dialog](QListWidgetItem* item) {
            list->setCurrentItem(item);
            dialog->accept();
        });
    return list;
}

constexpr int kStyleFieldWidth = 120;
constexpr int kStyleFieldHeight = 20;
constexpr int kColourFieldWidth = 44;
constexpr int kColourFieldHeight = 18;
constexpr int kNameFieldWidth = 130;
constexpr int kUsesFieldWidth = 56;

} // namespace

// --- CSelectLayerDlg -------------------------------------------------------

CSelectLayerDlg::CSelectLayerDlg(const CLayerArray& layers, int layer, QWidget* parent)
    : QDialog(parent)
    , given(layer)
{
    setWindowTitle(QStringLiteral("Kies actieve laag"));
    list = ChoiceList(this, LayerChoiceEntries(layers), LayerChoiceRow(layer));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addWidget(OkCancelButtons(this));
    list->setFocus();
}

int CSelectLayerDlg::Layer() const
{
    if (result() != Accepted || list->currentRow() < 0)
        return given;
    return list->currentRow() + 1;
}

int CSelectLayerDlg::Choose(QWidget* parent, const CSheet* sheet, int layer)
{
    if (!sheet)
        return layer;
    CSelectLayerDlg dialog(sheet->layers, layer, parent);
    dialog.exec();
    return dialog.Layer();
}

// --- CPenDialog ------------------------------------------------------------

CPenStyleField::CPenStyleField(int pen, QWidget* parent)
    : QFrame(parent)
    , pen(pen)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedSize(kStyleFieldWidth, kStyleFieldHeight);
}

void CPenStyleField::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    const QRect area = contentsRect();
    QPainter painter(this);
    painter.fillRect(area, Qt::white);
    painter.setClipRect(area);
    CQtCanvas canvas(painter);
    canvas.SelectPen({2, Rgb(0, 0, 0), PenStyle::Solid});
    const int y = area.center().y();
    CSheet::DrawDashedLine(
        canvas, area.left() + 2, y, area.right() - 2, y, pen, kPenStyleMicrometresPerPixel);
}

CEditPenWidth::CEditPenWidth(const std::string& text, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Pendiameter aanpassen"));
    field = new QLineEdit(FromCp1252(text));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(field);
    layout->addWidget(OkCancelButtons(this));
    field->setFocus();
    field->selectAll();
}

std::string CEditPenWidth::Text() const
{
    return ToCp1252(field->text());
}

CPenDialog::CPenDialog(const std::array<int32_t, kPenCount>& penWidths, int pen, QWidget* parent)
    : QDialog(parent)
    , choice(penWidths, pen)
{
    setWindowTitle(QStringLiteral("Kies pen "));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Pen")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Dikte Laag 1..7")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Style Laag 8..15")), 0, 2);
    for (int p = 1; p <= kChoosablePens; ++p) {
        const auto k = static_cast<size_t>(p - 1);
        pens[k] = new QRadioButton(QString::number(p));
        widths[k] = new QLineEdit(FromCp1252(choice.WidthText(p)));
        widths[k]->setReadOnly(true);
        widths[k]->setFocusPolicy(Qt::NoFocus);
        styles[k] = new CPenStyleField(p);
        grid->addWidget(pens[k], p, 0);
        grid->addWidget(widths[k], p, 1);
        grid->addWidget(styles[k], p, 2);
        connect(pens[k], &QRadioButton::toggled, this, [this, p](bool on) {
            if (on)
                choice.SelectPen(p);
        });
    }
    pens[static_cast<size_t>(choice.Pen() - 1)]->setChecked(true);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    adjust = new QPushButton(QStringLiteral("Aanpassen"));
    auto* cancel = new QPushButton(QStringLiteral("Annuleren"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(adjust, &QPushButton::clicked, this, &CPenDialog::AdjustWidth);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(adjust);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // The digit keys work wherever the focus is.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    pens[static_cast<size_t>(choice.Pen() - 1)]->setFocus();
}

void CPenDialog::AdjustWidth()
{
    const int pen = choice.Pen();
    CEditPenWidth dialog(choice.WidthText(pen), this);
    if (dialog.exec() != Accepted)
        return;
    // Taken as typed: the text is read as a number only when the pen dialog
    // is confirmed.
    choice.SetWidthText(pen, dialog.Text());
    widths[static_cast<size_t>(pen - 1)]->setText(FromCp1252(choice.WidthText(pen)));
}

bool CPenDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const int pen = PenOfKey(key->key())) {
            pens[static_cast<size_t>(pen - 1)]->setChecked(true);
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int CPenDialog::Choose(QWidget* parent, CSheet* sheet, int pen)
{
    if (!CPenChoice::Opens(pen, sheet != nullptr))
        return pen;
    CPenDialog dialog(sheet->penWidths, pen, parent);
    if (dialog.exec() != Accepted)
        return pen;
    return dialog.choice.Accept(sheet->penWidths);
}

// --- CLayerDlg -------------------------------------------------------------

CColourField::CColourField(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedSize(kColourFieldWidth, kColourFieldHeight);
}

void CColourField::SetColour(const QColor& c)
{
    colour = c;
    update();
}

void CColourField::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter(this).fillRect(contentsRect(), colour);
}

CLayerDlg::CLayerDlg(const CSheet& sheet, QWidget* parent)
    : CLayerDlg(CLayerTable(sheet), parent)
{
}

CLayerDlg::CLayerDlg(const CLayerTable& values, QWidget* parent)
    : QDialog(parent)
    , table(values)
{
    setWindowTitle(QStringLiteral("Laag configuratie"));
    askColour = [this](const QColor& current) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(current, this);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    };

    auto* grid = new QGridLayout;
    constexpr int kColumns = 7; // Nr, Naam, Data, Kleur, "...", Toon and a gap
    for (int block = 0; block < 2; ++block) {
        const int c = block * kColumns;
        int col = c;
        for (const char* heading : {"Nr", "Naam", "Data", "Kleur", "", "Toon"})
            grid->addWidget(new QLabel(QString::fromLatin1(heading)), 0, col++);
    }
    grid->setColumnMinimumWidth(kColumns - 1, 24);

    constexpr int kRowsPerBlock = 8;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        const auto k = static_cast<size_t>(layer);
        // Layers 1 to 8 at the left, 9 to 15 at the right, the background
        // under them.
        const int index = layer == 0 ? kLayerCount - 1 : layer - 1;
        const int row = 1 + index % kRowsPerBlock;
        const int c = (index / kRowsPerBlock) * kColumns;

        grid->addWidget(new QLabel(QString::number(layer)), row, c);
        if (layer == 0) {
            grid->addWidget(new QLabel(QStringLiteral("Achtergrond")), row, c + 1);
        } else {
            names[k] = new QLineEdit(FromCp1252(table.names[k]));
            names[k]->setFixedWidth(kNameFieldWidth);
            grid->addWidget(names[k], row, c + 1);
        }
        uses[k] = new QLabel(QString::number(table.uses[k]));
        uses[k]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        uses[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        uses[k]->setFixedWidth(kUsesFieldWidth);
        grid->addWidget(uses[k], row, c + 2);
        colours[k] = new CColourField;
        grid->addWidget(colours[k], row, c + 3);
        colourButtons[k] = new QPushButton(QStringLiteral("..."));
        colourButtons[k]->setFixedWidth(28);
        connect(
            colourButtons[k], &QPushButton::clicked, this, [this, layer] { ChooseColour(layer); });
        grid->addWidget(colourButtons[k], row, c + 4);
        shown[k] = new QCheckBox;
        shown[k]->setChecked(table.visible[k]);
        grid->addWidget(shown[k], row, c + 5);
    }

    printColours = new QCheckBox(QStringLiteral("Afdrukkleuren"));
    connect(printColours, &QCheckBox::toggled, this, [this](bool on) {
        table.ShowPrintColours(on);
        ShowColours();
    });
    ShowColours();

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(printColours);
    bottom->addStretch();
    bottom->addWidget(OkCancelButtons(this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    if (names[1])
        names[1]->setFocus();
}

void CLayerDlg::ShowColours()
{
    for (int layer = 0; layer < kLayerCount; ++layer)
        colours[static_cast<size_t>(layer)]->SetColour(CQtCanvas::Colour(table.Colour(layer)));
}

void CLayerDlg::ChooseColour(int layer)
{
    if (layer < 0 || layer >= kLayerCount || !askColour)
        return;
    CColourField* field = colours[static_cast<size_t>(layer)];
    const std::optional<QColor> chosen = askColour(field->Colour());
    if (!chosen || !chosen->isValid())
        return;
    table.SetColour(layer, ToColorref(*chosen));
    field->SetColour(CQtCanvas::Colour(table.Colour(layer)));
}

CLayerTable CLayerDlg::Table() const
{
    CLayerTable shownTable = table;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        const auto k = static_cast<size_t>(layer);
        if (names[k])
            shownTable.names[k] = ToCp1252(names[k]->text());
        shownTable.visible[k] = shown[k]->isChecked();
    }
    return shownTable;
}

void CLayerDlg::Apply(CSheet& sheet)
{
    Table().Apply(sheet);
}

// --- CChooseFontDlg --------------------------------------------------------

CChooseFontDlg::CChooseFontDlg(
    const std::vector<std::string>& faces, int fontNumber, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Kies lettertype"));
    list = ChoiceList(
        this, FontChoiceEntries(faces), FontChoiceRow(fontNumber, static_cast<int>(faces.size())));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addWidget(OkCancelButtons(this));
    list->setFocus();
}

int CChooseFontDlg::FontNumber() const
{
    return list->currentRow();
}
