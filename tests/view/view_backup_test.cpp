#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "support/temp_folder.h"
#include "support/view_script.h"

namespace fs = std::filesystem;

TEST(ViewBackup, ADueCopyWaitsForTheReleaseAndComesBackOnTheWorkTimer)
{
    CTempFolder tmp;
    CViewBench bench;
    CViewController& view = bench.view;
    bench.settings.backupFolder = (tmp.path / "ETT").string();
    bench.settings.reserveInterval = 1;
    view.FocusIn();
    EXPECT_EQ(bench.clock.running[CViewController::kBackupTimer], 60000);

    bench.doc.RecordUndoStep();
    view.PointerPress(CViewController::Button::Left, 10, 10);
    view.Timer(CViewController::kBackupTimer);
    EXPECT_EQ(bench.doc.changedSinceBackup, 1) << "no copy in the middle of a drag";
    view.PointerRelease(CViewController::Button::Left, 10, 10);
    view.Press();
    view.Release(); // whatever the tool began is over
    view.Timer(CViewController::kWorkTimer);
    EXPECT_EQ(bench.doc.changedSinceBackup, 0);

    // The outcome arrives on a later tick of the work timer.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (
        bench.ui.status[0].rfind("Backup: ", 0) != 0 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        view.Timer(CViewController::kWorkTimer);
    }
    ASSERT_EQ(bench.ui.status[0].rfind("Backup: ", 0), 0u) << bench.ui.status[0];
    const fs::path copy = bench.ui.status[0].substr(8);
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_EQ(copy.parent_path(), tmp.path / "ETT");
    EXPECT_TRUE(bench.ui.messages.empty());
    EXPECT_TRUE(bench.doc.modified);
}
