#include "Skeleton.h"

#include "ItemData.h"
#include "KeyframeWriter.h"
#include "ObjectManipulator.h"
#include "PixmapPlaceholderItem.h"
#include "PlaybackClock.h"
#include "Pose.h"
#include "ScreenScale.h"
#include "SkeletonNodeItems.h"
#include "TimeLimits.h"
#include "TSModelSpriteContainer.h"

#include <QDebug>
#include <QDragMoveEvent>
#include <QGraphicsEllipseItem>
#include <QGraphicsPolygonItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

bool isFinite(const QTransform& t)
{
    const qreal values[] = {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()};
    return std::all_of(std::begin(values), std::end(values), [](qreal v) { return std::isfinite(v); });
}

// A rest pose must be undone again (poses are keyed against it): one that cannot (NaN, or a
// collapsed scale) is replaced by the identity.
QTransform drawable(const QTransform& t)
{
    return isFinite(t) && t.isInvertible() ? t : QTransform();
}

// An animation pose may collapse (a scale of 0 is how animations hide parts); only one that is
// not a number at all gives way to the rest pose.
QTransform finitePose(const QTransform& t)
{
    return isFinite(t) ? t : QTransform();
}

// The rest transform under which animation shows total: left as it is while the pose is
// collapsed, since nothing can be read back through it then.
QTransform restUnder(const QTransform& animation, const QTransform& total, const QTransform& rest)
{
    return animation.isInvertible() ? drawable(animation.inverted() * total) : rest;
}

const QString kAnimationChange = QStringLiteral("Animation change");

} // namespace

Skeleton::Skeleton(QGraphicsScene* scene, QGraphicsView* view, ObjectManipulator* manipulator, QObject* parent)
    : QObject(parent), m_manipulator(manipulator), m_scene(scene), m_view(view), m_clock(new PlaybackClock(this)),
      m_ownWriter(std::make_unique<DirectKeyframeWriter>()), m_writer(m_ownWriter.get())
{
    connect(m_clock, &PlaybackClock::tick, this, &Skeleton::newAnimationFrame);
}

Skeleton::~Skeleton()
{
    m_clock->stop();
}

void Skeleton::setKeyframeWriter(KeyframeWriter* writer)
{
    m_writer = writer ? writer : m_ownWriter.get();
}

double Skeleton::screenScale() const
{
    return ScreenScale::of(m_view);
}

float Skeleton::frameRate() const
{
    return m_clock->frameRate();
}

void Skeleton::setFrameRate(float fps)
{
    m_clock->setFrameRate(fps);
}

float Skeleton::timeScale() const
{
    return m_clock->timeScale();
}

void Skeleton::setTimeScale(float scale)
{
    m_clock->setTimeScale(scale);
}

// Nodes and images -----------------------------------------------------------------------------

void Skeleton::clear()
{
    stop();
    if (m_manipulator) {
        m_manipulator->setTargets({}, true);
    }
    for (auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            delete asset->item;
            delete asset->placeholder;
        }
        list->clear();
    }
    for (const auto& node : m_nodes) {
        SkeletonNodeItems::destroy(*node);
    }
    m_nodes.clear();
    m_tracks.clear();
    m_dropTarget = nullptr;
    m_currentTime = 0.0f;
    Q_EMIT clearUndoHistory();
    Q_EMIT nodesUpdated();
}

void Skeleton::setNodes(const QList<NodeRecord>& records)
{
    clear();
    for (const NodeRecord& record : records) {
        auto node = std::make_unique<Node>();
        static_cast<NodeRecord&>(*node) = record;
        node->id = m_nextId++;
        node->animation = nullptr;
        node->animationTransform = QTransform();
        SkeletonNodeItems::create(*node, m_scene);
        m_nodes.push_back(std::move(node));
    }
    rebuildHierarchy();
}

Skeleton::Node* Skeleton::addNode(const NodeRecord& record)
{
    const bool animated = !m_tracks.isEmpty();
    const float length = duration();
    auto node = std::make_unique<Node>();
    static_cast<NodeRecord&>(*node) = record;
    node->id = m_nextId++;
    node->animation = nullptr;
    SkeletonNodeItems::create(*node, m_scene);
    Node* added = node.get();
    m_nodes.push_back(std::move(node));
    rebuildHierarchy();
    bindTracks();
    // Its default tracks take the animation's length: while nothing is keyed, the longest track
    // is the length, and adding a node must not change it.
    if (animated && added->animation && !added->animation->hasKeys()) {
        added->animation->setDuration(length, false);
    }
    return added;
}

void Skeleton::removeNode(Node* node)
{
    const auto it = std::find_if(m_nodes.begin(), m_nodes.end(),
                                 [node](const std::unique_ptr<Node>& n) { return n.get() == node; });
    if (it == m_nodes.end()) {
        return;
    }
    if (m_manipulator) {
        m_manipulator->setTargets({}, true);
    }
    if (m_dropTarget == node) {
        m_dropTarget = nullptr;
    }
    SkeletonNodeItems::destroy(*node);
    m_nodes.erase(it);
    rebuildHierarchy();
}

QList<Skeleton::Node*> Skeleton::subtree(Node* node) const
{
    QList<Node*> members;
    if (node) {
        members.append(node);
    }
    for (int i = 0; i < members.size(); ++i) {
        for (const auto& other : m_nodes) {
            if (other->parentJoint && other->parentJoint == members.at(i)->joint) {
                members.append(other.get());
            }
        }
    }
    return members;
}

QList<Skeleton::Asset*> Skeleton::imagesOf(const QList<Node*>& nodes) const
{
    QStringList names;
    for (const Node* node : nodes) {
        names << node->name;
    }
    QList<Asset*> bound;
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            if (names.contains(asset->nodeName)) {
                bound.append(asset.get());
            }
        }
    }
    return bound;
}

