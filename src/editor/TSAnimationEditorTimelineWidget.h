#pragma once

#include <QVector>
#include <QWidget>

/// The timeline strip: a ruler with the playhead in its upper half and one cell per frame in its
/// lower half, green where a key sits. A press in the upper half moves the playhead (and a drag
/// scrubs); a press on a key picks it and a drag moves it to free frames; a double click asks
/// for keys on a frame; Delete or Backspace asks to delete the picked key.
///
/// Long animations are drawn with several frames to a cell, so that painting stays cheap
/// whatever the frame count; the mouse still works frame by frame.
class TSAnimationEditorTimelineWidget : public QWidget
{
    Q_OBJECT

public:
    enum DragMode
    {
        NoDrag = 0,
        MovingPlayhead = 1,
        MovingKey = 2
    };

    explicit TSAnimationEditorTimelineWidget(QWidget* parent = nullptr);

    int frameCount() const { return m_frameCount; }
    /// At least one cell: an animation of no length still has the frame it shows.
    void setFrameCount(int count);
    int currentFrame() const { return m_currentFrame; }
    /// Moves the playhead and announces it with frameChanged().
    void setCurrentFrame(int frame);
    /// Marks the frames that hold a key (frames outside the range are left out).
    void setKeyFrames(const QList<int>& frames);
    const QVector<int>& keyFlags() const { return m_keyFlags; }
    /// The frame of the key last picked or dragged, or -1.
    int selectedKey() const { return m_selectedKey; }
    /// The number of keys on frames before the picked key: its index among the marked keys.
    int selectedKeyOrdinal() const;
    DragMode dragMode() const { return m_dragMode; }
    /// The frame under an x position of the widget, within the range.
    int frameAt(int x) const;

    QSize sizeHint() const override { return QSize(759, 29); }

Q_SIGNALS:
    void frameChanged(int frame);
    /// A picked key was dragged from one frame to another.
    void frameMoved(int from, int to);
    /// Delete or Backspace with a key picked: the key's ordinal (selectedKeyOrdinal()).
    void frameDeleteRequest(int ordinal);
    void frameCreateRequest(int frame);
    /// The mouse let go of a key that was moved (one gesture, however many frames it went).
    void keyMoveFinished();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEvent* event) override;

private:
    double cellWidth() const;
    double halfHeight() const;
    /// Keys on frames first to last - 1, from the running count.
    int keysIn(int first, int last) const;

    int m_frameCount = 20;
    int m_currentFrame = 0;
    int m_selectedKey = -1;
    DragMode m_dragMode = NoDrag;
    bool m_keyMoved = false;
    QVector<int> m_keyFlags;
    /// m_keysBefore[f]: keys on frames before f (one more entry than frames).
    QVector<int> m_keysBefore;
};
