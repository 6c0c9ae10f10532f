#pragma once

#include "AnimatedObject.h"
#include "AnimationTracks.h"
#include "SkeletonAsset.h"
#include "SkeletonNode.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

class KeyframeWriter;
class ObjectManipulator;
class PlaybackClock;
class QDragEnterEvent;
class QDragMoveEvent;
class QGraphicsItem;
class QGraphicsPixmapItem;
class QGraphicsScene;
class QGraphicsView;

/// The skeleton on the canvas: owns the nodes and images that are drawn and the tracks of the
/// current animation, applies the pose of the current time, plays animations, turns finished
/// manipulations into keys, and keeps joints and bones a constant size on screen.
class Skeleton : public QObject
{
    Q_OBJECT

public:
    using Node = SkeletonNode;
    using Asset = SkeletonAsset;

    /// Z-order changes of images (the Arrange menu).
    enum ZValueChangeAction { BringToFront = 0, BringForward = 1, SendBackward = 2, SendToBack = 3 };

    Skeleton(QGraphicsScene* scene, QGraphicsView* view, ObjectManipulator* manipulator, QObject* parent = nullptr);
    ~Skeleton() override;

    // Nodes and images.

    /// Removes every node and image and the current animation.
    void clear();
    /// Replaces the nodes; parents are resolved by name (a missing parent or a parent cycle
    /// leaves a node at the top).
    void setNodes(const QList<NodeRecord>& records);
    Node* addNode(const NodeRecord& record);
    void removeNode(Node* node);
    /// Removes node, every node under it and the images bound to any of them.
    void removeNodeWithChildren(Node* node);
    /// node and the nodes under it, breadth first (node first).
    QList<Node*> subtree(Node* node) const;
    /// The images bound to any of the nodes.
    QList<Asset*> imagesOf(const QList<Node*>& nodes) const;
    /// Re-resolves parents after names or parents changed.
    void rebuildHierarchy();
    const std::vector<std::unique_ptr<Node>>& nodes() const { return m_nodes; }
    QList<NodeRecord*> nodeRecords() const;
    Node* nodeByName(const QString& name) const;
    Node* nodeByItem(const QGraphicsItem* item) const;

    /// Adds an image bound to a node (dummy images are a template's placeholders).
    Asset* addImage(const QString& nodeName, const QImage& image, const QTransform& restTransform, bool dummy,
                    const QString& name = QString());
    void removeImage(Asset* asset);
    const std::vector<std::unique_ptr<Asset>>& images() const { return m_images; }
    const std::vector<std::unique_ptr<Asset>>& dummyImages() const { return m_dummyImages; }
    /// The image whose visible item or placeholder is item.
    Asset* assetByItem(const QGraphicsItem* item) const;
    /// Bound images z 0, 1, 2 …; dummy images index − 1000.
    void restackImages();
    /// Moves an image within its list by a z-order action; false when it cannot move that way.
    bool changeZValue(Asset* asset, ZValueChangeAction action);
    bool canChangeZValue(Asset* asset, ZValueChangeAction action) const;

    QString uniqueNodeName() const;
    QString uniqueAssetName() const;

    // Edits for the undo history: the very same records and scene items go out and come back.

    Node* nodeById(quint64 id) const;
    Asset* assetById(quint64 id) const;
    /// Takes a node out of the skeleton; its items leave the scene but live on in the record,
    /// and index is where it stood. Nodes under it go to the top level until it is back.
    std::unique_ptr<Node> takeNode(Node* node, int* index = nullptr);
    /// Puts a taken node back at index with its own items.
    Node* restoreNode(std::unique_ptr<Node> node, int index);
    /// Takes an image out the same way; dummy and index say which list and where.
    std::unique_ptr<Asset> takeImage(Asset* asset, bool* dummy = nullptr, int* index = nullptr);
    Asset* restoreImage(std::unique_ptr<Asset> asset, bool dummy, int index);
    /// Deletes the scene items of a record that is out of the skeleton.
    static void discardItems(Node& node);
    static void discardItems(Asset& asset);
    /// Position of an image in its list (-1 when unknown); dummy says which list.
    int imageIndex(const Asset* asset, bool* dummy = nullptr) const;
    /// Moves an image to index within its list and restacks.
    void moveImage(Asset* asset, int index);
    /// Makes parent (a node name, empty for the top level) the node's parent, keeping where the
    /// node is drawn; false when parent is the node itself, lies under it, or does not exist.
    bool reparentNode(Node* node, const QString& parent);
    /// Binds an image to another node, keeping where it is drawn.
    bool rebindImage(Asset* asset, const QString& nodeName);
    /// A new set-up pose for a node or an image, applied at once.
    void setRestTransform(Node* node, const QTransform& rest);
    void setRestTransform(Asset* asset, const QTransform& rest);
    /// Shows a new picture for an image (with the image's colour adjustment).
    void setImagePicture(Asset* asset, const QImage& image);
    /// The image's picture as it was given, before any colour adjustment.
    static QImage pictureOf(const Asset& asset);
    /// Makes an image play the frames of container, or, with none (or one without frames),
    /// show still as its picture.
    void setImageSprite(Asset* asset, TSModelSpriteContainer* container, const QImage& still);
    /// Every image that plays a sprite shows its frame of the current time again (after the
    /// frames or their colours changed).
    void refreshSpriteFrames();

