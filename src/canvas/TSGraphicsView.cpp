#include "TSGraphicsView.h"

#include "ScreenScale.h"
#include "TSApplicationSettings.h"
#include "TSAssetsSpriteGraphicsItem.h"
#include "TSDropZone.h"
#include "TSGraphicsButton.h"
#include "TSGraphicsLinker.h"
#include "TSGraphicsManipulator.h"
#include "TSGraphicsNode.h"
#include "TSGraphicsObject.h"
#include "TSMessageBox.h"
#include "TSModel.h"
#include "TSModelController.h"

#include <QDragEnterEvent>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QTreeWidget>

#include <cmath>
#include <utility>

namespace {

int roundHalfAwayFromZero(double value)
{
    return static_cast<int>(value < 0 ? std::ceil(value - 0.5) : std::floor(value + 0.5));
}

cocos2d::CCPoint toPoint(const QPointF& point)
{
    return cocos2d::CCPoint{static_cast<float>(point.x()), static_cast<float>(point.y())};
}

} // namespace

TSGraphicsView::TSGraphicsView(QWidget* parent) : QGraphicsView(parent)
{
    qRegisterMetaType<TSLevelEditorDropElementType>();
    qRegisterMetaType<Qt::Key>();
    setAcceptDrops(true);
    setSceneRect(-15000, -15000, 30000, 30000);
    setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    setFocusPolicy(Qt::StrongFocus);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::AnchorViewCenter);
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    // The background drawn first covers all that is exposed, so the viewport need not be filled
    // before it on every frame.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    layoutButtons();
}

TSGraphicsView::~TSGraphicsView() = default;

void TSGraphicsView::setZoom(float factor)
{
    m_zoomFactor = factor;
    setTransform(QTransform::fromScale(factor, factor));
    Q_EMIT scaleChanged(factor);
}

void TSGraphicsView::resetZoom()
{
    scale(1.0 / m_zoomFactor, 1.0 / m_zoomFactor);
    m_zoomFactor = 1.0f;
    const QSize size = viewport()->size();
    fitInView(QRectF(-size.width() / 2.0, -size.height() / 2.0, size.width(), size.height()), Qt::KeepAspectRatio);
}

void TSGraphicsView::fitRect(const QRectF& rect)
{
    resetZoom();
    if (rect.width() <= 0 || rect.height() <= 0) {
        centerOn(rect.center());
        return;
    }
    const QRectF grown = rect.adjusted(-rect.width() * 0.1, -rect.height() * 0.1, rect.width() * 0.1,
                                       rect.height() * 0.1);
    fitInView(grown, Qt::KeepAspectRatio);
    const QSize size = viewport()->size();
    setZoom(static_cast<float>(std::min(size.width() / grown.width(), size.height() / grown.height())));
    centerOn(rect.center());
}

TSGraphicsButton* TSGraphicsView::addButton(const QIcon& icon, const QString& toolTip)
{
    // 28 pixels square on a 96 DPI screen.
    const int side = ScreenScale::pixels(28, this);
    auto* button = new TSGraphicsButton(this, QSize(side, side));
    button->setIcon(icon);
    button->setToolTip(toolTip);
    m_buttons.append(button);
    layoutButtons();
    return button;
}

void TSGraphicsView::layoutButtons()
{
    const int width = viewport()->width();
    for (int i = 0; i < m_buttons.size(); ++i) {
        TSGraphicsButton* button = m_buttons.at(i);
        const QSize size = button->rect().size();
        button->setRect(QRect(QPoint(width - (size.width() + 5) * i - (size.width() + 5), 5), size));
    }
}

void TSGraphicsView::setOriginMarkerShown(bool shown)
{
    m_originMarkerShown = shown;
    viewport()->update();
}

QString TSGraphicsView::firstNonPngFile(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        QImageReader reader(path);
        if (QString::fromLatin1(reader.format()).compare(QLatin1String("png"), Qt::CaseInsensitive) != 0) {
            return path;
        }
    }
    return QString();
}

int TSGraphicsView::gridStep(const QTransform& worldTransform)
{
    return worldTransform.mapRect(QRectF(0, 0, 60, 60)).width() >= 61.0 ? 20 : 60;
}

