// The identity record, the log file and the start-up handshake.
#include "AppInfo.h"
#include "LogHandler.h"
#include "StartupSignal.h"

#include "TestMain.h"

#include <QtTest>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Runs fn with the editor's message handler installed and standard error redirected into a
// file; returns what it wrote there.
template <class Fn> QByteArray captureStderr(const QString& path, Fn fn)
{
    qInstallMessageHandler(messageHandler);
    std::fflush(stderr);
    const int saved = ::dup(2);
    FILE* capture = std::fopen(path.toLocal8Bit().constData(), "w+");
    ::dup2(::fileno(capture), 2);
    fn();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::fclose(capture);
    qInstallMessageHandler(nullptr);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray todaysLog()
{
    QFile file(logFilePath(QDate::currentDate()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void identityRecordAndLogFolder();
    void messagesGoToStderrAndTheDaysFile();
    void startupSignalSetsFirstByteOfItsSegment();

private:
    QTemporaryDir m_temp;
};

void TestLogging::initTestCase()
{
    QVERIFY(m_temp.isValid());
    // The log folder is derived from the temporary folder on first use.
    qputenv("TMPDIR", m_temp.path().toLocal8Bit());
    AppInfo::setRecord(AppInfo::bonestageRecord());
}

void TestLogging::identityRecordAndLogFolder()
{
    AppInfo::Record record = AppInfo::bonestageRecord();
    record.remove(AppInfo::UpdateFeedWindows);
    AppInfo::setRecord(record);
    QTest::ignoreMessage(QtDebugMsg, "Field # 7 not found in app info");
    QCOMPARE(appInfo(AppInfo::UpdateFeedWindows), QString());
    QCOMPARE(appInfo(AppInfo::DocumentExtension), QStringLiteral("bsdoc"));
    AppInfo::setRecord(AppInfo::bonestageRecord());
    QCOMPARE(appInfo(AppInfo::Version), QStringLiteral("2.0.3.1207"));

    // The log folder is under the temporary folder, one file a day.
    const QString expected = QDir(m_temp.path()).absoluteFilePath("com.wrenfold.bonestage");
    QCOMPARE(logDirectory(), expected);
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(QFileInfo(logFilePath(QDate(2026, 12, 5))).fileName(), QStringLiteral("debuglog_2026.12.05.txt"));
}

void TestLogging::messagesGoToStderrAndTheDaysFile()
{
    const QString capturePath = m_temp.filePath("stderr.txt");
    const QByteArray err = captureStderr(capturePath, [] {
        qWarning("x");
        qDebug("[TSModelController] Working Path: /tmp/y");
        qCritical("broken %d", 3);
    });
    QCOMPARE(err, QByteArray("x\n[TSModelController] Working Path: /tmp/y\nbroken 3\n"));
    const QByteArray log = todaysLog();
    QVERIFY(log.endsWith("Warning: x\nDebug: [TSModelController] Working Path: /tmp/y\nCritical: broken 3\n"));

    // Lines are only ever appended.
    captureStderr(capturePath, [] { qWarning("second"); });
    QCOMPARE(todaysLog(), log + "Warning: second\n");

    // A log file that cannot be written drops the line quietly; standard error still gets it.
    const QString path = logFilePath(QDate::currentDate());
    QFile::remove(path);
    QVERIFY(QDir().mkpath(path)); // a folder where the file should be
    const QByteArray quiet = captureStderr(capturePath, [] { qWarning("still on stderr"); });
    QCOMPARE(quiet, QByteArray("still on stderr\n"));
    QVERIFY(QDir(path).removeRecursively());
}

void TestLogging::startupSignalSetsFirstByteOfItsSegment()
{
    // Without a segment nothing happens, and none is made.
    QSharedMemory segment(startupSegmentKey(QCoreApplication::applicationPid()));
    QVERIFY(!segment.attach());
    signalStartupComplete();
    QVERIFY(!segment.attach());

    if (!segment.create(16)) {
        QSKIP(qPrintable("shared memory is not available here: " + segment.errorString()));
    }
    segment.lock();
    std::memset(segment.data(), 0, 16);
    segment.unlock();
    signalStartupComplete();
    QCOMPARE(static_cast<const char*>(segment.constData())[0], char(1));
    QCOMPARE(static_cast<const char*>(segment.constData())[1], char(0));
}

BONESTAGE_GUILESS_TEST_MAIN(TestLogging)
#include "tst_Logging.moc"
