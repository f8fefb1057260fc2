#include "gui/print_commands.h"

#include <QListWidget>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/main_frame.h"
#include "gui/print_job_dlg.h"
#include "gui/project_windows.h"
#include "gui_test_main.h"
#include "support/temp_folder.h"

TEST(PrintCommands, WithoutAPrinterThePageGoesToAPdfBesideTheProject)
{
    CTempFolder tmp;
    const std::filesystem::path projects = tmp.path / "projecten";
    std::filesystem::create_directories(projects / "kast");
    const std::string path = (projects / "kast" / "Kast.ETT").string();
    {
        CDovereduDoc doc;
        doc.AddDefaultSheet();
        doc.RenameActiveSheet("Voeding");
        ASSERT_FALSE(doc.Save(path));
    }

    CMainFrame frame;
    frame.Settings().projectsFolder = projects.string();
    CProjectWindows windows(frame);
    RegisterPrintCommands(frame, windows, [] { return false; });
    CCommandRouter& router = frame.Router();

    // Without a project there is nothing to print, and printing the sheet
    // quietly does nothing.
    EXPECT_FALSE(router.Update(Cmd::Print).enabled);
    EXPECT_FALSE(router.Update(Cmd::PrintSetup).enabled);
    EXPECT_TRUE(router.Update(Cmd::PrintSheet).enabled);
    EXPECT_TRUE(router.Execute(Cmd::PrintSheet));
    EXPECT_TRUE(frame.PaneText(0).isEmpty() || !frame.PaneText(0).contains(".pdf"));

    ASSERT_TRUE(windows.OpenFile(QString::fromStdString(path)));
    EXPECT_TRUE(router.Update(Cmd::Print).enabled);
    EXPECT_TRUE(router.Update(Cmd::PrintSetup).enabled);
    ASSERT_TRUE(router.Execute(Cmd::PrintSheet));
    const std::filesystem::path saved = projects / "kast" / "Kast - Voeding.pdf";
    EXPECT_TRUE(std::filesystem::exists(saved));
    EXPECT_TRUE(frame.PaneText(0).contains(QString::fromStdString(saved.string())))
        << frame.PaneText(0).toStdString();

    // "Afdrukken..." offers the project's sheets, and a file to print to.
    bool shown = false;
    RunWhenModal<CPrintJobDlg>([&](CPrintJobDlg* dlg) {
        shown = true;
        EXPECT_EQ(dlg->List()->count(), 1);
        EXPECT_TRUE(dlg->offerFile);
        dlg->reject();
    });
    ASSERT_TRUE(router.Execute(Cmd::Print));
    EXPECT_TRUE(shown);

    // A project never saved prints into the projects folder.
    frame.show();
    windows.NewProject();
    ASSERT_NE(windows.Active(), nullptr);
    CDovereduDoc& fresh = windows.Active()->Document();
    ASSERT_TRUE(fresh.pathName.empty());
    fresh.AddDefaultSheet();
    fresh.GetActiveSheet().sheetName.clear();
    ASSERT_TRUE(router.Execute(Cmd::PrintSheet));
    // A sheet without a name prints as "Blad".
    EXPECT_TRUE(std::filesystem::exists(projects / (fresh.title + " - Blad.pdf"))) << fresh.title;
}