void Skeleton::removeNodeWithChildren(Node* node)
{
    // Images first, then the nodes deepest first.
    const QList<Node*> members = subtree(node);
    for (Asset* asset : imagesOf(members)) {
        removeImage(asset);
    }
    for (int i = members.size() - 1; i >= 0; --i) {
        removeNode(members.at(i));
    }
}

void Skeleton::rebuildHierarchy()
{
    // Parents by name (the first node of a name wins); a chain that comes back to a node is cut
    // at that node, so a cycle in the file never recurses.
    QHash<QString, Node*> byName;
    for (const auto& node : m_nodes) {
        if (!byName.contains(node->name)) {
            byName.insert(node->name, node.get());
        }
    }
    QHash<Node*, Node*> parentOf;
    for (const auto& node : m_nodes) {
        parentOf.insert(node.get(), node->parent.isEmpty() ? nullptr : byName.value(node->parent, nullptr));
    }
    const int limit = static_cast<int>(m_nodes.size());
    for (const auto& node : m_nodes) {
        Node* current = parentOf.value(node.get());
        for (int steps = 0; current && steps <= limit; ++steps) {
            if (current == node.get()) {
                parentOf.insert(node.get(), nullptr);
                break;
            }
            current = parentOf.value(current);
        }
    }
    // Detach everything first so no intermediate step forms a loop of items.
    for (const auto& node : m_nodes) {
        node->joint->setParentItem(nullptr);
    }
    for (const auto& node : m_nodes) {
        Node* parent = parentOf.value(node.get());
        SkeletonNodeItems::setParentJoint(*node, parent ? parent->joint : nullptr, parent ? parent->zOrder : 0);
        node->joint->setData(ItemData::ParentName, node->parent);
        node->joint->setData(ItemData::NodeName, node->name);
        node->joint->setTransform(node->animationTransform * node->restTransform);
        if (m_manipulator) {
            const bool editable = m_animationMode || m_editableJoints;
            m_manipulator->makeEditable(node->joint, editable);
            m_manipulator->makeEditable(node->bone, editable);
        }
        SkeletonNodeItems::applyStyle(*node, m_animationMode, m_skeletonVisible);
    }
    viewZoomChanged();
    updateSkeleton();
    Q_EMIT nodesUpdated();
}

QList<NodeRecord*> Skeleton::nodeRecords() const
{
    QList<NodeRecord*> records;
    for (const auto& node : m_nodes) {
        records.append(node.get());
    }
    return records;
}

Skeleton::Node* Skeleton::nodeByName(const QString& name) const
{
    for (const auto& node : m_nodes) {
        if (node->name == name) {
            return node.get();
        }
    }
    return nullptr;
}

Skeleton::Node* Skeleton::nodeByItem(const QGraphicsItem* item) const
{
    if (!item) {
        return nullptr;
    }
    for (const auto& node : m_nodes) {
        if (node->joint == item || node->overlay == item || node->bone == item) {
            return node.get();
        }
    }
    return nullptr;
}

Skeleton::Asset* Skeleton::addImage(const QString& nodeName, const QImage& image,
                                    const QTransform& restTransform, bool dummy, const QString& name)
{
    auto asset = std::make_unique<Asset>();
    const QPixmap pixmap = QPixmap::fromImage(image);
    asset->id = m_nextId++;
    asset->nodeName = nodeName;
    asset->name = name;
    asset->restTransform = drawable(restTransform);
    asset->item = new QGraphicsPixmapItem(pixmap);
    asset->item->setTransformationMode(Qt::SmoothTransformation);
    m_scene->addItem(asset->item);
    Node* node = nodeByName(nodeName);
    asset->placeholder = new PixmapPlaceholderItem(pixmap, node ? node->joint : nullptr);
    // Joints stay above the images bound to them, so a joint can be picked over its image.
    asset->placeholder->setFlag(QGraphicsItem::ItemStacksBehindParent);
    if (!node) {
        m_scene->addItem(asset->placeholder);
    }
    asset->placeholder->setTransform(asset->restTransform);
    Asset* added = asset.get();
    (dummy ? m_dummyImages : m_images).push_back(std::move(asset));
    setAssetEditable(*added, !dummy);
    restackImages();
    added->item->setTransform(added->placeholder->sceneTransform());
    return added;
}

void Skeleton::removeImage(Asset* asset)
{
    for (auto* list : {&m_images, &m_dummyImages}) {
        const auto it = std::find_if(list->begin(), list->end(),
                                     [asset](const std::unique_ptr<Asset>& a) { return a.get() == asset; });
        if (it != list->end()) {
            if (m_manipulator && m_manipulator->targets().contains(asset->placeholder)) {
                m_manipulator->setTargets({}, true);
            }
            delete asset->item;
            delete asset->placeholder;
            list->erase(it);
            restackImages();
            return;
        }
    }
}

Skeleton::Asset* Skeleton::assetByItem(const QGraphicsItem* item) const
{
    if (!item) {
        return nullptr;
    }
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            if (asset->item == item || asset->placeholder == item) {
                return asset.get();
            }
        }
    }
    return nullptr;
}

void Skeleton::restackImages()
{
    for (size_t i = 0; i < m_images.size(); ++i) {
        m_images[i]->item->setZValue(static_cast<qreal>(i));
        m_images[i]->placeholder->setData(ItemData::ZOrder, static_cast<qreal>(i));
        labelImage(*m_images[i]);
    }
    for (size_t i = 0; i < m_dummyImages.size(); ++i) {
        m_dummyImages[i]->item->setZValue(static_cast<qreal>(i) - 1000.0);
        m_dummyImages[i]->placeholder->setData(ItemData::ZOrder, static_cast<qreal>(i) - 1000.0);
        labelImage(*m_dummyImages[i]);
    }
}

