// The sheet's whole-list operations on a sheet of a million records must
// stay within a small multiple of one plain pass over the same records: a
// hit test that finds nothing, deleting every second figure, and tidying
// the whole list. The figures and their ratios to the plain pass are printed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/memory_reuse.h"
#include "model/sheet.h"
#include "ratio_reporter.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kPerFigure = 4;

// Zigzag figures of four records in rows 1 mm apart; every tenth figure has
// a straight run for the tidying to drop. Every second figure is selected.
std::unique_ptr<CSheet> MakeSheet()
{
    auto s = std::make_unique<CSheet>();
    s->ResizeArrays(kRecords + 1 + CRecordList::kGrowth);
    s->recordCount = 1;
    for (int f = 0; s->recordCount + kPerFigure <= kRecords + 1; ++f) {
        const int x = (f % 1000) * 400;
        const int y = (f / 1000) * 1000;
        const int layer = 1 + f % 3;
        const int bend = f % 10 == 0 ? 0 : 50;
        const CPoint points[kPerFigure]
            = {{x, y}, {x + 100, y + 50}, {x + 200, y + 50}, {x + 300, y + 50 - bend}};
        for (int k = 0; k < kPerFigure; ++k) {
            s->selectionFlags[s->recordCount] = f % 2;
            s->records[s->recordCount++]
                = CETREC::Make(points[k].x, points[k].y, layer, k == 0 ? 0 : 1 + f % 7);
        }
    }
    while (s->recordCount <= kRecords)
        s->records[s->recordCount++] = CETREC::Junction(-5000, -5000, 1);
    s->selectedCount = 0;
    for (int i = 1; i < s->recordCount; ++i)
        s->selectedCount += s->selectionFlags[i];
    s->zoom = 50;
    return s;
}

const CSheet& Template()
{
    static const std::unique_ptr<CSheet> sheet = MakeSheet();
    return *sheet;
}

// A working copy of the template's records and selection.
void CopyTemplate(CSheet& s)
{
    const CSheet& t = Template();
    s.records = t.records;
    s.selectionFlags = t.selectionFlags;
    s.placement.resize(t.records.size());
    s.recordCount = t.recordCount;
    s.selectedCount = t.selectedCount;
    s.zoom = t.zoom;
}

void PlainPass(benchmark::State& state)
{
    const CSheet& t = Template();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int i = 1; i < t.recordCount; ++i) {
            const CETREC& r = t.records[i];
            sum += r.x + r.y + r.styleWord + r.blockWord;
        }
        benchmark::DoNotOptimize(sum);
    }
}

void HitFigureOnNothing(benchmark::State& state)
{
    CSheet s;
    CopyTemplate(s);
    for (auto _ : state) {
        // Between two rows of figures, 0.5 mm from each.
        const int hit = s.HitFigure(200150, 400500);
        if (hit != 0)
            state.SkipWithError("the point hit a figure");
        benchmark::DoNotOptimize(hit);
    }
}

void DeleteEverySecondFigure(benchmark::State& state)
{
    CSheet s;
    for (auto _ : state) {
        state.PauseTiming();
        CopyTemplate(s);
        state.ResumeTiming();
        s.DeleteSelection();
        benchmark::DoNotOptimize(s.recordCount);
    }
}

// An undo snapshot after deleting, alone: the records in use are copied,
// after a look back over the emptied end of the array for anything left.
void SnapshotAfterDeleting(benchmark::State& state)
{
    CSheet s;
    CopyTemplate(s);
    s.DeleteSelection();
    for (auto _ : state) {
        s.PushUndo();
        benchmark::DoNotOptimize(s.undoList.back()->records.data());
    }
}

// The tidying that follows the end of every selection: nothing is selected
// any more, and a straight run near the start moves every record after it.
void NormalizeWholeList(benchmark::State& state)
{
    CSheet s;
    for (auto _ : state) {
        state.PauseTiming();
        CopyTemplate(s);
        std::fill(s.selectionFlags.begin(), s.selectionFlags.end(), 0);
        s.selectedCount = 0;
        state.ResumeTiming();
        s.Normalize(0, 0);
        benchmark::DoNotOptimize(s.recordCount);
    }
}

} // namespace

BENCHMARK(PlainPass)->Unit(benchmark::kMillisecond);
BENCHMARK(HitFigureOnNothing)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteEverySecondFigure)->Unit(benchmark::kMillisecond);
BENCHMARK(SnapshotAfterDeleting)->Unit(benchmark::kMillisecond);
BENCHMARK(NormalizeWholeList)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse(); // as the program does
    InitializeWithRepeatedRuns(argc, argv);
    Template(); // built once, outside every measurement
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& entry : reporter.times) {
        if (entry.first != "PlainPass")
            pairs.emplace_back(entry.first, "PlainPass");
    }
    char heading[96];
    std::snprintf(heading, sizeof heading,
        "Processor time of the best run over that of a plain pass over %d records (at most 3):",
        kRecords);
    reporter.PrintRatios(heading, pairs, 3.0);
    return 0;
}
