#pragma once

#include "TSModel.h"
#include "TSModelIdList.h"

#include <QPointF>

class TSPAttributePoint;

/// One saved animation: its identifier as model name ("model/<name>.json" for animations made
/// in the editor, the JSON file path for template animations), the position of the scene axes
/// marker, and its node tracks as children.
class TSModelSkeletonAnimation : public TSModel
{
public:
    static constexpr const char* kClassName = "TSModelSkeletonAnimation";

    TSModelSkeletonAnimation();

    QPointF axesPosition() const;
    void setAxesPosition(const QPointF& position);

    /// The TSModelSkeletonNodeAnimation children, in order.
    TSModelIdList& children() { return m_children; }

    /// Adds "children" (their ids) to the base dictionary.
    cocos2d::CCDictionary* attributesDictionary() override;
    void loadAttributes(cocos2d::CCDictionary* dict) override;
    /// Resolves the children's ids once every model exists.
    void loadConnections(cocos2d::CCDictionary* dict) override;

private:
    TSPAttributePoint* m_axesPosition;
    TSModelIdList m_children;
};
