#include "AnimationEditorController.h"

#include "DocumentController.h"
#include "EditController.h"
#include "HistoryManager.h"
#include "NullAnimationCurveEditor.h"
#include "PixmapPlaceholderItem.h"
#include "Skeleton.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kMoveKeyframe = QStringLiteral("Move keyframe");

} // namespace

AnimationEditorController::AnimationEditorController(Skeleton* skeleton, HistoryManager* history,
                                                     DocumentController* document, EditController* selection,
                                                     QObject* parent)
    : QObject(parent), m_skeleton(skeleton), m_history(history), m_document(document), m_selection(selection),
      m_nullEditor(std::make_unique<NullAnimationCurveEditor>()), m_curveEditor(m_nullEditor.get())
{
    resetSecondCurves();
    if (history) {
        connect(history, &HistoryManager::keysChanged, this, &AnimationEditorController::curvesChanged);
        // A new length gives the curve editor new frames and a new time range.
        connect(history, &HistoryManager::animationLengthChanged, this, &AnimationEditorController::curvesChanged);
    }
    if (skeleton) {
        connect(skeleton, &Skeleton::animationCurveChanged, this, &AnimationEditorController::curvesChanged);
    }
}

AnimationEditorController::~AnimationEditorController() = default;

const QStringList& AnimationEditorController::propertyNames()
{
    static const QStringList names = {QStringLiteral("Position X"), QStringLiteral("Position Y"),
                                      QStringLiteral("Rotation"), QStringLiteral("Scale X"),
                                      QStringLiteral("Scale Y")};
    return names;
}

QStringList AnimationEditorController::defaultSecondCurves(int row)
{
    // The other coordinate of a position or a scale; a rotation stands alone.
    static const int partner[] = {1, 0, -1, 4, 3};
    if (row < 0 || row >= 5 || partner[row] < 0) {
        return {};
    }
    return {propertyNames().at(partner[row])};
}

void AnimationEditorController::setCurveEditor(AnimationCurveEditorInterface* editor)
{
    m_curveEditor = editor ? editor : m_nullEditor.get();
    refreshCurveEditor();
}

QList<int> AnimationEditorController::channels() const
{
    return m_expanded ? QList<int>{m_currentRow} : QList<int>{0, 1, 2, 3, 4};
}

AnimatedObject* AnimationEditorController::targetTracks(bool create) const
{
    if (!m_selection || !m_skeleton) {
        return nullptr;
    }
    if (const Skeleton::Node* node = m_selection->selectedNode()) {
        return m_skeleton->tracksOf(node->joint, create);
    }
    if (const Skeleton::Asset* image = m_selection->selectedImage()) {
        return m_skeleton->tracksOf(image->placeholder, create);
    }
    return nullptr;
}

