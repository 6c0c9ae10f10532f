#include "TSPAttributeString.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelController.h"

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
        const size_t cut = utf8Prefix(m_value, kMaxLoadedLength);
        if (cut < m_value.size()) {
            TSModelController::log("[TSPAttributeString] %s: %zu characters cut to %d", name().c_str(),
                                   utf8Length(m_value), kMaxLoadedLength);
            m_value.resize(cut);
        }
    }
}

size_t TSPAttributeString::utf8Prefix(const std::string& text, size_t characters)
{
    for (size_t i = 0; i < text.size(); ++i) {
        // Every byte but a continuation byte starts a character.
        if ((static_cast<unsigned char>(text[i]) & 0xc0) != 0x80 && characters-- == 0) {
            return i;
        }
    }
    return text.size();
}

size_t TSPAttributeString::utf8Length(const std::string& text)
{
    size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    }
    return characters;
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
