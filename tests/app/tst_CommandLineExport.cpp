// Runs the real program's commands ("-export", "-export-frames", "-pack-atlas", "--help") with no
// display and no platform chosen, the way a build machine would.

#include "CCDictionary.h"
#include "CCString.h"
#include "FrameRenderSettings.h"
#include "HeadlessRun.h"
#include "TSProjectArchive.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

using cocos2d::CCDictionary;

namespace {

const QString kProgram = QStringLiteral(BONESTAGE_EXECUTABLE);
const QString kBiped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/projects/Biped.bsdoc");
const QString kDefault = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/animations/default.bsdoc");
const QColor kBackground(0x17, 0x17, 0x17);

/// ffprobe's "key=value" lines of the entries asked for about a file's first video stream.
QHash<QString, QString> probe(const QString& path, const QString& entries)
{
    QProcess process;
    process.start(QStringLiteral("ffprobe"),
                  {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries", entries, "-of",
                   "default=noprint_wrappers=1", path});
    process.waitForFinished(-1);
    QHash<QString, QString> values;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0) {
            values.insert(line.left(equals), line.mid(equals + 1).trimmed());
        }
    }
    return values;
}

/// The frames ("0000.png" …) in a folder, in order.
QStringList framesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("[0-9][0-9][0-9][0-9].png")}, QDir::Files, QDir::Name);
}

/// What the chunks of an animated WebP file say: the canvas, whether it has alpha, its frames and
/// their durations, and of the first frame (which, unlike later ones, cannot leave pixels of the
/// one before showing through) its size and whether its pixels use alpha.
struct WebPAnimation
{
    QSize canvas;
    bool alpha = false;
    int frames = 0;
    int durationMs = 0;
    QSize firstFrame;
    bool firstFrameAlpha = false;
};

WebPAnimation readWebP(const QByteArray& data)
{
    WebPAnimation webp;
    auto number = [&data](int at, int bytes) {
        qint64 value = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            value = value * 256 + static_cast<unsigned char>(data.at(at + i));
        }
        return value;
    };
    if (!data.startsWith("RIFF") || data.mid(8, 4) != "WEBP") {
        return webp;
    }
    for (int at = 12; at + 8 <= data.size();) {
        const QByteArray type = data.mid(at, 4);
        const int size = int(number(at + 4, 4));
        if (type == "VP8X") {
            webp.alpha = (data.at(at + 8) & 0x10) != 0;
            webp.canvas = QSize(int(number(at + 12, 3)) + 1, int(number(at + 15, 3)) + 1);
        } else if (type == "ANMF") {
            if (webp.frames++ == 0) {
                webp.firstFrame = QSize(int(number(at + 14, 3)) + 1, int(number(at + 17, 3)) + 1);
                // A lossless frame: signature 0x2f, then 14 + 14 bits of size and the alpha bit.
                const int frame = at + 8 + 16;
                webp.firstFrameAlpha = data.mid(frame, 4) == "VP8L" && (number(frame + 9, 4) >> 28 & 1) != 0;
            }
            webp.durationMs += int(number(at + 8 + 12, 3));
        }
        at += 8 + size + (size & 1);
    }
    return webp;
}

