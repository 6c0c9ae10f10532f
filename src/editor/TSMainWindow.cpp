#include "TSMainWindow.h"

#include "AddNodeIndicator.h"
#include "AnimationCanvas.h"
#include "AnimationCurveEditorAdapter.h"
#include "AnimationEditorController.h"
#include "AnimationEditorPanel.h"
#include "AnimationExporter.h"
#include "AppInfo.h"
#include "AssetsPanel.h"
#include "AutoRecovery.h"
#include "DocumentController.h"
#include "DocumentFlow.h"
#include "EditController.h"
#include "EditingModes.h"
#include "ExportFlow.h"
#include "FrameRenderer.h"
#include "HelpBoxes.h"
#include "HistoryManager.h"
#include "ObjectFieldEditor.h"
#include "ObjectManipulator.h"
#include "ObjectSelector.h"
#include "ObjectSettingsPanel.h"
#include "OnionSkin.h"
#include "OutlinerPanel.h"
#include "SceneAxes.h"
#include "ScreenScale.h"
#include "Skeleton.h"
#include "TSAnimationCurveEditor.h"
#include "TSAnimationEditorTimelineWidget.h"
#include "TSApplicationSettings.h"
#include "TSDeletableComboBox.h"
#include "TSFileDialogs.h"
#include "TSGraphicsButton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSMessageBox.h"
#include "TSModelController.h"
#include "TSOutlinerWidget.h"
#include "TSProgressWindow.h"
#include "TSWelcomeWindow.h"
#include "TemplateLibrary.h"
#include "ViewFitter.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <optional>

TSMainWindow::TSMainWindow(QWidget* parent)
    : TSBaseMainWindow(parent), m_animationsFolder(TemplateLibrary::root()),
      m_projectsFolder(TemplateLibrary::projectsFolder())
{
    setObjectName(QStringLiteral("mainWindow"));
    setDocumentTitle(QStringLiteral("Untitled"));
    setWindowIcon(QIcon(appInfo(AppInfo::IconPath)));
    resize(1280, 800);
    buildScene();
    buildPanels();
    buildMenus();
    connectCanvas();
    QMetaObject::connectSlotsByName(this);
    m_document->reset();
    updateEnabling();
}

TSMainWindow::~TSMainWindow()
{
    if (m_welcome) {
        delete m_welcome.data();
    }
}

// Construction -----------------------------------------------------------------------------------

void TSMainWindow::buildScene()
{
    m_scene = new TSGraphicsScene(this);
    m_view = new TSGraphicsView(this);
    m_view->setObjectName(QStringLiteral("graphicsView"));
    m_view->setScene(m_scene);
    m_canvas = new AnimationCanvas();
    m_scene->addItem(m_canvas);
    m_fitter = new ViewFitter(m_view, [this] { return m_canvas->canvasRect(); }, this);
    m_manipulator = new ObjectManipulator();
    m_manipulator->setParent(this);
    m_scene->setManipulator(m_manipulator);
    // The rubber band selects from empty canvas, and a click there lets go of the selection.
    auto* selector = new ObjectSelector(m_manipulator);
    selector->setParent(this);
    m_scene->addItem(selector);
    connect(m_scene, &TSGraphicsScene::mousePressSignal, selector, &ObjectSelector::sceneMousePress);
    connect(m_scene, &TSGraphicsScene::mouseMoveSignal, selector, &ObjectSelector::sceneMouseMove);
    connect(m_scene, &TSGraphicsScene::mouseReleaseSignal, selector, &ObjectSelector::sceneMouseRelease);
    m_indicator = new AddNodeIndicator(m_manipulator);
    m_indicator->setParent(this);
    m_axes = new SceneAxes();
    m_axes->setParent(this);
    m_axes->hide();
    m_scene->addItem(m_axes);
    m_skeleton = new Skeleton(m_scene, m_view, m_manipulator, this);
    m_skeleton->setFrameRate(60);
    m_onionSkin = new OnionSkin(m_skeleton);
    m_scene->addItem(m_onionSkin);
    m_history = new HistoryManager(this);
    m_history->setSkeleton(m_skeleton);
    m_history->setCanvas(m_canvas);
    m_history->setAxes(m_axes);
    m_document = new DocumentController(m_skeleton, m_canvas, m_axes, this);
    m_history->setDocument(m_document);
    m_edit = new EditController(m_skeleton, m_manipulator, m_history, m_indicator, this);
    m_flow = new DocumentFlow(this, m_document, m_history);
    m_recovery = new AutoRecovery(
        m_document, [this] { return documentTitle(); }, this);
    m_renderer = new FrameRenderer(m_skeleton, m_scene, m_manipulator, this);
    m_exporter = new AnimationExporter(m_document, m_skeleton, m_renderer, m_canvas, m_axes, this);
    m_export = new ExportFlow(this, m_exporter, m_renderer, m_canvas, m_skeleton);
    m_recovery->setBusyCheck([this] { return m_flow->isSaving() || m_renderer->isRendering(); });

    m_fieldEditor = new ObjectFieldEditor(m_skeleton, m_manipulator, this);

    m_axesButton = m_view->addButton(QIcon(QStringLiteral(":/resources/animationView/AB_Axes.svg")),
                                     QStringLiteral("Axes visibility"));
    m_visibilityButton = m_view->addButton(QIcon(QStringLiteral(":/resources/outliner/LockView_Title_Eye.svg")),
                                           QStringLiteral("Skeleton visibility"));
    m_animationModeButton = m_view->addButton(QIcon(QStringLiteral(":/resources/buttons/Scene_Anim_mode.svg")),
                                              QStringLiteral("Animation mode"));
    TSGraphicsButton* fit = m_view->addButton(QIcon(QStringLiteral(":/resources/buttons/FitCanvas.svg")),
                                              QStringLiteral("Fit the canvas in the view"));
    connect(fit, &TSGraphicsButton::toggled, this, [this, fit](bool on) {
        if (on) {
            fit->setChecked(false);
            fitCanvas();
        }
    });
}

