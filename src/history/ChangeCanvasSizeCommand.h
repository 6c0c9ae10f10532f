#pragma once

#include "HistoryCommand.h"

#include <QPointer>
#include <QRectF>

class AnimationCanvas;

/// "Change canvas size": the output frame's rectangle before and after.
class ChangeCanvasSizeCommand : public HistoryCommand
{
public:
    /// applied: the canvas already shows the new rectangle (its handles were dragged).
    ChangeCanvasSizeCommand(AnimationCanvas* canvas, const QRectF& from, const QRectF& to, bool applied);

protected:
    void apply() override;
    void revert() override;

private:
    QPointer<AnimationCanvas> m_canvas;
    QRectF m_from;
    QRectF m_to;
};