void TSGraphicsView::wheelEvent(QWheelEvent* event)
{
    const double delta = event->angleDelta().y();
    const double step = 1.0 + std::abs(delta / 1000.0);
    float factor = m_zoomFactor;
    if (delta > 0) {
        if (!(factor > kMaxZoom)) {
            factor = static_cast<float>(factor * step);
        }
    } else if (!(factor < kMinZoom)) {
        factor = static_cast<float>(factor / step);
    }
    const QPoint cursor = event->position().toPoint();
    const QPointF anchor = mapToScene(cursor);
    m_zoomFactor = factor;
    setTransform(QTransform::fromScale(factor, factor));
    Q_EMIT scaleChanged(factor);
    // Keep the scene point under the cursor where it was.
    const QPointF moved = mapFromScene(anchor);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + roundHalfAwayFromZero(moved.x() - cursor.x()));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + roundHalfAwayFromZero(moved.y() - cursor.y()));
    Q_EMIT wheelEventSignal(event);
    event->accept();
}

TSGraphicsButton* TSGraphicsView::buttonAt(const QPoint& pos) const
{
    for (TSGraphicsButton* button : m_buttons) {
        if (button->isEnabled() && button->rect().contains(pos)) {
            return button;
        }
    }
    return nullptr;
}

bool TSGraphicsView::offerPressToButtons(const QPoint& pos)
{
    TSGraphicsButton* button = buttonAt(pos);
    if (!button) {
        return false;
    }
    button->setChecked(!button->isChecked());
    viewport()->update();
    return true;
}

void TSGraphicsView::showButtonTip(const TSGraphicsButton* button, const QPoint& globalPos)
{
    // Tied to the button's rectangle, so the tip goes once the pointer leaves the button.
    QToolTip::showText(globalPos, button->toolTip(), viewport(), button->rect(), 10000);
}

void TSGraphicsView::startHandDrag()
{
    setDragMode(ScrollHandDrag);
    setInteractive(false);
}

void TSGraphicsView::endHandDrag()
{
    setDragMode(NoDrag);
    setInteractive(true);
}

void TSGraphicsView::mousePressEvent(QMouseEvent* event)
{
    m_spaceTap = false;
    Q_EMIT mousePressSignal(event);
    if (offerPressToButtons(event->pos())) {
        event->accept();
        return;
    }
    viewport()->update();
    if (dragMode() == ScrollHandDrag) {
        QGraphicsView::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        m_middlePanning = true;
        startHandDrag();
        event->accept();
        // The hand drag starts from a left press at the same place.
        QMouseEvent press(QEvent::MouseButtonPress, event->localPos(), event->windowPos(), event->screenPos(),
                          Qt::LeftButton, Qt::LeftButton, event->modifiers());
        QGraphicsView::mousePressEvent(&press);
        return;
    }
    if (event->button() == Qt::RightButton) {
        Q_EMIT customContextMenuRequested(event);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        dispatchLeftPress(event);
    }
    QGraphicsView::mousePressEvent(event);
}

void TSGraphicsView::dispatchLeftPress(QMouseEvent* event)
{
    const QPointF scenePoint = mapToScene(event->pos());
    const bool backgroundLocked = TSApplicationSettings::instance()->backgroundSelectionLockMode();
    for (QGraphicsItem* item : items(event->pos())) {
        if (!(item->flags() & QGraphicsItem::ItemIsSelectable)) {
            continue;
        }
        switch (item->type()) {
        case TSGraphicsManipulator::Type:
            return;
        case TSGraphicsObject::Type: {
            auto* object = static_cast<TSGraphicsObject*>(item);
            const bool lockedBackground = backgroundLocked && object->model() &&
                                          object->model()->className() == "TSModelObjectBackground";
            if (lockedBackground || !object->hitTest(scenePoint)) {
                continue;
            }
            Q_EMIT objectDidSelected(object, scenePoint);
            return;
        }
        case TSGraphicsLinker::Type:
            Q_EMIT linkerDidSelected(static_cast<TSGraphicsLinker*>(item));
            return;
        case TSGraphicsNode::Type:
            Q_EMIT nodeDidSelected(static_cast<TSGraphicsNode*>(item));
            return;
        case TSAssetsSpriteGraphicsItem::Type:
            Q_EMIT spriteDidSelected(static_cast<TSAssetsSpriteGraphicsItem*>(item));
            return;
        default:
            break;
        }
    }
    Q_EMIT objectDidSelected(nullptr, QPointF(0, 0));
    Q_EMIT nodeDidSelected(nullptr);
}

void TSGraphicsView::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT mouseReleaseSignal(event);
    if (m_middlePanning) {
        m_middlePanning = false;
        QMouseEvent release(QEvent::MouseButtonRelease, event->localPos(), event->windowPos(), event->screenPos(),
                            Qt::LeftButton, Qt::NoButton, event->modifiers());
        QGraphicsView::mouseReleaseEvent(&release);
        endHandDrag();
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
}

