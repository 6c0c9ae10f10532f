#pragma once

#include "AnimationCurveEditorInterface.h"

#include <QObject>
#include <QPointer>

class AnimationEditorController;
class TSAnimationCurveEditor;

/// Joins the curve editor widget to the animation editor's controller: the controller's calls go
/// through to the widget while it lives (all but the time range, because the widget lays its
/// time axis out by frames), and the widget's edits go to the controller.
class AnimationCurveEditorAdapter : public QObject, public AnimationCurveEditorInterface
{
    Q_OBJECT

public:
    /// Owned by controller, so that it lives as long as the controller may call it.
    AnimationCurveEditorAdapter(TSAnimationCurveEditor* editor, AnimationEditorController* controller);

    void setCurve(TSAnimationCurve* curve) override;
    void addSecondCurve(TSAnimationCurve* curve) override;
    void clearSecondCurves() override;
    void setValueScale(double) override {}
    /// Refits only for a new length: the controller hands it over on every refresh, and a
    /// refit would forget the user's zoom.
    void setFrameCount(int frames) override;
    void setPlayheadFrame(int frame) override;
    void setMaxTime(float) override {}
    void refit() override;
    void refresh() override;
    void addKeyAtFrame(int frame) override;
    void addKey(int frame, float value) override;
    void removeKeySelection() override;
    QList<int> selectedKeyIndices() const override;
    TSAnimationCurve* currentCurve() const override;

private:
    QPointer<TSAnimationCurveEditor> m_editor;
};
