// A bare Qt main window, the baseline of the editor's start-up: it tells that it is up the way the
// editor's welcome window does, once it is shown.
#include "StartupSignal.h"

#include <QApplication>
#include <QMainWindow>

namespace {

class BareWindow : public QMainWindow
{
protected:
    void showEvent(QShowEvent* event) override
    {
        QMainWindow::showEvent(event);
        signalStartupComplete();
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    BareWindow window;
    window.show();
    return application.exec();
}
