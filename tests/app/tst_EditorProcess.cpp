// Runs the real program: what it clears away when it starts, how it ends on a signal, and what
// it gives back after it was killed.

#include "TestFiles.h"
#include "TestMain.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <QtTest>

#include <quazip.h>
#include <quazipfile.h>

#include <signal.h>

namespace {

const QString kProgram = QStringLiteral(BONESTAGE_EXECUTABLE);

QString newSessionName()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString baseFolder()
{
    return QDir::tempPath() + QStringLiteral("/com.wrenfold.bonestage/");
}

/// The editor's environment: this test's temporary folder (so both see the same base folder and
/// local servers), and a display when one is given.
QProcessEnvironment editorEnvironment(const QString& display = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), QDir::tempPath());
    if (display.isEmpty()) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), display);
    }
    return environment;
}

/// An X server of its own, on a display it picks, for real keyboard input through xdotool.
class VirtualDisplay
{
public:
    bool start()
    {
        m_server.start(QStringLiteral("Xvfb"),
                       {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("1400x1000x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
        if (!m_server.waitForStarted()) {
            return false;
        }
        while (!m_server.canReadLine() && m_server.waitForReadyRead(10000)) {
        }
        const QByteArray number = m_server.readLine().trimmed();
        m_display = number.isEmpty() ? QString() : QStringLiteral(":") + QString::fromLatin1(number);
        return !m_display.isEmpty();
    }
    ~VirtualDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    QString name() const { return m_display; }

    /// Runs xdotool with arguments; true when it succeeded.
    bool xdotool(const QStringList& arguments) const
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        tool.setProcessEnvironment(environment);
        tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tool.start(QStringLiteral("xdotool"), arguments);
        return tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit &&
               tool.exitCode() == 0;
    }
    /// Gives the keyboard to the visible window whose title matches title and presses keys there.
    /// A window that is mapped again just after the search (the welcome window closing, a dialog
    /// going away) makes the focus request fail, so it is asked again until a deadline.
    bool pressIn(const QString& title, const QString& keys) const
    {
        QDeadlineTimer deadline(30000);
        while (!xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                         QStringLiteral("--name"), title, QStringLiteral("windowfocus"),
                         QStringLiteral("--sync")})) {
            if (deadline.hasExpired()) {
                return false;
            }
            QThread::msleep(200);
        }
        return xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100"), keys});
    }

private:
    QProcess m_server;
    QString m_display;
};

/// The working folders in the base folder that are not in before.
QStringList newFolders(const QStringList& before)
{
    QStringList added;
    for (const QString& name : QDir(baseFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!before.contains(name)) {
            added << name;
        }
    }
    return added;
}

/// Starts the program with arguments in environment, its error output shown with the test's.
bool startEditor(QProcess& editor, const QProcessEnvironment& environment, const QStringList& arguments)
{
    editor.setProcessEnvironment(environment);
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.start(kProgram, arguments);
    return editor.waitForStarted();
}

/// Sends signalNumber to the editor; true when it then ends on its own with status 0.
bool endsCleanlyOn(QProcess& editor, int signalNumber)
{
    return ::kill(static_cast<pid_t>(editor.processId()), signalNumber) == 0 && editor.waitForFinished(30000) &&
           editor.exitStatus() == QProcess::NormalExit && editor.exitCode() == 0;
}

/// The bytes of one entry of a zip archive.
QByteArray archiveEntry(const QString& archive, const QString& entry)
{
    QuaZip zip(archive);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(entry)) {
        return QByteArray();
    }
    QuaZipFile file(&zip);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEditorProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leftoversGoAtStartAndSignalsEndCleanly_data();
    void leftoversGoAtStartAndSignalsEndCleanly();
    void workOfAKilledEditorComesBack();
    void signalWhileADocumentLoadsEndsTheEditor();
};

