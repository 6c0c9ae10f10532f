#pragma once

#include "TSModel.h"
#include "TSModelIdList.h"

#include <QList>
#include <QString>

class TSModelSprite;
class TSModelSpriteContainer;
class TSPAttributeFloat;

/// A texture atlas: one PNG holding many trimmed sprites and a sprite-frame property list
/// saying where each lies, kept in the working folder's "atlases" folder.
class TSModelAtlas : public TSModel
{
public:
    static constexpr const char* kClassName = "TSModelAtlas";

    TSModelAtlas();

    int width() const;
    int height() const;
    int padding() const;
    void setSize(int width, int height);

    TSModelIdList& sprites() { return m_sprites; }

    /// The first existing atlas the sprite fits into, or a new empty 2048 × 2048 one.
    static TSModelAtlas* findAtlasFor(TSModelSprite* sprite);
    /// Whether every sprite of the atlas and this one would find a place.
    static bool fits(TSModelAtlas* atlas, TSModelSprite* sprite);
    /// Puts a new sprite into an atlas, packs it and writes the atlas files.
    static TSModelAtlas* addSprite(TSModelSprite* sprite);
    /// Puts new sprites into atlases one after the other, packing as addSprite() does, but
    /// writes each atlas that took one only once, at the end; false when a file could not be
    /// written (the sprites stay placed).
    static bool addSprites(const QList<TSModelSprite*>& sprites);
    /// Drops the atlases that hold no sprite any more (with their files) and writes the others
    /// again, so the files show the sprites as they are now; false with the failed file in
    /// failedPath when one could not be written.
    static bool saveAll(QString* failedPath = nullptr);
    /// Takes a deleted sprite out of every atlas that held it and packs those again.
    static void removeSprite(TSModelSprite* sprite);
    /// The distinct atlases holding frames of a container, in controller order.
    static QList<TSModelAtlas*> atlasesOf(TSModelSpriteContainer* container);

    /// Places every sprite (tallest first) and stores each one's top-left corner in its "pos";
    /// a sprite that finds no place stays at (0, 0). True when every sprite found a place.
    bool pack();
    /// Writes the atlas image and its property list.
    bool save();
    /// Writes the atlas image and its property list to the given paths, for use outside a
    /// document: the frames are keyed by the sprites' names and the texture is the image's file
    /// name. A file that exists is replaced only once its successor is complete.
    bool saveAs(const QString& imagePath, const QString& plistPath);
    QString imagePath() const;
    QString plistPath() const;
    /// The property list the atlas is described by.
    cocos2d::CCDictionary* frameList();

    cocos2d::CCDictionary* attributesDictionary() override;
    void loadAttributes(cocos2d::CCDictionary* dict) override;
    void loadConnections(cocos2d::CCDictionary* dict) override;

private:
    /// Orders the sprites for placement and places them; true when all found a place.
    bool place(bool store);
    /// The property list with each frame under frameKey(sprite) and the given texture file name.
    template <class FrameKey> cocos2d::CCDictionary* frameList(const std::string& texture, FrameKey frameKey);
    /// The atlas picture: every sprite drawn at its place.
    QImage image();

    TSPAttributeFloat* m_width;
    TSPAttributeFloat* m_height;
    TSPAttributeFloat* m_padding;
    TSModelIdList m_sprites;
};