void TSGraphicsView::mouseMoveEvent(QMouseEvent* event)
{
    const TSGraphicsButton* over = buttonAt(event->pos());
    for (TSGraphicsButton* button : qAsConst(m_buttons)) {
        if (button->setHovered(button == over)) {
            viewport()->update();
        }
    }
    if (over && !over->toolTip().isEmpty()) {
        showButtonTip(over, event->globalPos());
    }
    Q_EMIT mouseMoveSignal(event);
    QGraphicsView::mouseMoveEvent(event);
}

bool TSGraphicsView::viewportEvent(QEvent* event)
{
    // The buttons are no scene items: left to the base class, the tip asked for when the pointer
    // rests would be the scene's, and the scene has none there, so it would hide the button's.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const TSGraphicsButton* button = buttonAt(help->pos())) {
            if (button->toolTip().isEmpty()) {
                QToolTip::hideText();
            } else {
                showButtonTip(button, help->globalPos());
            }
            return true;
        }
    }
    return QGraphicsView::viewportEvent(event);
}

void TSGraphicsView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QList<QGraphicsItem*> under = items(event->pos());
    if (!under.isEmpty() && under.first()->type() == TSGraphicsNode::Type) {
        Q_EMIT nodeStartEditing(static_cast<TSGraphicsNode*>(under.first()));
    }
    event->accept();
}

void TSGraphicsView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        if (event->isAutoRepeat()) {
            event->ignore();
            return;
        }
        m_spaceTap = dragMode() != ScrollHandDrag;
        startHandDrag();
        event->accept();
        return;
    }
    if (!event->isAutoRepeat() && event->modifiers() == Qt::ControlModifier) {
        if (event->key() == Qt::Key_C) {
            Q_EMIT copyPressed();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_V) {
            Q_EMIT pastePressed();
            event->accept();
            return;
        }
    }
    if (event->key() == Qt::Key_Control) {
        Q_EMIT buttonPressed(Qt::Key_Control);
    }
    QGraphicsView::keyPressEvent(event);
}

void TSGraphicsView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        if (event->isAutoRepeat()) {
            event->ignore();
            return;
        }
        endHandDrag();
        event->accept();
        if (std::exchange(m_spaceTap, false)) {
            Q_EMIT spaceTapped();
        }
        return;
    }
    if (event->key() == Qt::Key_Control) {
        Q_EMIT buttonReleased(Qt::Key_Control);
    }
    QGraphicsView::keyReleaseEvent(event);
}

void TSGraphicsView::dragEnterEvent(QDragEnterEvent* event)
{
    event->acceptProposedAction();
    QGraphicsView::dragEnterEvent(event);
    event->acceptProposedAction();
    if (event->mimeData()->hasUrls()) {
        m_dragHover = true;
        viewport()->update();
    }
    Q_EMIT dragEnterSignal(event);
}

void TSGraphicsView::dragMoveEvent(QDragMoveEvent* event)
{
    QGraphicsView::dragMoveEvent(event);
    event->acceptProposedAction();
    const QPointF scenePoint = mapToScene(event->pos());
    m_hoveredDropType = TSLevelEditorDropElementNone;
    for (TSDropZone* zone : qAsConst(m_dropZones)) {
        zone->hovered = false;
    }
    for (TSDropZone* zone : qAsConst(m_dropZones)) {
        if (zone->outline.containsPoint(scenePoint, Qt::OddEvenFill)) {
            zone->hovered = true;
            m_hoveredDropType = zone->type;
            break;
        }
    }
    viewport()->update();
    Q_EMIT dragMoveSignal(event);
}

void TSGraphicsView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QGraphicsView::dragLeaveEvent(event);
    m_dragHover = false;
    viewport()->update();
    Q_EMIT dragEnded();
}

void TSGraphicsView::dropEvent(QDropEvent* event)
{
    QGraphicsView::dropEvent(event);
    event->acceptProposedAction();
    m_dragHover = false;
    viewport()->update();
    emitDrop(event);
    Q_EMIT dragEnded();
}

