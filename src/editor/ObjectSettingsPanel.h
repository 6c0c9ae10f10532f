#pragma once

#include <QWidget>

class QGraphicsItem;
class QLabel;
class Skeleton;
class QPushButton;

/// The object settings column: what is selected and its pose, and a hint area at the bottom.
class ObjectSettingsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ObjectSettingsPanel(QWidget* parent = nullptr);

    /// Shows the selection's name and pose (scene pixels and degrees).
    void showSelection(const QString& kind, const QString& name, const QPointF& position, double rotation,
                       const QPointF& scale);
    /// Shows a joint's or an image's name and pose.
    void showItem(const Skeleton* skeleton, const QGraphicsItem* item);
    /// A hint with an optional button; an empty text hides the hint.
    void setHint(const QString& text, const QString& buttonText = QString());
    QString hint() const;

Q_SIGNALS:
    void hintButtonClicked();

private:
    QLabel* m_title;
    QLabel* m_values;
    QLabel* m_hint;
    QPushButton* m_hintButton;
};
