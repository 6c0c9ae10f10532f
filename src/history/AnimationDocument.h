#pragma once

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
    /// Adds an empty animation named name and makes it current; returns its identifier.
    virtual QString addAnimation(const QString& name) = 0;
    /// Removes an animation that addAnimation made.
    virtual bool removeAnimation(const QString& identifier) = 0;
};