void Skeleton::labelImage(Asset& asset)
{
    asset.placeholder->setData(ItemData::ImageName, asset.name);
    asset.placeholder->setData(ItemData::IsImage, true);
}

bool Skeleton::canChangeZValue(Asset* asset, ZValueChangeAction action) const
{
    for (const auto* list : {&m_images, &m_dummyImages}) {
        const auto it = std::find_if(list->begin(), list->end(),
                                     [asset](const std::unique_ptr<Asset>& a) { return a.get() == asset; });
        if (it == list->end()) {
            continue;
        }
        const bool last = it + 1 == list->end();
        const bool first = it == list->begin();
        return (action == BringToFront || action == BringForward) ? !last : !first;
    }
    return false;
}

bool Skeleton::changeZValue(Asset* asset, ZValueChangeAction action)
{
    if (!canChangeZValue(asset, action)) {
        return false;
    }
    for (auto* list : {&m_images, &m_dummyImages}) {
        const auto it = std::find_if(list->begin(), list->end(),
                                     [asset](const std::unique_ptr<Asset>& a) { return a.get() == asset; });
        if (it == list->end()) {
            continue;
        }
        switch (action) {
        case BringToFront:
            std::rotate(it, it + 1, list->end());
            break;
        case BringForward:
            std::iter_swap(it, it + 1);
            break;
        case SendBackward:
            std::iter_swap(it, it - 1);
            break;
        case SendToBack:
            std::rotate(list->begin(), it, it + 1);
            break;
        }
        restackImages();
        return true;
    }
    return false;
}

QString Skeleton::uniqueNodeName() const
{
    for (int i = 1;; ++i) {
        const QString name = QStringLiteral("New node %1").arg(i);
        if (!nodeByName(name)) {
            return name;
        }
    }
}

QString Skeleton::uniqueAssetName() const
{
    for (int i = 1;; ++i) {
        const QString name = QStringLiteral("New asset %1").arg(i);
        bool used = false;
        for (const auto* list : {&m_images, &m_dummyImages}) {
            for (const auto& asset : *list) {
                used = used || asset->name == name;
            }
        }
        if (!used) {
            return name;
        }
    }
}

// Edits for the undo history ------------------------------------------------------------------

Skeleton::Node* Skeleton::nodeById(quint64 id) const
{
    for (const auto& node : m_nodes) {
        if (node->id == id) {
            return node.get();
        }
    }
    return nullptr;
}

Skeleton::Asset* Skeleton::assetById(quint64 id) const
{
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            if (asset->id == id) {
                return asset.get();
            }
        }
    }
    return nullptr;
}

std::unique_ptr<Skeleton::Node> Skeleton::takeNode(Node* node, int* index)
{
    const auto it = std::find_if(m_nodes.begin(), m_nodes.end(),
                                 [node](const std::unique_ptr<Node>& n) { return n.get() == node; });
    if (it == m_nodes.end()) {
        return nullptr;
    }
    if (m_manipulator) {
        m_manipulator->setTargets({}, true);
    }
    if (m_dropTarget == node) {
        m_dropTarget = nullptr;
    }
    if (index) {
        *index = static_cast<int>(it - m_nodes.begin());
    }
    std::unique_ptr<Node> taken = std::move(*it);
    m_nodes.erase(it);
    // Other nodes' joints and images under this joint stay in the scene.
    for (QGraphicsItem* child : taken->joint->childItems()) {
        child->setParentItem(nullptr);
    }
    taken->joint->setParentItem(nullptr);
    taken->parentJoint = nullptr;
    // Default tracks that were never keyed go with the node; binding makes them again.
    if (taken->animation && !taken->animation->inUse()) {
        m_tracks.take(taken->animation);
    }
    taken->animation = nullptr;
    for (QGraphicsItem* item : {static_cast<QGraphicsItem*>(taken->joint), static_cast<QGraphicsItem*>(taken->overlay),
                                static_cast<QGraphicsItem*>(taken->bone)}) {
        if (item && item->scene()) {
            item->scene()->removeItem(item);
        }
    }
    rebuildHierarchy();
    return taken;
}

Skeleton::Node* Skeleton::restoreNode(std::unique_ptr<Node> node, int index)
{
    if (!node) {
        return nullptr;
    }
    for (QGraphicsItem* item : {static_cast<QGraphicsItem*>(node->joint), static_cast<QGraphicsItem*>(node->overlay),
                                static_cast<QGraphicsItem*>(node->bone)}) {
        if (item && !item->scene()) {
            m_scene->addItem(item);
        }
    }
    Node* restored = node.get();
    m_nodes.insert(m_nodes.begin() + std::clamp(index, 0, static_cast<int>(m_nodes.size())), std::move(node));
    // Images bound to it and nodes under it go back under its joint.
    rebuildHierarchy();
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            if (asset->nodeName == restored->name && asset->placeholder->parentItem() != restored->joint) {
                asset->placeholder->setParentItem(restored->joint);
            }
        }
    }
    bindTracks();
    showMoment(m_currentTime);
    updateSkeleton();
    return restored;
}

std::unique_ptr<Skeleton::Asset> Skeleton::takeImage(Asset* asset, bool* dummy, int* index)
{
    for (auto* list : {&m_images, &m_dummyImages}) {
        const auto it = std::find_if(list->begin(), list->end(),
                                     [asset](const std::unique_ptr<Asset>& a) { return a.get() == asset; });
        if (it == list->end()) {
            continue;
        }
        if (m_manipulator && m_manipulator->targets().contains(asset->placeholder)) {
            m_manipulator->setTargets({}, true);
        }
        if (dummy) {
            *dummy = list == &m_dummyImages;
        }
        if (index) {
            *index = static_cast<int>(it - list->begin());
        }
        std::unique_ptr<Asset> taken = std::move(*it);
        list->erase(it);
        taken->placeholder->setData(ItemData::IsImage, false);
        taken->placeholder->setParentItem(nullptr);
        for (QGraphicsItem* item : {static_cast<QGraphicsItem*>(taken->placeholder),
                                    static_cast<QGraphicsItem*>(taken->item)}) {
            if (item->scene()) {
                item->scene()->removeItem(item);
            }
        }
        taken->animation = nullptr;
        restackImages();
        return taken;
    }
    return nullptr;
}

