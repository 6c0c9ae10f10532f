#include "OutlinerPanel.h"

#include "Skeleton.h"

#include <QGraphicsEllipseItem>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QToolButton* iconButton(const QString& objectName, const QString& icon, const QString& toolTip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(18, 18));
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

OutlinerPanel::OutlinerPanel(QWidget* parent) : QWidget(parent), m_tree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("outlinerBackground"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#outlinerBackground { background: #202020; }"
                                 "QTreeWidget { background: #202020; border: none; color: rgb(180, 180, 180); }"
                                 "QTreeWidget::item:selected { background: rgb(242, 197, 90); color: rgb(49, 49, 49); }"));
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("outlinerHeaderWidget"));
    auto* title = new QLabel(QStringLiteral("Outliner"), header);
    title->setStyleSheet(QStringLiteral("color: rgb(130, 130, 130);"));
    auto* eye = new QLabel(header);
    eye->setPixmap(QIcon(QStringLiteral(":/resources/outliner/LockView_Title_Eye.svg")).pixmap(14, 14));
    auto* lock = new QLabel(header);
    lock->setPixmap(QIcon(QStringLiteral(":/resources/outliner/LockView_Lock.svg")).pixmap(14, 14));
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(8, 4, 8, 4);
    headerLayout->addWidget(title);
    headerLayout->addStretch();
    headerLayout->addWidget(eye);
    headerLayout->addWidget(lock);

    m_tree->setObjectName(QStringLiteral("outlinerWidget"));
    m_tree->setHeaderHidden(true);
    m_tree->setIndentation(14);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* footer = new QWidget(this);
    auto* footerLayout = new QHBoxLayout(footer);
    footerLayout->setContentsMargins(4, 2, 4, 2);
    footerLayout->addStretch();
    footerLayout->addWidget(iconButton(QStringLiteral("addNodeButton"),
                                       QStringLiteral(":/resources/outliner/AddGroup.svg"),
                                       QStringLiteral("Add a child node to the selected node"), footer));
    footerLayout->addWidget(iconButton(QStringLiteral("removeNodeButton"),
                                       QStringLiteral(":/resources/outliner/DeleteLayer.svg"),
                                       QStringLiteral("Delete the selected node and its children"), footer));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(m_tree, 1);
    layout->addWidget(footer);

    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!m_updating) {
            Q_EMIT nodeSelected(selectedNode());
        }
    });
    setMinimumWidth(180);
}

void OutlinerPanel::rebuild(const Skeleton* skeleton)
{
    const QString selected = selectedNode();
    m_updating = true;
    m_tree->clear();
    QHash<const QGraphicsItem*, QTreeWidgetItem*> rows;
    // Parents come before children in item order once the hierarchy is built, but not
    // necessarily in node order: place rows by walking until every node found its parent row.
    QList<const Skeleton::Node*> pending;
    for (const auto& node : skeleton->nodes()) {
        pending.append(node.get());
    }
    while (!pending.isEmpty()) {
        bool placed = false;
        for (int i = 0; i < pending.size(); ++i) {
            const Skeleton::Node* node = pending.at(i);
            const QGraphicsItem* parent = node->joint->parentItem();
            if (parent && !rows.contains(parent)) {
                continue;
            }
            auto* row = parent ? new QTreeWidgetItem(rows.value(parent)) : new QTreeWidgetItem(m_tree);
            row->setText(0, node->name);
            row->setData(0, Qt::UserRole, node->name);
            rows.insert(node->joint, row);
            pending.removeAt(i--);
            placed = true;
        }
        if (!placed) {
            break;
        }
    }
    m_tree->expandAll();
    m_updating = false;
    selectNode(selected);
}

void OutlinerPanel::selectNode(const QString& name)
{
    m_updating = true;
    m_tree->clearSelection();
    if (!name.isEmpty()) {
        const QList<QTreeWidgetItem*> found = m_tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        if (!found.isEmpty()) {
            found.first()->setSelected(true);
            m_tree->scrollToItem(found.first());
        }
    }
    m_updating = false;
}

QString OutlinerPanel::selectedNode() const
{
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(0, Qt::UserRole).toString();
}
