// Output frame, guides, add-node button and the manipulator's drags, driven through the view.
#include "AddNodeIndicator.h"
#include "AnimationCanvas.h"
#include "CanvasFixture.h"
#include "SceneAxes.h"
#include "PixmapPlaceholderItem.h"
#include "ScreenScale.h"
#include "TestMain.h"
#include "ViewInput.h"

#include <QGraphicsRectItem>
#include <QtTest>

namespace {

// Shows the view and adds an output frame of rect to the scene, centred in the view.
AnimationCanvas* shownCanvas(test::CanvasFixture& f, const QRectF& rect)
{
    f.view.show();
    if (!QTest::qWaitForWindowExposed(&f.view)) {
        return nullptr;
    }
    auto* canvas = new AnimationCanvas();
    f.scene.addItem(canvas);
    canvas->setCanvasRect(rect);
    f.view.centerOn(rect.center());
    return canvas;
}

} // namespace

class TestCanvasItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void canvasLabelAndHandles();
    void canvasDragEmitsOnlyWhenChanged();
    void canvasShiftDragKeepsOneAxis();
    void canvasLabelPressRequestsEditing();
    void axesDragEmitsValueChanged();
    void indicatorVisibilityRules();
    void turnCounterCountsWholeTurns();
    void shiftMoveKeepsLargerAxis();
    void rotationSnapsWithShift();
    void tinyScaleIsRefused();
    void boneTargetSwingsItsJoint();
    void lockedTargetHasNoHandles();
    void severalTargetsTurnAndScaleAsOneGroup();
    void rotateCursorsLeanTowardTheirHandle();
};

void TestCanvasItems::canvasLabelAndHandles()
{
    QCOMPARE(AnimationCanvas::labelText(QRectF(-256, -256, 512, 512)), QStringLiteral("154x154"));
    QCOMPARE(AnimationCanvas::labelText(QRectF(0, 0, 5, 15)), QStringLiteral("2x5"));
    AnimationCanvas canvas;
    QCOMPARE(canvas.canvasRect(), QRectF(-256, -256, 512, 512));
    QCOMPARE(canvas.label()->text(), QStringLiteral("154x154"));
    QCOMPARE(canvas.handle(2)->rect().center(), QPointF(256, 256));
    canvas.viewZoomChanged(2.0f);
    QVERIFY(std::abs(canvas.handle(0)->rect().width() - AnimationCanvas::kHandleSize * ScreenScale::of(nullptr) / 2) <
            1e-6);
    // The label sits centred above the frame.
    const QRectF label = canvas.label()->sceneBoundingRect();
    QVERIFY(std::abs(label.center().x()) < 1.0);
    QVERIFY(label.bottom() <= -256.0);
}

