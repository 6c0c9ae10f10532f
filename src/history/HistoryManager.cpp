#include "HistoryManager.h"

#include "AddAnimationCommand.h"
#include "AddRemoveAssetsCommand.h"
#include "AddRemoveNodeCommand.h"
#include "AnimationDocument.h"
#include "AnimationLengthCommand.h"
#include "ChangeAssetsZValueCommand.h"
#include "ChangeAxesPositionCommand.h"
#include "ChangeCanvasSizeCommand.h"
#include "AnimationCanvas.h"
#include "ImageFile.h"
#include "IndexChangeCommand.h"
#include "KeyframeEditCommand.h"
#include "LineEditEditCommand.h"
#include "ObjectStateCommand.h"
#include "ObjectManipulator.h"
#include "PlaybackSettingsCommand.h"
#include "RemoveAnimationCommand.h"
#include "RenameAnimationCommand.h"
#include "PixmapPlaceholderItem.h"
#include "ReparentCommand.h"
#include "SpriteAnimationBuilder.h"
#include "SpriteContainerCommand.h"
#include "SpriteImageCommand.h"
#include "TSApplicationSettings.h"
#include "TSLineEditUpdateable.h"
#include "TSModelGeneralSettings.h"
#include "TSModelSpriteContainer.h"
#include "TrackKeysCommand.h"
#include "TransformAssetsCommand.h"
#include "UpdateAssetPixmapCommand.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QMimeData>

#include <algorithm>
#include <cmath>

namespace {

QPointer<HistoryManager> s_instance;

} // namespace

const QString HistoryManager::kAnimationChange = QStringLiteral("Animation change");
const QString HistoryManager::kDeleteNodes = QStringLiteral("Delete nodes");
const QString HistoryManager::kEditKeyframesGroup = QStringLiteral("Edit keyframes group");

HistoryManager::HistoryManager(QObject* parent) : QUndoStack(parent)
{
    s_instance = this;
}

HistoryManager::~HistoryManager() = default;

HistoryManager* HistoryManager::instance()
{
    return s_instance;
}

void HistoryManager::setSkeleton(Skeleton* skeleton)
{
    m_skeleton = skeleton;
    if (skeleton) {
        skeleton->setKeyframeWriter(this);
    }
}

ObjectManipulator* HistoryManager::manipulator() const
{
    return m_skeleton ? m_skeleton->manipulator() : nullptr;
}

QString HistoryManager::currentAnimation() const
{
    return m_document ? m_document->currentAnimation() : QString();
}

bool HistoryManager::enterAnimation(const QString& identifier)
{
    if (!m_document || identifier == m_document->currentAnimation()) {
        return true;
    }
    return !identifier.isEmpty() && m_document->selectAnimation(identifier);
}

void HistoryManager::beginMacro(const QString& text)
{
    QUndoStack::beginMacro(text);
}

void HistoryManager::endMacro()
{
    QUndoStack::endMacro();
}

void HistoryManager::refreshSkeleton()
{
    if (m_skeleton) {
        m_skeleton->showMoment(m_skeleton->currentTime());
    }
    Q_EMIT keysChanged();
}

void HistoryManager::stopPlayback()
{
    if (m_skeleton) {
        m_skeleton->stop();
    }
}

void HistoryManager::refreshSprites()
{
    if (m_skeleton) {
        m_skeleton->refreshSpriteFrames();
    }
}

