#include "gui/project_info_dlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "document/document.h"

TEST(ProjectInfo, ShowsAndTakesBackTheTexts)
{
    CDovereduDoc doc;
    doc.sheets.push_back(std::make_unique<CSheet>(0, "Kelder", ""));
    doc.sheets.push_back(std::make_unique<CSheet>(0, "Zolder", ""));
    doc.notes = "a\r\nb";
    CProjectInfoDlg dlg(doc);
    EXPECT_EQ(dlg.windowTitle(), "Project info");
    EXPECT_EQ(dlg.group->text(), "Geen projectgroep");
    EXPECT_EQ(dlg.notes->toPlainText(), "a\nb");
    ASSERT_EQ(dlg.sheets->count(), 2);
    EXPECT_EQ(dlg.sheets->item(1)->text(), "Zolder");

    dlg.name->setText(QString::fromUtf8("Kantoor ë"));
    dlg.reject();
    EXPECT_EQ(doc.projectName, "Nieuw project");
    EXPECT_FALSE(doc.modified);

    dlg.accept();
    EXPECT_EQ(doc.projectName, "Kantoor \xEB");
    EXPECT_EQ(doc.notes, "a\r\nb");
    EXPECT_TRUE(doc.modified);
}
