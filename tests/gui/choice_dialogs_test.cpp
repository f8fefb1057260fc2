#include "gui/choice_dialogs.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "gui_test_main.h"
#include "model/sheet.h"
#include "qt/qt_canvas.h"

namespace {

void PressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)));
    QApplication::sendEvent(target, &press);
}

QStringList Entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

TEST(SelectLayerDlg, ShowsTheLayersAndReturnsTheChoice)
{
    CSheet sheet;
    sheet.layers.SetName(2, "Kabels");
    sheet.layers.SetName(7, "");
    CSelectLayerDlg dlg(sheet.layers, 3);
    EXPECT_EQ(dlg.windowTitle(), "Kies actieve laag");
    ASSERT_EQ(dlg.list->count(), 15);
    EXPECT_EQ(dlg.list->item(1)->text(), "Kabels");
    EXPECT_EQ(dlg.list->item(6)->text(), "Layer 7");
    EXPECT_EQ(dlg.list->currentRow(), 2);

    dlg.list->setCurrentRow(6);
    dlg.reject();
    EXPECT_EQ(dlg.Layer(), 3);
    // A double click confirms its entry.
    emit dlg.list->itemDoubleClicked(dlg.list->item(6));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Layer(), 7);

    // Without a sheet nothing shows.
    EXPECT_EQ(CSelectLayerDlg::Choose(nullptr, nullptr, 4), 4);
}

TEST(PenDialog, ShowsWidthsAndSelectsTheGivenPen)
{
    std::array<int32_t, kPenCount> widths = {1, 200, 250, 300, 500, 800, 1000, 1001};
    CPenDialog dlg(widths, 4);
    EXPECT_EQ(dlg.windowTitle(), "Kies pen ");
    EXPECT_EQ(dlg.widths[0]->text(), "  0.200 mm");
    EXPECT_EQ(dlg.widths[6]->text(), "  1.001 mm");
    EXPECT_TRUE(dlg.widths[0]->isReadOnly());
    EXPECT_TRUE(dlg.pens[3]->isChecked());
    EXPECT_EQ(dlg.pens[6]->text(), "7");
    EXPECT_EQ(dlg.adjust->text(), "Aanpassen");

    dlg.pens[1]->setChecked(true);
    EXPECT_EQ(dlg.Choice().Pen(), 2);
}

TEST(PenDialog, ChoiceStoresWidthsAndPen)
{
    CSheet sheet;
    sheet.penWidths = {1, 200, 250, 300, 500, 800, 1000, 1001};

    // The key 3 closes at once with pen 3; every width is stored again from
    // its text, so 500 stays 500 and 1001 (shown as 1.001) becomes 1000.
    RunWhenModal<CPenDialog>([](CPenDialog* d) { PressKey(d->pens[0], Qt::Key_3); });
    EXPECT_EQ(CPenDialog::Choose(nullptr, &sheet, 1), 3);
    EXPECT_EQ(
        sheet.penWidths, (std::array<int32_t, kPenCount> {1, 200, 250, 300, 500, 800, 1000, 1000}));

    // "Aanpassen" on pen 2 with "0.5", then OK.
    RunWhenModal<CPenDialog>([](CPenDialog* d) {
        d->pens[1]->setChecked(true);
        RunWhenModal<CEditPenWidth>([](CEditPenWidth* e) {
            EXPECT_EQ(e->windowTitle(), "Pendiameter aanpassen");
            EXPECT_EQ(e->field->text(), "  0.250 mm");
            e->field->setText("0.5");
            e->accept();
        });
        d->adjust->click();
        EXPECT_EQ(d->widths[1]->text(), "0.5");
        d->accept();
    });
    EXPECT_EQ(CPenDialog::Choose(nullptr, &sheet, 3), 2);
    EXPECT_EQ(sheet.penWidths[2], 500);

    // Cancel keeps the pen and the widths, whatever was adjusted.
    const auto before = sheet.penWidths;
    RunWhenModal<CPenDialog>([](CPenDialog* d) {
        RunWhenModal<CEditPenWidth>([](CEditPenWidth* e) {
            e->field->setText("9");
            e->accept();
        });
        d->adjust->click();
        d->reject();
    });
    EXPECT_EQ(CPenDialog::Choose(nullptr, &sheet, 5), 5);
    EXPECT_EQ(sheet.penWidths, before);

    // No dialog for pen 0 or without a sheet.
    EXPECT_EQ(CPenDialog::Choose(nullptr, &sheet, 0), 0);
    EXPECT_EQ(CPenDialog::Choose(nullptr, nullptr, 2), 2);
}

