// The object manipulator and the rubber band driven through the view: moves, turns and scalings
// of one or several targets, the keys and history records their drags leave, handles and cursors,
// and what a band picks.
#include "CanvasFixture.h"
#include "HistoryManager.h"
#include "PixmapPlaceholderItem.h"
#include "ScreenScale.h"
#include "TestMain.h"
#include "ViewInput.h"

#include <QDir>
#include <QGraphicsRectItem>
#include <QtTest>

namespace {

// An editable rectangle without a pen (its bounds are its rectangle), made the only target.
QGraphicsRectItem* addBox(test::CanvasFixture& f, const QRectF& rect)
{
    auto* item = new QGraphicsRectItem(rect);
    item->setPen(Qt::NoPen);
    f.scene.addItem(item);
    f.manipulator->makeEditable(item, true);
    f.manipulator->setTargets({item});
    return item;
}

bool isFinite(const QTransform& t)
{
    return std::isfinite(t.m11() + t.m12() + t.m13() + t.m21() + t.m22() + t.m23() + t.m31() + t.m32() + t.m33());
}

bool sameRect(const QRectF& a, const QRectF& b, double tolerance)
{
    return std::abs(a.left() - b.left()) < tolerance && std::abs(a.top() - b.top()) < tolerance &&
           std::abs(a.right() - b.right()) < tolerance && std::abs(a.bottom() - b.bottom()) < tolerance;
}

QString describe(const QRectF& r)
{
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Where a cursor image's opaque pixels lie: their mean offset from the centre (where the cursor
// leans) and the direction, in degrees in [0, 180), along which they spread.
struct CursorShape
{
    QPointF lean;
    double axis = 0.0;
};

CursorShape cursorShape(const QCursor& cursor)
{
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    QPointF sum;
    double weight = 0.0;
    double xx = 0.0;
    double yy = 0.0;
    double xy = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double a = qAlpha(image.pixel(x, y));
            const QPointF d = QPointF(x + 0.5, y + 0.5) - centre;
            sum += a * d;
            weight += a;
            xx += a * d.x() * d.x();
            yy += a * d.y() * d.y();
            xy += a * d.x() * d.y();
        }
    }
    const double axis = qRadiansToDegrees(0.5 * std::atan2(2.0 * xy, xx - yy));
    return {weight > 0.0 ? sum / weight : QPointF(), axis < 0 ? axis + 180.0 : axis};
}

// Two images chosen together, on the scene rectangles (40, -60, 40, 40) and (-60, 20, 40, 40)
// whose union is centred on (10, 0).
std::pair<Skeleton::Asset*, Skeleton::Asset*> chooseTwoImages(test::CanvasFixture& f)
{
    Skeleton::Asset* a = f.addImage("arm", {40, 40}, {10, -10});
    Skeleton::Asset* b = f.addImage("hip", {40, 40}, {-60, 20});
    f.view.centerOn(10, 0);
    test::drag(&f.view, QPointF(60, -40), QPointF(60, -40));
    test::drag(&f.view, QPointF(-40, 40), QPointF(-40, 40), Qt::ControlModifier);
    return {a, b};
}

// The history the main window keeps of set-up drags.
void recordDrags(test::CanvasFixture& f, HistoryManager& history)
{
    history.setSkeleton(f.skeleton.get());
    QObject::connect(f.manipulator, &ObjectManipulator::targetTransformed, &history,
                     &HistoryManager::assetsTransformed);
}

} // namespace

class TestObjectManipulator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void turnCounterCountsWholeTurns();
    void rotationSnapsWithShift();
    void boneTargetSwingsItsJoint();
    void lockedTargetHasNoHandles();
    void severalTargetsTurnAndScaleAsOneGroup();
    void cursorsFollowTheirHandle();
    void cornersScaleButNotToNothing();
    void smallJointMovesFromItsMiddle();
    void childBoneLeavesTheParentJointItsPress();
    void twoTurnsOfAJointAreKeyed();
    void modifierKeysApplyHeldOrMidDrag();
    void escapeOrADragBackChangesNothing();
    void badInputStaysFinite();
    void outlineKeepsItsScreenSize();
    void rubberBandPicksImagesAndJoints();
    void lockedItemsLetClicksThrough();
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

