#pragma once

#include "CCGeometry.h"

#include <QGraphicsItem>
#include <QImage>

class TSModel;

/// A placed object of the framework: shows its model's image and, when the model carries a
/// collision shape, that shape; hit only where the image is not transparent.
class TSGraphicsObject : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };

    explicit TSGraphicsObject(TSModel* model = nullptr, QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }
    TSModel* model() const { return m_model; }
    cocos2d::CCPoint position() const { return m_position; }
    void setPosition(const cocos2d::CCPoint& position);
    QImage image() const { return m_image; }
    void setImage(const QImage& image);
    bool isHighlighted() const { return m_highlight; }
    void setHighlighted(bool highlighted);

    /// Whether the image under a scene point is not transparent.
    bool hitTest(const QPointF& scenePoint) const;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    void paintCollisionShape(QPainter* painter) const;

    TSModel* m_model;
    cocos2d::CCPoint m_position;
    QSize m_size = QSize(0, 0);
    bool m_highlight = false;
    QImage m_image;
};
