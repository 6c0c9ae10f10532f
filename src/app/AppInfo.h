#pragma once

#include <QMap>
#include <QString>

/// The application identity record: a map from field number to text, filled once at start-up
/// before anything reads it.
class AppInfo
{
public:
    enum Field {
        AppId,
        AppName,
        BundleId,
        Version,
        IconPath,
        NameImagePath,
        DocumentExtension,
        UpdateFeedWindows,
        UpdateFeedMac,
        Website,
    };

    using Record = QMap<int, QString>;

    /// The identity of this application.
    static Record bonestageRecord();
    /// Stores the record; called once by the entry point (tests may call it again).
    static void setRecord(const Record& record);
    static Record record();
};

/// The text of a field; for a field missing from the record, logs "Field # <n> not found in app
/// info" and returns an empty string. Before any record was stored, the application's own
/// record answers.
QString appInfo(int field);
