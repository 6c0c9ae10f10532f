// The whole workflow as a user goes through it, in one run of the application object, with real
// mouse and key events on the real windows: welcome window, a shipped template, images dropped
// onto joints, a rotation keyed on the canvas, the curve shaped, animations added, renamed and
// copied, a frame animation, every step undone and redone, saved, the editor quit and started
// again, the document opened from the recent files and found as it was saved, exported as PNG
// frames and, by the real program on the command line, as a GIF. Each step leaves a screenshot.
#include "FrameRenderer.h"
#include "HeadlessRun.h"
#include "HistoryManager.h"
#include "ObjectManipulator.h"
#include "ObjectSettingsPanel.h"
#include "TSAnimationCurveEditor.h"
#include "TSAnimationCurveEditorKeyItem.h"
#include "TSAnimationEditorTimelineWidget.h"
#include "TSApplication.h"
#include "TSApplicationSettings.h"
#include "TSDeletableComboBox.h"
#include "TSGraphicsButton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSImageDropArea.h"
#include "TSModelController.h"
#include "TSSpritesWindow.h"
#include "TestMain.h"
#include "ViewInput.h"
#include "WindowAnswers.h"
#include "WindowState.h"

#include <QAbstractItemView>
#include <QDirIterator>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

const QString kProgram = QStringLiteral(BONESTAGE_EXECUTABLE);
const QString kShots = QStringLiteral(WORKFLOW_SHOTS);

void send(QWidget* widget, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void dragWidget(QWidget* widget, const QPoint& from, const QPoint& to)
{
    send(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int i = 1; i <= 4; ++i) {
        send(widget, QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, Qt::LeftButton);
    }
    send(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

QList<int> keyFrames(const TSAnimationCurve& curve)
{
    QList<int> frames;
    for (int i = 0; i < curve.keyCount(); ++i) {
        frames << qRound(curve.keys()[i].time * 60);
    }
    return frames;
}

} // namespace

class TestWorkflow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startShowsTheWelcomeWindow();
    void aTemplateOpensInTheEditor();
    void imagesDroppedOntoTwoJoints();
    void recordingKeysARotationOnTheCanvas();
    void theCurveIsShapedInTheCurveEditor();
    void animationsAddedRenamedAndCopied();
    void aFrameAnimationInTheSpriteEditor();
    void everyStepUndoesAndRedoes();
    void savedQuitAndStartedAgain();
    void reopenedFromRecentFilesAsSaved();
    void exportedAsPngFrames();
    void commandLineMakesAGif();

private:
    TSApplication* app() const { return static_cast<TSApplication*>(qApp); }
    TSMainWindow* window() const { return app()->mainWindow(); }
    Skeleton* skeleton() const { return window()->skeleton(); }
    TSGraphicsView* view() const { return window()->graphicsView(); }
    /// Saves a picture of the top-level window as step NN of the run.
    void shoot(QWidget* topLevel, const QString& name);
    /// Makes an edit with gesture, which must be exactly one more step in the history, named
    /// undoText; notes the document before and after it.
    void edit(const QString& undoText, const std::function<void()>& gesture);
    void clickButton(const char* objectName);
    void selectNode(const QString& name);
    void clickFrame(int frame);
    /// A drop of files onto the canvas at a joint.
    void dropFiles(const QStringList& paths, const QString& onNode);
    /// Joints whose centre picks them and no other joint, root excluded, in document order.
    QStringList pickableJoints() const;
    /// Every animation's state, chosen one after the other in the animation chooser.
    QMap<QString, QStringList> everyAnimation();

    test::Boxes m_boxes;
    test::Choosers m_choosers;
    QTemporaryDir m_dir;
    int m_shot = 0;
    struct Step
    {
        QString undoText;
        QStringList before;
        QStringList after;
    };
    /// The edits made, in order.
    QList<Step> m_steps;
    QStringList m_joints;
    QString m_rotated;
    QString m_document;
    QMap<QString, QStringList> m_saved;
};

void TestWorkflow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(kShots).removeRecursively() && QDir().mkpath(kShots));
    // Identity, names, style and log handler as the program sets them up.
    app()->setAppInfo(AppInfo::bonestageRecord());
}

