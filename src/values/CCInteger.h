#pragma once

#include "CCObject.h"

namespace cocos2d {

/// A signed 32-bit value. It cannot be copied: copy() yields null.
class CCInteger : public CCObject
{
public:
    explicit CCInteger(int value) : m_nValue(value) {}

    /// New autoreleased integer.
    static CCInteger* create(int value);

    int getValue() const { return m_nValue; }

private:
    int m_nValue;
};

} // namespace cocos2d
