// The undo commands on a skeleton without a window: key writes give the channel back exactly,
// commands keep to their states and log what they discard, key edits undo in the animation they
// were made in and set-up edits wherever they are undone, restacking keeps the order of several
// images, and reparenting keeps the drawing.
#include "CanvasFixture.h"
#include "HistoryManager.h"
#include "IndexChangeCommand.h"
#include "PixmapPlaceholderItem.h"

#include "TestMain.h"
#include "TwoAnimations.h"

#include <QGraphicsPixmapItem>
#include <QtTest>

#include <vector>

namespace {

std::vector<bez3> keysOf(const TSAnimationCurve& curve)
{
    return std::vector<bez3>(curve.keys(), curve.keys() + curve.keyCount());
}

bool sameKeys(const std::vector<bez3>& a, const std::vector<bez3>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), TSAnimationCurve::keysEqual);
}

QImage filled(const QColor& colour)
{
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

struct HistoryFixture : test::CanvasFixture
{
    HistoryFixture()
    {
        buildBody();
        history.setSkeleton(skeleton.get());
    }
    QList<quint64> imageOrder() const
    {
        QList<quint64> ids;
        for (const auto& asset : skeleton->images()) {
            ids << asset->id;
        }
        return ids;
    }
    /// One key of tracks' rotation at 0.5 s, as a gesture writes it.
    void keyRotation(AnimatedObject* tracks, float value)
    {
        history.beginMacro(HistoryManager::kAnimationChange);
        history.changeAnimatedObjectValue(tracks, AnimatedObject::Rotation, 0.5f, 0.0f, value, true);
        history.endMacro();
    }
    HistoryManager history;
};

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void undoAndRedoRestoreTheChannelExactly_data();
    void undoAndRedoRestoreTheChannelExactly();
    void statesAndDiscardedRecordsAreLogged();
    void keyEditsUndoInTheirAnimationSetupEditsWhereTheyAre();
    void aNamesakeUndoneLeavesTheTracksOfItsNameAlone();
    void timelineKeyEditsGiveTheChannelsBack();
    void playbackSettingsAreSteps();
    void restackingKeepsTheOrderOfSeveralImages_data();
    void restackingKeepsTheOrderOfSeveralImages();
    void reparentingKeepsWhereThingsAreDrawn();
};

void TestCommands::undoAndRedoRestoreTheChannelExactly_data()
{
    QTest::addColumn<float>("time");
    QTest::addColumn<int>("keysAfter");
    QTest::newRow("between keys") << 0.4f << 4;
    QTest::newRow("at a key") << 0.5f << 3;
    QTest::newRow("just before a key") << 0.49f << 3;
    QTest::newRow("just after a key") << 0.51f << 3;
    QTest::newRow("after the last key") << 1.5f << 4;
}

void TestCommands::undoAndRedoRestoreTheChannelExactly()
{
    QFETCH(float, time);
    QFETCH(int, keysAfter);
    HistoryManager history;
    AnimatedObject tracks;
    tracks.setName("arm");
    tracks.setChannelKeys(AnimatedObject::Rotation,
                          {{0.1f, 0.0f, 0.0f, 0.2f}, {0.7f, 0.5f, 1.0f, 1.2f}, {-0.5f, 1.0f, -0.4f, -0.3f}});
    const TSAnimationCurve& curve = tracks.channel(AnimatedObject::Rotation);
    const std::vector<bez3> before = keysOf(curve);

    history.beginMacro("Animation change");
    history.changeAnimatedObjectValue(&tracks, AnimatedObject::Rotation, time, curve.evaluate(time), 2.0f,
                                      !curve.hasKeyNear(time));
    history.endMacro();
    const std::vector<bez3> after = keysOf(curve);
    QCOMPARE(curve.keyCount(), keysAfter);
    // The written value is what the channel shows at that time.
    QCOMPARE(curve.evaluate(time), 2.0f);

    for (int round = 0; round < 2; ++round) {
        history.undo();
        QVERIFY(sameKeys(keysOf(curve), before));
        history.redo();
        QVERIFY(sameKeys(keysOf(curve), after));
    }
}