void TestWorkflow::shoot(QWidget* topLevel, const QString& name)
{
    QTest::qWait(30);
    const QString path =
        QStringLiteral("%1/%2-%3.png").arg(kShots).arg(++m_shot, 2, 10, QLatin1Char('0')).arg(name);
    QVERIFY2(topLevel->window()->grab().save(path), qPrintable(path));
}

void TestWorkflow::edit(const QString& undoText, const std::function<void()>& gesture)
{
    HistoryManager* history = window()->history();
    const int index = history->index();
    QCOMPARE(index, m_steps.size());
    const QStringList before = test::documentState(window());
    gesture();
    if (QTest::currentTestFailed()) {
        return;
    }
    m_steps.append({undoText, before, test::documentState(window())});
    QCOMPARE(history->count(), index + 1);
    QCOMPARE(history->index(), index + 1);
    QCOMPARE(history->undoText(), undoText);
    QVERIFY(m_steps.last().after != before);
    QVERIFY(window()->windowHandle()->title().endsWith(QLatin1Char('*')));
}

void TestWorkflow::clickButton(const char* objectName)
{
    auto* button = window()->findChild<QToolButton*>(QLatin1String(objectName));
    QVERIFY2(button && button->isVisible(), objectName);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestWorkflow::selectNode(const QString& name)
{
    QVERIFY(test::clickRow(window()->outliner()->tree(), name));
    QCOMPARE(window()->manipulator()->targets(), {skeleton()->nodeByName(name)->joint});
}

void TestWorkflow::clickFrame(int frame)
{
    TSAnimationEditorTimelineWidget* timeline = window()->animationEditor()->timeline();
    int x = 0;
    while (x < timeline->width() && timeline->frameAt(x) != frame) {
        ++x;
    }
    QTest::mouseClick(timeline, Qt::LeftButton, Qt::NoModifier, QPoint(x + 1, timeline->height() / 4));
    QCOMPARE(timeline->currentFrame(), frame);
}

void TestWorkflow::dropFiles(const QStringList& paths, const QString& onNode)
{
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    QMimeData data;
    data.setUrls(urls);
    const QPoint at =
        view()->mapFromScene(skeleton()->nodeByName(onNode)->joint->sceneBoundingRect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view()->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view()->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view()->viewport(), &drop);
}

QStringList TestWorkflow::pickableJoints() const
{
    // The joints farthest from any other joint first, so that a drop or a drag there means that
    // joint and no other.
    QList<QPair<double, QString>> joints;
    for (const auto& node : skeleton()->nodes()) {
        if (node->parent.isEmpty()) {
            continue;
        }
        const QPointF centre = node->joint->sceneBoundingRect().center();
        double nearest = std::numeric_limits<double>::max();
        for (const auto& other : skeleton()->nodes()) {
            if (other != node) {
                nearest =
                    std::min(nearest, QLineF(centre, other->joint->sceneBoundingRect().center()).length());
            }
        }
        joints.append({-nearest, node->name});
    }
    std::sort(joints.begin(), joints.end());
    QStringList names;
    for (const auto& joint : joints) {
        names << joint.second;
    }
    return names;
}

QMap<QString, QStringList> TestWorkflow::everyAnimation()
{
    QMap<QString, QStringList> states;
    TSDeletableComboBox* chooser = window()->animationEditor()->animationComboBox();
    chooser->setFocus();
    QTest::keyClick(chooser, Qt::Key_Home);
    for (int i = 0; i < chooser->count(); ++i) {
        if (i > 0) {
            QTest::keyClick(chooser, Qt::Key_Down);
        }
        states.insert(chooser->currentText(), test::documentState(window()));
    }
    return states;
}

// The steps ----------------------------------------------------------------------------------

void TestWorkflow::startShowsTheWelcomeWindow()
{
    app()->start();
    QWidget* welcome = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("welcomeWindow") && widget->isVisible()) {
            welcome = widget;
        }
    }
    QVERIFY(welcome);
    QVERIFY(QTest::qWaitForWindowExposed(welcome));
    // A new document, opening one, no recent documents yet and the shipped templates.
    QCOMPARE(welcome->findChild<QPushButton*>("newButton")->text(), QStringLiteral("Create New"));
    QCOMPARE(welcome->findChild<QPushButton*>("openButton")->text(), QStringLiteral("Open project"));
    auto* recent = welcome->findChild<QListWidget*>("recentList");
    QCOMPARE(recent->count(), 1);
    QCOMPARE(recent->item(0)->text(), QStringLiteral("No recent documents yet"));
    QVERIFY(!welcome->findChildren<QToolButton*>(QRegularExpression("^template_")).isEmpty());
    shoot(welcome, "welcome");
}

