#pragma once

#include "CCGeometry.h"
#include "TSLevelEditorDropElementType.h"

#include <QGraphicsView>
#include <QList>
#include <QUrl>

class TSAssetsSpriteGraphicsItem;
class TSDropZone;
class TSGraphicsButton;
class TSGraphicsLinker;
class TSGraphicsNode;
class TSGraphicsObject;
class TSModel;

/// The canvas view: wheel zoom about the cursor, Space and middle-button panning, the dark
/// background grid, the drop overlay, overlay buttons in the top-right corner and the canvas
/// shortcuts, all turned into signals.
class TSGraphicsView : public QGraphicsView
{
    Q_OBJECT

public:
    static constexpr float kMaxZoom = 6.0f;
    static constexpr float kMinZoom = 0.15f;

    explicit TSGraphicsView(QWidget* parent = nullptr);
    ~TSGraphicsView() override;

    float zoomFactor() const { return m_zoomFactor; }
    /// Stores the factor, makes the transform a uniform scale by it and emits scaleChanged.
    void setZoom(float factor);
    /// Back to factor 1 with the origin in the middle.
    void resetZoom();
    /// Shows rect with a tenth of its size around it, as large as the viewport allows.
    void fitRect(const QRectF& rect);

    QList<TSGraphicsButton*> buttons() const { return m_buttons; }
    /// Adds an overlay button (its QObject parent becomes the view).
    TSGraphicsButton* addButton(const QIcon& icon, const QString& toolTip);
    void layoutButtons();

    /// Registers a drop zone (not owned).
    void addDropZone(TSDropZone* zone) { m_dropZones.append(zone); }
    bool isOriginMarkerShown() const { return m_originMarkerShown; }
    void setOriginMarkerShown(bool shown);
    bool isDragHovering() const { return m_dragHover; }
    bool isPanning() const { return dragMode() == ScrollHandDrag; }

    /// The first local file among urls that is not a PNG image, or an empty string.
    static QString firstNonPngFile(const QList<QUrl>& urls);
    /// The grid step the background uses for a painter transform: 20 when 60 scene units are
    /// 61 pixels or more, else 60.
    static int gridStep(const QTransform& worldTransform);

Q_SIGNALS:
    void mousePressSignal(QMouseEvent* event);
    void mouseReleaseSignal(QMouseEvent* event);
    void mouseMoveSignal(QMouseEvent* event);
    void dragEnterSignal(QDragEnterEvent* event);
    void dragMoveSignal(QDragMoveEvent* event);
    void dropSignal(QDropEvent* event);
    void wheelEventSignal(QWheelEvent* event);
    void dropImages(QList<QUrl> urls, TSLevelEditorDropElementType type);
    void dropModel(TSModel* obj, cocos2d::CCPoint pos);
    void dropClassName(QString className, cocos2d::CCPoint pos);
    void customContextMenuRequested(QMouseEvent* event);
    void objectDidSelected(TSGraphicsObject* object, QPointF selectionPoint);
    void objectDidSelected(TSGraphicsObject* object);
    void objectDidMoved(TSGraphicsObject* object);
    void nodeDidSelected(TSGraphicsNode* node);
    void linkerDidSelected(TSGraphicsLinker* linker);
    void spriteDidSelected(TSAssetsSpriteGraphicsItem* sprite);
    void nodeStartEditing(TSGraphicsNode* node);
    void scaleChanged(float scale);
    void copyPressed();
    void pastePressed();
    void buttonPressed(Qt::Key key);
    void buttonReleased(Qt::Key key);
    /// A drag left the view or was dropped (after the drop's own signals).
    void dragEnded();
    /// Space was pressed and let go without panning in between (a tap, as to play or pause).
    void spaceTapped();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    bool offerPressToButtons(const QPoint& pos);
    /// The shown button under pos (viewport pixels), or null.
    TSGraphicsButton* buttonAt(const QPoint& pos) const;
    void showButtonTip(const TSGraphicsButton* button, const QPoint& globalPos);
    void dispatchLeftPress(QMouseEvent* event);
    /// The signal a drop of this kind of data stands for.
    void emitDrop(QDropEvent* event);
    void startHandDrag();
    void endHandDrag();
    void drawDropOverlay(QPainter* painter);

    QList<TSDropZone*> m_dropZones;
    QList<TSGraphicsButton*> m_buttons;
    TSLevelEditorDropElementType m_hoveredDropType = TSLevelEditorDropElementNone;
    bool m_originMarkerShown = false;
    bool m_dragHover = false;
    float m_zoomFactor = 1.0f;
    bool m_middlePanning = false;
    /// Space is held and no mouse button has been pressed since (so no panning happened).
    bool m_spaceTap = false;
};
