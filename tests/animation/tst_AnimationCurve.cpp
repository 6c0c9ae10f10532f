// Curve evaluation, key insertion with smoothing and shape keeping, presets and stored form.
#include "CCArray.h"
#include "CCDictionary.h"
#include "CCString.h"
#include "TSAnimationCurve.h"

#include "TestMain.h"
#include "ValueTexts.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

using namespace cocos2d;

namespace {

TSAnimationCurve curveOf(std::initializer_list<bez3> keys)
{
    TSAnimationCurve curve;
    std::vector<bez3> list(keys);
    curve.setKeys(list.data(), static_cast<int>(list.size()));
    return curve;
}

} // namespace

class TestAnimationCurve : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void evaluate_data();
    void evaluate();
    void emptyCurveGivesDefault();
    void insertKeyKeepsOrderAndFlattensExistingTime();
    void smoothingGivesInnerKeysParallelHandles();
    void keepShapeInsertion();
    void findRemoveAndEdit();
    void keyFramesRoundToNearest();
    void presetsAndCopies();
    void storedFormAndBadPoints();
    void evaluationStopsWhereAScanFromTheFirstKeyStops();
};

void TestAnimationCurve::evaluate_data()
{
    QTest::addColumn<float>("outHandle");
    QTest::addColumn<float>("inHandle");
    QTest::addColumn<float>("t");
    QTest::addColumn<float>("expected");
    // Keys (0, 0) and (1, 1).
    QTest::newRow("linear handles middle") << 0.0f << 1.0f << 0.5f << 0.5f;
    QTest::newRow("ease in middle") << 0.0f << 0.0f << 0.5f << 0.125f;
    QTest::newRow("quarter") << 0.0f << 1.0f << 0.25f << 0.15625f;
    QTest::newRow("at last key") << 0.0f << 0.0f << 1.0f << 1.0f;
    QTest::newRow("after last key") << 0.0f << 0.0f << 7.0f << 1.0f;
    QTest::newRow("before first key") << 0.0f << 0.0f << -1.0f << 0.0f;
    QTest::newRow("at first key") << 0.3f << 0.0f << 0.0f << 0.0f;
    QTest::newRow("overshooting handles") << 2.0f << -1.0f << 0.5f << 0.5f;
}

void TestAnimationCurve::evaluate()
{
    QFETCH(float, outHandle);
    QFETCH(float, inHandle);
    QFETCH(float, t);
    const TSAnimationCurve curve = curveOf({{0, 0, 0, outHandle}, {inHandle, 1, 1, 1}});
    QTEST(curve.evaluate(t), "expected");
}

void TestAnimationCurve::emptyCurveGivesDefault()
{
    TSAnimationCurve curve;
    QCOMPARE(curve.evaluate(3.0f), 0.0f);
    curve.setDefaultValue(1.0f);
    QCOMPARE(curve.evaluate(3.0f), 1.0f);
    curve.insertKey(0.25f, 2.0f, true);
    QCOMPARE(curve.evaluate(-5.0f), 0.25f);
    QCOMPARE(curve.evaluate(50.0f), 0.25f);
}

void TestAnimationCurve::insertKeyKeepsOrderAndFlattensExistingTime()
{
    TSAnimationCurve curve;
    curve.insertKey(1.0f, 1.0f, false);
    curve.insertKey(0.0f, 0.0f, false);
    curve.insertKey(5.0f, 0.5f, false);
    QCOMPARE(curve.keyCount(), 3);
    QCOMPARE(curve.key(0).time, 0.0f);
    QCOMPARE(curve.key(1).time, 0.5f);
    QCOMPARE(curve.key(2).time, 1.0f);
    QVERIFY(TSAnimationCurve::keysEqual(curve.key(1), bez3{5, 0.5f, 5, 5}));

    curve.setKey(1, -3.0f, 0.5f, 5.0f, 9.0f);
    curve.insertKey(2.0f, 0.5f, true);
    QCOMPARE(curve.keyCount(), 3);
    QVERIFY(TSAnimationCurve::keysEqual(curve.key(1), bez3{2, 0.5f, 2, 2}));
}

