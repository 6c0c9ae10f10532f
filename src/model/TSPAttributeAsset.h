#pragma once

#include "TSPAttributeReference.h"

/// Refers to any model used as an asset.
class TSPAttributeAsset : public TSPAttributeReference
{
public:
    static constexpr int kTypeCode = Asset;

    explicit TSPAttributeAsset(TSModel* owner, int editorHint = 0);

    TSModel* asset() const { return referencedModel(); }
    void setAsset(TSModel* model);
};
