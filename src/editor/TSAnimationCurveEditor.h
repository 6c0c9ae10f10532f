#pragma once

#include "CurveLocation.h"
#include "TSAnimationCurve.h"
#include "TSAnimationCurveEditorAxes.h"
#include "TSAnimationCurveEditorDrag.h"
#include "TSAnimationCurveEditorKeyItem.h"

#include <QImage>
#include <QPointer>
#include <QVector>
#include <QWidget>

#include <memory>
#include <vector>

class HistoryManager;
class TSAnimationCurveEditorSetKeyWidget;

/// The graph of one animated property over time, beside the property rows of the expanded
/// animation editor. It draws the edited curve, its row's second curves in grey, the keys with
/// their handles and the playhead, and edits the keys with the mouse: select by click or
/// rubber band, drag keys (onto frames, values to 0.01 unless Control is held) and handles,
/// move and scale several keys with their box, click on the curve to add a key, Delete to
/// remove the selected ones, the wheel to zoom values, Space and drag to pan, F to frame every
/// key, and a double click for a small form to type a key in.
///
/// Every finished edit is recorded in the undo history (HistoryManager::instance()): a drag as
/// "Edit keyframe" commands in one "Edit keyframes group", an added or deleted key as one
/// command. An undo finds its curve again where the history can (a channel of the skeleton's
/// tracks, in its animation); other curves only while the editor still shows them.
class TSAnimationCurveEditor : public QWidget
{
    Q_OBJECT

public:
    /// Hit-test answers; the box edges combine at its corners.
    enum HitCode
    {
        HitNone = 0,
        HitKey = 0x1,
        HitBoxInside = 0x2,
        HitBoxTop = 0x4,
        HitBoxBottom = 0x8,
        HitBoxLeft = 0x10,
        HitBoxRight = 0x20,
        HitCurve = 0x40,
        HitHandle = 0x80,
    };
    static constexpr int kBoxEdges = HitBoxTop | HitBoxBottom | HitBoxLeft | HitBoxRight;

    explicit TSAnimationCurveEditor(QWidget* parent = nullptr);
    ~TSAnimationCurveEditor() override;

    /// Shows curve (not owned; null shows an empty curve of the editor's own, which the mouse
    /// does not edit). Showing another curve clears the selection and refits; the same one is
    /// only refreshed.
    void setCurve(TSAnimationCurve* curve);
    TSAnimationCurve* currentCurve() const { return m_curve; }
    void addSecondCurve(const TSAnimationCurve* curve);
    void clearSecondCurves();
    const QList<const TSAnimationCurve*>& secondCurves() const { return m_secondCurves; }
    void setFrameCount(int count);
    int frameCount() const { return m_axes.frameCount(); }
    /// The frame is kept as given: a frame count set later (the editor gets one only once it is
    /// shown) moves the playhead onto it, or onto the last frame while there are fewer.
    void setPlayheadFrame(int frame);
    int playheadFrame() const;
    /// Shows every key's value, at least 0.2 around their middle.
    void refit();
    /// Takes the curve's keys again after someone else changed them.
    void refresh();
    /// Adds a key at frame with the curve's value there, keeping its shape; returns its index
    /// (of the key already there, if any). The caller records it.
    int addKeyAtFrame(int frame);
    /// Adds a key at frame with value (splitting the segment it falls in); returns its index.
    int addKey(int frame, float value);
    void removeKeySelection();
    /// Indices of the selected keys, ascending.
    QList<int> selectedKeyIndices() const;

