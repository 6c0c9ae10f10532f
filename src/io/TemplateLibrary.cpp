#include "TemplateLibrary.h"

#include <QCoreApplication>
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

QJsonObject readObject(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QJsonObject();
    }
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

QString TemplateLibrary::root()
{
    if (!rootOverride().isEmpty()) {
        return rootOverride();
    }
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Resources/animations/");
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

QList<TemplateLibrary::Template> TemplateLibrary::listTemplates()
{
    QList<Template> templates;
    const QStringList folders = QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& folder : folders) {
        const QString name = readObject(root() + folder + QStringLiteral("/skeleton.json"))
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
        QString name = readObject(dir.filePath(file)).value(QStringLiteral("name")).toString();
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
