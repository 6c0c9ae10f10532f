#pragma once

#include "RecoveryManifest.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

class TSModelController;

/// The open project as a recovery state holds it, taken on the GUI thread and written on another:
/// the model files as finished text and the pictures as (implicitly shared) images, so that the
/// writer touches no model and the expensive part, encoding pictures, happens off the GUI thread.
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

    /// The controller's models as the model files of a save would hold them, and every picture
    /// that a save would write into the working folder. Stores the id counter in the general
    /// settings, as a save does.
    static RecoverySnapshot take(TSModelController* controller, const RecoveryManifest& manifest);
};
