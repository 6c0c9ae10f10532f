// The skeleton on the canvas: hierarchy, poses, playback, keys from drags, switches, names.
#include "CanvasFixture.h"
#include "PixmapPlaceholderItem.h"
#include "ScreenScale.h"
#include "TestMain.h"
#include "ViewInput.h"

#include <QGraphicsPixmapItem>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <map>

namespace {

std::unique_ptr<AnimatedObject> tracksFor(const QString& name)
{
    auto object = std::make_unique<AnimatedObject>();
    object->setName(name);
    object->setDefaultName(name);
    return object;
}

// The nodes without tracks each log that they get default ones.
void expectDefaultTracks(int nodes)
{
    for (int i = 0; i < nodes; ++i) {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Item with no animation found:.* setting default one$"));
    }
}

struct Keys
{
    QString node;
    int channel;
    std::vector<bez3> keys;
};

// Tracks with the keys given shown on f's skeleton; its other nodes each get default tracks.
void showKeys(test::CanvasFixture& f, const std::vector<Keys>& keyed)
{
    AnimationTracks tracks;
    std::map<QString, AnimatedObject*> objects;
    for (const Keys& k : keyed) {
        AnimatedObject*& object = objects[k.node];
        if (!object) {
            object = tracks.append(tracksFor(k.node));
        }
        object->setChannelKeys(k.channel, k.keys);
    }
    expectDefaultTracks(static_cast<int>(f.skeleton->nodes().size() - objects.size()));
    f.skeleton->setAnimation(std::move(tracks));
}

// Tracks for every node of f's body that turn it by turn radians in length seconds.
void turnAll(test::CanvasFixture& f, float length, float turn)
{
    AnimationTracks tracks;
    for (const char* name : {"hip", "spine", "head", "arm"}) {
        AnimatedObject* object = tracks.append(tracksFor(name));
        object->setDuration(length, true);
        object->setChannelKeys(AnimatedObject::Rotation, {{0, 0, 0, 0}, {turn, length, turn, turn}});
    }
    f.skeleton->setAnimation(std::move(tracks));
}

// The scene inside rect, drawn into a 200 x 200 picture over background.
QImage rendered(QGraphicsScene& scene, const QRectF& rect, const QColor& background)
{
    QImage frame(200, 200, QImage::Format_ARGB32_Premultiplied);
    frame.fill(background);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(0, 0, 200, 200), rect);
    return frame;
}

} // namespace

class TestSkeleton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void jointsFollowTheHierarchy();
    void poseAtTimeMovesSubtrees();
    void brokenHierarchiesStillLoad();
    void badKeyValuesShowRestPose();
    void zeroScaleHidesTheNodeAndItsImages();
    void showFrameAndEmptyAnimation();
    void playbackStopsAtTheEndOrLoops();
    void dragInAnimationModeWritesKeys();
    void rotationKeyKeepsWholeTurns();
    void newJointsKeepTheAnimationLength();
    void setupModeDragChangesRestPose();
    void jointCircleKeepsScreenSize();
    void visibilityAndModeColours();
    void defaultNamesReuseLowestNumber();
    void imagesFollowPlaceholdersAndRestack();
    void hiddenJointsHideTheirSubtree();
    void dropTargetHighlight();
    void renderPosedSkeletonWithImage();
    void aHoveredBoneThatGoesIsForgotten();
};

void TestSkeleton::jointsFollowTheHierarchy()
{
    test::CanvasFixture f;
    f.buildBody();
    QVERIFY(test::near(f.jointPos("hip"), QPointF(0, 0)));
    QVERIFY(test::near(f.jointPos("spine"), QPointF(0, -50)));
    QVERIFY(test::near(f.jointPos("head"), QPointF(0, -90)));
    QVERIFY(test::near(f.jointPos("arm"), QPointF(30, -50)));
    const Skeleton::Node* head = f.skeleton->nodeByName("head");
    QCOMPARE(head->joint->parentItem(), f.skeleton->nodeByName("spine")->joint);
    QVERIFY(head->bone);
    QVERIFY(!f.skeleton->nodeByName("hip")->bone);
    QCOMPARE(head->bone->data(128).toBool(), true);
    QCOMPARE(head->joint->data(131).toString(), QStringLiteral("head"));
    QCOMPARE(head->joint->data(133).toString(), QStringLiteral("spine"));
    QCOMPARE(head->joint->data(127).toDouble(), 100000.0);
    // The bone runs from the parent joint to this one.
    const QPolygonF bone = head->bone->polygon();
    QVERIFY(test::near(bone.first(), QPointF(0, -50)));
    QVERIFY(test::near(bone.at(2), QPointF(0, -90)));
}

