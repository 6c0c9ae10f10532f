#include "TSModelGeneralSettings.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSPAttributeBoolean.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributePoint.h"
#include "TSPAttributeSprite.h"
#include "TSPAttributeString.h"

#include <Qt>

using namespace cocos2d;

namespace {

TSModelGeneralSettings* s_current = nullptr;

const char* const kLandscape = "TSPScreenOrientationLandscape";
const char* const kPortrait = "TSPScreenOrientationPortrait";

} // namespace

const char* const TSModelGeneralSettings::kKeyNames[kKeyCount] = {
    "moveUpKey", "moveDownKey", "moveLeftKey", "moveRightKey", "motorCWKey",
    "motorCCWKey", "rotateLeftKey", "rotateRightKey", "shootKey", "jumpKey"};

TSModelGeneralSettings::TSModelGeneralSettings()
    : TSModel("TSModelGeneralSettings", ""), m_platformSpecificValues(new CCDictionary()),
      m_resetText("PLEASE NOTE:  You are about to reset all your game progress and start completely over.  "
                  "Are you sure you want to do that?"),
      m_keys{Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_X,
             Qt::Key_Z,  Qt::Key_Comma, Qt::Key_Period, Qt::Key_Space, Qt::Key_J}
{
    nameAttribute()->hide();

    auto addString = [this](const char* name, const char* value) {
        addTypedAttribute<TSPAttributeString>(name)->setValue(value);
    };
    auto addBoolean = [this](const char* name, bool value) {
        addTypedAttribute<TSPAttributeBoolean>(name)->setDefaultValue(value);
    };
    auto addPoint = [this](const char* name, float x, float y) {
        addTypedAttribute<TSPAttributePoint>(name)->setDefaultValue(CCPoint{x, y});
    };
    auto addFloat = [this](const char* name, float value) {
        addTypedAttribute<TSPAttributeFloat>(name)->setDefaultValue(value);
    };

    addString("IB Version", "");
    addTypedAttribute<TSPAttributeSprite>("Icon")->setSpriteFlag(1);
    addString("Game Preset", "Default");
    addBoolean("Fixed Position", false);
    addBoolean("Fixed Rotation", false);
    addBoolean("Forced Movement", true);
    addPoint("Move Speed", 0.0f, 0.0f);
    addPoint("Jump", 0.0f, 5.0f);
    addFloat("Jump Timeout", 0.25f);
    addFloat("Jump Counter", 0.0f);
    addFloat("Jump Ground Threshold", 0.01f);
    addBoolean("Jump From Ground", false);
    addFloat("Left Lean Force", 0.0f);
    addFloat("Right Lean Force", 0.0f);
    addFloat("Simulation Time Scale", 1.0f);
    addFloat("Friction", 0.0f);
    addPoint("Character Friction", 0.8f, 1.0f);
    addFloat("Velocity Scale", 1.0f);
    addFloat("Rotation Scale", 1.0f);
    addPoint("Gravity", 0.0f, -50.0f);
    addBoolean("Auto Image Direction", false);
    addFloat("Restitution", 0.0f);
    addFloat("Score Multiplier", 1.0f);
    addFloat("Platform Friction", 0.0f);
    addPoint("Bounce Force", 0.0f, 0.0f);
    addFloat("Back Deletion Threshold", 300.0f);
    addFloat("Sides Deletion Threshold", 550.0f);

    s_current = this;
}

TSModelGeneralSettings::~TSModelGeneralSettings()
{
    if (s_current == this) {
        s_current = nullptr;
    }
    m_platformSpecificValues->release();
}

TSModelGeneralSettings* TSModelGeneralSettings::current()
{
    return s_current;
}

bool TSModelGeneralSettings::isSameAs(TSModel*)
{
    return true;
}

void TSModelGeneralSettings::setLandscape(bool landscape)
{
    m_landscape = landscape;
    m_screenSize = landscape ? QSize(1156, 640) : QSize(640, 1156);
}

