// The animation editor under the canvas, driven with real mouse and key events: the timeline
// reads frames from the mouse and keys are created, moved and deleted on it (each one undo
// step, never onto another key), the length, speed and looping fields, playback, the animations
// added, copied, renamed and deleted through the chooser, collapsing and expanding, and the
// onion skin with its settings.
#include "AnimationCanvas.h"
#include "AnimationEditorController.h"
#include "AnimationEditorPanel.h"
#include "FrameRenderer.h"
#include "HistoryManager.h"
#include "OnionSkin.h"
#include "ScreenScale.h"
#include "TSAnimationCurveEditor.h"
#include "TSDeletableComboBox.h"
#include "TestMain.h"
#include "WindowAnswers.h"
#include "WindowFixture.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QGraphicsPixmapItem>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>

namespace {

using test::answerNextInput;
using test::typeInto;

QPoint keyCell(const TSAnimationEditorTimelineWidget* timeline, int frame)
{
    return test::timelineCell(timeline, frame, true);
}

/// Presses on the key cell of from, moves through the points given and lets go at the last.
void dragKey(TSAnimationEditorTimelineWidget* timeline, int from, const QList<QPoint>& path)
{
    using test::sendMouseTo;
    sendMouseTo(timeline, QEvent::MouseButtonPress, keyCell(timeline, from), Qt::LeftButton, Qt::LeftButton);
    for (const QPoint& point : path) {
        sendMouseTo(timeline, QEvent::MouseMove, point, Qt::NoButton, Qt::LeftButton);
    }
    sendMouseTo(timeline, QEvent::MouseButtonRelease, path.isEmpty() ? keyCell(timeline, from) : path.last(),
                Qt::LeftButton, Qt::NoButton);
}

/// The rotation keys of a node: the channel the template animates (single default keys of the
/// other channels are dropped whenever tracks are bound anew).
QStringList rotationKeys(const Skeleton* skeleton, const QString& node)
{
    const TSAnimationCurve& curve = skeleton->nodeByName(node)->animation->channel(AnimatedObject::Rotation);
    QStringList keys;
    for (int i = 0; i < curve.keyCount(); ++i) {
        keys << QString::asprintf("%.5f %.5f", curve.keys()[i].time, curve.keys()[i].value);
    }
    return keys;
}

QStringList keysText(const AnimatedObject* tracks)
{
    QStringList lines;
    for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
        const TSAnimationCurve& curve = tracks->channel(channel);
        for (int i = 0; i < curve.keyCount(); ++i) {
            const bez3& key = curve.keys()[i];
            lines << QString::asprintf("%d [%.5f %.5f %.5f %.5f]", channel, key.inHandle, key.time, key.value,
                                       key.outHandle);
        }
    }
    return lines;
}

/// The field of the "Animation Name" dialog when it is up.
QLineEdit* nameDialogEdit()
{
    auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    return dialog && dialog->windowTitle() == QLatin1String("Animation Name") ? dialog->findChild<QLineEdit*>()
                                                                                : nullptr;
}

bool nearTransform(const QTransform& a, const QTransform& b, double tolerance = 1e-3)
{
    const qreal pa[] = {a.m11(), a.m12(), a.m21(), a.m22(), a.dx(), a.dy()};
    const qreal pb[] = {b.m11(), b.m12(), b.m21(), b.m22(), b.dx(), b.dy()};
    for (int i = 0; i < 6; ++i) {
        if (std::abs(pa[i] - pb[i]) > tolerance) {
            return false;
        }
    }
    return true;
}

} // namespace

class TestAnimationEditor : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }
    void timelineReadsFramesFromTheMouse();
    void keysAreNeverDroppedOntoKeys();
    void controlsCarryTheirNamesTipsAndIcons();
    void collapsedDoubleClickKeysAllFiveWithoutMovingAnything();
    void expandedEditorWorksOnTheCurrentRow();
    void curvePlayheadFollowsTheFrameShownOrNot();
    void keysMoveAsOneStepAndDeleteWhenPicked();
    void lengthSpeedAndLoopFields();
    void playbackStopsWithoutLoopAndRestartsWithIt();
    void speedTwoPlaysASecondInHalfTheTime();
    void spaceTogglesPlaybackUnlessTheCanvasPans();
    void copyThenUndo();
    void takenNameIsAskedForAgain();
    void renameKeepsPlayingAndRefusesBadNames();
    void renameUndoesInTheAnimationItWasMadeIn();
    void chooserListShowsWholeNamesAndItsButtonsActOnTheirRow();
    void deletedTemplateAnimationStaysDeleted();
    void onionSkinShowsThePosesAround();
    void onionSkinIsNeverExported();
    void screenshots();

private:
    void openBiped()
    {
        openTemplate();
        QCOMPARE(m_window->document()->currentAnimationName(), QStringLiteral("Idle"));
    }
    void clickFrame(int frame, bool onKeys = false) { clickTimeline(frame, onKeys); }
    /// A click on a property row of the expanded editor.
    void clickProperty(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QListWidget* rows = editor()->attributesList();
        QTest::mouseClick(rows->viewport(), button, Qt::NoModifier, rows->visualItemRect(rows->item(row)).center());
    }
    void doubleClickFrame(int frame)
    {
        QTest::mouseDClick(timeline(), Qt::LeftButton, Qt::NoModifier, keyCell(timeline(), frame));
    }
    /// Clicks a row button (rename or delete) of the animation chooser's list.
    void clickChooserButton(const QString& name, TSDeletableComboBox::RowButton button);
    /// The window's scene transforms of every joint.
    QList<QTransform> jointTransforms() const;
    TSAnimationEditorTimelineWidget* timeline() const { return m_window->animationEditor()->timeline(); }
    AnimationEditorPanel* editor() const { return m_window->animationEditor(); }
};

void TestAnimationEditor::clickChooserButton(const QString& name, TSDeletableComboBox::RowButton button)
{
    TSDeletableComboBox* chooser = editor()->animationComboBox();
    const int row = chooser->findText(name);
    QVERIFY2(row >= 0, qPrintable(name));
    chooser->showPopup();
    QAbstractItemView* list = chooser->view();
    QTRY_VERIFY(list->isVisible());
    // Where the row is drawn: across the list, however wide its text would like to be.
    const QRect rowRect = list->visualRect(list->model()->index(row, 0));
    const QRect drawn(0, rowRect.top(), list->viewport()->width(), rowRect.height());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, chooser->buttonRect(drawn, button).center());
    QTRY_VERIFY(!list->isVisible());
}