void TestEditorProcess::leftoversGoAtStartAndSignalsEndCleanly_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestEditorProcess::leftoversGoAtStartAndSignalsEndCleanly()
{
    QFETCH(int, signalNumber);
    // The program shares this test's temporary folder, so both see the same base folder and the
    // same local servers.
    const QString base = baseFolder();
    auto archive = [&base](const QString& name) -> QString {
        return base + QStringLiteral("tmp.%1.bsdoc").arg(name);
    };
    const QString dead = newSessionName();
    const QString alive = newSessionName();
    const QString orphan = newSessionName();
    for (const QString& name : {dead, alive}) {
        QVERIFY(test::writeFile(base + name + QStringLiteral("/images/TSGraphicsPixmapModel_ID1.png"), "PK"));
    }
    for (const QString& name : {dead, alive, orphan}) {
        QVERIFY(test::writeFile(archive(name), "PK"));
    }
    QVERIFY(QDir().mkpath(base + QStringLiteral("not a session")));
    QLocalServer running;
    QVERIFY(running.listen(alive));
    const QStringList before = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);

    QProcess editor;
    QVERIFY(startEditor(editor, editorEnvironment(), QStringList()));

    // Its own working folder shows up; the dead editor's folder and both stale archives go.
    QTRY_COMPARE_WITH_TIMEOUT(newFolders(before).size(), 1, 30000);
    const QString own = newFolders(before).first();
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(base + dead), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(archive(dead)), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(archive(orphan)), 30000);
    QVERIFY(QFileInfo::exists(base + alive + QStringLiteral("/images/TSGraphicsPixmapModel_ID1.png")));
    QVERIFY(QFileInfo::exists(archive(alive)));
    QVERIFY(QFileInfo::exists(base + QStringLiteral("not a session")));
    QCOMPARE(editor.state(), QProcess::Running);

    QVERIFY(endsCleanlyOn(editor, signalNumber));
    QVERIFY(!QFileInfo::exists(base + own));
    QVERIFY(QFileInfo::exists(base + alive));

    QDir(base + alive).removeRecursively();
    QFile::remove(archive(alive));
}

void TestEditorProcess::workOfAKilledEditorComesBack()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        QSKIP("needs Xvfb and xdotool (make deps installs them)");
    }
    VirtualDisplay display;
    QVERIFY(display.start());
    QTemporaryDir documents;
    const QString document = documents.filePath(QStringLiteral("walker.bsdoc"));
    QVERIFY(QFile::copy(QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/projects/Biped.bsdoc"), document));
    QVERIFY(!archiveEntry(document, "TSModelSkeletonNode.0.attributes.xml").isEmpty());
    QVERIFY(!archiveEntry(document, "TSModelSkeletonNode.0.attributes.xml").contains("New node 1"));
    QProcessEnvironment environment = editorEnvironment(display.name());
    environment.insert(QStringLiteral("BONESTAGE_RECOVERY_INTERVAL_MS"), QStringLiteral("300"));
    const QStringList before = QDir(baseFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);

    // The document opens, N adds a node, and once the state holds it the editor is killed.
    QProcess first;
    QVERIFY(startEditor(first, environment, {document}));
    QVERIFY(display.pressIn(QStringLiteral("^walker"), QStringLiteral("n")));
    QTRY_COMPARE_WITH_TIMEOUT(newFolders(before).size(), 1, 30000);
    const QString session = newFolders(before).first();
    const QString manifest = baseFolder() + session + QStringLiteral("/recovery/manifest.json");
    auto manifestText = [&manifest] {
        QFile file(manifest);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_VERIFY_WITH_TIMEOUT(manifestText().contains("\"unsaved\": true"), 30000);
    QVERIFY(manifestText().contains(document.toUtf8()));
    QVERIFY(::kill(static_cast<pid_t>(first.processId()), SIGKILL) == 0);
    QVERIFY(first.waitForFinished(30000));
    QCOMPARE(first.exitStatus(), QProcess::CrashExit);
    QVERIFY(QFileInfo::exists(manifest));

    // The next start asks; Return takes the default, Recover; Ctrl+S saves to the same file.
    QProcess second;
    QVERIFY(startEditor(second, environment, QStringList()));
    QVERIFY(display.pressIn(QStringLiteral("^Recover unsaved work$"), QStringLiteral("Return")));
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(baseFolder() + session), 30000);
    QVERIFY(display.pressIn(QStringLiteral("^walker"), QStringLiteral("ctrl+s")));
    QTRY_VERIFY_WITH_TIMEOUT(
        archiveEntry(document, "TSModelSkeletonNode.0.attributes.xml").contains("New node 1"), 30000);
    QVERIFY(endsCleanlyOn(second, SIGTERM));
}

void TestEditorProcess::signalWhileADocumentLoadsEndsTheEditor()
{
    // SIGTERM as soon as the editor has a working folder, while the document named on the
    // command line is still being opened, before its event loop runs: it still ends, cleanly.
    const QString base = baseFolder();
    const QStringList before = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QProcess editor;
    QVERIFY(startEditor(editor, editorEnvironment(),
                        {QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/projects/Biped.bsdoc")}));
    while (newFolders(before).isEmpty() && editor.state() == QProcess::Running) {
        QThread::usleep(200);
    }
    QVERIFY(endsCleanlyOn(editor, SIGTERM));
    QTRY_COMPARE(QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot), before);
}

BONESTAGE_GUILESS_TEST_MAIN(TestEditorProcess)
#include "tst_EditorProcess.moc"
