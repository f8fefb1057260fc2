#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/choice_dialogs.h"
#include "gui/main_frame.h"
#include "gui/project_windows.h"
#include "gui/sheet_commands.h"
#include "gui/sheet_dialogs.h"
#include "gui/tool_bar_lists.h"
#include "gui_test_main.h"
#include "model/tool_mode.h"

namespace {

// The main window with one new project of one sheet; the choices are the
// commands of its view, asked with the program's dialogs.
struct CChoiceFixture {
    CMainFrame frame;
    CProjectWindows projects {frame};
    CSheetCommands sheetCommands {frame, projects};

    CDovereduDoc& Doc() { return projects.Active()->Document(); }
    CSheet& Sheet() { return Doc().GetActiveSheet(); }
};

} // namespace

TEST(ChoiceCommands, EnabledWithASheet)
{
    CChoiceFixture f;
    const int ids[] = {Cmd::ChooseLayer, Cmd::ChoosePen, Cmd::LayerTable, Cmd::ChooseFont};
    for (int id : ids)
        EXPECT_FALSE(f.frame.Router().Update(id).enabled) << id;
    f.projects.NewProject();
    for (int id : ids)
        EXPECT_TRUE(f.frame.Router().Update(id).enabled) << id;
    EXPECT_FALSE(f.frame.Router().Update(Cmd::GoToSheet).enabled);
}

TEST(ChoiceCommands, ActiveLayerFollowsTheChoiceAndTheList)
{
    CChoiceFixture f;
    f.projects.NewProject();
    f.Sheet().layers.SetName(7, "");
    f.Doc().RefreshSheetLists(true);
    f.frame.ShowDocumentLists(f.Doc());
    EXPECT_EQ(f.frame.LayerCombo()->itemText(6), "Laag 7");

    RunWhenModal<CSelectLayerDlg>([](CSelectLayerDlg* d) {
        EXPECT_EQ(d->list->item(6)->text(), "Layer 7");
        d->list->setCurrentRow(6);
        d->accept();
    });
    EXPECT_TRUE(f.frame.Router().Execute(Cmd::ChooseLayer));
    EXPECT_EQ(f.Sheet().activeLayer, 7);
    EXPECT_EQ(f.frame.LayerCombo()->currentIndex(), 6);
    EXPECT_FALSE(f.Doc().modified);

    // Cancel keeps the layer.
    RunWhenModal<CSelectLayerDlg>([](CSelectLayerDlg* d) {
        d->list->setCurrentRow(1);
        d->reject();
    });
    EXPECT_TRUE(f.frame.Router().Execute(Cmd::ChooseLayer));
    EXPECT_EQ(f.Sheet().activeLayer, 7);
}

TEST(ChoiceCommands, LayerChosenWhileDrawingALineMovesTheLine)
{
    CChoiceFixture f;
    f.projects.NewProject();
    CSheet& sheet = f.Sheet();
    const int frameRecords = sheet.recordCount;
    sheet.toolMode = ToolMode::Lines;
    sheet.prevCursor = {1000, 1000};
    sheet.cursor = {5000, 1000};
    sheet.StartLine(sheet.prevCursor);
    sheet.toolStep = Step::LineFollows;

    RunWhenModal<CSelectLayerDlg>([](CSelectLayerDlg* d) {
        d->list->setCurrentRow(4);
        d->accept();
    });
    EXPECT_TRUE(f.frame.Router().Execute(Cmd::ChooseLayer));
    EXPECT_EQ(sheet.records[frameRecords].Layer(), 5);
    EXPECT_EQ(sheet.records[frameRecords + 1].Layer(), 5);
    EXPECT_EQ(sheet.records[frameRecords - 1].Layer(), 1); // the frame stays
}

