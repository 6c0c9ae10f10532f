#include "TSPAttributeFloat.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSAnimationCurve.h"
#include "TSModelController.h"

#include <algorithm>
#include <limits>

using namespace cocos2d;

TSPAttributeFloat::TSPAttributeFloat(TSModel* owner, int editorHint)
    : TSPAttribute(owner, Float, editorHint), m_minimum(std::numeric_limits<float>::lowest()),
      m_maximum(std::numeric_limits<float>::max())
{
}

TSPAttributeFloat::~TSPAttributeFloat() = default;

void TSPAttributeFloat::setCurve(std::unique_ptr<TSAnimationCurve> curve)
{
    m_curve = std::move(curve);
}

void TSPAttributeFloat::storeValue(float value)
{
    if (m_curve) {
        m_curve->insertKey(value, evaluationPosition(), true);
    } else {
        m_value = std::clamp(value, m_minimum, m_maximum);
    }
    changed();
}

void TSPAttributeFloat::setDefaultValue(float value)
{
    if (!isFollowing()) {
        storeValue(value);
    }
    m_defaultValue = value;
}

void TSPAttributeFloat::setValue(float value)
{
    if (!isFollowing()) {
        storeValue(value);
    }
}

float TSPAttributeFloat::value()
{
    // The guard stops a cycle of links from recursing forever.
    if (m_resolving) {
        return m_value;
    }
    if (isFollowing()) {
        if (auto* linked = dynamic_cast<TSPAttributeFloat*>(linkedAttribute())) {
            m_resolving = true;
            m_value = linked->value();
            m_resolving = false;
            return m_value;
        }
    }
    if (m_curve) {
        m_value = m_curve->evaluate(evaluationPosition());
    }
    return m_value;
}

void TSPAttributeFloat::loadValue(CCDictionary* dict)
{
    TSPAttribute::loadValue(dict);
    if (!dict) {
        return;
    }
    if (const auto* stored = dict->objectForKeyAs<CCString>("value")) {
        std::string text = stored->string();
        std::replace(text.begin(), text.end(), ',', '.');
        m_value = CCString(text).floatValue();
    }
    if (const auto* variable = dict->objectForKeyAs<CCString>("variableValue")) {
        m_variableValue = variable->floatValue();
    }
}

CCDictionary* TSPAttributeFloat::valueDictionary()
{
    CCDictionary* dict = TSPAttribute::valueDictionary();
    if (!dict) {
        return nullptr;
    }
    const float current = value();
    if (current != m_defaultValue) {
        dict->setObject(CCString::create(CCString::fixed(current, 6)), "value");
    }
    if (m_variableValue != 0.0f) {
        dict->setObject(CCString::create(CCString::fixed(m_variableValue, 6)), "variableValue");
    }
    return dict;
}

void TSPAttributeFloat::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributeFloat*>(other)) {
        m_value = source->value();
        m_variableValue = source->m_variableValue;
    }
}

void TSPAttributeFloat::debugPrint()
{
    TSModelController::log("name: %s - %f", name().c_str(), static_cast<double>(value()));
}
