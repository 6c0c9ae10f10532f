#include "TSPAttributeString.h"

#include "CCDictionary.h"
#include "CCString.h"

using namespace cocos2d;

TSPAttributeString::TSPAttributeString(TSModel* owner, int editorHint) : TSPAttribute(owner, String, editorHint) {}

void TSPAttributeString::setValue(const std::string& value)
{
    m_value = value;
    changed();
}

void TSPAttributeString::loadValue(CCDictionary* dict)
{
    TSPAttribute::loadValue(dict);
    if (const auto* stored = dict ? dict->objectForKeyAs<CCString>("value") : nullptr) {
        m_value = stored->string();
    }
}

CCDictionary* TSPAttributeString::valueDictionary()
{
    CCDictionary* dict = TSPAttribute::valueDictionary();
    if (dict && !m_value.empty()) {
        dict->setObject(CCString::create(m_value), "value");
    }
    return dict;
}

void TSPAttributeString::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributeString*>(other)) {
        m_value = source->m_value;
    }
}