void TSMainWindow::buildPanels()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menubar"));

    auto* assets = new AssetsPanel(this);
    m_outliner = new OutlinerPanel(this);
    m_animationEditor = new AnimationEditorPanel(this);
    m_animationController = new AnimationEditorController(m_skeleton, m_history, m_document, m_edit, this);
    m_animationEditor->connectTo(m_animationController);
    auto* curves = new TSAnimationCurveEditor(m_animationEditor->curveArea());
    m_animationEditor->curveArea()->layout()->addWidget(curves);
    m_animationController->setCurveEditor(new AnimationCurveEditorAdapter(curves, m_animationController));
    m_animationEditor->setOnionSkinSettings(TSApplicationSettings::instance()->onionSkin());
    m_onionSkin->setSettings(TSApplicationSettings::instance()->onionSkin());
    m_objectSettings = new ObjectSettingsPanel(m_fieldEditor, m_history, this);
    m_modes = new EditingModes(this, m_view, m_skeleton, m_manipulator, m_axes, m_objectSettings,
                               {m_axesButton, m_visibilityButton, m_animationModeButton, m_animationEditor->keyButton()},
                               this);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(m_outliner);
    splitter->addWidget(m_view);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ScreenScale::pixels(220, this), ScreenScale::pixels(900, this)});
    auto* animationSplitter = new QSplitter(Qt::Vertical, this);
    animationSplitter->setObjectName(QStringLiteral("animationSplitter"));
    animationSplitter->addWidget(splitter);
    animationSplitter->addWidget(m_animationEditor);
    animationSplitter->setStretchFactor(0, 1);

    auto* row = new QHBoxLayout();
    row->setSpacing(1);
    row->addWidget(assets);
    row->addWidget(animationSplitter, 1);
    row->addWidget(m_objectSettings);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addLayout(row, 1);

    for (QWidget* panel : {static_cast<QWidget*>(assets), static_cast<QWidget*>(m_outliner), static_cast<QWidget*>(m_animationEditor),
                           static_cast<QWidget*>(m_objectSettings)}) {
        panel->installEventFilter(this);
        for (QWidget* child : panel->findChildren<QWidget*>()) {
            child->installEventFilter(this);
        }
    }
}