QList<QTransform> TestAnimationEditor::jointTransforms() const
{
    QList<QTransform> transforms;
    for (const auto& node : m_window->skeleton()->nodes()) {
        transforms << node->joint->sceneTransform();
    }
    return transforms;
}

// The timeline on its own ------------------------------------------------------------------------

void TestAnimationEditor::timelineReadsFramesFromTheMouse()
{
    TSAnimationEditorTimelineWidget strip;
    strip.resize(759, 29);
    strip.setFrameCount(20);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QSignalSpy changed(&strip, &TSAnimationEditorTimelineWidget::frameChanged);
    QSignalSpy create(&strip, &TSAnimationEditorTimelineWidget::frameCreateRequest);
    // The upper half moves the playhead: x = 0 is frame 0, the right edge frame 19.
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(0, 5));
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(758, 5));
    QCOMPARE(changed.size(), 2);
    QCOMPARE(changed.at(0).at(0).toInt(), 0);
    QCOMPARE(changed.at(1).at(0).toInt(), 19);
    QCOMPARE(strip.currentFrame(), 19);
    // 759 / 20 = 37.95 pixels a frame: x = 37 is still frame 0, x = 38 frame 1.
    QCOMPARE(strip.frameAt(37), 0);
    QCOMPARE(strip.frameAt(38), 1);
    // The lower half without a key changes nothing; a double click asks for keys on its frame.
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(200, 22));
    QCOMPARE(changed.size(), 2);
    QCOMPARE(strip.selectedKey(), -1);
    QTest::mouseDClick(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(200, 22));
    QCOMPARE(create.size(), 1);
    QCOMPARE(create.at(0).at(0).toInt(), 5);
    // Delete asks for the picked key by its ordinal, and only with a key picked.
    QSignalSpy remove(&strip, &TSAnimationEditorTimelineWidget::frameDeleteRequest);
    strip.setKeyFrames({2, 5, 11, 40, -1});
    QCOMPARE(strip.keyFlags().count(1), 3);
    QTest::keyClick(&strip, Qt::Key_Delete);
    QCOMPARE(remove.size(), 0);
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(static_cast<int>(11.5 * 37.95), 22));
    QCOMPARE(strip.selectedKey(), 11);
    QCOMPARE(strip.selectedKeyOrdinal(), 2);
    QTest::keyClick(&strip, Qt::Key_Backspace);
    QCOMPARE(remove.size(), 1);
    QCOMPARE(remove.at(0).at(0).toInt(), 2);

    // No frames at all still leave the one frame shown; a hundred thousand stay usable.
    strip.setFrameCount(0);
    QCOMPARE(strip.frameCount(), 1);
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(700, 5));
    QCOMPARE(strip.currentFrame(), 0);
    strip.setFrameCount(100000);
    strip.setKeyFrames({0, 50000, 99999});
    // The last pixel holds the last 132 frames.
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, QPoint(758, 5));
    QCOMPARE(strip.currentFrame(), 99868);
    QCOMPARE(strip.frameAt(758), 99868);
    const QImage painted = strip.grab().toImage();
    QVERIFY(!painted.isNull());
    // The playhead at the right end, in its colour.
    bool playhead = false;
    for (int x = 700; x < 758; ++x) {
        playhead = playhead || painted.pixelColor(x, 6) == QColor(255, 178, 42);
    }
    QVERIFY(playhead);
}

void TestAnimationEditor::keysAreNeverDroppedOntoKeys()
{
    TSAnimationEditorTimelineWidget strip;
    strip.resize(759, 29);
    strip.setFrameCount(20);
    strip.setKeyFrames({3, 5, 8});
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QSignalSpy moved(&strip, &TSAnimationEditorTimelineWidget::frameMoved);
    QSignalSpy finished(&strip, &TSAnimationEditorTimelineWidget::keyMoveFinished);
    // Straight onto the key at 5: both stay.
    dragKey(&strip, 3, {keyCell(&strip, 5)});
    QCOMPARE(moved.size(), 0);
    QCOMPARE(finished.size(), 0);
    QCOMPARE(strip.keyFlags().at(3), 1);
    QCOMPARE(strip.keyFlags().at(5), 1);
    // Across it to 7: 4, then 7 (5 is skipped), then out past the right end to frame 19.
    dragKey(&strip, 3,
            {keyCell(&strip, 4), keyCell(&strip, 5), keyCell(&strip, 7), QPoint(900, 22)});
    QCOMPARE(moved.size(), 3);
    QCOMPARE(moved.at(0), (QVariantList{3, 4}));
    QCOMPARE(moved.at(1), (QVariantList{4, 7}));
    QCOMPARE(moved.at(2), (QVariantList{7, 19}));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(strip.selectedKey(), 19);
    QList<int> flagged;
    for (int f = 0; f < strip.frameCount(); ++f) {
        if (strip.keyFlags().at(f)) {
            flagged << f;
        }
    }
    QCOMPARE(flagged, (QList<int>{5, 8, 19}));
    // And past the left end: frame 0.
    dragKey(&strip, 5, {QPoint(-40, 22)});
    QCOMPARE(moved.last(), (QVariantList{5, 0}));
}

// The editor in the window -----------------------------------------------------------------------

void TestAnimationEditor::controlsCarryTheirNamesTipsAndIcons()
{
    openBiped();
    const struct
    {
        const char* name;
        const char* tip;
        const char* icon;
    } controls[] = {
        {"addButton", "Add new animation", "AE_Add"},
        {"copyButton", "Copy current animation", "AE_Copy"},
        {"loopButton", "Toggle animation playback looping", "AE_Loop"},
        {"collapseButton", "Collapse animation editor", "AE_Collapse"},
        {"extendButton", "Expand animation editor", "AE_Expand"},
        {"playButton", "Toggle animation play/pause (Space)", "AE_Play"},
        {"keyButton", "Toggle animation recording mode", "AE_Record"},
        {"onionSkinButton", nullptr, "AE_OnionSkin"},
    };
    for (const auto& control : controls) {
        auto* button = m_window->findChild<QToolButton*>(control.name);
        QVERIFY2(button, control.name);
        if (control.tip) {
            QCOMPARE(button->toolTip(), QString::fromLatin1(control.tip));
        }
        QVERIFY2(!button->icon().isNull(), control.name);
    }
    QCOMPARE(m_window->findChild<QLineEdit*>("framesNumberLineEdit")->toolTip(),
             QStringLiteral("Number of frames in animation"));
    QCOMPARE(m_window->findChild<QLineEdit*>("speedEdit")->toolTip(),
             QStringLiteral("Speed factor of animation playback"));
    QCOMPARE(editor()->animationComboBox()->toolTip(), QStringLiteral("Current animation selector"));
    QCOMPARE(editor()->loopButton()->text(), QStringLiteral("Loop"));
    // After a load: collapsed, frame 0, the template's length and speed 1.0.
    QVERIFY(!editor()->isExpanded());
    QCOMPARE(timeline()->currentFrame(), 0);
    QCOMPARE(editor()->framesEdit()->text(), QStringLiteral("121"));
    QCOMPARE(editor()->speedEdit()->text(), QStringLiteral("1.0"));
    QCOMPARE(editor()->frameReadout()->text(), QStringLiteral("0   0.000 s"));
    clickFrame(30);
    QCOMPARE(editor()->frameReadout()->text(), QStringLiteral("30   0.500 s"));
    // Everything fits a window of 1200 pixels.
    QCOMPARE(m_window->width(), 1200);
}