void TestWorkflow::aTemplateOpensInTheEditor()
{
    QWidget* welcome = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        welcome =
            widget->objectName() == QLatin1String("welcomeWindow") && widget->isVisible() ? widget : welcome;
    }
    QVERIFY(welcome);
    const QList<QToolButton*> cards = welcome->findChildren<QToolButton*>(QRegularExpression("^template_"));
    QToolButton* card = cards.first();
    for (QToolButton* candidate : cards) {
        card = candidate->objectName() == QLatin1String("template_Biped") ? candidate : card;
    }
    const QString name = card->text();
    QTest::mouseClick(card, Qt::LeftButton);
    QVERIFY(window());
    QTRY_VERIFY(window()->isVisible());
    QTRY_VERIFY(!window()->welcomeWindow());
    QVERIFY(QTest::qWaitForWindowActive(window()));
    QCOMPARE(window()->documentTitle(), name);
    QVERIFY(m_boxes.shown.isEmpty());
    // The template's skeleton, with images on its joints and at least one animation.
    QVERIFY(skeleton()->nodes().size() >= 3);
    QVERIFY(!window()->document()->animations().isEmpty());
    QCOMPARE(window()->history()->count(), 0);
    m_joints = pickableJoints();
    QVERIFY2(m_joints.size() >= 3, qPrintable(m_joints.join(',')));
    shoot(window(), "template");
}

void TestWorkflow::imagesDroppedOntoTwoJoints()
{
    const size_t images = skeleton()->images().size();
    const QString red = test::writePng(m_dir.filePath("red badge.png"), QColor(220, 60, 50), QSize(240, 160));
    const QString blue =
        test::writePng(m_dir.filePath("blue badge.png"), QColor(60, 110, 230), QSize(160, 240));
    QVERIFY(!red.isEmpty() && !blue.isEmpty());
    edit("add asset", [&] { dropFiles({red}, m_joints.at(0)); });
    edit("add asset", [&] { dropFiles({blue}, m_joints.at(1)); });
    QCOMPARE(skeleton()->images().size(), images + 2);
    const auto& added = skeleton()->images();
    const Skeleton::Asset* first = added.at(added.size() - 2).get();
    const Skeleton::Asset* second = added.back().get();
    QCOMPARE(first->name, QStringLiteral("red badge"));
    QCOMPARE(first->nodeName, m_joints.at(0));
    QCOMPARE(second->name, QStringLiteral("blue badge"));
    QCOMPARE(second->nodeName, m_joints.at(1));
    QCOMPARE(first->placeholder->pixmap().size(), QSize(240, 160));
    QVERIFY(first->item->isVisible() && second->item->isVisible());
    // The outliner lists each under its joint.
    QVERIFY(!window()
                 ->outliner()
                 ->tree()
                 ->findItems("red badge", Qt::MatchExactly | Qt::MatchRecursive)
                 .isEmpty());
    shoot(window(), "images");
}

