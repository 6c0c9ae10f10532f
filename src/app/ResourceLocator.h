#pragma once

#include <QString>
#include <QStringList>

/// Finds the data that ships with the program: the template library ("animations",
/// "projects") and the default asset groups ("assets"). The data sits in "Resources/" beside
/// the program in the build tree and in a self-contained folder, and in "share/bonestage/"
/// under the installation prefix when the program is installed into "bin/".
class ResourceLocator
{
public:
    /// The folders that may hold the data, in the order they are searched: "Resources" beside
    /// the program first, then the installed data folder found relative to the program.
    static QStringList searchFolders(const QString& programFolder);
    /// The path of name (a file or folder relative to a data folder) in the first search folder
    /// that has it; the path beside the program when none has it.
    static QString locate(const QString& name, const QString& programFolder);
    /// locate() for the running program.
    static QString locate(const QString& name);
};
