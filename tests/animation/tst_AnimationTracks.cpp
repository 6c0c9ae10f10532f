// Tracks of an animation: durations, binding to nodes, default tracks and their clean-up.
#include "AnimatedObject.h"
#include "AnimationTracks.h"
#include "NodeRecord.h"

#include "TestMain.h"

#include <QtTest>

namespace {

AnimatedObject* appendTracks(AnimationTracks& tracks, const QString& name, const QString& defaultName = QString())
{
    auto object = std::make_unique<AnimatedObject>();
    object->setName(name);
    object->setDefaultName(defaultName);
    return tracks.append(std::move(object));
}

NodeRecord nodeNamed(const QString& name, const QString& defaultName = QString())
{
    NodeRecord node;
    node.name = name;
    node.defaultName = defaultName;
    return node;
}

} // namespace

class TestAnimationTracks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void durationRules();
    void bindingByNameThenDefaultName();
    void nodeWithoutTracksGetsDefaultAndRestPose();
    void cleanupDropsSingleDefaultKeys();
    void defaultTracksNeverLengthenTheAnimation();
};

void TestAnimationTracks::durationRules()
{
    // Keys lengthen a duration unless it was set explicitly.
    AnimatedObject tracks;
    tracks.setName("hip");
    tracks.setDuration(1.63f, false);
    tracks.setChannelKeys(AnimatedObject::Rotation, {{0, 0, 0, 0}, {0, 2.5f, 1, 0}});
    QCOMPARE(tracks.duration(), 2.5f);

    AnimatedObject fixed;
    fixed.setDuration(1.0f, true);
    QVERIFY(fixed.isDurationExplicit());
    fixed.setChannelKeys(AnimatedObject::Rotation, {{0, 4.0f, 1, 0}});
    QCOMPARE(fixed.duration(), 1.0f);
    fixed.setDuration(3.0f, false);
    QCOMPARE(fixed.duration(), 1.0f);
    fixed.setDuration(2.0f, true);
    QCOMPARE(fixed.duration(), 2.0f);

    // A non-positive explicit duration is not explicit.
    AnimatedObject zero;
    zero.setDuration(0.0f, true);
    QVERIFY(!zero.isDurationExplicit());
    zero.setChannelKeys(AnimatedObject::ScaleX, {{1, 0.75f, 1, 1}});
    QCOMPARE(zero.duration(), 0.75f);

    // A new name starts the duration afresh; channels past the fifth are ignored.
    zero.setDuration(2.0f, true);
    zero.setName("arm");
    QCOMPARE(zero.duration(), 0.0f);
    QVERIFY(!zero.isDurationExplicit());
    AnimatedObject none;
    none.setChannelKeys(5, {{0, 9, 1, 0}});
    none.setChannelKeys(-1, {{0, 9, 1, 0}});
    QCOMPARE(none.duration(), 0.0f);
    for (int i = 0; i < AnimatedObject::kChannelCount; ++i) {
        QCOMPARE(none.channel(i).keyCount(), 0);
    }

    // Durations stay finite: not a number reads as none, infinity as an hour.
    none.setDuration(std::nanf(""), true);
    QCOMPARE(none.duration(), 0.0f);
    QVERIFY(!none.isDurationExplicit());
    none.setDuration(-INFINITY, false);
    QCOMPARE(none.duration(), 0.0f);
    none.setChannelKeys(AnimatedObject::LocationX, {{0, 0, 0, 0}, {0, INFINITY, 1, 0}});
    QCOMPARE(none.duration(), 3600.0f);
    fixed.setDuration(INFINITY, true);
    QCOMPARE(fixed.duration(), 3600.0f);
    // Long but finite durations are the exporter's to refuse, not lost here.
    fixed.setDuration(4000.0f, true);
    QCOMPARE(fixed.duration(), 4000.0f);
}

void TestAnimationTracks::bindingByNameThenDefaultName()
{
    AnimationTracks tracks;
    AnimatedObject* armTracks = appendTracks(tracks, "old arm name", "arm");
    AnimatedObject* hipTracks = appendTracks(tracks, "hip");
    NodeRecord hip = nodeNamed("hip");
    NodeRecord arm = nodeNamed("renamed arm", "arm");
    tracks.bind({&hip, &arm});
    QCOMPARE(hip.animation, hipTracks);
    QCOMPARE(arm.animation, armTracks);
    // Whether the animation keeps them is not binding's to decide.
    QVERIFY(!hipTracks->inUse() && !armTracks->inUse());
    QCOMPARE(tracks.count(), 2);

    // An empty default name matches nothing by default name.
    NodeRecord nameless = nodeNamed("tail");
    appendTracks(tracks, "something");
    QTest::ignoreMessage(QtDebugMsg, "Item with no animation found:tail setting default one");
    tracks.bind({&nameless});
    QCOMPARE(nameless.animation->name(), QStringLiteral("tail"));
    QCOMPARE(tracks.count(), 4);
}

