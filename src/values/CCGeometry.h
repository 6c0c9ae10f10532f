#pragma once

#include <string>

namespace cocos2d {

struct CCPoint
{
    float x = 0.0f;
    float y = 0.0f;
    bool operator==(const CCPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CCPoint& o) const { return !(*this == o); }
};

struct CCSize
{
    float width = 0.0f;
    float height = 0.0f;
    bool operator==(const CCSize& o) const { return width == o.width && height == o.height; }
};

struct CCRect
{
    CCPoint origin;
    CCSize size;
    bool operator==(const CCRect& o) const { return origin == o.origin && size == o.size; }
};

/// "{x,y}" → point. Separators are '{', ',' and '}'; missing or unparsable numbers read as 0.
CCPoint pointFromString(const std::string& text);
/// "{w,h}" → size, with the rules of pointFromString.
CCSize sizeFromString(const std::string& text);
/// "{{x,y},{w,h}}" → rectangle, with the rules of pointFromString.
CCRect rectFromString(const std::string& text);

} // namespace cocos2d
