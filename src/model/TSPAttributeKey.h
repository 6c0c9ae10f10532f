#pragma once

#include "TSPAttribute.h"

/// A key code (-1 for none); always stored.
class TSPAttributeKey : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Key;

    explicit TSPAttributeKey(TSModel* owner, int editorHint = 0) : TSPAttribute(owner, Key, editorHint) {}

    int value() const { return m_value; }
    void setValue(int value);

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;
    void copyFrom(TSPAttribute* other) override;

private:
    int m_value = -1;
};
