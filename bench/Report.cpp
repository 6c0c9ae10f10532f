#include "Report.h"

#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

double unitScale(const std::string& unit)
{
    if (unit == "ns") {
        return 1e9;
    }
    if (unit == "us") {
        return 1e6;
    }
    return 1e3;
}

// A time with a unit that suits it.
std::string formatTime(double seconds)
{
    const char* unit = seconds >= 1e-3 ? "ms" : seconds >= 1e-6 ? "us" : "ns";
    char text[32];
    std::snprintf(text, sizeof text, "%.3g %s", seconds * unitScale(unit), unit);
    return text;
}

struct Row
{
    std::string figure;
    Spread spread;
    std::string goal;
    bool met = false;
};

Row rowFor(const InterleavedPair::Result& result, const Goal& goal, const std::string& baseline)
{
    Row row;
    char text[64];
    switch (goal.kind) {
    case Goal::Kind::RatioAtMost:
    case Goal::Kind::None:
        row.figure = "x " + baseline;
        row.spread = Spread::of(result.ratios);
        std::snprintf(text, sizeof text, "<= %.2f", goal.limit);
        row.met = row.spread.median <= goal.limit;
        break;
    case Goal::Kind::SpeedupAtLeast:
        row.figure = "speed-up over " + baseline;
        row.spread = Spread::of(result.speedups());
        std::snprintf(text, sizeof text, ">= %.2f", goal.limit);
        row.met = row.spread.median >= goal.limit;
        break;
    case Goal::Kind::TimeAtMost: {
        const double scale = unitScale(goal.unit);
        row.figure = goal.unit + (result.clock == Clock::ThreadCpu ? " of CPU per run" : " per run");
        const Spread seconds = Spread::of(result.measured);
        row.spread = Spread{seconds.median * scale, seconds.low * scale, seconds.high * scale};
        std::snprintf(text, sizeof text, "<= %g %s", goal.limit * scale, goal.unit.c_str());
        row.met = seconds.median <= goal.limit;
        break;
    }
    }
    row.goal = goal.kind == Goal::Kind::None ? std::string("-") : std::string(text);
    return row;
}

} // namespace

bool Report::wanted(const std::string& hotPath)
{
    const char* filter = std::getenv("BONESTAGE_BENCH_FILTER");
    return !filter || hotPath.find(filter) != std::string::npos;
}

void Report::pair(const std::string& hotPath, const std::string& measured, const std::string& baseline,
                  const Goal& goal, const std::function<InterleavedPair::Result()>& run)
{
    if (wanted(hotPath)) {
        add(hotPath, measured, baseline, run(), goal);
    }
}

void Report::add(const std::string& hotPath, const std::string& measured, const std::string& baseline,
                 const InterleavedPair::Result& result, const Goal& goal)
{
    const Spread a = Spread::of(result.measured);
    const Spread b = Spread::of(result.baseline);
    const Spread ratio = Spread::of(result.ratios);
    std::printf("%s (%zu interleaved rounds, %s time)\n", hotPath.c_str(), result.ratios.size(),
                result.clock == Clock::ThreadCpu ? "CPU" : "wall");
    std::printf("  %-52s %12s  (%s to %s)\n", measured.c_str(), formatTime(a.median).c_str(),
                formatTime(a.low).c_str(), formatTime(a.high).c_str());
    std::printf("  %-52s %12s  (%s to %s)\n", baseline.c_str(), formatTime(b.median).c_str(),
                formatTime(b.low).c_str(), formatTime(b.high).c_str());
    std::printf("  ratio, median of rounds %.2f  (quartiles %.2f to %.2f)\n", ratio.median, ratio.low,
                ratio.high);
    if (std::getenv("BONESTAGE_BENCH_ROUNDS_SHOWN")) {
        for (size_t i = 0; i < result.ratios.size(); ++i) {
            std::printf("    round %zu: %s / %s = %.2f\n", i + 1, formatTime(result.measured[i]).c_str(),
                        formatTime(result.baseline[i]).c_str(), result.ratios[i]);
        }
    }
    if (goal.kind == Goal::Kind::None) {
        std::fflush(stdout);
        return;
    }
    const Row row = rowFor(result, goal, baseline);
    std::printf("  goal %s: %s\n", row.goal.c_str(), row.met ? "met" : "NOT met");
    std::fflush(stdout);
    const char* path = std::getenv("BONESTAGE_BENCH_RESULTS");
    if (!path || !*path) {
        return;
    }
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s\t%s\t%.4g\t%.4g\t%.4g\t%s\t%s\n", hotPath.c_str(), row.figure.c_str(),
                     row.spread.median, row.spread.low, row.spread.high, row.goal.c_str(),
                     row.met ? "yes" : "no");
        if (std::fclose(file) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path);
        }
    } else {
        std::fprintf(stderr, "cannot open %s\n", path);
    }
}

} // namespace bench
