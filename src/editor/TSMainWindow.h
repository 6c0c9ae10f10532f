#pragma once

#include "TSBaseMainWindow.h"

#include <QPointer>
#include <QUrl>

class AddNodeIndicator;
class AnimationCanvas;
class AnimationEditorController;
class AnimationEditorPanel;
class AnimationExporter;
class AutoRecovery;
class DocumentController;
class DocumentFlow;
class EditController;
class EditingModes;
class ExportFlow;
class FrameRenderer;
class HistoryManager;
class ObjectFieldEditor;
class ObjectManipulator;
class ObjectSettingsPanel;
class OnionSkin;
class OutlinerPanel;
class QAction;
class QGraphicsItem;
class QMenu;
class QMenuBar;
class SceneAxes;
class Skeleton;
class TSGraphicsButton;
class TSGraphicsScene;
class TSGraphicsView;
class ViewFitter;
#include "TSWelcomeWindow.h"

/// The editor window: canvas, outliner, animation editor and object settings; the menus; and
/// the document lifecycle (new, open, save, recent files, the questions on close). The document
/// itself is kept by DocumentController; the window connects the panels to it.
class TSMainWindow : public TSBaseMainWindow
{
    Q_OBJECT

public:
    explicit TSMainWindow(QWidget* parent = nullptr);
    ~TSMainWindow() override;

    void newDocument() override;
    bool openFile(QString path) override;
    bool confirmClose() override;
    void save() override;
    void saveAs() override;

    /// Opens the welcome window (once; later calls raise it).
    void showWelcomeWindow(bool show);
    /// Takes a welcome window that is already up as this window's own, as if it had opened it.
    void adoptWelcomeWindow(TSWelcomeWindow* welcome);
    /// Shows the editor (as it was last left: maximised or not) and closes the welcome window.
    void showEditor();
    /// Loads a document; false when the user cancelled, the save before it failed, or it broke.
    bool loadDocument(const QString& path, bool isTemplate, const QString& title = QString());
    /// Replaces the document by the unsaved work another editor left in its working folder
    /// session; the document is modified and titled title ("Untitled" when empty).
    bool recoverSession(const QString& session, const QString& title);
    /// Writes the document to path (progress window, error box); true when it was written.
    bool writeDocument(const QString& path);

    /// The window title without the unsaved-changes marker.
    QString documentTitle() const;
    DocumentController* document() const { return m_document; }
    Skeleton* skeleton() const { return m_skeleton; }
    TSGraphicsView* graphicsView() const { return m_view; }
    TSGraphicsScene* scene() const { return m_scene; }
    AnimationCanvas* animationCanvas() const { return m_canvas; }
    ObjectManipulator* manipulator() const { return m_manipulator; }
    HistoryManager* history() const { return m_history; }
    FrameRenderer* frameRenderer() const { return m_renderer; }
    AnimationExporter* exporter() const { return m_exporter; }
    OutlinerPanel* outliner() const { return m_outliner; }
    AnimationEditorPanel* animationEditor() const { return m_animationEditor; }
    AnimationEditorController* animationController() const { return m_animationController; }
    OnionSkin* onionSkin() const { return m_onionSkin; }
    TSWelcomeWindow* welcomeWindow() const { return m_welcome; }
    QMenuBar* menuBar() const { return m_menuBar; }
    QAction* action(const QString& objectName) const;
    bool hasClipboard() const;
    EditController* editing() const { return m_edit; }
    EditingModes* modes() const { return m_modes; }
    AutoRecovery* autoRecovery() const { return m_recovery; }
    QString animationsFolder() const { return m_animationsFolder; }
    /// Adds PNG files as images of the selected joint (or the selected image's joint, or the
    /// first root), as one undoable step.
    void addImagesFromFiles(const QList<QUrl>& urls);

public Q_SLOTS:
    void open();
    void togglePlayPause();
    void showFrame(int frame);
    void onDeleteRequested();
    void removeNodeAndChildren();
    void menuActionTriggered();
    void adjustSettingsChanged(bool checked);
    void checkForUpdates();
    void showHelp();
    void showAbout();
    void selectionChanged(bool isEmpty);
    void updateSelectedItemsTransformDisplay();
    void showPopupMenu(QMouseEvent* event);
    void onCanvasEditingRequest(QRectF labelRect);
    void saveSkeletonWithDummyObjects();
    void fitCanvas();
    /// Asks for the export directory, then shows the export dialog.
    void exportAnimation();
    /// The export dialog for the canvas frame; its answer goes to doExport().
    void showExportDialog();
    /// Remembers size and frame rate and starts the export when a directory is set.
    void doExport(QSize size, int fps);
    /// Writes every animation as PNG frames into the export directory, with a progress window.
    void doActualSceneExport();

private Q_SLOTS:
    void on_graphicsView_copyPressed();
    void on_graphicsView_pastePressed();
    void on_graphicsView_buttonPressed(Qt::Key key);
    void on_graphicsView_buttonReleased(Qt::Key key);
    void on_addNodeButton_clicked();
    void on_removeNodeButton_clicked();
    void on_playButton_clicked();
    void on_animationComboBox_activated(int index);
    void on_outlinerWidget_currentObjectChanged(QList<QGraphicsItem*> items);
    void onMoveItemToItemAtIndex(const QGraphicsItem* item, const QGraphicsItem* parent, int index);
    void on_outlinerWidget_objectVisibilityChanged(QGraphicsItem* item, bool isVisible);
    /// Keys changed: the frame is shown again, so pose, fields and onion skin follow.
    void onAnimationCurveChanged();
    /// Playback stopped by itself or was stopped.
    void updatePlayState();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScene();
    void buildPanels();
    void buildMenus();
    void connectCanvas();
    void resetEditor();
    void refreshAfterLoad(bool loaded);
    void documentSaved(const QString& path);
    void updateEnabling();
    void setDocumentTitle(const QString& title);

    QString m_animationsFolder;
    QString m_projectsFolder;
    QMenuBar* m_menuBar = nullptr;
    TSGraphicsScene* m_scene = nullptr;
    TSGraphicsView* m_view = nullptr;
    AnimationCanvas* m_canvas = nullptr;
    ViewFitter* m_fitter = nullptr;
    ObjectManipulator* m_manipulator = nullptr;
    AddNodeIndicator* m_indicator = nullptr;
    SceneAxes* m_axes = nullptr;
    Skeleton* m_skeleton = nullptr;
    HistoryManager* m_history = nullptr;
    FrameRenderer* m_renderer = nullptr;
    AnimationExporter* m_exporter = nullptr;
    DocumentController* m_document = nullptr;
    EditController* m_edit = nullptr;
    DocumentFlow* m_flow = nullptr;
    AutoRecovery* m_recovery = nullptr;
    ExportFlow* m_export = nullptr;
    OutlinerPanel* m_outliner = nullptr;
    AnimationEditorPanel* m_animationEditor = nullptr;
    AnimationEditorController* m_animationController = nullptr;
    OnionSkin* m_onionSkin = nullptr;
    ObjectSettingsPanel* m_objectSettings = nullptr;
    ObjectFieldEditor* m_fieldEditor = nullptr;
    EditingModes* m_modes = nullptr;
    TSGraphicsButton* m_axesButton = nullptr;
    TSGraphicsButton* m_visibilityButton = nullptr;
    TSGraphicsButton* m_animationModeButton = nullptr;
    QMenu* m_arrangeMenu = nullptr;
    QPointer<TSWelcomeWindow> m_welcome;
};
