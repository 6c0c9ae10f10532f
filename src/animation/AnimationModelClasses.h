#pragma once

/// Registers the model classes of skeletons, animations, images, sprites and objects with the
/// model controller, so documents holding them can be loaded. Safe to call more than once.
class AnimationModelClasses
{
public:
    static void registerAll();
};
