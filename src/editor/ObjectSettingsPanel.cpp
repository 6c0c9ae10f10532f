#include "ObjectSettingsPanel.h"

#include "ObjectManipulator.h"
#include "Skeleton.h"

#include <cmath>

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ObjectSettingsPanel::ObjectSettingsPanel(QWidget* parent)
    : QWidget(parent), m_title(new QLabel(this)), m_values(new QLabel(this)), m_hint(new QLabel(this)),
      m_hintButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("objectSettingsFrame"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#objectSettingsFrame { background: rgb(30, 30, 30); }"));
    setMinimumWidth(200);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_values->setTextFormat(Qt::RichText);
    m_hint->setWordWrap(true);
    m_hint->setStyleSheet(QStringLiteral("color: rgb(242, 197, 90);"));
    m_hintButton->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->addWidget(m_title);
    layout->addWidget(m_values);
    layout->addStretch();
    layout->addWidget(m_hint);
    layout->addWidget(m_hintButton);
    connect(m_hintButton, &QPushButton::clicked, this, &ObjectSettingsPanel::hintButtonClicked);
}

void ObjectSettingsPanel::showItem(const Skeleton* skeleton, const QGraphicsItem* item)
{
    const QTransform t = item->transform();
    const QPointF scale(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
    const double rotation = ObjectManipulator::transformAngle(t);
    const QPointF position = item->sceneTransform().map(QPointF());
    if (const Skeleton::Node* node = skeleton->nodeByItem(item)) {
        showSelection(QStringLiteral("Node"), node->name, position, rotation, scale);
    } else if (const Skeleton::Asset* asset = skeleton->assetByItem(item)) {
        showSelection(QStringLiteral("Image"), asset->name.isEmpty() ? asset->nodeName : asset->name, position,
                      rotation, scale);
    }
}

void ObjectSettingsPanel::showSelection(const QString& kind, const QString& name, const QPointF& position,
                                        double rotation, const QPointF& scale)
{
    m_title->setText(kind + QStringLiteral(": ") + name);
    m_values->setText(QStringLiteral("<table cellspacing=4>"
                                     "<tr><td>Position</td><td>%1, %2</td></tr>"
                                     "<tr><td>Rotation</td><td>%3°</td></tr>"
                                     "<tr><td>Scale</td><td>%4, %5</td></tr></table>")
                          .arg(position.x(), 0, 'f', 1)
                          .arg(position.y(), 0, 'f', 1)
                          .arg(rotation, 0, 'f', 1)
                          .arg(scale.x(), 0, 'f', 2)
                          .arg(scale.y(), 0, 'f', 2));
}

void ObjectSettingsPanel::setHint(const QString& text, const QString& buttonText)
{
    m_hint->setText(text);
    m_hint->setVisible(!text.isEmpty());
    m_hintButton->setText(buttonText);
    m_hintButton->setVisible(!buttonText.isEmpty());
}

QString ObjectSettingsPanel::hint() const
{
    return m_hint->text();
}
