#include "SpriteContainerState.h"

#include "CCArray.h"
#include "TSAnimationCurve.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeFloat.h"

#include <algorithm>

using namespace cocos2d;

SpriteContainerState SpriteContainerState::of(TSModelSpriteContainer* container)
{
    SpriteContainerState state;
    if (!container) {
        return state;
    }
    state.m_id = container->id();
    state.m_name = container->name();
    state.m_duration = container->duration();
    state.m_speed = container->animationSpeed();
    for (CCObject* obj : *container->attributes()) {
        auto* attribute = dynamic_cast<TSPAttributeFloat*>(obj);
        if (!attribute) {
            continue;
        }
        FloatValue value;
        value.name = attribute->name();
        value.value = attribute->value();
        if (const TSAnimationCurve* curve = attribute->curve()) {
            value.animated = true;
            value.keys.assign(curve->keys(), curve->keys() + curve->keyCount());
        }
        state.m_floats.push_back(std::move(value));
    }
    return state;
}

bool SpriteContainerState::operator==(const SpriteContainerState& other) const
{
    const auto sameFloat = [](const FloatValue& a, const FloatValue& b) {
        return a.name == b.name && a.value == b.value && a.animated == b.animated &&
               std::equal(a.keys.begin(), a.keys.end(), b.keys.begin(), b.keys.end(),
                          TSAnimationCurve::keysEqual);
    };
    return m_id == other.m_id && m_name == other.m_name && m_duration == other.m_duration &&
           m_speed == other.m_speed &&
           std::equal(m_floats.begin(), m_floats.end(), other.m_floats.begin(), other.m_floats.end(),
                      sameFloat);
}

void SpriteContainerState::restore(TSModelSpriteContainer* container) const
{
    if (!container || container->id() != m_id) {
        return;
    }
    container->setName(m_name);
    container->setDuration(m_duration);
    container->setAnimationSpeed(m_speed);
    for (const FloatValue& saved : m_floats) {
        auto* attribute = dynamic_cast<TSPAttributeFloat*>(container->attributeNamed(saved.name));
        if (!attribute) {
            continue;
        }
        if (saved.animated) {
            if (!attribute->curve()) {
                attribute->setCurve(std::make_unique<TSAnimationCurve>());
            }
            attribute->curve()->setKeys(saved.keys.data(), static_cast<int>(saved.keys.size()));
        } else {
            attribute->setCurve(nullptr);
            attribute->setValue(saved.value);
        }
    }
    container->applyAdjustments();
}
