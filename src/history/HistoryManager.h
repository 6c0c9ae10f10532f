#pragma once

#include "AnimationCanvas.h"
#include "KeyframeWriter.h"
#include "SceneAxes.h"
#include "Skeleton.h"
#include "SpriteContainerState.h"
#include "bez3.h"

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QUndoStack>
#include <QUrl>

class AnimationDocument;
class ObjectManipulator;
class QDropEvent;
class TSLineEditUpdateable;
class TSModelSpriteContainer;

/// The one undo history of the editor. Every edit arrives at one of its slots, which builds the
/// command (or the macro of commands) and pushes it; commands never merge. Commands find their
/// nodes and images again by id and their tracks by animation and name, so the history lives
/// across animation switches and is cleared only when a document is loaded.
class HistoryManager : public QUndoStack, public KeyframeWriter
{
    Q_OBJECT

public:
    /// An image to add: its picture, the node it is bound to, its set-up pose and names.
    struct NewImage
    {
        QImage image;
        QString nodeName;
        QTransform restTransform;
        QString name;
        QString assetName;
        QStringList tags;
    };

    static const QString kAnimationChange;
    static const QString kDeleteNodes;
    static const QString kEditKeyframesGroup;

    explicit HistoryManager(QObject* parent = nullptr);
    ~HistoryManager() override;

    /// The history of the main window, or null before there is one.
    static HistoryManager* instance();

    void setSkeleton(Skeleton* skeleton);
    Skeleton* skeleton() const { return m_skeleton; }
    void setCanvas(AnimationCanvas* canvas) { m_canvas = canvas; }
    AnimationCanvas* canvas() const { return m_canvas; }
    void setAxes(SceneAxes* axes) { m_axes = axes; }
    SceneAxes* axes() const { return m_axes; }
    /// The document whose animations key commands switch between.
    void setDocument(AnimationDocument* document) { m_document = document; }
    AnimationDocument* document() const { return m_document; }
    ObjectManipulator* manipulator() const;

    /// The current animation's identifier (empty without a document).
    QString currentAnimation() const;
    /// Makes identifier the current animation when it is not; false when that cannot be done.
    bool enterAnimation(const QString& identifier);

    void beginMacro(const QString& text) override;
    void endMacro() override;
    /// Tracks made for a first key and their length, recorded in the gesture's macro.
    AnimatedObject* addTracks(AnimationTracks& list, std::unique_ptr<AnimatedObject> tracks) override;
    void setTracksDuration(AnimatedObject* tracks, float seconds, bool isExplicit) override;

    /// Re-poses the skeleton after a command changed keys or the structure.
    void refreshSkeleton();
    /// Stops playback before a command changes what is playing.
    void stopPlayback();
    /// Every image that plays a sprite shows its current frame again (its frames or colours
    /// changed).
    void refreshSprites();

