#include "TSApplication.h"

#include "AnimationModelClasses.h"
#include "CommandLine.h"
#include "LogHandler.h"
#include "RecoveryOffer.h"
#include "TSApplicationSettings.h"
#include "TSMainWindow.h"
#include "TSMessageBox.h"
#include "TSModelController.h"
#include "TSStyle.h"
#include "TSWelcomeWindow.h"
#include "TemplateLibrary.h"

#include <QDebug>
#include <QDir>
#include <QFileOpenEvent>
#include <QSettings>
#include <QTimer>

TSApplication::TSApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TSApplication::~TSApplication()
{
    delete m_mainWindow.data();
    delete m_firstWelcome.data();
}

void TSApplication::setAppInfo(const AppInfo::Record& record)
{
    AppInfo::setRecord(record);
    setApplicationName(appInfo(AppInfo::AppName));
    setOrganizationName(QStringLiteral("wrenfold"));
    // The installed launcher is named after the bundle id; desktops match windows to it by this.
    setDesktopFileName(appInfo(AppInfo::BundleId));
    setAttribute(Qt::AA_UseHighDpiPixmaps);
    setStyle(new TSStyle());
    qInstallMessageHandler(messageHandler);
}

void TSApplication::start()
{
    if (m_mainWindow) {
        m_mainWindow->deleteLater();
        m_mainWindow = nullptr;
    }
    TSApplicationSettings::instance()->load();
    AnimationModelClasses::registerAll();

    const CommandLineRequest request =
        CommandLine::parse(arguments(), appInfo(AppInfo::DocumentExtension));
    if (request.kind != CommandLineRequest::Export) {
        QTimer::singleShot(0, this, &TSApplication::warnAboutSettingsStore);
    }
    if (request.kind == CommandLineRequest::None) {
        showWelcomeFirst();
        return;
    }
    const bool command = request.kind != CommandLineRequest::Open;
    if (command && !PipelineCommands::needsEditor(request.kind)) {
        // The help text, a bad command line and the atlas packing need no editor at all.
        QTimer::singleShot(0, this, &TSApplication::handleExportCommand);
        return;
    }
    removeLeftovers();
    m_mainWindow = new TSMainWindow();
    if (command) {
        // The command-line exports have no user: no welcome window flashes up for them.
        QTimer::singleShot(0, this, &TSApplication::handleExportCommand);
        return;
    }
    m_mainWindow->showWelcomeWindow(false);
    if (m_mainWindow->openFile(request.document)) {
        m_mainWindow->showEditor();
    }
    offerRecovery();
}

TSMainWindow* TSApplication::mainWindow()
{
    if (!m_mainWindow && m_firstWelcome) {
        buildMainWindow();
    }
    return m_mainWindow;
}

void TSApplication::showWelcomeFirst()
{
    auto* welcome = new TSWelcomeWindow(TemplateLibrary::projectsFolder());
    welcome->setAttribute(Qt::WA_DeleteOnClose);
    m_firstWelcome = welcome;
    // Once it has been drawn the main window is built, and in any case before the first click or
    // key press is handled, so whatever the user asks of the welcome window finds it there.
    installEventFilter(this);
    welcome->show();
    welcome->raise();
}

bool TSApplication::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_mainWindow && m_firstWelcome) {
        switch (event->type()) {
        case QEvent::Paint:
            if (watched == m_firstWelcome) {
                QTimer::singleShot(0, this, &TSApplication::buildMainWindow);
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
            buildMainWindow();
            break;
        default:
            break;
        }
    }
    return QApplication::eventFilter(watched, event);
}

void TSApplication::buildMainWindow()
{
    removeEventFilter(this);
    if (m_mainWindow) {
        return;
    }
    // The welcome window needs no working folder either: the model controller comes with the
    // editor.
    removeLeftovers();
    m_mainWindow = new TSMainWindow();
    if (m_firstWelcome) {
        m_mainWindow->adoptWelcomeWindow(m_firstWelcome);
    }
    m_firstWelcome = nullptr;
    offerRecovery();
}

void TSApplication::offerRecovery()
{
    // Once the event loop runs: the main window may be built from inside an event filter.
    QTimer::singleShot(0, this, [this] {
        if (m_mainWindow) {
            RecoveryOffer::run(m_mainWindow);
        }
    });
}

void TSApplication::warnAboutSettingsStore()
{
    const QString problem = TSApplicationSettings::storeProblem();
    if (problem.isEmpty()) {
        return;
    }
    qWarning().noquote() << "[TSApplication] the settings cannot be saved:" << problem;
    QWidget* parent = m_firstWelcome ? static_cast<QWidget*>(m_firstWelcome) : m_mainWindow.data();
    TSMessageBox::warning(parent, QStringLiteral("Settings"),
                          QStringLiteral("Your settings cannot be saved: %1, so %2 cannot be written. The "
                                         "editor works as usual, but it will not remember the recent documents "
                                         "and your preferences.")
                              .arg(problem, QDir::toNativeSeparators(QSettings().fileName())));
}

void TSApplication::removeLeftovers()
{
    // Editors that crashed or were killed leave their working folders and temporary archives
    // behind; nothing else ever removes them.
    TSModelController::instance()->discardStaleSessions();
}

void TSApplication::handleExportCommand()
{
    const CommandLineRequest request = CommandLine::parse(arguments(), appInfo(AppInfo::DocumentExtension));
    const int status = runExport(request);
    if (m_mainWindow) {
        m_mainWindow->close();
    }
    TSMessageBox::setAnswerer(nullptr);
    exit(status);
}

int TSApplication::runExport(const CommandLineRequest& request)
{
    if (PipelineCommands::needsEditor(request.kind) && !m_mainWindow) {
        return ExportBadRequest;
    }
    return PipelineCommands(m_mainWindow).run(request);
}

bool TSApplication::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FileOpen: {
        const QString file = static_cast<QFileOpenEvent*>(event)->file();
        // Opening asks about unsaved changes itself (and only when the file can be opened), so
        // the user is asked once and a missing file never costs the open document its edits.
        if (mainWindow() && m_mainWindow->openFile(file)) {
            m_mainWindow->showEditor();
        }
        return true;
    }
    case QEvent::Quit:
        qDebug() << "[TSApplication] quit";
        break;
    default:
        break;
    }
    return QApplication::event(event);
}
