#pragma once

#include <QGraphicsItem>
#include <QObject>
#include <QRectF>

#include <array>
#include <optional>

class QGraphicsRectItem;
class QGraphicsSimpleTextItem;

/// The output frame: the area that is rendered and exported. Its corners can be dragged (Shift
/// keeps the drag on one axis) and its size label can be clicked to type a size.
class AnimationCanvas : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    static constexpr double kHandleSize = 9.0;
    static constexpr double kLabelPixelSize = 12.0;
    /// The label shows the size times this factor.
    static constexpr double kLabelScale = 0.3;

    explicit AnimationCanvas(QGraphicsItem* parent = nullptr);

    QRectF canvasRect() const { return m_rect; }
    void setCanvasRect(const QRectF& rect);
    /// "%1x%2" of the size times 0.3, rounded half away from zero.
    static QString labelText(const QRectF& rect);
    /// The canvas rectangle for a size typed as the label shows it ("width x height" in output
    /// pixels), about the same centre as rect; nothing when the text is not two positive numbers.
    static std::optional<QRectF> rectForLabelText(const QRectF& rect, const QString& text);
    QGraphicsSimpleTextItem* label() const { return m_label; }
    QGraphicsRectItem* handle(int index) const { return m_handles.at(static_cast<size_t>(index)); }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

public Q_SLOTS:
    void viewZoomChanged(float zoom);

Q_SIGNALS:
    void canvasRectChanged(QRectF newRect);
    void canvasRectChangedFromTo(QRectF sourceRect, QRectF destinationRect);
    void textEditingRequested(QRectF labelRect);

protected:
    bool sceneEventFilter(QGraphicsItem* watched, QEvent* event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    void layout();
    int handleIndex(const QGraphicsItem* item) const;

    QRectF m_rect = QRectF(-256, -256, 512, 512);
    QRectF m_pressRect;
    QPointF m_pressScene;
    QPointF m_grabOffset;
    double m_screenScale = 1.0;
    double m_handleSize = kHandleSize;
    double m_labelSize = kLabelPixelSize;
    std::array<QGraphicsRectItem*, 4> m_handles{};
    QGraphicsSimpleTextItem* m_label;
    int m_dragged = -1;
    float m_zoom = 1.0f;
};
