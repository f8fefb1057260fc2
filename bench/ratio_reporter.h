#pragma once

// Keeps the processor time of every benchmark (the mean, when repeated)
// beside the usual console output, so a run can end with the ratios its
// targets are stated in. Processor time, because the machines that run
// this are often busy with other work.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name.empty() || run.aggregate_name == "mean")
                times[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
    }

    // Prints "name  ratio" for each pair (measured, base) that both ran.
    void PrintRatios(const char* heading,
                     const std::vector<std::pair<std::string, std::string>>& pairs) const
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
    }
};
