#pragma once

#include "TSPAttributeReference.h"

/// Refers to a sprite container ("TSModelSpriteContainer") and hands it a flag when set (for
/// example 1 = keep every frame whole, out of the texture atlases).
class TSPAttributeSprite : public TSPAttributeReference
{
public:
    static constexpr int kTypeCode = Sprite;

    explicit TSPAttributeSprite(TSModel* owner, int editorHint = 0);

    static constexpr const char* kSpriteClassName = "TSModelSpriteContainer";

    TSModel* sprite() const { return referencedModel(); }
    /// Refers to model, hands it the flag and tells the owner.
    void setSprite(TSModel* model);

    int spriteFlag() const { return m_flag; }
    void setSpriteFlag(int flag) { m_flag = flag; }

    /// Removing the owner removes the referenced sprite too.
    void remove() override;
    void copyFrom(TSPAttribute* other) override;

protected:
    bool acceptsModel(TSModel* model) const override;
    void adoptLoadedModel(TSModel* model) override;

private:
    int m_flag = 0;
};
