// Skeleton, node and animation models: their stored form and round trips through files.
#include "AnimationModelClasses.h"
#include "AnimationPersistence.h"
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "ModelSupport.h"
#include "NodeRecord.h"
#include "TSModelController.h"
#include "TSModelSkeleton.h"
#include "TSModelSkeletonAnimation.h"
#include "TSModelSkeletonNode.h"
#include "TSModelSkeletonNodeAnimation.h"
#include "TSPAttribute.h"

#include "TestMain.h"

#include <QtTest>

using namespace cocos2d;
using test::added;

namespace {

template <class T> T* firstOf(const char* className)
{
    CCArray* models = TSModelController::instance()->modelsOfClass(className);
    return models && models->count() > 0 ? dynamic_cast<T*>(models->objectAtIndex(0)) : nullptr;
}

} // namespace

class TestSkeletonModels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void nodeAttributesAndEquality();
    void nodeRoundTripThroughFiles();
    void skeletonIgnoreList();
    void animationRoundTripThroughFiles();
    void orphanTracksAreAdopted();
    void badChildrenAndCurvesAreSkipped();
    void lengthSurvivesSaveAndReopen();
    void durationsAndKeyTimesAreClampedOnLoad();

private:
    QTemporaryDir m_dir;
};

void TestSkeletonModels::initTestCase()
{
    AnimationModelClasses::registerAll();
}

