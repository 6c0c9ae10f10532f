#include "TSPAttributePoint.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSAnimationCurve.h"
#include "TSModelController.h"

#include <algorithm>

using namespace cocos2d;

namespace {

// Repairs a point written with decimal commas, "{1,5,2,5}" → "{1.5,2.5}": the first and last
// commas become points when that leaves exactly one comma.
std::string repairDecimalCommas(const std::string& text)
{
    if (std::count(text.begin(), text.end(), ',') < 2) {
        return text;
    }
    std::string repaired = text;
    repaired[repaired.find(',')] = '.';
    repaired[repaired.rfind(',')] = '.';
    return std::count(repaired.begin(), repaired.end(), ',') == 1 ? repaired : text;
}

} // namespace

TSPAttributePoint::TSPAttributePoint(TSModel* owner, int editorHint) : TSPAttribute(owner, Point, editorHint) {}

TSPAttributePoint::~TSPAttributePoint() = default;

void TSPAttributePoint::setCurves(std::unique_ptr<TSAnimationCurve> x, std::unique_ptr<TSAnimationCurve> y)
{
    m_curveX = std::move(x);
    m_curveY = std::move(y);
}

void TSPAttributePoint::storeValue(const CCPoint& value)
{
    if (hasCurves()) {
        const float t = evaluationPosition();
        m_curveX->insertKey(value.x, t, true);
        m_curveY->insertKey(value.y, t, true);
    } else {
        m_value = value;
    }
    changed();
}

void TSPAttributePoint::setDefaultValue(const CCPoint& value)
{
    if (!isFollowing()) {
        storeValue(value);
    }
    m_defaultValue = value;
}

void TSPAttributePoint::setValue(const CCPoint& value)
{
    if (!isFollowing()) {
        storeValue(value);
    }
}

CCPoint TSPAttributePoint::value()
{
    if (m_resolving) {
        return m_value;
    }
    if (isFollowing()) {
        if (auto* linked = dynamic_cast<TSPAttributePoint*>(linkedAttribute())) {
            m_resolving = true;
            m_value = linked->value();
            m_resolving = false;
            return m_value;
        }
    }
    if (hasCurves()) {
        const float t = evaluationPosition();
        m_value = CCPoint{m_curveX->evaluate(t), m_curveY->evaluate(t)};
    }
    return m_value;
}

void TSPAttributePoint::loadValue(CCDictionary* dict)
{
    TSPAttribute::loadValue(dict);
    if (!dict) {
        return;
    }
    if (const auto* stored = dict->objectForKeyAs<CCString>("value")) {
        m_value = pointFromString(repairDecimalCommas(stored->string()));
    }
    if (const auto* variable = dict->objectForKeyAs<CCString>("variableValue")) {
        m_variableValue = pointFromString(variable->string());
    }
}

CCDictionary* TSPAttributePoint::valueDictionary()
{
    CCDictionary* dict = TSPAttribute::valueDictionary();
    if (!dict) {
        return nullptr;
    }
    const CCPoint current = value();
    if (current != m_defaultValue) {
        dict->setObject(CCString::createWithPoint(current.x, current.y, 3), "value");
    }
    if (m_variableValue.x != 0.0f || m_variableValue.y != 0.0f) {
        dict->setObject(CCString::createWithPoint(m_variableValue.x, m_variableValue.y, 3), "variableValue");
    }
    return dict;
}

void TSPAttributePoint::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributePoint*>(other)) {
        m_value = source->value();
        m_variableValue = source->m_variableValue;
    }
}

void TSPAttributePoint::debugPrint()
{
    const CCPoint current = value();
    TSModelController::log("name: %s - {%f,%f}", name().c_str(), static_cast<double>(current.x),
                           static_cast<double>(current.y));
}
