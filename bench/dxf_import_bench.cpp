// Importing a DXF file must be at least 50 times faster than an independent
// DXF reader loading the same file (both measured in this run, on 100,000
// entities), and a file of 1,000,000 entities must import in under 2 s with
// a peak heap of the reader under 4 times the records it makes. The program
// prints the figures at the end and fails when a target is missed.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <new>
#include <string>
#include <unistd.h>

#include "document/document.h"
#include "dxf/dxf_import.h"

#include "dxf_drawing.h"
#include "ratio_reporter.h"

namespace {

std::atomic<size_t> liveBytes {0};
std::atomic<size_t> peakBytes {0};

void Count(void* p)
{
    if (p == nullptr)
        return;
    const size_t now = liveBytes += malloc_usable_size(p);
    size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) { }
}

} // namespace

void* operator new(size_t n)
{
    void* p = std::malloc(n == 0 ? 1 : n);
    if (p == nullptr) {
        std::fprintf(stderr, "alloc %zu failed\n", n);
        throw std::bad_alloc();
    }
    Count(p);
    return p;
}
void operator delete(void* p) noexcept
{
    if (p != nullptr)
        liveBytes -= malloc_usable_size(p);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
    std::free(p); // it came from malloc in operator new above
#pragma GCC diagnostic pop
}
void operator delete(void* p, size_t) noexcept
{
    operator delete(p);
}

namespace {

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path()
            / ("ridizav-dxf-import-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

std::filesystem::path MakeDrawing(int entities)
{
    return MakeDxfDrawing(Folder(), entities);
}

const CDovereduFont& Font()
{
    static const CDovereduFont font = [] {
        CDovereduFont f;
        const char* data = std::getenv("RIDIZAV_DATA");
        f.Load((std::filesystem::path(data != nullptr ? data : "data") / CDovereduFont::kFileName)
                   .string());
        return f;
    }();
    return font;
}

double importSeconds = 0;
double peerSeconds = 0;
double bigSeconds = 0;
double readerMemoryRatio = 0;
double documentMemoryRatio = 0;

void Import100k(benchmark::State& state)
{
    const auto path = MakeDrawing(100000);
    for (auto _ : state) {
        CDXFImport reader(Font());
        const auto start = std::chrono::steady_clock::now();
        if (!reader.Import(path))
            state.SkipWithError("import failed");
        importSeconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["records"] = static_cast<double>(reader.Records().size());
    }
}
BENCHMARK(Import100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void Ezdxf100k(benchmark::State& state)
{
    const auto path = MakeDrawing(100000);
    const std::string command
        = "/usr/bin/python3 -c \"import sys, ezdxf; ezdxf.readfile(sys.argv[1])\" '" + path.string()
        + "'";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("ezdxf failed");
        peerSeconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
}
BENCHMARK(Ezdxf100k)->Unit(benchmark::kMillisecond)->Iterations(1);

void Import1M(benchmark::State& state)
{
    const auto path = MakeDrawing(1000000);
    for (auto _ : state) {
        {
            const size_t before = liveBytes;
            peakBytes = before;
            CDXFImport reader(Font());
            reader.Import(path);
            readerMemoryRatio = static_cast<double>(peakBytes - before)
                / (static_cast<double>(reader.Records().size()) * sizeof(CETREC));
        }
        CDovereduDoc doc;
        const size_t before = liveBytes;
        peakBytes = before;
        const auto start = std::chrono::steady_clock::now();
        if (!ImportDXF(doc, path, {}, Font()).imported)
            state.SkipWithError("import failed");
        bigSeconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const CSheet& sheet = doc.GetActiveSheet();
        documentMemoryRatio = static_cast<double>(peakBytes - before)
            / (static_cast<double>(sheet.recordCount) * sizeof(CETREC));
        state.counters["records"] = sheet.recordCount;
    }
}
BENCHMARK(Import1M)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    const double ratio = importSeconds > 0 ? peerSeconds / importSeconds : 0;
    std::printf("100,000 entities: %.3f s against %.3f s for the peer reader\n", importSeconds,
        peerSeconds);
    ReportTarget("100,000 entities, the peer reader's time / ours", ratio, 50, false);
    ReportTarget("1,000,000 entities into a sheet, seconds", bigSeconds, 2.0);
    ReportTarget("peak heap of the reader / its records", readerMemoryRatio, 4.0);
    std::printf(
        "peak heap of the whole import into a sheet: %.2fx its records\n", documentMemoryRatio);
    const bool ok = ratio >= 50 && bigSeconds < 2.0 && readerMemoryRatio < 4.0;
    return ok ? 0 : 1;
}
