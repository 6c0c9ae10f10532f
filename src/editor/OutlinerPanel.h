#pragma once

#include <QWidget>

class QGraphicsItem;
class QGraphicsScene;
class QHBoxLayout;
class TSOutlinerWidget;

/// The outliner column: a header that names the two toggle columns, the tree of joints and
/// images, and buttons to add a child node and to remove the selected node.
class OutlinerPanel : public QWidget
{
    Q_OBJECT

public:
    explicit OutlinerPanel(QWidget* parent = nullptr);

    TSOutlinerWidget* tree() const { return m_tree; }

    // The canvas shown in the tree, without the tree announcing it back.

    /// Rows built anew from scene (after a load).
    void rebuild(const QGraphicsScene* scene);
    /// Rows brought in line with scene (a rename changes only texts), selection the canvas's.
    void showScene(const QGraphicsScene* scene, const QList<QGraphicsItem*>& selection);
    /// The canvas selection.
    void showSelection(const QList<QGraphicsItem*>& selection);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The header's toggle icons stand over the tree's toggle columns, beside its scroll bar.
    void alignHeader();

    TSOutlinerWidget* m_tree;
    QHBoxLayout* m_headerLayout = nullptr;
};