void TestAnimationCurve::smoothingGivesInnerKeysParallelHandles()
{
    TSAnimationCurve curve;
    curve.insertKey(0.0f, 0.0f, true);
    curve.insertKey(2.0f, 1.0f, true);
    curve.insertKey(1.0f, 0.5f, true);
    // Neighbours 0 and 2 around value 1: handles on the line between them.
    QCOMPARE(curve.key(1).inHandle, 0.5f);
    QCOMPARE(curve.key(1).outHandle, 1.5f);
    // End keys keep flat handles.
    QCOMPARE(curve.key(0).outHandle, 0.0f);
    QCOMPARE(curve.key(2).inHandle, 2.0f);

    // Setting a key at an existing time replaces it and does not smooth.
    curve.insertKey(0.0f, 1.0f, true);
    QCOMPARE(curve.key(1).outHandle, 1.5f);

    // A peak between two lows gets flat handles at its value.
    TSAnimationCurve peak;
    peak.insertKey(0.0f, 0.0f, true);
    peak.insertKey(0.0f, 1.0f, true);
    peak.insertKey(1.0f, 0.5f, true);
    QCOMPARE(peak.key(1).inHandle, 1.0f);
    QCOMPARE(peak.key(1).outHandle, 1.0f);

    // Unequal neighbours: in = (p+v)/2, out = (v+n)/2, both shifted by their mean offset.
    TSAnimationCurve uneven;
    uneven.insertKey(0.0f, 0.0f, true);
    uneven.insertKey(4.0f, 1.0f, true);
    uneven.insertKey(1.0f, 0.5f, true);
    QCOMPARE(uneven.key(1).inHandle, 0.0f);  // 0.5 - 0.5
    QCOMPARE(uneven.key(1).outHandle, 2.0f); // 2.5 - 0.5
}

void TestAnimationCurve::keepShapeInsertion()
{
    // Inside the curve the values stay as they were.
    TSAnimationCurve curve = curveOf({{0, 0, 0, 0.8f}, {0.2f, 1, 1, 1}, {1, 2, -1, -0.5f}});
    const TSAnimationCurve before = curve;
    const float times[] = {0.3f, 0.75f, 1.4f};
    for (float t : times) {
        curve.insertKeyKeepingShape(curve.evaluate(t), t);
    }
    QCOMPARE(curve.keyCount(), 6);
    for (int i = 0; i <= 40; ++i) {
        const float t = i * 0.05f;
        QVERIFY2(std::fabs(curve.evaluate(t) - before.evaluate(t)) < 1e-5f, qPrintable(QString::number(t)));
    }

    // After the last key: the previous key's out handle takes the new value.
    curve = curveOf({{0, 0, 0, 0}, {1, 1, 1, 1}});
    curve.insertKeyKeepingShape(3.0f, 2.0f);
    QCOMPARE(curve.keyCount(), 3);
    QCOMPARE(curve.key(1).outHandle, 3.0f);
    QVERIFY(TSAnimationCurve::keysEqual(curve.key(2), bez3{3, 2, 3, 3}));

    // Before the first key: the old first key's in handle takes the new value.
    curve.insertKeyKeepingShape(-2.0f, -1.0f);
    QCOMPARE(curve.key(0).time, -1.0f);
    QCOMPARE(curve.key(1).inHandle, -2.0f);

    // Into an empty curve.
    TSAnimationCurve empty;
    empty.insertKeyKeepingShape(4.0f, 0.5f);
    QCOMPARE(empty.keyCount(), 1);
    QCOMPARE(empty.evaluate(0.0f), 4.0f);
}

void TestAnimationCurve::findRemoveAndEdit()
{
    TSAnimationCurve curve;
    curve.insertKey(1.0f, 0.5f, false);
    QVERIFY(curve.hasKeyNear(0.51f));
    QVERIFY(!curve.hasKeyNear(0.52f));
    QCOMPARE(curve.findKey(0.51f, true), -1);
    QCOMPARE(curve.findKey(0.505f, true), 0);
    QCOMPARE(curve.findKey(0.2f, false), 0);
    QCOMPARE(curve.findKey(0.9f, false), -1);
    curve.removeKeyNear(0.52f);
    QCOMPARE(curve.keyCount(), 1);
    curve.removeKeyNear(0.49f);
    QCOMPARE(curve.keyCount(), 0);

    curve = curveOf({{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2}});
    curve.removeKey(-1);
    curve.removeKey(3);
    QCOMPARE(curve.keyCount(), 3);
    curve.swapKeys(0, 2);
    QVERIFY(curve.isKeyLater(0, 2));
    QVERIFY(!curve.isKeyLater(2, 0));
    curve.setKeyPoint(1, 1.5f, 7.0f);
    QCOMPARE(curve.keyPoint(1), QPointF(1.5, 7.0));
    QCOMPARE(curve.key(1).inHandle, 1.0f);
    curve.removeKey(1);
    QCOMPARE(curve.keyCount(), 2);
    curve.setKeys(nullptr, 0);
    QCOMPARE(curve.keyCount(), 0);
}

void TestAnimationCurve::keyFramesRoundToNearest()
{
    TSAnimationCurve curve;
    curve.insertKey(0.0f, 0.5f, false);
    curve.insertKey(0.0f, 1.63f, false);
    curve.insertKey(0.0f, 0.0f, false);
    curve.insertKey(0.0f, 0.0084f, false);
    QCOMPARE(curve.keyFrames(), QList<int>({0, 1, 30, 98}));
}

