#pragma once

#include "TSPAttributeReference.h"

/// Refers to an animation model; removing the owner removes the animation too.
class TSPAttributeAnimation : public TSPAttributeReference
{
public:
    static constexpr int kTypeCode = Animation;

    explicit TSPAttributeAnimation(TSModel* owner, int editorHint = 0);

    TSModel* animation() const { return referencedModel(); }
    void setAnimation(TSModel* model);

    void remove() override;
};
