// Command-line dispatch rules.
#include "CommandLine.h"

#include "TestMain.h"

#include <QtTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void dispatch_data();
    void dispatch();
    void commands_data();
    void commands();
    void malformedCommands_data();
    void malformedCommands();

private:
    QTemporaryDir m_dir;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char* name : {"in.bsdoc", "a.bsdoc", "b.bsdoc", "A.BSDOC", "with space.bsdoc"}) {
        QFile file(m_dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(m_dir.path()).mkdir("folder.bsdoc"));
}

void TestCommandLine::dispatch_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("document");

    const QString in = m_dir.filePath("in.bsdoc");
    const QString a = m_dir.filePath("a.bsdoc");
    const QString b = m_dir.filePath("b.bsdoc");
    const QString missing = m_dir.filePath("missing.bsdoc");
    const QString upper = m_dir.filePath("A.BSDOC");
    const QString spaced = m_dir.filePath("with space.bsdoc");
    const QString folder = m_dir.filePath("folder.bsdoc");

    QTest::newRow("export, five arguments")
        << QStringList{"bonestage", "-export", in, "frames", "out.gif"} << int(CommandLineRequest::Export) << in;
    QTest::newRow("export with a missing document still exports")
        << QStringList{"bonestage", "-export", missing, "f", "o.gif"} << int(CommandLineRequest::Export)
        << missing;
    QTest::newRow("export, four arguments opens the document")
        << QStringList{"bonestage", "-export", in, "frames"} << int(CommandLineRequest::Open) << in;
    QTest::newRow("export is case-sensitive")
        << QStringList{"bonestage", "-EXPORT", in, "frames", "out.gif"} << int(CommandLineRequest::Open) << in;
    QTest::newRow("last document wins") << QStringList{"bonestage", a, b} << int(CommandLineRequest::Open) << b;
    QTest::newRow("missing later document is ignored")
        << QStringList{"bonestage", a, missing} << int(CommandLineRequest::Open) << a;
    QTest::newRow("upper-case extension") << QStringList{"bonestage", upper} << int(CommandLineRequest::None)
                                          << QString();
    QTest::newRow("folder named like a document")
        << QStringList{"bonestage", folder} << int(CommandLineRequest::None) << QString();
    QTest::newRow("path with a space") << QStringList{"bonestage", "--verbose", spaced}
                                       << int(CommandLineRequest::Open) << spaced;
    QTest::newRow("program only") << QStringList{"bonestage"} << int(CommandLineRequest::None) << QString();
    QTest::newRow("no arguments") << QStringList{} << int(CommandLineRequest::None) << QString();
}

void TestCommandLine::dispatch()
{
    QFETCH(QStringList, arguments);
    const CommandLineRequest request = CommandLine::parse(arguments, QStringLiteral("bsdoc"));
    QTEST(int(request.kind), "kind");
    QTEST(request.document, "document");
    if (request.kind == CommandLineRequest::Export) {
        QCOMPARE(request.framesFolder, arguments.at(3));
        QCOMPARE(request.outputPath, arguments.at(4));
    }
}

void TestCommandLine::commands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<int>("fps");
    QTest::addColumn<double>("scale");

    const QString in = m_dir.filePath("in.bsdoc");
    QTest::newRow("--help") << QStringList{"bonestage", "--help"} << int(CommandLineRequest::Help) << QString()
                            << QString() << false << 30 << 100.0;
    QTest::newRow("-h") << QStringList{"bonestage", "-h", in} << int(CommandLineRequest::Help) << QString()
                        << QString() << false << 30 << 100.0;
    QTest::newRow("transparent export") << QStringList{"bonestage", "-export", in, "f", "o.webp", "-transparent"}
                                        << int(CommandLineRequest::Export) << "f" << "o.webp" << true << 30 << 100.0;
    QTest::newRow("frames, defaults") << QStringList{"bonestage", "-export-frames", in, "out"}
                                      << int(CommandLineRequest::ExportFrames) << "out" << QString() << false << 30
                                      << 100.0;
    QTest::newRow("frames, fps then scale")
        << QStringList{"bonestage", "-export-frames", in, "out", "-fps", "12", "-scale", "50"}
        << int(CommandLineRequest::ExportFrames) << "out" << QString() << false << 12 << 50.0;
    QTest::newRow("frames, scale then fps")
        << QStringList{"bonestage", "-export-frames", in, "out", "-scale", "12.5", "-fps", "1000"}
        << int(CommandLineRequest::ExportFrames) << "out" << QString() << false << 1000 << 12.5;
    QTest::newRow("atlas") << QStringList{"bonestage", "-pack-atlas", "pngs", "sheets/hero"}
                           << int(CommandLineRequest::PackAtlas) << "pngs" << "sheets/hero" << false << 30 << 100.0;
}

