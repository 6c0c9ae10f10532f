#include "EditController.h"

#include "PixmapPlaceholderItem.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>

EditController::EditController(Skeleton* skeleton, ObjectManipulator* manipulator, HistoryManager* history,
                               AddNodeIndicator* indicator, QObject* parent)
    : QObject(parent), m_skeleton(skeleton), m_manipulator(manipulator), m_history(history), m_indicator(indicator)
{
}

// Selection -----------------------------------------------------------------------------------

Skeleton::Node* EditController::selectedNode() const
{
    const QList<QGraphicsItem*> targets = m_manipulator ? m_manipulator->targets() : QList<QGraphicsItem*>();
    return targets.size() == 1 && m_skeleton ? m_skeleton->nodeByItem(targets.first()) : nullptr;
}

Skeleton::Asset* EditController::selectedImage() const
{
    const QList<Skeleton::Asset*> images = selectedImages();
    return images.size() == 1 && m_manipulator->targets().size() == 1 ? images.first() : nullptr;
}

QList<Skeleton::Asset*> EditController::selectedImages() const
{
    QList<Skeleton::Asset*> images;
    if (m_skeleton && m_manipulator) {
        for (QGraphicsItem* item : m_manipulator->targets()) {
            if (Skeleton::Asset* asset = m_skeleton->assetByItem(item)) {
                images.append(asset);
            }
        }
    }
    return images;
}

AnimatedObject* EditController::selectedTracks() const
{
    if (const Skeleton::Node* node = selectedNode()) {
        return node->animation;
    }
    const Skeleton::Asset* image = selectedImage();
    return image ? image->animation : nullptr;
}

QList<int> EditController::selectedKeyFrames() const
{
    QList<int> frames;
    if (const AnimatedObject* tracks = selectedTracks()) {
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            frames += tracks->channel(channel).keyFrames();
        }
    }
    return frames;
}

Skeleton::Node* EditController::importTarget() const
{
    if (!m_skeleton) {
        return nullptr;
    }
    if (Skeleton::Node* node = selectedNode()) {
        return node;
    }
    if (const Skeleton::Asset* image = selectedImage()) {
        if (Skeleton::Node* node = m_skeleton->nodeByName(image->nodeName)) {
            return node;
        }
    }
    for (const auto& node : m_skeleton->nodes()) {
        if (!node->parentJoint) {
            return node.get();
        }
    }
    return nullptr;
}

bool EditController::canDelete() const
{
    return selectedNode() || !selectedImages().isEmpty();
}

bool EditController::canArrange(Skeleton::ZValueChangeAction action) const
{
    for (Skeleton::Asset* image : selectedImages()) {
        if (m_skeleton->canChangeZValue(image, action)) {
            return true;
        }
    }
    return false;
}

// Edits ---------------------------------------------------------------------------------------

void EditController::addNode()
{
    Skeleton::Node* parent = importTarget();
    if (!m_history || !m_manipulator) {
        return;
    }
    QPointF position(0, -60);
    if (parent && m_indicator && m_indicator->isVisible() && m_indicator->nodeItem() == parent->joint) {
        position = parent->joint->mapFromScene(m_indicator->sceneBoundingRect().center());
    }
    if (Skeleton::Node* added = m_history->addNodeToSelected(parent ? parent->joint : nullptr, position)) {
        m_manipulator->setTargets({added->joint});
    }
    Q_EMIT enablingChanged();
}

void EditController::deleteSelection(bool timelineFocused, int frame)
{
    if (!m_history) {
        return;
    }
    if (timelineFocused) {
        m_history->deleteKeyframesAt(selectedTracks(), frame);
    } else if (selectedNode()) {
        removeNodeAndChildren();
    } else if (!selectedImages().isEmpty()) {
        m_history->deleteAssets(selectedImages());
    }
    Q_EMIT enablingChanged();
}

void EditController::removeNodeAndChildren()
{
    Skeleton::Node* node = selectedNode();
    if (!node) {
        Q_EMIT warning(QStringLiteral("Error on delete"), QStringLiteral("No Node selected"));
        return;
    }
    if (!node->parentJoint) {
        Q_EMIT warning(QStringLiteral("Error on delete"), QStringLiteral("Cannot Delete root Node"));
        return;
    }
    m_history->removeNodeBranch(node);
    Q_EMIT enablingChanged();
}

void EditController::copy()
{
    if (const Skeleton::Asset* image = selectedImage()) {
        m_clipboard = ImageRecord{image->item->pixmap().toImage(), image->restTransform};
    }
    Q_EMIT enablingChanged();
}

void EditController::paste()
{
    if (!canPaste() || !m_skeleton || !m_history) {
        return;
    }
    // Under the selected joint, or beside the selected image.
    const Skeleton::Node* target = selectedNode();
    if (!target) {
        const Skeleton::Asset* image = selectedImage();
        target = image ? m_skeleton->nodeByName(image->nodeName) : nullptr;
    }
    if (!target) {
        return;
    }
    HistoryManager::NewImage pasted;
    pasted.image = m_clipboard.image;
    pasted.nodeName = target->name;
    pasted.restTransform = m_clipboard.transform;
    m_history->addImages({pasted});
    Q_EMIT enablingChanged();
}

void EditController::arrange(Skeleton::ZValueChangeAction action)
{
    if (m_history && m_manipulator) {
        m_history->changeAssetszValue(m_manipulator->targets(), action);
    }
    Q_EMIT enablingChanged();
}

void EditController::importImages(const QList<QUrl>& urls)
{
    if (const Skeleton::Node* target = importTarget(); target && m_history) {
        m_history->addAssetsFromFiles(urls, target->name);
    }
    Q_EMIT enablingChanged();
}

void EditController::dropImages(const QList<QUrl>& urls)
{
    const Skeleton::Node* target = m_skeleton ? m_skeleton->dropTarget() : nullptr;
    if (!target) {
        target = importTarget();
    }
    if (target && m_history) {
        m_history->addAssetsFromFiles(urls, target->name);
    }
    Q_EMIT enablingChanged();
}

void EditController::moveUnder(const QGraphicsItem* item, const QGraphicsItem* parent)
{
    const Skeleton::Node* target = m_skeleton ? m_skeleton->nodeByItem(parent) : nullptr;
    if (!target || parent != target->joint || !m_history) {
        return;
    }
    if (const Skeleton::Node* node = m_skeleton->nodeByItem(item); node && item == node->joint) {
        if (node != target) {
            m_history->changeNodeParent(item, parent);
        }
    } else if (m_skeleton->assetByItem(item)) {
        m_history->changeAssetParent(item, parent);
    }
    Q_EMIT enablingChanged();
}
