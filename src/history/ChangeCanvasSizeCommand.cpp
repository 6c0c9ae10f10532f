#include "ChangeCanvasSizeCommand.h"

#include "AnimationCanvas.h"

ChangeCanvasSizeCommand::ChangeCanvasSizeCommand(AnimationCanvas* canvas, const QRectF& from, const QRectF& to,
                                                 bool applied)
    : HistoryCommand(QStringLiteral("Change canvas size"), applied), m_canvas(canvas), m_from(from), m_to(to)
{
}

void ChangeCanvasSizeCommand::apply()
{
    if (m_canvas) {
        m_canvas->setCanvasRect(m_to);
    }
}

void ChangeCanvasSizeCommand::revert()
{
    if (m_canvas) {
        m_canvas->setCanvasRect(m_from);
    }
}
