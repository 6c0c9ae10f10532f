// Pose maths: channel values to item transforms and back.
#include "AnimatedObject.h"
#include "Pose.h"

#include "TestMain.h"

#include <QtTest>

#include <cmath>

namespace {

bool near(const QPointF& a, const QPointF& b, double tolerance = 1e-3)
{
    return std::abs(a.x() - b.x()) < tolerance && std::abs(a.y() - b.y()) < tolerance;
}

void key(AnimatedObject& tracks, int channel, float time, float value)
{
    tracks.channel(channel).insertKey(value, time, true);
}

} // namespace

class TestPose : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysPlaceTheItemOnScreen();
    void scaleWithoutKeysIsOne();
    void scaleHappensFirstThenRotationAboutCentreThenOffset();
    void poseAtTimeFollowsTheCurves();
    void valuesOfInvertsThePoseNextToThePreviousKeys_data();
    void valuesOfInvertsThePoseNextToThePreviousKeys();
};

void TestPose::keysPlaceTheItemOnScreen()
{
    AnimatedObject tracks;
    key(tracks, AnimatedObject::LocationX, 0, 0.5f);
    key(tracks, AnimatedObject::LocationY, 0, -0.25f);
    const QTransform pose = Pose::transformAt(tracks, 0, QPointF());
    QCOMPARE(pose.map(QPointF(0, 0)), QPointF(100, 50));
    QCOMPARE(tracks.displayValue(AnimatedObject::LocationX, 0), 100.0f);
    QCOMPARE(tracks.displayValue(AnimatedObject::LocationY, 0), -50.0f);
    QCOMPARE(AnimatedObject::storedFromDisplay(AnimatedObject::LocationX, 100), 0.5f);
    QCOMPARE(AnimatedObject::storedFromDisplay(AnimatedObject::Rotation, 1.5f), 1.5f);

    // A rotation key turns counter-clockwise on screen: a point to the right ends up above the
    // centre (y down on screen).
    AnimatedObject turned;
    key(turned, AnimatedObject::Rotation, 0, 1.5708f);
    QVERIFY(near(Pose::transformAt(turned, 0, QPointF()).map(QPointF(10, 0)), QPointF(0, -10)));
}

void TestPose::scaleWithoutKeysIsOne()
{
    AnimatedObject tracks;
    QVERIFY(Pose::transformAt(tracks, 0.4f, QPointF(3, 4)).isIdentity());
    // Even a scale curve whose default was lost reads as 1 while it has no keys.
    tracks.channel(AnimatedObject::ScaleX).setDefaultValue(0.0f);
    QCOMPARE(Pose::valuesAt(tracks, 0)[AnimatedObject::ScaleX], 1.0f);
    QCOMPARE(tracks.displayValue(AnimatedObject::ScaleX, 0), 1.0f);
    key(tracks, AnimatedObject::ScaleX, 0, 0.0f);
    QCOMPARE(Pose::valuesAt(tracks, 0)[AnimatedObject::ScaleX], 0.0f);
}

void TestPose::scaleHappensFirstThenRotationAboutCentreThenOffset()
{
    // Scale 2, a quarter turn about (10, 0), then 200 px right.
    const Pose::Values values{1.0f, 0.0f, 1.5707964f, 2.0f, 2.0f};
    const QTransform pose = Pose::transformOf(values, QPointF(10, 0));
    // (10, 0) → scaled (20, 0) → 10 right of the centre → turned to 10 above it → offset.
    QVERIFY(near(pose.map(QPointF(10, 0)), QPointF(210, -10)));
    QVERIFY(near(pose.map(QPointF(0, 0)), QPointF(210, 10)));
}

void TestPose::poseAtTimeFollowsTheCurves()
{
    AnimatedObject tracks;
    tracks.channel(AnimatedObject::LocationX).insertKey(0.0f, 0.0f, false);
    tracks.channel(AnimatedObject::LocationX).insertKey(1.0f, 1.0f, false);
    // Flat handles: (0, 0) and (1, 1) with flat handles evaluate to 0.5 halfway.
    QVERIFY(near(Pose::transformAt(tracks, 0.5f, QPointF()).map(QPointF()), QPointF(100, 0)));
    QVERIFY(near(Pose::transformAt(tracks, 2.0f, QPointF()).map(QPointF()), QPointF(200, 0)));
}

