#include "AnimationModelClasses.h"

#include "TSGraphicsPixmapModel.h"
#include "TSModelAtlas.h"
#include "TSModelController.h"
#include "TSModelObjectImage.h"
#include "TSModelSkeleton.h"
#include "TSModelSkeletonAnimation.h"
#include "TSModelSkeletonNode.h"
#include "TSModelSkeletonNodeAnimation.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"

namespace {

template <class T> void registerModel()
{
    TSModelController::registerClass(T::kClassName, [] { return static_cast<TSModel*>(new T()); });
}

} // namespace

void AnimationModelClasses::registerAll()
{
    registerModel<TSModelSprite>();
    registerModel<TSModelSpriteContainer>();
    registerModel<TSGraphicsPixmapModel>();
    registerModel<TSModelSkeletonNode>();
    registerModel<TSModelSkeleton>();
    registerModel<TSModelSkeletonAnimation>();
    registerModel<TSModelSkeletonNodeAnimation>();
    registerModel<TSModelObject>();
    registerModel<TSModelObjectImage>();
    // Atlases are kept across saving and opening, so later sprites join the existing atlases.
    registerModel<TSModelAtlas>();
}
