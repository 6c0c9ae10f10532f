#include "SpriteImageCommand.h"

#include "CCArray.h"
#include "TSModelAtlas.h"
#include "TSModelController.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"

using namespace cocos2d;

namespace {

QList<TSModelSprite*> spritesOf(TSModelSpriteContainer* container)
{
    QList<TSModelSprite*> sprites;
    for (CCObject* obj : *container->sprites().models()) {
        sprites.append(static_cast<TSModelSprite*>(obj));
    }
    return sprites;
}

} // namespace

AddSpriteImageCommand::AddSpriteImageCommand(HistoryManager* history, const HistoryManager::NewImage& image,
                                             TSModelSpriteContainer* container)
    : AddRemoveAssetsCommand(QStringLiteral("add animation"), history), m_image(image), m_container(container)
{
    m_container->retain();
}

AddSpriteImageCommand::~AddSpriteImageCommand()
{
    m_container->release();
}

Skeleton::Asset* AddSpriteImageCommand::asset() const
{
    Skeleton* skeleton = m_history->skeleton();
    return skeleton && !m_stored.empty() ? skeleton->assetById(m_stored.front().id) : nullptr;
}

void AddSpriteImageCommand::apply()
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    putContainerBack();
    if (!m_stored.empty()) {
        putBack();
        return;
    }
    m_history->stopPlayback();
    Skeleton::Asset* added =
        skeleton->addImage(m_image.nodeName, m_container->frameImage(0), m_image.restTransform, false,
                           m_image.name.isEmpty() ? skeleton->uniqueAssetName() : m_image.name);
    added->assetName = m_image.assetName;
    added->tags = m_image.tags;
    skeleton->setImageSprite(added, m_container, Skeleton::pictureOf(*added));
    Stored stored;
    stored.id = added->id;
    stored.index = skeleton->imageIndex(added, &stored.dummy);
    m_stored.push_back(std::move(stored));
    m_history->refreshSkeleton();
    Q_EMIT skeleton->nodesUpdated();
}

void AddSpriteImageCommand::revert()
{
    takeOut();
    takeContainerOut();
}

void AddSpriteImageCommand::takeContainerOut()
{
    if (m_containerOut) {
        return;
    }
    m_containerOut = true;
    // The container keeps its sprites; each leaves the atlases that held it.
    for (TSModelSprite* sprite : spritesOf(m_container)) {
        sprite->removeFromController();
    }
    TSModelController::instance()->removeModel(m_container);
}

void AddSpriteImageCommand::putContainerBack()
{
    if (!m_containerOut) {
        return;
    }
    m_containerOut = false;
    TSModelController* controller = TSModelController::instance();
    const QList<TSModelSprite*> sprites = spritesOf(m_container);
    for (TSModelSprite* sprite : sprites) {
        controller->addModel(sprite, false);
    }
    controller->addModel(m_container, false);
    // A failed write shows again when the document is saved, which writes every atlas.
    if (!TSModelAtlas::addSprites(sprites)) {
        TSModelController::log("[AddSpriteImageCommand] the atlas files could not be written");
    }
}

ChangeImageSpriteCommand::ChangeImageSpriteCommand(HistoryManager* history, quint64 asset,
                                                   TSModelSpriteContainer* before,
                                                   TSModelSpriteContainer* after, const QImage& still)
    : HistoryCommand(QStringLiteral("change animation")), m_history(history), m_asset(asset),
      m_before(before), m_after(after), m_still(still)
{
    for (TSModelSpriteContainer* container : {m_before, m_after}) {
        if (container) {
            container->retain();
        }
    }
}

ChangeImageSpriteCommand::~ChangeImageSpriteCommand()
{
    for (TSModelSpriteContainer* container : {m_before, m_after}) {
        if (container) {
            container->release();
        }
    }
}

void ChangeImageSpriteCommand::show(TSModelSpriteContainer* container)
{
    Skeleton* skeleton = m_history->skeleton();
    Skeleton::Asset* asset = skeleton ? skeleton->assetById(m_asset) : nullptr;
    if (!asset) {
        return;
    }
    m_history->stopPlayback();
    skeleton->setImageSprite(asset, container, m_still);
    m_history->refreshSkeleton();
}
