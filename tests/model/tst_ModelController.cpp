// Model ids, registration, adding with replacement, removal and reset.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "ModelSupport.h"
#include "TSModelGeneralSettings.h"
#include "TestMain.h"
#include "ValueTexts.h"

#include <QtTest>

using namespace cocos2d;
using test::added;

namespace {

// A model class that considers models with the same name the same.
class NamedModel : public TSModel
{
public:
    explicit NamedModel(const std::string& name) : TSModel("NamedModel", name) {}
    bool isSameAs(TSModel* other) override { return other->name() == name(); }
};

} // namespace

class TestModelController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void firstModelHasIdOneAndIdsKeepGrowingAcrossReset();
    void addingReplacesOnlyTheSameModels();
    void removeModelAndRemoveModelsOfClass();
    void createModelOfRegisteredClassesOnly();
    void animationWithNameMatchesExactly();
    void idClassNameAndNameStoredAndLoaded();
    void logIsCutAt254Characters();
};

void TestModelController::init()
{
    TSModelController::destroyInstance();
}

void TestModelController::cleanup()
{
    TSModelController::destroyInstance();
}

void TestModelController::firstModelHasIdOneAndIdsKeepGrowingAcrossReset()
{
    QCOMPARE(TSModelController::currentId(), 0u);
    auto* first = new TSModel("Plain", "a");
    QCOMPARE(first->id(), 1u);
    first->release();
    TSModelController* controller = TSModelController::instance();
    // The controller's own settings model took id 2.
    QCOMPARE(TSModelGeneralSettings::current()->id(), 2u);
    controller->reset();
    auto* later = new TSModel("Plain", "b");
    QCOMPARE(later->id(), 4u);
    later->release();
    TSModelController::destroyInstance();
    QCOMPARE(TSModelController::currentId(), 0u);
}

void TestModelController::addingReplacesOnlyTheSameModels()
{
    // A new controller holds one settings model; a replacement takes its place.
    TSModelController* controller = TSModelController::instance();
    CCArray* settings = controller->modelsOfClass("TSModelGeneralSettings");
    QCOMPARE(settings ? settings->count() : 0u, 1u);
    auto* replacement = added(new TSModelGeneralSettings(), true);
    QCOMPARE(settings->count(), 1u);
    QCOMPARE(settings->objectAtIndex(0), replacement);
    QCOMPARE(TSModelGeneralSettings::current(), replacement);
    QCOMPARE(controller->modelWithId(replacement->id()), replacement);

    // Models that are not the same stay, in order, even when replacing.
    auto* a = added(new TSModel("Plain", "same"));
    auto* b = added(new TSModel("Plain", "same"), true);
    QCOMPARE(controller->modelsOfClass("Plain")->count(), 2u);
    QCOMPARE(controller->modelsOfClass("Plain")->objectAtIndex(0), a);
    QCOMPARE(controller->modelsOfClass("Plain")->objectAtIndex(1), b);
    QCOMPARE(controller->classesWithModels(), std::vector<std::string>({"TSModelGeneralSettings", "Plain"}));

    auto* keep = added(new NamedModel("keep"));
    const unsigned oldId = added(new NamedModel("x"))->id();
    auto* fresh = added(new NamedModel("x"), true);
    CCArray* models = controller->modelsOfClass("NamedModel");
    QCOMPARE(models->count(), 2u);
    QCOMPARE(models->objectAtIndex(0), keep);
    QCOMPARE(models->objectAtIndex(1), fresh);
    QCOMPARE(controller->modelWithId(oldId), nullptr);
}

