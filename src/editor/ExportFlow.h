#pragma once

#include "AnimationEncoder.h"

#include <QObject>
#include <QPointer>
#include <QSize>

#include <optional>

class AnimationCanvas;
class AnimationExporter;
class FrameRenderer;
class Skeleton;
class QWidget;

/// The editor's export as the user walks through it: the export directory, the export dialog,
/// then every animation written as PNG frames behind a progress window and, when the dialog asked
/// for one, an animated image made of each animation's frames.
class ExportFlow : public QObject
{
    Q_OBJECT

public:
    ExportFlow(QWidget* window, AnimationExporter* exporter, FrameRenderer* renderer, AnimationCanvas* canvas,
               Skeleton* skeleton);

public Q_SLOTS:
    /// Asks for the export directory, then shows the export dialog.
    void chooseDirectory();
    /// The export dialog for the canvas frame; its answer goes to exportAs().
    void showDialog();
    /// Remembers size and frame rate and starts the export when a directory is set.
    void exportAs(QSize size, int fps);
    /// Writes every animation as PNG frames into the export directory, then the animated images.
    void run();

private:
    /// Makes "<folder><suffix>" of each folder's frames; false with the reason in error.
    bool encode(const QStringList& folders, QString* error);

    QWidget* m_window;
    QPointer<AnimationExporter> m_exporter;
    QPointer<FrameRenderer> m_renderer;
    QPointer<AnimationCanvas> m_canvas;
    QPointer<Skeleton> m_skeleton;
    QSize m_size;
    int m_fps = 30;
    std::optional<AnimationEncoder::Format> m_format;
};
