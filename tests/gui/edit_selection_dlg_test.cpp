#include "gui/edit_selection_dlg.h"

#include <cstdlib>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>

#include "gui_test_main.h"

namespace {

// Presses OK on fields that are no valid values; the message shown.
std::string PressOkOnABadField(CEditSelectionDlg& dialog)
{
    auto message = std::make_shared<std::string>();
    RunWhenModal<QMessageBox>([message](QMessageBox* box) {
        *message = box->text().toStdString();
        box->accept();
    });
    dialog.accept();
    return *message;
}

} // namespace

// With RIDIZAV_SCREENSHOTS set, the dialog is saved there as edit_selection.png.
TEST(EditSelectionDlg, ShowsItsValuesAndStaysOpenOnAFieldThatIsNoNumber)
{
    CSelectionEditValues given;
    given.mirrorX = true;
    given.rotate = true;
    given.angle = "45";
    CEditSelectionDlg dialog(given);
    EXPECT_EQ(dialog.windowTitle(), "Selectie bewerken");
    EXPECT_TRUE(dialog.mirrorX->isChecked());
    EXPECT_FALSE(dialog.mirrorY->isChecked());
    EXPECT_EQ(dialog.angle->text(), "45");
    EXPECT_EQ(dialog.penFrom->currentText(), "All");
    EXPECT_EQ(dialog.penFrom->count(), 8);
    EXPECT_EQ(dialog.penTo->count(), 7);
    EXPECT_EQ(dialog.layerFrom->count(), 16);
    EXPECT_EQ(dialog.layerTo->currentText(), "1");
    EXPECT_EQ(dialog.factor->text(), "100");
    EXPECT_EQ(dialog.Values(), given);
    if (const char* shots = std::getenv("RIDIZAV_SCREENSHOTS")) {
        dialog.show();
        dialog.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/edit_selection.png"));
        dialog.hide();
    }

    dialog.changePen->setChecked(true);
    dialog.penFrom->setCurrentIndex(2);
    dialog.penTo->setCurrentIndex(4);
    dialog.changeLayer->setChecked(true);
    dialog.layerTo->setCurrentIndex(14);
    dialog.scale->setChecked(true);
    dialog.angle->setText("400");
    EXPECT_EQ(PressOkOnABadField(dialog), "Enter an integer between -359 and 359.");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.angle->setText("-90");
    dialog.factor->setText("1e999");
    EXPECT_EQ(PressOkOnABadField(dialog), "Enter a number.");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.factor->setText("12,5");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    CSelectionEditValues taken = given;
    taken.angle = "-90";
    taken.changePen = true;
    taken.penFrom = "2";
    taken.penTo = "5";
    taken.changeLayer = true;
    taken.layerTo = "15";
    taken.scale = true;
    taken.factor = "12,5";
    EXPECT_EQ(dialog.Values(), taken);
}
