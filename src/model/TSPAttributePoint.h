#pragma once

#include "CCGeometry.h"
#include "TSPAttribute.h"

#include <memory>

class TSAnimationCurve;

/// A point with a default; it may follow another point attribute or be driven by two curves
/// (x and y) evaluated at the owner's evaluation position.
class TSPAttributePoint : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Point;

    explicit TSPAttributePoint(TSModel* owner, int editorHint = 0);
    ~TSPAttributePoint() override;

    cocos2d::CCPoint defaultValue() const { return m_defaultValue; }
    void setDefaultValue(const cocos2d::CCPoint& value);
    void setValue(const cocos2d::CCPoint& value);
    cocos2d::CCPoint value();

    cocos2d::CCPoint variableValue() const { return m_variableValue; }
    void setVariableValue(const cocos2d::CCPoint& value) { m_variableValue = value; }

    /// The point is curve-driven only when both curves exist.
    void setCurves(std::unique_ptr<TSAnimationCurve> x, std::unique_ptr<TSAnimationCurve> y);
    bool hasCurves() const { return m_curveX && m_curveY; }
    TSAnimationCurve* curveX() const { return m_curveX.get(); }
    TSAnimationCurve* curveY() const { return m_curveY.get(); }

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;
    void copyFrom(TSPAttribute* other) override;
    void debugPrint() override;

private:
    void storeValue(const cocos2d::CCPoint& value);

    cocos2d::CCPoint m_variableValue;
    cocos2d::CCPoint m_value;
    cocos2d::CCPoint m_defaultValue;
    std::unique_ptr<TSAnimationCurve> m_curveX;
    std::unique_ptr<TSAnimationCurve> m_curveY;
    bool m_resolving = false;
};
