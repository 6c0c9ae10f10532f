#pragma once
// Test helpers for models held by the controller: handing new ones over, and a round trip of
// every model through property-list files.

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSModel.h"
#include "TSModelController.h"

#include <QDir>
#include <QString>

#include <string>
#include <vector>

namespace test {

/// Adds a new model to the controller, which keeps the only reference, and returns it.
template <class T> T* added(T* model, bool replace = false)
{
    TSModelController::instance()->addModel(model, replace);
    model->release();
    return model;
}

/// Writes every model through files and loads them back into the reset controller in two passes
/// (attributes, then connections), the way a document is stored.
inline bool roundTripModels(const QString& folder)
{
    using namespace cocos2d;
    TSModelController* controller = TSModelController::instance();
    const std::vector<std::string> classes = controller->classesWithModels();
    for (const std::string& className : classes) {
        for (int pass = 0; pass < 2; ++pass) {
            auto* list = CCArray::create();
            for (CCObject* obj : *controller->modelsOfClass(className)) {
                auto* model = static_cast<TSModel*>(obj);
                list->addObject(pass == 0 ? model->attributesDictionary() : model->connectionsDictionary());
            }
            auto* root = CCDictionary::create();
            root->setObject(list, "ROOT");
            const QString path = QDir(folder).filePath(QString::fromStdString(className) +
                                                       (pass == 0 ? ".attributes.xml" : ".connections.xml"));
            if (!root->writeToFile(path)) {
                return false;
            }
        }
    }
    controller->reset();
    for (int pass = 0; pass < 2; ++pass) {
        for (const std::string& className : classes) {
            const QString path = QDir(folder).filePath(QString::fromStdString(className) +
                                                       (pass == 0 ? ".attributes.xml" : ".connections.xml"));
            CCDictionary* root = CCDictionary::createWithContentsOfFile(path);
            CCArray* list = root ? root->objectForKeyAs<CCArray>("ROOT") : nullptr;
            if (!list) {
                return false;
            }
            for (CCObject* obj : *list) {
                auto* dict = static_cast<CCDictionary*>(obj);
                if (pass == 0) {
                    TSModel* model = controller->createModel(className);
                    if (!model) {
                        continue;
                    }
                    model->loadAttributes(dict);
                    controller->addModel(model, true);
                    model->release();
                } else if (TSModel* model = controller->modelWithId(
                               static_cast<unsigned>(dict->valueForKey("id")->intValue()))) {
                    model->loadConnections(dict);
                }
            }
        }
    }
    return true;
}

} // namespace test
