#pragma once

#include "TSPAttribute.h"

/// Groups other attributes of the same model for the attributes panel; hiding, updating and
/// copying a group act on its children too.
class TSPAttributeGroup : public TSPAttribute
{
public:
    static constexpr int kTypeCode = Group;

    explicit TSPAttributeGroup(TSModel* owner, int editorHint = 0);
    ~TSPAttributeGroup() override;

    void addChild(TSPAttribute* attribute);
    cocos2d::CCArray* children() const { return m_children; }

    void hide() override;
    void update(float delta) override;
    void copyFrom(TSPAttribute* other) override;

private:
    cocos2d::CCArray* m_children;
};
