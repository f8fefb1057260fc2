// A picture that follows the pointer (the picture tool, step 300) must cost
// the same whatever the sheet holds: a move over a sheet of a million
// records at most 1.2 times one over an empty sheet. And a photo decoded at
// 4096 x 3072 pixels must cost at most twice one of 100 x 75 shown at the
// same size on screen. The view draws into real Qt images, as the window's.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "app/settings.h"
#include "document/document.h"
#include "model/sheet.h"
#include "null_view.h"
#include "platform/clock.h"
#include "qt/qt_canvas.h"
#include "qt/qt_image_codec.h"
#include "random_figures.h"
#include "ratio_reporter.h"
#include "view/view_controller.h"
#include "view/view_dialogs.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kPerFigure = 10;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The window's two images: the sheet image and the screen image with the
// feedback, as the drawing view keeps them.
class CImageUi : public CUiServices {
public:
    CImageUi()
        : sheetImage(kWidth, kHeight, QImage::Format_RGB32)
        , screenImage(kWidth, kHeight, QImage::Format_RGB32)
    {
    }
    Answer MessageBox(std::string_view, Buttons, Icon) override { return Answer::Ok; }
    void SetStatusText(int, std::string_view) override { }
    void Invalidate() override { ++invalidated; }
    CCanvas* ScreenCanvas() override
    {
        if (!painter) {
            painter.emplace(&screenImage);
            canvas.emplace(*painter);
        }
        return &*canvas;
    }
    CCanvas* RestoreScreen(const CRect& r) override
    {
        ScreenCanvas();
        const QRect area = QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1))
                               .intersected(screenImage.rect());
        painter->save();
        painter->setCompositionMode(QPainter::CompositionMode_Source);
        painter->drawImage(area.topLeft(), sheetImage, area);
        painter->restore();
        return &*canvas;
    }
    // A complete draw, as the window makes one.
    void Draw(CViewController& view)
    {
        canvas.reset();
        painter.reset();
        sheetImage.fill(Qt::white);
        {
            QPainter p(&sheetImage);
            CQtCanvas c(p);
            view.DrawOffscreen(c);
        }
        screenImage = sheetImage.copy();
        QPainter p(&screenImage);
        CQtCanvas c(p);
        view.DrawOverlays(c);
    }

    QImage sheetImage;
    QImage screenImage;
    std::optional<QPainter> painter;
    std::optional<CQtCanvas> canvas;
    int invalidated = 0;
};

// A photo of width x height pixels, decoded as the program decodes one.
std::shared_ptr<const CImage> Photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x ^ y) & 0xFF));
    }
    return std::make_shared<CQtImage>(image, CSize {width * 10, height * 10});
}

// A project of one sheet (a million records of polylines, or only its
// frame) in a full-HD view, with a photo of 200 x 150 mm following the
// pointer.
struct CProject {
    CProject(bool full, int photoWidth, int photoHeight)
    {
        doc.AddDefaultSheet();
        CSheet& s = doc.GetActiveSheet();
        if (full)
            AddRandomFigures(s, kRecords, kPerFigure);
        view.Resize(kWidth, kHeight);
        auto pict = std::make_unique<CPict>();
        pict->SetImage(Photo(photoWidth, photoHeight));
        pict->pictureSize = {photoWidth * 10, photoHeight * 10};
        pict->sourceRect = {0, 0, photoWidth * 10, photoHeight * 10};
        pict->placementRect = {0, 0, 200000, 150000};
        s.pictures->pictures.push_back(std::move(pict));
        s.pictures->SetSelected(0, true);
        s.pictures->SetCurrentIndex(0);
        s.toolMode = ToolMode::Pictures;
        s.toolStep = Step::PictureFollows;
        ui.Draw(view);
    }

    CDovereduDoc doc;
    CSettings settings {CDefaultPaths {}};
    CImageUi ui;
    CNullClock clock;
    CNoDialogs dialogs;
    CViewController view {doc, settings, ui, dialogs, clock};
};

CProject& Project(bool full, int photoWidth)
{
    static std::map<std::pair<bool, int>, std::unique_ptr<CProject>> projects;
    auto& p = projects[{full, photoWidth}];
    if (!p)
        p = std::make_unique<CProject>(full, photoWidth, photoWidth * 3 / 4);
    return *p;
}

void PictureMove(benchmark::State& state, bool full, int photoWidth)
{
    CProject& p = Project(full, photoWidth);
    const int before = p.ui.invalidated;
    int i = 0;
    for (auto _ : state) {
        p.view.PointerMove(100 + (i * 7) % 1200, 100 + (i * 3) % 600);
        ++i;
    }
    if (p.ui.invalidated != before)
        state.SkipWithError("a move asked for a complete draw");
}
BENCHMARK_CAPTURE(PictureMove, Empty, false, 4096);
BENCHMARK_CAPTURE(PictureMove, Million, true, 4096);
BENCHMARK_CAPTURE(PictureMove, SmallPhoto, false, 100);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InitializeWithRepeatedRuns(argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto& t = reporter.times;
    bool ok = true;
    const auto compare = [&](const char* what, const char* a, const char* b, double limit) {
        if (t[a] <= 0 || t[b] <= 0)
            return; // a filter left one out
        const double ratio = t[a] / t[b];
        const bool met = ratio <= limit;
        std::printf(
            "%s: %.2f times (at most %.1f): %s\n", what, ratio, limit, met ? "met" : "NOT MET");
        ok = ok && met;
    };
    compare(
        "picture move, 1,000,000 records / empty", "PictureMove/Million", "PictureMove/Empty", 1.2);
    compare("picture move, 4096 x 3072 photo / 100 x 75", "PictureMove/Empty",
        "PictureMove/SmallPhoto", 2.0);
    return ok ? 0 : 1;
}
