#pragma once

#include <cstdint>

namespace cocos2d {

class CCObject;
class CCZone;

/// Interface of objects that can make copies of themselves.
class CCCopying
{
public:
    virtual ~CCCopying() = default;
    /// Returns a new copy owned by the caller, or null when the class cannot be copied.
    virtual CCObject* copyWithZone(CCZone* zone);
};

/// Base of every reference-counted value and model.
///
/// An object starts with a reference count of 1 owned by its creator. Containers retain what they
/// hold; create...() functions hand back autoreleased objects that a caller retains to keep.
class CCObject : public CCCopying
{
public:
    CCObject();
    ~CCObject() override;

    CCObject(const CCObject&) = delete;
    CCObject& operator=(const CCObject&) = delete;

    virtual bool isEqual(const CCObject* other) const;
    /// Time step hook; values ignore it, models hand it to their attributes.
    virtual void update(float delta);

    void retain();
    void release();
    /// Hands one reference to the current autorelease pool.
    CCObject* autorelease();
    /// A copy owned by the caller (count 1), or null when the class cannot be copied.
    CCObject* copy();

    uint32_t retainCount() const { return m_uReference; }
    uint32_t objectId() const { return m_uID; }
    uint32_t autoreleaseCount() const { return m_uAutoReleaseCount; }

    /// Objects constructed and not yet destroyed in this process (a diagnostic figure).
    static uint64_t liveObjectCount();

private:
    friend class CCAutoreleasePool;

    uint32_t m_uID;
    uint32_t m_uReference = 1;
    uint32_t m_uAutoReleaseCount = 0;
};

/// Retains obj (when not null) and returns it typed, for one-line member assignment.
template <class T> T* ccRetained(T* obj)
{
    if (obj) {
        obj->retain();
    }
    return obj;
}

/// Releases *slot (when not null) and clears it.
template <class T> void ccReleaseAndClear(T*& slot)
{
    if (slot) {
        slot->release();
        slot = nullptr;
    }
}

/// Replaces a retained member with another object, retaining the new one first.
template <class T> void ccAssign(T*& slot, T* obj)
{
    if (slot == obj) {
        return;
    }
    if (obj) {
        obj->retain();
    }
    if (slot) {
        slot->release();
    }
    slot = obj;
}

} // namespace cocos2d
