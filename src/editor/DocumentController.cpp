#include "DocumentController.h"

#include "AnimationCanvas.h"
#include "AnimationJson.h"
#include "AnimationPersistence.h"
#include "AppInfo.h"
#include "CCArray.h"
#include "PixmapPlaceholderItem.h"
#include "SceneAxes.h"
#include "SkeletonJson.h"
#include "Skeleton.h"
#include "TSGraphicsPixmapModel.h"
#include "TSModelAtlas.h"
#include "TSModelController.h"
#include "TSModelGeneralSettings.h"
#include "TSModelSkeleton.h"
#include "TSModelSkeletonAnimation.h"
#include "TSModelSkeletonNode.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeString.h"
#include "TemplateLibrary.h"

#include <QFileInfo>
#include <QGraphicsPixmapItem>

#include <algorithm>

using namespace cocos2d;

namespace {

const QString kModelPrefix = QStringLiteral("model/");

template <class T> QList<T*> modelsOf(const char* className)
{
    QList<T*> models;
    if (CCArray* array = TSModelController::instance()->modelsOfClass(className)) {
        for (CCObject* obj : *array) {
            if (auto* model = dynamic_cast<T*>(obj)) {
                models.append(model);
            }
        }
    }
    return models;
}

// A document names template animations by their path in the library; a name that points
// anywhere else is never read.
bool isLibraryAnimation(const QString& identifier)
{
    return !identifier.startsWith(kModelPrefix) && TemplateLibrary::contains(identifier);
}

QString displayName(const QString& identifier)
{
    if (isLibraryAnimation(identifier)) {
        return AnimationJson::readName(identifier);
    }
    const QString path = identifier.startsWith(kModelPrefix) ? identifier.mid(kModelPrefix.size()) : identifier;
    return QFileInfo(path).completeBaseName();
}

} // namespace

const QRectF DocumentController::kDefaultCanvasRect(-256, -256, 512, 512);

DocumentController::DocumentController(Skeleton* skeleton, AnimationCanvas* canvas, SceneAxes* axes, QObject* parent)
    : QObject(parent), m_skeleton(skeleton), m_canvas(canvas), m_axes(axes)
{
}

void DocumentController::setModified(bool modified)
{
    if (m_modified != modified) {
        m_modified = modified;
        Q_EMIT modifiedChanged(modified);
    }
}

QString DocumentController::currentAnimationName() const
{
    for (const Animation& animation : m_animations) {
        if (animation.identifier == m_currentAnimation) {
            return animation.name;
        }
    }
    return QString();
}

void DocumentController::reset()
{
    if (m_skeleton) {
        m_skeleton->clear();
    }
    TSModelController::instance()->reset();
    m_skeletonName.clear();
    m_ignoreList.clear();
    m_animations.clear();
    m_currentAnimation.clear();
    if (m_canvas) {
        m_canvas->setCanvasRect(kDefaultCanvasRect);
    }
    if (m_axes) {
        m_axes->setCrossing(QPointF());
    }
    setModified(false);
    Q_EMIT animationsChanged();
    Q_EMIT currentAnimationChanged(QString());
}

bool DocumentController::load(const QString& path, bool isTemplate, QString* error)
{
    reset();
    m_template = isTemplate;
    TSModelController* controller = TSModelController::instance();
    controller->clearError();
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("File does not exist. ");
        return false;
    }
    if (!controller->openDocument(path)) {
        *error = controller->errorString();
        controller->clearError();
        controller->reset();
        return false;
    }
    buildSceneFromModels();
    setModified(false);
    return true;
}

bool DocumentController::recover(const QString& session, QString* error)
{
    reset();
    TSModelController* controller = TSModelController::instance();
    controller->clearError();
    if (!controller->recoverSession(session)) {
        *error = controller->errorString();
        controller->clearError();
        controller->reset();
        return false;
    }
    // Without a file of its own the document is saved like a new one: under a name asked for.
    m_template = controller->documentPath().isEmpty();
    buildSceneFromModels();
    setModified(true);
    return true;
}

