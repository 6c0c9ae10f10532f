#include "TSPAttributeSprite.h"

#include "TSModel.h"
#include "TSModelController.h"

TSPAttributeSprite::TSPAttributeSprite(TSModel* owner, int editorHint)
    : TSPAttributeReference(owner, Sprite, editorHint)
{
}

void TSPAttributeSprite::setSprite(TSModel* model)
{
    setReferencedModel(model);
    if (model) {
        model->takeSpriteFlag(m_flag);
    }
    if (owner()) {
        owner()->spriteAttributeChanged(this);
    }
}

bool TSPAttributeSprite::acceptsModel(TSModel* model) const
{
    if (model->className() != kSpriteClassName) {
        TSModelController::log("[TSPAttributeSprite] - object type id mismatch");
        return false;
    }
    return true;
}

void TSPAttributeSprite::adoptLoadedModel(TSModel* model)
{
    setSprite(model);
}

void TSPAttributeSprite::remove()
{
    if (TSModel* model = sprite()) {
        model->removeFromController();
    }
}

void TSPAttributeSprite::copyFrom(TSPAttribute* other)
{
    TSPAttributeReference::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributeSprite*>(other)) {
        m_flag = source->m_flag;
    }
}
