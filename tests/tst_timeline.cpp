#include "audio/radio.h"
#include "show/timeline.h"

#include <QtTest>

#include <cmath>

class TimelineTest : public QObject
{
    Q_OBJECT
private slots:
    void ticksShuffleEverySixtiethTickUpTo1440();
    void tick1498SwitchesTheRadioOffAnd1500Quits();
    void withoutTheRadioTicksOnlyQuit();
    void clockEndsTheShowOnlyPast155000ms();

    void sceneZeroShowsTheWaitingPictureWithoutLines();
    void rulesFollowTheScenesAndTheStations();
    void waitingFrame();
    void mixFollowsTheNoise_data();
    void mixFollowsTheNoise();
    void noiseBeyondTheTunersRangeIsUsedUnclamped();

    void phaseWrapsIntoTheHalfOpenUnitRange_data();
    void phaseWrapsIntoTheHalfOpenUnitRange();
    void phaseSurvivesAStallOfHours();
    void pulseScaleRunsFrom1_42To1_75();

    void statisticsLine_data();
    void statisticsLine();
};

void TimelineTest::ticksShuffleEverySixtiethTickUpTo1440()
{
    QVector<int> shuffles;
    for (int tick = 0; tick <= 1600; ++tick) {
        if (PlanTick(tick, true).shuffle)
            shuffles << tick;
    }
    QVector<int> expected;
    for (int tick = 60; tick <= 1440; tick += 60)
        expected << tick;
    QCOMPARE(expected.size(), 24);
    QCOMPARE(shuffles, expected);
}

void TimelineTest::tick1498SwitchesTheRadioOffAnd1500Quits()
{
    for (int tick = 0; tick <= 1600; ++tick) {
        const TickPlan plan = PlanTick(tick, true);
        QCOMPARE(plan.radioOff, tick == 1498);
        QCOMPARE(plan.quit, tick == 1500);
    }
}

void TimelineTest::withoutTheRadioTicksOnlyQuit()
{
    for (int tick = 0; tick <= 1600; ++tick) {
        const TickPlan plan = PlanTick(tick, false);
        QVERIFY(!plan.shuffle);
        QVERIFY(!plan.radioOff);
        QCOMPARE(plan.quit, tick == 1500);
    }
}

void TimelineTest::clockEndsTheShowOnlyPast155000ms()
{
    QVERIFY(!ClockEndsShow(0));
    QVERIFY(!ClockEndsShow(150000));
    QVERIFY(!ClockEndsShow(155000));
    QVERIFY(ClockEndsShow(155001));
    QVERIFY(ClockEndsShow(Q_INT64_C(1) << 40));
}

void TimelineTest::sceneZeroShowsTheWaitingPictureWithoutLines()
{
    for (int superNoise : {0, 1}) {
        const FramePlan plan = PlanRunningFrame(0, 40, superNoise, 5000.0f);
        QCOMPARE(plan.picture, 6);
        QCOMPARE(plan.angle, 0.0f);
        QCOMPARE(plan.mix, 0.3f);
        QCOMPARE(plan.flag, float(superNoise));
        QVERIFY(!plan.drawLines);
    }
}

void TimelineTest::rulesFollowTheScenesAndTheStations()
{
    // The rule a frame took, told by its angle at 1000 ms into the show.
    const auto ruleOf = [](const FramePlan& plan) {
        if (!plan.drawLines)
            return 1;
        if (plan.angle == 290000.0f)
            return 2;
        if (plan.angle == 280000.0f)
            return 3;
        if (plan.angle == -200000.0f)
            return 4;
        return plan.angle == 0.0f ? 5 : -1;
    };

    // The radio starts on the station after its first, and steps on with every scene.
    Radio radio;
    radio.Shuffle();
    QVector<int> flagged, spiral, reversed, still;
    for (int scene = 0; scene <= 24; ++scene) {
        if (scene > 0)
            radio.Shuffle();
        QCOMPARE(radio.Channel(), (scene + 1) % 20);
        const FramePlan plan = PlanRunningFrame(scene, 40, radio.GetSuperNoise(), 1000.0f);
        switch (ruleOf(plan)) {
        case 1: QCOMPARE(scene, 0); break;
        case 2: spiral << scene; QCOMPARE(plan.picture, 5); break;
        case 3: flagged << scene; QCOMPARE(plan.picture, scene % 6); break;
        case 4: reversed << scene; QCOMPARE(plan.picture, scene % 6); break;
        case 5: still << scene; QCOMPARE(plan.picture, scene % 6); break;
        default: QFAIL("a frame that follows no rule");
        }
    }
    // Scene 21 plays channel 2, a flagged station: the flag rule comes before the
    // every-third-scene rule.
    QCOMPARE(flagged, (QVector<int>{1, 9, 19, 21}));
    QCOMPARE(spiral, (QVector<int>{5, 11, 17, 23}));
    QCOMPARE(reversed, (QVector<int>{3, 6, 12, 15, 18, 24}));
    QCOMPARE(still, (QVector<int>{2, 4, 7, 8, 10, 13, 14, 16, 20, 22}));
}

