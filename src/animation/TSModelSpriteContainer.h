#pragma once

#include "ColorAdjustment.h"
#include "TSModel.h"
#include "TSModelIdList.h"

#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QStringList>

class QPainter;
class TSModelSprite;
class TSPAttributeFloat;

/// An ordered set of sprites played as a frame animation at 60 frames per second, with colour
/// adjustments shared by all its frames.
class TSModelSpriteContainer : public TSModel
{
public:
    static constexpr const char* kClassName = "TSModelSpriteContainer";
    static constexpr float kFramesPerSecond = 60.0f;

    TSModelSpriteContainer();

    /// One sprite per readable file, in order; named after the first file; added to the
    /// controller. Null when no file could be read.
    static TSModelSpriteContainer* createFromFiles(const QStringList& paths, bool keepWhole);

    TSModelIdList& sprites() { return m_sprites; }
    int spriteCount() { return static_cast<int>(m_sprites.count()); }
    TSModelSprite* spriteAt(int index);
    /// Appends a sprite and makes the duration one frame per sprite.
    void appendSprite(TSModelSprite* sprite);

    float duration() const { return m_duration; }
    void setDuration(float duration) { m_duration = duration; }
    float animationSpeed() const { return m_animationSpeed; }
    void setAnimationSpeed(float speed) { m_animationSpeed = speed; }

    float brightness() const;
    float contrast() const;
    float hue() const;
    float saturation() const;
    float opacity() const;
    void setBrightness(float value);
    void setContrast(float value);
    void setHue(float value);
    void setSaturation(float value);
    void setOpacity(float value);
    /// Copies all five values into every sprite and recomputes every adjusted image.
    void applyAdjustments();

    /// Sets the model time to t × animation speed.
    void setTime(float t);
    /// trunc(model time × 60) modulo the sprite count; 0 without sprites.
    int currentFrameIndex();
    TSModelSprite* currentSprite();
    QImage currentImage();
    QPointF currentOffset();
    QSizeF currentSourceSize();
    /// The largest untrimmed size among the frames; every frame image has this size.
    QSize frameSize();
    /// Frame index (modulo the sprite count) as it is shown: the adjusted picture placed at
    /// its offset inside the untrimmed image, centred in frameSize(), so frames of different
    /// sizes share one centre. Null without sprites.
    QImage frameImage(int index);
    QImage currentFrameImage() { return frameImage(currentFrameIndex()); }

    QPointF anchorPoint() const { return m_anchor; }
    void setAnchorPoint(const QPointF& anchor) { m_anchor = anchor; }
    /// Paints the current frame moved by minus the anchor point.
    void paint(QPainter* painter);

    /// A sprite attribute's flag 1 keeps every frame whole (untrimmed, out of the atlases).
    void takeSpriteFlag(int flag) override;

    cocos2d::CCDictionary* attributesDictionary() override;
    void loadAttributes(cocos2d::CCDictionary* dict) override;
    /// Resolves the sprites, then hands them the container's adjustments.
    void loadConnections(cocos2d::CCDictionary* dict) override;

private:
    ColorAdjustment adjustment() const;
    void copyColorValuesToSprites();

    TSPAttributeFloat* m_brightness;
    TSPAttributeFloat* m_contrast;
    TSPAttributeFloat* m_hue;
    TSPAttributeFloat* m_saturation;
    TSPAttributeFloat* m_opacity;
    TSModelIdList m_sprites;
    float m_duration = 0.0f;
    float m_animationSpeed = 1.0f;
    QPointF m_anchor;
};