QList<int> AnimationEditorController::keyFrames() const
{
    QList<int> frames;
    if (const AnimatedObject* tracks = targetTracks(false)) {
        for (int channel : channels()) {
            frames += tracks->channel(channel).keyFrames();
        }
    }
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

bool AnimationEditorController::showsCurveView() const
{
    return m_expanded && m_selection && (m_selection->selectedNode() || m_selection->selectedImage());
}

// Rows and the curve editor ----------------------------------------------------------------------

void AnimationEditorController::setExpanded(bool expanded)
{
    if (m_expanded == expanded) {
        return;
    }
    m_expanded = expanded;
    Q_EMIT expandedChanged(expanded);
    if (expanded) {
        m_curveEditor->refit();
    }
    Q_EMIT keyMarksChanged();
    refreshCurveEditor();
}

void AnimationEditorController::setCurrentRow(int row)
{
    if (row < 0 || row >= propertyNames().size() || row == m_currentRow) {
        return;
    }
    m_currentRow = row;
    Q_EMIT keyMarksChanged();
    refreshCurveEditor();
}

void AnimationEditorController::toggleSecondCurve(int row)
{
    if (row >= 0 && row < propertyNames().size()) {
        toggleSecondAttributeCurveByName(propertyNames().at(row));
    }
}

void AnimationEditorController::toggleSecondAttributeCurveByName(const QString& name)
{
    if (!propertyNames().contains(name)) {
        return;
    }
    QStringList& list = m_secondCurves[m_currentRow];
    if (!list.removeOne(name)) {
        list.append(name);
    }
    refreshCurveEditor();
}

void AnimationEditorController::selectionChanged()
{
    resetSecondCurves();
    curvesChanged();
}

void AnimationEditorController::curvesChanged()
{
    Q_EMIT keyMarksChanged();
    refreshCurveEditor();
}

void AnimationEditorController::resetSecondCurves()
{
    m_secondCurves.clear();
    for (int row = 0; row < propertyNames().size(); ++row) {
        m_secondCurves.append(defaultSecondCurves(row));
    }
}

void AnimationEditorController::refreshCurveEditor()
{
    const bool shown = showsCurveView() && m_skeleton;
    // A joint gets its tracks now if it has none; an image only once it is keyed.
    AnimatedObject* tracks = shown ? targetTracks(m_selection->selectedNode() != nullptr) : nullptr;
    // The curves first: the ones shown until now may have gone with their animation already.
    m_curveEditor->setCurve(tracks ? &tracks->channel(m_currentRow) : nullptr);
    m_curveEditor->clearSecondCurves();
    for (const QString& name : m_secondCurves.value(m_currentRow)) {
        const int channel = propertyNames().indexOf(name);
        if (tracks && channel >= 0 && channel != m_currentRow) {
            m_curveEditor->addSecondCurve(&tracks->channel(channel));
        }
    }
    if (shown) {
        m_curveEditor->setValueScale(1.0);
        m_curveEditor->setFrameCount(m_skeleton->frameCount());
        m_curveEditor->setMaxTime(m_skeleton->duration());
        m_curveEditor->refresh();
    }
    Q_EMIT curveViewShown(shown);
}

void AnimationEditorController::curveEdited(TSAnimationCurve* curve)
{
    AnimatedObject* tracks = showsCurveView() ? targetTracks(false) : nullptr;
    TSAnimationCurve* channel = tracks ? &tracks->channel(m_currentRow) : nullptr;
    if (channel && curve && curve != channel && curve == m_curveEditor->currentCurve()) {
        // The editor copied a preset to edit it: the channel takes the copy's keys and is edited
        // from now on.
        channel->setKeys(curve->keys(), curve->keyCount());
        channel->setPreset(TSAnimationCurve::kCustomPreset);
        m_curveEditor->setCurve(channel);
    }
    // The pose, the marks and the curve editor follow the keys.
    if (m_history) {
        m_history->refreshSkeleton();
    }
}

// Keys ------------------------------------------------------------------------------------------------

void AnimationEditorController::createKeys(int frame)
{
    if (!m_history || !m_skeleton || frame < 0 || frame >= m_skeleton->frameCount()) {
        return;
    }
    m_history->createKeyframes(targetTracks(true), channels(), frame);
    m_curveEditor->refresh();
}

void AnimationEditorController::moveKey(int from, int to)
{
    AnimatedObject* tracks = targetTracks(false);
    if (!m_history || !tracks) {
        return;
    }
    const QList<int> moved = channels();
    const bool movable = std::any_of(moved.begin(), moved.end(), [&](int channel) {
        const QList<int> frames = tracks->channel(channel).keyFrames();
        return frames.contains(from) && !frames.contains(to);
    });
    if (!movable) {
        Q_EMIT keyMarksChanged();
        return;
    }
    if (!m_movingKey) {
        m_movingKey = true;
        m_history->beginMacro(kMoveKeyframe);
    }
    m_history->moveKeyframes(tracks, moved, from, to);
    m_curveEditor->refresh();
}

void AnimationEditorController::finishKeyMove()
{
    if (m_movingKey && m_history) {
        m_movingKey = false;
        m_history->endMacro();
    }
}

void AnimationEditorController::deleteKey(int ordinal)
{
    const QList<int> frames = keyFrames();
    if (!m_history || ordinal < 0 || ordinal >= frames.size()) {
        return;
    }
    m_history->deleteKeyframes(targetTracks(false), channels(), frames.at(ordinal));
    m_curveEditor->removeKeySelection();
    m_curveEditor->refresh();
}

// Length, speed and looping -----------------------------------------------------------------------

bool AnimationEditorController::commitFrames(const QString& text)
{
    bool ok = false;
    const int frames = text.trimmed().toInt(&ok);
    if (!ok || frames < 0 || frames > kMaxFrames || !m_history || !m_skeleton) {
        return false;
    }
    m_history->changeAnimationLength(m_skeleton->frameCount(), frames);
    m_curveEditor->refit();
    return true;
}

bool AnimationEditorController::commitSpeed(const QString& text)
{
    bool ok = false;
    const float speed = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(speed) || speed <= 0.0f || !m_history) {
        return false;
    }
    m_history->changePlaybackSpeed(speed);
    return true;
}

void AnimationEditorController::setLooping(bool loop)
{
    if (m_history) {
        m_history->changeLooping(loop);
    }
}

// Animations --------------------------------------------------------------------------------------

QString AnimationEditorController::identifierNamed(const QString& name) const
{
    if (m_document) {
        for (const DocumentController::Animation& animation : m_document->animations()) {
            if (animation.name == name) {
                return animation.identifier;
            }
        }
    }
    return QString();
}

bool AnimationEditorController::addAnimation(const QString& name)
{
    return m_history && !m_history->addAnimation(name.trimmed()).isEmpty();
}

bool AnimationEditorController::copyAnimation(const QString& name)
{
    return m_history && !m_history->copyAnimation(name.trimmed()).isEmpty();
}

void AnimationEditorController::renameAnimation(const QString& oldName, const QString& newName)
{
    if (m_history) {
        m_history->renameAnimation(identifierNamed(oldName), newName.trimmed());
    }
}

void AnimationEditorController::deleteAnimation(const QString& name)
{
    if (m_history) {
        m_history->deleteAnimation(identifierNamed(name));
    }
}