void TSMainWindow::buildMenus()
{
    using Slot = void (TSMainWindow::*)();
    struct Entry
    {
        const char* name; ///< null for a separator
        const char* text;
        QKeySequence keys;
        Slot slot;
    };
    const auto fill = [this](QMenu* menu, std::initializer_list<Entry> entries) {
        for (const Entry& entry : entries) {
            if (!entry.name) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(entry.text));
            action->setObjectName(QLatin1String(entry.name));
            action->setShortcut(entry.keys);
            connect(action, &QAction::triggered, this, entry.slot);
        }
    };
    const auto menu = [this](const char* name, const char* title) {
        QMenu* added = m_menuBar->addMenu(QString::fromLatin1(title));
        added->setObjectName(QLatin1String(name));
        return added;
    };

    QMenu* file = menu("fileMenu", "File");
    fill(file, {{"newAction", "New", QKeySequence::New, &TSMainWindow::newDocument},
                {"openAction", "Open...", QKeySequence::Open, &TSMainWindow::open}});
    file->addMenu(recentFilesMenu());
    rebuildRecentFilesMenu();
    fill(file, {{nullptr, nullptr, {}, nullptr},
                {"saveAction", "Save", QKeySequence::Save, &TSMainWindow::save},
                {"saveAsAction", "Save As...", QKeySequence::SaveAs, &TSMainWindow::saveAs},
                {"exportAction", "Export...", {}, &TSMainWindow::exportAnimation},
                {"saveSkeletonAction", "Save Skeleton as Template...", {}, &TSMainWindow::saveSkeletonWithDummyObjects},
                {nullptr, nullptr, {}, nullptr}});
    connect(file->addAction(QStringLiteral("Exit")), &QAction::triggered, this, &QWidget::close);
    file->actions().last()->setObjectName(QStringLiteral("exitAction"));

    QMenu* edit = menu("editMenu", "Edit");
    QAction* undo = m_history->createUndoAction(this);
    undo->setObjectName(QStringLiteral("undoAction"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = m_history->createRedoAction(this);
    redo->setObjectName(QStringLiteral("redoAction"));
    // Ctrl+Y and Ctrl+Shift+Z on every platform; one action holds both, since a second
    // shortcut on the same keys would make both ambiguous and neither would fire.
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}) {
        if (!redoKeys.contains(key)) {
            redoKeys.append(key);
        }
    }
    redo->setShortcuts(redoKeys);
    edit->addActions({undo, redo});
    fill(edit, {{nullptr, nullptr, {}, nullptr},
                {"copyAction", "Copy", QKeySequence::Copy, &TSMainWindow::on_graphicsView_copyPressed},
                {"pasteAction", "Paste", QKeySequence::Paste, &TSMainWindow::on_graphicsView_pastePressed},
                {nullptr, nullptr, {}, nullptr}});
    for (QAction* wide : {undo, redo, action(QStringLiteral("copyAction")), action(QStringLiteral("pasteAction"))}) {
        wide->setShortcutContext(Qt::ApplicationShortcut);
    }
    m_arrangeMenu = edit->addMenu(QStringLiteral("Arrange"));
    m_arrangeMenu->setObjectName(QStringLiteral("arrangeMenu"));
    fill(m_arrangeMenu, {{"arrangeAction0", "Bring To Front", QKeySequence("Ctrl+Shift+]"), &TSMainWindow::menuActionTriggered},
                         {"arrangeAction1", "Bring Forward", QKeySequence("Ctrl+]"), &TSMainWindow::menuActionTriggered},
                         {"arrangeAction2", "Send Backward", QKeySequence("Ctrl+["), &TSMainWindow::menuActionTriggered},
                         {"arrangeAction3", "Send To Back", QKeySequence("Ctrl+Shift+["), &TSMainWindow::menuActionTriggered}});
    for (int i = 0; i < 4; ++i) {
        m_arrangeMenu->actions().at(i)->setData(i);
    }
    m_view->addActions(m_arrangeMenu->actions());
    connect(m_arrangeMenu, &QMenu::aboutToHide, this, &TSMainWindow::updateEnabling);
    fill(edit, {{nullptr, nullptr, {}, nullptr},
                {"addNodeAction", "Add Node", QKeySequence(Qt::Key_N), &TSMainWindow::on_addNodeButton_clicked},
                {"deleteAction", "Delete", QKeySequence::Delete, &TSMainWindow::onDeleteRequested}});
    m_view->addActions({action(QStringLiteral("addNodeAction")), action(QStringLiteral("deleteAction"))});

    QMenu* options = menu("optionsMenu", "Options");
    QAction* adjust = options->addAction(QStringLiteral("Auto adjust new assets scale"));
    adjust->setObjectName(QStringLiteral("adjustAction"));
    adjust->setCheckable(true);
    adjust->setChecked(TSApplicationSettings::instance()->autoAdjustAssetsScale());
    connect(adjust, &QAction::toggled, this, &TSMainWindow::adjustSettingsChanged);

    const QByteArray helpText = (QApplication::applicationDisplayName() + QStringLiteral(" Help...")).toUtf8();
    fill(menu("helpMenu", "Help"), {{"updatesAction", "Check For Updates", {}, &TSMainWindow::checkForUpdates},
                                    {nullptr, nullptr, {}, nullptr},
                                    {"helpAction", helpText.constData(), {}, &TSMainWindow::showHelp},
                                    {"aboutAction", "About", {}, &TSMainWindow::showAbout}});

    QAction* play = new QAction(QStringLiteral("Play"), this);
    play->setObjectName(QStringLiteral("playAction"));
    play->setShortcut(QKeySequence(Qt::Key_P));
    connect(play, &QAction::triggered, this, &TSMainWindow::togglePlayPause);
    addAction(play);
}

