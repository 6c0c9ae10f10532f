#include "SpriteAnimationBuilder.h"

#include "ImageFile.h"
#include "SpriteTrimming.h"
#include "TSModelAtlas.h"
#include "TSModelController.h"
#include "TSModelSprite.h"
#include "TSModelSpriteContainer.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QString fileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

// PNG files are known by their signature, whatever they are called.
bool hasPngSignature(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("\"%1\" cannot be read: %2.").arg(fileName(path), file.errorString());
        return false;
    }
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (file.read(signature.size()) != signature) {
        *error = QStringLiteral("\"%1\" is not a PNG image.").arg(fileName(path));
        return false;
    }
    return true;
}

// Names compared piece by piece: runs of digits by their value, the rest without case.
bool nameBefore(const QString& a, const QString& b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const int startA = i;
            const int startB = j;
            while (i < a.size() && a[i].isDigit()) {
                ++i;
            }
            while (j < b.size() && b[j].isDigit()) {
                ++j;
            }
            // Without leading zeros, the longer number is the larger one.
            QStringRef numberA = a.midRef(startA, i - startA);
            QStringRef numberB = b.midRef(startB, j - startB);
            while (numberA.size() > 1 && numberA.startsWith(QLatin1Char('0'))) {
                numberA = numberA.mid(1);
            }
            while (numberB.size() > 1 && numberB.startsWith(QLatin1Char('0'))) {
                numberB = numberB.mid(1);
            }
            if (numberA.size() != numberB.size()) {
                return numberA.size() < numberB.size();
            }
            if (const int order = numberA.compare(numberB); order != 0) {
                return order < 0;
            }
            continue;
        }
        const QChar charA = a[i].toCaseFolded();
        const QChar charB = b[j].toCaseFolded();
        if (charA != charB) {
            return charA < charB;
        }
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

bool isBlank(const QImage& image, const QRect& kept)
{
    return kept == QRect(0, 0, 1, 1) && qAlpha(image.pixel(0, 0)) == 0;
}

// Takes the sprites made so far out of the controller and the atlases, with their files.
void discard(const QList<TSModelSprite*>& sprites)
{
    for (TSModelSprite* sprite : sprites) {
        const QString path = sprite->imagePath();
        if (QFile::exists(path) && !QFile::remove(path)) {
            TSModelController::log("[SpriteAnimationBuilder] cannot remove %s", qPrintable(path));
        }
        sprite->removeFromController();
    }
}

} // namespace

QStringList SpriteAnimationBuilder::inNameOrder(const QStringList& paths)
{
    QStringList ordered = paths;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const QString& a, const QString& b) { return nameBefore(fileName(a), fileName(b)); });
    return ordered;
}

TSModelSpriteContainer* SpriteAnimationBuilder::build(const QStringList& paths, QString* error)
{
    QString reason;
    if (paths.isEmpty()) {
        reason = QStringLiteral("There are no images to make an animation of.");
    } else if (paths.size() > kMaxFrames) {
        reason = QStringLiteral("%1 images are more than the %2 frames an animation can be made of at once.")
                     .arg(paths.size())
                     .arg(kMaxFrames);
    } else if (TSModelController::instance()->workingPath().isEmpty()) {
        reason = QStringLiteral("There is no working folder to keep the frames in.");
    }
    const QStringList ordered = inNameOrder(paths);
    // Every file is looked at before anything is made.
    for (const QString& path : ordered) {
        if (!reason.isEmpty() || !hasPngSignature(path, &reason)) {
            break;
        }
    }
    QList<TSModelSprite*> sprites;
    bool anyVisible = false;
    for (const QString& path : ordered) {
        if (!reason.isEmpty()) {
            break;
        }
        QString cause;
        const QImage image = ImageFile::read(path, &cause);
        if (image.isNull()) {
            reason = QStringLiteral("\"%1\" cannot be read: %2.").arg(fileName(path), cause);
            break;
        }
        const QRect kept = SpriteTrimming::keptRect(image);
        if (kept.width() > kMaxFrameSide || kept.height() > kMaxFrameSide) {
            reason = QStringLiteral("\"%1\" is %2 × %3 pixels after trimming; a frame can be at most %4 × %4 "
                                    "pixels to fit into a texture atlas.")
                         .arg(fileName(path))
                         .arg(kept.width())
                         .arg(kept.height())
                         .arg(kMaxFrameSide);
            break;
        }
        anyVisible = anyVisible || !isBlank(image, kept);
        auto* sprite = new TSModelSprite();
        sprite->setName(QFileInfo(path).completeBaseName().toStdString());
        sprite->setSourceImage(image);
        sprite->trim();
        sprite->recomputeAdjustedImage();
        TSModelController::instance()->addModel(sprite, false);
        sprite->release();
        sprites.append(sprite);
        if (!sprite->writeImageFile()) {
            reason =
                QStringLiteral("Cannot write the frame \"%1\" into the working folder.").arg(fileName(path));
        }
    }
    if (reason.isEmpty() && !anyVisible) {
        reason = QStringLiteral("Every image is fully transparent: there is nothing to show.");
    }
    if (reason.isEmpty() && !TSModelAtlas::addSprites(sprites)) {
        reason = QStringLiteral("Cannot write the texture atlas into the working folder.");
    }
    if (!reason.isEmpty()) {
        discard(sprites);
        if (error) {
            *error = reason;
        }
        return nullptr;
    }
    auto* container = new TSModelSpriteContainer();
    container->setName(QFileInfo(ordered.first()).completeBaseName().toStdString());
    for (TSModelSprite* sprite : qAsConst(sprites)) {
        container->appendSprite(sprite);
    }
    TSModelController::instance()->addModel(container, false);
    container->release();
    return container;
}
