#include "CCGeometry.h"

#include <cstdlib>

namespace cocos2d {

namespace {

// Splits text at runs of '{', ',' and '}' and converts up to N tokens with atof; the rest stay 0.
// Tokens of blanks only are skipped, so "{{0, 0}, {64, 32}}" reads like "{{0,0},{64,32}}".
template <size_t N> void parseNumbers(const std::string& text, float (&out)[N])
{
    for (float& value : out) {
        value = 0.0f;
    }
    size_t found = 0;
    size_t pos = 0;
    const size_t size = text.size();
    auto isSeparator = [](char c) { return c == '{' || c == ',' || c == '}'; };
    while (found < N && pos < size) {
        while (pos < size && isSeparator(text[pos])) {
            ++pos;
        }
        if (pos >= size) {
            break;
        }
        size_t end = pos;
        while (end < size && !isSeparator(text[end])) {
            ++end;
        }
        const std::string token = text.substr(pos, end - pos);
        pos = end;
        // A run of blanks between separators, as in "}, {", is not a number.
        if (token.find_first_not_of(" \t\r\n") == std::string::npos) {
            continue;
        }
        out[found++] = static_cast<float>(std::atof(token.c_str()));
    }
}

} // namespace

CCPoint pointFromString(const std::string& text)
{
    float values[2];
    parseNumbers(text, values);
    return CCPoint{values[0], values[1]};
}

CCSize sizeFromString(const std::string& text)
{
    float values[2];
    parseNumbers(text, values);
    return CCSize{values[0], values[1]};
}

CCRect rectFromString(const std::string& text)
{
    float values[4];
    parseNumbers(text, values);
    return CCRect{CCPoint{values[0], values[1]}, CCSize{values[2], values[3]}};
}

} // namespace cocos2d
