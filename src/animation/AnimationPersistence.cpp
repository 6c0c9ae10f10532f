#include "AnimationPersistence.h"

#include "CCArray.h"
#include "TSModelController.h"
#include "TSModelSkeletonAnimation.h"
#include "TSModelSkeletonNodeAnimation.h"

using namespace cocos2d;

namespace {

// The node-animation models that belong to identifier: the children, or, for an animation
// stored without children, every model naming it as its animation.
std::vector<TSModelSkeletonNodeAnimation*> tracksOf(TSModelSkeletonAnimation* animation, const QString& identifier)
{
    std::vector<TSModelSkeletonNodeAnimation*> result;
    CCArray* children = animation->children().models();
    if (children->count() > 0) {
        for (CCObject* obj : *children) {
            if (auto* track = dynamic_cast<TSModelSkeletonNodeAnimation*>(obj)) {
                result.push_back(track);
            }
        }
        return result;
    }
    if (CCArray* all = TSModelController::instance()->modelsOfClass(TSModelSkeletonNodeAnimation::kClassName)) {
        for (CCObject* obj : *all) {
            auto* track = dynamic_cast<TSModelSkeletonNodeAnimation*>(obj);
            if (track && track->animationName() == identifier) {
                result.push_back(track);
            }
        }
    }
    return result;
}

} // namespace

void AnimationPersistence::remove(const QString& identifier)
{
    TSModelController* controller = TSModelController::instance();
    const std::string name = identifier.toStdString();
    while (TSModel* model = controller->animationWithName(name)) {
        model->retain();
        if (auto* animation = dynamic_cast<TSModelSkeletonAnimation*>(model)) {
            for (TSModelSkeletonNodeAnimation* track : tracksOf(animation, identifier)) {
                controller->removeModel(track);
            }
        }
        controller->removeModel(model);
        model->release();
    }
}

TSModelSkeletonAnimation* AnimationPersistence::save(const QString& identifier, const AnimationTracks& tracks,
                                                     const QPointF& axesPosition)
{
    remove(identifier);
    TSModelController* controller = TSModelController::instance();
    auto* animation = new TSModelSkeletonAnimation();
    animation->setName(identifier.toStdString());
    animation->setAxesPosition(axesPosition);
    controller->addModel(animation, false);
    animation->release();

    for (const auto& object : tracks) {
        if (!object->inUse()) {
            continue;
        }
        auto* track = new TSModelSkeletonNodeAnimation();
        track->setNodeName(object->name());
        track->setDefaultName(object->defaultName());
        track->setDuration(object->duration());
        track->setAnimationName(identifier);
        controller->addModel(track, false);
        for (AnimatedObject::AnimatedProperty index : AnimatedObject::canonicalOrder()) {
            track->appendCurve(object->channel(index));
        }
        animation->children().append(track);
        track->release();
    }
    return animation;
}

bool AnimationPersistence::load(const QString& identifier, AnimationTracks* tracks, QPointF* axesPosition)
{
    auto* animation = dynamic_cast<TSModelSkeletonAnimation*>(
        TSModelController::instance()->animationWithName(identifier.toStdString()));
    if (!animation) {
        return false;
    }
    if (axesPosition) {
        *axesPosition = animation->axesPosition();
    }
    tracks->clear();
    const auto& order = AnimatedObject::canonicalOrder();
    for (TSModelSkeletonNodeAnimation* track : tracksOf(animation, identifier)) {
        auto object = std::make_unique<AnimatedObject>();
        object->setName(track->nodeName());
        object->setDefaultName(track->defaultName());
        object->setDuration(track->duration(), true);
        const std::vector<TSAnimationCurve>& curves = track->curves();
        for (size_t i = 0; i < curves.size() && i < order.size(); ++i) {
            const TSAnimationCurve& curve = curves[i];
            object->setChannelKeys(order[i], std::vector<bez3>(curve.keys(), curve.keys() + curve.keyCount()));
            object->channel(order[i]).setPreset(curve.preset());
        }
        tracks->append(std::move(object));
    }
    return true;
}
