#include "AnimationCanvas.h"

#include "ScreenScale.h"

#include <QCursor>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QPainter>

#include <cmath>

namespace {

const QColor kHandleColor(76, 76, 76);
const QColor kHoverColor(112, 112, 112);

int roundHalfAwayFromZero(double value)
{
    return static_cast<int>(value < 0 ? std::ceil(value - 0.5) : std::floor(value + 0.5));
}

} // namespace

AnimationCanvas::AnimationCanvas(QGraphicsItem* parent) : QGraphicsItem(parent)
{
    m_screenScale = ScreenScale::of(nullptr);
    for (size_t i = 0; i < m_handles.size(); ++i) {
        auto* handle = new QGraphicsRectItem(this);
        handle->setPen(QPen(Qt::transparent));
        handle->setBrush(kHandleColor);
        handle->setAcceptHoverEvents(true);
        handle->setCursor(i % 2 == 0 ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        m_handles[i] = handle;
    }
    m_label = new QGraphicsSimpleTextItem(this);
    m_label->setBrush(QColor(150, 150, 150));
    m_label->setAcceptHoverEvents(true);
    m_label->setCursor(Qt::PointingHandCursor);
    viewZoomChanged(1.0f);
}

QString AnimationCanvas::labelText(const QRectF& rect)
{
    return QStringLiteral("%1x%2")
        .arg(roundHalfAwayFromZero(rect.width() * kLabelScale))
        .arg(roundHalfAwayFromZero(rect.height() * kLabelScale));
}

std::optional<QRectF> AnimationCanvas::rectForLabelText(const QRectF& rect, const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2) {
        return std::nullopt;
    }
    bool wide = false;
    bool high = false;
    const double width = parts.at(0).trimmed().toDouble(&wide) / kLabelScale;
    const double height = parts.at(1).trimmed().toDouble(&high) / kLabelScale;
    // Not NaN, not zero or less, not beyond the scene.
    if (!wide || !high || !(width > 0 && width < 1e5) || !(height > 0 && height < 1e5)) {
        return std::nullopt;
    }
    return QRectF(rect.center().x() - width / 2, rect.center().y() - height / 2, width, height);
}

void AnimationCanvas::setCanvasRect(const QRectF& rect)
{
    prepareGeometryChange();
    m_rect = rect.normalized();
    layout();
    update();
}

void AnimationCanvas::viewZoomChanged(float zoom)
{
    m_zoom = zoom > 0 ? zoom : 1.0f;
    m_handleSize = kHandleSize * m_screenScale / m_zoom;
    m_labelSize = kLabelPixelSize * m_screenScale / m_zoom;
    QFont font = m_label->font();
    font.setPixelSize(std::max(1, static_cast<int>(std::round(kLabelPixelSize * m_screenScale))));
    m_label->setFont(font);
    m_label->setScale(1.0 / m_zoom);
    prepareGeometryChange();
    layout();
}

void AnimationCanvas::layout()
{
    const QPointF corners[4] = {m_rect.topLeft(), m_rect.topRight(), m_rect.bottomRight(), m_rect.bottomLeft()};
    for (size_t i = 0; i < m_handles.size(); ++i) {
        m_handles[i]->setRect(QRectF(corners[i].x() - m_handleSize / 2, corners[i].y() - m_handleSize / 2,
                                     m_handleSize, m_handleSize));
    }
    m_label->setText(labelText(m_rect));
    const QRectF text = m_label->boundingRect();
    const double width = text.width() * m_label->scale();
    const double height = text.height() * m_label->scale();
    m_label->setPos(m_rect.center().x() - width / 2, m_rect.top() - 5.0 / m_zoom - height);
}

QRectF AnimationCanvas::boundingRect() const
{
    // The whole visible area, so the frame repaints wherever the view looks.
    QRectF area = m_rect.adjusted(-m_handleSize, -m_handleSize, m_handleSize, m_handleSize);
    if (scene()) {
        for (QGraphicsView* view : scene()->views()) {
            area = area.united(view->mapToScene(view->viewport()->rect()).boundingRect());
        }
    }
    return area;
}

void AnimationCanvas::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->save();
    painter->setBrush(QColor(80, 80, 80, 32));
    painter->setPen(QPen(kHandleColor, m_screenScale / m_zoom, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->drawRect(m_rect);
    painter->restore();
}

QVariant AnimationCanvas::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemSceneHasChanged && scene()) {
        for (QGraphicsRectItem* handle : m_handles) {
            handle->installSceneEventFilter(this);
        }
        m_label->installSceneEventFilter(this);
    }
    return QGraphicsItem::itemChange(change, value);
}

int AnimationCanvas::handleIndex(const QGraphicsItem* item) const
{
    for (size_t i = 0; i < m_handles.size(); ++i) {
        if (m_handles[i] == item) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool AnimationCanvas::sceneEventFilter(QGraphicsItem* watched, QEvent* event)
{
    const int index = handleIndex(watched);
    switch (event->type()) {
    case QEvent::GraphicsSceneHoverEnter:
        if (index >= 0) {
            static_cast<QGraphicsRectItem*>(watched)->setBrush(kHoverColor);
            m_label->setBrush(Qt::white);
        } else if (watched == m_label) {
            m_label->setBrush(Qt::white);
        }
        return false;
    case QEvent::GraphicsSceneHoverLeave:
        if (index >= 0) {
            static_cast<QGraphicsRectItem*>(watched)->setBrush(kHandleColor);
        }
        m_label->setBrush(QColor(150, 150, 150));
        return false;
    case QEvent::GraphicsSceneMousePress: {
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        if (watched == m_label) {
            Q_EMIT textEditingRequested(m_label->sceneBoundingRect());
            return true;
        }
        if (index < 0) {
            return false;
        }
        m_dragged = index;
        m_pressRect = m_rect;
        m_pressScene = mouse->scenePos();
        m_grabOffset = watched->sceneBoundingRect().center() - mouse->scenePos();
        mouse->accept();
        return true;
    }
    case QEvent::GraphicsSceneMouseMove: {
        if (m_dragged < 0) {
            return false;
        }
        auto* mouse = static_cast<QGraphicsSceneMouseEvent*>(event);
        QPointF point = mouse->scenePos();
        if (mouse->modifiers() & Qt::ShiftModifier) {
            const QPointF delta = point - m_pressScene;
            point = std::abs(delta.x()) >= std::abs(delta.y()) ? QPointF(point.x(), m_pressScene.y())
                                                               : QPointF(m_pressScene.x(), point.y());
        }
        const QPointF corner = mapFromScene(point + m_grabOffset);
        QRectF rect = m_pressRect;
        switch (m_dragged) {
        case 0:
            rect.setTopLeft(corner);
            break;
        case 1:
            rect.setTopRight(corner);
            break;
        case 2:
            rect.setBottomRight(corner);
            break;
        default:
            rect.setBottomLeft(corner);
            break;
        }
        setCanvasRect(rect);
        return true;
    }
    case QEvent::GraphicsSceneMouseRelease:
        if (m_dragged < 0) {
            return false;
        }
        m_dragged = -1;
        if (m_rect != m_pressRect) {
            Q_EMIT canvasRectChangedFromTo(m_pressRect, m_rect);
            Q_EMIT canvasRectChanged(m_rect);
        }
        return true;
    default:
        return false;
    }
}