void DocumentController::buildSceneFromModels()
{
    const QList<TSModelSkeleton*> skeletons = modelsOf<TSModelSkeleton>(TSModelSkeleton::kClassName);
    QString animationName;
    if (!skeletons.isEmpty()) {
        m_skeletonName = skeletons.first()->skeletonName();
        m_ignoreList = skeletons.first()->ignoreList();
        animationName = skeletons.first()->animationName();
    }
    QList<NodeRecord> nodes;
    for (TSModelSkeletonNode* model : modelsOf<TSModelSkeletonNode>(TSModelSkeletonNode::kClassName)) {
        nodes.append(model->toRecord());
    }
    m_skeleton->setNodes(nodes);
    QList<TSGraphicsPixmapModel*> images = modelsOf<TSGraphicsPixmapModel>(TSGraphicsPixmapModel::kClassName);
    std::stable_sort(images.begin(), images.end(),
                     [](TSGraphicsPixmapModel* a, TSGraphicsPixmapModel* b) { return a->z() < b->z(); });
    for (TSGraphicsPixmapModel* model : images) {
        if (model->image().isNull()) {
            continue;
        }
        const QString name =
            model->assetName().isEmpty() ? QString::fromStdString(model->name()) : model->assetName();
        Skeleton::Asset* asset = m_skeleton->addImage(QString::fromStdString(model->name()), model->image(),
                                                      model->transform(), false, name);
        asset->assetName = model->assetName();
        asset->tags = model->tags();
        m_skeleton->setImageAdjustment(asset, model->adjustment());
        if (model->spriteId() != 0) {
            auto* container = dynamic_cast<TSModelSpriteContainer*>(
                TSModelController::instance()->modelWithId(static_cast<unsigned>(model->spriteId())));
            if (!container) {
                TSModelController::log("[DocumentController] image %s: no sprite container %d, shown still",
                                       model->name().c_str(), model->spriteId());
            }
            m_skeleton->setImageSprite(asset, container, model->image());
        }
    }
    if (TSModelGeneralSettings* settings = TSModelGeneralSettings::current()) {
        const QRectF frame = settings->objectFrameRect();
        // A document that never stored a frame keeps the usual one.
        m_canvas->setCanvasRect(frame.width() > 1 && frame.height() > 1 ? frame : kDefaultCanvasRect);
    }
    listAnimations();
    QString current = animationName;
    const bool listed = std::any_of(m_animations.begin(), m_animations.end(),
                                    [&current](const Animation& a) { return a.identifier == current; });
    if (!listed) {
        current = m_animations.isEmpty() ? QString() : m_animations.first().identifier;
    }
    if (!current.isEmpty()) {
        selectAnimation(current);
    }
}

QString DocumentController::templateFolderOf(const QString& skeletonName) const
{
    if (skeletonName.isEmpty()) {
        return QString();
    }
    for (const TemplateLibrary::Template& entry : TemplateLibrary::listTemplates()) {
        if (entry.second == skeletonName || entry.first == skeletonName) {
            return entry.first;
        }
    }
    return QString();
}

void DocumentController::listAnimations()
{
    m_animations.clear();
    QStringList seen;
    for (TSModelSkeletonAnimation* model : modelsOf<TSModelSkeletonAnimation>(TSModelSkeletonAnimation::kClassName)) {
        const QString identifier = QString::fromStdString(model->name());
        if (!seen.contains(identifier)) {
            seen << identifier;
            m_animations.append(Animation{identifier, displayName(identifier)});
        }
    }
    const QString folder = templateFolderOf(m_skeletonName);
    if (!folder.isEmpty()) {
        for (const TemplateLibrary::Animation& entry : TemplateLibrary::listAnimations(folder, m_ignoreList)) {
            if (!seen.contains(entry.first)) {
                seen << entry.first;
                m_animations.append(Animation{entry.first, entry.second});
            }
        }
    }
    Q_EMIT animationsChanged();
}