void TestSkeletonModels::init()
{
    TSModelController::destroyInstance();
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

void TestSkeletonModels::nodeAttributesAndEquality()
{
    TSModelSkeletonNode node;
    QStringList names;
    for (CCObject* obj : *node.attributes()) {
        names << QString::fromStdString(static_cast<TSPAttribute*>(obj)->name());
    }
    QCOMPARE(names, QStringList({"Name", "name", "defaultName", "parent", "position", "size", "zOrder", "boneColor",
                                 "m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"}));

    // Nodes are the same by name and parent.
    NodeRecord a;
    a.name = "hand";
    a.parent = "arm";
    TSModelSkeletonNode first;
    first.fillFrom(a);
    TSModelSkeletonNode second;
    a.position = QPointF(50, 50);
    second.fillFrom(a);
    QVERIFY(first.isSameAs(&second));
    a.parent = "leg";
    TSModelSkeletonNode third;
    third.fillFrom(a);
    QVERIFY(!first.isSameAs(&third));

    // A node file without the transform still gives a usable (identity) rest pose.
    TSModelSkeletonNode bare;
    QVERIFY(bare.toRecord().restTransform.isIdentity());
}

void TestSkeletonModels::nodeRoundTripThroughFiles()
{
    NodeRecord record;
    record.name = "forearm";
    record.defaultName = "arm_lower";
    record.parent = "upper arm";
    record.position = QPointF(10.7, -3.9);
    record.size = 24.0f;
    record.zOrder = 3;
    record.boneColor = QColor(200, 40, 10, 255);
    record.restTransform = QTransform().rotate(30).translate(5, 7);
    auto* model = added(new TSModelSkeletonNode());
    model->fillFrom(record);

    NodeRecord faint = record;
    faint.name = "faint";
    faint.boneColor = QColor(10, 200, 10, 20);
    added(new TSModelSkeletonNode())->fillFrom(faint);

    QVERIFY(test::roundTripModels(m_dir.path()));
    CCArray* nodes = TSModelController::instance()->modelsOfClass(TSModelSkeletonNode::kClassName);
    QCOMPARE(nodes->count(), 2u);
    auto* loaded = static_cast<TSModelSkeletonNode*>(nodes->objectAtIndex(0));
    QCOMPARE(loaded->name(), std::string("forearm"));
    const NodeRecord back = loaded->toRecord();
    QCOMPARE(back.name, record.name);
    QCOMPARE(back.defaultName, record.defaultName);
    QCOMPARE(back.parent, record.parent);
    QCOMPARE(back.position, QPointF(10, -3));
    QCOMPARE(back.size, 24.0f);
    QCOMPARE(back.zOrder, 3);
    QCOMPARE(back.boneColor, record.boneColor);
    const QPointF probe(3, 4);
    QVERIFY((back.restTransform.map(probe) - record.restTransform.map(probe)).manhattanLength() < 1e-3);

    const NodeRecord faintBack = static_cast<TSModelSkeletonNode*>(nodes->objectAtIndex(1))->toRecord();
    QCOMPARE(faintBack.boneColor, NodeRecord::defaultBoneColor());
}

void TestSkeletonModels::skeletonIgnoreList()
{
    TSModelSkeleton skeleton;
    QVERIFY(skeleton.ignoreList().isEmpty());
    skeleton.setIgnoreList({"Walk", "", "Jump"});
    QCOMPARE(skeleton.ignoreList(), QStringList({"Walk", "", "Jump"}));
    skeleton.setSkeletonName("Biped");
    skeleton.setAnimationName("Walk");
    CCDictionary* dict = skeleton.attributesDictionary();
    QCOMPARE(dict->objectForKeyAs<CCDictionary>("ignore_list")->valueForKey("value")->string(),
             std::string("Walk;;Jump"));
    TSModelSkeleton other;
    other.setSkeletonName("Biped");
    QVERIFY(skeleton.isSameAs(&other));
    other.setSkeletonName("Quadruped");
    QVERIFY(!skeleton.isSameAs(&other));
}

void TestSkeletonModels::animationRoundTripThroughFiles()
{
    AnimationTracks tracks;
    auto hip = std::make_unique<AnimatedObject>();
    hip->setName("hip");
    hip->setDefaultName("pelvis");
    hip->setDuration(1.25f, true);
    hip->setChannelKeys(AnimatedObject::LocationY, {{0.1f, 0, 0.1f, 0.2f}, {0.05f, 0.5f, 0, 0.05f}});
    hip->setChannelKeys(AnimatedObject::ScaleX, {{1, 0, 1, 1}, {1.5f, 1.0f, 1.5f, 1.5f}});
    hip->channel(AnimatedObject::ScaleX).setPreset(1);
    hip->setInUse(true);
    AnimatedObject* hipTracks = tracks.append(std::move(hip));
    auto unused = std::make_unique<AnimatedObject>();
    unused->setName("not bound");
    tracks.append(std::move(unused));

    AnimationPersistence::save("model/Walk.json", tracks, QPointF(12, -4));
    auto* saved = firstOf<TSModelSkeletonAnimation>(TSModelSkeletonAnimation::kClassName);
    QVERIFY(saved);
    QCOMPARE(saved->children().count(), 1u);
    // The stored curves carry their preset numbers; the tracks keep theirs.
    auto* track = dynamic_cast<TSModelSkeletonNodeAnimation*>(saved->children().at(0));
    QVERIFY(track);
    auto* stored = track->attributesDictionary()->objectForKeyAs<CCArray>("animationsArray");
    QVERIFY(stored && stored->count() == 5);
    QStringList presets;
    for (CCObject* element : *stored) {
        auto* curve = static_cast<CCDictionary*>(element)->objectForKeyAs<CCDictionary>("animation");
        presets << QString::fromStdString(curve->valueForKey("preset")->string());
    }
    QCOMPARE(presets, QStringList({"4", "4", "4", "1", "4"}));
    QCOMPARE(hipTracks->channel(AnimatedObject::ScaleX).preset(), 1);

    QVERIFY(test::roundTripModels(m_dir.path()));
    AnimationTracks loaded;
    QPointF axes;
    QVERIFY(AnimationPersistence::load("model/Walk.json", &loaded, &axes));
    QCOMPARE(axes, QPointF(12, -4));
    QCOMPARE(loaded.count(), 1);
    AnimatedObject* back = loaded.at(0);
    QCOMPARE(back->name(), QStringLiteral("hip"));
    QCOMPARE(back->defaultName(), QStringLiteral("pelvis"));
    QCOMPARE(back->duration(), 1.25f);
    QCOMPARE(back->channel(AnimatedObject::LocationY).keyCount(), 2);
    QVERIFY(TSAnimationCurve::keysEqual(back->channel(AnimatedObject::LocationY).key(1), bez3{0.05f, 0.5f, 0, 0.05f}));
    QCOMPARE(back->channel(AnimatedObject::ScaleX).evaluate(1.0f), 1.5f);
    QCOMPARE(back->channel(AnimatedObject::Rotation).keyCount(), 0);
    QCOMPARE(back->channel(AnimatedObject::ScaleX).preset(), 1);
    QCOMPARE(back->channel(AnimatedObject::ScaleY).preset(), TSAnimationCurve::kCustomPreset);
    QVERIFY(!AnimationPersistence::load("model/Run.json", &loaded));

    // Saved again, the animation replaces the models it was read from.
    hipTracks->channel(AnimatedObject::Rotation).insertKey(2.0f, 0.0f, false);
    AnimationPersistence::save("model/Walk.json", tracks, QPointF(12, -4));
    TSModelController* controller = TSModelController::instance();
    QCOMPARE(controller->modelsOfClass(TSModelSkeletonAnimation::kClassName)->count(), 1u);
    QCOMPARE(controller->modelsOfClass(TSModelSkeletonNodeAnimation::kClassName)->count(), 1u);
    AnimationTracks again;
    QVERIFY(AnimationPersistence::load("model/Walk.json", &again));
    QCOMPARE(again.at(0)->channel(AnimatedObject::Rotation).evaluate(0), 2.0f);
}

void TestSkeletonModels::orphanTracksAreAdopted()
{
    auto* animation = added(new TSModelSkeletonAnimation());
    animation->setName("anims/idle.json");
    for (const char* node : {"a", "b"}) {
        auto* track = added(new TSModelSkeletonNodeAnimation());
        track->setNodeName(node);
        track->setAnimationName("anims/idle.json");
        TSAnimationCurve curve;
        curve.insertKey(0.3f, 0.0f, false);
        track->appendCurve(curve);
    }
    auto* other = added(new TSModelSkeletonNodeAnimation());
    other->setNodeName("c");
    other->setAnimationName("anims/run.json");

    AnimationTracks tracks;
    QVERIFY(AnimationPersistence::load("anims/idle.json", &tracks));
    QCOMPARE(tracks.count(), 2);
    QCOMPARE(tracks.at(0)->name(), QStringLiteral("a"));
    QCOMPARE(tracks.at(1)->channel(AnimatedObject::LocationX).evaluate(0), 0.3f);
}

void TestSkeletonModels::badChildrenAndCurvesAreSkipped()
{
    auto* track = added(new TSModelSkeletonNodeAnimation());
    auto* skeleton = added(new TSModelSkeleton());
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::create("500"), "id");
    auto* children = CCArray::create();
    for (unsigned id : {track->id(), skeleton->id(), 99999u}) {
        children->addObject(CCString::createWithFormat("%u", id));
    }
    children->addObject(CCDictionary::create());
    dict->setObject(children, "children");
    TSModelSkeletonAnimation animation;
    animation.loadAttributes(dict);
    animation.loadConnections(CCDictionary::create());
    QCOMPARE(animation.children().count(), 1u);
    QCOMPARE(animation.children().at(0), track);

    // Curves: one good, one without "animation", one of the wrong type; seven curves in all
    // would carry channels past the fifth, which loading ignores.
    auto* curves = CCArray::create();
    TSAnimationCurve curve;
    curve.insertKey(2.0f, 0.0f, false);
    for (int i = 0; i < 7; ++i) {
        auto* element = CCDictionary::create();
        element->setObject(curve.saveToDictionary(), "animation");
        curves->addObject(element);
    }
    auto* noCurve = CCDictionary::create();
    noCurve->setObject(CCString::create("x"), "other");
    curves->insertObject(noCurve, 1);
    curves->insertObject(CCString::create("wrong"), 2);
    auto* trackDict = CCDictionary::create();
    trackDict->setObject(curves, "animationsArray");
    auto* loadedTrack = added(new TSModelSkeletonNodeAnimation());
    loadedTrack->loadAttributes(trackDict);
    QCOMPARE(loadedTrack->curves().size(), size_t(7));
    loadedTrack->setAnimationName("broken");
    auto* owner = added(new TSModelSkeletonAnimation());
    owner->setName("broken");
    AnimationTracks tracks;
    QVERIFY(AnimationPersistence::load("broken", &tracks));
    QCOMPARE(tracks.count(), 1);
    QCOMPARE(tracks.at(0)->channel(AnimatedObject::ScaleY).evaluate(0), 2.0f);

    TSModelSkeletonNodeAnimation empty;
    empty.loadAttributes(nullptr);
    empty.loadAttributes(CCDictionary::create());
    QVERIFY(empty.curves().empty());
}

