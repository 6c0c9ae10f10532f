#pragma once

#include "CCObject.h"

#include <QString>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace cocos2d {

class CCArray;
class CCString;

/// Hash table of retained objects under string or integer keys, enumerated in insertion order.
///
/// The first insertion fixes the key type; lookups of the other type find nothing. String keys
/// keep at most their last 256 characters, on insertion and on lookup alike.
class CCDictionary : public CCObject
{
public:
    enum class KeyType { None, String, Int };

    static constexpr size_t kMaxKeyLength = 256;

    /// One key and its (possibly null) object.
    struct Element
    {
        std::string strKey;
        int intKey = 0;
        CCObject* object = nullptr;
    };

    CCDictionary() = default;
    ~CCDictionary() override;

    /// New autoreleased empty dictionary.
    static CCDictionary* create();
    /// Reads a property-list file; an autoreleased dictionary, or null when it cannot be read.
    static CCDictionary* createWithContentsOfFile(const QString& path);

    void setObject(CCObject* obj, const std::string& key);
    void setObject(CCObject* obj, int key);

    CCObject* objectForKey(const std::string& key) const;
    CCObject* objectForKey(int key) const;
    /// The object when it is a string, otherwise a new autoreleased empty string.
    CCString* valueForKey(const std::string& key) const;
    CCString* valueForKey(int key) const;

    void removeObjectForKey(const std::string& key);
    void removeObjectForKey(int key);
    void removeAllObjects();

    unsigned count() const { return static_cast<unsigned>(m_elements.size()); }
    KeyType keyType() const { return m_keyType; }
    /// Null when empty; otherwise a new autoreleased array of the keys in insertion order.
    CCArray* allKeys() const;

    /// Elements in insertion order.
    const std::vector<Element>& elements() const { return m_elements; }

    /// Deep copy in insertion order; values that cannot be copied come out null.
    CCObject* copyWithZone(CCZone* zone) override;

    /// Writes a property-list file; true on success.
    bool writeToFile(const QString& path) const;

    /// Typed lookups: the object when it exists and has that type, else null.
    template <class T> T* objectForKeyAs(const std::string& key) const
    {
        return dynamic_cast<T*>(objectForKey(key));
    }

private:
    static std::string storedKey(const std::string& key);
    int findString(const std::string& stored) const;
    int findInt(int key) const;
    void append(Element element);
    void removeAt(int index);
    void rebuildIndex() const;

    std::vector<Element> m_elements;
    KeyType m_keyType = KeyType::None;
    // Built lazily once the dictionary is large; small dictionaries scan their elements.
    mutable std::unique_ptr<std::unordered_map<std::string, int>> m_strIndex;
    mutable std::unique_ptr<std::unordered_map<int, int>> m_intIndex;
};

} // namespace cocos2d
