#pragma once

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class QToolButton;
class Skeleton;

/// The outliner column: the node hierarchy as a tree, with buttons to add a child node and to
/// remove the selected node.
class OutlinerPanel : public QWidget
{
    Q_OBJECT

public:
    explicit OutlinerPanel(QWidget* parent = nullptr);

    QTreeWidget* tree() const { return m_tree; }
    /// Rebuilds the tree from the skeleton's nodes (children under their parents).
    void rebuild(const Skeleton* skeleton);
    /// Selects the row of a node (none for an empty name) without announcing it.
    void selectNode(const QString& name);
    QString selectedNode() const;

Q_SIGNALS:
    void nodeSelected(const QString& name);

private:
    QTreeWidget* m_tree;
    bool m_updating = false;
};