void TestAnimationCurve::presetsAndCopies()
{
    const auto p0 = TSAnimationCurve::createPreset(0);
    QCOMPARE(p0->preset(), 0);
    QCOMPARE(p0->keyCount(), 2);

    const auto p1 = TSAnimationCurve::createPreset(1);
    QCOMPARE(p1->keyCount(), 5);
    QCOMPARE(p1->keyPoint(2), QPointF(0.75, 0.4f));
    // Inner key (0.75, 0.4) between 0.1 and 0.8: in 0.25, out 0.6, shifted by -0.025.
    QVERIFY(std::fabs(p1->key(2).inHandle - 0.225f) < 1e-6f);
    QVERIFY(std::fabs(p1->key(2).outHandle - 0.575f) < 1e-6f);
    QCOMPARE(p1->key(0).outHandle, 0.0f);
    QCOMPARE(p1->key(4).inHandle, 1.0f);

    // Preset 2 is inserted from the end and stored ascending.
    const auto p2 = TSAnimationCurve::createPreset(2);
    QCOMPARE(p2->keyCount(), 5);
    for (int i = 1; i < p2->keyCount(); ++i) {
        QVERIFY(p2->isKeyLater(i, i - 1));
    }
    QCOMPARE(p2->keyPoint(1), QPointF(0.05f, 0.2f));

    const auto p3 = TSAnimationCurve::createPreset(3);
    QCOMPARE(p3->keyCount(), 7);
    QCOMPARE(p3->evaluate(0.8f), 1.3f);

    QCOMPARE(TSAnimationCurve::createPreset(5)->keyCount(), 0);
    QCOMPARE(TSAnimationCurve::createPreset(6), nullptr);

    // Copies are independent of the prototype.
    auto edited = TSAnimationCurve::createPreset(1);
    edited->removeKey(0);
    QCOMPARE(TSAnimationCurve::createPreset(1)->keyCount(), 5);

    const TSAnimationCurve custom = curveOf({{0, 0, 3, 0}});
    const auto p4 = TSAnimationCurve::createPreset(4, &custom);
    QCOMPARE(p4->preset(), 4);
    QCOMPARE(p4->evaluate(1.0f), 3.0f);

    // A copy takes the keys only: no default value, and a custom preset.
    TSAnimationCurve curve = curveOf({{1, 0, 2, 3}});
    curve.setDefaultValue(9.0f);
    curve.setPreset(2);
    const TSAnimationCurve copy(curve);
    QCOMPARE(copy.keyCount(), 1);
    QVERIFY(TSAnimationCurve::keysEqual(copy.key(0), curve.key(0)));
    QCOMPARE(copy.defaultValue(), 0.0f);
    QCOMPARE(copy.preset(), TSAnimationCurve::kCustomPreset);
    TSAnimationCurve assigned;
    assigned.setDefaultValue(5.0f);
    assigned = curve;
    QCOMPARE(assigned.defaultValue(), 0.0f);
    QCOMPARE(assigned.preset(), 4);
}

void TestAnimationCurve::storedFormAndBadPoints()
{
    TSAnimationCurve curve = curveOf({{0.2f, 0.5f, 0.25f, 0.3f}, {-1.0f, 1.25f, 2.0f, 4.5f}});
    curve.setPreset(3);
    CCDictionary* dict = curve.saveToDictionary();
    QCOMPARE(test::textsOf(dict->objectForKeyAs<CCArray>("points")),
             QStringList({"{0.500,0.250}", "{0.200,0.300}", "{1.250,2.000}", "{-1.000,4.500}"}));
    QCOMPARE(dict->valueForKey("preset")->string(), std::string("3"));

    TSAnimationCurve loaded;
    loaded.loadFromDictionary(dict);
    QCOMPARE(loaded.keyCount(), 2);
    QVERIFY(TSAnimationCurve::keysEqual(loaded.key(0), curve.key(0)));
    QVERIFY(TSAnimationCurve::keysEqual(loaded.key(1), curve.key(1)));
    QCOMPARE(loaded.preset(), 3);

    // Three decimals are what is kept.
    TSAnimationCurve fine = curveOf({{0, 0.12345f, 1.00049f, 0}});
    TSAnimationCurve reloaded;
    reloaded.loadFromDictionary(fine.saveToDictionary());
    QCOMPARE(reloaded.key(0).time, 0.123f);
    QCOMPARE(reloaded.key(0).value, 1.0f);

    // Loading skips what is not a point and survives what is not a curve.
    dict = CCDictionary::create();
    auto* points = CCArray::create();
    points->addObject(CCString::create("{1,2}"));
    dict->setObject(points, "points");
    TSAnimationCurve one;
    one.loadFromDictionary(dict);
    QCOMPARE(one.keyCount(), 0);
    QCOMPARE(one.preset(), 4);

    points->addObject(CCString::create("garbage"));
    points->addObject(CCDictionary::create());
    dict->setObject(CCString::create("x"), "preset");
    TSAnimationCurve odd;
    odd.loadFromDictionary(dict);
    QCOMPARE(odd.keyCount(), 1);
    QVERIFY(TSAnimationCurve::keysEqual(odd.key(0), bez3{0, 1, 2, 0}));
    QCOMPARE(odd.preset(), 0);

    dict->setObject(CCString::create("not an array"), "points");
    TSAnimationCurve wrongType;
    wrongType.loadFromDictionary(dict);
    QCOMPARE(wrongType.keyCount(), 0);
    wrongType.loadFromDictionary(nullptr);
}

