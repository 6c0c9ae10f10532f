// Property-list files: exact bytes written, files of other writers read, bad input survived.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCFileUtils.h"
#include "CCGeometry.h"
#include "CCInteger.h"
#include "CCPoolManager.h"
#include "CCString.h"
#include "PlistReader.h"

#include "TestFiles.h"
#include "TestMain.h"
#include "ValueTexts.h"

#include <QtTest>

using namespace cocos2d;
using test::fileBytes;

namespace {

QString dataFile(const char* name)
{
    return QStringLiteral(BONESTAGE_TEST_DATA "/values/") + QLatin1String(name);
}

std::string stringAt(const CCDictionary* dict, const char* key)
{
    return dict->valueForKey(key)->string();
}

CCDictionary* parse(const QByteArray& text)
{
    return PlistReader::parse(text.constData(), static_cast<size_t>(text.size()));
}

// The examples of the golden files, built in memory.
CCDictionary* modelExample()
{
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::create("7"), "id");
    auto* children = CCArray::create();
    children->addObject(CCString::create("8"));
    dict->setObject(children, "children");
    return dict;
}

CCDictionary* nestedExample()
{
    auto* model = CCDictionary::create();
    model->setObject(CCString::create("arm & <hand>"), "name");
    model->setObject(CCString::create(""), "empty");
    model->setObject(CCDictionary::create(), "none");
    model->setObject(CCArray::create(), "list");
    model->setObject(CCInteger::create(3), "count");
    auto* inner = CCArray::create();
    inner->addObject(CCString::create("{1.500,-2.000}"));
    auto* deep = CCDictionary::create();
    deep->setObject(CCString::create("yes"), "deep");
    auto* nested = CCArray::create();
    nested->addObject(inner);
    nested->addObject(deep);
    model->setObject(nested, "nested");
    auto* root = CCArray::create();
    root->addObject(model);
    auto* file = CCDictionary::create();
    file->setObject(root, "ROOT");
    return file;
}

} // namespace

class TestPropertyList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void goldenFilesWrittenAndReadBack();
    void arrayWritingStopsAtNull();
    void readsOtherWritersTypes();
    void textRoundTripsExactly_data();
    void textRoundTripsExactly();
    void otherWritersMarkupIsRead();
    void badInputGivesNull_data();
    void badInputGivesNull();
    void unwritablePathsReportFalse();
    void valueForms_data();
    void valueForms();
    void roundTripLeavesNothingBehindAfterDrain();

private:
    QTemporaryDir m_dir;
};

void TestPropertyList::init()
{
    QVERIFY(m_dir.isValid());
}

void TestPropertyList::goldenFilesWrittenAndReadBack()
{
    const QString path = m_dir.filePath("out.plist");
    QVERIFY(modelExample()->writeToFile(path));
    QCOMPARE(fileBytes(path), fileBytes(dataFile("model-example.plist")));
    QVERIFY(nestedExample()->writeToFile(path));
    QCOMPARE(fileBytes(path), fileBytes(dataFile("nested-example.plist")));

    // Read and written again, every key, value and order comes back, except the integer: it is
    // written as a bare key, so reading drops it.
    for (const char* name : {"model-example.plist", "nested-example.plist"}) {
        CCDictionary* read = CCDictionary::createWithContentsOfFile(dataFile(name));
        QVERIFY(read && read->writeToFile(path));
        QCOMPARE(fileBytes(path),
                 fileBytes(dataFile(name)).replace("                <key>count</key>\n", ""));
    }
}

void TestPropertyList::arrayWritingStopsAtNull()
{
    auto* array = CCArray::create();
    array->addObject(CCString::create("a"));
    array->addObject(CCInteger::create(1));
    array->addObject(CCString::create("b"));
    array->addObject(nullptr);
    array->addObject(CCString::create("c"));
    auto* dict = CCDictionary::create();
    dict->setObject(array, "items");
    const QString path = m_dir.filePath("holes.plist");
    QVERIFY(dict->writeToFile(path));
    CCDictionary* read = CCDictionary::createWithContentsOfFile(path);
    QCOMPARE(test::textsOf(read->objectForKeyAs<CCArray>("items")), QStringList({"a", "b"}));
}

