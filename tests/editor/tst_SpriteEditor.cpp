// Frame animations in the window: PNG files dropped on a joint's image row become one animated
// image in one step, saved with their atlases and opened again; bad drops are refused with
// nothing made; the sprite editor plays, times, recolours and hands over animations.
#include "CCArray.h"
#include "HistoryManager.h"
#include "ObjectSettingsPanel.h"
#include "SpriteAnimationBuilder.h"
#include "TSAttributeWidget.h"
#include "TSAttributesView.h"
#include "TSImageDropArea.h"
#include "TSLibraryWidget.h"
#include "TSModelAtlas.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"
#include "TSPAttributeFloat.h"
#include "TSSpritesWindow.h"
#include "TestMain.h"
#include "WindowAnswers.h"
#include "WindowFixture.h"

#include <QGraphicsPixmapItem>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

QImage shown(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

int modelCount(const char* className)
{
    cocos2d::CCArray* models = TSModelController::instance()->modelsOfClass(className);
    return models ? static_cast<int>(models->count()) : 0;
}

} // namespace

class TestSpriteEditor : public QObject, test::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // As the application does: icons hand out pixmaps at the screen's pixel density.
        QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
        setUpApplication();
    }
    void init() { openWindow(QSize(1280, 800)); }
    void cleanup() { closeWindow(); }
    void droppedFramesAreOneStepSavedAndReopened();
    void badDropsAreRefused_data();
    void badDropsAreRefused();
    void editorPlaysTimesRecoloursAndHandsOver();
    void stillAndFramelessAnimations();
    void screenshot();

private:
    void openBipedAt(const QString& joint);
    /// A PNG of size holding an opaque rectangle, or a ball (antialiased) when ball is set.
    QString frame(const QString& name, const QSize& size, const QRect& shape, const QColor& color,
                  bool ball = false);
    /// count frames of 16 × 16, each its own colour.
    QStringList colourFrames(const QString& prefix, int count);
    void drop(const QStringList& paths);
    TSSpritesWindow* openEditor();
    /// The image bound to joint that plays a sprite.
    Skeleton::Asset* spriteImage(const QString& joint) const;
    template <class T> T* in(QWidget* parent, const char* name) const { return widget<T>(name, parent); }
};

void TestSpriteEditor::openBipedAt(const QString& joint)
{
    openTemplate();
    QVERIFY(test::clickRow(m_window->outliner()->tree(), joint));
    QVERIFY(in<TSImageDropArea>(m_window, "imageDropArea")->isVisible());
}

QString TestSpriteEditor::frame(const QString& name, const QSize& size, const QRect& shape,
                                const QColor& color, bool ball)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (ball) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(color.darker(160), 2));
        painter.setBrush(color);
        painter.drawEllipse(shape);
    } else {
        painter.fillRect(shape, color);
    }
    painter.end();
    const QString path = m_dir.filePath(name);
    return image.save(path, "PNG") ? path : QString();
}

QStringList TestSpriteEditor::colourFrames(const QString& prefix, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << frame(QStringLiteral("%1%2.png").arg(prefix).arg(i), QSize(16, 16), QRect(0, 0, 16, 16),
                       QColor::fromHsv(i * 36 % 360, 200, 230));
    }
    return paths;
}

void TestSpriteEditor::drop(const QStringList& paths)
{
    auto* area = in<TSImageDropArea>(m_window, "imageDropArea");
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    data.setUrls(urls);
    QVERIFY(test::dropOn(area, area->rect().center(), &data));
}

TSSpritesWindow* TestSpriteEditor::openEditor()
{
    QTest::mouseDClick(in<TSImageDropArea>(m_window, "imageDropArea"), Qt::LeftButton);
    auto* window = m_window->findChild<ObjectSettingsPanel*>()->spritesWindow();
    if (window && !QTest::qWaitForWindowExposed(window)) {
        return nullptr;
    }
    return window;
}

Skeleton::Asset* TestSpriteEditor::spriteImage(const QString& joint) const
{
    for (const auto& asset : m_window->skeleton()->images()) {
        if (asset->nodeName == joint && asset->container) {
            return asset.get();
        }
    }
    return nullptr;
}