namespace {

// Evaluation as a scan from the first key to the first later one, on the keys as they stand.
float scannedValue(const TSAnimationCurve& curve, float t)
{
    const int count = curve.keyCount();
    if (count == 0) {
        return curve.defaultValue();
    }
    int i = -1;
    for (int k = 0; k < count && !(curve.key(k).time > t); ++k) {
        i = k;
    }
    if (count == 1 || i < 0) {
        return curve.key(0).value;
    }
    if (i == count - 1) {
        return curve.key(i).value;
    }
    const bez3 k0 = curve.key(i);
    const bez3 k1 = curve.key(i + 1);
    const float s = (t - k0.time) / (k1.time - k0.time);
    const float u = 1.0f - s;
    return u * u * u * k0.value + 3.0f * s * u * u * k0.outHandle + 3.0f * s * s * u * k1.inHandle +
           s * s * s * k1.value;
}

quint32 bitsOf(float value)
{
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

void TestAnimationCurve::evaluationStopsWhereAScanFromTheFirstKeyStops()
{
    // Ordered keys with repeated times, then keys put out of order by every kind of edit, one
    // with no time at all, and order restored again: each curve gives, bit for bit, what the scan
    // gives at the key times, between them, outside them and at times that are no numbers.
    TSAnimationCurve curve;
    for (int i = 0; i < 40; ++i) {
        curve.insertKey(static_cast<float>((i * 7) % 5) - 2.0f,
                        static_cast<float>(i / 2) * 0.05f + (i % 2) * 0.01f, true);
    }
    curve.setKeyPoint(3, curve.key(2).time, 0.5f);
    std::vector<float> times{-1.0f,
                             0.0f,
                             2.0f,
                             std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity()};
    for (int k = 0; k < curve.keyCount(); ++k) {
        times.push_back(curve.key(k).time);
        times.push_back(curve.key(k).time + 0.004f);
        times.push_back(std::nextafter(curve.key(k).time, -1.0f));
    }
    auto check = [&times](const TSAnimationCurve& c, const char* state) {
        for (float t : times) {
            QVERIFY2(bitsOf(c.evaluate(t)) == bitsOf(scannedValue(c, t)),
                     qPrintable(QStringLiteral("%1 at %2").arg(QLatin1String(state)).arg(t)));
        }
    };
    check(curve, "ordered");
    TSAnimationCurve moved = curve;
    moved.setKeyPoint(20, 0.01f, 1.0f);
    check(moved, "key point moved back");
    TSAnimationCurve swapped = curve;
    swapped.swapKeys(5, 30);
    check(swapped, "keys swapped");
    TSAnimationCurve noTime = curve;
    noTime.setKey(12, 0.0f, std::numeric_limits<float>::quiet_NaN(), 3.0f, 0.0f);
    check(noTime, "key without a time");
    noTime.removeKey(12);
    check(noTime, "key without a time removed");
    TSAnimationCurve given;
    const std::vector<bez3> unordered{{0, 0.5f, 1, 2}, {1, 0.2f, 3, 0}, {0, 0.9f, -1, 1}, {2, 0.1f, 0, 0}};
    given.setKeys(unordered.data(), static_cast<int>(unordered.size()));
    check(given, "keys given out of order");
    given.setKeyPoint(1, 0.6f, 3.0f);
    given.setKeyPoint(3, 1.0f, 0.0f);
    check(given, "order restored");
    TSAnimationCurve written = curve;
    written.writeKey(4.0f, 0.3f);
    written.insertKeyKeepingShape(1.0f, 0.33f);
    written.removeKeyNear(0.1f);
    check(written, "edited in order");
}

BONESTAGE_GUILESS_TEST_MAIN(TestAnimationCurve)
#include "tst_AnimationCurve.moc"