void TestObjectManipulator::rotationSnapsWithShift()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
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
    QVERIFY(f.show());
    auto* item = new QGraphicsRectItem(-20, -20, 40, 40);
    f.scene.addItem(item);
    f.manipulator->makeEditable(item, true, false);
    f.manipulator->setTargets({item});
    QVERIFY(f.manipulator->isTargetLocked());
    const QList<QGraphicsItem*> handles = f.manipulator->childItems();
    auto arrowsOnly = [&handles] {
        return std::all_of(handles.begin(), handles.end(),
                           [](QGraphicsItem* h) { return h->cursor().shape() == Qt::ArrowCursor; });
    };
    QVERIFY(std::none_of(handles.begin(), handles.end(), [](QGraphicsItem* h) { return h->isVisible(); }));
    QVERIFY(arrowsOnly());
    // Neither the rotate operation nor a drag on the target brings other cursors, and the target stays.
    QTest::keyPress(&f.view, Qt::Key_Control);
    QVERIFY(arrowsOnly());
    QTest::keyRelease(&f.view, Qt::Key_Control);
    f.view.centerOn(0, 0);
    test::drag(&f.view, QPointF(0, 0), QPointF(15, 5));
    QVERIFY(arrowsOnly());
    QCOMPARE(item->sceneTransform(), QTransform());

    item->setFlag(QGraphicsItem::ItemIsSelectable);
    f.manipulator->setTargets({item});
    QVERIFY(!f.manipulator->isTargetLocked());
    QVERIFY(std::all_of(handles.begin(), handles.end(), [](QGraphicsItem* h) { return h->isVisible(); }));
    QVERIFY(std::none_of(handles.begin(), handles.end(),
                         [](QGraphicsItem* h) { return h->cursor().shape() == Qt::ArrowCursor; }));
}

void TestObjectManipulator::severalTargetsTurnAndScaleAsOneGroup()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    const auto [a, b] = chooseTwoImages(f);
    QCOMPARE(f.manipulator->targets().size(), 2);
    auto centreOf = [](const Skeleton::Asset* asset) { return asset->item->sceneTransform().map(QPointF(20, 20)); };

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

void TestObjectManipulator::cursorsFollowTheirHandle()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    QGraphicsRectItem* item = addBox(f, QRectF(-50, -30, 100, 60));
    const double scale = ScreenScale::of(&f.view);
    // Each handle's cursor follows the nearest of the eight directions from the centre to the
    // handle, also while the target is turned: our own double arrow at the screen scale lies along
    // it, and with Ctrl (rotating) the drawn arc bulges away from the target towards it.
    for (const double turn : {0.0, 12.0, -100.0}) {
        item->setRotation(turn);
        f.manipulator->setTargets({item});
        const QPointF centre = item->sceneBoundingRect().center();
        const QList<QGraphicsItem*> handles = f.manipulator->childItems();
        QCOMPARE(handles.size(), 8);
        QSet<int> sectors;
        for (const bool rotating : {false, true}) {
            if (rotating) {
                QTest::keyPress(&f.view, Qt::Key_Control);
                QCOMPARE(f.manipulator->operation(), int(ObjectManipulator::Rotate));
            }
            for (QGraphicsItem* handle : handles) {
                const QPointF out = handle->sceneBoundingRect().center() - centre;
                const int sector = (qRound(qRadiansToDegrees(std::atan2(out.y(), out.x())) / 45.0) + 8) % 8;
                sectors.insert(sector);
                const QCursor cursor = handle->cursor();
                const CursorShape shape = cursorShape(cursor);
                double off = 0.0;
                if (rotating) {
                    QVERIFY2(std::hypot(shape.lean.x(), shape.lean.y()) > cursor.pixmap().width() / 32.0,
                             "the cursor does not lean at all");
                    off = std::remainder(qRadiansToDegrees(std::atan2(shape.lean.y(), shape.lean.x())) - sector * 45.0,
                                         360.0);
                } else {
                    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
                    QCOMPARE(cursor.pixmap().width(), qRound(16 * scale));
                    off = std::remainder(shape.axis - sector * 45.0, 180.0);
                }
                QVERIFY2(std::abs(off) < (rotating ? 15.0 : 10.0),
                         qPrintable(QStringLiteral("turn %1, %2 handle towards %3 degrees: cursor %4 degrees off")
                                        .arg(turn)
                                        .arg(QLatin1String(rotating ? "rotate" : "resize"))
                                        .arg(sector * 45)
                                        .arg(off)));
            }
        }
        QTest::keyRelease(&f.view, Qt::Key_Control);
        QCOMPARE(f.manipulator->operation(), int(ObjectManipulator::Move));
        if (turn == 0.0) {
            QCOMPARE(sectors.size(), 8);
        }
    }
}

