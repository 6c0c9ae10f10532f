#include "TSAttributeWidgetString.h"

#include "TSPAttributeString.h"

#include <QBoxLayout>
#include <QLineEdit>

TSAttributeWidgetString::TSAttributeWidgetString(TSPAttributeString* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_string(attribute)
{
}

void TSAttributeWidgetString::buildEditor(int, QBoxLayout* layout)
{
    m_edit = lineEdit(QStringLiteral("text"), [this] { attributeEditingRequest(); });
    layout->addWidget(m_edit, 1);
}

void TSAttributeWidgetString::refresh()
{
    TSAttributeWidget::refresh();
    if (m_edit) {
        m_edit->setText(m_string->text());
        m_edit->setModified(false);
    }
}

void TSAttributeWidgetString::attributeEditingRequest()
{
    if (m_edit->text() == m_string->text()) {
        return;
    }
    m_string->setText(m_edit->text());
    attributeEditingFinished();
}
