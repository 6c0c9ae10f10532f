#include "FrameRenderSettings.h"
#include "GifConverter.h"
#include "TestMain.h"

#include <QtTest>

class TestFrameExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frameTimes_data();
    void frameTimes();
    void frameCountStopsPastTheCap();
    void framePathsAndRenderSize();
    void gifCommandsKeepPathsWhole();
};

void TestFrameExport::frameTimes_data()
{
    QTest::addColumn<float>("duration");
    QTest::addColumn<int>("fps");
    QTest::addColumn<float>("speed");
    QTest::addColumn<int>("frames");
    QTest::addColumn<float>("last");

    QTest::newRow("1.0 s at 60") << 1.0f << 60 << 1.0f << 60 << 1000.0f;
    // Thirty steps of 33.33 ms add up to just under 1000 ms in single precision: one frame more.
    QTest::newRow("1.0 s at 30") << 1.0f << 30 << 1.0f << 31 << 1033.333f;
    QTest::newRow("0.5 s at 15") << 0.5f << 15 << 1.0f << 8 << 533.333f;
    QTest::newRow("2.0 s at 30") << 2.0f << 30 << 1.0f << 60 << 2000.0f;
    // Twice the speed covers the animation in half the frames, again one past 1000 ms.
    QTest::newRow("twice the speed") << 1.0f << 60 << 2.0f << 31 << 1033.333f;
    QTest::newRow("quarter speed") << 1.0f << 60 << 0.25f << 240 << 1000.0f;
    QTest::newRow("duration 0") << 0.0f << 30 << 1.0f << 0 << 0.0f;
    QTest::newRow("under a millisecond") << 0.0004f << 30 << 1.0f << 0 << 0.0f;
    QTest::newRow("fps 0") << 1.0f << 0 << 1.0f << 0 << 0.0f;
    QTest::newRow("negative fps") << 1.0f << -30 << 1.0f << 0 << 0.0f;
    QTest::newRow("negative duration") << -1.0f << 30 << 1.0f << 0 << 0.0f;
    // A speed of zero or less would never reach the end.
    QTest::newRow("speed 0") << 1.0f << 60 << 0.0f << 0 << 0.0f;
    QTest::newRow("negative speed") << 1.0f << 60 << -1.0f << 0 << 0.0f;
    QTest::newRow("speed NaN") << 1.0f << 60 << std::numeric_limits<float>::quiet_NaN() << 0 << 0.0f;
}

void TestFrameExport::frameTimes()
{
    QFETCH(float, duration);
    QFETCH(int, fps);
    QFETCH(float, speed);
    QFETCH(int, frames);
    QFETCH(float, last);

    const QVector<float> times = FrameRenderSettings::frameTimes(duration, fps, speed);
    QCOMPARE(times.size(), frames);
    QCOMPARE(FrameRenderSettings::frameCount(duration, fps, speed), frames);
    if (frames > 0) {
        QCOMPARE(times.first(), 1000.0f / static_cast<float>(fps) * speed);
        QVERIFY2(qAbs(times.last() - last) < 0.01f, qPrintable(QString::number(times.last(), 'f', 4)));
        QVERIFY(std::is_sorted(times.begin(), times.end()));
    }
}

void TestFrameExport::frameCountStopsPastTheCap()
{
    QCOMPARE(FrameRenderSettings::kMaxFrames, 216000);
    // An hour at 60 frames per second is allowed; a little more is not.
    QVERIFY(FrameRenderSettings::frameCount(3600.0f, 60, 1.0f) <= FrameRenderSettings::kMaxFrames);
    QCOMPARE(FrameRenderSettings::frameCount(3700.0f, 60, 1.0f), FrameRenderSettings::kMaxFrames + 1);
    QCOMPARE(FrameRenderSettings::frameCount(3600.0f, 60, 0.5f), FrameRenderSettings::kMaxFrames + 1);
    // Counting stops at the cap, however long the animation.
    QCOMPARE(FrameRenderSettings::frameCount(1.0e6f, 30, 1.0f), FrameRenderSettings::kMaxFrames + 1);
    QCOMPARE(FrameRenderSettings::frameCount(1.0e6f, 30, 1.0f, 10), 10);
}

