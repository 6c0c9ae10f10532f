#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

#include <memory>

class QGraphicsScene;
class Skeleton;

/// A template's character on a scene of its own, apart from the open document: the nodes and
/// placeholder images of a template folder, posed by one of its animations. It frames templates
/// and draws their previews.
class TemplateStage
{
public:
    /// folder is a template folder of the template library.
    explicit TemplateStage(const QString& folder);
    ~TemplateStage();

    bool isEmpty() const;
    /// Poses the character by the template animation at path (an animation identifier).
    void setAnimation(const QString& path);
    /// Length of the current animation, milliseconds.
    float duration() const;
    void showMoment(float milliseconds);

    /// The scene rectangle the images cover in the current pose.
    QRectF imageBounds() const;
    /// The scene rectangle the images cover at rest and over the whole of every animation of the
    /// template, sampled `samples` times each.
    QRectF motionBounds(int samples = 32);

    /// The scene area source drawn into an image of size logical pixels at the given pixel ratio.
    QImage picture(const QRectF& source, const QSize& size, qreal devicePixelRatio, const QColor& background);

    /// The picture of a template the welcome window shows: the character a quarter into its
    /// first animation, centred, with a margin. Null when the template has no images.
    static QImage preview(const QString& folder, const QSize& size, qreal devicePixelRatio,
                          const QColor& background);

private:
    QString m_folder;
    std::unique_ptr<QGraphicsScene> m_scene;
    std::unique_ptr<Skeleton> m_skeleton;
};
