#pragma once

#include "TSPAttribute.h"

/// A text; stored as "value" unless empty.
class TSPAttributeString : public TSPAttribute
{
public:
    static constexpr int kTypeCode = String;

    explicit TSPAttributeString(TSModel* owner, int editorHint = 0);

    const std::string& value() const { return m_value; }
    void setValue(const std::string& value);

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;
    void copyFrom(TSPAttribute* other) override;

private:
    std::string m_value;
};
