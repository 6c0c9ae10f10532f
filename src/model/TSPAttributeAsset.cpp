#include "TSPAttributeAsset.h"

TSPAttributeAsset::TSPAttributeAsset(TSModel* owner, int editorHint) : TSPAttributeReference(owner, Asset, editorHint)
{
}

void TSPAttributeAsset::setAsset(TSModel* model)
{
    setReferencedModel(model);
    changed();
}