void TestSkeleton::poseAtTimeMovesSubtrees()
{
    test::CanvasFixture f;
    f.buildBody();
    // A quarter turn counter-clockwise at 1 s.
    showKeys(f, {{"spine", AnimatedObject::Rotation, {{0, 0, 0, 0}, {float(M_PI / 2), 1.0f, float(M_PI / 2), 0}}},
                 {"hip", AnimatedObject::LocationX, {{0.5f, 0, 0.5f, 0.5f}}}});
    f.skeleton->showMoment(1000.0f);
    // The hip moved 100 px right; the head, 40 above the spine, turned to 40 left of it.
    QVERIFY(test::near(f.jointPos("hip"), QPointF(100, 0)));
    QVERIFY(test::near(f.jointPos("spine"), QPointF(100, -50)));
    QVERIFY(test::near(f.jointPos("head"), QPointF(60, -50)));
    QVERIFY(test::near(f.jointPos("arm"), QPointF(100, -80)));
    f.skeleton->showMoment(0.0f);
    QVERIFY(test::near(f.jointPos("head"), QPointF(100, -90)));
    // The keys end at 1 s; the default tracks of the other nodes do not stretch that.
    QCOMPARE(f.skeleton->duration(), 1.0f);
}

void TestSkeleton::brokenHierarchiesStillLoad()
{
    test::CanvasFixture f;
    f.skeleton->setNodes({test::CanvasFixture::record("a", "b", QPointF(10, 0)),
                          test::CanvasFixture::record("b", "a", QPointF(0, 10)),
                          test::CanvasFixture::record("self", "self", QPointF(5, 5)),
                          test::CanvasFixture::record("orphan", "nobody", QPointF(1, 2)),
                          test::CanvasFixture::record("twin", "", QPointF(20, 0)),
                          test::CanvasFixture::record("twin", "", QPointF(50, 0)),
                          test::CanvasFixture::record("child", "twin", QPointF(0, 7))});
    QCOMPARE(f.skeleton->nodes().size(), size_t(7));
    // The cycle is cut: one of a and b is a root, the other hangs under it.
    const Skeleton::Node* a = f.skeleton->nodeByName("a");
    const Skeleton::Node* b = f.skeleton->nodeByName("b");
    QVERIFY((a->joint->parentItem() == nullptr) != (b->joint->parentItem() == nullptr));
    QVERIFY(!f.skeleton->nodeByName("self")->joint->parentItem());
    QVERIFY(test::near(f.jointPos("orphan"), QPointF(1, 2)));
    // The first of two nodes with the same name is the parent.
    QVERIFY(test::near(f.jointPos("child"), QPointF(20, 7)));
    f.skeleton->showMoment(0.0f);
    f.skeleton->updateSkeleton();
    f.skeleton->clear();
    QVERIFY(f.skeleton->nodes().empty());
}

void TestSkeleton::badKeyValuesShowRestPose()
{
    test::CanvasFixture f;
    f.buildBody();
    showKeys(f, {{"spine", AnimatedObject::LocationX, {{0, 0, std::nanf(""), 0}}},
                 {"head", AnimatedObject::Rotation, {{0, 0, INFINITY, 0}}}});
    f.skeleton->showMoment(500.0f);
    QVERIFY(test::near(f.jointPos("spine"), QPointF(0, -50)));
    QVERIFY(test::near(f.jointPos("head"), QPointF(0, -90)));
}

