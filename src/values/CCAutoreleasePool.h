#pragma once

#include "CCObject.h"

namespace cocos2d {

class CCArray;

/// Holds one reference to each object handed over by autorelease().
class CCAutoreleasePool : public CCObject
{
public:
    CCAutoreleasePool();
    ~CCAutoreleasePool() override;

    /// Takes over one reference of obj: the pool retains it, then obj is released once.
    void addObject(CCObject* obj);
    /// Takes obj out of the pool without releasing it (used by a dying object).
    void removeObject(CCObject* obj);
    /// Releases every reference the pool holds.
    void clear();
    unsigned count() const;

private:
    CCArray* m_pManagedObjectArray;
};

} // namespace cocos2d
