#include "TSModelObject.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributeGroup.h"
#include "TSPAttributePoint.h"

using namespace cocos2d;

TSModelObject::TSModelObject() : TSModelObject(kClassName) {}

TSModelObject::TSModelObject(const char* className)
    : TSModel(className, "Untitled"), m_transform(addTypedAttribute<TSPAttributeGroup>("Transform")),
      m_position(static_cast<TSPAttributePoint*>(addAttribute("Position", TSPAttribute::Point, 0, m_transform))),
      m_rotation(static_cast<TSPAttributeFloat*>(addAttribute("Rotation", TSPAttribute::Float, 0, m_transform))),
      m_scale(static_cast<TSPAttributePoint*>(addAttribute("Scale", TSPAttribute::Point, 0, m_transform)))
{
    m_scale->setDefaultValue(CCPoint{1.0f, 1.0f});
}

TSModelSpriteContainer* TSModelObject::spriteContainer() const
{
    return nullptr;
}

QSizeF TSModelObject::size() const
{
    TSModelSpriteContainer* container = spriteContainer();
    return container ? container->currentSourceSize() : QSizeF(100, 100);
}

float TSModelObject::opacity() const
{
    TSModelSpriteContainer* container = spriteContainer();
    return container ? container->opacity() : 1.0f;
}

CCDictionary* TSModelObject::attributesDictionary()
{
    CCDictionary* dict = TSModel::attributesDictionary();
    dict->setObject(CCString::createWithFormat("%d", m_zDepth), "zDepth");
    return dict;
}

void TSModelObject::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    if (dict) {
        m_zDepth = dict->valueForKey("zDepth")->intValue();
    }
}