Skeleton::Asset* Skeleton::restoreImage(std::unique_ptr<Asset> asset, bool dummy, int index)
{
    if (!asset) {
        return nullptr;
    }
    m_scene->addItem(asset->item);
    if (Node* node = nodeByName(asset->nodeName)) {
        asset->placeholder->setParentItem(node->joint);
    } else {
        m_scene->addItem(asset->placeholder);
    }
    auto& list = dummy ? m_dummyImages : m_images;
    Asset* restored = asset.get();
    list.insert(list.begin() + std::clamp(index, 0, static_cast<int>(list.size())), std::move(asset));
    setAssetEditable(*restored, !dummy);
    restackImages();
    bindTracks();
    showMoment(m_currentTime);
    updateSkeleton();
    return restored;
}

void Skeleton::discardItems(Node& node)
{
    SkeletonNodeItems::destroy(node);
}

void Skeleton::discardItems(Asset& asset)
{
    delete asset.item;
    delete asset.placeholder;
    asset.item = nullptr;
    asset.placeholder = nullptr;
}

int Skeleton::imageIndex(const Asset* asset, bool* dummy) const
{
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (size_t i = 0; i < list->size(); ++i) {
            if ((*list)[i].get() == asset) {
                if (dummy) {
                    *dummy = list == &m_dummyImages;
                }
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

void Skeleton::moveImage(Asset* asset, int index)
{
    bool dummy = false;
    const int from = imageIndex(asset, &dummy);
    if (from < 0) {
        return;
    }
    auto& list = dummy ? m_dummyImages : m_images;
    std::unique_ptr<Asset> moved = std::move(list[static_cast<size_t>(from)]);
    list.erase(list.begin() + from);
    list.insert(list.begin() + std::clamp(index, 0, static_cast<int>(list.size())), std::move(moved));
    restackImages();
}

namespace {

// The rest transform that draws an item with local transform local (item transform followed by
// its position) the same, given the pose on top of it; the rest pose when the pose collapsed.
QTransform restKeeping(const QTransform& local, const QTransform& animation, const QPointF& position,
                       const QTransform& rest)
{
    bool invertible = false;
    const QTransform unposed = animation.inverted(&invertible);
    if (!invertible) {
        return rest;
    }
    return unposed * local * QTransform::fromTranslate(-position.x(), -position.y());
}

} // namespace

bool Skeleton::reparentNode(Node* node, const QString& parent)
{
    Node* target = parent.isEmpty() ? nullptr : nodeByName(parent);
    if (!node || (!parent.isEmpty() && (!target || subtree(node).contains(target)))) {
        return false;
    }
    const QTransform scene = node->joint->sceneTransform();
    bool invertible = true;
    const QTransform fromParent = target ? target->joint->sceneTransform().inverted(&invertible) : QTransform();
    node->parent = parent;
    if (invertible) {
        node->restTransform = drawable(restKeeping(scene * fromParent, node->animationTransform, node->position,
                                                   node->restTransform));
    }
    rebuildHierarchy();
    showMoment(m_currentTime);
    return true;
}

bool Skeleton::rebindImage(Asset* asset, const QString& nodeName)
{
    Node* node = nodeByName(nodeName);
    if (!asset || !node) {
        return false;
    }
    const QTransform scene = asset->placeholder->sceneTransform();
    bool invertible = false;
    const QTransform fromJoint = node->joint->sceneTransform().inverted(&invertible);
    asset->nodeName = nodeName;
    asset->placeholder->setParentItem(node->joint);
    if (invertible) {
        asset->restTransform = drawable(restKeeping(scene * fromJoint, asset->animationTransform, QPointF(),
                                                    asset->restTransform));
    }
    asset->placeholder->setTransform(asset->animationTransform * asset->restTransform);
    updateSkeleton();
    Q_EMIT nodesUpdated();
    return true;
}

void Skeleton::setRestTransform(Node* node, const QTransform& rest)
{
    if (!node) {
        return;
    }
    node->restTransform = rest;
    node->joint->setPos(node->position);
    node->joint->setTransform(node->animationTransform * node->restTransform);
    updateSkeleton();
}

void Skeleton::setImagePicture(Asset* asset, const QImage& image)
{
    if (!asset) {
        return;
    }
    asset->placeholder->setPixmap(QPixmap::fromImage(image));
    asset->item->setPixmap(QPixmap::fromImage(asset->adjustment.isIdentity() ? image : asset->adjustment.apply(image)));
    updateSkeleton();
}

QImage Skeleton::pictureOf(const Asset& asset)
{
    return asset.placeholder ? asset.placeholder->pixmap().toImage() : QImage();
}

// Edits by value ---------------------------------------------------------------------------------

void Skeleton::renameNode(Node* node, const QString& name)
{
    if (!node || name == node->name) {
        return;
    }
    const QString old = node->name;
    for (const auto& other : m_nodes) {
        if (other->parent == old) {
            other->parent = name;
        }
    }
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            if (asset->nodeName == old) {
                asset->nodeName = name;
            }
        }
    }
    // Tracks bind by name (or by the default name, which stays); those of the current animation
    // take the new name so that they bind again when the animation is shown later.
    if (node->animation && node->animation->name() == old) {
        renameTracks(*node->animation, name);
    }
    node->name = name;
    rebuildHierarchy();
}

void Skeleton::renameImage(Asset* asset, const QString& name)
{
    if (!asset || name == asset->name) {
        return;
    }
    if (asset->animation && asset->animation->name() == asset->name) {
        renameTracks(*asset->animation, name);
    }
    asset->name = name;
    labelImage(*asset);
    Q_EMIT nodesUpdated();
}

void Skeleton::renameTracks(AnimatedObject& tracks, const QString& name)
{
    // A new name starts the duration afresh; the tracks keep the one they have.
    const float duration = tracks.duration();
    const bool isExplicit = tracks.isDurationExplicit();
    tracks.setName(name);
    tracks.restoreDuration(duration, isExplicit);
}

void Skeleton::setBoneColor(Node* node, const QColor& color)
{
    if (!node || !color.isValid()) {
        return;
    }
    node->boneColor = color;
    SkeletonNodeItems::applyStyle(*node, m_animationMode, m_skeletonVisible);
    SkeletonNodeItems::updatePens(*node, m_zoom, m_animationMode, m_skeletonVisible);
}

ColorAdjustment Skeleton::imageAdjustment(const Asset* asset) const
{
    if (!asset) {
        return ColorAdjustment();
    }
    if (TSModelSpriteContainer* container = asset->container) {
        ColorAdjustment adjustment;
        adjustment.brightness = container->brightness();
        adjustment.contrast = container->contrast();
        adjustment.hue = container->hue();
        adjustment.saturation = container->saturation();
        adjustment.opacity = container->opacity();
        return adjustment;
    }
    return asset->adjustment;
}

void Skeleton::setImageAdjustment(Asset* asset, const ColorAdjustment& adjustment)
{
    if (!asset) {
        return;
    }
    if (TSModelSpriteContainer* container = asset->container) {
        container->setBrightness(adjustment.brightness);
        container->setContrast(adjustment.contrast);
        container->setHue(adjustment.hue);
        container->setSaturation(adjustment.saturation);
        container->setOpacity(adjustment.opacity);
        container->applyAdjustments();
        applyPose(*asset, m_currentTime / 1000.0f);
        updateSkeleton();
        return;
    }
    asset->adjustment = adjustment;
    setImagePicture(asset, pictureOf(*asset));
}

AnimatedObject* Skeleton::tracksOf(const QGraphicsItem* item, bool create)
{
    if (Node* node = nodeByItem(item)) {
        if (!node->animation && create) {
            tracksFor(node->name, node->animation)->setDefaultName(node->defaultName);
        }
        return node->animation;
    }
    if (Asset* asset = assetByItem(item)) {
        if (!asset->animation && create) {
            if (asset->name.isEmpty()) {
                asset->name = uniqueAssetName();
                labelImage(*asset);
            }
            tracksFor(asset->name, asset->animation);
        }
        return asset->animation;
    }
    return nullptr;
}

bool Skeleton::setKey(const QGraphicsItem* item, AnimatedObject::AnimatedProperty property, float value)
{
    AnimatedObject* tracks = tracksOf(item, true);
    if (!tracks || !std::isfinite(value)) {
        return false;
    }
    if (!tracks->hasKeys()) {
        // As with a drag: from their first key on, the tracks count with the animation's length.
        tracks->setDuration(duration(), true);
    }
    tracks->channel(property).writeKey(value, m_currentTime / 1000.0f);
    showMoment(m_currentTime);
    Q_EMIT animationCurveChanged();
    return true;
}

void Skeleton::setRestTransform(Asset* asset, const QTransform& rest)
{
    if (!asset) {
        return;
    }
    asset->restTransform = rest;
    asset->placeholder->setPos(0, 0);
    asset->placeholder->setTransform(asset->animationTransform * asset->restTransform);
    updateSkeleton();
}

// Animation --------------------------------------------------------------------------------------

void Skeleton::setAnimation(AnimationTracks tracks, bool captureRest)
{
    if (captureRest) {
        captureRestPoses();
    }
    m_tracks = std::move(tracks);
    bindTracks();
    showMoment(m_currentTime);
}

Skeleton::BoundAnimation Skeleton::exchangeAnimation(BoundAnimation next)
{
    BoundAnimation previous;
    previous.tracks = std::move(m_tracks);
    previous.bound = true;
    for (const auto& node : m_nodes) {
        previous.nodeTracks.push_back(node->animation);
    }
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            previous.imageTracks.push_back(asset->animation);
        }
    }

    m_tracks = std::move(next.tracks);
    const bool sameItems = next.nodeTracks.size() == m_nodes.size() &&
                           next.imageTracks.size() == m_images.size() + m_dummyImages.size();
    if (next.bound && sameItems) {
        for (size_t i = 0; i < m_nodes.size(); ++i) {
            m_nodes[i]->animation = next.nodeTracks[i];
        }
        size_t i = 0;
        for (const auto* list : {&m_images, &m_dummyImages}) {
            for (const auto& asset : *list) {
                asset->animation = next.imageTracks[i++];
            }
        }
    } else {
        bindTracks();
    }
    showMoment(m_currentTime);
    return previous;
}