TEST(PenDialog, DrawsEachPensLineStyle)
{
    // Pen 1 is solid; pen 2 dashes 2 mm and leaves 1 mm, at 100 micrometres
    // a pixel: 20 pixels drawn, then 10 left white.
    const auto blackAt = [](const QImage& image, int x) {
        for (int y = image.height() / 2 - 2; y <= image.height() / 2 + 2; ++y) {
            if (image.pixelColor(x, y) == Qt::black)
                return true;
        }
        return false;
    };
    CPenStyleField solid(1);
    CPenStyleField dashed(2);
    const QImage a = solid.grab().toImage();
    const QImage b = dashed.grab().toImage();
    const int start = solid.contentsRect().left() + 2;
    for (int x : {start + 1, start + 12, start + 26, start + 50})
        EXPECT_TRUE(blackAt(a, x)) << x;
    EXPECT_TRUE(blackAt(b, start + 12));
    EXPECT_FALSE(blackAt(b, start + 26));
    EXPECT_TRUE(blackAt(b, start + 35));
}

TEST(LayerDlg, ShowsTheLayersAndStoresTheEdits)
{
    CSheet sheet;
    sheet.layers.SetName(7, "");
    sheet.layers.SetVisible(12, 0);
    sheet.layerColours[3] = Rgb(255, 0, 0);
    sheet.printColours[3] = Rgb(0, 0, 255);
    sheet.layers.Layer(3).recordUses = 42;

    CLayerDlg dlg(sheet);
    EXPECT_EQ(dlg.windowTitle(), "Laag configuratie");
    EXPECT_EQ(dlg.names[0], nullptr);
    EXPECT_EQ(dlg.names[7]->text(), "");
    EXPECT_EQ(dlg.names[15]->text(), "Laag 15");
    EXPECT_EQ(dlg.uses[3]->text(), "42");
    EXPECT_FALSE(dlg.shown[12]->isChecked());
    EXPECT_TRUE(dlg.shown[0]->isChecked());
    EXPECT_EQ(dlg.printColours->text(), "Afdrukkleuren");
    EXPECT_EQ(dlg.colours[3]->Colour(), QColor(255, 0, 0));
    dlg.printColours->setChecked(true);
    EXPECT_EQ(dlg.colours[3]->Colour(), QColor(0, 0, 255));

    // A colour chosen for the print set, nothing chosen for layer 5.
    dlg.askColour = [](const QColor&) { return std::optional<QColor>(QColor(0, 128, 0)); };
    dlg.colourButtons[0]->click();
    EXPECT_EQ(dlg.colours[0]->Colour(), QColor(0, 128, 0));
    dlg.askColour = [](const QColor&) { return std::optional<QColor>(); };
    dlg.ChooseColour(5);

    dlg.names[7]->setText(QString::fromUtf8("Aarde ë"));
    dlg.shown[12]->setChecked(true);
    dlg.shown[0]->setChecked(false);
    const auto screen = sheet.layerColours;
    dlg.Apply(sheet);
    EXPECT_EQ(sheet.layers.Name(7), "Aarde \xEB");
    EXPECT_EQ(sheet.layers.IsVisible(12), 1);
    EXPECT_EQ(sheet.layers.IsVisible(0), 0);
    EXPECT_EQ(sheet.printColours[0], Rgb(0, 128, 0));
    EXPECT_EQ(sheet.printColours[3], Rgb(0, 0, 255));
    EXPECT_EQ(sheet.layerColours, screen);
    EXPECT_EQ(sheet.layers.RecordUses(3), 42);
}

TEST(LayerDlg, SwitchingTheColourSetsTwiceChangesNothing)
{
    CSheet sheet;
    for (size_t i = 0; i < sheet.printColours.size(); ++i)
        sheet.printColours[i] = Rgb(static_cast<int>(i), 10, 20);
    const auto screen = sheet.layerColours;
    const auto print = sheet.printColours;
    CLayerDlg dlg(sheet);
    dlg.printColours->setChecked(true);
    dlg.printColours->setChecked(false);
    EXPECT_EQ(dlg.colours[9]->Colour(), CQtCanvas::Colour(screen[9]));
    dlg.Apply(sheet);
    EXPECT_EQ(sheet.layerColours, screen);
    EXPECT_EQ(sheet.printColours, print);
}

TEST(ChooseFontDlg, ListsTheFontsAndReturnsTheChoice)
{
    CChooseFontDlg dlg({"Arial", "Courier New", "Symbol"}, 1);
    EXPECT_EQ(dlg.windowTitle(), "Kies lettertype");
    EXPECT_EQ(Entries(dlg.list), QStringList({"1. Arial", "2. Courier New", "3. Symbol"}));
    EXPECT_EQ(dlg.FontNumber(), 1);
    emit dlg.list->itemDoubleClicked(dlg.list->item(2));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.FontNumber(), 2);
}