void TestCommandLine::commands()
{
    QFETCH(QStringList, arguments);
    const CommandLineRequest request = CommandLine::parse(arguments, QStringLiteral("bsdoc"));
    QVERIFY2(request.error.isEmpty(), qPrintable(request.error));
    QTEST(int(request.kind), "kind");
    QTEST(request.framesFolder, "folder");
    QTEST(request.outputPath, "output");
    QTEST(request.transparent, "transparent");
    QTEST(request.fps, "fps");
    QTEST(request.scale, "scale");
}

void TestCommandLine::malformedCommands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    const QString in = m_dir.filePath("in.bsdoc");
    QTest::newRow("unknown export option")
        << QStringList{"bonestage", "-export", in, "f", "o.gif", "-opaque"}
        << "Unknown option \"-opaque\" for -export.";
    QTest::newRow("extra export argument")
        << QStringList{"bonestage", "-export", in, "f", "o.gif", "more"}
        << "Unexpected argument \"more\" after -export <document> <frames folder> <output>.";
    QTest::newRow("frames without folder")
        << QStringList{"bonestage", "-export-frames", in}
        << "-export-frames needs <folder> before any option: -export-frames <document> <folder>";
    QTest::newRow("option before the folder")
        << QStringList{"bonestage", "-export-frames", in, "-fps", "12", "out"}
        << "-export-frames needs <folder> before any option: -export-frames <document> <folder>";
    QTest::newRow("fps 0") << QStringList{"bonestage", "-export-frames", in, "out", "-fps", "0"}
                           << "-fps needs a whole number of frames per second from 1 to 1000, not \"0\".";
    QTest::newRow("fps 2.5") << QStringList{"bonestage", "-export-frames", in, "out", "-fps", "2.5"}
                             << "-fps needs a whole number of frames per second from 1 to 1000, not \"2.5\".";
    QTest::newRow("fps without value") << QStringList{"bonestage", "-export-frames", in, "out", "-fps"}
                                       << "-fps needs a value.";
    QTest::newRow("scale abc") << QStringList{"bonestage", "-export-frames", in, "out", "-scale", "abc"}
                               << "-scale needs a percentage of the canvas size above 0 and at most 1000, not \"abc\".";
    QTest::newRow("scale -5") << QStringList{"bonestage", "-export-frames", in, "out", "-scale", "-5"}
                              << "-scale needs a percentage of the canvas size above 0 and at most 1000, not \"-5\".";
    QTest::newRow("scale inf") << QStringList{"bonestage", "-export-frames", in, "out", "-scale", "inf"}
                               << "-scale needs a percentage of the canvas size above 0 and at most 1000, not \"inf\".";
    QTest::newRow("frames, -transparent") << QStringList{"bonestage", "-export-frames", in, "out", "-transparent"}
                                          << "Unknown option \"-transparent\" for -export-frames.";
    QTest::newRow("atlas without arguments") << QStringList{"bonestage", "-pack-atlas"}
                                             << "-pack-atlas needs <png folder> before any option: "
                                                "-pack-atlas <png folder> <output base>";
    QTest::newRow("atlas with an option") << QStringList{"bonestage", "-pack-atlas", "pngs", "out", "-fps", "3"}
                                          << "Unknown option \"-fps\" for -pack-atlas.";
}

void TestCommandLine::malformedCommands()
{
    QFETCH(QStringList, arguments);
    const CommandLineRequest request = CommandLine::parse(arguments, QStringLiteral("bsdoc"));
    QCOMPARE(int(request.kind), int(CommandLineRequest::Invalid));
    QTEST(request.error, "error");
}

BONESTAGE_GUILESS_TEST_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
