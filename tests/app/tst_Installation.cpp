// Installs the build into a temporary prefix and checks what lands there: the program and its data
// under share/bonestage; then runs the installed program.

#include "HeadlessRun.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDirIterator>
#include <QImageReader>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString kBuiltProgram = QStringLiteral(BONESTAGE_EXECUTABLE);
const QString kSource = QStringLiteral(BONESTAGE_SOURCE_DIR);

/// The files under folder, relative to it, sorted.
QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(folder).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

/// The numbered frames of an export folder, sorted.
QStringList framesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("[0-9][0-9][0-9][0-9].png")}, QDir::Files, QDir::Name);
}

} // namespace

class TestInstallation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void installsTheProgramAndItsData();
    void installedProgramExportsAShippedTemplate();
    void installedProgramFindsTheTemplatesInShare();

private:
    QString installed(const QString& path) const { return m_prefix + QLatin1Char('/') + path; }
    /// Exports document with program into a fresh folder named name; returns the exit status.
    int exportWith(const QString& program, const QString& document, const QString& name, QByteArray* log);
    /// Compares the frames of two export folders picture by picture.
    void compareFrames(const QString& actual, const QString& expected);

    QTemporaryDir m_dir;
    QString m_prefix;
    bool m_haveConverter = false;
};

void TestInstallation::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_haveConverter = !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
    m_prefix = m_dir.filePath(QStringLiteral("prefix with space"));
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(BONESTAGE_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(BONESTAGE_BUILD_DIR),
                   QStringLiteral("--prefix"), m_prefix});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             install.readAll().constData());
}

void TestInstallation::installsTheProgramAndItsData()
{
    QVERIFY(QFileInfo(installed("bin/bonestage")).isExecutable());
    // Only the program goes into bin/; its data keeps the inner layout of the source folder.
    QCOMPARE(QDir(installed("bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{"bonestage"});
    const QStringList shipped = filesUnder(kSource + QStringLiteral("/Resources"));
    QVERIFY(shipped.contains("animations/Biped/skeleton.json") && shipped.contains("projects/Biped.bsdoc") &&
            shipped.contains("assets/assets_0.xml"));
    QCOMPARE(filesUnder(installed("share/bonestage")), shipped);
    for (const QString& file : shipped) {
        QCOMPARE(test::fileBytes(installed("share/bonestage/") + file),
                 test::fileBytes(kSource + QStringLiteral("/Resources/") + file));
    }
}

int TestInstallation::exportWith(const QString& program, const QString& document, const QString& name,
                                 QByteArray* log)
{
    const QString frames = m_dir.filePath(name);
    return test::runHeadless(program,
                             {QStringLiteral("-export"), document, frames, frames + QStringLiteral(".gif")},
                             m_dir.path(), log);
}

void TestInstallation::compareFrames(const QString& actual, const QString& expected)
{
    const QStringList frames = framesIn(actual);
    QCOMPARE(frames, framesIn(expected));
    for (const QString& frame : frames) {
        QVERIFY2(QImage(actual + QLatin1Char('/') + frame) == QImage(expected + QLatin1Char('/') + frame),
                 qPrintable(frame));
    }
}

void TestInstallation::installedProgramExportsAShippedTemplate()
{
    const QString document = installed("share/bonestage/projects/Biped.bsdoc");
    QByteArray log;
    const int status = exportWith(installed("bin/bonestage"), document, QStringLiteral("installed"), &log);
    QByteArray builtLog;
    QCOMPARE(exportWith(kBuiltProgram, document, QStringLiteral("built"), &builtLog), status);

    const QStringList frames = framesIn(m_dir.filePath(QStringLiteral("installed")));
    QVERIFY2(frames.size() > 10, log.constData());
    QCOMPARE(QImage(m_dir.filePath(QStringLiteral("installed/0000.png"))).size(), QSize(240, 240));
    compareFrames(m_dir.filePath(QStringLiteral("installed")), m_dir.filePath(QStringLiteral("built")));
    if (!m_haveConverter) {
        QCOMPARE(status, 4);
        QSKIP("ffmpeg is not installed: the frames were checked, the GIF cannot be made");
    }
    QVERIFY2(status == 0, log.constData());
    QImageReader gif(m_dir.filePath(QStringLiteral("installed.gif")));
    QCOMPARE(gif.format(), QByteArray("gif"));
    QCOMPARE(gif.size(), QSize(240, 240));
    QCOMPARE(gif.imageCount(), frames.size());
}

void TestInstallation::installedProgramFindsTheTemplatesInShare()
{
    // Without the animations it stores, the document's animations come from the template
    // library alone: the first one of its skeleton's template folder is rendered.
    const QString document = test::documentWithout(installed("share/bonestage/projects/Biped.bsdoc"),
                                                   QStringLiteral("TSModelSkeletonAnimation"),
                                                   m_dir.filePath(QStringLiteral("stripped")));
    QVERIFY(!document.isEmpty());
    const int success = m_haveConverter ? 0 : 4;
    QByteArray log;
    QCOMPARE(exportWith(kBuiltProgram, document, QStringLiteral("stripped built"), &log), success);
    QVERIFY2(exportWith(installed("bin/bonestage"), document, QStringLiteral("stripped installed"), &log) ==
                 success,
             log.constData());
    QVERIFY(framesIn(m_dir.filePath(QStringLiteral("stripped installed"))).size() > 10);
    compareFrames(m_dir.filePath(QStringLiteral("stripped installed")),
                  m_dir.filePath(QStringLiteral("stripped built")));

    // The same program with nothing beside it and no share/ folder above it has no library.
    const QString alone = m_dir.filePath(QStringLiteral("alone/bin/bonestage"));
    QVERIFY(QDir().mkpath(QFileInfo(alone).path()) && QFile::copy(installed("bin/bonestage"), alone));
    QCOMPARE(exportWith(alone, document, QStringLiteral("stripped alone"), &log), 5);
    QVERIFY2(log.contains("Nothing to export: the document has no animation."), log.constData());
}

BONESTAGE_GUI_TEST_MAIN(TestInstallation)
#include "tst_Installation.moc"
