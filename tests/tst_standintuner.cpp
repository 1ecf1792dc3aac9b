#include "platform/tuner/standin/standintuner.h"
#include "platform/tuner/standin/standintunercontrol.h"
#include "signal/broadcast/standinreceiver.h"

#include <QRadioTuner>
#include <QSignalSpy>
#include <QtTest>

#include <climits>
#include <set>

namespace {

const int showStationsHz[20] = {
    91100000, 102800000, 93300000, 106200000, 96200000, 105500000, 98100000,
    92500000, 89000000, 104600000, 102300000, 88600000, 100000000, 94900000,
    87900000, 98900000, 103700000, 94000000, 101100000, 91900000,
};

// Waits (generously) for count reports and returns them.
QList<int> Strengths(QSignalSpy& spy, int count)
{
    QList<int> strengths;
    if (!QTest::qWaitFor([&] { return spy.count() >= count; }, 20000))
        return strengths;
    for (int report = 0; report < count; ++report)
        strengths << spy.at(report).at(0).toInt();
    return strengths;
}

}

class StandInTunerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void offersAnAvailableFmTuner();
    void tunesWithinTheFmBand_data();
    void tunesWithinTheFmBand();
    void boundsTheVolume_data();
    void boundsTheVolume();
    void strengthIsAPureFunctionWithinRange();
    void stationsDifferInStrength();
    void reportsFollowTheStrengthFunctionFromEachTuning();
    void sameFrequencySameReportsInSeparateTuners();
    void keepsReportingWhileActive();
    void reportsNothingWhileStopped();
    void callerPacedReportsOnlyWhenAsked();
};

void StandInTunerTest::initTestCase()
{
    qputenv("QT_MULTIMEDIA_PREFERRED_PLUGINS", "standintuner");
    InstallStandInTuner();
}

void StandInTunerTest::offersAnAvailableFmTuner()
{
    QRadioTuner tuner;
    QVERIFY(tuner.isAvailable());
    QCOMPARE(tuner.availability(), QMultimedia::Available);
    QVERIFY(tuner.isAntennaConnected());
    QVERIFY(tuner.isBandSupported(QRadioTuner::FM));
    QVERIFY(!tuner.isBandSupported(QRadioTuner::AM));
    QCOMPARE(tuner.frequencyRange(QRadioTuner::FM), qMakePair(87500000, 108000000));
    QCOMPARE(tuner.frequencyStep(QRadioTuner::FM), 100000);
    QCOMPARE(tuner.band(), QRadioTuner::FM);
    QCOMPARE(tuner.state(), QRadioTuner::StoppedState);

    QSignalSpy errors(&tuner, QOverload<QRadioTuner::Error>::of(&QRadioTuner::error));
    tuner.setBand(QRadioTuner::AM);
    QCOMPARE(tuner.band(), QRadioTuner::FM);
    QCOMPARE(tuner.error(), QRadioTuner::OutOfRangeError);
    QCOMPARE(errors.count(), 1);

    const int tuned = tuner.frequency();
    tuner.searchForward();
    tuner.searchAllStations();
    tuner.cancelSearch();
    QVERIFY(!tuner.isSearching());
    QCOMPARE(tuner.frequency(), tuned);
}

void StandInTunerTest::tunesWithinTheFmBand_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("tuned");
    QTest::newRow("a station") << 102800000 << 102800000;
    QTest::newRow("lower band edge") << 87500000 << 87500000;
    QTest::newRow("upper band edge") << 108000000 << 108000000;
    QTest::newRow("just below half a step") << 102849999 << 102800000;
    QTest::newRow("half a step rounds up") << 102850000 << 102900000;
    QTest::newRow("below the band") << 87000000 << 87500000;
    QTest::newRow("above the band") << 120000000 << 108000000;
    QTest::newRow("just above the band") << 108040000 << 108000000;
    QTest::newRow("zero") << 0 << 87500000;
    QTest::newRow("negative") << -5 << 87500000;
    QTest::newRow("INT_MIN") << INT_MIN << 87500000;
    QTest::newRow("INT_MAX") << INT_MAX << 108000000;
}

