#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QThread>
#include <QTreeView>
#include <chrono>
#include <filesystem>

#include "app/command_table.h"
#include "document/document.h"
#include "gui/main_frame.h"
#include "gui/project_windows.h"
#include "gui/reserve_file_dlg.h"
#include "gui_test_main.h"
#include "model/file_io.h"
#include "model/sheet.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A project of `sheets` sheets saved at the path.
void SaveProject(const fs::path& path, int sheets)
{
    CDovereduDoc doc;
    for (int i = 0; i < sheets; ++i)
        doc.AddDefaultSheet();
    ASSERT_FALSE(doc.Save(path.string()));
}

// Kast.ETT (one sheet) with its copies in ETT: 01 of two sheets, written a
// minute after the file, and a damaged 02.
struct CProjectWithCopies {
    CProjectWithCopies()
    {
        fs::create_directories(folder);
        SaveProject(project, 1);
        SaveProject(good, 2);
        SaveProject(damaged, 2);
        auto bytes = ReadFileBytes(damaged).value();
        bytes.resize(bytes.size() / 2);
        EXPECT_FALSE(WriteFileAtomically(damaged, bytes));
        fs::last_write_time(good, fs::last_write_time(project) + std::chrono::minutes(1));
        fs::last_write_time(damaged, fs::last_write_time(project) - std::chrono::minutes(1));
        frame.Settings().backupFolder = folder.string();
        frame.Settings().projectsFolder = tmp.path.string();
    }
    ~CProjectWithCopies() { frame.canClose = nullptr; }

    CDovereduDoc& Doc() { return projects.Active()->Document(); }

    CTempFolder tmp;
    fs::path folder = tmp.path / "ETT";
    fs::path project = tmp.path / "Kast.ETT";
    fs::path good = folder / "KAST BAK 01.ETT";
    fs::path damaged = folder / "KAST BAK 02.ETT";
    CMainFrame frame;
    CProjectWindows projects {frame};
};

// Selects a file in an open or save dialog (selectFile leaves a name field
// that has the focus alone).
void Pick(QFileDialog* dialog, const fs::path& path)
{
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->clearFocus();
    dialog->selectFile(QString::fromStdString(path.string()));
}

