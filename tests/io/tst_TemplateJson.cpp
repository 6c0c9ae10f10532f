// Skeleton and animation JSON: reading rules, bad files, and writing a template back.
#include "AnimationJson.h"
#include "Pose.h"
#include "SkeletonJson.h"
#include "TemplateLibrary.h"
#include "TestFiles.h"
#include "TestMain.h"

#include <QJsonDocument>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

void write(const QString& path, const QByteArray& text)
{
    QVERIFY(test::writeFile(path, text));
}

QStringList g_logged;

void collect(QtMsgType, const QMessageLogContext&, const QString& text)
{
    g_logged << text;
}

} // namespace

class TestTemplateJson : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void keyframesAndDurations();
    void keyframesOfOtherLengths();
    void unknownPropertiesAreLoggedAndSkipped();
    void timesBeyondAnHourAreClamped();
    void listingAppliesNamesAndIgnoreList();
    void unreadableAndMalformedFiles();
    void skeletonFieldsAndDefaults();
    void writeThenReadReproducesTheTemplate();
    void writingNeverLeavesHalfAFile();

private:
    QTemporaryDir m_dir;
};

void TestTemplateJson::init()
{
    QVERIFY(m_dir.isValid());
    TemplateLibrary::setRoot(m_dir.path());
}

void TestTemplateJson::keyframesAndDurations()
{
    write(m_dir.filePath("T/walk.json"), R"({"name": "Walk", "duration": 1.0,
        "hip": {"location_0": [[0, 0, 0, 0], [0, 0.5, 0.25, 0]]},
        "arm": {"rotation_euler_2": [[0, 0, 0, 0], [0, 1.0, 1.5708, 0]]}})");
    AnimationTracks tracks = AnimationJson::readAnimation("T/walk.json");
    QCOMPARE(tracks.count(), 2);
    AnimatedObject* arm = tracks.at(0);
    AnimatedObject* hip = tracks.at(1);
    QCOMPARE(hip->name(), QStringLiteral("hip"));
    QCOMPARE(hip->defaultName(), QStringLiteral("hip"));
    QVERIFY(std::abs(Pose::transformAt(*hip, 0.5f, QPointF()).map(QPointF()).x() - 50.0) < 1e-4);
    const QPointF turned = Pose::transformAt(*arm, 1.0f, QPointF()).map(QPointF(10, 0));
    QVERIFY(std::abs(turned.x()) < 1e-3 && std::abs(turned.y() + 10) < 1e-3);

    // A duration applies to the nodes after it: keys are read in sorted order, "arm" comes before
    // "duration", "zeta" after it.
    write(m_dir.filePath("T/a.json"), R"({"duration": 2.0,
        "arm": {"scale_0": [[1, 0, 1, 1], [1, 0.75, 1.5, 1]]},
        "zeta": {"scale_0": [[1, 0, 1, 1], [1, 0.75, 1.5, 1]]}})");
    tracks = AnimationJson::readAnimation("T/a.json");
    QCOMPARE(tracks.findByName("arm")->duration(), 0.75f);
    QCOMPARE(tracks.findByName("zeta")->duration(), 2.0f);
    QVERIFY(!tracks.findByName("zeta")->isDurationExplicit());
}

