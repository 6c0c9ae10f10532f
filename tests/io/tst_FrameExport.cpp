#include "AnimationEncoder.h"
#include "FrameRenderSettings.h"
#include "GifConverter.h"
#include "SafeFileName.h"
#include "TestFiles.h"
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
    void animatedFormatsFollowTheSuffix();
    void animatedCommands();
    void encoderCheckAsksTheConverter();
    void safeFileNames_data();
    void safeFileNames();
    void uniqueSafeFileNames();
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

void TestFrameExport::animatedFormatsFollowTheSuffix()
{
    using Format = AnimationEncoder::Format;
    QCOMPARE(AnimationEncoder::formatOf("a/walk.gif"), std::optional<Format>(Format::Gif));
    QCOMPARE(AnimationEncoder::formatOf("walk.APNG"), std::optional<Format>(Format::AnimatedPng));
    QCOMPARE(AnimationEncoder::formatOf("walk.png"), std::optional<Format>(Format::AnimatedPng));
    QCOMPARE(AnimationEncoder::formatOf("my.gif/walk.WebP"), std::optional<Format>(Format::WebP));
    for (const char* path : {"walk.mp4", "walk", "walk.gif.bak", "gif", ""}) {
        QVERIFY2(!AnimationEncoder::formatOf(QLatin1String(path)), path);
    }
}

void TestFrameExport::animatedCommands()
{
    using Format = AnimationEncoder::Format;
    const QString frames = QStringLiteral("/tmp/my \"odd\" frames");
    const QStringList input{"-v", "error", "-f", "image2", "-y", "-framerate", "12", "-i", frames + "/%04d.png"};
    AnimationEncoder::Options options;
    options.fps = 12;
    options.transparent = true;

    const GifConverter::Command png = AnimationEncoder::command(Format::AnimatedPng, frames, "/o/a b.png", options);
    QCOMPARE(png.program, QStringLiteral("ffmpeg"));
    QCOMPARE(png.arguments, input + QStringList({"-pix_fmt", "rgba", "-plays", "0", "-f", "apng", "/o/a b.png"}));
    options.transparent = false;
    QCOMPARE(AnimationEncoder::command(Format::AnimatedPng, frames, "o.apng", options).arguments.at(10),
             QStringLiteral("rgb24"));

    const GifConverter::Command webp = AnimationEncoder::command(Format::WebP, "/tmp/f", "/tmp/o.webp", options);
    QCOMPARE(webp.text(), QStringLiteral("ffmpeg -v error -f image2 -y -framerate 12 -i \"/tmp/f/%04d.png\" -c:v libwebp_anim "
                                         "-lossless 1 -pix_fmt bgra -loop 0 -f webp \"/tmp/o.webp\""));
    const GifConverter::Command gif = AnimationEncoder::command(Format::Gif, "/tmp/f", "/tmp/o.gif", options);
    QCOMPARE(gif.text(), QStringLiteral("ffmpeg -v error -f image2 -y -framerate 12 -i \"/tmp/f/%04d.png\" -filter_complex "
                                        "\"[0:v]split[a][b];[a]palettegen[p];[b][p]paletteuse\" -loop 0 -f gif "
                                        "\"/tmp/o.gif\""));
}

void TestFrameExport::encoderCheckAsksTheConverter()
{
    // A stand-in converter that knows the animated PNG and GIF encoders but not WebP's.
    QTemporaryDir bin;
    const QString fake = bin.filePath(QStringLiteral("ffmpeg"));
    QVERIFY(test::writeFile(fake, "#!/bin/sh\n"
                                  "[ \"$2\" = -encoders ] || exit 1\n"
                                  "echo ' V..... gif                  GIF (Graphics Interchange Format)'\n"
                                  "echo ' V....D apng                 APNG (Animated Portable Network Graphics) image'\n"
                                  "echo ' V....D libwebp              libwebp WebP image (codec webp)'\n"));
    QVERIFY(QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));

    QString error;
    const bool png = AnimationEncoder::checkEncoder(AnimationEncoder::Format::AnimatedPng, &error);
    const bool webp = AnimationEncoder::checkEncoder(AnimationEncoder::Format::WebP, &error);
    const QString webpError = error;
    // Converting does not go on past the check: no frames are read, nothing is written.
    const bool converted = AnimationEncoder::convert(AnimationEncoder::Format::WebP, bin.path(),
                                                     bin.filePath(QStringLiteral("o.webp")), {}, &error);
    qputenv("PATH", QFile::encodeName(bin.filePath(QStringLiteral("nothing here"))));
    const bool missing = AnimationEncoder::checkEncoder(AnimationEncoder::Format::Gif, &error);
    qputenv("PATH", path);

    QVERIFY(png);
    QVERIFY(!webp);
    QCOMPARE(webpError, QStringLiteral("The ffmpeg on the search path cannot write animated WebP: it has no "
                                       "\"libwebp_anim\" encoder. Install an ffmpeg built with it, or export to "
                                       "another format."));
    QVERIFY(!converted);
    QVERIFY(!QFileInfo::exists(bin.filePath(QStringLiteral("o.webp"))));
    QVERIFY(!missing);
    QVERIFY2(error.startsWith(QStringLiteral("Cannot start ffmpeg: ")) &&
                 error.endsWith(QStringLiteral("Exporting to GIF needs ffmpeg on the search path.")),
             qPrintable(error));
}

void TestFrameExport::safeFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("safe");

    QTest::newRow("plain") << "Walk cycle" << "Walk cycle";
    QTest::newRow("separators") << "Biped/Idle.json" << "Biped_Idle.json";
    QTest::newRow("windows characters") << "a\\b:c*d?e\"f<g>h|i" << "a_b_c_d_e_f_g_h_i";
    QTest::newRow("control characters") << QString("tab\there\nnow") << "tab_here_now";
    QTest::newRow("surrounding dots and spaces") << " ..hidden. " << "hidden";
    QTest::newRow("parent folder") << ".." << "untitled";
    QTest::newRow("empty") << "" << "untitled";
    QTest::newRow("device name") << "con" << "con_";
    QTest::newRow("device name with suffix") << "LPT1.txt" << "LPT1_.txt";
    QTest::newRow("not a device name") << "console" << "console";
    QTest::newRow("letters of any script") << QString::fromUtf8("Sprung über Äste") << QString::fromUtf8("Sprung über Äste");
}

void TestFrameExport::safeFileNames()
{
    QFETCH(QString, name);
    QTEST(SafeFileName::from(name), "safe");
}

void TestFrameExport::uniqueSafeFileNames()
{
    // Distinct names for names that would meet on disk, whatever the case.
    QCOMPARE(SafeFileName::unique("a/b", {"x"}), QStringLiteral("a_b"));
    QCOMPARE(SafeFileName::unique("a:b", {"A_B"}), QStringLiteral("a_b 2"));
    QCOMPARE(SafeFileName::unique("a:b", {"a_b", "a_b 2"}), QStringLiteral("a_b 3"));
}

BONESTAGE_GUILESS_TEST_MAIN(TestFrameExport)
#include "tst_FrameExport.moc"
