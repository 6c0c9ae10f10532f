// Undo and redo of every kind of edit, made in the main window with real mouse and key events:
// the edit shows, Ctrl+Z gives back exactly what was there (names, scene positions, keys and the
// very same scene items), Ctrl+Y and Ctrl+Shift+Z make it again, the Edit menu names the step,
// and the title's unsaved-changes marker follows the history.
#include "AddNodeIndicator.h"
#include "AnimationCanvas.h"
#include "AnimationEditorPanel.h"
#include "HistoryManager.h"
#include "TestMain.h"
#include "WindowAnswers.h"
#include "WindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>
#include <QMimeData>
#include <QSpinBox>
#include <QTreeWidget>
#include <QWindow>

#include <cmath>
#include <functional>

namespace {

using test::answerNextInput;
using test::writePng;

QString transformText(const QTransform& t)
{
    return QString::asprintf("(%.3f %.3f %.3f %.3f %.3f %.3f)", t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
}

/// Whether to is from moved by offset, and only moved.
bool moved(const QTransform& from, const QTransform& to, const QPointF& offset)
{
    const QPointF shift = to.map(QPointF()) - from.map(QPointF());
    return QLineF(shift, offset).length() < 1e-3 && to.m11() == from.m11() && to.m12() == from.m12() &&
           to.m21() == from.m21() && to.m22() == from.m22();
}

} // namespace

class TestUndoRedo : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void addNodeByKeyOutlinerAndCanvasButton();
    void deleteNodeBranchAndImage();
    void importDropAndPasteImages();
    void setupDragsOfImages();
    void arrangeKeepsDummiesBelow();
    void keyedDragsAndTimelineDelete();
    void canvasSizeByHandleAndByTyping();
    void framesAndNewAnimation();
    void keysOfANewAnimationComeBackOnRedo();
    void keyEditUndoesInItsOwnAnimation();
    void deletionsKeepTheKeysOfOtherAnimations();
    void undoDuringPlaybackAndAcrossDocuments();
    void impossibleRequestsChangeNothing();
    void manyFilesDroppedAreOneStep();

private:
    void openBiped();
    /// What the user sees of the document: nodes, images, canvas, animations, keys and outliner.
    QStringList state() const;
    /// The scene items of every node and image, in order.
    QList<const void*> items() const;
    QString title() const { return m_window->windowHandle()->title(); }
    /// Makes the edit, then undoes and redoes it with the keys and the Edit menu, checking each
    /// step against the state before and after and the texts the Edit menu shows.
    void roundTrip(const QString& text, const std::function<void()>& edit);
    void press(const QKeySequence& keys) { QTest::keySequence(m_window->graphicsView(), keys); }
    /// Opens an input dialog with open, types text into it and confirms it.
    void typeInto(const std::function<void()>& open, const QString& text);
    /// The window active again with the keyboard on the canvas.
    void regainKeyboard();
    /// The add-animation button, answered with name.
    void newAnimation(const QString& name);
    void clickImage(const QString& name, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /// A drag on the canvas that takes item (a joint or an image) and moves the mouse by about
    /// offset; made, when given, is the scene offset between the whole view pixels it pressed and
    /// released on.
    void dragItem(const QGraphicsItem* item, const QPointF& offset, QPointF* made = nullptr);
    void selectNode(const QString& name);
    /// The next (Key_Down) or previous (Key_Up) animation, picked in the animation chooser.
    void chooseAnimation(Qt::Key key);
    Skeleton::Asset* image(const QString& name) const;
};

void TestUndoRedo::openBiped()
{
    openTemplate();
    m_window->graphicsView()->setFocus();
    QCOMPARE(title(), QStringLiteral("Biped Character"));
}

QStringList TestUndoRedo::state() const
{
    const Skeleton* skeleton = m_window->skeleton();
    QStringList lines;
    for (const auto& node : skeleton->nodes()) {
        lines << QStringLiteral("node %1 <- %2 %3").arg(node->name, node->parent,
                                                        transformText(node->joint->sceneTransform()));
    }
    for (const auto* list : {&skeleton->images(), &skeleton->dummyImages()}) {
        for (const auto& asset : *list) {
            lines << QStringLiteral("image %1 on %2 z %3 %4")
                         .arg(asset->name, asset->nodeName)
                         .arg(asset->item->zValue())
                         .arg(transformText(asset->item->sceneTransform()));
        }
    }
    const QRectF canvas = m_window->animationCanvas()->canvasRect();
    lines << QString::asprintf("canvas %.2f %.2f %.2f %.2f", canvas.x(), canvas.y(), canvas.width(), canvas.height());
    QStringList animations;
    for (const DocumentController::Animation& animation : m_window->document()->animations()) {
        animations << animation.identifier;
    }
    const AnimationEditorPanel* editor = m_window->animationEditor();
    lines << QStringLiteral("animations %1; current %2 shown %3").arg(animations.join(','),
                                                                      m_window->document()->currentAnimation(),
                                                                      editor->animationComboBox()->currentText());
    lines << QStringLiteral("frames %1 field %2").arg(m_window->skeleton()->frameCount()).arg(editor->framesEdit()->text());
    // Tracks without keys (a node's default ones) show nothing and are left out.
    for (const auto& tracks : m_window->skeleton()->tracks()) {
        if (!tracks->hasKeys()) {
            continue;
        }
        QString line = QString::asprintf("tracks %s %.4f:", qPrintable(tracks->name()), tracks->duration());
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            const TSAnimationCurve& curve = tracks->channel(channel);
            for (int i = 0; i < curve.keyCount(); ++i) {
                const bez3& key = curve.keys()[i];
                line += QString::asprintf(" %d[%.4f %.4f %.4f %.4f]", channel, key.inHandle, key.time, key.value,
                                          key.outHandle);
            }
        }
        lines << line;
    }
    QStringList rows;
    for (QTreeWidgetItemIterator it(m_window->outliner()->tree()); *it; ++it) {
        rows << (*it)->text(0);
    }
    lines << QStringLiteral("outliner %1").arg(rows.join(','));
    return lines;
}

