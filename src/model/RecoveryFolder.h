#pragma once

#include "RecoveryManifest.h"

#include <QLatin1String>
#include <QString>

/// Where a working folder keeps its recovery state, and how a state is read back.
///
/// The state lives in the folder "recovery" of the working folder: a manifest, "manifest.json",
/// and the folder it names, which holds the model files and the pictures laid out as in a working
/// folder. A new state goes into a new folder and becomes the state only when the manifest that
/// names it has replaced the old manifest in one rename; so whenever a writer stops, the manifest
/// names a complete state. Documents never carry the recovery folder.
class RecoveryFolder
{
public:
    static const QLatin1String kName;

    /// The recovery folder of a working folder.
    static QString path(const QString& workingPath);
    static QString manifestPath(const QString& workingPath);
    /// Reads the manifest of a working folder's recovery state; problem says why a state is
    /// Unusable.
    static RecoveryManifest::Status read(const QString& workingPath, RecoveryManifest* manifest,
                                         QString* problem = nullptr);
    /// Copies the files of the state that manifest names into target (a working folder); false
    /// with the reason in error.
    static bool restore(const QString& workingPath, const RecoveryManifest& manifest, const QString& target,
                        QString* error);
};
