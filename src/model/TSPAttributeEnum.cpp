#include "TSPAttributeEnum.h"

#include "CCDictionary.h"
#include "CCString.h"

using namespace cocos2d;

TSPAttributeEnum::TSPAttributeEnum(TSModel* owner, int editorHint)
    : TSPAttribute(owner, Enum, editorHint), m_options(new CCDictionary())
{
}

TSPAttributeEnum::~TSPAttributeEnum()
{
    m_options->release();
}

void TSPAttributeEnum::setOptions(CCDictionary* options)
{
    ccAssign(m_options, options ? options : CCDictionary::create());
}

void TSPAttributeEnum::setSelectedValue(const std::string& value)
{
    m_selected = value;
    changed();
}

void TSPAttributeEnum::loadValue(CCDictionary* dict)
{
    TSPAttribute::loadValue(dict);
    if (const auto* stored = dict ? dict->objectForKeyAs<CCString>("selectedStringValue") : nullptr) {
        m_selected = stored->string();
    }
}

CCDictionary* TSPAttributeEnum::valueDictionary()
{
    CCDictionary* dict = TSPAttribute::valueDictionary();
    if (dict) {
        dict->setObject(CCString::create(m_selected), "selectedStringValue");
    }
    return dict;
}

void TSPAttributeEnum::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributeEnum*>(other)) {
        m_selected = source->m_selected;
        auto* options = static_cast<CCDictionary*>(source->m_options->copy());
        ccAssign(m_options, options);
        options->release();
    }
}
