// Opening and saving large projects must stay close to reading and writing
// the same number of bytes as one plain file: both are reported side by side,
// with the peak memory of the process.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "app/memory_reuse.h"
#include "document/document.h"
#include "model/file_io.h"
#include "ratio_reporter.h"

namespace {

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

// A project is opened or saved once, not over and over with its memory
// still in the processor's caches: every measurement, the plain file's
// included, starts from caches filled with other data (not timed).
void EvictCaches()
{
    static std::vector<uint8_t> other(96 << 20);
    for (size_t i = 0; i < other.size(); i += 64)
        ++other[i];
    benchmark::DoNotOptimize(other.data());
}

long PeakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void OpenProject(benchmark::State& state)
{
    const std::string& path = ProjectPath();
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        CDovereduDoc doc;
        if (doc.Open(path))
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(doc.sheets.data());
    }
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    state.counters["peakMB"] = static_cast<double>(PeakKilobytes()) / 1024;
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
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        if (doc.Save(out))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(std::filesystem::file_size(out)));
    state.counters["peakMB"] = static_cast<double>(PeakKilobytes()) / 1024;
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

} // namespace

BENCHMARK(OpenProject)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPlainFile)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveProject)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePlainFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse(); // as the program does
    InitializeWithRepeatedRuns(argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios(
        "Processor time of the best run over that of the same bytes as one plain file (at most 3):",
        {{"OpenProject", "ReadPlainFile"}, {"SaveProject", "WritePlainFile"}}, 3.0);
    std::filesystem::remove_all(Folder());
    return 0;
}
