#include "TSModelSkeletonAnimation.h"

#include "TSModelSkeletonNodeAnimation.h"
#include "TSPAttributePoint.h"

using namespace cocos2d;

TSModelSkeletonAnimation::TSModelSkeletonAnimation()
    : TSModel(kClassName, ""), m_axesPosition(addTypedAttribute<TSPAttributePoint>("Axes Position")),
      m_children(TSModelSkeletonNodeAnimation::kClassName)
{
}

QPointF TSModelSkeletonAnimation::axesPosition() const
{
    const CCPoint point = m_axesPosition->value();
    return QPointF(point.x, point.y);
}

void TSModelSkeletonAnimation::setAxesPosition(const QPointF& position)
{
    m_axesPosition->setValue(CCPoint{static_cast<float>(position.x()), static_cast<float>(position.y())});
}

CCDictionary* TSModelSkeletonAnimation::attributesDictionary()
{
    CCDictionary* dict = TSModel::attributesDictionary();
    m_children.writeIds(dict, "children");
    return dict;
}

void TSModelSkeletonAnimation::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    m_children.readIds(dict, "children");
}

void TSModelSkeletonAnimation::loadConnections(CCDictionary* dict)
{
    TSModel::loadConnections(dict);
    m_children.resolve();
}
