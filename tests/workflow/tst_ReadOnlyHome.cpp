// The editor in a home folder it cannot write into, with the temporary folder inside it: it
// starts, says once that its settings cannot be kept, edits a new document and saves it where
// the user may write.
#include "HistoryManager.h"
#include "Skeleton.h"
#include "TSApplication.h"
#include "TSGraphicsView.h"
#include "TSModelController.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "ViewInput.h"
#include "WindowAnswers.h"
#include "WindowState.h"

#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

namespace {

/// Where the editor writes below a home folder: settings, data, cache and the temporary folder.
const char* const kBlocked[] = {".config/wrenfold", ".local/share/wrenfold", ".cache/wrenfold",
                                "tmp/com.wrenfold.bonestage"};

/// Makes home read-only: what the editor would create there is taken by a file (which stops
/// even a superuser), and every folder loses its write permission.
bool lockHome(const QString& home)
{
    for (const char* path : kBlocked) {
        if (!test::writeFile(home + QLatin1Char('/') + QLatin1String(path), QByteArray())) {
            return false;
        }
    }
    bool locked = true;
    for (const char* folder : {".config", ".local/share", ".local", ".cache", "tmp", ""}) {
        locked = QFile::setPermissions(home + QLatin1Char('/') + QLatin1String(folder),
                                       QFileDevice::ReadOwner | QFileDevice::ExeOwner) &&
                 locked;
    }
    return locked;
}

void unlockHome(const QString& home)
{
    for (const char* folder : {"", ".config", ".local", ".local/share", ".cache", "tmp"}) {
        QFile::setPermissions(home + QLatin1Char('/') + QLatin1String(folder),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

} // namespace

class TestReadOnlyHome : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startsEditsAndSaysWhatCannotBeKept();

private:
    TSApplication* app() const { return static_cast<TSApplication*>(qApp); }
    test::Boxes m_boxes;
    test::Choosers m_choosers;
};

void TestReadOnlyHome::initTestCase()
{
    QVERIFY(!QFileInfo(QDir::tempPath()).isWritable() ||
            !QDir().mkpath(QDir::tempPath() + "/com.wrenfold.bonestage"));
    app()->setAppInfo(AppInfo::bonestageRecord());
}

void TestReadOnlyHome::startsEditsAndSaysWhatCannotBeKept()
{
    app()->start();
    // One box, once the welcome window is up, names the settings file that cannot be written.
    QTRY_COMPARE(m_boxes.shown.size(), 1);
    const QString settingsFile = QDir::toNativeSeparators(QSettings().fileName());
    QCOMPARE(m_boxes.shown.first().title, QStringLiteral("Settings"));
    QVERIFY2(m_boxes.shown.first().text.contains(settingsFile), qPrintable(m_boxes.shown.first().text));
    QVERIFY(m_boxes.shown.first().text.contains(QStringLiteral("cannot be saved")));
    QWidget* welcome = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        welcome =
            widget->objectName() == QLatin1String("welcomeWindow") && widget->isVisible() ? widget : welcome;
    }
    QVERIFY(welcome);

    // A new document opens and takes edits: its working folder went where it could be made.
    QTest::mouseClick(welcome->findChild<QPushButton*>("newButton"), Qt::LeftButton);
    TSMainWindow* window = app()->mainWindow();
    QTRY_VERIFY(window->isVisible());
    QCOMPARE(m_boxes.shown.size(), 1);
    const QString working = TSModelController::instance()->workingPath();
    QVERIFY(QFileInfo(working).isDir());
    QVERIFY(!working.startsWith(QDir::homePath()));
    QVERIFY(QTest::qWaitForWindowActive(window));
    Skeleton* skeleton = window->skeleton();
    const size_t nodes = skeleton->nodes().size();
    QVERIFY(nodes > 0);
    QVERIFY(test::clickRow(window->outliner()->tree(), skeleton->nodes().front()->name));
    window->graphicsView()->setFocus();
    QTest::keyClick(window->graphicsView(), Qt::Key_N);
    QCOMPARE(skeleton->nodes().size(), nodes + 1);
    QCOMPARE(window->history()->count(), 1);

    // Saved where the user may write; the recent documents are not remembered, which is no failure.
    const QString document = QStringLiteral(BONESTAGE_WRITABLE_DOCUMENTS) + "/Kept.bsdoc";
    m_choosers.answers << document;
    QTest::keyClick(window->graphicsView(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(m_choosers.answers.isEmpty());
    QTRY_COMPARE(window->documentTitle(), QStringLiteral("Kept"));
    QCOMPARE(m_boxes.shown.size(), 1);
    QVERIFY(QFileInfo(document).size() > 0);

    // The saved document opens again with its new node.
    QVERIFY(window->openFile(document));
    QCOMPARE(skeleton->nodes().size(), nodes + 1);
    QCOMPARE(m_boxes.shown.size(), 1);
    window->close();
    TSModelController::destroyInstance();
    QVERIFY(!QFileInfo::exists(working));
}

int main(int argc, char** argv)
{
    test::IsolatedEnvironment environment;
    // The usual layout below home, with the temporary folder inside it too.
    const QString home = qEnvironmentVariable("HOME");
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        qunsetenv(variable);
    }
    qputenv("TMPDIR", (home + QStringLiteral("/tmp")).toLocal8Bit());
    if (!QDir().mkpath(home + "/.config") || !QDir().mkpath(home + "/.local/share") ||
        !QDir().mkpath(home + "/.cache") || !QDir().mkpath(home + "/tmp") ||
        !QDir().mkpath(QStringLiteral(BONESTAGE_WRITABLE_DOCUMENTS)) || !lockHome(home)) {
        qCritical("cannot lock the home folder %s", qPrintable(home));
        return 1;
    }
    int status = 0;
    {
        TSApplication app(argc, argv);
        TestReadOnlyHome tc;
        QTEST_SET_MAIN_SOURCE_PATH
        status = QTest::qExec(&tc, argc, argv);
    }
    unlockHome(home);
    QDir(QStringLiteral(BONESTAGE_WRITABLE_DOCUMENTS)).removeRecursively();
    return status;
}

#include "tst_ReadOnlyHome.moc"
