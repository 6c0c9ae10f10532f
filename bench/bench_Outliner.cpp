// The outliner built from the scene of a skeleton with 50 and 500 joints (each with an image),
// and brought in line with an unchanged scene, which only reads the names again.
#include "InterleavedPair.h"
#include "Report.h"

#include "ObjectManipulator.h"
#include "Skeleton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSOutlinerWidget.h"

#include <QApplication>

#include <memory>

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

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Outliner small(50);
    Outliner large(500);
    const auto rebuild = [](Outliner& outliner) {
        return bench::InterleavedPair::repeat([&outliner] {
            outliner.tree.rebuildFromScene(&outliner.scene);
            QCoreApplication::processEvents();
        });
    };
    bench::InterleavedPair::Options options;
    options.rounds = 9;
    bench::Report::pair("outliner rebuilt, 500 joints against 50", "rebuildFromScene, 500 joints",
                        "rebuildFromScene, 50 joints", bench::Goal::none(),
                        [&] { return bench::InterleavedPair::run(rebuild(large), rebuild(small), options); });
    large.tree.rebuildFromScene(&large.scene);
    const auto update =
        bench::InterleavedPair::repeat([&large] { large.tree.updateFromScene(&large.scene); });
    bench::Report::pair("outliner of an unchanged scene, 500 joints", "updateFromScene", "rebuildFromScene",
                        bench::Goal::none(),
                        [&] { return bench::InterleavedPair::run(update, rebuild(large), options); });
    return 0;
}