QTransform HistoryManager::newImageTransform(const QSize& size, const QString& nodeName) const
{
    const QTransform centred = QTransform::fromTranslate(-size.width() / 2.0, -size.height() / 2.0);
    const int longest = std::max(size.width(), size.height());
    if (!TSApplicationSettings::instance()->autoAdjustAssetsScale() || longest <= 0) {
        return centred;
    }
    // A third of the smaller side of the project's screen, for a picture 2048 pixels across.
    TSModelGeneralSettings* settings = TSModelGeneralSettings::current();
    const QSize screen = settings ? settings->screenSize() : QSize(1156, 640);
    const int target = static_cast<int>(std::min(screen.width(), screen.height()) * 0.3);
    const int width = static_cast<int>(target * longest * 0.00048828125);
    double factor = static_cast<double>(std::max(width, 1)) / longest;
    QTransform compensation;
    if (const Skeleton::Node* node = m_skeleton ? m_skeleton->nodeByName(nodeName) : nullptr) {
        const QTransform parent = node->joint->sceneTransform();
        if (std::abs(parent.m11()) > 1e-9 && std::abs(parent.m22()) > 1e-9) {
            compensation = QTransform::fromScale((parent.m11() < 0 ? -1.0 : 1.0) / std::abs(parent.m11()),
                                                 1.0 / std::abs(parent.m22()));
        }
        // The scene bounding width of the image comes out as the target width.
        const QRectF drawn = (centred * QTransform::fromScale(factor, factor) * compensation * parent)
                                 .mapRect(QRectF(QPointF(), QSizeF(size)));
        if (drawn.width() > 1e-9) {
            factor *= width / drawn.width();
        }
    }
    return centred * QTransform::fromScale(factor, factor) * compensation;
}

// Images ------------------------------------------------------------------------------------------

QList<Skeleton::Asset*> HistoryManager::assetsOf(const QList<QGraphicsItem*>& items) const
{
    QList<Skeleton::Asset*> assets;
    if (m_skeleton) {
        for (QGraphicsItem* item : items) {
            if (Skeleton::Asset* asset = m_skeleton->assetByItem(item); asset && !assets.contains(asset)) {
                assets.append(asset);
            }
        }
    }
    return assets;
}

void HistoryManager::deleteAssets()
{
    if (ObjectManipulator* targets = manipulator()) {
        deleteAssets(assetsOf(targets->targets()));
    }
}

void HistoryManager::deleteAssets(QList<Skeleton::Asset*> assets)
{
    if (m_skeleton && !assets.isEmpty()) {
        push(new RemoveAssetsCommand(this, assets));
    }
}

void HistoryManager::addAssetFromDragDrop(QDropEvent* event)
{
    if (!event || !m_skeleton || !event->mimeData()->hasImage()) {
        return;
    }
    const QImage image = qvariant_cast<QImage>(event->mimeData()->imageData());
    Skeleton::Node* node = m_skeleton->dropTarget();
    if (image.isNull() || !node) {
        return;
    }
    NewImage added;
    added.image = image;
    added.nodeName = node->name;
    added.restTransform = newImageTransform(image.size(), node->name);
    added.tags = event->mimeData()->text().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QString path = QString::fromUtf8(event->mimeData()->data(QStringLiteral("path")));
    added.name = added.assetName = path.isEmpty() ? QString() : QFileInfo(path).completeBaseName();
    addImages({added});
}

void HistoryManager::addAssetsFromFiles(QList<QUrl> urls)
{
    if (m_skeleton && m_skeleton->dropTarget()) {
        addAssetsFromFiles(urls, m_skeleton->dropTarget()->name);
    }
}

void HistoryManager::addAssetsFromFiles(const QList<QUrl>& urls, const QString& nodeName)
{
    if (!m_skeleton || !m_skeleton->nodeByName(nodeName)) {
        return;
    }
    QList<NewImage> images;
    QStringList failures;
    for (const QUrl& url : urls) {
        QString error;
        NewImage added;
        added.image = ImageFile::read(url.toLocalFile(), &error);
        if (added.image.isNull()) {
            failures << QStringLiteral("\"%1\": %2").arg(url.toLocalFile(), error);
            continue;
        }
        added.nodeName = nodeName;
        added.restTransform = newImageTransform(added.image.size(), nodeName);
        added.name = added.assetName = QFileInfo(url.toLocalFile()).completeBaseName();
        images.append(added);
    }
    addImages(images);
    if (!failures.isEmpty()) {
        Q_EMIT refused(QStringLiteral("Import"), QStringLiteral("Cannot add %1").arg(failures.join(QStringLiteral(", "))));
    }
}