void TestSkeletonModels::lengthSurvivesSaveAndReopen()
{
    AnimationTracks tracks;
    auto leg = std::make_unique<AnimatedObject>();
    leg->setName("leg");
    leg->setDuration(0.6f, true);
    leg->setChannelKeys(AnimatedObject::Rotation, {{0, 0, 0, 0}, {1, 0.6f, 1, 1}});
    leg->setInUse(true);
    tracks.append(std::move(leg));
    NodeRecord legNode;
    legNode.name = "leg";
    NodeRecord tailNode;
    tailNode.name = "tail";
    QTest::ignoreMessage(QtDebugMsg, "Item with no animation found:tail setting default one");
    tracks.bind({&legNode, &tailNode});
    QCOMPARE(tracks.maxDuration(), 0.6f);

    AnimationPersistence::save("model/Run.json", tracks, QPointF());
    QVERIFY(test::roundTripModels(m_dir.path()));
    AnimationTracks loaded;
    QVERIFY(AnimationPersistence::load("model/Run.json", &loaded));
    // The default track is not stored: binding makes it again, and it still does not count.
    QCOMPARE(loaded.count(), 1);
    QTest::ignoreMessage(QtDebugMsg, "Item with no animation found:tail setting default one");
    loaded.bind({&legNode, &tailNode});
    QCOMPARE(loaded.count(), 2);
    QCOMPARE(loaded.at(1)->duration(), 1.63f);
    QCOMPARE(loaded.maxDuration(), 0.6f);
}

