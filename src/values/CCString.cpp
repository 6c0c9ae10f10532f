#include "CCString.h"

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

CCString* CCString::create(const std::string& text)
{
    auto* string = new CCString(text);
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
