// The outliner built from the scene of a skeleton with 50 and 500 joints (each with an image),
// and brought in line with an unchanged scene, which only reads the names again.
#include "BenchRatios.h"

#include "ObjectManipulator.h"
#include "Skeleton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSOutlinerWidget.h"

#include <QApplication>

namespace {

struct Outliner
{
    explicit Outliner(int nodes)
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
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(100, 150, 200));
        for (int i = 0; i < nodes; ++i) {
            skeleton->addImage(QStringLiteral("n%1").arg(i), image, QTransform(), false,
                               QStringLiteral("i%1").arg(i));
        }
        tree.resize(220, 600);
        tree.show();
    }

    TSGraphicsScene scene;
    TSGraphicsView view;
    ObjectManipulator* manipulator;
    std::unique_ptr<Skeleton> skeleton;
    TSOutlinerWidget tree;
};

void BM_RebuildFromScene(benchmark::State& state)
{
    Outliner outliner(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        outliner.tree.rebuildFromScene(&outliner.scene);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_RebuildFromScene)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_UpdateUnchangedScene(benchmark::State& state)
{
    Outliner outliner(static_cast<int>(state.range(0)));
    outliner.tree.rebuildFromScene(&outliner.scene);
    for (auto _ : state) {
        outliner.tree.updateFromScene(&outliner.scene);
    }
}
BENCHMARK(BM_UpdateUnchangedScene)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return bench::runWithRatios(argc, argv,
                                {{"BM_RebuildFromScene/500", "BM_RebuildFromScene/50"},
                                 {"BM_UpdateUnchangedScene/500", "BM_RebuildFromScene/500"}});
}