void HistoryManager::addImages(const QList<HistoryManager::NewImage>& images)
{
    if (!m_skeleton || images.isEmpty()) {
        return;
    }
    auto* command = new AddAssetsCommand(this, images);
    push(command);
    QList<QGraphicsItem*> placeholders;
    for (Skeleton::Asset* asset : command->assets()) {
        placeholders.append(asset->placeholder);
    }
    if (ObjectManipulator* targets = manipulator()) {
        targets->setTargets(placeholders);
    }
}

void HistoryManager::changeAssetszValue(QList<QGraphicsItem*> assets, Skeleton::ZValueChangeAction action)
{
    QList<Skeleton::Asset*> movable;
    for (Skeleton::Asset* asset : assetsOf(assets)) {
        if (m_skeleton->canChangeZValue(asset, action)) {
            movable.append(asset);
        }
    }
    if (!movable.isEmpty()) {
        push(new ChangeAssetsZValueCommand(this, movable, action));
    }
}

bool HistoryManager::addSpriteAnimation(const QStringList& paths, const QString& nodeName)
{
    if (!m_skeleton || !m_skeleton->nodeByName(nodeName)) {
        return false;
    }
    QString error;
    TSModelSpriteContainer* container = SpriteAnimationBuilder::build(paths, &error);
    if (!container) {
        Q_EMIT refused(QStringLiteral("Frame Animation"), error);
        return false;
    }
    NewImage image;
    image.nodeName = nodeName;
    image.restTransform = newImageTransform(container->frameSize(), nodeName);
    image.name = image.assetName = QString::fromStdString(container->name());
    auto* command = new AddSpriteImageCommand(this, image, container);
    push(command);
    if (ObjectManipulator* targets = manipulator(); targets && command->asset()) {
        targets->setTargets({command->asset()->placeholder});
    }
    return true;
}

void HistoryManager::changeImageSprite(quint64 assetId, TSModelSpriteContainer* container)
{
    Skeleton::Asset* asset = m_skeleton ? m_skeleton->assetById(assetId) : nullptr;
    if (asset && asset->container != container) {
        push(new ChangeImageSpriteCommand(this, assetId, asset->container, container, Skeleton::pictureOf(*asset)));
    }
}

void HistoryManager::changeSpriteContainer(const QString& text, TSModelSpriteContainer* container,
                                           const SpriteContainerState& before)
{
    const SpriteContainerState after = SpriteContainerState::of(container);
    if (container && before.id() == after.id() && before != after) {
        push(new SpriteContainerCommand(text, this, before, after));
        refreshSprites();
    }
}

void HistoryManager::setAssetPixmapFromDropArea()
{
    // The object settings column's drop area hands its picture to changeAssetPixmap().
}

void HistoryManager::changeAssetPixmap(QGraphicsItem* item, const QImage& image)
{
    Skeleton::Asset* asset = m_skeleton ? m_skeleton->assetByItem(item) : nullptr;
    if (asset && !image.isNull()) {
        push(new UpdateAssetPixmapCommand(this, asset->id, Skeleton::pictureOf(*asset), image));
    }
}

void HistoryManager::assetsTransformed(QString action, QList<QGraphicsItem*> assets, QList<QTransform>,
                                       QList<QTransform>)
{
    if (!m_skeleton) {
        return;
    }
    // The drag's result becomes the set-up pose here; the command keeps the poses before and
    // after, which is what undo needs (the item transforms only describe them).
    QList<TransformAssetsCommand::Target> targets;
    for (QGraphicsItem* item : assets) {
        TransformAssetsCommand::Target target;
        if (Skeleton::Node* node = m_skeleton->nodeByItem(item); node && item == node->joint) {
            target.isNode = true;
            target.id = node->id;
            target.before = node->restTransform;
            m_skeleton->commitSetupPose(item);
            target.after = node->restTransform;
        } else if (Skeleton::Asset* asset = m_skeleton->assetByItem(item); asset && item == asset->placeholder) {
            target.id = asset->id;
            target.before = asset->restTransform;
            m_skeleton->commitSetupPose(item);
            target.after = asset->restTransform;
        } else {
            continue;
        }
        if (target.before != target.after) {
            targets.append(target);
        }
    }
    if (!targets.isEmpty()) {
        push(new TransformAssetsCommand(this, action, targets));
    }
}

