#include "TSAttributeWidgetBoolean.h"

#include "TSPAttributeBoolean.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QSignalBlocker>

TSAttributeWidgetBoolean::TSAttributeWidgetBoolean(TSPAttributeBoolean* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_boolean(attribute)
{
}

void TSAttributeWidgetBoolean::buildEditor(int, QBoxLayout* layout)
{
    m_check = new QCheckBox(this);
    m_check->setObjectName(QStringLiteral("checkBox"));
    watchEditor(m_check);
    connect(m_check, &QCheckBox::toggled, this, &TSAttributeWidgetBoolean::checkboxWidgetToggled);
    layout->addWidget(m_check);
    layout->addStretch(1);
}

void TSAttributeWidgetBoolean::refresh()
{
    TSAttributeWidget::refresh();
    if (m_check) {
        const QSignalBlocker blocker(m_check);
        m_check->setChecked(m_boolean->value());
    }
}

void TSAttributeWidgetBoolean::checkboxWidgetToggled(bool value)
{
    m_boolean->setValue(value);
    attributeEditingFinished();
}
