#include "TSLineEditUpdateable.h"

TSLineEditUpdateable::TSLineEditUpdateable(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::editingFinished, this, &TSLineEditUpdateable::commit);
}

void TSLineEditUpdateable::showCommitted(const QString& text)
{
    m_committed = text;
    setText(text);
}

void TSLineEditUpdateable::applyText(const QString& text)
{
    setText(text);
    commit();
}

void TSLineEditUpdateable::commit()
{
    if (text() == m_committed) {
        return;
    }
    const QString previous = m_committed;
    m_committed = text();
    Q_EMIT committed(m_committed, previous);
}
