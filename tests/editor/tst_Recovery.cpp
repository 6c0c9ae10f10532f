// Recovery of unsaved work: the state the editor keeps while a document has changes, and the
// questions at the next start about what editors that were killed left behind.
#include "AnimationModelClasses.h"
#include "AutoRecovery.h"
#include "DocumentController.h"
#include "OutlinerPanel.h"
#include "RecoveryFolder.h"
#include "RecoveryOffer.h"
#include "Skeleton.h"
#include "TSGraphicsView.h"
#include "TSMainWindow.h"
#include "TSModelController.h"
#include "TSOutlinerWidget.h"
#include "TSStyle.h"
#include "TemplateLibrary.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "ViewInput.h"
#include "WindowAnswers.h"

#include <QLocalServer>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QUuid>
#include <QtTest>

namespace {

const QString kShipped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources");

/// Answers the message boxes that come up, one after the other, by clicking the button that
/// carries the next text; records each box's text and its buttons' texts (sorted).
class BoxClicker : public QObject
{
public:
    explicit BoxClicker(QStringList answers) : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &BoxClicker::poll);
        m_timer.start(10);
    }

    QStringList texts;
    QList<QStringList> buttons;

private:
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == m_last) {
            return;
        }
        m_last = box;
        texts << box->text();
        QStringList names;
        for (QAbstractButton* button : box->buttons()) {
            names << button->text();
        }
        names.sort();
        buttons << names;
        const QString answer = m_answers.isEmpty() ? QString() : m_answers.takeFirst();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == answer) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        box->reject();
    }

    QStringList m_answers;
    QTimer m_timer;
    QPointer<QMessageBox> m_last;
};

TSModelController* controller()
{
    return TSModelController::instance();
}

RecoveryManifest manifestOf(const QString& working)
{
    RecoveryManifest manifest;
    RecoveryFolder::read(working, &manifest);
    return manifest;
}

bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target)) {
            return false;
        }
    }
    return true;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void editsReachTheStateWithinTheInterval();
    void recoverOpensTheWorkChanged_data();
    void recoverOpensTheWorkChanged();
    void sessionsAreOfferedOneAfterTheOther();
    void statesOfOtherFormatsAreNeverOpened();

private:
    /// A new node under the root, added with the add-node button.
    void addNode();
    /// Waits until the window's recovery state holds unsaved work.
    bool waitForUnsavedState();
    /// A copy of the window's working folder under a new name: what a killed editor leaves.
    QString leaveSessionBehind();
    /// The window goes, as at the end of a process, and a new one comes.
    void restart();

    TSMainWindow* m_window = nullptr;
    QTemporaryDir m_dir;
};

void TestRecovery::initTestCase()
{
    qputenv("BONESTAGE_RECOVERY_INTERVAL_MS", "30");
    QApplication::setStyle(new TSStyle());
    AnimationModelClasses::registerAll();
    TemplateLibrary::setRoot(kShipped + "/animations");
}

void TestRecovery::init()
{
    m_window = new TSMainWindow();
    m_window->resize(1200, 760);
}

void TestRecovery::cleanup()
{
    m_window->document()->setModified(false);
    delete m_window;
    const QString base = controller()->baseFolder();
    TSModelController::destroyInstance();
    for (const QString& name : QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QDir(base + QLatin1Char('/') + name).removeRecursively();
    }
}

void TestRecovery::addNode()
{
    QVERIFY(test::clickRow(m_window->outliner()->tree(), m_window->skeleton()->nodes().front()->name));
    QTest::mouseClick(m_window->findChild<QToolButton*>("addNodeButton"), Qt::LeftButton);
}

bool TestRecovery::waitForUnsavedState()
{
    return QTest::qWaitFor([] { return manifestOf(controller()->workingPath()).unsaved; }, 10000);
}

QString TestRecovery::leaveSessionBehind()
{
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return copyFolder(controller()->workingPath(), controller()->baseFolder() + QLatin1Char('/') + name)
               ? name
               : QString();
}

void TestRecovery::restart()
{
    delete m_window;
    TSModelController::destroyInstance();
    m_window = new TSMainWindow();
    m_window->resize(1200, 760);
}

