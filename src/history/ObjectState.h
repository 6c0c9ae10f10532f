#pragma once

#include "AnimatedObject.h"
#include "ColorAdjustment.h"
#include "bez3.h"

#include <QColor>
#include <QString>
#include <QTransform>

#include <array>
#include <vector>

class QGraphicsItem;
class Skeleton;

/// Everything the object settings column can change of one node or image: its name, set-up
/// pose, bone colour, colour adjustment, sprite speed, and its tracks in the current animation
/// (name, length and keys). Taken before and after an edit, it puts either back exactly.
class ObjectState
{
public:
    /// The state of the node or image item stands for; invalid for any other item.
    static ObjectState of(Skeleton& skeleton, const QGraphicsItem* item);

    bool isValid() const { return m_valid; }
    /// Whether the two states differ in their tracks (the edit keyed something).
    bool keysDiffer(const ObjectState& other) const;
    bool operator==(const ObjectState& other) const;
    bool operator!=(const ObjectState& other) const { return !(*this == other); }

    /// Puts the state back on its node or image, found again by id, with its tracks when
    /// withTracks (they are the current animation's); returns the item that stands for it, or
    /// null when it is gone.
    QGraphicsItem* restore(Skeleton& skeleton, bool withTracks) const;
    /// The item of the node or image the state was taken of, or null when it is gone.
    QGraphicsItem* itemIn(const Skeleton& skeleton) const;

private:
    using Keys = std::array<std::vector<bez3>, AnimatedObject::kChannelCount>;

    bool m_valid = false;
    bool m_isNode = false;
    quint64 m_id = 0;
    QString m_name;
    QTransform m_rest;
    QColor m_boneColor;
    ColorAdjustment m_adjustment;
    float m_speed = 1.0f;
    bool m_hasTracks = false;
    QString m_tracksName;
    float m_duration = 0.0f;
    bool m_durationExplicit = false;
    Keys m_keys;
};
