#pragma once

#include <cstdio>
#include <string>

namespace cocos2d {

class CCDictionary;

/// Prints value objects as property-list XML: four-space indentation, strings, arrays and
/// dictionaries; other objects leave their key without a value.
class PlistWriter
{
public:
    /// Writes the whole document to an open stream; false when the stream reported an error.
    static bool write(const CCDictionary* dict, FILE* stream);
    /// The document as text, for callers that keep it in memory.
    static std::string toString(const CCDictionary* dict);
};

} // namespace cocos2d
