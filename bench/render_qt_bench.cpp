// A complete draw of a sheet must cost little more than drawing its
// segments straight with QPainter, and far less than drawing it one segment
// at a time as the sheet once did:
// - DrawSheet of 100,000 segments on layers 1 to 15 into a 1920 x 1080
//   image, against QPainter::drawLine of the same segments with the same
//   pens, in the same run (at most 1.5x);
// - DrawSheet of 1,000,000 records of small figures, as a DXF import of a
//   large drawing gives them, against the same draw with one painter call
//   per segment (at most 0.4x).
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
constexpr int kLargeRecords = 1000000;

// Fits the sheet to the image, without paper and grid: only the records.
void FitToImage(CSheet& s)
{
    s.sheetExtent = {0, 0, 420000, 297000};
    s.clientRect = {0, 0, kWidth, kHeight};
    s.layers.SetVisible(0, 0);
    s.grids.Active().display = 0;
    s.ZoomAll();
    s.fitMode = 0;
    s.zoomAtLastDraw = s.zoom;
}

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
        FitToImage(s);
        return s;
    }();
    return sheet;
}

// A million records as a DXF import of a large installation drawing gives
// them: arcs and circles of short segments, short lines and stroke texts,
// mostly in thin pens, a few figures in each of the wider pens and the line
// types, on an A3 sheet seen whole.
CSheet& LargeSheet()
{
    static CSheet& sheet = []() -> CSheet& {
        static CSheet s;
        s.recordCount = 1;
        s.EnsureSpare(kLargeRecords + 100);
        std::mt19937 random(13);
        std::uniform_int_distribution<int> x(0, 415000), y(0, 292000), step(-800, 800);
        std::uniform_int_distribution<int> length(2, 24), layer(1, 15), kind(0, 9);
        while (s.recordCount < kLargeRecords - 30) {
            const int l = layer(random);
            // Pen 1 mostly; every tenth figure in a wider pen.
            const int pen = kind(random) == 0 ? 2 + kind(random) % 6 : 1;
            int px = x(random), py = y(random);
            s.Append(CETREC::Make(px, py, l, 0));
            const int n = length(random);
            for (int i = 0; i < n; ++i) {
                px = std::clamp(px + step(random), 0, 420000);
                py = std::clamp(py + step(random), 0, 297000);
                s.Append(CETREC::Make(px, py, l, pen));
            }
        }
        FitToImage(s);
        return s;
    }();
    return sheet;
}

// The drawing as it once was: every segment a call of its own.
class CSegmentBySegment : public CQtCanvas {
public:
    using CQtCanvas::CQtCanvas;
    void Polyline(std::span<const CPoint> points) override
    {
        if (points.size() == 1) {
            CQtCanvas::Polyline(points);
            return;
        }
        for (size_t i = 1; i < points.size(); ++i) {
            MoveTo(points[i - 1].x, points[i - 1].y);
            LineTo(points[i].x, points[i].y);
        }
    }
    void PolyPolyline(std::span<const CPoint> points, std::span<const int> counts) override
    {
        CCanvas::PolyPolyline(points, counts);
    }
};

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

template<class Canvas> void Draw(benchmark::State& state, CSheet& s, int records)
{
    CPenTable pens;
    for (auto _ : state) {
        Image().fill(Qt::white);
        QPainter painter(&Image());
        Canvas canvas(painter);
        s.DrawSheet(canvas, pens);
    }
    state.counters["records"] = records;
}

void DrawSheet(benchmark::State& state)
{
    Draw<CQtCanvas>(state, BenchSheet(), kSegments);
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

void DrawLargeSheet(benchmark::State& state)
{
    Draw<CQtCanvas>(state, LargeSheet(), kLargeRecords);
}
BENCHMARK(DrawLargeSheet)->Unit(benchmark::kMillisecond);

void DrawLargeSheetBySegment(benchmark::State& state)
{
    Draw<CSegmentBySegment>(state, LargeSheet(), kLargeRecords);
}
BENCHMARK(DrawLargeSheetBySegment)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InitializeWithRepeatedRuns(argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios(
        "Processor time of the best run over that of drawing the segments straight "
        "with QPainter (at most 1.5):",
        {{"DrawSheet", "DrawLinesDirectly"}}, 1.5);
    reporter.PrintRatios(
        "A million records over the same drawn one segment at a time (at most 0.4):",
        {{"DrawLargeSheet", "DrawLargeSheetBySegment"}}, 0.4);
    return 0;
}
