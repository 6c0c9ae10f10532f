#pragma once

#include <cstddef>

namespace cocos2d {

class CCDictionary;

/// Builds value objects from property-list XML.
///
/// Strings, integers and reals become CCString values of their text; true and false become
/// "1" and "0"; dates, data and unknown elements are skipped. The first dict of the document is
/// the result.
class PlistReader
{
public:
    /// Parses XML text. Returns the root dictionary owned by the caller (count 1), or null when
    /// the text holds no dictionary or is not well-formed XML.
    static CCDictionary* parse(const char* data, size_t size);
};

} // namespace cocos2d
