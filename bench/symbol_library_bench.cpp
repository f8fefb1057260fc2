// Opening the symbol browser on a large library (its groups and symbols, and
// the search index) must stay close to a plain walk of the same folder tree,
// and a search keystroke close to one find over the folded names.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "ratio_reporter.h"
#include "symbols/library_folders.h"
#include "symbols/name_fold.h"
#include "symbols/symbol_search.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTopFolders = 20;
constexpr int kSubFolders = 24; // 20 + 20 x 24 = 500 folders
constexpr int kSymbols = 20000;
constexpr double kTarget = 2.0;

const char* const kWords[] = {"Relais", "Schakelaar", "Wandcontactdoos (WCD)", "Ampèremeter",
    "Zekering", "Motor 3~", "Lamp", "Drukknop", "Klem", "Transformator"};

fs::path Library()
{
    static const fs::path root = [] {
        const fs::path r
            = fs::temp_directory_path() / ("ridizav-bench-symbols-" + std::to_string(getpid()));
        std::vector<fs::path> folders;
        for (int t = 0; t < kTopFolders; ++t) {
            const fs::path top = r / ("Groep " + std::to_string(t));
            folders.push_back(top);
            for (int s = 0; s < kSubFolders; ++s)
                folders.push_back(top / ("Deel " + std::to_string(s)));
        }
        for (const fs::path& f : folders)
            fs::create_directories(f);
        for (int i = 0; i < kSymbols; ++i) {
            const fs::path& f = folders[static_cast<size_t>(i) % folders.size()];
            const std::string name = std::string(kWords[i % 10]) + " " + std::to_string(i) + ".SYM";
            std::ofstream(f / name, std::ios::binary).write("\0\0\x09\0\0\0\0\0", 8);
        }
        return r;
    }();
    return root;
}

void OpenLibrary(benchmark::State& state)
{
    const fs::path root = Library();
    for (auto _ : state) {
        const auto groups = ListSymbolGroups(root);
        const CSymbolIndex index(groups);
        benchmark::DoNotOptimize(index.Entries().data());
    }
}

void PlainWalk(benchmark::State& state)
{
    const fs::path root = Library();
    for (auto _ : state) {
        std::vector<fs::path> paths;
        for (const auto& e : fs::recursive_directory_iterator(root))
            paths.push_back(e.path());
        benchmark::DoNotOptimize(paths.data());
    }
}

const CSymbolIndex& Index()
{
    static const CSymbolIndex index(ListSymbolGroups(Library()));
    return index;
}

void SearchKeystroke(benchmark::State& state)
{
    const CSymbolIndex& index = Index();
    for (auto _ : state) {
        const auto hits = index.Find("wcd");
        benchmark::DoNotOptimize(hits.data());
    }
}

void PlainFind(benchmark::State& state)
{
    std::vector<std::string> folded;
    for (const auto& e : Index().Entries())
        folded.emplace_back(Index().Folded(e));
    for (auto _ : state) {
        size_t found = 0;
        for (const std::string& name : folded)
            found += name.find("wcd") != std::string::npos;
        benchmark::DoNotOptimize(found);
    }
}

} // namespace

BENCHMARK(OpenLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(SearchKeystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainFind)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    InitializeWithRepeatedRuns(argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintRatios("Processor time of the best run over its plain counterpart (at most 2):",
        {{"OpenLibrary", "PlainWalk"}, {"SearchKeystroke", "PlainFind"}}, kTarget);
    fs::remove_all(Library());
    return 0;
}