void TestObjectManipulator::cornersScaleButNotToNothing()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    QGraphicsRectItem* item = addBox(f, QRectF(0, 0, 100, 50));
    f.view.centerOn(50, 25);
    // Pressed a little inside the lower right corner, where both edges meet it: the corner scales
    // both axes about the centre and stays under the pointer.
    test::drag(&f.view, QPointF(97, 47), QPointF(117, 57));
    QVERIFY2(sameRect(item->sceneBoundingRect(), QRectF(-20, -10, 140, 70), 1.0),
             qPrintable(describe(item->sceneBoundingRect())));
    // With Alt the opposite corner stays put.
    test::drag(&f.view, QPointF(118, 58), QPointF(98, 68), Qt::AltModifier);
    QVERIFY2(sameRect(item->sceneBoundingRect(), QRectF(-20, -10, 120, 80), 1.0),
             qPrintable(describe(item->sceneBoundingRect())));

    // Zoomed in far enough that the pointer reaches a fifth of a unit, a corner dragged with Alt
    // (the upper left one fixed) to 1.5 times the size.
    item->setPos(0, 0);
    item->setTransform(QTransform());
    f.manipulator->setTargets({item});
    f.view.setZoom(5.0f);
    f.view.centerOn(50, 25);
    test::drag(&f.view, QPointF(100, 50), QPointF(150, 75), Qt::AltModifier);
    QVERIFY(sameRect(item->sceneBoundingRect(), QRectF(0, 0, 150, 75), 0.5));
    // Down to 0.004 of the width at the press: refused, the last valid size stays.
    test::pressAt(&f.view, QPointF(150, 75), Qt::AltModifier);
    test::moveTo(&f.view, QPointF(120, 60), Qt::AltModifier);
    QVERIFY2(sameRect(item->sceneBoundingRect(), QRectF(0, 0, 120, 60), 0.5),
             qPrintable(describe(item->sceneBoundingRect())));
    test::moveTo(&f.view, QPointF(0.6, 0.6), Qt::AltModifier);
    test::releaseAt(&f.view, QPointF(0.6, 0.6), Qt::AltModifier);
    QVERIFY2(sameRect(item->sceneBoundingRect(), QRectF(0, 0, 120, 60), 0.5),
             qPrintable(describe(item->sceneBoundingRect())));
}

void TestObjectManipulator::smallJointMovesFromItsMiddle()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    NodeRecord hip = test::CanvasFixture::record("hip", "", QPointF(0, 0));
    hip.size = 6.0f;
    f.skeleton->setNodes({hip});
    f.animate();
    f.view.centerOn(0, 0);
    Skeleton::Node* node = f.skeleton->nodeByName("hip");
    // A click picks the joint; a drag from its middle then moves it, small as it is.
    test::drag(&f.view, QPointF(0, 0), QPointF(0, 0));
    QCOMPARE(f.manipulator->targets(), QList<QGraphicsItem*>({node->joint}));
    test::drag(&f.view, QPointF(0, 0), QPointF(20, 10));
    QVERIFY(test::near(f.jointPos("hip"), QPointF(20, 10), 0.5));
    QCOMPARE(node->animation->channel(AnimatedObject::ScaleX).keyCount(), 0);
    // Just outside its corner a handle is still within reach.
    const QPointF corner = f.manipulator->polygon().at(2);
    const QPointF gap = QPointF(4, 4) * ScreenScale::of(&f.view);
    test::drag(&f.view, corner + gap, corner + gap + QPointF(10, 10));
    QVERIFY(node->animation->channel(AnimatedObject::ScaleX).evaluate(0) > 2.0f);
    QVERIFY(test::near(f.jointPos("hip"), QPointF(20, 10), 0.5));
}

