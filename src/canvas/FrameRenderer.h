#pragma once

#include "FrameRenderSettings.h"

#include <QObject>
#include <QPointer>

class ObjectManipulator;
class QGraphicsScene;
class Skeleton;

/// Renders the skeleton's current animation into numbered PNG files: poses the scene at each
/// frame time, draws the settings' rectangle into an image and writes it scaled to the
/// requested size. The skeleton's time, its display switches and the manipulator's targets are
/// as before afterwards.
class FrameRenderer : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        int frames = 0; ///< frames written
        bool aborted = false;
        QString error;  ///< why writing stopped; empty when every frame was written
        bool ok() const { return error.isEmpty(); }
    };

    FrameRenderer(Skeleton* skeleton, QGraphicsScene* scene, ObjectManipulator* manipulator,
                  QObject* parent = nullptr);

    Result renderFrames(const FrameRenderSettings& settings);
    bool isRendering() const { return m_rendering; }

public Q_SLOTS:
    /// Stops a running render after the frame being written.
    void abort() { m_abort = true; }

Q_SIGNALS:
    /// Part of the animation written so far, 0 to 1; at most every 500 ms of rendering.
    void exportProgress(qreal progress);

private:
    QPointer<Skeleton> m_skeleton;
    QPointer<QGraphicsScene> m_scene;
    QPointer<ObjectManipulator> m_manipulator;
    bool m_abort = false;
    bool m_rendering = false;
};
