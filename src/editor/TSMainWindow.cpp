#include "TSMainWindow.h"

#include <QDebug>
#include <QLabel>

TSMainWindow::TSMainWindow(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Bonestage (unfinished build)"));
    auto* label = new QLabel(tr("The editor window is not built yet."), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    resize(960, 600);
}

void TSMainWindow::showWelcomeWindow(bool)
{
    show();
}

void TSMainWindow::openFile(const QString& path)
{
    qWarning() << "[TSMainWindow] opening documents is not available yet:" << path;
}

bool TSMainWindow::confirmClose()
{
    return true;
}
