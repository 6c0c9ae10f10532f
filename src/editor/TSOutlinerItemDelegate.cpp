#include "TSOutlinerItemDelegate.h"

#include "ScreenScale.h"
#include "TSOutlinerWidget.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>
#include <QLineEdit>
#include <QPainter>
#include <QPixmapCache>
#include <QTreeView>

#include <cmath>

namespace {

const QColor kSelection(242, 197, 90);
const QColor kSelectedText(49, 49, 49);
const QColor kText(180, 180, 180);
const QColor kHiddenText(105, 105, 105);
// How strongly a toggle shows that is off, on the row under the pointer (a hint that it is there).
constexpr double kHintOpacity = 0.35;
// How strongly the hidden mark shows on a row that is hidden only because a row above it is.
constexpr double kInheritedOpacity = 0.45;

} // namespace

TSOutlinerItemDelegate::TSOutlinerItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QIcon TSOutlinerItemDelegate::icon(const QString& name) const
{
    auto it = m_icons.find(name);
    if (it == m_icons.end()) {
        it = m_icons.insert(name, QIcon(QStringLiteral(":/resources/outliner/%1.svg").arg(name)));
    }
    return it.value();
}

int TSOutlinerItemDelegate::depth(const QModelIndex& index)
{
    int ancestors = 0;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) {
        ++ancestors;
    }
    return ancestors;
}

double TSOutlinerItemDelegate::scale(const QWidget* widget)
{
    return ScreenScale::of(widget);
}

TSOutlinerItemDelegate::Layout TSOutlinerItemDelegate::layout(const QRect& rect, const QModelIndex& index,
                                                              const QWidget* widget) const
{
    const double s = scale(widget);
    const auto px = [s](double size) { return static_cast<int>(std::lround(size * s)); };
    Layout parts;
    const int left = rect.left() + px(15) * depth(index);
    parts.arrow = QRect(left, rect.top(), px(15), rect.height());
    parts.icon = QRect(parts.arrow.right() + 1, rect.top(), px(18), rect.height());
    parts.lock = QRect(rect.right() + 1 - px(20), rect.top(), px(20), rect.height());
    parts.visibility = QRect(parts.lock.left() - px(15), rect.top(), px(15), rect.height());
    const int nameLeft = parts.icon.right() + 1 + px(3);
    parts.name =
        QRect(nameLeft, rect.top(), std::max(0, parts.visibility.left() - px(4) - nameLeft), rect.height());
    return parts;
}

TSOutlinerItemDelegate::Hit TSOutlinerItemDelegate::hitTest(const QRect& rect, const QModelIndex& index,
                                                            const QPoint& pos, const QWidget* widget) const
{
    // The toggles win over a deep row's indentation that reaches under them.
    const Layout parts = layout(rect, index, widget);
    if (parts.lock.contains(pos)) {
        return LockToggle;
    }
    if (parts.visibility.contains(pos)) {
        return VisibilityToggle;
    }
    if (parts.arrow.contains(pos)) {
        return ExpandArrow;
    }
    return NameArea;
}

QRect TSOutlinerItemDelegate::nameRect(const QRect& rect, const QModelIndex& index,
                                       const QWidget* widget) const
{
    return layout(rect, index, widget).name;
}

void TSOutlinerItemDelegate::drawIcon(QPainter* painter, const QRect& area, const QIcon& icon, int size,
                                      const QColor& tint, double opacity)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QString key =
        QStringLiteral("outliner:%1:%2:%3:%4").arg(icon.cacheKey()).arg(size).arg(tint.rgba()).arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        // The icons are drawn in one light colour; each row shows them in the colour of its text.
        pixmap = icon.pixmap(QSize(size, size) * ratio);
        pixmap.setDevicePixelRatio(ratio);
        QPainter tinter(&pixmap);
        tinter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tinter.fillRect(pixmap.rect(), tint);
        tinter.end();
        QPixmapCache::insert(key, pixmap);
    }
    const QRect target(area.left() + (area.width() - size) / 2, area.top() + (area.height() - size) / 2, size,
                       size);
    painter->setOpacity(opacity);
    painter->drawPixmap(target, pixmap);
    painter->setOpacity(1.0);
}

void TSOutlinerItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    const Layout parts = layout(option.rect, index, option.widget);
    const double s = scale(option.widget);
    const int iconSize = static_cast<int>(std::lround(12 * s));
    const bool selected = option.state & QStyle::State_Selected;
    const bool hovered = option.state & QStyle::State_MouseOver;
    const bool hidden = index.data(TSOutlinerWidget::HiddenRole).toBool();
    const bool hiddenAbove = index.data(TSOutlinerWidget::HiddenByAncestorRole).toBool();
    const bool locked = index.data(TSOutlinerWidget::LockedRole).toBool();
    const QColor ink = selected ? kSelectedText : (hidden || hiddenAbove) ? kHiddenText : kText;

    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    if (selected) {
        painter->fillRect(option.rect, kSelection);
    }
    if (index.model()->hasChildren(index)) {
        const auto* tree = qobject_cast<const QTreeView*>(option.widget);
        const bool expanded = tree && tree->isExpanded(index);
        drawIcon(painter, parts.arrow,
                 icon(expanded ? QStringLiteral("Icon_Arrow_tree") : QStringLiteral("Icon_Arrow_tree_cl")),
                 iconSize, ink);
    }
    drawIcon(painter, parts.icon, index.data(Qt::DecorationRole).value<QIcon>(),
             static_cast<int>(std::lround(14 * s)), ink);
    painter->setFont(option.font);
    painter->setPen(ink);
    const QString name = index.data(Qt::DisplayRole).toString();
    painter->drawText(parts.name, Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(name, Qt::ElideRight, parts.name.width()));
    if (hidden || hiddenAbove) {
        drawIcon(painter, parts.visibility, icon(QStringLiteral("HideItem")), iconSize, ink,
                 hidden ? 1.0 : kInheritedOpacity);
    } else if (hovered) {
        drawIcon(painter, parts.visibility, icon(QStringLiteral("LockView_Title_Eye")), iconSize, ink,
                 kHintOpacity);
    }
    if (locked) {
        drawIcon(painter, parts.lock, icon(QStringLiteral("LockItem")), iconSize, ink);
    } else if (hovered) {
        drawIcon(painter, parts.lock, icon(QStringLiteral("LockView_Lock")), iconSize, ink, kHintOpacity);
    }
    painter->restore();
}

QSize TSOutlinerItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const double s = scale(option.widget);
    return QSize(static_cast<int>(std::lround(130 * s)), static_cast<int>(std::lround(20 * s)));
}

QWidget* TSOutlinerItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                              const QModelIndex&) const
{
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("outlinerNameEditor"));
    editor->setFrame(false);
    return editor;
}

void TSOutlinerItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(index.data(Qt::DisplayRole).toString());
        line->selectAll();
    }
}

void TSOutlinerItemDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {}

void TSOutlinerItemDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                                  const QModelIndex& index) const
{
    editor->setGeometry(nameRect(option.rect, index, option.widget));
}

bool TSOutlinerItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                       const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    const QString name = index.data(Qt::DisplayRole).toString();
    const QRect area = nameRect(option.rect, index, option.widget);
    if (hitTest(option.rect, index, event->pos(), option.widget) == NameArea &&
        option.fontMetrics.horizontalAdvance(name) > area.width()) {
        QToolTip::showText(event->globalPos(), name, view->viewport(), option.rect);
    } else {
        QToolTip::hideText();
    }
    return true;
}