void TSGraphicsView::emitDrop(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        const QString rejected = firstNonPngFile(urls);
        if (rejected.isEmpty()) {
            Q_EMIT dropImages(urls, m_hoveredDropType);
        } else {
            TSMessageBox::warning(this, QStringLiteral("Kilnmark"),
                                  QStringLiteral("File \"%1\" has invalid type: You can drop only PNG images.")
                                      .arg(rejected));
        }
        return;
    }
    if (data->hasImage()) {
        Q_EMIT dropSignal(event);
        return;
    }
    if (auto* tree = qobject_cast<QTreeWidget*>(event->source())) {
        const QList<QTreeWidgetItem*> selected = tree->selectedItems();
        if (selected.isEmpty()) {
            return;
        }
        const QVariantMap map = selected.first()->data(0, Qt::UserRole).toMap();
        const cocos2d::CCPoint point = toPoint(mapToScene(event->pos()));
        const int id = map.value(QStringLiteral("id")).toInt();
        if (id > 0) {
            if (TSModel* model = TSModelController::instance()->modelWithId(static_cast<unsigned>(id))) {
                Q_EMIT dropModel(model, point);
            }
        } else {
            const QString className = map.value(QStringLiteral("className")).toString();
            if (!className.isEmpty()) {
                Q_EMIT dropClassName(className, point);
            }
        }
    }
}

void TSGraphicsView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    layoutButtons();
}

void TSGraphicsView::drawBackground(QPainter* painter, const QRectF& rect)
{
    painter->fillRect(rect, QColor(25, 25, 25));
    painter->save();
    painter->setPen(QColor(38, 38, 38));
    painter->drawRect(sceneRect());
    painter->restore();

    const auto snap = [](qreal v) { return std::trunc(v / 60.0) * 60.0; };
    const QRectF snapped(snap(rect.x()) - 60, snap(rect.y()) - 60, snap(rect.width()) + 120,
                         snap(rect.height()) + 120);
    const QTransform world = painter->worldTransform();
    const int step = gridStep(world);

    painter->save();
    painter->setWorldTransform(QTransform());
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(38, 38, 38));
    const auto drawLine = [&](int index, const QPointF& from, const QPointF& to) {
        painter->setOpacity(step == 20 && index % 3 != 0 ? 0.4 : 1.0);
        const QPoint a = world.map(from).toPoint();
        const QPoint b = world.map(to).toPoint();
        painter->fillRect(QRect(a, b).normalized(), painter->brush());
    };
    const int columns = static_cast<int>(snapped.width() / step);
    for (int i = 0; i < columns; ++i) {
        const qreal x = snapped.left() + i * step;
        drawLine(i, QPointF(x, snapped.top()), QPointF(x, snapped.bottom()));
    }
    const int rows = static_cast<int>(snapped.height() / step);
    for (int i = 0; i < rows; ++i) {
        const qreal y = snapped.top() + i * step;
        drawLine(i, QPointF(snapped.left(), y), QPointF(snapped.right(), y));
    }
    painter->restore();

    if (m_originMarkerShown) {
        painter->save();
        painter->setPen(QPen(QColor(120, 0, 0), 2));
        painter->drawLine(QPointF(0, 0), QPointF(30, 0));
        painter->setPen(QPen(QColor(0, 120, 0), 2));
        painter->drawLine(QPointF(0, 0), QPointF(0, -30));
        painter->setPen(QPen(QColor(80, 80, 80), 1));
        painter->setBrush(QColor(80, 80, 80));
        painter->drawRect(QRectF(-3, -3, 6, 6));
        painter->restore();
    }
}

void TSGraphicsView::drawForeground(QPainter* painter, const QRectF& rect)
{
    QGraphicsView::drawForeground(painter, rect);
    if (m_dragHover) {
        drawDropOverlay(painter);
    }
    painter->save();
    painter->setWorldTransform(QTransform());
    for (TSGraphicsButton* button : qAsConst(m_buttons)) {
        button->paint(painter);
    }
    painter->restore();
}

void TSGraphicsView::drawDropOverlay(QPainter* painter)
{
    const qreal unit = mapToScene(QRect(0, 0, 100, 100)).boundingRect().width();
    QRectF area = mapToScene(viewport()->rect().adjusted(10, 10, -10, -10)).boundingRect();
    const qreal side = std::min(area.width(), area.height());
    area = QRectF(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    const QPen zonePen(QColor(20, 20, 20), unit / 40);
    for (TSDropZone* zone : qAsConst(m_dropZones)) {
        zone->paintRect = area;
        zone->paint(painter, zonePen);
    }
    painter->save();
    QRadialGradient gradient(area.center(), unit);
    gradient.setColorAt(0, QColor(40, 40, 40, 200));
    gradient.setColorAt(1, QColor(40, 40, 40, 0));
    painter->fillRect(area, gradient);
    QFont font = painter->font();
    font.setPointSizeF(std::max(1.0, unit / 5));
    painter->setFont(font);
    painter->setPen(QColor(200, 200, 200));
    painter->drawText(area, Qt::AlignCenter, QStringLiteral("Add"));
    painter->restore();
}