void TSMainWindow::connectCanvas()
{
    connect(m_manipulator, &ObjectManipulator::targetChanged, this, &TSMainWindow::selectionChanged);
    connect(m_manipulator, &ObjectManipulator::targetChanged, m_indicator, &AddNodeIndicator::updatePosition);
    connect(m_manipulator, &ObjectManipulator::targetMoved, m_indicator, &AddNodeIndicator::updatePosition);
    // A joint also moves with a frame shown, a typed pose or an undo, which the manipulator does not make.
    connect(m_skeleton, &Skeleton::posesChanged, m_indicator, &AddNodeIndicator::updatePosition);
    for (auto signal : {&ObjectManipulator::targetMoved, &ObjectManipulator::targetScaled,
                        &ObjectManipulator::targetRotated}) {
        connect(m_manipulator, signal, m_skeleton, qOverload<QGraphicsItem*>(&Skeleton::updateSkeleton));
        connect(m_manipulator, signal, this, &TSMainWindow::updateSelectedItemsTransformDisplay);
    }
    connect(m_manipulator, &ObjectManipulator::targetSetMoveKey, m_skeleton, &Skeleton::onItemSetMoveKey);
    connect(m_manipulator, &ObjectManipulator::targetSetScaleKey, m_skeleton, &Skeleton::onItemSetScaleKey);
    connect(m_manipulator, &ObjectManipulator::targetSetRotateKey, m_skeleton, &Skeleton::onItemSetRotationKey);
    // A set-up drag becomes the rest pose in the history, which records it.
    connect(m_manipulator, &ObjectManipulator::targetTransformed, m_history, &HistoryManager::assetsTransformed);
    connect(m_view, &TSGraphicsView::scaleChanged, m_indicator, qOverload<float>(&AddNodeIndicator::viewZoomChanged));
    connect(m_view, &TSGraphicsView::scaleChanged, m_manipulator, qOverload<float>(&ObjectManipulator::viewZoomChanged));
    connect(m_view, &TSGraphicsView::scaleChanged, m_axes, qOverload<float>(&SceneAxes::viewZoomChanged));
    connect(m_view, &TSGraphicsView::scaleChanged, m_skeleton, qOverload<float>(&Skeleton::viewZoomChanged));
    connect(m_view, &TSGraphicsView::scaleChanged, m_canvas, &AnimationCanvas::viewZoomChanged);
    connect(m_view, &TSGraphicsView::dragEnterSignal, m_skeleton, &Skeleton::assetDragEnterSlot);
    connect(m_view, &TSGraphicsView::dragMoveSignal, m_skeleton, &Skeleton::assetDragMoveSlot);
    connect(m_view, &TSGraphicsView::dropImages, m_edit, &EditController::dropImages);
    connect(m_view, &TSGraphicsView::dropSignal, m_history, &HistoryManager::addAssetFromDragDrop);
    connect(m_view, &TSGraphicsView::dragEnded, m_skeleton, &Skeleton::clearDropTarget);
    connect(m_view, &TSGraphicsView::customContextMenuRequested, this, &TSMainWindow::showPopupMenu);
    connect(m_scene, &TSGraphicsScene::mouseMoveSignal, m_axes, &SceneAxes::sceneMouseMove);
    connect(m_canvas, &AnimationCanvas::canvasRectChangedFromTo, m_history, &HistoryManager::changeCanvasSize);
    connect(m_canvas, &AnimationCanvas::textEditingRequested, this, &TSMainWindow::onCanvasEditingRequest);
    connect(m_axes, &SceneAxes::crossingChangedFromTo, m_history, &HistoryManager::changeAxesPosition);
    connect(m_indicator, &AddNodeIndicator::itemPressed, m_edit, &EditController::addNode);
    // Unsaved changes are what the history holds beyond the state last saved or loaded.
    connect(m_history, &QUndoStack::cleanChanged, this, [this](bool clean) { m_document->setModified(!clean); });
    connect(m_history, &HistoryManager::keysChanged, this, &TSMainWindow::onAnimationCurveChanged);
    // Any edit, undo or redo may change a pose (the scene, which owns the onion skin, goes first).
    connect(m_history, &QUndoStack::indexChanged, m_scene, [this] { m_onionSkin->refresh(); });
    connect(m_history, &HistoryManager::animationLengthChanged, m_animationEditor, &AnimationEditorPanel::setFrames);
    connect(m_history, &HistoryManager::playbackSpeedChanged, m_animationEditor, &AnimationEditorPanel::setSpeed);
    connect(m_history, &HistoryManager::loopingChanged, m_animationEditor, &AnimationEditorPanel::setLooping);
    connect(m_animationEditor, &AnimationEditorPanel::playToggleRequested, this, &TSMainWindow::togglePlayPause);
    connect(m_view, &TSGraphicsView::spaceTapped, this, &TSMainWindow::togglePlayPause);
    connect(m_animationEditor, &AnimationEditorPanel::onionSkinChanged, this, [this](const OnionSkin::Settings& settings) {
        TSApplicationSettings::instance()->setOnionSkin(settings);
        m_animationEditor->setOnionSkinSettings(settings);
        m_onionSkin->setSettings(settings);
    });
    connect(m_history, &HistoryManager::refused, this,
            [this](const QString& title, const QString& text) { TSMessageBox::warning(this, title, text); });
    connect(m_edit, &EditController::warning, this,
            [this](const QString& title, const QString& text) { TSMessageBox::warning(this, title, text); });
    connect(m_edit, &EditController::enablingChanged, this, &TSMainWindow::updateEnabling);
    connect(m_skeleton, &Skeleton::newFrame, m_animationEditor->timeline(),
            &TSAnimationEditorTimelineWidget::setCurrentFrame);
    connect(m_skeleton, &Skeleton::animationStopped, this, &TSMainWindow::updatePlayState);
    connect(m_skeleton, &Skeleton::nodesUpdated, this,
            [this] { m_outliner->showScene(m_scene, m_manipulator->targets()); });
    connect(m_animationEditor->timeline(), &TSAnimationEditorTimelineWidget::frameChanged, this,
            &TSMainWindow::showFrame);
    connect(m_outliner->tree(), &TSOutlinerWidget::moveItemToItemAtIndex, this,
            &TSMainWindow::onMoveItemToItemAtIndex);
    connect(m_outliner->tree(), &TSOutlinerWidget::renameRequested, m_objectSettings,
            &ObjectSettingsPanel::rename);
    connect(m_objectSettings, &ObjectSettingsPanel::hintButtonClicked, m_modes, &EditingModes::activate);
    connect(m_objectSettings, &ObjectSettingsPanel::refused, this,
            [this](const QString& title, const QString& text) { TSMessageBox::warning(this, title, text); });
    connect(m_document, &DocumentController::animationsChanged, this, [this] {
        m_animationEditor->setAnimations(m_document->animations(), m_document->currentAnimation());
    });
    connect(m_document, &DocumentController::currentAnimationChanged, this, [this](const QString& identifier) {
        m_animationEditor->setAnimations(m_document->animations(), identifier);
        m_animationEditor->setFrames(m_skeleton->frameCount());
        // The curve editor lets go of the curves of the animation left before it refits.
        m_animationController->selectionChanged();
        m_animationController->curveEditor()->refit();
        m_animationController->curveEditor()->removeKeySelection();
        m_animationEditor->timeline()->setCurrentFrame(0);
    });
    connect(m_flow, &DocumentFlow::aboutToLoad, this, &TSMainWindow::resetEditor);
    // The working folder is replaced on load: no recovery write may still be going on in it.
    connect(m_flow, &DocumentFlow::aboutToLoad, m_recovery, &AutoRecovery::finish);
    connect(m_history, &QUndoStack::indexChanged, m_recovery, &AutoRecovery::noteChange);
    connect(m_document, &DocumentController::modifiedChanged, m_recovery, [this](bool modified) {
        if (modified) {
            m_recovery->noteChange();
        }
    });
    connect(m_flow, &DocumentFlow::loadFinished, this, &TSMainWindow::refreshAfterLoad);
    connect(m_flow, &DocumentFlow::saved, this, &TSMainWindow::documentSaved);
    // After the title has followed the new name.
    connect(m_flow, &DocumentFlow::saved, m_recovery, &AutoRecovery::writeNow);
    connect(m_document, &DocumentController::modifiedChanged, this, [this](bool modified) {
        setWindowModified(modified);
    });
}