void TestAnimationEditor::collapsedDoubleClickKeysAllFiveWithoutMovingAnything()
{
    openBiped();
    selectNode("forearm_L");
    const Skeleton::Node* forearm = m_window->skeleton()->nodeByName("forearm_L");
    // Collapsed, the marks are the keys of all five properties: rotation keys every 15 frames.
    QCOMPARE(timeline()->keyFlags().at(15), 1);
    QCOMPARE(timeline()->keyFlags().at(7), 0);
    clickFrame(7);
    const QList<QTransform> posed = jointTransforms();
    const QStringList before = keysText(forearm->animation);
    const int steps = m_window->history()->count();

    doubleClickFrame(7);
    for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
        QVERIFY2(forearm->animation->channel(channel).keyFrames().contains(7),
                 qPrintable(QString::number(channel)));
    }
    QCOMPARE(timeline()->keyFlags().at(7), 1);
    const QList<QTransform> after = jointTransforms();
    for (int i = 0; i < posed.size(); ++i) {
        QVERIFY2(nearTransform(after.at(i), posed.at(i)), qPrintable(QString::number(i)));
    }
    // The pose between the old keys is the same too: the curve keeps its shape.
    clickFrame(10);
    const QList<QTransform> keyed = jointTransforms();
    const QStringList created = keysText(forearm->animation);
    QCOMPARE(m_window->history()->count(), steps + 1);
    QCOMPARE(m_window->history()->undoText(), QStringLiteral("Create keyframe"));
    QVERIFY(m_window->document()->isModified());
    m_window->history()->undo();
    QCOMPARE(keysText(forearm->animation), before);
    QCOMPARE(timeline()->keyFlags().at(7), 0);
    const QList<QTransform> unkeyed = jointTransforms();
    for (int i = 0; i < keyed.size(); ++i) {
        QVERIFY(nearTransform(unkeyed.at(i), keyed.at(i)));
    }
    m_window->history()->redo();
    QCOMPARE(keysText(forearm->animation), created);
    // A double click on a frame that holds keys everywhere adds nothing.
    doubleClickFrame(7);
    QCOMPARE(m_window->history()->count(), steps + 1);
}

void TestAnimationEditor::expandedEditorWorksOnTheCurrentRow()
{
    openBiped();
    auto* splitter = m_window->findChild<QSplitter*>("animationSplitter");
    const double s = ScreenScale::of(m_window);
    QListWidget* rows = editor()->attributesList();
    clickButton("extendButton");
    QVERIFY(editor()->isExpanded());
    QVERIFY(!widget<QToolButton>("extendButton")->isVisible());
    QVERIFY(widget<QToolButton>("collapseButton")->isVisible());
    QCOMPARE(splitter->sizes().last(), static_cast<int>(std::lround(255 * s)));
    QCOMPARE(m_window->findChild<QWidget*>("timelineSpacer")->width(), static_cast<int>(std::lround(57 * s)));
    // The rows show only with one joint or image selected.
    QVERIFY(!rows->isVisible());
    selectNode("pelvis");
    QVERIFY(rows->isVisible());
    QCOMPARE(rows->count(), 5);
    QCOMPARE(rows->item(0)->text(), QStringLiteral("Position X"));
    QCOMPARE(rows->item(4)->text(), QStringLiteral("Scale Y"));
    AnimationEditorController* controller = m_window->animationController();
    QCOMPARE(controller->secondCurves(0), QStringList{"Position Y"});
    QCOMPARE(controller->secondCurves(2), QStringList());

    // Pelvis: "Position Y" keys every 15 frames, rotation keys at 0 and 120.
    const Skeleton::Node* pelvis = m_window->skeleton()->nodeByName("pelvis");
    clickProperty(2);
    QCOMPARE(controller->currentRow(), 2);
    QCOMPARE(timeline()->keyFlags().at(0), 1);
    QCOMPARE(timeline()->keyFlags().at(15), 0);
    clickProperty(1);
    QCOMPARE(timeline()->keyFlags().at(15), 1);
    // A right click on another row adds its curve behind the current one, and takes it away.
    clickProperty(2, Qt::RightButton);
    QCOMPARE(controller->currentRow(), 1);
    QCOMPARE(controller->secondCurves(1), (QStringList{"Position X", "Rotation"}));
    QVERIFY(rows->item(2)->font().italic());
    clickProperty(0, Qt::RightButton);
    QCOMPARE(controller->secondCurves(1), QStringList{"Rotation"});

    // A double click keys the current row only.
    const int rotationKeys = pelvis->animation->channel(AnimatedObject::Rotation).keyCount();
    doubleClickFrame(20);
    QVERIFY(pelvis->animation->channel(AnimatedObject::LocationY).keyFrames().contains(20));
    QCOMPARE(pelvis->animation->channel(AnimatedObject::Rotation).keyCount(), rotationKeys);
    QVERIFY(!pelvis->animation->channel(AnimatedObject::LocationX).keyFrames().contains(20));
    // Another selection brings the default second curves back.
    selectNode("head");
    QCOMPARE(controller->secondCurves(1), QStringList{"Position X"});

    clickButton("collapseButton");
    QVERIFY(!editor()->isExpanded());
    QVERIFY(!rows->isVisible());
    QCOMPARE(splitter->sizes().last(),
             std::max(static_cast<int>(std::lround(55 * s)), editor()->minimumSizeHint().height()));
    QCOMPARE(m_window->findChild<QWidget*>("timelineSpacer")->width(), static_cast<int>(std::lround(10 * s)));
    // Loading a document collapses the editor.
    clickButton("extendButton");
    test::Boxes boxes;
    boxes.answers << QMessageBox::No;
    openBiped();
    QVERIFY(!editor()->isExpanded());
}

