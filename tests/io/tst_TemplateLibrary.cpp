// The shipped template library: every template and animation loads and binds, and the
// generator reproduces the files in the repository.
#include "AnimationJson.h"
#include "AnimationModelClasses.h"
#include "CCArray.h"
#include "CanvasFixture.h"
#include "SkeletonJson.h"
#include "TSModelController.h"
#include "TemplateGenerator.h"
#include "TemplateLibrary.h"
#include "TemplateStage.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QPainter>
#include <QtTest>

#include <algorithm>

#include <quazip.h>
#include <quazipfile.h>

namespace {

const QString kShipped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources");

// The entries of a zip archive with their contents.
QMap<QString, QByteArray> zipEntries(const QString& path)
{
    QMap<QString, QByteArray> entries;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        return entries;
    }
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile entry(&zip);
        entry.open(QIODevice::ReadOnly);
        entries.insert(zip.getCurrentFileName(), entry.readAll());
    }
    return entries;
}

// Frames of an animation drawn side by side, each framed like the template's document.
QImage contactSheet(const QString& folder, const QString& animation, int frames, QSize* cellSize)
{
    TemplateStage stage(folder);
    const QRectF frame = stage.motionBounds(8);
    stage.setAnimation(folder + "/" + animation);
    const QSize cell(qRound(360 * frame.width() / frame.height()), 360);
    QImage sheet(cell.width() * frames, cell.height(), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(38, 38, 38));
    QPainter painter(&sheet);
    for (int i = 0; i < frames; ++i) {
        stage.showMoment(stage.duration() * i / frames);
        painter.drawImage(cell.width() * i, 0, stage.picture(frame, cell, 1.0, QColor(38, 38, 38)));
    }
    *cellSize = cell;
    return sheet;
}

} // namespace

class TestTemplateLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void shippedTemplatesListAndOpen();
    void everyAnimationBindsToItsSkeletonAndLoops();
    void generatorReproducesTheShippedFiles();
    void renderAnimations();
};

void TestTemplateLibrary::initTestCase()
{
    AnimationModelClasses::registerAll();
    TemplateLibrary::setRoot(kShipped + "/animations");
}

void TestTemplateLibrary::shippedTemplatesListAndOpen()
{
    const QList<TemplateLibrary::Template> templates = TemplateLibrary::listTemplates();
    QCOMPARE(templates.size(), 3);
    QCOMPARE(templates.at(0), TemplateLibrary::Template("Biped", "Biped Character"));
    QCOMPARE(templates.at(1).first, QStringLiteral("Quadruped"));
    QCOMPARE(templates.at(2).first, QStringLiteral("Tentacle"));
    QStringList biped;
    for (const TemplateLibrary::Animation& animation : TemplateLibrary::listAnimations("Biped")) {
        biped << animation.second;
    }
    QCOMPARE(biped, QStringList({"Idle", "Jump", "Run", "Walk", "Wave"}));
    QCOMPARE(TemplateLibrary::listAnimations("Quadruped").size(), 3);
    QCOMPARE(TemplateLibrary::listAnimations("Tentacle").size(), 3);
    QVERIFY(SkeletonJson::readSkeleton("Biped").size() >= 14);

    // The template documents and the start document open.
    TSModelController* controller = TSModelController::instance();
    for (const char* name : {"Biped", "Quadruped", "Tentacle"}) {
        QVERIFY2(controller->openDocument(kShipped + "/projects/" + QLatin1String(name) + ".bsdoc"),
                 qPrintable(controller->errorString()));
        QVERIFY(controller->modelsOfClass("TSModelSkeletonNode")->count() >= 5);
        QVERIFY(controller->modelsOfClass("TSGraphicsPixmapModel")->count() >= 5);
        QVERIFY(controller->modelsOfClass("TSModelSkeletonAnimation")->count() >= 1);
    }
    QVERIFY(controller->openDocument(kShipped + "/animations/default.bsdoc"));
    QCOMPARE(controller->modelsOfClass("TSModelSkeletonNode")->count(), 1u);
}

