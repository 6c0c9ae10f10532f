#pragma once

#include <QHash>
#include <QList>
#include <QPoint>
#include <QSet>
#include <QTreeWidget>

class QGraphicsItem;
class QGraphicsScene;
class QMimeData;
class TSOutlinerItemDelegate;

/// The skeleton as a tree: the root joint, the joints under it and the images hung under the
/// joints. It keeps no model of its own: every row stands for a graphics item of the canvas and
/// the tree is built again from the scene. It mirrors and drives the canvas selection, hides and
/// locks items (and everything under them), and moves joints and images to other joints by drag
/// and drop; what a move or a rename means is for whoever listens to its signals.
///
/// Selection, dragging and the toggles are the widget's own (the tree's are switched off), so a
/// drag is the pressed row followed by the pointer and dropped where the button is released.
class TSOutlinerWidget : public QTreeWidget
{
    Q_OBJECT

public:
    /// Row data beside the text and the icon.
    enum Role
    {
        ParentNameRole = 133,      ///< the joint's parent node name, as the graphics item has it
        ItemRole = Qt::UserRole,   ///< the address of the graphics item the row stands for
        HiddenRole = 257,          ///< the item is hidden
        LockedRole = 258,          ///< the item cannot be picked on the canvas
        HiddenByAncestorRole = 259 ///< a row above is hidden, so this one is not seen either
    };
    /// Where a dragged row goes, relative to the row under the pointer.
    enum DropPosition
    {
        AboveItem = -1,
        OnItem = 0,
        BelowItem = 1
    };

    static const QString kMimeType;
    static const QString kDragErrorTitle;
    static const QString kDragErrorText;

    explicit TSOutlinerWidget(QWidget* parent = nullptr);

    TSOutlinerItemDelegate* delegate() const { return m_delegate; }

    /// Builds the rows anew from the joints and images of scene (none without a root joint).
    void rebuildFromScene(const QGraphicsScene* scene);
    /// Brings the rows in line with scene: when it holds the same items in the same places only
    /// the texts change (a rename), so expansion, selection and scrolling stay; else it rebuilds.
    void updateFromScene(const QGraphicsScene* scene);
    /// The row texts read again from their graphics items.
    void refreshTexts();

    /// The graphics item a row stands for (null for none).
    static QGraphicsItem* graphicsItem(const QTreeWidgetItem* row);
    /// The row of a graphics item, or null.
    QTreeWidgetItem* row(const QGraphicsItem* item) const { return m_rows.value(item); }
    /// The graphics items of the selected rows, in the order they were selected.
    QList<QGraphicsItem*> selectedObjects() const;
    /// What pos (viewport coordinates) is in row: TSOutlinerItemDelegate::Hit, -1 without a row.
    int hitTest(const QTreeWidgetItem* row, const QPoint& pos) const;

public Q_SLOTS:
    /// Selects the row of item (null clears the selection unless append).
    void selectItem(QGraphicsItem* item, bool append = false);
    /// Selects the rows of items, and only those.
    void selectItems(const QList<QGraphicsItem*>& items);
    /// Selects a row (null clears the selection unless append).
    void selectRow(QTreeWidgetItem* row, bool append = false);

Q_SIGNALS:
    void currentObjectChanged(QList<QGraphicsItem*> items);
    void moveItemToItem(QGraphicsItem* sourceItem, QGraphicsItem* destinationItem, int dropOffset);
    void moveItemToItemAtIndex(const QGraphicsItem* item, const QGraphicsItem* parent, int index);
    void mousePressed();
    void objectVisibilityChanged(QGraphicsItem* currentObject, bool isVisible);
    /// A row was given a new name by double clicking it and typing.
    void renameRequested(QGraphicsItem* item, const QString& name);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

protected Q_SLOTS:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void pressAt(const QPoint& pos);
    void toggleHidden(QTreeWidgetItem* row);
    void toggleLocked(QTreeWidgetItem* row);
    void clickName(QTreeWidgetItem* row, Qt::KeyboardModifiers modifiers);
    void setSelection(const QList<QTreeWidgetItem*>& rows);
    void showSelection();
    void forgetRows();
    /// The row under pos and where a drop there goes.
    void trackDrop(const QPoint& pos);
    QTreeWidgetItem* draggedRow(const QMimeData* data) const;
    /// Moves dragged to where position says relative to target (null: the end of the root).
    void drop(QTreeWidgetItem* dragged, QTreeWidgetItem* target, DropPosition position);
    void endDrag();

    TSOutlinerItemDelegate* m_delegate;
    QHash<const QGraphicsItem*, QTreeWidgetItem*> m_rows;
    QSet<const QTreeWidgetItem*> m_liveRows;
    QList<QTreeWidgetItem*> m_selection;
    QTreeWidgetItem* m_pressedRow = nullptr;
    QTreeWidgetItem* m_anchorRow = nullptr;
    int m_pressHit = -1;
    bool m_pressHandled = false;
    QPoint m_pressPos;
    QTreeWidgetItem* m_dragCandidate = nullptr;
    bool m_dragging = false;
    QTreeWidgetItem* m_dropRow = nullptr;
    DropPosition m_dropPosition = OnItem;
    bool m_showDrop = false;
    QTreeWidgetItem* m_editedRow = nullptr;
    QString m_pendingName;
};
