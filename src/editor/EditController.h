#pragma once

#include "AddNodeIndicator.h"
#include "HistoryManager.h"
#include "ObjectManipulator.h"
#include "Skeleton.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTransform>
#include <QUrl>

/// The editing the window's menus, buttons and keys ask for, on the canvas selection (the one
/// selection there is): adding and deleting nodes, images and keys, copy and paste, restacking,
/// imports and drops. Every edit goes through the history as a command; nothing here needs a
/// window, so tests drive it directly and the window only connects its gestures to it.
class EditController : public QObject
{
    Q_OBJECT

public:
    EditController(Skeleton* skeleton, ObjectManipulator* manipulator, HistoryManager* history,
                   AddNodeIndicator* indicator, QObject* parent = nullptr);

    // What is selected on the canvas.

    /// The single selected joint's node, or null.
    Skeleton::Node* selectedNode() const;
    /// The single selected image, or null.
    Skeleton::Asset* selectedImage() const;
    /// Every selected image.
    QList<Skeleton::Asset*> selectedImages() const;
    /// The tracks of the selected joint or image in the current animation, or null.
    AnimatedObject* selectedTracks() const;
    /// The frames that hold a key of the selected joint or image.
    QList<int> selectedKeyFrames() const;
    /// Where imported images and added nodes go: the selected joint, the selected image's
    /// joint, else the first root.
    Skeleton::Node* importTarget() const;

    bool canDelete() const;
    bool canPaste() const { return !m_clipboard.image.isNull(); }
    bool canArrange(Skeleton::ZValueChangeAction action) const;

public Q_SLOTS:
    /// A child of importTarget(), placed at the add-node button when it shows for that joint.
    void addNode();
    /// Delete: the keys on frame when the timeline has the keyboard, else the selected node
    /// with everything under it, else the selected images.
    void deleteSelection(bool timelineFocused, int frame);
    /// The selected node and everything under it, or a warning saying why not.
    void removeNodeAndChildren();
    void copy();
    void paste();
    void arrange(Skeleton::ZValueChangeAction action);
    /// PNG files as images of importTarget().
    void importImages(const QList<QUrl>& urls);
    /// PNG files dropped on the canvas: bound to the joint the drop landed on, else as imports.
    void dropImages(const QList<QUrl>& urls);
    /// Moves a joint (with everything under it) or an image under the joint parent, keeping
    /// where it is drawn; nothing happens when parent is no joint or lies under the joint.
    void moveUnder(const QGraphicsItem* item, const QGraphicsItem* parent);

Q_SIGNALS:
    /// Something the user asked for cannot be done; the window shows it in a box.
    void warning(const QString& title, const QString& text);
    /// What can be done with the selection may have changed.
    void enablingChanged();

private:
    struct ImageRecord
    {
        QImage image;
        QTransform transform;
    };

    QPointer<Skeleton> m_skeleton;
    QPointer<ObjectManipulator> m_manipulator;
    QPointer<HistoryManager> m_history;
    QPointer<AddNodeIndicator> m_indicator;
    ImageRecord m_clipboard;
};
