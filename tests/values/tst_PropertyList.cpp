// Property-list files: exact bytes written, files of other writers read, bad input survived.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCFileUtils.h"
#include "CCGeometry.h"
#include "CCInteger.h"
#include "CCPoolManager.h"
#include "CCString.h"
#include "PlistReader.h"

#include "TestMain.h"

#include <QtTest>

using namespace cocos2d;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QString dataFile(const char* name)
{
    return QStringLiteral(BONESTAGE_TEST_DATA "/values/") + QLatin1String(name);
}

std::string stringAt(const CCDictionary* dict, const char* key)
{
    return dict->valueForKey(key)->string();
}

// The nested example of the golden file, built in memory.
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
    void writesModelExampleByteForByte();
    void writesNestedExampleByteForByte();
    void roundTripKeepsKeysOrderAndValues();
    void integersAreLostOnWriting();
    void arrayWritingStopsAtNull();
    void readsOtherWritersTypes();
    void readsNonAsciiPathsAndText();
    void blankTextRoundTripsExactly_data();
    void blankTextRoundTripsExactly();
    void blankTextOfOtherWritersIsRead();
    void badInputGivesNull_data();
    void badInputGivesNull();
    void unwritablePathsReportFalse();
    void secondTopLevelDictionaryIsIgnored();
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

void TestPropertyList::writesModelExampleByteForByte()
{
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::create("7"), "id");
    auto* children = CCArray::create();
    children->addObject(CCString::create("8"));
    dict->setObject(children, "children");
    const QString path = m_dir.filePath("model.plist");
    QVERIFY(dict->writeToFile(path));
    QCOMPARE(readAll(path), readAll(dataFile("model-example.plist")));
}

void TestPropertyList::writesNestedExampleByteForByte()
{
    const QString path = m_dir.filePath("nested.plist");
    QVERIFY(nestedExample()->writeToFile(path));
    QCOMPARE(readAll(path), readAll(dataFile("nested-example.plist")));
}

void TestPropertyList::roundTripKeepsKeysOrderAndValues()
{
    CCDictionary* read = CCDictionary::createWithContentsOfFile(dataFile("nested-example.plist"));
    QVERIFY(read);
    auto* root = read->objectForKeyAs<CCArray>("ROOT");
    QVERIFY(root);
    QCOMPARE(root->count(), 1u);
    auto* model = dynamic_cast<CCDictionary*>(root->objectAtIndex(0));
    QVERIFY(model);
    QStringList keys;
    for (const auto& element : model->elements()) {
        keys << QString::fromStdString(element.strKey);
    }
    // "count" held an integer: written as a bare key, so it is absent after reading.
    QCOMPARE(keys, QStringList({"name", "empty", "none", "list", "nested"}));
    QCOMPARE(stringAt(model, "name"), std::string("arm & <hand>"));
    QCOMPARE(stringAt(model, "empty"), std::string());
    QVERIFY(model->objectForKeyAs<CCString>("empty"));
    QCOMPARE(model->objectForKeyAs<CCDictionary>("none")->count(), 0u);
    QCOMPARE(model->objectForKeyAs<CCArray>("list")->count(), 0u);
    auto* nested = model->objectForKeyAs<CCArray>("nested");
    QCOMPARE(nested->count(), 2u);
    auto* inner = dynamic_cast<CCArray*>(nested->objectAtIndex(0));
    QVERIFY(inner);
    QCOMPARE(static_cast<CCString*>(inner->objectAtIndex(0))->string(), std::string("{1.500,-2.000}"));
    auto* deep = dynamic_cast<CCDictionary*>(nested->objectAtIndex(1));
    QVERIFY(deep);
    QCOMPARE(stringAt(deep, "deep"), std::string("yes"));

    // Written again, the file is the same except for the integer's bare key.
    const QString path = m_dir.filePath("again.plist");
    QVERIFY(read->writeToFile(path));
    QByteArray expected = readAll(dataFile("nested-example.plist"));
    expected.replace("                <key>count</key>\n", "");
    QCOMPARE(readAll(path), expected);
}