void TimelineTest::waitingFrame()
{
    const FramePlan plan = PlanWaitingFrame();
    QCOMPARE(plan.picture, 6);
    QCOMPARE(plan.angle, 0.0f);
    QCOMPARE(plan.mix, 0.0f);
    QCOMPARE(plan.flag, 0.0f);
    QVERIFY(!plan.drawLines);
    QCOMPARE(PulseScale(kWaitingPhase), 1.75f + 1.1f * -0.3f);
}

void TimelineTest::mixFollowsTheNoise_data()
{
    QTest::addColumn<int>("noise");
    QTest::addColumn<float>("mix");
    QTest::addColumn<float>("spiralMix");
    QTest::newRow("no signal") << 0 << 1.0f << 0.6f;
    QTest::newRow("a trace of signal") << 1 << 0.99f << 0.594f;
    QTest::newRow("signal") << 2 << 0.70000005f << 0.42f;
    QTest::newRow("full signal") << 95 << 0.70000005f << 0.42f;
}

void TimelineTest::mixFollowsTheNoise()
{
    QFETCH(int, noise);
    QFETCH(float, mix);
    QFETCH(float, spiralMix);
    // Scene 2 takes the plain rule, scene 5 the spiral's.
    QCOMPARE(PlanRunningFrame(2, noise, 0, 0.0f).mix, mix);
    QVERIFY(std::abs(PlanRunningFrame(5, noise, 0, 0.0f).mix - spiralMix) < 1e-6f);
    // The strong-signal base is one float step above 0.7, not 0.7.
    if (noise > 1)
        QCOMPARE(PlanRunningFrame(2, noise, 0, 0.0f).mix, std::nextafter(0.7f, 1.0f));
}

void TimelineTest::noiseBeyondTheTunersRangeIsUsedUnclamped()
{
    QCOMPARE(PlanRunningFrame(2, -10, 0, 0.0f).mix, 1.0f + -10.0f * -0.01f);
    QVERIFY(PlanRunningFrame(2, -10, 0, 0.0f).mix > 1.0f);
    QCOMPARE(PlanRunningFrame(2, std::numeric_limits<int>::max(), 0, 0.0f).mix, 0.70000005f);
    QVERIFY(std::isfinite(PlanRunningFrame(2, std::numeric_limits<int>::min(), 0, 0.0f).mix));
}

void TimelineTest::phaseWrapsIntoTheHalfOpenUnitRange_data()
{
    QTest::addColumn<float>("phase");
    QTest::addColumn<float>("dt");
    QTest::addColumn<float>("expected");
    QTest::newRow("a 50 ms frame across the wrap") << 0.95f << 0.05f << 0.95f + 0.05f / 0.44f - 1.0f;
    QTest::newRow("within the range") << 0.25f << 0.01f << 0.25f + 0.01f / 0.44f;
    QTest::newRow("exactly 1 stays 1") << 1.0f << 0.0f << 1.0f;
    QTest::newRow("the waiting phase, first running frame") << 1.1f << 0.01f << 1.1f + 0.01f / 0.44f - 1.0f;
    QTest::newRow("a whole second") << 0.5f << 1.0f << 0.5f + 1.0f / 0.44f - 2.0f;
    QTest::newRow("a frame landing on a whole pulse") << 0.5f << 0.22f << 1.0f;
}

void TimelineTest::phaseWrapsIntoTheHalfOpenUnitRange()
{
    QFETCH(float, phase);
    QFETCH(float, dt);
    QFETCH(float, expected);
    const float advanced = AdvancePhase(phase, dt);
    QVERIFY(advanced > 0.0f && advanced <= 1.0f);
    QVERIFY2(std::abs(advanced - expected) < 1e-6f, qPrintable(QString::number(double(advanced), 'g', 9)));
}

void TimelineTest::phaseSurvivesAStallOfHours()
{
    // Ten hours without a frame: the phase must come back into range, not loop for ever.
    const float advanced = AdvancePhase(0.5f, 36000.0f);
    QVERIFY(advanced > 0.0f && advanced <= 1.0f);
}

void TimelineTest::pulseScaleRunsFrom1_42To1_75()
{
    QVERIFY(std::abs(PulseScale(1.0f) - 1.45f) < 1e-6f);
    QVERIFY(std::abs(PulseScale(0.0f) - 1.75f) < 1e-6f);
    QVERIFY(std::abs(PulseScale(kWaitingPhase) - 1.42f) < 1e-6f);
}

void TimelineTest::statisticsLine_data()
{
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("line");
    QTest::newRow("a whole show") << qint64(150123) << 12000 << "time elapsed: 150, fps: 79\n";
    QTest::newRow("closed right after the start") << qint64(0) << 7 << "time elapsed: 0, fps: 7000\n";
    QTest::newRow("one ms short of a second") << qint64(998) << 100 << "time elapsed: 0, fps: 100\n";
    QTest::newRow("frames beyond 32-bit products") << qint64(999999) << 3000000 << "time elapsed: 1000, fps: 3000\n";
}

void TimelineTest::statisticsLine()
{
    QFETCH(qint64, elapsedMs);
    QFETCH(int, frames);
    QFETCH(QString, line);
    QCOMPARE(QString::fromStdString(StatisticsLine(elapsedMs, frames)), line);
}

QTEST_APPLESS_MAIN(TimelineTest)
#include "tst_timeline.moc"
