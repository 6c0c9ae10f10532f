// The curve editor driven with real mouse, wheel and key events: its value range, key and
// handle drags onto frames and rounded values, the box of several keys, keys added on the curve
// and deleted, the set-key form, what reaches the undo history, and curves it must survive.
#include "AnimationEditorPanel.h"
#include "AnimationJson.h"
#include "CanvasFixture.h"
#include "EditController.h"
#include "HistoryManager.h"
#include "TSAnimationCurveEditor.h"
#include "TSAnimationCurveEditorSetKeyWidget.h"
#include "TSAnimationEditorTimelineWidget.h"
#include "TestMain.h"
#include "TwoAnimations.h"
#include "ViewInput.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(bez3)
Q_DECLARE_METATYPE(TSAnimationCurve*)

namespace {

using Axes = TSAnimationCurveEditorAxes;
using test::dragOn;
using test::sendMouseTo;

using test::kShipped;

// 20 frames of about 30 pixels on a 603-pixel-wide editor (frame f is drawn near x = 16 + 30 f,
// depending on the display scale), and a plot of 200 pixels: keys from −0.5 to 0.5 give 200
// pixels per unit, y(v) = 107 − 200 v.
constexpr int kWidth = 603;
constexpr int kHeight = 212;

int frameX(const TSAnimationCurveEditor& editor, int frame)
{
    return static_cast<int>(std::lround(editor.axes().framePixel(frame)));
}

int valueY(double value)
{
    return static_cast<int>(std::lround(107.0 - 200.0 * value));
}

std::vector<bez3> keysOf(const TSAnimationCurve& curve)
{
    return std::vector<bez3>(curve.keys(), curve.keys() + curve.keyCount());
}

bool sameKeys(const std::vector<bez3>& a, const std::vector<bez3>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), TSAnimationCurve::keysEqual);
}

/// Keys at frames 0, 10 and 19 with values 0.5, −0.5 and 0.25, and handles off their values.
void fillCurve(TSAnimationCurve& curve)
{
    const bez3 keys[] = {{0.5f, 0.0f, 0.5f, 0.4f},
                         {-0.3f, Axes::frameTime(10), -0.5f, -0.6f},
                         {0.2f, Axes::frameTime(19), 0.25f, 0.25f}};
    curve.setKeys(keys, 3);
}

