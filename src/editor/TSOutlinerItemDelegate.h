#pragma once

#include <QHash>
#include <QIcon>
#include <QStyledItemDelegate>

/// Paints the rows of the outliner and says what a point in a row is. From left to right a row
/// shows its indentation (15 pixels per ancestor), the expand arrow (rows with children), its
/// icon and name, and at the right edge the visibility toggle (15 pixels) and the lock toggle
/// (the last 20 pixels); every size is multiplied by the screen scale.
class TSOutlinerItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    /// What a point in a row is; the values are those of the hit test.
    enum Hit
    {
        ExpandArrow = 0,
        VisibilityToggle = 1,
        LockToggle = 2,
        NameArea = 3
    };

    explicit TSOutlinerItemDelegate(QObject* parent = nullptr);

    /// The icon of an outliner resource by its file name without ".svg", loaded once.
    QIcon icon(const QString& name) const;
    /// The number of ancestors of a row.
    static int depth(const QModelIndex& index);

    /// What pos (in the coordinates of rect, the row's rectangle) is in the row of index.
    Hit hitTest(const QRect& rect, const QModelIndex& index, const QPoint& pos, const QWidget* widget) const;
    /// The part of a row that shows its name (and takes the editor while it is renamed).
    QRect nameRect(const QRect& rect, const QModelIndex& index, const QWidget* widget) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    /// Renames are not written into the row: the outliner asks for them, and the row shows the
    /// name once the node or image has it.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    /// A name cut short to fit its row shows whole in a tool tip over the row (not its toggles).
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    struct Layout
    {
        QRect arrow;
        QRect icon;
        QRect name;
        QRect visibility;
        QRect lock;
    };
    Layout layout(const QRect& rect, const QModelIndex& index, const QWidget* widget) const;
    static double scale(const QWidget* widget);
    static void drawIcon(QPainter* painter, const QRect& area, const QIcon& icon, int size,
                         const QColor& tint, double opacity = 1.0);

    mutable QHash<QString, QIcon> m_icons;
};
