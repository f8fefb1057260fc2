#include "gui/place_text_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_buttons.h"
#include "qt/qt_text.h"

namespace {

constexpr int kTextFieldWidth = 320;

// A field that takes any number typed and offers none: Return confirms the
// dialog instead of adding an entry.
QComboBox* NumberCombo(const std::string& value)
{
    auto* combo = new QComboBox;
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setEditText(FromCp1252(value));
    return combo;
}

} // namespace

CPlaceTextDlg::CPlaceTextDlg(const CPlaceTextValues& values, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Plaats tekst"));
    text = new QLineEdit(FromCp1252(values.text));
    text->setMinimumWidth(kTextFieldWidth);
    layer = NumberCombo(values.layer);
    pen = NumberCombo(values.pen);
    size = new QLineEdit(FromCp1252(values.size));
    mirror = new QCheckBox(QStringLiteral("Spiegelen"));
    mirror->setChecked(values.mirrored);
    angle = new QLineEdit(FromCp1252(values.angle));
    text->setObjectName(QStringLiteral("text"));
    layer->setObjectName(QStringLiteral("layer"));
    pen->setObjectName(QStringLiteral("pen"));
    size->setObjectName(QStringLiteral("size"));
    angle->setObjectName(QStringLiteral("angle"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tekst"), text);
    form->addRow(QStringLiteral("Laag"), layer);
    form->addRow(QStringLiteral("Pen"), pen);
    form->addRow(QStringLiteral("Maat"), size);
    form->addRow(QString(), mirror);
    form->addRow(QStringLiteral("Rotatie"), angle);

    QDialogButtonBox* buttons = OkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    text->setFocus();
    text->selectAll();
}

CPlaceTextValues CPlaceTextDlg::Values() const
{
    CPlaceTextValues v;
    v.text = ToCp1252(text->text());
    v.layer = ToCp1252(layer->currentText());
    v.pen = ToCp1252(pen->currentText());
    v.size = ToCp1252(size->text());
    v.mirrored = mirror->isChecked();
    v.angle = ToCp1252(angle->text());
    return v;
}
