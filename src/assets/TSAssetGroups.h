#pragma once

#include <QString>
#include <QStringList>

/// The groups of the asset library: the built-in default groups (read-only, under the program's
/// "Resources/assets") followed by the user's own groups (one folder each under the configuration
/// location, their names kept in the user settings). Every group has an index file
/// "assets_<position>.xml" in the root folder of its kind. Failures go to the debug log and leave
/// the groups as they were.
class TSAssetGroups
{
public:
    /// settingsKey names the user settings list of own groups ("categories" for images).
    TSAssetGroups(const QString& defaultRoot, const QStringList& defaultNames, const QString& ownRoot,
                  const QString& settingsKey);

    static QString defaultRootFolder();
    static QStringList defaultGroupNames();
    static QString ownRootFolder();

    /// The default groups first, then the own groups.
    QStringList names() const { return m_defaultNames + m_ownNames; }
    int count() const { return m_defaultNames.size() + m_ownNames.size(); }
    int indexOf(const QString& name) const { return names().indexOf(name); }
    bool isDefault(int group) const { return group >= 0 && group < m_defaultNames.size(); }

    QString rootFolder(int group) const;
    QString folder(int group) const;
    QString indexFile(int group) const;

    /// Appends "Untitled N" with the smallest free N and returns its name.
    QString createGroup();
    /// Renames an own group's folder; false (and nothing changed) when the folder cannot be
    /// renamed or the name is taken.
    bool rename(const QString& oldName, const QString& newName);
    /// Removes an own group's folder with its index; false when the folder cannot be removed.
    bool remove(const QString& name);
    /// Copies PNG files into an own group's folder, keeping their names, and lists them in the
    /// group's index. Returns how many files arrived.
    int importFiles(int group, const QStringList& files);

private:
    QString indexFileAt(int position) const;
    void storeOwnNames() const;

    QString m_defaultRoot;
    QStringList m_defaultNames;
    QString m_ownRoot;
    QString m_settingsKey;
    QStringList m_ownNames;
};
