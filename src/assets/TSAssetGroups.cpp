#include "TSAssetGroups.h"

#include "AppInfo.h"
#include "ResourceLocator.h"
#include "TSAssetIndex.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

TSAssetGroups::TSAssetGroups(const QString& defaultRoot, const QStringList& defaultNames,
                             const QString& ownRoot, const QString& settingsKey)
    : m_defaultRoot(defaultRoot), m_defaultNames(defaultNames), m_ownRoot(ownRoot), m_settingsKey(settingsKey)
{
    for (const QString& name : QSettings().value(m_settingsKey).toStringList()) {
        // A name that would leave the root folder or repeat another is not a group.
        if (!name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
            name != QLatin1String("..") && !names().contains(name)) {
            m_ownNames << name;
        }
    }
}

QString TSAssetGroups::defaultRootFolder()
{
    return ResourceLocator::locate(QStringLiteral("assets"));
}

QStringList TSAssetGroups::defaultGroupNames()
{
    return {QStringLiteral("Characters"), QStringLiteral("Props")};
}

QString TSAssetGroups::ownRootFolder()
{
    const QStringList locations = QStandardPaths::standardLocations(QStandardPaths::ConfigLocation);
    return (locations.isEmpty() ? QDir::homePath() : locations.first()) + QLatin1Char('/') +
           appInfo(AppInfo::AppId);
}

QString TSAssetGroups::rootFolder(int group) const
{
    return isDefault(group) ? m_defaultRoot : m_ownRoot;
}

QString TSAssetGroups::folder(int group) const
{
    return group >= 0 && group < count() ? rootFolder(group) + QLatin1Char('/') + names().at(group)
                                         : QString();
}

QString TSAssetGroups::indexFile(int group) const
{
    return group >= 0 && group < count() ? indexFileAt(group) : QString();
}

QString TSAssetGroups::indexFileAt(int position) const
{
    return rootFolder(position) + QStringLiteral("/assets_%1.xml").arg(position);
}

void TSAssetGroups::storeOwnNames() const
{
    QSettings settings;
    settings.setValue(m_settingsKey, m_ownNames);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        qDebug() << "[TSAssetGroups] unable to store the group names in the user settings";
    }
}

QString TSAssetGroups::createGroup()
{
    QString name;
    for (int number = 0; name.isEmpty() || names().contains(name); ++number) {
        name = QStringLiteral("Untitled %1").arg(number);
    }
    m_ownNames << name;
    storeOwnNames();
    return name;
}

bool TSAssetGroups::rename(const QString& oldName, const QString& newName)
{
    const int group = indexOf(oldName);
    const QString name = newName.trimmed();
    const bool usable = group >= 0 && !isDefault(group) && !name.isEmpty() && !names().contains(name) &&
                        !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
                        name != QLatin1String("..") && name != QLatin1String(".");
    QDir root(m_ownRoot);
    // A group that never got images has no folder yet; one is made so the name proves usable.
    if (!usable || !(root.exists(oldName) ? root.rename(oldName, name) : root.mkpath(name))) {
        qDebug().noquote() << QStringLiteral("Error! Failed to rename subcategory in %1 from %2 to %3")
                                  .arg(m_ownRoot, oldName, newName);
        return false;
    }
    m_ownNames[group - m_defaultNames.size()] = name;
    storeOwnNames();
    // The index lists paths inside the group's folder: they follow the new name.
    QList<TSAssetIndex::Entry> entries;
    QString error;
    if (TSAssetIndex::read(indexFile(group), &entries, &error) == TSAssetIndex::ReadResult::Ok) {
        const QString oldPrefix = oldName + QLatin1Char('/');
        for (TSAssetIndex::Entry& entry : entries) {
            if (entry.path.startsWith(oldPrefix)) {
                entry.path = name + QLatin1Char('/') + entry.path.mid(oldPrefix.size());
            }
        }
        if (!TSAssetIndex::write(indexFile(group), entries, &error)) {
            qDebug().noquote() << "[TSAssetGroups] unable to write" << indexFile(group) << error;
        }
    }
    return true;
}

bool TSAssetGroups::remove(const QString& name)
{
    const int group = indexOf(name);
    if (group < 0 || isDefault(group)) {
        return false;
    }
    QDir dir(folder(group));
    if (dir.exists() && !dir.removeRecursively()) {
        qDebug().noquote() << QStringLiteral("Error! Failed to remove subcategory in %1").arg(dir.path());
        return false;
    }
    // The index files of the groups after it move down one position.
    const int last = count() - 1;
    if (QFile::exists(indexFileAt(group)) && !QFile::remove(indexFileAt(group))) {
        qDebug().noquote() << "[TSAssetGroups] unable to remove" << indexFileAt(group);
    }
    for (int position = group + 1; position <= last; ++position) {
        if (QFile::exists(indexFileAt(position)) &&
            !QFile::rename(indexFileAt(position), indexFileAt(position - 1))) {
            qDebug().noquote() << "[TSAssetGroups] unable to move" << indexFileAt(position);
        }
    }
    m_ownNames.removeAt(group - m_defaultNames.size());
    storeOwnNames();
    return true;
}

int TSAssetGroups::importFiles(int group, const QStringList& files)
{
    if (group < 0 || group >= count() || isDefault(group)) {
        return 0;
    }
    const QString target = folder(group);
    if (!QDir().mkpath(target)) {
        qDebug().noquote() << "[TSAssetGroups] unable to create" << target;
        return 0;
    }
    // Another editor may have changed the index since: what is on disk is the base.
    QList<TSAssetIndex::Entry> entries;
    QString error;
    const auto read = TSAssetIndex::read(indexFile(group), &entries, &error);
    if (read == TSAssetIndex::ReadResult::XmlError) {
        qDebug().noquote() << "[TSAssetGroups] keeping what could be read of" << indexFile(group) << error;
    }
    int imported = 0;
    for (const QString& file : files) {
        const QString fileName = QFileInfo(file).fileName();
        const QString destination = target + QLatin1Char('/') + fileName;
        if (QFileInfo(file).absoluteFilePath() == QFileInfo(destination).absoluteFilePath()) {
            continue;
        }
        // The copy is made complete under a temporary name before it replaces an older image.
        const QString partial = destination + QStringLiteral(".part");
        QFile::remove(partial);
        if (!QFile::copy(file, partial)) {
            qDebug().noquote() << "[TSAssetGroups] unable to copy" << file << "to" << target;
            continue;
        }
        if ((QFile::exists(destination) && !QFile::remove(destination)) ||
            !QFile::rename(partial, destination)) {
            QFile::remove(partial);
            qDebug().noquote() << "[TSAssetGroups] unable to replace" << destination;
            continue;
        }
        const QString relative = names().at(group) + QLatin1Char('/') + fileName;
        const bool listed =
            std::any_of(entries.cbegin(), entries.cend(),
                        [&](const TSAssetIndex::Entry& entry) { return entry.path == relative; });
        if (!listed) {
            entries.append({relative, {}});
        }
        ++imported;
    }
    if (imported > 0 && !TSAssetIndex::write(indexFile(group), entries, &error)) {
        qDebug().noquote() << "[TSAssetGroups] unable to write" << indexFile(group) << error;
    }
    return imported;
}
