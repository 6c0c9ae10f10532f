#include "CCPoolManager.h"

#include "CCAutoreleasePool.h"

namespace cocos2d {

CCPoolManager* CCPoolManager::sharedPoolManager()
{
    static CCPoolManager manager;
    return &manager;
}

CCPoolManager::~CCPoolManager()
{
    while (!m_pools.empty()) {
        pop();
    }
}

CCAutoreleasePool* CCPoolManager::currentPool()
{
    if (m_pools.empty()) {
        push();
    }
    return m_pools.back();
}

void CCPoolManager::addObject(CCObject* obj)
{
    currentPool()->addObject(obj);
}

void CCPoolManager::removeObject(CCObject* obj)
{
    if (!m_pools.empty()) {
        m_pools.back()->removeObject(obj);
    }
}

void CCPoolManager::push()
{
    m_pools.push_back(new CCAutoreleasePool());
}

void CCPoolManager::pop()
{
    if (m_pools.empty()) {
        return;
    }
    CCAutoreleasePool* pool = m_pools.back();
    pool->clear();
    m_pools.pop_back();
    pool->release();
}

void CCPoolManager::drain()
{
    if (!m_pools.empty()) {
        m_pools.back()->clear();
    }
}

unsigned CCPoolManager::pendingCount() const
{
    return m_pools.empty() ? 0 : m_pools.back()->count();
}

} // namespace cocos2d
