#pragma once

#include "FrameRenderer.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>

class AnimationCanvas;
class DocumentController;
class SceneAxes;
class Skeleton;

/// Writes a document's animations as PNG frame sequences: hides the axes marker (and, for the
/// editor's export, the canvas frame), renders each animation into its own folder and puts
/// everything back afterwards.
/// Owns no widget; the main window shows the progress and the command-line export uses it
/// without a user.
class AnimationExporter : public QObject
{
    Q_OBJECT

public:
    /// Why an export did not start.
    enum class Refusal {
        None,
        NothingToRender, ///< no animation, or one that lasts no time
        TooManyFrames,   ///< an animation needs more than FrameRenderSettings::kMaxFrames frames
    };

    /// How the folder of each animation is named.
    enum class Folders {
        SkeletonAndAnimation, ///< animationFolder(): "<skeleton>_<animation>", as the editor names them
        SafeAnimationName,    ///< the animation's name made safe for the file system, distinct per animation
    };

    struct Result
    {
        int animations = 0; ///< animations rendered completely
        QStringList folders; ///< the folders of the animations rendered completely, in list order
        int frames = 0;     ///< frames written in all
        bool cancelled = false;
        Refusal refused = Refusal::None;
        QString error;
        bool ok() const { return error.isEmpty(); }
    };

    AnimationExporter(DocumentController* document, Skeleton* skeleton, FrameRenderer* renderer,
                      AnimationCanvas* canvas, SceneAxes* axes, QObject* parent = nullptr);

    /// The folder of one animation: "<directory>/<skeleton>_<animation>".
    static QString animationFolder(const QString& directory, const QString& skeletonName,
                                   const QString& animationName);

    /// Every animation of the document, in list order, into animationFolder() folders, with a
    /// transparent background. The current animation is rendered as it is on screen, unsaved
    /// edits included; the others are shown on the skeleton without becoming current, so the
    /// editor (current animation, time, selection, undo history) is as before afterwards.
    /// Nothing is written when any animation needs more frames than the cap.
    Result exportAnimations(const QString& directory, const QSize& size, int fps,
                            Folders folders = Folders::SkeletonAndAnimation);
    /// The current animation only, with the given settings; the axes marker is hidden, the
    /// canvas frame drawn unless told otherwise. Nothing is written when there is no current
    /// animation, when it gives no frame, or when it needs more frames than the cap.
    Result exportCurrent(const FrameRenderSettings& settings, bool drawCanvasFrame = true);

    bool isCancelled() const { return m_cancelled; }

public Q_SLOTS:
    /// Stops after the frame being written; no further animation is started.
    void cancel();

Q_SIGNALS:
    /// Progress over the whole export, 0 to 1.
    void progress(qreal fraction);

private:
    /// True, with the reason in result, when the animation on the skeleton needs more than
    /// FrameRenderSettings::kMaxFrames frames at fps.
    bool refuseTooManyFrames(const QString& animationName, int fps, Result* result) const;

    /// Hides the canvas frame and the axes while alive; shows them as they were afterwards.
    class ChromeHider;
    /// Shows other animations on the skeleton while alive; puts the current one back afterwards.
    class AnimationShelf;

    QPointer<DocumentController> m_document;
    QPointer<Skeleton> m_skeleton;
    QPointer<FrameRenderer> m_renderer;
    QPointer<AnimationCanvas> m_canvas;
    QPointer<SceneAxes> m_axes;
    bool m_cancelled = false;
};