void TestObjectManipulator::childBoneLeavesTheParentJointItsPress()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    NodeRecord spine = test::CanvasFixture::record("spine", "hip", QPointF(0, -50));
    spine.zOrder = 5;
    NodeRecord head = test::CanvasFixture::record("head", "spine", QPointF(0, -40));
    head.zOrder = 6;
    f.skeleton->setNodes({test::CanvasFixture::record("hip", "", QPointF(0, 0)), spine, head});
    f.animate();
    f.view.centerOn(0, -50);
    // The head's bone lies above the spine's joint and covers the half of it toward the head.
    const QPointF grip(0, -53);
    const QList<QGraphicsItem*> under = f.scene.items(grip);
    const auto topmost = std::find_if(under.begin(), under.end(), [](QGraphicsItem* item) {
        return item->flags() & QGraphicsItem::ItemIsSelectable;
    });
    QVERIFY(topmost != under.end());
    QCOMPARE(*topmost, static_cast<QGraphicsItem*>(f.skeleton->nodeByName("head")->bone));
    // A press there is meant for the joint: it moves the spine and the head with it.
    test::drag(&f.view, grip, grip + QPointF(20, 0));
    QCOMPARE(f.manipulator->targets(),
             QList<QGraphicsItem*>({f.skeleton->nodeByName("spine")->joint}));
    QVERIFY(test::near(f.jointPos("spine"), QPointF(20, -50), 0.5));
    QVERIFY(test::near(f.jointPos("head"), QPointF(20, -90), 0.5));
}

void TestObjectManipulator::twoTurnsOfAJointAreKeyed()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    f.animate();
    f.view.centerOn(0, -50);
    Skeleton::Node* spine = f.skeleton->nodeByName("spine");
    f.manipulator->setTargets({spine->joint});
    const QPointF centre = f.manipulator->polygon().boundingRect().center();
    const QPointF arm = f.manipulator->polygon().at(2) - centre;
    // Ctrl on a corner turns the joint; the pointer goes round it in steps of 20 degrees.
    auto turn = [&](double degrees) {
        test::pressAt(&f.view, centre + arm, Qt::ControlModifier);
        const int steps = static_cast<int>(std::abs(degrees) / 20.0);
        for (int step = 1; step <= steps; ++step) {
            const double a = qDegreesToRadians(std::copysign(20.0 * step, degrees));
            test::moveTo(&f.view,
                         centre + QPointF(arm.x() * std::cos(a) - arm.y() * std::sin(a),
                                          arm.x() * std::sin(a) + arm.y() * std::cos(a)),
                         Qt::ControlModifier);
        }
        test::releaseAt(&f.view, centre + arm, Qt::ControlModifier);
        return spine->animation->channel(AnimatedObject::Rotation).evaluate(0);
    };
    // Twice round clockwise on screen, then once back.
    float value = turn(720);
    QVERIFY2(std::abs(value + float(4 * M_PI)) < 1e-3f, qPrintable(QString::number(value)));
    value = turn(-360);
    QVERIFY2(std::abs(value + float(2 * M_PI)) < 1e-3f, qPrintable(QString::number(value)));
    QVERIFY(test::near(f.jointPos("head"), QPointF(0, -90), 0.01));
}

void TestObjectManipulator::modifierKeysApplyHeldOrMidDrag()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    QGraphicsRectItem* item = addBox(f, QRectF(-20, -20, 40, 40));
    f.manipulator->setTargets({});
    f.view.centerOn(0, 0);
    // Shift held from the press keeps only the larger displacement; the press picks the item.
    test::drag(&f.view, QPointF(0, 0), QPointF(30, 10), Qt::ShiftModifier);
    QVERIFY(std::abs(item->sceneTransform().map(QPointF()).x() - 30) < 1.5);
    QCOMPARE(item->sceneTransform().map(QPointF()).y(), 0.0);
    QVERIFY(f.manipulator->targets().contains(item));
    item->setPos(0, 0);
    item->setTransform(QTransform());
    f.manipulator->setTargets({item});

    // Shift pressed during a move keeps only the larger displacement at once, released frees it.
    test::pressAt(&f.view, QPointF(0, 0));
    test::moveTo(&f.view, QPointF(30, 10));
    QVERIFY(test::near(item->scenePos(), QPointF(30, 10), 0.5));
    QTest::keyPress(&f.view, Qt::Key_Shift);
    QVERIFY(test::near(item->scenePos(), QPointF(30, 0), 0.5));
    QTest::keyRelease(&f.view, Qt::Key_Shift);
    QVERIFY(test::near(item->scenePos(), QPointF(30, 10), 0.5));
    test::releaseAt(&f.view, QPointF(30, 10));

    // Alt pressed during a scaling switches from the centre to the opposite edge at once.
    item->setPos(0, 0);
    item->setTransform(QTransform());
    f.manipulator->setTargets({item});
    test::pressAt(&f.view, QPointF(20, 0));
    test::moveTo(&f.view, QPointF(40, 0));
    QVERIFY(sameRect(item->sceneBoundingRect(), QRectF(-40, -20, 80, 40), 1.0));
    QTest::keyPress(&f.view, Qt::Key_Alt);
    QVERIFY2(sameRect(item->sceneBoundingRect(), QRectF(-20, -20, 60, 40), 1.0),
             qPrintable(describe(item->sceneBoundingRect())));
    QTest::keyRelease(&f.view, Qt::Key_Alt);
    QVERIFY(sameRect(item->sceneBoundingRect(), QRectF(-40, -20, 80, 40), 1.0));
    test::releaseAt(&f.view, QPointF(40, 0));
}