void TestAnimationEditor::curvePlayheadFollowsTheFrameShownOrNot()
{
    openBiped();
    auto* curves = m_window->findChild<TSAnimationCurveEditor*>();
    QVERIFY(curves);
    const auto playheadFrame = [curves] {
        const int x = curves->playhead()->x();
        for (int frame = 0; frame < curves->axes().frameCount(); ++frame) {
            if (static_cast<int>(std::trunc(curves->axes().framePixel(frame))) == x) {
                return frame;
            }
        }
        return -1;
    };
    selectNode("upper_arm_L");
    // Chosen while the curves were never shown, nor laid out for this animation's 121 frames.
    QVERIFY(!curves->isVisible());
    clickFrame(72);
    clickButton("extendButton");
    QVERIFY(curves->isVisible());
    QCOMPARE(playheadFrame(), 72);
    clickFrame(40);
    QCOMPARE(playheadFrame(), 40);
    // Hidden and shown again, and while playing.
    clickButton("collapseButton");
    clickFrame(100);
    clickButton("extendButton");
    QCOMPARE(playheadFrame(), 100);
    clickButton("playButton");
    QTRY_VERIFY(timeline()->currentFrame() != 100);
    clickButton("playButton");
    QVERIFY(!m_window->skeleton()->isPlaying());
    QCOMPARE(playheadFrame(), timeline()->currentFrame());
}

void TestAnimationEditor::keysMoveAsOneStepAndDeleteWhenPicked()
{
    openBiped();
    selectNode("forearm_L");
    const Skeleton::Node* forearm = m_window->skeleton()->nodeByName("forearm_L");
    const TSAnimationCurve& rotation = forearm->animation->channel(AnimatedObject::Rotation);
    HistoryManager* history = m_window->history();
    const QStringList before = keysText(forearm->animation);
    const float valueAt15 = rotation.evaluate(15 / 60.0f);

    // The key of frame 15 dragged over 16, 17 and 18 to 19: one undo step.
    dragKey(timeline(), 15,
            {keyCell(timeline(), 16), keyCell(timeline(), 17), keyCell(timeline(), 18), keyCell(timeline(), 19)});
    QCOMPARE(history->count(), 1);
    QCOMPARE(history->undoText(), QStringLiteral("Move keyframe"));
    QVERIFY(rotation.keyFrames().contains(19));
    QVERIFY(!rotation.keyFrames().contains(15));
    QCOMPARE(rotation.evaluate(19 / 60.0f), valueAt15);
    QCOMPARE(timeline()->keyFlags().at(19), 1);
    const QStringList moved = keysText(forearm->animation);
    history->undo();
    QCOMPARE(keysText(forearm->animation), before);
    QCOMPARE(timeline()->keyFlags().at(15), 1);
    history->redo();
    QCOMPARE(keysText(forearm->animation), moved);

    // Onto the key at 30: nothing moves and nothing is recorded.
    dragKey(timeline(), 19, {keyCell(timeline(), 30)});
    QCOMPARE(history->count(), 1);
    QCOMPARE(keysText(forearm->animation), moved);
    // Past the key at 30 to 33: the keys stay in time order.
    dragKey(timeline(), 19, {keyCell(timeline(), 31), keyCell(timeline(), 33)});
    QCOMPARE(history->count(), 2);
    QCOMPARE(rotation.keyFrames().mid(0, 4), (QList<int>{0, 30, 33, 45}));

    // Delete takes the picked key away (all properties, collapsed); undo brings it back.
    clickFrame(33, true);
    QCOMPARE(timeline()->selectedKey(), 33);
    QTest::keyClick(timeline(), Qt::Key_Delete);
    QCOMPARE(history->undoText(), QStringLiteral("Delete keyframe"));
    QVERIFY(!rotation.keyFrames().contains(33));
    QCOMPARE(timeline()->keyFlags().at(33), 0);
    QVERIFY(m_window->skeleton()->nodeByName("forearm_L"));
    history->undo();
    QVERIFY(rotation.keyFrames().contains(33));
}

void TestAnimationEditor::lengthSpeedAndLoopFields()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    HistoryManager* history = m_window->history();
    QLineEdit* frames = editor()->framesEdit();
    QLineEdit* speed = editor()->speedEdit();
    // One frame is no length at all.
    typeInto(frames, "1");
    for (const auto& tracks : skeleton->tracks()) {
        QCOMPARE(tracks->duration(), 0.0f);
    }
    QCOMPARE(skeleton->frameCount(), 1);
    QCOMPARE(timeline()->frameCount(), 1);
    QCOMPARE(history->count(), 1);
    // Counts that are no counts are ignored, and the field keeps what was typed.
    for (const char* text : {"-3", "abc", "1000001", ""}) {
        typeInto(frames, text);
        QCOMPARE(frames->text(), QString::fromLatin1(text));
        QCOMPARE(history->count(), 1);
    }
    typeInto(frames, "0");
    QCOMPARE(skeleton->duration(), 0.0f);
    QCOMPARE(timeline()->frameCount(), 1);
    // A hundred thousand frames: the timeline reaches the last one.
    typeInto(frames, "100000");
    QCOMPARE(timeline()->frameCount(), 100000);
    QCOMPARE(skeleton->frameCount(), 100000);
    QTest::mouseClick(timeline(), Qt::LeftButton, Qt::NoModifier, QPoint(timeline()->width() - 1, 3));
    QCOMPARE(timeline()->currentFrame(), timeline()->frameAt(timeline()->width() - 1));
    QVERIFY(timeline()->currentFrame() > 99000);
    QVERIFY(!timeline()->grab().isNull());
    // Undone, the field shows the length as frames: no length is one frame.
    history->undo();
    QCOMPARE(frames->text(), QStringLiteral("1"));
    QCOMPARE(timeline()->frameCount(), 1);

    // Speed: a positive number, one undo step; anything else is ignored.
    typeInto(speed, "2");
    QCOMPARE(skeleton->timeScale(), 2.0f);
    QCOMPARE(speed->text(), QStringLiteral("2.0"));
    QCOMPARE(history->undoText(), QStringLiteral("Change speed"));
    for (const char* text : {"0", "-1", "fast", "nan", "inf"}) {
        typeInto(speed, text);
        QCOMPARE(skeleton->timeScale(), 2.0f);
    }
    history->undo();
    QCOMPARE(skeleton->timeScale(), 1.0f);
    QCOMPARE(speed->text(), QStringLiteral("1.0"));

    // Looping: the button, one undo step.
    QVERIFY(skeleton->isLooping());
    clickButton("loopButton");
    QVERIFY(!skeleton->isLooping());
    QCOMPARE(history->undoText(), QStringLiteral("Play once"));
    history->undo();
    QVERIFY(skeleton->isLooping());
    QVERIFY(editor()->loopButton()->isChecked());
}

