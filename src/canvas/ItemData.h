#pragma once

/// Keys of QGraphicsItem::data() through which canvas items describe themselves.
namespace ItemData {
enum Key {
    ZOrder = 127,          ///< stacking order of a joint (z order + 100000) or bone
    IsBone = 128,          ///< true on a bone polygon
    IsJoint = 129,         ///< true on a joint ellipse
    IsIndicator = 130,     ///< true on the add-node indicator
    NodeName = 131,        ///< the joint's node name
    ImageName = 132,       ///< the image's name, on its placeholder
    ParentName = 133,      ///< the joint's parent node name
    BoneJoint = 134,       ///< the bone's own joint item
    BoneParentJoint = 135, ///< the bone's parent joint item
    IsImage = 136,         ///< true on the placeholder of an image that is in the skeleton
    Locked = 137,          ///< true on a joint or image the user locked: the canvas does not pick it
    EditorOverlay = 138,   ///< true on an aid for the editing eye that renders and exports leave out
};
} // namespace ItemData