void TestCommands::statesAndDiscardedRecordsAreLogged()
{
    HistoryFixture f;
    // The index change announces its new index once, when it is pushed.
    auto* choice = new IndexChangeCommand(1, 3);
    QSignalSpy announced(choice, &IndexChangeCommand::indexChanged);
    f.history.push(choice);
    QCOMPARE(announced.count(), 1);
    QCOMPARE(announced.last().first().toInt(), 3);
    f.history.undo();
    QCOMPARE(announced.last().first().toInt(), 1);

    // An addition that stands undone holds a node that is not in the document; dropping it from
    // the history (a new command pushed after the undo) says so and deletes its items.
    QGraphicsItem* head = f.skeleton->nodeByName("head")->joint;
    f.history.clear();
    Skeleton::Node* added = f.history.addNodeToSelected(head);
    QVERIFY(added);
    const QString name = added->name;
    const QGraphicsItem* joint = added->joint;
    f.history.undo();
    QVERIFY(!f.skeleton->nodeByName(name));
    QVERIFY(!f.scene.items().contains(const_cast<QGraphicsItem*>(joint)));
    QTest::ignoreMessage(QtDebugMsg, "Destroy undo command");
    QTest::ignoreMessage(QtDebugMsg, "Removing unused stored data");
    f.history.changeCanvasSize(QRectF(0, 0, 1, 1), QRectF(0, 0, 2, 2));
    // A removal that stands done holds its records too.
    f.history.clear();
    f.history.removeSelectedNode(f.skeleton->nodeByName("arm"));
    QTest::ignoreMessage(QtDebugMsg, "Destroy undo command");
    QTest::ignoreMessage(QtDebugMsg, "Removing unused stored data");
    f.history.clear();
    // A removal that was undone gave its node back: nothing to discard.
    f.history.removeSelectedNode(f.skeleton->nodeByName("head"));
    f.history.undo();
    QTest::ignoreMessage(QtDebugMsg, "Destroy undo command");
    f.history.clear();
    QVERIFY(f.skeleton->nodeByName("head"));
}

void TestCommands::keyEditsUndoInTheirAnimationSetupEditsWhereTheyAre()
{
    HistoryFixture f;
    test::TwoAnimations document(f.skeleton.get());
    f.history.setDocument(&document);
    f.skeleton->setAnimationMode(true);
    Skeleton::Node* arm = f.skeleton->nodeByName("arm");
    QVERIFY(arm->animation);
    f.keyRotation(arm->animation, 1.25f);
    QCOMPARE(arm->animation->channel(AnimatedObject::Rotation).keyCount(), 1u);

    // In the other animation, undo goes back to the first one and takes the key out there.
    QVERIFY(document.selectAnimation("run"));
    QCOMPARE(arm->animation->channel(AnimatedObject::Rotation).keyCount(), 0u);
    f.history.undo();
    QCOMPARE(document.currentAnimation(), QStringLiteral("walk"));
    QCOMPARE(arm->animation->channel(AnimatedObject::Rotation).keyCount(), 0u);
    QVERIFY(document.selectAnimation("run"));
    f.history.redo();
    QCOMPARE(document.currentAnimation(), QStringLiteral("walk"));
    QCOMPARE(arm->animation->channel(AnimatedObject::Rotation).evaluate(0.5f), 1.25f);

    // A set-up edit made in walk, undone and redone in run: the colour changes there, and the
    // keys run has stay.
    QVERIFY(document.selectAnimation("run"));
    f.keyRotation(arm->animation, 0.5f);
    QVERIFY(document.selectAnimation("walk"));
    const QColor colour = arm->boneColor;
    f.history.changeBoneColor(arm->joint, Qt::red);
    QVERIFY(document.selectAnimation("run"));
    const int switches = document.switches;
    f.history.undo();
    QCOMPARE(arm->boneColor, colour);
    f.history.redo();
    QCOMPARE(arm->boneColor, QColor(Qt::red));
    QCOMPARE(document.switches, switches);
    QCOMPARE(arm->animation->channel(AnimatedObject::Rotation).keyCount(), 1u);
}

