#include "TSGraphicsScene.h"

#include <QGraphicsItem>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPainterPath>

TSGraphicsScene::TSGraphicsScene(QObject* parent) : QGraphicsScene(parent)
{
    // During playback every joint and image moves on every frame. An index of item positions
    // would be torn down and rebuilt for all of them each time, which costs far more than the
    // plain walk over a few hundred items that hit tests and painting do without one.
    setItemIndexMethod(QGraphicsScene::NoIndex);
}

void TSGraphicsScene::setFrameShown(bool shown)
{
    m_frameShown = shown;
    update();
}

void TSGraphicsScene::setFrameSize(const QSize& size)
{
    m_frameSize = size;
    update();
}

void TSGraphicsScene::setManipulator(QGraphicsItem* manipulator)
{
    m_manipulator = manipulator;
    if (manipulator && manipulator->scene() != this) {
        addItem(manipulator);
    }
}

void TSGraphicsScene::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    QGraphicsScene::mousePressEvent(event);
    Q_EMIT mousePressSignal(event);
}

void TSGraphicsScene::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    Q_EMIT mouseMoveSignal(event);
    QGraphicsScene::mouseMoveEvent(event);
}

void TSGraphicsScene::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    Q_EMIT mouseReleaseSignal(event);
    QGraphicsScene::mouseReleaseEvent(event);
}

void TSGraphicsScene::drawForeground(QPainter* painter, const QRectF& rect)
{
    QGraphicsScene::drawForeground(painter, rect);
    if (!m_frameShown) {
        return;
    }
    const int w = m_frameSize.width();
    const int h = m_frameSize.height();
    const QRectF frame(0, -h, w, h);
    painter->save();
    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    // The scene's own rectangle only bounds its items and may not hold the frame; what is
    // exposed, together with the frame, always does.
    outside.addRect(rect.united(frame));
    outside.addRect(frame);
    painter->setOpacity(0.5);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(70, 70, 70));
    painter->drawPath(outside);
    painter->setOpacity(1.0);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(QColor(90, 90, 90), 3));
    painter->drawRect(frame);
    painter->drawText(QRectF(0, -h - 20, w, 20), Qt::AlignCenter,
                      QString::number(w) + QStringLiteral(" x ") + QString::number(h));
    painter->restore();
}
