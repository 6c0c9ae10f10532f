// The project settings model: its stored entries, their order and their reading rules.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelController.h"
#include "TSModelGeneralSettings.h"
#include "TSPAttributeBoolean.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributePoint.h"
#include "TSPAttributeString.h"

#include "ModelSupport.h"
#include "TestMain.h"
#include "ValueTexts.h"

#include <QtTest>

using namespace cocos2d;
using test::keysOf;

namespace {

std::string text(const CCDictionary* dict, const char* key)
{
    return dict->valueForKey(key)->string();
}

} // namespace

class TestGeneralSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void attributesInOrderWithDefaults();
    void newSettingsWriteEveryEntryInOrder();
    void roundTripThroughPropertyList();
    void absentEntriesFollowTheirReadingRules();

private:
    QTemporaryDir m_dir;
};

void TestGeneralSettings::init()
{
    TSModelController::destroyInstance();
}

void TestGeneralSettings::attributesInOrderWithDefaults()
{
    TSModelGeneralSettings settings;
    QStringList names;
    for (CCObject* obj : *settings.attributes()) {
        names << QString::fromStdString(static_cast<TSPAttribute*>(obj)->name());
    }
    QCOMPARE(names,
             QStringList({"Name", "IB Version", "Icon", "Game Preset", "Fixed Position", "Fixed Rotation",
                          "Forced Movement", "Move Speed", "Jump", "Jump Timeout", "Jump Counter",
                          "Jump Ground Threshold", "Jump From Ground", "Left Lean Force", "Right Lean Force",
                          "Simulation Time Scale", "Friction", "Character Friction", "Velocity Scale",
                          "Rotation Scale", "Gravity", "Auto Image Direction", "Restitution", "Score Multiplier",
                          "Platform Friction", "Bounce Force", "Back Deletion Threshold",
                          "Sides Deletion Threshold"}));
    QVERIFY(!settings.nameAttribute()->isVisible());
    QVERIFY(static_cast<TSPAttributeBoolean*>(settings.attributeNamed("Forced Movement"))->value());
    QCOMPARE(static_cast<TSPAttributePoint*>(settings.attributeNamed("Gravity"))->value(), (CCPoint{0, -50}));
    QCOMPARE(static_cast<TSPAttributeFloat*>(settings.attributeNamed("Back Deletion Threshold"))->value(), 300.0f);
    QCOMPARE(static_cast<TSPAttributeString*>(settings.attributeNamed("Game Preset"))->value(),
             std::string("Default"));
    QCOMPARE(TSModelGeneralSettings::current(), &settings);
    // Every settings model is the same as any other; the newest is the current one.
    TSModelGeneralSettings other;
    QVERIFY(settings.isSameAs(&other));
    QCOMPARE(TSModelGeneralSettings::current(), &other);
}

void TestGeneralSettings::newSettingsWriteEveryEntryInOrder()
{
    TSModelGeneralSettings settings;
    settings.setLastIdNumber(41);
    CCDictionary* dict = settings.attributesDictionary();
    const QStringList stored =
        QStringLiteral(
            "id,className,Name,Game Preset,lastIdNumber,gameSpeedMin,gameSpeedMax,gameSpeedIncrease,"
            "platformSpecificValues,scoreType,versionNumber,applicationName,comments,resetText,"
            "objectFrameEdgeState_0,objectFrameEdgeState_1,objectFrameEdgeState_2,objectFrameEdgeState_3,"
            "objectFrameRect,t,orientation,screenAdjustment,gameplayAngleDirection,moveUpKey,moveDownKey,"
            "moveLeftKey,moveRightKey,motorCWKey,motorCCWKey,rotateLeftKey,rotateRightKey,shootKey,jumpKey")
            .split(',');
    QCOMPARE(keysOf(dict), stored);
    QCOMPARE(text(dict, "lastIdNumber"), std::string("41"));
    QCOMPARE(text(dict, "gameSpeedMin"), std::string("3.000000"));
    QCOMPARE(text(dict, "gameSpeedIncrease"), std::string("0.100000"));
    QCOMPARE(text(dict, "orientation"), std::string("TSPScreenOrientationLandscape"));
    QCOMPARE(text(dict, "objectFrameRect"), std::string("{{0.0000,0.0000},{1.0000,1.0000}}"));
    QCOMPARE(text(dict, "moveUpKey"), std::to_string(Qt::Key_Up));
    QCOMPARE(text(dict, "jumpKey"), std::to_string(Qt::Key_J));
    QCOMPARE(text(dict, "t"), std::string("0"));
    auto* name = dict->objectForKeyAs<CCDictionary>("Name");
    QCOMPARE(keysOf(name), QStringList({"visible"}));
    QCOMPARE(settings.screenSize(), QSize(1156, 640));
}

