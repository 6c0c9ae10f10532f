#include "TSWidgetWindows.h"

#include <QCloseEvent>

TSWidgetWindows::TSWidgetWindows(QWidget* parent) : QWidget(parent, Qt::Window) {}

bool TSWidgetWindows::mayClose()
{
    return true;
}

void TSWidgetWindows::aboutToClose() {}

void TSWidgetWindows::closeEvent(QCloseEvent* event)
{
    if (mayClose()) {
        aboutToClose();
        event->accept();
    } else {
        event->ignore();
    }
}