void TestTemplateLibrary::everyAnimationBindsToItsSkeletonAndLoops()
{
    // Every animation of the library loops seamlessly, except the one-shots listed here.
    const QStringList oneShots = {"Biped/Jump.json"};
    int loops = 0;
    for (const TemplateLibrary::Template& entry : TemplateLibrary::listTemplates()) {
        const QList<NodeRecord> records = SkeletonJson::readSkeleton(entry.first);
        QVERIFY(!records.isEmpty());
        QCOMPARE(SkeletonJson::readDummyImages(entry.first).size(), records.size());
        for (const TemplateLibrary::Animation& animation : TemplateLibrary::listAnimations(entry.first)) {
            const QString& path = animation.first;
            QList<NodeRecord> nodes = records;
            QList<NodeRecord*> pointers;
            for (NodeRecord& node : nodes) {
                pointers << &node;
            }
            AnimationTracks tracks = AnimationJson::readAnimation(path);
            QCOMPARE(tracks.count(), nodes.size());
            // Binding logs nothing: every node finds its tracks.
            tracks.bind(pointers);
            QCOMPARE(tracks.count(), nodes.size());
            const float duration = tracks.maxDuration();
            QVERIFY2(duration >= 0.5f && duration <= 2.0f, qPrintable(path));
            const bool loop = !oneShots.contains(path);
            loops += loop ? 1 : 0;
            int checked = 0;
            for (const auto& object : tracks) {
                QCOMPARE(object->duration(), duration);
                for (int channel = 0; loop && channel < AnimatedObject::kChannelCount; ++channel) {
                    const TSAnimationCurve& curve = object->channel(channel);
                    if (curve.keyCount() < 2) {
                        continue;
                    }
                    ++checked;
                    const QString where = QStringLiteral("%1 %2 channel %3").arg(path, object->name()).arg(channel);
                    const bez3 first = curve.key(0);
                    const bez3 last = curve.key(curve.keyCount() - 1);
                    QVERIFY2(first.value == last.value, qPrintable(where));
                    // The slope leaving the first key is the slope arriving at the last.
                    QVERIFY2(std::abs((first.outHandle - first.value) - (last.value - last.inHandle)) < 1e-3f,
                             qPrintable(where));
                    QCOMPARE(last.time, duration);
                }
            }
            QVERIFY2(checked > 0 || !loop, qPrintable(path));
        }
    }
    QCOMPARE(loops, 10);
}

void TestTemplateLibrary::generatorReproducesTheShippedFiles()
{
    QTemporaryDir out;
    QString error;
    const QStringList written = TemplateGenerator::generate(out.path(), &error);
    TemplateLibrary::setRoot(kShipped + "/animations");
    QCOMPARE(error, QString());
    QVERIFY(written.size() > 40);
    for (const QString& file : written) {
        const QString generated = out.path() + "/animations/" + file;
        const QString shipped = kShipped + "/animations/" + file;
        if (file.endsWith(".bsdoc")) {
            // Archives carry file times; what they hold must be the same.
            QVERIFY2(zipEntries(generated) == zipEntries(shipped), qPrintable(file + " differs; run update-templates"));
        } else {
            QVERIFY2(test::fileBytes(generated) == test::fileBytes(shipped),
                     qPrintable(file + " differs; run update-templates"));
        }
    }
}

void TestTemplateLibrary::renderAnimations()
{
    const QString out = qEnvironmentVariable("BONESTAGE_RENDER_OUT");
    QStringList animations;
    for (const TemplateLibrary::Template& entry : TemplateLibrary::listTemplates()) {
        for (const TemplateLibrary::Animation& animation : TemplateLibrary::listAnimations(entry.first)) {
            animations << animation.first;
        }
    }
    const QRgb background = qRgb(38, 38, 38);
    // What the skeleton display paints over the images: joint discs, their outlines in either
    // editing mode, and the inner dot.
    const QVector<QRgb> skeletonColours = {qRgb(54, 54, 54), qRgb(62, 197, 112), qRgb(255, 168, 0),
                                           qRgb(246, 68, 31)};
    constexpr int frames = 8;
    for (const QString& animation : animations) {
        const QString folder = animation.section('/', 0, 0);
        QSize size;
        const QImage sheet =
            contactSheet(folder, animation.section('/', 1), frames, &size).convertToFormat(QImage::Format_RGB32);
        if (!out.isEmpty()) {
            sheet.save(out + "/" + QString(animation).replace('/', '_').replace(".json", ".png"));
        }
        QVector<QImage> cells;
        for (int i = 0; i < frames; ++i) {
            const QImage cell = sheet.copy(size.width() * i, 0, size.width(), size.height());
            int drawn = 0;
            int skeleton = 0;
            for (int y = 0; y < cell.height(); ++y) {
                for (int x = 0; x < cell.width(); ++x) {
                    const QRgb pixel = cell.pixel(x, y);
                    drawn += pixel != background;
                    skeleton += skeletonColours.contains(pixel);
                }
            }
            const QString where = QStringLiteral("%1 frame %2").arg(animation).arg(i);
            QVERIFY2(drawn > 3000, qPrintable(where));
            QVERIFY2(skeleton == 0, qPrintable(where));
            cells << cell;
        }
        // The figure moves: some frame differs from the first.
        QVERIFY2(std::any_of(cells.cbegin() + 1, cells.cend(),
                             [&cells](const QImage& c) { return c != cells.first(); }),
                 qPrintable(animation));
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestTemplateLibrary)
#include "tst_TemplateLibrary.moc"