std::unique_ptr<AnimatedObject> Skeleton::takeTracks(AnimatedObject* tracks)
{
    std::unique_ptr<AnimatedObject> taken = m_tracks.take(tracks);
    if (!taken) {
        return nullptr;
    }
    for (const auto& node : m_nodes) {
        if (node->animation == tracks) {
            node->animation = nullptr;
        }
    }
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            if (asset->animation == tracks) {
                asset->animation = nullptr;
            }
        }
    }
    return taken;
}

AnimatedObject* Skeleton::restoreTracks(std::unique_ptr<AnimatedObject> tracks)
{
    AnimatedObject* restored = m_tracks.append(std::move(tracks));
    bindTracks();
    return restored;
}

void Skeleton::bindTracks()
{
    for (const auto& node : m_nodes) {
        node->animation = nullptr;
    }
    m_tracks.bind(nodeRecords());
    // Images are often named after their node; a node's tracks already pose the image through
    // the joint, so an image only takes tracks that no node or other image has taken.
    QSet<const AnimatedObject*> taken;
    for (const auto& node : m_nodes) {
        taken.insert(node->animation);
    }
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            asset->animation = nullptr;
            if (asset->name.isEmpty()) {
                continue;
            }
            for (const auto& object : m_tracks) {
                if (object->name() == asset->name && !taken.contains(object.get())) {
                    // In use, as a node's are: only tracks in use are stored with the animation.
                    object->setInUse(true);
                    asset->animation = object.get();
                    taken.insert(object.get());
                    break;
                }
            }
        }
    }
}

