// Every attribute kind's stored form, loading rules, links, curves, actions and removal.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSAnimationCurve.h"
#include "TSModel.h"
#include "TSModelCircle.h"
#include "TSModelController.h"
#include "TSPAttributeAction.h"
#include "TSPAttributeAnimation.h"
#include "TSPAttributeAsset.h"
#include "TSPAttributeBoolean.h"
#include "TSPAttributeColor.h"
#include "TSPAttributeEnum.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributeGroup.h"
#include "TSPAttributeKey.h"
#include "TSPAttributePath.h"
#include "TSPAttributePoint.h"
#include "TSPAttributeShape.h"
#include "TSPAttributeSound.h"
#include "TSPAttributeSprite.h"
#include "TSPAttributeString.h"

#include "ModelSupport.h"
#include "TestMain.h"

#include <QtTest>

using namespace cocos2d;

namespace {

// The entries of a value dictionary as "key=value" texts, in order; nested values as "key=<dict>".
QStringList entries(CCDictionary* dict)
{
    QStringList list;
    for (const auto& element : dict->elements()) {
        const auto* text = dynamic_cast<const CCString*>(element.object);
        list << QString::fromStdString(element.strKey) + "=" +
                    (text ? QString::fromStdString(text->string()) : QStringLiteral("<obj>"));
    }
    return list;
}

CCDictionary* dictOf(std::initializer_list<std::pair<const char*, const char*>> items)
{
    auto* dict = CCDictionary::create();
    for (const auto& [key, value] : items) {
        dict->setObject(CCString::create(value), key);
    }
    return dict;
}

TSModel* addedModel(const char* className, const char* name)
{
    return test::added(new TSModel(className, name));
}

} // namespace

class TestAttributes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void createAttributeByTypeCode();
    void floatStoredFormClampingAndRepair();
    void hiddenAndUnsavedAttributes();
    void pointWritingAndCommaRepair();
    void otherKindsStoredForm();
    void longStoredTextIsCut_data();
    void longStoredTextIsCut();
    void referencesWriteIdsAndResolve();
    void linkedAttributesReadThrough();
    void curvesDriveValuesAndActions();
    void groupsAndCopiesCarryValues();
    void removalCascadesThroughSpriteAndAnimation();
};

void TestAttributes::init()
{
    TSModelController::destroyInstance();
}

