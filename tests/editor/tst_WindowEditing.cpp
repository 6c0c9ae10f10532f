// Editing in the main window driven with real mouse and key events: what the selection is (also
// by rubber band), what Delete and Add Node act on (also during a drag), the timeline's Delete,
// drops and imports, the shortcuts and the title, and naming documents.
#include "AddNodeIndicator.h"
#include "AnimationEditorPanel.h"
#include "HistoryManager.h"
#include "TSAssetIndex.h"
#include "TSAssetsFrame.h"
#include "TSLibraryViewTagged.h"
#include "TSModelSkeletonAnimation.h"
#include "TestMain.h"
#include "WindowAnswers.h"
#include "WindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QMimeData>
#include <QShortcut>
#include <QTreeWidget>
#include <QWindow>

using test::kShipped;
using test::writePng;

class TestWindowEditing : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void deleteAndAddNodeActOnTheCanvasSelection();
    void addNodeButtonStaysBeyondItsJoint();
    void rubberBandPicksTheImages();
    void deleteDuringADragRemovesWhatThePressFound();
    void timelineDeleteRemovesOnlyThePickedKey();
    void dropBindsToTheJointUnderItOnlyOnce();
    void assetLibraryImportSearchAndDragOntoAJoint();
    void redoShortcutsAndModifiedMarker();
    void savedNamesGetTheSuffixAndRecentPathsAreAbsolute();
    void animationsNamedOutsideTheLibraryAreNotRead();

private:
    QGraphicsItem* placeholderOf(const QString& node) const
    {
        const Skeleton::Asset* asset = imageOf(node);
        return asset ? asset->placeholder : nullptr;
    }
};

void TestWindowEditing::initTestCase()
{
    setUpApplication();
    // A default group of two tagged images; the second default group has no index file.
    const QString library = m_dir.filePath("library");
    QString error;
    QVERIFY(QDir().mkpath(library + "/Characters"));
    QVERIFY(!writePng(library + "/Characters/sword.png", Qt::gray).isEmpty());
    QVERIFY(!writePng(library + "/Characters/shield.png", Qt::darkRed).isEmpty());
    QVERIFY(TSAssetIndex::write(library + "/assets_0.xml",
                                {{"Characters/sword.png", {"weapon", "blade"}}, {"Characters/shield.png", {"armour"}}},
                                &error));
    TSAssetsFrame::setDefaultRoot(library);
}

void TestWindowEditing::deleteAndAddNodeActOnTheCanvasSelection()
{
    openTemplate();
    Skeleton* skeleton = m_window->skeleton();
    TSGraphicsView* view = m_window->graphicsView();
    QTreeWidget* tree = m_window->outliner()->tree();
    QAction* remove = m_window->action("deleteAction");

    // A row picked in the outliner selects its joint on the canvas (locked outside animation mode).
    QVERIFY(test::clickRow(tree, "forearm_L"));
    QCOMPARE(m_window->manipulator()->targets(), {skeleton->nodeByName("forearm_L")->joint});
    QVERIFY(remove->isEnabled());

    // Clicking an image makes the image the selection; the outliner shows its row instead.
    QGraphicsItem* head = placeholderOf("head");
    QVERIFY(head);
    const QPointF onHead = pickable(head);
    QVERIFY(!qIsNaN(onHead.x()));
    clickAt(onHead);
    QCOMPARE(m_window->manipulator()->targets(), {head});
    QCOMPARE(m_window->outliner()->tree()->selectedObjects(), {head});

    // Add Node puts the new joint under the selected image's joint, not under the old row.
    const size_t nodes = skeleton->nodes().size();
    QTest::keyClick(view, Qt::Key_N);
    QCOMPARE(skeleton->nodes().size(), nodes + 1);
    QCOMPARE(skeleton->nodes().back()->parent, QStringLiteral("head"));

    // Delete removes the image, and only the image.
    const QPointF onHeadAgain = pickable(head);
    clickAt(onHeadAgain);
    QCOMPARE(m_window->manipulator()->targets(), {head});
    const size_t images = skeleton->images().size();
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(skeleton->images().size(), images - 1);
    QVERIFY(!placeholderOf("head"));
    QVERIFY(skeleton->nodeByName("forearm_L"));
    QVERIFY(skeleton->nodeByName("hand_L"));
    QCOMPARE(skeleton->nodes().size(), nodes + 1);

    // Nothing selected: Delete is off and removes nothing.
    QVERIFY(test::clickRow(tree, "forearm_L"));
    const QPointF empty(-2000, -2000);
    view->centerOn(empty);
    clickAt(empty);
    QVERIFY(m_window->manipulator()->targets().isEmpty());
    QVERIFY(tree->selectedItems().isEmpty());
    QVERIFY(!remove->isEnabled());
    QTest::keyClick(view, Qt::Key_Delete);
    QVERIFY(skeleton->nodeByName("forearm_L"));
    QCOMPARE(skeleton->nodes().size(), nodes + 1);
}