void TestSpriteEditor::droppedFramesAreOneStepSavedAndReopened()
{
    openBipedAt("forearm_L");
    HistoryManager* history = m_window->history();
    const size_t images = m_window->skeleton()->images().size();
    // Three sizes, dropped out of name order.
    drop({frame("step_c.png", QSize(40, 40), QRect(10, 10, 20, 20), Qt::blue),
          frame("step_a.png", QSize(64, 32), QRect(0, 0, 64, 32), Qt::red),
          frame("step_b.png", QSize(20, 50), QRect(5, 0, 10, 50), Qt::green)});
    QCOMPARE(history->count(), 1);
    QCOMPARE(history->undoText(), QStringLiteral("add animation"));
    QCOMPARE(m_window->skeleton()->images().size(), images + 1);
    Skeleton::Asset* image = spriteImage("forearm_L");
    QVERIFY(image);
    TSModelSpriteContainer* container = image->container;
    QCOMPARE(container->spriteCount(), 3);
    QStringList names;
    QList<QImage> frames;
    for (int i = 0; i < 3; ++i) {
        names << QString::fromStdString(container->spriteAt(i)->name());
        frames << container->frameImage(i);
    }
    QCOMPARE(names, QStringList({"step_a", "step_b", "step_c"}));
    QCOMPARE(frames[0].size(), QSize(64, 50));
    QCOMPARE(m_window->manipulator()->targets(), QList<QGraphicsItem*>({image->placeholder}));
    QCOMPARE(shown(image->item->pixmap().toImage()), frames[container->currentFrameIndex()]);

    // One undo takes the image and its animation out of the document; redo puts both back.
    const unsigned id = container->id();
    m_window->history()->undo();
    QCOMPARE(m_window->skeleton()->images().size(), images);
    QCOMPARE(TSModelController::instance()->modelWithId(id), nullptr);
    QCOMPARE(modelCount(TSModelSprite::kClassName), 0);
    m_window->history()->redo();
    QCOMPARE(spriteImage("forearm_L")->container, container);
    QCOMPARE(TSModelController::instance()->modelWithId(id), container);
    QCOMPARE(TSModelAtlas::atlasesOf(container).size(), 1);

    const QString path = m_dir.filePath("animated.bsdoc");
    QVERIFY(m_window->writeDocument(path));
    TSModelAtlas* atlas = TSModelAtlas::atlasesOf(container).first();
    QVERIFY(QFileInfo(atlas->imagePath()).isFile());
    QVERIFY(QFileInfo(atlas->plistPath()).isFile());
    QCOMPARE(QImage(atlas->imagePath()).size(), QSize(2048, 2048));

    QVERIFY(m_window->loadDocument(path, false));
    Skeleton::Asset* reopened = spriteImage("forearm_L");
    QVERIFY(reopened);
    QCOMPARE(reopened->container->spriteCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(reopened->container->frameImage(i), frames[i]);
    }
}

void TestSpriteEditor::badDropsAreRefused_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("message");
    const QString good = frame("good.png", QSize(30, 30), QRect(0, 0, 30, 30), Qt::red);
    QFile text(m_dir.filePath("notes.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("frames") > 0);
    text.close();
    QTest::newRow("not a png") << QStringList({good, text.fileName()}) << "\"notes.txt\" is not a PNG image.";
    QTest::newRow("transparent") << QStringList({frame("clear1.png", QSize(20, 20), QRect(), Qt::red),
                                                 frame("clear2.png", QSize(20, 20), QRect(), Qt::red)})
                                 << "Every image is fully transparent: there is nothing to show.";
    QTest::newRow("larger than an atlas")
        << QStringList({good, frame("wide.png", QSize(4096, 16), QRect(0, 0, 4096, 16), Qt::red)})
        << QString::fromUtf8("\"wide.png\" is 4096 × 16 pixels after trimming; a frame can be at most "
                             "2044 × 2044 pixels to fit into a texture atlas.");
    QTest::newRow("200 frames") << colourFrames("many", 200) << QString();
}

void TestSpriteEditor::badDropsAreRefused()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, message);
    openBipedAt("head");
    test::Boxes boxes;
    const size_t images = m_window->skeleton()->images().size();
    drop(paths);
    if (message.isEmpty()) {
        QCOMPARE(boxes.shown.size(), 0);
        QCOMPARE(m_window->history()->count(), 1);
        QCOMPARE(spriteImage("head")->container->spriteCount(), paths.size());
        return;
    }
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Frame Animation"));
    QCOMPARE(boxes.shown[0].text, message);
    QCOMPARE(m_window->history()->count(), 0);
    QCOMPARE(m_window->skeleton()->images().size(), images);
    QCOMPARE(modelCount(TSModelSprite::kClassName), 0);
    QCOMPARE(modelCount(TSModelSpriteContainer::kClassName), 0);
}