void TestPropertyList::readsOtherWritersTypes()
{
    CCDictionary* read = CCDictionary::createWithContentsOfFile(dataFile("foreign-types.plist"));
    QVERIFY(read);
    QCOMPARE(test::keysOf(read),
             QStringList({"count", "ratio", "enabled", "hidden", "padded", "flags", "after"}));
    QCOMPARE(stringAt(read, "count"), std::string("12"));
    QCOMPARE(stringAt(read, "ratio"), std::string("0.75"));
    QCOMPARE(stringAt(read, "enabled"), std::string("1"));
    QCOMPARE(stringAt(read, "hidden"), std::string("0"));
    QCOMPARE(stringAt(read, "padded"), std::string("  two words  "));
    QCOMPARE(test::textsOf(read->objectForKeyAs<CCArray>("flags")), QStringList({"1", "-3", "0"}));
    QCOMPARE(stringAt(read, "after"), std::string("kept"));
}

void TestPropertyList::textRoundTripsExactly_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("one blank") << QByteArray(" ") << QByteArray("<string> </string>");
    QTest::newRow("blanks and tabs") << QByteArray(" \t  ") << QByteArray("<string> \t  </string>");
    QTest::newRow("newline") << QByteArray("\n") << QByteArray("<string>\n</string>");
    QTest::newRow("carriage returns") << QByteArray("\r\n\r") << QByteArray("<string>&#13;\n&#13;</string>");
    QTest::newRow("return inside text") << QByteArray("a\rb") << QByteArray("<string>a&#13;b</string>");
    QTest::newRow("non-ASCII") << QByteArray("Grüße, 世界") << QByteArray("<string>Grüße, 世界</string>");
}

void TestPropertyList::textRoundTripsExactly()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, written);
    const std::string value = text.toStdString();
    auto* items = CCArray::create();
    items->addObject(CCString::create(value));
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::create("before"), "first");
    dict->setObject(CCString::create(value), value);
    dict->setObject(CCString::create(value), "value");
    dict->setObject(items, "items");
    // In a folder whose name is not ASCII either.
    const QString path = m_dir.filePath(QStringLiteral("Ünïcode 角色/ñame.plist"));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(dict->writeToFile(path));
    QVERIFY(fileBytes(path).contains("        " + written + "\n"));
    CCDictionary* read = CCDictionary::createWithContentsOfFile(path);
    QVERIFY(read);
    QCOMPARE(test::keysOf(read), QStringList({"first", QString::fromUtf8(text), "value", "items"}));
    QCOMPARE(stringAt(read, "first"), std::string("before"));
    QCOMPARE(stringAt(read, text.constData()), value);
    QCOMPARE(stringAt(read, "value"), value);
    QCOMPARE(test::textsOf(read->objectForKeyAs<CCArray>("items")), QStringList(QString::fromUtf8(text)));
}

void TestPropertyList::otherWritersMarkupIsRead()
{
    // Blank runs count inside value elements only; markup that merely looks like one is left as it is.
    CCDictionary* dict = parse("<plist><dict><key>a</key><string> </string>"
                               "<key>b</key><string a='x>y'>\t\n</string >"
                               "<key>c</key><string><![CDATA[<string> </string>]]></string>"
                               "<key>d</key><string/><key>e</key><string></string>"
                               "<key>f</key><integer>  </integer><!-- <string> </string> -->"
                               "<key>g</key><array><string>  </string><real> </real></array></dict></plist>");
    QVERIFY(dict);
    QCOMPARE(stringAt(dict, "a"), std::string(" "));
    QCOMPARE(stringAt(dict, "b"), std::string("\t\n"));
    QCOMPARE(stringAt(dict, "c"), std::string("<string> </string>"));
    QCOMPARE(stringAt(dict, "d"), std::string());
    QCOMPARE(stringAt(dict, "e"), std::string());
    QCOMPARE(stringAt(dict, "f"), std::string("  "));
    QCOMPARE(test::textsOf(dict->objectForKeyAs<CCArray>("g")), QStringList({"  ", " "}));
    dict->release();

    // A second top-level dictionary is ignored.
    dict = parse("<plist><dict><key>a</key><string>1</string></dict>"
                 "<dict><key>b</key><string>2</string></dict></plist>");
    QVERIFY(dict);
    QCOMPARE(test::keysOf(dict), QStringList("a"));
    dict->release();
}

