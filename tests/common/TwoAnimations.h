#pragma once
// Test helper: two animations, "walk" and "run", kept apart as the document keeps them:
// switching stores the tracks on screen and binds the other animation's.

#include "AnimationDocument.h"
#include "Skeleton.h"

#include <map>

namespace test {

class TwoAnimations : public AnimationDocument
{
public:
    explicit TwoAnimations(Skeleton* skeleton) : m_skeleton(skeleton)
    {
        m_stored["walk"];
        m_stored["run"];
        selectAnimation("walk");
    }
    QString currentAnimation() const override { return m_current; }
    bool selectAnimation(const QString& identifier) override
    {
        if (m_stored.count(identifier) == 0) {
            return false;
        }
        if (!m_current.isEmpty()) {
            m_stored[m_current] = std::move(m_skeleton->tracks());
        }
        m_current = identifier;
        m_skeleton->setAnimation(std::move(m_stored[identifier]));
        ++switches;
        return true;
    }
    bool hasAnimationNamed(const QString& name) const override { return m_stored.count(name) > 0; }
    QString addAnimation(const QString&, AnimationTracks) override { return QString(); }
    bool removeAnimation(const QString&, AnimationTracks*) override { return false; }

    /// How often an animation was made current.
    int switches = 0;

private:
    Skeleton* m_skeleton;
    std::map<QString, AnimationTracks> m_stored;
    QString m_current;
};

} // namespace test
