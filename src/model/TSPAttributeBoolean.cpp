#include "TSPAttributeBoolean.h"

#include "CCDictionary.h"
#include "CCString.h"

using namespace cocos2d;

TSPAttributeBoolean::TSPAttributeBoolean(TSModel* owner, int editorHint) : TSPAttribute(owner, Boolean, editorHint)
{
}

void TSPAttributeBoolean::setValue(bool value)
{
    m_value = value;
    changed();
}

void TSPAttributeBoolean::setDefaultValue(bool value)
{
    setValue(value);
    m_defaultValue = value;
}

void TSPAttributeBoolean::loadValue(CCDictionary* dict)
{
    TSPAttribute::loadValue(dict);
    if (const auto* stored = dict ? dict->objectForKeyAs<CCString>("value") : nullptr) {
        m_value = stored->boolValue();
    }
}

CCDictionary* TSPAttributeBoolean::valueDictionary()
{
    CCDictionary* dict = TSPAttribute::valueDictionary();
    if (dict && m_value != m_defaultValue) {
        dict->setObject(CCString::createWithFormat("%d", m_value ? 1 : 0), "value");
    }
    return dict;
}

void TSPAttributeBoolean::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributeBoolean*>(other)) {
        m_value = source->m_value;
    }
}
