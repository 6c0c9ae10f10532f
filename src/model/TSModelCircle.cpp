#include "TSModelCircle.h"

#include <algorithm>

TSModelCircle::TSModelCircle() : TSModelPolygon("TSModelCircle") {}

void TSModelCircle::setPoints(const std::vector<cocos2d::CCPoint>& points)
{
    TSModelPolygon::setPoints(std::vector<cocos2d::CCPoint>(points.begin(), points.begin() + std::min<size_t>(2, points.size())));
}
