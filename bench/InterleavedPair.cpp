#include "InterleavedPair.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace bench {

double now(Clock clock)
{
    if (clock == Clock::ThreadCpu) {
        timespec cpuTime{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuTime);
        return static_cast<double>(cpuTime.tv_sec) + static_cast<double>(cpuTime.tv_nsec) * 1e-9;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

namespace {

// How many operations make a batch of about the wanted length; the first runs warm caches up.
std::int64_t calibrate(const InterleavedPair::TimedBatch& batch, const InterleavedPair::Options& options)
{
    constexpr std::int64_t kMostOperations = std::int64_t(1) << 32;
    std::int64_t count = 1;
    for (;;) {
        const double seconds = batch(count, options.clock);
        if (seconds >= options.batchSeconds / 4 || count >= kMostOperations) {
            const double scaled = seconds > 0 ? static_cast<double>(count) * options.batchSeconds / seconds
                                              : static_cast<double>(count);
            return std::clamp<std::int64_t>(static_cast<std::int64_t>(scaled), 1, kMostOperations);
        }
        const double grow = seconds > 0 ? options.batchSeconds / seconds : 100.0;
        count = std::min(kMostOperations, static_cast<std::int64_t>(static_cast<double>(count) *
                                                                    std::clamp(grow, 2.0, 100.0)));
    }
}

int roundsFor(const InterleavedPair::Options& options)
{
    if (const char* rounds = std::getenv("BONESTAGE_BENCH_ROUNDS")) {
        const int value = std::atoi(rounds);
        if (value > 0) {
            return std::max(3, value);
        }
    }
    return std::max(1, options.rounds);
}

double quantile(const std::vector<double>& sorted, double q)
{
    const double position = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<size_t>(std::floor(position));
    const size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

} // namespace

Spread Spread::of(std::vector<double> samples)
{
    if (samples.empty()) {
        return Spread();
    }
    std::sort(samples.begin(), samples.end());
    return Spread{quantile(samples, 0.5), quantile(samples, 0.25), quantile(samples, 0.75)};
}

std::vector<double> InterleavedPair::Result::speedups() const
{
    std::vector<double> result;
    for (double ratio : ratios) {
        result.push_back(ratio > 0 ? 1.0 / ratio : 0.0);
    }
    return result;
}

InterleavedPair::Result InterleavedPair::run(const Batch& measured, const Batch& baseline,
                                             const Options& options)
{
    const auto timed = [](const Batch& batch) {
        return [&batch](std::int64_t count, Clock clock) {
            const double start = now(clock);
            batch(count);
            return now(clock) - start;
        };
    };
    return run(TimedBatch(timed(measured)), TimedBatch(timed(baseline)), options);
}

InterleavedPair::Result InterleavedPair::run(const TimedBatch& measured, const TimedBatch& baseline,
                                             const Options& options)
{
    const std::int64_t measuredCount = calibrate(measured, options);
    const std::int64_t baselineCount = calibrate(baseline, options);
    Result result;
    result.clock = options.clock;
    const int rounds = roundsFor(options);
    const auto perOperation = [&options](const TimedBatch& batch, std::int64_t count) {
        return batch(count, options.clock) / static_cast<double>(count);
    };
    for (int round = 0; round < rounds; ++round) {
        // Every other round starts with the baseline, so that whatever the first batch of a round
        // leaves behind (dirty pages, a warm or cold cache) weighs on both sides alike.
        double a = 0.0;
        double b = 0.0;
        if (round % 2 == 0) {
            a = perOperation(measured, measuredCount);
            b = perOperation(baseline, baselineCount);
        } else {
            b = perOperation(baseline, baselineCount);
            a = perOperation(measured, measuredCount);
        }
        result.measured.push_back(a);
        result.baseline.push_back(b);
        result.ratios.push_back(b > 0 ? a / b : 0.0);
    }
    return result;
}

InterleavedPair::Batch InterleavedPair::repeat(std::function<void()> operation)
{
    return [operation = std::move(operation)](std::int64_t count) {
        for (std::int64_t i = 0; i < count; ++i) {
            operation();
        }
    };
}

} // namespace bench
