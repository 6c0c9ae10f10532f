#pragma once

#include "RecoveryManifest.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

class TSModelController;

/// The open project as a recovery state holds it, taken on the GUI thread and written on another:
/// the model files as finished text and the pictures as (implicitly shared) images, so that the
/// writer touches no model and encoding the pictures happens off the GUI thread.
struct RecoverySnapshot
{
    struct File
    {
        QString name; ///< relative to the state folder, "/" separated
        QByteArray content;
    };
    struct Picture
    {
        QString name; ///< relative to the state folder, "/" separated
        QImage image;
    };

    QString workingPath; ///< the working folder whose recovery folder receives the state
    RecoveryManifest manifest;
    QList<File> files;
    QList<Picture> pictures;

    /// The whole snapshot at once (RecoverySnapshotBuilder without a time limit).
    static RecoverySnapshot take(TSModelController* controller, const RecoveryManifest& manifest);
};
