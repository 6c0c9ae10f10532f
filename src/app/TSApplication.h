#pragma once

#include "AppInfo.h"
#include "CommandLine.h"
#include "PipelineCommands.h"

#include <QApplication>
#include <QPointer>

#include "TSMainWindow.h"

/// The application object: process-wide set-up, the one main window, the command line and the
/// operating system's file-open requests.
class TSApplication : public QApplication
{
    Q_OBJECT

public:
    TSApplication(int& argc, char** argv);
    ~TSApplication() override;

    /// Stores the identity record, names the application and organisation (which locate the user
    /// settings), installs the style and the message handler.
    void setAppInfo(const AppInfo::Record& record);
    /// Loads the user settings, creates the main window, shows the welcome window and dispatches
    /// the command line. With nothing on the command line the welcome window comes up first and
    /// the main window is built as soon as the welcome window has been drawn (or, at the latest,
    /// before the first input is handled or when it is asked for).
    void start();

    /// The main window; built now if the start-up has not built it yet.
    TSMainWindow* mainWindow();

    /// Exit statuses of the command-line export.
    enum ExportStatus {
        ExportDone = PipelineCommands::Done,
        ExportBadRequest = PipelineCommands::BadRequest,
        ExportDocumentFailed = PipelineCommands::InputFailed,
        ExportFramesFailed = PipelineCommands::OutputFailed,
        ExportGifFailed = PipelineCommands::ConverterFailed,
        ExportNothingToRender = PipelineCommands::NothingToDo,
        ExportTooManyFrames = PipelineCommands::TooMuch,
    };
    /// Runs a command of the command line (an export, the help text …) without a user; returns
    /// the exit status. The exports render with the main window, hidden.
    int runExport(const CommandLineRequest& request);

protected Q_SLOTS:
    void handleExportCommand();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Removes what editors that no longer run left behind in the base folder.
    void removeLeftovers();
    /// Shows the welcome window before there is a main window, which the welcome window does
    /// not need and which takes longer to build than the welcome window itself.
    void showWelcomeFirst();
    /// Builds the main window and hands it the welcome window that is up.
    void buildMainWindow();
    /// Asks about the unsaved work of editors that were killed or crashed (RecoveryOffer).
    void offerRecovery();
    /// Tells the user once, over the first window, when the settings store cannot be written.
    void warnAboutSettingsStore();

    QPointer<TSMainWindow> m_mainWindow;
    /// The welcome window shown before the main window was built.
    QPointer<TSWelcomeWindow> m_firstWelcome;
};
