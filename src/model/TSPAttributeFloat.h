#pragma once

#include "TSPAttribute.h"

#include <memory>

class TSAnimationCurve;

/// A float with bounds and a default; it may follow another float attribute or be driven by a
/// curve evaluated at the owner's evaluation position.
class TSPAttributeFloat : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Float;

    explicit TSPAttributeFloat(TSModel* owner, int editorHint = 0);
    ~TSPAttributeFloat() override;

    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    void setMinimum(float value) { m_minimum = value; }
    void setMaximum(float value) { m_maximum = value; }

    float defaultValue() const { return m_defaultValue; }
    /// Sets the value (unless following) and then records value as the default, unclamped.
    void setDefaultValue(float value);
    /// Ignored while following; keys the curve when there is one, else stores value clamped.
    void setValue(float value);
    void setValue(int value) { setValue(static_cast<float>(value)); }
    /// The linked attribute's value while following, the curve's value when there is a curve,
    /// else the stored value.
    float value();
    int valueAsInt() { return static_cast<int>(value()); }

    float variableValue() const { return m_variableValue; }
    void setVariableValue(float value) { m_variableValue = value; }

    TSAnimationCurve* curve() const { return m_curve.get(); }
    void setCurve(std::unique_ptr<TSAnimationCurve> curve);

    void loadValue(cocos2d::CCDictionary* dict) override;
    cocos2d::CCDictionary* valueDictionary() override;
    void copyFrom(TSPAttribute* other) override;
    void debugPrint() override;

private:
    void storeValue(float value);

    float m_minimum;
    float m_maximum;
    float m_defaultValue = 0.0f;
    float m_value = 0.0f;
    float m_variableValue = 0.0f;
    std::unique_ptr<TSAnimationCurve> m_curve;
    bool m_resolving = false;
};