// Keys --------------------------------------------------------------------------------------------

void HistoryManager::changeAnimatedObjectValue(AnimatedObject* object, AnimatedObject::AnimatedProperty property,
                                               float time, float, float newValue, bool)
{
    // The command keeps the channel's keys before and after the write, which the old value and
    // the new-key flag only describe.
    push(new AnimationCurveSetValueCommand(this, object, property, time, newValue));
}

AnimatedObject* HistoryManager::addTracks(AnimationTracks& list, std::unique_ptr<AnimatedObject> tracks)
{
    if (!m_skeleton || &list != &m_skeleton->tracks()) {
        return KeyframeWriter::addTracks(list, std::move(tracks));
    }
    auto* command = new AddTracksCommand(this, std::move(tracks));
    push(command);
    return command->tracks();
}

void HistoryManager::setTracksDuration(AnimatedObject* tracks, float seconds, bool isExplicit)
{
    push(new TrackDurationCommand(this, tracks, seconds, isExplicit));
}

void HistoryManager::deleteKeyframeOnIndex(int index)
{
    ObjectManipulator* targets = manipulator();
    if (!m_skeleton || !targets || targets->targets().size() != 1) {
        return;
    }
    QGraphicsItem* item = targets->targets().first();
    if (Skeleton::Node* node = m_skeleton->nodeByItem(item)) {
        deleteKeyframesAt(node->animation, index);
    } else if (Skeleton::Asset* asset = m_skeleton->assetByItem(item)) {
        deleteKeyframesAt(asset->animation, index);
    }
}

void HistoryManager::deleteKeyframesAt(AnimatedObject* tracks, int frame)
{
    deleteKeyframes(tracks, {0, 1, 2, 3, 4}, frame);
}

void HistoryManager::deleteKeyframes(AnimatedObject* tracks, const QList<int>& channels, int frame)
{
    if (!tracks) {
        return;
    }
    for (int channel : channels) {
        if (tracks->channel(channel).keyFrames().contains(frame)) {
            push(new DeleteKeyframeCommand(this, tracks, frame, channels));
            return;
        }
    }
}

void HistoryManager::createKeyframes(AnimatedObject* tracks, const QList<int>& channels, int frame)
{
    if (!tracks || frame < 0) {
        return;
    }
    for (int channel : channels) {
        if (!tracks->channel(channel).keyFrames().contains(frame)) {
            if (!tracks->hasKeys() && m_skeleton) {
                // From their first key on, tracks count with the length the animation has.
                tracks->setDuration(m_skeleton->duration(), true);
            }
            push(new CreateKeyframeCommand(this, tracks, channels, frame));
            return;
        }
    }
}

void HistoryManager::moveKeyframes(AnimatedObject* tracks, const QList<int>& channels, int from, int to)
{
    if (!tracks || from == to || to < 0) {
        return;
    }
    for (int channel : channels) {
        const QList<int> frames = tracks->channel(channel).keyFrames();
        if (frames.contains(from) && !frames.contains(to)) {
            push(new MoveKeyframeCommand(this, tracks, channels, from, to));
            return;
        }
    }
}

void HistoryManager::onKeyframeAdded(QString, QString animation, int index, bez3 value)
{
    if (enterAnimation(animation)) {
        Q_EMIT keyframeInsertionRequested(index, value);
    }
}

void HistoryManager::onKeyframeDeleted(QString, QString animation, int index)
{
    if (enterAnimation(animation)) {
        Q_EMIT keyframeDeletionRequested(index);
    }
}

