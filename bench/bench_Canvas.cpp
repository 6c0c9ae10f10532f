// Posing 200 nodes on a canvas that has been painted, and a whole 60 fps tick (pose and paint of
// a 1600 x 1000 view).
#include "InterleavedPair.h"
#include "Report.h"

#include "SkeletonScene.h"

#include <QApplication>

namespace {

constexpr int kNodes = 200;

struct Canvas : bench::SkeletonScene
{
    Canvas() : SkeletonScene(kNodes, 64)
    {
        view.resize(1600, 1000);
        AnimationTracks tracks;
        for (int i = 0; i < kNodes; ++i) {
            auto object = std::make_unique<AnimatedObject>();
            object->setName(QStringLiteral("n%1").arg(i));
            for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
                for (int k = 0; k < 5; ++k) {
                    const float base = channel >= AnimatedObject::ScaleX ? 1.0f : 0.0f;
                    object->channel(channel).insertKey(base + 0.05f * ((i + k + channel) % 5), k * 0.25f,
                                                       true);
                }
            }
            tracks.append(std::move(object));
        }
        skeleton->setAnimation(std::move(tracks));
    }

    // The next moment of a 1 s loop at 60 frames per second.
    float nextTime()
    {
        time = time >= 1000.0f ? 0.0f : time + 1000.0f / 60.0f;
        return time;
    }

    // What the event loop does after a tick: the scene's queued updates and the paint of what
    // they touched.
    void paint() { QCoreApplication::processEvents(); }

    float time = 0.0f;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Canvas painted;
    painted.view.show();
    painted.paint();
    // The same canvas never shown: what posing costs with no painting in between.
    Canvas hidden;

    bench::InterleavedPair::Options options;
    options.clock = bench::Clock::ThreadCpu;
    options.rounds = 21;

    // Each pose follows a paint, as during playback; only the pose is timed.
    const auto poseAfterPaint = [&painted](std::int64_t count, bench::Clock clock) {
        double seconds = 0.0;
        for (std::int64_t i = 0; i < count; ++i) {
            painted.paint();
            const double start = bench::now(clock);
            painted.skeleton->showMoment(painted.nextTime());
            seconds += bench::now(clock) - start;
        }
        return seconds;
    };
    const auto poseUnpainted = [&hidden](std::int64_t count, bench::Clock clock) {
        const double start = bench::now(clock);
        for (std::int64_t i = 0; i < count; ++i) {
            hidden.skeleton->showMoment(hidden.nextTime());
        }
        return bench::now(clock) - start;
    };
    bench::Report::pair("pose of 200 nodes after a paint", "Skeleton::showMoment after a paint",
                        "showMoment, never painted", bench::Goal::timeAtMost(0.4e-3, "ms"),
                        [&] { return bench::InterleavedPair::run(poseAfterPaint, poseUnpainted, options); });

    const auto tick = bench::InterleavedPair::repeat([&painted] {
        painted.skeleton->showMoment(painted.nextTime());
        painted.paint();
    });
    const auto paintOnly = bench::InterleavedPair::repeat([&painted] { painted.view.viewport()->repaint(); });
    bench::Report::pair("60 fps tick with painting, 1600 x 1000", "showMoment + paint",
                        "repaint of the whole unchanged view", bench::Goal::timeAtMost(4e-3, "ms"),
                        [&] { return bench::InterleavedPair::run(tick, paintOnly, options); });
    return 0;
}
