// The workflow under conditions users run into: a document in a folder whose names have spaces
// and letters beyond ASCII, a second editor started while the first runs, and the program
// killed in the middle of a save.
#include "FrameRenderer.h"
#include "HeadlessRun.h"
#include "Skeleton.h"
#include "TSApplication.h"
#include "TSGraphicsView.h"
#include "TSModelController.h"
#include "TSModelGeneralSettings.h"
#include "TSProjectArchive.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "ViewInput.h"
#include "WindowAnswers.h"
#include "WindowState.h"

#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>

#include <signal.h>

namespace {

const QString kProgram = QStringLiteral(BONESTAGE_EXECUTABLE);
const QString kSaveLoop = QStringLiteral(SAVE_LOOP_EXECUTABLE);
const QString kBiped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/projects/Biped.bsdoc");

QWidget* visibleWelcome()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("welcomeWindow") && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

/// The working folders of every editor that runs with this test's temporary folder.
QStringList workingFolders()
{
    return QDir(QDir::tempPath() + QStringLiteral("/com.wrenfold.bonestage"))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestBadInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void spacesAndAccentsInThePath();
    void secondEditorKeepsToItself();
    void killedWhileSavingLeavesADocument();

private:
    TSApplication* app() const { return static_cast<TSApplication*>(qApp); }

    test::Boxes m_boxes;
    test::Choosers m_choosers;
    QTemporaryDir m_dir;
};

void TestBadInput::initTestCase()
{
    QVERIFY(m_dir.isValid());
    app()->setAppInfo(AppInfo::bonestageRecord());
}

void TestBadInput::spacesAndAccentsInThePath()
{
    const QString folder = m_dir.filePath(QStringLiteral("Mes créations"));
    const QString document = folder + QStringLiteral("/héros ünd 角色.bsdoc");
    QVERIFY(QDir().mkpath(folder));

    // A template with a node added, saved under that name.
    app()->start();
    QTRY_VERIFY(visibleWelcome());
    QToolButton* card =
        visibleWelcome()->findChildren<QToolButton*>(QRegularExpression("^template_")).value(0);
    QVERIFY(card);
    QTest::mouseClick(card, Qt::LeftButton);
    TSMainWindow* window = app()->mainWindow();
    QTRY_VERIFY(window->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(window));
    Skeleton* skeleton = window->skeleton();
    QVERIFY(test::clickRow(window->outliner()->tree(), skeleton->nodes().front()->name));
    window->graphicsView()->setFocus();
    QTest::keyClick(window->graphicsView(), Qt::Key_N);
    const QStringList edited = test::documentState(window);
    m_choosers.answers << document;
    QTest::keyClick(window->graphicsView(), Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE(window->documentTitle(), QStringLiteral("héros ünd 角色"));
    QVERIFY(m_boxes.shown.isEmpty());
    QVERIFY(QFileInfo(document).size() > 0);

    // Quit, start again: the recent documents show it, and it opens as it was saved.
    test::chooseMenuEntry(window, "fileMenu", "exitAction");
    QTRY_VERIFY(!window->isVisible());
    TSModelController::destroyInstance();
    app()->start();
    QTRY_VERIFY(visibleWelcome());
    auto* recent = visibleWelcome()->findChild<QListWidget*>("recentList");
    QCOMPARE(recent->item(0)->data(Qt::UserRole).toString(), QDir::toNativeSeparators(document));
    QVERIFY(recent->item(0)->text().startsWith(QStringLiteral("héros ünd 角色\n")));
    QTest::mouseClick(recent->viewport(), Qt::LeftButton, Qt::NoModifier,
                      recent->visualItemRect(recent->item(0)).center());
    QTRY_VERIFY(app()->mainWindow() && app()->mainWindow()->isVisible());
    window = app()->mainWindow();
    QCOMPARE(window->documentTitle(), QStringLiteral("héros ünd 角色"));
    // (The animations come back in another order, own ones last: left out here.)
    const auto withoutOrder = [](QStringList state) {
        return state.filter(QRegularExpression(QStringLiteral("^(?!animations )")));
    };
    const QString difference =
        test::stateDifference(withoutOrder(test::documentState(window)), withoutOrder(edited), 0.0011);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QVERIFY(m_boxes.shown.isEmpty());

    // Exported as frames into a folder of the same kind.
    const QString frames = folder + QStringLiteral("/images exportées");
    QVERIFY(QDir().mkpath(frames));
    m_choosers.answers << frames;
    test::chooseMenuEntry(window, "fileMenu", "exportAction");
    QWidget* dialog = nullptr;
    QTRY_VERIFY((dialog = window->findChild<QWidget*>("exportDialog")) && dialog->isVisible());
    QTest::mouseClick(dialog->findChild<QPushButton*>("exportButton"), Qt::LeftButton);
    const int animations = window->document()->animations().size();
    QTRY_VERIFY_WITH_TIMEOUT(QDir(frames).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() == animations &&
                                 !window->frameRenderer()->isRendering(),
                             60000);
    QVERIFY(m_boxes.shown.isEmpty());
    for (const QString& animation : QDir(frames).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QVERIFY2(QFileInfo(frames + "/" + animation + "/0000.png").size() > 0, qPrintable(animation));
    }

    // And the program on the command line makes a GIF of it, there too.
    const QString gif = folder + QStringLiteral("/héros animé.gif");
    QCOMPARE(test::runHeadless(kProgram,
                               {"-export", document, folder + QStringLiteral("/images du gif"), gif},
                               m_dir.filePath("gif run")),
             0);
    QCOMPARE(test::fileBytes(gif).left(6), QByteArray("GIF89a"));
    window->close();
    TSModelController::destroyInstance();
}

void TestBadInput::secondEditorKeepsToItself()
{
    // Two editors, each with a document of its own, started one after the other with the same
    // home and temporary folder.
    const QString first = m_dir.filePath("first.bsdoc");
    const QString second = m_dir.filePath("second.bsdoc");
    QVERIFY(QFile::copy(kBiped, first) && QFile::copy(kBiped, second));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // What opening the document unpacks into a working folder.
    const QString unpacked = m_dir.filePath("unpacked");
    QVERIFY(QDir().mkpath(unpacked) && TSProjectArchive::extract(kBiped, unpacked).opened);
    const QStringList documentFiles = TSProjectArchive::collectFiles(unpacked);
    QVERIFY(documentFiles.size() > 5);
    const auto holdsDocument = [&documentFiles](const QString& folder) {
        const QStringList files = TSProjectArchive::collectFiles(folder);
        return std::all_of(documentFiles.begin(), documentFiles.end(),
                           [&files](const QString& file) { return files.contains(file); });
    };
    QProcess editors[2];
    QString folders[2];
    QStringList files[2];
    const QStringList before = workingFolders();
    for (int i = 0; i < 2; ++i) {
        editors[i].setProcessEnvironment(environment);
        editors[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editors[i].start(kProgram, {i == 0 ? first : second});
        QVERIFY(editors[i].waitForStarted());
        // Its own folder appears, holding the document it opened.
        const auto ownFolder = [&] {
            for (const QString& name : workingFolders()) {
                const QString path = QDir::tempPath() + QStringLiteral("/com.wrenfold.bonestage/") + name;
                if (!before.contains(name) && path != folders[0] && holdsDocument(path)) {
                    return path;
                }
            }
            return QString();
        };
        QTRY_VERIFY_WITH_TIMEOUT(!(folders[i] = ownFolder()).isEmpty(), 30000);
        files[i] = TSProjectArchive::collectFiles(folders[i]);
    }
    QVERIFY(folders[0] != folders[1]);
    // Whatever the second does at start (clearing what dead editors left), the first's folder
    // stays as it was, and the other way round once the first has ended.
    QCOMPARE(editors[0].state(), QProcess::Running);
    QCOMPARE(TSProjectArchive::collectFiles(folders[0]), files[0]);
    QVERIFY(::kill(static_cast<pid_t>(editors[0].processId()), SIGTERM) == 0);
    QVERIFY(editors[0].waitForFinished(30000));
    QCOMPARE(editors[0].exitCode(), 0);
    QVERIFY(!QFileInfo::exists(folders[0]));
    QCOMPARE(editors[1].state(), QProcess::Running);
    QCOMPARE(TSProjectArchive::collectFiles(folders[1]), files[1]);
    QVERIFY(::kill(static_cast<pid_t>(editors[1].processId()), SIGTERM) == 0);
    QVERIFY(editors[1].waitForFinished(30000));
    QCOMPARE(editors[1].exitCode(), 0);
    QVERIFY(!QFileInfo::exists(folders[1]));
    // Neither touched the other's document.
    QCOMPARE(test::fileBytes(first), test::fileBytes(kBiped));
    QCOMPARE(test::fileBytes(second), test::fileBytes(kBiped));
}

void TestBadInput::killedWhileSavingLeavesADocument()
{
    // Killed at a different moment of a save each round; the document opens every time and
    // holds one of the states saved into it, the last one announced or the one being written.
    const QString document = m_dir.filePath("killed while saving.bsdoc");
    QVERIFY(QFile::copy(kBiped, document));
    QFile::setPermissions(document, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (int round = 0; round < 8; ++round) {
        QProcess saver;
        saver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        saver.start(kSaveLoop, {document});
        QVERIFY(saver.waitForStarted());
        // Into the save after round + 1 whole ones, then a little further each round.
        const QByteArray target = "saving " + QByteArray::number(round + 2) + '\n';
        QByteArray output;
        while (!output.contains(target) && saver.state() == QProcess::Running) {
            saver.waitForReadyRead(30000);
            output += saver.readAllStandardOutput();
        }
        QVERIFY2(output.contains(target), output.constData());
        if (round > 0) {
            QTest::qSleep(round * 7);
        }
        QCOMPARE(saver.state(), QProcess::Running);
        QVERIFY(::kill(static_cast<pid_t>(saver.processId()), SIGKILL) == 0);
        QVERIFY(saver.waitForFinished(30000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        output += saver.readAllStandardOutput();
        const int saved = output.count("saved ");
        QVERIFY(saved >= round + 1);

        TSModelController* controller = TSModelController::instance();
        QVERIFY2(controller->openDocument(document), qPrintable(controller->errorString()));
        QVERIFY(TSModelGeneralSettings::current());
        const int number = qRound(TSModelGeneralSettings::current()->objectFrameRect().x());
        QVERIFY2(number == saved || number == saved + 1,
                 qPrintable(QStringLiteral("round %1: %2 after %3 saves").arg(round).arg(number).arg(saved)));
        TSModelController::destroyInstance();
    }
}

BONESTAGE_TEST_MAIN_WITH(TSApplication, TestBadInput)
#include "tst_BadInput.moc"