void TestCanvasItems::canvasDragEmitsOnlyWhenChanged()
{
    test::CanvasFixture f;
    AnimationCanvas* canvas = shownCanvas(f, QRectF(-100, -100, 200, 200));
    QVERIFY(canvas);
    QSignalSpy fromTo(canvas, &AnimationCanvas::canvasRectChangedFromTo);
    QSignalSpy changed(canvas, &AnimationCanvas::canvasRectChanged);
    test::drag(&f.view, QPointF(100, 100), QPointF(100, 100));
    QCOMPARE(fromTo.count(), 0);
    QCOMPARE(changed.count(), 0);
    test::drag(&f.view, QPointF(100, 100), QPointF(140, 120));
    QCOMPARE(fromTo.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(fromTo.at(0).at(0).toRectF(), QRectF(-100, -100, 200, 200));
    const QRectF after = fromTo.at(0).at(1).toRectF();
    QVERIFY(std::abs(after.right() - 140) < 1.5 && std::abs(after.bottom() - 120) < 1.5);
    QCOMPARE(after.topLeft(), QPointF(-100, -100));
    QCOMPARE(changed.at(0).at(0).toRectF(), after);
    delete canvas;
}

void TestCanvasItems::canvasShiftDragKeepsOneAxis()
{
    test::CanvasFixture f;
    AnimationCanvas* canvas = shownCanvas(f, QRectF(-100, -100, 200, 200));
    QVERIFY(canvas);
    test::drag(&f.view, QPointF(-100, -100), QPointF(-130, -110), Qt::ShiftModifier);
    QVERIFY(std::abs(canvas->canvasRect().left() + 130) < 1.5);
    QVERIFY(std::abs(canvas->canvasRect().top() + 100) < 1e-6);
    delete canvas;
}

void TestCanvasItems::canvasLabelPressRequestsEditing()
{
    test::CanvasFixture f;
    AnimationCanvas* canvas = shownCanvas(f, QRectF(-256, -256, 512, 512));
    QVERIFY(canvas);
    f.view.centerOn(0, -256);
    QSignalSpy editing(canvas, &AnimationCanvas::textEditingRequested);
    const QPointF label = canvas->label()->sceneBoundingRect().center();
    test::pressAt(&f.view, label);
    test::releaseAt(&f.view, label);
    QCOMPARE(editing.count(), 1);
    delete canvas;
}

void TestCanvasItems::axesDragEmitsValueChanged()
{
    test::CanvasFixture f;
    f.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    auto* axes = new SceneAxes();
    f.scene.addItem(axes);
    f.view.centerOn(0, 0);
    QSignalSpy changed(axes, &SceneAxes::valueChanged);
    test::drag(&f.view, QPointF(2, 80), QPointF(50, 80));
    QCOMPARE(changed.count(), 1);
    QVERIFY(std::abs(axes->crossing().x() - 50) < 1.5);
    QCOMPARE(axes->crossing().y(), 0.0);
    // Near the crossing both lines move.
    test::drag(&f.view, QPointF(50, 1), QPointF(70, 30));
    QVERIFY2(std::abs(axes->crossing().x() - 70) < 1.5, qPrintable(QString("%1 %2").arg(axes->crossing().x()).arg(axes->crossing().y())));
    QVERIFY(std::abs(axes->crossing().y() - 30) < 1.5);
    delete axes;
}

void TestCanvasItems::indicatorVisibilityRules()
{
    test::CanvasFixture f;
    f.buildBody();
    auto* indicator = new AddNodeIndicator(f.manipulator);
    QObject::connect(f.manipulator, &ObjectManipulator::targetChanged, indicator, &AddNodeIndicator::updatePosition);
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    Skeleton::Asset* asset = f.skeleton->addImage("arm", image, QTransform(), false);

    f.manipulator->setTargets({f.skeleton->nodeByName("head")->joint});
    QVERIFY(indicator->isVisible());
    // 60 units beyond the head, away from the spine (straight up).
    QVERIFY(test::near(indicator->sceneBoundingRect().center(), QPointF(0, -150), 0.01));
    f.manipulator->setTargets({f.skeleton->nodeByName("hip")->joint});
    QVERIFY(!indicator->isVisible());
    f.manipulator->setTargets({f.skeleton->nodeByName("head")->joint, f.skeleton->nodeByName("arm")->joint});
    QVERIFY(!indicator->isVisible());
    f.manipulator->setTargets({static_cast<QGraphicsItem*>(asset->placeholder)});
    QVERIFY(!indicator->isVisible());
    f.manipulator->setTargets({f.skeleton->nodeByName("arm")->joint});
    QVERIFY(test::near(indicator->sceneBoundingRect().center(), QPointF(90, -50), 0.01));
    // 20 pixels across on screen times the screen scale, at any zoom from 1 up (the test also
    // runs with a logical DPI of 192, a screen scale of 2).
    QObject::connect(&f.view, &TSGraphicsView::scaleChanged, indicator,
                     qOverload<float>(&AddNodeIndicator::viewZoomChanged));
    const double scale = ScreenScale::of(&f.view);
    if (qEnvironmentVariableIntValue("QT_FONT_DPI") == 192) {
        QCOMPARE(scale, 2.0);
    }
    for (const float zoom : {1.0f, 4.0f}) {
        f.view.setZoom(zoom);
        QVERIFY2(std::abs(indicator->rect().width() * zoom - 20 * scale) < 1e-6,
                 qPrintable(QString::number(indicator->rect().width() * zoom)));
    }
    f.view.setZoom(1.0f);
    QSignalSpy pressed(indicator, &AddNodeIndicator::itemPressed);
    f.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    f.view.centerOn(90, -50);
    test::pressAt(&f.view, QPointF(90, -50));
    QCOMPARE(pressed.count(), 1);
}

void TestCanvasItems::turnCounterCountsWholeTurns()
{
    test::CanvasFixture f;
    auto* item = new QGraphicsRectItem(0, 0, 10, 10);
    f.scene.addItem(item);
    f.manipulator->setTargets({item});
    // The counter starts at the item's own angle, 0.
    QCOMPARE(f.manipulator->turnCounter(0, 300), -60.0);
    QCOMPARE(f.manipulator->turnCounter(0, 20), 20.0);
    QCOMPARE(f.manipulator->turnCounter(0, 80), 80.0);
    QCOMPARE(f.manipulator->turnCounter(0, 200), 200.0);
    QCOMPARE(f.manipulator->turnCounter(0, 300), 300.0);
    QCOMPARE(f.manipulator->turnCounter(0, 10), 370.0);
    QCOMPARE(f.manipulator->turnCounter(0, 60), 420.0);
    QCOMPARE(f.manipulator->turnCounter(0, 350), 350.0);
    QCOMPARE(f.manipulator->turnCounter(5, 10), 10.0);
    QCOMPARE(ObjectManipulator::transformAngle(QTransform().rotate(-90)), 270.0);
}

void TestCanvasItems::shiftMoveKeepsLargerAxis()
{
    test::CanvasFixture f;
    f.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    auto* item = new QGraphicsRectItem(-10, -10, 20, 20);
    f.scene.addItem(item);
    f.manipulator->makeEditable(item, true);
    f.view.centerOn(0, 0);
    test::drag(&f.view, QPointF(0, 0), QPointF(30, 10), Qt::ShiftModifier);
    const QPointF moved = item->sceneTransform().map(QPointF(0, 0));
    QVERIFY(std::abs(moved.x() - 30) < 1.5);
    QCOMPARE(moved.y(), 0.0);
    QVERIFY(f.manipulator->targets().contains(item));
}

void TestCanvasItems::rotationSnapsWithShift()
{
    test::CanvasFixture f;
    f.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    auto* item = new QGraphicsRectItem(-50, -50, 100, 100);
    f.scene.addItem(item);
    f.manipulator->makeEditable(item, true);
    f.manipulator->setTargets({item});
    f.view.centerOn(0, 0);
    auto rotateBy = [&](double degrees) {
        item->setTransform(QTransform());
        f.manipulator->setTargets({item});
        const QPointF corner(50, 50);
        const double radians = std::atan2(50.0, 50.0) + degrees * M_PI / 180.0;
        const double radius = std::hypot(50.0, 50.0);
        const QPointF to(radius * std::cos(radians), radius * std::sin(radians));
        test::drag(&f.view, corner, to, Qt::ShiftModifier | Qt::ControlModifier);
        return ObjectManipulator::transformAngle(item->transform());
    };
    QCOMPARE(rotateBy(23), 45.0);
    QCOMPARE(rotateBy(21), 0.0);
    QCOMPARE(rotateBy(-30), 0.0);
    QCOMPARE(rotateBy(-70), 315.0);
}

void TestCanvasItems::tinyScaleIsRefused()
{
    test::CanvasFixture f;
    f.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    auto* item = new QGraphicsRectItem(0, 0, 100, 50);
    f.scene.addItem(item);
    f.manipulator->makeEditable(item, true);
    f.manipulator->setTargets({item});
    f.view.centerOn(50, 25);
    // Drag the right edge with Alt (left edge fixed) to 150: factor 1.5.
    test::drag(&f.view, QPointF(100, 25), QPointF(150, 25), Qt::AltModifier);
    QVERIFY(std::abs(item->sceneBoundingRect().width() - 150) < 2.0);
    // Down to 0.004 of the width: refused, the last valid size stays.
    test::pressAt(&f.view, QPointF(150, 25), Qt::AltModifier);
    test::moveTo(&f.view, QPointF(120, 25), Qt::AltModifier);
    const double valid = item->sceneBoundingRect().width();
    QVERIFY2(std::abs(valid - 120) < 2.0, qPrintable(QString::number(valid)));
    test::moveTo(&f.view, QPointF(0.3, 25), Qt::AltModifier);
    test::releaseAt(&f.view, QPointF(0.3, 25), Qt::AltModifier);
    QVERIFY(std::abs(item->sceneBoundingRect().width() - valid) < 1e-6);
}

void TestCanvasItems::boneTargetSwingsItsJoint()
{
    test::CanvasFixture f;
    f.buildBody();
    f.skeleton->setAnimationMode(true);
    Skeleton::Node* head = f.skeleton->nodeByName("head");
    f.manipulator->setTargets({head->bone});
    QCOMPARE(f.manipulator->targets(), QList<QGraphicsItem*>({head->joint}));
    QCOMPARE(f.manipulator->operation(), int(ObjectManipulator::Rotate));
    QCOMPARE(f.manipulator->boneTarget(), head->bone);
    f.manipulator->setTargets({head->bone}, true, true);
    QCOMPARE(f.manipulator->targets(), QList<QGraphicsItem*>({f.skeleton->nodeByName("spine")->joint}));
}

void TestCanvasItems::lockedTargetHasNoHandles()
{
    test::CanvasFixture f;
    auto* item = new QGraphicsRectItem(0, 0, 10, 10);
    f.scene.addItem(item);
    f.manipulator->setTargets({item});
    QVERIFY(f.manipulator->isTargetLocked());
    const QList<QGraphicsItem*> handles = f.manipulator->childItems();
    QVERIFY(std::none_of(handles.begin(), handles.end(), [](QGraphicsItem* h) { return h->isVisible(); }));
    item->setFlag(QGraphicsItem::ItemIsSelectable);
    f.manipulator->setTargets({item});
    QVERIFY(!f.manipulator->isTargetLocked());
    QVERIFY(std::any_of(handles.begin(), handles.end(), [](QGraphicsItem* h) { return h->isVisible(); }));
}

void TestCanvasItems::severalTargetsTurnAndScaleAsOneGroup()
{
    test::CanvasFixture f;
    f.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    f.buildBody();
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::darkCyan);
    // Scene rectangles (40, -60, 40, 40) and (-60, 20, 40, 40): their union is centred on (10, 0).
    Skeleton::Asset* a = f.skeleton->addImage("arm", image, QTransform::fromTranslate(10, -10), false);
    Skeleton::Asset* b = f.skeleton->addImage("hip", image, QTransform::fromTranslate(-60, 20), false);
    f.view.centerOn(10, 0);
    auto centreOf = [](const Skeleton::Asset* asset) { return asset->item->sceneTransform().map(QPointF(20, 20)); };
    test::drag(&f.view, QPointF(60, -40), QPointF(60, -40));
    test::drag(&f.view, QPointF(-40, 40), QPointF(-40, 40), Qt::ControlModifier);
    QCOMPARE(f.manipulator->targets().size(), 2);

    // A quarter turn (clockwise on screen) about the union's centre, dragging its lower right corner.
    const QPointF pivot(10, 0);
    const QPointF corner(80, 60);
    test::drag(&f.view, corner, pivot + QPointF(-(corner - pivot).y(), (corner - pivot).x()), Qt::ControlModifier);
    QVERIFY(test::near(centreOf(a), QPointF(50, 50), 1.0));
    QVERIFY(test::near(centreOf(b), QPointF(-30, -50), 1.0));
    QVERIFY(test::near(a->item->sceneTransform().map(QPointF(40, 20)) - centreOf(a), QPointF(0, 20), 0.5));

    // Scaling by a corner (pressed just outside it, clear of the edges) grows both about the same
    // centre: the turned union is (-50, -70, 120, 140).
    test::drag(&f.view, QPointF(77, 77), QPointF(107, 112));
    QVERIFY(test::near(centreOf(a), QPointF(70, 75), 1.5));
    QVERIFY(test::near(centreOf(b), QPointF(-50, -75), 1.5));

    // A joint chosen with its parent turns once, with the parent, not once more on its own.
    f.skeleton->setAnimationMode(true);
    f.manipulator->setTargets({f.skeleton->nodeByName("spine")->joint, f.skeleton->nodeByName("head")->joint});
    const QPointF centre = f.manipulator->polygon().boundingRect().center();
    const QPointF grip = f.manipulator->polygon().at(2) + QPointF(7, 7);
    test::drag(&f.view, grip, centre + QPointF(-(grip - centre).y(), (grip - centre).x()), Qt::ControlModifier);
    const QPointF head = QPointF(0, -90) - centre;
    QVERIFY(test::near(f.jointPos("head"), centre + QPointF(-head.y(), head.x()), 1.0));
}

