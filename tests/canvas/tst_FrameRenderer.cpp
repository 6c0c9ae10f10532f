#include "CanvasFixture.h"
#include "FrameRenderer.h"
#include "TestMain.h"

#include <QThread>
#include <QtTest>

namespace {

/// A scene item that stops the render from inside the frame loop: it aborts when painted for
/// the nth time.
class AbortingItem : public QGraphicsRectItem
{
public:
    AbortingItem(FrameRenderer* renderer, int abortAtPaint)
        : QGraphicsRectItem(0, 0, 1, 1), m_renderer(renderer), m_abortAt(abortAtPaint)
    {
    }
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        if (++m_paints == m_abortAt) {
            m_renderer->abort();
        }
    }

private:
    FrameRenderer* m_renderer;
    int m_abortAt;
    int m_paints = 0;
};

/// A scene item that takes 40 ms to paint, so a render of 31 frames lasts over a second and
/// reports its progress at least twice.
class SlowItem : public QGraphicsRectItem
{
public:
    SlowItem() : QGraphicsRectItem(0, 0, 1, 1) {}
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override { QThread::msleep(40); }
};

QColor pixel(const QString& path, int x, int y)
{
    return QImage(path).pixelColor(x, y);
}

bool isRed(const QColor& color)
{
    return color.alpha() == 255 && color.red() > 180 && color.green() < 90 && color.blue() < 90;
}

} // namespace

class TestFrameRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void writesEveryFrameScaledAndPosed();
    void restoresTimeDisplayAndSelection();
    void backgroundFillsTheFrame();
    void abortStopsAfterTheCurrentFrame();
    void nothingToWriteForAnEmptyAnimation();
    void refusesMoreFramesThanTheCap();
    void failuresAreReportedAndLeaveTheSceneIntact();
    void aFrameThatCannotBeWrittenEndsTheExport_data();
    void aFrameThatCannotBeWrittenEndsTheExport();

private:
    FrameRenderSettings settings(const QString& folder) const;

    std::unique_ptr<test::CanvasFixture> m_fixture;
    std::unique_ptr<FrameRenderer> m_renderer;
    QTemporaryDir m_dir;
};

void TestFrameRenderer::init()
{
    m_fixture = std::make_unique<test::CanvasFixture>();
    m_fixture->buildBody();
    m_fixture->addImage("head", {40, 40}, {-20, -20}, QColor(220, 40, 40));
    // The hip walks 100 px to the right in one second, carrying the head image with it.
    AnimationTracks tracks;
    auto hip = std::make_unique<AnimatedObject>();
    hip->setName("hip");
    hip->setDefaultName("hip");
    hip->setChannelKeys(AnimatedObject::LocationX, {{0, 0, 0, 0}, {0.5f, 1.0f, 0.5f, 0.5f}});
    tracks.append(std::move(hip));
    for (const char* name : {"spine", "head", "arm"}) {
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("Item with no animation found:%1 setting default one")
                                                        .arg(QLatin1String(name))));
    }
    m_fixture->skeleton->setAnimation(std::move(tracks));
    // Every track lasts (61 − 1) / 60 s = 1 s, the default ones of the other nodes included.
    m_fixture->skeleton->setDuration(61);
    QCOMPARE(m_fixture->skeleton->duration(), 1.0f);
    m_renderer = std::make_unique<FrameRenderer>(m_fixture->skeleton.get(), &m_fixture->scene, m_fixture->manipulator);
}

void TestFrameRenderer::cleanup()
{
    m_renderer.reset();
    m_fixture.reset();
}

FrameRenderSettings TestFrameRenderer::settings(const QString& folder) const
{
    FrameRenderSettings result;
    result.folder = m_dir.filePath(folder);
    // x −50…150, y −140…−40: the head image and the spine joint, not the hip.
    result.rect = QRectF(-50, -140, 200, 100);
    result.size = QSize(100, 50);
    result.fps = 30;
    return result;
}