    // Edits of one node or image by value (the object settings). They change the records and
    // items at once; the caller records them for undo.

    /// Renames a node; its children, its images and its tracks follow.
    void renameNode(Node* node, const QString& name);
    /// Renames an image; its tracks follow.
    void renameImage(Asset* asset, const QString& name);
    void setBoneColor(Node* node, const QColor& color);
    /// Shows or hides the node whose joint, or the image whose placeholder, item is. Nodes and
    /// images under a hidden joint are hidden with it; hidden ones leave the selection.
    void setObjectVisible(QGraphicsItem* item, bool visible);
    /// The colour adjustment of an image (its sprite container's, for a sprite).
    ColorAdjustment imageAdjustment(const Asset* asset) const;
    void setImageAdjustment(Asset* asset, const ColorAdjustment& adjustment);
    /// The tracks of the node or image item stands for in the current animation; with create,
    /// new (empty) tracks are made for one that has none.
    AnimatedObject* tracksOf(const QGraphicsItem* item, bool create);
    /// Writes value as the key of property at the current time into item's tracks (made when
    /// missing), straight into the curve, and shows the pose; false when item has no tracks.
    bool setKey(const QGraphicsItem* item, AnimatedObject::AnimatedProperty property, float value);
    ObjectManipulator* manipulator() const { return m_manipulator; }

    // Animation.

    /// Makes tracks the current animation and binds them to the nodes; with captureRest the
    /// current item transforms become rest poses first.
    void setAnimation(AnimationTracks tracks, bool captureRest = false);

    /// An animation's tracks together with the object each node and image shows of them.
    struct BoundAnimation
    {
        AnimationTracks tracks;
        bool bound = false;
        std::vector<AnimatedObject*> nodeTracks;  ///< per node, in node order
        std::vector<AnimatedObject*> imageTracks; ///< per image, then per dummy image
    };
    /// Shows next in place of the current animation and hands the current one out as it is
    /// bound. Tracks that come back get the bindings they left with (tracks not bound yet, or
    /// bound to other nodes, are bound as setAnimation() does). Unlike setAnimation() this keeps
    /// the undo history, whose commands point at the objects handed out: for a passing look at
    /// other animations, after which the caller must put the current one back.
    BoundAnimation exchangeAnimation(BoundAnimation next);
    AnimationTracks& tracks() { return m_tracks; }
    /// Takes tracks out of the current animation; no node or image shows them any longer.
    std::unique_ptr<AnimatedObject> takeTracks(AnimatedObject* tracks);
    /// Puts taken tracks back at the end of the current animation and binds them again.
    AnimatedObject* restoreTracks(std::unique_ptr<AnimatedObject> tracks);
    /// Longest duration of the current tracks, seconds.
    float duration() const { return m_tracks.maxDuration(); }
    /// Every track's duration becomes max(0, (frames − 1) / frame rate).
    void setDuration(int frames);
    /// The frames the timeline shows for the animation's length: one more than the frame
    /// steps it lasts, so setDuration(frameCount()) keeps the length.
    int frameCount() const;
    float frameRate() const;
    void setFrameRate(float fps);
    float currentTime() const { return m_currentTime; }
    float timeScale() const;
    void setTimeScale(float scale);
    bool isPlaying() const { return m_playing; }
    bool isLooping() const { return m_loop; }
    void setLooping(bool loop) { m_loop = loop; }
    /// Starts or stops playback; returns whether it plays now.
    bool togglePlayPause();
    void stop();

    // Display switches.

