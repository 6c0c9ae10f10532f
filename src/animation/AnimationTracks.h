#pragma once

#include "AnimatedObject.h"

#include <QList>

#include <memory>
#include <vector>

struct NodeRecord;

/// The tracks of the current animation: one AnimatedObject per node (or image), owned here.
class AnimationTracks
{
public:
    AnimationTracks() = default;
    AnimationTracks(AnimationTracks&&) = default;
    AnimationTracks& operator=(AnimationTracks&&) = default;

    int count() const { return static_cast<int>(m_objects.size()); }
    bool isEmpty() const { return m_objects.empty(); }
    AnimatedObject* at(int index) const { return m_objects.at(static_cast<size_t>(index)).get(); }
    AnimatedObject* append(std::unique_ptr<AnimatedObject> object);
    /// Takes an object out of the list and hands it to the caller.
    std::unique_ptr<AnimatedObject> take(AnimatedObject* object);
    void clear() { m_objects.clear(); }
    int indexOf(const AnimatedObject* object) const;

    /// The first object named name, or null.
    AnimatedObject* findByName(const QString& name) const;
    /// The length of the animation: the longest duration among objects with keys. Only when no
    /// object has a key, the longest of all (the default 1.63 s when there are only defaults);
    /// 0 when empty. Default tracks of unkeyed nodes never lengthen an animation.
    float maxDuration() const;

    /// Binds tracks to nodes, in node order: the first object whose name is the node's name, or
    /// whose default name is the node's non-empty default name. A node without one gets a
    /// default object appended (with a log line). Bound objects not in use lose single keys that
    /// only restate a channel default; binding never puts objects in use.
    void bind(const QList<NodeRecord*>& nodes);

    auto begin() const { return m_objects.begin(); }
    auto end() const { return m_objects.end(); }

private:
    std::vector<std::unique_ptr<AnimatedObject>> m_objects;
};
