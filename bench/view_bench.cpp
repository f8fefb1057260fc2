// The view with a sheet of a million records on screen: a pointer move must
// cost what it costs over an empty sheet (it never draws the sheet, not even
// with the long cursors on), and a complete draw through the view must stay
// within 1.5 times the sheet's own DrawSheet on the same canvas. The canvas
// and the window are stand-ins that draw nothing, so the figures are the
// view's and the renderer's own work.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "app/settings.h"
#include "document/document.h"
#include "model/pen_table.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "view/view_controller.h"
#include "view/view_dialogs.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kPerFigure = 10;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

class CNullCanvas : public CCanvas {
public:
    void SelectPen(const CPenDesc&) override { }
    void SelectBrush(const CBrushDesc&) override { }
    RasterOp SetRasterOp(RasterOp op) override { return std::exchange(rop, op); }
    void SetTextColour(COLORREF) override { }
    void SetTransparentBackground(bool) override { }
    void MoveTo(int x, int) override { sink += x; }
    void LineTo(int x, int) override { sink += x; }
    void Polyline(std::span<const CPoint> points) override { sink += int(points.size()); }
    void Polygon(std::span<const CPoint> points) override { sink += int(points.size()); }
    void Ellipse(int, int, int, int) override { }
    void Rectangle(int, int, int, int) override { }
    void SetPixel(int x, int, COLORREF) override { sink += x; }
    void TextOut(int, int, const CFontDesc&, std::string_view) override { }
    void DrawImage(const CImage&, const CRect&, const CRect&) override { }

    RasterOp rop = RasterOp::CopyPen;
    int64_t sink = 0;
};

class CNullUi : public CUiServices {
public:
    Answer MessageBox(std::string_view, Buttons, Icon) override { return Answer::Ok; }
    void SetStatusText(int, std::string_view text) override { sink += text.size(); }
    void Invalidate() override { ++invalidated; }
    CCanvas* ScreenCanvas() override { return &screen; }

    CNullCanvas screen;
    size_t sink = 0;
    int invalidated = 0;
};

class CNullClock : public CClock {
public:
    uint32_t Tick() const override { return 0; }
    void StartTimer(int, int) override { }
    void StopTimer(int) override { }
};

// The benchmarks ask the user nothing.
class CNoDialogs : public CViewDialogs {
public:
    std::optional<int> ChooseLayer(const CLayerArray&, int) override { return std::nullopt; }
    bool ChoosePen(CPenValues&) override { return false; }
    bool EditGrids(CGridValues&) override { return false; }
    bool EditLayerTable(CLayerTable&) override { return false; }
    std::optional<int> ChooseFont(const std::vector<std::string>&, int) override
    {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> ChooseSymbol(const std::filesystem::path&) override
    {
        return std::nullopt;
    }
};

// A project of one sheet, with a million records of polylines on an A3
// sheet or with nothing but its frame, in a full-HD view at a zoom that
// shows it all.
struct CProject {
    explicit CProject(bool full)
    {
        doc.AddDefaultSheet();
        CSheet& s = doc.GetActiveSheet();
        if (full) {
            s.EnsureSpare(kRecords + 10);
            std::mt19937 random(7);
            std::uniform_int_distribution<int> x(0, 400000), y(0, 270000), step(-20000, 20000);
            std::uniform_int_distribution<int> layer(1, 15), pen(1, 7);
            while (s.recordCount + kPerFigure + 1 <= kRecords + 1) {
                const int l = layer(random);
                int px = x(random), py = y(random);
                s.Append(CETREC::Make(px, py, l, 0));
                for (int i = 0; i < kPerFigure; ++i) {
                    px = std::clamp(px + step(random), 0, 400000);
                    py = std::clamp(py + step(random), 0, 270000);
                    s.Append(CETREC::Make(px, py, l, pen(random)));
                }
            }
        }
        view.Resize(kWidth, kHeight);
        CNullCanvas dc;
        view.DrawOffscreen(dc);
        view.DrawOverlays(ui.screen);
    }

    CDovereduDoc doc;
    CSettings settings {CDefaultPaths {}};
    CNullUi ui;
    CNullClock clock;
    CNoDialogs dialogs;
    CViewController view {doc, settings, ui, dialogs, clock};
};

CProject& Project(bool full)
{
    static std::map<bool, std::unique_ptr<CProject>> projects;
    auto& p = projects[full];
    if (!p)
        p = std::make_unique<CProject>(full);
    return *p;
}

void PointerMove(benchmark::State& state, bool full, bool longCursors)
{
    CProject& p = Project(full);
    p.view.orthoCrosshair = longCursors;
    p.view.diagCrosshair = longCursors;
    const int before = p.ui.invalidated;
    int i = 0;
    for (auto _ : state) {
        // Across the view, a new pixel every time.
        const int x = 100 + (i * 7) % 1700;
        const int y = 100 + (i * 3) % 900;
        p.view.PointerMove(x, y);
        ++i;
    }
    if (p.ui.invalidated != before)
        state.SkipWithError("a pointer move asked for a complete draw");
    p.view.orthoCrosshair = p.view.diagCrosshair = false;
    state.counters["records"] = p.doc.GetActiveSheet().recordCount - 1;
}
BENCHMARK_CAPTURE(PointerMove, Empty, false, false);
BENCHMARK_CAPTURE(PointerMove, Million, true, false);
BENCHMARK_CAPTURE(PointerMove, EmptyLongCursors, false, true);
BENCHMARK_CAPTURE(PointerMove, MillionLongCursors, true, true);

void CompleteDraw(benchmark::State& state)
{
    CProject& p = Project(true);
    CNullCanvas offscreen;
    for (auto _ : state) {
        p.view.DrawOffscreen(offscreen);
        p.view.DrawOverlays(p.ui.screen);
    }
    benchmark::DoNotOptimize(offscreen.sink);
}
BENCHMARK(CompleteDraw)->Unit(benchmark::kMillisecond);

void DrawSheet(benchmark::State& state)
{
    CProject& p = Project(true);
    CNullCanvas dc;
    CPenTable pens;
    for (auto _ : state)
        p.doc.GetActiveSheet().DrawSheet(dc, pens);
    benchmark::DoNotOptimize(dc.sink);
}
BENCHMARK(DrawSheet)->Unit(benchmark::kMillisecond);

class CTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedRealTime()
                    * (r.time_unit == benchmark::kMillisecond ? 1e6 : 1.0);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times; // nanoseconds
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::Shutdown();

    auto& t = times.times;
    bool ok = true;
    const auto compare
        = [&](const char* what, const std::string& a, const std::string& b, double limit) {
              if (t[a] <= 0 || t[b] <= 0)
                  return; // a filter left one out
              const double ratio = t[a] / t[b];
              std::printf("%s: %.0f ns against %.0f ns, %.2f times (at most %.1f)\n", what, t[a],
                  t[b], ratio, limit);
              ok = ok && ratio <= limit;
          };
    // Pointer moves take microseconds: a generous limit still tells a move
    // that draws a million records (milliseconds) from one that does not.
    compare(
        "pointer move, 1,000,000 records / empty", "PointerMove/Million", "PointerMove/Empty", 2.0);
    compare("pointer move with long cursors, 1,000,000 records / empty",
        "PointerMove/MillionLongCursors", "PointerMove/EmptyLongCursors", 2.0);
    compare("complete draw through the view / DrawSheet", "CompleteDraw", "DrawSheet", 1.5);
    return ok ? 0 : 1;
}
