#pragma once

#include "TSAnimationCurve.h"
#include "TSModel.h"

#include <QString>

#include <vector>

class TSPAttributeFloat;
class TSPAttributeString;

/// The saved tracks of one node in one animation: names, owning animation, duration, and one
/// curve per channel in channel order.
class TSModelSkeletonNodeAnimation : public TSModel
{
public:
    static constexpr const char* kClassName = "TSModelSkeletonNodeAnimation";

    TSModelSkeletonNodeAnimation();

    QString nodeName() const;
    void setNodeName(const QString& name);
    QString defaultName() const;
    void setDefaultName(const QString& name);
    QString animationName() const;
    void setAnimationName(const QString& identifier);
    float duration() const;
    void setDuration(float duration);

    const std::vector<TSAnimationCurve>& curves() const { return m_curves; }
    /// Appends a copy of curve's keys that keeps curve's preset number, so the file carries it.
    void appendCurve(const TSAnimationCurve& curve);

    /// Adds "animationsArray": one {"animation": curve} dictionary per curve.
    cocos2d::CCDictionary* attributesDictionary() override;
    /// Reads one curve per "animationsArray" element that has an "animation" dictionary.
    void loadAttributes(cocos2d::CCDictionary* dict) override;

private:
    TSPAttributeString* m_name;
    TSPAttributeString* m_defaultName;
    TSPAttributeString* m_animationName;
    TSPAttributeFloat* m_duration;
    std::vector<TSAnimationCurve> m_curves;
};