void TestWindowEditing::addNodeButtonStaysBeyondItsJoint()
{
    openTemplate();
    const Skeleton::Node* hand = m_window->skeleton()->nodeByName("hand_L");
    const AddNodeIndicator* plus = m_window->findChild<AddNodeIndicator*>();
    QVERIFY(plus);
    // 60 scene units beyond the joint, away from its parent joint.
    const auto offPlace = [hand, plus] {
        const QPointF at = hand->joint->sceneBoundingRect().center();
        const QLineF bone(hand->parentJoint->sceneBoundingRect().center(), at);
        const QPointF wanted = at + (bone.p2() - bone.p1()) * (AddNodeIndicator::kDistance / bone.length());
        return QLineF(plus->sceneBoundingRect().center(), wanted).length();
    };
    selectNode("hand_L");
    QVERIFY(plus->isVisible());
    QVERIFY(offPlace() < 1e-6);
    // The animated forearm carries the hand elsewhere from frame to frame.
    QPointF before = hand->joint->sceneBoundingRect().center();
    clickTimeline(30);
    QVERIFY(QLineF(before, hand->joint->sceneBoundingRect().center()).length() > 1);
    QVERIFY2(offPlace() < 1e-6, qPrintable(QString::number(offPlace())));
    // A typed position moves the joint, and so does its undo.
    before = hand->joint->sceneBoundingRect().center();
    type("posX", "40");
    QVERIFY(QLineF(before, hand->joint->sceneBoundingRect().center()).length() > 1);
    QVERIFY2(offPlace() < 1e-6, qPrintable(QString::number(offPlace())));
    QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(QLineF(before, hand->joint->sceneBoundingRect().center()).length() < 1e-6);
    QVERIFY2(offPlace() < 1e-6, qPrintable(QString::number(offPlace())));
    // Turning the joint itself keeps the button on the line from the parent.
    type("rotation", "45");
    QVERIFY2(offPlace() < 1e-6, qPrintable(QString::number(offPlace())));
}

void TestWindowEditing::rubberBandPicksTheImages()
{
    openTemplate();
    Skeleton* skeleton = m_window->skeleton();
    TSGraphicsView* view = m_window->graphicsView();
    ObjectManipulator* manipulator = m_window->manipulator();

    // A band from empty canvas across the whole figure picks every image (joints are locked).
    QRectF figure;
    QSet<QGraphicsItem*> images;
    for (const auto& asset : skeleton->images()) {
        figure |= asset->item->sceneBoundingRect();
        images.insert(asset->placeholder);
    }
    const QPointF corner = figure.topLeft() - QPointF(10, 10);
    const QList<QGraphicsItem*> under = m_window->scene()->items(corner);
    QVERIFY(std::none_of(under.begin(), under.end(),
                         [](QGraphicsItem* item) { return item->flags() & QGraphicsItem::ItemIsSelectable; }));
    test::drag(view, corner, figure.bottomRight() + QPointF(10, 10));
    const QList<QGraphicsItem*> picked = manipulator->targets();
    QCOMPARE(QSet<QGraphicsItem*>(picked.begin(), picked.end()), images);
}

