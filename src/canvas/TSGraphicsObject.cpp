#include "TSGraphicsObject.h"

#include "CCArray.h"
#include "TSModel.h"
#include "TSModelCircle.h"
#include "TSPAttributeShape.h"

#include <QPainter>

#include <cmath>

TSGraphicsObject::TSGraphicsObject(TSModel* model, QGraphicsItem* parent) : QGraphicsItem(parent), m_model(model)
{
    setFlags(ItemIsSelectable | ItemSendsScenePositionChanges);
}

void TSGraphicsObject::setPosition(const cocos2d::CCPoint& position)
{
    m_position = position;
    setPos(position.x, position.y);
}

void TSGraphicsObject::setImage(const QImage& image)
{
    prepareGeometryChange();
    m_image = image;
    m_size = image.size();
}

void TSGraphicsObject::setHighlighted(bool highlighted)
{
    m_highlight = highlighted;
    update();
}

QRectF TSGraphicsObject::boundingRect() const
{
    return QRectF(-m_size.width() / 2.0, -m_size.height() / 2.0, m_size.width(), m_size.height());
}

bool TSGraphicsObject::hitTest(const QPointF& scenePoint) const
{
    if (m_image.isNull()) {
        return false;
    }
    const QPointF local = mapFromScene(scenePoint) - boundingRect().topLeft();
    const int x = static_cast<int>(std::floor(local.x()));
    const int y = static_cast<int>(std::floor(local.y()));
    return m_image.valid(x, y) && qAlpha(m_image.pixel(x, y)) != 0;
}

void TSGraphicsObject::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (!m_image.isNull()) {
        painter->drawImage(boundingRect().topLeft(), m_image);
    }
    paintCollisionShape(painter);
}

void TSGraphicsObject::paintCollisionShape(QPainter* painter) const
{
    if (!m_model) {
        return;
    }
    for (cocos2d::CCObject* obj : *m_model->attributes()) {
        auto* attribute = dynamic_cast<TSPAttributeShape*>(obj);
        if (!attribute || !attribute->shape()) {
            continue;
        }
        const std::vector<cocos2d::CCPoint>& points = attribute->shape()->points();
        painter->save();
        painter->setOpacity(0.6);
        painter->setBrush(QBrush(Qt::black, m_highlight ? Qt::Dense7Pattern : Qt::Dense6Pattern));
        if (points.size() < 3) {
            if (!points.empty()) {
                const QPointF centre(points[0].x, points[0].y);
                const QPointF rim = points.size() > 1 ? QPointF(points[1].x, points[1].y) : centre;
                const qreal radius = std::hypot(rim.x() - centre.x(), rim.y() - centre.y());
                painter->drawEllipse(centre, radius, radius);
            }
        } else {
            QPolygonF polygon;
            for (const cocos2d::CCPoint& point : points) {
                polygon << QPointF(point.x, point.y);
            }
            painter->drawPolygon(polygon);
        }
        painter->restore();
    }
}