void TestSkeletonModels::durationsAndKeyTimesAreClampedOnLoad()
{
    auto* animation = added(new TSModelSkeletonAnimation());
    animation->setName("model/Broken.json");
    auto* dict = CCDictionary::create();
    auto* duration = CCDictionary::create();
    duration->setObject(CCString::create("1e12"), "value");
    dict->setObject(duration, "duration");
    auto* points = CCArray::create();
    for (const char* text :
         {"{0,nan}", "{0,0}", "{inf,1}", "{inf,-inf}", "{-nan,2}", "{0,0}", "{1e30,3}", "{0,0}"}) {
        points->addObject(CCString::create(text));
    }
    auto* curve = CCDictionary::create();
    curve->setObject(points, "points");
    auto* element = CCDictionary::create();
    element->setObject(curve, "animation");
    auto* curves = CCArray::create();
    curves->addObject(element);
    dict->setObject(curves, "animationsArray");
    auto* track = added(new TSModelSkeletonNodeAnimation());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("duration"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("key"));
    track->loadAttributes(dict);
    track->setAnimationName("model/Broken.json");
    QCOMPARE(track->duration(), 3600.0f);

    AnimationTracks tracks;
    QVERIFY(AnimationPersistence::load("model/Broken.json", &tracks));
    const TSAnimationCurve& loaded = tracks.at(0)->channel(AnimatedObject::LocationX);
    QCOMPARE(loaded.keyCount(), 4);
    const bez3 expected[] = {{0, 0, 0, 0}, {0, 3600, 1, 0}, {0, 0, 2, 0}, {0, 3600, 3, 0}};
    for (int i = 0; i < 4; ++i) {
        QVERIFY2(TSAnimationCurve::keysEqual(loaded.key(i), expected[i]), qPrintable(QString::number(i)));
    }
    QCOMPARE(tracks.at(0)->duration(), 3600.0f);
    QCOMPARE(loaded.keyFrames(), QList<int>({0, 216000, 0, 216000}));
}

BONESTAGE_GUILESS_TEST_MAIN(TestSkeletonModels)
#include "tst_SkeletonModels.moc"
