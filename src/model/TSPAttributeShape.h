#pragma once

#include "TSPAttribute.h"

class TSModelPolygon;

/// Carries a collision shape (polygon or circle); the shape's entries are stored in the value
/// dictionary together with "shapeType".
class TSPAttributeShape : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Shape;

    enum ShapeType { PolygonShape = 0, CircleShape = 1 };

    explicit TSPAttributeShape(TSModel* owner, int editorHint = 0);
    ~TSPAttributeShape() override;

    TSModelPolygon* shape() const { return m_shape; }
    int shapeType() const { return m_shapeType; }
    /// Replaces the shape with a new, empty one of the type.
    void setShapeType(int type);

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;

private:
    TSModelPolygon* m_shape = nullptr;
    int m_shapeType = PolygonShape;
};
