#include "AnimationExporter.h"

#include "AnimationCanvas.h"
#include "DocumentController.h"
#include "SafeFileName.h"
#include "SceneAxes.h"
#include "Skeleton.h"

#include <map>

class AnimationExporter::ChromeHider
{
public:
    ChromeHider(AnimationCanvas* canvas, SceneAxes* axes) : m_canvas(canvas), m_axes(axes)
    {
        if (m_canvas) {
            m_canvasVisible = m_canvas->isVisible();
            m_canvas->hide();
        }
        if (m_axes) {
            m_axesVisible = m_axes->isVisible();
            m_axes->hide();
        }
    }
    ~ChromeHider()
    {
        if (m_canvas) {
            m_canvas->setVisible(m_canvasVisible);
        }
        if (m_axes) {
            m_axes->setVisible(m_axesVisible);
        }
    }
    ChromeHider(const ChromeHider&) = delete;
    ChromeHider& operator=(const ChromeHider&) = delete;

private:
    AnimationCanvas* m_canvas;
    SceneAxes* m_axes;
    bool m_canvasVisible = false;
    bool m_axesVisible = false;
};

// Other animations are only looked at: they are shown without being made current, which would
// store the current animation in the models, reload it from there and clear the undo history.
// Each animation shown is kept, bound to the nodes, until the shelf goes; then the current
// animation comes back with the very objects and bindings it left with.
class AnimationExporter::AnimationShelf
{
public:
    AnimationShelf(DocumentController* document, Skeleton* skeleton)
        : m_document(document), m_skeleton(skeleton), m_current(document->currentAnimation()),
          m_shown(m_current)
    {
    }
    ~AnimationShelf() { show(m_current); }
    AnimationShelf(const AnimationShelf&) = delete;
    AnimationShelf& operator=(const AnimationShelf&) = delete;

    void show(const QString& identifier)
    {
        if (identifier == m_shown || !m_skeleton || !m_document) {
            return;
        }
        Skeleton::BoundAnimation next;
        const auto kept = m_kept.find(identifier);
        if (kept != m_kept.end()) {
            next = std::move(kept->second);
            m_kept.erase(kept);
        } else {
            next.tracks = m_document->loadTracks(identifier);
        }
        m_kept[m_shown] = m_skeleton->exchangeAnimation(std::move(next));
        m_shown = identifier;
    }

private:
    QPointer<DocumentController> m_document;
    QPointer<Skeleton> m_skeleton;
    const QString m_current;
    QString m_shown;
    std::map<QString, Skeleton::BoundAnimation> m_kept;
};

AnimationExporter::AnimationExporter(DocumentController* document, Skeleton* skeleton,
                                     FrameRenderer* renderer, AnimationCanvas* canvas, SceneAxes* axes,
                                     QObject* parent)
    : QObject(parent), m_document(document), m_skeleton(skeleton), m_renderer(renderer), m_canvas(canvas),
      m_axes(axes)
{
}

QString AnimationExporter::animationFolder(const QString& directory, const QString& skeletonName,
                                           const QString& animationName)
{
    return QStringLiteral("%1/%2_%3").arg(directory, skeletonName, animationName);
}

void AnimationExporter::cancel()
{
    m_cancelled = true;
    if (m_renderer) {
        m_renderer->abort();
    }
}

bool AnimationExporter::refuseTooManyFrames(const QString& animationName, int fps, Result* result) const
{
    const int frames = FrameRenderSettings::frameCount(m_skeleton->duration(), fps, m_skeleton->timeScale());
    if (frames <= FrameRenderSettings::kMaxFrames) {
        return false;
    }
    result->refused = Refusal::TooManyFrames;
    result->error = QStringLiteral("The animation \"%1\" is too long to export. %2 Nothing was exported.")
                        .arg(animationName, FrameRenderSettings::tooManyFramesMessage(fps));
    return true;
}

