#pragma once

#include <string>

namespace cocos2d {

class CCDictionary;

/// Prints value objects as property-list XML: four-space indentation, strings, arrays and
/// dictionaries; other objects leave their key without a value.
class PlistWriter
{
public:
    /// The whole document as text.
    static std::string toString(const CCDictionary* dict);
};

} // namespace cocos2d
