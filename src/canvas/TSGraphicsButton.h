#pragma once

#include <QColor>
#include <QIcon>
#include <QObject>
#include <QRect>

class QPainter;

/// A toggle button painted over the canvas view's top-right corner.
class TSGraphicsButton : public QObject
{
    Q_OBJECT

public:
    explicit TSGraphicsButton(QWidget* view, const QSize& size = QSize(28, 28));

    QIcon icon() const { return m_icon; }
    void setIcon(const QIcon& icon);
    QRect rect() const { return m_rect; }
    void setRect(const QRect& rect) { m_rect = rect; }
    bool isChecked() const { return m_checked; }
    /// Emits toggled() and repaints the view only when the state changes.
    void setChecked(bool checked);
    QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString& text) { m_toolTip = text; }
    bool isEnabled() const { return m_enabled; }
    bool isHovered() const { return m_hovered; }
    /// Returns whether the flag changed.
    bool setHovered(bool hovered);
    QColor checkedColor() const { return m_checkedColor; }
    void setCheckedColor(const QColor& color) { m_checkedColor = color; }

    void paint(QPainter* painter) const;

public Q_SLOTS:
    /// Shows (true) or hides (false) the button.
    void setEnabled(bool on);

Q_SIGNALS:
    void toggled(bool on);

private:
    QWidget* view() const;

    QIcon m_icon;
    QRect m_rect;
    bool m_checked = false;
    QString m_toolTip;
    bool m_enabled = true;
    bool m_hovered = false;
    QColor m_checkedColor = QColor(255, 168, 3);
};
