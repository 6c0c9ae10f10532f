#include "ResourceLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef BONESTAGE_INSTALLED_DATA
#define BONESTAGE_INSTALLED_DATA "../share/bonestage"
#endif

QStringList ResourceLocator::searchFolders(const QString& programFolder)
{
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("Resources"))),
            QDir::cleanPath(program.filePath(QStringLiteral(BONESTAGE_INSTALLED_DATA)))};
}

QString ResourceLocator::locate(const QString& name, const QString& programFolder)
{
    const QStringList folders = searchFolders(programFolder);
    for (const QString& folder : folders) {
        const QString path = folder + QLatin1Char('/') + name;
        if (QFileInfo::exists(path)) {
            return path;
        }
    }
    return folders.first() + QLatin1Char('/') + name;
}

QString ResourceLocator::locate(const QString& name)
{
    return locate(name, QCoreApplication::applicationDirPath());
}