void TestObjectManipulator::escapeOrADragBackChangesNothing()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    HistoryManager history;
    recordDrags(f, history);
    const auto [a, b] = chooseTwoImages(f);
    QCOMPARE(f.manipulator->targets().size(), 2);
    const QTransform beforeA = a->item->sceneTransform();
    const QTransform beforeB = b->item->sceneTransform();
    QSignalSpy transformed(f.manipulator, &ObjectManipulator::targetTransformed);
    // Escape during a move and during a turn of both: they go back to where the press found them,
    // and the rest of the drag changes nothing.
    const QPointF corner = f.manipulator->polygon().at(2);
    const QList<QPair<QPointF, Qt::KeyboardModifiers>> presses = {{QPointF(60, -40), Qt::NoModifier},
                                                                   {corner, Qt::ControlModifier}};
    for (const auto& press : presses) {
        test::pressAt(&f.view, press.first, press.second);
        test::moveTo(&f.view, press.first + QPointF(-30, 20), press.second);
        QVERIFY(a->item->sceneTransform() != beforeA);
        QTest::keyClick(&f.view, Qt::Key_Escape);
        QCOMPARE(a->item->sceneTransform(), beforeA);
        QCOMPARE(b->item->sceneTransform(), beforeB);
        test::moveTo(&f.view, press.first + QPointF(-50, 40), press.second);
        test::releaseAt(&f.view, press.first + QPointF(-50, 40), press.second);
        QCOMPARE(a->item->sceneTransform(), beforeA);
        QCOMPARE(f.manipulator->targets().size(), 2);
    }
    QCOMPARE(transformed.count(), 0);
    QCOMPARE(history.count(), 0);
    // Drags that come back to where they started, a move, a turn and a scaling, record nothing.
    for (const auto& press : presses + QList<QPair<QPointF, Qt::KeyboardModifiers>>{{corner, Qt::NoModifier}}) {
        test::pressAt(&f.view, press.first, press.second);
        test::moveTo(&f.view, press.first + QPointF(25, 15), press.second);
        QVERIFY(a->item->sceneTransform() != beforeA);
        test::moveTo(&f.view, press.first, press.second);
        test::releaseAt(&f.view, press.first, press.second);
    }
    QCOMPARE(history.count(), 0);
    QCOMPARE(a->item->sceneTransform(), beforeA);
    QCOMPARE(b->item->sceneTransform(), beforeB);
    // One that does not is one record, and undoing it puts both back.
    test::drag(&f.view, QPointF(60, -40), QPointF(90, -40));
    QCOMPARE(history.count(), 1);
    history.undo();
    QVERIFY(test::near(a->item->sceneTransform().map(QPointF(0, 0)), beforeA.map(QPointF(0, 0)), 1e-6));
    QVERIFY(test::near(b->item->sceneTransform().map(QPointF(0, 0)), beforeB.map(QPointF(0, 0)), 1e-6));

    // In animation mode nothing is keyed.
    f.animate();
    f.view.centerOn(0, -50);
    test::pressAt(&f.view, QPointF(0, -50));
    test::moveTo(&f.view, QPointF(30, -40));
    QVERIFY(test::near(f.jointPos("spine"), QPointF(30, -40), 0.5));
    QTest::keyClick(&f.view, Qt::Key_Escape);
    QVERIFY(test::near(f.jointPos("spine"), QPointF(0, -50), 1e-9));
    QVERIFY(test::near(f.jointPos("head"), QPointF(0, -90), 1e-9));
    test::releaseAt(&f.view, QPointF(30, -40));
    QVERIFY(f.writer.calls.isEmpty());
}