CCDictionary* TSModelGeneralSettings::attributesDictionary()
{
    CCDictionary* dict = TSModel::attributesDictionary();
    auto put = [dict](const char* key, CCString* value) { dict->setObject(value, key); };
    put("lastIdNumber", CCString::createWithFormat("%u", m_lastIdNumber));
    put("gameSpeedMin", CCString::createWithFormat("%f", static_cast<double>(m_gameSpeedMin)));
    put("gameSpeedMax", CCString::createWithFormat("%f", static_cast<double>(m_gameSpeedMax)));
    put("gameSpeedIncrease", CCString::createWithFormat("%f", static_cast<double>(m_gameSpeedIncrease)));
    dict->setObject(m_platformSpecificValues, "platformSpecificValues");
    put("scoreType", CCString::create(m_scoreType));
    put("versionNumber", CCString::create(m_versionNumber));
    put("applicationName", CCString::create(m_applicationName));
    put("comments", CCString::create(m_comments));
    put("resetText", CCString::create(m_resetText));
    for (int edge = 0; edge < 4; ++edge) {
        dict->setObject(CCString::createWithFormat("%d", m_objectFrameEdgeState[static_cast<size_t>(edge)]),
                        CCString::format("objectFrameEdgeState_%d", edge));
    }
    put("objectFrameRect",
        CCString::createWithFormat("{{%.4f,%.4f},{%.4f,%.4f}}", m_objectFrameRect.x(), m_objectFrameRect.y(),
                                   m_objectFrameRect.width(), m_objectFrameRect.height()));
    put("t", CCString::createWithFormat("%d", m_t ? 1 : 0));
    put("orientation", CCString::create(m_landscape ? kLandscape : kPortrait));
    put("screenAdjustment", CCString::createWithFormat("%d", m_screenAdjustment));
    put("gameplayAngleDirection", CCString::createWithFormat("%d", static_cast<int>(m_gameplayAngleDirection)));
    for (int i = 0; i < kKeyCount; ++i) {
        put(kKeyNames[i], CCString::createWithFormat("%d", m_keys[static_cast<size_t>(i)]));
    }
    return dict;
}

void TSModelGeneralSettings::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    if (!dict) {
        return;
    }
    auto text = [dict](const char* key) { return dict->valueForKey(key); };
    m_lastIdNumber = static_cast<unsigned>(text("lastIdNumber")->intValue());
    m_gameSpeedMin = text("gameSpeedMin")->floatValue();
    m_gameSpeedMax = text("gameSpeedMax")->floatValue();
    m_gameSpeedIncrease = text("gameSpeedIncrease")->floatValue();
    CCDictionary* platform = dict->objectForKeyAs<CCDictionary>("platformSpecificValues");
    ccAssign(m_platformSpecificValues, platform ? platform : CCDictionary::create());
    m_scoreType = text("scoreType")->string();
    m_versionNumber = text("versionNumber")->string();
    m_applicationName = text("applicationName")->string();
    m_comments = text("comments")->string();
    if (text("resetText")->length() > 0) {
        m_resetText = text("resetText")->string();
    }
    for (int edge = 0; edge < 4; ++edge) {
        m_objectFrameEdgeState[static_cast<size_t>(edge)] =
            dict->valueForKey(CCString::format("objectFrameEdgeState_%d", edge))->intValue();
    }
    const CCRect frame = rectFromString(text("objectFrameRect")->string());
    m_objectFrameRect = QRectF(frame.origin.x, frame.origin.y, frame.size.width, frame.size.height);
    m_t = text("t")->boolValue();
    setLandscape(text("orientation")->string() == kLandscape);
    m_screenAdjustment = text("screenAdjustment")->intValue();
    m_gameplayAngleDirection = text("gameplayAngleDirection")->floatValue();
    for (int i = 0; i < kKeyCount; ++i) {
        if (text(kKeyNames[i])->length() > 0) {
            m_keys[static_cast<size_t>(i)] = text(kKeyNames[i])->intValue();
        }
    }

    auto* version = dynamic_cast<TSPAttributeString*>(attributeNamed("IB Version"));
    if (version && version->value().empty()) {
        version->setValue("2.0.0");
    }
}
