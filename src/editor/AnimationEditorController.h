#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include <memory>

class AnimatedObject;
class AnimationCurveEditorInterface;
class DocumentController;
class EditController;
class HistoryManager;
class Skeleton;
class TSAnimationCurve;

/// What the animation editor does, apart from its widgets: which keys the timeline marks, keys
/// created, moved and deleted there, the property rows and their second curves, the editor
/// collapsed or expanded, the length, speed and looping typed or toggled, and animations added,
/// copied, renamed and deleted. Every edit goes through the history; nothing here needs a
/// window, so tests drive it directly and the window only connects the panel to it.
class AnimationEditorController : public QObject
{
    Q_OBJECT

public:
    /// Longer animations are refused (about four and a half hours at 60 frames per second).
    static constexpr int kMaxFrames = 1000000;

    AnimationEditorController(Skeleton* skeleton, HistoryManager* history, DocumentController* document,
                              EditController* selection, QObject* parent = nullptr);
    ~AnimationEditorController() override;

    /// The rows of the property list, in channel order.
    static const QStringList& propertyNames();
    /// The second curves a row starts with whenever the selection changes.
    static QStringList defaultSecondCurves(int row);

    /// The curve editor the calls go to; null for none (the calls are dropped).
    void setCurveEditor(AnimationCurveEditorInterface* editor);
    AnimationCurveEditorInterface* curveEditor() const { return m_curveEditor; }

    bool isExpanded() const { return m_expanded; }
    int currentRow() const { return m_currentRow; }
    QStringList secondCurves(int row) const { return m_secondCurves.value(row); }
    /// The channels the timeline's edits act on: the current row's when expanded, else all five.
    QList<int> channels() const;
    /// The tracks of the selected joint, else of the selected image; made when missing and
    /// create is set.
    AnimatedObject* targetTracks(bool create) const;
    /// The frames of the keys the timeline marks, ascending, each once.
    QList<int> keyFrames() const;
    /// Whether the curve view and the property rows show: expanded, with one joint or image
    /// selected.
    bool showsCurveView() const;

public Q_SLOTS:
    void setExpanded(bool expanded);
    void setCurrentRow(int row);
    /// A right click on a row: its name goes into the current row's second curves, or out.
    void toggleSecondCurve(int row);
    void toggleSecondAttributeCurveByName(const QString& name);
    /// The selection changed: every row's second curves are the defaults again, and the marks
    /// and the curve editor show the new selection.
    void selectionChanged();
    void resetSecondCurves();
    /// Hands the curve editor the current row's curve and its second curves; with no curve view
    /// shown, it lets go of them (they may be gone before it shows again).
    void refreshCurveEditor();
    /// The curve editor changed curve's keys (a drag, a key added or deleted, an undo), or took
    /// a custom copy of the preset curve it showed, which the shown channel adopts.
    void curveEdited(TSAnimationCurve* curve);

    /// Keys on frame for the current row (expanded) or all five properties (collapsed), each
    /// with the value its curve has there, so nothing moves.
    void createKeys(int frame);
    /// One step of a key drag on the timeline; the steps of one drag are one undo step.
    void moveKey(int from, int to);
    void finishKeyMove();
    /// Deletes the ordinal-th marked key (the timeline's picked key).
    void deleteKey(int ordinal);

    /// A typed length: whole frames from 0 to kMaxFrames; anything else is ignored (false).
    bool commitFrames(const QString& text);
    /// A typed speed: a positive number; anything else is ignored (false).
    bool commitSpeed(const QString& text);
    void setLooping(bool loop);

    /// A new animation, or a copy of the current one, under name; false when the name was refused
    /// (the history has said why).
    bool addAnimation(const QString& name);
    bool copyAnimation(const QString& name);
    /// From the animation chooser, which names its entries.
    void renameAnimation(const QString& oldName, const QString& newName);
    void deleteAnimation(const QString& name);

Q_SIGNALS:
    /// The frames the timeline marks may have changed.
    void keyMarksChanged();
    void expandedChanged(bool expanded);
    /// Whether the curve view and the property rows show.
    void curveViewShown(bool shown);

private:
    QString identifierNamed(const QString& name) const;
    /// Keys changed (an edit, undo or redo): the marks and the curve editor follow.
    void curvesChanged();

    QPointer<Skeleton> m_skeleton;
    QPointer<HistoryManager> m_history;
    QPointer<DocumentController> m_document;
    QPointer<EditController> m_selection;
    std::unique_ptr<AnimationCurveEditorInterface> m_nullEditor;
    AnimationCurveEditorInterface* m_curveEditor;
    bool m_expanded = false;
    int m_currentRow = 0;
    QVector<QStringList> m_secondCurves;
    bool m_movingKey = false;
};
