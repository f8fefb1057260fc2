#pragma once

// Keeps the processor time of every benchmark beside the usual console
// output, so a run can end with the ratios its targets are stated in.
// Processor time, because the machines that run this are often busy with
// other work; and of repeated runs the best, because that work only ever
// adds time (a busy neighbour slows the memory as well as the processor).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// Initializes the library with repeated runs in a shuffled order put in
// front of the command line, so that a run without arguments gives steady
// ratios; arguments given on the command line come later and win.
inline void InitializeWithRepeatedRuns(int argc, char** argv)
{
    static char repetitions[] = "--benchmark_repetitions=5";
    static char shuffled[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args {argv[0], repetitions, shuffled};
    args.insert(args.end(), argv + 1, argv + argc);
    args.push_back(nullptr);
    int count = static_cast<int>(args.size()) - 1;
    benchmark::Initialize(&count, args.data());
}

// One target of a benchmark, printed in the one form scripts/bench collects:
// "target WHAT: VALUE (at most LIMIT): target met" (or "target MISSED"). A
// missed target is a line to read, not a failure: the machines are noisy.
inline bool ReportTarget(const std::string& what, double value, double limit, bool atMost = true)
{
    const bool met = atMost ? value <= limit : value >= limit;
    std::printf("target %s: %.2f (%s %.2f): %s\n", what.c_str(), value,
        atMost ? "at most" : "at least", limit, met ? "target met" : "target MISSED");
    return met;
}

class CRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.aggregate_name.empty() || run.error_occurred)
                continue;
            const double time = run.GetAdjustedCPUTime();
            const auto [it, added] = times.emplace(run.run_name.function_name, time);
            if (!added && time < it->second)
                it->second = time;
        }
    }

    // Prints "name  ratio" for each pair (measured, base) that both ran,
    // then each ratio against its target `limit`.
    void PrintRatios(const char* heading,
        const std::vector<std::pair<std::string, std::string>>& pairs, double limit) const
    {
        bool first = true;
        for (const auto& [measured, base] : pairs) {
            const auto m = times.find(measured);
            const auto b = times.find(base);
            if (m == times.end() || b == times.end() || b->second <= 0)
                continue;
            if (first)
                std::printf("\n%s\n", heading);
            first = false;
            std::printf("  %-24s %6.2f  (over %s)\n", measured.c_str(), m->second / b->second,
                base.c_str());
        }
        for (const auto& [measured, base] : pairs) {
            const auto m = times.find(measured);
            const auto b = times.find(base);
            if (m != times.end() && b != times.end() && b->second > 0)
                ReportTarget(measured + " / " + base, m->second / b->second, limit);
        }
    }
};
