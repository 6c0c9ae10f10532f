#include "TSPAttributeShape.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelCircle.h"

using namespace cocos2d;

TSPAttributeShape::TSPAttributeShape(TSModel* owner, int editorHint) : TSPAttribute(owner, Shape, editorHint)
{
    setShapeType(PolygonShape);
}

TSPAttributeShape::~TSPAttributeShape()
{
    ccReleaseAndClear(m_shape);
}

void TSPAttributeShape::setShapeType(int type)
{
    ccReleaseAndClear(m_shape);
    m_shapeType = type;
    m_shape = type == CircleShape ? new TSModelCircle() : new TSModelPolygon();
}

void TSPAttributeShape::loadValue(CCDictionary* dict)
{
    TSPAttribute::loadValue(dict);
    if (!dict) {
        return;
    }
    if (const auto* type = dict->objectForKeyAs<CCString>("shapeType")) {
        setShapeType(type->intValue());
    }
    m_shape->readShapeEntries(dict);
}

CCDictionary* TSPAttributeShape::valueDictionary()
{
    CCDictionary* dict = TSPAttribute::valueDictionary();
    if (dict) {
        m_shape->writeShapeEntries(dict);
        dict->setObject(CCString::createWithFormat("%d", m_shapeType), "shapeType");
    }
    return dict;
}
