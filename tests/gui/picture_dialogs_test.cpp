#include "gui/picture_dialogs.h"

#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <filesystem>
#include <memory>

#include "app/command_table.h"
#include "app/picture_values.h"
#include "document/document.h"
#include "gui/drawing_view.h"
#include "gui/main_frame.h"
#include "gui/project_windows.h"
#include "gui_test_main.h"
#include "model/picture.h"
#include "model/platform_services.h"
#include "model/sheet.h"
#include "qt/qt_image_codec.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A PNG of width x height pixels in one colour, at 10 pixels a millimetre.
fs::path WritePng(const fs::path& path, int width, int height, QColor colour)
{
    fs::create_directories(path.parent_path());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    EXPECT_TRUE(image.save(QString::fromStdString(path.string()), "PNG"));
    return path;
}

// The program's image codec, as its main sets it, while the test runs.
struct CQtCodecInUse {
    CQtCodecInUse() { PlatformServices().imageCodec = &codec; }
    ~CQtCodecInUse() { PlatformServices().imageCodec = saved; }
    const CImageCodec* saved = PlatformServices().imageCodec;
    const CQtImageCodec codec;
};

void MoveTo(CDovereduView& view, QPoint p)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(p), view.viewport()->mapToGlobal(QPointF(p)),
        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
}

} // namespace

TEST(AddPictureDlg, DecodesThePreviewOncePerSelection)
{
    const CQtCodecInUse codec;
    CTempFolder tmp;
    const fs::path folder = tmp.path / "Afbeeldingen";
    WritePng(folder / "breed.png", 3000, 500, Qt::red);
    WritePng(folder / "Hoog.png", 200, 900, Qt::blue);
    CPictArray pictures;
    CAddPictures add(folder, pictures);
    CAddPictureDlg dlg(add, QString());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Afbeelding toevoegen"));
    ASSERT_EQ(dlg.List()->count(), 2);
    EXPECT_EQ(dlg.List()->currentRow(), 0);
    dlg.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.PreviewDecodes(), 1);
    // Decoded to fit the preview: a wide image no wider than the area.
    const QSize shown = dlg.Preview()->Image().size();
    EXPECT_LE(shown.width(), std::max(dlg.Preview()->width(), 240));
    EXPECT_LT(shown.width(), 3000);
    for (int i = 0; i < 3; ++i) {
        dlg.Preview()->repaint();
        dlg.repaint();
    }
    EXPECT_EQ(dlg.PreviewDecodes(), 1);

    dlg.List()->setCurrentRow(1);
    EXPECT_EQ(dlg.PreviewDecodes(), 2);
    EXPECT_EQ(dlg.Preview()->Image().pixelColor(0, 0), QColor(Qt::blue));
    dlg.List()->setCurrentRow(1);
    EXPECT_EQ(dlg.PreviewDecodes(), 2);

    // A file added is copied, listed and selected.
    dlg.AddFiles(
        {QString::fromStdString(WritePng(tmp.path / "a.png", 40, 30, Qt::green).string())});
    ASSERT_EQ(dlg.List()->count(), 3);
    EXPECT_EQ(dlg.List()->currentItem()->text(), QStringLiteral("a.png"));
    EXPECT_TRUE(fs::exists(folder / "a.png"));
    EXPECT_EQ(dlg.PreviewDecodes(), 3);

    dlg.accept();
    EXPECT_EQ(dlg.Placed(), 0);
    EXPECT_EQ(pictures.At(0).pictureSize, (CSize {400, 300}));
}

TEST(EditPictDlg, FieldsApplyWhenLeft)
{
    CPict pict;
    pict.placementRect = {10000, 20000, 60000, 45000};
    pict.sourceRect = {0, 0, 200, 100};
    CPictureEdit edit(pict, {0, 0});
    CEditPictDlg dlg(edit);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Afbeelding aanpassen"));
    EXPECT_EQ(dlg.XField()->text(), QStringLiteral("10.000 mm."));
    EXPECT_EQ(dlg.WidthField()->text(), QStringLiteral("50.000 mm."));
    EXPECT_TRUE(dlg.KeepRatioBox()->isChecked());

    dlg.WidthField()->setText(QStringLiteral("80"));
    dlg.WidthField()->setModified(true);
    emit dlg.WidthField()->editingFinished();
    EXPECT_EQ(dlg.WidthField()->text(), QStringLiteral("80.000 mm."));
    EXPECT_EQ(dlg.HeightField()->text(), QStringLiteral("40.000 mm."));
    // A width out of range shows the old one again.
    dlg.WidthField()->setText(QStringLiteral("0,5"));
    emit dlg.WidthField()->editingFinished();
    EXPECT_EQ(dlg.WidthField()->text(), QStringLiteral("80.000 mm."));
    // Typed and confirmed at once.
    dlg.YField()->setText(QStringLiteral("1,5"));
    dlg.YField()->setModified(true);
    dlg.accept();
    EXPECT_EQ(edit.Placement(), (CRect {10000, 1500, 90000, 41500}));
}

// A photo added to a saved project follows the pointer over the sheet. With
// RIDIZAV_SCREENSHOTS set, the window is saved there as picture.png.
TEST(DrawingView, APhotoFollowsThePointer)
{
    const CQtCodecInUse codec;
    CTempFolder tmp;
    WritePng(tmp.path / "Afbeeldingen" / "foto.png", 600, 400, QColor(30, 140, 60));
    CMainFrame frame;
    frame.resize(1000, 760);
    CProjectWindows projects(frame);
    projects.NewProject();
    frame.show();
    CDovereduView& view = projects.Windows().front()->View();
    CDovereduDoc& doc = view.Document();
    doc.pathName = (tmp.path / "Kast.ETT").string();
    QCoreApplication::processEvents();

    MoveTo(view, {100, 100});
    RunWhenModal<CAddPictureDlg>([](CAddPictureDlg* d) { d->accept(); });
    ASSERT_TRUE(frame.Router().Execute(Cmd::ToolPictures));
    QCoreApplication::processEvents();
    const CSheet& s = doc.GetActiveSheet();
    ASSERT_EQ(s.toolStep, Step::PictureFollows);
    ASSERT_EQ(s.pictures->GetSize(), 1);

    for (const QPoint p : {QPoint(150, 120), QPoint(260, 200), QPoint(300, 180)})
        MoveTo(view, p);
    QCoreApplication::processEvents();
    const CRect r = s.pictures->At(0).placementRect;
    const int z = s.zoom;
    const QPoint inside((r.left + r.right) / 2 / z, (r.top + r.bottom) / 2 / z);
    EXPECT_EQ(view.ScreenImage().pixelColor(inside), QColor(30, 140, 60));
    // Where it was before, the sheet shows again.
    EXPECT_EQ(view.ScreenImage().pixelColor(152, 122), view.OffscreenImage().pixelColor(152, 122));
    frame.grab();
    if (const char* shots = std::getenv("RIDIZAV_SCREENSHOTS"))
        frame.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/picture.png"));

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&view, &esc);
    EXPECT_EQ(s.pictures->GetSize(), 0);
    frame.canClose = nullptr;
}
