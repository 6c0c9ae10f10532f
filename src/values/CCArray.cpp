#include "CCArray.h"

#include <algorithm>

namespace cocos2d {

CCArray::CCArray(unsigned capacity) : m_capacity(std::max(1u, capacity))
{
    m_data.reserve(m_capacity);
}

CCArray::~CCArray()
{
    removeAllObjects();
}

CCArray* CCArray::create()
{
    return createWithCapacity(1);
}

CCArray* CCArray::createWithCapacity(unsigned capacity)
{
    auto* array = new CCArray(capacity);
    array->autorelease();
    return array;
}

void CCArray::growFor(size_t count)
{
    if (count <= m_capacity) {
        return;
    }
    while (m_capacity < count) {
        m_capacity *= 2;
    }
    m_data.reserve(m_capacity);
}

void CCArray::addObject(CCObject* obj)
{
    growFor(m_data.size() + 1);
    if (obj) {
        obj->retain();
    }
    m_data.push_back(obj);
}

void CCArray::insertObject(CCObject* obj, unsigned index)
{
    if (index > m_data.size()) {
        index = count();
    }
    growFor(m_data.size() + 1);
    if (obj) {
        obj->retain();
    }
    m_data.insert(m_data.begin() + index, obj);
}

bool CCArray::containsObject(const CCObject* obj) const
{
    return indexOfObject(obj) >= 0;
}

int CCArray::indexOfObject(const CCObject* obj) const
{
    const auto it = std::find(m_data.begin(), m_data.end(), obj);
    return it == m_data.end() ? -1 : static_cast<int>(it - m_data.begin());
}

void CCArray::removeObject(CCObject* obj, bool releaseObj)
{
    const int index = indexOfObject(obj);
    if (index >= 0) {
        removeObjectAtIndex(static_cast<unsigned>(index), releaseObj);
    }
}

void CCArray::removeObjectAtIndex(unsigned index, bool releaseObj)
{
    if (index >= m_data.size()) {
        return;
    }
    CCObject* obj = m_data[index];
    m_data.erase(m_data.begin() + index);
    if (releaseObj && obj) {
        obj->release();
    }
}

void CCArray::removeAllObjects()
{
    // Release from the last element to the first, as the objects were retained in order.
    while (!m_data.empty()) {
        CCObject* obj = m_data.back();
        m_data.pop_back();
        if (obj) {
            obj->release();
        }
    }
}

CCObject* CCArray::copyWithZone(CCZone*)
{
    auto* copy = new CCArray(m_capacity);
    for (CCObject* obj : m_data) {
        if (!obj) {
            break;
        }
        CCObject* element = obj->copy();
        copy->addObject(element);
        if (element) {
            element->release();
        }
    }
    return copy;
}

} // namespace cocos2d
