#pragma once

#include <QLabel>

/// A label that paints its pixmap scaled to fit, aspect ratio kept, centred.
class BackgroundImage : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};
