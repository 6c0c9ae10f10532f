#pragma once

#include "TSPAttribute.h"

/// A flag with a default; stored as "value" = "0"/"1" only when it differs from the default.
class TSPAttributeBoolean : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Boolean;

    explicit TSPAttributeBoolean(TSModel* owner, int editorHint = 0);

    bool value() const { return m_value; }
    void setValue(bool value);
    bool defaultValue() const { return m_defaultValue; }
    void setDefaultValue(bool value);

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;
    void copyFrom(TSPAttribute* other) override;

private:
    bool m_value = false;
    bool m_defaultValue = false;
};