QAction* TSMainWindow::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

// Document lifecycle -----------------------------------------------------------------------------

void TSMainWindow::showWelcomeWindow(bool show)
{
    if (!m_welcome) {
        adoptWelcomeWindow(new TSWelcomeWindow(m_projectsFolder, isVisible() && !show ? this : nullptr));
    }
    m_welcome->show();
    m_welcome->raise();
}

void TSMainWindow::adoptWelcomeWindow(TSWelcomeWindow* welcome)
{
    m_welcome = welcome;
    m_welcome->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_welcome, &TSWelcomeWindow::newFileRequested, this, &TSMainWindow::newDocument);
    connect(m_welcome, &TSWelcomeWindow::openRequested, this, [this] {
        open();
        if (!m_document->skeletonName().isEmpty() || !m_skeleton->nodes().empty()) {
            showEditor();
        }
    });
    connect(m_welcome, &TSWelcomeWindow::loadFromFileRequested, this, [this](const QString& path, bool) {
        if (openFile(path)) {
            showEditor();
        }
    });
    auto openResource = [this](const QString& name, QString path) {
        path.remove(QStringLiteral(".gif"));
        if (loadDocument(path, true, name)) {
            showEditor();
        }
    };
    connect(m_welcome, &TSWelcomeWindow::openTemplateRequested, this, openResource);
    connect(m_welcome, &TSWelcomeWindow::openAnimationRequested, this,
            [openResource](const QString& name, QString path) {
                const QFileInfo info(path);
                const QStringList parts = info.fileName().split(QLatin1Char('.'));
                if (parts.size() == 3) {
                    path = info.path() + QLatin1Char('/') + parts.mid(1).join(QLatin1Char('.'));
                }
                openResource(name, path);
            });
}

