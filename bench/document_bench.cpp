// Opening and saving large projects must stay close to reading and writing
// the same number of bytes as one plain file: both are reported side by side,
// with the memory they take. Targets: an open within 3x a plain read of the
// file into fresh memory, its peak heap within 1.3x the records it holds; a
// save within 2x a plain write of the same bytes (with fsync), its peak heap
// beyond the project's own under 16 MB; a project of 5,000 empty sheets
// opens in under 100 MB.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "app/memory_reuse.h"
#include "document/document.h"
#include "evict_caches.h"
#include "model/file_io.h"
#include "ratio_reporter.h"

// Every allocation of the program is counted: the heap in use now and the
// most it reached since the last reset.
namespace {

std::atomic<int64_t> heapInUse {0};
std::atomic<int64_t> heapPeak {0};

void* Counted(void* p)
{
    if (p == nullptr)
        throw std::bad_alloc();
    const auto now = heapInUse += static_cast<int64_t>(malloc_usable_size(p));
    int64_t peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) { }
    return p;
}

void Uncounted(void* p)
{
    if (p != nullptr)
        heapInUse -= static_cast<int64_t>(malloc_usable_size(p));
    std::free(p);
}

// The peak from now on, counted from what is in use now.
int64_t ResetPeak()
{
    const int64_t now = heapInUse.load();
    heapPeak = now;
    return now;
}

} // namespace

