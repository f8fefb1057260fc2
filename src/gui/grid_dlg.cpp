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

#include "app/settings.h"
#include "gui/dialog_buttons.h"
#include "gui/grid_fields.h"

namespace {

const QString kTitle = QStringLiteral("Blad Configuratie");
const QString kMsgNumber = QStringLiteral("Geef een getal op.");

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

    for (int g = 0; g < 3; ++g)
        pageLayout->addWidget(MakeGridFields(
            g, grids.grids[static_cast<size_t>(g)], controls[static_cast<size_t>(g)]));
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
        CGrid& grid = taken.grids[g];
        if (QLineEdit* field = TakeGridFields(controls[g], grid)) {
            // A spacing the user did not mean must not become a grid of a
            // micrometre: the dialog stays open on the field.
            QMessageBox::warning(this, kTitle, kMsgNumber);
            field->setFocus();
            field->selectAll();
            return;
        }
        for (int32_t* value : {&grid.spacingX, &grid.spacingY, &grid.snapX, &grid.snapY})
            *value = *value > 0 ? *value : 1;
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
