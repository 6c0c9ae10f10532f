// The object settings column and the editing modes, driven through the real window with mouse
// and key events: typed values in set-up and recording mode with their undo, the image
// adjustments, the picture drop, the assets warning, the hint for hidden joints, bad input.
#include "AnimationEditorPanel.h"
#include "AnimationTracks.h"
#include "HistoryManager.h"
#include "ObjectFieldEditor.h"
#include "Pose.h"
#include "TSLineEditUpdateable.h"
#include "TestMain.h"
#include "WindowAnswers.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsEllipseItem>
#include <QGraphicsPixmapItem>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTreeWidget>

#include <cmath>

namespace {

using test::keyPoints;
using test::kShipped;

/// The set-up pose of a node in its parent's coordinates, as channel values.
Pose::Values setupValues(const Skeleton::Node* node)
{
    return Pose::valuesOf(node->restTransform * QTransform::fromTranslate(node->position.x(), node->position.y()),
                          QPointF());
}

bool near(const QPointF& a, const QPointF& b)
{
    return std::abs(a.x() - b.x()) < 1e-3 && std::abs(a.y() - b.y()) < 1e-3;
}

bool isFinite(const QTransform& t)
{
    for (qreal v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()}) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

} // namespace

class TestObjectSettings : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }
    void init() { openWindow(QSize(1280, 800)); }
    void cleanup() { closeWindow(); }
    void typedRotationIsARestPoseOrAKeyAndOneUndoStep();
    void imageAdjustmentsAndPictureDrop();
    void assetsWarningShowsUntilSuppressed();
    void hiddenJointWaitsForActivate();
    void badInputIsRefusedOrClamped();
    void fieldValuesWithoutAWindow();
    void rowTitlesShowWhole();
    void screenshots();

};

