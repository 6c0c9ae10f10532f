// Reference counting, ordering and conversion rules of the value objects.
#include "CCArray.h"
#include "CCAutoreleasePool.h"
#include "CCDictionary.h"
#include "CCInteger.h"
#include "CCPoolManager.h"
#include "CCString.h"

#include "TestMain.h"
#include "ValueTexts.h"

#include <QtTest>

#include <climits>
#include <cstring>
#include <limits>
#include <vector>

using namespace cocos2d;
using test::keysOf;

namespace {

// Counts destructions so tests can tell when an object really went away.
class Probe : public CCObject
{
public:
    explicit Probe(int* deaths) : m_deaths(deaths) {}
    ~Probe() override { ++*m_deaths; }

private:
    int* m_deaths;
};

} // namespace

class TestValueObjects : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void idsAndReferenceCounts();

    void stringConversions_data();
    void stringConversions();
    void stringFormatIsCutAt100KB();
    void copyAndEquality();

    void arrayCapacityDoubles();
    void arrayRetainsAndRemovesFirstOccurrence();

    void dictionaryOrderAndReplacement();
    void dictionaryLongKeysKeepTheirTail();
    void dictionaryLookupsByKeyType();
    void dictionaryLargeStaysConsistentAfterRemovals();

    void numberFormsMatchPrintf();
};

void TestValueObjects::idsAndReferenceCounts()
{
    // Ids grow and are never reused.
    auto* a = new CCString("a");
    const uint32_t first = a->objectId();
    a->release();
    auto* b = new CCString("b");
    QCOMPARE(b->objectId(), first + 1);
    b->release();

    // An object goes when its count reaches zero.
    int deaths = 0;
    auto* probe = new Probe(&deaths);
    probe->retain();
    QCOMPARE(probe->retainCount(), 2u);
    probe->release();
    QCOMPARE(deaths, 0);
    probe->release();
    QCOMPARE(deaths, 1);

    // An autoreleased object lives until the drain, unless it was retained again.
    auto* kept = new Probe(&deaths);
    auto* dropped = new Probe(&deaths);
    for (Probe* p : {kept, dropped}) {
        p->autorelease();
    }
    kept->retain();
    QCOMPARE(dropped->retainCount(), 1u);
    QCOMPARE(dropped->autoreleaseCount(), 1u);
    QCOMPARE(deaths, 1);
    CCPoolManager::sharedPoolManager()->drain();
    QCOMPARE(deaths, 2);
    QCOMPARE(kept->retainCount(), 1u);
    QCOMPARE(kept->autoreleaseCount(), 0u);
    kept->release();
    QCOMPARE(deaths, 3);
}

void TestValueObjects::stringConversions_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("boolValue");
    QTest::addColumn<int>("intValue");
    QTest::addColumn<float>("floatValue");

    QTest::newRow("empty") << QByteArray("") << false << 0 << 0.0f;
    QTest::newRow("0") << QByteArray("0") << false << 0 << 0.0f;
    QTest::newRow("false") << QByteArray("false") << false << 0 << 0.0f;
    QTest::newRow("False") << QByteArray("False") << true << 0 << 0.0f;
    QTest::newRow("no") << QByteArray("no") << true << 0 << 0.0f;
    QTest::newRow("1") << QByteArray("1") << true << 1 << 1.0f;
    QTest::newRow("blank false") << QByteArray(" false") << true << 0 << 0.0f;
    QTest::newRow("12abc") << QByteArray("12abc") << true << 12 << 12.0f;
    QTest::newRow("1.5") << QByteArray("1.5") << true << 1 << 1.5f;
    QTest::newRow("signed blanks") << QByteArray("  -42x") << true << -42 << -42.0f;
    QTest::newRow("exponent") << QByteArray("2.5e2") << true << 2 << 250.0f;
}

void TestValueObjects::stringConversions()
{
    QFETCH(QByteArray, text);
    CCString string(text.constData());
    QTEST(string.boolValue(), "boolValue");
    QTEST(string.intValue(), "intValue");
    QTEST(string.floatValue(), "floatValue");
}

void TestValueObjects::stringFormatIsCutAt100KB()
{
    const std::string big(200 * 1024, 'x');
    QCOMPARE(CCString::createWithFormat("%s", big.c_str())->length(), 102399u);
    QCOMPARE(CCString::createWithFormat("%.3f|%d", 1.5, -3)->string(), std::string("1.500|-3"));
}