void TestSkeleton::zeroScaleHidesTheNodeAndItsImages()
{
    test::CanvasFixture f;
    f.buildBody();
    f.addImage("spine", {30, 60}, {-15, -10}, QColor(70, 130, 200));
    f.addImage("head", {30, 60}, {-15, -30}, QColor(70, 130, 200));
    // Unscaled at 0 s, collapsed at 1 s, collapsed only across at 2 s.
    showKeys(f, {{"spine", AnimatedObject::ScaleX, {{1, 0, 1, 1}, {0, 1, 0, 0}, {0, 2, 0, 0}}},
                 {"spine", AnimatedObject::ScaleY, {{1, 0, 1, 1}, {0, 1, 0, 1}, {1, 2, 1, 1}}}});
    auto bluePixels = [&] {
        const QImage frame = rendered(f.scene, QRectF(-100, -200, 200, 200), Qt::black);
        int count = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                count += frame.pixelColor(x, y).blue() > 100 ? 1 : 0;
            }
        }
        return count;
    };
    auto finite = [](const QTransform& t) {
        return std::isfinite(t.m11() + t.m12() + t.m21() + t.m22() + t.dx() + t.dy());
    };
    QVERIFY(bluePixels() > 2000);
    Skeleton::Node* spineNode = f.skeleton->nodeByName("spine");
    spineNode->restTransform = QTransform().rotate(20);
    for (float time : {1000.0f, 2000.0f}) {
        f.skeleton->showMoment(time);
        QCOMPARE(bluePixels(), 0);
        // Taking rest poses (as playback does) cannot read a rest pose through a collapsed one.
        f.skeleton->captureRestPoses();
        QCOMPARE(spineNode->restTransform, QTransform().rotate(20));
        for (const auto& node : f.skeleton->nodes()) {
            QVERIFY(finite(node->joint->sceneTransform()) && finite(node->overlay->sceneTransform()));
            QVERIFY(std::isfinite(node->joint->rect().width()));
        }
        // Selecting and keying the collapsed node stays finite too.
        f.manipulator->setTargets({spineNode->joint});
        QVERIFY(std::isfinite(f.manipulator->boundingRect().width()));
        f.skeleton->onItemSetScaleKey(spineNode->joint);
        f.skeleton->onItemSetMoveKey(f.skeleton->nodeByName("head")->joint);
        for (const test::RecordingWriter::Call& call : f.writer.calls) {
            QVERIFY(std::isfinite(call.newValue));
        }
        QCOMPARE(spineNode->animation->channel(AnimatedObject::ScaleX).evaluate(time / 1000), 0.0f);
        f.manipulator->setTargets({});
    }
    f.skeleton->showMoment(0.0f);
    QVERIFY(bluePixels() > 2000);
}

void TestSkeleton::showFrameAndEmptyAnimation()
{
    test::CanvasFixture f;
    f.buildBody();
    // Without tracks nothing moves.
    f.skeleton->showMoment(700.0f);
    QVERIFY(test::near(f.jointPos("head"), QPointF(0, -90)));
    showKeys(f, {{"hip", AnimatedObject::LocationY, {{0, 0, 0, 0}, {0, 1.0f, 1.0f, 1.0f}}}});
    f.skeleton->showFrame(60);
    QCOMPARE(f.skeleton->currentTime(), 1000.0f);
    QVERIFY(test::near(f.jointPos("hip"), QPointF(0, -200)));
    QVERIFY(f.skeleton->togglePlayPause());
    f.skeleton->showFrame(0);
    QCOMPARE(f.skeleton->currentTime(), 1000.0f); // ignored while playing
    QVERIFY(!f.skeleton->togglePlayPause());
    // A time far beyond any animation still gives a frame number within range.
    QSignalSpy frames(f.skeleton.get(), &Skeleton::newFrame);
    f.skeleton->showMoment(1e12f);
    f.skeleton->newAnimationFrame();
    QCOMPARE(frames.count(), 1);
    QCOMPARE(frames.at(0).at(0).toInt(), std::numeric_limits<int>::max());
}

void TestSkeleton::playbackStopsAtTheEndOrLoops()
{
    test::CanvasFixture f;
    f.buildBody();
    turnAll(f, 0.2f, 1.0f);
    f.skeleton->setLooping(false);
    QSignalSpy frames(f.skeleton.get(), &Skeleton::newFrame);
    QSignalSpy stopped(f.skeleton.get(), &Skeleton::animationStopped);
    QVERIFY(f.skeleton->togglePlayPause());
    QCOMPARE(frames.count(), 1);
    QCOMPARE(frames.at(0).at(0).toInt(), 0);
    QVERIFY(stopped.wait(3000));
    QVERIFY(!f.skeleton->isPlaying());
    QVERIFY(frames.count() >= 4);
    QCOMPARE(f.skeleton->currentTime(), 0.0f);
    // Frame numbers grow while it plays.
    int previous = -1;
    for (int i = 1; i < frames.count(); ++i) {
        QVERIFY(frames.at(i).at(0).toInt() >= previous);
        previous = frames.at(i).at(0).toInt();
    }

    // Looping at twice the speed, it plays on past its end until stopped.
    f.skeleton->setLooping(true);
    f.skeleton->setTimeScale(2.0f);
    frames.clear();
    stopped.clear();
    f.skeleton->togglePlayPause();
    QTRY_VERIFY_WITH_TIMEOUT(frames.count() > 12, 3000);
    QCOMPARE(stopped.count(), 0);
    QVERIFY(f.skeleton->isPlaying());
    f.skeleton->stop();
    QCOMPARE(stopped.count(), 1);
}

