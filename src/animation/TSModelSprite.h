#pragma once

#include "ColorAdjustment.h"
#include "TSModel.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

class QPainter;

/// One frame image cut from a PNG file, usually trimmed to its opaque pixels and packed into a
/// texture atlas, with a colour-adjusted copy for display.
class TSModelSprite : public TSModel
{
public:
    static constexpr const char* kClassName = "TSModelSprite";

    TSModelSprite();

    /// A sprite made from a PNG file: trimmed unless keepWhole, colour-adjusted, its image file
    /// written into the working folder, added to the controller and, when trimmed, packed into
    /// a texture atlas. Null when the file cannot be read.
    static TSModelSprite* createFromFile(const QString& path, bool keepWhole);

    /// Top-left corner in its texture atlas; (0, 0) when not packed.
    QPointF pos() const { return m_pos; }
    void setPos(const QPointF& pos) { m_pos = pos; }
    /// Top-left corner of the kept pixels inside the untrimmed image.
    QPointF offset() const { return m_offset; }
    /// Size of the kept image.
    QSizeF size() const { return m_size; }
    /// Size of the untrimmed image file.
    QSizeF sourceSize() const { return m_sourceSize; }
    /// (offset, kept size).
    QRectF sourceRect() const { return m_sourceRect; }

    /// The kept pixels; read back from the sprite's image file when not in memory.
    QImage sourceImage() const;
    /// Replaces the whole picture: untrimmed geometry, then the adjusted copy.
    void setSourceImage(const QImage& image);
    QImage adjustedImage() const { return m_adjustedImage; }
    /// The adjusted image when there is one, else the source image.
    QImage displayImage() const;

    /// Cuts the picture down to its non-transparent pixels.
    void trim();

    bool keepWhole() const { return m_keepWhole; }
    void setKeepWhole(bool keepWhole) { m_keepWhole = keepWhole; }

    ColorAdjustment adjustment() const { return m_adjustment; }
    /// Takes brightness, contrast, hue and saturation (opacity stays); recomputes the adjusted
    /// image only when one of them changed.
    void setColorValues(const ColorAdjustment& values);
    /// Sets the opacity; recomputes the adjusted image when it changed.
    void setOpacity(float opacity);
    void recomputeAdjustedImage();

    /// The sprite's image file in the working folder: "images/TSModelSprite_ID<id>.png".
    QString imagePath() const;
    bool writeImageFile() const;

    /// Draws the source image with the sprite opacity, centred on the untrimmed image's centre.
    void paint(QPainter* painter) const;

    cocos2d::CCDictionary* attributesDictionary() override;
    void loadAttributes(cocos2d::CCDictionary* dict) override;
    /// Leaves the controller and the texture atlases that held it.
    void removeFromController() override;
    QString imageFilePath() const override { return imagePath(); }
    QImage pictureForFile() const override { return sourceImage(); }

private:
    QPointF m_pos;
    QPointF m_offset;
    QSizeF m_size;
    QSizeF m_sourceSize;
    QRectF m_sourceRect;
    mutable QImage m_sourceImage;
    QImage m_adjustedImage;
    ColorAdjustment m_adjustment;
    bool m_keepWhole = false;
};
