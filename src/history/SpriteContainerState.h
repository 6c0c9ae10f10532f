#pragma once

#include "bez3.h"

#include <string>
#include <vector>

class TSModelSpriteContainer;

/// What the sprite editor can change of a sprite container: its name, its colour values (with
/// their keys where a value is animated), its length and its speed. Taken before and after an
/// edit, it puts either back exactly.
class SpriteContainerState
{
public:
    static SpriteContainerState of(TSModelSpriteContainer* container);

    bool isValid() const { return m_id != 0; }
    unsigned id() const { return m_id; }
    bool operator==(const SpriteContainerState& other) const;
    bool operator!=(const SpriteContainerState& other) const { return !(*this == other); }

    /// Puts the state back on the container and recomputes its adjusted frames.
    void restore(TSModelSpriteContainer* container) const;

private:
    struct FloatValue
    {
        std::string name;
        float value = 0.0f;
        bool animated = false;
        std::vector<bez3> keys;
    };

    unsigned m_id = 0;
    std::string m_name;
    std::vector<FloatValue> m_floats;
    float m_duration = 0.0f;
    float m_speed = 1.0f;
};
