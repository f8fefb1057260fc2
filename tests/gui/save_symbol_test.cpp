#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/settings.h"
#include "gui/symbol_commands.h"
#include "gui_test_main.h"
#include "model/sheet.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

TEST(SaveAsSymbol, UnderSegmentsAloneTheRefusalComesBeforeTheFileDialog)
{
    CTempFolder tmp;
    CSettings settings;
    settings.symbolsFolder = tmp.path.string();
    CSheet sheet;
    sheet.recordCount = 1;
    sheet.Append(CETREC::Make(0, 0, 1, 0));
    sheet.Append(CETREC::Make(1000, 0, 1, 1));
    sheet.SelectAll();
    sheet.selectionCriteria = CSheet::kSelectSegments;
    CScriptedUi ui;
    // Should a file dialog come after all, it is taken away and counted.
    bool asked = false;
    QTimer guard; // goes with the test, so it never meets a later one's dialog
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&asked] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            d->reject();
        }
    });
    guard.start(300);
    EXPECT_FALSE(RunSaveAsSymbolCommand(sheet, settings, ui, nullptr));
    EXPECT_FALSE(asked);
    EXPECT_EQ(ui.messages, std::vector<std::string> {std::string(CSheet::kMsgSelectionCriteria)});
}