void TestTemplateJson::keyframesOfOtherLengths()
{
    // Numbers past the fourth are logged and dropped.
    write(m_dir.filePath("T/five.json"), R"({"node": {"location_1": [[0.1, 0.2, 0.3, 0.4, 0.5]]}})");
    QTest::ignoreMessage(QtDebugMsg, "Too many points in keyframe for node.location_1");
    AnimationTracks tracks = AnimationJson::readAnimation("T/five.json");
    QVERIFY(TSAnimationCurve::keysEqual(tracks.at(0)->channel(AnimatedObject::LocationY).key(0),
                                        bez3{0.1f, 0.2f, 0.3f, 0.4f}));
    // An enormous keyframe does not flood the log.
    QByteArray huge = R"({"node": {"scale_1": [[1, 0, 1, 1)";
    for (int i = 0; i < 5000; ++i) {
        huge += ", 7";
    }
    huge += "]]}}";
    write(m_dir.filePath("T/huge.json"), huge);
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    tracks = AnimationJson::readAnimation("T/huge.json");
    qInstallMessageHandler(previous);
    QCOMPARE(tracks.at(0)->channel(AnimatedObject::ScaleY).keyCount(), 1);
    QCOMPARE(g_logged.size(), 100);
    QCOMPARE(g_logged.count("Too many points in keyframe for node.scale_1"), 100);

    // Short arrays read the missing numbers as zero.
    write(m_dir.filePath("T/short.json"), R"({"node": {"rotation_euler_2": [[], [0.5], [0.1, 1.0, 2.0]]}})");
    tracks = AnimationJson::readAnimation("T/short.json");
    const TSAnimationCurve& curve = tracks.at(0)->channel(AnimatedObject::Rotation);
    QCOMPARE(curve.keyCount(), 3);
    QVERIFY(TSAnimationCurve::keysEqual(curve.key(1), bez3{0.5f, 0, 0, 0}));
    QVERIFY(TSAnimationCurve::keysEqual(curve.key(2), bez3{0.1f, 1.0f, 2.0f, 0}));
    write(m_dir.filePath("S/skeleton.json"), R"({"root": {"parent": "", "position": [12], "size": "big"}})");
    const QList<NodeRecord> nodes = SkeletonJson::readSkeleton("S");
    QCOMPARE(nodes.size(), 1);
    QCOMPARE(nodes.first().position, QPointF(12, 0));
    QCOMPARE(nodes.first().size, 0.0f);
}

void TestTemplateJson::unknownPropertiesAreLoggedAndSkipped()
{
    write(m_dir.filePath("T/odd.json"), R"({"node": {"opacity": [[0, 0, 1, 0]], "location_0": [[0, 0, 0.5, 0]]},
        "listed": [1, 2, 3], "text": "not an object"})");
    QTest::ignoreMessage(QtDebugMsg, "Unrecognized property opacity");
    AnimationTracks tracks = AnimationJson::readAnimation("T/odd.json");
    // Values that are not objects make nodes without tracks rather than errors.
    QCOMPARE(tracks.count(), 3);
    QCOMPARE(tracks.findByName("node")->channel(AnimatedObject::LocationX).evaluate(0), 0.5f);
}

void TestTemplateJson::timesBeyondAnHourAreClamped()
{
    write(m_dir.filePath("T/long.json"), R"({"duration": 1e12,
        "node": {"location_0": [[1e300, 1e12, -1e300, 0.5], [0, -5e6, 2, 0], [0, 3, 1, 0]]}})");
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Duration 1e\\+12 out of range in T/long.json, using 3600$"));
    QTest::ignoreMessage(QtDebugMsg, "Keyframe out of range clamped for node.location_0");
    QTest::ignoreMessage(QtDebugMsg, "Keyframe out of range clamped for node.location_0");
    AnimationTracks tracks = AnimationJson::readAnimation("T/long.json");
    AnimatedObject* node = tracks.findByName("node");
    QCOMPARE(node->duration(), 3600.0f);
    const TSAnimationCurve& curve = node->channel(AnimatedObject::LocationX);
    QVERIFY(TSAnimationCurve::keysEqual(curve.key(0), bez3{0, 3600, 0, 0.5f}));
    QVERIFY(TSAnimationCurve::keysEqual(curve.key(1), bez3{0, -3600, 2, 0}));
    QVERIFY(TSAnimationCurve::keysEqual(curve.key(2), bez3{0, 3, 1, 0}));
    QCOMPARE(curve.keyFrames(), QList<int>({216000, -216000, 180}));
}

