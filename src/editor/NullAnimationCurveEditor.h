#pragma once

#include "AnimationCurveEditorInterface.h"

/// Stands in for the curve editor where there is none: every call does nothing.
class NullAnimationCurveEditor : public AnimationCurveEditorInterface
{
public:
    void setCurve(TSAnimationCurve*) override {}
    void addSecondCurve(TSAnimationCurve*) override {}
    void clearSecondCurves() override {}
    void setValueScale(double) override {}
    void setFrameCount(int) override {}
    void setPlayheadFrame(int) override {}
    void setMaxTime(float) override {}
    void refit() override {}
    void refresh() override {}
    void addKeyAtFrame(int) override {}
    void addKey(int, float) override {}
    void removeKeySelection() override {}
    QList<int> selectedKeyIndices() const override { return {}; }
    TSAnimationCurve* currentCurve() const override { return nullptr; }
};
