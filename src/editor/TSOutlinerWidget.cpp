#include "TSOutlinerWidget.h"

#include "ItemData.h"
#include "ObjectManipulator.h"
#include "ScreenScale.h"
#include "TSMessageBox.h"
#include "TSOutlinerItemDelegate.h"

#include <QApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVector>

#include <algorithm>
#include <cmath>

const QString TSOutlinerWidget::kMimeType = QStringLiteral("application/fk_outliner");
const QString TSOutlinerWidget::kDragErrorTitle = QStringLiteral("Drag error");
const QString TSOutlinerWidget::kDragErrorText = QStringLiteral("Destination Node is child of Dragged one.");

namespace {

enum class Kind
{
    Root,
    Joint,
    Image
};

/// A joint or image of the scene with the item it hangs under.
struct Entry
{
    QGraphicsItem* item;
    QGraphicsItem* parent;
    Kind kind;
};

bool isJoint(const QGraphicsItem* item)
{
    return !item->data(ItemData::NodeName).toString().isEmpty();
}

bool isImage(const QGraphicsItem* item)
{
    return !isJoint(item) && item->data(ItemData::IsImage).toBool() &&
           !item->data(ItemData::ImageName).toString().isEmpty();
}

QString nameOf(const QGraphicsItem* item)
{
    const QString node = item->data(ItemData::NodeName).toString();
    return node.isEmpty() ? item->data(ItemData::ImageName).toString() : node;
}

// The joints and images of scene, each after the item it hangs under, siblings in stacking
// order: the order of the rows. The walk keeps its own stack, so no depth of joints recurses.
QVector<Entry> sceneEntries(const QGraphicsScene* scene)
{
    QVector<Entry> entries;
    if (!scene) {
        return entries;
    }
    QVector<Entry> pending;
    const QList<QGraphicsItem*> items = scene->items(Qt::DescendingOrder);
    for (QGraphicsItem* item : items) {
        if (!item->parentItem() && isJoint(item)) {
            pending.append(Entry{item, nullptr, Kind::Root});
        }
    }
    while (!pending.isEmpty()) {
        const Entry entry = pending.takeLast();
        entries.append(entry);
        if (entry.kind == Kind::Image) {
            continue;
        }
        QVector<Entry> children;
        for (QGraphicsItem* child : entry.item->childItems()) {
            if (isJoint(child)) {
                children.append(Entry{child, entry.item, Kind::Joint});
            } else if (isImage(child)) {
                children.append(Entry{child, entry.item, Kind::Image});
            }
        }
        // A joint's images come first, the front one at the top as on the canvas, then the
        // joints under it in their stacking order.
        std::stable_sort(children.begin(), children.end(), [](const Entry& a, const Entry& b) {
            if (a.kind != b.kind) {
                return a.kind == Kind::Image;
            }
            return a.kind == Kind::Image &&
                   a.item->data(ItemData::ZOrder).toDouble() > b.item->data(ItemData::ZOrder).toDouble();
        });
        for (auto it = children.crbegin(); it != children.crend(); ++it) {
            pending.append(*it);
        }
    }
    return entries;
}

// Rows and the rows under them, each before its children.
template <typename Visit> void forEachBelow(QTreeWidgetItem* row, Visit visit)
{
    QList<QTreeWidgetItem*> pending;
    for (int i = row->childCount() - 1; i >= 0; --i) {
        pending.append(row->child(i));
    }
    while (!pending.isEmpty()) {
        QTreeWidgetItem* next = pending.takeLast();
        visit(next);
        for (int i = next->childCount() - 1; i >= 0; --i) {
            pending.append(next->child(i));
        }
    }
}

} // namespace