void TSMainWindow::showEditor()
{
    if (!isVisible()) {
        if (QSettings().value(QStringLiteral("isMainWindowMaximized")).toBool()) {
            showMaximized();
        } else {
            show();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        fitCanvas();
    }
    if (m_welcome) {
        m_welcome->close();
    }
}

void TSMainWindow::newDocument()
{
    const QString path = QUrl::fromLocalFile(m_animationsFolder).toLocalFile() + QStringLiteral("default.bsdoc");
    if (!loadDocument(path, true, QStringLiteral("Untitled"))) {
        return;
    }
    setDocumentTitle(QStringLiteral("Untitled"));
    m_canvas->setCanvasRect(DocumentController::kDefaultCanvasRect);
    m_animationEditor->setFrames(20);
    m_skeleton->setDuration(20);
    if (m_skeleton->isPlaying()) {
        togglePlayPause();
    }
    showEditor();
}

void TSMainWindow::open()
{
    const QString path = m_flow->choose();
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool TSMainWindow::openFile(QString path)
{
    // A path from the command line may be relative to where the editor was started.
    path = QFileInfo(path).absoluteFilePath();
    const bool opened = m_flow->checkExists(path) && loadDocument(path, false);
    rebuildRecentFilesMenu();
    if (m_welcome) {
        m_welcome->refreshRecentFiles();
    }
    return opened;
}

void TSMainWindow::resetEditor()
{
    m_skeleton->stop();
    m_axes->hide();
    m_animationEditor->setPlaying(false);
    m_animationController->finishKeyMove();
    m_animationController->setExpanded(false);
    m_animationEditor->timeline()->setCurrentFrame(0);
    m_skeleton->setTimeScale(1.0f);
    m_animationEditor->setSpeed(1.0f);
    m_animationEditor->setFrames(20);
    m_manipulator->setTargets({});
    m_modes->reset();
    m_view->viewport()->update();
}

bool TSMainWindow::loadDocument(const QString& path, bool isTemplate, const QString& title)
{
    if (!m_flow->load(path, isTemplate)) {
        return false;
    }
    setDocumentTitle(title.isEmpty() ? QFileInfo(path).completeBaseName() : title);
    if (!isTemplate) {
        addRecentFile(path);
    }
    return true;
}

void TSMainWindow::refreshAfterLoad(bool loaded)
{
    m_outliner->rebuild(m_scene);
    const bool unnamed = m_document->skeletonName().isEmpty() && !m_skeleton->nodes().empty();
    m_objectSettings->setSkeletonName(unnamed ? QStringLiteral("Skeleton") : m_document->skeletonName());
    if (!loaded) {
        return;
    }
    m_animationEditor->setAnimations(m_document->animations(), m_document->currentAnimation());
    m_skeleton->viewZoomChanged(m_view->zoomFactor());
    m_animationController->selectionChanged();
    m_onionSkin->refresh();
    updateEnabling();
    if (isVisible()) {
        fitCanvas();
    }
}

void TSMainWindow::save()
{
    m_flow->save();
}

void TSMainWindow::saveAs()
{
    m_flow->saveAs();
}

bool TSMainWindow::recoverSession(const QString& session, const QString& title)
{
    if (!m_flow->recover(session)) {
        return false;
    }
    setDocumentTitle(title.isEmpty() ? QStringLiteral("Untitled") : title);
    return true;
}

bool TSMainWindow::writeDocument(const QString& path)
{
    return m_flow->write(path);
}

bool TSMainWindow::confirmClose()
{
    return m_flow->confirmClose();
}

void TSMainWindow::documentSaved(const QString& path)
{
    setDocumentTitle(QFileInfo(path).completeBaseName());
    addRecentFile(path);
    if (m_welcome) {
        m_welcome->refreshRecentFiles();
    }
}

void TSMainWindow::setDocumentTitle(const QString& title)
{
    // The placeholder shows the unsaved-changes marker while the document is modified.
    setWindowTitle(title + QStringLiteral("[*]"));
}

QString TSMainWindow::documentTitle() const
{
    QString title = windowTitle();
    return title.remove(QStringLiteral("[*]"));
}

// Editing ----------------------------------------------------------------------------------------

bool TSMainWindow::hasClipboard() const
{
    return m_edit->canPaste();
}

void TSMainWindow::addImagesFromFiles(const QList<QUrl>& urls)
{
    m_edit->importImages(urls);
}

void TSMainWindow::on_addNodeButton_clicked()
{
    m_edit->addNode();
}

void TSMainWindow::on_removeNodeButton_clicked()
{
    removeNodeAndChildren();
}

void TSMainWindow::removeNodeAndChildren()
{
    m_edit->removeNodeAndChildren();
}

void TSMainWindow::onDeleteRequested()
{
    // With the timeline under the mouse, Delete is about its picked key.
    TSAnimationEditorTimelineWidget* timeline = m_animationEditor->timeline();
    if (timeline->hasFocus()) {
        m_animationController->deleteKey(timeline->selectedKeyOrdinal());
    } else {
        m_edit->deleteSelection(false, timeline->currentFrame());
    }
}

void TSMainWindow::on_graphicsView_copyPressed()
{
    m_edit->copy();
}

void TSMainWindow::on_graphicsView_pastePressed()
{
    m_edit->paste();
}

void TSMainWindow::on_graphicsView_buttonPressed(Qt::Key key)
{
    if (key == Qt::Key_Control && !m_scene->mouseGrabberItem()) {
        m_manipulator->setOperation(ObjectManipulator::Rotate);
    }
}

void TSMainWindow::on_graphicsView_buttonReleased(Qt::Key key)
{
    if (key == Qt::Key_Control && !m_scene->mouseGrabberItem()) {
        m_manipulator->setOperation(ObjectManipulator::Move);
    }
}

void TSMainWindow::menuActionTriggered()
{
    if (auto* action = qobject_cast<QAction*>(sender())) {
        m_edit->arrange(static_cast<Skeleton::ZValueChangeAction>(action->data().toInt()));
    }
}

void TSMainWindow::adjustSettingsChanged(bool checked)
{
    TSApplicationSettings::instance()->setAutoAdjustAssetsScale(checked);
}

void TSMainWindow::checkForUpdates()
{
    HelpBoxes::checkForUpdates(this);
}

void TSMainWindow::showHelp()
{
    HelpBoxes::showHelp(this);
}

void TSMainWindow::showAbout()
{
    HelpBoxes::showAbout(this);
}

void TSMainWindow::saveSkeletonWithDummyObjects()
{
    const QString start = TSApplicationSettings::storedPath(QStringLiteral("Paths/SaveSkeletonPath"));
    const QString directory =
        TSFileDialogs::getExistingDirectory(this, QStringLiteral("Save skeleton with dummy objects"), start);
    if (!directory.isEmpty()) {
        TSApplicationSettings::setStoredPath(QStringLiteral("Paths/SaveSkeletonPath"), directory);
        m_document->writeSkeletonTemplate(directory, documentTitle());
    }
}

// Export ----------------------------------------------------------------------------------------

void TSMainWindow::exportAnimation()
{
    m_export->chooseDirectory();
}

void TSMainWindow::showExportDialog()
{
    m_export->showDialog();
}

void TSMainWindow::doExport(QSize size, int fps)
{
    m_export->exportAs(size, fps);
}

void TSMainWindow::doActualSceneExport()
{
    m_export->run();
}

// Playback and animations ------------------------------------------------------------------------

void TSMainWindow::togglePlayPause()
{
    const bool playing = m_skeleton->togglePlayPause();
    m_animationEditor->setPlaying(playing);
    m_onionSkin->setPlaying(playing);
}

void TSMainWindow::updatePlayState()
{
    m_animationEditor->setPlaying(m_skeleton->isPlaying());
    m_onionSkin->setPlaying(m_skeleton->isPlaying());
    m_onionSkin->showAround(m_animationEditor->timeline()->currentFrame());
}

void TSMainWindow::showFrame(int frame)
{
    m_animationController->curveEditor()->setPlayheadFrame(frame);
    m_skeleton->showFrame(frame);
    m_onionSkin->showAround(frame);
    updateSelectedItemsTransformDisplay();
}

void TSMainWindow::onAnimationCurveChanged()
{
    if (!m_skeleton->isPlaying() && m_manipulator->hasTargets()) {
        showFrame(m_animationEditor->timeline()->currentFrame());
    }
}

void TSMainWindow::on_playButton_clicked()
{
    togglePlayPause();
}

void TSMainWindow::on_animationComboBox_activated(int index)
{
    const QString identifier = m_animationEditor->animationComboBox()->itemData(index).toString();
    if (identifier != m_document->currentAnimation()) {
        m_skeleton->stop();
        m_document->selectAnimation(identifier);
    }
}

void TSMainWindow::on_outlinerWidget_currentObjectChanged(QList<QGraphicsItem*> items)
{
    // The outliner only mirrors the canvas: picked rows become the canvas selection (joints locked
    // while they cannot be edited), and everything else reads the canvas selection.
    m_modes->outlinerObjectsChanged(items);
}

void TSMainWindow::onMoveItemToItemAtIndex(const QGraphicsItem* item, const QGraphicsItem* parent, int)
{
    // The model keeps no order among the joints and images under a joint.
    m_edit->moveUnder(item, parent);
}

void TSMainWindow::on_outlinerWidget_objectVisibilityChanged(QGraphicsItem* item, bool isVisible)
{
    // Not a change of the document: the history does not record it.
    m_skeleton->setObjectVisible(item, isVisible);
}

// Selection and display ----------------------------------------------------------------------------

void TSMainWindow::selectionChanged(bool)
{
    m_outliner->showSelection(m_manipulator->targets());
    m_modes->selectionChanged();
    m_skeleton->selectionChanged();
    updateSelectedItemsTransformDisplay();
    m_animationController->selectionChanged();
    updateEnabling();
}

void TSMainWindow::updateSelectedItemsTransformDisplay()
{
    m_objectSettings->showSelection();
}

void TSMainWindow::updateEnabling()
{
    action(QStringLiteral("deleteAction"))->setEnabled(m_edit->canDelete());
    action(QStringLiteral("pasteAction"))->setEnabled(m_edit->canPaste());
    bool anyArrange = false;
    for (int i = 0; i < 4; ++i) {
        const bool can = m_edit->canArrange(static_cast<Skeleton::ZValueChangeAction>(i));
        action(QStringLiteral("arrangeAction%1").arg(i))->setEnabled(can);
        anyArrange = anyArrange || can;
    }
    m_arrangeMenu->setEnabled(anyArrange);
}

void TSMainWindow::showPopupMenu(QMouseEvent* event)
{
    QMenu menu(this);
    for (const char* name : {"addNodeAction", "deleteAction", "copyAction", "pasteAction"}) {
        if (QAction* entry = action(QLatin1String(name))) {
            menu.addAction(entry);
        }
    }
    menu.addMenu(m_arrangeMenu);
    menu.exec(event ? event->globalPos() : QCursor::pos());
}

void TSMainWindow::onCanvasEditingRequest(QRectF)
{
    const QRectF rect = m_canvas->canvasRect();
    bool ok = false;
    const QString text = QInputDialog::getText(this, QStringLiteral("Canvas Size"),
                                               QStringLiteral("Output size (width x height):"), QLineEdit::Normal,
                                               AnimationCanvas::labelText(rect), &ok);
    if (const std::optional<QRectF> typed = AnimationCanvas::rectForLabelText(rect, text); ok && typed) {
        m_history->setCanvasSize(*typed);
    }
}

void TSMainWindow::fitCanvas()
{
    m_fitter->fit();
}

bool TSMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_Z || key->key() == Qt::Key_Y)) {
            key->key() == Qt::Key_Z ? m_history->undo() : m_history->redo();
            return true;
        }
    }
    return TSBaseMainWindow::eventFilter(watched, event);
}
