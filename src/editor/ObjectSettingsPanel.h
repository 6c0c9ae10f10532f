#pragma once

#include "ObjectFieldEditor.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

class HistoryManager;
class QComboBox;
class QGraphicsItem;
class QLabel;
class QPushButton;
class QSlider;
class TSImageDropArea;
class TSLineEditUpdateable;
class TSSpritesWindow;

/// The object settings column at the right of the window: the name, pose, sprite speed, bone
/// colour, picture and colour adjustments of the one selected joint or image, and at the bottom
/// a hint area about the editing modes. The column keeps its width whatever is selected, so the
/// canvas beside it stays put; its rows show only while exactly one joint or image is selected.
///
/// A committed field is recorded through the history (one step each); the history hands the
/// text back and the panel applies it through the field editor.
class ObjectSettingsPanel : public QWidget
{
    Q_OBJECT

public:
    ObjectSettingsPanel(ObjectFieldEditor* editor, HistoryManager* history, QWidget* parent = nullptr);

    TSLineEditUpdateable* field(ObjectFieldEditor::Field field) const { return m_fields.value(field); }
    QComboBox* skeletonsComboBox() const { return m_skeletons; }
    TSImageDropArea* imageDropArea() const { return m_dropArea; }
    /// The sprite editor opened from the image row, while it is open.
    TSSpritesWindow* spritesWindow() const;

    /// The skeleton the document shows (the chooser at the top).
    void setSkeletonName(const QString& name);
    /// A hint with the joint icon, a text and a button; an empty text hides the hint area.
    void setHint(const QString& text, const QString& buttonText = QString());
    bool isHintShown() const;

public Q_SLOTS:
    /// Shows the selection's values (or no rows when not exactly one joint or image is selected).
    void showSelection();
    /// A name given to the selected joint or image elsewhere (the outliner), taken as if typed
    /// into the name field: refused with a reason, or recorded as one step.
    void rename(QGraphicsItem* item, const QString& name);
    /// The image row asks for editing: the sprite editor for an image that plays a sprite,
    /// else a chooser of PNG files, taken as if dropped.
    void editPicture();

Q_SIGNALS:
    void hintButtonClicked();
    /// A typed value was refused (an empty or taken name); text says why.
    void refused(const QString& title, const QString& text);

private:
    QWidget* addRow(const QString& label, const QList<QWidget*>& widgets);
    TSLineEditUpdateable* addField(ObjectFieldEditor::Field field, const QString& objectName);
    void addAdjustmentRow(ObjectFieldEditor::Field field, const QString& label, const QString& objectName,
                          int minimum, int maximum);
    void fillBoneColors();
    void onTextChange(ObjectFieldEditor::Field field, const QString& old, const QString& now);
    void onChangeHandle(ObjectFieldEditor::Field field);
    void onSliderMoved(ObjectFieldEditor::Field field, int value);
    void onSliderReleased(ObjectFieldEditor::Field field);
    void syncSlider(ObjectFieldEditor::Field field);
    /// Files dropped on (or chosen for) the image row: several make a frame animation on the
    /// joint, one becomes an image of a selected joint (a selected image takes it as its
    /// picture through imageDropped()).
    void takeFiles(const QStringList& paths);
    void openSpriteEditor();

    QPointer<ObjectFieldEditor> m_editor;
    QPointer<HistoryManager> m_history;
    QComboBox* m_skeletons;
    QWidget* m_rows;
    QHash<int, TSLineEditUpdateable*> m_fields;
    QHash<int, QSlider*> m_sliders;
    QComboBox* m_boneColors = nullptr;
    TSImageDropArea* m_dropArea = nullptr;
    QLabel* m_tags = nullptr;
    QList<QWidget*> m_nodeRows;
    QList<QWidget*> m_imageRows;
    QWidget* m_speedRow = nullptr;
    QPointer<TSSpritesWindow> m_spritesWindow;
    QWidget* m_hint;
    QLabel* m_hintIcon;
    QLabel* m_hintText;
    QPushButton* m_hintButton;
};