TSOutlinerWidget::TSOutlinerWidget(QWidget* parent)
    : QTreeWidget(parent), m_delegate(new TSOutlinerItemDelegate(this))
{
    setObjectName(QStringLiteral("outlinerWidget"));
    setColumnCount(1);
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    // The delegate draws the indentation and the arrows.
    setIndentation(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setItemDelegate(m_delegate);
    setEditTriggers(NoEditTriggers);
    setAlternatingRowColors(true);
    setMouseTracking(true);
    // Selection and drag and drop are the widget's own.
    setSelectionMode(NoSelection);
    setDragDropMode(NoDragDrop);
    setAcceptDrops(true);
    setVerticalScrollMode(ScrollPerPixel);
    setFocusPolicy(Qt::NoFocus);
}

QGraphicsItem* TSOutlinerWidget::graphicsItem(const QTreeWidgetItem* row)
{
    return row ? reinterpret_cast<QGraphicsItem*>(static_cast<quintptr>(row->data(0, ItemRole).toULongLong()))
               : nullptr;
}

QList<QGraphicsItem*> TSOutlinerWidget::selectedObjects() const
{
    QList<QGraphicsItem*> items;
    for (const QTreeWidgetItem* row : m_selection) {
        items.append(graphicsItem(row));
    }
    return items;
}

// Building ----------------------------------------------------------------------------------------

void TSOutlinerWidget::rebuildFromScene(const QGraphicsScene* scene)
{
    const QVector<Entry> entries = sceneEntries(scene);
    // Branches the user folded stay folded when their joints are still there.
    QSet<const QGraphicsItem*> folded;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        if (it.value()->childCount() > 0 && !it.value()->isExpanded()) {
            folded.insert(it.key());
        }
    }
    const int scroll = verticalScrollBar()->value();
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    {
        const QSignalBlocker blocker(this);
        forgetRows();
        clear();
        // Rows are put together apart from the tree and go in at once.
        QList<QTreeWidgetItem*> roots;
        for (const Entry& entry : entries) {
            auto* row = new QTreeWidgetItem();
            QTreeWidgetItem* parentRow = m_rows.value(entry.parent);
            const QString icon = entry.kind == Kind::Root    ? QStringLiteral("Icon_Skeleton")
                                 : entry.kind == Kind::Joint ? QStringLiteral("Icon_bone")
                                                             : QStringLiteral("BackgroundLayer");
            row->setText(0, nameOf(entry.item));
            row->setIcon(0, m_delegate->icon(icon));
            row->setData(0, ParentNameRole, entry.item->data(ItemData::ParentName));
            row->setData(0, ItemRole,
                         QVariant::fromValue<qulonglong>(reinterpret_cast<quintptr>(entry.item)));
            row->setData(0, HiddenRole, !entry.item->isVisibleTo(entry.item->parentItem()));
            row->setData(0, LockedRole, ObjectManipulator::isLocked(entry.item));
            row->setData(0, HiddenByAncestorRole,
                         parentRow && (parentRow->data(0, HiddenRole).toBool() ||
                                       parentRow->data(0, HiddenByAncestorRole).toBool()));
            Qt::ItemFlags flags =
                Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
            if (entry.kind != Kind::Image) {
                flags |= Qt::ItemIsDropEnabled;
            }
            row->setFlags(flags);
            parentRow ? parentRow->addChild(row) : roots.append(row);
            m_rows.insert(entry.item, row);
            m_liveRows.insert(row);
        }
        addTopLevelItems(roots);
        expandAll();
        for (const QGraphicsItem* item : qAsConst(folded)) {
            if (QTreeWidgetItem* row = m_rows.value(item)) {
                row->setExpanded(false);
            }
        }
    }
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(scroll);
    setUpdatesEnabled(updates);
}

void TSOutlinerWidget::updateFromScene(const QGraphicsScene* scene)
{
    const QVector<Entry> entries = sceneEntries(scene);
    bool same = entries.size() == m_rows.size();
    int i = 0;
    for (QTreeWidgetItemIterator it(this); same && *it; ++it, ++i) {
        same = i < entries.size() && graphicsItem(*it) == entries.at(i).item &&
               graphicsItem((*it)->parent()) == entries.at(i).parent;
    }
    if (same) {
        refreshTexts();
    } else {
        rebuildFromScene(scene);
    }
}

void TSOutlinerWidget::refreshTexts()
{
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        const QString name = nameOf(it.key());
        if (it.value()->text(0) != name) {
            it.value()->setText(0, name);
        }
        const QVariant parent = it.key()->data(ItemData::ParentName);
        if (it.value()->data(0, ParentNameRole) != parent) {
            it.value()->setData(0, ParentNameRole, parent);
        }
    }
}

void TSOutlinerWidget::forgetRows()
{
    m_rows.clear();
    m_liveRows.clear();
    m_selection.clear();
    m_pressedRow = nullptr;
    m_anchorRow = nullptr;
    m_pressHandled = false;
    m_editedRow = nullptr;
    m_pendingName.clear();
    endDrag();
}