// Nodes -------------------------------------------------------------------------------------------

Skeleton::Node* HistoryManager::addNodeToSelected(QGraphicsItem* item, const QPointF& position)
{
    if (!m_skeleton) {
        return nullptr;
    }
    const Skeleton::Node* parent = m_skeleton->nodeByItem(item);
    NodeRecord record;
    record.name = record.defaultName = m_skeleton->uniqueNodeName();
    record.size = parent ? parent->size : 20.0f;
    record.zOrder = parent ? parent->zOrder + 1 : 0;
    if (parent) {
        record.parent = parent->name;
        // Documents keep whole positions: the node is placed where opening it again puts it.
        record.position = QPointF(std::round(position.x()), std::round(position.y()));
    }
    auto* command = new AddNodeCommand(this, record);
    push(command);
    return command->node();
}

void HistoryManager::removeSelectedNode()
{
    if (ObjectManipulator* targets = manipulator(); targets && targets->targets().size() == 1 && m_skeleton) {
        removeSelectedNode(m_skeleton->nodeByItem(targets->targets().first()));
    }
}

void HistoryManager::removeSelectedNode(Skeleton::Node* node)
{
    if (node) {
        push(new RemoveNodeCommand(this, {node}));
    }
}

void HistoryManager::removeNodeBranch(Skeleton::Node* node)
{
    if (!m_skeleton || !node) {
        return;
    }
    const QList<Skeleton::Node*> members = m_skeleton->subtree(node);
    QList<Skeleton::Node*> deepestFirst(members.crbegin(), members.crend());
    beginMacro(kDeleteNodes);
    deleteAssets(m_skeleton->imagesOf(members));
    push(new RemoveNodeCommand(this, deepestFirst));
    endMacro();
}

bool HistoryManager::changeNodeParent(const QGraphicsItem* target, const QGraphicsItem* parent)
{
    Skeleton::Node* node = m_skeleton ? m_skeleton->nodeByItem(target) : nullptr;
    Skeleton::Node* newParent = m_skeleton ? m_skeleton->nodeByItem(parent) : nullptr;
    if (!node || (parent && !newParent) || (newParent && m_skeleton->subtree(node).contains(newParent))) {
        return false;
    }
    const Skeleton::Node* oldParent = m_skeleton->nodeByName(node->parent);
    if (oldParent == newParent) {
        return false;
    }
    push(new ReparentNodeCommand(this, node->id, oldParent ? oldParent->id : 0, newParent ? newParent->id : 0));
    return true;
}

bool HistoryManager::changeAssetParent(const QGraphicsItem* target, const QGraphicsItem* parent)
{
    Skeleton::Asset* asset = m_skeleton ? m_skeleton->assetByItem(target) : nullptr;
    Skeleton::Node* newParent = m_skeleton ? m_skeleton->nodeByItem(parent) : nullptr;
    const Skeleton::Node* oldParent = asset ? m_skeleton->nodeByName(asset->nodeName) : nullptr;
    if (!asset || !newParent || oldParent == newParent) {
        return false;
    }
    push(new ReparentAssetCommand(this, asset->id, oldParent ? oldParent->id : 0, newParent->id));
    return true;
}

// Fields, canvas and animations --------------------------------------------------------------------

void HistoryManager::changeAttribute(int from, int to)
{
    auto* command = new IndexChangeCommand(from, to);
    command->setText(QStringLiteral("Attribute Index Change"));
    connect(command, &IndexChangeCommand::indexChanged, this, &HistoryManager::attributeIndexChanged);
    push(command);
}

void HistoryManager::changeLineEditValueFor(TSLineEditUpdateable* edit, QGraphicsItem* item)
{
    if (edit && item && edit->text() != edit->previousText()) {
        push(new LineEditEditCommand(this, item, edit, edit->previousText(), edit->text()));
    }
}