/// The first frame of an animated file, decoded by ffmpeg.
QImage firstFrame(const QString& path, const QString& folder)
{
    const QString png = folder + QStringLiteral("/decoded.png");
    QProcess::execute(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-i", path, "-frames:v", "1", png});
    return QImage(png);
}

/// The size the editor shows for the canvas frame a document stores: its width and height × 0.3.
QSize shownFrameSize(const QString& document, const QString& folder)
{
    if (!QDir().mkpath(folder) || !TSProjectArchive::extract(document, folder).opened) {
        return QSize();
    }
    QFile settings(folder + QStringLiteral("/TSModelGeneralSettings.0.attributes.xml"));
    if (!settings.open(QIODevice::ReadOnly)) {
        return QSize();
    }
    const QRegularExpression rect(
        QStringLiteral(R"(<key>objectFrameRect</key>\s*<string>\{\{[-\d.]+,[-\d.]+\},)"
                       R"(\{([\d.]+),([\d.]+)\}\}</string>)"));
    const QRegularExpressionMatch match = rect.match(QString::fromUtf8(settings.readAll()));
    if (!match.hasMatch()) {
        return QSize();
    }
    return QSize(qRound(match.captured(1).toDouble() * 0.3), qRound(match.captured(2).toDouble() * 0.3));
}

/// Pixels that only the skeleton display paints: the fill of a joint's overlay (54, 54, 54), the
/// outline colours, (255, 168, 0) in setup mode and (62, 197, 112) in animation mode, and the
/// inner dot (246, 68, 31). The corners are left out: the canvas frame's handles sit there.
int skeletonPixels(const QImage& image)
{
    const QVector<QRgb> skeleton = {qRgb(54, 54, 54), qRgb(62, 197, 112), qRgb(255, 168, 0),
                                    qRgb(246, 68, 31)};
    constexpr int corner = 8;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inCorner =
                (x < corner || x >= image.width() - corner) && (y < corner || y >= image.height() - corner);
            count += !inCorner && skeleton.contains(image.pixel(x, y) | 0xff000000u) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class TestCommandLineExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void makesAGifOfAShippedDocument();
    void gifFailureKeepsTheFrames();
    void animatedPngKeepsAlpha_data();
    void animatedPngKeepsAlpha();
    void animatedWebPKeepsAlpha();
    void transparentGif();
    void animatedExportRefusals();
    void helpNeedsNoWindow();
    void exportFramesOfEveryAnimation();
    void packAtlas();
    void commandFailures_data();
    void commandFailures();

private:
    /// The start document with the model files of one class taken out.
    QString defaultDocumentWithout(const QString& modelClass);
    /// Runs the program with arguments.
    test::HeadlessRun run(const QStringList& arguments, const QString& pathFirst = QString());
    /// Runs "-export" of the Biped to output with the options; the frames it rendered.
    QStringList exportBiped(const QString& output, const QStringList& options, test::HeadlessRun* result);

    QTemporaryDir m_dir;
    bool m_haveConverter = false;
};

void TestCommandLineExport::initTestCase()
{
    QVERIFY(QFileInfo(kProgram).isExecutable());
    QVERIFY(QFileInfo(kBiped).isFile());
    m_haveConverter = !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

test::HeadlessRun TestCommandLineExport::run(const QStringList& arguments, const QString& pathFirst)
{
    return test::runHeadlessApart(kProgram, arguments, m_dir.path(), pathFirst);
}

QStringList TestCommandLineExport::exportBiped(const QString& output, const QStringList& options,
                                               test::HeadlessRun* result)
{
    const QString frames = output + QStringLiteral(" frames");
    *result = run(QStringList{QStringLiteral("-export"), kBiped, frames, output} + options);
    return framesIn(frames);
}

QString TestCommandLineExport::defaultDocumentWithout(const QString& modelClass)
{
    return test::documentWithout(kDefault, modelClass,
                                 m_dir.filePath(QStringLiteral("without ") + modelClass));
}

void TestCommandLineExport::makesAGifOfAShippedDocument()
{
    const QString frames = m_dir.filePath(QStringLiteral("biped \"idle\" frames"));
    const QString gif = m_dir.filePath(QStringLiteral("out dir/biped idle.gif"));
    QDir().mkpath(QFileInfo(gif).path());
    const test::HeadlessRun result = run({"-export", kBiped, frames, gif});
    const int status = result.status;
    const QByteArray& log = result.err;

    // The frames are written whether or not the converter is there.
    const QStringList pngs = framesIn(frames);
    QVERIFY2(pngs.size() > 10, log.constData());
    QCOMPARE(pngs.first(), QStringLiteral("0000.png"));
    QCOMPARE(pngs.last(), QStringLiteral("%1.png").arg(pngs.size() - 1, 4, 10, QLatin1Char('0')));
    const QImage frame(frames + QStringLiteral("/0000.png"));
    QCOMPARE(frame.size(), QSize(240, 240));
    // The canvas frame is drawn: its corner handles in the corners, its faint fill over the
    // background. The character is drawn over it.
    const int background = qGray(kBackground.rgb());
    QVERIFY2(qGray(frame.pixel(0, 0)) > background + 20, qPrintable(frame.pixelColor(0, 0).name()));
    const QColor fill = frame.pixelColor(120, 20);
    QVERIFY2(fill != kBackground && qAbs(qGray(fill.rgb()) - background) < 15, qPrintable(fill.name()));
    int character = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            character += frame.pixelColor(x, y) != fill ? 1 : 0;
        }
    }
    QVERIFY2(character > 500 && character < 240 * 240 / 2, qPrintable(QString::number(character)));
    // Nothing of the skeleton display: no joints, no outlines.
    QCOMPARE(skeletonPixels(frame), 0);

    if (!m_haveConverter) {
        QCOMPARE(status, 4);
        QSKIP("ffmpeg is not installed: the frames were checked, the GIF cannot be made");
    }
    QVERIFY2(status == 0, log.constData());
    const QByteArray palette = QByteArray("-i \"") + frames.toUtf8() + "/palette.png\"";
    for (const QByteArray& pass : {QByteArray("-vf"), palette}) {
        QVERIFY2(log.contains("Start command : ffmpeg -f image2 -y -framerate 30 -i \"" + frames.toUtf8() +
                              "/%04d.png\" " + pass),
                 log.constData());
    }
    QVERIFY(QFileInfo::exists(frames + QStringLiteral("/palette.png")));

    QImageReader reader(gif);
    QCOMPARE(reader.format(), QByteArray("gif"));
    QCOMPARE(reader.size(), QSize(240, 240));
    // One GIF frame per rendered frame, shown for 1/30 s each: the GIF lasts as long as the
    // animation.
    const QHash<QString, QString> probed =
        probe(gif, QStringLiteral("stream=nb_read_frames:format=duration"));
    QCOMPARE(probed.value(QStringLiteral("nb_read_frames")).toInt(), pngs.size());
    const double duration = probed.value(QStringLiteral("duration")).toDouble();
    QVERIFY2(qAbs(duration - pngs.size() / 30.0) < 0.03,
             qPrintable(QStringLiteral("%1 s for %2 frames").arg(duration).arg(pngs.size())));
}

