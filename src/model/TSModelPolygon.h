#pragma once

#include "CCGeometry.h"
#include "TSModel.h"

#include <vector>

/// A collision polygon carried by a shape attribute: vertices in order and a one-way vector.
class TSModelPolygon : public TSModel
{
public:
    TSModelPolygon();

    const std::vector<cocos2d::CCPoint>& points() const { return m_points; }
    virtual void setPoints(const std::vector<cocos2d::CCPoint>& points);
    cocos2d::CCPoint oneWayCollisionVector() const { return m_oneWayCollisionVector; }
    void setOneWayCollisionVector(const cocos2d::CCPoint& vector) { m_oneWayCollisionVector = vector; }

    /// Writes "points" (one "{%f,%f}" per vertex) and "oneWayCollisionVector" into dict.
    void writeShapeEntries(cocos2d::CCDictionary* dict) const;
    void readShapeEntries(cocos2d::CCDictionary* dict);

protected:
    TSModelPolygon(const char* className);

private:
    std::vector<cocos2d::CCPoint> m_points;
    cocos2d::CCPoint m_oneWayCollisionVector;
};
