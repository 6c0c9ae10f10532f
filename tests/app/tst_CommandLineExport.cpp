// Runs the real program with "-export", with no display and no platform chosen, the way a build
// machine would.

#include "HeadlessRun.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString kProgram = QStringLiteral(BONESTAGE_EXECUTABLE);
const QString kBiped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/projects/Biped.bsdoc");
const QString kDefault = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/animations/default.bsdoc");
const QColor kBackground(0x17, 0x17, 0x17);

/// ffprobe's "key=value" lines about a file's first video stream and its container.
QHash<QString, QString> probe(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("ffprobe"),
                  {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                   "stream=nb_read_frames:format=duration", "-of", "default=noprint_wrappers=1", path});
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

/// Pixels that only the skeleton display paints: the fill of a joint's overlay (54, 54, 54), and
/// lines tinted by the outline colours, (255, 168, 0) in setup mode and (62, 197, 112) in
/// animation mode, or by the inner dot (246, 68, 31). The lines are thinner than a pixel at
/// this scale, so they show blended with what lies under them.
int skeletonPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool overlay = c == QColor(54, 54, 54);
            const bool orangeOrRed = c.red() > 90 && c.green() < c.red() && 2 * c.blue() < c.red();
            const bool green = c.green() > 90 && 2 * c.red() < c.green() && c.blue() < c.green();
            count += overlay || orangeOrRed || green ? 1 : 0;
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
    void failuresExitWithAStatus_data();
    void failuresExitWithAStatus();

private:
    /// Runs "bonestage -export document frames gif"; returns the exit status (−1 on a crash).
    int runExport(const QString& document, const QString& frames, const QString& gif, QByteArray* log = nullptr);
    /// The start document with the model files of one class taken out.
    QString defaultDocumentWithout(const QString& modelClass);

    QTemporaryDir m_dir;
    bool m_haveConverter = false;
};

void TestCommandLineExport::initTestCase()
{
    QVERIFY(QFileInfo(kProgram).isExecutable());
    QVERIFY(QFileInfo(kBiped).isFile());
    m_haveConverter = !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

int TestCommandLineExport::runExport(const QString& document, const QString& frames, const QString& gif,
                                     QByteArray* log)
{
    return test::runHeadless(kProgram, {QStringLiteral("-export"), document, frames, gif}, m_dir.path(), log);
}

QString TestCommandLineExport::defaultDocumentWithout(const QString& modelClass)
{
    return test::documentWithout(kDefault, modelClass, m_dir.filePath(QStringLiteral("without ") + modelClass));
}

void TestCommandLineExport::makesAGifOfAShippedDocument()
{
    const QString frames = m_dir.filePath(QStringLiteral("biped \"idle\" frames"));
    const QString gif = m_dir.filePath(QStringLiteral("out dir/biped idle.gif"));
    QDir().mkpath(QFileInfo(gif).path());
    QByteArray log;
    const int status = runExport(kBiped, frames, gif, &log);

    // The frames are written whether or not the converter is there.
    const QStringList pngs = QDir(frames).entryList({QStringLiteral("[0-9][0-9][0-9][0-9].png")}, QDir::Files,
                                                    QDir::Name);
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
    const QHash<QString, QString> probed = probe(gif);
    QCOMPARE(probed.value(QStringLiteral("nb_read_frames")).toInt(), pngs.size());
    const double duration = probed.value(QStringLiteral("duration")).toDouble();
    QVERIFY2(qAbs(duration - pngs.size() / 30.0) < 0.03,
             qPrintable(QStringLiteral("%1 s for %2 frames").arg(duration).arg(pngs.size())));
}

void TestCommandLineExport::failuresExitWithAStatus_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QString>("gif");
    QTest::addColumn<int>("status");

    const QString broken = m_dir.filePath(QStringLiteral("broken.bsdoc"));
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    QVERIFY(test::writeFile(broken, "not a zip") && test::writeFile(blocker, QByteArray()));

    QTest::newRow("missing document") << m_dir.filePath(QStringLiteral("missing.bsdoc"))
                                      << m_dir.filePath(QStringLiteral("f1")) << m_dir.filePath("f1.gif") << 2;
    QTest::newRow("broken document") << broken << m_dir.filePath(QStringLiteral("f2")) << m_dir.filePath("f2.gif")
                                     << 2;
    QTest::newRow("frames folder inside a file")
        << kBiped << blocker + QStringLiteral("/frames") << m_dir.filePath("f3.gif") << 3;
    QTest::newRow("GIF in a missing folder")
        << kBiped << m_dir.filePath(QStringLiteral("f4")) << m_dir.filePath("nowhere/f4.gif") << 4;
    // Nothing to render: a document without animations, and one whose animation has no nodes
    // to move and so lasts 0 s.
    QTest::newRow("no animation") << defaultDocumentWithout(QStringLiteral("TSModelSkeletonAnimation"))
                                  << m_dir.filePath(QStringLiteral("f5")) << m_dir.filePath("f5.gif") << 5;
    QTest::newRow("no length") << defaultDocumentWithout(QStringLiteral("TSModelSkeletonNode"))
                               << m_dir.filePath(QStringLiteral("f6")) << m_dir.filePath("f6.gif") << 5;
}

void TestCommandLineExport::failuresExitWithAStatus()
{
    QFETCH(QString, document);
    QFETCH(QString, frames);
    QFETCH(QString, gif);
    QFETCH(int, status);
    QVERIFY(!document.isEmpty());
    if (status == 4 && !m_haveConverter) {
        QSKIP("ffmpeg is not installed: the GIF fails for that reason alone");
    }
    QByteArray log;
    QCOMPARE(runExport(document, frames, gif, &log), status);
    QVERIFY(!QFileInfo::exists(gif));
    if (status == 2) {
        QVERIFY(!QFileInfo::exists(frames));
        QVERIFY(log.contains("[export] cannot open"));
    }
    if (status == 5) {
        const QByteArray reason = QByteArray(QTest::currentDataTag()) == "no animation"
                                      ? "the document has no animation."
                                      : "the animation \"Animation\" has a duration of 0.";
        QVERIFY2(log.contains("[export] Nothing to export: " + reason), log.constData());
        QVERIFY(!log.contains("Start command"));
        QVERIFY(!QFileInfo::exists(frames));
    }
    if (status == 4) {
        // ffmpeg ran and failed; the frames stay for another try.
        QVERIFY2(log.contains("Start command : ffmpeg"), log.constData());
        QVERIFY(QFileInfo::exists(frames + QStringLiteral("/0000.png")));
    }
}

BONESTAGE_GUI_TEST_MAIN(TestCommandLineExport)
#include "tst_CommandLineExport.moc"