void Skeleton::setDuration(int frames)
{
    const float seconds = std::max(0.0f, static_cast<float>(frames - 1) / frameRate());
    for (const auto& object : m_tracks) {
        // Every track carries the length, so the animation holds them all from now on.
        object->setDuration(seconds, true);
        object->setInUse(true);
    }
}

int Skeleton::frameCount() const
{
    // The length is stored in single precision: (frames − 1) / 60 times 60 can come out a hair
    // above the whole number it stands for, a hair that grows with the length.
    const double steps = static_cast<double>(duration()) * frameRate();
    return static_cast<int>(std::clamp(std::ceil(steps - std::max(1e-3, steps * 1e-6)), 0.0, 1e7)) + 1;
}

bool Skeleton::togglePlayPause()
{
    if (m_playing) {
        stop();
        return false;
    }
    captureRestPoses();
    m_playing = true;
    m_clock->scheduleNext();
    Q_EMIT newFrame(0);
    return true;
}

void Skeleton::stop()
{
    if (!m_playing) {
        return;
    }
    m_playing = false;
    m_clock->stop();
    Q_EMIT animationStopped();
}

void Skeleton::newAnimationFrame()
{
    showMoment(m_currentTime);
    Q_EMIT newFrame(TimeLimits::wholeFrames(static_cast<double>(m_currentTime) / (1000.0 / frameRate())));
    m_currentTime += m_clock->advance();
    if (m_currentTime >= duration() * 1000.0f) {
        m_currentTime = 0.0f;
        if (!m_loop && m_playing) {
            m_playing = false;
            m_clock->stop();
            Q_EMIT animationStopped();
        }
    }
    if (m_playing) {
        m_clock->scheduleNext();
    }
}

void Skeleton::showFrame(int frame)
{
    if (m_playing) {
        return;
    }
    m_currentTime = (1000.0f / frameRate()) * static_cast<float>(frame);
    showMoment(m_currentTime);
}

void Skeleton::applyPose(Node& node, float seconds)
{
    if (!node.animation) {
        return;
    }
    node.animationTransform = finitePose(Pose::transformAt(*node.animation, seconds, node.joint->rect().center()));
    node.joint->setTransform(node.animationTransform * node.restTransform);
    SkeletonNodeItems::updateJointCircle(node, m_zoom);
}

void Skeleton::showSpriteFrame(Asset& asset, float seconds)
{
    // A container without frames leaves the picture the image had.
    if (!asset.container || asset.container->spriteCount() == 0) {
        return;
    }
    asset.container->setTime(seconds);
    const QPixmap frame = QPixmap::fromImage(asset.container->currentFrameImage());
    asset.item->setPixmap(frame);
    asset.placeholder->setPixmap(frame);
}

void Skeleton::setImageSprite(Asset* asset, TSModelSpriteContainer* container, const QImage& still)
{
    if (!asset) {
        return;
    }
    asset->container = container;
    if (container && container->spriteCount() > 0) {
        showSpriteFrame(*asset, m_currentTime / 1000.0f);
        updateSkeleton();
    } else {
        setImagePicture(asset, still);
    }
}

void Skeleton::refreshSpriteFrames()
{
    for (const auto& asset : m_images) {
        showSpriteFrame(*asset, m_currentTime / 1000.0f);
    }
    updateSkeleton();
}

void Skeleton::applyPose(Asset& asset, float seconds)
{
    showSpriteFrame(asset, seconds);
    if (asset.animation) {
        asset.animationTransform =
            finitePose(Pose::transformAt(*asset.animation, seconds, asset.placeholder->boundingRect().center()));
        asset.placeholder->setTransform(asset.animationTransform * asset.restTransform);
    }
}

void Skeleton::showMoment(float time)
{
    m_currentTime = time;
    if (m_tracks.isEmpty()) {
        // Frame animations play without a skeleton animation too.
        refreshSpriteFrames();
        return;
    }
    QList<QGraphicsItem*> targets;
    if (m_manipulator && m_manipulator->hasTargets()) {
        targets = m_manipulator->targets();
        m_manipulator->blockSignals(true);
        m_manipulator->setTargets({}, false);
    }
    const float seconds = time / 1000.0f;
    for (const auto& node : m_nodes) {
        applyPose(*node, seconds);
    }
    for (const auto& asset : m_images) {
        applyPose(*asset, seconds);
    }
    layOutSkeleton();
    if (m_manipulator && !targets.isEmpty()) {
        m_manipulator->setTargets(targets, false);
        m_manipulator->blockSignals(false);
    }
    // Once the selection is back, for whoever places things by the selected items.
    Q_EMIT posesChanged();
}

void Skeleton::refreshNode(Node& node)
{
    SkeletonNodeItems::updateOverlay(node, m_zoom);
    SkeletonNodeItems::updateBone(node, m_zoom);
}

void Skeleton::updateSkeleton(QGraphicsItem*)
{
    // During a drag only the display follows; the set-up pose is taken when the drag ends
    // (commitSetupPose), so every drag step starts from the same pose.
    updateSkeleton();
}