void TestGeneralSettings::roundTripThroughPropertyList()
{
    // The controller's own settings, stored and loaded back the way a document holds them.
    TSModelController::instance();
    TSModelGeneralSettings& settings = *TSModelGeneralSettings::current();
    // Entries without setters come in through a first load, away from their defaults.
    CCDictionary* first = settings.attributesDictionary();
    first->setObject(CCString::create("12.5"), "gameSpeedMax");
    first->setObject(CCString::create("Height"), "scoreType");
    first->setObject(CCString::create("68"), "moveRightKey");
    settings.loadAttributes(first);
    static_cast<TSPAttributeString*>(settings.attributeNamed("IB Version"))->setValue("3.1");
    settings.setLastIdNumber(1234);
    settings.setGameplayAngleDirection(12.7f);
    settings.setObjectFrameRect(QRectF(-120.5, -90, 240, 180));
    settings.setLandscape(false);
    static_cast<TSPAttributePoint*>(settings.attributeNamed("Jump"))->setValue(CCPoint{1.5f, 7});
    settings.platformSpecificValues()->setObject(CCString::create("yes"), "ios");
    CCDictionary* dict = settings.attributesDictionary();
    QCOMPARE(text(dict, "gameplayAngleDirection"), std::string("12"));

    const unsigned id = settings.id();
    QVERIFY(test::roundTripModels(m_dir.path()));
    TSModelGeneralSettings* loaded = TSModelGeneralSettings::current();
    QCOMPARE(loaded->id(), id);
    QCOMPARE(loaded->lastIdNumber(), 1234u);
    QCOMPARE(loaded->gameplayAngleDirection(), 12.0f);
    QCOMPARE(loaded->objectFrameRect(), QRectF(-120.5, -90, 240, 180));
    QVERIFY(!loaded->isLandscape());
    QCOMPARE(loaded->screenSize(), QSize(640, 1156));
    QCOMPARE(static_cast<TSPAttributePoint*>(loaded->attributeNamed("Jump"))->value(), (CCPoint{1.5f, 7}));
    QCOMPARE(loaded->platformSpecificValues()->valueForKey("ios")->string(), std::string("yes"));
    QVERIFY(!loaded->nameAttribute()->isVisible());
    QCOMPARE(static_cast<TSPAttributeString*>(loaded->attributeNamed("IB Version"))->value(),
             std::string("3.1"));
    QCOMPARE(loaded->gameSpeedMax(), 12.5f);
    QCOMPARE(loaded->scoreType(), std::string("Height"));
    QCOMPARE(loaded->keyCode(3), int(Qt::Key_D));
}

void TestGeneralSettings::absentEntriesFollowTheirReadingRules()
{
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::create("5"), "id");
    dict->setObject(CCString::create(""), "resetText");
    dict->setObject(CCString::create(""), "jumpKey");
    dict->setObject(CCString::create("65"), "shootKey");
    TSModelGeneralSettings settings;
    settings.loadAttributes(dict);
    QVERIFY(!settings.isLandscape());
    QCOMPARE(settings.screenSize(), QSize(640, 1156));
    QCOMPARE(settings.gameSpeedMin(), 0.0f);
    QCOMPARE(settings.gameSpeedIncrease(), 0.0f);
    QCOMPARE(settings.lastIdNumber(), 0u);
    QCOMPARE(settings.scoreType(), std::string());
    QCOMPARE(settings.platformSpecificValues()->count(), 0u);
    QCOMPARE(settings.objectFrameRect(), QRectF());
    QVERIFY(settings.resetText().find("PLEASE NOTE") == 0);
    QCOMPARE(settings.keyCode(9), int(Qt::Key_J));
    QCOMPARE(settings.keyCode(8), 65);
    QCOMPARE(static_cast<TSPAttributeString*>(settings.attributeNamed("IB Version"))->value(), std::string("2.0.0"));

    // Wrong types read as absent, also over values an earlier load brought in.
    auto* platform = CCDictionary::create();
    platform->setObject(CCString::create("yes"), "ios");
    dict->setObject(platform, "platformSpecificValues");
    dict->setObject(CCString::create("TSPScreenOrientationLandscape"), "orientation");
    dict->setObject(CCString::create("7"), "gameSpeedMin");
    settings.loadAttributes(dict);
    QCOMPARE(settings.platformSpecificValues()->count(), 1u);
    QVERIFY(settings.isLandscape());
    QCOMPARE(settings.gameSpeedMin(), 7.0f);
    dict->setObject(CCArray::create(), "platformSpecificValues");
    dict->setObject(CCDictionary::create(), "orientation");
    dict->setObject(CCArray::create(), "gameSpeedMin");
    settings.loadAttributes(dict);
    QCOMPARE(settings.platformSpecificValues()->count(), 0u);
    QVERIFY(!settings.isLandscape());
    QCOMPARE(settings.screenSize(), QSize(640, 1156));
    QCOMPARE(settings.gameSpeedMin(), 0.0f);
}

BONESTAGE_GUILESS_TEST_MAIN(TestGeneralSettings)
#include "tst_GeneralSettings.moc"
