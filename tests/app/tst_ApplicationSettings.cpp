// User settings: defaults, change signals, write-through and recent documents.
#include "TSApplicationSettings.h"

#include "TestMain.h"

#include <QtTest>

class TestApplicationSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void firstRunDefaults();
    void modeSignalsFireOnlyOnChange();
    void openAtStartupIsNeverStoredAutoAdjustAlwaysIs();
    void recentFilesKeepOrderAndDropMissing();
    void storedPathsDefaultToDocuments();
};

void TestApplicationSettings::init()
{
    QSettings().clear();
}

void TestApplicationSettings::firstRunDefaults()
{
    TSApplicationSettings settings;
    settings.load();
    QVERIFY(!settings.advancedMode());
    QVERIFY(!settings.snapMode());
    QVERIFY(!settings.debugMode());
    QVERIFY(!settings.linkerMode());
    QVERIFY(!settings.simulationMode());
    QVERIFY(!settings.backgroundSelectionLockMode());
    QVERIFY(settings.autoAdjustAssetsScale());
    // The test's home folder has no Documents folder.
    QCOMPARE(settings.lastUsedPath(), QDir::homePath());
    QVERIFY(settings.recentFiles().isEmpty());

    bool isNumber = false;
    QVERIFY(settings.userId().toLongLong(&isNumber) >= 0);
    QVERIFY(isNumber);
    QCOMPARE(QSettings().value("userID").toString(), settings.userId());

    // The identifier is generated once and then kept.
    TSApplicationSettings again;
    again.load();
    QCOMPARE(again.userId(), settings.userId());
}

void TestApplicationSettings::modeSignalsFireOnlyOnChange()
{
    TSApplicationSettings settings;
    settings.load();
    QSignalSpy snap(&settings, &TSApplicationSettings::snapModeChanged);
    settings.setSnapMode(true);
    QCOMPARE(snap.count(), 1);
    QCOMPARE(snap.at(0).at(0).toBool(), true);
    QCOMPARE(QSettings().value("snapMode").toBool(), true);

    // An equal value writes nothing: a value changed behind its back stays.
    QSettings().setValue("lastUsedPath", "/elsewhere");
    settings.setSnapMode(true);
    QCOMPARE(snap.count(), 1);
    QCOMPARE(QSettings().value("lastUsedPath").toString(), QStringLiteral("/elsewhere"));

    struct Mode
    {
        void (TSApplicationSettings::*setter)(bool);
        void (TSApplicationSettings::*signal)(bool);
        const char* key;
    };
    const Mode modes[] = {
        {&TSApplicationSettings::setDebugMode, &TSApplicationSettings::debugModeChanged, "debugMode"},
        {&TSApplicationSettings::setLinkerMode, &TSApplicationSettings::linkerModeChanged, "linkMode"},
        {&TSApplicationSettings::setSimulationMode, &TSApplicationSettings::simulationModeChanged,
         "simulationMode"},
        {&TSApplicationSettings::setBackgroundSelectionLockMode,
         &TSApplicationSettings::backgroundLockModeChanged, "backgroundLockMode"},
    };
    for (const Mode& mode : modes) {
        QSignalSpy spy(&settings, mode.signal);
        (settings.*mode.setter)(false);
        QCOMPARE(spy.count(), 0);
        (settings.*mode.setter)(true);
        (settings.*mode.setter)(true);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(QSettings().value(mode.key).toBool(), true);
    }

    TSApplicationSettings reloaded;
    reloaded.load();
    QVERIFY(reloaded.snapMode() && reloaded.debugMode() && reloaded.linkerMode());
    QVERIFY(reloaded.simulationMode() && reloaded.backgroundSelectionLockMode());
}

void TestApplicationSettings::openAtStartupIsNeverStoredAutoAdjustAlwaysIs()
{
    TSApplicationSettings settings;
    settings.load();
    const QStringList keysBefore = QSettings().allKeys();
    settings.setOpenAtStartup(true);
    QVERIFY(settings.openAtStartup());
    QCOMPARE(QSettings().allKeys(), keysBefore);
    TSApplicationSettings next;
    next.load();
    QVERIFY(!next.openAtStartup());

    // Auto adjust is written even when it seems unchanged.
    QSettings().setValue("autoAdjustAssetsScale", false);
    settings.setAutoAdjustAssetsScale(true);
    QCOMPARE(QSettings().value("autoAdjustAssetsScale").toBool(), true);
    settings.setAutoAdjustAssetsScale(false);
    TSApplicationSettings reloaded;
    reloaded.load();
    QVERIFY(!reloaded.autoAdjustAssetsScale());
}

void TestApplicationSettings::recentFilesKeepOrderAndDropMissing()
{
    QTemporaryDir docs;
    const QString kept = docs.filePath("kept.bsdoc");
    const QString gone = docs.filePath("gone.bsdoc");
    const QString last = docs.filePath("last.bsdoc");
    for (const QString& path : {kept, last}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    {
        TSApplicationSettings settings;
        settings.load();
        settings.setRecentFiles({kept, gone, last});
    }
    TSApplicationSettings settings;
    settings.load();
    QCOMPARE(settings.recentFiles(), QStringList({kept, gone, last}));
    QCOMPARE(settings.existingRecentFiles(), QStringList({kept, last}));
    QCOMPARE(settings.recentFiles(), QStringList({kept, last}));

    QStringList many;
    for (int i = 0; i < 14; ++i) {
        many << QStringLiteral("/doc%1.bsdoc").arg(i);
    }
    settings.setRecentFiles(many);
    QCOMPARE(settings.recentFiles(), many.mid(0, 10));
}

void TestApplicationSettings::storedPathsDefaultToDocuments()
{
    // Choosers start in the Documents folder, or at home while there is none.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(!QFileInfo::exists(documents));
    QCOMPARE(TSApplicationSettings::storedPath("Paths/ExportPath"), QDir::homePath());
    QVERIFY(QDir().mkpath(documents));
    QCOMPARE(TSApplicationSettings::storedPath("Paths/ExportPath"), documents);
    QVERIFY(QDir(documents).removeRecursively());
    TSApplicationSettings::setStoredPath("Paths/ExportPath", "/exports");
    QCOMPARE(TSApplicationSettings::storedPath("Paths/ExportPath"), QStringLiteral("/exports"));
    TSApplicationSettings settings;
    settings.load();
    settings.setLastUsedPath("/projects");
    TSApplicationSettings next;
    next.load();
    QCOMPARE(next.lastUsedPath(), QStringLiteral("/projects"));
}

BONESTAGE_GUILESS_TEST_MAIN(TestApplicationSettings)
#include "tst_ApplicationSettings.moc"