void TestPropertyList::integersAreLostOnWriting()
{
    auto* dict = CCDictionary::create();
    dict->setObject(CCInteger::create(5), "number");
    dict->setObject(CCString::create("x"), "text");
    const QString path = m_dir.filePath("int.plist");
    QVERIFY(dict->writeToFile(path));
    QVERIFY(readAll(path).contains("        <key>number</key>\n        <key>text</key>\n"));
    CCDictionary* read = CCDictionary::createWithContentsOfFile(path);
    QVERIFY(read);
    QCOMPARE(read->objectForKey("number"), nullptr);
    QCOMPARE(stringAt(read, "text"), std::string("x"));
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
    auto* items = read->objectForKeyAs<CCArray>("items");
    QCOMPARE(items->count(), 2u);
    QCOMPARE(static_cast<CCString*>(items->objectAtIndex(1))->string(), std::string("b"));
}

void TestPropertyList::readsOtherWritersTypes()
{
    CCDictionary* read = CCDictionary::createWithContentsOfFile(dataFile("foreign-types.plist"));
    QVERIFY(read);
    QCOMPARE(stringAt(read, "count"), std::string("12"));
    QCOMPARE(read->valueForKey("count")->intValue(), 12);
    QCOMPARE(stringAt(read, "ratio"), std::string("0.75"));
    QCOMPARE(stringAt(read, "enabled"), std::string("1"));
    QCOMPARE(stringAt(read, "hidden"), std::string("0"));
    QCOMPARE(read->objectForKey("created"), nullptr);
    QCOMPARE(read->objectForKey("blob"), nullptr);
    QCOMPARE(stringAt(read, "padded"), std::string("  two words  "));
    auto* flags = read->objectForKeyAs<CCArray>("flags");
    QVERIFY(flags);
    QCOMPARE(flags->count(), 3u);
    QCOMPARE(static_cast<CCString*>(flags->objectAtIndex(0))->string(), std::string("1"));
    QCOMPARE(static_cast<CCString*>(flags->objectAtIndex(1))->string(), std::string("-3"));
    QCOMPARE(static_cast<CCString*>(flags->objectAtIndex(2))->string(), std::string("0"));
    QCOMPARE(read->objectForKey("orphan"), nullptr);
    QCOMPARE(stringAt(read, "after"), std::string("kept"));
}

void TestPropertyList::readsNonAsciiPathsAndText()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("Ünïcode 角色"));
    const QString path = m_dir.filePath(QStringLiteral("Ünïcode 角色/ñame.plist"));
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::create("Grüße, 世界"), "Überschrift");
    QVERIFY(dict->writeToFile(path));
    QVERIFY(QFileInfo::exists(path));
    CCDictionary* read = CCDictionary::createWithContentsOfFile(path);
    QVERIFY(read);
    QCOMPARE(stringAt(read, "Überschrift"), std::string("Grüße, 世界"));
}

void TestPropertyList::blankTextRoundTripsExactly_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("one blank") << QByteArray(" ") << QByteArray("<string> </string>");
    QTest::newRow("blanks and tabs") << QByteArray(" \t  ") << QByteArray("<string> \t  </string>");
    QTest::newRow("newline") << QByteArray("\n") << QByteArray("<string>\n</string>");
    QTest::newRow("carriage returns") << QByteArray("\r\n\r") << QByteArray("<string>&#13;\n&#13;</string>");
    QTest::newRow("return inside text") << QByteArray("a\rb") << QByteArray("<string>a&#13;b</string>");
}