// Selection -----------------------------------------------------------------------------------------

void TSOutlinerWidget::selectRow(QTreeWidgetItem* row, bool append)
{
    if (row && !m_liveRows.contains(row)) {
        return;
    }
    QList<QTreeWidgetItem*> rows = append ? m_selection : QList<QTreeWidgetItem*>();
    if (row) {
        if (!rows.contains(row)) {
            rows.append(row);
        }
        m_anchorRow = row;
    }
    setSelection(rows);
}

void TSOutlinerWidget::selectItem(QGraphicsItem* item, bool append)
{
    QTreeWidgetItem* found = item ? row(item) : nullptr;
    if (!item || found || !append) {
        selectRow(found, append);
    }
}

void TSOutlinerWidget::selectItems(const QList<QGraphicsItem*>& items)
{
    QList<QTreeWidgetItem*> rows;
    for (const QGraphicsItem* item : items) {
        QTreeWidgetItem* found = row(item);
        if (found && !rows.contains(found)) {
            rows.append(found);
            m_anchorRow = found;
        }
    }
    setSelection(rows);
    // What is picked on the canvas is shown in the tree too.
    if (!rows.isEmpty()) {
        scrollToItem(rows.last());
    }
}

void TSOutlinerWidget::setSelection(const QList<QTreeWidgetItem*>& rows)
{
    if (rows == m_selection) {
        return;
    }
    m_selection = rows;
    showSelection();
    Q_EMIT currentObjectChanged(selectedObjects());
}

void TSOutlinerWidget::showSelection()
{
    QItemSelection shown;
    for (QTreeWidgetItem* row : qAsConst(m_selection)) {
        const QModelIndex index = indexFromItem(row);
        shown.select(index, index);
    }
    selectionModel()->select(shown, QItemSelectionModel::ClearAndSelect);
}

void TSOutlinerWidget::clickName(QTreeWidgetItem* row, Qt::KeyboardModifiers modifiers)
{
    // A range runs over the rows that can be seen, from the anchor to the clicked row.
    QList<QTreeWidgetItem*> range;
    if ((modifiers & Qt::ShiftModifier) && m_anchorRow && visualItemRect(m_anchorRow).isValid()) {
        const bool down = visualItemRect(m_anchorRow).top() <= visualItemRect(row).top();
        for (QTreeWidgetItem* next = m_anchorRow; next; next = down ? itemBelow(next) : itemAbove(next)) {
            range.append(next);
            if (next == row) {
                break;
            }
        }
    }
    if (range.isEmpty() || range.last() != row) {
        selectRow(row, false);
        return;
    }
    QList<QTreeWidgetItem*> rows = m_selection;
    for (QTreeWidgetItem* next : qAsConst(range)) {
        if (!rows.contains(next)) {
            rows.append(next);
        }
    }
    m_anchorRow = row;
    setSelection(rows);
}

// Toggles -------------------------------------------------------------------------------------------

void TSOutlinerWidget::toggleHidden(QTreeWidgetItem* row)
{
    const bool hidden = !row->data(0, HiddenRole).toBool();
    const auto apply = [this, hidden](QTreeWidgetItem* target) {
        if (QGraphicsItem* item = graphicsItem(target)) {
            item->setVisible(!hidden);
            Q_EMIT objectVisibilityChanged(item, !hidden);
        }
    };
    row->setData(0, HiddenRole, hidden);
    apply(row);
    // Everything under the row takes its state; whether it is seen also depends on the rows above.
    const bool byAncestor = hidden || row->data(0, HiddenByAncestorRole).toBool();
    forEachBelow(row, [&apply, hidden, byAncestor](QTreeWidgetItem* below) {
        below->setData(0, HiddenRole, hidden);
        below->setData(0, HiddenByAncestorRole, byAncestor);
        apply(below);
    });
}

void TSOutlinerWidget::toggleLocked(QTreeWidgetItem* row)
{
    const bool locked = !row->data(0, LockedRole).toBool();
    const auto apply = [locked](QTreeWidgetItem* target) {
        target->setData(0, LockedRole, locked);
        ObjectManipulator::setLocked(graphicsItem(target), locked);
    };
    apply(row);
    forEachBelow(row, apply);
}

// Mouse ---------------------------------------------------------------------------------------------