int DocumentController::indexOfAnimation(const QString& identifier) const
{
    for (int i = 0; i < m_animations.size(); ++i) {
        if (m_animations.at(i).identifier == identifier) {
            return i;
        }
    }
    return -1;
}

bool DocumentController::selectAnimation(const QString& identifier)
{
    // An identifier the document does not list would bring up an empty animation in its place.
    if (identifier.isEmpty() || !m_skeleton || indexOfAnimation(identifier) < 0) {
        return false;
    }
    if (identifier == m_currentAnimation) {
        // Shown already, with edits the models do not hold yet.
        return true;
    }
    if (!m_currentAnimation.isEmpty() && m_currentAnimation != identifier) {
        // The animation being left keeps its edits in the models.
        AnimationPersistence::save(m_currentAnimation, m_skeleton->tracks(), m_axes ? m_axes->crossing() : QPointF());
    }
    QPointF axes;
    AnimationTracks tracks = loadTracks(identifier, &axes);
    m_currentAnimation = identifier;
    const int loaded = tracks.count();
    m_skeleton->setAnimation(std::move(tracks));
    // Tracks that no node or image takes now (a removed node's) stay with the animation, so
    // undoing the removal finds them again after the animation was left.
    for (int i = 0; i < loaded; ++i) {
        m_skeleton->tracks().at(i)->setInUse(true);
    }
    if (m_axes) {
        m_axes->setCrossing(axes);
    }
    Q_EMIT currentAnimationChanged(identifier);
    return true;
}

bool DocumentController::hasAnimationNamed(const QString& name) const
{
    return std::any_of(m_animations.begin(), m_animations.end(),
                       [&name](const Animation& animation) { return animation.name == name; });
}

AnimationTracks DocumentController::loadTracks(const QString& identifier, QPointF* axesPosition) const
{
    AnimationTracks tracks;
    QPointF axes;
    if (!AnimationPersistence::load(identifier, &tracks, &axes) && isLibraryAnimation(identifier)) {
        tracks = AnimationJson::readAnimation(identifier);
    }
    if (axesPosition) {
        *axesPosition = axes;
    }
    return tracks;
}

QString DocumentController::addAnimation(const QString& name, AnimationTracks tracks)
{
    const QString identifier = kModelPrefix + name + QStringLiteral(".json");
    if (std::none_of(m_animations.begin(), m_animations.end(),
                     [&identifier](const Animation& a) { return a.identifier == identifier; })) {
        AnimationPersistence::save(identifier, tracks, QPointF());
        m_animations.append(Animation{identifier, name});
        m_ignoreList.removeAll(name);
        Q_EMIT animationsChanged();
    }
    selectAnimation(identifier);
    setModified(true);
    return identifier;
}

bool DocumentController::removeAnimation(const QString& identifier, AnimationTracks* tracks)
{
    const auto it = std::find_if(m_animations.begin(), m_animations.end(),
                                 [&identifier](const Animation& a) { return a.identifier == identifier; });
    if (it == m_animations.end() || !identifier.startsWith(kModelPrefix)) {
        return false;
    }
    if (tracks) {
        if (m_currentAnimation == identifier && m_skeleton) {
            AnimationPersistence::save(identifier, m_skeleton->tracks(), m_axes ? m_axes->crossing() : QPointF());
        }
        // Only tracks in use are stored, so every one read back was in use.
        *tracks = loadTracks(identifier);
        for (const auto& object : *tracks) {
            object->setInUse(true);
        }
    }
    m_animations.erase(it);
    AnimationPersistence::remove(identifier);
    if (m_currentAnimation == identifier) {
        // The editor shows the first animation left, or none.
        m_currentAnimation.clear();
        if (!m_animations.isEmpty()) {
            selectAnimation(m_animations.first().identifier);
        } else if (m_skeleton) {
            m_skeleton->setAnimation(AnimationTracks());
            Q_EMIT currentAnimationChanged(QString());
        }
    }
    Q_EMIT animationsChanged();
    setModified(true);
    return true;
}