void TestAnimationEditor::playbackStopsWithoutLoopAndRestartsWithIt()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    typeInto(editor()->framesEdit(), "16");
    QToolButton* play = editor()->playButton();
    // Looping, the frames come round again.
    clickButton("playButton");
    QVERIFY(skeleton->isPlaying());
    QVERIFY(play->isChecked());
    int highest = 0;
    bool cameRound = false;
    for (int i = 0; i < 500 && !cameRound; ++i) {
        QTest::qWait(10);
        highest = std::max(highest, timeline()->currentFrame());
        cameRound = highest > 8 && timeline()->currentFrame() < highest - 5;
    }
    QVERIFY(cameRound);
    QVERIFY(skeleton->isPlaying());
    clickButton("playButton");
    QVERIFY(!skeleton->isPlaying());
    QVERIFY(!play->isChecked());
    // Without looping, playback stops at the end by itself and the play button goes up.
    clickButton("loopButton");
    QTest::keyClick(m_window->graphicsView(), Qt::Key_P);
    QVERIFY(skeleton->isPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(!skeleton->isPlaying(), 5000);
    QVERIFY(!play->isChecked());
    // An animation of no length plays and stops at once.
    typeInto(editor()->framesEdit(), "0");
    QTest::keyClick(m_window->graphicsView(), Qt::Key_P);
    QTRY_VERIFY_WITH_TIMEOUT(!skeleton->isPlaying(), 5000);
    QVERIFY(!play->isChecked());
}

void TestAnimationEditor::speedTwoPlaysASecondInHalfTheTime()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    typeInto(editor()->framesEdit(), "61");
    QCOMPARE(skeleton->duration(), 1.0f);
    typeInto(editor()->speedEdit(), "2");
    clickButton("loopButton");
    // Wall time on a shared machine wanders: a run outside the tolerance is tried again.
    qint64 lasted = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        QSignalSpy stopped(skeleton, &Skeleton::animationStopped);
        QElapsedTimer clock;
        clock.start();
        clickButton("playButton");
        QVERIFY(stopped.wait(5000));
        lasted = clock.elapsed();
        if (lasted > 350 && lasted < 800) {
            break;
        }
    }
    QVERIFY2(lasted > 350 && lasted < 800, qPrintable(QString::number(lasted)));
}

void TestAnimationEditor::spaceTogglesPlaybackUnlessTheCanvasPans()
{
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    // In the animation editor.
    timeline()->setFocus();
    QTest::keyClick(timeline(), Qt::Key_Space);
    QVERIFY(skeleton->isPlaying());
    QVERIFY(editor()->playButton()->isChecked());
    QTest::keyClick(timeline(), Qt::Key_Space);
    QVERIFY(!skeleton->isPlaying());
    // A field of the editor takes the space as text.
    typeInto(editor()->speedEdit(), "1 ");
    QVERIFY(!skeleton->isPlaying());
    // On the canvas a tap plays; Space held for a pan does not.
    TSGraphicsView* view = m_window->graphicsView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(skeleton->isPlaying());
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(!skeleton->isPlaying());
    const QPointF centre = view->mapToScene(view->viewport()->rect().center());
    QTest::keyPress(view, Qt::Key_Space);
    test::drag(view, centre, centre + QPointF(40, 20));
    QTest::keyRelease(view, Qt::Key_Space);
    QVERIFY(!skeleton->isPlaying());
}

void TestAnimationEditor::copyThenUndo()
{
    openBiped();
    DocumentController* document = m_window->document();
    selectNode("forearm_L");
    doubleClickFrame(7);
    const QStringList idle = rotationKeys(m_window->skeleton(), "forearm_L");
    QVERIFY(idle.size() > 9);
    const int animations = document->animations().size();
    // The dialog proposes the current name with " copy".
    QString proposed;
    QTimer::singleShot(0, [&proposed] {
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            proposed = dialog->windowTitle() + ": " + dialog->textValue();
        }
    });
    answerNextInput("Idle twice");
    clickButton("copyButton");
    QTRY_COMPARE(document->animations().size(), animations + 1);
    QCOMPARE(proposed, QStringLiteral("Animation Name: Idle copy"));
    QCOMPARE(document->currentAnimation(), QStringLiteral("model/Idle twice.json"));
    QCOMPARE(editor()->animationComboBox()->currentText(), QStringLiteral("Idle twice"));
    QCOMPARE(rotationKeys(m_window->skeleton(), "forearm_L"), idle);
    QCOMPARE(m_window->history()->undoText(), QStringLiteral("Copy animation"));
    m_window->history()->undo();
    QCOMPARE(document->animations().size(), animations);
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Idle"));
    QCOMPARE(rotationKeys(m_window->skeleton(), "forearm_L"), idle);
    m_window->history()->redo();
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Idle twice"));
    QCOMPARE(rotationKeys(m_window->skeleton(), "forearm_L"), idle);
}

void TestAnimationEditor::takenNameIsAskedForAgain()
{
    openBiped();
    DocumentController* document = m_window->document();
    const int animations = document->animations().size();
    test::Boxes boxes;
    // The name dialog comes back after the box, the refused name selected to be typed over.
    answerNextInput("Wave");
    clickButton("addButton");
    QTRY_COMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.takeFirst().text, QStringLiteral("An animation named \"Wave\" already exists."));
    QLineEdit* edit = nameDialogEdit();
    QVERIFY(edit);
    QCOMPARE(edit->selectedText(), QStringLiteral("Wave"));
    QCOMPARE(document->animations().size(), animations);
    QTest::keyClicks(edit, "Greeting");
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_COMPARE(document->currentAnimationName(), QStringLiteral("Greeting"));
    QCOMPARE(document->animations().size(), animations + 1);
    QVERIFY(!QApplication::activeModalWidget());

    // A copy under a taken name, the same; Escape gives up.
    answerNextInput("Jump");
    clickButton("copyButton");
    QTRY_COMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.takeFirst().title, QStringLiteral("Copy animation"));
    edit = nameDialogEdit();
    QVERIFY(edit);
    QCOMPARE(edit->selectedText(), QStringLiteral("Jump"));
    QTest::keyClick(edit, Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(document->animations().size(), animations + 1);
    QVERIFY(boxes.shown.isEmpty());
}

