#include "OutlinerPanel.h"

#include "ScreenScale.h"
#include "TSOutlinerWidget.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QToolButton* iconButton(const QString& objectName, const QString& icon, const QString& toolTip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setIcon(QIcon(icon));
    const int side = ScreenScale::pixels(18, parent);
    button->setIconSize(QSize(side, side));
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    return button;
}

// A header icon over a toggle column of the given width.
QLabel* columnIcon(const QString& icon, const QString& toolTip, int width, int size, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QIcon(icon).pixmap(size, size));
    label->setToolTip(toolTip);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedWidth(width);
    return label;
}

} // namespace

OutlinerPanel::OutlinerPanel(QWidget* parent) : QWidget(parent), m_tree(new TSOutlinerWidget(this))
{
    setObjectName(QStringLiteral("outlinerBackground"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#outlinerBackground { background: #202020; }"
                                 "QTreeWidget { background: #202020; alternate-background-color: #262626;"
                                 " border: none; color: rgb(180, 180, 180); }"));
    const double s = ScreenScale::of(this);
    const auto px = [s](double size) { return static_cast<int>(std::lround(size * s)); };
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("outlinerHeaderWidget"));
    auto* title = new QLabel(QStringLiteral("Outliner"), header);
    title->setStyleSheet(QStringLiteral("color: rgb(130, 130, 130);"));
    m_headerLayout = new QHBoxLayout(header);
    m_headerLayout->setContentsMargins(px(8), px(4), 0, px(4));
    m_headerLayout->setSpacing(0);
    m_headerLayout->addWidget(title);
    m_headerLayout->addStretch();
    m_headerLayout->addWidget(columnIcon(QStringLiteral(":/resources/outliner/LockView_Title_Eye.svg"),
                                         QStringLiteral("Toggle visibility"), px(15), px(12), header));
    m_headerLayout->addWidget(columnIcon(QStringLiteral(":/resources/outliner/LockView_Lock.svg"),
                                         QStringLiteral("Toggle editability"), px(20), px(12), header));

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
    m_tree->verticalScrollBar()->installEventFilter(this);
    setMinimumWidth(px(180));
}

void OutlinerPanel::rebuild(const QGraphicsScene* scene)
{
    const QSignalBlocker blocker(m_tree);
    m_tree->rebuildFromScene(scene);
}

void OutlinerPanel::showScene(const QGraphicsScene* scene, const QList<QGraphicsItem*>& selection)
{
    const QSignalBlocker blocker(m_tree);
    m_tree->updateFromScene(scene);
    m_tree->selectItems(selection);
}

void OutlinerPanel::showSelection(const QList<QGraphicsItem*>& selection)
{
    const QSignalBlocker blocker(m_tree);
    m_tree->selectItems(selection);
}

bool OutlinerPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree->verticalScrollBar() &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        alignHeader();
    }
    return QWidget::eventFilter(watched, event);
}

void OutlinerPanel::alignHeader()
{
    const QScrollBar* bar = m_tree->verticalScrollBar();
    QMargins margins = m_headerLayout->contentsMargins();
    margins.setRight(bar->isVisible() ? bar->width() : 0);
    m_headerLayout->setContentsMargins(margins);
}
