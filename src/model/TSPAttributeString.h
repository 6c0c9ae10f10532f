#pragma once

#include "TSPAttribute.h"

#include <QString>

/// A text; stored as "value" unless empty.
///
/// Texts of this kind are names and short labels that panels lay out as they are, so a stored
/// text is cut to kMaxLoadedLength characters when it is loaded (with a log line); a document
/// cannot make a panel shape a text of millions of characters. Texts set in the editor are kept
/// whole.
class TSPAttributeString : public TSPAttribute
{
public:
    static constexpr int kTypeCode = String;
    static constexpr int kMaxLoadedLength = 4096;

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
    /// Bytes taken by the first characters of UTF-8 text (all of it when it is shorter).
    static size_t utf8Prefix(const std::string& text, size_t characters);
    static size_t utf8Length(const std::string& text);

    std::string m_value;
};
