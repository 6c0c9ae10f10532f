#pragma once

#include "AnimationTracks.h"

#include <QString>

/// What the undo history needs of the open document's animations: which one is current and
/// how to make another current (a key edit made in one animation is undone in it), and adding
/// and removing animations.
class AnimationDocument
{
public:
    virtual ~AnimationDocument() = default;

    virtual QString currentAnimation() const = 0;
    virtual bool selectAnimation(const QString& identifier) = 0;
    /// Whether an animation of the document shows as name.
    virtual bool hasAnimationNamed(const QString& name) const = 0;
    /// Adds an animation named name holding tracks (none for a new one) and makes it current;
    /// returns its identifier.
    virtual QString addAnimation(const QString& name, AnimationTracks tracks) = 0;
    /// Removes an animation that addAnimation made; its tracks go to tracks, as they were.
    virtual bool removeAnimation(const QString& identifier, AnimationTracks* tracks) = 0;
};
