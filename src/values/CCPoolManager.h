#pragma once

#include <memory>
#include <vector>

namespace cocos2d {

class CCAutoreleasePool;
class CCObject;

/// The process-wide stack of autorelease pools.
///
/// Objects handed to the pool live until the pool is drained. The editor drains it only after a
/// whole document operation (open, save, new), when no unretained object can still be in use.
class CCPoolManager
{
public:
    static CCPoolManager* sharedPoolManager();

    ~CCPoolManager();

    /// Adds obj to the current pool, creating the first pool when none exists.
    void addObject(CCObject* obj);
    void removeObject(CCObject* obj);

    void push();
    void pop();
    /// Releases everything the current pool holds; the pool stays current.
    void drain();
    /// Objects held by the current pool.
    unsigned pendingCount() const;

private:
    CCPoolManager() = default;
    CCAutoreleasePool* currentPool();

    std::vector<CCAutoreleasePool*> m_pools;
};

} // namespace cocos2d
