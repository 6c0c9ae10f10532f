#pragma once

#include "TSModelPolygon.h"

/// A collision circle: at most two points, the centre and a point on the rim.
class TSModelCircle : public TSModelPolygon
{
public:
    TSModelCircle();

    void setPoints(const std::vector<cocos2d::CCPoint>& points) override;
};
