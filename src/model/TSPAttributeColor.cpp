#include "TSPAttributeColor.h"

#include "CCDictionary.h"
#include "CCString.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

TSPAttributeColor::TSPAttributeColor(TSModel* owner, int editorHint) : TSPAttribute(owner, Color, editorHint) {}

void TSPAttributeColor::setComponents(float r, float g, float b, float a)
{
    m_r = r;
    m_g = g;
    m_b = b;
    m_a = a;
    changed();
}

QColor TSPAttributeColor::color() const
{
    auto unit = [](float v) { return std::isfinite(v) ? std::clamp(static_cast<double>(v), 0.0, 1.0) : 0.0; };
    return QColor::fromRgbF(unit(m_r), unit(m_g), unit(m_b), unit(m_a));
}

void TSPAttributeColor::setColor(const QColor& color)
{
    setComponents(static_cast<float>(color.redF()), static_cast<float>(color.greenF()),
                  static_cast<float>(color.blueF()), static_cast<float>(color.alphaF()));
}

void TSPAttributeColor::loadValue(CCDictionary* dict)
{
    TSPAttribute::loadValue(dict);
    if (!dict) {
        return;
    }
    const std::pair<const char*, float*> components[] = {{"r", &m_r}, {"g", &m_g}, {"b", &m_b}, {"a", &m_a}};
    for (const auto& [key, field] : components) {
        if (const auto* stored = dict->objectForKeyAs<CCString>(key)) {
            *field = stored->floatValue();
        }
    }
}

CCDictionary* TSPAttributeColor::valueDictionary()
{
    CCDictionary* dict = TSPAttribute::valueDictionary();
    if (dict) {
        dict->setObject(CCString::createWithFormat("%f", static_cast<double>(m_r)), "r");
        dict->setObject(CCString::createWithFormat("%f", static_cast<double>(m_g)), "g");
        dict->setObject(CCString::createWithFormat("%f", static_cast<double>(m_b)), "b");
        dict->setObject(CCString::createWithFormat("%f", static_cast<double>(m_a)), "a");
    }
    return dict;
}

void TSPAttributeColor::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    if (auto* source = dynamic_cast<TSPAttributeColor*>(other)) {
        m_r = source->m_r;
        m_g = source->m_g;
        m_b = source->m_b;
        m_a = source->m_a;
    }
}
