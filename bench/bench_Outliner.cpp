// The outliner built from the scene of a skeleton with 50 and 500 joints (each with an image),
// and brought in line with an unchanged scene, which only reads the names again.
#include "InterleavedPair.h"
#include "Report.h"

#include "SkeletonScene.h"
#include "TSOutlinerWidget.h"

#include <QApplication>

namespace {

struct Outliner : bench::SkeletonScene
{
    explicit Outliner(int nodes) : SkeletonScene(nodes, 16)
    {
        tree.resize(220, 600);
        tree.show();
    }

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
