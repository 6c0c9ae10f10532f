// The canvas view and scene driven with real events: zoom, panning, keys, drops, buttons.
#include "ScreenScale.h"
#include "TSGraphicsButton.h"
#include "TSGraphicsNode.h"
#include "TSGraphicsObject.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"
#include "TSMessageBox.h"
#include "TestMain.h"
#include "ViewInput.h"

#include <QGraphicsSceneMouseEvent>
#include <QScrollBar>
#include <QMimeData>
#include <QToolTip>
#include <QtTest>

class TestGraphicsView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void wheelZoomsInStepsAboutTheCursor();
    void gridStepSwitchesAt61Pixels();
    void spaceOrMiddleButtonPans();
    void shortcutsBecomeSignals();
    void overlayButtonsLayoutAndToggle();
    void dropsTakeOnlyPngImages();
    void leftPressWalksItems();
    void sceneSignalsAroundBaseHandling();
    void backgroundAndFrameRender();
    void sceneKeepsNoItemIndex();

private:
    TSGraphicsScene* m_scene = nullptr;
    TSGraphicsView* m_view = nullptr;
    QTemporaryDir m_dir;
};

void TestGraphicsView::init()
{
    m_scene = new TSGraphicsScene();
    m_view = new TSGraphicsView();
    m_view->setScene(m_scene);
    m_view->resize(640, 480);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    m_view->centerOn(0, 0);
}

void TestGraphicsView::cleanup()
{
    TSMessageBox::setAnswerer({});
    delete m_view;
    delete m_scene;
}

void TestGraphicsView::wheelZoomsInStepsAboutTheCursor()
{
    QSignalSpy scale(m_view, &TSGraphicsView::scaleChanged);
    QSignalSpy wheel(m_view, &TSGraphicsView::wheelEventSignal);
    const QPoint centre = m_view->viewport()->rect().center();
    test::wheel(m_view, centre, 120);
    QCOMPARE(m_view->zoomFactor(), 1.12f);
    QCOMPARE(m_view->transform().m11(), qreal(1.12f));
    test::wheel(m_view, centre, -120);
    QVERIFY(std::abs(m_view->zoomFactor() - 1.0f) < 1e-6f);
    // Delta 0 counts as zooming out by a step of 1: nothing changes, both signals still go.
    test::wheel(m_view, centre, 0);
    QCOMPARE(scale.count(), 3);
    QCOMPARE(wheel.count(), 3);

    m_view->setZoom(6.01f);
    test::wheel(m_view, centre, 120);
    QCOMPARE(m_view->zoomFactor(), 6.01f);
    m_view->setZoom(5.99f);
    test::wheel(m_view, centre, 240);
    QVERIFY(m_view->zoomFactor() > 6.0f); // checked before the step: may end above 6
    m_view->setZoom(0.149f);
    test::wheel(m_view, centre, -120);
    QCOMPARE(m_view->zoomFactor(), 0.149f);

    // The scene point under the cursor stays there while zooming in.
    m_view->setZoom(1.0f);
    const QPoint cursor(400, 300);
    const QPointF before = m_view->mapToScene(cursor);
    for (int i = 0; i < 5; ++i) {
        test::wheel(m_view, cursor, 240);
    }
    const QPointF after = m_view->mapToScene(cursor);
    QVERIFY2((after - before).manhattanLength() < 2.0 / m_view->zoomFactor() + 0.5,
             qPrintable(QStringLiteral("%1,%2 -> %3,%4").arg(before.x()).arg(before.y()).arg(after.x()).arg(after.y())));
}

void TestGraphicsView::gridStepSwitchesAt61Pixels()
{
    QCOMPARE(TSGraphicsView::gridStep(QTransform()), 60);
    QCOMPARE(TSGraphicsView::gridStep(QTransform::fromScale(60.9 / 60, 60.9 / 60)), 60);
    QCOMPARE(TSGraphicsView::gridStep(QTransform::fromScale(61.0 / 60, 61.0 / 60)), 20);
    QCOMPARE(TSGraphicsView::gridStep(QTransform::fromScale(4, 4)), 20);
    QCOMPARE(TSGraphicsView::gridStep(QTransform::fromScale(0.2, 0.2)), 60);
}

void TestGraphicsView::spaceOrMiddleButtonPans()
{
    // Space held pans; its auto-repeats are left alone.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(m_view, &press);
    QVERIFY(m_view->isPanning());
    QVERIFY(!m_view->isInteractive());
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(" "), true);
    QApplication::sendEvent(m_view, &repeat);
    QVERIFY(!repeat.isAccepted());
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(m_view, &release);
    QVERIFY(!m_view->isPanning());
    QVERIFY(m_view->isInteractive());

    // A drag with the middle button scrolls the view.
    const QPoint start(300, 200);
    const int hBefore = m_view->horizontalScrollBar()->value();
    test::sendMouse(m_view, QEvent::MouseButtonPress, start, Qt::MiddleButton, Qt::MiddleButton);
    QVERIFY(m_view->isPanning());
    test::sendMouse(m_view, QEvent::MouseMove, start + QPoint(-50, 0), Qt::NoButton, Qt::LeftButton);
    test::sendMouse(m_view, QEvent::MouseButtonRelease, start + QPoint(-50, 0), Qt::MiddleButton, Qt::NoButton);
    QVERIFY(!m_view->isPanning());
    QVERIFY(m_view->isInteractive());
    QVERIFY(m_view->horizontalScrollBar()->value() != hBefore);
}

