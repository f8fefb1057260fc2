// A stroke text of 1,000 characters follows the pointer. "Vergroten" builds
// it anew where it stands and draws only the ghost: over a sheet of a
// million records it must cost what it costs over an empty sheet (it never
// asks for a complete draw), and the rebuild itself must stay within 3
// times a plain copy of the same number of records. The canvas and the
// window are stand-ins that draw nothing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/command_table.h"
#include "app/settings.h"
#include "document/document.h"
#include "model/sheet.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "ratio_reporter.h"
#include "view/view_controller.h"
#include "view/view_dialogs.h"

#include "null_view.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kPerFigure = 10;
constexpr int kCharacters = 1000;
constexpr double kRebuildTarget = 3.0;
constexpr double kSheetTarget = 1.3;

// Answers "Plaats tekst" with the long text; asks nothing else.
class CTextDialogs : public CNoDialogs {
public:
    bool PlaceText(CPlaceTextValues& values) override
    {
        values.text.clear();
        const std::string words = "Verdeelkast K1, groep 12: 3 x 2,5 mm2. ";
        while (values.text.size() < kCharacters)
            values.text += words;
        values.text.resize(kCharacters);
        return true;
    }
};

// A sheet with a million records of polylines, or with its frame only, in a
// full-HD view; the shipped font's text of 1,000 characters follows the
// pointer.
struct CProject {
    explicit CProject(bool full)
    {
        doc.AddDefaultSheet();
        CSheet& s = doc.GetActiveSheet();
        if (full) {
            s.EnsureSpare(kRecords + 10);
            std::mt19937 random(7);
            std::uniform_int_distribution<int> x(0, 400000), y(0, 270000), step(-20000, 20000);
            while (s.recordCount + kPerFigure <= kRecords + 1) {
                int px = x(random), py = y(random);
                for (int k = 0; k < kPerFigure; ++k) {
                    s.records[s.recordCount++] = CETREC::Make(px, py, 1 + k % 15, k == 0 ? 0 : 1);
                    px += step(random);
                    py += step(random);
                }
            }
        }
        view.Resize(1920, 1080);
        s.font.Load(settings.strokeFontFile);
        if (!s.font.IsLoaded())
            return;
        view.SelectTool(ToolMode::Text);
        view.PointerMove(100, 500);
        view.PointerPress(CViewController::Button::Left, 100, 500);
        view.PointerRelease(CViewController::Button::Left, 100, 500);
    }
    bool Following() { return doc.GetActiveSheet().toolStep == Step::Placing; }

    CDovereduDoc doc;
    CSettings settings;
    CNullUi ui;
    CNullClock clock;
    CTextDialogs dialogs;
    CViewController view {doc, settings, ui, dialogs, clock};
};

// Made on first use and gone before main returns: a view outliving main
// would meet the program's other statics already destroyed.
std::unique_ptr<CProject> projects[2];

CProject& Project(bool full)
{
    auto& p = projects[full ? 1 : 0];
    if (!p)
        p = std::make_unique<CProject>(full);
    return *p;
}

// "Vergroten" and "Verkleinen" by turns, so the size stays put.
void Resize(benchmark::State& state, bool full)
{
    CProject& p = Project(full);
    if (!p.Following()) {
        state.SkipWithError("no font, or the text does not follow the pointer");
        return;
    }
    const int before = p.ui.invalidated;
    bool bigger = true;
    for (auto _ : state) {
        p.view.Execute(bigger ? Cmd::TextBigger : Cmd::TextSmaller);
        bigger = !bigger;
    }
    if (p.ui.invalidated != before)
        state.SkipWithError("a ghost command asked for a complete draw");
    state.counters["records"] = p.doc.GetActiveSheet().placementCount;
}
void BiggerEmpty(benchmark::State& state)
{
    Resize(state, false);
}
void BiggerMillion(benchmark::State& state)
{
    Resize(state, true);
}
BENCHMARK(BiggerEmpty);
BENCHMARK(BiggerMillion);

// The rebuild alone, where the ghost stands.
void Rebuild(benchmark::State& state)
{
    CProject& p = Project(true);
    CSheet& s = p.doc.GetActiveSheet();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.BuildTextStrokes(s.bufferAnchor));
    state.counters["records"] = s.placementCount;
}
BENCHMARK(Rebuild);

// The same number of records written into the buffer one by one from
// their points, layers and pens: what a rebuild cannot do without. (A copy
// of the bytes alone is a memory copy of 100 kB, which says nothing about
// building records.)
void PlainCopy(benchmark::State& state)
{
    CProject& p = Project(true);
    CSheet& s = p.doc.GetActiveSheet();
    const std::vector<CETREC> built(s.placement.begin(), s.placement.begin() + s.placementCount);
    for (auto _ : state) {
        for (size_t k = 0; k < built.size(); ++k) {
            const CETREC& r = built[k];
            s.placement[k] = CETREC::Make(r.x, r.y, r.Layer(), r.Pen());
        }
        benchmark::ClobberMemory();
    }
    state.counters["records"] = static_cast<double>(built.size());
}
BENCHMARK(PlainCopy);

} // namespace

int main(int argc, char** argv)
{
    InitializeWithRepeatedRuns(argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios("Vergroten over 1,000,000 records against an empty sheet (at most 1.3):",
        {{"BiggerMillion", "BiggerEmpty"}}, kSheetTarget);
    reporter.PrintRatios("The rebuild against writing as many records (at most 3):",
        {{"Rebuild", "PlainCopy"}}, kRebuildTarget);
    for (auto& p : projects)
        p.reset();
    return 0;
}
