#include "TSPAttributeKey.h"

#include "CCDictionary.h"
#include "CCString.h"

using namespace cocos2d;

void TSPAttributeKey::setValue(int value)
{
    m_value = value;
    changed();
}

void TSPAttributeKey::loadValue(CCDictionary* dict)
{
    TSPAttribute::loadValue(dict);
    if (const auto* stored = dict ? dict->objectForKeyAs<CCString>("value") : nullptr) {
        m_value = stored->intValue();
    }
}

CCDictionary* TSPAttributeKey::valueDictionary()
{
    CCDictionary* dict = TSPAttribute::valueDictionary();
    if (dict) {
        dict->setObject(CCString::createWithFormat("%d", m_value), "value");
    }
    return dict;
}

void TSPAttributeKey::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributeKey*>(other)) {
        m_value = source->m_value;
    }
}
