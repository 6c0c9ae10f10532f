#include "TSAttributeWidgetEnum.h"

#include "CCDictionary.h"
#include "TSPAttributeEnum.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QSignalBlocker>

TSAttributeWidgetEnum::TSAttributeWidgetEnum(TSPAttributeEnum* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_enum(attribute)
{
}

void TSAttributeWidgetEnum::buildEditor(int, QBoxLayout* layout)
{
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("options"));
    watchEditor(m_combo);
    connect(m_combo, qOverload<int>(&QComboBox::activated), this,
            &TSAttributeWidgetEnum::attributeEditingRequest);
    layout->addWidget(m_combo, 1);
}

void TSAttributeWidgetEnum::refresh()
{
    TSAttributeWidget::refresh();
    if (!m_combo) {
        return;
    }
    const QSignalBlocker blocker(m_combo);
    m_combo->clear();
    for (const auto& element : m_enum->options()->elements()) {
        m_combo->addItem(QString::fromStdString(element.strKey));
    }
    m_combo->setCurrentIndex(m_combo->findText(QString::fromStdString(m_enum->selectedValue())));
}

void TSAttributeWidgetEnum::attributeEditingRequest()
{
    const std::string chosen = m_combo->currentText().toStdString();
    if (chosen != m_enum->selectedValue()) {
        m_enum->setSelectedValue(chosen);
        attributeEditingFinished();
    }
}
