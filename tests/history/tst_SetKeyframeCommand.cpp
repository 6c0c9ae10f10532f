// Key writes through the undo history: undo gives back the channel exactly as it was, redo exactly
// as the write left it, and a write near a key changes that key instead of adding another.
#include "HistoryManager.h"

#include "TestMain.h"

#include <QtTest>

#include <vector>

namespace {

std::vector<bez3> keysOf(const TSAnimationCurve& curve)
{
    return std::vector<bez3>(curve.keys(), curve.keys() + curve.keyCount());
}

bool sameKeys(const std::vector<bez3>& a, const std::vector<bez3>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), TSAnimationCurve::keysEqual);
}

} // namespace

class TestSetKeyframeCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void undoAndRedoRestoreTheChannelExactly_data();
    void undoAndRedoRestoreTheChannelExactly();
};

void TestSetKeyframeCommand::undoAndRedoRestoreTheChannelExactly_data()
{
    QTest::addColumn<float>("time");
    QTest::addColumn<int>("keysAfter");
    QTest::newRow("between keys") << 0.4f << 4;
    QTest::newRow("at a key") << 0.5f << 3;
    QTest::newRow("just before a key") << 0.49f << 3;
    QTest::newRow("just after a key") << 0.51f << 3;
    QTest::newRow("after the last key") << 1.5f << 4;
}

void TestSetKeyframeCommand::undoAndRedoRestoreTheChannelExactly()
{
    QFETCH(float, time);
    QFETCH(int, keysAfter);
    HistoryManager history;
    AnimatedObject tracks;
    tracks.setName("arm");
    tracks.setChannelKeys(AnimatedObject::Rotation,
                          {{0.1f, 0.0f, 0.0f, 0.2f}, {0.7f, 0.5f, 1.0f, 1.2f}, {-0.5f, 1.0f, -0.4f, -0.3f}});
    const TSAnimationCurve& curve = tracks.channel(AnimatedObject::Rotation);
    const std::vector<bez3> before = keysOf(curve);

    history.beginMacro("Animation change");
    history.changeAnimatedObjectValue(&tracks, AnimatedObject::Rotation, time, curve.evaluate(time), 2.0f,
                                      !curve.hasKeyNear(time));
    history.endMacro();
    const std::vector<bez3> after = keysOf(curve);
    QCOMPARE(curve.keyCount(), keysAfter);
    // The written value is what the channel shows at that time.
    QCOMPARE(curve.evaluate(time), 2.0f);

    for (int round = 0; round < 2; ++round) {
        history.undo();
        QVERIFY(sameKeys(keysOf(curve), before));
        history.redo();
        QVERIFY(sameKeys(keysOf(curve), after));
    }
}

BONESTAGE_WIDGETS_TEST_MAIN(TestSetKeyframeCommand)
#include "tst_SetKeyframeCommand.moc"
