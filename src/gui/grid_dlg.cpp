#include "gui/grid_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <optional>

#include "gui/dialog_buttons.h"
#include "app/settings.h"

namespace {

const QString kTitle = QStringLiteral("Blad Configuratie");
const QString kMsgNumber = QStringLiteral("Geef een getal op.");

QLineEdit* LengthField(const QString& name, int32_t micrometres)
{
    auto* edit = new QLineEdit(QString::fromStdString(MillimetreText(micrometres)));
    edit->setObjectName(name);
    return edit;
}

} // namespace

CGridDlg::CGridDlg(const CGridArr& grids, bool applyToAll, QWidget* parent)
    : QDialog(parent)
    , grids(grids)
    , applyToAll(applyToAll)
{
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget;
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    tabs->addTab(page, QStringLiteral("Raster"));
    layout->addWidget(tabs);

    const QString names[]
        = {QStringLiteral("Lijnen"), QStringLiteral("Symbolen"), QStringLiteral("Teksten")};
    const QString shown[]
        = {QStringLiteral("Onzichtbaar"), QStringLiteral("Punten"), QStringLiteral("Lijnen")};
    for (int g = 0; g < 3; ++g) {
        const CGrid& grid = grids.grids[static_cast<size_t>(g)];
        CControls& c = controls[static_cast<size_t>(g)];
        const QString n = QString::number(g);
        auto* box = new QGroupBox(names[g]);
        auto* form = new QGridLayout(box);
        c.spacingX = LengthField(QStringLiteral("spacingX") + n, grid.spacingX);
        c.spacingY = LengthField(QStringLiteral("spacingY") + n, grid.spacingY);
        c.snapX = LengthField(QStringLiteral("snapX") + n, grid.snapX);
        c.snapY = LengthField(QStringLiteral("snapY") + n, grid.snapY);
        c.snapOn = new QCheckBox(QStringLiteral("Op raster"));
        c.snapOn->setObjectName(QStringLiteral("snapOn") + n);
        c.snapOn->setChecked(grid.snapOn != 0);

        const auto row = [form](int r, const QString& label, QLineEdit* field) {
            form->addWidget(new QLabel(label), r, 0);
            form->addWidget(field, r, 1);
            form->addWidget(new QLabel(QStringLiteral("mm")), r, 2);
        };
        row(0, QStringLiteral("X as"), c.spacingX);
        row(1, QStringLiteral("Y as"), c.spacingY);
        form->addWidget(c.snapOn, 2, 0, 1, 3);
        row(3, QStringLiteral("X as"), c.snapX);
        row(4, QStringLiteral("Y as"), c.snapY);

        c.display = new QButtonGroup(box);
        auto* choices = new QVBoxLayout;
        for (int d = 0; d < 3; ++d) {
            auto* radio = new QRadioButton(shown[d]);
            radio->setObjectName(QStringLiteral("display%1_%2").arg(g).arg(d));
            c.display->addButton(radio, d);
            choices->addWidget(radio);
        }
        if (QAbstractButton* b = c.display->button(grid.display))
            b->setChecked(true);
        form->addLayout(choices, 0, 3, 2, 1);
        pageLayout->addWidget(box);
    }
    toAll = new QCheckBox(QStringLiteral("Toepassen op alle bladen"));
    toAll->setObjectName(QStringLiteral("gridToAllSheets"));
    toAll->setChecked(applyToAll);
    pageLayout->addWidget(toAll);
    pageLayout->addStretch();

    layout->addWidget(OkCancelButtons(this));
}

void CGridDlg::accept()
{
    CGridArr taken = grids;
    for (size_t g = 0; g < controls.size(); ++g) {
        const CControls& c = controls[g];
        CGrid& grid = taken.grids[g];
        const std::pair<QLineEdit*, int32_t*> lengths[] = {{c.spacingX, &grid.spacingX},
            {c.spacingY, &grid.spacingY}, {c.snapX, &grid.snapX}, {c.snapY, &grid.snapY}};
        for (const auto& [field, value] : lengths) {
            const std::optional<int> um = MicrometresFromText(field->text().toStdString());
            if (!um) {
                // A spacing the user did not mean must not become a grid of
                // a micrometre: the dialog stays open on the field.
                QMessageBox::warning(this, kTitle, kMsgNumber);
                field->setFocus();
                field->selectAll();
                return;
            }
            *value = *um > 0 ? *um : 1;
        }
        if (c.display->checkedId() >= 0)
            grid.display = c.display->checkedId();
        if (grid.display > 0)
            grid.lastDisplay = grid.display;
        grid.snapOn = c.snapOn->isChecked() ? 1 : 0;
    }
    grids = taken;
    applyToAll = toAll->isChecked();
    QDialog::accept();
}

bool EditSheetGrids(CGridArr& grids, bool& applyToAll, QWidget* parent)
{
    CGridDlg dialog(grids, applyToAll, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    grids = dialog.Grids();
    applyToAll = dialog.ApplyToAll();
    return true;
}
