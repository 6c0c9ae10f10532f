// Saving and opening a generated document, next to zip and unzip of the same working folder.
#include "BenchRatios.h"

#include "AnimationModelClasses.h"
#include "AnimationPersistence.h"
#include "TSGraphicsPixmapModel.h"
#include "TSModelController.h"
#include "TSModelSkeletonNode.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

namespace {

struct Fixture
{
    Fixture()
    {
        AnimationModelClasses::registerAll();
        TSModelController* controller = TSModelController::instance();
        for (int i = 0; i < 200; ++i) {
            NodeRecord node;
            node.name = QStringLiteral("node %1").arg(i);
            node.parent = i ? QStringLiteral("node %1").arg(i / 2) : QString();
            node.position = QPointF(i % 17, i % 13);
            auto* model = new TSModelSkeletonNode();
            model->fillFrom(node);
            controller->addModel(model, false);
            model->release();
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
            AnimationPersistence::save(QStringLiteral("model/Animation %1.json").arg(a), tracks, QPointF());
        }
        for (int i = 0; i < 50; ++i) {
            QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < 256; ++y) {
                for (int x = 0; x < 256; ++x) {
                    const int d = (x - 128) * (x - 128) + (y - 128) * (y - 128);
                    image.setPixel(x, y, d < 100 * 100 ? qRgba((x + i * 5) & 255, y, (x * y) & 255, 255) : 0);
                }
            }
            auto* model = TSGraphicsPixmapModel::fromItemState(QPointF(i, i), i, QTransform(), 0, image);
            model->setName(QStringLiteral("node %1").arg(i).toStdString());
            controller->addModel(model, false);
            model->release();
            images.append(image);
        }
        document = out.filePath("bench.bsdoc");
        controller->saveDocument(document);
        working = controller->workingPath();
    }

    QTemporaryDir out;
    QString document;
    QString working;
    QList<QImage> images;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void removeImages(const QString& working)
{
    QDir images(working + "/images");
    for (const QString& file : images.entryList(QDir::Files)) {
        images.remove(file);
    }
}

void encodePngs(const QString& folder)
{
    int i = 0;
    for (const QImage& image : fixture().images) {
        image.save(QStringLiteral("%1/png%2.png").arg(folder).arg(i++), "PNG");
    }
}

void decodePngs(const QString& folder)
{
    for (const QString& file : QDir(folder).entryList({"*.png"}, QDir::Files)) {
        benchmark::DoNotOptimize(QImage(folder + "/" + file).constBits());
    }
}

void BM_SaveDocument(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(TSModelController::instance()->saveDocument(f.document));
    }
}

void BM_SaveDocumentWithImages(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        removeImages(TSModelController::instance()->workingPath());
        state.ResumeTiming();
        benchmark::DoNotOptimize(TSModelController::instance()->saveDocument(f.document));
    }
}

void BM_OpenDocument(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(TSModelController::instance()->openDocument(f.document));
    }
}

void runTool(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.waitForFinished(-1);
}

void BM_ZipFolder(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString archive = f.out.filePath("zip.zip");
    for (auto _ : state) {
        QFile::remove(archive);
        runTool("zip", {"-r", "-q", archive, "."}, TSModelController::instance()->workingPath());
    }
}

void BM_ZipFolderPlusPngEncode(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString archive = f.out.filePath("zip.zip");
    QDir().mkpath(f.out.filePath("png"));
    for (auto _ : state) {
        QFile::remove(archive);
        encodePngs(f.out.filePath("png"));
        runTool("zip", {"-r", "-q", archive, "."}, TSModelController::instance()->workingPath());
    }
}

void BM_UnzipFolderPlusPngDecode(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString target = f.out.filePath("unzipped");
    for (auto _ : state) {
        QDir(target).removeRecursively();
        QDir().mkpath(target);
        runTool("unzip", {"-q", "-o", f.document, "-d", target}, f.out.path());
        decodePngs(target + "/images");
    }
}

BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZipFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocumentWithImages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZipFolderPlusPngEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnzipFolderPlusPngDecode)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir isolated;
    qputenv("TMPDIR", isolated.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (isolated.path() + "/config").toLocal8Bit());
    QGuiApplication application(argc, argv);
    QCoreApplication::setOrganizationName("wrenfold");
    QCoreApplication::setApplicationName("BonestageBench");
    const QStringList files = QDir(fixture().working).entryList(QDir::Files);
    std::printf("document of %lld bytes, working folder of %d model files and %d images\n",
                static_cast<long long>(QFileInfo(fixture().document).size()), static_cast<int>(files.size()),
                static_cast<int>(QDir(fixture().working + "/images").entryList(QDir::Files).size()));
    const int result = bench::runWithRatios(argc, argv,
                                            {{"BM_SaveDocument", "BM_ZipFolder"},
                                             {"BM_SaveDocumentWithImages", "BM_ZipFolderPlusPngEncode"},
                                             {"BM_OpenDocument", "BM_UnzipFolderPlusPngDecode"}});
    TSModelController::destroyInstance();
    return result;
}
