// The view with a sheet of a million records on screen: a pointer move must
// cost what it costs over an empty sheet (it never draws the sheet, not even
// with the long cursors on), and so must a keystroke in a typed text; a "+"
// step to the next record costs no more than twice a pointer move; a
// complete draw through the view must stay within 1.5 times the sheet's own
// DrawSheet on the same canvas. The canvas
// and the window are stand-ins that draw nothing, so the figures are the
// view's and the renderer's own work.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "app/command_table.h"
#include "app/settings.h"
#include "document/document.h"
#include "model/pen_table.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "view/view_controller.h"
#include "view/view_dialogs.h"

#include "null_view.h"
#include "random_figures.h"

#include "ratio_reporter.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kPerFigure = 10;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A project of one sheet, with a million records of polylines on an A3
// sheet or with nothing but its frame, in a full-HD view at a zoom that
// shows it all.
struct CProject {
    explicit CProject(bool full, int records = kRecords)
    {
        doc.AddDefaultSheet();
        CSheet& s = doc.GetActiveSheet();
        if (full)
            AddRandomFigures(s, records, kPerFigure);
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

// The tool of the project's sheet from step 0, with a press at a pixel.
void StartTool(CProject& p, int toolMode, int x, int y)
{
    p.view.SelectTool(toolMode);
    p.view.PointerMove(x, y);
    p.view.PointerPress(CViewController::Button::Left, x, y);
}

// Takes the records from `count` on away again.
void Truncate(CSheet& s, int count)
{
    for (int i = s.recordCount - 1; i >= count; --i)
        s.DeleteRecord(i);
}

// A move while the last segment of a line (two legs at right angles)
// follows the pointer: it redraws only the line being drawn.
void LineMove(benchmark::State& state, bool full, int toolMode)
{
    CProject& p = Project(full);
    CSheet& s = p.doc.GetActiveSheet();
    const int count = s.recordCount;
    StartTool(p, toolMode, 300, 300);
    p.view.PointerRelease(CViewController::Button::Left, 300, 300);
    p.view.PointerMove(400, 350);
    const int before = p.ui.invalidated;
    int i = 0;
    for (auto _ : state) {
        p.view.PointerMove(400 + (i * 7) % 1200, 350 + (i * 3) % 600);
        ++i;
    }
    if (p.ui.invalidated != before || s.toolStep != Step::LineFollows)
        state.SkipWithError("the line was not followed");
    s.pendingChange = 0;
    s.toolStep = Step::Idle;
    Truncate(s, count);
    p.view.SelectTool(ToolMode::Select);
}
BENCHMARK_CAPTURE(LineMove, LinesEmpty, false, ToolMode::Lines);
BENCHMARK_CAPTURE(LineMove, LinesMillion, true, ToolMode::Lines);
BENCHMARK_CAPTURE(LineMove, Lines90Empty, false, ToolMode::Lines90);
BENCHMARK_CAPTURE(LineMove, Lines90Million, true, ToolMode::Lines90);

// A move while a rubber band follows the pointer.
void RubberMove(benchmark::State& state, bool full)
{
    CProject& p = Project(full);
    CSheet& s = p.doc.GetActiveSheet();
    StartTool(p, ToolMode::Rectangles, 300, 300);
    const int before = p.ui.invalidated;
    int i = 0;
    for (auto _ : state) {
        p.view.PointerMove(400 + (i * 7) % 1200, 350 + (i * 3) % 600);
        ++i;
    }
    if (p.ui.invalidated != before || s.toolStep != Step::Rubber)
        state.SkipWithError("the band was not followed");
    p.view.KeyDown({Key::Escape, false, false});
    p.view.PointerRelease(CViewController::Button::Left, 300, 300);
    p.view.SelectTool(ToolMode::Select);
}
BENCHMARK_CAPTURE(RubberMove, Empty, false);
BENCHMARK_CAPTURE(RubberMove, Million, true);

// "Einde lijn" on the million-record sheet: the line tidied and recorded as
// one undo step, against that undo step alone.
void EndLine(benchmark::State& state)
{
    CProject& p = Project(true);
    CSheet& s = p.doc.GetActiveSheet();
    const int count = s.recordCount;
    p.view.SelectTool(ToolMode::Lines);
    for (auto _ : state) {
        state.PauseTiming();
        p.view.PointerMove(300, 300);
        p.view.PointerPress(CViewController::Button::Left, 300, 300);
        p.view.PointerRelease(CViewController::Button::Left, 300, 300);
        p.view.PointerMove(400, 300);
        p.view.PointerPress(CViewController::Button::Left, 400, 300);
        p.view.PointerRelease(CViewController::Button::Left, 400, 300);
        p.view.PointerMove(400, 400);
        state.ResumeTiming();
        p.view.Execute(Cmd::EndLine);
        state.PauseTiming();
        Truncate(s, count);
        state.ResumeTiming();
    }
    p.view.SelectTool(ToolMode::Select);
}
BENCHMARK(EndLine)->Unit(benchmark::kMillisecond);

void UndoSnapshot(benchmark::State& state)
{
    CSheet& s = Project(true).doc.GetActiveSheet();
    for (auto _ : state)
        s.PushUndo();
}
BENCHMARK(UndoSnapshot)->Unit(benchmark::kMillisecond);

// Fills the placement buffer with 10,000 records of the sheet (or of a
// figure repeated) and starts placing them at the cursor.
void StartGhost(CProject& p, CSheet& s)
{
    constexpr int kGhost = 10000;
    p.view.SelectTool(ToolMode::CopyPlacement);
    s.EnsureSpare(kGhost + 10);
    s.ReadyPlacement();
    for (int k = 0; k < kGhost; ++k)
        s.placement[k] = CETREC::Make(
            100000 + (k % 100) * 1000, 100000 + (k / 100) * 500, 1, k % 10 == 0 ? 0 : 1);
    s.placementCount = kGhost;
    p.view.PointerMove(500, 500);
    s.bufferCursor = s.cursor;
    s.toolStep = Step::Placing;
}

// A move of a ghost of 10,000 records.
void GhostMove(benchmark::State& state, bool full)
{
    CProject& p = Project(full);
    CSheet& s = p.doc.GetActiveSheet();
    StartGhost(p, s);
    int i = 0;
    for (auto _ : state) {
        p.view.PointerMove(400 + (i * 7) % 1200, 350 + (i * 3) % 600);
        ++i;
    }
    p.view.SelectTool(ToolMode::Select);
}
BENCHMARK_CAPTURE(GhostMove, Empty, false);
BENCHMARK_CAPTURE(GhostMove, Million, true);

// A press placing the 10,000 records on the million-record sheet, the
// arrays having room.
void PlacePress(benchmark::State& state)
{
    CProject& p = Project(true);
    CSheet& s = p.doc.GetActiveSheet();
    const int count = s.recordCount;
    StartGhost(p, s);
    s.EnsureSpare(2 * s.placementCount + CRecordList::kGrowth);
    for (auto _ : state) {
        p.view.PointerPress(CViewController::Button::Left, 500, 500);
        state.PauseTiming();
        p.view.PointerRelease(CViewController::Button::Left, 500, 500);
        Truncate(s, count);
        state.ResumeTiming();
    }
    p.view.SelectTool(ToolMode::Select);
}
BENCHMARK(PlacePress)->Unit(benchmark::kMillisecond);

// The first press on a sheet just read: the arrays grow and the undo
// snapshot allocates.
void FirstPlacePress(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<CProject>(true);
        CSheet& s = p->doc.GetActiveSheet();
        s.ResizeArrays(s.recordCount + CRecordList::kMinSpare);
        StartGhost(*p, s);
        state.ResumeTiming();
        p->view.PointerPress(CViewController::Button::Left, 500, 500);
        state.PauseTiming();
        p.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(FirstPlacePress)->Unit(benchmark::kMillisecond)->Iterations(3);

// A drag step in the Select tool: a figure of 11 records follows the pointer
// on a sheet of a million records or of a thousand; the screen image is
// restored from the off-screen image and the marks drawn again.
void DragStep(benchmark::State& state, int records)
{
    static std::map<int, std::unique_ptr<CProject>> projects;
    auto& p = projects[records];
    if (!p)
        p = std::make_unique<CProject>(true, records);
    CSheet& s = p->doc.GetActiveSheet();
    p->view.SelectTool(ToolMode::Select);
    // A figure in the middle of the sheet.
    s.SelectFigure(s.FigureStart(s.recordCount / 2));
    // A press inside the selection window holds the selection for a drag.
    s.rubberActive = 1;
    s.rubberRect = {0, 0, 400000, 270000};
    s.toolStep = Step::Selection;
    p->view.PointerMove(900, 500);
    p->view.PointerPress(CViewController::Button::Left, 900, 500);
    int i = 0;
    for (auto _ : state) {
        p->view.PointerMove(900 + (i % 2) * 20, 500);
        ++i;
    }
    p->view.PointerRelease(CViewController::Button::Left, 900, 500);
    if (s.selectedCount != kPerFigure + 1)
        state.SkipWithError("the selection is not the figure");
    p->view.Execute(Cmd::EndSelection);
}
BENCHMARK_CAPTURE(DragStep, Thousand, 1000);
BENCHMARK_CAPTURE(DragStep, Million, kRecords);

// The edits of an 11-record selection in the middle of the million-record
// sheet: one Mirror X, and the OK of "Selectie bewerken" with every group
// ticked (its scale alternating between 200 and 50 %).
void SelectMiddleFigure(CProject& p)
{
    CSheet& s = p.doc.GetActiveSheet();
    p.view.SelectTool(ToolMode::Select);
    s.SelectFigure(s.FigureStart(s.recordCount / 2));
    s.toolStep = Step::Selection;
    p.view.PointerMove(900, 500);
}

void MirrorX(benchmark::State& state)
{
    CProject& p = Project(true);
    SelectMiddleFigure(p);
    for (auto _ : state)
        p.view.Execute(Cmd::MirrorX);
    p.view.Execute(Cmd::EndSelection);
}
BENCHMARK(MirrorX)->Unit(benchmark::kMillisecond);

void EditDialogOk(benchmark::State& state)
{
    CProject& p = Project(true);
    SelectMiddleFigure(p);
    CSelectionEditValues v;
    v.mirrorX = v.mirrorY = v.rotate = v.changePen = v.changeLayer = v.scale = true;
    v.angle = "90";
    v.penTo = "3";
    v.layerTo = "4";
    int i = 0;
    for (auto _ : state) {
        v.factor = i++ % 2 == 0 ? "200" : "50";
        p.dialogs.editSelection = v;
        p.view.Execute(Cmd::EditSelection);
    }
    if (p.doc.GetActiveSheet().selectedCount != kPerFigure + 1)
        state.SkipWithError("the selection is not the figure");
    p.dialogs.editSelection.reset();
    p.view.Execute(Cmd::EndSelection);
}
BENCHMARK(EditDialogOk)->Unit(benchmark::kMillisecond);
// A character typed and taken back with Backspace in a line of text: each
// recomposes the screen image from the sheet image with the feedback over it
// and never draws the sheet.
void Keystroke(benchmark::State& state, bool full)
{
    CProject& p = Project(full);
    p.ui.recompose = [&p] { p.view.DrawOverlays(p.ui.screen); };
    p.view.Execute(Cmd::ToolWindowsText);
    p.view.PointerMove(400, 300);
    p.view.PointerPress(CViewController::Button::Left, 400, 300);
    p.view.PointerRelease(CViewController::Button::Left, 400, 300);
    for (const char c : std::string_view("Kabel 3x2,5"))
        p.view.Char(static_cast<uint8_t>(c));
    const int before = p.ui.invalidated;
    int i = 0;
    for (auto _ : state) {
        if (i++ % 2 == 0)
            p.view.Char('x');
        else
            p.view.KeyDown({Key::Backspace, false, false});
    }
    if (p.ui.invalidated != before)
        state.SkipWithError("a keystroke asked for a complete draw");
    p.view.KeyDown({Key::Escape, false, false});
    p.view.Execute(Cmd::SelectTool);
    p.ui.recompose = nullptr;
}
BENCHMARK_CAPTURE(Keystroke, Empty, false);
BENCHMARK_CAPTURE(Keystroke, Million, true);

// "+" and "-" by turns from a record in the middle of the million-record
// sheet: the cursor goes to a record inside the view, the record line and
// the readouts follow, and the sheet is not drawn.
void RecordStep(benchmark::State& state)
{
    CProject& p = Project(true);
    CSheet& s = p.doc.GetActiveSheet();
    p.view.SelectTool(ToolMode::Select);
    s.currentRecord = s.recordCount / 2;
    const int before = p.ui.invalidated;
    int i = 0;
    for (auto _ : state)
        p.view.Char(i++ % 2 == 0 ? '+' : '-');
    if (p.ui.invalidated != before)
        state.SkipWithError("a record step asked for a complete draw");
    if (s.currentRecord != s.recordCount / 2 && s.currentRecord != s.recordCount / 2 + 1)
        state.SkipWithError("the steps did not go to the next record");
    state.counters["records"] = s.recordCount - 1;
}
BENCHMARK(RecordStep);

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
              std::printf("%s: %.0f ns against %.0f ns\n", what, t[a], t[b]);
              ok = ReportTarget(what, t[a] / t[b], limit) && ok;
          };
    // Pointer moves take microseconds: a generous limit still tells a move
    // that draws a million records (milliseconds) from one that does not.
    compare(
        "pointer move, 1,000,000 records / empty", "PointerMove/Million", "PointerMove/Empty", 2.0);
    compare("pointer move with long cursors, 1,000,000 records / empty",
        "PointerMove/MillionLongCursors", "PointerMove/EmptyLongCursors", 2.0);
    compare("complete draw through the view / DrawSheet", "CompleteDraw", "DrawSheet", 1.5);
    compare("line move, 1,000,000 records / empty", "LineMove/LinesMillion", "LineMove/LinesEmpty",
        1.2);
    compare("right-angle line move, 1,000,000 records / empty", "LineMove/Lines90Million",
        "LineMove/Lines90Empty", 1.2);
    compare("rubber band move, 1,000,000 records / empty", "RubberMove/Million", "RubberMove/Empty",
        1.2);
    compare("Einde lijn / one undo snapshot, 1,000,000 records", "EndLine", "UndoSnapshot", 1.5);
    compare("ghost move of 10,000 records, 1,000,000 records / empty", "GhostMove/Million",
        "GhostMove/Empty", 1.2);
    compare("placing 10,000 records / one undo snapshot, 1,000,000 records", "PlacePress",
        "UndoSnapshot", 1.5);
    compare("drag step of 11 selected records with the screen restored, 1,000,000 records / "
            "1,000",
        "DragStep/Million", "DragStep/Thousand", 1.5);
    compare("\"Selectie bewerken\" with every group / one Mirror X, 1,000,000 records",
        "EditDialogOk", "MirrorX", 2.0);
    // Like a pointer move, a keystroke takes microseconds, a complete draw
    // milliseconds.
    compare("keystroke while typing, 1,000,000 records / empty", "Keystroke/Million",
        "Keystroke/Empty", 2.0);
    // A record step puts the cursor somewhere else, as a pointer move does.
    compare("\"+\" record step / pointer move, 1,000,000 records", "RecordStep",
        "PointerMove/Million", 2.0);
    if (t["FirstPlacePress/iterations:3"] > 0)
        std::printf("first press placing 10,000 records on a sheet just read: %.1f ms\n",
            t["FirstPlacePress/iterations:3"] / 1e6);
    return ok ? 0 : 1;
}
