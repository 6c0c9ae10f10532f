// Feeds arbitrary bytes to the property-list reader, reads every value the way the loaders do,
// and checks that what was read survives writing and reading again (a text the reader turns
// into something else after a save is data lost) and that every value object is freed again.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCGeometry.h"
#include "CCObject.h"
#include "CCPoolManager.h"
#include "CCString.h"
#include "PlistReader.h"
#include "PlistWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void walk(const cocos2d::CCObject* object)
{
    if (const auto* string = dynamic_cast<const cocos2d::CCString*>(object)) {
        string->intValue();
        string->floatValue();
        cocos2d::rectFromString(string->string());
    } else if (const auto* dict = dynamic_cast<const cocos2d::CCDictionary*>(object)) {
        for (const auto& element : dict->elements()) {
            walk(element.object);
        }
    } else if (const auto* array = dynamic_cast<const cocos2d::CCArray*>(object)) {
        for (const cocos2d::CCObject* item : *array) {
            walk(item);
        }
    }
}

std::string reread(const std::string& text)
{
    cocos2d::CCDictionary* dict = cocos2d::PlistReader::parse(text.data(), text.size());
    if (!dict) {
        std::fprintf(stderr, "written property list does not read back:\n%s\n", text.c_str());
        std::abort();
    }
    std::string again = cocos2d::PlistWriter::toString(dict);
    dict->release();
    return again;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const uint64_t liveBefore = cocos2d::CCObject::liveObjectCount();
    cocos2d::CCDictionary* dict = cocos2d::PlistReader::parse(reinterpret_cast<const char*>(data), size);
    if (dict) {
        walk(dict);
        const std::string written = cocos2d::PlistWriter::toString(dict);
        dict->release();
        const std::string rewritten = reread(written);
        if (rewritten != written) {
            std::fprintf(stderr, "property list changed on reading back:\n%s\n---\n%s\n", written.c_str(),
                         rewritten.c_str());
            std::abort();
        }
    }
    cocos2d::CCPoolManager::sharedPoolManager()->drain();
    // Reference counting keeps a lost object reachable, out of the leak checker's sight.
    if (cocos2d::CCObject::liveObjectCount() != liveBefore) {
        std::fprintf(stderr, "value objects left alive: %llu\n",
                     static_cast<unsigned long long>(cocos2d::CCObject::liveObjectCount() - liveBefore));
        std::abort();
    }
    return 0;
}
