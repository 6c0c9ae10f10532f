// Curve evaluation at random times, against a bare binary search over the same keys followed by
// the same cubic.
#include "InterleavedPair.h"
#include "Report.h"

#include "TSAnimationCurve.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

TSAnimationCurve curveWithKeys(int count)
{
    TSAnimationCurve curve;
    for (int i = 0; i < count; ++i) {
        curve.insertKey(static_cast<float>((i * 37) % 11) * 0.1f, static_cast<float>(i) / 60.0f * 4.0f, true);
    }
    return curve;
}

// What a plain program does with a sorted array of keys: upper_bound, then the segment's cubic.
float bareEvaluate(const std::vector<bez3>& keys, float t)
{
    const auto later = std::upper_bound(keys.begin(), keys.end(), t,
                                        [](float time, const bez3& key) { return time < key.time; });
    if (later == keys.begin()) {
        return keys.front().value;
    }
    if (later == keys.end()) {
        return keys.back().value;
    }
    const bez3& k0 = *(later - 1);
    const bez3& k1 = *later;
    const float s = (t - k0.time) / (k1.time - k0.time);
    const float u = 1.0f - s;
    return u * u * u * k0.value + 3.0f * s * u * u * k0.outHandle + 3.0f * s * s * u * k1.inHandle +
           s * s * s * k1.value;
}

void compare(int keyCount, const bench::Goal& goal)
{
    const TSAnimationCurve curve = curveWithKeys(keyCount);
    const std::vector<bez3> keys(curve.keys(), curve.keys() + curve.keyCount());
    std::vector<float> times(1024);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> pick(0.0f, keys.back().time);
    for (float& t : times) {
        t = pick(random);
    }
    const auto evaluate = [&curve, &times](std::int64_t count) {
        for (std::int64_t i = 0; i < count; ++i) {
            bench::keep(curve.evaluate(times[static_cast<size_t>(i) & 1023]));
        }
    };
    const auto bare = [&keys, &times](std::int64_t count) {
        for (std::int64_t i = 0; i < count; ++i) {
            bench::keep(bareEvaluate(keys, times[static_cast<size_t>(i) & 1023]));
        }
    };
    bench::InterleavedPair::Options options;
    options.clock = bench::Clock::ThreadCpu;
    options.rounds = 21;
    options.batchSeconds = 0.02;
    bench::Report::pair("curve evaluation, " + std::to_string(keyCount) + " keys",
                        "TSAnimationCurve::evaluate", "binary search + cubic", goal,
                        [&] { return bench::InterleavedPair::run(evaluate, bare, options); });
}

} // namespace

int main()
{
    compare(4, bench::Goal::none());
    compare(16, bench::Goal::timeAtMost(5e-9, "ns"));
    compare(64, bench::Goal::timeAtMost(8e-9, "ns"));
    return 0;
}