void* operator new(size_t n)
{
    return Counted(std::malloc(n == 0 ? 1 : n));
}
void* operator new[](size_t n)
{
    return Counted(std::malloc(n == 0 ? 1 : n));
}
void* operator new(size_t n, std::align_val_t a)
{
    return Counted(std::aligned_alloc(static_cast<size_t>(a),
        (n + static_cast<size_t>(a) - 1) / static_cast<size_t>(a) * static_cast<size_t>(a)));
}
void operator delete(void* p) noexcept
{
    Uncounted(p);
}
void operator delete[](void* p) noexcept
{
    Uncounted(p);
}
void operator delete(void* p, size_t) noexcept
{
    Uncounted(p);
}
void operator delete[](void* p, size_t) noexcept
{
    Uncounted(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    Uncounted(p);
}
void operator delete(void* p, size_t, std::align_val_t) noexcept
{
    Uncounted(p);
}

namespace {

constexpr double kMB = 1024.0 * 1024.0;

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path()
            / ("ridizav-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

std::unique_ptr<CSheet> SheetWith(int records)
{
    auto sheet = std::make_unique<CSheet>();
    sheet->AddFrame(0, 0, 400000, 270000);
    sheet->EnsureSpare(records + 10);
    for (int i = 0; i < records; ++i)
        sheet->Append(
            CETREC::Make(i % 400000, (i * 7) % 270000, 1 + i % 15, i % 5 == 0 ? 0 : 1 + i % 7));
    return sheet;
}

// One sheet of 1,000,000 records and ten of 100,000.
const std::string& ProjectPath()
{
    static const std::string path = [] {
        CDovereduDoc doc;
        doc.sheets.push_back(SheetWith(1000000));
        for (int i = 0; i < 10; ++i)
            doc.sheets.push_back(SheetWith(100000));
        const std::string p = (Folder() / "big.ETT").string();
        if (doc.Save(p))
            std::abort();
        return p;
    }();
    return path;
}

// 5,000 sheets with nothing on them but the sentinel record, stored with an
// array of that one record, about 770 bytes each.
const std::string& EmptySheetsPath()
{
    static const std::string path = [] {
        CDovereduDoc doc;
        for (int i = 0; i < 5000; ++i) {
            auto sheet = std::make_unique<CSheet>(0, "Blad " + std::to_string(i + 1), "");
            sheet->recordCount = 1;
            sheet->ResizeArrays(1);
            doc.sheets.push_back(std::move(sheet));
        }
        const std::string p = (Folder() / "empty.ETT").string();
        if (doc.Save(p))
            std::abort();
        return p;
    }();
    return path;
}

int64_t RecordBytes(const CDovereduDoc& doc)
{
    int64_t bytes = 0;
    for (const auto& s : doc.sheets)
        bytes += static_cast<int64_t>(s->records.capacity() * sizeof(CETREC));
    return bytes;
}

// The figures the targets are checked against, the best of all runs.
double openHeapRatio = 0;
double saveExtraMB = 0;
double emptySheetsMB = 0;

void Lower(double& kept, double value)
{
    if (kept == 0 || value < kept)
        kept = value;
}

void OpenProject(benchmark::State& state)
{
    const std::string& path = ProjectPath();
    double ratio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        const int64_t before = ResetPeak();
        state.ResumeTiming();
        CDovereduDoc doc;
        if (doc.Open(path))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(doc.sheets.data());
        state.PauseTiming();
        ratio = static_cast<double>(heapPeak - before) / static_cast<double>(RecordBytes(doc));
        state.ResumeTiming();
    }
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    state.counters["heapOverRecords"] = ratio;
    Lower(openHeapRatio, ratio);
}

void ReadPlainFile(benchmark::State& state)
{
    const std::string& path = ProjectPath();
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        auto bytes = ReadFileBytes(path);
        benchmark::DoNotOptimize(bytes->data());
    }
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

void SaveProject(benchmark::State& state)
{
    CDovereduDoc doc;
    if (doc.Open(ProjectPath()))
        state.SkipWithError("open failed");
    const std::string out = (Folder() / "saved.ETT").string();
    double extra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A change to the large sheet, recorded as an edit records it.
        doc.sheets[0]->records[2].x ^= 1;
        doc.sheets[0]->PushUndo();
        EvictCaches();
        const int64_t before = ResetPeak();
        state.ResumeTiming();
        if (doc.Save(out))
            state.SkipWithError("save failed");
        state.PauseTiming();
        extra = static_cast<double>(heapPeak - before) / kMB;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(std::filesystem::file_size(out)));
    state.counters["extraHeapMB"] = extra;
    Lower(saveExtraMB, extra);
}

void WritePlainFile(benchmark::State& state)
{
    const auto bytes = ReadFileBytes(ProjectPath()).value();
    const std::string out = (Folder() / "plain.bin").string();
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        if (WriteFileAtomically(out, bytes))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void OpenEmptySheets(benchmark::State& state)
{
    const std::string& path = EmptySheetsPath();
    double mb = 0;
    for (auto _ : state) {
        const int64_t before = ResetPeak();
        CDovereduDoc doc;
        if (doc.Open(path))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(doc.sheets.data());
        state.PauseTiming();
        mb = static_cast<double>(heapPeak - before) / kMB;
        state.ResumeTiming();
    }
    state.counters["fileMB"] = static_cast<double>(std::filesystem::file_size(path)) / kMB;
    state.counters["heapMB"] = mb;
    Lower(emptySheetsMB, mb);
}

} // namespace

BENCHMARK(OpenProject)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPlainFile)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveProject)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePlainFile)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenEmptySheets)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse(); // as the program does
    InitializeWithRepeatedRuns(argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios("Processor time of the best run over that of the same bytes as one plain "
                         "file, open (at most 3):",
        {{"OpenProject", "ReadPlainFile"}}, 3.0);
    reporter.PrintRatios("Save, with fsync like the plain write (at most 2):",
        {{"SaveProject", "WritePlainFile"}}, 2.0);
    std::printf("\nMemory:\n");
    if (openHeapRatio > 0)
        ReportTarget("open: peak heap / records held", openHeapRatio, 1.3);
    if (saveExtraMB > 0)
        ReportTarget("save: peak heap beyond the project, MB", saveExtraMB, 16);
    if (emptySheetsMB > 0)
        ReportTarget("open of 5,000 empty sheets: peak heap, MB", emptySheetsMB, 100);
    std::filesystem::remove_all(Folder());
    return 0;
}
