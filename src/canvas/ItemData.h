#pragma once

/// Keys of QGraphicsItem::data() through which canvas items describe themselves.
namespace ItemData {
enum Key {
    ZOrder = 127,          ///< stacking order of a joint (z order + 100000) or bone
    IsBone = 128,          ///< true on a bone polygon
    IsJoint = 129,         ///< true on a joint ellipse
    IsIndicator = 130,     ///< true on the add-node indicator
    NodeName = 131,        ///< the joint's node name
    ParentName = 133,      ///< the joint's parent node name
    BoneJoint = 134,       ///< the bone's own joint item
    BoneParentJoint = 135, ///< the bone's parent joint item
    EditorOverlay = 136,   ///< true on an aid for the editing eye that renders and exports leave out
};
} // namespace ItemData