void TestAnimationEditor::renameKeepsPlayingAndRefusesBadNames()
{
    openBiped();
    DocumentController* document = m_window->document();
    Skeleton* skeleton = m_window->skeleton();
    TSDeletableComboBox* chooser = editor()->animationComboBox();
    const AnimatedObject* tracks = skeleton->nodeByName("head")->animation;
    clickButton("playButton");
    QVERIFY(skeleton->isPlaying());
    // The current template animation renamed through its row's button, while it plays.
    clickChooserButton("Idle", TSDeletableComboBox::RenameButton);
    QVERIFY(chooser->renameEdit()->isVisible());
    QCOMPARE(chooser->renameEdit()->text(), QStringLiteral("Idle"));
    QTest::keyClicks(chooser->renameEdit(), "Breathe");
    QTest::keyClick(chooser->renameEdit(), Qt::Key_Return);
    QVERIFY(!chooser->renameEdit()->isVisible());
    QVERIFY(skeleton->isPlaying());
    QCOMPARE(skeleton->nodeByName("head")->animation, tracks);
    QCOMPARE(document->currentAnimation(), QStringLiteral("model/Breathe.json"));
    QCOMPARE(chooser->currentText(), QStringLiteral("Breathe"));
    QCOMPARE(chooser->currentData().toString(), QStringLiteral("model/Breathe.json"));
    QCOMPARE(chooser->itemText(0), QStringLiteral("Breathe"));
    QVERIFY(document->ignoreList().contains("Idle"));
    QCOMPARE(m_window->history()->undoText(), QStringLiteral("Rename animation"));
    QTRY_VERIFY(timeline()->currentFrame() > 0);
    QVERIFY(skeleton->isPlaying());

    // A taken name and an empty one are refused with a box; Escape cancels.
    test::Boxes boxes;
    clickChooserButton("Breathe", TSDeletableComboBox::RenameButton);
    QTest::keyClicks(chooser->renameEdit(), "Jump");
    QTest::keyClick(chooser->renameEdit(), Qt::Key_Return);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Rename animation"));
    QCOMPARE(boxes.shown.last().text, QStringLiteral("An animation named \"Jump\" already exists."));
    clickChooserButton("Breathe", TSDeletableComboBox::RenameButton);
    QTest::keyClick(chooser->renameEdit(), Qt::Key_Delete);
    QTest::keyClick(chooser->renameEdit(), Qt::Key_Return);
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown.last().text, QStringLiteral("An animation needs a name."));
    clickChooserButton("Breathe", TSDeletableComboBox::RenameButton);
    QTest::keyClicks(chooser->renameEdit(), "Other");
    QTest::keyClick(chooser->renameEdit(), Qt::Key_Escape);
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(chooser->itemText(0), QStringLiteral("Breathe"));
    QCOMPARE(m_window->history()->count(), 1);

    // Undo gives the template animation its name back, still playing.
    m_window->history()->undo();
    QVERIFY(skeleton->isPlaying());
    QCOMPARE(document->currentAnimation(), QStringLiteral("Biped/Idle.json"));
    QCOMPARE(chooser->currentText(), QStringLiteral("Idle"));
    QVERIFY(!document->ignoreList().contains("Idle"));
}

void TestAnimationEditor::renameUndoesInTheAnimationItWasMadeIn()
{
    // Another animation renamed from the chooser while Idle is shown, then Walk looked at: undo
    // and redo bring back Idle, as every other step does with the animation it was made in.
    openBiped();
    DocumentController* document = m_window->document();
    TSDeletableComboBox* chooser = editor()->animationComboBox();
    clickChooserButton("Jump", TSDeletableComboBox::RenameButton);
    QTest::keyClicks(chooser->renameEdit(), "Leap");
    QTest::keyClick(chooser->renameEdit(), Qt::Key_Return);
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Idle"));
    QVERIFY(chooser->findText("Leap") >= 0);
    chooser->setFocus();
    while (chooser->currentText() != QLatin1String("Walk") && chooser->currentIndex() < chooser->count() - 1) {
        QTest::keyClick(chooser, Qt::Key_Down);
    }
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Walk"));
    TSGraphicsView* view = m_window->graphicsView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Idle"));
    QCOMPARE(chooser->currentText(), QStringLiteral("Idle"));
    QVERIFY(chooser->findText("Jump") >= 0 && chooser->findText("Leap") < 0);
    QTest::keyClick(chooser, Qt::Key_Down);
    QVERIFY(document->currentAnimationName() != QLatin1String("Idle"));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Idle"));
    QVERIFY(chooser->findText("Leap") >= 0 && chooser->findText("Jump") < 0);
}

void TestAnimationEditor::chooserListShowsWholeNamesAndItsButtonsActOnTheirRow()
{
    openBiped();
    TSDeletableComboBox* chooser = editor()->animationComboBox();
    QAbstractItemView* list = chooser->view();
    const auto addAnimation = [this, chooser](const QString& name) {
        answerNextInput(name);
        clickButton("addButton");
        QTRY_VERIFY(chooser->findText(name) >= 0);
    };
    // The list drops down as wide as a long name and its row's buttons need.
    const QString longName = QStringLiteral("Kick copy from the left side");
    addAnimation(longName);
    chooser->showPopup();
    QTRY_VERIFY(list->isVisible());
    const QRect rowRect = list->visualRect(list->model()->index(chooser->findText(longName), 0));
    const QRect drawn(0, rowRect.top(), list->viewport()->width(), rowRect.height());
    const int textMargin = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    QVERIFY2(list->fontMetrics().horizontalAdvance(longName) + textMargin <=
                 chooser->buttonRect(drawn, TSDeletableComboBox::RenameButton).left(),
             qPrintable(QString::number(list->viewport()->width())));
    chooser->hidePopup();
    // A name too long for the screen: the list stays on it, and the row is wider than the list.
    addAnimation("Kick copy " + QString(120, QLatin1Char('w')));
    chooser->showPopup();
    QTRY_VERIFY(list->isVisible());
    const QRect screen = chooser->screen()->availableGeometry();
    QCOMPARE(list->window()->width(), screen.width());
    QVERIFY(screen.contains(list->window()->geometry()));
    chooser->hidePopup();
    QSignalSpy renamed(chooser, &TSDeletableComboBox::itemRenamed);
    QSignalSpy deleted(chooser, &TSDeletableComboBox::itemDeleted);
    for (int row = 0; row < chooser->count(); ++row) {
        const QString name = chooser->itemText(row);
        clickChooserButton(name, TSDeletableComboBox::RenameButton);
        QVERIFY2(chooser->renameEdit()->isVisible(), qPrintable(name));
        QCOMPARE(chooser->renameEdit()->text(), name);
        QTest::keyClick(chooser->renameEdit(), Qt::Key_Escape);
        QVERIFY(!chooser->renameEdit()->isVisible());

        clickChooserButton(name, TSDeletableComboBox::DeleteButton);
        QVERIFY2(!chooser->renameEdit()->isVisible(), qPrintable(name));
        QCOMPARE(deleted.size(), 1);
        QCOMPARE(deleted.takeFirst().first().toString(), name);
        QCOMPARE(chooser->findText(name), -1);
        m_window->history()->undo();
        QCOMPARE(chooser->itemText(row), name);
    }
    QCOMPARE(renamed.size(), 0);
}

