#pragma once

#include <QString>
#include <QStringList>

/// What the command line asks of the editor at start-up.
struct CommandLineRequest
{
    enum Kind { None, Export, Open };

    Kind kind = None;
    QString document;     ///< the document to open or to render
    QString framesFolder; ///< export only: the folder that receives the frames
    QString gifPath;      ///< export only: the GIF to produce
};

/// The command-line rules, as a plain function of the argument list (argument 0 is the program).
class CommandLine
{
public:
    /// Exactly five arguments with "-export" first ask for the export; otherwise the last
    /// argument ending in "." + extension (case-sensitive) that names an existing file is opened.
    static CommandLineRequest parse(const QStringList& arguments, const QString& extension);
};