void TestSpriteEditor::editorPlaysTimesRecoloursAndHandsOver()
{
    openBipedAt("head");
    HistoryManager* history = m_window->history();
    QVERIFY(history->addSpriteAnimation(colourFrames("other", 2), "head"));
    TSModelSpriteContainer* other = spriteImage("head")->container;
    QVERIFY(test::clickRow(m_window->outliner()->tree(), "forearm_L"));
    drop(colourFrames("run", 10));
    Skeleton::Asset* image = spriteImage("forearm_L");
    TSModelSpriteContainer* container = image->container;
    QCOMPARE(history->count(), 2);

    TSSpritesWindow* window = openEditor();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Sprite Editor"));
    QCOMPARE(window->size(), QSize(919, 497));
    QCOMPARE(window->spriteContainer(), container);
    QCOMPARE(window->library()->list()->count(), 2);
    QCOMPARE(window->library()->selectedModel(), container);
    QVERIFY(in<QWidget>(window, "animationEditorTools")->isVisible());
    QCOMPARE(in<QLineEdit>(window, "durationLineEdit")->text(), QStringLiteral("10"));
    QCOMPARE(in<QLineEdit>(window, "animationSpeedLineEdit")->text(), QStringLiteral("1"));
    QCOMPARE(window->previewImage(), container->frameImage(0));

    // Playing: a tick each trunc((1000 / 60) / speed) ms, frames 0 to 9 and then 0 again.
    QTest::mouseClick(in<QToolButton>(window, "playButton"), Qt::LeftButton);
    QVERIFY(window->playTimer() && window->playTimer()->isActive());
    QCOMPARE(window->playTimer()->interval(), 16);
    QList<int> played;
    for (int tick = 0; tick < 10; ++tick) {
        window->timerTimout();
        played << window->timeline()->currentFrame();
        QCOMPARE(window->previewImage(), container->frameImage(played.last()));
    }
    QCOMPARE(played, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));

    auto* speed = in<QLineEdit>(window, "animationSpeedLineEdit");
    test::typeInto(speed, "2");
    QCOMPARE(container->animationSpeed(), 2.0f);
    QCOMPARE(window->playTimer()->interval(), 8);
    QCOMPARE(history->undoText(), QStringLiteral("Sprite speed"));
    test::typeInto(speed, "0.5");
    QCOMPARE(window->playTimer()->interval(), 33);
    const int steps = history->count();
    test::Boxes boxes;
    for (const char* bad : {"0", "-1", "fast"}) {
        test::typeInto(speed, bad);
        QCOMPARE(speed->text(), QStringLiteral("0.5"));
    }
    QCOMPARE(boxes.shown.size(), 3);
    QCOMPARE(boxes.shown[0].text,
             QStringLiteral("The speed must be a number greater than 0 and at most 1000."));
    QCOMPARE(container->animationSpeed(), 0.5f);
    auto* frames = in<QLineEdit>(window, "durationLineEdit");
    test::typeInto(frames, "0");
    QCOMPARE(boxes.shown.last().text,
             QStringLiteral("The length must be a whole number of frames from 1 to 216000."));
    QCOMPARE(history->count(), steps);
    test::typeInto(frames, "20");
    QCOMPARE(container->duration(), 20 / 60.0f);
    QCOMPARE(window->timeline()->frameCount(), 20);
    QCOMPARE(history->undoText(), QStringLiteral("Sprite frames"));
    QTest::mouseClick(in<QToolButton>(window, "playButton"), Qt::LeftButton);
    QVERIFY(!window->playTimer()->isActive());

    // A colour value recolours the preview and the canvas at once, as one step; Ctrl+Z typed in
    // the field takes it back.
    const auto canvasColour = [image] { return image->item->pixmap().toImage().pixelColor(8, 8); };
    const QColor before = canvasColour();
    auto* brightness = window->attributesView()
                           ->widgetFor(container->attributeNamed("Brightness"))
                           ->findChild<QLineEdit*>("value");
    test::typeInto(brightness, "1");
    QCOMPARE(history->undoText(), QStringLiteral("Sprite Brightness"));
    QCOMPARE(window->previewImage().pixelColor(8, 8), QColor(Qt::white));
    QCOMPARE(canvasColour(), QColor(Qt::white));
    QCOMPARE(in<QLineEdit>(m_window, "brightness")->text(), QStringLiteral("1"));
    QTest::keyClick(brightness, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(container->brightness(), 0.0f);
    QCOMPARE(brightness->text(), QStringLiteral("0"));
    QCOMPARE(canvasColour(), before);
    QCOMPARE(window->previewImage(), container->frameImage(window->timeline()->currentFrame()));

    // "Save" gives the image the animation chosen in the library, as one step.
    QListWidget* list = window->library()->list();
    QListWidgetItem* row = window->library()->itemOf(other);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(row).center());
    QCOMPARE(window->spriteContainer(), other);
    QCOMPARE(window->previewImage(), other->frameImage(0));
    QPointer<TSSpritesWindow> guard(window);
    QTest::mouseClick(in<QPushButton>(window, "assignButton"), Qt::LeftButton);
    QTRY_VERIFY(!guard);
    QCOMPARE(image->container, other);
    QCOMPARE(history->undoText(), QStringLiteral("change animation"));
    history->undo();
    QCOMPARE(image->container, container);
}

