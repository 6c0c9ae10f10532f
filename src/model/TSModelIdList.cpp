#include "TSModelIdList.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSModel.h"
#include "TSModelController.h"

using namespace cocos2d;

TSModelIdList::TSModelIdList(std::string className) : m_className(std::move(className)), m_models(new CCArray()) {}

TSModelIdList::~TSModelIdList()
{
    m_models->release();
}

CCArray* TSModelIdList::models()
{
    resolve();
    return m_models;
}

unsigned TSModelIdList::count()
{
    return models()->count();
}

TSModel* TSModelIdList::at(unsigned index)
{
    return index < count() ? static_cast<TSModel*>(m_models->objectAtIndex(index)) : nullptr;
}

void TSModelIdList::append(TSModel* model)
{
    resolve();
    if (model) {
        m_models->addObject(model);
    }
}

void TSModelIdList::remove(TSModel* model)
{
    resolve();
    m_models->removeObject(model);
}

bool TSModelIdList::contains(TSModel* model)
{
    return models()->containsObject(model);
}

void TSModelIdList::clear()
{
    m_pendingIds.clear();
    m_models->removeAllObjects();
}

void TSModelIdList::writeIds(CCDictionary* dict, const char* key)
{
    auto* ids = CCArray::createWithCapacity(count());
    for (CCObject* obj : *m_models) {
        ids->addObject(CCString::createWithInteger(static_cast<int>(static_cast<TSModel*>(obj)->id())));
    }
    dict->setObject(ids, key);
}

void TSModelIdList::readIds(CCDictionary* dict, const char* key)
{
    clear();
    const auto* ids = dict ? dict->objectForKeyAs<CCArray>(key) : nullptr;
    if (!ids) {
        return;
    }
    for (const CCObject* obj : *ids) {
        if (const auto* text = dynamic_cast<const CCString*>(obj)) {
            m_pendingIds.push_back(static_cast<unsigned>(text->intValue()));
        }
    }
}

void TSModelIdList::resolve()
{
    if (m_pendingIds.empty()) {
        return;
    }
    const std::vector<unsigned> ids = std::move(m_pendingIds);
    m_pendingIds.clear();
    TSModelController* controller = TSModelController::instance();
    for (unsigned id : ids) {
        TSModel* model = controller->modelWithId(id);
        if (model && model->className() == m_className) {
            m_models->addObject(model);
        }
    }
}
