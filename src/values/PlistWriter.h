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
    /// The whole document as text.
    static std::string toString(const CCDictionary* dict);
    /// Prints the document in memory and writes it to file in one call; false when the whole
    /// text could not be written (the caller still closes the file).
    static bool write(const CCDictionary* dict, std::FILE* file);
};

} // namespace cocos2d
