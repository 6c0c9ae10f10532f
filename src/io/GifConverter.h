#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// Turns a folder of numbered PNG frames ("0000.png", "0001.png", …) into an animated GIF with
/// the external converter "ffmpeg": a first run makes a palette image in the frames folder, a
/// second run makes the GIF with it.
class GifConverter
{
public:
    struct Command
    {
        QString program;
        QStringList arguments;
        /// Indexes of the arguments that the log line shows in double quotes.
        QList<int> quoted;
        /// The command as one line, as it would be typed into a shell; for the log.
        QString text() const;
    };

    static const QString kProgram;

    /// The palette run and the GIF run. Paths are passed as single arguments, so spaces and
    /// quotes in them need no escaping.
    static QList<Command> commands(const QString& framesFolder, const QString& gifPath);

    /// Runs both commands, logging each with "Start command : ", and waits for them. False with
    /// the reason in error when the converter cannot be started, fails, or leaves no GIF.
    static bool convert(const QString& framesFolder, const QString& gifPath, QString* error);

    /// Runs the commands one after the other, logging each with "Start command : ", and waits
    /// for them. False with the reason in error when one cannot be started or fails, or when no
    /// file is at output afterwards.
    static bool run(const QList<Command>& commands, const QString& output, QString* error);
};