    bool animationMode() const { return m_animationMode; }
    void setAnimationMode(bool on);
    bool isSkeletonVisible() const { return m_skeletonVisible; }
    void setSkeletonVisible(bool visible);
    bool editableJoints() const { return m_editableJoints; }
    void setEditableJoints(bool editable);
    float zoom() const { return m_zoom; }
    Node* dropTarget() const { return m_dropTarget; }
    /// Forgets the joint a drag is over (and its highlight) once the drag has ended.
    void clearDropTarget();

    void setKeyframeWriter(KeyframeWriter* writer);
    /// Every node and image takes its current item transform as its rest pose.
    void captureRestPoses();
    /// The set-up pose takes over an item's transform (joint or image placeholder).
    void commitSetupPose(QGraphicsItem* item);

    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }

public Q_SLOTS:
    void assetDragEnterSlot(QDragEnterEvent* event);
    void assetDragMoveSlot(QDragMoveEvent* event);
    void newAnimationFrame();
    void showFrame(int frame);
    void showMoment(float time);
    void updateSkeleton(QGraphicsItem* item);
    /// Lays the bones, joint marks and images out after the poses changed; emits posesChanged().
    void updateSkeleton();
    void onItemSetMoveKey(QGraphicsItem* item);
    void onItemSetScaleKey(QGraphicsItem* item);
    void onItemSetRotationKey(QGraphicsItem* item);
    void onItemSetKey(QGraphicsItem* item, QList<AnimatedObject::AnimatedProperty>& properties);
    void viewZoomChanged(float zoom);
    void viewZoomChanged();
    void selectionChanged();
    void makeDummyAssetsEditable();
    void makeAllAssetsDummy();

Q_SIGNALS:
    void newFrame(int frameNumber);
    void assetSelected(QGraphicsPixmapItem* assetItem);
    void clearUndoHistory();
    void tagsCloudChanged(QStringList tags);
    void animationStopped();
    void animationCurveChanged();
    void nodesUpdated();
    /// Joints and images may stand elsewhere: a frame was shown, a pose typed, dragged or undone.
    void posesChanged();

private:
    void applyPose(Node& node, float seconds);
    void applyPose(Asset& asset, float seconds);
    static void showSpriteFrame(Asset& asset, float seconds);
    void bindTracks();
    void refreshNode(Node& node);
    /// updateSkeleton() without the signal.
    void layOutSkeleton();
    /// The visible item of an image follows its placeholder's scene transform and visibility.
    static void syncImageItem(Asset& asset);
    /// The image's name and presence, on its placeholder, for whoever lists the scene.
    static void labelImage(Asset& asset);
    void setAssetEditable(Asset& asset, bool editable);
    /// The transform that poses an item at its node position, and the item reset to it.
    QTransform takeAnimationTransform(QGraphicsItem* item, const QPointF& position, const QTransform& rest);
    AnimatedObject* tracksFor(const QString& name, AnimatedObject*& slot);
    /// Keys item's pose; turn is the turn in degrees that a rotate drag just gave it.
    void keyItem(QGraphicsItem* item, const QList<AnimatedObject::AnimatedProperty>& properties, double turn);
    static void renameTracks(AnimatedObject& tracks, const QString& name);
    /// Keys the tracks in slot (made and named name when there are none) as one undoable step.
    /// The poses are taken by value: each step of the history poses the skeleton again.
    void writeKeys(const QString& name, AnimatedObject*& slot, const QList<AnimatedObject::AnimatedProperty>& properties,
                   QTransform animation, QTransform rest, const QPointF& centre, double turn);
    double screenScale() const;

    NodeRecord m_root;
    std::vector<std::unique_ptr<Node>> m_nodes;
    std::vector<std::unique_ptr<Asset>> m_images;
    std::vector<std::unique_ptr<Asset>> m_dummyImages;
    AnimationTracks m_tracks;
    QString m_name;
    Node* m_dropTarget = nullptr;
    quint64 m_nextId = 1;
    ObjectManipulator* m_manipulator;
    QGraphicsScene* m_scene;
    QPointer<QGraphicsView> m_view;
    bool m_playing = false;
    bool m_wasPlaying = false;
    float m_currentTime = 0.0f;
    float m_zoom = 1.0f;
    bool m_animationMode = false;
    bool m_skeletonVisible = true;
    bool m_secondVisibility = true;
    bool m_loop = true;
    bool m_editableJoints = false;
    PlaybackClock* m_clock;
    std::unique_ptr<KeyframeWriter> m_ownWriter;
    KeyframeWriter* m_writer;
};
