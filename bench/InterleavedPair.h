#pragma once
// Two operations timed in alternating batches (A, B, B, A, A, B, ...). On a machine shared with other
// work, load that comes and goes hits both sides alike, so the ratio of each round stays usable
// even when the times themselves wander.

#include <cstdint>
#include <functional>
#include <vector>

namespace bench {

/// Keeps the compiler from dropping a computation whose result is otherwise unused.
template <class T> inline void keep(const T& value)
{
    asm volatile("" : : "r,m"(value) : "memory");
}

/// Which time a batch is measured in.
enum class Clock
{
    Wall,      ///< elapsed time: for work spread over threads or child processes
    ThreadCpu, ///< CPU time of the calling thread: for work done on it alone
};

/// The current time on a clock, in seconds.
double now(Clock clock);

/// The median and the quartiles of a set of samples.
struct Spread
{
    double median = 0.0;
    double low = 0.0;  ///< first quartile
    double high = 0.0; ///< third quartile

    static Spread of(std::vector<double> samples);
};

class InterleavedPair
{
public:
    /// Runs an operation count times in a row.
    using Batch = std::function<void(std::int64_t count)>;
    /// Runs an operation count times and returns the seconds, on clock, of the part that counts:
    /// for operations that need untimed preparation before each run.
    using TimedBatch = std::function<double(std::int64_t count, Clock clock)>;

    struct Options
    {
        /// Rounds of one measured and one baseline batch; BONESTAGE_BENCH_ROUNDS overrides it.
        int rounds = 15;
        /// Each batch repeats its operation until it lasts about this long (at least once).
        double batchSeconds = 0.05;
        Clock clock = Clock::Wall;
    };

    /// Seconds per operation of each side in each round, and their ratio (measured / baseline).
    struct Result
    {
        std::vector<double> measured;
        std::vector<double> baseline;
        std::vector<double> ratios;
        Clock clock = Clock::Wall;
        /// Baseline / measured per round: how many times faster the measured side is.
        std::vector<double> speedups() const;
    };

    static Result run(const Batch& measured, const Batch& baseline, const Options& options);
    static Result run(const TimedBatch& measured, const TimedBatch& baseline, const Options& options);

    /// A batch that calls operation count times.
    static Batch repeat(std::function<void()> operation);
};

} // namespace bench
