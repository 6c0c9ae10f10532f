#include "TSPAttributeGroup.h"

#include "CCArray.h"

#include <algorithm>

using namespace cocos2d;

TSPAttributeGroup::TSPAttributeGroup(TSModel* owner, int editorHint)
    : TSPAttribute(owner, Group, editorHint), m_children(new CCArray())
{
}

TSPAttributeGroup::~TSPAttributeGroup()
{
    m_children->release();
}

void TSPAttributeGroup::addChild(TSPAttribute* attribute)
{
    if (attribute) {
        m_children->addObject(attribute);
    }
}

void TSPAttributeGroup::hide()
{
    TSPAttribute::hide();
    for (CCObject* child : *m_children) {
        static_cast<TSPAttribute*>(child)->hide();
    }
}

void TSPAttributeGroup::update(float delta)
{
    for (CCObject* child : *m_children) {
        static_cast<TSPAttribute*>(child)->update(delta);
    }
}

void TSPAttributeGroup::copyFrom(TSPAttribute* other)
{
    TSPAttribute::copyFrom(other);
    auto* source = dynamic_cast<TSPAttributeGroup*>(other);
    if (!source) {
        return;
    }
    const unsigned count = std::min(m_children->count(), source->m_children->count());
    for (unsigned i = 0; i < count; ++i) {
        static_cast<TSPAttribute*>(m_children->objectAtIndex(i))
            ->copyFrom(static_cast<TSPAttribute*>(source->m_children->objectAtIndex(i)));
    }
}
