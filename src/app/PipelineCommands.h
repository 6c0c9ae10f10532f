#pragma once

#include "CommandLine.h"

#include <QPointer>

class TSMainWindow;

/// Runs the command-line requests that have no user: the animated export of the current
/// animation, the PNG sequences of every animation, the texture atlas of a folder of PNGs, the
/// help text and the report of a malformed command line. Messages go to the log (and so to the
/// standard error stream); each run ends in an exit status.
class PipelineCommands
{
public:
    enum Status
    {
        Done = 0,
        BadRequest = 1,      ///< malformed command line, unknown output format
        InputFailed = 2,     ///< the document or an image cannot be read
        OutputFailed = 3,    ///< frames or atlas files cannot be written
        ConverterFailed = 4, ///< ffmpeg is missing, lacks the encoder or fails
        NothingToDo = 5,     ///< no animation, an animation of no length, no PNG file
        TooMuch = 6,         ///< too many frames, images too large for one atlas
    };

    /// window: the hidden main window the exports render with; may be null for the commands that
    /// need none (needsEditor()).
    explicit PipelineCommands(TSMainWindow* window);

    /// Whether a request of that kind renders a document and so needs the main window.
    static bool needsEditor(CommandLineRequest::Kind kind);

    /// Runs the request; the exit status.
    int run(const CommandLineRequest& request);

private:
    int exportAnimation(const CommandLineRequest& request);
    int exportFrames(const CommandLineRequest& request);
    static int packAtlas(const CommandLineRequest& request);
    /// Opens the document hidden, nobody answering its questions.
    bool openDocument(const QString& path, const char* command);

    QPointer<TSMainWindow> m_window;
};
