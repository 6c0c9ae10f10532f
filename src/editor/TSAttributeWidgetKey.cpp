#include "TSAttributeWidgetKey.h"

#include "TSMessageBox.h"
#include "TSPAttributeKey.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

TSAttributeWidgetKey::TSAttributeWidgetKey(TSPAttributeKey* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent), m_key(attribute)
{
}

bool TSAttributeWidgetKey::isSupported(int key)
{
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
           (key >= Qt::Key_F1 && key <= Qt::Key_F24) || (key >= Qt::Key_Left && key <= Qt::Key_Down) ||
           key == Qt::Key_Space;
}

void TSAttributeWidgetKey::buildEditor(int, QBoxLayout* layout)
{
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("hotKey"));
    m_field->setReadOnly(true);
    m_field->setPlaceholderText(QStringLiteral("Press a key"));
    // The history's filter, installed last, sees Ctrl+Z and Ctrl+Y first.
    m_field->installEventFilter(this);
    watchEditor(m_field);
    layout->addWidget(m_field, 1);
}

void TSAttributeWidgetKey::refresh()
{
    TSAttributeWidget::refresh();
    if (m_field) {
        m_field->setText(m_key->value() < 0 ? QString() : QKeySequence(m_key->value()).toString());
    }
}

bool TSAttributeWidgetKey::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field || event->type() != QEvent::KeyPress) {
        return TSAttributeWidget::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return TSAttributeWidget::eventFilter(watched, event);
    default:
        break;
    }
    if (!isSupported(key)) {
        onUnsupportedKeyPressed(
            QKeySequence(key).toString(),
            QStringLiteral("Only letters, digits, function keys, arrow keys and Space can be "
                           "used as hot keys."));
        return true;
    }
    m_pressed = key;
    attributeEditingRequest();
    return true;
}

void TSAttributeWidgetKey::attributeEditingRequest()
{
    if (m_pressed == m_key->value()) {
        return;
    }
    m_key->setValue(m_pressed);
    refresh();
    attributeEditingFinished();
}

void TSAttributeWidgetKey::onUnsupportedKeyPressed(QString keyName, QString description)
{
    TSMessageBox::warning(this, QStringLiteral("Wrong Key"),
                          QStringLiteral("You have pressed key: %1\r\n%2").arg(keyName, description));
}