int TSOutlinerWidget::hitTest(const QTreeWidgetItem* row, const QPoint& pos) const
{
    return row ? m_delegate->hitTest(visualItemRect(row), indexFromItem(row), pos, this) : -1;
}

void TSOutlinerWidget::pressAt(const QPoint& pos)
{
    endDrag();
    m_pressPos = pos;
    m_pressedRow = itemAt(pos);
    m_pressHit = hitTest(m_pressedRow, pos);
    m_pressHandled = false;
}

void TSOutlinerWidget::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT mousePressed();
    pressAt(event->pos());
    if (event->button() == Qt::LeftButton && m_pressedRow) {
        const bool arrow =
            m_pressHit == TSOutlinerItemDelegate::ExpandArrow && m_pressedRow->childCount() > 0;
        m_pressHandled = arrow || m_pressHit == TSOutlinerItemDelegate::VisibilityToggle ||
                         m_pressHit == TSOutlinerItemDelegate::LockToggle;
        if (m_pressHandled) {
            event->accept();
            return;
        }
        m_dragCandidate = m_pressedRow;
    }
    QTreeWidget::mousePressEvent(event);
}

void TSOutlinerWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragCandidate && (event->buttons() & Qt::LeftButton)) {
        if (!m_dragging &&
            (event->pos() - m_pressPos).manhattanLength() < QApplication::startDragDistance()) {
            return;
        }
        m_dragging = true;
        trackDrop(event->pos());
        return;
    }
    if (m_pressHandled && (event->buttons() & Qt::LeftButton)) {
        return;
    }
    QTreeWidget::mouseMoveEvent(event);
}

void TSOutlinerWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTreeWidget::mouseReleaseEvent(event);
        return;
    }
    QTreeWidgetItem* row = itemAt(event->pos());
    QTreeWidgetItem* pressed = m_pressedRow;
    const bool handled = m_pressHandled;
    const int hit = m_pressHit;
    m_pressedRow = nullptr;
    m_pressHandled = false;
    if (m_dragging) {
        // The drop a drag ends with, carrying the dragged row as a drop from elsewhere would.
        QMimeData data;
        const QByteArray address = QByteArray::number(reinterpret_cast<quintptr>(m_dragCandidate));
        data.setData(kMimeType, address);
        data.setText(QString::fromLatin1(address));
        QDropEvent drop(event->pos(), Qt::MoveAction, &data, Qt::NoButton, event->modifiers());
        dropEvent(&drop);
        return;
    }
    endDrag();
    if (handled) {
        if (row == pressed && hitTest(row, event->pos()) == hit) {
            switch (hit) {
            case TSOutlinerItemDelegate::ExpandArrow:
                row->setExpanded(!row->isExpanded());
                break;
            case TSOutlinerItemDelegate::VisibilityToggle:
                toggleHidden(row);
                break;
            case TSOutlinerItemDelegate::LockToggle:
                toggleLocked(row);
                break;
            default:
                break;
            }
        }
        event->accept();
        return;
    }
    if (row && row == pressed) {
        clickName(row, event->modifiers());
    } else if (!row) {
        setSelection({});
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void TSOutlinerWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidgetItem* row = itemAt(event->pos());
    if (event->button() == Qt::LeftButton && row &&
        hitTest(row, event->pos()) == TSOutlinerItemDelegate::NameArea) {
        // The click before selected the row; typing a new name renames its joint or image.
        m_editedRow = row;
        m_pendingName.clear();
        editItem(row, 0);
        return;
    }
    // Arrows and toggles take a double click as two clicks.
    mousePressEvent(event);
}

// Renaming ------------------------------------------------------------------------------------------

void TSOutlinerWidget::commitData(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor); line && m_editedRow) {
        m_pendingName = line->text();
    }
}

void TSOutlinerWidget::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTreeWidgetItem* row = m_editedRow;
    const QString name = m_pendingName;
    m_editedRow = nullptr;
    m_pendingName.clear();
    QTreeWidget::closeEditor(editor, hint);
    // Asked once the editor is gone: a refusal shown in a box must not find it still open.
    if (row && m_liveRows.contains(row) && !name.isNull() && name != row->text(0)) {
        Q_EMIT renameRequested(graphicsItem(row), name);
    }
}

// Drag and drop -------------------------------------------------------------------------------------

