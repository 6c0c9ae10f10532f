#include "TSApplication.h"

#include "AnimationModelClasses.h"
#include "CommandLine.h"
#include "LogHandler.h"
#include "TSApplicationSettings.h"
#include "TSMainWindow.h"
#include "TSStyle.h"

#include <QDebug>
#include <QFileOpenEvent>
#include <QTimer>

TSApplication::TSApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TSApplication::~TSApplication()
{
    delete m_mainWindow.data();
}

void TSApplication::setAppInfo(const AppInfo::Record& record)
{
    AppInfo::setRecord(record);
    setApplicationName(appInfo(AppInfo::AppName));
    setOrganizationName(QStringLiteral("wrenfold"));
    setAttribute(Qt::AA_UseHighDpiPixmaps);
    setStyle(new TSStyle());
    qInstallMessageHandler(messageHandler);
}

void TSApplication::start()
{
    if (m_mainWindow) {
        m_mainWindow->deleteLater();
    }
    TSApplicationSettings::instance()->load();
    AnimationModelClasses::registerAll();
    m_mainWindow = new TSMainWindow();
    m_mainWindow->showWelcomeWindow(false);

    const CommandLineRequest request =
        CommandLine::parse(arguments(), appInfo(AppInfo::DocumentExtension));
    if (request.kind == CommandLineRequest::Export) {
        QTimer::singleShot(0, this, &TSApplication::handleExportCommand);
    } else if (request.kind == CommandLineRequest::Open && m_mainWindow) {
        m_mainWindow->openFile(request.document);
    }
}

void TSApplication::handleExportCommand()
{
    qWarning() << "[TSApplication] the command-line export is not available yet";
    if (m_mainWindow) {
        m_mainWindow->close();
    }
    exit(1);
}

bool TSApplication::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FileOpen: {
        const QString file = static_cast<QFileOpenEvent*>(event)->file();
        if (m_mainWindow && m_mainWindow->confirmClose()) {
            m_mainWindow->openFile(file);
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