void TestValueObjects::copyAndEquality()
{
    CCString original("walk");
    CCObject* copy = original.copy();
    QVERIFY(copy != &original);
    QVERIFY(original.isEqual(copy));
    QCOMPARE(copy->retainCount(), 1u);
    copy->release();
    CCString other("Walk");
    QVERIFY(!original.isEqual(&other));
    QVERIFY(original.compare("walk") == 0);
    QVERIFY(original.compare("x") < 0);
    CCInteger integer(1);
    QVERIFY(!original.isEqual(&integer));
    QCOMPARE(integer.copy(), nullptr);

    // Deep copies: arrays stop at a null, dictionaries drop integers, containers are new.
    CCArray array(3);
    array.addObject(CCString::create("one"));
    array.addObject(CCString::create("two"));
    array.addObject(nullptr);
    array.addObject(CCString::create("after hole"));
    auto* arrayCopy = static_cast<CCArray*>(array.copy());
    QCOMPARE(arrayCopy->capacity(), array.capacity());
    QCOMPARE(test::textsOf(arrayCopy), QStringList({"one", "two"}));
    QVERIFY(arrayCopy->objectAtIndex(0) != array.objectAtIndex(0));
    arrayCopy->release();

    CCDictionary dict;
    auto* inner = CCArray::create();
    inner->addObject(CCString::create("p"));
    dict.setObject(CCString::create("v"), "s");
    dict.setObject(inner, "array");
    dict.setObject(CCInteger::create(1), "int");
    auto* dictCopy = static_cast<CCDictionary*>(dict.copy());
    QCOMPARE(keysOf(dictCopy), QStringList({"s", "array", "int"}));
    QVERIFY(dictCopy->objectForKey("array") != inner);
    QCOMPARE(test::textsOf(dictCopy->objectForKeyAs<CCArray>("array")), QStringList("p"));
    QCOMPARE(dictCopy->objectForKey("int"), nullptr);
    QCOMPARE(dictCopy->valueForKey("s")->string(), std::string("v"));
    dictCopy->release();
}

void TestValueObjects::arrayCapacityDoubles()
{
    CCArray array(4);
    for (int i = 0; i < 4; ++i) {
        array.addObject(CCInteger::create(i));
    }
    QCOMPARE(array.capacity(), 4u);
    array.addObject(CCInteger::create(4));
    QCOMPARE(array.capacity(), 8u);
    QCOMPARE(array.count(), 5u);

    CCArray fresh;
    QCOMPARE(fresh.capacity(), 1u);
    CCArray zero(0);
    QCOMPARE(zero.capacity(), 1u);
    for (int i = 0; i < 3; ++i) {
        zero.addObject(CCInteger::create(i));
    }
    QCOMPARE(zero.capacity(), 4u);
}

void TestValueObjects::arrayRetainsAndRemovesFirstOccurrence()
{
    int deaths = 0;
    auto* owner = new CCArray();
    auto* probe = new Probe(&deaths);
    owner->addObject(probe);
    QCOMPARE(probe->retainCount(), 2u);
    probe->release();
    QVERIFY(owner->containsObject(probe));
    owner->release();
    QCOMPARE(deaths, 1);

    CCArray array;
    auto* a = CCString::create("a");
    auto* b = CCString::create("b");
    array.addObject(a);
    array.addObject(b);
    array.addObject(a);
    QCOMPARE(a->retainCount(), 3u);
    array.removeObject(a);
    QCOMPARE(array.count(), 2u);
    QCOMPARE(array.objectAtIndex(0), b);
    QCOMPARE(array.objectAtIndex(1), a);
    QCOMPARE(a->retainCount(), 2u);
    array.removeObject(CCString::create("absent"));
    QCOMPARE(array.count(), 2u);
    array.removeObject(b, false);
    QCOMPARE(b->retainCount(), 2u);
    b->release();
}

void TestValueObjects::dictionaryOrderAndReplacement()
{
    CCDictionary dict;
    auto* x = CCString::create("X");
    auto* y = CCString::create("Y");
    dict.setObject(x, "a");
    dict.setObject(CCString::create("B"), "b");
    QCOMPARE(x->retainCount(), 2u);
    // The same object again keeps its place; another object moves the key to the end.
    dict.setObject(x, "a");
    QCOMPARE(keysOf(&dict), QStringList({"a", "b"}));
    QCOMPARE(x->retainCount(), 2u);
    dict.setObject(y, "a");
    QCOMPARE(keysOf(&dict), QStringList({"b", "a"}));
    QCOMPARE(dict.objectForKey("a"), y);
    QCOMPARE(x->retainCount(), 1u);
    dict.removeObjectForKey("b");
    dict.removeObjectForKey("never there");
    QCOMPARE(keysOf(&dict), QStringList({"a"}));
    dict.removeAllObjects();
    QCOMPARE(dict.count(), 0u);
    QCOMPARE(y->retainCount(), 1u);
}

