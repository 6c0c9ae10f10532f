#include "ObjectState.h"

#include "PixmapPlaceholderItem.h"
#include "Skeleton.h"
#include "TSModelSpriteContainer.h"

#include <QGraphicsEllipseItem>

#include <algorithm>

namespace {

bool sameKey(const bez3& a, const bez3& b)
{
    return a.inHandle == b.inHandle && a.time == b.time && a.value == b.value && a.outHandle == b.outHandle;
}

bool sameAdjustment(const ColorAdjustment& a, const ColorAdjustment& b)
{
    return a.brightness == b.brightness && a.contrast == b.contrast && a.hue == b.hue &&
           a.saturation == b.saturation && a.opacity == b.opacity;
}

} // namespace

ObjectState ObjectState::of(Skeleton& skeleton, const QGraphicsItem* item)
{
    ObjectState state;
    const AnimatedObject* tracks = nullptr;
    if (const Skeleton::Node* node = skeleton.nodeByItem(item)) {
        state.m_isNode = true;
        state.m_id = node->id;
        state.m_name = node->name;
        state.m_rest = node->restTransform;
        state.m_boneColor = node->boneColor;
        tracks = node->animation;
    } else if (const Skeleton::Asset* asset = skeleton.assetByItem(item)) {
        state.m_id = asset->id;
        state.m_name = asset->name;
        state.m_rest = asset->restTransform;
        state.m_adjustment = skeleton.imageAdjustment(asset);
        state.m_speed = asset->container ? asset->container->animationSpeed() : 1.0f;
        tracks = asset->animation;
    } else {
        return state;
    }
    state.m_valid = true;
    if (tracks) {
        state.m_hasTracks = true;
        state.m_tracksName = tracks->name();
        state.m_duration = tracks->duration();
        state.m_durationExplicit = tracks->isDurationExplicit();
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            const TSAnimationCurve& curve = tracks->channel(channel);
            state.m_keys[static_cast<size_t>(channel)].assign(curve.keys(), curve.keys() + curve.keyCount());
        }
    }
    return state;
}

bool ObjectState::keysDiffer(const ObjectState& other) const
{
    if (m_hasTracks != other.m_hasTracks || m_tracksName != other.m_tracksName ||
        m_duration != other.m_duration || m_durationExplicit != other.m_durationExplicit) {
        return true;
    }
    for (size_t channel = 0; channel < m_keys.size(); ++channel) {
        const std::vector<bez3>& mine = m_keys[channel];
        const std::vector<bez3>& theirs = other.m_keys[channel];
        if (!std::equal(mine.begin(), mine.end(), theirs.begin(), theirs.end(), sameKey)) {
            return true;
        }
    }
    return false;
}

bool ObjectState::operator==(const ObjectState& other) const
{
    return m_valid == other.m_valid && m_isNode == other.m_isNode && m_id == other.m_id && m_name == other.m_name &&
           m_rest == other.m_rest && m_boneColor == other.m_boneColor &&
           sameAdjustment(m_adjustment, other.m_adjustment) && m_speed == other.m_speed && !keysDiffer(other);
}

QGraphicsItem* ObjectState::itemIn(const Skeleton& skeleton) const
{
    if (!m_valid) {
        return nullptr;
    }
    if (m_isNode) {
        const Skeleton::Node* node = skeleton.nodeById(m_id);
        return node ? node->joint : nullptr;
    }
    const Skeleton::Asset* asset = skeleton.assetById(m_id);
    return asset ? asset->placeholder : nullptr;
}

QGraphicsItem* ObjectState::restore(Skeleton& skeleton, bool withTracks) const
{
    QGraphicsItem* item = itemIn(skeleton);
    if (!item) {
        return nullptr;
    }
    if (m_isNode) {
        Skeleton::Node* node = skeleton.nodeById(m_id);
        skeleton.renameNode(node, m_name);
        skeleton.setBoneColor(node, m_boneColor);
        skeleton.setRestTransform(node, m_rest);
    } else {
        Skeleton::Asset* asset = skeleton.assetById(m_id);
        skeleton.renameImage(asset, m_name);
        skeleton.setImageAdjustment(asset, m_adjustment);
        if (asset->container) {
            asset->container->setAnimationSpeed(m_speed);
        }
        skeleton.setRestTransform(asset, m_rest);
    }
    // Tracks made by the edit stay, without keys, as tracks never keyed.
    if (AnimatedObject* tracks = withTracks ? skeleton.tracksOf(item, false) : nullptr) {
        if (m_hasTracks) {
            tracks->setName(m_tracksName);
        }
        tracks->restoreDuration(m_hasTracks ? m_duration : tracks->duration(),
                                m_hasTracks ? m_durationExplicit : false);
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            const std::vector<bez3>& keys = m_keys[static_cast<size_t>(channel)];
            tracks->channel(channel).setKeys(keys.data(), static_cast<int>(keys.size()));
        }
    }
    skeleton.showMoment(skeleton.currentTime());
    return item;
}
