#pragma once

#include <QObject>
#include <QRectF>

#include <functional>

class TSGraphicsView;

/// Fits the canvas frame into the view, and keeps it fitted while the view changes size until
/// the user first zooms or pans: a window is often given its final size (maximised, restored,
/// laid out) only after it is shown, and a fit made before then would show the frame cut off.
class ViewFitter : public QObject
{
    Q_OBJECT

public:
    ViewFitter(TSGraphicsView* view, std::function<QRectF()> frame, QObject* parent = nullptr);

    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSGraphicsView* m_view;
    std::function<QRectF()> m_frame;
    bool m_keep = false;
};
