#include "TemplateGenerator.h"

#include "AnimationJson.h"
#include "AnimationPersistence.h"
#include "BipedTemplate.h"
#include "QuadrupedTemplate.h"
#include "SkeletonJson.h"
#include "TSGraphicsPixmapModel.h"
#include "TSModelController.h"
#include "TSModelGeneralSettings.h"
#include "TSModelSkeleton.h"
#include "TSModelSkeletonNode.h"
#include "TemplateLibrary.h"
#include "TemplateStage.h"
#include "TentacleTemplate.h"

#include <QDir>
#include <QJsonDocument>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

// ---- Files ------------------------------------------------------------------------------------

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

void addNodeModels(const QList<NodeRecord>& nodes)
{
    TSModelController* controller = TSModelController::instance();
    for (const NodeRecord& node : nodes) {
        auto* model = new TSModelSkeletonNode();
        model->fillFrom(node);
        controller->addModel(model, false);
        model->release();
    }
}

TSModelSkeleton* addSkeletonModel(const QString& name, const QString& animation)
{
    auto* skeleton = new TSModelSkeleton();
    skeleton->setSkeletonName(name);
    skeleton->setAnimationName(animation);
    TSModelController::instance()->addModel(skeleton, true);
    skeleton->release();
    return skeleton;
}

// A document made from a template folder, saved through the project storage.
// A fresh controller, so model ids (and with them the documents) are the same on every run.
TSModelController* freshController()
{
    TSModelController::destroyInstance();
    return TSModelController::instance();
}

// The frame of a template document: what the character covers at rest and in motion, with a
// small margin, on whole pixels.
QRectF documentFrame(const QString& folder)
{
    TemplateStage stage(folder);
    const QRectF bounds = stage.motionBounds();
    const double margin = std::max(bounds.width(), bounds.height()) * 0.04;
    const QRectF grown = bounds.adjusted(-margin, -margin, margin, margin);
    return QRectF(QPointF(std::floor(grown.left()), std::floor(grown.top())),
                  QPointF(std::ceil(grown.right()), std::ceil(grown.bottom())));
}

bool writeTemplateDocument(const TemplateCharacter& character, const QString& path, QString* error)
{
    const QRectF frame = documentFrame(character.folder);
    TSModelController* controller = freshController();
    const QString folder = character.folder;
    const QList<TemplateLibrary::Animation> animations = TemplateLibrary::listAnimations(folder);
    addSkeletonModel(character.name, animations.isEmpty() ? QString() : animations.first().first);
    addNodeModels(SkeletonJson::readSkeleton(folder));
    int index = 0;
    for (const SkeletonJson::DummyImage& image : SkeletonJson::readDummyImages(folder)) {
        TSGraphicsPixmapModel* model = TSGraphicsPixmapModel::fromItemState(QPointF(), index++, image.transform,
                                                                            0, image.image);
        model->setName(image.nodeName.toStdString());
        model->setAssetName(image.nodeName);
        controller->addModel(model, false);
        model->release();
    }
    if (TSModelGeneralSettings* settings = TSModelGeneralSettings::current()) {
        settings->setObjectFrameRect(frame);
    }
    for (const TemplateLibrary::Animation& animation : animations) {
        AnimationTracks tracks = AnimationJson::readAnimation(animation.first);
        for (const auto& object : tracks) {
            object->setInUse(true);
        }
        AnimationPersistence::save(animation.first, tracks, QPointF());
    }
    if (!controller->saveDocument(path)) {
        *error = controller->errorString();
        return false;
    }
    return true;
}

bool writeDefaultDocument(const QString& path, QString* error)
{
    TSModelController* controller = freshController();
    const QString animation = QStringLiteral("model/Animation.json");
    addSkeletonModel(QStringLiteral("Default"), animation);
    NodeRecord root;
    root.name = root.defaultName = QStringLiteral("root");
    root.size = 20.0f;
    addNodeModels({root});
    AnimationPersistence::save(animation, AnimationTracks(), QPointF());
    if (!controller->saveDocument(path)) {
        *error = controller->errorString();
        return false;
    }
    return true;
}

} // namespace

QStringList TemplateGenerator::generate(const QString& resources, QString* error)
{
    QString ignored;
    QString& problem = error ? *error : ignored;
    QStringList written;
    const QString animationsRoot = resources + QStringLiteral("/animations/");
    const QString projects = resources + QStringLiteral("/projects/");
    QDir().mkpath(animationsRoot);
    QDir().mkpath(projects);
    TemplateLibrary::setRoot(animationsRoot);

    const QList<QPair<TemplateCharacter, QList<TemplateAnimation>>> library = {
        {BipedTemplate::character(), BipedTemplate::animations()},
        {QuadrupedTemplate::character(), QuadrupedTemplate::animations()},
        {TentacleTemplate::character(), TentacleTemplate::animations()},
    };

    for (const auto& [character, animations] : library) {
        const QString folder = animationsRoot + character.folder;
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        QList<NodeRecord> nodes;
        QList<SkeletonJson::DummyImage> images;
        QList<TemplatePart> byStack = character.parts;
        std::sort(byStack.begin(), byStack.end(),
                  [](const TemplatePart& a, const TemplatePart& b) { return a.stack < b.stack; });
        for (const TemplatePart& part : character.parts) {
            NodeRecord node;
            node.name = node.defaultName = part.name;
            node.parent = part.parent;
            node.position = part.position;
            node.size = 18.0f;
            node.zOrder = part.zOrder;
            nodes.append(node);
        }
        for (const TemplatePart& part : byStack) {
            images.append(SkeletonJson::DummyImage{part.name, part.image, part.transform, part.stack});
        }
        SkeletonJson::writeSkeleton(folder, character.name, nodes, images);
        written << character.folder + QStringLiteral("/skeleton.json");
        for (const TemplatePart& part : character.parts) {
            written << character.folder + QLatin1Char('/') + part.name + QStringLiteral(".png");
        }
        for (const TemplateAnimation& animation : animations) {
            const QByteArray json = QJsonDocument(animation.json(character)).toJson(QJsonDocument::Indented);
            if (!writeFile(folder + QLatin1Char('/') + animation.file(), json)) {
                problem = QStringLiteral("cannot write ") + animation.file();
                return written;
            }
            written << character.folder + QLatin1Char('/') + animation.file();
        }
        const QString document = projects + character.folder + QStringLiteral(".bsdoc");
        if (!writeTemplateDocument(character, document, &problem)) {
            return written;
        }
        written << QStringLiteral("../projects/") + character.folder + QStringLiteral(".bsdoc");
        const QString preview = projects + character.folder + QStringLiteral(".png");
        if (!TemplateStage::preview(character.folder, QSize(256, 256), 1.0, QColor(38, 38, 38)).save(preview)) {
            problem = QStringLiteral("cannot write ") + preview;
            return written;
        }
        written << QStringLiteral("../projects/") + character.folder + QStringLiteral(".png");
    }
    if (!writeDefaultDocument(animationsRoot + QStringLiteral("default.bsdoc"), &problem)) {
        return written;
    }
    written << QStringLiteral("default.bsdoc");
    TSModelController::destroyInstance();
    return written;
}