void TestFrameExport::framePathsAndRenderSize()
{
    QCOMPARE(FrameRenderSettings::framePath(QStringLiteral("/tmp/a b"), 0), QStringLiteral("/tmp/a b/0000.png"));
    QCOMPARE(FrameRenderSettings::framePath(QStringLiteral("out"), 59), QStringLiteral("out/0059.png"));
    QCOMPARE(FrameRenderSettings::framePath(QStringLiteral("out"), 9999), QStringLiteral("out/9999.png"));
    QCOMPARE(FrameRenderSettings::framePath(QStringLiteral("out"), 12345), QStringLiteral("out/12345.png"));

    // Render sizes round, refuse empty frames and stay within memory.
    QCOMPARE(FrameRenderSettings::renderSize(QRectF(-256, -256, 512, 512)), QSize(512, 512));
    QCOMPARE(FrameRenderSettings::renderSize(QRectF(0, 0, 800.4, 600.6)), QSize(800, 601));
    QVERIFY(FrameRenderSettings::renderSize(QRectF(0, 0, 0, 600)).isEmpty());
    QVERIFY(FrameRenderSettings::renderSize(QRectF(0, 0, 100, -5)).isEmpty());
    QVERIFY(FrameRenderSettings::renderSize(QRectF(0, 0, 0.2, 0.2)).isEmpty());
    QCOMPARE(FrameRenderSettings::renderSize(QRectF(0, 0, 30000, 15000)),
             QSize(FrameRenderSettings::kMaxRenderSide, FrameRenderSettings::kMaxRenderSide / 2));
    QCOMPARE(FrameRenderSettings::renderSize(QRectF(0, 0, 1e6, 1)),
             QSize(FrameRenderSettings::kMaxRenderSide, 1));
}

void TestFrameExport::gifCommandsKeepPathsWhole()
{
    const QString frames = QStringLiteral("/tmp/my \"odd\" frames");
    const QString gif = QStringLiteral("/tmp/out dir/walk cycle.gif");
    const QList<GifConverter::Command> commands = GifConverter::commands(frames, gif);
    QCOMPARE(commands.size(), 2);

    QCOMPARE(commands[0].program, QStringLiteral("ffmpeg"));
    // The frames are read at the rate they were rendered at, so each becomes one GIF frame.
    QCOMPARE(commands[0].arguments,
             QStringList({"-f", "image2", "-y", "-framerate", "30", "-i", frames + "/%04d.png", "-vf",
                          "fps=30,scale=240:-1:flags=lanczos,palettegen", frames + "/palette.png"}));
    QCOMPARE(commands[1].arguments,
             QStringList({"-f", "image2", "-y", "-framerate", "30", "-i", frames + "/%04d.png", "-i",
                          frames + "/palette.png", "-filter_complex",
                          "fps=30,scale=240:-1:flags=lanczos[x];[x][1:v]paletteuse", gif}));

    const QString plainFrames = QStringLiteral("/tmp/frames");
    const QString plainGif = QStringLiteral("/tmp/out.gif");
    const QList<GifConverter::Command> plain = GifConverter::commands(plainFrames, plainGif);
    QCOMPARE(plain[0].text(),
             QStringLiteral("ffmpeg -f image2 -y -framerate 30 -i \"/tmp/frames/%04d.png\" -vf "
                            "fps=30,scale=240:-1:flags=lanczos,palettegen \"/tmp/frames/palette.png\""));
    QCOMPARE(plain[1].text(),
             QStringLiteral("ffmpeg -f image2 -y -framerate 30 -i \"/tmp/frames/%04d.png\" "
                            "-i \"/tmp/frames/palette.png\" "
                            "-filter_complex \"fps=30,scale=240:-1:flags=lanczos[x];[x][1:v]paletteuse\" "
                            "\"/tmp/out.gif\""));
}

BONESTAGE_GUILESS_TEST_MAIN(TestFrameExport)
#include "tst_FrameExport.moc"
