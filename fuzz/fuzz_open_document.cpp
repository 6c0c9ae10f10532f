// Feeds arbitrary bytes to the document opener as a ".bsdoc" file: extraction, then loading of
// whatever model files the archive holds.
#include "AnimationModelClasses.h"
#include "CCPoolManager.h"
#include "TSModelController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct Environment
{
    Environment()
    {
        // Working folders and settings of the fuzzer stay in a folder of its own.
        qputenv("TMPDIR", root.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (root.path() + "/config").toLocal8Bit());
        static int argc = 1;
        static char name[] = "fuzz_open_document";
        static char* argv[] = {name, nullptr};
        // Kept to the end of the process on purpose: the fuzzer exits from inside its own loop,
        // after Qt's globals are gone, so nothing Qt may be torn down then.
        application = new QCoreApplication(argc, argv);
        QCoreApplication::setOrganizationName("wrenfold");
        QCoreApplication::setApplicationName("BonestageFuzz");
        AnimationModelClasses::registerAll();
        // The loader logs every file it reads; at thousands of inputs a second that is only noise.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        document = root.filePath("input.bsdoc");
    }

    QTemporaryDir root{QDir::tempPath() + "/bonestage-fuzz-XXXXXX"};
    QCoreApplication* application = nullptr;
    QString document;
};

Environment& environment()
{
    static Environment* instance = new Environment();
    return *instance;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    environment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Environment& env = environment();
    QFile file(env.document);
    if (!file.open(QIODevice::WriteOnly)) {
        return 0;
    }
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    TSModelController* controller = TSModelController::instance();
    controller->clearError();
    controller->openDocument(env.document);
    controller->reset();
    cocos2d::CCPoolManager::sharedPoolManager()->drain();
    return 0;
}