    const TSAnimationCurveEditorAxes& axes() const { return m_axes; }
    const std::vector<TSAnimationCurveEditorKeyItem>& keyItems() const { return m_items; }
    /// What a press at pos would take (a HitCode, edges combined).
    int hitTest(const QPoint& pos) const;
    /// The rectangle around several selected keys; null for fewer.
    QRectF selectionBox() const;
    double hoverTime() const { return m_hoverTime; }
    bool isFineMode() const { return m_fineMode; }
    bool isPanMode() const { return m_panMode; }
    QWidget* playhead() const { return m_playhead; }
    /// The open set-key form, or null.
    TSAnimationCurveEditorSetKeyWidget* setKeyWidget() const;

Q_SIGNALS:
    /// The edited curve stopped being a preset: the editor now edits a custom copy.
    void presetChanged(int preset);
    /// curve's keys changed (after a drag, an added or deleted key, an undo), or the editor now
    /// edits curve instead of a preset.
    void animationCurveChanged(TSAnimationCurve* curve);
    /// A key was double-clicked at position (curve and index), or, with a null curve, a press
    /// that closes any form about a key.
    void keyframeEdit(QPoint position, TSAnimationCurve* curve, int index);
    /// A click on the curve added the key at index.
    void keyframeAdded(int index);

public Q_SLOTS:
    /// Puts key at index into the edited curve (undo and redo of a key edit).
    void onKeyframeChanged(int id, bez3 key);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Gesture
    {
        None,
        Band,
        KeyDrag,
        HandleDrag,
        BoxMove,
        BoxScale,
        CurveClick,
        Pan
    };

    /// A curve an edit was recorded on, to be found again by undo and redo.
    struct RecordedCurve
    {
        TSAnimationCurve* curve = nullptr;
        CurveLocation location;
        QPointer<HistoryManager> history;
    };

    // Keys and items
    std::vector<bez3> keys() const;
    void syncItems();
    void changed();
    int selectedKeyCount() const;
    bool ownsCurve(const TSAnimationCurve* curve) const;
    void takeCustomCopy();

    // Gestures
    void beginPress(QMouseEvent* event);
    void selectUnder(const QPoint& pos);
    void dragHandles(const QPoint& pos);
    void selectInBand();
    void addKeyOnCurve(const QPoint& pos);
    void applyKeys(const std::vector<bez3>& keys);
    void updateHover(const QPoint& pos);
    void showHandleMenu(int index, const QPoint& pos);
    void openSetKeyWidget(const QPoint& pos, int index);
    /// Closes the form; what was typed in a field is written as the field loses the keyboard.
    void closeSetKeyWidget();
    /// Closes the form without writing anything.
    void discardSetKeyWidget();
    void deleteSelectedKeys();
    bool fine(Qt::KeyboardModifiers modifiers) const;
    void setCursorFor(int hit);
    void placePlayhead();

    // History
    RecordedCurve recorded(TSAnimationCurve* curve) const;
    TSAnimationCurve* resolve(const RecordedCurve& target) const;
    void recordKeyEdits(const std::vector<bez3>& before);
    void recordKeys(const QString& text, const QVector<bez3>& after);
    void applyKey(TSAnimationCurve* curve, int index, const bez3& key);
    void applyAllKeys(TSAnimationCurve* curve, const QVector<bez3>& keys);

    TSAnimationCurve* m_curve = nullptr;
    /// Curves the editor made: its empty curve and the custom copies of presets. They live as
    /// long as the editor, so an undo recorded on one never meets a deleted curve.
    std::vector<std::unique_ptr<TSAnimationCurve>> m_ownCurves;
    QList<const TSAnimationCurve*> m_secondCurves;
    std::vector<TSAnimationCurveEditorKeyItem> m_items;
    TSAnimationCurveEditorAxes m_axes;
    /// The current frame as given, maybe beyond the frames the editor has now.
    int m_currentFrame = 0;
    QWidget* m_playhead;
    QPointer<TSAnimationCurveEditorSetKeyWidget> m_setKeyWidget;

    double m_hoverTime = -1.0;
    int m_dragMode = HitNone;
    Gesture m_gesture = Gesture::None;
    QPoint m_lastPos;
    TSAnimationCurveEditorDrag m_drag;
    QRect m_band;
    bool m_fineMode = false;
    bool m_panMode = false;

    bool m_dirty = true;
    QImage m_background;
};
