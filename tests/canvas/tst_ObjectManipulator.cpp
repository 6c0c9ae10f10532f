// The object manipulator driven through the view: moves, turns and scalings of one or several
// targets, its handles and cursors.
#include "CanvasFixture.h"
#include "ScreenScale.h"
#include "TestMain.h"
#include "ViewInput.h"

#include <QGraphicsRectItem>
#include <QtTest>

class TestObjectManipulator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void turnCounterCountsWholeTurns();
    void shiftMoveKeepsLargerAxis();
    void rotationSnapsWithShift();
    void tinyScaleIsRefused();
    void boneTargetSwingsItsJoint();
    void lockedTargetHasNoHandles();
    void severalTargetsTurnAndScaleAsOneGroup();
    void rotateCursorsLeanTowardTheirHandle();
};

void TestObjectManipulator::turnCounterCountsWholeTurns()
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

void TestObjectManipulator::shiftMoveKeepsLargerAxis()
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

void TestObjectManipulator::rotationSnapsWithShift()
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

void TestObjectManipulator::tinyScaleIsRefused()
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

void TestObjectManipulator::boneTargetSwingsItsJoint()
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

void TestObjectManipulator::lockedTargetHasNoHandles()
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

void TestObjectManipulator::severalTargetsTurnAndScaleAsOneGroup()
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

void TestObjectManipulator::rotateCursorsLeanTowardTheirHandle()
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

BONESTAGE_WIDGETS_TEST_MAIN(TestObjectManipulator)
#include "tst_ObjectManipulator.moc"
