#include "TSModelController.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "TSModel.h"
#include "TSModelGeneralSettings.h"

#include <QCoreApplication>
#include <QDebug>

#include <cstdarg>
#include <cstdio>

using namespace cocos2d;

namespace {

// Process-wide: the id counter survives reset() and restarts when the controller is destroyed.
unsigned s_idCounter = 0;

std::map<std::string, TSModelController::Factory>& registry()
{
    static std::map<std::string, TSModelController::Factory> classes = {
        {"TSModelGeneralSettings", [] { return static_cast<TSModel*>(new TSModelGeneralSettings()); }},
    };
    return classes;
}

} // namespace

QPointer<TSModelController> TSModelController::s_instance;

TSModelController::TSModelController(QObject* parent) : QObject(parent), m_modelsByClass(new CCDictionary()) {}

TSModelController::~TSModelController()
{
    removeAllModels();
    m_modelsByClass->release();
    s_idCounter = 0;
}

TSModelController* TSModelController::instance()
{
    if (!s_instance) {
        s_instance = new TSModelController(QCoreApplication::instance());
        s_instance->addFreshGeneralSettings();
    }
    return s_instance;
}

void TSModelController::destroyInstance()
{
    delete s_instance.data();
    s_idCounter = 0;
}

unsigned TSModelController::nextId()
{
    return ++s_idCounter;
}

unsigned TSModelController::currentId()
{
    return s_idCounter;
}

void TSModelController::setCurrentId(unsigned id)
{
    s_idCounter = id;
}

void TSModelController::registerClass(const std::string& className, Factory factory)
{
    registry()[className] = std::move(factory);
}

bool TSModelController::isRegistered(const std::string& className)
{
    return registry().count(className) > 0;
}

std::vector<std::string> TSModelController::registeredClasses()
{
    std::vector<std::string> names;
    for (const auto& entry : registry()) {
        names.push_back(entry.first);
    }
    return names;
}

TSModel* TSModelController::createModel(const std::string& className) const
{
    const auto it = registry().find(className);
    return it == registry().end() ? nullptr : it->second();
}

void TSModelController::addModel(TSModel* model, bool replaceSame)
{
    if (!model) {
        return;
    }
    model->retain();
    if (replaceSame) {
        if (CCArray* models = modelsOfClass(model->className())) {
            for (unsigned i = models->count(); i-- > 0;) {
                auto* other = static_cast<TSModel*>(models->objectAtIndex(i));
                if (other->isSameAs(model)) {
                    removeModel(other);
                }
            }
        }
    }
    CCArray* models = modelsOfClass(model->className());
    if (!models) {
        models = CCArray::create();
        m_modelsByClass->setObject(models, model->className());
    }
    models->addObject(model);
    m_modelsById[model->id()] = model;
    model->release();
}

void TSModelController::removeModel(TSModel* model)
{
    if (!model) {
        return;
    }
    const auto it = m_modelsById.find(model->id());
    if (it != m_modelsById.end() && it->second == model) {
        m_modelsById.erase(it);
    }
    if (CCArray* models = modelsOfClass(model->className())) {
        models->removeObject(model);
    }
}

void TSModelController::removeModelsOfClass(const std::string& className)
{
    CCArray* models = modelsOfClass(className);
    if (!models) {
        return;
    }
    models->retain();
    while (models->count() > 0) {
        auto* model = static_cast<TSModel*>(models->objectAtIndex(0));
        model->retain();
        model->removeFromController();
        models->removeObject(model);
        const auto it = m_modelsById.find(model->id());
        if (it != m_modelsById.end() && it->second == model) {
            m_modelsById.erase(it);
        }
        model->release();
    }
    models->release();
}

TSModel* TSModelController::modelWithId(unsigned id) const
{
    const auto it = m_modelsById.find(id);
    return it == m_modelsById.end() ? nullptr : it->second;
}

CCArray* TSModelController::modelsOfClass(const std::string& className) const
{
    return m_modelsByClass->objectForKeyAs<CCArray>(className);
}

std::vector<std::string> TSModelController::classesWithModels() const
{
    std::vector<std::string> names;
    for (const auto& element : m_modelsByClass->elements()) {
        names.push_back(element.strKey);
    }
    return names;
}

TSModel* TSModelController::animationWithName(const std::string& name) const
{
    if (CCArray* animations = modelsOfClass("TSModelSkeletonAnimation")) {
        for (CCObject* obj : *animations) {
            auto* model = static_cast<TSModel*>(obj);
            if (model->name() == name) {
                return model;
            }
        }
    }
    return nullptr;
}

void TSModelController::removeAllModels()
{
    m_modelsById.clear();
    m_modelsByClass->removeAllObjects();
}

void TSModelController::addFreshGeneralSettings()
{
    auto* settings = new TSModelGeneralSettings();
    addModel(settings, true);
    settings->release();
}

void TSModelController::reset()
{
    removeAllModels();
    addFreshGeneralSettings();
}

void TSModelController::log(const char* format, ...)
{
    char buffer[255];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    qDebug("%s", buffer);
}
