#include "TemplateStage.h"

#include "AnimationJson.h"
#include "Skeleton.h"
#include "SkeletonJson.h"
#include "TemplateLibrary.h"

#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QPainter>

#include <algorithm>
#include <cmath>

TemplateStage::TemplateStage(const QString& folder)
    : m_folder(folder), m_scene(std::make_unique<QGraphicsScene>()),
      m_skeleton(std::make_unique<Skeleton>(m_scene.get(), nullptr, nullptr))
{
    m_skeleton->setNodes(SkeletonJson::readSkeleton(folder));
    for (const SkeletonJson::DummyImage& image : SkeletonJson::readDummyImages(folder)) {
        m_skeleton->addImage(image.nodeName, image.image, image.transform, false);
    }
    m_skeleton->setSkeletonVisible(false);
}

TemplateStage::~TemplateStage()
{
    // The skeleton's items live on the scene: the skeleton goes first.
    m_skeleton.reset();
}

bool TemplateStage::isEmpty() const
{
    return m_skeleton->images().empty();
}

void TemplateStage::setAnimation(const QString& path)
{
    m_skeleton->setAnimation(AnimationJson::readAnimation(path));
}

float TemplateStage::duration() const
{
    return m_skeleton->duration() * 1000.0f;
}

void TemplateStage::showMoment(float milliseconds)
{
    m_skeleton->showMoment(milliseconds);
}

QRectF TemplateStage::imageBounds() const
{
    QRectF bounds;
    for (const auto& asset : m_skeleton->images()) {
        bounds = bounds.united(asset->item->sceneBoundingRect());
    }
    return bounds;
}

QRectF TemplateStage::motionBounds(int samples)
{
    QRectF bounds = imageBounds();
    for (const TemplateLibrary::Animation& animation : TemplateLibrary::listAnimations(m_folder)) {
        setAnimation(animation.first);
        for (int i = 0; i <= samples; ++i) {
            showMoment(duration() * static_cast<float>(i) / static_cast<float>(samples));
            bounds = bounds.united(imageBounds());
        }
    }
    return bounds;
}

QImage TemplateStage::picture(const QRectF& source, const QSize& size, qreal devicePixelRatio,
                              const QColor& background)
{
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    m_scene->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), source, Qt::KeepAspectRatio);
    return image;
}

QImage TemplateStage::preview(const QString& folder, const QSize& size, qreal devicePixelRatio,
                              const QColor& background)
{
    TemplateStage stage(folder);
    if (stage.isEmpty()) {
        return QImage();
    }
    const QList<TemplateLibrary::Animation> animations = TemplateLibrary::listAnimations(folder);
    if (!animations.isEmpty()) {
        stage.setAnimation(animations.first().first);
        stage.showMoment(stage.duration() * 0.25f);
    }
    const QRectF bounds = stage.imageBounds();
    const double side = std::max(bounds.width(), bounds.height()) * 1.12;
    const QRectF source(bounds.center().x() - side / 2, bounds.center().y() - side / 2, side, side);
    return stage.picture(source, size, devicePixelRatio, background);
}