void TestTemplateJson::listingAppliesNamesAndIgnoreList()
{
    const QString library = m_dir.filePath("library");
    TemplateLibrary::setRoot(library);
    write(library + "/Zed/skeleton.json", R"({"name": ""})");
    write(library + "/Able Ünïcode/skeleton.json", R"({"name": "Able One"})");
    write(library + "/Able Ünïcode/walk.json", R"({"name": ""})");
    write(library + "/Able Ünïcode/run.json", R"({"name": "Sprint"})");
    write(library + "/Able Ünïcode/notes.txt", "x");
    QDir().mkpath(library + "/Empty");
    const QList<TemplateLibrary::Template> templates = TemplateLibrary::listTemplates();
    QCOMPARE(templates, QList<TemplateLibrary::Template>({{"Able Ünïcode", "Able One"}, {"Empty", "Empty"},
                                                          {"Zed", "Zed"}}));
    QList<TemplateLibrary::Animation> animations = TemplateLibrary::listAnimations("Able Ünïcode");
    QCOMPARE(animations, QList<TemplateLibrary::Animation>({{"Able Ünïcode/run.json", "Sprint"},
                                                            {"Able Ünïcode/walk.json", "walk"}}));
    // The ignore list names animations as they are listed: by display name, not by file name.
    animations = TemplateLibrary::listAnimations("Able Ünïcode", {"walk", "run"});
    QCOMPARE(animations, QList<TemplateLibrary::Animation>({{"Able Ünïcode/run.json", "Sprint"}}));
    animations = TemplateLibrary::listAnimations("Able Ünïcode", {"Sprint"});
    QCOMPARE(animations, QList<TemplateLibrary::Animation>({{"Able Ünïcode/walk.json", "walk"}}));
    QCOMPARE(AnimationJson::readName("Able Ünïcode/walk.json"), QStringLiteral("walk"));
    QCOMPARE(SkeletonJson::readName("Able Ünïcode"), QStringLiteral("Able One"));
}

void TestTemplateJson::unreadableAndMalformedFiles()
{
    QTest::ignoreMessage(QtDebugMsg, qPrintable("Failed to open animation from " + m_dir.filePath("none.json")));
    QVERIFY(AnimationJson::readAnimation("none.json").isEmpty());
    QTest::ignoreMessage(QtDebugMsg, qPrintable("Failed to open skeleton from " + m_dir.filePath("nowhere/skeleton.json")));
    QVERIFY(SkeletonJson::readSkeleton("nowhere").isEmpty());
    for (const QByteArray& text : {QByteArray(""), QByteArray("[1, 2]"), QByteArray("{\"a\": "), QByteArray("\xff\xfe")}) {
        write(m_dir.filePath("B/skeleton.json"), text);
        write(m_dir.filePath("B/x.json"), text);
        QVERIFY(SkeletonJson::readSkeleton("B").isEmpty());
        QVERIFY(AnimationJson::readAnimation("B/x.json").isEmpty());
    }
    // A node whose image is missing keeps its node and loses the image.
    write(m_dir.filePath("M/skeleton.json"),
          R"({"a": {"dummyImage": {"image": "a.png", "zvalue": 0, "transform": [1,0,0,0,1,0,0,0,1]}}})");
    QTest::ignoreMessage(QtDebugMsg, "Failed to open image for a");
    QVERIFY(SkeletonJson::readDummyImages("M").isEmpty());
    QCOMPARE(SkeletonJson::readSkeleton("M").size(), 1);
}

void TestTemplateJson::skeletonFieldsAndDefaults()
{
    write(m_dir.filePath("F/skeleton.json"), R"({"name": "Fig",
        "b": {"parent": "a", "position": [10.5, -20], "size": 14, "zorder": 3},
        "a": {"parent": "", "position": [0, 0], "size": 20, "zorder": 1}})");
    const QList<NodeRecord> nodes = SkeletonJson::readSkeleton("F");
    QCOMPARE(nodes.size(), 2);
    QCOMPARE(nodes.at(0).name, QStringLiteral("a"));
    QCOMPARE(nodes.at(1).name, QStringLiteral("b"));
    QCOMPARE(nodes.at(1).defaultName, QStringLiteral("b"));
    QCOMPARE(nodes.at(1).parent, QStringLiteral("a"));
    QCOMPARE(nodes.at(1).position, QPointF(10.5, -20));
    QCOMPARE(nodes.at(1).size, 14.0f);
    QCOMPARE(nodes.at(1).zOrder, 3);
    QCOMPARE(nodes.at(1).boneColor, NodeRecord::defaultBoneColor());
    QVERIFY(nodes.at(1).restTransform.isIdentity());
}

