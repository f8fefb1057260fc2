#include "gui/edit_selection_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/dialog_buttons.h"
#include "gui/message_box.h"

namespace {

QComboBox* Choices(const std::vector<std::string>& texts, const std::string& current)
{
    auto* box = new QComboBox;
    for (const std::string& t : texts)
        box->addItem(QString::fromStdString(t));
    const int i = box->findText(QString::fromStdString(current));
    box->setCurrentIndex(i >= 0 ? i : 0);
    return box;
}

// A group with a tick of its own, "van" and "naar".
QGroupBox* ChangeGroup(const char* title, QCheckBox* tick, QComboBox* from, QComboBox* to)
{
    auto* group = new QGroupBox(QString::fromLatin1(title));
    auto* row = new QHBoxLayout(group);
    row->addWidget(tick);
    row->addWidget(new QLabel(QStringLiteral("van")));
    row->addWidget(from);
    row->addWidget(new QLabel(QStringLiteral("naar")));
    row->addWidget(to);
    return group;
}

std::string Text(const QLineEdit* field)
{
    return field->text().toStdString();
}

std::string Text(const QComboBox* box)
{
    return box->currentText().toStdString();
}

} // namespace

CEditSelectionDlg::CEditSelectionDlg(const CSelectionEditValues& v, QWidget* parent)
    : QDialog(parent)
    , mirrorX(new QCheckBox(QStringLiteral("X as")))
    , mirrorY(new QCheckBox(QStringLiteral("Y as")))
    , rotate(new QCheckBox)
    , angle(new QLineEdit(QString::fromStdString(v.angle)))
    , changePen(new QCheckBox)
    , penFrom(Choices(FromChoices(7), v.penFrom))
    , penTo(Choices(ToChoices(7), v.penTo))
    , changeLayer(new QCheckBox)
    , layerFrom(Choices(FromChoices(15), v.layerFrom))
    , layerTo(Choices(ToChoices(15), v.layerTo))
    , scale(new QCheckBox)
    , factor(new QLineEdit(QString::fromStdString(v.factor)))
{
    setWindowTitle(QStringLiteral("Selectie bewerken"));
    mirrorX->setChecked(v.mirrorX);
    mirrorY->setChecked(v.mirrorY);
    rotate->setChecked(v.rotate);
    changePen->setChecked(v.changePen);
    changeLayer->setChecked(v.changeLayer);
    scale->setChecked(v.scale);
    angle->setObjectName(QStringLiteral("angle"));
    factor->setObjectName(QStringLiteral("factor"));

    auto* layout = new QVBoxLayout(this);
    auto* mirror = new QGroupBox(QStringLiteral("Spiegel"));
    auto* mirrorRow = new QHBoxLayout(mirror);
    mirrorRow->addWidget(mirrorX);
    mirrorRow->addWidget(mirrorY);
    layout->addWidget(mirror);

    auto* turn = new QGroupBox(QStringLiteral("Roteer"));
    auto* turnRow = new QHBoxLayout(turn);
    turnRow->addWidget(rotate);
    turnRow->addWidget(angle);
    turnRow->addWidget(new QLabel(QStringLiteral("Graden")));
    layout->addWidget(turn);

    layout->addWidget(ChangeGroup("Penwissel", changePen, penFrom, penTo));
    layout->addWidget(ChangeGroup("Laagwissel", changeLayer, layerFrom, layerTo));

    auto* resize = new QGroupBox(QStringLiteral("Schaal"));
    auto* resizeRow = new QHBoxLayout(resize);
    resizeRow->addWidget(scale);
    resizeRow->addWidget(factor);
    resizeRow->addWidget(new QLabel(QStringLiteral("%")));
    layout->addWidget(resize);

    layout->addWidget(OkCancelButtons(this));
}

CSelectionEditValues CEditSelectionDlg::Values() const
{
    CSelectionEditValues v;
    v.mirrorX = mirrorX->isChecked();
    v.mirrorY = mirrorY->isChecked();
    v.rotate = rotate->isChecked();
    v.angle = Text(angle);
    v.changePen = changePen->isChecked();
    v.penFrom = Text(penFrom);
    v.penTo = Text(penTo);
    v.changeLayer = changeLayer->isChecked();
    v.layerFrom = Text(layerFrom);
    v.layerTo = Text(layerTo);
    v.scale = scale->isChecked();
    v.factor = Text(factor);
    return v;
}

void CEditSelectionDlg::accept()
{
    if (const auto message = CheckSelectionEdit(Values())) {
        ShowMessageBox(this, *message);
        QLineEdit* field = *message == kMsgAngle ? angle : factor;
        field->setFocus();
        field->selectAll();
        return;
    }
    QDialog::accept();
}
