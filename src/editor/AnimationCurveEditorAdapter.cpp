#include "AnimationCurveEditorAdapter.h"

#include "AnimationEditorController.h"
#include "TSAnimationCurveEditor.h"

AnimationCurveEditorAdapter::AnimationCurveEditorAdapter(TSAnimationCurveEditor* editor,
                                                         AnimationEditorController* controller)
    : QObject(controller), m_editor(editor)
{
    connect(editor, &TSAnimationCurveEditor::animationCurveChanged, controller,
            &AnimationEditorController::curveEdited);
    connect(editor, &TSAnimationCurveEditor::keyframeAdded, controller,
            [editor, controller] { controller->curveEdited(editor->currentCurve()); });
}

void AnimationCurveEditorAdapter::setCurve(TSAnimationCurve* curve)
{
    if (m_editor) {
        m_editor->setCurve(curve);
    }
}

void AnimationCurveEditorAdapter::addSecondCurve(TSAnimationCurve* curve)
{
    if (m_editor) {
        m_editor->addSecondCurve(curve);
    }
}

void AnimationCurveEditorAdapter::clearSecondCurves()
{
    if (m_editor) {
        m_editor->clearSecondCurves();
    }
}

void AnimationCurveEditorAdapter::setFrameCount(int frames)
{
    if (m_editor && frames != m_editor->frameCount()) {
        m_editor->setFrameCount(frames);
    }
}

void AnimationCurveEditorAdapter::setPlayheadFrame(int frame)
{
    if (m_editor) {
        m_editor->setPlayheadFrame(frame);
    }
}

void AnimationCurveEditorAdapter::refit()
{
    if (m_editor) {
        m_editor->refit();
    }
}

void AnimationCurveEditorAdapter::refresh()
{
    if (m_editor) {
        m_editor->refresh();
    }
}

void AnimationCurveEditorAdapter::addKeyAtFrame(int frame)
{
    if (m_editor) {
        m_editor->addKeyAtFrame(frame);
    }
}

void AnimationCurveEditorAdapter::addKey(int frame, float value)
{
    if (m_editor) {
        m_editor->addKey(frame, value);
    }
}

void AnimationCurveEditorAdapter::removeKeySelection()
{
    if (m_editor) {
        m_editor->removeKeySelection();
    }
}

QList<int> AnimationCurveEditorAdapter::selectedKeyIndices() const
{
    return m_editor ? m_editor->selectedKeyIndices() : QList<int>();
}

TSAnimationCurve* AnimationCurveEditorAdapter::currentCurve() const
{
    return m_editor ? m_editor->currentCurve() : nullptr;
}
