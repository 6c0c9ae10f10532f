#pragma once
// Test helper: a scene, a view, a manipulator, a rubber band and a skeleton wired the way the main
// window wires them, plus a small skeleton to work on.

#include "KeyframeWriter.h"
#include "ObjectManipulator.h"
#include "ObjectSelector.h"
#include "Skeleton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"

#include <QGraphicsEllipseItem>
#include <QtTest>

#include <memory>

namespace test {

/// Records every key written, then writes it.
class RecordingWriter : public KeyframeWriter
{
public:
    struct Call
    {
        AnimatedObject::AnimatedProperty property;
        float time;
        float oldValue;
        float newValue;
        bool isNewPoint;
    };

    void beginMacro(const QString& text) override { macros << text; }
    void changeAnimatedObjectValue(AnimatedObject* object, AnimatedObject::AnimatedProperty property, float time,
                                   float oldValue, float newValue, bool isNewPoint) override
    {
        calls.append(Call{property, time, oldValue, newValue, isNewPoint});
        object->channel(property).writeKey(newValue, time);
    }
    void endMacro() override {}

    QStringList macros;
    QList<Call> calls;
};

struct CanvasFixture
{
    CanvasFixture()
    {
        view.setScene(&scene);
        view.resize(600, 500);
        manipulator = new ObjectManipulator();
        scene.setManipulator(manipulator);
        selector = new ObjectSelector(manipulator);
        scene.addItem(selector);
        QObject::connect(&scene, &TSGraphicsScene::mousePressSignal, selector, &ObjectSelector::sceneMousePress);
        QObject::connect(&scene, &TSGraphicsScene::mouseMoveSignal, selector, &ObjectSelector::sceneMouseMove);
        QObject::connect(&scene, &TSGraphicsScene::mouseReleaseSignal, selector, &ObjectSelector::sceneMouseRelease);
        skeleton = std::make_unique<Skeleton>(&scene, &view, manipulator);
        skeleton->setFrameRate(60);
        QObject::connect(manipulator, &ObjectManipulator::targetMoved, skeleton.get(),
                         qOverload<QGraphicsItem*>(&Skeleton::updateSkeleton));
        QObject::connect(manipulator, &ObjectManipulator::targetRotated, skeleton.get(),
                         qOverload<QGraphicsItem*>(&Skeleton::updateSkeleton));
        QObject::connect(manipulator, &ObjectManipulator::targetScaled, skeleton.get(),
                         qOverload<QGraphicsItem*>(&Skeleton::updateSkeleton));
        QObject::connect(manipulator, &ObjectManipulator::targetSetMoveKey, skeleton.get(), &Skeleton::onItemSetMoveKey);
        QObject::connect(manipulator, &ObjectManipulator::targetSetScaleKey, skeleton.get(),
                         &Skeleton::onItemSetScaleKey);
        QObject::connect(manipulator, &ObjectManipulator::targetSetRotateKey, skeleton.get(),
                         &Skeleton::onItemSetRotationKey);
        QObject::connect(manipulator, &ObjectManipulator::targetReleased, skeleton.get(), &Skeleton::commitSetupPose);
        QObject::connect(&view, &TSGraphicsView::scaleChanged, skeleton.get(),
                         qOverload<float>(&Skeleton::viewZoomChanged));
        QObject::connect(&view, &TSGraphicsView::scaleChanged, manipulator,
                         qOverload<float>(&ObjectManipulator::viewZoomChanged));
        skeleton->setKeyframeWriter(&writer);
    }

    static NodeRecord record(const QString& name, const QString& parent, const QPointF& position)
    {
        NodeRecord node;
        node.name = name;
        node.defaultName = name;
        node.parent = parent;
        node.position = position;
        return node;
    }

    /// hip (0, 0) ← spine (0, −50) ← head (0, −40) and arm (30, 0).
    void buildBody()
    {
        skeleton->setNodes({record("hip", "", QPointF(0, 0)), record("spine", "hip", QPointF(0, -50)),
                            record("head", "spine", QPointF(0, -40)), record("arm", "spine", QPointF(30, 0))});
    }

    /// Shows the view; false when it never got onto the screen.
    bool show()
    {
        view.show();
        return QTest::qWaitForWindowExposed(&view);
    }

    /// A plain image of the given size and colour, bound to node at offset.
    Skeleton::Asset* addImage(const QString& node, const QSize& size, const QPointF& offset,
                              const QColor& colour = Qt::darkCyan)
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(colour);
        return skeleton->addImage(node, image, QTransform::fromTranslate(offset.x(), offset.y()), false);
    }

    /// Animation mode on the skeleton and the manipulator, showing tracks.
    void animate(AnimationTracks tracks = AnimationTracks())
    {
        skeleton->setAnimation(std::move(tracks));
        skeleton->setAnimationMode(true);
        manipulator->setAnimationMode(true);
    }

    QPointF jointPos(const QString& name) const
    {
        const Skeleton::Node* node = skeleton->nodeByName(name);
        return node->joint->sceneTransform().map(QPointF(0, 0));
    }

    TSGraphicsScene scene;
    TSGraphicsView view;
    ObjectManipulator* manipulator = nullptr;
    ObjectSelector* selector = nullptr;
    std::unique_ptr<Skeleton> skeleton;
    RecordingWriter writer;
};

inline bool near(const QPointF& a, const QPointF& b, double tolerance = 1e-3)
{
    return std::abs(a.x() - b.x()) < tolerance && std::abs(a.y() - b.y()) < tolerance;
}

} // namespace test
