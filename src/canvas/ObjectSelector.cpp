#include "ObjectSelector.h"

#include "ItemData.h"
#include "ObjectManipulator.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QPen>

namespace {

const QColor kBandColor(138, 177, 222);
constexpr qreal kBandZ = 1000001.0;

} // namespace

ObjectSelector::ObjectSelector(ObjectManipulator* manipulator, QGraphicsItem* parent)
    : QObject(nullptr), QGraphicsRectItem(parent), m_manipulator(manipulator)
{
    QColor fill = kBandColor;
    fill.setAlpha(128);
    setBrush(fill);
    QPen pen(kBandColor);
    pen.setCosmetic(true);
    setPen(pen);
    setZValue(kBandZ);
    hide();
}

bool ObjectSelector::isSelectable(const QGraphicsItem* item)
{
    return (item->flags() & ItemIsSelectable) && !item->data(ItemData::IsBone).toBool();
}

void ObjectSelector::sceneMousePress(QGraphicsSceneMouseEvent* event)
{
    QGraphicsScene* canvas = scene();
    if (!event || !canvas || event->button() != Qt::LeftButton) {
        return;
    }
    if (m_resetCursor) {
        for (QGraphicsView* view : canvas->views()) {
            view->viewport()->unsetCursor();
        }
    }
    // Over anything that can be picked the item takes the press.
    for (const QGraphicsItem* item : canvas->items(event->scenePos())) {
        if (item->flags() & (ItemIsSelectable | ItemIsFocusable)) {
            return;
        }
    }
    if (canvas->mouseGrabberItem()) {
        return;
    }
    m_pressPoint = event->scenePos();
    const bool adding = event->modifiers() & Qt::ControlModifier;
    m_items = adding && m_manipulator ? m_manipulator->targets() : QList<QGraphicsItem*>();
    setRect(QRectF(m_pressPoint, QSizeF(0, 0)));
    show();
    if (m_manipulator && !adding) {
        m_manipulator->setTargets({});
    }
}

void ObjectSelector::sceneMouseMove(QGraphicsSceneMouseEvent* event)
{
    if (!event || !isVisible() || !scene()) {
        return;
    }
    const QRectF band = QRectF(m_pressPoint, event->scenePos()).normalized();
    setRect(band);
    QList<QGraphicsItem*> targets = m_items;
    for (QGraphicsItem* item : scene()->items(band, Qt::IntersectsItemShape)) {
        if (item != this && isSelectable(item) && !targets.contains(item)) {
            targets.append(item);
        }
    }
    if (m_manipulator && targets != m_manipulator->targets()) {
        m_manipulator->setTargets(targets);
    }
}

void ObjectSelector::sceneMouseRelease(QGraphicsSceneMouseEvent*)
{
    hide();
    setRect(QRectF());
    m_items.clear();
}
