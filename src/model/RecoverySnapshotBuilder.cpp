#include "RecoverySnapshotBuilder.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCPoolManager.h"
#include "PlistWriter.h"
#include "TSModel.h"
#include "TSModelController.h"
#include "TSProjectStorage.h"

#include <QDir>
#include <QElapsedTimer>

using namespace cocos2d;

namespace {

/// A model file of one element: everything before the element and everything after it are the
/// same for every model file.
std::string fileOf(CCDictionary* element)
{
    auto* list = CCArray::create();
    list->addObject(element);
    auto* root = CCDictionary::create();
    root->setObject(list, "ROOT");
    return PlistWriter::toString(root);
}

struct Frame
{
    std::string head;
    std::string tail;
};

// Head and tail of a model file, from a file whose one element is an empty dictionary.
const Frame& frame()
{
    static const Frame parts = [] {
        CCPoolManager::sharedPoolManager()->push();
        const std::string text = fileOf(CCDictionary::create());
        CCPoolManager::sharedPoolManager()->pop();
        const std::string element = "\n            <dict/>";
        const size_t at = text.find(element);
        return Frame{text.substr(0, at), text.substr(at + element.size())};
    }();
    return parts;
}

} // namespace

RecoverySnapshotBuilder::RecoverySnapshotBuilder(TSModelController* controller,
                                                 const RecoveryManifest& manifest)
{
    m_snapshot.workingPath = controller->workingPath();
    m_snapshot.manifest = manifest;
    TSProjectStorage::noteLastId();
    const QDir working(m_snapshot.workingPath);
    for (const std::string& className : controller->classesWithModels()) {
        CCArray* models = controller->modelsOfClass(className);
        const unsigned count = models->count();
        for (int pass : {0, 1}) {
            for (unsigned i = 0; i < count; ++i) {
                if (i % TSProjectStorage::kModelsPerFile == 0) {
                    m_files.append({TSProjectStorage::modelFileName(
                                        className, i / TSProjectStorage::kModelsPerFile, pass),
                                    QByteArray()});
                    m_remaining.append(0);
                }
                auto* model = static_cast<TSModel*>(models->objectAtIndex(i));
                model->retain();
                m_models.append({model, pass, static_cast<int>(m_files.size()) - 1});
                ++m_remaining.last();
            }
        }
        for (CCObject* obj : *models) {
            const auto* model = static_cast<TSModel*>(obj);
            const QImage picture = model->pictureForFile();
            const QString path = model->imageFilePath();
            const QString name = path.isEmpty() ? QString() : working.relativeFilePath(path);
            if (!picture.isNull() && !name.isEmpty() && !name.startsWith(QLatin1String(".."))) {
                m_snapshot.pictures.append({name, picture});
            }
        }
    }
}

RecoverySnapshotBuilder::~RecoverySnapshotBuilder()
{
    for (const Entry& entry : qAsConst(m_models)) {
        entry.model->release();
    }
}

bool RecoverySnapshotBuilder::step(qint64 budget)
{
    QElapsedTimer clock;
    clock.start();
    const Frame& parts = frame();
    CCPoolManager::sharedPoolManager()->push();
    while (!isDone()) {
        const Entry& entry = m_models.at(m_next++);
        CCDictionary* element =
            entry.pass == 0 ? entry.model->attributesDictionary() : entry.model->connectionsDictionary();
        const std::string text = fileOf(element);
        QByteArray& content = m_files[entry.file].content;
        content.append(text.data() + parts.head.size(),
                       static_cast<int>(text.size() - parts.head.size() - parts.tail.size()));
        if (--m_remaining[entry.file] == 0) {
            finishFile(entry.file);
        }
        if (clock.nsecsElapsed() >= budget) {
            break;
        }
    }
    CCPoolManager::sharedPoolManager()->pop();
    return isDone();
}

void RecoverySnapshotBuilder::finishFile(int file)
{
    const Frame& parts = frame();
    RecoverySnapshot::File& done = m_files[file];
    done.content.prepend(parts.head.data(), static_cast<int>(parts.head.size()));
    done.content.append(parts.tail.data(), static_cast<int>(parts.tail.size()));
    m_snapshot.files.append(done);
    done.content.clear();
}
