#pragma once

#include "AnimationTracks.h"

#include "AnimationDocument.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QStringList>

class AnimationCanvas;
class SceneAxes;
class Skeleton;

/// The open document behind the main window: loads documents into the skeleton display, keeps
/// the current skeleton and animation, pushes the editor's state back into the models and saves.
/// It owns no widget, so tests can drive it without a window.
class DocumentController : public QObject, public AnimationDocument
{
    Q_OBJECT

public:
    struct Animation
    {
        QString identifier; ///< "model/<name>.json", or a template animation's path
        QString name;       ///< what the animation chooser shows
    };

    static const QRectF kDefaultCanvasRect;

    DocumentController(Skeleton* skeleton, AnimationCanvas* canvas, SceneAxes* axes, QObject* parent = nullptr);

    bool isModified() const { return m_modified; }
    void setModified(bool modified);
    bool isTemplate() const { return m_template; }
    void setTemplate(bool isTemplate) { m_template = isTemplate; }

    QString skeletonName() const { return m_skeletonName; }
    QStringList ignoreList() const { return m_ignoreList; }
    QList<Animation> animations() const { return m_animations; }
    QString currentAnimation() const override { return m_currentAnimation; }
    QString currentAnimationName() const;

    /// Empties the editor and the models (a document without changes).
    void reset();
    /// Replaces the open document by the one at path; false with the reason in error.
    bool load(const QString& path, bool isTemplate, QString* error);
    /// Replaces the open document by the recovery state of the working folder session (another
    /// editor's); the document is modified, and untitled (a template) when the state names no
    /// document file. False with the reason in error.
    bool recover(const QString& session, QString* error);
    /// Makes an animation current; the current one is first stored in the models.
    bool selectAnimation(const QString& identifier) override;
    bool hasAnimationNamed(const QString& name) const override;
    /// An animation's tracks as stored: from its model, else from the template file at
    /// identifier. The current animation's unsaved edits are on the skeleton, not here.
    AnimationTracks loadTracks(const QString& identifier, QPointF* axesPosition = nullptr) const;
    /// Adds an animation named name ("model/<name>.json") holding tracks and makes it current.
    QString addAnimation(const QString& name, AnimationTracks tracks) override;
    /// Removes an animation of the document's own ("model/<name>.json"); its tracks go to
    /// tracks (when given), as they were.
    bool removeAnimation(const QString& identifier, AnimationTracks* tracks) override;
    int animationCount() const override { return m_animations.size(); }
    QString nameOf(const QString& identifier) const override;
    AnimationTracks copyTracks(const QString& identifier) override;
    /// Takes an animation out: its models go, and a template animation's name goes on the
    /// ignore list. The current one gives way to its neighbour. The last one stays.
    bool takeAnimation(const QString& identifier, Removed* removed) override;
    bool restoreAnimation(Removed& removed) override;
    QString identifierFor(const QString& name) const override;
    bool isTemplateAnimation(const QString& identifier) const override;
    bool renameAnimation(const QString& from, const QString& to, const QString& name) override;
    bool isIgnored(const QString& name) const override { return m_ignoreList.contains(name); }
    void setIgnored(const QString& name, bool ignored) override;
    /// Position of an animation in the chooser, or -1.
    int indexOfAnimation(const QString& identifier) const;
    /// Stores the canvas, skeleton, nodes, images and current animation into the models.
    void pushStateToModels();
    /// Writes the skeleton with every image as a placeholder into directory, as a template named
    /// after the skeleton (or fallbackName when it has none).
    void writeSkeletonTemplate(const QString& directory, const QString& fallbackName) const;
    /// Pushes the state and writes the document; false with the reason in error.
    bool save(const QString& path, QString* error);

Q_SIGNALS:
    void modifiedChanged(bool modified);
    void animationsChanged();
    void currentAnimationChanged(const QString& identifier);

private:
    void buildSceneFromModels();
    /// The tracks stored or read for identifier, every one marked in use so that storing them
    /// again keeps them all.
    AnimationTracks tracksToStore(const QString& identifier, QPointF* axesPosition, bool* stored) const;
    void listAnimations();
    QString templateFolderOf(const QString& skeletonName) const;

    QPointer<Skeleton> m_skeleton;
    QPointer<AnimationCanvas> m_canvas;
    QPointer<SceneAxes> m_axes;
    bool m_modified = false;
    bool m_template = false;
    QString m_skeletonName;
    QStringList m_ignoreList;
    QList<Animation> m_animations;
    QString m_currentAnimation;
};
