#include "TSApplication.h"

#include "AnimationCanvas.h"
#include "AnimationExporter.h"
#include "AnimationModelClasses.h"
#include "CommandLine.h"
#include "GifConverter.h"
#include "LogHandler.h"
#include "TSApplicationSettings.h"
#include "TSMainWindow.h"
#include "TSMessageBox.h"
#include "TSModelController.h"
#include "TSStyle.h"
#include "TSWelcomeWindow.h"
#include "TemplateLibrary.h"

#include <QDebug>
#include <QFileOpenEvent>
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
    if (request.kind == CommandLineRequest::None) {
        showWelcomeFirst();
        return;
    }
    removeLeftovers();
    m_mainWindow = new TSMainWindow();
    // The command-line export has no user: no welcome window flashes up for it.
    if (request.kind != CommandLineRequest::Export) {
        m_mainWindow->showWelcomeWindow(false);
    }
    if (request.kind == CommandLineRequest::Export) {
        QTimer::singleShot(0, this, &TSApplication::handleExportCommand);
    } else if (request.kind == CommandLineRequest::Open && m_mainWindow && m_mainWindow->openFile(request.document)) {
        m_mainWindow->showEditor();
    }
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
    if (!m_mainWindow || request.kind != CommandLineRequest::Export) {
        return ExportBadRequest;
    }
    // Nobody is there to answer: messages go to the log, questions are answered without saving.
    TSMessageBox::setAnswerer([](const TSMessageBox::Request& box) {
        qWarning().noquote() << "[export]" << box.title << box.text;
        return box.buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
    });
    m_mainWindow->hide();
    if (!m_mainWindow->openFile(request.document)) {
        qCritical().noquote() << "[export] cannot open" << request.document;
        return ExportDocumentFailed;
    }
    FrameRenderSettings settings;
    settings.folder = request.framesFolder;
    settings.rect = m_mainWindow->animationCanvas()->canvasRect();
    settings.size = QSize(240, 240);
    settings.fps = 30;
    settings.background = QColor(QStringLiteral("#171717"));
    const AnimationExporter::Result frames = m_mainWindow->exporter()->exportCurrent(settings);
    m_mainWindow->close();
    if (!frames.ok()) {
        qCritical().noquote() << "[export]" << frames.error;
        switch (frames.refused) {
        case AnimationExporter::Refusal::NothingToRender:
            return ExportNothingToRender;
        case AnimationExporter::Refusal::TooManyFrames:
            return ExportTooManyFrames;
        case AnimationExporter::Refusal::None:
            break;
        }
        return ExportFramesFailed;
    }
    qDebug().noquote() << QStringLiteral("[export] %1 frames written to %2").arg(frames.frames).arg(settings.folder);
    QString error;
    if (!GifConverter::convert(request.framesFolder, request.gifPath, &error)) {
        qCritical().noquote() << "[export]" << error;
        return ExportGifFailed;
    }
    return ExportDone;
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
