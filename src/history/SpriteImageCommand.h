#pragma once

#include "AddRemoveAssetsCommand.h"

class TSModelSprite;
class TSModelSpriteContainer;

/// "add animation": a new image that plays the frames of a sprite container made for it. While
/// the image is undone, the container and its sprites are out of the document (out of the
/// controller and the texture atlases) and live here; redo puts them back and packs the sprites
/// into the atlases again.
class AddSpriteImageCommand : public AddRemoveAssetsCommand
{
public:
    /// image.image is not used: the image shows the container's frames.
    AddSpriteImageCommand(HistoryManager* history, const HistoryManager::NewImage& image,
                          TSModelSpriteContainer* container);
    ~AddSpriteImageCommand() override;

    /// The image once added, or null.
    Skeleton::Asset* asset() const;

protected:
    void apply() override;
    void revert() override;

private:
    void takeContainerOut();
    void putContainerBack();

    HistoryManager::NewImage m_image;
    TSModelSpriteContainer* m_container;
    bool m_containerOut = false;
};

/// "change animation": the sprite container an image plays (none shows its still picture).
class ChangeImageSpriteCommand : public HistoryCommand
{
public:
    ChangeImageSpriteCommand(HistoryManager* history, quint64 asset, TSModelSpriteContainer* before,
                             TSModelSpriteContainer* after, const QImage& still);
    ~ChangeImageSpriteCommand() override;

protected:
    void apply() override { show(m_after); }
    void revert() override { show(m_before); }

private:
    void show(TSModelSpriteContainer* container);

    HistoryManager* m_history;
    quint64 m_asset;
    TSModelSpriteContainer* m_before;
    TSModelSpriteContainer* m_after;
    QImage m_still;
};
