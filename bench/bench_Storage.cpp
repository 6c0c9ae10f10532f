// Saving and opening a document of 200 nodes, 30 animations and 50 images as the editor does,
// next to zip of its working folder and unzip + parse + PNG decode of the document.
#include "DebugMessages.h"
#include "InterleavedPair.h"
#include "Program.h"
#include "Report.h"

#include "AnimationCanvas.h"
#include "AnimationModelClasses.h"
#include "DocumentController.h"
#include "ObjectManipulator.h"
#include "RecoverySnapshot.h"
#include "RecoverySnapshotBuilder.h"
#include "SceneAxes.h"
#include "Skeleton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSModelController.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <memory>

#include <tinyxml2.h>

namespace {

struct Editor
{
    Editor()
    {
        view.setScene(&scene);
        manipulator = new ObjectManipulator();
        scene.setManipulator(manipulator);
        canvas = new AnimationCanvas();
        scene.addItem(canvas);
        axes = new SceneAxes();
        scene.addItem(axes);
        skeleton = std::make_unique<Skeleton>(&scene, &view, manipulator);
        document = std::make_unique<DocumentController>(skeleton.get(), canvas, axes);
    }

    // 200 nodes, 50 images of 256 x 256 bound to the first 50, 30 animations keying every node.
    void build()
    {
        QList<NodeRecord> nodes;
        for (int i = 0; i < 200; ++i) {
            NodeRecord node;
            node.name = QStringLiteral("node %1").arg(i);
            node.parent = i ? QStringLiteral("node %1").arg(i / 2) : QString();
            node.position = QPointF(i % 17, i % 13);
            nodes.append(node);
        }
        skeleton->setNodes(nodes);
        for (int i = 0; i < 50; ++i) {
            QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 256; ++x) {
                    const int d = (x - 128) * (x - 128) + (y - 128) * (y - 128);
                    image.setPixel(x, y, d < 100 * 100 ? qRgba((x + i * 5) & 255, y, (x * y) & 255, 255) : 0);
                }
            }
            skeleton->addImage(QStringLiteral("node %1").arg(i), image, QTransform::fromTranslate(-128, -128),
                               false, QStringLiteral("image %1").arg(i));
        }
        for (int a = 0; a < 30; ++a) {
            AnimationTracks tracks;
            for (int n = 0; n < 200; ++n) {
                auto object = std::make_unique<AnimatedObject>();
                object->setName(QStringLiteral("node %1").arg(n));
                object->setInUse(true);
                for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
                    for (int k = 0; k < 4; ++k) {
                        object->channel(channel).insertKey(0.1f * ((n + k + a) % 9), k * 0.3f, true);
                    }
                }
                tracks.append(std::move(object));
            }
            document->addAnimation(QStringLiteral("Animation %1").arg(a), std::move(tracks));
        }
    }

    TSGraphicsScene scene;
    TSGraphicsView view;
    ObjectManipulator* manipulator = nullptr;
    AnimationCanvas* canvas = nullptr;
    SceneAxes* axes = nullptr;
    std::unique_ptr<Skeleton> skeleton;
    std::unique_ptr<DocumentController> document;
};

// Every property list below folder parsed by tinyxml2, every PNG decoded.
void parseAndDecode(const QString& folder)
{
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String(".xml"))) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray data = file.readAll();
                tinyxml2::XMLDocument xml(true, tinyxml2::PRESERVE_WHITESPACE);
                xml.Parse(data.constData(), static_cast<size_t>(data.size()));
                bench::keep(xml.RootElement());
            }
        } else if (path.endsWith(QLatin1String(".png"))) {
            bench::keep(QImage(path).constBits());
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir isolated;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TMPDIR", isolated.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (isolated.path() + "/config").toLocal8Bit());
    QApplication application(argc, argv);
    bench::dropDebugMessages();
    QCoreApplication::setOrganizationName("wrenfold");
    QCoreApplication::setApplicationName("BonestageBench");
    AnimationModelClasses::registerAll();
    QTemporaryDir out;
    const QString path = out.filePath("bench.bsdoc");
    QString error;
    {
        Editor editor;
        editor.build();
        if (!editor.document->save(path, &error)) {
            qFatal("cannot save: %s", qPrintable(error));
        }
        const QString working = TSModelController::instance()->workingPath();
        std::printf("document of %lld bytes, working folder of %d model files and %d images\n\n",
                    static_cast<long long>(QFileInfo(path).size()),
                    static_cast<int>(QDir(working).entryList(QDir::Files).size()),
                    static_cast<int>(QDir(working + "/images").entryList(QDir::Files).size()));

        bench::InterleavedPair::Options options;
        options.rounds = 9;
        const QString archive = out.filePath("zip.zip");
        const auto save = bench::InterleavedPair::repeat(
            [&editor, &path, &error] { bench::keep(editor.document->save(path, &error)); });
        const auto zip = bench::InterleavedPair::repeat([&archive] {
            QFile::remove(archive);
            bench::Program::run("zip", {"-r", "-q", archive.toStdString(), "."},
                                TSModelController::instance()->workingPath().toStdString());
        });
        // What a recovery write holds the GUI thread for at the most: the push into the models and
        // noting them; the text follows in steps of AutoRecovery::kStepBudget, the files on a worker.
        const auto capture = bench::InterleavedPair::repeat([&editor] {
            editor.document->pushStateToModels();
            RecoverySnapshotBuilder builder(TSModelController::instance(), RecoveryManifest());
            bench::keep(builder.isDone());
        });
        const auto push = bench::InterleavedPair::repeat([&editor] { editor.document->pushStateToModels(); });
        bench::Report::pair(
            "recovery snapshot of the same, longest hold of the GUI thread, held to a 60 Hz frame",
            "pushStateToModels + RecoverySnapshotBuilder", "pushStateToModels alone",
            bench::Goal::timeAtMost(16e-3, "ms"),
            [&] { return bench::InterleavedPair::run(capture, push, options); });
        const auto whole = bench::InterleavedPair::repeat([] {
            bench::keep(
                RecoverySnapshot::take(TSModelController::instance(), RecoveryManifest()).files.size());
        });
        bench::Report::pair(
            "recovery snapshot of the same, all steps together (spread over event-loop turns)",
            "RecoverySnapshot::take", "DocumentController::save", bench::Goal::none(),
            [&] { return bench::InterleavedPair::run(whole, save, options); });
        bench::Report::pair("save, 200 nodes / 30 animations / 50 images, no image changed",
                            "DocumentController::save", "zip -r of the working folder",
                            bench::Goal::ratioAtMost(1.5),
                            [&] { return bench::InterleavedPair::run(save, zip, options); });
    }
    {
        Editor editor;
        const QString target = out.filePath("unzipped");
        const auto open = bench::InterleavedPair::repeat(
            [&editor, &path, &error] { bench::keep(editor.document->load(path, false, &error)); });
        const auto unzip = bench::InterleavedPair::repeat([&target, &path] {
            QDir(target).removeRecursively();
            QDir().mkpath(target);
            bench::Program::run("unzip", {"-q", "-o", path.toStdString(), "-d", target.toStdString()});
            parseAndDecode(target);
        });
        bench::InterleavedPair::Options options;
        options.rounds = 9;
        bench::Report::pair("open of the same, building the scene", "DocumentController::load",
                            "unzip + tinyxml2 parse + PNG decode", bench::Goal::ratioAtMost(1.5),
                            [&] { return bench::InterleavedPair::run(open, unzip, options); });
    }
    TSModelController::destroyInstance();
    return 0;
}
