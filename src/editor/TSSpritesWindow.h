#pragma once

#include "SpriteContainerState.h"

#include <QPointer>
#include <QWidget>

class HistoryManager;
class QGraphicsPixmapItem;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QVBoxLayout;
class TSAnimationEditorTimelineWidget;
class TSAttributeWidget;
class TSAttributesView;
class TSLibraryWidget;
class TSModel;
class TSModelObjectImage;
class TSModelSpriteContainer;
class TSPAttribute;

/// "Sprite Editor": the project's frame animations (sprite containers) in a searchable library;
/// the selected one previewed and played, with its length in frames, its speed and its colour
/// attributes to edit. Every edit applies at once and is one step of the editor's history.
/// "Save" hands the selected animation to whoever opened the window and closes it.
class TSSpritesWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TSSpritesWindow(QWidget* parent = nullptr);
    ~TSSpritesWindow() override;

    /// Shows container, selected in the library; null shows none.
    void setSpriteContainer(TSModelSpriteContainer* container);
    TSModelSpriteContainer* spriteContainer() const { return m_container; }
    TSAttributesView* attributesView() const { return m_attributes; }
    TSLibraryWidget* library() const { return m_library; }
    TSAnimationEditorTimelineWidget* timeline() const { return m_timeline; }
    /// The play timer, made on the first play.
    QTimer* playTimer() const { return m_timer; }
    /// The frame the preview shows.
    QImage previewImage() const;

    /// The play timer's interval at a speed: trunc((1000 / 60) / speed) ms, at least 1.
    static int playInterval(float speed);
    /// The frames a container's length makes: trunc(duration × 60), at least 1.
    static int frameCountOf(const TSModelSpriteContainer* container);

Q_SIGNALS:
    void spriteDidSelected(TSModelSpriteContainer* smodel);
    /// The window was closed (it is deleted on close when its opener says so).
    void closed();

public Q_SLOTS:
    void treeWidgetItemSelected(TSModel* model);
    void spriteItemSelected(TSModelSpriteContainer* model);
    void attributeViewUpdated(TSAttributeWidget* attr);
    void onAttributeChanged(TSPAttribute* attr);
    void timerTimout();
    void timelineFrameChanged(int frame);
    void on_closeButton_clicked();
    void on_assignButton_clicked();
    void on_playButton_toggled(bool checked);
    void on_durationLineEdit_editingFinished();
    void on_animationSpeedLineEdit_editingFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    /// The preview fits the frame again whenever its view changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    /// The history moved: the container may have changed or left the document.
    void historyChanged();
    /// Tools, fields and preview for the current container.
    void showContainer();
    void showFields();
    void showFrame(int frame);
    void fitPreview();
    void stopPlaying();
    /// Records the edit just made on the container as one step.
    void record(const QString& text);
    /// A typed value that cannot be taken: the field shows shown again and a box says why.
    void refuse(QLineEdit* field, const QString& shown, const QString& message);

    QPointer<HistoryManager> m_history;
    TSModelSpriteContainer* m_container = nullptr;
    TSModelObjectImage* m_object = nullptr;
    SpriteContainerState m_state;
    TSAttributesView* m_attributes = nullptr;
    QGraphicsScene* m_scene;
    QGraphicsPixmapItem* m_preview;
    QTimer* m_timer = nullptr;

    QLineEdit* m_search = nullptr;
    TSLibraryWidget* m_library = nullptr;
    QGraphicsView* m_view = nullptr;
    QLabel* m_message = nullptr;
    QWidget* m_tools = nullptr;
    QToolButton* m_play = nullptr;
    TSAnimationEditorTimelineWidget* m_timeline = nullptr;
    QLineEdit* m_frames = nullptr;
    QLineEdit* m_speed = nullptr;
    QVBoxLayout* m_attributeLayout = nullptr;
};
