#include "TemplateLibrary.h"

#include "ResourceLocator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString& rootOverride()
{
    static QString path;
    return path;
}

} // namespace

QString TemplateLibrary::root()
{
    if (!rootOverride().isEmpty()) {
        return rootOverride();
    }
    return ResourceLocator::locate(QStringLiteral("animations")) + QLatin1Char('/');
}

void TemplateLibrary::setRoot(const QString& path)
{
    rootOverride() = path.isEmpty() || path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString TemplateLibrary::projectsFolder()
{
    // The projects folder sits beside the animations folder.
    return QDir::cleanPath(root() + QStringLiteral("../projects")) + QLatin1Char('/');
}

QString TemplateLibrary::resolve(const QString& path)
{
    return QFileInfo(path).isAbsolute() ? path : root() + path;
}

bool TemplateLibrary::contains(const QString& path)
{
    const QFileInfo file(resolve(path));
    const QString library = QFileInfo(root()).canonicalFilePath();
    const QString canonical = file.canonicalFilePath();
    return file.isFile() && !library.isEmpty() && canonical.startsWith(library + QLatin1Char('/'));
}

QJsonObject TemplateLibrary::readJson(const QString& path, bool* opened)
{
    QFile file(resolve(path));
    const QFileInfo info(file);
    const bool readable = info.isFile() && info.size() <= kMaxFileSize && file.open(QIODevice::ReadOnly | QIODevice::Text);
    if (opened) {
        *opened = readable;
    }
    if (!readable && info.size() > kMaxFileSize) {
        qWarning("[TemplateLibrary] %s is too large to be a template file", qPrintable(info.filePath()));
    }
    return readable ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

QList<TemplateLibrary::Template> TemplateLibrary::listTemplates()
{
    QList<Template> templates;
    const QStringList folders = QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& folder : folders) {
        const QString name = readJson(root() + folder + QStringLiteral("/skeleton.json"))
                                 .value(QStringLiteral("name"))
                                 .toString();
        templates.append(Template(folder, name.isEmpty() ? folder : name));
    }
    return templates;
}

QList<TemplateLibrary::Animation> TemplateLibrary::listAnimations(const QString& folder, const QStringList& ignoreList)
{
    QList<Animation> animations;
    const QDir dir(resolve(folder));
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        if (QFileInfo(file).completeBaseName() == QLatin1String("skeleton")) {
            continue;
        }
        QString name = readJson(dir.filePath(file)).value(QStringLiteral("name")).toString();
        if (name.isEmpty()) {
            name = QFileInfo(file).completeBaseName();
        }
        if (ignoreList.contains(name)) {
            continue;
        }
        animations.append(Animation(folder + QLatin1Char('/') + file, name));
    }
    return animations;
}