void TestPose::valuesOfInvertsThePoseNextToThePreviousKeys_data()
{
    // The pose of `values` is decomposed again next to `previous`; `values` is what must come back.
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<QVector<float>>("previous");
    QTest::addColumn<QVector<float>>("values");
    using V = QVector<float>;
    const V rest{0, 0, 0, 1, 1};
    QTest::newRow("identity") << QPointF() << rest << rest;
    QTest::newRow("joint") << QPointF() << rest << V{0.5f, -0.25f, 0.3f, 2, 0.5f};
    QTest::newRow("quarter turn") << QPointF() << rest << V{0.1f, 0.2f, 1.5707964f, 1, 1};
    QTest::newRow("almost half turn") << QPointF() << rest << V{0, 0, 2.9f, 1.5f, 1.5f};
    QTest::newRow("clockwise") << QPointF() << rest << V{-1, 1, -2.0f, 0.7f, 1.3f};
    QTest::newRow("image centre") << QPointF(32, -18) << rest << V{0.5f, 0.25f, 0.3f, 1, 1};
    QTest::newRow("image centre scaled") << QPointF(-5, 3) << rest << V{0.2f, 0.1f, 1.0f, 1.5f, 0.75f};
    QTest::newRow("mirrored y") << QPointF(4, 4) << rest << V{0, 0, 0.5f, 1, -1};
    QTest::newRow("mirrored left to right") << QPointF() << rest << V{0, 0, 0, -1, 1};
    QTest::newRow("mirrored top to bottom") << QPointF() << rest << V{0, 0, 0, 1, -1};
    QTest::newRow("turned node mirrored")
        << QPointF() << V{0.1f, 0.2f, 0.5f, 1, 1} << V{0.1f, 0.2f, 0.5f, -1, 1};
    QTest::newRow("image mirrored about its centre")
        << QPointF(30, -10) << rest << V{0.2f, 0.1f, 0.3f, -1.2f, 1};
    QTest::newRow("mirrored stays mirrored while turning")
        << QPointF(6, 2) << V{0, 0, 0, -1, 1} << V{0.05f, 0, 0.4f, -1, 1};
    QTest::newRow("100 degrees") << QPointF() << rest << V{0, 0, 1.7453293f, 1, 1};
    QTest::newRow("past a half turn") << QPointF() << V{0, 0, 3.0f, 1, 1} << V{0, 0, 3.3f, 1, 1};
    QTest::newRow("whole turns kept") << QPointF(-4, 8) << V{0, 0, 12.0f, 2, 2} << V{0.1f, 0, 12.2f, 2, 2};
    QTest::newRow("no width keeps the turn") << QPointF() << V{0, 0, 0.3f, 1, 1} << V{0, 0, 0.3f, 0, 1};
    QTest::newRow("no height keeps the turn")
        << QPointF(3, 3) << V{0, 0, -0.7f, 1, 1} << V{0, 0, -0.7f, 2, 0};
    QTest::newRow("collapsed keeps the turn")
        << QPointF(5, 5) << V{0.1f, 0, 0.3f, 1, 1} << V{0.1f, 0, 0.3f, 0, 0};
}

void TestPose::valuesOfInvertsThePoseNextToThePreviousKeys()
{
    QFETCH(QPointF, centre);
    QFETCH(QVector<float>, previous);
    QFETCH(QVector<float>, values);
    const Pose::Values input{values[0], values[1], values[2], values[3], values[4]};
    const Pose::Values before{previous[0], previous[1], previous[2], previous[3], previous[4]};
    const Pose::Values output = Pose::valuesOf(Pose::transformOf(input, centre), centre, before);
    for (size_t i = 0; i < 5; ++i) {
        QVERIFY2(std::abs(output[i] - input[i]) < 1e-4f,
                 qPrintable(QStringLiteral("channel %1: %2 instead of %3").arg(i).arg(output[i]).arg(input[i])));
    }
}

BONESTAGE_GUILESS_TEST_MAIN(TestPose)
#include "tst_Pose.moc"