TEST(ChoiceCommands, PenKeyStoresPenAndWidths)
{
    CChoiceFixture f;
    f.projects.NewProject();
    f.Sheet().penWidths = {1, 200, 250, 300, 500, 800, 1000, 1000};

    RunWhenModal<CPenDialog>([](CPenDialog* d) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
        QApplication::sendEvent(d->pens[0], &press);
    });
    EXPECT_TRUE(f.frame.Router().Execute(Cmd::ChoosePen));
    EXPECT_EQ(f.Sheet().activePen, 3);
    EXPECT_EQ(f.Sheet().penWidths[4], 500);
    EXPECT_FALSE(f.Doc().modified);

    // A width that changed is work to save.
    RunWhenModal<CPenDialog>([](CPenDialog* d) {
        RunWhenModal<CEditPenWidth>([](CEditPenWidth* e) {
            e->field->setText("0,35");
            e->accept();
        });
        d->adjust->click();
        d->accept();
    });
    EXPECT_TRUE(f.frame.Router().Execute(Cmd::ChoosePen));
    EXPECT_EQ(f.Sheet().penWidths[3], 350);
    EXPECT_TRUE(f.Doc().modified);
    EXPECT_TRUE(f.projects.Active()->isWindowModified()); // the title shows it
}

TEST(ChoiceCommands, LayerTableMarksTheProjectModified)
{
    CChoiceFixture f;
    f.projects.NewProject();
    const auto screen = f.Sheet().layerColours;
    const auto print = f.Sheet().printColours;
    ASSERT_FALSE(f.Doc().modified);

    RunWhenModal<CLayerDlg>([](CLayerDlg* d) {
        // The frame's lines were counted before the dialog opened.
        EXPECT_EQ(d->uses[1]->text(), "5");
        d->names[2]->setText("Kabels");
        d->printColours->setChecked(true);
        d->printColours->setChecked(false);
        d->accept();
    });
    EXPECT_TRUE(f.frame.Router().Execute(Cmd::LayerTable));
    EXPECT_EQ(f.Sheet().layers.Name(2), "Kabels");
    EXPECT_EQ(f.Sheet().layerColours, screen);
    EXPECT_EQ(f.Sheet().printColours, print);
    EXPECT_EQ(f.frame.LayerCombo()->itemText(1), "Kabels");
    EXPECT_TRUE(f.Doc().modified);
    EXPECT_EQ(f.Doc().DecideClose(), CDovereduDoc::CloseQuestion::SaveNew);

    // Cancel changes nothing.
    f.Doc().modified = false;
    RunWhenModal<CLayerDlg>([](CLayerDlg* d) {
        d->names[2]->setText("Anders");
        d->reject();
    });
    EXPECT_TRUE(f.frame.Router().Execute(Cmd::LayerTable));
    EXPECT_EQ(f.Sheet().layers.Name(2), "Kabels");
    EXPECT_FALSE(f.Doc().modified);
}

TEST(ChoiceCommands, FontChoiceSetsTheFontOfNewTexts)
{
    CChoiceFixture f;
    f.frame.Settings().fonts[2].SetFace("Courier New");
    f.projects.NewProject();
    RunWhenModal<CChooseFontDlg>([](CChooseFontDlg* d) {
        EXPECT_EQ(d->list->count(), 8);
        EXPECT_EQ(d->list->item(2)->text(), "3. Courier New");
        EXPECT_EQ(d->list->currentRow(), 0);
        d->list->setCurrentRow(2);
        d->accept();
    });
    EXPECT_TRUE(f.frame.Router().Execute(Cmd::ChooseFont));
    EXPECT_EQ(f.Sheet().textDefaults.fontNumber, 2);
}

TEST(ChoiceCommands, GoToSheetIgnoresNumbersOutsideTheSheets)
{
    CChoiceFixture f;
    f.projects.NewProject();
    f.Doc().AddDefaultSheet();
    f.Doc().AddDefaultSheet();
    f.Doc().SetActiveSheet(1);
    ASSERT_TRUE(f.frame.Router().Update(Cmd::GoToSheet).enabled);

    // (number typed, active sheet afterwards)
    const struct {
        const char* typed;
        int active;
    } cases[] = {{"0", 1}, {"4", 1}, {"3", 2}};
    for (const auto& c : cases) {
        RunWhenModal<CSelectSheetDlg>([&c](CSelectSheetDlg* d) {
            d->field->setText(c.typed);
            d->accept();
        });
        f.frame.Router().Execute(Cmd::GoToSheet);
        EXPECT_EQ(f.Doc().activeSheet, c.active) << c.typed;
    }
    EXPECT_EQ(f.frame.SheetCombo()->currentIndex(), 2);
}