    /// The new-image scale: fits an image of size to the project's screen when "Auto adjust new
    /// assets scale" is on, compensating the scale of the node it is bound to.
    QTransform newImageTransform(const QSize& size, const QString& nodeName) const;

public Q_SLOTS:
    void deleteAssets();
    void deleteAssets(QList<Skeleton::Asset*> assets);
    void addAssetFromDragDrop(QDropEvent* event);
    /// PNG files, bound to the joint highlighted by the drag (or to node when no drag is on).
    void addAssetsFromFiles(QList<QUrl> urls);
    void addAssetsFromFiles(const QList<QUrl>& urls, const QString& nodeName);
    void addImages(const QList<HistoryManager::NewImage>& images);
    void assetsTransformed(QString action, QList<QGraphicsItem*> assets, QList<QTransform> sourceTransforms,
                           QList<QTransform> destinationTransforms);
    void changeAnimatedObjectValue(AnimatedObject* object, AnimatedObject::AnimatedProperty property, float time,
                                   float oldValue, float newValue, bool isNewPoint) override;
    void changeAssetszValue(QList<QGraphicsItem*> assets, Skeleton::ZValueChangeAction action);
    /// A frame animation made of PNG files (one trimmed sprite per file, in name order, packed
    /// into the atlases) as a new image of the node, selected; one step. Refused (with the
    /// reason) when the files cannot make one; then nothing is made.
    bool addSpriteAnimation(const QStringList& paths, const QString& nodeName);
    /// The image plays container's frames from now on (null: it shows its picture still).
    void changeImageSprite(quint64 assetId, TSModelSpriteContainer* container);
    /// An edit of container that the sprite editor made, from the state before it.
    void changeSpriteContainer(const QString& text, TSModelSpriteContainer* container,
                               const SpriteContainerState& before);
    /// A new picture for the selected image (the image drop area's).
    void setAssetPixmapFromDropArea();
    void changeAssetPixmap(QGraphicsItem* item, const QImage& image);
    /// A new child node under the item's node; returns it.
    Skeleton::Node* addNodeToSelected(QGraphicsItem* item, const QPointF& position = QPointF(0, -60));
    void removeSelectedNode();
    void removeSelectedNode(Skeleton::Node* node);
    /// The node, every node under it and their images, as one step "Delete nodes".
    void removeNodeBranch(Skeleton::Node* node);
    bool changeNodeParent(const QGraphicsItem* target, const QGraphicsItem* parent);
    bool changeAssetParent(const QGraphicsItem* target, const QGraphicsItem* parent);
    /// Deletes the keys of the selected node or image on a frame.
    void deleteKeyframeOnIndex(int index);
    void deleteKeyframesAt(AnimatedObject* tracks, int frame);
    /// The keys of the channels given on a frame, as one step.
    void deleteKeyframes(AnimatedObject* tracks, const QList<int>& channels, int frame);
    /// A key on frame in each of the channels given that has none there, keeping the pose.
    void createKeyframes(AnimatedObject* tracks, const QList<int>& channels, int frame);
    /// The keys of the channels given on frame from go to frame to.
    void moveKeyframes(AnimatedObject* tracks, const QList<int>& channels, int from, int to);
    void onKeyframeAdded(QString skeleton, QString animation, int index, bez3 value);
    void onKeyframeDeleted(QString skeleton, QString animation, int index);
    void changeAttribute(int from, int to);
    /// A value typed into a field for item: from the field's previous text to its text.
    void changeLineEditValueFor(TSLineEditUpdateable* edit, QGraphicsItem* item);
    /// A new bone colour for the node of item.
    void changeBoneColor(QGraphicsItem* item, const QColor& color);
    /// A canvas resize; applied says whether the gesture already shows it.
    void changeCanvasSize(QRectF from, QRectF to);
    void setCanvasSize(const QRectF& to);
    void changeAxesPosition(QPointF from, QPointF to);
    /// A new frame count for the current animation.
    void changeAnimationLength(int fromFrames, int toFrames);
    /// A new empty animation, made current; refused (empty) when the name is taken.
    QString addAnimation(const QString& name);
    /// A copy of the current animation under name, made current; refused like addAnimation().
    QString copyAnimation(const QString& name);
    /// A new name for an animation; refused when it is empty, taken or not a name.
    bool renameAnimation(const QString& identifier, const QString& name);
    /// Deletes an animation; the last one is refused.
    bool deleteAnimation(const QString& identifier);
    /// The playback speed factor; anything but a positive number is ignored.
    void changePlaybackSpeed(float speed);
    void changeLooping(bool loop);

Q_SIGNALS:
    /// A command changed keys (done, undone or redone).
    void keysChanged();
    /// A command changed the current animation's length to frames.
    void animationLengthChanged(int frames);
    void playbackSpeedChanged(float speed);
    void loopingChanged(bool loop);
    void keyframeInsertionRequested(int index, bez3 value);
    void keyframeDeletionRequested(int index);
    void attributeIndexChanged(int index);
    /// A slot was asked for something that cannot be done; message says why.
    void refused(const QString& title, const QString& message);

private:
    QList<Skeleton::Asset*> assetsOf(const QList<QGraphicsItem*>& items) const;
    /// Whether name may name a new or renamed animation; says why not under title otherwise.
    bool acceptAnimationName(const QString& title, const QString& name);

    QPointer<Skeleton> m_skeleton;
    QPointer<AnimationCanvas> m_canvas;
    QPointer<SceneAxes> m_axes;
    AnimationDocument* m_document = nullptr;
};