void TestWorkflow::recordingKeysARotationOnTheCanvas()
{
    // A longer animation first, so that frame 30 is on the timeline.
    edit("Change frames", [this] { test::typeInto(window()->animationEditor()->framesEdit(), "40"); });
    QCOMPARE(skeleton()->frameCount(), 40);
    QCOMPARE(window()->animationEditor()->timeline()->frameCount(), 40);

    // Animation mode makes the joints turn; the key button records their turns as keys.
    for (TSGraphicsButton* button : view()->buttons()) {
        if (button->toolTip() == QLatin1String("Animation mode")) {
            QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, button->rect().center());
            QVERIFY(button->isChecked());
        }
    }
    QVERIFY(skeleton()->animationMode());
    clickButton("keyButton");
    QVERIFY(window()->findChild<QToolButton*>("keyButton")->isChecked());
    QVERIFY(window()->manipulator()->animationMode());
    shoot(window(), "recording");

    // Closer to the character, with the wheel over the joint about to be turned.
    m_rotated = m_joints.at(1);
    const QPoint over =
        view()->mapFromScene(skeleton()->nodeByName(m_rotated)->joint->sceneBoundingRect().center());
    const double zoom = view()->transform().m11();
    for (int i = 0; i < 5; ++i) {
        test::wheel(view(), over, 120);
    }
    QVERIFY(view()->transform().m11() > zoom);

    // The second joint turned at frame 0 and again, further, at frame 30.
    Skeleton::Node* node = skeleton()->nodeByName(m_rotated);
    const auto tip = [node] { return node->joint->sceneTransform().map(QPointF(0, -50)); };
    const QPointF unposed = tip();
    clickFrame(0);
    QPointF grab = node->joint->sceneTransform().map(QPointF());
    edit("Animation change", [&] { test::drag(view(), grab, grab + QPointF(-12, -4)); });
    const QPointF atZero = tip();
    QVERIFY(QLineF(atZero, unposed).length() > 5);
    clickFrame(30);
    grab = node->joint->sceneTransform().map(QPointF());
    edit("Animation change", [&] { test::drag(view(), grab, grab + QPointF(14, 4)); });
    QVERIFY(QLineF(tip(), atZero).length() > 5);
    const TSAnimationCurve& rotation = node->animation->channel(AnimatedObject::Rotation);
    QVERIFY2(keyFrames(rotation).contains(0) && keyFrames(rotation).contains(30),
             qPrintable(QStringList(test::documentState(window())).join('\n')));
    // The timeline marks both frames of the selected joint.
    const QVector<int>& marks = window()->animationEditor()->timeline()->keyFlags();
    QVERIFY(marks.at(0) != 0 && marks.at(30) != 0);
    // Frame 15 lies between the two poses.
    clickFrame(15);
    QVERIFY(QLineF(tip(), atZero).length() > 1);
    clickFrame(30);
    shoot(window(), "keys");
}

void TestWorkflow::theCurveIsShapedInTheCurveEditor()
{
    clickButton("extendButton");
    auto* editor = window()->findChild<TSAnimationCurveEditor*>("animationCurveView");
    QVERIFY(editor);
    QTRY_VERIFY(editor->isVisible());
    QListWidget* rows = window()->animationEditor()->attributesList();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier,
                      rows->visualItemRect(rows->item(AnimatedObject::Rotation)).center());
    TSAnimationCurve* rotation =
        &skeleton()->nodeByName(m_rotated)->animation->channel(AnimatedObject::Rotation);
    QCOMPARE(editor->currentCurve(), rotation);
    QTest::keyClick(editor, Qt::Key_F);
    // The key at frame 0 picked, then its outgoing handle pulled up: the curve leaves the first
    // key more steeply, the keys themselves stay.
    int first = keyFrames(*rotation).indexOf(0);
    QVERIFY(first >= 0);
    const QPoint key = editor->keyItems().at(size_t(first)).keyPixel().toPoint();
    QTest::mouseClick(editor, Qt::LeftButton, Qt::NoModifier, key);
    const TSAnimationCurveEditorKeyItem& item = editor->keyItems().at(size_t(first));
    QVERIFY(item.hasOutHandle());
    const bez3 before = rotation->keys()[first];
    const QPoint handle = item.outPixel().toPoint();
    edit("Edit keyframes group", [&] { dragWidget(editor, handle, handle + QPoint(0, -40)); });
    const bez3 after = rotation->keys()[first];
    QCOMPARE(after.time, before.time);
    QCOMPARE(after.value, before.value);
    QVERIFY(after.outHandle != before.outHandle);
    shoot(window(), "curve");
}

