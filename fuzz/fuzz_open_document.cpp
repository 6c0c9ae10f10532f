// Opens fuzzed documents the way the editor does: DocumentController::load extracts the archive,
// loads the model files in two passes and builds the skeleton display, and the outliner lays
// out the node names.
//
// A zip archive checks every entry's CRC, so mutated archives rarely get past extraction. The
// input is therefore a list of entries that this target packs into a well-formed archive:
//
//     <selector byte><content> [ "\n@@" <selector byte><content> ]...
//
// The selector picks the entry's name: the attributes or connections file of one of the model
// classes, or a picture "images/TSGraphicsPixmapModel_ID<digits>.png" whose digits are the
// content's first line. Input that starts like a zip archive ("PK") is opened as it is, so the
// archive reader gets its share too.
//
// Every input creates and removes a working folder in the temporary folder; with TMPDIR on a
// memory file system (TMPDIR=/dev/shm) the fuzzer runs about twice as fast. Qt fills caches
// lazily, so the leak check after each input fires often and costs much; run with
// -detect_leaks=0 and check the corpus for leaks afterwards with -runs=0.
#include "AnimationCanvas.h"
#include "AnimationModelClasses.h"
#include "CCPoolManager.h"
#include "DocumentController.h"
#include "ObjectManipulator.h"
#include "OutlinerPanel.h"
#include "SceneAxes.h"
#include "Skeleton.h"
#include "TSGraphicsScene.h"
#include "TSGraphicsView.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

const char* const kClasses[] = {
    "TSGraphicsPixmapModel", "TSModelGeneralSettings",       "TSModelSkeleton", "TSModelSkeletonAnimation",
    "TSModelSkeletonNode",   "TSModelSkeletonNodeAnimation", "TSModelSprite",   "TSModelSpriteContainer"};
constexpr int kClassCount = static_cast<int>(sizeof(kClasses) / sizeof(kClasses[0]));
// Two files per class, then pictures.
constexpr int kSelectorCount = 2 * kClassCount + 1;
constexpr std::string_view kSeparator = "\n@@";

struct Entry
{
    QString name;
    QByteArray content;
};

Entry entryOf(std::string_view segment)
{
    Entry entry;
    if (segment.empty()) {
        return entry;
    }
    const int selector = static_cast<unsigned char>(segment.front()) % kSelectorCount;
    segment.remove_prefix(1);
    if (selector < 2 * kClassCount) {
        entry.name =
            QString::fromLatin1(kClasses[selector / 2]) +
            (selector % 2 ? QStringLiteral(".0.connections.xml") : QStringLiteral(".0.attributes.xml"));
    } else {
        const size_t lineEnd = std::min(segment.find('\n'), segment.size());
        QString digits;
        for (const char c : segment.substr(0, std::min<size_t>(lineEnd, 10))) {
            if (c >= '0' && c <= '9') {
                digits += QLatin1Char(c);
            }
        }
        entry.name = QStringLiteral("images/TSGraphicsPixmapModel_ID%1.png").arg(digits);
        segment.remove_prefix(std::min(lineEnd + 1, segment.size()));
    }
    entry.content = QByteArray(segment.data(), static_cast<int>(segment.size()));
    return entry;
}

std::vector<Entry> entriesOf(std::string_view input)
{
    std::vector<Entry> entries;
    for (;;) {
        const size_t end = input.find(kSeparator);
        Entry entry = entryOf(input.substr(0, end));
        if (!entry.name.isEmpty()) {
            entries.push_back(std::move(entry));
        }
        if (end == std::string_view::npos) {
            return entries;
        }
        input.remove_prefix(end + kSeparator.size());
    }
}

// Stored, not deflated: the fuzzer spends its time in the readers, not in zlib.
bool writeArchive(const QString& path, const std::vector<Entry>& entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate)) {
        return false;
    }
    for (const Entry& entry : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.name), nullptr, 0, 0, 0)) {
            return false;
        }
        file.write(entry.content);
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

bool writeFile(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
               static_cast<qint64>(size);
}

// The editor's pieces that a document open touches, wired as the main window wires them.
struct Editor
{
    Editor()
    {
        view.setScene(&scene);
        manipulator = new ObjectManipulator();
        scene.setManipulator(manipulator);
        canvas = new AnimationCanvas();
        scene.addItem(canvas);
        axes = new SceneAxes();
        axes->setParent(&scene);
        scene.addItem(axes);
        skeleton = new Skeleton(&scene, &view, manipulator, &scene);
        skeleton->setFrameRate(60);
        document = new DocumentController(skeleton, canvas, axes, &scene);
    }

    TSGraphicsScene scene;
    TSGraphicsView view;
    OutlinerPanel outliner;
    ObjectManipulator* manipulator = nullptr;
    AnimationCanvas* canvas = nullptr;
    SceneAxes* axes = nullptr;
    Skeleton* skeleton = nullptr;
    DocumentController* document = nullptr;
};

struct Environment
{
    Environment()
    {
        // Working folders and settings of the fuzzer stay in a folder of its own.
        qputenv("TMPDIR", root.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (root.path() + "/config").toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_open_document";
        static char* argv[] = {name, nullptr};
        // Kept to the end of the process on purpose: the fuzzer exits from inside its own loop,
        // after Qt's globals are gone, so nothing Qt may be torn down then.
        application = new QApplication(argc, argv);
        QCoreApplication::setOrganizationName("wrenfold");
        QCoreApplication::setApplicationName("BonestageFuzz");
        AnimationModelClasses::registerAll();
        // The loader logs every file it reads; at thousands of inputs a second that is only noise.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        editor = new Editor();
        path = root.filePath("input.bsdoc");
        // Qt is gone by the time the process exits, so the folder goes without it.
        static std::string folder = QFile::encodeName(root.path()).toStdString();
        root.setAutoRemove(false);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
    }

    QTemporaryDir root{QDir::tempPath() + "/bonestage-fuzz-XXXXXX"};
    QApplication* application = nullptr;
    Editor* editor = nullptr;
    QString path;
};

Environment& environment()
{
    static Environment* instance = new Environment();
    return *instance;
}

void open(const std::string_view input)
{
    Environment& env = environment();
    const bool written =
        input.substr(0, 2) == "PK"
            ? writeFile(env.path, reinterpret_cast<const uint8_t*>(input.data()), input.size())
            : writeArchive(env.path, entriesOf(input));
    if (!written) {
        return;
    }
    QString error;
    if (env.editor->document->load(env.path, false, &error)) {
        // Laying the names out is where an oversized one used to hurt.
        env.editor->outliner.rebuild(env.editor->skeleton);
        env.editor->outliner.tree()->resizeColumnToContents(0);
    }
    cocos2d::CCPoolManager::sharedPoolManager()->drain();
}

} // namespace

// fontconfig keeps part of the configuration it parses on start-up beyond every reference; that is
// the library's, once per process, and not a leak of the input that happened to run first.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // One node opened before the first input: the font set-up that the first name laid out
    // triggers keeps memory for good, which would otherwise count as that input's leak.
    // ('L' selects the attributes file of TSModelSkeletonNode.)
    open("L<plist><dict><key>ROOT</key><array><dict><key>id</key><string>2</string><key>className</key>"
         "<string>TSModelSkeletonNode</string><key>name</key><dict><key>value</key><string>hip</string>"
         "</dict></dict></array></dict></plist>");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    open(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
