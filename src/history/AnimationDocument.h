#pragma once

#include "AnimationTracks.h"

#include <QPointF>
#include <QString>

/// What the undo history needs of the open document's animations: which one is current and
/// how to make another current (a key edit made in one animation is undone in it), and adding,
/// removing and renaming animations.
class AnimationDocument
{
public:
    /// An animation taken out of the document, with everything that brings it back as it was.
    struct Removed
    {
        QString identifier;
        QString name;
        /// Its place in the animation chooser.
        int position = -1;
        bool wasCurrent = false;
        /// The models held its tracks (an edited or a new animation); else it reads from its file.
        bool stored = false;
        AnimationTracks tracks;
        QPointF axesPosition;
        /// Its name went on the ignore list (an animation of the skeleton's template).
        bool ignored = false;
    };

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

    /// How many animations the document has, and the name an animation shows (empty when the
    /// document has no such animation).
    virtual int animationCount() const { return 0; }
    virtual QString nameOf(const QString&) const { return QString(); }
    /// A copy of an animation's tracks as they are now (the current one's edits included).
    virtual AnimationTracks copyTracks(const QString&) { return AnimationTracks(); }
    /// Takes any animation out of the document (never the last one); false when it cannot.
    virtual bool takeAnimation(const QString&, Removed*) { return false; }
    /// Puts a taken animation back where it was, current again when it was current.
    virtual bool restoreAnimation(Removed&) { return false; }
    /// The identifier an animation made in the editor under name gets.
    virtual QString identifierFor(const QString& name) const { return name; }
    /// Whether identifier names an animation of the skeleton's template (read from its file).
    virtual bool isTemplateAnimation(const QString&) const { return false; }
    /// Gives the animation identified by from the identifier to and the name name, keeping its
    /// tracks (and, for the current one, playback) as they are.
    virtual bool renameAnimation(const QString&, const QString&, const QString&) { return false; }
    /// Template animations whose names are on the ignore list are not offered.
    virtual bool isIgnored(const QString&) const { return false; }
    virtual void setIgnored(const QString&, bool) {}
};
