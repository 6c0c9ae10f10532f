#pragma once

#include <QObject>
#include <QStringList>

/// The user's own choices kept between runs in the platform's settings store: recent documents,
/// editing modes, asset scaling, the last used folder and an anonymous user identifier.
/// Every setter that changes a value writes the store at once.
class TSApplicationSettings : public QObject
{
    Q_OBJECT

public:
    explicit TSApplicationSettings(QObject* parent = nullptr);

    /// The process-wide settings, created on first use.
    static TSApplicationSettings* instance();

    static constexpr int kMaxRecentFiles = 10;

    void load();
    void save();
    /// Why the settings store cannot be written (its folder cannot be made, or it or its folder
    /// is read-only); empty when it can.
    static QString storeProblem();

    QStringList recentFiles() const { return m_recentFiles; }
    /// Replaces the recent documents (most recent first) and writes them.
    void setRecentFiles(const QStringList& files);
    /// Reads the stored list anew and keeps the documents that still exist, in stored order.
    QStringList existingRecentFiles();

    /// The user's documents folder where the file choosers start, or the home folder when there
    /// is no documents folder (a chooser given a missing folder would offer its name as a file).
    static QString documentsFolder();

    QString userId() const { return m_userId; }
    QString lastUsedPath() const { return m_lastUsedPath; }
    void setLastUsedPath(const QString& path);

    bool advancedMode() const { return m_advancedMode; }
    bool snapMode() const { return m_snapMode; }
    bool debugMode() const { return m_debugMode; }
    bool linkerMode() const { return m_linkerMode; }
    bool simulationMode() const { return m_simulationMode; }
    bool backgroundSelectionLockMode() const { return m_backgroundLockMode; }
    bool openAtStartup() const { return m_openAtStartup; }
    bool autoAdjustAssetsScale() const { return m_autoAdjustAssetsScale; }

    /// Stores the flag and writes the store every time.
    void setAutoAdjustAssetsScale(bool value);

    /// The onion skin of the timeline: on or off, the copies before and after the current frame
    /// and the frames between them. Kept under "onionSkin/..." and written when they change.
    struct OnionSkin
    {
        bool on = false;
        int before = 2;
        int after = 2;
        int step = 5;
        bool operator==(const OnionSkin& other) const
        {
            return on == other.on && before == other.before && after == other.after && step == other.step;
        }
    };
    OnionSkin onionSkin() const { return m_onionSkin; }
    void setOnionSkin(const OnionSkin& onionSkin);

    /// Folders other panels keep in the same store; the documents folder when absent.
    static QString storedPath(const QString& key);
    static void setStoredPath(const QString& key, const QString& path);

public Q_SLOTS:
    void setSnapMode(bool snapMode);
    void setDebugMode(bool value);
    void setLinkerMode(bool value);
    void setSimulationMode(bool value);
    void setBackgroundSelectionLockMode(bool lockMode);
    void setOpenAtStartup(bool openAtStartup);

Q_SIGNALS:
    void debugModeChanged(bool value);
    void linkerModeChanged(bool value);
    void snapModeChanged(bool value);
    void simulationModeChanged(bool value);
    void backgroundLockModeChanged(bool value);

private:
    static QStringList readRecentFiles();
    // Stores value and announces it when it differs; returns whether it changed.
    bool changeMode(bool& field, bool value);

    QStringList m_recentFiles;
    QString m_userId;
    QString m_lastUsedPath;
    bool m_advancedMode = false;
    bool m_snapMode = false;
    bool m_debugMode = false;
    bool m_linkerMode = false;
    bool m_simulationMode = false;
    bool m_backgroundLockMode = false;
    bool m_openAtStartup = false;
    bool m_autoAdjustAssetsScale = true;
    OnionSkin m_onionSkin;
};