void TestCommandLineExport::gifFailureKeepsTheFrames()
{
    if (!m_haveConverter) {
        QSKIP("ffmpeg is not installed: the GIF fails for that reason alone");
    }
    // ffmpeg runs and fails on a GIF in a missing folder; the frames stay for another try.
    const QString frames = m_dir.filePath(QStringLiteral("kept frames"));
    const QString gif = m_dir.filePath(QStringLiteral("nowhere/kept.gif"));
    const test::HeadlessRun result = run({"-export", kBiped, frames, gif});
    QCOMPARE(result.status, 4);
    QVERIFY(!QFileInfo::exists(gif));
    QVERIFY2(result.err.contains("Start command : ffmpeg"), result.err.constData());
    QVERIFY(QFileInfo::exists(frames + QStringLiteral("/0000.png")));
}

void TestCommandLineExport::animatedPngKeepsAlpha_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("transparent");
    QTest::newRow("transparent .apng") << "idle.apng" << true;
    QTest::newRow("opaque .PNG") << "idle.PNG" << false;
}

void TestCommandLineExport::animatedPngKeepsAlpha()
{
    QFETCH(QString, name);
    QFETCH(bool, transparent);
    if (!m_haveConverter) {
        QSKIP("ffmpeg is not installed");
    }
    const QString output = m_dir.filePath(name);
    test::HeadlessRun result;
    const QStringList frames =
        exportBiped(output, transparent ? QStringList{"-transparent"} : QStringList{}, &result);
    QVERIFY2(result.status == 0, result.err.constData());
    QVERIFY(frames.size() > 10);

    const QHash<QString, QString> stream =
        probe(output, "stream=codec_name,width,height,pix_fmt,nb_read_frames");
    QCOMPARE(stream.value("codec_name"), QStringLiteral("apng"));
    QCOMPARE(stream.value("width") + 'x' + stream.value("height"), QStringLiteral("240x240"));
    QCOMPARE(stream.value("pix_fmt"), QString(transparent ? "rgba" : "rgb24"));
    QCOMPARE(stream.value("nb_read_frames").toInt(), frames.size());
    // Every frame is shown for 1/30 s: the last one ends when the animation does.
    QProcess process;
    process.start("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries",
                              "packet=pts_time,duration_time", "-of", "csv=p=0", output});
    QVERIFY(process.waitForFinished(60000));
    const QStringList packets = QString::fromUtf8(process.readAllStandardOutput()).trimmed().split('\n');
    QCOMPARE(packets.size(), frames.size());
    const QStringList last = packets.last().split(',');
    const double end = last.value(0).toDouble() + last.value(1).toDouble();
    QVERIFY2(qAbs(end - frames.size() / 30.0) < 0.01, qPrintable(packets.last()));

    // The frames come through unchanged: see-through around the character, or on #171717 with
    // the canvas frame, as asked.
    const QImage first = firstFrame(output, m_dir.path());
    QCOMPARE(first.size(), QSize(240, 240));
    QCOMPARE(qAlpha(first.pixel(120, 20)), transparent ? 0 : 255);
    QCOMPARE(qAlpha(first.pixel(0, 0)), transparent ? 0 : 255);
    QCOMPARE(first.convertToFormat(QImage::Format_ARGB32),
             QImage(output + " frames/0000.png").convertToFormat(QImage::Format_ARGB32));
}