void TestWindowEditing::deleteDuringADragRemovesWhatThePressFound()
{
    openTemplate();
    TSGraphicsView* view = m_window->graphicsView();
    // Delete during a drag removes the image as the press found it: undone, it is back there.
    QGraphicsItem* head = placeholderOf("head");
    const QPointF onHead = pickable(head);
    QVERIFY(!qIsNaN(onHead.x()));
    test::drag(view, onHead, onHead);
    const QTransform before = head->sceneTransform();
    const int commands = m_window->history()->count();
    test::pressAt(view, onHead);
    test::moveTo(view, onHead + QPointF(40, 25));
    QTest::keyClick(view, Qt::Key_Delete);
    QVERIFY(!placeholderOf("head"));
    test::moveTo(view, onHead + QPointF(60, 30));
    test::releaseAt(view, onHead + QPointF(60, 30));
    QCOMPARE(m_window->history()->count(), commands + 1);
    m_window->history()->undo();
    QCOMPARE(placeholderOf("head"), head);
    QCOMPARE(head->sceneTransform(), before);
}

void TestWindowEditing::timelineDeleteRemovesOnlyThePickedKey()
{
    openTemplate();
    Skeleton::Node* forearm = m_window->skeleton()->nodeByName("forearm_L");
    QVERIFY(forearm->animation);
    TSAnimationCurve& rotation = forearm->animation->channel(AnimatedObject::Rotation);
    rotation.setKeys(nullptr, 0);
    rotation.insertKey(0.5f, 10 / 60.0f, true);
    rotation.insertKey(0.7f, 11 / 60.0f, true);
    TSAnimationEditorTimelineWidget* timeline = m_window->animationEditor()->timeline();
    QVERIFY(timeline->frameCount() > 12);

    QVERIFY(test::clickRow(m_window->outliner()->tree(), "forearm_L"));
    QCOMPARE(timeline->keyFlags().at(10), 1);
    QCOMPARE(timeline->keyFlags().at(11), 1);
    // The playhead on frame 11 and a click on frame 12, where there is no key: no key is
    // picked, and Delete takes neither a key nor the selected joint.
    clickTimeline(11);
    QCOMPARE(timeline->currentFrame(), 11);
    clickTimeline(12, true);
    QCOMPARE(timeline->selectedKey(), -1);
    QVERIFY(timeline->hasFocus());
    QTest::keyClick(timeline, Qt::Key_Delete);
    QCOMPARE(rotation.keyCount(), 2u);
    // The key picked on frame 10 goes, and only it.
    clickTimeline(10, true);
    QCOMPARE(timeline->selectedKey(), 10);
    QCOMPARE(timeline->currentFrame(), 11);
    QTest::keyClick(timeline, Qt::Key_Delete);
    QCOMPARE(rotation.keyCount(), 1u);
    QCOMPARE(rotation.keyFrames(), QList<int>{11});
    QCOMPARE(timeline->keyFlags().at(10), 0);
    QVERIFY(m_window->skeleton()->nodeByName("forearm_L"));
}

void TestWindowEditing::dropBindsToTheJointUnderItOnlyOnce()
{
    test::Choosers choosers;
    openTemplate();
    Skeleton* skeleton = m_window->skeleton();
    TSGraphicsView* view = m_window->graphicsView();
    const QString dropped = writePng(m_dir.filePath("dropped.png"), Qt::green);
    const QString imported = writePng(m_dir.filePath("imported.png"), Qt::blue);
    QVERIFY(!dropped.isEmpty() && !imported.isEmpty());

    // Drag a PNG over the head joint and drop it there.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(dropped)});
    const QPoint at = view->mapFromScene(skeleton->nodeByName("head")->joint->sceneBoundingRect().center());
    QVERIFY(test::dragOver(view->viewport(), at, &data));
    QCOMPARE(skeleton->dropTarget(), skeleton->nodeByName("head"));
    test::dropOn(view->viewport(), at, &data);
    QCOMPARE(skeleton->images().back()->name, QStringLiteral("dropped"));
    QCOMPARE(skeleton->images().back()->nodeName, QStringLiteral("head"));
    QVERIFY(!skeleton->dropTarget());

    // A later import with nothing selected goes to the root, not to the joint of the old drop.
    view->centerOn(-2000, -2000);
    test::pressAt(view, QPointF(-2000, -2000));
    test::releaseAt(view, QPointF(-2000, -2000));
    QVERIFY(m_window->manipulator()->targets().isEmpty());
    m_window->addImagesFromFiles({QUrl::fromLocalFile(imported)});
    QCOMPARE(skeleton->images().back()->name, QStringLiteral("imported"));
    QCOMPARE(skeleton->images().back()->nodeName, QStringLiteral("pelvis"));
}

