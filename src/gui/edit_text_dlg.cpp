#include "gui/edit_text_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/dialog_buttons.h"
#include "model/layer.h"
#include "qt/qt_text.h"

CEditTextDlg::CEditTextDlg(
    const CEditTextValues& values, const std::vector<std::string>& fontEntries, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Bewerk tekst"));
    text = new QLineEdit(FromCp1252(values.text));
    text->setObjectName(QStringLiteral("text"));
    text->setMinimumWidth(300);
    height = new QLineEdit(FromCp1252(values.height));
    height->setObjectName(QStringLiteral("height"));
    layer = new QComboBox;
    layer->setObjectName(QStringLiteral("layer"));
    layer->setEditable(true);
    layer->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 1; i < kLayerCount; ++i)
        layer->addItem(QString::number(i));
    layer->setEditText(FromCp1252(values.layer));
    angle = new QLineEdit(FromCp1252(values.angle));
    angle->setObjectName(QStringLiteral("angle"));
    font = new QComboBox;
    font->setObjectName(QStringLiteral("font"));
    for (const std::string& entry : fontEntries)
        font->addItem(FromCp1252(entry));
    font->setCurrentIndex(std::clamp(values.fontNumber, 0, std::max(font->count() - 1, 0)));
    bold = new QCheckBox(QStringLiteral("Vet"));
    bold->setObjectName(QStringLiteral("bold"));
    bold->setChecked(values.bold);
    italic = new QCheckBox(QStringLiteral("Schuin"));
    italic->setObjectName(QStringLiteral("italic"));
    italic->setChecked(values.italic);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tekst"), text);
    form->addRow(QStringLiteral("Maat"), height);
    form->addRow(QStringLiteral("Laag"), layer);
    form->addRow(QStringLiteral("Rotatie"), angle);
    form->addRow(QStringLiteral("Font"), font);
    auto* styles = new QHBoxLayout;
    styles->addWidget(bold);
    styles->addWidget(italic);
    styles->addStretch();
    form->addRow(styles);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    text->setFocus();
    text->selectAll();
}

CEditTextValues CEditTextDlg::Values() const
{
    CEditTextValues values;
    values.text = TypedCp1252(text->text());
    values.height = ToCp1252(height->text());
    values.layer = ToCp1252(layer->currentText());
    values.angle = ToCp1252(angle->text());
    values.fontNumber = std::max(font->currentIndex(), 0);
    values.bold = bold->isChecked();
    values.italic = italic->isChecked();
    return values;
}
