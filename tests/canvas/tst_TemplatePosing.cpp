// Keyed drags on a shipped template document: what the user sees when the drag ends is the pose
// the new keys give, for joints and for the images bound to them, at any frame.
#include "AnimationCanvas.h"
#include "AnimationModelClasses.h"
#include "CanvasFixture.h"
#include "DocumentController.h"
#include "HistoryManager.h"
#include "PixmapPlaceholderItem.h"
#include "SceneAxes.h"
#include "TemplateLibrary.h"
#include "TestMain.h"
#include "ViewInput.h"

#include <QGraphicsPixmapItem>
#include <QtTest>

namespace {

const QString kShipped = QStringLiteral(BONESTAGE_SOURCE_DIR "/Resources");

bool sameTransform(const QTransform& a, const QTransform& b, double tolerance = 0.05)
{
    const qreal x[] = {a.m11(), a.m12(), a.m21(), a.m22(), a.dx(), a.dy()};
    const qreal y[] = {b.m11(), b.m12(), b.m21(), b.m22(), b.dx(), b.dy()};
    for (int i = 0; i < 6; ++i) {
        if (!(std::abs(x[i] - y[i]) < tolerance)) {
            return false;
        }
    }
    return true;
}

QString describe(const QTransform& t)
{
    return QStringLiteral("[%1 %2 %3 %4 %5 %6]")
        .arg(t.m11())
        .arg(t.m12())
        .arg(t.m21())
        .arg(t.m22())
        .arg(t.dx())
        .arg(t.dy());
}

} // namespace

class TestTemplatePosing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void releasedPoseIsTheDraggedPose_data();
    void releasedPoseIsTheDraggedPose();
};

void TestTemplatePosing::initTestCase()
{
    AnimationModelClasses::registerAll();
    TemplateLibrary::setRoot(kShipped + QStringLiteral("/animations/"));
}

void TestTemplatePosing::releasedPoseIsTheDraggedPose_data()
{
    // Gestures: "move" drags the joint; "rotate" and "scale" drag a corner handle of the joint,
    // or of the node's first image when prefixed with "image ".
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("frame");
    QTest::addColumn<QStringList>("gestures");
    QTest::newRow("move hand") << "hand_L" << 0 << QStringList{"move"};
    QTest::newRow("move hand between keys") << "hand_L" << 7 << QStringList{"move"};
    QTest::newRow("rotate forearm") << "forearm_L" << 0 << QStringList{"rotate"};
    QTest::newRow("rotate forearm between keys") << "forearm_L" << 21 << QStringList{"rotate"};
    QTest::newRow("scale head") << "head" << 0 << QStringList{"scale"};
    QTest::newRow("scale head between keys") << "head" << 33 << QStringList{"scale"};
    QTest::newRow("scale and turn the head image")
        << "head" << 0 << QStringList{"image scale", "image rotate"};
    QTest::newRow("scale, turn, scale the chest image")
        << "chest" << 40 << QStringList{"image scale", "image rotate", "image scale"};
}

void TestTemplatePosing::releasedPoseIsTheDraggedPose()
{
    QFETCH(QString, node);
    QFETCH(int, frame);
    QFETCH(QStringList, gestures);

    test::CanvasFixture f;
    HistoryManager history;
    history.setSkeleton(f.skeleton.get());
    AnimationCanvas canvas;
    SceneAxes axes;
    DocumentController document(f.skeleton.get(), &canvas, &axes);
    QString error;
    QVERIFY2(document.load(kShipped + QStringLiteral("/projects/Biped.bsdoc"), true, &error),
             qPrintable(error));
    QVERIFY(f.show());
    f.skeleton->setAnimationMode(true);
    f.manipulator->setAnimationMode(true);
    f.skeleton->showFrame(frame);

    Skeleton::Node* target = f.skeleton->nodeByName(node);
    QVERIFY(target);
    QList<Skeleton::Asset*> images;
    for (const auto& asset : f.skeleton->images()) {
        if (asset->nodeName == node) {
            images << asset.get();
        }
    }
    QVERIFY(!images.isEmpty());
    auto snapshot = [&] {
        QList<QTransform> transforms{target->joint->sceneTransform()};
        for (const Skeleton::Asset* image : images) {
            transforms << image->item->sceneTransform();
        }
        return transforms;
    };
    auto compare = [&](const QList<QTransform>& expected, const QString& when) {
        const QList<QTransform> actual = snapshot();
        for (int i = 0; i < expected.size(); ++i) {
            QVERIFY2(sameTransform(actual.at(i), expected.at(i)),
                     qPrintable(QStringLiteral("%1, item %2: %3 instead of %4")
                                    .arg(when)
                                    .arg(i)
                                    .arg(describe(actual.at(i)), describe(expected.at(i)))));
        }
    };

    f.view.centerOn(target->joint->sceneTransform().map(QPointF(0, 0)));
    QTest::qWait(0);
    QList<QTransform> dragged;
    for (const QString& gesture : gestures) {
        const QList<QTransform> before = snapshot();
        // Joints and images are chosen as in the outliner (bones of child nodes cover joints).
        QGraphicsItem* item = gesture.startsWith(QLatin1String("image "))
                                  ? static_cast<QGraphicsItem*>(images.first()->placeholder)
                                  : target->joint;
        f.manipulator->setTargets({item});
        const QPointF centre = item->sceneBoundingRect().center();
        QPointF start = centre;
        QPointF end = centre + QPointF(24, 15);
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        if (gesture != QLatin1String("move")) {
            start = f.manipulator->polygon().at(2);
            const QPointF arm = start - centre;
            if (gesture.endsWith(QLatin1String("rotate"))) {
                modifiers = Qt::ControlModifier;
                end = centre + QPointF(-arm.y(), arm.x());
            } else {
                end = centre + arm * 1.4;
            }
        }
        test::pressAt(&f.view, start, modifiers);
        test::moveTo(&f.view, (start + end) / 2, modifiers);
        test::moveTo(&f.view, end, modifiers);
        dragged = snapshot();
        QVERIFY2(dragged != before, qPrintable(gesture + QStringLiteral(" changed nothing")));
        test::releaseAt(&f.view, end, modifiers);
        compare(dragged, QStringLiteral("after releasing ") + gesture);
    }

    f.skeleton->showFrame(frame + 20);
    f.skeleton->showFrame(frame);
    compare(dragged, QStringLiteral("after scrubbing away and back"));
}

BONESTAGE_WIDGETS_TEST_MAIN(TestTemplatePosing)
#include "tst_TemplatePosing.moc"
