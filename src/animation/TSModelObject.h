#pragma once

#include "TSModel.h"

#include <QSizeF>

class TSModelSpriteContainer;
class TSPAttributeFloat;
class TSPAttributeGroup;
class TSPAttributePoint;

/// A generic placed object: a "Transform" group (position, rotation, scale) and a depth.
class TSModelObject : public TSModel
{
public:
    static constexpr const char* kClassName = "TSModelObject";

    TSModelObject();

    int zDepth() const { return m_zDepth; }
    void setZDepth(int depth) { m_zDepth = depth; }

    /// The container whose frames the object shows; none for a plain object.
    virtual TSModelSpriteContainer* spriteContainer() const;
    /// The current frame's source size, or 100 × 100 without a container.
    QSizeF size() const;
    /// The container's opacity, or 1 without a container.
    float opacity() const;

    TSPAttributePoint* position() const { return m_position; }
    TSPAttributeFloat* rotation() const { return m_rotation; }
    TSPAttributePoint* scale() const { return m_scale; }

    cocos2d::CCDictionary* attributesDictionary() override;
    void loadAttributes(cocos2d::CCDictionary* dict) override;

protected:
    explicit TSModelObject(const char* className);

private:
    TSPAttributeGroup* m_transform;
    TSPAttributePoint* m_position;
    TSPAttributeFloat* m_rotation;
    TSPAttributePoint* m_scale;
    int m_zDepth = 0;
};