void TestFrameRenderer::writesEveryFrameScaledAndPosed()
{
    const FrameRenderSettings s = settings("frames with spaces");
    const FrameRenderer::Result result = m_renderer->renderFrames(s);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(!result.aborted);
    QCOMPARE(result.frames, 31);
    QStringList expected;
    for (int i = 0; i <= 30; ++i) {
        expected << QStringLiteral("%1.png").arg(i, 4, 10, QLatin1Char('0'));
    }
    QCOMPARE(QDir(s.folder).entryList(QDir::Files, QDir::Name), expected);
    QCOMPARE(QImage(s.folder + "/0030.png").size(), QSize(100, 50));

    // Frame 0 is posed one step in (the hip 3.3 px right); the head image sits around scene
    // (3, −90), which is pixel (26, 25) at half scale.
    QVERIFY(isRed(pixel(s.folder + "/0000.png", 26, 25)));
    QCOMPARE(pixel(s.folder + "/0000.png", 75, 25).alpha(), 0);
    // The last frame is past the end: the hip holds its last key, 100 px right.
    QVERIFY(isRed(pixel(s.folder + "/0030.png", 75, 25)));
    QCOMPARE(pixel(s.folder + "/0030.png", 26, 25).alpha(), 0);
    // Halfway the head is at 50 px.
    QVERIFY(isRed(pixel(s.folder + "/0014.png", 50, 25)));
    // The skeleton is not drawn: the spine joint at (3, −50) leaves the frame transparent.
    QCOMPARE(pixel(s.folder + "/0000.png", 26, 45).alpha(), 0);
}

void TestFrameRenderer::restoresTimeDisplayAndSelection()
{
    Skeleton& skeleton = *m_fixture->skeleton;
    skeleton.showMoment(500.0f);
    QGraphicsItem* head = skeleton.nodeByName("head")->joint;
    m_fixture->manipulator->setTargets({head});
    const QPointF posed = m_fixture->jointPos("head");

    auto* slow = new SlowItem();
    slow->setPos(0, -100);
    m_fixture->scene.addItem(slow);
    QSignalSpy progress(m_renderer.get(), &FrameRenderer::exportProgress);
    QVERIFY(m_renderer->renderFrames(settings("restore")).ok());
    delete slow;

    QCOMPARE(skeleton.currentTime(), 500.0f);
    QVERIFY(test::near(m_fixture->jointPos("head"), posed));
    QVERIFY(skeleton.isSkeletonVisible());
    QCOMPARE(m_fixture->manipulator->targets(), QList<QGraphicsItem*>{head});
    // A report comes at the latest after frame 13 of 31 (posed at 433 ms of the 1000), then
    // again before the end; the part done only grows and stays within 0 to 1.
    QVERIFY(progress.size() >= 2);
    const qreal first = progress.first().at(0).toReal();
    QVERIFY2(first < 0.5, qPrintable(QString::number(first)));
    qreal done = 0.0;
    for (const QList<QVariant>& report : progress) {
        const qreal fraction = report.at(0).toReal();
        QVERIFY2(fraction > done && fraction <= 1.0, qPrintable(QString::number(fraction)));
        done = fraction;
    }

    // A hidden skeleton stays hidden.
    skeleton.setSkeletonVisible(false);
    QVERIFY(m_renderer->renderFrames(settings("hidden")).ok());
    QVERIFY(!skeleton.isSkeletonVisible());
}

void TestFrameRenderer::backgroundFillsTheFrame()
{
    FrameRenderSettings s = settings("background");
    s.background = QColor(QStringLiteral("#171717"));
    s.size = QSize(240, 240);
    QVERIFY(m_renderer->renderFrames(s).ok());
    const QImage frame(s.folder + "/0000.png");
    QCOMPARE(frame.size(), QSize(240, 240));
    QCOMPARE(frame.pixelColor(0, 0), QColor(0x17, 0x17, 0x17));
    QCOMPARE(frame.pixelColor(239, 239), QColor(0x17, 0x17, 0x17));
}

void TestFrameRenderer::abortStopsAfterTheCurrentFrame()
{
    auto* item = new AbortingItem(m_renderer.get(), 3);
    item->setPos(0, -100);
    m_fixture->scene.addItem(item);
    const FrameRenderSettings s = settings("aborted");
    const FrameRenderer::Result result = m_renderer->renderFrames(s);
    QVERIFY(result.ok());
    QVERIFY(result.aborted);
    QCOMPARE(result.frames, 3);
    QCOMPARE(QDir(s.folder).entryList(QDir::Files).size(), 3);

    // The next render starts with the flag cleared.
    delete item;
    QCOMPARE(m_renderer->renderFrames(settings("again")).frames, 31);
}

void TestFrameRenderer::nothingToWriteForAnEmptyAnimation()
{
    // Without nodes there are no tracks at all, so the animation lasts 0 s.
    m_fixture->skeleton->clear();
    m_fixture->skeleton->setAnimation(AnimationTracks());
    QCOMPARE(m_fixture->skeleton->duration(), 0.0f);
    const FrameRenderSettings s = settings("empty");
    const FrameRenderer::Result result = m_renderer->renderFrames(s);
    QVERIFY(result.ok());
    QCOMPARE(result.frames, 0);
    QVERIFY(!QFileInfo::exists(s.folder));
}