void TestAnimationTracks::nodeWithoutTracksGetsDefaultAndRestPose()
{
    const auto object = AnimatedObject::createDefault("spine");
    QCOMPARE(object->name(), QStringLiteral("spine"));
    QCOMPARE(object->duration(), 1.63f);
    QVERIFY(!object->isDurationExplicit());
    QVERIFY(!object->inUse());
    const float rest[] = {0, 0, 0, 1, 1};
    for (int i = 0; i < AnimatedObject::kChannelCount; ++i) {
        QCOMPARE(object->channel(i).keyCount(), 1);
        QVERIFY(TSAnimationCurve::keysEqual(object->channel(i).key(0), bez3{0, 0, rest[i], 0}));
    }

    AnimationTracks tracks;
    NodeRecord node = nodeNamed("head");
    QTest::ignoreMessage(QtDebugMsg, "Item with no animation found:head setting default one");
    tracks.bind({&node});
    QVERIFY(node.animation);
    QCOMPARE(tracks.maxDuration(), 1.63f);
    // The default keys restate the defaults, so the clean-up empties every channel.
    for (int i = 0; i < AnimatedObject::kChannelCount; ++i) {
        QCOMPARE(node.animation->channel(i).keyCount(), 0);
        QCOMPARE(node.animation->displayValue(i, 0.5f), rest[i]);
    }
}

void TestAnimationTracks::cleanupDropsSingleDefaultKeys()
{
    AnimationTracks tracks;
    AnimatedObject* bound = appendTracks(tracks, "n");
    bound->setChannelKeys(AnimatedObject::LocationX, {{0, 0, 0, 0}});          // single default: dropped
    bound->setChannelKeys(AnimatedObject::LocationY, {{0, 0, 0.5f, 0}});       // not default: kept
    bound->setChannelKeys(AnimatedObject::ScaleX, {{1, 0, 1, 1}});             // default 1: dropped
    bound->setChannelKeys(AnimatedObject::ScaleY, {{0, 0, 1, 0}, {0, 1, 1, 0}}); // two keys: kept
    bound->setChannelKeys(AnimatedObject::Rotation, {{0, 0, 1, 0}});           // rotation 1: kept
    NodeRecord node = nodeNamed("n");
    tracks.bind({&node});
    QCOMPARE(bound->channel(AnimatedObject::LocationX).keyCount(), 0);
    QCOMPARE(bound->channel(AnimatedObject::LocationY).keyCount(), 1);
    QCOMPARE(bound->channel(AnimatedObject::ScaleX).keyCount(), 0);
    QCOMPARE(bound->channel(AnimatedObject::ScaleY).keyCount(), 2);
    QCOMPARE(bound->channel(AnimatedObject::Rotation).keyCount(), 1);
    QCOMPARE(tracks.findByName("n"), bound);
    QCOMPARE(tracks.indexOf(bound), 0);
    QVERIFY(tracks.take(bound));
    QVERIFY(tracks.isEmpty());
}

void TestAnimationTracks::defaultTracksNeverLengthenTheAnimation()
{
    AnimationTracks tracks;
    AnimatedObject* run = appendTracks(tracks, "leg");
    run->setDuration(0.6f, true);
    run->setChannelKeys(AnimatedObject::Rotation, {{0, 0, 0, 0}, {1, 0.6f, 1, 1}});
    appendTracks(tracks, "arm")->setChannelKeys(AnimatedObject::LocationX, {{0, 0, 0, 0}, {0.5f, 0.4f, 0.5f, 0.5f}});
    NodeRecord leg = nodeNamed("leg");
    NodeRecord arm = nodeNamed("arm");
    NodeRecord added = nodeNamed("added joint");
    QTest::ignoreMessage(QtDebugMsg, "Item with no animation found:added joint setting default one");
    tracks.bind({&leg, &arm, &added});
    QCOMPARE(added.animation->duration(), 1.63f);
    QCOMPARE(tracks.maxDuration(), 0.6f);

    // Once every track is empty, the longest of them counts again.
    for (AnimatedObject* object : {leg.animation, arm.animation}) {
        for (int i = 0; i < AnimatedObject::kChannelCount; ++i) {
            object->channel(i).setKeys(nullptr, 0);
        }
    }
    QCOMPARE(tracks.maxDuration(), 1.63f);
    QCOMPARE(AnimationTracks().maxDuration(), 0.0f);
}

BONESTAGE_GUILESS_TEST_MAIN(TestAnimationTracks)
#include "tst_AnimationTracks.moc"
