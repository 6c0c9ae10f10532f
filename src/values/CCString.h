#pragma once

#include "CCObject.h"

#include <string>

namespace cocos2d {

/// An 8-bit string value (UTF-8 wherever it comes from a file).
class CCString : public CCObject
{
public:
    CCString() = default;
    explicit CCString(std::string text) : m_sString(std::move(text)) {}
    explicit CCString(const char* text) : m_sString(text ? text : "") {}

    /// New autoreleased string.
    static CCString* create(std::string text);
    /// New autoreleased string formatted printf-style; output beyond 100 KB is cut.
    static CCString* createWithFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

    const char* getCString() const { return m_sString.c_str(); }
    const std::string& string() const { return m_sString; }
    unsigned length() const { return static_cast<unsigned>(m_sString.size()); }

    /// Leading decimal integer (atoi rules); 0 for an empty text.
    int intValue() const;
    /// atof of the text in single precision; 0 for an empty text.
    float floatValue() const;
    /// False for "", "0" and "false" exactly; true for every other text.
    bool boolValue() const;
    int compare(const char* text) const;

    CCObject* copyWithZone(CCZone* zone) override;
    bool isEqual(const CCObject* other) const override;

    /// Formats printf-style the way createWithFormat does, without making an object.
    static std::string format(const char* format, ...) __attribute__((format(printf, 1, 2)));

    // The number forms that model files are full of, byte for byte what printf writes under the
    // "C" locale, made without parsing a format string: a save writes hundreds of thousands.

    /// value as "%.<decimals>f" writes it (decimals 0 to 17).
    static std::string fixed(double value, int decimals);
    /// New autoreleased string "{x,y}", each number as fixed() writes it: "{%.3f,%.3f}" for 3.
    static CCString* createWithPoint(double x, double y, int decimals);
    /// New autoreleased string of value as "%d" or "%u" writes it.
    static CCString* createWithInteger(long long value);

private:
    std::string m_sString;
};

} // namespace cocos2d