void TestObjectManipulator::badInputStaysFinite()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    // An image without pixels and an item collapsed to a point.
    Skeleton::Asset* empty = f.skeleton->addImage("arm", QImage(), QTransform(), false);
    QGraphicsRectItem* collapsed = addBox(f, QRectF(-20, -20, 40, 40));
    collapsed->setTransform(QTransform::fromScale(0, 0));
    auto allFinite = [&f] {
        const QList<QGraphicsItem*> items = f.scene.items();
        const QPolygonF outline = f.manipulator->polygon();
        return std::all_of(items.begin(), items.end(),
                           [](const QGraphicsItem* item) { return isFinite(item->sceneTransform()); }) &&
               std::all_of(outline.begin(), outline.end(),
                           [](const QPointF& p) { return std::isfinite(p.x()) && std::isfinite(p.y()); });
    };
    for (const float zoom : {0.15f, 1.0f, 6.0f}) {
        f.view.setZoom(zoom);
        for (QGraphicsItem* target : {static_cast<QGraphicsItem*>(empty->placeholder),
                                      static_cast<QGraphicsItem*>(collapsed)}) {
            f.manipulator->setTargets({target});
            const QPointF at = f.manipulator->polygon().boundingRect().center();
            f.view.centerOn(at);
            const QPointF step = QPointF(20, 10) / zoom;
            const QPointF corner = f.manipulator->polygon().at(2) + QPointF(3, 3) / zoom;
            test::drag(&f.view, at, at + step);
            for (const Qt::KeyboardModifiers modifiers :
                 {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier),
                  Qt::KeyboardModifiers(Qt::AltModifier | Qt::ShiftModifier)}) {
                test::drag(&f.view, corner, corner + step, modifiers);
                QVERIFY2(allFinite(), qPrintable(QStringLiteral("zoom %1").arg(zoom)));
            }
            // A drag that leaves the view.
            test::pressAt(&f.view, at);
            test::sendMouse(&f.view, QEvent::MouseMove, QPoint(-400, 2000), Qt::NoButton, Qt::LeftButton);
            test::sendMouse(&f.view, QEvent::MouseButtonRelease, QPoint(-400, 2000), Qt::LeftButton, Qt::NoButton);
            QVERIFY2(allFinite(), qPrintable(QStringLiteral("zoom %1").arg(zoom)));
        }
    }
}

void TestObjectManipulator::outlineKeepsItsScreenSize()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    f.animate();
    Skeleton::Asset* asset = f.addImage("arm", {40, 40}, {10, -10}, QColor(200, 60, 60));
    const double scale = ScreenScale::of(&f.view);
    // Set BONESTAGE_SCREENSHOTS to a folder to keep the pictures.
    const QString folder = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    const QColor fill(0x20, 0x20, 0x20);
    const QList<QPair<QString, QGraphicsItem*>> targets = {{"image", asset->placeholder},
                                                          {"joint", f.skeleton->nodeByName("head")->joint}};
    for (const auto& target : targets) {
        for (const float zoom : {1.0f, 4.0f}) {
            f.view.setZoom(zoom);
            f.manipulator->setTargets({target.second});
            f.view.centerOn(target.second->sceneBoundingRect().center());
            const QImage shot = f.view.viewport()->grab().toImage();
            if (!folder.isEmpty()) {
                QVERIFY(shot.save(QDir(folder).filePath(QStringLiteral("selected-%1-zoom%2.png")
                                                            .arg(target.first)
                                                            .arg(zoom))));
            }
            // Each corner square is about 7 pixels across times the screen scale, at any zoom.
            for (int i = 0; i < 4; ++i) {
                const QPoint corner = f.view.mapFromScene(f.manipulator->polygon().at(i));
                const QPoint out = QPoint(1, 1) * qRound(5 * scale);
                const QPoint in = QPoint(1, 1) * qRound(2 * scale);
                for (const QPoint& p : {corner, corner + in, corner - in}) {
                    QCOMPARE(shot.pixelColor(p), fill);
                }
                for (const QPoint& p : {corner + out, corner - out}) {
                    QVERIFY2(shot.pixelColor(p) != fill, qPrintable(target.first));
                }
            }
        }
    }
}