void TestAnimationEditor::deletedTemplateAnimationStaysDeleted()
{
    openBiped();
    DocumentController* document = m_window->document();
    TSDeletableComboBox* chooser = editor()->animationComboBox();
    QCOMPARE(chooser->count(), 5);
    QCOMPARE(chooser->itemText(1), QStringLiteral("Jump"));
    // A template animation: out of the chooser, onto the ignore list; undo puts it back in place.
    clickChooserButton("Jump", TSDeletableComboBox::DeleteButton);
    QCOMPARE(chooser->count(), 4);
    QCOMPARE(chooser->findText("Jump"), -1);
    QCOMPARE(document->ignoreList(), QStringList{"Jump"});
    QCOMPARE(m_window->history()->undoText(), QStringLiteral("Delete animation"));
    m_window->history()->undo();
    QCOMPARE(chooser->itemText(1), QStringLiteral("Jump"));
    QVERIFY(document->ignoreList().isEmpty());
    m_window->history()->redo();

    // The current one, edited first: the next one shows, and undo brings it back with its edit.
    selectNode("forearm_L");
    doubleClickFrame(7);
    const QStringList edited = rotationKeys(m_window->skeleton(), "forearm_L");
    clickChooserButton("Idle", TSDeletableComboBox::DeleteButton);
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Run"));
    QCOMPARE(chooser->currentText(), QStringLiteral("Run"));
    m_window->history()->undo();
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Idle"));
    QCOMPARE(rotationKeys(m_window->skeleton(), "forearm_L"), edited);
    m_window->history()->redo();

    // Saved and opened again: both stay deleted.
    const QString path = m_dir.filePath("deleted.bsdoc");
    QVERIFY(m_window->writeDocument(path));
    QVERIFY(m_window->openFile(path));
    QStringList names;
    for (int i = 0; i < chooser->count(); ++i) {
        names << chooser->itemText(i);
    }
    // (A save stores the current animation last, and the chooser lists stored ones in order.)
    names.sort();
    QCOMPARE(names, (QStringList{"Run", "Walk", "Wave"}));

    // A deleted animation cannot be entered (a key edit's undo would otherwise bring it up).
    QVERIFY(!document->selectAnimation("Biped/Jump.json"));
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Run"));

    // Down to one; the last one is refused.
    test::Boxes boxes;
    clickChooserButton("Run", TSDeletableComboBox::DeleteButton);
    clickChooserButton("Walk", TSDeletableComboBox::DeleteButton);
    QCOMPARE(chooser->count(), 1);
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Wave"));
    clickChooserButton("Wave", TSDeletableComboBox::DeleteButton);
    QCOMPARE(chooser->count(), 1);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown.last().title, QStringLiteral("Delete animation"));
    QCOMPARE(boxes.shown.last().text, QStringLiteral("The last animation cannot be deleted."));
    QCOMPARE(document->currentAnimationName(), QStringLiteral("Wave"));
}

// Onion skin ---------------------------------------------------------------------------------------

void TestAnimationEditor::onionSkinShowsThePosesAround()
{
    openBiped();
    OnionSkin* onion = m_window->onionSkin();
    Skeleton* skeleton = m_window->skeleton();
    QVERIFY(!onion->isVisible());
    clickFrame(30);
    clickButton("onionSkinButton");
    QVERIFY(onion->isVisible());
    // Two before and two after, five frames apart, the farthest first.
    QCOMPARE(onion->frames(), (QList<int>{20, 40, 25, 35}));
    const int images = static_cast<int>(skeleton->images().size() + skeleton->dummyImages().size());
    QCOMPARE(onion->copies().size(), 4 * images);
    // Each copy sits where its image is at that frame, tinted and fainter farther out.
    QHash<int, QList<QTransform>> expected;
    for (int frame : onion->frames()) {
        skeleton->showFrame(frame);
        for (const auto* list : {&skeleton->dummyImages(), &skeleton->images()}) {
            for (const auto& asset : *list) {
                expected[frame] << asset->item->sceneTransform();
            }
        }
    }
    skeleton->showFrame(30);
    QHash<int, int> seen;
    for (const OnionSkin::Copy& copy : onion->copies()) {
        QVERIFY2(nearTransform(copy.transform, expected[copy.frame].at(seen[copy.frame]++), 1e-2),
                 qPrintable(QString::number(copy.frame)));
        QCOMPARE(copy.tint, copy.frame < 30 ? OnionSkin::kBeforeTint : OnionSkin::kAfterTint);
        QCOMPARE(copy.opacity, (copy.frame == 25 || copy.frame == 35) ? 0.55 : 0.275);
    }
    // It takes no clicks.
    QCOMPARE(onion->acceptedMouseButtons(), Qt::NoButton);
    QVERIFY(!(onion->flags() & QGraphicsItem::ItemIsSelectable));

    // Scrubbing moves it along; near the start there is nothing before frame 0.
    clickFrame(3);
    QCOMPARE(onion->frames(), (QList<int>{13, 8}));
    // Hidden while playing, back when stopped.
    clickButton("playButton");
    QVERIFY(!onion->isVisible());
    clickButton("playButton");
    QVERIFY(onion->isVisible());

    // The counts and the step, and the switch, are the user's: kept in the settings store.
    clickButton("onionSkinSettingsButton");
    QVERIFY(editor()->onionSkinPopup()->isVisible());
    auto* before = m_window->findChild<QSpinBox*>("onionSkinBeforeSpinBox");
    auto* step = m_window->findChild<QSpinBox*>("onionSkinStepSpinBox");
    QCOMPARE(before->value(), 2);
    QCOMPARE(step->value(), 5);
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Down);
    step->setFocus();
    QTest::keyClick(step, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(step, "1");
    QTest::keyClick(step, Qt::Key_Return);
    QTest::keyClick(step, Qt::Key_Escape);
    QTRY_VERIFY(!editor()->onionSkinPopup()->isVisible());
    clickFrame(3);
    QCOMPARE(onion->frames(), (QList<int>{5, 2, 4}));
    QSettings store;
    QCOMPARE(store.value("onionSkin/on").toBool(), true);
    QCOMPARE(store.value("onionSkin/before").toInt(), 1);
    QCOMPARE(store.value("onionSkin/after").toInt(), 2);
    QCOMPARE(store.value("onionSkin/step").toInt(), 1);
    TSApplicationSettings next;
    next.load();
    QCOMPARE(next.onionSkin().before, 1);
    QVERIFY(next.onionSkin().on);
    // A new window starts with them.
    delete m_window;
    m_window = new TSMainWindow();
    QVERIFY(m_window->findChild<QToolButton*>("onionSkinButton")->isChecked());
    QCOMPARE(m_window->onionSkin()->settings().step, 1);
}