void TestCommandLineExport::animatedWebPKeepsAlpha()
{
    if (!m_haveConverter) {
        QSKIP("ffmpeg is not installed");
    }
    for (const bool transparent : {true, false}) {
        const QString output = m_dir.filePath(transparent ? "idle alpha.webp" : "idle.webp");
        test::HeadlessRun result;
        const QStringList frames =
            exportBiped(output, transparent ? QStringList{"-transparent"} : QStringList{}, &result);
        QVERIFY2(result.status == 0, result.err.constData());
        const WebPAnimation webp = readWebP(test::fileBytes(output));
        QCOMPARE(webp.canvas, QSize(240, 240));
        if (transparent) {
            // Only the character and its soft edges are stored; the canvas around it is empty.
            QVERIFY2(
                webp.firstFrame.width() < 240 && webp.firstFrame.height() < 240,
                qPrintable(
                    QStringLiteral("%1 x %2").arg(webp.firstFrame.width()).arg(webp.firstFrame.height())));
            QVERIFY(webp.firstFrameAlpha);
        } else {
            QCOMPARE(webp.firstFrame, QSize(240, 240));
            QVERIFY(!webp.firstFrameAlpha);
        }
        // Later frames keep what does not change see-through over the frame before: the file
        // is marked as having alpha either way.
        QVERIFY(webp.alpha);
        // Frames that show no change are merged into one shown longer; the time adds up.
        QVERIFY2(webp.frames > frames.size() / 2 && webp.frames <= frames.size(),
                 qPrintable(QString::number(webp.frames)));
        QVERIFY2(qAbs(webp.durationMs - frames.size() * 1000 / 30) <= frames.size(),
                 qPrintable(QString::number(webp.durationMs)));
    }
}

void TestCommandLineExport::transparentGif()
{
    if (!m_haveConverter) {
        QSKIP("ffmpeg is not installed");
    }
    const QString output = m_dir.filePath("idle alpha.gif");
    test::HeadlessRun result;
    const QStringList frames = exportBiped(output, {"-transparent"}, &result);
    QVERIFY2(result.status == 0, result.err.constData());
    QImageReader reader(output);
    QCOMPARE(reader.format(), QByteArray("gif"));
    QCOMPARE(reader.imageCount(), frames.size());
    const QImage first = reader.read();
    QCOMPARE(first.size(), QSize(240, 240));
    QCOMPARE(qAlpha(first.pixel(120, 20)), 0);
}