void TestFrameRenderer::refusesMoreFramesThanTheCap()
{
    Skeleton& skeleton = *m_fixture->skeleton;
    skeleton.showMoment(250.0f);
    // A legal but long animation: 4000 s at 60 frames per second is 240000 frames.
    for (const auto& object : skeleton.tracks()) {
        object->setDuration(4000.0f, true);
    }
    // Should rendering start anyway, it stops at the first progress report instead of running
    // for many minutes.
    connect(m_renderer.get(), &FrameRenderer::exportProgress, m_renderer.get(), &FrameRenderer::abort);
    FrameRenderSettings s = settings("too long");
    s.fps = 60;
    const FrameRenderer::Result result = m_renderer->renderFrames(s);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(QStringLiteral("216000")), qPrintable(result.error));
    QCOMPARE(result.frames, 0);
    QVERIFY(!QFileInfo::exists(s.folder));
    QCOMPARE(skeleton.currentTime(), 250.0f);
    QVERIFY(skeleton.isSkeletonVisible());

    // At 30 frames per second the cap is two hours of animation.
    s.fps = 30;
    for (const auto& object : skeleton.tracks()) {
        object->setDuration(7300.0f, true);
    }
    QVERIFY(!m_renderer->renderFrames(s).ok());
    QVERIFY(!QFileInfo::exists(s.folder));
}

void TestFrameRenderer::failuresAreReportedAndLeaveTheSceneIntact()
{
    Skeleton& skeleton = *m_fixture->skeleton;
    skeleton.showMoment(250.0f);

    // The frames folder would have to be made inside a file.
    QFile blocker(m_dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FrameRenderSettings s = settings("blocker/frames");
    FrameRenderer::Result result = m_renderer->renderFrames(s);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains("blocker/frames"), qPrintable(result.error));
    QCOMPARE(result.frames, 0);

    // A frame without area.
    s = settings("flat");
    s.rect = QRectF(0, 0, 0, 100);
    QCOMPARE(m_renderer->renderFrames(s).error, QStringLiteral("The frame has no size."));
    QVERIFY(!QFileInfo::exists(s.folder));
    s = settings("no size");
    s.size = QSize(0, 240);
    QCOMPARE(m_renderer->renderFrames(s).error, QStringLiteral("The frame has no size."));
    QVERIFY(!QFileInfo::exists(s.folder));

    QCOMPARE(skeleton.currentTime(), 250.0f);
    QVERIFY(skeleton.isSkeletonVisible());
    QCOMPARE(m_renderer->renderFrames(settings("after failures")).frames, 31);
}

void TestFrameRenderer::aFrameThatCannotBeWrittenEndsTheExport_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("a folder in the frame's place") << "folder";
    QTest::newRow("a full disk") << "full disk";
}

void TestFrameRenderer::aFrameThatCannotBeWrittenEndsTheExport()
{
    // Frames are encoded on other threads while the next ones are drawn; still the export ends
    // at the first frame that cannot be written, says which, and leaves exactly the frames
    // before it, as if each had been written before the next was drawn.
    QFETCH(QString, blocker);
    const FrameRenderSettings s = settings("blocked " + blocker);
    QVERIFY(QDir().mkpath(s.folder));
    const QString blocked = FrameRenderSettings::framePath(s.folder, 5);
    if (blocker == "folder") {
        QVERIFY(QDir().mkpath(blocked));
    } else if (!QFile::link("/dev/full", blocked)) {
        QSKIP("No /dev/full to stand for a full disk");
    }
    Skeleton& skeleton = *m_fixture->skeleton;
    skeleton.showMoment(250.0f);
    const FrameRenderer::Result result = m_renderer->renderFrames(s);
    QCOMPARE(result.error, QStringLiteral("Cannot write %1.").arg(blocked));
    QCOMPARE(result.frames, 5);
    QCOMPARE(QDir(s.folder).entryList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
             QStringList({"0000.png", "0001.png", "0002.png", "0003.png", "0004.png", "0005.png"}));
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(QImage(FrameRenderSettings::framePath(s.folder, i)).size(), s.size);
    }
    QCOMPARE(skeleton.currentTime(), 250.0f);
    QVERIFY(skeleton.isSkeletonVisible());
}

BONESTAGE_WIDGETS_TEST_MAIN(TestFrameRenderer)
#include "tst_FrameRenderer.moc"