void TestAnimationEditor::onionSkinIsNeverExported()
{
    // One blue square, without red or green, on a joint that moves 100 pixels to the right
    // over a second; the other pictures are taken away.
    openBiped();
    Skeleton* skeleton = m_window->skeleton();
    Skeleton::Node* pelvis = skeleton->nodeByName("pelvis");
    for (const auto* list : {&skeleton->images(), &skeleton->dummyImages()}) {
        for (const auto& asset : *list) {
            asset->item->setPixmap(QPixmap());
        }
    }
    // The joints and bones are drawn over everything; not needed here.
    skeleton->setSkeletonVisible(false);
    QImage square(40, 40, QImage::Format_ARGB32);
    square.fill(QColor(0, 0, 255));
    Skeleton::Asset* image = skeleton->addImage("pelvis", square, QTransform::fromTranslate(-20, -20), false);
    AnimatedObject* tracks = pelvis->animation;
    for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
        tracks->channel(channel).setKeys(nullptr, 0);
    }
    // Handles a third of the way: the value grows evenly with time.
    const bez3 line[] = {{0.0f, 0.0f, 0.0f, 0.5f / 3}, {1.0f / 3, 1.0f, 0.5f, 0.5f}};
    tracks->channel(AnimatedObject::LocationX).setKeys(line, 2);
    typeInto(editor()->framesEdit(), "61");
    clickButton("onionSkinButton");
    clickFrame(30);
    QCOMPARE(m_window->onionSkin()->frames(), (QList<int>{20, 40, 25, 35}));

    // On screen: the current square blue, the copies tinted red before and green after.
    TSGraphicsView* view = m_window->graphicsView();
    const QPointF here = image->item->sceneTransform().map(QPointF(20, 20));
    const auto centreAt = [&](int frame) {
        for (const OnionSkin::Copy& copy : m_window->onionSkin()->copies()) {
            if (copy.frame == frame && copy.pixmap.size() == QSize(40, 40)) {
                return copy.transform.map(QPointF(20, 20));
            }
        }
        return QPointF(qQNaN(), qQNaN());
    };
    const QPointF before = centreAt(20);
    const QPointF after = centreAt(40);
    QVERIFY(std::abs(before.x() - here.x() + 100.0 * 10 / 60) < 0.5);
    QVERIFY(std::abs(after.x() - here.x() - 100.0 * 10 / 60) < 0.5);
    // The copies overlap the current square: look beside it, where the two nearer copies lie.
    const QImage shown = view->viewport()->grab().toImage();
    const QColor left = shown.pixelColor(view->mapFromScene(here - QPointF(24, 0)));
    const QColor right = shown.pixelColor(view->mapFromScene(here + QPointF(24, 0)));
    const QColor middle = shown.pixelColor(view->mapFromScene(here));
    QVERIFY2(left.red() > left.green() + 40 && left.red() > 60, qPrintable(left.name()));
    QVERIFY2(right.green() > right.red() + 40 && right.green() > 60, qPrintable(right.name()));
    QVERIFY2(middle.blue() > 200 && middle.red() < 60, qPrintable(middle.name()));

    // Exported: only the square itself, and the onion skin is back on screen afterwards.
    FrameRenderSettings settings;
    settings.folder = m_dir.filePath("frames");
    settings.rect = QRectF(here - QPointF(100, 100), QSizeF(200, 200));
    settings.size = QSize(200, 200);
    settings.fps = 60;
    settings.background = Qt::black;
    QVERIFY(m_window->frameRenderer()->renderFrames(settings).ok());
    QVERIFY(m_window->onionSkin()->isVisible());
    const QImage frame30(FrameRenderSettings::framePath(settings.folder, 30));
    QVERIFY(!frame30.isNull());
    int tinted = 0;
    int blue = 0;
    for (int y = 0; y < frame30.height(); ++y) {
        for (int x = 0; x < frame30.width(); ++x) {
            const QColor c = frame30.pixelColor(x, y);
            tinted += (c.red() > 30 || c.green() > 30) ? 1 : 0;
            blue += c.blue() > 200 ? 1 : 0;
        }
    }
    QCOMPARE(tinted, 0);
    QVERIFY(blue > 1200);
}

void TestAnimationEditor::screenshots()
{
    const QString out = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    openBiped();
    // The walk, close up, with the forearm's rotation row and a few keys.
    TSDeletableComboBox* chooser = editor()->animationComboBox();
    chooser->setFocus();
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(chooser, Qt::Key_Down);
    }
    QCOMPARE(m_window->document()->currentAnimationName(), QStringLiteral("Walk"));
    QRectF character;
    for (const auto& asset : m_window->skeleton()->images()) {
        character |= asset->item->sceneBoundingRect();
    }
    m_window->graphicsView()->fitRect(character.adjusted(-60, -20, 60, 20));
    clickButton("extendButton");
    selectNode("forearm_L");
    clickProperty(2);
    doubleClickFrame(7);
    clickFrame(15, true);
    clickFrame(22);
    QTest::qWait(50);
    const QImage keys = m_window->grab().toImage();
    QVERIFY(!keys.isNull());
    clickButton("onionSkinButton");
    QTest::qWait(50);
    const QImage onion = m_window->grab().toImage();
    QVERIFY(onion != keys);
    if (!out.isEmpty()) {
        keys.save(out + "/t15-expanded-keys.png");
        onion.save(out + "/t15-onion-skin.png");
        clickButton("collapseButton");
        QTest::qWait(50);
        m_window->grab().save(out + "/t15-collapsed.png");
        chooser->showPopup();
        QTest::qWait(50);
        chooser->view()->window()->grab().save(out + "/t15-chooser.png");
        chooser->hidePopup();
        clickButton("onionSkinSettingsButton");
        QTest::qWait(50);
        editor()->onionSkinPopup()->grab().save(out + "/t15-onion-settings.png");
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestAnimationEditor)
#include "tst_AnimationEditor.moc"
