// Copy and Paste on a sheet of a million records against one undo snapshot
// of it: copying 11 selected records (the stream and the copy the picture is
// drawn from) may cost at most 1.5 snapshots, pasting 10,000 records at most
// 2 (the paste takes one snapshot itself).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/memory_reuse.h"
#include "model/archive.h"
#include "model/sheet.h"
#include "ratio_reporter.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kSelected = 11;
constexpr int kPasted = 10000;

// Lines of four records in rows, blocks of ten figures; 11 records in the
// middle are selected.
std::unique_ptr<CSheet> MakeSheet()
{
    auto s = std::make_unique<CSheet>();
    s->ResizeArrays(kRecords + 1 + CRecordList::kGrowth);
    s->recordCount = 1;
    for (int f = 0; s->recordCount <= kRecords; ++f) {
        const int x = (f % 1000) * 400;
        const int y = (f / 1000) * 1000;
        for (int k = 0; k < 4 && s->recordCount <= kRecords; ++k) {
            s->records[s->recordCount++] = CETREC::Make(
                x + k * 100, y + (k % 2) * 50, 1 + f % 3, k == 0 ? 0 : 1, f / 10 % 30000);
        }
    }
    for (int i = kRecords / 2; i < kRecords / 2 + kSelected; ++i)
        s->SelectRecord(i);
    s->RestartUndo();
    return s;
}

CSheet& Sheet()
{
    static const std::unique_ptr<CSheet> sheet = MakeSheet();
    return *sheet;
}

void Snapshot(benchmark::State& state)
{
    CSheet& s = Sheet();
    for (auto _ : state)
        s.PushUndo();
}

void Copy(benchmark::State& state)
{
    const CSheet& s = Sheet();
    for (auto _ : state) {
        CArchive ar("Clipboard");
        s.WriteSelection(ar);
        std::vector<uint8_t> bytes = ar.TakeBytes();
        std::unique_ptr<CSheet> picture = s.PictureSheet();
        benchmark::DoNotOptimize(bytes.data());
        benchmark::DoNotOptimize(picture.get());
    }
}

void Paste(benchmark::State& state)
{
    CSheet& s = Sheet();
    // 10,000 records of 1,000 blocks, written as a copy writes them.
    CSheet source;
    source.recordCount = 1;
    for (int i = 0; i < kPasted; ++i)
        source.Append(CETREC::Make(i * 10, 5000, 2, i % 10 == 0 ? 0 : 1, 1 + i / 10));
    source.SelectAll();
    CArchive out("Clipboard");
    source.WriteSelection(out);
    const std::vector<uint8_t> stream = out.TakeBytes();

    const int count = s.recordCount;
    for (auto _ : state) {
        CArchive ar(std::span<const uint8_t>(stream), "Clipboard");
        if (s.PasteSelection(ar) != CSheet::PasteResult::Pasted)
            state.SkipWithError("not pasted");
        state.PauseTiming();
        std::fill(s.records.begin() + count, s.records.begin() + s.recordCount, CETREC {});
        s.recordCount = count;
        state.ResumeTiming();
    }
}

BENCHMARK(Snapshot)->Unit(benchmark::kMillisecond);
BENCHMARK(Copy)->Unit(benchmark::kMillisecond);
BENCHMARK(Paste)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse(); // as the program does
    InitializeWithRepeatedRuns(argc, argv);
    Sheet(); // built once, outside every measurement
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto snapshot = reporter.times.find("Snapshot");
    if (snapshot == reporter.times.end() || snapshot->second <= 0)
        return 0;
    std::printf("\nProcessor time of the best run over that of one undo snapshot of %d records:\n",
        kRecords);
    const struct {
        const char* name;
        double floor;
    } targets[] = {{"Copy", 1.5}, {"Paste", 2.0}};
    for (const auto& t : targets) {
        const auto it = reporter.times.find(t.name);
        if (it == reporter.times.end())
            continue;
        std::printf("  %-8s %8.3f ms  (snapshot %.3f ms)\n", t.name, it->second, snapshot->second);
        ReportTarget(
            std::string(t.name) + " / one undo snapshot", it->second / snapshot->second, t.floor);
    }
    return 0;
}