void TestAttributes::createAttributeByTypeCode()
{
    TSModel model("Plain", "");
    for (int code : {3, 4, 17, -1, 100}) {
        QCOMPARE(TSPAttribute::createAttribute(&model, code), nullptr);
        QCOMPARE(model.addAttribute("none", code), nullptr);
    }
    QCOMPARE(model.attributes()->count(), 1u);
    const int codes[] = {0, 1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (int code : codes) {
        TSPAttribute* attribute = model.addAttribute("a" + std::to_string(code), code, 7);
        QVERIFY(attribute);
        QCOMPARE(attribute->typeCode(), code);
        QCOMPARE(attribute->editorHint(), 7);
        QCOMPARE(attribute->owner(), &model);
    }
    QCOMPARE(model.attributes()->count(), 16u);
}

void TestAttributes::floatStoredFormClampingAndRepair()
{
    TSModel model("Plain", "");
    auto* f = model.addTypedAttribute<TSPAttributeFloat>("size");
    f->setDefaultValue(1.0f);
    QCOMPARE(f->value(), 1.0f);
    QCOMPARE(entries(f->valueDictionary()), QStringList());
    f->setValue(2);
    QCOMPARE(entries(f->valueDictionary()), QStringList({"value=2.000000"}));
    f->setVariableValue(-0.5f);
    QCOMPARE(entries(f->valueDictionary()), QStringList({"value=2.000000", "variableValue=-0.500000"}));
    QTest::ignoreMessage(QtDebugMsg, "name: size - 2.000000");
    f->debugPrint();

    // Setting clamps, loading does not; a default is recorded unclamped.
    f->setMaximum(100.0f);
    f->setMinimum(-5.0f);
    f->setValue(500.0f);
    QCOMPARE(f->value(), 100.0f);
    f->setValue(-50.0f);
    QCOMPARE(f->value(), -5.0f);
    f->loadValue(dictOf({{"value", "500"}}));
    QCOMPARE(f->value(), 500.0f);
    f->setDefaultValue(200.0f);
    QCOMPARE(f->value(), 100.0f);
    QCOMPARE(f->defaultValue(), 200.0f);

    // A decimal comma is repaired in the value only.
    f->loadValue(dictOf({{"value", "0,5"}, {"variableValue", "1,5"}}));
    QCOMPARE(f->value(), 0.5f);
    QCOMPARE(f->variableValue(), 1.0f); // no repair for the variable value
    f->loadValue(dictOf({{"value", "abc"}}));
    QCOMPARE(f->value(), 0.0f);
    // An absent value keeps what the attribute had: the writer omits it exactly at the default.
    f->setValue(-2.75f);
    f->loadValue(CCDictionary::create());
    QCOMPARE(f->value(), -2.75f);
    QCOMPARE(f->valueAsInt(), -2);
}

void TestAttributes::hiddenAndUnsavedAttributes()
{
    TSModel model("Plain", "");
    auto* f = model.addTypedAttribute<TSPAttributeFloat>("hidden");
    f->setDefaultValue(1.0f);
    f->hide();
    QCOMPARE(entries(f->valueDictionary()), QStringList({"visible=0"}));

    TSModel other("Plain", "");
    auto* g = other.addTypedAttribute<TSPAttributeFloat>("hidden");
    g->setDefaultValue(1.0f);
    g->loadValue(f->valueDictionary());
    QVERIFY(!g->isVisible());
    QCOMPARE(g->value(), 1.0f);
    g->loadValue(CCDictionary::create());
    QVERIFY(g->isVisible());
    g->loadValue(dictOf({{"visible", ""}}));
    QVERIFY(g->isVisible());
    g->loadValue(dictOf({{"visible", "false"}}));
    QVERIFY(!g->isVisible());
    g->show();
    QVERIFY(g->isVisible());

    // An attribute that is not saved writes nothing at all.
    f->setSavable(false);
    QCOMPARE(f->valueDictionary(), nullptr);
    QCOMPARE(f->connectionDictionary(), nullptr);
    QVERIFY(!model.attributesDictionary()->objectForKey("hidden"));
}

void TestAttributes::pointWritingAndCommaRepair()
{
    TSModel model("Plain", "");
    auto* p = model.addTypedAttribute<TSPAttributePoint>("position");
    p->setDefaultValue(CCPoint{0, 5});
    QCOMPARE(entries(p->valueDictionary()), QStringList());
    p->setValue(CCPoint{0, 6});
    QCOMPARE(entries(p->valueDictionary()), QStringList({"value={0.000,6.000}"}));
    p->setVariableValue(CCPoint{0.0f, 0.25f});
    QCOMPARE(entries(p->valueDictionary()), QStringList({"value={0.000,6.000}", "variableValue={0.000,0.250}"}));

    p->loadValue(dictOf({{"value", "{1,5,2,5}"}}));
    QCOMPARE(p->value(), (CCPoint{1.5f, 2.5f}));
    p->loadValue(dictOf({{"value", "{1.5,-2}"}}));
    QCOMPARE(p->value(), (CCPoint{1.5f, -2.0f}));
    // Two commas: repairing both leaves none, so the text is read as it stands.
    p->loadValue(dictOf({{"value", "{1,25,3}"}}));
    QCOMPARE(p->value(), (CCPoint{1.0f, 25.0f}));
    p->loadValue(dictOf({{"value", "{1,2,3,4,5}"}}));
    QCOMPARE(p->value(), (CCPoint{1.0f, 2.0f}));
    QTest::ignoreMessage(QtDebugMsg, "name: position - {1.000000,2.000000}");
    p->debugPrint();
}

void TestAttributes::otherKindsStoredForm()
{
    TSModel model("Plain", "");
    auto* key = model.addTypedAttribute<TSPAttributeKey>("jump");
    QCOMPARE(entries(key->valueDictionary()), QStringList({"value=-1"}));
    key->loadValue(dictOf({{"value", "74"}}));
    QCOMPARE(key->value(), 74);

    auto* color = model.addTypedAttribute<TSPAttributeColor>("boneColor");
    QCOMPARE(entries(color->valueDictionary()),
             QStringList({"r=0.000000", "g=0.000000", "b=0.000000", "a=1.000000"}));
    color->loadValue(dictOf({{"r", "0.5"}, {"a", "0.25"}}));
    QCOMPARE(color->r(), 0.5f);
    QCOMPARE(color->g(), 0.0f);
    QCOMPARE(color->a(), 0.25f);
    QCOMPARE(color->color().alpha(), 64);

    auto* path = model.addTypedAttribute<TSPAttributePath>("path");
    QCOMPARE(entries(path->valueDictionary()), QStringList());
    QCOMPARE(entries(path->connectionDictionary()), QStringList());

    auto* s = model.addTypedAttribute<TSPAttributeString>("parent");
    QCOMPARE(entries(s->valueDictionary()), QStringList());
    s->setValue("hip & <thigh>");
    QCOMPARE(entries(s->valueDictionary()), QStringList({"value=hip & <thigh>"}));

    auto* b = model.addTypedAttribute<TSPAttributeBoolean>("flag");
    b->setDefaultValue(true);
    QCOMPARE(entries(b->valueDictionary()), QStringList());
    b->setValue(false);
    QCOMPARE(entries(b->valueDictionary()), QStringList({"value=0"}));
    b->loadValue(dictOf({{"value", "1"}}));
    QVERIFY(b->value());
    b->setValue(false);
    b->loadValue(CCDictionary::create());
    QVERIFY(!b->value()); // absent keeps the current value

    auto* e = model.addTypedAttribute<TSPAttributeEnum>("orientation");
    QCOMPARE(entries(e->valueDictionary()), QStringList({"selectedStringValue="}));
    auto* options = CCDictionary::create();
    options->setObject(CCString::create("0"), "Portrait");
    options->setObject(CCString::create("1"), "Landscape");
    e->setOptions(options);
    e->setSelectedValue("Landscape");
    QCOMPARE(entries(e->valueDictionary()), QStringList({"selectedStringValue=Landscape"}));
    TSModel other("Plain", "");
    auto* copy = other.addTypedAttribute<TSPAttributeEnum>("orientation");
    copy->copyFrom(e);
    QCOMPARE(copy->selectedValue(), std::string("Landscape"));
    QVERIFY(copy->options() != options);
    QCOMPARE(copy->options()->count(), 2u);
    copy->loadValue(dictOf({{"selectedStringValue", "Portrait"}}));
    QCOMPARE(copy->selectedValue(), std::string("Portrait"));

    auto* shape = model.addTypedAttribute<TSPAttributeShape>("collision");
    shape->shape()->setPoints({{0, 0}, {10, 0}, {10, 5}});
    shape->shape()->setOneWayCollisionVector(CCPoint{0, 1});
    CCDictionary* dict = shape->valueDictionary();
    QCOMPARE(entries(dict), QStringList({"points=<obj>", "oneWayCollisionVector={0.000000,1.000000}", "shapeType=0"}));
    QCOMPARE(static_cast<CCString*>(dict->objectForKeyAs<CCArray>("points")->objectAtIndex(2))->string(),
             std::string("{10.000000,5.000000}"));

    auto* circle = model.addTypedAttribute<TSPAttributeShape>("round");
    circle->loadValue(dict);
    QCOMPARE(circle->shape()->points().size(), size_t(3));
    dict->setObject(CCString::create("1"), "shapeType");
    circle->loadValue(dict);
    QCOMPARE(circle->shapeType(), 1);
    QVERIFY(dynamic_cast<TSModelCircle*>(circle->shape()));
    QCOMPARE(circle->shape()->points().size(), size_t(2));
}

void TestAttributes::longStoredTextIsCut_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QString>("log");
    const QString limit(4096, QLatin1Char('x'));
    const QString face = QString::fromUcs4(U"\U0001F600");
    QTest::newRow("at the limit") << limit << limit << QString();
    QTest::newRow("one over") << limit + "y" << limit
                              << "[TSPAttributeString] label: 4097 characters cut to 4096";
    QTest::newRow("two-byte characters") << QString(4100, QChar(0x00e9)) << QString(4096, QChar(0x00e9))
                                         << "[TSPAttributeString] label: 4100 characters cut to 4096";
    QTest::newRow("four-byte characters") << face.repeated(4097) << face.repeated(4096)
                                          << "[TSPAttributeString] label: 4097 characters cut to 4096";
}

