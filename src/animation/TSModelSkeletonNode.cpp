#include "TSModelSkeletonNode.h"

#include "CCDictionary.h"
#include "CCString.h"
#include "TransformAttributes.h"
#include "TSPAttributeColor.h"
#include "TSPAttributeFloat.h"
#include "TSPAttributePoint.h"
#include "TSPAttributeString.h"

#include <cmath>

using namespace cocos2d;

TSModelSkeletonNode::TSModelSkeletonNode()
    : TSModel(kClassName, ""), m_name(addTypedAttribute<TSPAttributeString>("name")),
      m_defaultName(addTypedAttribute<TSPAttributeString>("defaultName")),
      m_parent(addTypedAttribute<TSPAttributeString>("parent")),
      m_position(addTypedAttribute<TSPAttributePoint>("position")),
      m_size(addTypedAttribute<TSPAttributeFloat>("size")),
      m_zOrder(addTypedAttribute<TSPAttributeFloat>("zOrder")),
      m_boneColor(addTypedAttribute<TSPAttributeColor>("boneColor")), m_matrix(TransformAttributes::add(this))
{
}

void TSModelSkeletonNode::fillFrom(const NodeRecord& node)
{
    setName(node.name.toStdString());
    m_name->setText(node.name);
    m_defaultName->setText(node.defaultName);
    m_parent->setText(node.parent);
    m_position->setValue(CCPoint{static_cast<float>(node.position.x()), static_cast<float>(node.position.y())});
    m_size->setValue(node.size);
    m_zOrder->setValue(static_cast<float>(node.zOrder));
    m_boneColor->setColor(node.boneColor);
    TransformAttributes::write(m_matrix, node.restTransform);
}

NodeRecord TSModelSkeletonNode::toRecord() const
{
    NodeRecord node;
    node.name = m_name->text();
    node.defaultName = m_defaultName->text();
    node.parent = m_parent->text();
    const CCPoint position = m_position->value();
    node.position = QPointF(std::trunc(position.x), std::trunc(position.y));
    node.size = m_size->value();
    node.zOrder = static_cast<int>(m_zOrder->value());
    node.boneColor = m_boneColor->a() < 0.1f ? NodeRecord::defaultBoneColor() : m_boneColor->color();
    node.restTransform = TransformAttributes::read(m_matrix);
    return node;
}

void TSModelSkeletonNode::loadAttributes(CCDictionary* dict)
{
    TSModel::loadAttributes(dict);
    // The model's name follows the stored node name, as the attribute read it (cut to length).
    if (const auto* name = dict ? dict->objectForKeyAs<CCDictionary>("name") : nullptr) {
        if (name->objectForKeyAs<CCString>("value")) {
            setName(nodeName().toStdString());
        }
    }
}

bool TSModelSkeletonNode::isSameAs(TSModel* other)
{
    auto* node = dynamic_cast<TSModelSkeletonNode*>(other);
    return node && node->nodeName() == nodeName() && node->parentName() == parentName();
}

QString TSModelSkeletonNode::nodeName() const
{
    return m_name->text();
}

QString TSModelSkeletonNode::parentName() const
{
    return m_parent->text();
}
