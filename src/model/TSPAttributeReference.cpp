#include "TSPAttributeReference.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSModel.h"
#include "TSModelController.h"

using namespace cocos2d;

TSPAttributeReference::TSPAttributeReference(TSModel* owner, int typeCode, int editorHint)
    : TSPAttribute(owner, typeCode, editorHint)
{
}

TSPAttributeReference::~TSPAttributeReference()
{
    ccReleaseAndClear(m_model);
}

void TSPAttributeReference::setReferencedModel(TSModel* model)
{
    ccAssign(m_model, model);
}

bool TSPAttributeReference::acceptsModel(TSModel*) const
{
    return true;
}

std::string TSPAttributeReference::idText(unsigned id) const
{
    return CCString::format("%d", static_cast<int>(id));
}

void TSPAttributeReference::adoptLoadedModel(TSModel* model)
{
    setReferencedModel(model);
}

void TSPAttributeReference::loadConnections(CCDictionary* dict)
{
    TSPAttribute::loadConnections(dict);
    const auto* stored = dict ? dict->objectForKeyAs<CCString>("value") : nullptr;
    if (!stored || stored->length() == 0) {
        return;
    }
    TSModel* model = TSModelController::instance()->modelWithId(static_cast<unsigned>(stored->intValue()));
    if (model && acceptsModel(model)) {
        adoptLoadedModel(model);
    }
}

CCDictionary* TSPAttributeReference::connectionDictionary()
{
    CCDictionary* dict = TSPAttribute::connectionDictionary();
    if (dict && m_model) {
        dict->setObject(CCString::create(idText(m_model->id())), "value");
    }
    return dict;
}

void TSPAttributeReference::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributeReference*>(other)) {
        setReferencedModel(source->m_model);
    }
}