AnimationTracks DocumentController::tracksToStore(const QString& identifier, QPointF* axesPosition,
                                                 bool* stored) const
{
    AnimationTracks tracks;
    const bool fromModels = AnimationPersistence::load(identifier, &tracks, axesPosition);
    if (!fromModels) {
        tracks = loadTracks(identifier, axesPosition);
    }
    for (const auto& object : tracks) {
        object->setInUse(true);
    }
    if (stored) {
        *stored = fromModels;
    }
    return tracks;
}

QString DocumentController::nameOf(const QString& identifier) const
{
    const int index = indexOfAnimation(identifier);
    return index < 0 ? QString() : m_animations.at(index).name;
}

AnimationTracks DocumentController::copyTracks(const QString& identifier)
{
    if (identifier == m_currentAnimation && m_skeleton) {
        // The tracks on screen, as a save would store them.
        AnimationPersistence::save(identifier, m_skeleton->tracks(), m_axes ? m_axes->crossing() : QPointF());
    }
    return tracksToStore(identifier, nullptr, nullptr);
}

bool DocumentController::takeAnimation(const QString& identifier, Removed* removed)
{
    const int index = indexOfAnimation(identifier);
    if (index < 0 || m_animations.size() < 2 || !removed || !m_skeleton) {
        return false;
    }
    removed->identifier = identifier;
    removed->name = m_animations.at(index).name;
    removed->position = index;
    removed->wasCurrent = identifier == m_currentAnimation;
    if (removed->wasCurrent) {
        AnimationPersistence::save(identifier, m_skeleton->tracks(), m_axes ? m_axes->crossing() : QPointF());
    }
    removed->stored = AnimationPersistence::load(identifier, &removed->tracks, &removed->axesPosition);
    for (const auto& object : removed->tracks) {
        object->setInUse(true);
    }
    AnimationPersistence::remove(identifier);
    // An animation of the template would be offered again from its file.
    removed->ignored = isTemplateAnimation(identifier) && !m_ignoreList.contains(removed->name);
    if (removed->ignored) {
        m_ignoreList.append(removed->name);
    }
    m_animations.removeAt(index);
    if (removed->wasCurrent) {
        m_currentAnimation.clear();
        selectAnimation(m_animations.at(std::min(index, static_cast<int>(m_animations.size()) - 1)).identifier);
    }
    Q_EMIT animationsChanged();
    setModified(true);
    return true;
}

bool DocumentController::restoreAnimation(Removed& removed)
{
    if (removed.identifier.isEmpty() || indexOfAnimation(removed.identifier) >= 0) {
        return false;
    }
    if (removed.ignored) {
        m_ignoreList.removeAll(removed.name);
    }
    if (removed.stored) {
        AnimationPersistence::save(removed.identifier, removed.tracks, removed.axesPosition);
    }
    m_animations.insert(std::clamp(removed.position, 0, static_cast<int>(m_animations.size())),
                        Animation{removed.identifier, removed.name});
    Q_EMIT animationsChanged();
    if (removed.wasCurrent) {
        selectAnimation(removed.identifier);
    }
    setModified(true);
    return true;
}

QString DocumentController::identifierFor(const QString& name) const
{
    return kModelPrefix + name + QStringLiteral(".json");
}

bool DocumentController::isTemplateAnimation(const QString& identifier) const
{
    return !identifier.startsWith(kModelPrefix);
}

bool DocumentController::renameAnimation(const QString& from, const QString& to, const QString& name)
{
    const int index = indexOfAnimation(from);
    if (index < 0 || to.isEmpty() || (to != from && indexOfAnimation(to) >= 0) || !m_skeleton) {
        return false;
    }
    if (from == m_currentAnimation) {
        // The tracks on screen stay where they are, so playback goes on under the new name.
        AnimationPersistence::remove(from);
        AnimationPersistence::save(to, m_skeleton->tracks(), m_axes ? m_axes->crossing() : QPointF());
        m_currentAnimation = to;
    } else {
        QPointF axes;
        const AnimationTracks tracks = tracksToStore(from, &axes, nullptr);
        AnimationPersistence::remove(from);
        AnimationPersistence::save(to, tracks, axes);
    }
    m_animations[index] = Animation{to, name};
    Q_EMIT animationsChanged();
    setModified(true);
    return true;
}