void TestGraphicsView::shortcutsBecomeSignals()
{
    QSignalSpy copy(m_view, &TSGraphicsView::copyPressed);
    QSignalSpy paste(m_view, &TSGraphicsView::pastePressed);
    QSignalSpy pressed(m_view, &TSGraphicsView::buttonPressed);
    QSignalSpy released(m_view, &TSGraphicsView::buttonReleased);
    QTest::keyClick(m_view, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(m_view, Qt::Key_C);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QString(), true);
    QApplication::sendEvent(m_view, &repeated);
    QCOMPARE(copy.count(), 1);
    QCOMPARE(paste.count(), 1);
    pressed.clear();
    released.clear();
    QTest::keyPress(m_view, Qt::Key_Control);
    QTest::keyRelease(m_view, Qt::Key_Control);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).toInt(), int(Qt::Key_Control));
    QCOMPARE(released.count(), 1);
}

void TestGraphicsView::overlayButtonsLayoutAndToggle()
{
    TSGraphicsButton* first = m_view->addButton(QIcon(), "first");
    TSGraphicsButton* second = m_view->addButton(QIcon(), "second");
    const int width = m_view->viewport()->width();
    // 28 pixels square times the screen scale, 5 pixels apart and from the top right corner.
    const int side = qRound(28 * ScreenScale::of(m_view));
    QCOMPARE(first->rect(), QRect(width - side - 5, 5, side, side));
    QCOMPARE(second->rect(), QRect(width - 2 * (side + 5), 5, side, side));
    QSignalSpy toggled(second, &TSGraphicsButton::toggled);
    int walks = 0;
    connect(m_view, qOverload<TSGraphicsObject*, QPointF>(&TSGraphicsView::objectDidSelected), this,
            [&walks](TSGraphicsObject*, QPointF) { ++walks; });
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::NoModifier, second->rect().center());
    QCOMPARE(toggled.count(), 1);
    QVERIFY(second->isChecked());
    QCOMPARE(walks, 0); // consumed by the button
    second->setChecked(true);
    QCOMPARE(toggled.count(), 1);
    second->setEnabled(false);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::NoModifier, second->rect().center());
    QCOMPARE(toggled.count(), 1);
    m_view->resize(800, 480);
    QCOMPARE(first->rect().x(), m_view->viewport()->width() - side - 5);
    second->setEnabled(true);

    // Resting the pointer: the tip the platform asks for over a button is the button's text; the
    // canvas beside the buttons has none.
    const auto tipAt = [this](const QPoint& at) -> QString {
        QTest::mouseMove(m_view->viewport(), at);
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) {
            return QStringLiteral("(a tip that never goes)");
        }
        QHelpEvent rest(QEvent::ToolTip, at, m_view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(m_view->viewport(), &rest);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipAt(QPoint(100, 200)), QString());
    QCOMPARE(tipAt(first->rect().center()), QStringLiteral("first"));
    QCOMPARE(tipAt(second->rect().center()), QStringLiteral("second"));
}

void TestGraphicsView::dropsTakeOnlyPngImages()
{
    const QString png = m_dir.filePath("a.png");
    const QString jpeg = m_dir.filePath("b.jpg");
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(png));
    QVERIFY(image.save(jpeg, "JPEG"));
    QCOMPARE(TSGraphicsView::firstNonPngFile({QUrl::fromLocalFile(png), QUrl::fromLocalFile(jpeg)}), jpeg);
    QCOMPARE(TSGraphicsView::firstNonPngFile({QUrl::fromLocalFile(png)}), QString());
    QList<TSMessageBox::Request> boxes;
    TSMessageBox::setAnswerer([&boxes](const TSMessageBox::Request& r) {
        boxes << r;
        return QMessageBox::Ok;
    });
    QSignalSpy enter(m_view, &TSGraphicsView::dragEnterSignal);
    QSignalSpy dropped(m_view, &TSGraphicsView::dropImages);

    // A JPEG among the files: nothing is taken, and one warning names it.
    QMimeData mixed;
    mixed.setUrls({QUrl::fromLocalFile(png), QUrl::fromLocalFile(jpeg)});
    test::dropOn(m_view->viewport(), QPoint(100, 100), &mixed);
    QCOMPARE(dropped.count(), 0);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Kilnmark"));
    QCOMPARE(boxes.first().text, "File \"" + jpeg + "\" has invalid type: You can drop only PNG images.");
    QVERIFY(!m_view->isDragHovering());

    // PNGs alone are announced. The drop overlay covers the middle of the view only while a drag hovers.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(png)});
    const QRect centre(m_view->viewport()->rect().center() - QPoint(40, 40), QSize(80, 80));
    const QImage before = m_view->viewport()->grab(centre).toImage();
    const int entered = enter.count();
    test::dragOver(m_view->viewport(), QPoint(50, 50), &data);
    QVERIFY(m_view->isDragHovering());
    QCOMPARE(enter.count(), entered + 1);
    QVERIFY(m_view->viewport()->grab(centre).toImage() != before);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_view->viewport(), &drop);
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped.at(0).at(0).value<QList<QUrl>>(), QList<QUrl>({QUrl::fromLocalFile(png)}));
    QVERIFY(!m_view->isDragHovering());
    QCOMPARE(m_view->viewport()->grab(centre).toImage(), before);
    QCOMPARE(boxes.size(), 1);
}