void Skeleton::updateSkeleton()
{
    layOutSkeleton();
    Q_EMIT posesChanged();
}

void Skeleton::layOutSkeleton()
{
    for (const auto& node : m_nodes) {
        refreshNode(*node);
    }
    for (const auto* list : {&m_images, &m_dummyImages}) {
        for (const auto& asset : *list) {
            syncImageItem(*asset);
        }
    }
    if (m_editableJoints) {
        viewZoomChanged();
    }
}

void Skeleton::syncImageItem(Asset& asset)
{
    const QTransform transform = asset.placeholder->sceneTransform();
    asset.item->setTransform(transform);
    // An image hidden by the user, or whose node collapsed to a line or a point, is not drawn.
    asset.item->setVisible(asset.placeholder->isVisible() && isFinite(transform) && transform.isInvertible());
}

void Skeleton::setObjectVisible(QGraphicsItem* item, bool visible)
{
    Node* node = nodeByItem(item);
    Asset* asset = node ? nullptr : assetByItem(item);
    if (node) {
        node->joint->setVisible(visible);
        refreshNode(*node);
    } else if (asset) {
        asset->placeholder->setVisible(visible);
        syncImageItem(*asset);
    } else {
        return;
    }
    // What cannot be seen cannot stay selected.
    if (m_manipulator && !visible) {
        QList<QGraphicsItem*> shown = m_manipulator->targets();
        const auto hidden = [](const QGraphicsItem* target) { return !target->isVisible(); };
        shown.erase(std::remove_if(shown.begin(), shown.end(), hidden), shown.end());
        if (shown.size() != m_manipulator->targets().size()) {
            m_manipulator->setTargets(shown);
        }
    }
}

void Skeleton::commitSetupPose(QGraphicsItem* item)
{
    if (Node* node = nodeByItem(item); node && item == node->joint) {
        const QTransform total = item->transform() * QTransform::fromTranslate(item->pos().x(), item->pos().y());
        node->restTransform =
            restUnder(node->animationTransform,
                      total * QTransform::fromTranslate(-node->position.x(), -node->position.y()), node->restTransform);
        item->setPos(node->position);
        item->setTransform(node->animationTransform * node->restTransform);
    } else if (Asset* asset = assetByItem(item); asset && item == asset->placeholder) {
        const QTransform total = item->transform() * QTransform::fromTranslate(item->pos().x(), item->pos().y());
        asset->restTransform = restUnder(asset->animationTransform, total, asset->restTransform);
        item->setPos(0, 0);
        item->setTransform(asset->animationTransform * asset->restTransform);
    }
    updateSkeleton();
}

void Skeleton::captureRestPoses()
{
    for (const auto& node : m_nodes) {
        commitSetupPose(node->joint);
    }
    for (const auto& asset : m_images) {
        commitSetupPose(asset->placeholder);
    }
}

// Keys from manipulations ------------------------------------------------------------------------

QTransform Skeleton::takeAnimationTransform(QGraphicsItem* item, const QPointF& position, const QTransform& rest)
{
    const QTransform total = item->transform() * QTransform::fromTranslate(item->pos().x(), item->pos().y());
    const QTransform animation =
        finitePose(total * QTransform::fromTranslate(-position.x(), -position.y()) * rest.inverted());
    item->setPos(position);
    item->setTransform(animation * rest);
    return animation;
}

AnimatedObject* Skeleton::tracksFor(const QString& name, AnimatedObject*& slot)
{
    if (!slot) {
        auto object = std::make_unique<AnimatedObject>();
        object->setName(name);
        object->setDuration(duration(), false);
        object->setInUse(true);
        slot = m_writer->addTracks(m_tracks, std::move(object));
    }
    return slot;
}

void Skeleton::writeKeys(const QString& name, AnimatedObject*& slot,
                         const QList<AnimatedObject::AnimatedProperty>& properties, QTransform animation,
                         QTransform rest, const QPointF& centre, double turn)
{
    // The tracks made for the gesture and their length are part of its one undoable step.
    const bool blocked = blockSignals(true);
    m_writer->beginMacro(kAnimationChange);
    AnimatedObject* tracks = tracksFor(name, slot);
    const float time = m_currentTime / 1000.0f;
    if (!tracks->hasKeys()) {
        // Tracks without keys (a node's default ones) had no say in the animation's length;
        // from their first key on they count, with the length the animation has.
        m_writer->setTracksDuration(tracks, duration(), true);
    }
    // Of the values that give the dragged pose, the ones closest to what is keyed now; after a
    // turn, the ones the turn leads to, so whole turns count.
    const Pose::Values previous = Pose::valuesAt(*tracks, time);
    const Pose::Values values = turn != 0.0 ? Pose::valuesAfterTurn(animation, rest, turn, centre, previous)
                                            : Pose::valuesOf(animation, centre, previous);
    static const AnimatedObject::AnimatedProperty order[] = {
        AnimatedObject::LocationX, AnimatedObject::LocationY, AnimatedObject::ScaleX, AnimatedObject::ScaleY,
        AnimatedObject::Rotation};
    // Besides the channels of the gesture, every channel the gesture changed is keyed: turning or
    // scaling an image about its visible centre also moves it, and the pose drawn from the keys
    // must be the one the drag showed.
    constexpr float kUnchanged = 1e-4f;
    for (AnimatedObject::AnimatedProperty property : order) {
        const size_t index = static_cast<size_t>(property);
        if (!properties.contains(property) && !(std::abs(values[index] - previous[index]) > kUnchanged)) {
            continue;
        }
        const TSAnimationCurve& curve = tracks->channel(property);
        m_writer->changeAnimatedObjectValue(tracks, property, time, curve.evaluate(time), values[index],
                                            !curve.hasKeyNear(time));
    }
    m_writer->endMacro();
    blockSignals(blocked);
}

