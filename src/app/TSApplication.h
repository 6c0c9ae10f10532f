#pragma once

#include "AppInfo.h"
#include "CommandLine.h"

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
    /// the command line.
    void start();

    TSMainWindow* mainWindow() const { return m_mainWindow; }

    /// Exit statuses of the command-line export.
    enum ExportStatus {
        ExportDone = 0,
        ExportBadRequest = 1,
        ExportDocumentFailed = 2,
        ExportFramesFailed = 3,
        ExportGifFailed = 4,
        ExportNothingToRender = 5,
        ExportTooManyFrames = 6,
    };
    /// Opens the document hidden, renders its current animation into the frames folder and
    /// makes the GIF; returns the exit status.
    int runExport(const CommandLineRequest& request);

protected Q_SLOTS:
    void handleExportCommand();

protected:
    bool event(QEvent* event) override;

private:
    /// Removes what editors that no longer run left behind in the base folder.
    void removeLeftovers();

    QPointer<TSMainWindow> m_mainWindow;
};
