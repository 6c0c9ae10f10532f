#pragma once

#include <QString>

/// The folder that holds this user's working folders and temporary archives.
///
/// It is the temporary folder + "/" + bundle id when that is a real folder of this user that it
/// can write into. On a machine shared by several users the first one to run the editor owns
/// that folder, so everybody else gets a private folder in their own cache location instead (or,
/// when home cannot be written, in their runtime folder).
/// Whatever is chosen is made private to the user.
class TSBaseFolder
{
public:
    /// The temporary folder + "/" + bundle id.
    static QString preferredPath();
    /// The per-user fallback in the user's cache location; empty when the user has none.
    static QString fallbackPath();
    /// The last resort when home cannot be written either: the user's runtime folder + "/" +
    /// bundle id; empty when the user has none.
    static QString runtimePath();

    /// Creates path when missing and checks that it is a folder (not a link to one) of this user
    /// that it can write into; makes it private (0700). Otherwise problem says why.
    static bool prepare(const QString& path, QString* problem);

    /// The preferred folder when it can be prepared, else the fallback, else the runtime folder;
    /// empty when none can be used. problem says what is wrong with the preferred folder (and
    /// with the others, when none can be used).
    static QString choose(QString* problem);

    /// Restricts a folder and everything below it to its owner: folders 0700, files 0600.
    /// Returns false when a permission could not be set.
    static bool makePrivate(const QString& path);
};
