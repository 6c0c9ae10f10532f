#include "RecoverySnapshot.h"

#include "CCArray.h"
#include "PlistWriter.h"
#include "TSModel.h"
#include "TSModelController.h"
#include "TSProjectStorage.h"

#include <QDir>

using namespace cocos2d;

RecoverySnapshot RecoverySnapshot::take(TSModelController* controller, const RecoveryManifest& manifest)
{
    RecoverySnapshot snapshot;
    snapshot.workingPath = controller->workingPath();
    snapshot.manifest = manifest;
    const QDir working(snapshot.workingPath);
    TSProjectStorage::noteLastId();
    TSProjectStorage storage(controller);
    for (const std::string& className : controller->classesWithModels()) {
        for (int pass : {0, 1}) {
            storage.forEachModelFile(className, pass, [&snapshot](const QString& name, CCDictionary* root) {
                snapshot.files.append(File{name, QByteArray::fromStdString(PlistWriter::toString(root))});
                return true;
            });
        }
        CCArray* models = controller->modelsOfClass(className);
        for (CCObject* obj : *models) {
            const auto* model = static_cast<TSModel*>(obj);
            const QImage picture = model->pictureForFile();
            const QString path = model->imageFilePath();
            const QString name = path.isEmpty() ? QString() : working.relativeFilePath(path);
            if (!picture.isNull() && !name.isEmpty() && !name.startsWith(QLatin1String(".."))) {
                snapshot.pictures.append(Picture{name, picture});
            }
        }
    }
    return snapshot;
}