void TestSkeleton::dragInAnimationModeWritesKeys()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    f.animate();
    f.view.centerOn(0, -50);
    QSignalSpy curves(f.skeleton.get(), &Skeleton::animationCurveChanged);
    // Drag the head 40 px right.
    test::drag(&f.view, QPointF(0, -90), QPointF(40, -90));
    QCOMPARE(f.writer.macros, QStringList({"Animation change"}));
    QCOMPARE(f.writer.calls.size(), 2);
    QCOMPARE(f.writer.calls.at(0).property, AnimatedObject::LocationX);
    QVERIFY(std::abs(f.writer.calls.at(0).newValue - 0.2f) < 1e-3f);
    QVERIFY(f.writer.calls.at(0).isNewPoint);
    QCOMPARE(f.writer.calls.at(1).property, AnimatedObject::LocationY);
    QVERIFY(std::abs(f.writer.calls.at(1).newValue) < 1e-3f);
    QCOMPARE(curves.count(), 1);
    QVERIFY(test::near(f.jointPos("head"), QPointF(40, -90), 0.5));
    // The node keeps its position; the offset lives in the pose.
    QCOMPARE(f.skeleton->nodeByName("head")->position, QPointF(0, -40));

    // A second drag at the same time updates the key.
    test::drag(&f.view, QPointF(40, -90), QPointF(40, -70));
    QCOMPARE(f.writer.calls.size(), 4);
    QVERIFY(!f.writer.calls.at(2).isNewPoint);
    QVERIFY(std::abs(f.writer.calls.at(3).newValue - (-0.1f)) < 1e-3f);
    AnimatedObject* head = f.skeleton->nodeByName("head")->animation;
    QCOMPARE(head->channel(AnimatedObject::LocationX).keyCount(), 1);

    // A click without movement writes nothing.
    test::drag(&f.view, QPointF(40, -70), QPointF(40, -70));
    QCOMPARE(f.writer.calls.size(), 4);
}

void TestSkeleton::rotationKeyKeepsWholeTurns()
{
    test::CanvasFixture f;
    f.buildBody();
    f.animate();
    Skeleton::Node* spine = f.skeleton->nodeByName("spine");
    f.manipulator->setTargets({spine->joint});
    // Turn the spine in steps of 100 degrees counter-clockwise on screen, keying each step.
    for (int step = 1; step <= 8; ++step) {
        spine->joint->setTransform(QTransform().rotate(-100.0 * step));
        f.skeleton->onItemSetRotationKey(spine->joint);
    }
    const float value = spine->animation->channel(AnimatedObject::Rotation).evaluate(0);
    QVERIFY2(std::abs(value - float(800.0 * M_PI / 180.0)) < 1e-3f, qPrintable(QString::number(value)));
}

void TestSkeleton::newJointsKeepTheAnimationLength()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    turnAll(f, 0.6f, 0.5f);
    f.skeleton->setAnimationMode(true);
    f.manipulator->setAnimationMode(true);
    QTest::ignoreMessage(QtDebugMsg, "Item with no animation found:tail setting default one");
    f.skeleton->addNode(test::CanvasFixture::record("tail", "hip", QPointF(-60, 20)));
    QCOMPARE(f.skeleton->duration(), 0.6f);
    // Keying the new joint does not bring the default length in either.
    f.view.centerOn(-60, 20);
    test::drag(&f.view, QPointF(-60, 20), QPointF(-40, 30));
    QCOMPARE(f.skeleton->nodeByName("tail")->animation->channel(AnimatedObject::LocationX).keyCount(), 1);
    QCOMPARE(f.skeleton->duration(), 0.6f);
}

