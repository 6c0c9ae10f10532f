// One playback tick of the skeleton display (pose + display update) for 50 and 200 nodes.
#include "BenchRatios.h"

#include "ObjectManipulator.h"
#include "Skeleton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"

#include <QApplication>

namespace {

struct Canvas
{
    explicit Canvas(int nodes)
    {
        view.setScene(&scene);
        manipulator = new ObjectManipulator();
        scene.setManipulator(manipulator);
        skeleton = std::make_unique<Skeleton>(&scene, &view, manipulator);
        QList<NodeRecord> records;
        for (int i = 0; i < nodes; ++i) {
            NodeRecord node;
            node.name = QStringLiteral("n%1").arg(i);
            node.parent = i ? QStringLiteral("n%1").arg((i - 1) / 3) : QString();
            node.position = QPointF(10 + i % 7, -20);
            records.append(node);
        }
        skeleton->setNodes(records);
        QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(100, 150, 200));
        AnimationTracks tracks;
        for (int i = 0; i < nodes; ++i) {
            skeleton->addImage(QStringLiteral("n%1").arg(i), image, QTransform::fromTranslate(-32, -32), false);
            auto object = std::make_unique<AnimatedObject>();
            object->setName(QStringLiteral("n%1").arg(i));
            for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
                for (int k = 0; k < 5; ++k) {
                    const float base = channel >= AnimatedObject::ScaleX ? 1.0f : 0.0f;
                    object->channel(channel).insertKey(base + 0.05f * ((i + k + channel) % 5), k * 0.25f, true);
                }
            }
            tracks.append(std::move(object));
        }
        skeleton->setAnimation(std::move(tracks));
    }

    TSGraphicsScene scene;
    TSGraphicsView view;
    ObjectManipulator* manipulator;
    std::unique_ptr<Skeleton> skeleton;
};

void BM_PlaybackTick(benchmark::State& state)
{
    Canvas canvas(static_cast<int>(state.range(0)));
    float time = 0;
    for (auto _ : state) {
        canvas.skeleton->showMoment(time);
        time = time > 1000.0f ? 0.0f : time + 16.0f;
    }
}
BENCHMARK(BM_PlaybackTick)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return bench::runWithRatios(argc, argv, {{"BM_PlaybackTick/200", "BM_PlaybackTick/50"}});
}
