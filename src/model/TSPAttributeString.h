#pragma once

#include "TSPAttribute.h"

#include <QString>

/// A text; stored as "value" unless empty.
class TSPAttributeString : public TSPAttribute
{
public:
    static constexpr int kTypeCode = String;

    explicit TSPAttributeString(TSModel* owner, int editorHint = 0);

    const std::string& value() const { return m_value; }
    void setValue(const std::string& value);
    /// The value as UTF-8 text.
    QString text() const { return QString::fromStdString(m_value); }
    void setText(const QString& text) { setValue(text.toStdString()); }

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;
    void copyFrom(TSPAttribute* other) override;

private:
    std::string m_value;
};
