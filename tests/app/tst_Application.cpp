#include "DocumentController.h"
#include "TSApplication.h"
#include "TSApplicationSettings.h"
#include "TSWelcomeWindow.h"
#include "TemplateLibrary.h"
#include "TestMain.h"
#include "WindowAnswers.h"

#include <QFileOpenEvent>
#include <QPointer>
#include <QtTest>

namespace {

const QString kBiped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/projects/Biped.bsdoc");

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void startShowsTheWelcomeWindow();
    void fileOpenEventsOpenDocuments();
    void fileOpenAsksOnceAboutChanges();
    void exportRequestsThatCannotRun();
    void welcomeWindowComesUpBeforeTheEditorIsBuilt();
    void identityNamesTheApplicationForTheDesktop();

private:
    TSApplication* app() const { return static_cast<TSApplication*>(qApp); }
    test::Boxes m_boxes;
};

void TestApplication::initTestCase()
{
    TemplateLibrary::setRoot(QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources/animations"));
    app()->start();
    QVERIFY(app()->mainWindow());
}

void TestApplication::cleanup()
{
    m_boxes.shown.clear();
    m_boxes.answers.clear();
}

void TestApplication::startShowsTheWelcomeWindow()
{
    QVERIFY(app()->mainWindow()->welcomeWindow());
    QTRY_VERIFY(app()->mainWindow()->welcomeWindow()->isVisible());
}

void TestApplication::fileOpenEventsOpenDocuments()
{
    QFileOpenEvent event(kBiped);
    QCoreApplication::sendEvent(app(), &event);
    QCOMPARE(app()->mainWindow()->documentTitle(), QStringLiteral("Biped"));
    // The editor comes up with the document in place of the welcome window.
    QVERIFY(app()->mainWindow()->isVisible());
    QTRY_VERIFY(!app()->mainWindow()->welcomeWindow());
    QCOMPARE(TSApplicationSettings::instance()->recentFiles().value(0), kBiped);
    QVERIFY(m_boxes.shown.isEmpty());

    // A file that is not there: one box, and the open document stays.
    QFileOpenEvent missing(QStringLiteral("/nonexistent/dir/gone.bsdoc"));
    QCoreApplication::sendEvent(app(), &missing);
    QCOMPARE(m_boxes.shown.size(), 1);
    QCOMPARE(m_boxes.shown.first().title, QStringLiteral("Error on open"));
    QCOMPARE(app()->mainWindow()->documentTitle(), QStringLiteral("Biped"));
}

void TestApplication::fileOpenAsksOnceAboutChanges()
{
    DocumentController* document = app()->mainWindow()->document();
    document->setModified(true);
    m_boxes.answers << QMessageBox::Cancel;
    QFileOpenEvent event(kBiped);
    QCoreApplication::sendEvent(app(), &event);
    QCOMPARE(m_boxes.shown.size(), 1);
    QCOMPARE(m_boxes.shown.first().title, QStringLiteral("Project has changes"));
    QVERIFY(document->isModified());

    m_boxes.shown.clear();
    m_boxes.answers << QMessageBox::No;
    QCoreApplication::sendEvent(app(), &event);
    QCOMPARE(m_boxes.shown.size(), 1);
    QVERIFY(!document->isModified());
}

void TestApplication::exportRequestsThatCannotRun()
{
    CommandLineRequest open;
    open.kind = CommandLineRequest::Open;
    QCOMPARE(app()->runExport(open), int(TSApplication::ExportBadRequest));
}

void TestApplication::welcomeWindowComesUpBeforeTheEditorIsBuilt()
{
    // With nothing to open, the welcome window, which needs nothing of the editor, is up before
    // the main window is built; the main window follows once the welcome window has been drawn,
    // and takes it over.
    const QPointer<TSMainWindow> previous = app()->mainWindow();
    auto newWidgets = [&previous](const QMetaObject& type) {
        QList<QWidget*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->metaObject()->inherits(&type) && widget != previous &&
                (!previous || widget != previous->welcomeWindow())) {
                found.append(widget);
            }
        }
        return found;
    };
    app()->start();
    QCOMPARE(newWidgets(TSMainWindow::staticMetaObject).size(), 0);
    const QList<QWidget*> welcomes = newWidgets(TSWelcomeWindow::staticMetaObject);
    QCOMPARE(welcomes.size(), 1);
    QVERIFY(welcomes.first()->isVisible());
    QTRY_COMPARE(newWidgets(TSMainWindow::staticMetaObject).size(), 1);
    QCOMPARE(app()->mainWindow()->welcomeWindow(), welcomes.first());
    QVERIFY(!app()->mainWindow()->isVisible());
}

// Last: the identity also installs the application style and the log handler.
void TestApplication::identityNamesTheApplicationForTheDesktop()
{
    app()->setAppInfo(AppInfo::bonestageRecord());
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Bonestage"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("wrenfold"));
    // Window managers match the editor's windows to its launcher by this name.
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("com.wrenfold.bonestage"));
}

BONESTAGE_TEST_MAIN_WITH(TSApplication, TestApplication)
#include "tst_Application.moc"
