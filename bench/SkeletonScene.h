#pragma once
// The scene the canvas and outliner benchmarks work on: a skeleton whose joints form a tree of
// three children each, every joint holding one square image ("i0", "i1", ...) centred on it.

#include "ObjectManipulator.h"
#include "Skeleton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"

#include <QImage>

#include <memory>

namespace bench {

struct SkeletonScene
{
    SkeletonScene(int nodes, int imageSide)
    {
        view.setScene(&scene);
        manipulator = new ObjectManipulator();
        scene.setManipulator(manipulator);
        skeleton = std::make_unique<Skeleton>(&scene, &view, manipulator);
        QList<NodeRecord> records;
        for (int i = 0; i < nodes; ++i) {
            NodeRecord node;
            node.name = QStringLiteral("n%1").arg(i);
            node.parent = i ? QStringLiteral("n%1").arg((i - 1) / 3) : QString();
            node.position = QPointF(10 + i % 7, -20);
            records.append(node);
        }
        skeleton->setNodes(records);
        QImage image(imageSide, imageSide, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(100, 150, 200));
        const QTransform centred = QTransform::fromTranslate(-imageSide / 2.0, -imageSide / 2.0);
        for (int i = 0; i < nodes; ++i) {
            skeleton->addImage(QStringLiteral("n%1").arg(i), image, centred, false, QStringLiteral("i%1").arg(i));
        }
    }

    TSGraphicsScene scene;
    TSGraphicsView view;
    ObjectManipulator* manipulator;
    std::unique_ptr<Skeleton> skeleton;
};

} // namespace bench
