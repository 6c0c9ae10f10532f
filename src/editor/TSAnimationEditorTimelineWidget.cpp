#include "TSAnimationEditorTimelineWidget.h"

#include "ScreenScale.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBackground(32, 32, 32);
const QColor kCellPen(75, 75, 75);
const QColor kCellBrush(22, 22, 22);
const QColor kKeyColour(QStringLiteral("#00f07f"));
const QColor kRuler(75, 75, 75);
const QColor kPlayhead(255, 178, 42);

/// The timeline's height at a screen scale of 1.
constexpr double kHeight = 29.0;

/// Narrower cells than this (times the screen scale) are merged, several frames to a cell.
constexpr double kMinCellPixels = 3.0;

bool isDeleteKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
}

} // namespace

TSAnimationEditorTimelineWidget::TSAnimationEditorTimelineWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("timeline"));
    // 29 pixels on a 96 DPI screen: the marks, cells and ruler are laid out in halves of it.
    setMinimumHeight(static_cast<int>(std::lround(kHeight * ScreenScale::of(this))));
    setMouseTracking(false);
    // The timeline takes the keyboard when the mouse enters it (and on a click), so that Delete
    // acts on its keys.
    setFocusPolicy(Qt::ClickFocus);
    setKeyFrames({});
}

void TSAnimationEditorTimelineWidget::setFrameCount(int count)
{
    m_frameCount = std::max(1, count);
    if (m_currentFrame >= m_frameCount) {
        m_currentFrame = m_frameCount - 1;
    }
    if (m_selectedKey >= m_frameCount) {
        m_selectedKey = -1;
    }
    QList<int> frames;
    for (int f = 0; f < std::min(m_frameCount, m_keyFlags.size()); ++f) {
        if (m_keyFlags.at(f)) {
            frames.append(f);
        }
    }
    setKeyFrames(frames);
}

void TSAnimationEditorTimelineWidget::setCurrentFrame(int frame)
{
    m_currentFrame = std::clamp(frame, 0, m_frameCount - 1);
    update();
    Q_EMIT frameChanged(m_currentFrame);
}

void TSAnimationEditorTimelineWidget::setKeyFrames(const QList<int>& frames)
{
    m_keyFlags.fill(0, m_frameCount);
    for (int frame : frames) {
        if (frame >= 0 && frame < m_frameCount) {
            m_keyFlags[frame] = 1;
        }
    }
    m_keysBefore.resize(m_frameCount + 1);
    m_keysBefore[0] = 0;
    for (int f = 0; f < m_frameCount; ++f) {
        m_keysBefore[f + 1] = m_keysBefore.at(f) + m_keyFlags.at(f);
    }
    update();
}

int TSAnimationEditorTimelineWidget::keysIn(int first, int last) const
{
    return m_keysBefore.at(last) - m_keysBefore.at(first);
}

int TSAnimationEditorTimelineWidget::selectedKeyOrdinal() const
{
    if (m_selectedKey < 0 || m_selectedKey >= m_frameCount || !m_keyFlags.at(m_selectedKey)) {
        return -1;
    }
    return m_keysBefore.at(m_selectedKey);
}

double TSAnimationEditorTimelineWidget::cellWidth() const
{
    return static_cast<double>(width()) / m_frameCount;
}

double TSAnimationEditorTimelineWidget::halfHeight() const
{
    return (height() - 1) * 0.5;
}

int TSAnimationEditorTimelineWidget::frameAt(int x) const
{
    return std::clamp(static_cast<int>(x / cellWidth()), 0, m_frameCount - 1);
}

// Mouse and keys -------------------------------------------------------------------------------

void TSAnimationEditorTimelineWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int frame = frameAt(event->pos().x());
    if (event->pos().y() < halfHeight()) {
        m_dragMode = MovingPlayhead;
        setCurrentFrame(frame);
    } else if (m_keyFlags.at(frame)) {
        m_dragMode = MovingKey;
        m_keyMoved = false;
        m_selectedKey = frame;
        update();
    }
}