void Skeleton::onItemSetKey(QGraphicsItem* item, QList<AnimatedObject::AnimatedProperty>& properties)
{
    keyItem(item, properties, 0.0);
}

void Skeleton::keyItem(QGraphicsItem* item, const QList<AnimatedObject::AnimatedProperty>& properties, double turn)
{
    if (Node* node = nodeByItem(item); node && item == node->joint) {
        node->animationTransform = takeAnimationTransform(item, node->position, node->restTransform);
        writeKeys(node->name, node->animation, properties, node->animationTransform, node->restTransform,
                  node->joint->rect().center(), turn);
    } else if (Asset* asset = assetByItem(item); asset && item == asset->placeholder) {
        asset->animationTransform = takeAnimationTransform(item, QPointF(), asset->restTransform);
        if (asset->name.isEmpty()) {
            asset->name = uniqueAssetName();
            labelImage(*asset);
        }
        writeKeys(asset->name, asset->animation, properties, asset->animationTransform, asset->restTransform,
                  asset->placeholder->boundingRect().center(), turn);
    } else {
        return;
    }
    updateSkeleton();
    Q_EMIT animationCurveChanged();
}

void Skeleton::onItemSetMoveKey(QGraphicsItem* item)
{
    QList<AnimatedObject::AnimatedProperty> properties = {AnimatedObject::LocationX, AnimatedObject::LocationY};
    onItemSetKey(item, properties);
}

void Skeleton::onItemSetScaleKey(QGraphicsItem* item)
{
    QList<AnimatedObject::AnimatedProperty> properties = {AnimatedObject::ScaleX, AnimatedObject::ScaleY,
                                                          AnimatedObject::Rotation};
    onItemSetKey(item, properties);
}

void Skeleton::onItemSetRotationKey(QGraphicsItem* item)
{
    // The rotation keyed is the one nearest the value keyed before, unless a rotate drag just
    // turned the item: then its counted turn decides, whole turns included.
    keyItem(item, {AnimatedObject::Rotation}, m_manipulator ? m_manipulator->releasedTurn(item) : 0.0);
}

// Display switches -------------------------------------------------------------------------------

void Skeleton::viewZoomChanged(float zoom)
{
    m_zoom = static_cast<float>(std::max(zoom, 1.0f) / screenScale());
    viewZoomChanged();
}

void Skeleton::viewZoomChanged()
{
    for (const auto& node : m_nodes) {
        SkeletonNodeItems::updateJointCircle(*node, m_zoom);
        SkeletonNodeItems::updateOverlay(*node, m_zoom);
        SkeletonNodeItems::updatePens(*node, m_zoom, m_animationMode, m_skeletonVisible);
        SkeletonNodeItems::updateBone(*node, m_zoom);
    }
}

void Skeleton::setAnimationMode(bool on)
{
    m_animationMode = on;
    for (const auto& node : m_nodes) {
        if (m_manipulator) {
            m_manipulator->makeEditable(node->joint, on || m_editableJoints);
            m_manipulator->makeEditable(node->bone, on || m_editableJoints);
        }
        SkeletonNodeItems::applyStyle(*node, m_animationMode, m_skeletonVisible);
        SkeletonNodeItems::updatePens(*node, m_zoom, m_animationMode, m_skeletonVisible);
    }
}

void Skeleton::setEditableJoints(bool editable)
{
    m_editableJoints = editable;
    setAnimationMode(m_animationMode);
}

void Skeleton::setSkeletonVisible(bool visible)
{
    m_skeletonVisible = visible;
    for (const auto& node : m_nodes) {
        SkeletonNodeItems::applyStyle(*node, m_animationMode, m_skeletonVisible);
        SkeletonNodeItems::updatePens(*node, m_zoom, m_animationMode, m_skeletonVisible);
    }
}

void Skeleton::setAssetEditable(Asset& asset, bool editable)
{
    if (m_manipulator) {
        m_manipulator->makeEditable(asset.placeholder, editable);
    }
}

void Skeleton::assetDragEnterSlot(QDragEnterEvent*)
{
    stop();
}

void Skeleton::clearDropTarget()
{
    if (m_dropTarget) {
        m_dropTarget->overlay->setBrush(SkeletonNodeItems::overlayBrush());
        m_dropTarget = nullptr;
    }
}

void Skeleton::assetDragMoveSlot(QDragMoveEvent* event)
{
    if (!m_view || !event) {
        return;
    }
    const QPointF point = m_view->mapToScene(event->pos());
    Node* target = nullptr;
    for (auto it = m_nodes.rbegin(); it != m_nodes.rend(); ++it) {
        if ((*it)->joint->contains((*it)->joint->mapFromScene(point))) {
            target = it->get();
            break;
        }
    }
    if (m_dropTarget && m_dropTarget != target) {
        m_dropTarget->overlay->setBrush(SkeletonNodeItems::overlayBrush());
    }
    m_dropTarget = target;
    if (target) {
        target->overlay->setBrush(SkeletonNodeItems::modeColor(m_animationMode));
    }
}

void Skeleton::selectionChanged()
{
    if (!m_manipulator || m_manipulator->targets().size() != 1) {
        return;
    }
    if (Asset* asset = assetByItem(m_manipulator->targets().first())) {
        Q_EMIT assetSelected(asset->item);
    }
}

void Skeleton::makeDummyAssetsEditable()
{
    for (const auto& asset : m_dummyImages) {
        setAssetEditable(*asset, true);
    }
}

void Skeleton::makeAllAssetsDummy()
{
    for (auto& asset : m_images) {
        setAssetEditable(*asset, false);
        m_dummyImages.push_back(std::move(asset));
    }
    m_images.clear();
    restackImages();
}