void TestObjectSettings::typedRotationIsARestPoseOrAKeyAndOneUndoStep()
{
    openTemplate();
    Skeleton::Node* forearm = m_window->skeleton()->nodeByName("forearm_L");
    HistoryManager* history = m_window->history();
    auto* column = widget<QWidget>("objectSettingsFrame");
    const QRect canvas = m_window->graphicsView()->geometry();
    const int width = column->width();

    // Picked in the outliner, the joint shows in the column; the canvas does not move.
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "forearm_L"));
    QCOMPARE(widget<QLineEdit>("name")->text(), QStringLiteral("forearm_L"));
    QCOMPARE(column->width(), width);
    QCOMPARE(m_window->graphicsView()->geometry(), canvas);

    // Set-up mode: 30 is the joint's rest rotation, counter-clockwise; nothing is keyed.
    const QTransform rest = forearm->restTransform;
    const Pose::Values before = setupValues(forearm);
    const QList<QPointF> keysBefore = keyPoints(forearm->animation->channel(AnimatedObject::Rotation));
    type("rotation", "30");
    const Pose::Values after = setupValues(forearm);
    QVERIFY(std::abs(after[AnimatedObject::Rotation] * Pose::kDegreesPerRadian - 30.0) < 1e-3);
    QVERIFY(std::abs(after[AnimatedObject::LocationX] - before[AnimatedObject::LocationX]) < 1e-5);
    QVERIFY(std::abs(after[AnimatedObject::LocationY] - before[AnimatedObject::LocationY]) < 1e-5);
    QCOMPARE(keyPoints(forearm->animation->channel(AnimatedObject::Rotation)), keysBefore);
    QCOMPARE(history->count(), 1);
    QCOMPARE(history->undoText(), QStringLiteral("Attribute Edit"));
    QCOMPARE(widget<QLineEdit>("rotation")->text(), QStringLiteral("30"));
    // One Ctrl+Z, typed in the field, puts the rest pose back exactly and the old text there.
    QVERIFY(widget<QLineEdit>("rotation")->hasFocus());
    QTest::keyClick(widget<QLineEdit>("rotation"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(forearm->restTransform, rest);
    QCOMPARE(widget<QLineEdit>("rotation")->text(), QStringLiteral("0"));
    redo();
    QVERIFY(std::abs(setupValues(forearm)[AnimatedObject::Rotation] * Pose::kDegreesPerRadian - 30.0) < 1e-3);
    undo();

    // Recording: 30 is a key at the current frame, and the rest pose stays.
    QTest::mouseClick(widget<QToolButton>("keyButton"), Qt::LeftButton);
    QCOMPARE(m_window->graphicsView()->styleSheet(),
             QStringLiteral("#graphicsView { border-style: solid; border-width: 2px; border-color: rgb(255,168,0); }"));
    TSAnimationEditorTimelineWidget* timeline = m_window->animationEditor()->timeline();
    const double cell = static_cast<double>(timeline->width()) / timeline->frameCount();
    QTest::mouseClick(timeline, Qt::LeftButton, Qt::NoModifier,
                      QPoint(static_cast<int>(10.5 * cell), timeline->height() / 4));
    QCOMPARE(timeline->currentFrame(), 10);
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "forearm_L"));
    const int steps = history->index();
    type("rotation", "30");
    const TSAnimationCurve& rotation = forearm->animation->channel(AnimatedObject::Rotation);
    QVERIFY(rotation.keyFrames().contains(10));
    QVERIFY(std::abs(rotation.evaluate(10 / 60.0f) * Pose::kDegreesPerRadian - 30.0) < 1e-3);
    QCOMPARE(rotation.keyCount(), keysBefore.size() + 1);
    QCOMPARE(forearm->restTransform, rest);
    QCOMPARE(timeline->keyFlags().at(10), 1);
    QCOMPARE(history->index(), steps + 1);
    // One Ctrl+Z takes the new key away again, not just its value.
    undo();
    QCOMPARE(keyPoints(rotation), keysBefore);
    QCOMPARE(widget<QLineEdit>("rotation")->hasFocus(), true);
    redo();
    QCOMPARE(rotation.keyCount(), keysBefore.size() + 1);

    // Loading a document ends recording, and the frame goes.
    test::Boxes boxes;
    boxes.answers << QMessageBox::No;
    QVERIFY(m_window->loadDocument(kShipped + "/projects/Biped.bsdoc", true, "Biped Character"));
    QVERIFY(!widget<QToolButton>("keyButton")->isChecked());
    QVERIFY(!m_window->manipulator()->animationMode());
    QCOMPARE(m_window->graphicsView()->styleSheet(), QStringLiteral("#graphicsView { border-width: 0px; }"));
}

