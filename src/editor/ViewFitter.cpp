#include "ViewFitter.h"

#include "TSGraphicsView.h"

#include <QEvent>

ViewFitter::ViewFitter(TSGraphicsView* view, std::function<QRectF()> frame, QObject* parent)
    : QObject(parent), m_view(view), m_frame(std::move(frame))
{
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
}

void ViewFitter::fit()
{
    m_view->fitRect(m_frame());
    m_keep = true;
}

bool ViewFitter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (m_keep && watched == m_view->viewport()) {
            m_view->fitRect(m_frame());
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        // The user takes the view over.
        m_keep = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