void TestPropertyList::badInputGivesNull_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray good = fileBytes(dataFile("model-example.plist"));
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("truncated") << good.left(good.size() / 2);
    QTest::newRow("not xml") << QByteArray("this is not a property list");
    QTest::newRow("mismatched tags") << QByteArray("<plist><dict><key>a</key><string>x</dict></plist>");
    QTest::newRow("no dictionary") << QByteArray("<plist><array><string>x</string></array></plist>");
    QTest::newRow("string outside containers") << QByteArray("<plist><string>x</string><true/></plist>");
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe", 5);
}

void TestPropertyList::badInputGivesNull()
{
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath("bad.plist");
    QVERIFY(test::writeFile(path, content));
    QCOMPARE(CCDictionary::createWithContentsOfFile(path), nullptr);
    QCOMPARE(CCDictionary::createWithContentsOfFile(m_dir.filePath("missing.plist")), nullptr);
    QCOMPARE(CCDictionary::createWithContentsOfFile(m_dir.path()), nullptr);
}

void TestPropertyList::unwritablePathsReportFalse()
{
    CCDictionary* dict = modelExample();
    QVERIFY(!dict->writeToFile(m_dir.path()));
    QVERIFY(!dict->writeToFile(m_dir.filePath("no/such/folder/file.plist")));
    QVERIFY(!dict->writeToFile(QString()));
    if (QFileInfo::exists("/dev/full")) {
        // A device that reports "disk full" on every write.
        QVERIFY(!dict->writeToFile("/dev/full"));
    }
}

void TestPropertyList::valueForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<float>>("rect");
    QTest::addColumn<QVector<float>>("point");
    using V = QVector<float>;
    QTest::newRow("point") << "{1.5, -2}" << V{1.5f, -2, 0, 0} << V{1.5f, -2};
    QTest::newRow("rect") << "{{0,0},{64,32}}" << V{0, 0, 64, 32} << V{0, 0};
    QTest::newRow("rect blanks") << "{{0, 0}, {64, 32}}" << V{0, 0, 64, 32} << V{0, 0};
    QTest::newRow("one number") << "{7}" << V{7, 0, 0, 0} << V{7, 0};
    QTest::newRow("empty") << "" << V{0, 0, 0, 0} << V{0, 0};
    QTest::newRow("garbage") << "{x,3y}" << V{0, 3, 0, 0} << V{0, 3};
    QTest::newRow("no braces") << "4,5" << V{4, 5, 0, 0} << V{4, 5};
}

void TestPropertyList::valueForms()
{
    QFETCH(QString, text);
    QFETCH(QVector<float>, rect);
    QFETCH(QVector<float>, point);
    const std::string source = text.toStdString();
    const CCRect r = rectFromString(source);
    QCOMPARE(QVector<float>({r.origin.x, r.origin.y, r.size.width, r.size.height}), rect);
    const CCPoint p = pointFromString(source);
    QCOMPARE(QVector<float>({p.x, p.y}), point);
    const CCSize s = sizeFromString(source);
    QCOMPARE(QVector<float>({s.width, s.height}), point);
}

void TestPropertyList::roundTripLeavesNothingBehindAfterDrain()
{
    CCPoolManager::sharedPoolManager()->drain();
    const uint64_t before = CCObject::liveObjectCount();
    const QString path = m_dir.filePath("round.plist");
    for (int i = 0; i < 3; ++i) {
        QVERIFY(nestedExample()->writeToFile(path));
        QVERIFY(CCDictionary::createWithContentsOfFile(path));
    }
    QVERIFY(CCObject::liveObjectCount() > before);
    CCPoolManager::sharedPoolManager()->drain();
    QCOMPARE(CCObject::liveObjectCount(), before);
}

BONESTAGE_GUILESS_TEST_MAIN(TestPropertyList)
#include "tst_PropertyList.moc"
