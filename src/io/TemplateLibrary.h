#pragma once

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

/// The library of skeleton templates that ships with the program: one folder per template in
/// the "animations" data folder (ResourceLocator), each with "skeleton.json", the placeholder
/// images and the animation files.
class TemplateLibrary
{
public:
    /// (folder name, display name).
    using Template = QPair<QString, QString>;
    /// (path relative to the library root — the animation's identifier, display name).
    using Animation = QPair<QString, QString>;

    /// The library root, ending with "/".
    static QString root();
    /// Points the library somewhere else (tests, tools); an empty path restores the default.
    static void setRoot(const QString& path);
    /// The projects folder beside the library root ("Resources/projects/"): a document and a
    /// preview picture per template.
    static QString projectsFolder();

    /// Subfolders of the root, sorted by name; the display name is skeleton.json's "name".
    static QList<Template> listTemplates();
    /// The "*.json" files of a template folder except skeleton.json, sorted by name, without
    /// those whose name is in ignoreList.
    static QList<Animation> listAnimations(const QString& folder, const QStringList& ignoreList = {});
    /// An absolute path for a path relative to the root (absolute paths stay as they are).
    static QString resolve(const QString& path);
    /// Whether path (relative to the root or absolute) names a regular file inside the library.
    /// Identifiers in documents are only ever read through the library when this holds.
    static bool contains(const QString& path);
    /// The JSON object of a library file no larger than kMaxFileSize; empty otherwise.
    static QJsonObject readJson(const QString& path, bool* opened = nullptr);

    /// Template files are small; anything larger is not one of ours.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
};