void TSAnimationEditorTimelineWidget::mouseMoveEvent(QMouseEvent* event)
{
    const int frame = frameAt(event->pos().x());
    if (m_dragMode == MovingPlayhead) {
        if (frame != m_currentFrame) {
            setCurrentFrame(frame);
        }
    } else if (m_dragMode == MovingKey && frame != m_selectedKey && !m_keyFlags.at(frame)) {
        // A key is never dropped onto another key.
        const int from = m_selectedKey;
        QList<int> frames;
        for (int f = 0; f < m_frameCount; ++f) {
            if (m_keyFlags.at(f) && f != from) {
                frames.append(f);
            }
        }
        frames.append(frame);
        setKeyFrames(frames);
        m_selectedKey = frame;
        m_keyMoved = true;
        Q_EMIT frameMoved(from, frame);
    }
}

void TSAnimationEditorTimelineWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const bool finishedMove = m_dragMode == MovingKey && m_keyMoved;
    m_dragMode = NoDrag;
    m_keyMoved = false;
    if (finishedMove) {
        Q_EMIT keyMoveFinished();
    }
    QWidget::mouseReleaseEvent(event);
}

void TSAnimationEditorTimelineWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        Q_EMIT frameCreateRequest(static_cast<int>(event->pos().x() / cellWidth()));
    }
}

void TSAnimationEditorTimelineWidget::keyPressEvent(QKeyEvent* event)
{
    if (isDeleteKey(event) && selectedKeyOrdinal() >= 0) {
        Q_EMIT frameDeleteRequest(selectedKeyOrdinal());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TSAnimationEditorTimelineWidget::event(QEvent* event)
{
    // With a key picked, Delete is the timeline's, not the window's shortcut.
    if (event->type() == QEvent::ShortcutOverride && isDeleteKey(static_cast<QKeyEvent*>(event)) &&
        selectedKeyOrdinal() >= 0) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void TSAnimationEditorTimelineWidget::enterEvent(QEvent*)
{
    setFocus(Qt::MouseFocusReason);
}

// Painting -------------------------------------------------------------------------------------

void TSAnimationEditorTimelineWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double s = ScreenScale::of(this);
    const QRectF r = QRectF(rect()).adjusted(0, 0, -1, -1);
    const double h = r.height();
    painter.fillRect(r, kBackground);

    const int n = m_frameCount;
    const double step = (r.width() - 2 * s) / n;
    // Frames to a cell: one, unless cells would get too narrow to see.
    const int group = step >= kMinCellPixels * s ? 1 : static_cast<int>(std::ceil(kMinCellPixels * s / step));
    const double cellHeight = std::max(1.0, h * 0.5 - 3 * s);
    const auto cellX = [&](int frame) { return 2 * s + (frame / group) * group * step; };
    const auto cellWidthFrom = [&](int first) {
        return std::max(1.0, (std::min(n, first + group) - first) * step - 2 * s);
    };

    for (int first = 0; first < n; first += group) {
        const int last = std::min(n, first + group);
        const bool hasKey = keysIn(first, last) > 0;
        const bool selected =
            hasKey && m_selectedKey >= first && m_selectedKey < last && m_keyFlags.at(m_selectedKey);
        // A key: a green frame, filled when it is the picked key.
        painter.setPen(hasKey ? kKeyColour : kCellPen);
        painter.setBrush(selected ? kKeyColour : kCellBrush);
        painter.drawRect(QRectF(cellX(first), s + h * 0.5, cellWidthFrom(first), cellHeight));
    }

    // The ruler: every tenth frame, or every 20th, 50th, 100th ... when the numbers would crowd.
    QFont font = painter.font();
    font.setPixelSize(std::max(7, static_cast<int>(std::lround(9 * s))));
    painter.setFont(font);
    const double labelWidth = painter.fontMetrics().horizontalAdvance(QString::number(n)) + 6 * s;
    int interval = 10;
    for (int i = 0; interval * step < labelWidth + group * step && interval < n; ++i) {
        interval = i % 3 == 1 ? interval * 5 / 2 : interval * 2;
    }
    for (int k = 0; k < n; k += interval) {
        const double x = cellX(k);
        const double w = cellWidthFrom(k / group * group);
        painter.fillRect(QRectF(x, 2 * s, w, cellHeight), kRuler);
        painter.setPen(kRuler);
        painter.drawText(QPointF(x + w + 3 * s, h * 0.5 - 3 * s), QString::number(k));
    }

    painter.setPen(kPlayhead);
    painter.setBrush(kPlayhead);
    painter.drawRect(
        QRectF(cellX(m_currentFrame), 2 * s, cellWidthFrom(m_currentFrame / group * group), cellHeight));

    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r);
}
