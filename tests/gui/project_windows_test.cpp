#include "gui/project_windows.h"

#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <fstream>

#include "document/document.h"
#include "gui/drawing_view.h"
#include "gui/main_frame.h"
#include "gui/project_info_dlg.h"
#include "gui_test_main.h"
#include "model/file_io.h"
#include "model/model_defaults.h"
#include "model/sheet.h"
#include "model/stroke_font.h"
#include "support/temp_folder.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace {

std::string MakeProject(const CTempFolder& tmp, const char* name)
{
    CDovereduDoc doc;
    doc.AddDefaultSheet();
    const std::string path = (tmp.path / name).string();
    EXPECT_FALSE(doc.Save(path));
    return path;
}

} // namespace

TEST(ProjectWindows, OpenEditInfoSaveAndReopen)
{
    CTempFolder tmp;
    const std::string path = MakeProject(tmp, "Kast.ETT");
    CMainFrame frame;
    frame.Settings().projectsFolder = tmp.path.string();
    CProjectWindows projects(frame);
    ASSERT_TRUE(projects.OpenFile(QString::fromStdString(path)));
    ASSERT_EQ(projects.Windows().size(), 1u);
    EXPECT_TRUE(frame.ProjectOpen());
    EXPECT_EQ(projects.RecentFiles().Entries().front(), path);
    // Opening it again only activates its window.
    ASSERT_TRUE(projects.OpenFile(QString::fromStdString(path)));
    EXPECT_EQ(projects.Windows().size(), 1u);

    RunWhenModal<CProjectInfoDlg>([](CProjectInfoDlg* dlg) {
        dlg->name->setText(QStringLiteral("Kantoor"));
        dlg->accept();
    });
    projects.ShowProjectInfo();
    CDovereduDoc& doc = projects.Windows().front()->Document();
    EXPECT_EQ(doc.projectName, "Kantoor");
    EXPECT_TRUE(doc.modified);
    ASSERT_TRUE(projects.SaveActive());
    EXPECT_FALSE(doc.modified);

    ASSERT_TRUE(projects.CloseAll()); // saved: no question
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(projects.Windows().empty());
    EXPECT_FALSE(frame.ProjectOpen());

    CDovereduDoc again;
    ASSERT_FALSE(again.Open(path));
    EXPECT_EQ(again.projectName, "Kantoor");
}

TEST(ProjectWindows, CloseAsksExactlyWhenThereIsWorkToLose)
{
    CTempFolder tmp;
    const std::string path = MakeProject(tmp, "Plan.ETT");
    CMainFrame frame;
    CProjectWindows projects(frame);
    ASSERT_TRUE(projects.OpenFile(QString::fromStdString(path)));
    CDovereduDoc& doc = projects.Windows().front()->Document();

    doc.GetActiveSheet().PushUndo(); // a drawing change
    QString asked;
    RunWhenModal<QMessageBox>([&](QMessageBox* box) {
        asked = box->text();
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(projects.CloseAll());
    EXPECT_EQ(asked, QString::fromStdString(path) + QStringLiteral("opslaan?"));
    EXPECT_EQ(projects.Windows().size(), 1u);

    RunWhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    EXPECT_TRUE(projects.CloseAll());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(projects.Windows().empty());

    // A new project: the sheet the user added counts as work.
    projects.NewProject();
    ASSERT_EQ(projects.Windows().size(), 1u);
    projects.Windows().front()->Document().MarkChanged();
    RunWhenModal<QMessageBox>([&](QMessageBox* box) {
        asked = box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_TRUE(projects.CloseAll());
    EXPECT_EQ(asked, QStringLiteral("Nieuw project opslaan?"));
}

TEST(ProjectWindows, ADamagedFileShowsItsMessageAndNoWindow)
{
    CTempFolder tmp;
    const std::string path = MakeProject(tmp, "Kapot.ETT");
    auto bytes = ReadFileBytes(path).value();
    bytes.resize(bytes.size() / 2);
    ASSERT_FALSE(WriteFileAtomically(path, bytes));

    CMainFrame frame;
    CProjectWindows projects(frame);
    QString shown;
    RunWhenModal<QMessageBox>([&](QMessageBox* box) {
        shown = box->text();
        box->accept();
    });
    EXPECT_FALSE(projects.OpenFile(QString::fromStdString(path)));
    EXPECT_EQ(shown,
        QStringLiteral("Attempted to access %1 past its end.").arg(QString::fromStdString(path)));
    EXPECT_TRUE(projects.Windows().empty());
    EXPECT_FALSE(frame.ProjectOpen());
}

TEST(ProjectWindows, TheViewDrawsTheSheetFitted)
{
    CMainFrame frame;
    frame.resize(1000, 800);
    CProjectWindows projects(frame);
    projects.NewProject();
    frame.show();
    CDovereduView& view = projects.Windows().front()->View();
    view.resize(800, 600);
    view.grab(); // paints it
    const QImage& image = view.OffscreenImage();
    ASSERT_FALSE(image.isNull());
    // The paper colour fills the middle of the view.
    EXPECT_EQ(
        image.pixelColor(image.width() / 2 + 3, image.height() / 2 + 3), QColor(0xFA, 0xFA, 0xC8));
    frame.canClose = nullptr;
}

TEST(ProjectWindows, ANewStrokeFontFileReachesEveryOpenSheet)
{
    CTempFolder tmp;
    // A font whose code 1 is one stroke.
    const std::string fontPath = (tmp.path / "ander.dat").string();
    const char bytes[] = {4, 0, 0x00, 1, 2, char(0x81), 6, 0, char(0x80)};
    std::ofstream(fontPath, std::ios::binary).write(bytes, sizeof bytes);

    const CModelDefaults saved = ModelDefaults();
    CMainFrame frame;
    CProjectWindows projects(frame);
    projects.NewProject();
    projects.NewProject();
    projects.Windows().back()->Document().AddDefaultSheet();

    frame.Settings().strokeFontFile = fontPath;
    frame.Settings().ApplyTo(ModelDefaults());
    const int read = CStrokeGlyphs::FilesRead();
    emit frame.ConfigurationChanged();
    EXPECT_EQ(CStrokeGlyphs::FilesRead(), read + 1);
    int sheets = 0;
    for (CChildFrame* w : projects.Windows()) {
        for (const auto& sheet : w->Document().sheets) {
            EXPECT_EQ(sheet->font.FontPath(), fontPath);
            EXPECT_TRUE(sheet->font.IsLoaded());
            EXPECT_EQ(sheet->font.Entry(1), (CGlyphEntry {3, 6, 0x81}));
            ++sheets;
        }
    }
    EXPECT_GE(sheets, 3);
    ModelDefaults() = saved;
    frame.canClose = nullptr;
}
