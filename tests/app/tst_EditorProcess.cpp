// Runs the real program: what it clears away when it starts, and how it ends on a signal.

#include "TestFiles.h"
#include "TestMain.h"

#include <QLocalServer>
#include <QProcess>
#include <QUuid>
#include <QtTest>

#include <signal.h>

namespace {

const QString kProgram = QStringLiteral(BONESTAGE_EXECUTABLE);

QString newSessionName()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

class TestEditorProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leftoversGoAtStartAndSignalsEndCleanly_data();
    void leftoversGoAtStartAndSignalsEndCleanly();
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
    const QString base = QDir::tempPath() + QStringLiteral("/com.wrenfold.bonestage/");
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
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TMPDIR"), QDir::tempPath());
    editor.setProcessEnvironment(environment);
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.start(kProgram, QStringList());
    QVERIFY(editor.waitForStarted());

    // Its own working folder shows up; the dead editor's folder and both stale archives go.
    auto ownFolder = [&] {
        const QStringList now = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& name : now) {
            if (!before.contains(name)) {
                return name;
            }
        }
        return QString();
    };
    QTRY_VERIFY_WITH_TIMEOUT(!ownFolder().isEmpty(), 30000);
    const QString own = ownFolder();
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(base + dead), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(archive(dead)), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(archive(orphan)), 30000);
    QVERIFY(QFileInfo::exists(base + alive + QStringLiteral("/images/TSGraphicsPixmapModel_ID1.png")));
    QVERIFY(QFileInfo::exists(archive(alive)));
    QVERIFY(QFileInfo::exists(base + QStringLiteral("not a session")));
    QCOMPARE(editor.state(), QProcess::Running);

    QVERIFY(::kill(static_cast<pid_t>(editor.processId()), signalNumber) == 0);
    QVERIFY(editor.waitForFinished(30000));
    QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
    QCOMPARE(editor.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(base + own));
    QVERIFY(QFileInfo::exists(base + alive));

    QDir(base + alive).removeRecursively();
    QFile::remove(archive(alive));
}

BONESTAGE_GUILESS_TEST_MAIN(TestEditorProcess)
#include "tst_EditorProcess.moc"
