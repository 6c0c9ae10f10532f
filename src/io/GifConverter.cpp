#include "GifConverter.h"

#include <QDebug>
#include <QFileInfo>
#include <QProcess>

const QString GifConverter::kProgram = QStringLiteral("ffmpeg");

QString GifConverter::Command::text() const
{
    QStringList words{program};
    for (int i = 0; i < arguments.size(); ++i) {
        words << (quoted.contains(i) ? QLatin1Char('"') + arguments.at(i) + QLatin1Char('"') : arguments.at(i));
    }
    return words.join(QLatin1Char(' '));
}

QList<GifConverter::Command> GifConverter::commands(const QString& framesFolder, const QString& gifPath)
{
    const QString frames = framesFolder + QStringLiteral("/%04d.png");
    const QString palette = framesFolder + QStringLiteral("/palette.png");
    // The frames are read at the rate they were rendered at; the image reader's own default
    // would stretch the animation and make the fps filter duplicate frames.
    const QStringList input{QStringLiteral("-f"), QStringLiteral("image2"), QStringLiteral("-y"),
                            QStringLiteral("-framerate"), QStringLiteral("30"), QStringLiteral("-i"), frames};
    return {
        Command{kProgram,
                input + QStringList{QStringLiteral("-vf"), QStringLiteral("fps=30,scale=240:-1:flags=lanczos,palettegen"),
                                    palette},
                {6, 9}},
        Command{kProgram,
                input + QStringList{QStringLiteral("-i"), palette, QStringLiteral("-filter_complex"),
                                    QStringLiteral("fps=30,scale=240:-1:flags=lanczos[x];[x][1:v]paletteuse"), gifPath},
                {6, 8, 10, 11}},
    };
}

bool GifConverter::convert(const QString& framesFolder, const QString& gifPath, QString* error)
{
    return run(commands(framesFolder, gifPath), gifPath, error);
}

bool GifConverter::run(const QList<Command>& commands, const QString& output, QString* error)
{
    for (const Command& command : commands) {
        qDebug().noquote() << "Start command : " + command.text();
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(command.program, command.arguments);
        if (!process.waitForStarted(-1)) {
            if (error) {
                *error = QStringLiteral("Cannot start %1: %2").arg(command.program, process.errorString());
            }
            return false;
        }
        process.waitForFinished(-1);
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            if (error) {
                *error = QStringLiteral("%1 failed with exit code %2.").arg(command.program).arg(process.exitCode());
            }
            return false;
        }
    }
    if (!QFileInfo(output).isFile()) {
        if (error) {
            *error = QStringLiteral("%1 wrote nothing at %2.").arg(kProgram, output);
        }
        return false;
    }
    return true;
}