QList<const void*> TestUndoRedo::items() const
{
    QList<const void*> items;
    for (const auto& node : m_window->skeleton()->nodes()) {
        items << node->joint << node->overlay << node->bone;
    }
    for (const auto* list : {&m_window->skeleton()->images(), &m_window->skeleton()->dummyImages()}) {
        for (const auto& asset : *list) {
            items << asset->item << asset->placeholder;
        }
    }
    return items;
}

void TestUndoRedo::roundTrip(const QString& text, const std::function<void()>& edit)
{
    HistoryManager* history = m_window->history();
    QAction* undo = m_window->action("undoAction");
    QAction* redo = m_window->action("redoAction");
    const QStringList before = state();
    const QList<const void*> itemsBefore = items();
    const QString titleBefore = title();
    const int index = history->index();

    edit();
    if (QTest::currentTestFailed()) {
        return;
    }
    const QStringList after = state();
    const QList<const void*> itemsAfter = items();
    QVERIFY2(after != before, qPrintable(text));
    QCOMPARE(history->count(), index + 1);
    QCOMPARE(history->index(), index + 1);
    QCOMPARE(undo->text(), "Undo " + text);
    const QString titleAfter = title();
    QVERIFY(titleAfter.endsWith('*'));

    // Ctrl+Z, Ctrl+Y, Edit > Undo, Ctrl+Shift+Z, Edit > Undo, Edit > Redo.
    const std::function<void()> steps[] = {
        [this] { press(QKeySequence("Ctrl+Z")); }, [this] { press(QKeySequence("Ctrl+Y")); },
        [undo] { undo->trigger(); },               [this] { press(QKeySequence("Ctrl+Shift+Z")); },
        [undo] { undo->trigger(); },               [redo] { redo->trigger(); }};
    for (int i = 0; i < 6; ++i) {
        steps[i]();
        const bool undone = i % 2 == 0;
        QCOMPARE(history->index(), undone ? index : index + 1);
        QCOMPARE(state(), undone ? before : after);
        QVERIFY(items() == (undone ? itemsBefore : itemsAfter));
        QCOMPARE(title(), undone ? titleBefore : titleAfter);
        QCOMPARE(undone ? redo->text() : undo->text(), (undone ? "Redo " : "Undo ") + text);
    }
}