void ChooseFile(const fs::path& path)
{
    RunWhenModal<QFileDialog>([path](QFileDialog* dialog) {
        Pick(dialog, path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

void Answer(QMessageBox::StandardButton button, QString* text = nullptr)
{
    RunWhenModal<QMessageBox>([button, text](QMessageBox* box) {
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

} // namespace

TEST(ReserveCopies, OpenReserveFileAsksFirstAndTakesOnlyACompleteCopy)
{
    CProjectWithCopies p;
    // The newer copy is offered when the project opens; not now.
    QString offer;
    Answer(QMessageBox::No, &offer);
    ASSERT_TRUE(p.projects.OpenFile(QString::fromStdString(p.project.string())));
    EXPECT_EQ(offer,
        QStringLiteral("Er is een reservekopie van %1 die nieuwer is dan het bestand. "
                       "Reservekopie openen?")
            .arg(QString::fromStdString(p.project.string())));
    ASSERT_EQ(p.Doc().pathName, p.project.string());
    p.Doc().GetActiveSheet().PushUndo(); // work to lose

    // Cancel at the close question: nothing happens.
    ChooseFile(p.good);
    QString asked;
    Answer(QMessageBox::Cancel, &asked);
    p.projects.OpenReserveFile();
    EXPECT_EQ(asked, QString::fromStdString(p.project.string()) + QStringLiteral("opslaan?"));
    ASSERT_EQ(p.projects.Windows().size(), 1u);
    EXPECT_EQ(p.Doc().pathName, p.project.string());
    EXPECT_EQ(p.Doc().sheets.size(), 1u);

    // A damaged copy: its message, and the project stays.
    ChooseFile(p.damaged);
    Answer(QMessageBox::No);
    QString shown;
    RunWhenModal<QMessageBox>([&](QMessageBox* box) {
        shown = box->text();
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->accept();
    });
    p.projects.OpenReserveFile();
    EXPECT_EQ(shown, QStringLiteral("Fout in backup..."));
    ASSERT_EQ(p.projects.Windows().size(), 1u);
    EXPECT_EQ(p.Doc().pathName, p.project.string());
    EXPECT_EQ(p.Doc().sheets.size(), 1u);

    // A good copy takes the window.
    ChooseFile(p.good);
    Answer(QMessageBox::No);
    p.projects.OpenReserveFile();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(p.projects.Windows().size(), 1u);
    EXPECT_EQ(p.Doc().pathName, p.good.string());
    EXPECT_EQ(p.Doc().sheets.size(), 2u);
    EXPECT_EQ(p.Doc().replacedProject, p.project.string());
    EXPECT_TRUE(p.Doc().modified) << "the work is in no project file yet";

    // Saving never writes into the backup folder: it asks where, proposing
    // the project the copy stands for.
    QString proposed;
    const fs::path elsewhere = p.tmp.path / "Kast hersteld.ETT";
    RunWhenModal<QFileDialog>([&](QFileDialog* dialog) {
        proposed = dialog->selectedFiles().value(0);
        Pick(dialog, elsewhere);
        static_cast<QDialog*>(dialog)->accept();
    });
    ASSERT_TRUE(p.projects.SaveActive());
    EXPECT_EQ(proposed, QString::fromStdString(p.project.string()));
    EXPECT_EQ(p.Doc().pathName, elsewhere.string());
    EXPECT_TRUE(p.Doc().replacedProject.empty());
    EXPECT_FALSE(p.Doc().modified);
    EXPECT_TRUE(fs::exists(p.good));
}

TEST(ReserveCopies, ANewerCopyIsOfferedWhenTheProjectOpens)
{
    // (answer) -> sheets of the project that opens
    for (const auto& [answer, sheets] :
        {std::pair {QMessageBox::Yes, 2u}, std::pair {QMessageBox::No, 1u}}) {
        CProjectWithCopies p;
        Answer(answer);
        ASSERT_TRUE(p.projects.OpenFile(QString::fromStdString(p.project.string())));
        ASSERT_EQ(p.projects.Windows().size(), 1u);
        EXPECT_EQ(p.Doc().sheets.size(), sheets);
        EXPECT_EQ(p.projects.RecentFiles().Entries().front(), p.project.string());
    }
}

TEST(ReserveCopies, TheDialogListsThisProjectsCopiesNewestFirst)
{
    CTempFolder tmp;
    const fs::path folder = tmp.path / "ETT";
    fs::create_directories(folder);
    const auto now = fs::file_time_type::clock::now();
    // (name, minutes ago)
    const std::pair<const char*, int> files[] = {{"KAST BAK 01.ETT", 3}, {"KAST BAK 02.ETT", 1},
        {"kast bak 03.ett", 2}, {"KAST2 BAK 01.ETT", 0}, {"Kast.ETT", 0}};
    for (const auto& [name, ago] : files) {
        SaveProject(folder / name, 1);
        fs::last_write_time(folder / name, now - std::chrono::minutes(ago));
    }
    const QStringList newestFirst {QStringLiteral("KAST BAK 02.ETT"),
        QStringLiteral("kast bak 03.ett"), QStringLiteral("KAST BAK 01.ETT")};
    QStringList listed;
    RunWhenModal<QFileDialog>([&](QFileDialog* dialog) {
        auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_TRUE(list);
        EXPECT_TRUE(list->isVisible());
        // The folder is read, and then sorted, in the background: wait for
        // the order (a busy machine takes its time).
        const QString folderPath = QString::fromStdString(folder.string());
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5); // the folder is read on another thread
            const QModelIndex root = list->rootIndex();
            if (root.data(QFileSystemModel::FilePathRole).toString() != folderPath)
                continue;
            listed.clear();
            for (int row = 0; row < list->model()->rowCount(root); ++row)
                listed << list->model()->index(row, 0, root).data().toString();
            if (listed == newestFirst)
                break;
        }
        if (const QByteArray shots = qgetenv("RIDIZAV_SCREENSHOTS"); !shots.isEmpty())
            dialog->grab().save(QString::fromUtf8(shots) + QStringLiteral("/reserve_dialog.png"));
        dialog->reject();
    });
    EXPECT_TRUE(AskReserveFile(nullptr, QString::fromStdString(folder.string()), "KAST").isEmpty());
    EXPECT_EQ(listed, newestFirst);
}

TEST(ReserveCopies, TheCommandIsThere)
{
    CMainFrame frame;
    CProjectWindows projects(frame);
    EXPECT_TRUE(frame.Router().Update(Cmd::OpenBackup).enabled);
}
