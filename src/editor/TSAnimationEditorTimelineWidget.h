#pragma once

#include <QVector>
#include <QWidget>

/// The timeline strip: one cell per frame, a mark on frames that hold a key, and the playhead.
/// Clicking or dragging moves the playhead.
class TSAnimationEditorTimelineWidget : public QWidget
{
    Q_OBJECT

public:
    explicit TSAnimationEditorTimelineWidget(QWidget* parent = nullptr);

    int frameCount() const { return m_frameCount; }
    void setFrameCount(int count);
    int currentFrame() const { return m_currentFrame; }
    /// Moves the playhead without announcing it (playback drives it).
    void setCurrentFrame(int frame);
    /// Marks the frames that hold a key.
    void setKeyFrames(const QList<int>& frames);
    const QVector<int>& keyFlags() const { return m_keyFlags; }
    /// The frame under an x position of the widget.
    int frameAt(int x) const;

    QSize sizeHint() const override { return QSize(759, 29); }

Q_SIGNALS:
    void frameChanged(int frame);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;

private:
    double cellWidth() const;
    void pick(int x);

    int m_frameCount = 20;
    int m_currentFrame = 0;
    QVector<int> m_keyFlags;
};
