#include "SpriteSheet.h"

#include "ImageFile.h"
#include "TSModelAtlas.h"
#include "TSModelSprite.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace {

// Ends the life of a reference-counted model held only here.
struct ReleaseModel
{
    void operator()(TSModel* model) const { model->release(); }
};
template <class Model> using Held = std::unique_ptr<Model, ReleaseModel>;

QString outputBase(const QString& base)
{
    for (const QLatin1String suffix : {QLatin1String(".png"), QLatin1String(".plist")}) {
        if (base.endsWith(suffix, Qt::CaseInsensitive)) {
            return base.left(base.size() - suffix.size());
        }
    }
    return base;
}

SpriteSheet::Result failed(SpriteSheet::Result result, SpriteSheet::Failure failure, const QString& error)
{
    result.failure = failure;
    result.error = error;
    return result;
}

} // namespace

SpriteSheet::Result SpriteSheet::pack(const QString& folder, const QString& base)
{
    Result result;
    const QString stem = outputBase(base);
    result.imagePath = stem + QStringLiteral(".png");
    result.plistPath = stem + QStringLiteral(".plist");

    const QDir dir(folder);
    if (!QFileInfo(folder).isDir()) {
        return failed(result, Failure::NoImages, QStringLiteral("There is no folder %1.").arg(folder));
    }
    QFileInfoList files = dir.entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    // An atlas written into the folder it packs is not packed into the next one.
    const QString ownImage = QFileInfo(result.imagePath).absoluteFilePath();
    files.erase(
        std::remove_if(files.begin(), files.end(),
                       [&ownImage](const QFileInfo& file) { return file.absoluteFilePath() == ownImage; }),
        files.end());
    if (files.isEmpty()) {
        return failed(result, Failure::NoImages, QStringLiteral("There is no PNG file in %1.").arg(folder));
    }

    const Held<TSModelAtlas> atlas(new TSModelAtlas());
    for (const QFileInfo& file : qAsConst(files)) {
        QString error;
        const QImage image = ImageFile::read(file.filePath(), &error);
        if (image.isNull()) {
            return failed(result, Failure::UnreadableImage,
                          QStringLiteral("Cannot read %1: %2").arg(file.filePath(), error));
        }
        const Held<TSModelSprite> sprite(new TSModelSprite());
        sprite->setName(file.fileName().toStdString());
        sprite->setSourceImage(image);
        sprite->trim();
        atlas->sprites().append(sprite.get());
    }
    result.sprites = files.size();

    // The smallest area that takes everything; of two equal areas the squarer, then the wider.
    QList<QSize> sizes;
    for (int width = kSmallestSide; width <= kLargestSide; width *= 2) {
        for (int height = kSmallestSide; height <= kLargestSide; height *= 2) {
            sizes << QSize(width, height);
        }
    }
    std::stable_sort(sizes.begin(), sizes.end(), [](const QSize& a, const QSize& b) {
        const qint64 areaA = qint64(a.width()) * a.height();
        const qint64 areaB = qint64(b.width()) * b.height();
        if (areaA != areaB) {
            return areaA < areaB;
        }
        const int skewA = qAbs(a.width() - a.height());
        const int skewB = qAbs(b.width() - b.height());
        return skewA != skewB ? skewA < skewB : a.width() > b.width();
    });
    const auto fitting = std::find_if(sizes.cbegin(), sizes.cend(), [&atlas](const QSize& size) {
        atlas->setSize(size.width(), size.height());
        return atlas->pack();
    });
    if (fitting == sizes.cend()) {
        return failed(result, Failure::TooLarge,
                      QStringLiteral("The %1 images of %2 do not fit into one %3 × %3 atlas.")
                          .arg(files.size())
                          .arg(folder)
                          .arg(kLargestSide));
    }
    const QSize size = *fitting;
    result.size = size;

    const QString outputFolder = QFileInfo(result.imagePath).absolutePath();
    if (!QDir().mkpath(outputFolder) || !atlas->saveAs(result.imagePath, result.plistPath)) {
        return failed(result, Failure::WriteFailed,
                      QStringLiteral("Cannot write %1 and %2.").arg(result.imagePath, result.plistPath));
    }
    return result;
}
