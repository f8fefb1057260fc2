// Exporting a sheet as DXF must stay within twice the time of writing the
// same number of bytes as one plain file (the same way, to a temporary file
// that is flushed and renamed). Both are measured in one run and the ratio
// is printed at the end; the program fails when it is above 2.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <unistd.h>

#include "dxf/dxf_export.h"
#include "model/file_io.h"
#include "model/sheet.h"

#include "ratio_reporter.h"

namespace {

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path()
            / ("ridizav-dxf-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

// 1,000,000 records: paths of four segments on every layer, with a
// junction now and then.
const CSheet& BigSheet()
{
    static const std::unique_ptr<CSheet> sheet = [] {
        auto s = std::make_unique<CSheet>();
        constexpr int kRecords = 1000000;
        s->EnsureSpare(kRecords + 10);
        for (int i = 0; s->recordCount <= kRecords; ++i) {
            const int x = (i * 7919) % 400000;
            const int y = (i * 104729) % 270000;
            if (i % 97 == 0)
                s->Append(CETREC::Junction(x, y, 1 + i % 15));
            else
                s->Append(CETREC::Make(x, y, 1 + (i / 5) % 15, i % 5 == 0 ? 0 : 1 + i % 7));
        }
        return s;
    }();
    return *sheet;
}

const std::filesystem::path& ExportPath()
{
    static const std::filesystem::path path = Folder() / "big.DXF";
    return path;
}

void ExportSheet(benchmark::State& state)
{
    const CSheet& sheet = BigSheet();
    for (auto _ : state) {
        if (!ExportDXF(sheet, ExportPath()).written)
            state.SkipWithError("export failed");
    }
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(std::filesystem::file_size(ExportPath())));
}

void WritePlainFile(benchmark::State& state)
{
    if (!std::filesystem::exists(ExportPath()) && !ExportDXF(BigSheet(), ExportPath()).written)
        state.SkipWithError("export failed");
    const std::vector<uint8_t> bytes(std::filesystem::file_size(ExportPath()), 'x');
    const auto out = Folder() / "plain.bin";
    for (auto _ : state) {
        if (WriteFileAtomically(out, bytes))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

// Keeps the time of each benchmark besides printing it: the median when
// it runs repeatedly, else its one run.
class CTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.error_occurred)
                continue;
            const std::string& name = r.run_name.function_name;
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians[name] = r.GetAdjustedRealTime();
            else if (r.run_type == Run::RT_Iteration)
                times[name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Time(const std::string& name) const
    {
        if (auto m = medians.find(name); m != medians.end())
            return m->second;
        auto t = times.find(name);
        return t == times.end() ? 0 : t->second;
    }

private:
    std::map<std::string, double> times;
    std::map<std::string, double> medians;
};

} // namespace

BENCHMARK(ExportSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePlainFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());

    const double exported = times.Time("ExportSheet");
    const double plain = times.Time("WritePlainFile");
    if (exported <= 0 || plain <= 0)
        return 0; // a filter left one of them out
    const double ratio = exported / plain;
    ReportTarget("DXF export / plain write", ratio, 2.0);
    return ratio <= 2.0 ? 0 : 1;
}
