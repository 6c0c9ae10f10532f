#include "AppInfo.h"

#include <QDebug>

namespace {

AppInfo::Record& storedRecord()
{
    static AppInfo::Record record = AppInfo::bonestageRecord();
    return record;
}

} // namespace

AppInfo::Record AppInfo::bonestageRecord()
{
    return Record{
        {AppId, QStringLiteral("bonestage2")},
        {AppName, QStringLiteral("Bonestage")},
        {BundleId, QStringLiteral("com.wrenfold.bonestage")},
        {Version, QStringLiteral("2.0.3.1207")},
        {IconPath, QStringLiteral(":/resources/AppIcon.svg")},
        {NameImagePath, QStringLiteral(":/resources/AppName.svg")},
        {DocumentExtension, QStringLiteral("bsdoc")},
        {UpdateFeedWindows, QStringLiteral("https://wrenfold.com/bonestage/appcast-windows.xml")},
        {UpdateFeedMac, QStringLiteral("https://wrenfold.com/bonestage/appcast-mac.xml")},
        {Website, QStringLiteral("https://wrenfold.com/bonestage")},
    };
}

void AppInfo::setRecord(const Record& record)
{
    storedRecord() = record;
}

const AppInfo::Record& AppInfo::record()
{
    return storedRecord();
}

QString appInfo(int field)
{
    const AppInfo::Record& record = AppInfo::record();
    const auto it = record.constFind(field);
    if (it == record.constEnd()) {
        qDebug() << "Field #" << field << "not found in app info";
        return QString();
    }
    return it.value();
}
