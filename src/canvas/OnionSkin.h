#pragma once

#include "TSApplicationSettings.h"

#include <QColor>
#include <QGraphicsItem>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QTransform>

class Skeleton;

/// The poses around the current frame, drawn faded behind the skeleton's images: copies of the
/// images as they are a few frames before (tinted red) and after (tinted green), fainter the
/// farther they are. An aid for the eye only: the item takes no mouse buttons, cannot be
/// selected, is hidden while the animation plays, and renders and exports leave it out (it is
/// marked as an editor overlay).
///
/// The copies are posed from the tracks without touching the skeleton's own items.
class OnionSkin : public QGraphicsItem
{
public:
    /// On or off, the copies before and after the current frame and the frames between them,
    /// as the user keeps them.
    using Settings = TSApplicationSettings::OnionSkin;

    /// One image of one pose, as it is drawn.
    struct Copy
    {
        int frame = 0;
        /// The image's picture as drawn here (tinted).
        QPixmap pixmap;
        /// The image's scene transform at that frame.
        QTransform transform;
        qreal opacity = 1.0;
        QColor tint;
    };

    static constexpr int kMaxCopies = 10;
    static constexpr int kMaxStep = 100;
    static const QColor kBeforeTint;
    static const QColor kAfterTint;

    explicit OnionSkin(Skeleton* skeleton, QGraphicsItem* parent = nullptr);

    Settings settings() const { return m_settings; }
    /// Takes the settings (counts limited to kMaxCopies, the step to 1 … kMaxStep) and shows
    /// the poses around the frame last shown.
    void setSettings(const Settings& settings);
    /// Hides the copies while playing; stopping shows them around the frame last shown.
    void setPlaying(bool playing);
    bool isPlaying() const { return m_playing; }
    /// Poses the copies around frame (nothing while off or playing).
    void showAround(int frame);
    /// Poses them again around the same frame (after an edit).
    void refresh() { showAround(m_frame); }
    int currentFrame() const { return m_frame; }
    /// What is drawn, farthest first.
    const QList<Copy>& copies() const { return m_copies; }
    /// The frames shown, farthest first.
    QList<int> frames() const;

    QRectF boundingRect() const override { return m_bounds; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QPixmap tinted(const QPixmap& pixmap, const QColor& tint);
    void rebuild();

    QPointer<Skeleton> m_skeleton;
    Settings m_settings;
    bool m_playing = false;
    int m_frame = 0;
    QList<Copy> m_copies;
    QRectF m_bounds;
    /// Tinted pictures by picture and tint.
    QHash<QPair<qint64, QRgb>, QPixmap> m_tinted;
};
