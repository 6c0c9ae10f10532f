#include "TSModelObjectImage.h"

#include "TSModelSpriteContainer.h"
#include "TSPAttributeBoolean.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributeSprite.h"

TSModelObjectImage::TSModelObjectImage()
    : TSModelObject(kClassName), m_image(addTypedAttribute<TSPAttributeSprite>("Image")),
      m_autohide(addTypedAttribute<TSPAttributeFloat>("Autohide")),
      m_stickToEdge(addTypedAttribute<TSPAttributeBoolean>("Stick To Edge"))
{
    m_autohide->setDefaultValue(0.0f);
    m_stickToEdge->setDefaultValue(true);
}

TSModelSpriteContainer* TSModelObjectImage::spriteContainer() const
{
    return dynamic_cast<TSModelSpriteContainer*>(m_image->sprite());
}