void TestCommands::aNamesakeUndoneLeavesTheTracksOfItsNameAlone()
{
    HistoryFixture f;
    test::TwoAnimations document(f.skeleton.get());
    f.history.setDocument(&document);
    QGraphicsItem* arm = f.skeleton->nodeByName("arm")->joint;
    const quint64 first = f.history.addNodeToSelected(arm)->id;
    f.history.removeSelectedNode(f.skeleton->nodeByName("head"));
    f.keyRotation(f.skeleton->nodeById(first)->animation, 1.25f);
    f.history.removeSelectedNode(f.skeleton->nodeById(first));
    // The name is free again; the new node shows the keys the animation keeps under it.
    QCOMPARE(f.history.addNodeToSelected(arm)->name, QStringLiteral("New node 1"));

    // Back to before the key: the first node's tracks are its defaults again, which the animation
    // does not hold, whatever is put back after the namesake went.
    for (int i = 0; i < 4; ++i) {
        f.history.undo();
    }
    QVERIFY(f.skeleton->nodeByName("head"));
    const AnimatedObject* tracks = f.skeleton->nodeById(first)->animation;
    QVERIFY(tracks && !tracks->hasKeys());
    QVERIFY(!tracks->inUse());
}

void TestCommands::timelineKeyEditsGiveTheChannelsBack()
{
    HistoryFixture f;
    // An animation gives every node its tracks (tracks made for a first key are a step of their own).
    f.skeleton->setAnimation(AnimationTracks());
    AnimatedObject* tracks = f.skeleton->nodeByName("arm")->animation;
    QVERIFY(tracks);
    const bez3 turn[] = {{0.0f, 0.0f, 0.0f, 0.6f}, {0.2f, 0.5f, 1.0f, 1.0f}};
    tracks->channel(AnimatedObject::Rotation).setKeys(turn, 2);
    const bez3 slide[] = {{0.0f, 0.0f, 0.1f, 0.1f}, {0.3f, 0.5f, 0.3f, 0.3f}};
    tracks->channel(AnimatedObject::LocationX).setKeys(slide, 2);
    const auto channels = [tracks] {
        std::vector<std::vector<bez3>> all;
        for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
            all.push_back(keysOf(tracks->channel(channel)));
        }
        return all;
    };
    const auto same = [](const std::vector<std::vector<bez3>>& a, const std::vector<std::vector<bez3>>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), sameKeys);
    };
    const auto roundTrip = [&](const std::vector<std::vector<bez3>>& before) {
        const auto after = channels();
        for (int round = 0; round < 2; ++round) {
            f.history.undo();
            QVERIFY(same(channels(), before));
            f.history.redo();
            QVERIFY(same(channels(), after));
        }
    };
    const TSAnimationCurve& rotation = tracks->channel(AnimatedObject::Rotation);
    QList<float> curve;
    for (int frame = 0; frame <= 30; ++frame) {
        curve << rotation.evaluate(frame / 60.0f);
    }

    // Keys on frame 12 in all five channels: the values there, the curves' shapes kept.
    auto before = channels();
    f.history.createKeyframes(tracks, {0, 1, 2, 3, 4}, 12);
    QCOMPARE(f.history.undoText(), QStringLiteral("Create keyframe"));
    for (int channel = 0; channel < AnimatedObject::kChannelCount; ++channel) {
        QVERIFY(tracks->channel(channel).keyFrames().contains(12));
    }
    QCOMPARE(tracks->channel(AnimatedObject::ScaleY).keys()[0].value, 1.0f);
    for (int frame = 0; frame <= 30; ++frame) {
        QVERIFY2(std::abs(rotation.evaluate(frame / 60.0f) - curve.at(frame)) < 1e-5f, qPrintable(QString::number(frame)));
    }
    roundTrip(before);
    // Where every channel has a key already, nothing is recorded.
    f.history.createKeyframes(tracks, {0, 1, 2, 3, 4}, 12);
    QCOMPARE(f.history.count(), 1);

    // The rotation key of frame 30 to frame 45: time only, and only that channel.
    before = channels();
    bez3 moving = rotation.keys()[2];
    f.history.moveKeyframes(tracks, {AnimatedObject::Rotation}, 30, 45);
    QCOMPARE(rotation.keyFrames(), (QList<int>{0, 12, 45}));
    moving.time = 45 / 60.0f;
    QVERIFY(TSAnimationCurve::keysEqual(rotation.keys()[2], moving));
    QCOMPARE(tracks->channel(AnimatedObject::LocationX).keyFrames(), (QList<int>{0, 12, 30}));
    roundTrip(before);
    // Onto a key: nothing; past one: the keys stay in time order.
    f.history.moveKeyframes(tracks, {AnimatedObject::Rotation}, 45, 12);
    QCOMPARE(f.history.count(), 2);
    before = channels();
    f.history.moveKeyframes(tracks, {AnimatedObject::Rotation}, 0, 20);
    QCOMPARE(rotation.keyFrames(), (QList<int>{12, 20, 45}));
    roundTrip(before);

    // Deleting the rotation key of frame 12 leaves the other channels' keys there.
    before = channels();
    f.history.deleteKeyframes(tracks, {AnimatedObject::Rotation}, 12);
    QCOMPARE(rotation.keyFrames(), (QList<int>{20, 45}));
    QVERIFY(tracks->channel(AnimatedObject::LocationX).keyFrames().contains(12));
    roundTrip(before);
    f.history.deleteKeyframes(tracks, {AnimatedObject::Rotation}, 13);
    QCOMPARE(f.history.count(), 4);
}

