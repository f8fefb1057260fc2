// A reserve copy may cost the user no wait: the user-interface thread only
// serialises the project into memory, and the write goes on beside it. Its
// processor time for a copy of a 1,000,000-record project stays within 1.2
// times that of serialising it, also while the writer is held up 500 ms a
// write; the write's own time is shown beside.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "app/memory_reuse.h"
#include "document/backup.h"
#include "document/document.h"
#include "evict_caches.h"
#include "model/sheet.h"
#include "platform/clock.h"
#include "platform/ui_services.h"
#include "ratio_reporter.h"

namespace {

constexpr double kMostRatio = 1.2;

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path()
            / ("ridizav-backup-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

CDovereduDoc& Project()
{
    static const std::unique_ptr<CDovereduDoc> doc = [] {
        auto d = std::make_unique<CDovereduDoc>();
        auto sheet = std::make_unique<CSheet>();
        sheet->AddFrame(0, 0, 400000, 270000);
        sheet->EnsureSpare(1000010);
        for (int i = 0; i < 1000000; ++i)
            sheet->Append(
                CETREC::Make(i % 400000, (i * 7) % 270000, 1 + i % 15, i % 5 == 0 ? 0 : 1 + i % 7));
        d->sheets.push_back(std::move(sheet));
        d->pathName = (Folder() / "Groot.ETT").string();
        return d;
    }();
    return *doc;
}

struct CQuietUi : CUiServices {
    Answer MessageBox(std::string_view, Buttons, Icon) override { return Answer::Ok; }
    void SetStatusText(int, std::string_view) override { }
    void Invalidate() override { }
};

struct CStillClock : CClock {
    uint32_t Tick() const override { return 0; }
    void StartTimer(int, int) override { }
    void StopTimer(int) override { }
};

CBackupSettings Settings()
{
    CBackupSettings s;
    s.folder = (Folder() / "ETT").string();
    s.defaultFolder = s.folder;
    return s;
}

void StoreProject(benchmark::State& state)
{
    CDovereduDoc& doc = Project();
    for (auto _ : state) {
        state.PauseTiming();
        EvictCaches();
        state.ResumeTiming();
        auto bytes = doc.Store();
        benchmark::DoNotOptimize(bytes.data());
    }
}

// The user-interface thread's part of a copy. Copies come a minute apart:
// the writer has finished the last one, unless it is held up, when every
// copy finds the one before still waiting.
void Backup(benchmark::State& state, int holdMs)
{
    CDovereduDoc& doc = Project();
    CQuietUi ui;
    CStillClock clock;
    CBackupWriter writer;
    writer.HoldWrites(std::chrono::milliseconds(holdMs));
    CProjectBackup backup(doc, ui, clock, 2, writer);
    const CBackupSettings s = Settings();
    for (auto _ : state) {
        state.PauseTiming();
        if (holdMs == 0)
            writer.Wait(backup.Client());
        EvictCaches();
        state.ResumeTiming();
        doc.changedSinceBackup = 1;
        if (!backup.AutoBackup(s))
            state.SkipWithError("no copy");
    }
    writer.HoldWrites(std::chrono::milliseconds(0));
}

void BackupProject(benchmark::State& state)
{
    Backup(state, 0);
}

void BackupProjectHeld(benchmark::State& state)
{
    Backup(state, 500);
}

// The write itself, on the worker: the file, its sync and the rotation.
void WriteCopy(benchmark::State& state)
{
    CBackupRequest request;
    request.bytes = Project().Store();
    request.folder = (Folder() / "ETT").string();
    request.title = "GROOT";
    for (auto _ : state) {
        const CBackupOutcome outcome = WriteBackup(request);
        if (!outcome.ok)
            state.SkipWithError(outcome.error.c_str());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(request.bytes.size()));
}

} // namespace

BENCHMARK(StoreProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BackupProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BackupProjectHeld)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse(); // as the program does
    InitializeWithRepeatedRuns(argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios(
        "Processor time of the user-interface thread over serialising (at most 1.2):",
        {{"BackupProject", "StoreProject"}, {"BackupProjectHeld", "StoreProject"}}, kMostRatio);
    if (const auto write = reporter.times.find("WriteCopy"); write != reporter.times.end())
        std::printf("The write's own processor time: %.1f ms (its real time in the table)\n",
            write->second);
    std::filesystem::remove_all(Folder());
    return 0;
}
