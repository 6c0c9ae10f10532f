// Where the program finds the data that ships with it: beside itself first, then under the
// installation prefix.
#include "ResourceLocator.h"

#include "TestFiles.h"
#include "TestMain.h"

#include <QtTest>

class TestResourceLocator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void searchesBesideTheProgramThenTheInstalledData();
    void locate_data();
    void locate();

private:
    QTemporaryDir m_dir;
};

void TestResourceLocator::searchesBesideTheProgramThenTheInstalledData()
{
    QCOMPARE(ResourceLocator::searchFolders(QStringLiteral("/opt/some prefix/bin")),
             QStringList({QStringLiteral("/opt/some prefix/bin/Resources"),
                          QStringLiteral("/opt/some prefix/share/bonestage")}));
    QCOMPARE(ResourceLocator::searchFolders(QStringLiteral("/opt/x/bin/")).last(),
             QStringLiteral("/opt/x/share/bonestage"));
}

void TestResourceLocator::locate_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");

    const QString beside = QStringLiteral("bin/Resources/");
    const QString shared = QStringLiteral("share/bonestage/");
    QTest::newRow("nowhere: beside the program") << QStringList() << "animations" << beside + "animations";
    QTest::newRow("installed only") << QStringList({shared + "animations/Biped/skeleton.json"})
                                    << "animations" << shared + "animations";
    QTest::newRow("both: beside wins")
        << QStringList({shared + "animations/a.json", beside + "animations/b.json"}) << "animations"
        << beside + "animations";
    QTest::newRow("each name on its own")
        << QStringList({beside + "animations/a.json", shared + "assets/assets_0.xml"}) << "assets"
        << shared + "assets";
    QTest::newRow("a file") << QStringList({shared + "projects/Biped.bsdoc", beside + "projects/Other.bsdoc"})
                            << "projects/Biped.bsdoc" << shared + "projects/Biped.bsdoc";
    QTest::newRow("a file missing everywhere")
        << QStringList({shared + "projects/Biped.bsdoc"}) << "projects/Quadruped.bsdoc"
        << beside + "projects/Quadruped.bsdoc";
}

void TestResourceLocator::locate()
{
    QFETCH(QStringList, files);
    QFETCH(QString, name);
    QFETCH(QString, found);

    QTemporaryDir prefix(m_dir.filePath(QStringLiteral("prefix XXXXXX")));
    QVERIFY(prefix.isValid() && QDir(prefix.path()).mkdir(QStringLiteral("bin")));
    for (const QString& file : files) {
        QVERIFY(test::writeFile(prefix.filePath(file), "{}"));
    }
    QCOMPARE(ResourceLocator::locate(name, prefix.filePath(QStringLiteral("bin"))), prefix.filePath(found));
}

BONESTAGE_GUILESS_TEST_MAIN(TestResourceLocator)
#include "tst_ResourceLocator.moc"