void TestSkeleton::setupModeDragChangesRestPose()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    Skeleton::Asset* asset = f.addImage("head", {40, 40}, {-20, -20}, QColor(200, 60, 60));
    f.view.centerOn(0, -90);
    QSignalSpy transformed(f.manipulator, &ObjectManipulator::targetTransformed);
    test::drag(&f.view, QPointF(10, -80), QPointF(30, -80));
    QCOMPARE(transformed.count(), 1);
    QCOMPARE(transformed.at(0).at(0).toString(), QStringLiteral("move"));
    QVERIFY(test::near(asset->restTransform.map(QPointF(0, 0)), QPointF(0, -20), 0.5));
    QVERIFY(test::near(asset->item->sceneTransform().map(QPointF(0, 0)), QPointF(0, -110), 0.5));
    QCOMPARE(f.writer.calls.size(), 0);
    // A drag that ends where it started records nothing.
    test::drag(&f.view, QPointF(20, -80), QPointF(20, -80));
    QCOMPARE(transformed.count(), 1);
}

void TestSkeleton::jointCircleKeepsScreenSize()
{
    test::CanvasFixture f;
    f.buildBody();
    Skeleton::Node* head = f.skeleton->nodeByName("head");
    head->size = 20.0f;
    showKeys(f, {{"spine", AnimatedObject::ScaleX, {{3, 0, 3, 3}}}, {"spine", AnimatedObject::ScaleY, {{3, 0, 3, 3}}}});
    // Node size pixels times the screen scale (logical DPI / 96), at any zoom of 1 or more (the
    // test also runs with a logical DPI of 192, a screen scale of 2).
    if (qEnvironmentVariableIntValue("QT_FONT_DPI") == 192) {
        QCOMPARE(ScreenScale::of(&f.view), 2.0);
    }
    const double expected = 20.0 * ScreenScale::of(&f.view);
    for (float zoom : {1.0f, 2.0f, 5.0f}) {
        f.view.setZoom(zoom);
        const double pixels = head->joint->sceneBoundingRect().width() * zoom;
        QVERIFY2(std::abs(pixels - expected) < 0.05, qPrintable(QString::number(pixels)));
    }
    // Below zoom 1 it shrinks with the view.
    f.view.setZoom(0.5f);
    QVERIFY(std::abs(head->joint->sceneBoundingRect().width() * 0.5 - expected / 2) < 0.05);
}

void TestSkeleton::visibilityAndModeColours()
{
    test::CanvasFixture f;
    f.buildBody();
    Skeleton::Node* head = f.skeleton->nodeByName("head");
    QCOMPARE(head->overlay->pen().color(), QColor(255, 168, 0));
    QVERIFY(!(head->joint->flags() & QGraphicsItem::ItemIsSelectable));
    f.skeleton->setAnimationMode(true);
    QCOMPARE(head->overlay->pen().color(), QColor(62, 197, 112));
    QCOMPARE(head->rotationLine->pen().color(), QColor(62, 197, 112));
    QVERIFY(head->joint->flags() & QGraphicsItem::ItemIsSelectable);
    QVERIFY(head->bone->flags() & QGraphicsItem::ItemIsSelectable);
    QCOMPARE(head->overlay->brush().color(), QColor(54, 54, 54));
    f.skeleton->setSkeletonVisible(false);
    QCOMPARE(head->overlay->brush().style(), Qt::NoBrush);
    QCOMPARE(head->overlay->pen().color().alpha(), 0);
    QCOMPARE(head->bone->brush().color().alpha(), 0);
    QCOMPARE(head->joint->pen().style(), Qt::NoPen);
    f.skeleton->setSkeletonVisible(true);
    QCOMPARE(head->bone->brush().color(), NodeRecord::defaultBoneColor());
    QCOMPARE(head->innerDot->brush().color(), QColor(246, 68, 31));
    f.skeleton->setAnimationMode(false);
    QVERIFY(!(head->joint->flags() & QGraphicsItem::ItemIsSelectable));
}

