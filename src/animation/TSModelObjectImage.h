#pragma once

#include "TSModelObject.h"

class TSPAttributeBoolean;
class TSPAttributeSprite;

/// A placed object that shows the frames of a sprite container ("Image").
class TSModelObjectImage : public TSModelObject
{
public:
    static constexpr const char* kClassName = "TSModelObjectImage";

    TSModelObjectImage();

    TSModelSpriteContainer* spriteContainer() const override;
    TSPAttributeSprite* image() const { return m_image; }
    TSPAttributeFloat* autohide() const { return m_autohide; }
    TSPAttributeBoolean* stickToEdge() const { return m_stickToEdge; }

private:
    TSPAttributeSprite* m_image;
    TSPAttributeFloat* m_autohide;
    TSPAttributeBoolean* m_stickToEdge;
};