void TestCommandLineExport::animatedExportRefusals()
{
    // An ffmpeg without the WebP encoder: refused before anything is rendered.
    const QString bin = m_dir.filePath(QStringLiteral("bin without webp"));
    QVERIFY(test::writeFile(bin + "/ffmpeg", "#!/bin/sh\n"
                                             "echo ' V....D apng                 APNG image'\n"
                                             "echo ' V....D libwebp              libwebp WebP image'\n"));
    QVERIFY(QFile::setPermissions(bin + "/ffmpeg", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString frames = m_dir.filePath("no webp frames");
    const QString webp = m_dir.filePath("no.webp");
    test::HeadlessRun result = run({"-export", kBiped, frames, webp, "-transparent"}, bin);
    QCOMPARE(result.status, 4);
    QVERIFY2(
        result.err.contains("[export] The ffmpeg on the search path cannot write animated WebP: it has no "
                            "\"libwebp_anim\" encoder."),
        result.err.constData());
    QVERIFY(!QFileInfo::exists(frames) && !QFileInfo::exists(webp));
}

void TestCommandLineExport::helpNeedsNoWindow()
{
    for (const char* option : {"--help", "-h"}) {
        const test::HeadlessRun result = run({QLatin1String(option)});
        QCOMPARE(result.status, 0);
        for (const QByteArray& line :
             {QByteArray("  -export <document> <frames folder> <output> [-transparent]\n"),
              QByteArray(".gif (GIF), .apng or .png (animated PNG), .webp (animated WebP)"),
              QByteArray("  -export-frames <document> <folder> [-fps N] [-scale P]\n"),
              QByteArray("  -pack-atlas <png folder> <output base>\n"), QByteArray("Exit status: 0 done")}) {
            QVERIFY2(result.out.contains(line), result.out.constData());
        }
    }
}

void TestCommandLineExport::exportFramesOfEveryAnimation()
{
    // The Biped's animations, in list order, with their lengths.
    const QList<QPair<QString, float>> animations{
        {"Idle", 2.0f}, {"Jump", 1.2f}, {"Run", 0.6f}, {"Walk", 1.0f}, {"Wave", 1.6f}};
    const QString full = m_dir.filePath("all frames");
    const QString half = m_dir.filePath("all frames at half");
    const test::HeadlessRun defaults = run({"-export-frames", kBiped, full});
    QVERIFY2(defaults.status == 0, defaults.err.constData());
    // Options in any order.
    const test::HeadlessRun scaled = run({"-export-frames", kBiped, half, "-fps", "12", "-scale", "50"});
    QVERIFY2(scaled.status == 0, scaled.err.constData());
    const test::HeadlessRun reordered =
        run({"-export-frames", kBiped, half + " again", "-scale", "50", "-fps", "12"});
    QVERIFY2(reordered.status == 0, reordered.err.constData());

    QStringList fullFolders;
    QStringList halfFolders;
    for (const auto& animation : animations) {
        fullFolders << full + '/' + animation.first;
        halfFolders << half + '/' + animation.first;
    }
    QCOMPARE(QString::fromUtf8(defaults.out), fullFolders.join('\n') + '\n');
    QCOMPARE(QString::fromUtf8(scaled.out), halfFolders.join('\n') + '\n');
    QCOMPARE(QDir(full).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), animations.size());

    // The canvas frame as the editor shows its size is the size of the frames at 100 %.
    const QSize shown = shownFrameSize(kBiped, m_dir.filePath("Biped unpacked"));
    QVERIFY(!shown.isEmpty());
    QCOMPARE(QImage(fullFolders.first() + "/0000.png").size(), shown);
    for (int i = 0; i < animations.size(); ++i) {
        const float duration = animations.at(i).second;
        const QStringList fullFrames = framesIn(fullFolders.at(i));
        const QStringList halfFrames = framesIn(halfFolders.at(i));
        QCOMPARE(fullFrames.size(), FrameRenderSettings::frameCount(duration, 30, 1.0f));
        QCOMPARE(halfFrames.size(), FrameRenderSettings::frameCount(duration, 12, 1.0f));
        QCOMPARE(halfFrames.last(),
                 QStringLiteral("%1.png").arg(halfFrames.size() - 1, 4, 10, QLatin1Char('0')));
        QCOMPARE(framesIn(half + " again/" + QFileInfo(halfFolders.at(i)).fileName()), halfFrames);
        const QImage frame(halfFolders.at(i) + "/0000.png");
        QCOMPARE(frame.size(), QSize(qRound(shown.width() * 0.5), qRound(shown.height() * 0.5)));
        // A transparent background and no canvas frame: the corners are empty, the middle is not.
        QCOMPARE(qAlpha(frame.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(frame.pixel(frame.width() - 1, frame.height() - 1)), 0);
        int drawn = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                drawn += qAlpha(frame.pixel(x, y)) > 0 ? 1 : 0;
            }
        }
        QVERIFY(drawn > 50);
    }
}

