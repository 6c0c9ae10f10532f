#include "TSPAttributeSound.h"

#include "CCString.h"

TSPAttributeSound::TSPAttributeSound(TSModel* owner, int editorHint) : TSPAttributeReference(owner, Sound, editorHint)
{
}

void TSPAttributeSound::setSound(TSModel* model)
{
    setReferencedModel(model);
    changed();
}

std::string TSPAttributeSound::idText(unsigned id) const
{
    return cocos2d::CCString::format("%u", id);
}