void TestSkeleton::defaultNamesReuseLowestNumber()
{
    test::CanvasFixture f;
    f.skeleton->setNodes({test::CanvasFixture::record("New node 1", "", QPointF()),
                          test::CanvasFixture::record("New node 2", "", QPointF())});
    QCOMPARE(f.skeleton->uniqueNodeName(), QStringLiteral("New node 3"));
    f.skeleton->removeNode(f.skeleton->nodeByName("New node 1"));
    QCOMPARE(f.skeleton->uniqueNodeName(), QStringLiteral("New node 1"));
    QCOMPARE(f.skeleton->uniqueAssetName(), QStringLiteral("New asset 1"));
    f.addImage("New node 2", {4, 4}, {}, Qt::red)->name = "New asset 1";
    QCOMPARE(f.skeleton->uniqueAssetName(), QStringLiteral("New asset 2"));
}

void TestSkeleton::imagesFollowPlaceholdersAndRestack()
{
    test::CanvasFixture f;
    f.buildBody();
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::green);
    Skeleton::Asset* first = f.skeleton->addImage("head", image, QTransform::fromTranslate(-5, -5), false);
    Skeleton::Asset* second = f.skeleton->addImage("arm", image, QTransform(), false);
    Skeleton::Asset* dummy = f.skeleton->addImage("hip", image, QTransform(), true);
    Skeleton::Asset* lost = f.skeleton->addImage("no such node", image, QTransform::fromTranslate(7, 7), false);
    QCOMPARE(first->item->zValue(), 0.0);
    QCOMPARE(second->item->zValue(), 1.0);
    QCOMPARE(lost->item->zValue(), 2.0);
    QCOMPARE(dummy->item->zValue(), -1000.0);
    QVERIFY(!(dummy->placeholder->flags() & QGraphicsItem::ItemIsSelectable));
    QVERIFY(first->placeholder->flags() & QGraphicsItem::ItemIsSelectable);
    QVERIFY(test::near(first->item->sceneTransform().map(QPointF(0, 0)), QPointF(-5, -95)));
    QVERIFY(test::near(lost->item->sceneTransform().map(QPointF(0, 0)), QPointF(7, 7)));
    QVERIFY(f.skeleton->changeZValue(first, Skeleton::BringToFront));
    QCOMPARE(first->item->zValue(), 2.0);
    QVERIFY(!f.skeleton->canChangeZValue(first, Skeleton::BringForward));
    QVERIFY(f.skeleton->changeZValue(first, Skeleton::SendToBack));
    QCOMPARE(first->item->zValue(), 0.0);
    QCOMPARE(f.skeleton->assetByItem(first->placeholder), first);

    // Moving the head moves its image.
    showKeys(f, {{"head", AnimatedObject::LocationX, {{0.25f, 0, 0.25f, 0.25f}}}});
    QVERIFY(test::near(first->item->sceneTransform().map(QPointF(0, 0)), QPointF(45, -95)));
    f.skeleton->makeAllAssetsDummy();
    QVERIFY(f.skeleton->images().empty());
    QCOMPARE(f.skeleton->dummyImages().size(), size_t(4));
}

void TestSkeleton::hiddenJointsHideTheirSubtree()
{
    test::CanvasFixture f;
    f.buildBody();
    QImage image(30, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(70, 130, 200));
    Skeleton::Asset* torso =
        f.skeleton->addImage("spine", image, QTransform::fromTranslate(-15, -10), false, "torso");
    Skeleton::Asset* face =
        f.skeleton->addImage("head", image, QTransform::fromTranslate(-15, -30), true, "face");
    // Placeholders say what they are, for whoever lists the scene.
    QCOMPARE(torso->placeholder->data(132).toString(), QStringLiteral("torso"));
    QCOMPARE(face->placeholder->data(132).toString(), QStringLiteral("face"));
    QVERIFY(torso->placeholder->data(136).toBool() && face->placeholder->data(136).toBool());
    f.skeleton->renameImage(torso, "chest");
    QCOMPARE(torso->placeholder->data(132).toString(), QStringLiteral("chest"));

    const QStringList below = {"spine", "head", "arm"};
    auto shown = [&f](const QString& name) {
        const Skeleton::Node* node = f.skeleton->nodeByName(name);
        return node->overlay->isVisible() && node->bone->isVisible();
    };
    Skeleton::Node* spine = f.skeleton->nodeByName("spine");
    spine->joint->setVisible(false);
    f.skeleton->updateSkeleton();
    for (const QString& name : below) {
        QVERIFY2(!shown(name), qPrintable(name));
    }
    QVERIFY(!torso->item->isVisible() && !face->item->isVisible());
    QVERIFY(f.skeleton->nodeByName("hip")->overlay->isVisible());
    // A pose change does not bring them back.
    f.skeleton->showMoment(500.0f);
    f.skeleton->viewZoomChanged(2.0f);
    QVERIFY(!shown("head") && !face->item->isVisible());
    spine->joint->setVisible(true);
    f.skeleton->updateSkeleton();
    for (const QString& name : below) {
        QVERIFY2(shown(name), qPrintable(name));
    }
    QVERIFY(torso->item->isVisible() && face->item->isVisible());

    // An image taken out for the undo history is no longer marked as one of the skeleton's.
    bool dummy = false;
    int index = -1;
    std::unique_ptr<Skeleton::Asset> taken = f.skeleton->takeImage(torso, &dummy, &index);
    QVERIFY(!taken->placeholder->data(136).toBool());
    Skeleton::Asset* back = f.skeleton->restoreImage(std::move(taken), dummy, index);
    QVERIFY(back->placeholder->data(136).toBool());
}

