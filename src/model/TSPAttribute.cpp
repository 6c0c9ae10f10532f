#include "TSPAttribute.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSModel.h"
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

using namespace cocos2d;

TSPAttribute::TSPAttribute(TSModel* owner, int typeCode, int editorHint)
    : m_owner(owner), m_typeCode(typeCode), m_editorHint(editorHint)
{
}

TSPAttribute* TSPAttribute::createAttribute(TSModel* owner, int typeCode, int editorHint)
{
    switch (typeCode) {
    case Float:
        return new TSPAttributeFloat(owner, editorHint);
    case Point:
        return new TSPAttributePoint(owner, editorHint);
    case Sprite:
        return new TSPAttributeSprite(owner, editorHint);
    case Action:
        return new TSPAttributeAction(owner, editorHint);
    case String:
        return new TSPAttributeString(owner, editorHint);
    case Enum:
        return new TSPAttributeEnum(owner, editorHint);
    case Shape:
        return new TSPAttributeShape(owner, editorHint);
    case Animation:
        return new TSPAttributeAnimation(owner, editorHint);
    case Path:
        return new TSPAttributePath(owner, editorHint);
    case Asset:
        return new TSPAttributeAsset(owner, editorHint);
    case Group:
        return new TSPAttributeGroup(owner, editorHint);
    case Color:
        return new TSPAttributeColor(owner, editorHint);
    case Boolean:
        return new TSPAttributeBoolean(owner, editorHint);
    case Sound:
        return new TSPAttributeSound(owner, editorHint);
    case Key:
        return new TSPAttributeKey(owner, editorHint);
    default:
        return nullptr;
    }
}

float TSPAttribute::evaluationPosition() const
{
    return m_owner ? m_owner->evaluationPosition() : 0.0f;
}

void TSPAttribute::loadValue(CCDictionary* dict)
{
    const auto* visible = dict ? dict->objectForKeyAs<CCString>("visible") : nullptr;
    m_visible = (visible && visible->length() > 0) ? visible->boolValue() : true;
}

void TSPAttribute::loadConnections(CCDictionary*) {}

CCDictionary* TSPAttribute::valueDictionary()
{
    if (!m_savable) {
        return nullptr;
    }
    auto* dict = CCDictionary::create();
    if (!m_visible) {
        dict->setObject(CCString::create("0"), "visible");
    }
    return dict;
}

CCDictionary* TSPAttribute::connectionDictionary()
{
    return m_savable ? CCDictionary::create() : nullptr;
}

void TSPAttribute::remove() {}

void TSPAttribute::changed() {}

void TSPAttribute::notifyOwnerWillChange()
{
    if (m_owner) {
        m_owner->attributeWillChange(this);
    }
}

void TSPAttribute::notifyOwnerDidChange()
{
    if (m_owner) {
        m_owner->attributeDidChange(this);
    }
}

void TSPAttribute::copyFrom(TSPAttribute* other)
{
    if (!other) {
        return;
    }
    m_editorHint = other->m_editorHint;
    m_visible = other->m_visible;
    m_savable = other->m_savable;
    m_linkMode = other->m_linkMode;
    m_typeCode = other->m_typeCode;
    m_creationFlag = other->m_creationFlag;
    m_linkedAttribute = other->m_linkedAttribute;
}

void TSPAttribute::show()
{
    m_visible = true;
}

void TSPAttribute::hide()
{
    m_visible = false;
}

void TSPAttribute::debugPrint() {}
