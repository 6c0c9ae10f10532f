// Installs the build into a temporary prefix and checks what lands there: the program, its data
// under share/bonestage, the desktop files and the icon; then runs the installed program.

#include "HeadlessRun.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QDirIterator>
#include <QImageReader>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString kBuiltProgram = QStringLiteral(BONESTAGE_EXECUTABLE);
const QString kSource = QStringLiteral(BONESTAGE_SOURCE_DIR);
const QString kAppId = QStringLiteral("com.wrenfold.bonestage");
const QString kMimeType = QStringLiteral("application/x-bonestage-document");

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
    void installsTheDesktopIntegration();
    void desktopFilesValidate_data();
    void desktopFilesValidate();
    void registersTheDocumentType();
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
    // Beside the data, the user guide that Help opens and every picture it shows.
    QStringList guide{QStringLiteral("README.md")};
    const QRegularExpression picture(QStringLiteral("!\\[[^\\]]*\\]\\(([^)]+)\\)"));
    for (auto it = picture.globalMatch(QString::fromUtf8(test::fileBytes(kSource + QStringLiteral("/README.md"))));
         it.hasNext();) {
        guide << it.next().captured(1);
    }
    QVERIFY(guide.size() >= 3);
    QStringList expected = shipped + guide;
    expected.sort();
    QCOMPARE(filesUnder(installed("share/bonestage")), expected);
    for (const QString& file : shipped) {
        QCOMPARE(test::fileBytes(installed("share/bonestage/") + file),
                 test::fileBytes(kSource + QStringLiteral("/Resources/") + file));
    }
    for (const QString& file : guide) {
        QCOMPARE(test::fileBytes(installed("share/bonestage/") + file), test::fileBytes(kSource + "/" + file));
    }
}

void TestInstallation::installsTheDesktopIntegration()
{
    const QStringList files{"applications/" + kAppId + ".desktop", "metainfo/" + kAppId + ".metainfo.xml",
                            "mime/packages/bonestage-document.xml"};
    for (const QString& file : files) {
        QVERIFY2(QFileInfo(installed("share/") + file).isFile(), qPrintable(file));
    }
    QCOMPARE(test::fileBytes(installed("share/icons/hicolor/scalable/apps/bonestage.svg")),
             test::fileBytes(kSource + QStringLiteral("/resources/AppIcon.svg")));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString path = installed("share/icons/hicolor/%1x%1/apps/bonestage.png").arg(size);
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("png"));
        const QImage icon = reader.read();
        QCOMPARE(icon.size(), QSize(size, size));
        // A dark rounded square whose rounded corners leave the corners clear, with the middle
        // joint's dot at (120, 120) of 256, wide enough from 48 pixels on to fill a pixel.
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(size / 2, size - size / 8)), 255);
        QVERIFY(qGray(icon.pixel(size / 2, size - size / 8)) < 0x30);
        if (size >= 48) {
            QCOMPARE(icon.pixelColor(120 * size / 256, 120 * size / 256).name(), QStringLiteral("#f2c55a"));
        }
    }

    // The launcher, the software-centre entry and the MIME package name the same type.
    const QByteArray desktop = test::fileBytes(installed("share/applications/") + kAppId + ".desktop");
    QVERIFY(desktop.contains("\nExec=bonestage %f\n") && desktop.contains("\nIcon=bonestage\n"));
    QVERIFY(desktop.contains("\nMimeType=" + kMimeType.toUtf8() + ";\n"));
    const QByteArray metainfo = test::fileBytes(installed("share/metainfo/") + kAppId + ".metainfo.xml");
    QVERIFY(metainfo.contains("<mediatype>" + kMimeType.toUtf8() + "</mediatype>"));
    QVERIFY(
        metainfo.contains("<launchable type=\"desktop-id\">" + kAppId.toUtf8() + ".desktop</launchable>"));
    QVERIFY(test::fileBytes(installed("share/mime/packages/bonestage-document.xml"))
                .contains("<mime-type type=\"" + kMimeType.toUtf8() + "\">"));
}

void TestInstallation::desktopFilesValidate_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("launcher") << "desktop-file-validate"
                              << QStringList{installed("share/applications/") + kAppId + ".desktop"};
    QTest::newRow("metainfo") << "appstreamcli"
                              << QStringList{"validate", "--no-net", "--pedantic",
                                             installed("share/metainfo/") + kAppId + ".metainfo.xml"};
}

void TestInstallation::desktopFilesValidate()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        QSKIP(qPrintable(tool + " is not installed"));
    }
    QProcess validator;
    validator.setProcessChannelMode(QProcess::MergedChannels);
    validator.start(tool, arguments);
    QVERIFY(validator.waitForFinished(60000));
    const QByteArray output = validator.readAll();
    QVERIFY2(validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0, output.constData());
    // Warnings and hints would not fail the tool; nothing is to be said about our files at all.
    if (tool == QLatin1String("desktop-file-validate")) {
        QVERIFY2(output.isEmpty(), output.constData());
    } else {
        QVERIFY2(!output.contains("W:") && !output.contains("I:") && !output.contains("P:"),
                 output.constData());
    }
}

void TestInstallation::registersTheDocumentType()
{
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        QSKIP(
            "update-mime-database is not installed: the install leaves the MIME database to a later refresh");
    }
    // The install refreshed the prefix's MIME database: documents are zip files ending in ".bsdoc",
    // in lower case, as the editor opens them.
    const QByteArray globs = test::fileBytes(installed("share/mime/globs2"));
    QVERIFY2(globs.contains(":" + kMimeType.toUtf8() + ":*.bsdoc:cs\n"), globs.constData());
    const QByteArray subclasses = test::fileBytes(installed("share/mime/subclasses"));
    QVERIFY2(subclasses.contains(kMimeType.toUtf8() + " application/zip\n"), subclasses.constData());
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