void TestValueObjects::dictionaryLongKeysKeepTheirTail()
{
    const std::string tail(256, 't');
    const std::string first = std::string(44, 'a') + tail;
    const std::string second = std::string(44, 'b') + tail;
    CCDictionary dict;
    dict.setObject(CCString::create("1"), first);
    QCOMPARE(dict.elements().front().strKey, tail);
    dict.setObject(CCString::create("2"), second);
    QCOMPARE(dict.count(), 1u);
    QCOMPARE(dict.valueForKey(first)->string(), std::string("2"));
    QCOMPARE(dict.valueForKey(tail)->string(), std::string("2"));
    dict.removeObjectForKey(second);
    QCOMPARE(dict.count(), 0u);
}

void TestValueObjects::dictionaryLookupsByKeyType()
{
    CCDictionary empty;
    QCOMPARE(empty.keyType(), CCDictionary::KeyType::None);
    QCOMPARE(empty.objectForKey("a"), nullptr);
    QCOMPARE(empty.objectForKey(3), nullptr);
    QCOMPARE(empty.allKeys(), nullptr);

    CCDictionary byInt;
    byInt.setObject(CCString::create("three"), 3);
    byInt.setObject(CCString::create("x"), -5);
    QCOMPARE(byInt.keyType(), CCDictionary::KeyType::Int);
    QCOMPARE(byInt.valueForKey(3)->string(), std::string("three"));
    QCOMPARE(byInt.objectForKey("3"), nullptr);
    byInt.setObject(CCString::create("ignored"), "3");
    QCOMPARE(byInt.count(), 2u);
    QCOMPARE(static_cast<CCInteger*>(byInt.allKeys()->objectAtIndex(1))->getValue(), -5);

    CCDictionary byName;
    byName.setObject(CCString::create("1"), "one");
    byName.setObject(CCInteger::create(4), "number");
    QCOMPARE(test::textsOf(byName.allKeys()), QStringList({"one", "number"}));
    // valueForKey never gives null: not a string, or absent, reads as empty text.
    QCOMPARE(byName.valueForKey("number")->length(), 0u);
    QCOMPARE(byName.valueForKey("absent")->length(), 0u);
}

void TestValueObjects::dictionaryLargeStaysConsistentAfterRemovals()
{
    // Large dictionaries switch to a hash index; removals must keep lookups and order right.
    CCDictionary dict;
    for (int i = 0; i < 100; ++i) {
        dict.setObject(CCString::create(std::to_string(i)), "k" + std::to_string(i));
    }
    for (int i = 0; i < 100; i += 3) {
        dict.removeObjectForKey("k" + std::to_string(i));
    }
    dict.setObject(CCString::create("new"), "k1");
    QCOMPARE(dict.count(), 66u);
    for (int i = 0; i < 100; ++i) {
        QVERIFY2(!dict.objectForKey("k" + std::to_string(i)) == (i % 3 == 0), qPrintable(QString::number(i)));
    }
    QCOMPARE(dict.elements().back().strKey, std::string("k1"));
    QCOMPARE(dict.valueForKey("k1")->string(), std::string("new"));
    QCOMPARE(dict.elements().front().strKey, std::string("k2"));
}

void TestValueObjects::numberFormsMatchPrintf()
{
    // Model files hold numbers as printf writes them; the forms made without printf must give
    // the very same bytes: halfway cases, signs of zero, tiny and huge values, single-precision
    // values of every kind, and what is no number at all.
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // clang-format off
    std::vector<double> values{0.0, -0.0, 0.0005, 0.0015, 0.0025, -0.0005, 0.0625, -0.0625, 1.0 / 3.0, 2.5,
                               123456789.123456789, -1e-9, 1e-300, 4.9e-324, 1e20, -3.4e38, 1.7e308,
                               static_cast<double>(0.1f), static_cast<double>(16777217.0f), inf, -inf, nan, -nan};
    // clang-format on
    quint32 bits = 12345;
    for (int i = 0; i < 20000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        float f = 0.0f;
        std::memcpy(&f, &bits, sizeof f);
        values.push_back(static_cast<double>(f));
        values.push_back(static_cast<double>((bits % 2000001u) / 1000.0f - 1000.0f));
    }
    for (const double value : values) {
        for (const int decimals : {0, 2, 3, 4, 6}) {
            const std::string expected = CCString::format("%.*f", decimals, value);
            QVERIFY2(CCString::fixed(value, decimals) == expected,
                     qPrintable(QStringLiteral("%1 with %2 decimals")
                                    .arg(QString::fromStdString(expected))
                                    .arg(decimals)));
        }
        QCOMPARE(CCString::createWithPoint(value, -value, 3)->string(),
                 CCString::format("{%.3f,%.3f}", value, -value));
    }
    for (const long long integer : {0LL, 7LL, -1LL, 4294967295LL, static_cast<long long>(INT_MIN)}) {
        QCOMPARE(CCString::createWithInteger(integer)->string(), CCString::format("%lld", integer));
    }
    CCPoolManager::sharedPoolManager()->drain();
}

BONESTAGE_GUILESS_TEST_MAIN(TestValueObjects)
#include "tst_ValueObjects.moc"