void DocumentController::setIgnored(const QString& name, bool ignored)
{
    m_ignoreList.removeAll(name);
    if (ignored) {
        m_ignoreList.append(name);
    }
    setModified(true);
}

void DocumentController::pushStateToModels()
{
    TSModelController* controller = TSModelController::instance();
    if (TSModelGeneralSettings* settings = TSModelGeneralSettings::current()) {
        settings->setObjectFrameRect(m_canvas ? m_canvas->canvasRect() : kDefaultCanvasRect);
        if (auto* version = dynamic_cast<TSPAttributeString*>(settings->attributeNamed("IB Version"))) {
            version->setText(appInfo(AppInfo::Version));
        }
    }
    controller->removeModelsOfClass(TSModelSkeleton::kClassName);
    auto* skeleton = new TSModelSkeleton();
    skeleton->setSkeletonName(m_skeletonName);
    skeleton->setAnimationName(m_currentAnimation);
    skeleton->setIgnoreList(m_ignoreList);
    controller->addModel(skeleton, true);
    skeleton->release();

    controller->removeModelsOfClass(TSModelSkeletonNode::kClassName);
    for (const auto& node : m_skeleton->nodes()) {
        auto* model = new TSModelSkeletonNode();
        model->fillFrom(*node);
        controller->addModel(model, false);
        model->release();
    }
    controller->removeModelsOfClass(TSGraphicsPixmapModel::kClassName);
    int z = 0;
    for (const auto* list : {&m_skeleton->dummyImages(), &m_skeleton->images()}) {
        for (const auto& asset : *list) {
            TSGraphicsPixmapModel* model = TSGraphicsPixmapModel::fromItemState(
                asset->placeholder->pos(), z++, asset->restTransform, 0, Skeleton::pictureOf(*asset));
            model->setAdjustment(asset->adjustment);
            model->setSpriteId(asset->container ? static_cast<int>(asset->container->id()) : 0);
            model->setName(asset->nodeName.toStdString());
            model->setAssetName(asset->name);
            model->setTags(asset->tags);
            controller->addModel(model, false);
            model->release();
        }
    }
    if (!m_currentAnimation.isEmpty()) {
        AnimationPersistence::save(m_currentAnimation, m_skeleton->tracks(), m_axes ? m_axes->crossing() : QPointF());
    }
}

void DocumentController::writeSkeletonTemplate(const QString& directory, const QString& fallbackName) const
{
    QList<NodeRecord> nodes;
    for (const auto& node : m_skeleton->nodes()) {
        nodes.append(*node);
    }
    QList<SkeletonJson::DummyImage> images;
    for (const auto* list : {&m_skeleton->dummyImages(), &m_skeleton->images()}) {
        for (const auto& asset : *list) {
            images.append({asset->nodeName, asset->item->pixmap().toImage(), asset->restTransform, images.size()});
        }
    }
    SkeletonJson::writeSkeleton(directory, m_skeletonName.isEmpty() ? fallbackName : m_skeletonName, nodes, images);
}

bool DocumentController::save(const QString& path, QString* error)
{
    pushStateToModels();
    TSModelController* controller = TSModelController::instance();
    controller->clearError();
    // The atlases show the frames as they are now, colour adjustments included.
    if (QString failed; !TSModelAtlas::saveAll(&failed)) {
        *error = QStringLiteral("Failed to write the texture atlas %1. ").arg(failed);
        return false;
    }
    if (!controller->saveDocument(path)) {
        *error = controller->errorString();
        controller->clearError();
        return false;
    }
    m_template = false;
    setModified(false);
    return true;
}