void TestModelController::removeModelAndRemoveModelsOfClass()
{
    TSModelController* controller = TSModelController::instance();
    auto* a = added(new TSModel("Plain", "a"));
    a->retain();
    added(new TSModel("Plain", "b"));
    added(new TSModel("Plain", "c"));
    controller->removeModel(a);
    QCOMPARE(controller->modelsOfClass("Plain")->count(), 2u);
    QCOMPARE(controller->modelWithId(a->id()), nullptr);
    QCOMPARE(a->retainCount(), 1u);
    controller->removeModel(a); // not registered any more: nothing happens
    a->release();

    controller->removeModelsOfClass("Plain");
    QCOMPARE(controller->modelsOfClass("Plain")->count(), 0u);
    controller->removeModelsOfClass("Unknown");

    controller->reset();
    QCOMPARE(controller->modelsOfClass("Plain"), nullptr);
    QCOMPARE(controller->modelsOfClass("TSModelGeneralSettings")->count(), 1u);
}

void TestModelController::createModelOfRegisteredClassesOnly()
{
    TSModelController* controller = TSModelController::instance();
    QCOMPARE(controller->createModel("NoSuchClass"), nullptr);
    TSModel* settings = controller->createModel("TSModelGeneralSettings");
    QVERIFY(settings);
    QCOMPARE(settings->className(), std::string("TSModelGeneralSettings"));
    QVERIFY(!controller->modelWithId(settings->id()));
    settings->release();

    TSModelController::registerClass("NamedModel", [] { return new NamedModel("made"); });
    TSModel* named = controller->createModel("NamedModel");
    QCOMPARE(named->name(), std::string("made"));
    named->release();
    QCOMPARE(TSModelController::registeredClasses(),
             std::vector<std::string>({"NamedModel", "TSModelGeneralSettings"}));
}

void TestModelController::animationWithNameMatchesExactly()
{
    TSModelController* controller = TSModelController::instance();
    added(new TSModel("TSModelSkeletonAnimation", "walk"));
    auto* run = added(new TSModel("TSModelSkeletonAnimation", "run"));
    added(new TSModel("TSModelSkeletonAnimation", "run"));
    QCOMPARE(controller->animationWithName("run"), run);
    QCOMPARE(controller->animationWithName("Run"), nullptr);
    QCOMPARE(controller->animationWithName("ru"), nullptr);
}

void TestModelController::idClassNameAndNameStoredAndLoaded()
{
    TSModel model("Plain", "");
    CCDictionary* dict = model.attributesDictionary();
    QCOMPARE(test::keysOf(dict), QStringList({"id", "className"}));
    QCOMPARE(dict->valueForKey("id")->string(), std::to_string(model.id()));
    QCOMPARE(dict->valueForKey("className")->string(), std::string("Plain"));
    QCOMPARE(model.connectionsDictionary()->count(), 1u);
    model.setName("walk");
    QCOMPARE(
        model.attributesDictionary()->objectForKeyAs<CCDictionary>("Name")->valueForKey("value")->string(),
        std::string("walk"));

    // A missing or bad id loads as zero; a name that is not a dictionary leaves the name.
    dict = CCDictionary::create();
    model.loadAttributes(dict);
    QCOMPARE(model.id(), 0u);
    dict->setObject(CCString::create("12"), "id");
    model.loadAttributes(dict);
    QCOMPARE(model.id(), 12u);
    dict->setObject(CCString::create("abc"), "id");
    model.loadAttributes(dict);
    QCOMPARE(model.id(), 0u);
    dict->setObject(CCArray::create(), "id");
    dict->setObject(CCString::create("not a dictionary"), "Name");
    model.loadAttributes(dict);
    QCOMPARE(model.id(), 0u);
    QCOMPARE(model.name(), std::string("walk"));
}

void TestModelController::logIsCutAt254Characters()
{
    const std::string longText(400, 'y');
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QString(254, 'y')));
    TSModelController::log("%s", longText.c_str());
    QTest::ignoreMessage(QtDebugMsg, "Working Path: /tmp/x");
    TSModelController::log("Working Path: %s", "/tmp/x");
}

BONESTAGE_GUILESS_TEST_MAIN(TestModelController)
#include "tst_ModelController.moc"
