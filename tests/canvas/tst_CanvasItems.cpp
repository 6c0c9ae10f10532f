// Output frame, guides and add-node button, driven through the view.
#include "AddNodeIndicator.h"
#include "AnimationCanvas.h"
#include "CanvasFixture.h"
#include "SceneAxes.h"
#include "PixmapPlaceholderItem.h"
#include "ScreenScale.h"
#include "TestMain.h"
#include "ViewInput.h"

#include <QGraphicsRectItem>
#include <QtTest>

namespace {

// Shows the view and adds an output frame of rect to the scene, centred in the view.
AnimationCanvas* shownCanvas(test::CanvasFixture& f, const QRectF& rect)
{
    f.view.show();
    if (!QTest::qWaitForWindowExposed(&f.view)) {
        return nullptr;
    }
    auto* canvas = new AnimationCanvas();
    f.scene.addItem(canvas);
    canvas->setCanvasRect(rect);
    f.view.centerOn(rect.center());
    return canvas;
}

} // namespace

class TestCanvasItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void canvasLabelAndHandles();
    void canvasDragsAndLabelPress();
    void axesDragEmitsValueChanged();
    void indicatorVisibilityRules();
};

void TestCanvasItems::canvasLabelAndHandles()
{
    QCOMPARE(AnimationCanvas::labelText(QRectF(-256, -256, 512, 512)), QStringLiteral("154x154"));
    QCOMPARE(AnimationCanvas::labelText(QRectF(0, 0, 5, 15)), QStringLiteral("2x5"));
    AnimationCanvas canvas;
    QCOMPARE(canvas.canvasRect(), QRectF(-256, -256, 512, 512));
    QCOMPARE(canvas.label()->text(), QStringLiteral("154x154"));
    QCOMPARE(canvas.handle(2)->rect().center(), QPointF(256, 256));
    canvas.viewZoomChanged(2.0f);
    QVERIFY(std::abs(canvas.handle(0)->rect().width() - AnimationCanvas::kHandleSize * ScreenScale::of(nullptr) / 2) <
            1e-6);
    // The label sits centred above the frame.
    const QRectF label = canvas.label()->sceneBoundingRect();
    QVERIFY(std::abs(label.center().x()) < 1.0);
    QVERIFY(label.bottom() <= -256.0);
}