void TestTemplateJson::writeThenReadReproducesTheTemplate()
{
    QList<NodeRecord> nodes;
    for (int i = 0; i < 3; ++i) {
        NodeRecord node;
        node.name = QStringLiteral("node %1").arg(i);
        node.parent = i ? QStringLiteral("node %1").arg(i - 1) : QString();
        node.position = QPointF(i * 10.5, -i * 3);
        node.size = 12.0f + i;
        node.zOrder = 5 - i;
        nodes.append(node);
    }
    QList<SkeletonJson::DummyImage> images;
    for (int i : {2, 0}) {
        QImage image(6 + i, 4, QImage::Format_ARGB32);
        image.fill(QColor(10 * i, 100, 200));
        images.append({QStringLiteral("node %1").arg(i), image, QTransform(1, 0.5, 0, -0.5, 1, 0, 7, -3, 1), 0});
    }
    const QString out = m_dir.filePath("Written Ünïcode");
    QDir().mkpath(out);
    SkeletonJson::writeSkeleton(out, "Written", nodes, images);
    QVERIFY(QFileInfo::exists(out + "/node 2.png"));
    QCOMPARE(SkeletonJson::readName("Written Ünïcode"), QStringLiteral("Written"));
    const QList<NodeRecord> back = SkeletonJson::readSkeleton("Written Ünïcode");
    QCOMPARE(back.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(back.at(i).name, nodes.at(i).name);
        QCOMPARE(back.at(i).parent, nodes.at(i).parent);
        QCOMPARE(back.at(i).position, nodes.at(i).position);
        QCOMPARE(back.at(i).size, nodes.at(i).size);
        QCOMPARE(back.at(i).zOrder, nodes.at(i).zOrder);
    }
    const QList<SkeletonJson::DummyImage> readImages = SkeletonJson::readDummyImages("Written Ünïcode");
    QCOMPARE(readImages.size(), 2);
    QCOMPARE(readImages.at(0).nodeName, QStringLiteral("node 2"));
    QCOMPARE(readImages.at(0).zValue, 0);
    QCOMPARE(readImages.at(1).nodeName, QStringLiteral("node 0"));
    QCOMPARE(readImages.at(1).zValue, 1);
    QCOMPARE(readImages.at(0).transform, images.at(0).transform);
    QCOMPARE(readImages.at(0).image.size(), QSize(8, 4));
}

void TestTemplateJson::writingNeverLeavesHalfAFile()
{
    const QString out = m_dir.filePath("Keep");
    QDir().mkpath(out);
    NodeRecord node;
    node.name = "only";
    SkeletonJson::writeSkeleton(out, "Keep", {node}, {});
    const QByteArray good = test::fileBytes(out + "/skeleton.json");
    QVERIFY(QJsonDocument::fromJson(good).isObject());
    // Writing into a folder that does not exist reports nothing and touches nothing.
    SkeletonJson::writeSkeleton(m_dir.filePath("Missing/Deeper"), "X", {node}, {});
    QVERIFY(!QFileInfo::exists(m_dir.filePath("Missing")));
    // A skeleton.json that is a folder stays as it is.
    QDir().mkpath(m_dir.filePath("Blocked/skeleton.json"));
    SkeletonJson::writeSkeleton(m_dir.filePath("Blocked"), "X", {node}, {});
    QVERIFY(QFileInfo(m_dir.filePath("Blocked/skeleton.json")).isDir());
#ifdef Q_OS_UNIX
    // A disk that fills up part way through the new text keeps the old file whole: no file of
    // this process may grow past 16 bytes while the skeleton is written again.
    rlimit previous{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit full = previous;
    full.rlim_cur = 16;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
    SkeletonJson::writeSkeleton(out, "Replaced", {node}, {});
    const int restored = setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    QCOMPARE(restored, 0);
    QCOMPARE(test::fileBytes(out + "/skeleton.json"), good);
    QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList("skeleton.json"));
#endif
}

BONESTAGE_GUI_TEST_MAIN(TestTemplateJson)
#include "tst_TemplateJson.moc"
