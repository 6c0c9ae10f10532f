#pragma once

#include "KeyframeWriter.h"

#include <QPointer>
#include <QUndoStack>

#include "Skeleton.h"

/// The one undo history of the editor. Keys written on the canvas arrive here and become
/// commands; undoing or redoing one re-poses the skeleton at the current time.
class HistoryManager : public QUndoStack, public KeyframeWriter
{
    Q_OBJECT

public:
    explicit HistoryManager(QObject* parent = nullptr);
    ~HistoryManager() override;

    /// The history of the main window, or null before there is one.
    static HistoryManager* instance();

    /// The skeleton whose keys the commands change; its track changes clear the history.
    void setSkeleton(Skeleton* skeleton);
    Skeleton* skeleton() const { return m_skeleton; }

    void beginMacro(const QString& text) override;
    void changeAnimatedObjectValue(AnimatedObject* object, AnimatedObject::AnimatedProperty property, float time,
                                   float oldValue, float newValue, bool isNewPoint) override;
    void endMacro() override;

    /// Re-poses the skeleton after a command changed keys.
    void refreshSkeleton();

Q_SIGNALS:
    /// A command changed keys (done, undone or redone).
    void keysChanged();

private:
    QPointer<Skeleton> m_skeleton;
};