void TestCommands::playbackSettingsAreSteps()
{
    HistoryFixture f;
    QSignalSpy speeds(&f.history, &HistoryManager::playbackSpeedChanged);
    QSignalSpy loops(&f.history, &HistoryManager::loopingChanged);
    f.history.changePlaybackSpeed(2.0f);
    QCOMPARE(f.skeleton->timeScale(), 2.0f);
    QCOMPARE(f.history.undoText(), QStringLiteral("Change speed"));
    for (float refused : {0.0f, -1.0f, 2.0f, static_cast<float>(qQNaN()), static_cast<float>(qInf())}) {
        f.history.changePlaybackSpeed(refused);
    }
    QCOMPARE(f.history.count(), 1);
    f.history.undo();
    QCOMPARE(f.skeleton->timeScale(), 1.0f);
    QCOMPARE(speeds.size(), 2);
    QCOMPARE(speeds.last().first().toFloat(), 1.0f);

    f.history.changeLooping(false);
    QVERIFY(!f.skeleton->isLooping());
    QCOMPARE(f.history.undoText(), QStringLiteral("Play once"));
    f.history.changeLooping(false);
    QCOMPARE(f.history.count(), 1);
    f.history.undo();
    QVERIFY(f.skeleton->isLooping());
    QCOMPARE(loops.size(), 2);
    QCOMPARE(loops.last().first().toBool(), true);
}

void TestCommands::restackingKeepsTheOrderOfSeveralImages_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<QString>("text");
    // Images 0..3; images 1 and 2 are moved.
    QTest::newRow("to front") << int(Skeleton::BringToFront) << QList<int>{0, 3, 1, 2} << "bring 2 assets to front";
    QTest::newRow("forward") << int(Skeleton::BringForward) << QList<int>{0, 3, 1, 2} << "bring 2 assets forward";
    QTest::newRow("backward") << int(Skeleton::SendBackward) << QList<int>{1, 2, 0, 3} << "send 2 assets backward";
    QTest::newRow("to back") << int(Skeleton::SendToBack) << QList<int>{1, 2, 0, 3} << "send 2 assets to back";
}