void TestCommandLineExport::packAtlas()
{
    const QString pngs = m_dir.filePath(QStringLiteral("atlas pngs"));
    QImage tall(30, 100, QImage::Format_ARGB32);
    tall.fill(QColor(0, 128, 255));
    QImage small(40, 20, QImage::Format_ARGB32);
    small.fill(Qt::transparent);
    small.setPixelColor(5, 6, Qt::red);
    QVERIFY(QDir().mkpath(pngs) && tall.save(pngs + "/tall.png") && small.save(pngs + "/small.png"));

    const QString base = m_dir.filePath(QStringLiteral("atlas out/sheet"));
    const test::HeadlessRun result = run({"-pack-atlas", pngs, base});
    QVERIFY2(result.status == 0, result.err.constData());
    const QImage atlas(base + ".png");
    QCOMPARE(atlas.size(), QSize(128, 128));
    CCDictionary* list = CCDictionary::createWithContentsOfFile(base + ".plist");
    QVERIFY(list);
    auto* frames = static_cast<CCDictionary*>(list->objectForKey("frames"));
    QVERIFY(frames && frames->count() == 2);
    auto text = [frames](const char* frame, const char* key) {
        return QString::fromStdString(
            static_cast<CCDictionary*>(frames->objectForKey(frame))->valueForKey(key)->string());
    };
    QCOMPARE(text("tall.png", "frame"), QStringLiteral("{{0, 0}, {30, 100}}"));
    QCOMPARE(text("small.png", "frame"), QStringLiteral("{{34, 0}, {1, 1}}"));
    QCOMPARE(text("small.png", "sourceColorRect"), QStringLiteral("{{5, 6}, {1, 1}}"));
    QCOMPARE(atlas.pixelColor(34, 0), QColor(Qt::red));
    QCOMPARE(atlas.pixelColor(29, 99), QColor(0, 128, 255));
}

