#include "AnimationTracks.h"

#include "NodeRecord.h"

#include <QDebug>

#include <algorithm>

AnimatedObject* AnimationTracks::append(std::unique_ptr<AnimatedObject> object)
{
    m_objects.push_back(std::move(object));
    return m_objects.back().get();
}

std::unique_ptr<AnimatedObject> AnimationTracks::take(AnimatedObject* object)
{
    const auto it = std::find_if(m_objects.begin(), m_objects.end(),
                                 [object](const std::unique_ptr<AnimatedObject>& o) { return o.get() == object; });
    if (it == m_objects.end()) {
        return nullptr;
    }
    std::unique_ptr<AnimatedObject> taken = std::move(*it);
    m_objects.erase(it);
    return taken;
}

int AnimationTracks::indexOf(const AnimatedObject* object) const
{
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_objects[i].get() == object) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

AnimatedObject* AnimationTracks::findByName(const QString& name) const
{
    for (const auto& object : m_objects) {
        if (object->name() == name) {
            return object.get();
        }
    }
    return nullptr;
}

float AnimationTracks::maxDuration() const
{
    float keyed = 0.0f;
    float all = 0.0f;
    bool anyKeys = false;
    for (const auto& object : m_objects) {
        all = std::max(all, object->duration());
        if (object->hasKeys()) {
            anyKeys = true;
            keyed = std::max(keyed, object->duration());
        }
    }
    return anyKeys ? keyed : all;
}

void AnimationTracks::bind(const QList<NodeRecord*>& nodes)
{
    for (NodeRecord* node : nodes) {
        AnimatedObject* match = nullptr;
        for (const auto& object : m_objects) {
            if (object->name() == node->name ||
                (!node->defaultName.isEmpty() && object->defaultName() == node->defaultName)) {
                match = object.get();
                break;
            }
        }
        if (!match) {
            const QString line = QStringLiteral("Item with no animation found:") + node->name +
                                 QStringLiteral(" setting default one");
            qDebug("%s", qPrintable(line));
            match = append(AnimatedObject::createDefault(node->name));
        }
        node->animation = match;
        // Binding decides only what a node shows: whether the animation holds the tracks (they
        // were loaded with it, keyed or given a length) is up to the editor, so a default made
        // here leaves nothing behind in animations the node is gone from.
        if (!match->inUse()) {
            match->removeSingleDefaultKeys();
        }
    }
}
