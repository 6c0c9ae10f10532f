#include "TSPAttributeAnimation.h"

#include "TSModel.h"

TSPAttributeAnimation::TSPAttributeAnimation(TSModel* owner, int editorHint)
    : TSPAttributeReference(owner, Animation, editorHint)
{
}

void TSPAttributeAnimation::setAnimation(TSModel* model)
{
    setReferencedModel(model);
    changed();
}

void TSPAttributeAnimation::remove()
{
    if (TSModel* model = animation()) {
        model->removeFromController();
    }
}
