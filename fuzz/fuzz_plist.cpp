// Feeds arbitrary bytes to the property-list reader.
#include "CCDictionary.h"
#include "CCPoolManager.h"
#include "PlistReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    cocos2d::CCDictionary* dict = cocos2d::PlistReader::parse(reinterpret_cast<const char*>(data), size);
    if (dict) {
        // Walk what was built, as the model loader would.
        for (const auto& element : dict->elements()) {
            if (element.object) {
                element.object->retainCount();
            }
        }
        dict->release();
    }
    cocos2d::CCPoolManager::sharedPoolManager()->drain();
    return 0;
}
