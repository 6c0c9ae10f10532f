#include "TSAttributeWidgetAction.h"

#include "TSPAttributeAction.h"

#include <QBoxLayout>
#include <QPushButton>

TSAttributeWidgetAction::TSAttributeWidgetAction(TSPAttributeAction* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_action(attribute)
{
}

void TSAttributeWidgetAction::buildEditor(int, QBoxLayout* layout)
{
    m_button = new QPushButton(displayName(), this);
    m_button->setObjectName(QStringLiteral("actionButton"));
    watchEditor(m_button);
    connect(m_button, &QPushButton::clicked, this, &TSAttributeWidgetAction::actionClicked);
    layout->addWidget(m_button, 1);
}

void TSAttributeWidgetAction::actionClicked()
{
    if (const TSPAttributeAction::Callback& callback = m_action->callback()) {
        callback(m_action->owner());
    }
    attributeEditingFinished();
}
