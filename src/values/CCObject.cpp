#include "CCObject.h"

#include "CCPoolManager.h"

namespace cocos2d {

namespace {
// Ids are never reused within a process; the first object gets 1.
uint32_t s_lastObjectId = 0;
uint64_t s_liveObjects = 0;
} // namespace

CCObject* CCCopying::copyWithZone(CCZone*)
{
    return nullptr;
}

CCObject::CCObject() : m_uID(++s_lastObjectId)
{
    ++s_liveObjects;
}

CCObject::~CCObject()
{
    // Only an over-released object can still be in a pool here; take it out so the pool
    // does not release a dead pointer later.
    if (m_uAutoReleaseCount > 0) {
        CCPoolManager::sharedPoolManager()->removeObject(this);
    }
    --s_liveObjects;
}

bool CCObject::isEqual(const CCObject* other) const
{
    return this == other;
}

void CCObject::update(float) {}

void CCObject::retain()
{
    ++m_uReference;
}

void CCObject::release()
{
    if (m_uReference == 0) {
        return;
    }
    if (--m_uReference == 0) {
        delete this;
    }
}

CCObject* CCObject::autorelease()
{
    CCPoolManager::sharedPoolManager()->addObject(this);
    return this;
}

CCObject* CCObject::copy()
{
    return copyWithZone(nullptr);
}

uint64_t CCObject::liveObjectCount()
{
    return s_liveObjects;
}

} // namespace cocos2d
