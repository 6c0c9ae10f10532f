#include "HistoryManager.h"

#include "SetKeyframeCommand.h"
#include "Skeleton.h"

namespace {

QPointer<HistoryManager> s_instance;

} // namespace

HistoryManager::HistoryManager(QObject* parent) : QUndoStack(parent)
{
    s_instance = this;
}

HistoryManager::~HistoryManager() = default;

HistoryManager* HistoryManager::instance()
{
    return s_instance;
}

void HistoryManager::setSkeleton(Skeleton* skeleton)
{
    if (m_skeleton) {
        disconnect(m_skeleton, nullptr, this, nullptr);
    }
    m_skeleton = skeleton;
    if (skeleton) {
        skeleton->setKeyframeWriter(this);
        // Commands point at the tracks of the current animation; new tracks end their history.
        connect(skeleton, &Skeleton::clearUndoHistory, this, &QUndoStack::clear);
    }
}

void HistoryManager::beginMacro(const QString& text)
{
    QUndoStack::beginMacro(text);
}

void HistoryManager::endMacro()
{
    QUndoStack::endMacro();
}

void HistoryManager::changeAnimatedObjectValue(AnimatedObject* object, AnimatedObject::AnimatedProperty property,
                                               float time, float, float newValue, bool)
{
    // The command keeps the channel's keys before and after the write, which the old value and
    // the new-key flag only describe.
    push(new SetKeyframeCommand(this, object, property, time, newValue));
}

void HistoryManager::refreshSkeleton()
{
    if (m_skeleton) {
        m_skeleton->showMoment(m_skeleton->currentTime());
    }
    Q_EMIT keysChanged();
}
