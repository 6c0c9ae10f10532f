#include "ObjectStateCommand.h"

#include "HistoryManager.h"
#include "ObjectManipulator.h"

ObjectStateCommand::ObjectStateCommand(const QString& text, HistoryManager* history, QGraphicsItem* item)
    : HistoryCommand(text), m_history(history), m_animation(history->currentAnimation())
{
    if (Skeleton* skeleton = history->skeleton()) {
        m_before = ObjectState::of(*skeleton, item);
    }
}

void ObjectStateCommand::apply()
{
    if (m_edited) {
        restore(m_after, true);
        return;
    }
    Skeleton* skeleton = m_history->skeleton();
    QGraphicsItem* item = skeleton ? m_before.itemIn(*skeleton) : nullptr;
    if (!item) {
        setObsolete(true);
        return;
    }
    m_history->stopPlayback();
    if (ObjectManipulator* manipulator = m_history->manipulator()) {
        manipulator->setTargets({item});
    }
    // The state as it is now: the selection may have moved the display since construction.
    m_before = ObjectState::of(*skeleton, item);
    edit(item);
    m_after = ObjectState::of(*skeleton, item);
    m_edited = true;
    if (m_after == m_before) {
        setObsolete(true);
    }
    m_history->refreshSkeleton();
}

void ObjectStateCommand::revert()
{
    if (m_edited) {
        restore(m_before, false);
    }
}

void ObjectStateCommand::restore(const ObjectState& state, bool after)
{
    Skeleton* skeleton = m_history->skeleton();
    if (!skeleton) {
        return;
    }
    m_history->stopPlayback();
    // Keys belong to the animation they were made in; an edit that keyed nothing leaves the
    // tracks of the animation shown alone.
    const bool keyed = m_before.keysDiffer(m_after);
    if (keyed && !m_history->enterAnimation(m_animation)) {
        return;
    }
    QGraphicsItem* item = state.restore(*skeleton, keyed);
    if (!item) {
        return;
    }
    if (ObjectManipulator* manipulator = m_history->manipulator()) {
        manipulator->setTargets({item});
    }
    m_history->refreshSkeleton();
    restored(item, after);
}

void ObjectStateCommand::restored(QGraphicsItem*, bool) {}

BoneColorCommand::BoneColorCommand(HistoryManager* history, QGraphicsItem* item, const QColor& color)
    : ObjectStateCommand(QStringLiteral("Bone color"), history, item), m_color(color)
{
}

void BoneColorCommand::edit(QGraphicsItem* item)
{
    if (Skeleton* skeleton = history()->skeleton()) {
        skeleton->setBoneColor(skeleton->nodeByItem(item), m_color);
    }
}