void TestSpriteEditor::stillAndFramelessAnimations()
{
    openBipedAt("head");
    TSModelSpriteContainer* still = SpriteAnimationBuilder::build(colourFrames("still", 1), nullptr);
    TSModelSpriteContainer* emptied = SpriteAnimationBuilder::build(colourFrames("gone", 2), nullptr);
    QVERIFY(still && emptied);
    emptied->sprites().clear();
    TSSpritesWindow window(m_window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.library()->list()->count(), 2);
    // Thumbnails are drawn at the screen's pixel density (this test also runs at a ratio of 2).
    for (int row = 0; row < 2; ++row) {
        const QIcon icon = window.library()->list()->item(row)->icon();
        const QPixmap thumbnail = icon.pixmap(window.windowHandle(), window.library()->list()->iconSize());
        QCOMPARE(thumbnail.devicePixelRatio(), window.devicePixelRatioF());
    }

    window.setSpriteContainer(still);
    QVERIFY(!in<QWidget>(&window, "animationEditorTools")->isVisible());
    QCOMPARE(window.previewImage(), still->frameImage(0));

    window.setSpriteContainer(emptied);
    QVERIFY(!in<QWidget>(&window, "animationEditorTools")->isVisible());
    QCOMPARE(in<QLabel>(&window, "previewMessage")->text(),
             QStringLiteral("\"gone0\" has no frames: its images are gone from the document."));
    test::Boxes boxes;
    QSignalSpy picked(&window, &TSSpritesWindow::spriteDidSelected);
    QTest::mouseClick(in<QPushButton>(&window, "assignButton"), Qt::LeftButton);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].text, QStringLiteral("\"gone0\" has no frames to show."));
    QCOMPARE(picked.count(), 0);
    QVERIFY(window.isVisible());
}

void TestSpriteEditor::screenshot()
{
    openBipedAt("hand_R");
    QStringList balls;
    const QColor colours[] = {QColor(230, 90, 60),  QColor(240, 150, 50), QColor(230, 210, 60),
                              QColor(90, 200, 110), QColor(70, 150, 230), QColor(150, 100, 220)};
    for (int i = 0; i < 6; ++i) {
        const int lift = i < 3 ? i * 18 : (5 - i) * 18 + 9;
        balls << frame(QStringLiteral("bounce_%1.png").arg(i + 1), QSize(96, 96),
                       QRect(24 + i * 2, 60 - lift, 44 - i % 3 * 4, 34 + i % 3 * 4), colours[i], true);
    }
    drop(balls);
    TSSpritesWindow* window = openEditor();
    QVERIFY(window);
    QCOMPARE(window->spriteContainer()->spriteCount(), 6);
    QTest::mouseClick(in<QToolButton>(window, "playButton"), Qt::LeftButton);
    for (int tick = 0; tick < 3; ++tick) {
        window->timerTimout();
    }
    QTest::mouseClick(in<QToolButton>(window, "playButton"), Qt::LeftButton);
    const QImage editor = window->grab().toImage();
    QCOMPARE(editor.size(), window->size() * editor.devicePixelRatio());
    const QString out = qEnvironmentVariable("BONESTAGE_SCREENSHOTS");
    if (!out.isEmpty()) {
        editor.save(out + "/s18-sprite-editor.png");
        window->close();
        m_window->grab().save(out + "/s18-window.png");
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestSpriteEditor)
#include "tst_SpriteEditor.moc"
