#pragma once

#include <QString>
#include <QStringList>

/// What the command line asks of the editor at start-up.
struct CommandLineRequest
{
    enum Kind {
        None,
        Export,       ///< "-export <document> <frames folder> <output> [-transparent]"
        Open,         ///< a document to open in the editor
        Help,         ///< "--help" or "-h"
        ExportFrames, ///< "-export-frames <document> <folder> [-fps N] [-scale P]"
        PackAtlas,    ///< "-pack-atlas <png folder> <output base>"
        Invalid,      ///< one of the commands above, badly formed: see error
    };

    Kind kind = None;
    QString document;     ///< the document to open or to render
    QString framesFolder; ///< export: the folder that receives the frames; export-frames: the folder
                          ///< that receives a subfolder per animation; pack-atlas: the PNG folder
    QString outputPath;   ///< export: the animated image to produce; pack-atlas: the output base
    bool transparent = false; ///< export: frames without a background
    int fps = 30;             ///< export-frames: frames per second
    double scale = 100.0;     ///< export-frames: percent of the canvas size the frames are
    QString error;            ///< Invalid: what is wrong, as a sentence
};

/// The command-line rules, as a plain function of the argument list (argument 0 is the program).
class CommandLine
{
public:
    /// "-export" followed by at least three arguments, "-export-frames", "-pack-atlas", "--help"
    /// and "-h" in argument 1 ask for those commands (Invalid, with the reason, when their
    /// arguments are wrong); otherwise the last argument ending in "." + extension
    /// (case-sensitive) that names an existing file is opened. Options follow a command's
    /// positional arguments, in any order.
    static CommandLineRequest parse(const QStringList& arguments, const QString& extension);

    /// The text of "--help".
    static QString helpText(const QString& program);

    static constexpr int kMaxFps = 1000;
    static constexpr double kMaxScale = 1000.0;
};
