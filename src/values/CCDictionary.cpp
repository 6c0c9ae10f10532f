#include "CCDictionary.h"

#include "CCArray.h"
#include "CCFileUtils.h"
#include "CCInteger.h"
#include "CCString.h"

namespace cocos2d {

namespace {
// Below this size a linear scan beats hashing.
constexpr size_t kIndexThreshold = 32;
} // namespace

CCDictionary::~CCDictionary()
{
    removeAllObjects();
}

CCDictionary* CCDictionary::create()
{
    auto* dict = new CCDictionary();
    dict->autorelease();
    return dict;
}

CCDictionary* CCDictionary::createWithContentsOfFile(const QString& path)
{
    return CCFileUtils::sharedFileUtils()->createCCDictionaryWithContentsOfFile(path);
}

bool CCDictionary::writeToFile(const QString& path) const
{
    return CCFileUtils::sharedFileUtils()->writeToFile(this, path);
}

std::string CCDictionary::storedKey(const std::string& key)
{
    if (key.size() <= kMaxKeyLength) {
        return key;
    }
    return key.substr(key.size() - kMaxKeyLength);
}

void CCDictionary::rebuildIndex() const
{
    if (m_elements.size() < kIndexThreshold) {
        return;
    }
    if (m_keyType == KeyType::String && !m_strIndex) {
        m_strIndex = std::make_unique<std::unordered_map<std::string, int>>();
        m_strIndex->reserve(m_elements.size() * 2);
        for (size_t i = 0; i < m_elements.size(); ++i) {
            m_strIndex->emplace(m_elements[i].strKey, static_cast<int>(i));
        }
    } else if (m_keyType == KeyType::Int && !m_intIndex) {
        m_intIndex = std::make_unique<std::unordered_map<int, int>>();
        m_intIndex->reserve(m_elements.size() * 2);
        for (size_t i = 0; i < m_elements.size(); ++i) {
            m_intIndex->emplace(m_elements[i].intKey, static_cast<int>(i));
        }
    }
}

namespace {

/// The position of key: through the index when there is one, else by a scan of the elements.
template <typename Key, typename Index, typename Elements, typename KeyOf>
int findIn(const Key& key, const Index* index, const Elements& elements, KeyOf keyOf)
{
    if (index) {
        const auto it = index->find(key);
        return it == index->end() ? -1 : it->second;
    }
    for (size_t i = 0; i < elements.size(); ++i) {
        if (keyOf(elements[i]) == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

int CCDictionary::findString(const std::string& stored) const
{
    if (m_keyType != KeyType::String) {
        return -1;
    }
    rebuildIndex();
    return findIn(stored, m_strIndex.get(), m_elements, [](const Element& e) -> const std::string& { return e.strKey; });
}

int CCDictionary::findInt(int key) const
{
    if (m_keyType != KeyType::Int) {
        return -1;
    }
    rebuildIndex();
    return findIn(key, m_intIndex.get(), m_elements, [](const Element& e) { return e.intKey; });
}

void CCDictionary::append(Element element)
{
    if (element.object) {
        element.object->retain();
    }
    const int index = static_cast<int>(m_elements.size());
    if (m_strIndex) {
        m_strIndex->emplace(element.strKey, index);
    }
    if (m_intIndex) {
        m_intIndex->emplace(element.intKey, index);
    }
    m_elements.push_back(std::move(element));
}

void CCDictionary::removeAt(int index)
{
    CCObject* obj = m_elements[static_cast<size_t>(index)].object;
    m_elements.erase(m_elements.begin() + index);
    // Positions after the removed element moved; rebuild the index on the next lookup.
    m_strIndex.reset();
    m_intIndex.reset();
    if (obj) {
        obj->release();
    }
}

void CCDictionary::setObject(CCObject* obj, const std::string& key)
{
    if (m_keyType == KeyType::None) {
        m_keyType = KeyType::String;
    } else if (m_keyType != KeyType::String) {
        return;
    }
    std::string stored = storedKey(key);
    const int index = findString(stored);
    if (index >= 0) {
        if (m_elements[static_cast<size_t>(index)].object == obj) {
            return;
        }
        // Keep obj alive while the old element (which may be its only other owner) goes.
        if (obj) {
            obj->retain();
        }
        removeAt(index);
        append(Element{std::move(stored), 0, obj});
        if (obj) {
            obj->release();
        }
        return;
    }
    append(Element{std::move(stored), 0, obj});
}

void CCDictionary::setObject(CCObject* obj, int key)
{
    if (m_keyType == KeyType::None) {
        m_keyType = KeyType::Int;
    } else if (m_keyType != KeyType::Int) {
        return;
    }
    const int index = findInt(key);
    if (index >= 0) {
        if (m_elements[static_cast<size_t>(index)].object == obj) {
            return;
        }
        if (obj) {
            obj->retain();
        }
        removeAt(index);
        append(Element{std::string(), key, obj});
        if (obj) {
            obj->release();
        }
        return;
    }
    append(Element{std::string(), key, obj});
}

CCObject* CCDictionary::objectForKey(const std::string& key) const
{
    if (m_keyType != KeyType::String) {
        return nullptr;
    }
    const int index = findString(key.size() <= kMaxKeyLength ? key : storedKey(key));
    return index >= 0 ? m_elements[static_cast<size_t>(index)].object : nullptr;
}

CCObject* CCDictionary::objectForKey(int key) const
{
    const int index = findInt(key);
    return index >= 0 ? m_elements[static_cast<size_t>(index)].object : nullptr;
}

CCString* CCDictionary::valueForKey(const std::string& key) const
{
    if (auto* string = dynamic_cast<CCString*>(objectForKey(key))) {
        return string;
    }
    return CCString::create(std::string());
}

CCString* CCDictionary::valueForKey(int key) const
{
    if (auto* string = dynamic_cast<CCString*>(objectForKey(key))) {
        return string;
    }
    return CCString::create(std::string());
}

void CCDictionary::removeObjectForKey(const std::string& key)
{
    const int index = findString(storedKey(key));
    if (index >= 0) {
        removeAt(index);
    }
}

void CCDictionary::removeObjectForKey(int key)
{
    const int index = findInt(key);
    if (index >= 0) {
        removeAt(index);
    }
}

void CCDictionary::removeAllObjects()
{
    std::vector<Element> elements;
    elements.swap(m_elements);
    m_strIndex.reset();
    m_intIndex.reset();
    for (Element& element : elements) {
        if (element.object) {
            element.object->release();
        }
    }
}

CCArray* CCDictionary::allKeys() const
{
    if (m_elements.empty()) {
        return nullptr;
    }
    auto* keys = CCArray::createWithCapacity(count());
    for (const Element& element : m_elements) {
        CCObject* key = nullptr;
        if (m_keyType == KeyType::String) {
            key = new CCString(element.strKey);
        } else {
            key = new CCInteger(element.intKey);
        }
        keys->addObject(key);
        key->release();
    }
    return keys;
}

CCObject* CCDictionary::copyWithZone(CCZone*)
{
    auto* copy = new CCDictionary();
    copy->m_keyType = m_keyType;
    for (const Element& element : m_elements) {
        CCObject* value = element.object ? element.object->copy() : nullptr;
        copy->append(Element{element.strKey, element.intKey, value});
        if (value) {
            value->release();
        }
    }
    return copy;
}

} // namespace cocos2d
