#include "TSModelPolygon.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"

using namespace cocos2d;

TSModelPolygon::TSModelPolygon() : TSModelPolygon("TSModelPolygon") {}

TSModelPolygon::TSModelPolygon(const char* className) : TSModel(className, "") {}

void TSModelPolygon::setPoints(const std::vector<CCPoint>& points)
{
    m_points = points;
}

void TSModelPolygon::writeShapeEntries(CCDictionary* dict) const
{
    auto* points = CCArray::createWithCapacity(static_cast<unsigned>(m_points.size()));
    for (const CCPoint& point : m_points) {
        points->addObject(CCString::createWithFormat("{%f,%f}", static_cast<double>(point.x),
                                                     static_cast<double>(point.y)));
    }
    dict->setObject(points, "points");
    dict->setObject(CCString::createWithFormat("{%f,%f}", static_cast<double>(m_oneWayCollisionVector.x),
                                               static_cast<double>(m_oneWayCollisionVector.y)),
                    "oneWayCollisionVector");
}

void TSModelPolygon::readShapeEntries(CCDictionary* dict)
{
    if (!dict) {
        return;
    }
    if (const auto* points = dict->objectForKeyAs<CCArray>("points")) {
        std::vector<CCPoint> read;
        for (const CCObject* obj : *points) {
            if (const auto* text = dynamic_cast<const CCString*>(obj)) {
                read.push_back(pointFromString(text->string()));
            }
        }
        setPoints(read);
    }
    if (const auto* vector = dict->objectForKeyAs<CCString>("oneWayCollisionVector")) {
        m_oneWayCollisionVector = pointFromString(vector->string());
    }
}
