// Reading and writing a ~2 MB property list of model dictionaries, against bare tinyxml2.
#include "BenchRatios.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCPoolManager.h"
#include "CCString.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <tinyxml2.h>

using namespace cocos2d;

namespace {

// Dictionaries shaped like the node models of a large project: 19 attributes, most of them
// value dictionaries with one formatted number.
CCDictionary* makeModels(int count)
{
    auto* root = CCArray::createWithCapacity(static_cast<unsigned>(count));
    const char* floats[] = {"size", "zOrder", "m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"};
    for (int i = 0; i < count; ++i) {
        auto* model = CCDictionary::create();
        model->setObject(CCString::createWithFormat("%d", i + 10), "id");
        model->setObject(CCString::create("TSModelSkeletonNode"), "className");
        auto addValue = [model](const char* key, CCString* value) {
            auto* attribute = CCDictionary::create();
            attribute->setObject(value, "value");
            model->setObject(attribute, key);
        };
        addValue("Name", CCString::createWithFormat("node_%d", i));
        addValue("name", CCString::createWithFormat("node_%d", i));
        addValue("defaultName", CCString::createWithFormat("bone %d", i));
        addValue("parent", CCString::createWithFormat("node_%d", i / 2));
        addValue("position", CCString::createWithFormat("{%.3f,%.3f}", i * 1.5, -i * 0.25));
        for (const char* key : floats) {
            addValue(key, CCString::createWithFormat("%f", (i % 17) * 0.125));
        }
        auto* color = CCDictionary::create();
        color->setObject(CCString::create("0.372549"), "r");
        color->setObject(CCString::create("0.372549"), "g");
        color->setObject(CCString::create("0.372549"), "b");
        color->setObject(CCString::create("1.000000"), "a");
        model->setObject(color, "boneColor");
        root->addObject(model);
    }
    auto* file = CCDictionary::create();
    file->setObject(root, "ROOT");
    return file;
}

struct Fixture
{
    Fixture()
    {
        path = dir.filePath("models.plist");
        out = dir.filePath("out.plist");
        dict = makeModels(650);
        dict->retain();
        dict->writeToFile(path);
        CCPoolManager::sharedPoolManager()->drain();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        bytes = file.size();
    }

    QTemporaryDir dir;
    QString path;
    QString out;
    CCDictionary* dict = nullptr;
    qint64 bytes = 0;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void BM_ReadPlist(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        CCDictionary* dict = CCDictionary::createWithContentsOfFile(f.path);
        benchmark::DoNotOptimize(dict);
        CCPoolManager::sharedPoolManager()->drain();
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

void BM_ReadBareTinyxml2(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        const QByteArray data = readFile(f.path);
        tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
        document.Parse(data.constData(), static_cast<size_t>(data.size()));
        benchmark::DoNotOptimize(document.RootElement());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

void BM_WritePlist(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.dict->writeToFile(f.out));
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

void BM_WriteBareTinyxml2(benchmark::State& state)
{
    Fixture& f = fixture();
    const QByteArray data = readFile(f.path);
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    document.Parse(data.constData(), static_cast<size_t>(data.size()));
    const QByteArray out = QFile::encodeName(f.out);
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.SaveFile(out.constData()));
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

BENCHMARK(BM_ReadPlist)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBareTinyxml2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePlist)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBareTinyxml2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    std::printf("property list of %lld bytes\n", static_cast<long long>(fixture().bytes));
    return bench::runWithRatios(argc, argv,
                                {{"BM_ReadPlist", "BM_ReadBareTinyxml2"}, {"BM_WritePlist", "BM_WriteBareTinyxml2"}});
}
