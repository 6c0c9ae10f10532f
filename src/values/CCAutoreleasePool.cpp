#include "CCAutoreleasePool.h"

#include "CCArray.h"

namespace cocos2d {

CCAutoreleasePool::CCAutoreleasePool() : m_pManagedObjectArray(new CCArray(16)) {}

CCAutoreleasePool::~CCAutoreleasePool()
{
    clear();
    m_pManagedObjectArray->release();
}

void CCAutoreleasePool::addObject(CCObject* obj)
{
    m_pManagedObjectArray->addObject(obj);
    ++obj->m_uAutoReleaseCount;
    obj->release();
}

void CCAutoreleasePool::removeObject(CCObject* obj)
{
    for (uint32_t i = 0; i < obj->m_uAutoReleaseCount; ++i) {
        m_pManagedObjectArray->removeObject(obj, false);
    }
}

void CCAutoreleasePool::clear()
{
    for (CCObject* obj : *m_pManagedObjectArray) {
        if (obj) {
            --obj->m_uAutoReleaseCount;
        }
    }
    m_pManagedObjectArray->removeAllObjects();
}

unsigned CCAutoreleasePool::count() const
{
    return m_pManagedObjectArray->count();
}

} // namespace cocos2d