void TestAttributes::longStoredTextIsCut()
{
    QFETCH(QString, stored);
    QFETCH(QString, loaded);
    QFETCH(QString, log);
    TSModel model("Plain", "");
    auto* s = model.addTypedAttribute<TSPAttributeString>("label");
    if (!log.isEmpty()) {
        QTest::ignoreMessage(QtDebugMsg, qPrintable(log));
    }
    s->loadValue(dictOf({{"value", stored.toUtf8().constData()}}));
    QCOMPARE(s->text(), loaded);
    // What the user sets is not cut.
    s->setText(stored);
    QCOMPARE(s->text(), stored);
}

void TestAttributes::referencesWriteIdsAndResolve()
{
    TSModel* target = addedModel("Anything", "target");
    TSModel* owner = addedModel("Plain", "owner");
    auto* asset = owner->addTypedAttribute<TSPAttributeAsset>("asset");
    auto* sound = owner->addTypedAttribute<TSPAttributeSound>("sound");
    auto* animation = owner->addTypedAttribute<TSPAttributeAnimation>("animation");
    QCOMPARE(entries(asset->connectionDictionary()), QStringList());
    asset->setAsset(target);
    sound->setSound(target);
    animation->setAnimation(target);
    const QString id = QString::number(target->id());
    QCOMPARE(entries(asset->connectionDictionary()), QStringList({"value=" + id}));
    QCOMPARE(entries(sound->connectionDictionary()), QStringList({"value=" + id}));
    QCOMPARE(entries(asset->valueDictionary()), QStringList());

    CCDictionary* connections = owner->connectionsDictionary();
    QCOMPARE(entries(connections), QStringList({"id=" + QString::number(owner->id()), "asset=<obj>", "sound=<obj>",
                                                "animation=<obj>"}));

    TSModel* reader = addedModel("Plain", "reader");
    auto* readAsset = reader->addTypedAttribute<TSPAttributeAsset>("asset");
    auto* readSound = reader->addTypedAttribute<TSPAttributeSound>("sound");
    reader->loadConnections(connections);
    QVERIFY(reader->connectionsLoaded());
    QCOMPARE(readAsset->asset(), target);
    QCOMPARE(readSound->sound(), target);

    // Unknown ids and empty values leave the reference empty.
    readAsset->loadConnections(dictOf({{"value", "99999"}}));
    QCOMPARE(readAsset->asset(), target);
    TSModel* fresh = addedModel("Plain", "fresh");
    auto* freshAsset = fresh->addTypedAttribute<TSPAttributeAsset>("asset");
    freshAsset->loadConnections(dictOf({{"value", "99999"}}));
    QCOMPARE(freshAsset->asset(), nullptr);
    freshAsset->loadConnections(dictOf({{"value", ""}}));
    QCOMPARE(freshAsset->asset(), nullptr);

    // A sprite reference takes sprite containers only, and hands them its flag.
    class Container : public TSModel
    {
    public:
        Container() : TSModel("TSModelSpriteContainer", "frames") {}
        void takeSpriteFlag(int flag) override { received = flag; }
        int received = -1;
    };
    auto* container = test::added(new Container());
    TSModel* notASprite = addedModel("TSModelSkeletonNode", "hip");
    auto* sprite = owner->addTypedAttribute<TSPAttributeSprite>("Icon");
    sprite->setSpriteFlag(1);
    sprite->loadConnections(dictOf({{"value", std::to_string(container->id()).c_str()}}));
    QCOMPARE(sprite->sprite(), container);
    QCOMPARE(container->received, 1);

    auto* other = owner->addTypedAttribute<TSPAttributeSprite>("Other");
    QTest::ignoreMessage(QtDebugMsg, "[TSPAttributeSprite] - object type id mismatch");
    other->loadConnections(dictOf({{"value", std::to_string(notASprite->id()).c_str()}}));
    QCOMPARE(other->sprite(), nullptr);
}