void TestUndoRedo::typeInto(const std::function<void()>& open, const QString& text)
{
    answerNextInput(text);
    open();
    // Some dialogs do not block: they are answered while the events go on.
    QTRY_VERIFY(!QApplication::activeModalWidget());
    regainKeyboard();
}

void TestUndoRedo::regainKeyboard()
{
    // What the window manager does once a dialog or the progress window has gone.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_window->graphicsView()->setFocus();
}

void TestUndoRedo::newAnimation(const QString& name)
{
    typeInto([this] { clickButton("addButton"); }, name);
}

Skeleton::Asset* TestUndoRedo::image(const QString& name) const
{
    for (const auto& asset : m_window->skeleton()->images()) {
        if (asset->name == name) {
            return asset.get();
        }
    }
    return nullptr;
}

void TestUndoRedo::clickImage(const QString& name, Qt::KeyboardModifiers modifiers)
{
    QVERIFY2(image(name), qPrintable(name));
    WindowFixture::clickImage(image(name), modifiers);
}

void TestUndoRedo::dragItem(const QGraphicsItem* item, const QPointF& offset, QPointF* made)
{
    const QPointF from = pickable(item);
    QVERIFY(!qIsNaN(from.x()));
    TSGraphicsView* view = m_window->graphicsView();
    test::drag(view, from, from + offset);
    if (made) {
        *made = view->mapToScene(view->mapFromScene(from + offset)) - view->mapToScene(view->mapFromScene(from));
    }
}

void TestUndoRedo::selectNode(const QString& name)
{
    WindowFixture::selectNode(name);
    m_window->graphicsView()->setFocus();
}

void TestUndoRedo::chooseAnimation(Qt::Key key)
{
    QComboBox* chooser = m_window->animationEditor()->animationComboBox();
    chooser->setFocus();
    QTest::keyClick(chooser, key);
    m_window->graphicsView()->setFocus();
}

// Edits -----------------------------------------------------------------------------------------

void TestUndoRedo::addNodeByKeyOutlinerAndCanvasButton()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    const size_t nodes = skeleton->nodes().size();
    selectNode("hand_L");
    roundTrip("add node", [&] {
        press(QKeySequence(Qt::Key_N));
        QCOMPARE(skeleton->nodes().size(), nodes + 1);
        QCOMPARE(skeleton->nodes().back()->name, QStringLiteral("New node 1"));
        QCOMPARE(skeleton->nodes().back()->parent, QStringLiteral("hand_L"));
    });
    selectNode("head");
    roundTrip("add node", [&] {
        clickButton("addNodeButton");
        QCOMPARE(skeleton->nodes().back()->name, QStringLiteral("New node 2"));
        QCOMPARE(skeleton->nodes().back()->parent, QStringLiteral("head"));
    });
    // The "+" beside a selected joint puts the new joint where the button is, to the whole pixel of
    // its parent's coordinates that a document keeps.
    selectNode("forearm_R");
    AddNodeIndicator* plus = m_window->findChild<AddNodeIndicator*>();
    QVERIFY(plus && plus->isVisible());
    const QPointF at = plus->sceneBoundingRect().center();
    roundTrip("add node", [&] {
        clickAt(at);
        Skeleton::Node* added = skeleton->nodeByName("New node 3");
        QVERIFY(added);
        QCOMPARE(added->parent, QStringLiteral("forearm_R"));
        const QPointF wanted = added->parentJoint->mapFromScene(at);
        QVERIFY(std::abs(added->position.x() - wanted.x()) <= 0.5 &&
                std::abs(added->position.y() - wanted.y()) <= 0.5);
        QCOMPARE(added->position, QPointF(std::round(added->position.x()), std::round(added->position.y())));
        QVERIFY(QLineF(added->joint->sceneBoundingRect().center(),
                       added->parentJoint->mapToScene(added->position))
                    .length() < 1e-6);
    });
}

