// Test helper: opens a document and saves it over and over, each time with the next number in
// its canvas frame, announcing "saving N" before and "saved N" after each save, until killed.
#include "AnimationModelClasses.h"
#include "AppInfo.h"
#include "TSModelController.h"
#include "TSModelGeneralSettings.h"

#include <QGuiApplication>
#include <QRectF>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s document\n", argv[0]);
        return 1;
    }
    AppInfo::setRecord(AppInfo::bonestageRecord());
    AnimationModelClasses::registerAll();
    const QString path = QString::fromLocal8Bit(argv[1]);
    TSModelController* controller = TSModelController::instance();
    if (!controller->openDocument(path) || !TSModelGeneralSettings::current()) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], qPrintable(controller->errorString()));
        return 1;
    }
    for (int number = 1;; ++number) {
        TSModelGeneralSettings::current()->setObjectFrameRect(QRectF(number, 0, 100, 100));
        std::printf("saving %d\n", number);
        std::fflush(stdout);
        if (!controller->saveDocument(path)) {
            std::fprintf(stderr, "cannot save %s: %s\n", argv[1], qPrintable(controller->errorString()));
            return 2;
        }
        std::printf("saved %d\n", number);
        std::fflush(stdout);
    }
}