AnimationExporter::Result AnimationExporter::exportAnimations(const QString& directory, const QSize& size, int fps,
                                                              Folders folders)
{
    Result result;
    m_cancelled = false;
    if (!m_document || !m_skeleton || !m_renderer || !m_canvas) {
        result.error = QStringLiteral("Nothing to export.");
        return result;
    }
    const QList<DocumentController::Animation> animations = m_document->animations();
    const int count = animations.size();
    AnimationShelf shelf(m_document, m_skeleton);
    // Every animation is measured before anything is written. It is measured as shown: binding
    // it to the nodes may add default tracks, which count towards its length.
    for (const DocumentController::Animation& animation : animations) {
        shelf.show(animation.identifier);
        if (refuseTooManyFrames(animation.name, fps, &result)) {
            return result;
        }
    }

    QStringList folderNames;
    QStringList safeNames;
    for (const DocumentController::Animation& animation : animations) {
        if (folders == Folders::SafeAnimationName) {
            safeNames << SafeFileName::unique(animation.name, safeNames);
            folderNames << directory + QLatin1Char('/') + safeNames.last();
        } else {
            folderNames << animationFolder(directory, m_document->skeletonName(), animation.name);
        }
    }

    int index = 0;
    const QMetaObject::Connection reporting =
        connect(m_renderer, &FrameRenderer::exportProgress, this, [this, &index, count](qreal fraction) {
            Q_EMIT progress((index + fraction) / count);
        });
    {
        const ChromeHider hider(m_canvas, m_axes);
        for (; index < count && !m_cancelled; ++index) {
            const DocumentController::Animation& animation = animations.at(index);
            shelf.show(animation.identifier);
            FrameRenderSettings settings;
            settings.folder = folderNames.at(index);
            settings.rect = m_canvas->canvasRect();
            settings.size = size;
            settings.fps = fps;
            settings.background = Qt::transparent;
            const FrameRenderer::Result rendered = m_renderer->renderFrames(settings);
            result.frames += rendered.frames;
            if (!rendered.ok()) {
                result.error = rendered.error;
                break;
            }
            if (!rendered.aborted) {
                ++result.animations;
                result.folders << settings.folder;
                Q_EMIT progress(static_cast<qreal>(index + 1) / count);
            }
        }
    }
    disconnect(reporting);
    result.cancelled = m_cancelled;
    return result;
}

AnimationExporter::Result AnimationExporter::exportCurrent(const FrameRenderSettings& settings,
                                                           bool drawCanvasFrame)
{
    Result result;
    m_cancelled = false;
    if (!m_document || !m_skeleton || !m_renderer) {
        result.error = QStringLiteral("Nothing to export.");
        return result;
    }
    const QString name = m_document->currentAnimationName();
    if (m_document->currentAnimation().isEmpty()) {
        result.refused = Refusal::NothingToRender;
        result.error = QStringLiteral("Nothing to export: the document has no animation.");
        return result;
    }
    if (FrameRenderSettings::frameCount(m_skeleton->duration(), settings.fps, m_skeleton->timeScale()) == 0) {
        result.refused = Refusal::NothingToRender;
        result.error =
            QStringLiteral("Nothing to export: the animation \"%1\" has a duration of 0.").arg(name);
        return result;
    }
    if (refuseTooManyFrames(name, settings.fps, &result)) {
        return result;
    }
    const QMetaObject::Connection reporting =
        connect(m_renderer, &FrameRenderer::exportProgress, this, &AnimationExporter::progress);
    FrameRenderer::Result rendered;
    {
        // The canvas frame stays in the picture unless told otherwise, as it always has in the
        // command-line GIF.
        const ChromeHider hider(drawCanvasFrame ? nullptr : m_canvas.data(), m_axes);
        rendered = m_renderer->renderFrames(settings);
    }
    disconnect(reporting);
    result.frames = rendered.frames;
    result.error = rendered.error;
    result.cancelled = m_cancelled;
    result.animations = rendered.ok() && !rendered.aborted ? 1 : 0;
    return result;
}
