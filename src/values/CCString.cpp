#include "CCString.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace cocos2d {

namespace {

constexpr size_t kMaxFormattedLength = 100 * 1024;

std::string formatArgs(const char* format, va_list args)
{
    char small[512];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) {
        return std::string();
    }
    if (static_cast<size_t>(needed) < sizeof small) {
        return std::string(small, static_cast<size_t>(needed));
    }
    // Long output: format into the full-size buffer, which cuts at 100 KB like a fixed buffer would.
    const size_t size = std::min(static_cast<size_t>(needed) + 1, kMaxFormattedLength);
    std::vector<char> buffer(size);
    std::vsnprintf(buffer.data(), size, format, args);
    return std::string(buffer.data());
}

} // namespace

CCString* CCString::create(std::string text)
{
    auto* string = new CCString(std::move(text));
    string->autorelease();
    return string;
}

CCString* CCString::createWithFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    auto* string = new CCString(formatArgs(format, args));
    va_end(args);
    string->autorelease();
    return string;
}

std::string CCString::format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = formatArgs(format, args);
    va_end(args);
    return text;
}

std::string CCString::fixed(double value, int decimals)
{
    // The shortest exact conversion of the standard library rounds as printf does; printf itself
    // is left for what that conversion does not take (infinities, NaN, other precisions).
    if (std::isfinite(value) && decimals >= 0 && decimals <= 17) {
        char text[400];
        const std::to_chars_result result =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
        if (result.ec == std::errc()) {
            return std::string(text, result.ptr);
        }
    }
    return format("%.*f", decimals, value);
}

CCString* CCString::createWithPoint(double x, double y, int decimals)
{
    std::string text;
    text.reserve(24);
    text += '{';
    text += fixed(x, decimals);
    text += ',';
    text += fixed(y, decimals);
    text += '}';
    return create(std::move(text));
}

CCString* CCString::createWithInteger(long long value)
{
    char text[24];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return create(std::string(text, result.ptr));
}

int CCString::intValue() const
{
    return m_sString.empty() ? 0 : std::atoi(m_sString.c_str());
}

float CCString::floatValue() const
{
    return m_sString.empty() ? 0.0f : static_cast<float>(std::atof(m_sString.c_str()));
}

bool CCString::boolValue() const
{
    return !(m_sString.empty() || m_sString == "0" || m_sString == "false");
}

int CCString::compare(const char* text) const
{
    return std::strcmp(m_sString.c_str(), text ? text : "");
}

CCObject* CCString::copyWithZone(CCZone*)
{
    return new CCString(m_sString);
}

bool CCString::isEqual(const CCObject* other) const
{
    const auto* string = dynamic_cast<const CCString*>(other);
    return string && string->m_sString == m_sString;
}

} // namespace cocos2d