void click(QWidget* widget, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouseTo(widget, QEvent::MouseButtonPress, pos, button, button);
    sendMouseTo(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

void doubleClick(QWidget* widget, const QPoint& pos)
{
    click(widget, pos);
    sendMouseTo(widget, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
    sendMouseTo(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void wheel(QWidget* widget, int delta)
{
    const QPoint pos = widget->rect().center();
    QWheelEvent event(QPointF(pos), QPointF(widget->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

QPoint pixel(const QPointF& point)
{
    return point.toPoint();
}

/// An editor on the test curve, with the history it records into.
struct Fixture
{
    explicit Fixture(int frames = 20)
    {
        fillCurve(curve);
        editor.resize(kWidth, kHeight);
        editor.setFrameCount(frames);
        editor.setCurve(&curve);
        editor.show();
    }
    const TSAnimationCurveEditorKeyItem& item(int index) const
    {
        return editor.keyItems().at(static_cast<size_t>(index));
    }

    HistoryManager history;
    TSAnimationCurve curve;
    TSAnimationCurveEditor editor;
};

} // namespace

class TestCurveEditor : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { closeWindow(); }
    void valueRangeIsAtLeastTwoTenths_data();
    void valueRangeIsAtLeastTwoTenths();
    void keyDragsLandOnFrames_data();
    void keyDragsLandOnFrames();
    void valuesRoundToHundredthsUnlessControl_data();
    void valuesRoundToHundredthsUnlessControl();
    void aPresetIsEditedAsACustomCopy();
    void onlyDragsThatMoveSomethingAreRecorded();
    void wheelZoomsValuesWithinLimits();
    void handleDragsFollowTheHandleMode_data();
    void handleDragsFollowTheHandleMode();
    void severalKeysMoveAndScaleWithTheirBox();
    void clickOnTheCurveAddsAKeyKeepingItsShape();
    void deleteRemovesTheSelectedKeysInOneStep();
    void spaceDragPansAndFFramesTheKeys();
    void setKeyFormWritesTheKey();
    void numbersInTheFormKeepTwoDecimals_data();
    void numbersInTheFormKeepTwoDecimals();
    void playheadSitsOnItsFrame();
    void undoFindsTheChannelInItsAnimation();
    void undoNeverTouchesAnotherCurve();
    void badCurvesAreDrawnAndEdited_data();
    void badCurvesAreDrawnAndEdited();
    void theWindowEditsTheSelectedJointsCurves();
    void screenshots();
};

void TestCurveEditor::initTestCase()
{
    qRegisterMetaType<TSAnimationCurve*>();
    setUpApplication();
}

void TestCurveEditor::valueRangeIsAtLeastTwoTenths_data()
{
    QTest::addColumn<QVector<float>>("values");
    QTest::addColumn<float>("defaultValue");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("flat") << QVector<float>{0.5f, 0.5f, 0.5f} << 0.0f << 0.4 << 0.6;
    QTest::newRow("one key") << QVector<float>{3.0f} << 0.0f << 2.9 << 3.1;
    QTest::newRow("no key") << QVector<float>{} << 2.0f << 1.9 << 2.1;
    QTest::newRow("narrow") << QVector<float>{1.0f, 1.05f} << 0.0f << 0.925 << 1.125;
    QTest::newRow("wide") << QVector<float>{-0.5f, 0.5f} << 0.0f << -0.5 << 0.5;
}

void TestCurveEditor::valueRangeIsAtLeastTwoTenths()
{
    QFETCH(QVector<float>, values);
    QFETCH(float, defaultValue);
    QFETCH(double, low);
    QFETCH(double, high);
    Fixture f;
    TSAnimationCurve curve;
    curve.setDefaultValue(defaultValue);
    for (int i = 0; i < values.size(); ++i) {
        curve.insertKey(values[i], Axes::frameTime(5 * i), false);
    }
    f.editor.setCurve(&curve);
    QVERIFY(std::abs(f.editor.axes().vMin() - low) < 1e-6);
    QVERIFY(std::abs(f.editor.axes().vMax() - high) < 1e-6);
    QCOMPARE(f.editor.axes().scaleY(), 200.0 / (high - low));

    // The middle of the range is drawn across the middle of the plot: green for a curve with
    // keys, grey for one without.
    const QImage image = f.editor.grab().toImage();
    const double ratio = image.devicePixelRatio();
    const QPoint middle(static_cast<int>(kWidth / 2 * ratio),
                        static_cast<int>(std::floor(f.editor.axes().y((low + high) / 2.0) * ratio)));
    if (values.size() == 1 || values == QVector<float>{0.5f, 0.5f, 0.5f}) {
        QCOMPARE(image.pixelColor(middle), QColor(55, 235, 138));
    } else if (values.isEmpty()) {
        QCOMPARE(image.pixelColor(middle), QColor(Qt::gray));
    }
}

void TestCurveEditor::keyDragsLandOnFrames_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("frame");
    QTest::newRow("earlier cell") << 1 << 200 << 6;
    QTest::newRow("start of a cell") << 1 << 332 << 11;
    QTest::newRow("past the next key") << 1 << 595 << 18;
    QTest::newRow("before the previous key") << 1 << 2 << 1;
    QTest::newRow("last key past the end") << 2 << kWidth + 40 << 19;
    QTest::newRow("first key left of the start") << 0 << -30 << 0;
}

void TestCurveEditor::keyDragsLandOnFrames()
{
    QFETCH(int, key);
    QFETCH(int, x);
    QFETCH(int, frame);
    Fixture f;
    const QPoint from = pixel(f.item(key).keyPixel());
    dragOn(&f.editor, from, QPoint(x, from.y() - 23));
    const float time = f.curve.key(key).time;
    QCOMPARE(time, Axes::frameTime(frame));
    QCOMPARE(std::nearbyint(time * 60.0f), time * 60.0f);
    QCOMPARE(f.curve.keyCount(), 3);
    QVERIFY(f.curve.key(0).time < f.curve.key(1).time && f.curve.key(1).time < f.curve.key(2).time);

    // A key that lay between frames (as files may have it) lands on one too.
    f.curve.setKeyPoint(1, 0.0625f, -0.5f); // frame 3.75
    f.editor.refresh();
    dragOn(&f.editor, pixel(f.item(1).keyPixel()), pixel(f.item(1).keyPixel()) + QPoint(1, -20));
    QCOMPARE(f.curve.key(1).time, Axes::frameTime(4));
}

void TestCurveEditor::valuesRoundToHundredthsUnlessControl_data()
{
    QTest::addColumn<bool>("controlKey");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<float>("value");
    QTest::newRow("plain") << false << int(Qt::NoModifier) << -0.13f;
    QTest::newRow("Control held") << true << int(Qt::NoModifier) << -0.125f;
    QTest::newRow("Control on the events") << false << int(Qt::ControlModifier) << -0.125f;
}

void TestCurveEditor::valuesRoundToHundredthsUnlessControl()
{
    QFETCH(bool, controlKey);
    QFETCH(int, modifiers);
    QFETCH(float, value);
    Fixture f;
    const bez3 before = f.curve.key(0);
    if (controlKey) {
        QTest::keyPress(&f.editor, Qt::Key_Control);
        QVERIFY(f.editor.isFineMode());
    }
    // y = 132 is −0.125 exactly: (207 − 132) / 200 − 0.5.
    QCOMPARE(f.editor.axes().value(132), -0.125);
    dragOn(&f.editor, QPoint(frameX(f.editor, 0), valueY(0.5)), QPoint(frameX(f.editor, 0), 132),
         Qt::KeyboardModifiers(modifiers));
    const bez3 after = f.curve.key(0);
    QCOMPARE(after.value, value);
    // The handles keep their offsets from the key.
    QVERIFY(std::abs((after.outHandle - after.value) - (before.outHandle - before.value)) < 1e-6f);
    QVERIFY(std::abs((after.inHandle - after.value) - (before.inHandle - before.value)) < 1e-6f);
    QTest::keyRelease(&f.editor, Qt::Key_Control);
    QVERIFY(!f.editor.isFineMode());
}

void TestCurveEditor::aPresetIsEditedAsACustomCopy()
{
    Fixture f(61);
    f.editor.resize(61 * 10 + 3, kHeight); // 10 pixels a frame
    const std::unique_ptr<TSAnimationCurve> preset = TSAnimationCurve::createPreset(1);
    const std::vector<bez3> presetKeys = keysOf(*preset);
    f.editor.setCurve(preset.get());
    QSignalSpy presets(&f.editor, &TSAnimationCurveEditor::presetChanged);
    QSignalSpy curves(&f.editor, &TSAnimationCurveEditor::animationCurveChanged);

    const QPoint key = pixel(f.item(1).keyPixel()); // (0.5, 0.1)
    dragOn(&f.editor, key, key + QPoint(0, -40));
    TSAnimationCurve* copy = f.editor.currentCurve();
    QVERIFY(copy != preset.get());
    QCOMPARE(copy->preset(), TSAnimationCurve::kCustomPreset);
    QVERIFY(sameKeys(keysOf(*preset), presetKeys));
    QCOMPARE(preset->preset(), 1);
    QVERIFY(copy->key(1).value > 0.1f);
    QCOMPARE(presets.size(), 1);
    QCOMPARE(presets.first().first().toInt(), TSAnimationCurve::kCustomPreset);
    QCOMPARE(curves.size(), 2); // the copy taken, then the drag
    QCOMPARE(curves.first().first().value<TSAnimationCurve*>(), copy);

    f.history.undo();
    QVERIFY(sameKeys(keysOf(*copy), presetKeys));
    QVERIFY(sameKeys(keysOf(*preset), presetKeys));
}

void TestCurveEditor::onlyDragsThatMoveSomethingAreRecorded()
{
    Fixture f;
    QSignalSpy curves(&f.editor, &TSAnimationCurveEditor::animationCurveChanged);
    const std::vector<bez3> original = keysOf(f.curve);
    const QPoint key(frameX(f.editor, 10), valueY(-0.5));
    click(&f.editor, key);
    QCOMPARE(f.editor.selectedKeyIndices(), QList<int>{1});
    // Away and back to the same pixel.
    sendMouseTo(&f.editor, QEvent::MouseButtonPress, key, Qt::LeftButton, Qt::LeftButton);
    sendMouseTo(&f.editor, QEvent::MouseMove, key + QPoint(60, -40), Qt::NoButton, Qt::LeftButton);
    sendMouseTo(&f.editor, QEvent::MouseMove, key, Qt::NoButton, Qt::LeftButton);
    sendMouseTo(&f.editor, QEvent::MouseButtonRelease, key, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(f.history.count(), 0);
    QCOMPARE(curves.size(), 0);
    QVERIFY(sameKeys(keysOf(f.curve), original));

    dragOn(&f.editor, key, QPoint(frameX(f.editor, 12), valueY(-0.25)));
    QCOMPARE(f.history.count(), 1);
    QCOMPARE(curves.size(), 1);
    const QUndoCommand* group = f.history.command(0);
    QCOMPARE(group->text(), QStringLiteral("Edit keyframes group"));
    QCOMPARE(group->childCount(), 1);
    QCOMPARE(group->child(0)->text(), QStringLiteral("Edit keyframe"));
    const std::vector<bez3> dragged = keysOf(f.curve);
    QCOMPARE(dragged[1].time, Axes::frameTime(12));
    QCOMPARE(dragged[1].value, -0.25f);

    f.history.undo();
    QVERIFY(sameKeys(keysOf(f.curve), original));
    QCOMPARE(f.item(1).keyPixel().toPoint(), key);
    f.history.redo();
    QVERIFY(sameKeys(keysOf(f.curve), dragged));
}

void TestCurveEditor::wheelZoomsValuesWithinLimits()
{
    Fixture f;
    // The first selected key stays at its height.
    click(&f.editor, QPoint(frameX(f.editor, 19), valueY(0.25)));
    const double before = f.item(2).keyPixel().y();
    wheel(&f.editor, 120);
    QCOMPARE(f.editor.axes().scaleY(), 200.0 * 0.9);
    QVERIFY(std::abs(f.item(2).keyPixel().y() - before) < 1e-9);
    wheel(&f.editor, -120);
    QVERIFY(std::abs(f.editor.axes().scaleY() - 200.0) < 1e-9);

    for (int i = 0; i < 200; ++i) {
        wheel(&f.editor, 120);
    }
    QCOMPARE(f.editor.axes().scaleY(), Axes::kMinScaleY);
    for (int i = 0; i < 300; ++i) {
        wheel(&f.editor, -120);
    }
    QCOMPARE(f.editor.axes().scaleY(), Axes::kMaxScaleY);
    const double step = f.editor.axes().gridStep() * f.editor.axes().scaleY();
    QVERIFY(step >= Axes::kMinGridPixels && step <= Axes::kMaxGridPixels);
    QVERIFY(std::abs(f.item(2).keyPixel().y() - before) < 1e-6);
}

void TestCurveEditor::handleDragsFollowTheHandleMode_data()
{
    QTest::addColumn<bool>("locked");
    QTest::newRow("free") << false;
    QTest::newRow("locked") << true;
}

void TestCurveEditor::handleDragsFollowTheHandleMode()
{
    QFETCH(bool, locked);
    Fixture f;
    const QPoint key(frameX(f.editor, 10), valueY(-0.5));
    click(&f.editor, key);
    QVERIFY(f.item(1).showsHandles());
    sendMouseTo(&f.editor, QEvent::MouseButtonPress, key, Qt::RightButton, Qt::RightButton);
    sendMouseTo(&f.editor, QEvent::MouseButtonRelease, key, Qt::RightButton, Qt::NoButton);
    auto* menu = f.editor.findChild<QMenu*>();
    QVERIFY(menu && menu->isVisible());
    const QList<QAction*> actions = menu->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0]->text(), QStringLiteral("Free Mode"));
    QCOMPARE(actions[1]->text(), QStringLiteral("Locked Mode"));
    QVERIFY(actions[0]->isChecked() && !actions[1]->isChecked());
    QAction* choice = actions[locked ? 1 : 0];
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(choice).center());
    QCOMPARE(f.item(1).handleMode(),
             locked ? TSAnimationCurveEditorKeyItem::Locked : TSAnimationCurveEditorKeyItem::Free);

    // The in-handle of the key at frame 10 sits at frame 10 − 10 / 3; the out-handle at 10 + 9 / 3.
    const bez3 before = f.curve.key(1);
    const QPoint handle = pixel(f.item(1).inPixel());
    const Axes& axes = f.editor.axes();
    QCOMPARE(handle.x(), static_cast<int>(std::lround(axes.framePixel(10) - axes.frameWidth() * 10.0 / 3.0)));
    dragOn(&f.editor, handle, handle + QPoint(25, 60));
    const bez3 after = f.curve.key(1);
    QCOMPARE(after.time, before.time);
    QCOMPARE(after.value, before.value);
    QVERIFY(std::abs(after.inHandle - static_cast<float>(f.editor.axes().value(handle.y() + 60))) < 1e-6f);
    if (locked) {
        // One line through the key: equal slopes over the two handle spans (10 / 3 and 9 / 3 frames).
        const double inSlope = (after.value - after.inHandle) / 10.0;
        const double outSlope = (after.outHandle - after.value) / 9.0;
        QVERIFY(std::abs(inSlope - outSlope) < 1e-6);
    } else {
        QCOMPARE(after.outHandle, before.outHandle);
    }
    QCOMPARE(f.history.count(), 1);
    f.history.undo();
    QVERIFY(TSAnimationCurve::keysEqual(f.curve.key(1), before));
}

void TestCurveEditor::severalKeysMoveAndScaleWithTheirBox()
{
    Fixture f;
    const std::vector<bez3> original = keysOf(f.curve);
    // A band from empty space around the last two keys.
    dragOn(&f.editor, QPoint(frameX(f.editor, 8), 2), QPoint(kWidth - 3, kHeight - 3));
    QCOMPARE(f.editor.selectedKeyIndices(), (QList<int>{1, 2}));
    const QRectF box = f.editor.selectionBox();
    QVERIFY(box.contains(f.item(1).keyPixel()) && box.contains(f.item(2).keyPixel()));
    QCOMPARE(f.editor.hitTest(box.center().toPoint()), int(TSAnimationCurveEditor::HitBoxInside));

    // Grabbing one of them moves both: two frames earlier, 0.1 up.
    dragOn(&f.editor, QPoint(frameX(f.editor, 10), valueY(-0.5)),
         QPoint(frameX(f.editor, 8) + 4, valueY(-0.4)));
    QCOMPARE(f.curve.key(1).time, Axes::frameTime(8));
    QCOMPARE(f.curve.key(2).time, Axes::frameTime(17));
    QCOMPARE(f.curve.key(1).value, -0.4f);
    QCOMPARE(f.curve.key(2).value, 0.35f);
    QCOMPARE(f.curve.key(0).time, original[0].time);
    QCOMPARE(f.history.count(), 1);
    QCOMPARE(f.history.command(0)->childCount(), 2);
    QCOMPARE(f.editor.selectedKeyIndices(), (QList<int>{1, 2}));

    // Moving them onto the first key stops a frame after it.
    dragOn(&f.editor, QPoint(frameX(f.editor, 8), valueY(-0.4)),
         QPoint(frameX(f.editor, 0) - 20, valueY(-0.4)));
    QCOMPARE(f.curve.key(1).time, Axes::frameTime(1));
    QCOMPARE(f.curve.key(2).time, Axes::frameTime(10));

    // The right edge doubles the span from the left one; the top edge halves the values' span.
    f.history.undo();
    f.history.undo();
    QVERIFY(sameKeys(keysOf(f.curve), original));
    const QRectF full = f.editor.selectionBox();
    const QPoint right(static_cast<int>(full.right()), static_cast<int>(full.center().y()));
    QCOMPARE(f.editor.hitTest(right), int(TSAnimationCurveEditor::HitBoxRight));
    dragOn(&f.editor, right, right - QPoint(9 * 30 / 3 * 1, 0)); // 9 frames → 6
    QCOMPARE(f.curve.key(1).time, Axes::frameTime(10));
    QCOMPARE(f.curve.key(2).time, Axes::frameTime(16));
    const QRectF scaled = f.editor.selectionBox();
    const QPoint top(static_cast<int>(scaled.center().x()), static_cast<int>(std::ceil(scaled.top())));
    QCOMPARE(f.editor.hitTest(top), int(TSAnimationCurveEditor::HitBoxTop));
    dragOn(&f.editor, top, top + QPoint(0, 75)); // span 0.75 → 0.375
    QCOMPARE(f.curve.key(1).value, -0.5f);
    QVERIFY(std::abs(f.curve.key(2).value - (-0.5f + 0.375f)) < 0.006f);
    const double handleOffset = f.curve.key(2).inHandle - f.curve.key(2).value;
    QVERIFY(std::abs(handleOffset - (original[2].inHandle - original[2].value) * 0.5) < 0.01);
    QCOMPARE(f.history.count(), 2);
}

void TestCurveEditor::clickOnTheCurveAddsAKeyKeepingItsShape()
{
    Fixture f;
    QSignalSpy added(&f.editor, &TSAnimationCurveEditor::keyframeAdded);
    std::vector<float> samples;
    for (int i = 0; i <= 100; ++i) {
        samples.push_back(f.curve.evaluate(Axes::frameTime(19) * i / 100.0f));
    }
    const std::vector<bez3> original = keysOf(f.curve);

    // A little off the curve is a click on empty space.
    const float atFive = f.curve.evaluate(Axes::frameTime(5));
    const QPoint onCurve(frameX(f.editor, 5) + 3, static_cast<int>(std::lround(f.editor.axes().y(atFive))));
    QCOMPARE(f.editor.hitTest(onCurve), int(TSAnimationCurveEditor::HitCurve));
    const QPoint off = onCurve + QPoint(0, static_cast<int>(std::lround(7 * f.editor.axes().displayScale())) + 3);
    QCOMPARE(f.editor.hitTest(off), int(TSAnimationCurveEditor::HitNone));
    click(&f.editor, off);
    QCOMPARE(f.curve.keyCount(), 3);
    QCOMPARE(added.size(), 0);

    click(&f.editor, onCurve);
    QCOMPARE(f.curve.keyCount(), 4);
    QCOMPARE(f.curve.key(1).time, Axes::frameTime(5));
    QCOMPARE(f.curve.key(1).value, atFive);
    QCOMPARE(added.size(), 1);
    QCOMPARE(added.first().first().toInt(), 1);
    QCOMPARE(f.editor.selectedKeyIndices(), QList<int>{1});
    for (int i = 0; i <= 100; ++i) {
        QVERIFY2(std::abs(f.curve.evaluate(Axes::frameTime(19) * i / 100.0f) - samples[size_t(i)]) < 1e-5f,
                 qPrintable(QString::number(i)));
    }
    QCOMPARE(f.history.count(), 1);
    QCOMPARE(f.history.command(0)->text(), QStringLiteral("Add keyframe"));
    // A second click on the same frame adds nothing.
    click(&f.editor, onCurve + QPoint(2, 0));
    QCOMPARE(f.curve.keyCount(), 4);
    f.history.undo();
    QVERIFY(sameKeys(keysOf(f.curve), original));
    QCOMPARE(f.editor.keyItems().size(), size_t(3));
}

void TestCurveEditor::deleteRemovesTheSelectedKeysInOneStep()
{
    Fixture f;
    const std::vector<bez3> original = keysOf(f.curve);
    QSignalSpy curves(&f.editor, &TSAnimationCurveEditor::animationCurveChanged);
    QTest::keyClick(&f.editor, Qt::Key_Delete); // nothing selected
    QCOMPARE(f.history.count(), 0);

    dragOn(&f.editor, QPoint(frameX(f.editor, 12), 2), QPoint(2, kHeight - 3));
    QCOMPARE(f.editor.selectedKeyIndices(), (QList<int>{0, 1}));
    QTest::keyClick(&f.editor, Qt::Key_Delete);
    QCOMPARE(f.curve.keyCount(), 1);
    QVERIFY(TSAnimationCurve::keysEqual(f.curve.key(0), original[2]));
    QCOMPARE(f.history.count(), 1);
    QCOMPARE(f.history.command(0)->text(), QStringLiteral("Delete 2 keyframes"));
    QCOMPARE(curves.size(), 1);
    QVERIFY(f.editor.selectedKeyIndices().isEmpty());
    f.history.undo();
    QVERIFY(sameKeys(keysOf(f.curve), original));
    f.history.redo();
    QCOMPARE(f.curve.keyCount(), 1);

    click(&f.editor, pixel(f.item(0).keyPixel()));
    QTest::keyClick(&f.editor, Qt::Key_Backspace);
    QCOMPARE(f.curve.keyCount(), 0);
    QCOMPARE(f.history.command(1)->text(), QStringLiteral("Delete keyframe"));
}

void TestCurveEditor::spaceDragPansAndFFramesTheKeys()
{
    Fixture f;
    const std::vector<bez3> original = keysOf(f.curve);
    QTest::keyPress(&f.editor, Qt::Key_Space);
    QVERIFY(f.editor.isPanMode());
    QCOMPARE(f.editor.cursor().shape(), Qt::OpenHandCursor);
    // Dragging from a key pans: the key follows the pointer and is not moved.
    const QPoint key(frameX(f.editor, 10), valueY(-0.5));
    dragOn(&f.editor, key, key + QPoint(0, -50));
    QVERIFY(sameKeys(keysOf(f.curve), original));
    QCOMPARE(f.history.count(), 0);
    QVERIFY(std::abs(f.editor.axes().vMin() - (-0.75)) < 1e-9);
    QCOMPARE(f.item(1).keyPixel().toPoint(), key + QPoint(0, -50));
    QTest::keyRelease(&f.editor, Qt::Key_Space);
    QVERIFY(!f.editor.isPanMode());

    wheel(&f.editor, 120);
    wheel(&f.editor, 120);
    QTest::keyClick(&f.editor, Qt::Key_F);
    QVERIFY(std::abs(f.editor.axes().vMin() - (-0.5)) < 1e-9);
    QVERIFY(std::abs(f.editor.axes().vMax() - 0.5) < 1e-9);
}

void TestCurveEditor::setKeyFormWritesTheKey()
{
    Fixture f;
    QSignalSpy edits(&f.editor, &TSAnimationCurveEditor::keyframeEdit);
    doubleClick(&f.editor, QPoint(frameX(f.editor, 10), valueY(-0.5)));
    TSAnimationCurveEditorSetKeyWidget* form = f.editor.setKeyWidget();
    QVERIFY(form && form->isVisible());
    QCOMPARE(edits.last().at(1).value<TSAnimationCurve*>(), &f.curve);
    QCOMPARE(edits.last().at(2).toInt(), 1);
    QCOMPARE(form->findChild<QLineEdit*>("time")->text(), QStringLiteral("0.1667"));
    QCOMPARE(form->findChild<QLineEdit*>("value")->text(), QStringLiteral("-0.50"));

    // The value field has the focus, its text selected.
    QLineEdit* value = form->valueEdit();
    QTest::keyClicks(value, "0.3");
    QTest::keyClick(value, Qt::Key_Return);
    QCOMPARE(f.curve.key(1).value, 0.3f);
    QCOMPARE(f.curve.key(1).time, Axes::frameTime(10));
    QCOMPARE(value->text(), QStringLiteral("0.30"));
    QCOMPARE(f.history.count(), 1);
    QCOMPARE(f.history.command(0)->child(0)->text(), QStringLiteral("Edit keyframe"));

    // Text that is no number, and a time past the next key, are refused.
    value->selectAll();
    QTest::keyClicks(value, "abc");
    QTest::keyClick(value, Qt::Key_Return);
    QCOMPARE(value->text(), QStringLiteral("0.30"));
    QLineEdit* time = form->timeEdit();
    time->setFocus();
    time->selectAll();
    QTest::keyClicks(time, "0.5");
    QTest::keyClick(time, Qt::Key_Return);
    QCOMPARE(time->text(), QStringLiteral("0.1667"));
    time->selectAll();
    QTest::keyClicks(time, "0.25");
    QTest::keyClick(time, Qt::Key_Return);
    QCOMPARE(f.curve.key(1).time, 0.25f);
    QCOMPARE(f.history.count(), 2);

    // A press elsewhere closes the form; undo puts back both edits.
    click(&f.editor, QPoint(5, 5));
    QTRY_VERIFY(!f.editor.setKeyWidget());
    f.history.undo();
    f.history.undo();
    QCOMPARE(f.curve.key(1).value, -0.5f);
    QCOMPARE(f.curve.key(1).time, Axes::frameTime(10));
}

void TestCurveEditor::numbersInTheFormKeepTwoDecimals_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.5") << 1.5 << "1.50";
    QTest::newRow("1") << 1.0 << "1.00";
    QTest::newRow("0.1234") << 0.1234 << "0.1234";
    QTest::newRow("-0.125") << -0.125 << "-0.125";
    QTest::newRow("0.00001") << 0.00001 << "0.00";
    QTest::newRow("250") << 250.0 << "250.00";
}

void TestCurveEditor::numbersInTheFormKeepTwoDecimals()
{
    QFETCH(double, number);
    QFETCH(QString, text);
    QCOMPARE(TSAnimationCurveEditorSetKeyWidget::formatNumber(number), text);
}

void TestCurveEditor::playheadSitsOnItsFrame()
{
    Fixture f;
    f.editor.setPlayheadFrame(10);
    const QRect line = f.editor.playhead()->geometry();
    QCOMPARE(line.x(), static_cast<int>(std::trunc(f.editor.axes().framePixel(10))));
    QCOMPARE(line.width(), 1);
    QCOMPARE(line.height(), kHeight);
    QCOMPARE(static_cast<int>(f.item(1).keyPixel().x()), line.x());
    // Clicks go through it to the key under it.
    QCOMPARE(f.editor.childAt(line.x(), valueY(-0.5)), nullptr);
    f.editor.setPlayheadFrame(500);
    QCOMPARE(f.editor.playheadFrame(), 19);
}

void TestCurveEditor::undoFindsTheChannelInItsAnimation()
{
    test::CanvasFixture canvas;
    canvas.buildBody();
    HistoryManager history;
    history.setSkeleton(canvas.skeleton.get());
    test::TwoAnimations document(canvas.skeleton.get());
    history.setDocument(&document);
    TSAnimationCurve* walk =
        &canvas.skeleton->nodeByName("arm")->animation->channel(AnimatedObject::Rotation);
    fillCurve(*walk);
    const std::vector<bez3> original = keysOf(*walk);
    TSAnimationCurveEditor editor;
    editor.resize(kWidth, kHeight);
    editor.setFrameCount(20);
    editor.setCurve(walk);
    editor.show();

    dragOn(&editor, QPoint(frameX(editor, 10), valueY(-0.5)), QPoint(frameX(editor, 12), valueY(0)));
    const std::vector<bez3> dragged = keysOf(*walk);
    QVERIFY(!sameKeys(dragged, original));
    // Another animation's channel is shown when undo comes: it is left alone, and the key
    // goes back in the walk.
    QVERIFY(document.selectAnimation("run"));
    TSAnimationCurve* run = &canvas.skeleton->nodeByName("arm")->animation->channel(AnimatedObject::Rotation);
    editor.setCurve(run);
    const std::vector<bez3> runKeys = keysOf(*run);
    history.undo();
    QCOMPARE(document.currentAnimation(), QStringLiteral("walk"));
    QVERIFY(sameKeys(keysOf(canvas.skeleton->nodeByName("arm")->animation->channel(AnimatedObject::Rotation)),
                     original));
    QVERIFY(document.selectAnimation("run"));
    QVERIFY(sameKeys(keysOf(canvas.skeleton->nodeByName("arm")->animation->channel(AnimatedObject::Rotation)),
                     runKeys));
    history.redo();
    QVERIFY(sameKeys(keysOf(canvas.skeleton->nodeByName("arm")->animation->channel(AnimatedObject::Rotation)),
                     dragged));
}

void TestCurveEditor::undoNeverTouchesAnotherCurve()
{
    Fixture f;
    dragOn(&f.editor, QPoint(frameX(f.editor, 10), valueY(-0.5)), QPoint(frameX(f.editor, 12), valueY(0)));
    TSAnimationCurve other;
    fillCurve(other);
    f.editor.setCurve(&other);
    f.history.undo();
    QVERIFY(sameKeys(keysOf(other), keysOf(f.curve)) == false);
    TSAnimationCurve fresh;
    fillCurve(fresh);
    QVERIFY(sameKeys(keysOf(other), keysOf(fresh)));
}

void TestCurveEditor::badCurvesAreDrawnAndEdited_data()
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::addColumn<QVector<bez3>>("keys");
    QTest::addColumn<int>("frames");
    QVector<bez3> many;
    for (int i = 0; i < 500; ++i) {
        const float value = std::sin(i * 0.1f);
        many.append(bez3{value, Axes::frameTime(i), value, value});
    }
    QTest::newRow("no keys") << QVector<bez3>{} << 20;
    QTest::newRow("one key") << QVector<bez3>{{1, 0.1f, 1, 1}} << 20;
    QTest::newRow("500 keys") << many << 500;
    QTest::newRow("500 keys on 20 frames") << many << 20;
    QTest::newRow("equal times") << QVector<bez3>{{0, 0.1f, 0, 0}, {1, 0.1f, 1, 1}, {2, 0.1f, 2, 2}} << 20;
    QTest::newRow("huge values") << QVector<bez3>{{0, 0, -1e30f, 0}, {1e30f, 0.1f, 1e30f, 1e30f}} << 20;
    QTest::newRow("not a number") << QVector<bez3>{{0, 0, 0, nan}, {nan, 0.1f, nan, 0}, {1, 0.2f, 1, 1}}
                                  << 20;
    QTest::newRow("out of order") << QVector<bez3>{{0, 0.3f, 0, 0}, {1, 0.1f, 1, 1}, {2, 1e6f, 2, 2}}
                                  << 100000;
}

void TestCurveEditor::badCurvesAreDrawnAndEdited()
{
    QFETCH(QVector<bez3>, keys);
    QFETCH(int, frames);
    Fixture f(frames);
    TSAnimationCurve curve;
    curve.setKeys(keys.constData(), keys.size());
    f.editor.setCurve(&curve);
    const Axes& axes = f.editor.axes();
    QVERIFY(std::isfinite(axes.vMin()) && std::isfinite(axes.vMax()) && axes.vMax() > axes.vMin());
    QVERIFY(std::isfinite(axes.scaleY()) && axes.scaleY() > 0.0);
    QVERIFY(std::isfinite(axes.gridStep()) && axes.gridStep() > 0.0);
    QVERIFY(!f.editor.grab().toImage().isNull());

    // Every gesture still runs: a band over everything, a drag, a wheel, a click on the curve.
    const QRect band(QPoint(1, 1), QPoint(kWidth - 2, kHeight - 2));
    dragOn(&f.editor, band.topLeft(), band.bottomRight());
    const auto inBand =
        std::count_if(f.editor.keyItems().begin(), f.editor.keyItems().end(),
                      [&](const auto& item) { return band.contains(item.keyPixel().toPoint()); });
    QCOMPARE(f.editor.selectedKeyIndices().size(), static_cast<int>(inBand));
    dragOn(&f.editor, QPoint(kWidth / 2, kHeight / 2), QPoint(kWidth / 3, kHeight / 3));
    for (int i = 0; i < 60; ++i) {
        wheel(&f.editor, i < 30 ? 120 : -120);
    }
    click(&f.editor, QPoint(kWidth / 2, kHeight / 2));
    QTest::keyClick(&f.editor, Qt::Key_F);
    QVERIFY(!f.editor.grab().toImage().isNull());
    while (f.history.canUndo()) {
        f.history.undo();
    }
    QCOMPARE(curve.keyCount(), keys.size());
}

void TestCurveEditor::theWindowEditsTheSelectedJointsCurves()
{
    openWindow(QSize(1200, 800));
    TSMainWindow* window = m_window;
    QVERIFY(window->loadDocument(kShipped + "/projects/Biped.bsdoc", true, "Biped Character"));
    QComboBox* chooser = window->animationEditor()->animationComboBox();
    QMetaObject::invokeMethod(chooser, "activated", Q_ARG(int, chooser->findText("Walk")));
    window->show();
    AnimationEditorPanel* panel = window->animationEditor();
    TSOutlinerWidget* outliner = window->outliner()->tree();
    auto* editor = window->findChild<TSAnimationCurveEditor*>("animationCurveView");
    QVERIFY(editor && panel->curveArea()->isAncestorOf(editor));
    QTest::mouseClick(window->findChild<QToolButton*>("extendButton"), Qt::LeftButton);
    QVERIFY(!editor->isVisible());

    // The thigh: each property row with its partner in grey, and a right click adds another.
    QVERIFY(test::clickRow(outliner, "thigh_L"));
    QVERIFY(editor->isVisible());
    Skeleton::Node* thigh = window->skeleton()->nodeByName("thigh_L");
    QListWidget* rows = panel->attributesList();
    auto clickProperty = [rows](int row, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(rows->viewport(), button, Qt::NoModifier,
                          rows->visualItemRect(rows->item(row)).center());
    };
    clickProperty(AnimatedObject::LocationX);
    QCOMPARE(editor->currentCurve(), &thigh->animation->channel(AnimatedObject::LocationX));
    QCOMPARE(editor->secondCurves(),
             (QList<const TSAnimationCurve*>{&thigh->animation->channel(AnimatedObject::LocationY)}));
    clickProperty(AnimatedObject::Rotation, Qt::RightButton);
    QCOMPARE(editor->secondCurves(),
             (QList<const TSAnimationCurve*>{&thigh->animation->channel(AnimatedObject::LocationY),
                                             &thigh->animation->channel(AnimatedObject::Rotation)}));
    clickProperty(AnimatedObject::Rotation);
    TSAnimationCurve* rotation = &thigh->animation->channel(AnimatedObject::Rotation);
    QCOMPARE(editor->currentCurve(), rotation);
    QVERIFY(editor->secondCurves().isEmpty());
    QCOMPARE(editor->frameCount(), window->skeleton()->frameCount());
    if (const QString out = qEnvironmentVariable("BONESTAGE_SCREENSHOTS"); !out.isEmpty()) {
        QVERIFY(window->grab().save(out + "/c16b-window.png"));
    }

    // A drag of the key at frame 0 turns the thigh on the canvas, and the zoom stays; Control+Z
    // there turns the thigh back.
    wheel(editor, 120);
    const double zoom = editor->axes().scaleY();
    const std::vector<bez3> original = keysOf(*rotation);
    const QTransform posed = thigh->joint->sceneTransform();
    const QPoint key = pixel(editor->keyItems().front().keyPixel());
    dragOn(editor, key, key + QPoint(0, -30));
    QCOMPARE(editor->axes().scaleY(), zoom);
    QVERIFY(!sameKeys(keysOf(*rotation), original));
    QVERIFY(thigh->joint->sceneTransform() != posed);
    QVERIFY(window->document()->isModified());
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(sameKeys(keysOf(*rotation), original));
    QVERIFY(thigh->joint->sceneTransform() == posed);

    // A click on the curve between two keys adds a key, and the timeline marks it with the
    // rotation's other keys.
    const QList<int> frames = rotation->keyFrames();
    const int between = (frames.at(0) + frames.at(1)) / 2;
    QVERIFY(between != frames.at(0));
    const double value = rotation->evaluate(Axes::frameTime(between));
    click(editor, QPoint(frameX(*editor, between), static_cast<int>(std::lround(editor->axes().y(value)))));
    QCOMPARE(rotation->keyFrames().size(), frames.size() + 1);
    QVERIFY(rotation->keyFrames().contains(between));
    const QVector<int>& marks = panel->timeline()->keyFlags();
    QCOMPARE(marks.count(1), frames.size() + 1);
    QCOMPARE(marks.at(between), 1);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(panel->timeline()->keyFlags().at(between), 0);
    QVERIFY(sameKeys(keysOf(*rotation), original));
    // Delete there takes the picked key, not the joint.
    click(editor, pixel(editor->keyItems()[1].keyPixel()));
    QTest::keyClick(editor, Qt::Key_Delete);
    QCOMPARE(rotation->keyFrames(), frames.mid(0, 1) + frames.mid(2));
    QCOMPARE(panel->timeline()->keyFlags().at(frames.at(1)), 0);
    QVERIFY(window->skeleton()->nodeByName("thigh_L"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(sameKeys(keysOf(*rotation), original));

    // A preset channel: the editor edits a custom copy, which becomes the channel's keys. (Taking
    // the copy refits the view, as F does.)
    rotation->setPreset(1);
    QTest::keyClick(editor, Qt::Key_F);
    const QPoint fitted = pixel(editor->keyItems().front().keyPixel());
    dragOn(editor, fitted, fitted + QPoint(0, -30));
    QCOMPARE(editor->currentCurve(), rotation);
    QCOMPARE(rotation->preset(), TSAnimationCurve::kCustomPreset);
    QVERIFY(!sameKeys(keysOf(*rotation), original));
    QVERIFY(thigh->joint->sceneTransform() != posed);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(sameKeys(keysOf(*rotation), original));

    // Another animation with the set-key form open: the form goes, the editor shows the other
    // animation's channel and the walk keeps its keys.
    doubleClick(editor, pixel(editor->keyItems()[1].keyPixel()));
    QVERIFY(editor->setKeyWidget());
    editor->setKeyWidget()->valueEdit()->setText("0.5");
    QMetaObject::invokeMethod(chooser, "activated", Q_ARG(int, chooser->findText("Run")));
    QTRY_VERIFY(!editor->setKeyWidget());
    QCOMPARE(editor->currentCurve(),
             &window->skeleton()->nodeByName("thigh_L")->animation->channel(AnimatedObject::Rotation));
    QMetaObject::invokeMethod(chooser, "activated", Q_ARG(int, chooser->findText("Walk")));
    QVERIFY(sameKeys(keysOf(*editor->currentCurve()), original));

    // Several rows selected: no curve view, and the editor lets go of the curves.
    const QList<QTreeWidgetItem*> shin = outliner->findItems("shin_L", Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY(!shin.isEmpty());
    QTest::mouseClick(outliner->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      outliner->visualItemRect(shin.first()).center());
    QVERIFY(window->manipulator()->targets().size() >= 2);
    QVERIFY(!editor->isVisible());
    QCOMPARE(editor->currentCurve()->keyCount(), 0);

    // An image without tracks shows a flat line that a click does not key: the image gets
    // tracks when it is keyed on the timeline.
    const Skeleton::Asset* image = nullptr;
    for (const auto& asset : window->skeleton()->images()) {
        image = !image && !asset->animation ? asset.get() : image;
    }
    QVERIFY(image);
    // The image's row is the last of its name, under its joint's row.
    const QList<QTreeWidgetItem*> named =
        outliner->findItems(image->name, Qt::MatchExactly | Qt::MatchRecursive);
    QTest::mouseClick(outliner->viewport(), Qt::LeftButton, Qt::NoModifier,
                      outliner->visualItemRect(named.last()).center());
    QCOMPARE(window->editing()->selectedImage(), image);
    QVERIFY(editor->isVisible());
    const int steps = window->history()->count();
    const double flat = editor->axes().y(editor->currentCurve()->evaluate(0.0f));
    click(editor, QPoint(frameX(*editor, 5), static_cast<int>(std::lround(flat))));
    QCOMPARE(editor->currentCurve()->keyCount(), 0);
    QCOMPARE(window->history()->count(), steps);
}

void TestCurveEditor::screenshots()
{
    // The walk of the biped template: the left thigh's rotation with the right one's in grey,
    // and the pelvis's location y with its location x (no keys) as the window pairs them.
    const AnimationTracks walk = AnimationJson::readAnimation(kShipped + "/animations/Biped/Walk.json");
    const AnimatedObject* left = walk.findByName("thigh_L");
    const AnimatedObject* right = walk.findByName("thigh_R");
    const AnimatedObject* pelvis = walk.findByName("pelvis");
    QVERIFY(left && right && pelvis);
    TSAnimationCurve rotation = left->channel(AnimatedObject::Rotation);
    TSAnimationCurve height = pelvis->channel(AnimatedObject::LocationY);
    QVERIFY(rotation.keyCount() > 5 && height.keyCount() > 5);
    HistoryManager history;
    TSAnimationCurveEditor editor;
    editor.resize(760, 240);
    editor.setFrameCount(static_cast<int>(std::ceil(walk.maxDuration() * 60.0f + 1.0f)));
    editor.setCurve(&rotation);
    editor.addSecondCurve(&right->channel(AnimatedObject::Rotation));
    editor.setPlayheadFrame(12);
    editor.show();
    const QImage plain = editor.grab().toImage();
    // The background is the editor's dark grey, the curve green and the second curve grey.
    QCOMPARE(plain.pixelColor(3, plain.height() / 2 - 3), QColor(30, 30, 30));
    auto columnHas = [&plain](int x, const QColor& colour) {
        for (int y = 0; y < plain.height(); ++y) {
            if (plain.pixelColor(x, y) == colour) {
                return true;
            }
        }
        return false;
    };
    const int between = static_cast<int>(editor.keyItems()[1].keyPixel().x()) + 4;
    QVERIFY(columnHas(between, QColor(55, 235, 138)));
    QVERIFY(columnHas(between, QColor(83, 83, 83)));

    // Two keys in a box, then one key with its handles and the form.
    dragOn(&editor, QPoint(static_cast<int>(editor.keyItems()[2].keyPixel().x()) - 6, 2),
         QPoint(static_cast<int>(editor.keyItems()[3].keyPixel().x()) + 6, editor.height() - 3));
    QCOMPARE(editor.selectedKeyIndices(), (QList<int>{2, 3}));
    const QImage box = editor.grab().toImage();
    doubleClick(&editor, pixel(editor.keyItems()[5].keyPixel()));
    QVERIFY(editor.setKeyWidget());
    const QImage form = editor.grab().toImage();

    editor.setCurve(&height);
    editor.clearSecondCurves();
    editor.addSecondCurve(&pelvis->channel(AnimatedObject::LocationX));
    const QImage location = editor.grab().toImage();

    const QString out = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    if (!out.isEmpty()) {
        QVERIFY(plain.save(out + "/c16-curve-editor.png"));
        QVERIFY(box.save(out + "/c16-curve-editor-box.png"));
        QVERIFY(form.save(out + "/c16-curve-editor-form.png"));
        QVERIFY(location.save(out + "/c16-curve-editor-location.png"));
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestCurveEditor)
#include "tst_CurveEditor.moc"