void TestUndoRedo::deleteNodeBranchAndImage()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    roundTrip("Delete nodes", [&] {
        selectNode("upper_arm_L");
        press(QKeySequence::Delete);
        QVERIFY(!skeleton->nodeByName("upper_arm_L"));
        QVERIFY(!skeleton->nodeByName("hand_L"));
        QVERIFY(!image("forearm_L"));
    });
    roundTrip("delete asset", [&] {
        clickImage("head");
        press(QKeySequence::Delete);
        QVERIFY(!image("head"));
        QVERIFY(skeleton->nodeByName("head"));
    });
    // A node without images goes and comes back at the same place under the same parent.
    selectNode("foot_R");
    press(QKeySequence(Qt::Key_N));
    roundTrip("Delete nodes", [&] {
        selectNode("New node 1");
        press(QKeySequence::Delete);
        QVERIFY(!skeleton->nodeByName("New node 1"));
        QVERIFY(skeleton->nodeByName("foot_R"));
    });
}

void TestUndoRedo::importDropAndPasteImages()
{
    test::Choosers choosers;
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    const QString imported = writePng(m_dir.filePath("imported.png"), Qt::blue);
    const QString dropped = writePng(m_dir.filePath("dropped.png"), Qt::green);
    QVERIFY(!imported.isEmpty() && !dropped.isEmpty());

    selectNode("chest");
    roundTrip("add asset", [&] {
        m_window->addImagesFromFiles({QUrl::fromLocalFile(imported)});
        QVERIFY(image("imported"));
        QCOMPARE(image("imported")->nodeName, QStringLiteral("chest"));
    });
    roundTrip("add asset", [&] {
        dropFiles({QUrl::fromLocalFile(dropped)}, "head");
        QVERIFY(image("dropped"));
        QCOMPARE(image("dropped")->nodeName, QStringLiteral("head"));
    });
    clickImage("foot_L");
    press(QKeySequence::Copy);
    QVERIFY(m_window->action("pasteAction")->isEnabled());
    selectNode("spine");
    roundTrip("add asset", [&] {
        const size_t images = skeleton->images().size();
        press(QKeySequence::Paste);
        QCOMPARE(skeleton->images().size(), images + 1);
        QCOMPARE(skeleton->images().back()->nodeName, QStringLiteral("spine"));
    });
}

void TestUndoRedo::setupDragsOfImages()
{
    openBiped();
    QVERIFY(!m_window->skeleton()->animationMode());
    roundTrip("move asset", [&] {
        const QTransform was = image("head")->item->sceneTransform();
        QPointF made;
        dragItem(image("head")->placeholder, QPointF(30, 20), &made);
        QVERIFY(moved(was, image("head")->item->sceneTransform(), made));
    });
    roundTrip("move 3 assets", [&] {
        clickImage("head");
        clickImage("foot_L", Qt::ControlModifier);
        clickImage("hand_R", Qt::ControlModifier);
        QCOMPARE(m_window->manipulator()->targets().size(), 3);
        const QTransform was = image("foot_L")->item->sceneTransform();
        QPointF made;
        dragItem(image("foot_L")->placeholder, QPointF(-25, 10), &made);
        QVERIFY(moved(was, image("foot_L")->item->sceneTransform(), made));
    });
    // Saved, the document has no changes; undo makes it differ from the file again.
    test::Choosers choosers;
    choosers.answers << m_dir.filePath("saved.bsdoc");
    press(QKeySequence::Save);
    QCOMPARE(title(), QStringLiteral("saved"));
    regainKeyboard();
    press(QKeySequence::Undo);
    QCOMPARE(title(), QStringLiteral("saved*"));
    press(QKeySequence("Ctrl+Y"));
    QCOMPARE(title(), QStringLiteral("saved"));
}

