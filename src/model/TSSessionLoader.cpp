#include "TSSessionLoader.h"

#include "CCArray.h"
#include "ImageFile.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSModel.h"
#include "TSModelController.h"
#include "TSModelGeneralSettings.h"

#include <QFileInfo>

#include <algorithm>

using namespace cocos2d;

void TSSessionLoader::load()
{
    const QString working = m_controller->workingPath();
    const QString main = working + QStringLiteral("/main.xml");
    if (QFileInfo::exists(main)) {
        TSModelController::log("LoadFromFile : %s", qPrintable(main));
    } else {
        while (!loadStep()) {
        }
    }
    // New ids continue after every stored one, even where the stored last id is behind.
    unsigned next = 0;
    if (TSModelGeneralSettings* settings = TSModelGeneralSettings::current()) {
        next = settings->lastIdNumber() + 1;
    }
    for (const std::string& className : m_controller->classesWithModels()) {
        for (CCObject* obj : *m_controller->modelsOfClass(className)) {
            next = std::max(next, static_cast<TSModel*>(obj)->id());
        }
    }
    TSModelController::setCurrentId(next);
    if (CCArray* images = m_controller->modelsOfClass("TSGraphicsPixmapModel")) {
        for (CCObject* obj : *images) {
            auto* image = static_cast<TSModel*>(obj);
            image->takePictureFromFile(ImageFile::read(image->imageFilePath()));
        }
    }
}

bool TSSessionLoader::loadStep()
{
    TSModelController::LoadProgress& progress = m_controller->loadProgress();
    const std::vector<std::string> classes = TSModelController::registeredClasses();
    const int classCount = static_cast<int>(classes.size());
    if (progress.classIndex >= 0) {
        progress.percent = progress.classIndex * 50 / classCount + progress.pass * 50;
    }
    const int index = progress.classIndex + 1;
    if (index >= classCount) {
        if (progress.pass == 1) {
            return true;
        }
        TSModelController::log("LOADING CONNECTIONS ----------------------------------------------------------");
        progress.classIndex = -1;
        progress.fileNumber = 0;
        progress.pass = 1;
        return false;
    }
    const QString className = QString::fromStdString(classes[static_cast<size_t>(index)]);
    const QString stem = m_controller->workingPath() + QLatin1Char('/') + className + QLatin1Char('.') +
                         QString::number(progress.fileNumber);
    const QString passFile = stem + (progress.pass == 0 ? QStringLiteral(".attributes.xml")
                                                        : QStringLiteral(".connections.xml"));
    const bool read = loadFile(passFile, progress.pass) || loadFile(stem + QStringLiteral(".xml"), progress.pass);
    ++progress.fileNumber;
    if (!read) {
        progress.fileNumber = 0;
        progress.classIndex = index;
    }
    return false;
}

bool TSSessionLoader::loadFile(const QString& path, int pass)
{
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    TSModelController::log("[TSModelController] load data(%d) for class from file: %s", pass, qPrintable(path));
    CCDictionary* root = CCDictionary::createWithContentsOfFile(path);
    if (!root) {
        TSModelController::log("[TSModelController] load data - fail");
        return false;
    }
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const std::string fileClass = fileName.left(fileName.indexOf(QLatin1Char('.'))).toStdString();
    auto* list = root->objectForKeyAs<CCArray>("ROOT");
    if (!list) {
        TSModelController::log("[TSModelController] load ROOT array - fail");
        return false;
    }
    for (CCObject* obj : *list) {
        auto* dict = dynamic_cast<CCDictionary*>(obj);
        if (!dict) {
            continue;
        }
        if (pass == 0) {
            auto* className = dict->objectForKeyAs<CCString>("className");
            if (!className) {
                TSModelController::log("[TSModelController] avoiding object with no className");
                continue;
            }
            TSModel* model = m_controller->createModel(className->string());
            if (!model) {
                continue;
            }
            model->loadAttributes(dict);
            // A project holds one settings model: the stored one replaces the fresh one.
            m_controller->addModel(model, className->string() == "TSModelGeneralSettings");
            model->release();
            continue;
        }
        const int id = dict->valueForKey("id")->intValue();
        TSModel* model = m_controller->modelWithId(static_cast<unsigned>(id));
        if (!model) {
            TSModelController::log("[TSModelController] no model for connection with id %d", id);
            continue;
        }
        if (model->className() == fileClass) {
            model->loadConnections(dict);
        } else if (CCArray* sameClass = m_controller->modelsOfClass(fileClass)) {
            for (CCObject* candidate : *sameClass) {
                auto* other = static_cast<TSModel*>(candidate);
                if (other->id() == static_cast<unsigned>(id)) {
                    other->loadConnections(dict);
                }
            }
        }
    }
    return true;
}