void TestAttributes::linkedAttributesReadThrough()
{
    TSModel a("Plain", "");
    TSModel b("Plain", "");
    auto* source = a.addTypedAttribute<TSPAttributePoint>("p");
    auto* follower = b.addTypedAttribute<TSPAttributePoint>("p");
    source->setValue(CCPoint{3, 4});
    follower->setLinkedAttribute(source);
    QCOMPARE(follower->value(), (CCPoint{3, 4}));
    follower->setValue(CCPoint{9, 9});
    QCOMPARE(follower->value(), (CCPoint{3, 4}));
    follower->setDefaultValue(CCPoint{1, 1});
    QCOMPARE(follower->defaultValue(), (CCPoint{1, 1}));
    QCOMPARE(follower->value(), (CCPoint{3, 4}));
    // Link mode 1 does not follow.
    follower->setLinkMode(1);
    follower->setValue(CCPoint{9, 9});
    QCOMPARE(follower->value(), (CCPoint{9, 9}));

    // Chains resolve recursively; a cycle does not hang.
    auto* f1 = a.addTypedAttribute<TSPAttributeFloat>("f");
    auto* f2 = b.addTypedAttribute<TSPAttributeFloat>("f");
    TSModel c("Plain", "");
    auto* f3 = c.addTypedAttribute<TSPAttributeFloat>("f");
    f1->setValue(7.0f);
    f2->setLinkedAttribute(f1);
    f3->setLinkedAttribute(f2);
    QCOMPARE(f3->value(), 7.0f);
    // Closing the loop: a read comes round to the first link's own stored value.
    f1->setValue(8.0f);
    f1->setLinkedAttribute(f3);
    QCOMPARE(f1->value(), 8.0f);
    QCOMPARE(f2->value(), 8.0f);
    QCOMPARE(f3->value(), 8.0f);
}

