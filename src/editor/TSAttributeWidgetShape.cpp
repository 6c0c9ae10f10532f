#include "TSAttributeWidgetShape.h"

#include <QBoxLayout>
#include <QPushButton>

TSAttributeWidgetShape::TSAttributeWidgetShape(TSPAttribute* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent)
{
}

void TSAttributeWidgetShape::buildEditor(int, QBoxLayout* layout)
{
    m_button = new QPushButton(QStringLiteral("Edit"), this);
    m_button->setObjectName(QStringLiteral("editShapeButton"));
    m_button->setFlat(true);
    m_button->setToolTip(QStringLiteral("Edit Collision Shape"));
    watchEditor(m_button);
    connect(m_button, &QPushButton::clicked, this, [this] { Q_EMIT shapeEditingRequested(attribute()); });
    layout->addWidget(m_button, 1);
}