void TestObjectSettings::imageAdjustmentsAndPictureDrop()
{
    openTemplate();
    HistoryManager* history = m_window->history();
    Skeleton::Asset* head = imageOf("head");
    selectImageOf("head");
    const QImage picture = Skeleton::pictureOf(*head);
    QPoint opaque(-1, -1);
    for (int y = 0; y < picture.height() && opaque.x() < 0; ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixelColor(x, y).alpha() == 255) {
                opaque = QPoint(x, y);
                break;
            }
        }
    }
    QVERIFY(opaque.x() >= 0);
    const auto shownAlpha = [head, opaque] { return head->item->pixmap().toImage().pixelColor(opaque).alpha(); };

    auto* opacity = widget<QLineEdit>("opacity");
    auto* slider = widget<QSlider>("opacitySlider");
    QCOMPARE(slider->maximum(), 99);
    QCOMPARE(opacity->text(), QStringLiteral("1"));
    // Typing 0.5 moves the slider to 50 and shows the image half transparent.
    type("opacity", "0.5");
    QCOMPARE(slider->value(), 50);
    QCOMPARE(head->adjustment.opacity, 0.5f);
    QCOMPARE(shownAlpha(), 127);
    QCOMPARE(history->count(), 1);

    // Dragging the slider to its end writes 0.99 into the field and records it on release.
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = Qt::Horizontal;
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = option.sliderValue = slider->value();
    const QPoint handle =
        slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle);
    for (int x = handle.x(); x <= slider->width() + 40; x += 20) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, handle.y()), slider->mapToGlobal(QPoint(x, handle.y())),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(slider, &move);
    }
    QCOMPARE(opacity->text(), QStringLiteral("0.99"));
    QCOMPARE(head->adjustment.opacity, 0.5f);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() - 1, handle.y()));
    QCOMPARE(slider->value(), 99);
    QCOMPARE(head->adjustment.opacity, 0.99f);
    QCOMPARE(shownAlpha(), 252);
    QCOMPARE(history->count(), 2);
    undo();
    QCOMPARE(head->adjustment.opacity, 0.5f);
    QCOMPARE(opacity->text(), QStringLiteral("0.5"));
    QCOMPARE(slider->value(), 50);

    // Saved, the picture stays as it was and the adjustment comes back with it.
    const QString path = m_dir.filePath("adjusted.bsdoc");
    QVERIFY(m_window->writeDocument(path));
    QVERIFY(m_window->openFile(path));
    // The progress window of the save took the activation with it.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    head = imageOf("head");
    QCOMPARE(head->adjustment.opacity, 0.5f);
    QCOMPARE(Skeleton::pictureOf(*head).pixelColor(opaque).alpha(), 255);
    QCOMPARE(head->item->pixmap().toImage().pixelColor(opaque).alpha(), 127);

    // A PNG dropped on the image area replaces the picture, as one step.
    selectImageOf("head");
    const QString png = test::writePng(m_dir.filePath("green.png"), Qt::green);
    auto* area = widget<QWidget>("imageDropArea");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(png)});
    QVERIFY(test::dropOn(area, area->rect().center(), &data));
    QCOMPARE(Skeleton::pictureOf(*head).size(), QSize(16, 12));
    QCOMPARE(m_window->history()->count(), 1);
    undo();
    QCOMPARE(m_window->history()->index(), 0);
    QCOMPARE(Skeleton::pictureOf(*head), picture.convertToFormat(Skeleton::pictureOf(*head).format()));
}

void TestObjectSettings::assetsWarningShowsUntilSuppressed()
{
    openTemplate();
    auto* key = widget<QToolButton>("keyButton");
    selectImageOf("head");
    // Recording switched on with an image selected: warned, and the image let go.
    QTest::mouseClick(key, Qt::LeftButton);
    QVERIFY(key->isChecked());
    QVERIFY(m_window->manipulator()->targets().isEmpty());
    auto* box = m_window->findChild<QMessageBox*>("assetsWarning");
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("Warning"));
    QCOMPARE(box->text(), QStringLiteral("Animating Assets is not supported"));
    QVERIFY(!box->isModal());
    QCOMPARE(box->checkBox()->text(), QStringLiteral("Dont show this message again"));
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_window->findChild<QMessageBox*>("assetsWarning"));

    // Picking an image while recording ends recording, with the warning again; until the box
    // is told not to come back.
    selectImageOf("head");
    QVERIFY(!key->isChecked());
    box = m_window->findChild<QMessageBox*>("assetsWarning");
    QVERIFY(box && box->isVisible());
    QTest::mouseClick(box->checkBox(), Qt::LeftButton);
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(m_window->property("WarnedAboutAssetsNonAnimateable").toBool());
    QTest::mouseClick(key, Qt::LeftButton);
    QVERIFY(key->isChecked());
    QVERIFY(m_window->manipulator()->targets().isEmpty());
    selectImageOf("neck");
    QVERIFY(!key->isChecked());
    QVERIFY(!m_window->findChild<QMessageBox*>("assetsWarning"));
}

