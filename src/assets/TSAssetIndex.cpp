#include "TSAssetIndex.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

TSAssetIndex::ReadResult TSAssetIndex::read(const QString& file, QList<Entry>* entries, QString* error)
{
    entries->clear();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return ReadResult::OpenFailed;
    }
    QXmlStreamReader xml(&in);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("asset")) {
            continue;
        }
        Entry entry;
        const QString tags = xml.attributes().value(QLatin1String("search_tags")).toString();
        for (const QString& tag : tags.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!tag.trimmed().isEmpty()) {
                entry.tags << tag.trimmed();
            }
        }
        // Index files written on other systems may use either separator.
        entry.path = xml.readElementText().trimmed().replace(QLatin1Char('\\'), QLatin1Char('/'));
        // The text of an element cut off by an error may be cut off too.
        if (!entry.path.isEmpty() && !xml.hasError()) {
            entries->append(entry);
        }
    }
    if (xml.hasError()) {
        *error = xml.errorString();
        return ReadResult::XmlError;
    }
    return ReadResult::Ok;
}

bool TSAssetIndex::write(const QString& file, const QList<Entry>& entries, QString* error)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("assets"));
    for (const Entry& entry : entries) {
        xml.writeStartElement(QStringLiteral("asset"));
        xml.writeAttribute(QStringLiteral("search_tags"), entry.tags.join(QLatin1Char(',')));
        xml.writeCharacters(entry.path);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError() || !out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}
