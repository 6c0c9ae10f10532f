#include "RecoveryManifest.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

const QString kFormatKey = QStringLiteral("format");
const QString kNameKey = QStringLiteral("document");
const QString kPathKey = QStringLiteral("path");
const QString kTimeKey = QStringLiteral("time");
const QString kPidKey = QStringLiteral("pid");
const QString kStateKey = QStringLiteral("state");
const QString kUnsavedKey = QStringLiteral("unsaved");

// The state folder is a plain name beside the manifest: nothing a manifest says may lead out of
// its recovery folder.
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

} // namespace

QByteArray RecoveryManifest::toJson() const
{
    QJsonObject object;
    object.insert(kFormatKey, format);
    object.insert(kNameKey, documentName);
    object.insert(kPathKey, documentPath);
    object.insert(kTimeKey, time.toUTC().toString(Qt::ISODateWithMs));
    object.insert(kPidKey, static_cast<double>(pid));
    object.insert(kStateKey, stateFolder);
    object.insert(kUnsavedKey, unsaved);
    return QJsonDocument(object).toJson();
}

RecoveryManifest::Status RecoveryManifest::fromJson(const QByteArray& json, RecoveryManifest* manifest,
                                                    QString* problem)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject()) {
        *problem = QStringLiteral("the manifest is not readable: %1").arg(error.errorString());
        return Status::Unusable;
    }
    const QJsonObject object = document.object();
    manifest->format = object.value(kFormatKey).toInt(0);
    manifest->documentName = object.value(kNameKey).toString();
    manifest->documentPath = object.value(kPathKey).toString();
    manifest->time = QDateTime::fromString(object.value(kTimeKey).toString(), Qt::ISODateWithMs);
    manifest->pid = static_cast<qint64>(object.value(kPidKey).toDouble());
    manifest->stateFolder = object.value(kStateKey).toString();
    manifest->unsaved = object.value(kUnsavedKey).toBool();
    if (manifest->format != kFormat) {
        *problem = QStringLiteral("format %1 is not format %2").arg(manifest->format).arg(kFormat);
        return Status::Unusable;
    }
    if (!isPlainName(manifest->stateFolder) || !manifest->time.isValid()) {
        *problem = QStringLiteral("the manifest names no state or no time");
        return Status::Unusable;
    }
    return Status::Ok;
}