void HistoryManager::changeBoneColor(QGraphicsItem* item, const QColor& color)
{
    const Skeleton::Node* node = m_skeleton ? m_skeleton->nodeByItem(item) : nullptr;
    if (node && color.isValid() && color != node->boneColor) {
        push(new BoneColorCommand(this, node->joint, color));
    }
}

void HistoryManager::changeCanvasSize(QRectF from, QRectF to)
{
    if (from != to) {
        push(new ChangeCanvasSizeCommand(m_canvas, from, to, true));
    }
}

void HistoryManager::setCanvasSize(const QRectF& to)
{
    if (m_canvas && m_canvas->canvasRect() != to) {
        push(new ChangeCanvasSizeCommand(m_canvas, m_canvas->canvasRect(), to, false));
    }
}

void HistoryManager::changeAxesPosition(QPointF from, QPointF to)
{
    if (from != to) {
        push(new ChangeAxesPositionCommand(this, from, to));
    }
}

void HistoryManager::changeAnimationLength(int fromFrames, int toFrames)
{
    if (m_skeleton && fromFrames != toFrames) {
        push(new AnimationLengthCommand(this, fromFrames, toFrames));
    }
}

bool HistoryManager::acceptAnimationName(const QString& title, const QString& name)
{
    QString problem;
    if (name.trimmed().isEmpty()) {
        problem = QStringLiteral("An animation needs a name.");
    } else if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(';'))) {
        // The name is part of the animation's path, and the ignore list separates names by ';'.
        problem = QStringLiteral("An animation name cannot contain \"/\", \"\\\" or \";\".");
    } else if (m_document->hasAnimationNamed(name)) {
        // A second animation of a name would be the first one again, and undoing it would remove it.
        problem = QStringLiteral("An animation named \"%1\" already exists.").arg(name);
    }
    if (!problem.isEmpty()) {
        Q_EMIT refused(title, problem);
    }
    return problem.isEmpty();
}

QString HistoryManager::addAnimation(const QString& name)
{
    if (!m_document || name.trimmed().isEmpty() || !acceptAnimationName(QStringLiteral("New animation"), name)) {
        return QString();
    }
    auto* command = new AddAnimationCommand(this, name);
    push(command);
    return command->identifier();
}

QString HistoryManager::copyAnimation(const QString& name)
{
    const QString current = currentAnimation();
    if (!m_document || current.isEmpty() || name.trimmed().isEmpty() ||
        !acceptAnimationName(QStringLiteral("Copy animation"), name)) {
        return QString();
    }
    auto* command =
        new AddAnimationCommand(this, name, m_document->copyTracks(current), QStringLiteral("Copy animation"));
    push(command);
    return command->identifier();
}

bool HistoryManager::renameAnimation(const QString& identifier, const QString& name)
{
    const QString title = QStringLiteral("Rename animation");
    if (!m_document || identifier.isEmpty() || m_document->nameOf(identifier).isEmpty()) {
        return false;
    }
    const QString oldName = m_document->nameOf(identifier);
    if (name == oldName || !acceptAnimationName(title, name)) {
        return false;
    }
    push(new RenameAnimationCommand(this, identifier, oldName, name));
    return true;
}

bool HistoryManager::deleteAnimation(const QString& identifier)
{
    if (!m_document || identifier.isEmpty()) {
        return false;
    }
    if (m_document->animationCount() < 2) {
        Q_EMIT refused(QStringLiteral("Delete animation"), QStringLiteral("The last animation cannot be deleted."));
        return false;
    }
    push(new RemoveAnimationCommand(this, identifier));
    return true;
}

void HistoryManager::changePlaybackSpeed(float speed)
{
    if (m_skeleton && std::isfinite(speed) && speed > 0.0f && speed != m_skeleton->timeScale()) {
        push(new PlaybackSpeedCommand(this, m_skeleton->timeScale(), speed));
    }
}

void HistoryManager::changeLooping(bool loop)
{
    if (m_skeleton && loop != m_skeleton->isLooping()) {
        push(new PlaybackLoopCommand(this, loop));
    }
}
