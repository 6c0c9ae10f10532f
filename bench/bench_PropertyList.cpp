// Reading and writing a ~2 MB property list of model dictionaries, each against the bare tinyxml2
// operation on the same bytes.
#include "InterleavedPair.h"
#include "Report.h"

#include "CCArray.h"
#include "CCDictionary.h"
#include "CCPoolManager.h"
#include "CCString.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

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

// The whole file, read with the C library as a bare program would.
std::vector<char> readFile(const QByteArray& path)
{
    std::vector<char> data;
    if (FILE* file = std::fopen(path.constData(), "rb")) {
        char buffer[64 * 1024];
        size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            data.insert(data.end(), buffer, buffer + read);
        }
        std::fclose(file);
    }
    return data;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("models.plist");
    const QString out = dir.filePath("out.plist");
    CCDictionary* dict = makeModels(650);
    dict->retain();
    if (!dict->writeToFile(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 0;
    }
    CCPoolManager::sharedPoolManager()->drain();
    const QByteArray nativePath = QFile::encodeName(path);
    const QByteArray nativeOut = QFile::encodeName(out);
    std::printf("property list of %lld bytes\n\n", static_cast<long long>(QFile(path).size()));

    bench::InterleavedPair::Options options;
    options.clock = bench::Clock::ThreadCpu;
    options.rounds = 21;

    const auto read = bench::InterleavedPair::repeat([&path] {
        bench::keep(CCDictionary::createWithContentsOfFile(path));
        CCPoolManager::sharedPoolManager()->drain();
    });
    const auto bareParse = bench::InterleavedPair::repeat([&nativePath] {
        const std::vector<char> data = readFile(nativePath);
        tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
        document.Parse(data.data(), data.size());
        bench::keep(document.RootElement());
    });
    bench::Report::pair("property-list read, 2 MB model file", "CCDictionary::createWithContentsOfFile",
                        "tinyxml2 Parse", bench::Goal::ratioAtMost(1.3),
                        [&] { return bench::InterleavedPair::run(read, bareParse, options); });

    // The baseline prints the same document, parsed once beforehand, into the memory of one
    // printer kept from run to run (as the writer keeps its own), and writes it with one call.
    const std::vector<char> data = readFile(nativePath);
    tinyxml2::XMLDocument document(true, tinyxml2::PRESERVE_WHITESPACE);
    document.Parse(data.data(), data.size());
    tinyxml2::XMLPrinter printer;
    const auto write = bench::InterleavedPair::repeat([dict, &out] { bench::keep(dict->writeToFile(out)); });
    const auto barePrint = bench::InterleavedPair::repeat([&document, &printer, &nativeOut] {
        printer.ClearBuffer();
        document.Print(&printer);
        FILE* file = std::fopen(nativeOut.constData(), "w");
        if (file) {
            bench::keep(std::fwrite(printer.CStr(), 1, static_cast<size_t>(printer.CStrSize() - 1), file));
            std::fclose(file);
        }
    });
    bench::Report::pair("property-list write, same file", "CCDictionary::writeToFile",
                        "tinyxml2 print to memory + one write", bench::Goal::ratioAtMost(1.1),
                        [&] { return bench::InterleavedPair::run(write, barePrint, options); });
    dict->release();
    return 0;
}
