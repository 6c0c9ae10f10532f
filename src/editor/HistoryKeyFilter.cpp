#include "HistoryKeyFilter.h"

#include "HistoryManager.h"

#include <QKeyEvent>

HistoryKeyFilter::HistoryKeyFilter(QObject* parent) : QObject(parent) {}

void HistoryKeyFilter::install(QObject* widget)
{
    if (widget) {
        widget->installEventFilter(new HistoryKeyFilter(widget));
    }
}

bool HistoryKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) {
        return QObject::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::ControlModifier || (key->key() != Qt::Key_Z && key->key() != Qt::Key_Y)) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed, so no shortcut takes the keys; the key press that follows comes here.
        event->accept();
        return true;
    }
    if (HistoryManager* history = HistoryManager::instance()) {
        key->key() == Qt::Key_Z ? history->undo() : history->redo();
    }
    return true;
}