void TestWindowEditing::assetLibraryImportSearchAndDragOntoAJoint()
{
    test::Choosers choosers;
    openTemplate();
    auto* groups = widget<QComboBox>("assetsGroupComboBox");
    auto* library = widget<TSLibraryViewTagged>("assetsView");
    QVERIFY(groups && library);
    QCOMPARE(groups->currentText(), QStringLiteral("Characters"));
    QTRY_COMPARE(library->model()->rowCount(), 2);

    // The search field filters by tag prefix.
    auto* search = widget<QLineEdit>("searchWidget");
    QTest::keyClicks(search, "BL");
    QCOMPARE(library->model()->rowCount(), 1);
    QCOMPARE(library->model()->index(0, 0).data().toString(), QStringLiteral("sword"));

    // Importing while a default group is shown makes "Untitled 0" and copies the files there.
    const QString own = writePng(m_dir.filePath("blade-runner.png"), Qt::cyan);
    const QString other = writePng(m_dir.filePath("cape.png"), Qt::magenta);
    choosers.answers << own + "\n" + other;
    clickButton("importAssetsButton");
    QCOMPARE(choosers.asked.last().caption, QStringLiteral("Import Assets"));
    QCOMPARE(choosers.asked.last().filter, QStringLiteral("Images (*.png)"));
    QCOMPARE(groups->currentText(), QStringLiteral("Untitled 0"));
    const QString folder = TSAssetGroups::ownRootFolder() + "/Untitled 0";
    QVERIFY(QFileInfo(folder + "/blade-runner.png").isFile() && QFileInfo(folder + "/cape.png").isFile());
    // The search still applies: the file name matches "bl", the cape does not.
    QTRY_COMPARE(library->model()->rowCount(), 1);
    QTest::keyClick(search, Qt::Key_Backspace);
    QTest::keyClick(search, Qt::Key_Backspace);
    QTRY_COMPARE(library->model()->rowCount(), 2);

    // Back in the default group, the sword tile is picked with the mouse and dragged onto the head.
    groups->setCurrentIndex(0);
    QTRY_COMPARE(library->model()->rowCount(), 2);
    const QModelIndex sword = library->model()->index(0, 0);
    QTest::mouseClick(library->viewport(), Qt::LeftButton, Qt::NoModifier, library->visualRect(sword).center());
    QCOMPARE(library->selectionModel()->selectedIndexes(), QModelIndexList({sword}));
    std::unique_ptr<QMimeData> data(library->model()->mimeData(library->selectionModel()->selectedIndexes()));
    QVERIFY(data && data->hasImage() && !data->hasUrls());

    Skeleton* skeleton = m_window->skeleton();
    TSGraphicsView* view = m_window->graphicsView();
    HistoryManager* history = m_window->history();
    const int steps = history->index();
    const size_t images = skeleton->images().size();
    const QPoint at = view->mapFromScene(skeleton->nodeByName("head")->joint->sceneBoundingRect().center());
    QVERIFY(test::dropOn(view->viewport(), at, data.get()));
    QCOMPARE(skeleton->images().size(), images + 1);
    const Skeleton::Asset* added = skeleton->images().back().get();
    QCOMPARE(added->name, QStringLiteral("sword"));
    QCOMPARE(added->nodeName, QStringLiteral("head"));
    QCOMPARE(added->tags, QStringList({"weapon", "blade"}));
    QCOMPARE(history->index(), steps + 1);
    history->undo();
    QCOMPARE(skeleton->images().size(), images);
    history->redo();
    QCOMPARE(skeleton->images().back()->nodeName, QStringLiteral("head"));
}

