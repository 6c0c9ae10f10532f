#include "TSApplicationSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>

TSApplicationSettings::TSApplicationSettings(QObject* parent)
    : QObject(parent), m_lastUsedPath(documentsFolder())
{
}

TSApplicationSettings* TSApplicationSettings::instance()
{
    static TSApplicationSettings settings;
    return &settings;
}

QStringList TSApplicationSettings::readRecentFiles()
{
    QSettings settings;
    QStringList files;
    const int size = settings.beginReadArray(QStringLiteral("recentFiles"));
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        files.append(settings.value(QStringLiteral("recentFile")).toString());
    }
    settings.endArray();
    return files;
}

void TSApplicationSettings::load()
{
    QSettings settings;
    m_recentFiles = readRecentFiles();
    m_autoAdjustAssetsScale = settings.value(QStringLiteral("autoAdjustAssetsScale"), true).toBool();
    m_advancedMode = settings.value(QStringLiteral("advancedMode")).toBool();
    m_debugMode = settings.value(QStringLiteral("debugMode")).toBool();
    m_linkerMode = settings.value(QStringLiteral("linkMode")).toBool();
    m_snapMode = settings.value(QStringLiteral("snapMode")).toBool();
    m_simulationMode = settings.value(QStringLiteral("simulationMode")).toBool();
    m_backgroundLockMode = settings.value(QStringLiteral("backgroundLockMode")).toBool();
    const QString lastUsed = settings.value(QStringLiteral("lastUsedPath")).toString();
    if (!lastUsed.isEmpty()) {
        m_lastUsedPath = lastUsed;
    }
    m_onionSkin.on = settings.value(QStringLiteral("onionSkin/on"), false).toBool();
    m_onionSkin.before = settings.value(QStringLiteral("onionSkin/before"), 2).toInt();
    m_onionSkin.after = settings.value(QStringLiteral("onionSkin/after"), 2).toInt();
    m_onionSkin.step = settings.value(QStringLiteral("onionSkin/step"), 5).toInt();
    m_userId = settings.value(QStringLiteral("userID")).toString();
    if (m_userId.isEmpty()) {
        m_userId = QString::number(QRandomGenerator::global()->generate() & 0x7fffffffu);
        save();
    }
}

QString TSApplicationSettings::storeProblem()
{
    const QFileInfo store(QSettings().fileName());
    const QString folder = store.absolutePath();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        return QStringLiteral("the folder %1 cannot be created").arg(QDir::toNativeSeparators(folder));
    }
    if (store.exists() ? !store.isWritable() : !QFileInfo(folder).isWritable()) {
        return QStringLiteral("%1 is read-only")
            .arg(QDir::toNativeSeparators(store.exists() ? store.filePath() : folder));
    }
    return QString();
}

void TSApplicationSettings::save()
{
    QSettings settings;
    settings.beginWriteArray(QStringLiteral("recentFiles"), m_recentFiles.size());
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("recentFile"), m_recentFiles.at(i));
    }
    settings.endArray();
    settings.setValue(QStringLiteral("autoAdjustAssetsScale"), m_autoAdjustAssetsScale);
    settings.setValue(QStringLiteral("advancedMode"), m_advancedMode);
    settings.setValue(QStringLiteral("debugMode"), m_debugMode);
    settings.setValue(QStringLiteral("linkMode"), m_linkerMode);
    settings.setValue(QStringLiteral("snapMode"), m_snapMode);
    settings.setValue(QStringLiteral("simulationMode"), m_simulationMode);
    settings.setValue(QStringLiteral("backgroundLockMode"), m_backgroundLockMode);
    settings.setValue(QStringLiteral("lastUsedPath"), m_lastUsedPath);
    settings.setValue(QStringLiteral("userID"), m_userId);
}

void TSApplicationSettings::setRecentFiles(const QStringList& files)
{
    m_recentFiles = files.mid(0, kMaxRecentFiles);
    save();
}

QStringList TSApplicationSettings::existingRecentFiles()
{
    QStringList existing;
    for (const QString& path : readRecentFiles()) {
        if (QFileInfo(path).isFile()) {
            existing.append(path);
        }
    }
    m_recentFiles = existing;
    return existing;
}

void TSApplicationSettings::setLastUsedPath(const QString& path)
{
    if (path.isEmpty() || path == m_lastUsedPath) {
        return;
    }
    m_lastUsedPath = path;
    save();
}

void TSApplicationSettings::setOnionSkin(const OnionSkin& onionSkin)
{
    if (onionSkin == m_onionSkin) {
        return;
    }
    m_onionSkin = onionSkin;
    QSettings settings;
    settings.setValue(QStringLiteral("onionSkin/on"), onionSkin.on);
    settings.setValue(QStringLiteral("onionSkin/before"), onionSkin.before);
    settings.setValue(QStringLiteral("onionSkin/after"), onionSkin.after);
    settings.setValue(QStringLiteral("onionSkin/step"), onionSkin.step);
}

QString TSApplicationSettings::documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString TSApplicationSettings::storedPath(const QString& key)
{
    const QString path = QSettings().value(key).toString();
    return path.isEmpty() ? documentsFolder() : path;
}

void TSApplicationSettings::setStoredPath(const QString& key, const QString& path)
{
    QSettings().setValue(key, path);
}

void TSApplicationSettings::setAutoAdjustAssetsScale(bool value)
{
    m_autoAdjustAssetsScale = value;
    save();
}

bool TSApplicationSettings::changeMode(bool& field, bool value)
{
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

void TSApplicationSettings::setSnapMode(bool snapMode)
{
    if (changeMode(m_snapMode, snapMode)) {
        Q_EMIT snapModeChanged(snapMode);
        save();
    }
}

void TSApplicationSettings::setDebugMode(bool value)
{
    if (changeMode(m_debugMode, value)) {
        Q_EMIT debugModeChanged(value);
        save();
    }
}

void TSApplicationSettings::setLinkerMode(bool value)
{
    if (changeMode(m_linkerMode, value)) {
        Q_EMIT linkerModeChanged(value);
        save();
    }
}

void TSApplicationSettings::setSimulationMode(bool value)
{
    if (changeMode(m_simulationMode, value)) {
        Q_EMIT simulationModeChanged(value);
        save();
    }
}

void TSApplicationSettings::setBackgroundSelectionLockMode(bool lockMode)
{
    if (changeMode(m_backgroundLockMode, lockMode)) {
        Q_EMIT backgroundLockModeChanged(lockMode);
        save();
    }
}

void TSApplicationSettings::setOpenAtStartup(bool openAtStartup)
{
    m_openAtStartup = openAtStartup;
}
