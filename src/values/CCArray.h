#pragma once

#include "CCObject.h"

#include <cstddef>
#include <vector>

namespace cocos2d {

/// Ordered, retaining sequence of objects in a buffer whose capacity doubles when full.
class CCArray : public CCObject
{
public:
    CCArray() : CCArray(1) {}
    explicit CCArray(unsigned capacity);
    ~CCArray() override;

    /// New autoreleased array of capacity 1.
    static CCArray* create();
    /// New autoreleased array of the given capacity (at least 1).
    static CCArray* createWithCapacity(unsigned capacity);

    /// Appends and retains obj; a null entry is kept as a hole that ends copying and writing.
    void addObject(CCObject* obj);
    /// The index is not checked: callers pass an index below count().
    CCObject* objectAtIndex(unsigned index) const { return m_data[index]; }
    CCObject* lastObject() const { return m_data.empty() ? nullptr : m_data.back(); }
    unsigned count() const { return static_cast<unsigned>(m_data.size()); }
    unsigned capacity() const { return m_capacity; }
    bool containsObject(const CCObject* obj) const;
    int indexOfObject(const CCObject* obj) const;

    /// Removes the first element identical to obj, keeping the order of the others.
    void removeObject(CCObject* obj, bool releaseObj = true);
    void removeObjectAtIndex(unsigned index, bool releaseObj = true);
    void insertObject(CCObject* obj, unsigned index);
    void removeAllObjects();

    /// Deep copy: a copy() of every element up to the first null one.
    CCObject* copyWithZone(CCZone* zone) override;

    CCObject* const* begin() const { return m_data.data(); }
    CCObject* const* end() const { return m_data.data() + m_data.size(); }

private:
    void growFor(std::size_t count);

    std::vector<CCObject*> m_data;
    unsigned m_capacity;
};

} // namespace cocos2d