void TestGraphicsView::leftPressWalksItems()
{
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 10; y < 20; ++y) {
        for (int x = 10; x < 20; ++x) {
            image.setPixel(x, y, qPremultiply(qRgba(255, 0, 0, 255)));
        }
    }
    auto* object = new TSGraphicsObject();
    object->setImage(image);
    m_scene->addItem(object);
    QVERIFY(object->hitTest(QPointF(5, 5)));
    QVERIFY(!object->hitTest(QPointF(-5, -5)));

    QList<TSGraphicsObject*> objects;
    connect(m_view, qOverload<TSGraphicsObject*, QPointF>(&TSGraphicsView::objectDidSelected), this,
            [&objects](TSGraphicsObject* selected, QPointF) { objects << selected; });
    int nodes = 0;
    connect(m_view, &TSGraphicsView::nodeDidSelected, this, [&nodes](TSGraphicsNode*) { ++nodes; });
    test::pressAt(m_view, QPointF(5.5, 5.5));
    test::releaseAt(m_view, QPointF(5.5, 5.5));
    QCOMPARE(objects, QList<TSGraphicsObject*>({object}));
    // A transparent pixel passes the walk through to nothing.
    test::pressAt(m_view, QPointF(-5, -5));
    test::releaseAt(m_view, QPointF(-5, -5));
    QCOMPARE(objects, QList<TSGraphicsObject*>({object, nullptr}));
    QCOMPARE(nodes, 1);

    QSignalSpy menu(m_view, &TSGraphicsView::customContextMenuRequested);
    test::pressAt(m_view, QPointF(5, 5), Qt::NoModifier, Qt::RightButton);
    QCOMPARE(menu.count(), 1);
}

void TestGraphicsView::sceneSignalsAroundBaseHandling()
{
    QSignalSpy press(m_scene, &TSGraphicsScene::mousePressSignal);
    QSignalSpy move(m_scene, &TSGraphicsScene::mouseMoveSignal);
    QSignalSpy release(m_scene, &TSGraphicsScene::mouseReleaseSignal);
    test::drag(m_view, QPointF(-100, -100), QPointF(-50, -60));
    QCOMPARE(press.count(), 1);
    QCOMPARE(move.count(), 4);
    QCOMPARE(release.count(), 1);
}

void TestGraphicsView::backgroundAndFrameRender()
{
    m_scene->setFrameShown(true);
    m_scene->setFrameSize(QSize(200, 100));
    m_view->setOriginMarkerShown(true);
    m_view->centerOn(100, -50);
    // Sample points clear of the grid lines every 60 units.
    const auto at = [this](const QImage& shot, qreal x, qreal y) {
        return shot.pixelColor(m_view->mapFromScene(QPointF(x, y)));
    };
    // Inside the frame (0, -100, 200, 100) the bare background, outside it the background dimmed
    // by grey at half opacity, on its edge the outline.
    QImage shot = m_view->viewport()->grab().toImage();
    QCOMPARE(at(shot, 90, -50), QColor(25, 25, 25));
    QCOMPARE(at(shot, 330, -50), QColor(48, 48, 48));
    QCOMPARE(at(shot, 100, -100), QColor(90, 90, 90));

    // The frame's bottom edge hides the origin marker's red line; without the frame it shows.
    m_scene->setFrameShown(false);
    shot = m_view->viewport()->grab().toImage();
    QCOMPARE(at(shot, 15, 0), QColor(120, 0, 0));
    QCOMPARE(at(shot, 330, -50), QColor(25, 25, 25));
}

void TestGraphicsView::sceneKeepsNoItemIndex()
{
    // During playback every joint and image moves on every frame: an index of item positions
    // would be rebuilt each time for all of them. Without one, an item moved after a paint is
    // still found where it is.
    QCOMPARE(m_scene->itemIndexMethod(), QGraphicsScene::NoIndex);
    QGraphicsRectItem* item = m_scene->addRect(0, 0, 10, 10);
    m_view->viewport()->grab();
    item->setTransform(QTransform::fromTranslate(200, 0));
    QCOMPARE(m_scene->items(QPointF(205, 5)), QList<QGraphicsItem*>{item});
    QVERIFY(m_scene->items(QPointF(5, 5)).isEmpty());
}

BONESTAGE_WIDGETS_TEST_MAIN(TestGraphicsView)
#include "tst_GraphicsView.moc"