void TestWindowEditing::redoShortcutsAndModifiedMarker()
{
    openTemplate();
    const QString clean = m_window->windowHandle()->title();
    Skeleton* skeleton = m_window->skeleton();
    Skeleton::Node* head = skeleton->nodeByName("head");
    skeleton->setAnimationMode(true);
    head->joint->setTransform(QTransform().rotate(-30) * head->joint->transform());
    QList<AnimatedObject::AnimatedProperty> properties = {AnimatedObject::Rotation};
    skeleton->onItemSetKey(head->joint, properties);
    HistoryManager* history = m_window->history();
    QCOMPARE(history->index(), 1);

    // Redo alone owns both of its keys on every platform: a second owner of Ctrl+Shift+Z makes
    // the keys ambiguous where the platform's redo keys include it, and then neither fires.
    const QKeySequence redoKeys[] = {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")};
    for (const QKeySequence& key : redoKeys) {
        QVERIFY2(m_window->action("redoAction")->shortcuts().contains(key), qPrintable(key.toString()));
        int owners = 0;
        for (const QAction* action : m_window->findChildren<QAction*>()) {
            owners += action->shortcuts().contains(key) ? 1 : 0;
        }
        for (const QShortcut* shortcut : m_window->findChildren<QShortcut*>()) {
            owners += shortcut->key() == key ? 1 : 0;
        }
        QCOMPARE(owners, 1);
    }
    TSGraphicsView* view = m_window->graphicsView();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(history->index(), 0);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(history->index(), 1);
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(history->index(), 1);

    // The title carries the unsaved-changes marker while there are unsaved changes.
    QCOMPARE(clean, QStringLiteral("Biped Character"));
    QCOMPARE(m_window->windowHandle()->title(), QStringLiteral("Biped Character*"));
}

void TestWindowEditing::savedNamesGetTheSuffixAndRecentPathsAreAbsolute()
{
    test::Choosers choosers;
    // A relative path, as a command line gives it, is remembered absolute.
    QVERIFY(QDir(m_dir.path()).mkpath("sub"));
    const QString relative = m_dir.filePath("sub/relative.bsdoc");
    QVERIFY(QFile::copy(kShipped + "/projects/Tentacle.bsdoc", relative));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.filePath("sub")));
    const bool opened = m_window->openFile("relative.bsdoc");
    QDir::setCurrent(before);
    QVERIFY(opened);
    QCOMPARE(m_window->recentFiles().first(), QDir::toNativeSeparators(relative));
    QCOMPARE(TSModelController::instance()->documentPath(), relative);

    // A name typed without a suffix is saved with ours.
    m_window->show();
    choosers.answers << m_dir.filePath("walker");
    m_window->action("saveAsAction")->trigger();
    const QString saved = m_dir.filePath("walker.bsdoc");
    QVERIFY(QFileInfo(saved).isFile());
    QVERIFY(!QFileInfo::exists(m_dir.filePath("walker")));
    QCOMPARE(m_window->windowHandle()->title(), QStringLiteral("walker"));
    QCOMPARE(m_window->recentFiles().first(), QDir::toNativeSeparators(saved));
}

void TestWindowEditing::animationsNamedOutsideTheLibraryAreNotRead()
{
    // A document may name template animations by path; a path outside the library (here a
    // readable animation file elsewhere) is listed by its file name and never opened.
    const QString outside = m_dir.filePath("outside.json");
    QFile file(outside);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({"name": "Stolen", "duration": 1, "animations": []})");
    file.close();
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Tentacle.bsdoc", true, "Tentacle"));
    auto* model = new TSModelSkeletonAnimation();
    model->setName(outside.toStdString());
    TSModelController::instance()->addModel(model, false);
    model->release();
    QString error;
    const QString document = m_dir.filePath("pointing outside.bsdoc");
    QVERIFY2(m_window->document()->save(document, &error), qPrintable(error));
    QVERIFY(m_window->openFile(document));
    QStringList names;
    for (const DocumentController::Animation& animation : m_window->document()->animations()) {
        if (animation.identifier == outside) {
            names << animation.name;
        }
    }
    QCOMPARE(names, QStringList{"outside"});
}

BONESTAGE_WIDGETS_TEST_MAIN(TestWindowEditing)
#include "tst_WindowEditing.moc"
