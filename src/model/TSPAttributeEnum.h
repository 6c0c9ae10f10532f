#pragma once

#include "TSPAttribute.h"

/// One text chosen from a dictionary of options; the choice is always stored.
class TSPAttributeEnum : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Enum;

    explicit TSPAttributeEnum(TSModel* owner, int editorHint = 0);
    ~TSPAttributeEnum() override;

    cocos2d::CCDictionary* options() const { return m_options; }
    void setOptions(cocos2d::CCDictionary* options);
    const std::string& selectedValue() const { return m_selected; }
    void setSelectedValue(const std::string& value);

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;
    /// Copies the choice and replaces the options with a copy of the other's.
    void copyFrom(TSPAttribute* other) override;

private:
    cocos2d::CCDictionary* m_options;
    std::string m_selected;
};
