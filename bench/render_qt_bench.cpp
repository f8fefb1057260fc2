// A complete draw of a sheet must cost little more than drawing its
// segments straight with QPainter: DrawSheet of 100,000 segments on layers
// 1 to 15 into a 1920 x 1080 image, against QPainter::drawLine of the same
// segments with the same pens, in the same run.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

#include "model/pen_table.h"
#include "model/sheet.h"
#include "qt/qt_canvas.h"

#include "ratio_reporter.h"

namespace {

constexpr int kSegments = 100000;
constexpr int kSegmentsPerFigure = 10;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Polylines of ten segments of up to 20 mm on an A3 sheet, fitted to the
// view. Layers 8 to 15 use pen 1 (solid), so that every figure is one
// solid run; layers 1 to 7 use every pen.
CSheet& BenchSheet()
{
    static CSheet& sheet = []() -> CSheet& {
        static CSheet s;
        s.recordCount = 1;
        s.EnsureSpare(kSegments + kSegments / kSegmentsPerFigure + 10);
        std::mt19937 random(7);
        std::uniform_int_distribution<int> x(0, 420000), y(0, 297000), step(-20000, 20000);
        std::uniform_int_distribution<int> layer(1, 15), pen(1, 7);
        for (int figure = 0; figure < kSegments / kSegmentsPerFigure; ++figure) {
            const int l = layer(random);
            int px = x(random), py = y(random);
            s.Append(CETREC::Make(px, py, l, 0));
            for (int i = 0; i < kSegmentsPerFigure; ++i) {
                px = std::clamp(px + step(random), 0, 420000);
                py = std::clamp(py + step(random), 0, 297000);
                s.Append(CETREC::Make(px, py, l, l >= kFirstLineTypeLayer ? 1 : pen(random)));
            }
        }
        s.sheetExtent = {0, 0, 420000, 297000};
        s.clientRect = {0, 0, kWidth, kHeight};
        s.layers.SetVisible(0, 0); // no paper: only the segments
        s.grids.Active().display = 0;
        s.ZoomAll();
        s.fitMode = 0;
        s.zoomAtLastDraw = s.zoom;
        return s;
    }();
    return sheet;
}

// The same segments as QLines with their pens, in the order the sheet draws
// its layers.
struct CPenRun {
    QPen pen;
    std::vector<QLine> lines;
};

std::vector<CPenRun> DirectRuns()
{
    CSheet& s = BenchSheet();
    CPenTable table;
    table.Rebuild(s.penWidths, s.layerColours, s.highlightColours, s.zoom);
    std::vector<CPenRun> runs;
    const int order[] = {8, 9, 10, 11, 12, 13, 14, 15, 1, 2, 3, 4, 5, 6, 7};
    for (int layer : order) {
        QPoint prev;
        for (int i = 1; i < s.recordCount; ++i) {
            const CETREC& r = s.records[i];
            if (r.Layer() != layer)
                continue;
            const QPoint p(r.x / s.zoom, r.y / s.zoom);
            if (r.Pen() != 0) {
                const CPenDesc& d = table.Pen(CPenTable::kNormal, layer, r.Pen());
                const int width = std::max(d.width, 1);
                const QPen pen(CQtCanvas::Colour(d.colour), width, Qt::SolidLine,
                    width == 1 ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin);
                if (runs.empty() || runs.back().pen != pen)
                    runs.push_back({pen, {}});
                runs.back().lines.emplace_back(prev, p);
            }
            prev = p;
        }
    }
    return runs;
}

QImage& Image()
{
    static QImage image(kWidth, kHeight, QImage::Format_RGB32);
    return image;
}

void DrawSheet(benchmark::State& state)
{
    CSheet& s = BenchSheet();
    CPenTable pens;
    for (auto _ : state) {
        Image().fill(Qt::white);
        QPainter painter(&Image());
        CQtCanvas canvas(painter);
        s.DrawSheet(canvas, pens);
    }
    state.counters["segments"] = kSegments;
}
BENCHMARK(DrawSheet)->Unit(benchmark::kMillisecond);

void DrawLinesDirectly(benchmark::State& state)
{
    const std::vector<CPenRun> runs = DirectRuns();
    for (auto _ : state) {
        Image().fill(Qt::white);
        QPainter painter(&Image());
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const CPenRun& run : runs) {
            painter.setPen(run.pen);
            for (const QLine& line : run.lines)
                painter.drawLine(line);
        }
    }
    state.counters["segments"] = kSegments;
}
BENCHMARK(DrawLinesDirectly)->Unit(benchmark::kMillisecond);

class CTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                times[r.run_name.function_name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    CTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::Shutdown();

    const double sheet = times.times["DrawSheet"];
    const double direct = times.times["DrawLinesDirectly"];
    if (sheet <= 0 || direct <= 0)
        return 0; // a filter left one of them out
    const double ratio = sheet / direct;
    std::printf("DrawSheet %.2f ms, drawLine %.2f ms\n", sheet, direct);
    ReportTarget("DrawSheet / drawLine", ratio, 1.5);
    return ratio <= 1.5 ? 0 : 1;
}