void TestObjectSettings::hiddenJointWaitsForActivate()
{
    openTemplate();
    Skeleton* skeleton = m_window->skeleton();
    QGraphicsItem* head = skeleton->nodeByName("head")->joint;
    const QStringList tips = {"Axes visibility", "Skeleton visibility", "Animation mode"};
    for (const QString& tip : tips) {
        QVERIFY2(overlay(tip) && !overlay(tip)->icon().isNull(), qPrintable(tip));
    }
    QVERIFY(overlay("Skeleton visibility")->isChecked());
    QVERIFY(!overlay("Animation mode")->isChecked());
    QVERIFY(!(head->flags() & QGraphicsItem::ItemIsSelectable));

    // "Animation mode" makes joints editable; a drag then changes the rest pose, not keys.
    clickOverlay("Animation mode");
    QVERIFY(head->flags() & QGraphicsItem::ItemIsSelectable);
    Skeleton::Node* node = skeleton->nodeByName("head");
    const QList<QPointF> keys = keyPoints(node->animation->channel(AnimatedObject::LocationX));
    const QTransform rest = node->restTransform;
    const QPointF grab = head->sceneTransform().map(QPointF());
    test::drag(m_window->graphicsView(), grab, grab + QPointF(30, 0));
    QVERIFY(node->restTransform != rest);
    QCOMPARE(keyPoints(node->animation->channel(AnimatedObject::LocationX)), keys);

    // Hiding the skeleton ends "Animation mode". A joint then picked in the outliner waits in
    // the hint.
    clickOverlay("Skeleton visibility");
    QVERIFY(!skeleton->isSkeletonVisible());
    QVERIFY(!overlay("Animation mode")->isChecked());
    QVERIFY(!(head->flags() & QGraphicsItem::ItemIsSelectable));
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "head"));
    QVERIFY(m_window->manipulator()->targets().isEmpty());
    auto* hint = widget<QLabel>("hintTextLabel");
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(), QStringLiteral("For editing Joins, need to activate:\nToggle Animation Mode"));
    auto* activate = widget<QPushButton>("hintPushButton");
    QCOMPARE(activate->text(), QStringLiteral("Activate"));
    QTest::mouseClick(activate, Qt::LeftButton);
    QVERIFY(skeleton->isSkeletonVisible());
    QVERIFY(overlay("Skeleton visibility")->isChecked());
    QCOMPARE(m_window->manipulator()->targets(), {head});
    QVERIFY(head->flags() & QGraphicsItem::ItemIsSelectable);
    QVERIFY(!hint->isVisible());
}