void TestSkeleton::dropTargetHighlight()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    f.view.centerOn(0, -50);
    QMimeData data;
    QDragMoveEvent over(f.view.mapFromScene(QPointF(0, -90)), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    f.skeleton->assetDragMoveSlot(&over);
    Skeleton::Node* head = f.skeleton->nodeByName("head");
    QCOMPARE(f.skeleton->dropTarget(), head);
    QCOMPARE(head->overlay->brush().color(), QColor(255, 168, 0));
    QDragMoveEvent away(f.view.mapFromScene(QPointF(200, 200)), Qt::CopyAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
    f.skeleton->assetDragMoveSlot(&away);
    QCOMPARE(f.skeleton->dropTarget(), nullptr);
    QCOMPARE(head->overlay->brush().color(), QColor(54, 54, 54));
}

void TestSkeleton::renderPosedSkeletonWithImage()
{
    test::CanvasFixture f;
    f.buildBody();
    QImage torso(30, 60, QImage::Format_ARGB32_Premultiplied);
    torso.fill(Qt::transparent);
    {
        QPainter painter(&torso);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(70, 130, 200));
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(0, 0, 30, 60), 12, 12);
    }
    f.skeleton->addImage("spine", torso, QTransform::fromTranslate(-15, -10), false);
    showKeys(f, {{"spine", AnimatedObject::Rotation, {{0.4f, 0, 0.4f, 0.4f}}}});
    const QImage frame = rendered(f.scene, QRectF(-100, -150, 200, 200), QColor(23, 23, 23));
    const QString out = qEnvironmentVariable("BONESTAGE_RENDER_OUT");
    if (!out.isEmpty()) {
        frame.save(out);
    }
    // The rotated torso is drawn left of the spine's joint (it leans counter-clockwise).
    int blue = 0;
    double sumX = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QColor c = frame.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100) {
                ++blue;
                sumX += x;
            }
        }
    }
    QVERIFY2(blue > 600, qPrintable(QString::number(blue)));
    // The torso hangs below the spine joint (x = 100 here); turned counter-clockwise, it swings right.
    QVERIFY(sumX / blue > 103.0);
}

void TestSkeleton::aHoveredBoneThatGoesIsForgotten()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    f.buildBody();
    f.skeleton->setAnimationMode(true);
    f.view.centerOn(0, -50);
    // Hover the spine's bone, then make the spine a top node, which takes its bone away.
    QGraphicsItem* spineBone = f.skeleton->nodeByName("spine")->bone;
    test::moveTo(&f.view, QPointF(0, -25), Qt::NoModifier, Qt::NoButton);
    QCOMPARE(spineBone->opacity(), 1.0);
    QVERIFY(f.skeleton->reparentNode(f.skeleton->nodeByName("spine"), QString()));
    QVERIFY(!f.skeleton->nodeByName("spine")->bone);
    // Hovering another bone no longer touches the one that went.
    QGraphicsItem* headBone = f.skeleton->nodeByName("head")->bone;
    test::moveTo(&f.view, headBone->sceneBoundingRect().center(), Qt::NoModifier, Qt::NoButton);
    QCOMPARE(headBone->opacity(), 1.0);
}

BONESTAGE_WIDGETS_TEST_MAIN(TestSkeleton)
#include "tst_Skeleton.moc"
