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
#include <memory>

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
        application = std::make_unique<QCoreApplication>(argc, argv);
        QCoreApplication::setOrganizationName("wrenfold");
        QCoreApplication::setApplicationName("BonestageFuzz");
        AnimationModelClasses::registerAll();
        document = root.filePath("input.bsdoc");
    }

    QTemporaryDir root{QDir::tempPath() + "/bonestage-fuzz-XXXXXX"};
    std::unique_ptr<QCoreApplication> application;
    QString document;
};

Environment& environment()
{
    static Environment instance;
    return instance;
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