void TestCommandLineExport::commandFailures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("message");

    // Every row writes its frames, animation or atlas here, if anywhere: none may be there afterwards.
    const QString exported = m_dir.filePath(QStringLiteral("failed export"));
    const QString frames = m_dir.filePath(QStringLiteral("failed frames"));
    const QString atlas = m_dir.filePath(QStringLiteral("failed atlas"));
    const QString broken = m_dir.filePath(QStringLiteral("broken frames.bsdoc"));
    const QString blocker = m_dir.filePath(QStringLiteral("blocker file"));
    const QString empty = m_dir.filePath(QStringLiteral("no pngs"));
    const QString brokenPngs = m_dir.filePath(QStringLiteral("broken pngs"));
    const QString pixelOnly = m_dir.filePath(QStringLiteral("pixel only"));
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(Qt::white);
    QVERIFY(test::writeFile(broken, "PK not really") && test::writeFile(blocker, "a file"));
    QVERIFY(QDir().mkpath(empty) && test::writeFile(brokenPngs + "/bad.png", "\x89PNG broken"));
    QVERIFY(QDir().mkpath(pixelOnly) && pixel.save(pixelOnly + "/a.png"));
    const QString missing = m_dir.filePath(QStringLiteral("missing.bsdoc"));

    // Arguments the parser refuses (its own messages are checked with the parser): status 1.
    QTest::newRow("export format") << QStringList{"-export", kBiped, frames, atlas + ".mp4"} << 1
                                   << ("[export] Cannot tell the format of " + atlas.toUtf8() +
                                       ".mp4: its name must end in .gif, .apng, .png or .webp.");
    QTest::newRow("export extra argument") << QStringList{"-export", kBiped, frames, atlas + ".png", "extra"}
                                           << 1 << QByteArray("Unexpected argument \"extra\"");
    QTest::newRow("frames without folder") << QStringList{"-export-frames", kBiped} << 1
                                           << QByteArray("-export-frames needs <folder> before any option");
    QTest::newRow("frames usage hint") << QStringList{"-export-frames", kBiped} << 1
                                       << QByteArray("Run \"bonestage --help\" for the usage.");
    QTest::newRow("frames unknown option")
        << QStringList{"-export-frames", kBiped, frames, "-fps", "10", "-quality", "9"} << 1
        << QByteArray("Unknown option \"-quality\" for -export-frames.");
    QTest::newRow("atlas unknown option") << QStringList{"-pack-atlas", empty, atlas, "-trim"} << 1
                                          << QByteArray("Unknown option \"-trim\" for -pack-atlas.");
    // What only running the command finds out.
    QTest::newRow("export missing document") << QStringList{"-export", missing, exported, atlas + ".gif"} << 2
                                             << ("[export] cannot open " + missing.toUtf8());
    QTest::newRow("export corrupt document") << QStringList{"-export", broken, exported, atlas + ".gif"} << 2
                                             << ("[export] cannot open " + broken.toUtf8());
    QTest::newRow("export frames folder inside a file")
        << QStringList{"-export", kBiped, blocker + "/frames", atlas + ".gif"} << 3
        << ("[export] Cannot create the folder " + blocker.toUtf8() + "/frames.");
    QTest::newRow("export no animation")
        << QStringList{"-export", defaultDocumentWithout(QStringLiteral("TSModelSkeletonAnimation")), exported,
                       atlas + ".gif"}
        << 5 << QByteArray("[export] Nothing to export: the document has no animation.");
    QTest::newRow("export no length")
        << QStringList{"-export", defaultDocumentWithout(QStringLiteral("TSModelSkeletonNode")), exported,
                       atlas + ".gif"}
        << 5 << QByteArray("[export] Nothing to export: the animation \"Animation\" has a duration of 0.");
    QTest::newRow("missing document") << QStringList{"-export-frames", missing, frames} << 2
                                      << ("[export-frames] cannot open " + missing.toUtf8());
    QTest::newRow("corrupt document") << QStringList{"-export-frames", broken, frames} << 2
                                      << ("[export-frames] cannot open " + broken.toUtf8());
    QTest::newRow("scale below a pixel")
        << QStringList{"-export-frames", kBiped, frames, "-scale", "0.001"} << 1
        << QByteArray("[export-frames] -scale 0.001 makes frames of 0 × 0 pixels");
    QTest::newRow("frames folder inside a file")
        << QStringList{"-export-frames", kBiped, blocker + "/frames"} << 3
        << ("[export-frames] Cannot make the folder " + blocker.toUtf8() + "/frames.");
    QTest::newRow("no animation")
        << QStringList{"-export-frames", defaultDocumentWithout(QStringLiteral("TSModelSkeletonAnimation")),
                       frames}
        << 5 << QByteArray("[export-frames] Nothing to export: the document has no animation.");
    QTest::newRow("animations of no length")
        << QStringList{"-export-frames", defaultDocumentWithout(QStringLiteral("TSModelSkeletonNode")),
                       frames}
        << 5
        << QByteArray(
               "[export-frames] Nothing to export: every animation of the document has a duration of 0.");
    QTest::newRow("no png") << QStringList{"-pack-atlas", empty, atlas} << 5
                            << ("[pack-atlas] There is no PNG file in " + empty.toUtf8() + ".");
    QTest::newRow("corrupt png") << QStringList{"-pack-atlas", brokenPngs, atlas} << 2
                                 << ("[pack-atlas] Cannot read " + brokenPngs.toUtf8() + "/bad.png: ");
    QTest::newRow("atlas inside a file")
        << QStringList{"-pack-atlas", pixelOnly, blocker + "/atlas"} << 3
        << ("[pack-atlas] Cannot write " + blocker.toUtf8() + "/atlas.png and ");
}

void TestCommandLineExport::commandFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, message);
    const test::HeadlessRun result = run(arguments);
    QCOMPARE(result.status, status);
    QVERIFY2(result.err.contains(message), result.err.constData());
    QVERIFY(result.out.isEmpty());
    // No converter was started: every failure is found before anything is rendered or converted.
    QVERIFY2(!result.err.contains("Start command"), result.err.constData());
    const QString atlas = m_dir.filePath(QStringLiteral("failed atlas"));
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("failed export"))));
    QVERIFY(framesIn(m_dir.filePath(QStringLiteral("failed frames"))).isEmpty());
    for (const char* suffix : {".png", ".plist", ".gif"}) {
        QVERIFY(!QFileInfo::exists(atlas + suffix));
    }
}

BONESTAGE_GUI_TEST_MAIN(TestCommandLineExport)
#include "tst_CommandLineExport.moc"
