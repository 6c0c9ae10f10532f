#include "TSGraphicsButton.h"

#include <QPainter>
#include <QWidget>

TSGraphicsButton::TSGraphicsButton(QWidget* view, const QSize& size) : QObject(view), m_rect(QPoint(0, 0), size) {}

QWidget* TSGraphicsButton::view() const
{
    return qobject_cast<QWidget*>(parent());
}

void TSGraphicsButton::setIcon(const QIcon& icon)
{
    m_icon = icon;
    if (view()) {
        view()->update();
    }
}

void TSGraphicsButton::setChecked(bool checked)
{
    if (m_checked == checked) {
        return;
    }
    m_checked = checked;
    Q_EMIT toggled(checked);
    if (view()) {
        view()->update();
    }
}

bool TSGraphicsButton::setHovered(bool hovered)
{
    if (m_hovered == hovered) {
        return false;
    }
    m_hovered = hovered;
    return true;
}

void TSGraphicsButton::setEnabled(bool on)
{
    m_enabled = on;
    if (view()) {
        view()->update();
    }
}

void TSGraphicsButton::paint(QPainter* painter) const
{
    if (!m_enabled) {
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_checked ? m_checkedColor : QColor(80, 80, 80));
    painter->drawRoundedRect(m_rect, 25, 25, Qt::RelativeSize);
    const QIcon::Mode mode = m_checked ? QIcon::Selected : (m_hovered ? QIcon::Active : QIcon::Normal);
    m_icon.paint(painter, m_rect.adjusted(3, 3, -3, -3), Qt::AlignCenter, mode);
    painter->restore();
}