void TestUndoRedo::arrangeKeepsDummiesBelow()
{
    test::Choosers choosers;
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    // The template's images become placeholders (no gesture of the window makes them); three
    // images of its own go on top.
    skeleton->makeAllAssetsDummy();
    QAction* adjust = m_window->action("adjustAction");
    if (adjust->isChecked()) {
        adjust->trigger();
    }
    selectNode("chest");
    int side = 300;
    for (const char* name : {"a", "b", "c"}) {
        m_window->addImagesFromFiles(
            {QUrl::fromLocalFile(writePng(m_dir.filePath(QString("%1.png").arg(name)), Qt::red, QSize(side, side)))});
        side -= 100;
    }
    QCOMPARE(skeleton->images().size(), size_t(3));
    roundTrip("send asset to back", [&] {
        clickImage("c");
        press(QKeySequence("Ctrl+Shift+["));
        QCOMPARE(image("c")->item->zValue(), 0.0);
        QCOMPARE(image("a")->item->zValue(), 1.0);
        QCOMPARE(image("b")->item->zValue(), 2.0);
        for (const auto& dummy : skeleton->dummyImages()) {
            QVERIFY(dummy->item->zValue() < 0);
        }
    });
    roundTrip("bring asset forward", [&] {
        clickImage("a");
        press(QKeySequence("Ctrl+]"));
        QCOMPARE(image("a")->item->zValue(), 2.0);
    });
}

void TestUndoRedo::keyedDragsAndTimelineDelete()
{
    openBiped();
    startRecording();
    Skeleton* skeleton = m_window->skeleton();
    Skeleton::Node* head = skeleton->nodeByName("head");
    // Two drags of the same joint on the same frame are two steps.
    const QStringList unkeyed = state();
    QStringList once;
    roundTrip("Animation change", [&] {
        dragItem(head->joint, QPointF(12, -8));
        QVERIFY(head->animation->channel(AnimatedObject::LocationX).keyCount() > 0);
        once = state();
    });
    roundTrip("Animation change", [&] {
        dragItem(head->joint, QPointF(-20, 4));
    });
    press(QKeySequence::Undo);
    QCOMPARE(state(), once);
    press(QKeySequence::Undo);
    QCOMPARE(state(), unkeyed);
    press(QKeySequence("Ctrl+Y"));
    press(QKeySequence("Ctrl+Y"));

    // Delete on the timeline removes the keys of the selected joint's picked frame.
    selectNode("forearm_L");
    TSAnimationEditorTimelineWidget* timeline = m_window->animationEditor()->timeline();
    clickTimeline(15, true);
    QCOMPARE(timeline->selectedKey(), 15);
    roundTrip("Delete keyframe", [&] {
        QTest::keyClick(timeline, Qt::Key_Delete);
        QVERIFY(!skeleton->nodeByName("forearm_L")->animation->channel(AnimatedObject::Rotation).keyFrames().contains(15));
    });
}