void TestObjectManipulator::rubberBandPicksImagesAndJoints()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    Skeleton::Asset* asset = f.addImage("arm", {40, 40}, {10, -10});
    f.view.centerOn(0, -50);
    auto joint = [&f](const char* name) { return static_cast<QGraphicsItem*>(f.skeleton->nodeByName(name)->joint); };
    auto targets = [&f] {
        const QList<QGraphicsItem*> list = f.manipulator->targets();
        return QSet<QGraphicsItem*>(list.begin(), list.end());
    };
    // In set-up mode joints are locked: a band across everything picks the image alone.
    test::pressAt(&f.view, QPointF(-100, -150));
    test::moveTo(&f.view, QPointF(-60, -120));
    QVERIFY(f.selector->isVisible());
    QVERIFY(sameRect(f.selector->rect(), QRectF(-100, -150, 40, 30), 1.0));
    QCOMPARE(f.selector->brush().color(), QColor(138, 177, 222, 128));
    QCOMPARE(f.selector->pen().color(), QColor(138, 177, 222));
    QCOMPARE(f.selector->zValue(), 1000001.0);
    test::moveTo(&f.view, QPointF(100, 30));
    test::releaseAt(&f.view, QPointF(100, 30));
    QVERIFY(!f.selector->isVisible());
    QCOMPARE(targets(), QSet<QGraphicsItem*>({asset->placeholder}));

    // In animation mode the joints too, but none of the bones it crosses.
    f.skeleton->setAnimationMode(true);
    f.manipulator->setAnimationMode(true);
    test::drag(&f.view, QPointF(-100, -150), QPointF(100, 30));
    QCOMPARE(targets(), QSet<QGraphicsItem*>({joint("hip"), joint("spine"), joint("head"), joint("arm"),
                                              asset->placeholder}));
    test::drag(&f.view, QPointF(-30, -72), QPointF(30, -68));
    QVERIFY(f.manipulator->targets().isEmpty());

    // With Ctrl what the band touches joins the targets there were.
    f.manipulator->setTargets({joint("hip")});
    test::drag(&f.view, QPointF(-30, -100), QPointF(-5, -85), Qt::ControlModifier);
    QCOMPARE(f.manipulator->targets(), QList<QGraphicsItem*>({joint("hip"), joint("head")}));
    // A click on empty canvas lets go of them.
    test::drag(&f.view, QPointF(-100, -150), QPointF(-100, -150));
    QVERIFY(f.manipulator->targets().isEmpty());
}

void TestObjectManipulator::lockedItemsLetClicksThrough()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    Skeleton::Asset* asset = f.addImage("arm", {60, 60}, {-30, -30});
    QGraphicsItem* arm = f.skeleton->nodeByName("arm")->joint;
    arm->setData(137, true);
    // Animation mode makes joints editable, but the locked one is left unselectable.
    f.skeleton->setAnimationMode(true);
    f.manipulator->setAnimationMode(true);
    QVERIFY(!(arm->flags() & QGraphicsItem::ItemIsSelectable));
    f.view.centerOn(30, -50);
    // A click on the locked joint picks the image under it; a band does not take the joint.
    test::drag(&f.view, QPointF(30, -50), QPointF(30, -50));
    QCOMPARE(f.manipulator->targets(), {asset->placeholder});
    test::drag(&f.view, QPointF(10, -70), QPointF(50, -30));
    QCOMPARE(f.manipulator->targets(), {asset->placeholder});
    // A drag that starts on it moves the image, not the joint; nor does one on its bone turn it.
    const QTransform joint = arm->sceneTransform();
    test::drag(&f.view, QPointF(30, -50), QPointF(40, -50));
    QCOMPARE(arm->sceneTransform(), joint);
    test::drag(&f.view, QPointF(12, -50), QPointF(12, -30));
    QVERIFY(!f.manipulator->boneTarget());
    QCOMPARE(arm->sceneTransform(), joint);
    // Unlocked, it is picked again.
    ObjectManipulator::setLocked(arm, false);
    QVERIFY(arm->flags() & QGraphicsItem::ItemIsSelectable);
    f.manipulator->setTargets({});
    test::drag(&f.view, QPointF(30, -50), QPointF(30, -50));
    QCOMPARE(f.manipulator->targets(), {arm});
}

BONESTAGE_WIDGETS_TEST_MAIN(TestObjectManipulator)
#include "tst_ObjectManipulator.moc"