void StandInTunerTest::tunesWithinTheFmBand()
{
    QFETCH(int, requested);
    QFETCH(int, tuned);
    QRadioTuner tuner;
    tuner.setFrequency(95000000);
    QSignalSpy changes(&tuner, &QRadioTuner::frequencyChanged);
    tuner.setFrequency(requested);
    QCOMPARE(tuner.frequency(), tuned);
    QCOMPARE(changes.count(), tuned == 95000000 ? 0 : 1);
}

void StandInTunerTest::boundsTheVolume_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("volume");
    QTest::newRow("70") << 70 << 70;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("100") << 100 << 100;
    QTest::newRow("-1") << -1 << 0;
    QTest::newRow("101") << 101 << 100;
    QTest::newRow("INT_MIN") << INT_MIN << 0;
    QTest::newRow("INT_MAX") << INT_MAX << 100;
}

void StandInTunerTest::boundsTheVolume()
{
    QFETCH(int, requested);
    QFETCH(int, volume);
    QRadioTuner tuner;
    tuner.setVolume(requested);
    QCOMPARE(tuner.volume(), volume);

    QSignalSpy mutes(&tuner, &QRadioTuner::mutedChanged);
    tuner.setMuted(true);
    tuner.setMuted(true);
    QVERIFY(tuner.isMuted());
    QCOMPARE(mutes.count(), 1);
}

void StandInTunerTest::strengthIsAPureFunctionWithinRange()
{
    const QList<int> hostileHz = {INT_MIN, -1, 0, INT_MAX};
    const QList<quint32> reports = {0, 1, 2, 7, 1000, UINT_MAX};
    QList<int> frequencies = hostileHz;
    for (int hz = 87500000; hz <= 108000000; hz += 100000)
        frequencies << hz;
    for (int hz : frequencies) {
        for (quint32 report : reports) {
            const int strength = StandInReceiver::StrengthAt(hz, report);
            QVERIFY2(strength >= 0 && strength <= 100,
                     qPrintable(QStringLiteral("%1 Hz, report %2: %3").arg(hz).arg(report).arg(strength)));
            QCOMPARE(StandInReceiver::StrengthAt(hz, report), strength);
        }
        // A real signal wanders a little from report to report.
        int lowest = 100, highest = 0;
        for (quint32 report = 0; report < 40; ++report) {
            lowest = qMin(lowest, StandInReceiver::StrengthAt(hz, report));
            highest = qMax(highest, StandInReceiver::StrengthAt(hz, report));
        }
        QVERIFY2(highest - lowest >= 2 && highest - lowest <= 8,
                 qPrintable(QStringLiteral("%1 Hz: from %2 to %3").arg(hz).arg(lowest).arg(highest)));
    }
}

void StandInTunerTest::stationsDifferInStrength()
{
    // The report made on tuning in, through a real tuner, for each station of the show.
    QRadioTuner tuner;
    tuner.start();
    QSignalSpy reports(&tuner, &QRadioTuner::signalStrengthChanged);
    std::set<int> levels;
    int weakest = 101;
    int strongest = -1;
    for (int hz : showStationsHz) {
        reports.clear();
        tuner.setFrequency(hz);
        QVERIFY(!reports.isEmpty());
        const int level = reports.first().at(0).toInt();
        levels.insert(level);
        weakest = qMin(weakest, level);
        strongest = qMax(strongest, level);
    }
    QVERIFY2(levels.size() >= 5, "the stations sound too much alike");
    QVERIFY2(weakest < 40 && strongest > 60,
             qPrintable(QStringLiteral("levels only from %1 to %2").arg(weakest).arg(strongest)));
}

