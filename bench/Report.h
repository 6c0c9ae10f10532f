#pragma once
// The lines a benchmark prints for each pair, and the rows it adds to the table that "make bench"
// ends with (a tab-separated file named by BONESTAGE_BENCH_RESULTS).

#include "InterleavedPair.h"

#include <functional>
#include <string>

namespace bench {

/// What a hot path is held to.
struct Goal
{
    enum class Kind
    {
        RatioAtMost,    ///< measured / baseline at most limit
        SpeedupAtLeast, ///< baseline / measured at least limit
        TimeAtMost,     ///< measured seconds per operation at most limit
        None,           ///< shown for information only
    };

    Kind kind = Kind::None;
    double limit = 0.0;
    /// For times: the unit they are shown in ("ms", "us" or "ns").
    std::string unit;

    static Goal ratioAtMost(double limit) { return Goal{Kind::RatioAtMost, limit, std::string()}; }
    static Goal speedupAtLeast(double limit) { return Goal{Kind::SpeedupAtLeast, limit, std::string()}; }
    static Goal timeAtMost(double seconds, const std::string& unit)
    {
        return Goal{Kind::TimeAtMost, seconds, unit};
    }
    static Goal none() { return Goal(); }
};

class Report
{
public:
    /// Runs a pair (unless BONESTAGE_BENCH_FILTER names other hot paths) and prints its times and
    /// ratio, and with BONESTAGE_BENCH_ROUNDS_SHOWN set those of every round; with a goal other
    /// than none, also adds a row to the table.
    static void pair(const std::string& hotPath, const std::string& measured, const std::string& baseline,
                     const Goal& goal, const std::function<InterleavedPair::Result()>& run);

    /// Whether BONESTAGE_BENCH_FILTER, when set, is part of hotPath.
    static bool wanted(const std::string& hotPath);

private:
    static void add(const std::string& hotPath, const std::string& measured, const std::string& baseline,
                    const InterleavedPair::Result& result, const Goal& goal);
};

} // namespace bench