void TestPropertyList::blankTextRoundTripsExactly()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, written);
    auto* items = CCArray::create();
    items->addObject(CCString::create(text.toStdString()));
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::create("before"), "first");
    dict->setObject(CCString::create(text.toStdString()), text.toStdString());
    dict->setObject(CCString::create(text.toStdString()), "value");
    dict->setObject(items, "items");
    const QString path = m_dir.filePath("blank.plist");
    QVERIFY(dict->writeToFile(path));
    QVERIFY(readAll(path).contains("        " + written + "\n"));
    CCDictionary* read = CCDictionary::createWithContentsOfFile(path);
    QVERIFY(read);
    QStringList keys;
    for (const auto& element : read->elements()) {
        keys << QString::fromStdString(element.strKey);
    }
    QCOMPARE(keys, QStringList({"first", QString::fromLatin1(text), "value", "items"}));
    QCOMPARE(stringAt(read, "first"), std::string("before"));
    QCOMPARE(stringAt(read, text.constData()), text.toStdString());
    QCOMPARE(stringAt(read, "value"), text.toStdString());
    QCOMPARE(static_cast<CCString*>(read->objectForKeyAs<CCArray>("items")->objectAtIndex(0))->string(),
             text.toStdString());
}

void TestPropertyList::blankTextOfOtherWritersIsRead()
{
    // Blank runs count inside value elements only; markup that merely looks like one is left as it is.
    const QByteArray text = "<plist><dict><key>a</key><string> </string>"
                            "<key>b</key><string a='x>y'>\t\n</string >"
                            "<key>c</key><string><![CDATA[<string> </string>]]></string>"
                            "<key>d</key><string/><key>e</key><string></string>"
                            "<key>f</key><integer>  </integer><!-- <string> </string> -->"
                            "<key>g</key><array><string>  </string><real> </real></array></dict></plist>";
    CCDictionary* dict = PlistReader::parse(text.constData(), static_cast<size_t>(text.size()));
    QVERIFY(dict);
    QCOMPARE(stringAt(dict, "a"), std::string(" "));
    QCOMPARE(stringAt(dict, "b"), std::string("\t\n"));
    QCOMPARE(stringAt(dict, "c"), std::string("<string> </string>"));
    QCOMPARE(stringAt(dict, "d"), std::string());
    QCOMPARE(stringAt(dict, "e"), std::string());
    QCOMPARE(stringAt(dict, "f"), std::string("  "));
    auto* g = dict->objectForKeyAs<CCArray>("g");
    QCOMPARE(g->count(), 2u);
    QCOMPARE(static_cast<CCString*>(g->objectAtIndex(0))->string(), std::string("  "));
    QCOMPARE(static_cast<CCString*>(g->objectAtIndex(1))->string(), std::string(" "));
    dict->release();
}

void TestPropertyList::badInputGivesNull_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray good = readAll(dataFile("model-example.plist"));
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
    QVERIFY(writeAll(path, content));
    QCOMPARE(CCDictionary::createWithContentsOfFile(path), nullptr);
    QCOMPARE(CCDictionary::createWithContentsOfFile(m_dir.filePath("missing.plist")), nullptr);
    QCOMPARE(CCDictionary::createWithContentsOfFile(m_dir.path()), nullptr);
}

void TestPropertyList::unwritablePathsReportFalse()
{
    auto* dict = CCDictionary::create();
    dict->setObject(CCString::create("x"), "k");
    QVERIFY(!dict->writeToFile(m_dir.path()));
    QVERIFY(!dict->writeToFile(m_dir.filePath("no/such/folder/file.plist")));
    QVERIFY(!dict->writeToFile(QString()));
    if (QFileInfo::exists("/dev/full")) {
        // A device that reports "disk full" on every write.
        QVERIFY(!dict->writeToFile("/dev/full"));
    }
}

void TestPropertyList::secondTopLevelDictionaryIsIgnored()
{
    const QByteArray text = "<plist><dict><key>a</key><string>1</string></dict>"
                            "<dict><key>b</key><string>2</string></dict></plist>";
    CCDictionary* dict = PlistReader::parse(text.constData(), static_cast<size_t>(text.size()));
    QVERIFY(dict);
    QCOMPARE(dict->count(), 1u);
    QCOMPARE(stringAt(dict, "a"), std::string("1"));
    dict->release();
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
