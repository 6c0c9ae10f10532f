#pragma once

#include "NodeRecord.h"
#include "TSModel.h"

#include <array>

class TSPAttributeColor;
class TSPAttributeFloat;
class TSPAttributePoint;
class TSPAttributeString;

/// One node of a saved skeleton: names, parent, position, joint size, bone order and colour,
/// and the nine components of its set-up transform.
class TSModelSkeletonNode : public TSModel
{
public:
    static constexpr const char* kClassName = "TSModelSkeletonNode";

    TSModelSkeletonNode();

    /// Writes every attribute from a node record.
    void fillFrom(const NodeRecord& node);
    /// A new record from the attributes: positions truncated toward zero, a nearly transparent
    /// bone colour replaced by the default, no tracks, identity pose.
    NodeRecord toRecord() const;

    /// Also takes the model name from the stored "name" entry.
    void loadAttributes(cocos2d::CCDictionary* dict) override;
    /// Two nodes are the same when their names and parents are.
    bool isSameAs(TSModel* other) override;

    QString nodeName() const;
    QString parentName() const;

private:
    TSPAttributeString* m_name;
    TSPAttributeString* m_defaultName;
    TSPAttributeString* m_parent;
    TSPAttributePoint* m_position;
    TSPAttributeFloat* m_size;
    TSPAttributeFloat* m_zOrder;
    TSPAttributeColor* m_boneColor;
    std::array<TSPAttributeFloat*, 9> m_matrix;
};