void TestAttributes::curvesDriveValuesAndActions()
{
    TSModel model("Plain", "");
    auto* f = model.addTypedAttribute<TSPAttributeFloat>("opacity");
    auto curve = std::make_unique<TSAnimationCurve>();
    curve->insertKey(0.0f, 0.0f, true);
    curve->insertKey(1.0f, 1.0f, true);
    f->setCurve(std::move(curve));
    model.setEvaluationPosition(1.0f);
    QCOMPARE(f->value(), 1.0f);
    model.setEvaluationPosition(0.5f);
    f->setValue(0.25f); // keys the curve at 0.5
    QCOMPARE(f->curve()->keyCount(), 3);
    QCOMPARE(f->value(), 0.25f);
    model.setEvaluationPosition(2.0f);
    QCOMPARE(f->value(), 1.0f);

    auto* p = model.addTypedAttribute<TSPAttributePoint>("pos");
    p->setCurves(std::make_unique<TSAnimationCurve>(), nullptr);
    p->setValue(CCPoint{1, 1});
    QVERIFY(!p->hasCurves());
    QCOMPARE(p->value(), (CCPoint{1, 1}));
    p->setCurves(std::make_unique<TSAnimationCurve>(), std::make_unique<TSAnimationCurve>());
    model.setEvaluationPosition(0.0f);
    p->setValue(CCPoint{2, 3});
    model.setEvaluationPosition(5.0f);
    QCOMPARE(p->value(), (CCPoint{2, 3}));

    // An action fires on its owner, or on the owner of its link target, where its curve is 1.
    TSModel a("Plain", "a");
    TSModel b("Plain", "b");
    auto* action = a.addTypedAttribute<TSPAttributeAction>("fire");
    auto* target = b.addTypedAttribute<TSPAttributeAction>("fire");
    QList<TSModel*> calls;
    action->setCallback([&calls](TSModel* owner) { calls << owner; });
    a.update(0.1f);
    QVERIFY(calls.isEmpty()); // no curve yet
    curve = std::make_unique<TSAnimationCurve>();
    curve->insertKey(0.0f, 0.0f, false);
    curve->insertKey(1.0f, 1.0f, false);
    action->setCurve(std::move(curve));
    a.update(0.1f); // curve is 0 at position 0
    QVERIFY(calls.isEmpty());
    a.setEvaluationPosition(1.0f);
    a.update(0.1f);
    QCOMPARE(calls, QList<TSModel*>({&a}));
    action->setLinkedAttribute(target);
    action->setLinkMode(1);
    a.update(0.1f);
    QCOMPARE(calls.last(), &b);
}

