#include "AnimationEncoder.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

std::optional<AnimationEncoder::Format> AnimationEncoder::formatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("gif")) {
        return Format::Gif;
    }
    if (suffix == QLatin1String("apng") || suffix == QLatin1String("png")) {
        return Format::AnimatedPng;
    }
    if (suffix == QLatin1String("webp")) {
        return Format::WebP;
    }
    return std::nullopt;
}

QString AnimationEncoder::knownSuffixes()
{
    return QStringLiteral(".gif, .apng, .png or .webp");
}

QString AnimationEncoder::suffix(Format format)
{
    switch (format) {
    case Format::Gif:
        return QStringLiteral(".gif");
    case Format::AnimatedPng:
        return QStringLiteral(".png");
    case Format::WebP:
        break;
    }
    return QStringLiteral(".webp");
}

QString AnimationEncoder::displayName(Format format)
{
    switch (format) {
    case Format::Gif:
        return QStringLiteral("GIF");
    case Format::AnimatedPng:
        return QStringLiteral("animated PNG");
    case Format::WebP:
        break;
    }
    return QStringLiteral("animated WebP");
}

QString AnimationEncoder::encoderName(Format format)
{
    switch (format) {
    case Format::Gif:
        return QStringLiteral("gif");
    case Format::AnimatedPng:
        return QStringLiteral("apng");
    case Format::WebP:
        break;
    }
    return QStringLiteral("libwebp_anim");
}

GifConverter::Command AnimationEncoder::command(Format format, const QString& framesFolder,
                                                const QString& output, const Options& options)
{
    GifConverter::Command command;
    command.program = GifConverter::kProgram;
    // Only errors are reported: the progress lines would bury the messages of a pipeline.
    command.arguments = QStringList{QStringLiteral("-v"),
                                    QStringLiteral("error"),
                                    QStringLiteral("-f"),
                                    QStringLiteral("image2"),
                                    QStringLiteral("-y"),
                                    QStringLiteral("-framerate"),
                                    QString::number(options.fps),
                                    QStringLiteral("-i"),
                                    framesFolder + QStringLiteral("/%04d.png")};
    command.quoted = {8};
    switch (format) {
    case Format::Gif:
        // One pass: the palette is made from all frames and used at once. It keeps a slot for
        // transparency, which pixels of less than half opacity take.
        command.arguments << QStringLiteral("-filter_complex")
                          << QStringLiteral("[0:v]split[a][b];[a]palettegen[p];[b][p]paletteuse")
                          << QStringLiteral("-loop") << QStringLiteral("0") << QStringLiteral("-f")
                          << QStringLiteral("gif");
        command.quoted << 10;
        break;
    case Format::AnimatedPng:
        command.arguments << QStringLiteral("-pix_fmt")
                          << (options.transparent ? QStringLiteral("rgba") : QStringLiteral("rgb24"))
                          << QStringLiteral("-plays") << QStringLiteral("0") << QStringLiteral("-f")
                          << QStringLiteral("apng");
        break;
    case Format::WebP:
        // Lossless keeps every pixel and its alpha as rendered.
        command.arguments << QStringLiteral("-c:v") << encoderName(format) << QStringLiteral("-lossless")
                          << QStringLiteral("1") << QStringLiteral("-pix_fmt") << QStringLiteral("bgra")
                          << QStringLiteral("-loop") << QStringLiteral("0") << QStringLiteral("-f")
                          << QStringLiteral("webp");
        break;
    }
    command.quoted << command.arguments.size();
    command.arguments << output;
    return command;
}

bool AnimationEncoder::checkEncoder(Format format, QString* error)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(GifConverter::kProgram, {QStringLiteral("-hide_banner"), QStringLiteral("-encoders")});
    if (!process.waitForStarted(-1)) {
        if (error) {
            *error = QStringLiteral("Cannot start %1: %2. Exporting to %3 needs ffmpeg on the search path.")
                         .arg(GifConverter::kProgram, process.errorString(), displayName(format));
        }
        return false;
    }
    process.waitForFinished(-1);
    // Each encoder is one line: six capability letters, the name, a description.
    const QRegularExpression line(
        QStringLiteral("^\\s*[A-Z.]{6}\\s+%1\\s").arg(QRegularExpression::escape(encoderName(format))),
        QRegularExpression::MultilineOption);
    if (process.exitStatus() == QProcess::NormalExit &&
        line.match(QString::fromUtf8(process.readAllStandardOutput())).hasMatch()) {
        return true;
    }
    if (error) {
        *error = QStringLiteral("The %1 on the search path cannot write %2: it has no \"%3\" encoder. "
                                "Install an ffmpeg built with it, or export to another format.")
                     .arg(GifConverter::kProgram, displayName(format), encoderName(format));
    }
    return false;
}

bool AnimationEncoder::convert(Format format, const QString& framesFolder, const QString& output,
                               const Options& options, QString* error)
{
    return checkEncoder(format, error) &&
           GifConverter::run({command(format, framesFolder, output, options)}, output, error);
}
