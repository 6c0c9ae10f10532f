#include "CurveEditorBinding.h"

#include "DocumentController.h"
#include "EditController.h"
#include "HistoryManager.h"
#include "ObjectManipulator.h"
#include "Skeleton.h"
#include "TSAnimationCurveEditor.h"

#include <QSignalBlocker>

CurveEditorBinding::CurveEditorBinding(TSAnimationCurveEditor* editor, EditController* selection,
                                       Skeleton* skeleton, ObjectManipulator* manipulator,
                                       HistoryManager* history, DocumentController* document, QObject* parent)
    : QObject(parent), m_editor(editor), m_selection(selection), m_skeleton(skeleton), m_history(history)
{
    // Every change of what the editor's curves are comes through here before the editor paints
    // again, so it never shows tracks that are gone.
    connect(manipulator, &ObjectManipulator::targetChanged, this, &CurveEditorBinding::refresh);
    connect(history, &HistoryManager::keysChanged, this, &CurveEditorBinding::refresh);
    connect(history, &HistoryManager::animationLengthChanged, this, &CurveEditorBinding::refresh);
    connect(document, &DocumentController::currentAnimationChanged, this, &CurveEditorBinding::refresh);
    connect(skeleton, &Skeleton::animationCurveChanged, this, &CurveEditorBinding::refresh);
    connect(skeleton, &Skeleton::newFrame, this, &CurveEditorBinding::setPlayheadFrame);
    connect(editor, &TSAnimationCurveEditor::animationCurveChanged, this, &CurveEditorBinding::curveChanged);
    connect(editor, &TSAnimationCurveEditor::keyframeAdded, this,
            [this] { curveChanged(m_editor->currentCurve()); });
    refresh();
}

int CurveEditorBinding::partnerOf(int channel)
{
    switch (channel) {
    case AnimatedObject::LocationX:
        return AnimatedObject::LocationY;
    case AnimatedObject::LocationY:
        return AnimatedObject::LocationX;
    case AnimatedObject::ScaleX:
        return AnimatedObject::ScaleY;
    case AnimatedObject::ScaleY:
        return AnimatedObject::ScaleX;
    default:
        return -1;
    }
}

void CurveEditorBinding::setChannel(int channel)
{
    if (channel >= 0 && channel < AnimatedObject::kChannelCount && channel != m_channel) {
        m_channel = channel;
        refresh();
    }
}

TSAnimationCurve* CurveEditorBinding::shownChannel() const
{
    AnimatedObject* tracks = m_selection ? m_selection->selectedTracks() : nullptr;
    return tracks ? &tracks->channel(m_channel) : nullptr;
}

void CurveEditorBinding::refresh()
{
    if (!m_editor || !m_skeleton) {
        return;
    }
    const QSignalBlocker blocker(m_editor);
    AnimatedObject* tracks = m_selection ? m_selection->selectedTracks() : nullptr;
    // The curves first: the tracks the editor showed may have been replaced already.
    m_editor->clearSecondCurves();
    m_editor->setCurve(tracks ? &tracks->channel(m_channel) : nullptr);
    if (tracks && partnerOf(m_channel) >= 0) {
        m_editor->addSecondCurve(&tracks->channel(partnerOf(m_channel)));
    }
    if (m_editor->frameCount() != m_skeleton->frameCount()) {
        m_editor->setFrameCount(m_skeleton->frameCount());
    }
}

void CurveEditorBinding::setPlayheadFrame(int frame)
{
    if (m_editor) {
        m_editor->setPlayheadFrame(frame);
    }
}

void CurveEditorBinding::curveChanged(TSAnimationCurve* curve)
{
    TSAnimationCurve* channel = shownChannel();
    if (channel && curve && curve != channel && curve == m_editor->currentCurve()) {
        // The editor copied a preset to edit it: the channel takes the copy's keys and is edited
        // from now on.
        channel->setKeys(curve->keys(), curve->keyCount());
        channel->setPreset(TSAnimationCurve::kCustomPreset);
        m_editor->setCurve(channel);
    }
    if (m_history) {
        m_history->refreshSkeleton();
    }
}
