#include "gui/grid_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTabWidget>

#include "gui_test_main.h"

namespace {

template<class T> T* Find(QWidget& dialog, const QString& name)
{
    T* w = dialog.findChild<T*>(name);
    if (w == nullptr)
        ADD_FAILURE() << "no control " << name.toStdString();
    return w;
}

QString Text(QWidget& dialog, const char* name)
{
    return Find<QLineEdit>(dialog, QLatin1String(name))->text();
}

void SetText(QWidget& dialog, const char* name, const char* text)
{
    Find<QLineEdit>(dialog, QLatin1String(name))->setText(QLatin1String(text));
}

} // namespace

TEST(GridDlg, ShowsMillimetresAndTakesThemBack)
{
    CGridArr grids;
    grids.grids[1] = CGrid {7500, 2000, 250, 1, 1, 0, 1};
    CGridDlg dlg(grids, false);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Blad Configuratie"));
    EXPECT_EQ(Find<QTabWidget>(dlg, QString())->tabText(0), QStringLiteral("Raster"));
    EXPECT_EQ(Text(dlg, "spacingX1"), QStringLiteral("7.500"));
    EXPECT_EQ(Text(dlg, "spacingY1"), QStringLiteral("2.000"));
    EXPECT_EQ(Text(dlg, "snapX1"), QStringLiteral("0.250"));
    EXPECT_EQ(Text(dlg, "snapY1"), QStringLiteral("0.001"));
    EXPECT_TRUE(Find<QRadioButton>(dlg, "display1_1")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "snapOn1")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dlg, "gridToAllSheets")->isChecked());
    EXPECT_EQ(Find<QCheckBox>(dlg, "gridToAllSheets")->text(),
        QStringLiteral("Toepassen op alle bladen"));

    SetText(dlg, "spacingX0", "7,5"); // a decimal comma is a point
    SetText(dlg, "spacingY0", "0"); // nothing, or less, is one micrometre
    SetText(dlg, "snapX0", "-3");
    Find<QRadioButton>(dlg, "display0_0")->setChecked(true);
    Find<QRadioButton>(dlg, "display2_1")->setChecked(true);
    Find<QCheckBox>(dlg, "snapOn2")->setChecked(false);
    Find<QCheckBox>(dlg, "gridToAllSheets")->setChecked(true);
    dlg.accept();
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Grids().grids[0], (CGrid {7500, 1, 1, 5000, 0, 1, 2}));
    EXPECT_EQ(dlg.Grids().grids[1], grids.grids[1]);
    EXPECT_EQ(dlg.Grids().grids[2], (CGrid {10000, 10000, 1000, 1000, 1, 0, 1}));
    EXPECT_TRUE(dlg.ApplyToAll());
}

TEST(GridDlg, AFieldWithoutANumberKeepsTheDialogOpen)
{
    CGridArr grids;
    CGridDlg dlg(grids, true);
    SetText(dlg, "snapY2", "vijf");
    QString said;
    RunWhenModal<QMessageBox>([&](QMessageBox* box) {
        said = box->text();
        box->accept();
    });
    dlg.accept();
    EXPECT_EQ(said, QStringLiteral("Geef een getal op."));
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Grids(), grids);
}