void TestUndoRedo::canvasSizeByHandleAndByTyping()
{
    openBiped();
    AnimationCanvas* canvas = m_window->animationCanvas();
    roundTrip("Change canvas size", [&] {
        const QRectF was = canvas->canvasRect();
        const QPointF corner = canvas->handle(2)->sceneBoundingRect().center();
        test::drag(m_window->graphicsView(), corner, corner + QPointF(40, 30));
        QVERIFY(QLineF(canvas->canvasRect().bottomRight(), was.bottomRight() + QPointF(40, 30)).length() < 1);
        QCOMPARE(canvas->canvasRect().topLeft(), was.topLeft());
    });
    roundTrip("Change canvas size", [&] {
        const QPointF centre = canvas->canvasRect().center();
        typeInto([&] { clickAt(canvas->label()->sceneBoundingRect().center()); }, "300x150");
        QCOMPARE(canvas->canvasRect().size(), QSizeF(1000, 500));
        QCOMPARE(canvas->canvasRect().center(), centre);
    });
}

void TestUndoRedo::framesAndNewAnimation()
{
    openBiped();
    QLineEdit* frames = m_window->animationEditor()->framesEdit();
    roundTrip("Change frames", [&] {
        test::typeInto(frames, "60");
        QCOMPARE(m_window->skeleton()->frameCount(), 60);
    });
    // Ctrl+Z and Ctrl+Y typed in the field itself act on the history, and leaving the field
    // afterwards records nothing more.
    const QStringList shortened = state();
    QTest::keyClick(frames, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(frames->text(), QStringLiteral("121"));
    const QStringList full = state();
    QTest::keyClick(frames, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(state(), shortened);
    m_window->graphicsView()->setFocus();
    QCOMPARE(m_window->history()->count(), 1);
    // Undone in another animation, the length goes back in its own.
    chooseAnimation(Qt::Key_Down);
    press(QKeySequence::Undo);
    QCOMPARE(state(), full);
    chooseAnimation(Qt::Key_Down);
    press(QKeySequence("Ctrl+Y"));
    QCOMPARE(state(), shortened);
    roundTrip("New animation", [&] {
        newAnimation("Fly");
        QCOMPARE(m_window->animationEditor()->animationComboBox()->currentText(), QStringLiteral("Fly"));
    });
    // A name the chooser already shows is refused: undoing it would take the first one away.
    // The name is asked for again; Escape gives up.
    test::Boxes boxes;
    const QStringList before = state();
    for (const QString name : {"Fly", "Idle"}) {
        answerNextInput(name);
        clickButton("addButton");
        QTRY_COMPARE(boxes.shown.size(), name == "Fly" ? 1 : 2);
        QCOMPARE(boxes.shown.last().title, QStringLiteral("New animation"));
        QCOMPARE(boxes.shown.last().text, QStringLiteral("An animation named \"%1\" already exists.").arg(name));
        QTRY_VERIFY(qobject_cast<QInputDialog*>(QApplication::activeModalWidget()));
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(m_window->history()->count(), 2);
    }
    regainKeyboard();
    QCOMPARE(state(), before);
}

void TestUndoRedo::keysOfANewAnimationComeBackOnRedo()
{
    openBiped();
    newAnimation("Fly");
    startRecording();
    // A joint keyed in the new animation (images are not animated).
    Skeleton::Node* head = m_window->skeleton()->nodeByName("head");
    dragItem(head->joint, QPointF(12, -8));
    QVERIFY(head->animation->hasKeys());
    const QStringList keyed = state();
    press(QKeySequence::Undo);
    press(QKeySequence::Undo);
    QCOMPARE(m_window->document()->currentAnimation(), QStringLiteral("Biped/Idle.json"));
    press(QKeySequence("Ctrl+Y"));
    press(QKeySequence("Ctrl+Y"));
    QCOMPARE(state(), keyed);
}

void TestUndoRedo::keyEditUndoesInItsOwnAnimation()
{
    openBiped();
    startRecording();
    const QStringList before = state();
    dragItem(m_window->skeleton()->nodeByName("head")->joint, QPointF(12, -8));
    const QStringList after = state();
    QVERIFY(after != before);
    // Undo in another animation, chosen in the animation chooser, goes back to the first one.
    chooseAnimation(Qt::Key_Down);
    QCOMPARE(m_window->document()->currentAnimation(), QStringLiteral("Biped/Jump.json"));
    press(QKeySequence::Undo);
    QCOMPARE(m_window->animationEditor()->animationComboBox()->currentText(), QStringLiteral("Idle"));
    QCOMPARE(state(), before);
    QCOMPARE(title(), QStringLiteral("Biped Character"));
    chooseAnimation(Qt::Key_Down);
    press(QKeySequence("Ctrl+Shift+Z"));
    QCOMPARE(state(), after);
    // The joint's keys stay with the animation however often it is left and entered again.
    for (int i = 0; i < 2; ++i) {
        chooseAnimation(Qt::Key_Down);
        chooseAnimation(Qt::Key_Up);
    }
    QCOMPARE(state(), after);
}

void TestUndoRedo::deletionsKeepTheKeysOfOtherAnimations()
{
    openBiped();
    chooseAnimation(Qt::Key_Down);
    startRecording();
    dragItem(m_window->skeleton()->nodeByName("head")->joint, QPointF(12, -8));
    const QStringList jump = state();
    clickButton("keyButton");
    chooseAnimation(Qt::Key_Up);
    // A branch and a keyed joint deleted, and deleted still while the other animation is shown.
    selectNode("upper_arm_L");
    press(QKeySequence::Delete);
    selectNode("head");
    press(QKeySequence::Delete);
    chooseAnimation(Qt::Key_Down);
    chooseAnimation(Qt::Key_Up);
    press(QKeySequence::Undo);
    press(QKeySequence::Undo);
    chooseAnimation(Qt::Key_Down);
    QCOMPARE(state(), jump);
}

// Bad input -------------------------------------------------------------------------------------

void TestUndoRedo::undoDuringPlaybackAndAcrossDocuments()
{
    test::Boxes boxes;
    openBiped();
    const QStringList before = state();
    dragItem(image("head")->placeholder, QPointF(30, 20));
    const QStringList after = state();
    QToolButton* play = m_window->animationEditor()->playButton();
    press(QKeySequence(Qt::Key_P));
    QVERIFY(m_window->skeleton()->isPlaying());
    QVERIFY(play->isChecked());
    press(QKeySequence::Undo);
    QVERIFY(!m_window->skeleton()->isPlaying());
    QVERIFY(!play->isChecked());
    QCOMPARE(state(), before);
    press(QKeySequence(Qt::Key_P));
    press(QKeySequence("Ctrl+Y"));
    QVERIFY(!m_window->skeleton()->isPlaying());
    QCOMPARE(state(), after);

    // A new document forgets the history: undo is off and changes nothing.
    boxes.answers << QMessageBox::No;
    press(QKeySequence::New);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Project has changes"));
    QCOMPARE(m_window->skeleton()->nodes().size(), size_t(1));
    const QStringList fresh = state();
    QVERIFY(!m_window->action("undoAction")->isEnabled());
    press(QKeySequence::Undo);
    press(QKeySequence("Ctrl+Y"));
    QCOMPARE(state(), fresh);
    QCOMPARE(title(), QStringLiteral("Untitled"));

    // A node added keeps the animation's length (its tracks have no keys yet).
    press(QKeySequence(Qt::Key_N));
    QCOMPARE(m_window->skeleton()->frameCount(), 20);
    // Opening a document that cannot be read: cancelled, the history stays; else it is gone.
    const QString broken = m_dir.filePath("broken.bsdoc");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not an archive") > 0);
    file.close();
    test::Choosers choosers;
    choosers.answers << broken << broken;
    boxes.answers << QMessageBox::Cancel << QMessageBox::No;
    press(QKeySequence::Open);
    QCOMPARE(boxes.shown.size(), 2);
    press(QKeySequence::Undo);
    QCOMPARE(state(), fresh);
    press(QKeySequence("Ctrl+Y"));
    press(QKeySequence::Open);
    QCOMPARE(boxes.shown.size(), 4);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Error on open"));
    QVERIFY(m_window->skeleton()->nodes().empty());
    const QStringList empty = state();
    QVERIFY(!m_window->action("undoAction")->isEnabled());
    press(QKeySequence::Undo);
    QCOMPARE(state(), empty);
}

void TestUndoRedo::impossibleRequestsChangeNothing()
{
    test::Boxes boxes;
    openBiped();
    const QStringList before = state();
    // A file that is not a PNG: the drop is refused as a whole.
    const QString text = m_dir.filePath("notes.txt");
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
    file.close();
    dropFiles({QUrl::fromLocalFile(writePng(m_dir.filePath("fine.png"), Qt::red)), QUrl::fromLocalFile(text)}, "head");
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.last().text,
             QStringLiteral("File \"%1\" has invalid type: You can drop only PNG images.").arg(text));
    // The root joint cannot go.
    selectNode("pelvis");
    press(QKeySequence::Delete);
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Error on delete"));
    QCOMPARE(boxes.shown.last().text, QStringLiteral("Cannot Delete root Node"));
    // With nothing selected, paste (of a copied image), Delete and Arrange have nothing to act on.
    clickImage("head");
    press(QKeySequence::Copy);
    m_window->graphicsView()->centerOn(-2000, -2000);
    clickAt(QPointF(-2000, -2000));
    QVERIFY(m_window->manipulator()->targets().isEmpty());
    for (const QKeySequence& keys : {QKeySequence(QKeySequence::Paste), QKeySequence(QKeySequence::Delete),
                                     QKeySequence("Ctrl+]"), QKeySequence("Ctrl+Shift+[")}) {
        press(keys);
    }
    QCOMPARE(boxes.shown.size(), 2);
    // Typed canvas sizes that are no sizes record nothing.
    const QPointF label = m_window->animationCanvas()->label()->sceneBoundingRect().center();
    typeInto([&] { clickAt(label); }, "wide x high");
    typeInto([&] { clickAt(label); }, "0x0");
    QCOMPARE(state(), before);
    QCOMPARE(m_window->history()->count(), 0);
    QCOMPARE(title(), QStringLiteral("Biped Character"));
    // A file that only starts like a PNG: the good files of the drop come in as one step, and a
    // box names the broken one.
    QFile broken(m_dir.filePath("broken.png"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("\x89PNG\r\n\x1a\n broken") > 0);
    broken.close();
    dropFiles({QUrl::fromLocalFile(writePng(m_dir.filePath("good.png"), Qt::red)), QUrl::fromLocalFile(broken.fileName())},
              "head");
    QCOMPARE(boxes.shown.size(), 3);
    QVERIFY(boxes.shown.last().text.startsWith(QStringLiteral("Cannot add \"%1\"").arg(broken.fileName())));
    QCOMPARE(m_window->history()->undoText(), QStringLiteral("add asset"));
    QVERIFY(image("good"));
    QVERIFY(!image("broken"));
}

void TestUndoRedo::manyFilesDroppedAreOneStep()
{
    openBiped();
    QList<QUrl> urls;
    for (int i = 0; i < 200; ++i) {
        const QString path = writePng(m_dir.filePath(QString("many%1.png").arg(i)), QColor(i, 0, 0), QSize(2, 2));
        QVERIFY(!path.isEmpty());
        urls << QUrl::fromLocalFile(path);
    }
    const size_t images = m_window->skeleton()->images().size();
    roundTrip("add 200 assets", [&] {
        dropFiles(urls, "pelvis");
        QCOMPARE(m_window->skeleton()->images().size(), images + 200);
        QCOMPARE(m_window->skeleton()->images().back()->name, QStringLiteral("many199"));
    });
}

BONESTAGE_WIDGETS_TEST_MAIN(TestUndoRedo)
#include "tst_UndoRedo.moc"