void StandInTunerTest::reportsFollowTheStrengthFunctionFromEachTuning()
{
    QRadioTuner tuner;
    tuner.start();
    for (int hz : {102800000, 87900000, 102800000}) {
        QSignalSpy reports(&tuner, &QRadioTuner::signalStrengthChanged);
        tuner.setFrequency(hz);
        const QList<int> strengths = Strengths(reports, 4);
        QCOMPARE(strengths.size(), 4);
        for (int report = 0; report < 4; ++report)
            QCOMPARE(strengths.at(report), StandInReceiver::StrengthAt(hz, std::uint32_t(report)));
        QCOMPARE(tuner.signalStrength(), reports.last().at(0).toInt());
    }
}

void StandInTunerTest::sameFrequencySameReportsInSeparateTuners()
{
    QList<int> runs[2];
    for (QList<int>& run : runs) {
        QRadioTuner tuner;
        tuner.setFrequency(98100000);
        QSignalSpy reports(&tuner, &QRadioTuner::signalStrengthChanged);
        tuner.start();
        run = Strengths(reports, 5);
        QCOMPARE(run.size(), 5);
    }
    QCOMPARE(runs[0], runs[1]);
}

void StandInTunerTest::keepsReportingWhileActive()
{
    QRadioTuner tuner;
    QSignalSpy states(&tuner, &QRadioTuner::stateChanged);
    QSignalSpy reports(&tuner, &QRadioTuner::signalStrengthChanged);
    tuner.start();
    QCOMPARE(tuner.state(), QRadioTuner::ActiveState);
    QCOMPARE(states.count(), 1);
    QCOMPARE(states.first().at(0).value<QRadioTuner::State>(), QRadioTuner::ActiveState);
    QTRY_VERIFY_WITH_TIMEOUT(reports.count() >= 8, 20000);
    for (const QList<QVariant>& report : reports) {
        const int strength = report.at(0).toInt();
        QVERIFY(strength >= 0 && strength <= 100);
    }
}

void StandInTunerTest::reportsNothingWhileStopped()
{
    QRadioTuner tuner;
    QSignalSpy reports(&tuner, &QRadioTuner::signalStrengthChanged);
    tuner.setFrequency(90000000);
    QVERIFY(!reports.wait(1200));

    tuner.start();
    QTRY_VERIFY_WITH_TIMEOUT(reports.count() >= 3, 20000);
    QSignalSpy states(&tuner, &QRadioTuner::stateChanged);
    tuner.stop();
    QCOMPARE(tuner.state(), QRadioTuner::StoppedState);
    QCOMPARE(states.count(), 1);
    QCOMPARE(tuner.signalStrength(), 0);

    reports.clear();
    tuner.setFrequency(100000000);
    QVERIFY(!reports.wait(1500));
    QCOMPARE(reports.count(), 0);
}

// Paced by its caller, the control reports on starting, on each tuning and on
// each ReportNow() while active, and its own timer never adds a report.
void StandInTunerTest::callerPacedReportsOnlyWhenAsked()
{
    StandInTunerControl control(nullptr, StandInTunerControl::Pacing::Caller);
    QSignalSpy reports(&control, &QRadioTunerControl::signalStrengthChanged);
    control.ReportNow();
    QCOMPARE(reports.count(), 0);

    const int hz = 101100000;
    control.start();
    control.setFrequency(hz);
    QCOMPARE(reports.count(), 2);
    QVERIFY(!reports.wait(2 * StandInTunerControl::reportIntervalMs + 200));

    control.ReportNow();
    control.ReportNow();
    QCOMPARE(reports.count(), 4);
    for (quint32 report = 0; report < 3; ++report)
        QCOMPARE(reports.at(int(report) + 1).at(0).toInt(), StandInReceiver::StrengthAt(hz, report));

    control.stop();
    control.ReportNow();
    QCOMPARE(reports.count(), 4);
}

QTEST_GUILESS_MAIN(StandInTunerTest)
#include "tst_standintuner.moc"
