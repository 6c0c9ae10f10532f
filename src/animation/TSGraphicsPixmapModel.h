#pragma once

#include "ColorAdjustment.h"
#include "TSModel.h"
#include "TransformAttributes.h"

#include <QImage>
#include <QPointF>
#include <QStringList>
#include <QTransform>

class TSPAttributeFloat;
class TSPAttributePoint;
class TSPAttributeString;

/// One image attached to a skeleton node, with its placement; its picture is stored as
/// "images/TSGraphicsPixmapModel_ID<id>.png" in the working folder. The model name is the name
/// of the node the image belongs to.
class TSGraphicsPixmapModel : public TSModel
{
public:
    static constexpr const char* kClassName = "TSGraphicsPixmapModel";

    TSGraphicsPixmapModel();

    /// A new model (owned by the caller) from the state of a canvas image item.
    static TSGraphicsPixmapModel* fromItemState(const QPointF& pos, qreal z, const QTransform& transform,
                                                qreal rotation, const QImage& image);

    QString assetName() const;
    void setAssetName(const QString& name);
    QPointF pos() const;
    void setPos(const QPointF& pos);
    float z() const;
    void setZ(float z);
    QPointF scale() const;
    float rotation() const;
    QStringList tags() const;
    void setTags(const QStringList& tags);
    /// The item transform rebuilt from m11 … m33.
    QTransform transform() const;
    void setTransform(const QTransform& transform);

    /// Id of the sprite container that animates the image; 0 for a still image.
    int spriteId() const { return m_spriteId; }
    void setSpriteId(int id) { m_spriteId = id; }

    /// The picture as stored, without the colour adjustment.
    QImage image() const { return m_image; }
    void setImage(const QImage& image) { m_image = image; }
    /// The colour adjustment the image is shown with. Stored only when it changes something,
    /// under "Brightness", "Contrast", "Hue", "Saturation" and "Opacity" beside "spriteId".
    ColorAdjustment adjustment() const { return m_adjustment; }
    void setAdjustment(const ColorAdjustment& adjustment) { m_adjustment = adjustment; }
    /// The picture with the colour adjustment applied.
    QImage adjustedImage() const;
    QString imagePath() const;

    cocos2d::CCDictionary* attributesDictionary() override;
    void loadAttributes(cocos2d::CCDictionary* dict) override;
    QString imageFilePath() const override { return imagePath(); }
    QImage pictureForFile() const override { return m_image; }
    void takePictureFromFile(const QImage& picture) override { m_image = picture; }

private:
    TSPAttributeString* m_assetName;
    TSPAttributePoint* m_pos;
    TSPAttributeFloat* m_z;
    TSPAttributePoint* m_scale;
    TSPAttributeFloat* m_rotation;
    TSPAttributeString* m_tags;
    TransformAttributes::Matrix m_matrix;
    int m_spriteId = 0;
    QImage m_image;
    ColorAdjustment m_adjustment;
};
