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
        QCOMPARE(request.gifPath, arguments.at(4));
    }
}

BONESTAGE_GUILESS_TEST_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
