#include "CommandLine.h"

#include <QFileInfo>

#include <cmath>

namespace {

const QLatin1String kExport("-export");
const QLatin1String kExportFrames("-export-frames");
const QLatin1String kPackAtlas("-pack-atlas");

CommandLineRequest invalid(const QString& error)
{
    CommandLineRequest request;
    request.kind = CommandLineRequest::Invalid;
    request.error = error;
    return request;
}

bool looksLikeOption(const QString& argument)
{
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-'));
}

// Reads the positional arguments of a command from argument 2 on, then hands each option with
// the arguments after it to readOption, which returns how many it took (0: not an option of the
// command) or sets an error.
template <class ReadOption>
CommandLineRequest readCommand(const QStringList& arguments, const QString& command, const QStringList& positionals,
                               CommandLineRequest request, ReadOption readOption)
{
    const QString usage = QStringLiteral("%1 %2").arg(command, positionals.join(QLatin1Char(' ')));
    const int count = positionals.size();
    for (int i = 0; i < count; ++i) {
        const int at = 2 + i;
        if (at >= arguments.size() || looksLikeOption(arguments.at(at))) {
            return invalid(QStringLiteral("%1 needs %2 before any option: %3").arg(command, positionals.at(i), usage));
        }
    }
    for (int i = 2 + count; i < arguments.size();) {
        const QString& argument = arguments.at(i);
        if (!looksLikeOption(argument)) {
            return invalid(QStringLiteral("Unexpected argument \"%1\" after %2.").arg(argument, usage));
        }
        QString error;
        const int taken = readOption(argument, arguments.mid(i + 1), &request, &error);
        if (!error.isEmpty()) {
            return invalid(error);
        }
        if (taken == 0) {
            return invalid(QStringLiteral("Unknown option \"%1\" for %2.").arg(argument, command));
        }
        i += taken;
    }
    return request;
}

// "-fps N" and "-scale P" of -export-frames.
int readFrameOption(const QString& option, const QStringList& rest, CommandLineRequest* request, QString* error)
{
    const bool fps = option == QLatin1String("-fps");
    if (!fps && option != QLatin1String("-scale")) {
        return 0;
    }
    if (rest.isEmpty()) {
        *error = QStringLiteral("%1 needs a value.").arg(option);
        return 0;
    }
    const QString& text = rest.first();
    bool ok = false;
    if (fps) {
        const int value = text.toInt(&ok);
        if (!ok || value < 1 || value > CommandLine::kMaxFps) {
            *error = QStringLiteral("-fps needs a whole number of frames per second from 1 to %1, not \"%2\".")
                         .arg(CommandLine::kMaxFps)
                         .arg(text);
            return 0;
        }
        request->fps = value;
    } else {
        const double value = text.toDouble(&ok);
        if (!ok || !std::isfinite(value) || value <= 0.0 || value > CommandLine::kMaxScale) {
            *error = QStringLiteral("-scale needs a percentage of the canvas size above 0 and at most %1, not \"%2\".")
                         .arg(CommandLine::kMaxScale)
                         .arg(text);
            return 0;
        }
        request->scale = value;
    }
    return 2;
}

} // namespace

CommandLineRequest CommandLine::parse(const QStringList& arguments, const QString& extension)
{
    CommandLineRequest request;
    const QString command = arguments.value(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        request.kind = CommandLineRequest::Help;
        return request;
    }
    // Fewer than three arguments after "-export" are no export; the document among them is opened.
    if (command == kExport && arguments.size() >= 5) {
        request.kind = CommandLineRequest::Export;
        request.document = arguments.at(2);
        request.framesFolder = arguments.at(3);
        request.outputPath = arguments.at(4);
        return readCommand(arguments, kExport,
                           {QStringLiteral("<document>"), QStringLiteral("<frames folder>"), QStringLiteral("<output>")},
                           request, [](const QString& option, const QStringList&, CommandLineRequest* r, QString*) {
                               if (option != QLatin1String("-transparent")) {
                                   return 0;
                               }
                               r->transparent = true;
                               return 1;
                           });
    }
    if (command == kExportFrames) {
        request.kind = CommandLineRequest::ExportFrames;
        request.document = arguments.value(2);
        request.framesFolder = arguments.value(3);
        return readCommand(arguments, kExportFrames, {QStringLiteral("<document>"), QStringLiteral("<folder>")},
                           request, readFrameOption);
    }
    if (command == kPackAtlas) {
        request.kind = CommandLineRequest::PackAtlas;
        request.framesFolder = arguments.value(2);
        request.outputPath = arguments.value(3);
        return readCommand(arguments, kPackAtlas, {QStringLiteral("<png folder>"), QStringLiteral("<output base>")},
                           request, [](const QString&, const QStringList&, CommandLineRequest*, QString*) { return 0; });
    }
    const QString suffix = QLatin1Char('.') + extension;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument.endsWith(suffix, Qt::CaseSensitive) && QFileInfo(argument).isFile()) {
            request.kind = CommandLineRequest::Open;
            request.document = argument;
        }
    }
    return request;
}

QString CommandLine::helpText(const QString& program)
{
    return QStringLiteral(
               "Usage: %1 [document.bsdoc]\n"
               "       %1 <command> <arguments> [options]\n"
               "\n"
               "Without a command the editor opens, with the document when one is given.\n"
               "The commands below never open a window; they run without a display.\n"
               "\n"
               "  -export <document> <frames folder> <output> [-transparent]\n"
               "      Renders the current animation of the document at 240 x 240 pixels and\n"
               "      30 frames per second into the frames folder (0000.png, 0001.png, ...)\n"
               "      and makes an animated image of them with ffmpeg. The output's suffix\n"
               "      chooses the format:\n"
               "      .gif (GIF), .apng or .png (animated PNG), .webp (animated WebP).\n"
               "      -transparent   no background and no canvas frame: the animated PNG\n"
               "                     and WebP keep full alpha, a GIF keeps the pixels that\n"
               "                     are at least half opaque.\n"
               "\n"
               "  -export-frames <document> <folder> [-fps N] [-scale P]\n"
               "      Writes every animation of the document as a PNG sequence with a\n"
               "      transparent background, one subfolder per animation named after it.\n"
               "      -fps N     frames per second, 1 to %2 (default 30)\n"
               "      -scale P   frame size in percent of the canvas size shown in the\n"
               "                 editor, above 0 and at most %3 (default 100)\n"
               "\n"
               "  -pack-atlas <png folder> <output base>\n"
               "      Packs the PNG files of the folder into one texture atlas,\n"
               "      <output base>.png, with its sprite-frame property list,\n"
               "      <output base>.plist, each frame keyed by its file name.\n"
               "\n"
               "  -h, --help\n"
               "      Shows this text.\n"
               "\n"
               "Exit status: 0 done, 1 bad command line, 2 unreadable input, 3 output not\n"
               "written, 4 ffmpeg failed or missing, 5 nothing to export or pack, 6 too many\n"
               "frames, or images too large for one atlas.\n")
        .arg(program)
        .arg(kMaxFps)
        .arg(kMaxScale);
}