void TestCanvasItems::canvasDragsAndLabelPress()
{
    test::CanvasFixture f;
    AnimationCanvas* canvas = shownCanvas(f, QRectF(-100, -100, 200, 200));
    QVERIFY(canvas);
    QSignalSpy fromTo(canvas, &AnimationCanvas::canvasRectChangedFromTo);
    QSignalSpy changed(canvas, &AnimationCanvas::canvasRectChanged);
    // A click on a corner changes nothing and says nothing; a drag of it says both once.
    test::drag(&f.view, QPointF(100, 100), QPointF(100, 100));
    QCOMPARE(fromTo.count(), 0);
    QCOMPARE(changed.count(), 0);
    test::drag(&f.view, QPointF(100, 100), QPointF(140, 120));
    QCOMPARE(fromTo.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(fromTo.at(0).at(0).toRectF(), QRectF(-100, -100, 200, 200));
    const QRectF after = fromTo.at(0).at(1).toRectF();
    QVERIFY(std::abs(after.right() - 140) < 1.5 && std::abs(after.bottom() - 120) < 1.5);
    QCOMPARE(after.topLeft(), QPointF(-100, -100));
    QCOMPARE(changed.at(0).at(0).toRectF(), after);

    // With Shift a corner moves along one axis only.
    test::drag(&f.view, QPointF(-100, -100), QPointF(-130, -110), Qt::ShiftModifier);
    QVERIFY(std::abs(canvas->canvasRect().left() + 130) < 1.5);
    QVERIFY(std::abs(canvas->canvasRect().top() + 100) < 1e-6);

    // A press on the size label asks for it to be edited.
    QSignalSpy editing(canvas, &AnimationCanvas::textEditingRequested);
    const QPointF label = canvas->label()->sceneBoundingRect().center();
    f.view.centerOn(label);
    test::pressAt(&f.view, label);
    test::releaseAt(&f.view, label);
    QCOMPARE(editing.count(), 1);
    delete canvas;
}

void TestCanvasItems::axesDragEmitsValueChanged()
{
    test::CanvasFixture f;
    QVERIFY(f.show());
    auto* axes = new SceneAxes();
    f.scene.addItem(axes);
    f.view.centerOn(0, 0);
    QSignalSpy changed(axes, &SceneAxes::valueChanged);
    test::drag(&f.view, QPointF(2, 80), QPointF(50, 80));
    QCOMPARE(changed.count(), 1);
    QVERIFY(std::abs(axes->crossing().x() - 50) < 1.5);
    QCOMPARE(axes->crossing().y(), 0.0);
    // Near the crossing both lines move.
    test::drag(&f.view, QPointF(50, 1), QPointF(70, 30));
    QVERIFY2(std::abs(axes->crossing().x() - 70) < 1.5, qPrintable(QString("%1 %2").arg(axes->crossing().x()).arg(axes->crossing().y())));
    QVERIFY(std::abs(axes->crossing().y() - 30) < 1.5);
    delete axes;
}

void TestCanvasItems::indicatorVisibilityRules()
{
    test::CanvasFixture f;
    f.buildBody();
    auto* indicator = new AddNodeIndicator(f.manipulator);
    QObject::connect(f.manipulator, &ObjectManipulator::targetChanged, indicator, &AddNodeIndicator::updatePosition);
    Skeleton::Asset* asset = f.addImage("arm", {8, 8}, {}, Qt::red);

    f.manipulator->setTargets({f.skeleton->nodeByName("head")->joint});
    QVERIFY(indicator->isVisible());
    // 60 units beyond the head, away from the spine (straight up).
    QVERIFY(test::near(indicator->sceneBoundingRect().center(), QPointF(0, -150), 0.01));
    f.manipulator->setTargets({f.skeleton->nodeByName("hip")->joint});
    QVERIFY(!indicator->isVisible());
    f.manipulator->setTargets({f.skeleton->nodeByName("head")->joint, f.skeleton->nodeByName("arm")->joint});
    QVERIFY(!indicator->isVisible());
    f.manipulator->setTargets({static_cast<QGraphicsItem*>(asset->placeholder)});
    QVERIFY(!indicator->isVisible());
    f.manipulator->setTargets({f.skeleton->nodeByName("arm")->joint});
    QVERIFY(test::near(indicator->sceneBoundingRect().center(), QPointF(90, -50), 0.01));
    // 20 pixels across on screen times the screen scale, at any zoom from 1 up (the test also
    // runs with a logical DPI of 192, a screen scale of 2).
    QObject::connect(&f.view, &TSGraphicsView::scaleChanged, indicator,
                     qOverload<float>(&AddNodeIndicator::viewZoomChanged));
    const double scale = ScreenScale::of(&f.view);
    if (qEnvironmentVariableIntValue("QT_FONT_DPI") == 192) {
        QCOMPARE(scale, 2.0);
    }
    for (const float zoom : {1.0f, 4.0f}) {
        f.view.setZoom(zoom);
        QVERIFY2(std::abs(indicator->rect().width() * zoom - 20 * scale) < 1e-6,
                 qPrintable(QString::number(indicator->rect().width() * zoom)));
    }
    f.view.setZoom(1.0f);
    QSignalSpy pressed(indicator, &AddNodeIndicator::itemPressed);
    QVERIFY(f.show());
    f.view.centerOn(90, -50);
    test::pressAt(&f.view, QPointF(90, -50));
    QCOMPARE(pressed.count(), 1);
}

BONESTAGE_WIDGETS_TEST_MAIN(TestCanvasItems)
#include "tst_CanvasItems.moc"