void TestWorkflow::animationsAddedRenamedAndCopied()
{
    DocumentController* document = window()->document();
    TSDeletableComboBox* chooser = window()->animationEditor()->animationComboBox();
    const int animations = document->animations().size();
    const QString keyed = document->currentAnimationName();

    edit("New animation", [&] {
        test::answerNextInput("Hero wave");
        clickButton("addButton");
        QTRY_COMPARE(document->animations().size(), animations + 1);
    });
    QCOMPARE(chooser->currentText(), QStringLiteral("Hero wave"));

    // Renamed through its row in the chooser.
    edit("Rename animation", [&] {
        const int row = chooser->findText("Hero wave");
        chooser->showPopup();
        QAbstractItemView* list = chooser->view();
        QTRY_VERIFY(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          chooser
                              ->buttonRect(list->visualRect(list->model()->index(row, 0)),
                                           TSDeletableComboBox::RenameButton)
                              .center());
        QTRY_VERIFY(chooser->renameEdit()->isVisible());
        QTest::keyClick(chooser->renameEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(chooser->renameEdit(), "Hero greeting");
        QTest::keyClick(chooser->renameEdit(), Qt::Key_Return);
    });
    QCOMPARE(chooser->currentText(), QStringLiteral("Hero greeting"));
    QCOMPARE(chooser->findText("Hero wave"), -1);

    // The keyed animation, chosen again, copied with its keys.
    chooser->setFocus();
    QTest::keyClick(chooser, Qt::Key_Home);
    while (chooser->currentText() != keyed && chooser->currentIndex() < chooser->count() - 1) {
        QTest::keyClick(chooser, Qt::Key_Down);
    }
    QCOMPARE(document->currentAnimationName(), keyed);
    const QStringList keys = test::documentState(window()).filter(QRegularExpression("^tracks "));
    edit("Copy animation", [&] {
        test::answerNextInput(keyed + " copy");
        clickButton("copyButton");
        QTRY_COMPARE(document->animations().size(), animations + 2);
    });
    QCOMPARE(document->currentAnimationName(), keyed + " copy");
    QCOMPARE(test::documentState(window()).filter(QRegularExpression("^tracks ")), keys);
    QVERIFY(m_boxes.shown.isEmpty());
    shoot(window(), "animations");
}

void TestWorkflow::aFrameAnimationInTheSpriteEditor()
{
    const QString joint = m_joints.at(2);
    selectNode(joint);
    auto* area = window()->findChild<TSImageDropArea*>("imageDropArea");
    QVERIFY(area && area->isVisible());
    QList<QUrl> urls;
    for (int i = 0; i < 4; ++i) {
        const QString path = test::writePng(m_dir.filePath(QStringLiteral("spark_%1.png").arg(i)),
                                            QColor::fromHsv(40 + i * 50, 200, 240), QSize(160 + i * 16, 160));
        QVERIFY(!path.isEmpty());
        urls << QUrl::fromLocalFile(path);
    }
    edit("add animation", [&] {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(area->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(area, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(area->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(area, &dropped);
    });
    const Skeleton::Asset* sprite = skeleton()->images().back().get();
    QVERIFY(sprite->container);
    QCOMPARE(sprite->nodeName, joint);
    QCOMPARE(sprite->container->spriteCount(), 4);

    // Opened in the sprite editor, played a little slower.
    QTest::mouseDClick(area, Qt::LeftButton);
    TSSpritesWindow* editor = window()->findChild<ObjectSettingsPanel*>()->spritesWindow();
    QVERIFY(editor);
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    QCOMPARE(editor->spriteContainer(), sprite->container);
    edit("Sprite speed",
         [&] { test::typeInto(editor->findChild<QLineEdit*>("animationSpeedLineEdit"), "0.5"); });
    QCOMPARE(sprite->container->animationSpeed(), 0.5f);
    shoot(editor, "sprite-editor");
    QPointer<TSSpritesWindow> guard(editor);
    QTest::mouseClick(editor->findChild<QPushButton*>("closeButton"), Qt::LeftButton);
    QTRY_VERIFY(!guard || !guard->isVisible());
    window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window()));
    shoot(window(), "frame-animation");
}

void TestWorkflow::everyStepUndoesAndRedoes()
{
    // Each undo gives back the document as it was just before the matching edit (whatever was
    // looked at in between), each redo as it was just after it.
    HistoryManager* history = window()->history();
    QCOMPARE(history->count(), m_steps.size());
    view()->setFocus();
    QAction* undo = window()->action("undoAction");
    QAction* redo = window()->action("redoAction");
    for (int index = m_steps.size(); index > 0; --index) {
        const Step& step = m_steps.at(index - 1);
        QCOMPARE(undo->text(), "Undo " + step.undoText);
        QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(history->index(), index - 1);
        const QString difference = test::stateDifference(test::documentState(window()), step.before, 0.0);
        QVERIFY2(difference.isEmpty(), qPrintable(step.undoText + ":\n" + difference));
    }
    QVERIFY(!window()->windowHandle()->title().endsWith(QLatin1Char('*')));
    shoot(window(), "all-undone");
    for (int index = 1; index <= m_steps.size(); ++index) {
        const Step& step = m_steps.at(index - 1);
        QCOMPARE(redo->text(), "Redo " + step.undoText);
        QTest::keyClick(view(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(history->index(), index);
        const QString difference = test::stateDifference(test::documentState(window()), step.after, 0.0);
        QVERIFY2(difference.isEmpty(), qPrintable(step.undoText + ":\n" + difference));
    }
    shoot(window(), "all-redone");
}

void TestWorkflow::savedQuitAndStartedAgain()
{
    // The keyed animation is the one left on screen.
    m_saved = everyAnimation();
    m_document = m_dir.filePath("Workflow hero.bsdoc");
    m_choosers.answers << m_document;
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(m_choosers.answers.isEmpty());
    QTRY_COMPARE(window()->documentTitle(), QStringLiteral("Workflow hero"));
    QVERIFY(QFileInfo(m_document).size() > 0);
    QVERIFY(m_boxes.shown.isEmpty());
    QCOMPARE(window()->windowHandle()->title(), QStringLiteral("Workflow hero"));
    shoot(window(), "saved");

    // File > Exit asks nothing: everything is saved.
    QPointer<TSMainWindow> first = window();
    test::chooseMenuEntry(window(), "fileMenu", "exitAction");
    QTRY_VERIFY(!first->isVisible());
    QVERIFY(m_boxes.shown.isEmpty());
    const QString working = TSModelController::instance()->workingPath();
    // What the end of the process does: the controller and its working folder go.
    TSModelController::destroyInstance();
    QVERIFY(!QFileInfo::exists(working));
    // The recent files are in the settings store on disk.
    QSettings settings;
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
    QVERIFY(QFileInfo(settings.fileName()).isFile());
    QCOMPARE(TSApplicationSettings::instance()->recentFiles().value(0), QDir::toNativeSeparators(m_document));

    app()->start();
    QTRY_VERIFY(!first);
    QWidget* welcome = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        welcome =
            widget->objectName() == QLatin1String("welcomeWindow") && widget->isVisible() ? widget : welcome;
    }
    QVERIFY(welcome);
    QVERIFY(QTest::qWaitForWindowExposed(welcome));
    auto* recent = welcome->findChild<QListWidget*>("recentList");
    QCOMPARE(recent->count(), 1);
    QVERIFY(recent->item(0)->text().startsWith(QStringLiteral("Workflow hero\n")));
    shoot(welcome, "started-again");
}

void TestWorkflow::reopenedFromRecentFilesAsSaved()
{
    QWidget* welcome = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        welcome =
            widget->objectName() == QLatin1String("welcomeWindow") && widget->isVisible() ? widget : welcome;
    }
    QVERIFY(welcome);
    auto* recent = welcome->findChild<QListWidget*>("recentList");
    QTest::mouseClick(recent->viewport(), Qt::LeftButton, Qt::NoModifier,
                      recent->visualItemRect(recent->item(0)).center());
    QTRY_VERIFY(window() && window()->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(window()));
    QCOMPARE(window()->windowHandle()->title(), QStringLiteral("Workflow hero"));
    QCOMPARE(window()->history()->count(), 0);
    QVERIFY(m_boxes.shown.isEmpty());
    // Every node, image, frame animation, key and handle of every animation as it was saved.
    const QMap<QString, QStringList> reopened = everyAnimation();
    QCOMPARE(reopened.keys(), m_saved.keys());
    for (const QString& name : m_saved.keys()) {
        const QString difference = test::stateDifference(reopened.value(name), m_saved.value(name), 0.0011);
        QVERIFY2(difference.isEmpty(), qPrintable(name + ": " + difference));
    }
    // The file menu lists it too.
    QMenu* recentMenu = window()->findChild<QMenu*>("recentFilesMenu");
    QVERIFY(recentMenu);
    QCOMPARE(recentMenu->actions().value(0)->text(), QDir::toNativeSeparators(m_document));
    selectNode(m_rotated);
    shoot(window(), "reopened");
}

void TestWorkflow::exportedAsPngFrames()
{
    const QString folder = m_dir.filePath("frames out");
    QVERIFY(QDir().mkpath(folder));
    m_choosers.answers << folder;
    test::chooseMenuEntry(window(), "fileMenu", "exportAction");
    QVERIFY(m_choosers.answers.isEmpty());
    QWidget* dialog = nullptr;
    QTRY_VERIFY((dialog = window()->findChild<QWidget*>("exportDialog")) && dialog->isVisible());
    shoot(dialog, "export-dialog");
    QTest::mouseClick(dialog->findChild<QRadioButton*>("fps15RadioButton"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton*>("exportButton"), Qt::LeftButton);
    const int animations = window()->document()->animations().size();
    QTRY_VERIFY_WITH_TIMEOUT(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() == animations &&
                                 !window()->frameRenderer()->isRendering(),
                             60000);
    QVERIFY(m_boxes.shown.isEmpty());
    // The keyed animation's 40 frames at 60 per second make 10 frames at 15; its first and last
    // frames differ, since the joint turned between them.
    QDirIterator folders(folder, QDir::Dirs | QDir::NoDotAndDotDot);
    int keyedFolders = 0;
    while (folders.hasNext()) {
        const QStringList frames = QDir(folders.next()).entryList({"*.png"}, QDir::Files, QDir::Name);
        QVERIFY2(!frames.isEmpty(), qPrintable(folders.filePath()));
        QCOMPARE(frames.first(), QStringLiteral("0000.png"));
        if (frames.size() == 10) {
            const QImage first(folders.filePath() + "/0000.png");
            const QImage last(folders.filePath() + "/" + frames.last());
            QVERIFY(!first.isNull() && first.size() == last.size());
            keyedFolders += first != last ? 1 : 0;
        }
    }
    // The keyed animation and its copy.
    QVERIFY(keyedFolders >= 2);
    shoot(window(), "exported");
}

void TestWorkflow::commandLineMakesAGif()
{
    const QString frames = m_dir.filePath("gif frames");
    const QString gif = m_dir.filePath("hero.gif");
    QByteArray log;
    QCOMPARE(
        test::runHeadless(kProgram, {"-export", m_document, frames, gif}, m_dir.filePath("gif run"), &log),
        0);
    QVERIFY(!QDir(frames).entryList({"*.png"}, QDir::Files).isEmpty());
    QFile file(gif);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(6), QByteArray("GIF89a"));
    QVERIFY(file.size() > 1000);
}

BONESTAGE_TEST_MAIN_WITH(TSApplication, TestWorkflow)
#include "tst_Workflow.moc"