void TestAttributes::groupsAndCopiesCarryValues()
{
    TSModel model("Plain", "");
    auto* group = model.addTypedAttribute<TSPAttributeGroup>("Transform");
    auto* position = static_cast<TSPAttributePoint*>(model.addAttribute("Position", TSPAttribute::Point, 0, group));
    auto* rotation = static_cast<TSPAttributeFloat*>(model.addAttribute("Rotation", TSPAttribute::Float, 0, group));
    QCOMPARE(group->children()->count(), 2u);
    QCOMPARE(model.attributes()->count(), 4u);
    group->hide();
    QVERIFY(!position->isVisible() && !rotation->isVisible());

    TSModel other("Plain", "");
    auto* otherGroup = other.addTypedAttribute<TSPAttributeGroup>("Transform");
    other.addAttribute("Position", TSPAttribute::Point, 0, otherGroup);
    auto* otherRotation =
        static_cast<TSPAttributeFloat*>(other.addAttribute("Rotation", TSPAttribute::Float, 0, otherGroup));
    rotation->setValue(45.0f);
    otherGroup->copyFrom(group);
    QCOMPARE(otherRotation->value(), 45.0f);
    QVERIFY(!otherRotation->isVisible());

    // A whole model copies its name and every attribute's value and visibility.
    TSModel a("Plain", "a");
    TSModel b("Plain", "b");
    for (TSModel* each : {&a, &b}) {
        each->addTypedAttribute<TSPAttributeFloat>("f");
        each->addTypedAttribute<TSPAttributeString>("s");
        each->addTypedAttribute<TSPAttributeColor>("c");
    }
    static_cast<TSPAttributeFloat*>(a.attributeNamed("f"))->setValue(4.0f);
    static_cast<TSPAttributeString*>(a.attributeNamed("s"))->setValue("text");
    static_cast<TSPAttributeColor*>(a.attributeNamed("c"))->setComponents(1, 0.5f, 0, 1);
    a.attributeNamed("s")->hide();
    b.copyAttributes(&a);
    QCOMPARE(b.name(), std::string("a"));
    QCOMPARE(static_cast<TSPAttributeFloat*>(b.attributeNamed("f"))->value(), 4.0f);
    QCOMPARE(static_cast<TSPAttributeString*>(b.attributeNamed("s"))->value(), std::string("text"));
    QVERIFY(!b.attributeNamed("s")->isVisible());
    QCOMPARE(static_cast<TSPAttributeColor*>(b.attributeNamed("c"))->g(), 0.5f);
}

void TestAttributes::removalCascadesThroughSpriteAndAnimation()
{
    TSModelController* controller = TSModelController::instance();
    TSModel* container = addedModel("TSModelSpriteContainer", "frames");
    TSModel* animation = addedModel("TSModelSkeletonAnimation", "walk");
    TSModel* asset = addedModel("Anything", "kept");
    TSModel* owner = addedModel("Plain", "owner");
    owner->addTypedAttribute<TSPAttributeSprite>("Image")->setSprite(container);
    owner->addTypedAttribute<TSPAttributeAnimation>("Motion")->setAnimation(animation);
    owner->addTypedAttribute<TSPAttributeAsset>("Asset")->setAsset(asset);
    // A reference back to the owner must not make removal recurse forever.
    animation->addTypedAttribute<TSPAttributeAnimation>("Back")->setAnimation(owner);
    const unsigned ids[] = {container->id(), animation->id(), owner->id()};
    const unsigned assetId = asset->id();
    owner->removeFromController();
    for (unsigned id : ids) {
        QCOMPARE(controller->modelWithId(id), nullptr);
    }
    QVERIFY(controller->modelWithId(assetId));
    QCOMPARE(controller->modelsOfClass("TSModelSpriteContainer")->count(), 0u);
}

BONESTAGE_GUILESS_TEST_MAIN(TestAttributes)
#include "tst_Attributes.moc"
