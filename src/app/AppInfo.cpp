#include "AppInfo.h"

#include <QDebug>

namespace {

// A global static that knows when it is gone: objects destroyed late at exit (the model
// controller goes with the application object) may still ask for the record.
Q_GLOBAL_STATIC_WITH_ARGS(AppInfo::Record, storedRecord, (AppInfo::bonestageRecord()))

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
    if (!storedRecord.isDestroyed()) {
        *storedRecord = record;
    }
}

AppInfo::Record AppInfo::record()
{
    return storedRecord.isDestroyed() ? bonestageRecord() : *storedRecord;
}

QString appInfo(int field)
{
    const AppInfo::Record record = AppInfo::record();
    const auto it = record.constFind(field);
    if (it == record.constEnd()) {
        qDebug() << "Field #" << field << "not found in app info";
        return QString();
    }
    return it.value();
}
