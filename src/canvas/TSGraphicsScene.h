#pragma once

#include <QColor>
#include <QGraphicsScene>
#include <QSize>

/// The canvas scene: re-emits its mouse events for the rubber-band selector and can frame a
/// fixed-size screen area standing on the origin.
class TSGraphicsScene : public QGraphicsScene
{
    Q_OBJECT

public:
    explicit TSGraphicsScene(QObject* parent = nullptr);

    bool isFrameShown() const { return m_frameShown; }
    void setFrameShown(bool shown);
    QColor frameColor() const { return m_frameColor; }
    void setFrameColor(const QColor& color) { m_frameColor = color; }
    QSize frameSize() const { return m_frameSize; }
    void setFrameSize(const QSize& size);

    QGraphicsItem* manipulator() const { return m_manipulator; }
    /// Stores the object manipulator and adds it to the scene.
    void setManipulator(QGraphicsItem* manipulator);

Q_SIGNALS:
    void mousePressSignal(QGraphicsSceneMouseEvent* event);
    void mouseMoveSignal(QGraphicsSceneMouseEvent* event);
    void mouseReleaseSignal(QGraphicsSceneMouseEvent* event);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    bool m_frameShown = false;
    QColor m_frameColor;
    QSize m_frameSize = QSize(1136, 640);
    QGraphicsItem* m_manipulator = nullptr;
};