void TestCommands::restackingKeepsTheOrderOfSeveralImages()
{
    QFETCH(int, action);
    QFETCH(QList<int>, order);
    QFETCH(QString, text);
    HistoryFixture f;
    QList<Skeleton::Asset*> images;
    for (const Qt::GlobalColor colour : {Qt::red, Qt::green, Qt::blue, Qt::yellow}) {
        images << f.skeleton->addImage("spine", filled(colour), QTransform(), false);
    }
    const Skeleton::Asset* dummy = f.skeleton->addImage("hip", filled(Qt::gray), QTransform(), true);
    const QList<quint64> before = f.imageOrder();
    f.history.changeAssetszValue({images.at(2)->placeholder, images.at(1)->placeholder},
                                 static_cast<Skeleton::ZValueChangeAction>(action));
    QList<quint64> expected;
    for (int i : order) {
        expected << images.at(i)->id;
    }
    QCOMPARE(f.imageOrder(), expected);
    QCOMPARE(f.history.undoText(), text);
    for (int z = 0; z < images.size(); ++z) {
        QCOMPARE(f.skeleton->images().at(static_cast<size_t>(z))->item->zValue(), double(z));
    }
    QVERIFY(dummy->item->zValue() < 0);
    f.history.undo();
    QCOMPARE(f.imageOrder(), before);
}

void TestCommands::reparentingKeepsWhereThingsAreDrawn()
{
    HistoryFixture f;
    Skeleton::Node* head = f.skeleton->nodeByName("head");
    Skeleton::Node* arm = f.skeleton->nodeByName("arm");
    head->restTransform = QTransform().rotate(30).scale(1.5, 0.5);
    arm->restTransform = QTransform().rotate(-70);
    f.skeleton->rebuildHierarchy();
    Skeleton::Asset* image = f.skeleton->addImage("head", filled(Qt::red), QTransform::fromTranslate(4, 3), false);
    const QTransform headScene = head->joint->sceneTransform();
    const QTransform imageScene = image->placeholder->sceneTransform();
    const QTransform headRest = head->restTransform;
    const auto near = [](const QTransform& a, const QTransform& b) {
        const qreal values[] = {a.m11() - b.m11(), a.m12() - b.m12(), a.m21() - b.m21(),
                                a.m22() - b.m22(), a.dx() - b.dx(),   a.dy() - b.dy()};
        return std::all_of(std::begin(values), std::end(values), [](qreal v) { return std::abs(v) < 1e-6; });
    };

    // A node under another node, and an image bound to another node: both drawn where they were.
    QVERIFY(f.history.changeNodeParent(head->joint, arm->joint));
    QCOMPARE(head->parent, QStringLiteral("arm"));
    QVERIFY(near(head->joint->sceneTransform(), headScene));
    QVERIFY(near(image->placeholder->sceneTransform(), imageScene));
    QVERIFY(f.history.changeAssetParent(image->placeholder, f.skeleton->nodeByName("hip")->joint));
    QCOMPARE(image->nodeName, QStringLiteral("hip"));
    QVERIFY(near(image->placeholder->sceneTransform(), imageScene));
    // Under its own child it cannot go.
    QVERIFY(!f.history.changeNodeParent(arm->joint, head->joint));
    QVERIFY(!f.history.changeNodeParent(f.skeleton->nodeByName("spine")->joint, head->joint));

    f.history.undo();
    f.history.undo();
    QCOMPARE(head->parent, QStringLiteral("spine"));
    QCOMPARE(image->nodeName, QStringLiteral("head"));
    QCOMPARE(head->restTransform, headRest);
    QVERIFY(near(head->joint->sceneTransform(), headScene));
    QCOMPARE(f.history.undoText(), QString());
    f.history.redo();
    QCOMPARE(f.history.undoText(), QStringLiteral("reparent node"));
    QCOMPARE(head->parent, QStringLiteral("arm"));
}

BONESTAGE_WIDGETS_TEST_MAIN(TestCommands)
#include "tst_Commands.moc"
