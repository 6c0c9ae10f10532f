#pragma once

#include <QObject>
#include <QPointer>

class DocumentController;
class EditController;
class HistoryManager;
class ObjectManipulator;
class Skeleton;
class TSAnimationCurve;
class TSAnimationCurveEditor;

/// Keeps the curve editor on the selected joint's or image's curves and brings its edits back to
/// the canvas: the chosen property's curve with its partner in grey (Position X with Y, Scale X
/// with Y), the animation's frames and the playhead. After an edit the pose and the key marks
/// follow, and a preset curve the editor turned into a custom copy becomes the channel's keys.
class CurveEditorBinding : public QObject
{
    Q_OBJECT

public:
    CurveEditorBinding(TSAnimationCurveEditor* editor, EditController* selection, Skeleton* skeleton,
                       ObjectManipulator* manipulator, HistoryManager* history, DocumentController* document,
                       QObject* parent = nullptr);

    int channel() const { return m_channel; }
    /// The channel drawn in grey beside channel, or −1.
    static int partnerOf(int channel);

public Q_SLOTS:
    /// Shows property channel (0 to 4: location x and y, rotation, scale x and y).
    void setChannel(int channel);
    /// The selection, its keys or the animation changed: the editor takes the curves again.
    void refresh();
    void setPlayheadFrame(int frame);

private:
    TSAnimationCurve* shownChannel() const;
    void curveChanged(TSAnimationCurve* curve);

    QPointer<TSAnimationCurveEditor> m_editor;
    QPointer<EditController> m_selection;
    QPointer<Skeleton> m_skeleton;
    QPointer<HistoryManager> m_history;
    int m_channel = 0;
};
