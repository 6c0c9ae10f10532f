#include "TSAnimationEditorTimelineWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

TSAnimationEditorTimelineWidget::TSAnimationEditorTimelineWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("timeline"));
    setMinimumHeight(29);
    setMouseTracking(false);
    // A click on the timeline gives it the keyboard, so Delete acts on its keys.
    setFocusPolicy(Qt::ClickFocus);
    m_keyFlags.fill(0, m_frameCount);
}

void TSAnimationEditorTimelineWidget::setFrameCount(int count)
{
    m_frameCount = std::max(1, count);
    m_keyFlags.resize(m_frameCount);
    m_currentFrame = std::min(m_currentFrame, m_frameCount - 1);
    update();
}

void TSAnimationEditorTimelineWidget::setCurrentFrame(int frame)
{
    m_currentFrame = std::clamp(frame, 0, m_frameCount - 1);
    update();
}

void TSAnimationEditorTimelineWidget::setKeyFrames(const QList<int>& frames)
{
    m_keyFlags.fill(0, m_frameCount);
    for (int frame : frames) {
        if (frame >= 0 && frame < m_frameCount) {
            m_keyFlags[frame] = 1;
        }
    }
    update();
}

double TSAnimationEditorTimelineWidget::cellWidth() const
{
    return static_cast<double>(width()) / m_frameCount;
}

int TSAnimationEditorTimelineWidget::frameAt(int x) const
{
    return std::clamp(static_cast<int>(std::floor(x / cellWidth())), 0, m_frameCount - 1);
}

void TSAnimationEditorTimelineWidget::pick(int x)
{
    const int frame = frameAt(x);
    if (frame != m_currentFrame) {
        m_currentFrame = frame;
        update();
    }
    Q_EMIT frameChanged(frame);
}

void TSAnimationEditorTimelineWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pick(event->pos().x());
    }
}

void TSAnimationEditorTimelineWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        pick(event->pos().x());
    }
}

void TSAnimationEditorTimelineWidget::enterEvent(QEvent*)
{
    // Delete acts on the timeline while the mouse is over it.
    setFocus(Qt::MouseFocusReason);
}

void TSAnimationEditorTimelineWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(36, 36, 36));
    const double cell = cellWidth();
    const int h = height();
    for (int f = 0; f < m_frameCount; ++f) {
        const QRectF box(f * cell, 0, cell, h);
        if (f % 10 == 0) {
            painter.fillRect(box.adjusted(0, 0, 0, 0), QColor(44, 44, 44));
        }
        painter.setPen(QColor(52, 52, 52));
        painter.drawLine(QPointF(box.left(), h * 0.55), QPointF(box.left(), h));
        if (m_keyFlags.value(f)) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(242, 197, 90));
            const QPointF c = box.center();
            const double r = std::min(cell * 0.35, h * 0.22);
            painter.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - r), QPointF(c.x() + r, c.y()),
                                           QPointF(c.x(), c.y() + r), QPointF(c.x() - r, c.y())}));
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
    }
    const QRectF head(m_currentFrame * cell, 0, std::max(2.0, cell), h);
    painter.fillRect(head, QColor(242, 197, 90, 70));
    painter.fillRect(QRectF(head.left(), 0, 2, h), QColor(242, 197, 90));
    painter.setPen(QColor(150, 150, 150));
    for (int f = 0; f < m_frameCount; f += 10) {
        painter.drawText(QRectF(f * cell + 3, 1, 40, h * 0.5), Qt::AlignLeft | Qt::AlignTop, QString::number(f));
    }
}
