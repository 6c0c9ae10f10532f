#include "TSLineEditUpdateable.h"

TSLineEditUpdateable::TSLineEditUpdateable(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::editingFinished, this, &TSLineEditUpdateable::updatePreviousText);
}

void TSLineEditUpdateable::setPreviousText(const QString& text)
{
    m_previous = text;
    m_committed = this->text();
}

void TSLineEditUpdateable::showText(const QString& text)
{
    m_committed = text;
    m_previous = text;
    setText(text);
    setCursorPosition(0);
}

void TSLineEditUpdateable::editText(const QString& value)
{
    setText(value);
    m_previous = m_committed;
    m_committed = value;
    setModified(true);
    Q_EMIT requestChangeHandle();
}

void TSLineEditUpdateable::updatePreviousText()
{
    if (text() == m_committed) {
        return;
    }
    m_previous = m_committed;
    m_committed = text();
    Q_EMIT requestTextChange(m_previous, m_committed);
}
