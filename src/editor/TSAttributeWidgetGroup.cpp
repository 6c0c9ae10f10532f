#include "TSAttributeWidgetGroup.h"

#include "CCArray.h"
#include "TSGroupLayoutBuilder.h"
#include "TSPAttributeGroup.h"

TSAttributeWidgetGroup::TSAttributeWidgetGroup(TSPAttributeGroup* attribute, QWidget* parent)
    : TSAttributeWidget(attribute, parent)
{
    for (cocos2d::CCObject* obj : *attribute->children()) {
        if (TSAttributeWidget* child = create(static_cast<TSPAttribute*>(obj), this)) {
            connect(child, &TSAttributeWidget::editingFinished, this,
                    qOverload<TSAttributeWidget*>(&TSAttributeWidget::attributeEditingFinished));
            m_children.append(child);
        }
    }
}

std::unique_ptr<TSLayoutBuilder> TSAttributeWidgetGroup::createLayoutBuilder() const
{
    return std::make_unique<TSGroupLayoutBuilder>();
}

void TSAttributeWidgetGroup::buildEditor(int, QBoxLayout*)
{
    // The children are the group's editors; the layout builder places them.
}

void TSAttributeWidgetGroup::refresh()
{
    TSAttributeWidget::refresh();
    for (TSAttributeWidget* child : qAsConst(m_children)) {
        child->refresh();
    }
}