void TestCanvasItems::rotateCursorsLeanTowardTheirHandle()
{
    test::CanvasFixture f;
    f.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    auto* item = new QGraphicsRectItem(-50, -30, 100, 60);
    f.scene.addItem(item);
    f.manipulator->makeEditable(item, true);
    // The drawn arc of a rotate cursor bulges away from the target, towards the handle under it, in
    // whichever of the eight directions is nearest, also while the target is turned.
    for (const double turn : {0.0, 12.0, -100.0}) {
        item->setRotation(turn);
        f.manipulator->setTargets({item});
        QTest::keyPress(&f.view, Qt::Key_Control);
        QCOMPARE(f.manipulator->operation(), int(ObjectManipulator::Rotate));
        const QPointF centre = item->sceneBoundingRect().center();
        const QList<QGraphicsItem*> handles = f.manipulator->childItems();
        QCOMPARE(handles.size(), 8);
        QSet<int> sectors;
        for (QGraphicsItem* handle : handles) {
            const QPointF out = handle->sceneBoundingRect().center() - centre;
            const int sector = (qRound(qRadiansToDegrees(std::atan2(out.y(), out.x())) / 45.0) + 8) % 8;
            sectors.insert(sector);
            const QImage image = handle->cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            QVERIFY(!image.isNull());
            QPointF lean;
            double weight = 0.0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const double a = qAlpha(image.pixel(x, y));
                    lean += a * (QPointF(x + 0.5, y + 0.5) - QPointF(image.width(), image.height()) / 2.0);
                    weight += a;
                }
            }
            QVERIFY(weight > 0.0);
            lean /= weight;
            QVERIFY2(std::hypot(lean.x(), lean.y()) > image.width() / 32.0, "the cursor does not lean at all");
            const double off = std::remainder(qRadiansToDegrees(std::atan2(lean.y(), lean.x())) - sector * 45.0, 360.0);
            QVERIFY2(std::abs(off) < 15.0, qPrintable(QStringLiteral("turn %1, handle towards %2 degrees: cursor "
                                                                    "leans %3 degrees off")
                                                          .arg(turn)
                                                          .arg(sector * 45)
                                                          .arg(off)));
        }
        if (turn == 0.0) {
            QCOMPARE(sectors.size(), 8);
        }
        QTest::keyRelease(&f.view, Qt::Key_Control);
        QCOMPARE(f.manipulator->operation(), int(ObjectManipulator::Move));
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestCanvasItems)
#include "tst_CanvasItems.moc"
