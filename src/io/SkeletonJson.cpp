#include "SkeletonJson.h"

#include "TemplateLibrary.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace {

bool readRoot(const QString& folder, QJsonObject* root, QString* directory)
{
    *directory = TemplateLibrary::resolve(folder);
    const QString path = *directory + QStringLiteral("/skeleton.json");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug("%s", qPrintable(QStringLiteral("Failed to open skeleton from ") + path));
        return false;
    }
    *root = QJsonDocument::fromJson(file.readAll()).object();
    return true;
}

double number(const QJsonArray& array, int index)
{
    return index < array.size() ? array.at(index).toDouble() : 0.0;
}

} // namespace

QList<NodeRecord> SkeletonJson::readSkeleton(const QString& folder)
{
    QList<NodeRecord> nodes;
    QJsonObject root;
    QString directory;
    if (!readRoot(folder, &root, &directory)) {
        return nodes;
    }
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (it.key() == QLatin1String("name") || !it.value().isObject()) {
            continue;
        }
        const QJsonObject object = it.value().toObject();
        NodeRecord node;
        node.name = node.defaultName = it.key();
        node.parent = object.value(QStringLiteral("parent")).toString();
        // A short "position" array reads its missing numbers as 0.
        const QJsonArray position = object.value(QStringLiteral("position")).toArray();
        node.position = QPointF(static_cast<float>(number(position, 0)), static_cast<float>(number(position, 1)));
        node.size = static_cast<float>(object.value(QStringLiteral("size")).toDouble());
        node.zOrder = object.value(QStringLiteral("zorder")).toInt();
        node.boneColor = NodeRecord::defaultBoneColor();
        nodes.append(node);
    }
    return nodes;
}

QString SkeletonJson::readName(const QString& folder)
{
    QJsonObject root;
    QString directory;
    return readRoot(folder, &root, &directory) ? root.value(QStringLiteral("name")).toString() : QString();
}

QList<SkeletonJson::DummyImage> SkeletonJson::readDummyImages(const QString& folder)
{
    QList<DummyImage> images;
    QJsonObject root;
    QString directory;
    if (!readRoot(folder, &root, &directory)) {
        return images;
    }
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (it.key() == QLatin1String("name") || !it.value().isObject()) {
            continue;
        }
        const QJsonObject dummy = it.value().toObject().value(QStringLiteral("dummyImage")).toObject();
        if (dummy.isEmpty()) {
            continue;
        }
        DummyImage image;
        image.nodeName = it.key();
        image.image = QImage(directory + QLatin1Char('/') + dummy.value(QStringLiteral("image")).toString());
        const QJsonArray m = dummy.value(QStringLiteral("transform")).toArray();
        image.transform = m.size() >= 9 ? QTransform(number(m, 0), number(m, 1), number(m, 2), number(m, 3),
                                                     number(m, 4), number(m, 5), number(m, 6), number(m, 7),
                                                     number(m, 8))
                                        : QTransform();
        image.zValue = dummy.value(QStringLiteral("zvalue")).toInt();
        if (image.image.isNull()) {
            qDebug("%s", qPrintable(QStringLiteral("Failed to open image for ") + it.key()));
            continue;
        }
        images.append(image);
    }
    std::stable_sort(images.begin(), images.end(),
                     [](const DummyImage& a, const DummyImage& b) { return a.zValue < b.zValue; });
    return images;
}

void SkeletonJson::writeSkeleton(const QString& directory, const QString& name, const QList<NodeRecord>& nodes,
                                 const QList<DummyImage>& images)
{
    QJsonObject root;
    root.insert(QStringLiteral("name"), name);
    for (const NodeRecord& node : nodes) {
        QJsonObject object;
        object.insert(QStringLiteral("parent"), node.parent);
        object.insert(QStringLiteral("position"), QJsonArray{node.position.x(), node.position.y()});
        object.insert(QStringLiteral("size"), static_cast<double>(node.size));
        object.insert(QStringLiteral("zorder"), node.zOrder);
        for (int index = 0; index < images.size(); ++index) {
            const DummyImage& image = images.at(index);
            if (image.nodeName != node.name) {
                continue;
            }
            const QTransform& t = image.transform;
            QJsonObject dummy;
            dummy.insert(QStringLiteral("image"), QString(node.name + QStringLiteral(".png")));
            dummy.insert(QStringLiteral("zvalue"), index);
            dummy.insert(QStringLiteral("transform"), QJsonArray{t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(),
                                                                 t.m31(), t.m32(), t.m33()});
            object.insert(QStringLiteral("dummyImage"), dummy);
            image.image.save(directory + QLatin1Char('/') + node.name + QStringLiteral(".png"));
            break;
        }
        root.insert(node.name, object);
    }
    // A short write (a full disk) surfaces only in write() or flush(), not in commit(); without a
    // commit the old file stays as it was.
    QSaveFile file(directory + QStringLiteral("/skeleton.json"));
    const QByteArray text = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush()) {
        file.commit();
    }
}