void TSOutlinerWidget::trackDrop(const QPoint& pos)
{
    m_dropRow = itemAt(pos);
    m_showDrop = true;
    if (m_dropRow) {
        const QRect rect = visualItemRect(m_dropRow);
        const double y = rect.height() > 0 ? static_cast<double>(pos.y() - rect.top()) / rect.height() : 0.5;
        if (m_dropRow->flags() & Qt::ItemIsDropEnabled) {
            m_dropPosition = y < 0.2 ? AboveItem : y > 0.8 ? BelowItem : OnItem;
        } else {
            m_dropPosition = y < 0.5 ? AboveItem : BelowItem;
        }
    }
    viewport()->update();
}

void TSOutlinerWidget::endDrag()
{
    const bool shown = m_showDrop;
    m_dragCandidate = nullptr;
    m_dragging = false;
    m_dropRow = nullptr;
    m_showDrop = false;
    if (shown) {
        viewport()->update();
    }
}

QTreeWidgetItem* TSOutlinerWidget::draggedRow(const QMimeData* data) const
{
    if (!data || !data->hasFormat(kMimeType)) {
        return nullptr;
    }
    bool ok = false;
    const quintptr address = static_cast<quintptr>(data->text().toULongLong(&ok));
    // Only a row of this tree as it is now: the text may be anything.
    auto* row = reinterpret_cast<QTreeWidgetItem*>(address);
    return ok && m_liveRows.contains(row) ? row : nullptr;
}

void TSOutlinerWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (draggedRow(event->mimeData())) {
        event->acceptProposedAction();
        trackDrop(event->pos());
    } else {
        event->ignore();
    }
}

void TSOutlinerWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (draggedRow(event->mimeData())) {
        event->acceptProposedAction();
        trackDrop(event->pos());
    } else {
        event->ignore();
    }
}

void TSOutlinerWidget::dragLeaveEvent(QDragLeaveEvent*)
{
    endDrag();
}

void TSOutlinerWidget::dropEvent(QDropEvent* event)
{
    QTreeWidgetItem* dragged = draggedRow(event->mimeData());
    if (!dragged) {
        endDrag();
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    trackDrop(event->pos());
    QTreeWidgetItem* target = m_dropRow;
    const DropPosition position = target ? m_dropPosition : OnItem;
    endDrag();
    drop(dragged, target, position);
}

void TSOutlinerWidget::drop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, DropPosition position)
{
    // Outside the rows a drop goes to the end of the root.
    QTreeWidgetItem* parent = target ? (position == OnItem ? target : target->parent()) : topLevelItem(0);
    if (!parent) {
        // Beside a top-level row there is no joint to go under.
        return;
    }
    int index = 0;
    if (!target) {
        index = parent->childCount();
    } else if (position != OnItem) {
        index = parent->indexOfChild(target) + (position == BelowItem ? 1 : 0);
    }
    for (const QTreeWidgetItem* up = parent; up; up = up->parent()) {
        if (up == dragged) {
            TSMessageBox::warning(this, kDragErrorTitle, kDragErrorText);
            return;
        }
    }
    // What the signals point at outlives the rows, which a move builds anew.
    QGraphicsItem* item = graphicsItem(dragged);
    QGraphicsItem* destination = graphicsItem(target ? target : parent);
    QGraphicsItem* parentItem = graphicsItem(parent);
    Q_EMIT moveItemToItem(item, destination, position);
    Q_EMIT moveItemToItemAtIndex(item, parentItem, index);
}

void TSOutlinerWidget::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    if (!m_showDrop) {
        return;
    }
    // Where the dragged row would go: a line between rows, or a frame around its new parent.
    QTreeWidgetItem* row = m_dropRow;
    DropPosition position = m_dropPosition;
    if (!row) {
        row = topLevelItem(topLevelItemCount() - 1);
        while (row && row->isExpanded() && row->childCount() > 0) {
            row = row->child(row->childCount() - 1);
        }
        position = BelowItem;
    }
    if (!row) {
        return;
    }
    const QRect rect = visualItemRect(row);
    const double width = 2.0 * ScreenScale::of(this);
    QPainter painter(viewport());
    painter.setPen(QPen(QColor(242, 197, 90), width));
    switch (position) {
    case AboveItem:
        painter.drawLine(rect.topLeft(), rect.topRight());
        break;
    case BelowItem:
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        break;
    case OnItem:
        painter.drawRect(QRectF(rect).adjusted(width / 2, width / 2, -width / 2, -width / 2));
        break;
    }
}