void TestRecovery::editsReachTheStateWithinTheInterval()
{
    test::Choosers choosers;
    test::Boxes boxes;
    // A document just opened has nothing to keep, even when the history it replaced did.
    m_window->newDocument();
    addNode();
    boxes.answers << QMessageBox::No;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Tentacle.bsdoc", true, "Tentacle"));
    QTest::qWait(300);
    QVERIFY(!QFileInfo::exists(RecoveryFolder::path(controller()->workingPath())));
    m_window->newDocument();
    const QString working = controller()->workingPath();

    QSignalSpy written(m_window->autoRecovery(), &AutoRecovery::written);
    addNode();
    QVERIFY(written.wait(10000));
    QCOMPARE(written.last().at(0).toBool(), true);
    RecoveryManifest manifest = manifestOf(working);
    QVERIFY(manifest.unsaved);
    QCOMPARE(manifest.documentName, QStringLiteral("Untitled"));
    QCOMPARE(manifest.documentPath, QString());
    QCOMPARE(manifest.pid, QCoreApplication::applicationPid());
    QVERIFY(qAbs(manifest.time.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    const QString state = RecoveryFolder::path(working) + QLatin1Char('/') + manifest.stateFolder;
    QVERIFY(test::fileBytes(state + "/TSModelSkeletonNode.0.attributes.xml").contains("New node 1"));

    // A save is followed by a state that holds nothing unsaved, under the document's name.
    const QString path = m_dir.filePath("walker.bsdoc");
    choosers.answers << path;
    written.clear();
    m_window->save();
    QVERIFY(written.wait(10000));
    manifest = manifestOf(working);
    QVERIFY(!manifest.unsaved);
    QCOMPARE(manifest.documentName, QStringLiteral("walker"));
    QCOMPARE(manifest.documentPath, path);
}

void TestRecovery::recoverOpensTheWorkChanged_data()
{
    QTest::addColumn<bool>("saved");
    QTest::newRow("saved before") << true;
    QTest::newRow("never saved") << false;
}

void TestRecovery::recoverOpensTheWorkChanged()
{
    QFETCH(bool, saved);
    test::Choosers choosers;
    m_window->newDocument();
    const QString path = m_dir.filePath("recovered.bsdoc");
    if (saved) {
        choosers.answers << path;
        m_window->save();
    }
    addNode();
    QVERIFY(waitForUnsavedState());
    const QString session = leaveSessionBehind();
    QVERIFY(!session.isEmpty());
    restart();

    BoxClicker clicker({"Recover"});
    QVERIFY(RecoveryOffer::run(m_window));
    QCOMPARE(clicker.texts.size(), 1);
    const QString name = saved ? QStringLiteral("recovered") : QStringLiteral("Untitled");
    QVERIFY2(clicker.texts.first().startsWith(QStringLiteral("Recover unsaved work from %1, 20").arg(name)),
             qPrintable(clicker.texts.first()));
    QCOMPARE(clicker.buttons.first(), (QStringList{"Discard", "Later", "Recover"}));
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->skeleton()->nodeByName("New node 1"));
    QCOMPARE(m_window->documentTitle(), name);
    QVERIFY(m_window->document()->isModified());
    QVERIFY(m_window->isWindowModified());
    QVERIFY(!QFileInfo::exists(controller()->baseFolder() + QLatin1Char('/') + session));
    // Undoing every later edit still leaves the recovered ones unsaved.
    addNode();
    QTest::keyClick(m_window->graphicsView(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!m_window->skeleton()->nodeByName("New node 2"));
    QVERIFY(m_window->document()->isModified());

    // Save goes to the document's own file, or asks for one.
    const int asked = choosers.asked.size();
    const QString other = m_dir.filePath("named now.bsdoc");
    choosers.answers << other;
    m_window->save();
    QCOMPARE(choosers.asked.size(), asked + (saved ? 0 : 1));
    QVERIFY(!m_window->document()->isModified());
    restart();
    QVERIFY(m_window->openFile(saved ? path : other));
    QVERIFY(m_window->skeleton()->nodeByName("New node 1"));
}

void TestRecovery::sessionsAreOfferedOneAfterTheOther()
{
    m_window->newDocument();
    addNode();
    QVERIFY(waitForUnsavedState());
    QStringList sessions{leaveSessionBehind(), leaveSessionBehind()};
    sessions.sort();
    // An editor that still runs keeps its folder to itself.
    const QString running = leaveSessionBehind();
    QLocalServer server;
    QVERIFY(server.listen(running));
    restart();
    const QString base = controller()->baseFolder() + QLatin1Char('/');

    {
        BoxClicker clicker({"Later", "Discard"});
        QVERIFY(!RecoveryOffer::run(m_window));
        QCOMPARE(clicker.texts.size(), 2);
        QVERIFY(clicker.texts.at(1).startsWith("Recover unsaved work from Untitled, "));
    }
    QVERIFY(QFileInfo::exists(base + sessions.at(0)));
    QVERIFY(!QFileInfo::exists(base + sessions.at(1)));
    QVERIFY(QFileInfo::exists(base + running));
    QVERIFY(!m_window->isVisible());
    // Later means the next start asks again.
    restart();
    BoxClicker clicker({"Later"});
    QVERIFY(!RecoveryOffer::run(m_window));
    QCOMPARE(clicker.texts.size(), 1);
    QVERIFY(QFileInfo::exists(base + sessions.at(0)));
}

void TestRecovery::statesOfOtherFormatsAreNeverOpened()
{
    m_window->newDocument();
    addNode();
    QVERIFY(waitForUnsavedState());
    const QString session = leaveSessionBehind();
    const QString folder = controller()->baseFolder() + QLatin1Char('/') + session;
    QByteArray json = test::fileBytes(RecoveryFolder::manifestPath(folder));
    QVERIFY(json.contains("\"format\": 1"));
    QVERIFY(test::writeFile(RecoveryFolder::manifestPath(folder),
                            json.replace("\"format\": 1", "\"format\": 0")));
    restart();

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be opened: format 0 is not format 1"));
    {
        BoxClicker clicker({"Later"});
        QVERIFY(!RecoveryOffer::run(m_window));
        QCOMPARE(clicker.buttons, QList<QStringList>{(QStringList{"Discard", "Later"})});
    }
    QVERIFY(QFileInfo::exists(folder));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be opened"));
    BoxClicker clicker({"Discard"});
    QVERIFY(!RecoveryOffer::run(m_window));
    QCOMPARE(clicker.texts.size(), 1);
    QVERIFY(!QFileInfo::exists(folder));
    QCOMPARE(m_window->skeleton()->nodes().size(), size_t(0));
}

BONESTAGE_WIDGETS_TEST_MAIN(TestRecovery)
#include "tst_Recovery.moc"