void TestObjectSettings::badInputIsRefusedOrClamped()
{
    test::Boxes boxes;
    openTemplate();
    Skeleton* skeleton = m_window->skeleton();
    Skeleton::Node* forearm = skeleton->nodeByName("forearm_L");
    HistoryManager* history = m_window->history();
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "forearm_L"));
    const QTransform rest = forearm->restTransform;

    // Not numbers: nothing happens and the field shows its value again.
    const QString x = widget<QLineEdit>("posX")->text();
    for (const char* text : {"abc", "nan", "NaN", "inf", "-inf", "", "1,5"}) {
        type("posX", text);
        QCOMPARE(forearm->restTransform, rest);
        QCOMPARE(widget<QLineEdit>("posX")->text(), x);
    }
    QCOMPARE(history->count(), 0);
    QVERIFY(boxes.shown.isEmpty());

    // Huge and degenerate numbers are clamped: the pose stays finite and drawable.
    const QList<QPair<const char*, QPair<QString, QString>>> clamped = {
        {"posX", {"1e300", "100000"}},
        {"posY", {"-1e300", "-100000"}},
        {"scaleX", {"0", "0.001"}},
        {"scaleY", {"-5e9", "-1000"}},
        {"rotation", {"-1000", "80"}},
    };
    for (const auto& [field, typed] : clamped) {
        type(field, typed.first);
        QCOMPARE(widget<QLineEdit>(field)->text(), typed.second);
        QVERIFY(isFinite(forearm->restTransform) && forearm->restTransform.isInvertible());
        QCOMPARE(history->count(), 1);
        undo();
        QCOMPARE(forearm->restTransform, rest);
        QCOMPARE(history->index(), 0);
    }

    // Names: empty or taken ones are refused with a reason; a free one renames, one undo back.
    type("name", "  ");
    type("name", "head");
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown.at(0).text, QStringLiteral("A name cannot be empty."));
    QCOMPARE(boxes.shown.at(1).text, QStringLiteral("A node named \"head\" already exists."));
    QCOMPARE(widget<QLineEdit>("name")->text(), QStringLiteral("forearm_L"));
    QCOMPARE(forearm->name, QStringLiteral("forearm_L"));
    type("name", "lower arm");
    QCOMPARE(forearm->name, QStringLiteral("lower arm"));
    QCOMPARE(skeleton->nodeByName("hand_L")->parent, QStringLiteral("lower arm"));
    QVERIFY(!m_window->outliner()->tree()->findItems("lower arm", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    QCOMPARE(m_window->outliner()->tree()->selectedObjects(), {forearm->joint});
    undo();
    QCOMPARE(forearm->name, QStringLiteral("forearm_L"));
    QCOMPARE(skeleton->nodeByName("hand_L")->parent, QStringLiteral("forearm_L"));

    // Bone colours: the named list with a circle of each colour; a choice is one step.
    auto* colors = widget<QComboBox>("boneColorComboBox");
    QStringList names;
    for (int i = 0; i < colors->count(); ++i) {
        names << colors->itemText(i);
    }
    QCOMPARE(names, (QStringList{"Gray", "Red", "Purple", "Blue", "Aqua", "Green", "Lime"}));
    // An 8-pixel dot a pixel below the middle of the chooser's icon.
    const QImage circle = colors->itemIcon(1).pixmap(colors->iconSize()).toImage();
    QCOMPARE(circle.size(), colors->iconSize());
    const QPoint middle(circle.width() / 2, circle.height() / 2 + 1);
    QCOMPARE(circle.pixelColor(middle), QColor("#e3494d"));
    QCOMPARE(circle.pixelColor(middle + QPoint(0, -5)).alpha(), 0);
    QCOMPARE(circle.pixelColor(middle + QPoint(5, 0)).alpha(), 0);
    const int steps = history->index();
    colors->setFocus();
    QTest::keyClick(colors, Qt::Key_Down);
    QCOMPARE(forearm->boneColor, QColor("#e3494d"));
    QCOMPARE(colors->currentText(), QStringLiteral("Red"));
    QCOMPARE(history->index(), steps + 1);
    undo();
    QCOMPARE(forearm->boneColor, NodeRecord::defaultBoneColor());

    // Image fields: opacity and the other adjustments are clamped to their ranges.
    selectImageOf("head");
    type("opacity", "-3");
    QCOMPARE(widget<QLineEdit>("opacity")->text(), QStringLiteral("0"));
    QCOMPARE(widget<QSlider>("opacitySlider")->value(), 0);
    type("hue", "7");
    QCOMPARE(widget<QLineEdit>("hue")->text(), QStringLiteral("1"));
    QCOMPARE(widget<QSlider>("hueSlider")->value(), 100);
    type("brightness", "nan");
    QCOMPARE(widget<QLineEdit>("brightness")->text(), QStringLiteral("0"));
    QCOMPARE(imageOf("head")->adjustment.brightness, 0.0f);
}

void TestObjectSettings::fieldValuesWithoutAWindow()
{
    TSGraphicsScene scene;
    TSGraphicsView view;
    view.setScene(&scene);
    auto* manipulator = new ObjectManipulator();
    scene.setManipulator(manipulator);
    Skeleton skeleton(&scene, &view, manipulator);
    skeleton.setFrameRate(60);
    NodeRecord root;
    root.name = "root";
    NodeRecord arm;
    arm.name = "arm";
    arm.parent = "root";
    arm.position = QPointF(30, -50);
    skeleton.setNodes({root, arm});
    QImage picture(20, 10, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::red);
    Skeleton::Asset* image = skeleton.addImage("arm", picture, QTransform(), false);
    ObjectFieldEditor editor(&skeleton, manipulator);
    using F = ObjectFieldEditor;
    QGraphicsItem* joint = skeleton.nodeByName("arm")->joint;

    // Set-up values: pixels in the parent with y up, degrees counter-clockwise.
    manipulator->setTargets({joint});
    QCOMPARE(editor.text(F::PosX), QStringLiteral("30"));
    QCOMPARE(editor.text(F::PosY), QStringLiteral("50"));
    QVERIFY(editor.text(F::Opacity).isEmpty());
    QVERIFY(editor.apply(F::Rotation, "90"));
    QVERIFY(near(joint->sceneTransform().map(QPointF(10, 0)), QPointF(30, -60)));
    QCOMPARE(editor.text(F::Rotation), QStringLiteral("90"));
    QCOMPARE(editor.text(F::PosX), QStringLiteral("30"));
    QVERIFY(editor.apply(F::PosY, "10"));
    QVERIFY(near(joint->sceneTransform().map(QPointF()), QPointF(30, -10)));

    // An image turns about its centre.
    manipulator->setTargets({image->placeholder});
    QVERIFY(editor.apply(F::Rotation, "90"));
    QVERIFY(near(image->restTransform.map(QPointF(10, 5)), QPointF(10, 5)));
    QVERIFY(near(image->restTransform.map(QPointF(20, 5)), QPointF(10, -5)));
    QCOMPARE(editor.check(F::Opacity, "2").text, QStringLiteral("1"));
    QCOMPARE(editor.check(F::ScaleX, "-0").text, QStringLiteral("-0.001"));
    QVERIFY(!editor.check(F::Hue, "nan").accepted);
    QVERIFY(!editor.check(F::AnimationSpeed, "2").accepted);

    // Recording: the values are keys at the current time, in stored units.
    manipulator->setAnimationMode(true);
    manipulator->setTargets({joint});
    skeleton.showMoment(500);
    const QTransform rest = skeleton.nodeByName("arm")->restTransform;
    QCOMPARE(editor.text(F::PosY), QStringLiteral("0"));
    QCOMPARE(editor.check(F::Rotation, "-1000").text, QStringLiteral("-1000"));
    QVERIFY(editor.apply(F::PosY, "20"));
    const AnimatedObject* tracks = skeleton.nodeByName("arm")->animation;
    QVERIFY(tracks);
    QCOMPARE(tracks->channel(AnimatedObject::LocationY).keyCount(), 1);
    QCOMPARE(tracks->channel(AnimatedObject::LocationY).keyPoint(0), QPointF(0.5, 0.1f));
    QCOMPARE(editor.text(F::PosY), QStringLiteral("20"));
    QCOMPARE(skeleton.nodeByName("arm")->restTransform, rest);
    // The keyed offset is taken before the set-up pose, so it turns with it.
    QVERIFY(near(joint->sceneTransform().map(QPointF()), rest.map(QPointF(0, -20)) + QPointF(30, -50)));
    QVERIFY(near(joint->sceneTransform().map(QPointF()), QPointF(10, -10)));
}

void TestObjectSettings::rowTitlesShowWhole()
{
    // Every row's title fits the width it is given, hidden rows included.
    openTemplate();
    auto* frame = widget<QWidget>("objectSettingsFrame");
    QVERIFY(frame);
    QVERIFY(frame->findChildren<QLabel*>().size() > 8);
    for (const QLabel* label : frame->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->wordWrap() || label->objectName() == QLatin1String("hintTextLabel")) {
            continue;
        }
        const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
        QVERIFY2(needed <= label->maximumWidth(), qPrintable(QStringLiteral("%1: %2 of %3 pixels")
                                                                 .arg(label->text())
                                                                 .arg(needed)
                                                                 .arg(label->maximumWidth())));
    }
}

void TestObjectSettings::screenshots()
{
    openTemplate();
    const QString out = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    auto* column = widget<QWidget>("objectSettingsFrame");
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "forearm_L"));
    const QImage joint = column->grab().toImage();
    selectImageOf("head");
    const QImage image = column->grab().toImage();
    QVERIFY(!joint.isNull() && !image.isNull());
    QCOMPARE(joint.size(), image.size());
    const QImage window = m_window->grab().toImage();
    // The hint for a hidden joint, and the canvas while recording.
    clickOverlay("Skeleton visibility");
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "head"));
    const QImage hint = column->grab().toImage();
    QTest::mouseClick(widget<QToolButton>("keyButton"), Qt::LeftButton);
    const QImage recording = m_window->grab().toImage();
    if (!out.isEmpty()) {
        joint.save(out + "/settings-joint.png");
        image.save(out + "/settings-image.png");
        window.save(out + "/settings-window.png");
        hint.save(out + "/settings-hint.png");
        recording.save(out + "/settings-recording.png");
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestObjectSettings)
#include "tst_ObjectSettings.moc"
