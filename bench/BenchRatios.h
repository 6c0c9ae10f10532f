#pragma once
// A benchmark main that, after the normal report, prints each measured benchmark's time as a
// ratio to a baseline measured in the same run: machines here are too noisy for absolute goals.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            // Medians of repeated runs when there are repetitions, else the single run.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_times[run.run_name.str()] = run.GetAdjustedRealTime();
                m_medians = true;
            } else if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !m_medians) {
                m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios(const std::vector<std::pair<std::string, std::string>>& pairs) const
    {
        std::printf("\nRatios to baselines measured in this run:\n");
        for (const auto& [measured, baseline] : pairs) {
            const auto m = m_times.find(measured);
            const auto b = m_times.find(baseline);
            if (m == m_times.end() || b == m_times.end() || b->second <= 0) {
                continue;
            }
            std::printf("  %-44s / %-36s = %.2f\n", measured.c_str(), baseline.c_str(), m->second / b->second);
        }
    }

private:
    std::map<std::string, double> m_times;
    bool m_medians = false;
};

inline int runWithRatios(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& pairs)
{
    // Five repetitions by default: the median of each is what the ratios compare.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    bool given = false;
    for (int i = 1; i < argc; ++i) {
        given = given || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    }
    if (!given) {
        args.push_back(repetitions.data());
        args.push_back(aggregates.data());
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios(pairs);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
