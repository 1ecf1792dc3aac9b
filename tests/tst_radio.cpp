#include "audio/radio.h"
#include "support/recordingtuners.h"

#include <QRadioTuner>
#include <QtTest>

#include <climits>
#include <iostream>
#include <sstream>

namespace {

// The station list as the radio must play it: Hz, flag, noise offset.
const int stationHz[20] = {
    91100000, 102800000, 93300000, 106200000, 96200000, 105500000, 98100000,
    92500000, 89000000, 104600000, 102300000, 88600000, 100000000, 94900000,
    87900000, 98900000, 103700000, 94000000, 101100000, 91900000,
};

bool IsFlagged(int channel)
{
    return channel == 0 || channel == 2 || channel == 10;
}

// Collects what is written to std::cout while it lives.
class CoutCapture
{
public:
    CoutCapture() : saved(std::cout.rdbuf(text.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(saved); }
    QString Text() const { return QString::fromStdString(text.str()); }

private:
    std::ostringstream text;
    std::streambuf* saved;
};

void StepTo(Radio& radio, int channel)
{
    while (radio.Channel() != channel)
        radio.Shuffle();
}

}

class RadioTest : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void switchingOnConfiguresStartsThenTunes();
    void switchingOffStopsAndDropsTheTuner();
    void destructionDeletesTheTunerWithoutStopping();
    void shuffleWalksTheStationsInOrder();
    void shuffleWhileOffMakesNoTunerCall();
    void forcedOffStaysSilentUntilSwitchedOffAndOn();
    void volumeAndTuningReachOnlyARunningTuner();
    void noiseAndFlagPerChannel_data();
    void noiseAndFlagPerChannel();
    void noiseFromAnyReport_data();
    void noiseFromAnyReport();
    void reportsReachTheNoise();

private:
    // Even where the system has a radio plugin, these tests talk to their own control.
    RecordingTuners tuners;
};

void RadioTest::init()
{
    tuners.calls.clear();
    tuners.controls.clear();
}

void RadioTest::switchingOnConfiguresStartsThenTunes()
{
    Radio radio;
    CoutCapture output;

    radio.Switch(true);
    QCOMPARE(output.Text(), QStringLiteral("activating radio\n"));
    QVERIFY(tuners.Only());
    QCOMPARE(tuners.calls, QStringList({"band FM", "volume 70", "start", "frequency 102800000"}));
    QVERIFY(radio.Tuner());
    QCOMPARE(radio.Tuner()->parent(), &radio);
    QVERIFY(radio.IsOn());
    QCOMPARE(radio.Channel(), 1);
    QCOMPARE(radio.Frequency(), 102800000);

    radio.Switch(true);
    QCOMPARE(output.Text(), QStringLiteral("activating radio\n"));
    QCOMPARE(tuners.controls.size(), 1);
    QCOMPARE(tuners.calls.size(), 4);
    QCOMPARE(radio.Channel(), 1);
}

void RadioTest::switchingOffStopsAndDropsTheTuner()
{
    Radio radio;
    radio.Switch(true);
    tuners.calls.clear();
    CoutCapture output;

    radio.Switch(false);
    QCOMPARE(output.Text(), QStringLiteral("stopping radio\n"));
    QCOMPARE(tuners.calls, QStringList({"stop", "gone"}));
    QVERIFY(!radio.Tuner());
    QVERIFY(!radio.IsOn());

    radio.Switch(false);
    QCOMPARE(output.Text(), QStringLiteral("stopping radio\n"));
    QCOMPARE(tuners.calls.size(), 2);
}

void RadioTest::destructionDeletesTheTunerWithoutStopping()
{
    auto* radio = new Radio;
    radio->Switch(true);
    tuners.calls.clear();

    delete radio;
    QCOMPARE(tuners.calls, QStringList({"gone"}));
}

void RadioTest::shuffleWalksTheStationsInOrder()
{
    Radio radio;
    radio.Switch(true);
    tuners.calls.clear();

    QStringList expected;
    for (int step = 1; step <= 20; ++step) {
        const int channel = (1 + step) % 20;
        expected << QStringLiteral("frequency %1").arg(stationHz[channel]);
        radio.Shuffle();
        QCOMPARE(radio.Channel(), channel);
        QCOMPARE(radio.Frequency(), stationHz[channel]);
        if (channel == 0)
            QCOMPARE(radio.Frequency(), 91100000);
    }
    QCOMPARE(tuners.calls, expected);
    QCOMPARE(radio.Channel(), 1);
}

void RadioTest::shuffleWhileOffMakesNoTunerCall()
{
    Radio radio;
    radio.Shuffle();
    radio.Shuffle();
    radio.Shuffle();
    QCOMPARE(radio.Channel(), 3);
    QCOMPARE(radio.Frequency(), 106200000);
    QVERIFY(tuners.controls.isEmpty());
    QVERIFY(!radio.Tuner());

    radio.Switch(true);
    QCOMPARE(tuners.calls.last(), QStringLiteral("frequency 96200000"));
    radio.Switch(false);
    tuners.calls.clear();
    radio.Shuffle();
    QCOMPARE(radio.Channel(), 5);
    QVERIFY(tuners.calls.isEmpty());
}

void RadioTest::forcedOffStaysSilentUntilSwitchedOffAndOn()
{
    Radio radio;
    radio.Switch(true);
    tuners.calls.clear();
    CoutCapture output;

    radio.ForceOff();
    QCOMPARE(tuners.calls, QStringList({"stop", "gone"}));
    QVERIFY(!radio.Tuner());
    QVERIFY(radio.IsOn());

    radio.Switch(true);
    QVERIFY(!radio.Tuner());
    QCOMPARE(tuners.controls.size(), 1);
    QCOMPARE(output.Text(), QString());

    radio.ForceOff();
    radio.Switch(false);
    QCOMPARE(output.Text(), QStringLiteral("stopping radio\n"));
    QCOMPARE(tuners.calls.size(), 2);

    radio.Switch(true);
    QCOMPARE(output.Text(), QStringLiteral("stopping radio\nactivating radio\n"));
    QCOMPARE(tuners.controls.size(), 2);
    QVERIFY(tuners.controls.last());
    QCOMPARE(tuners.calls.mid(2),
             QStringList({"band FM", "volume 70", "start", "frequency 93300000"}));
    QCOMPARE(radio.Channel(), 2);
}

void RadioTest::volumeAndTuningReachOnlyARunningTuner()
{
    Radio radio;
    radio.Tune(99000000);
    radio.SetVolume(20);
    radio.ForceOn();
    QCOMPARE(radio.Frequency(), 99000000);
    QVERIFY(tuners.controls.isEmpty());
    QVERIFY(!radio.Tuner());

    radio.Switch(true);
    tuners.calls.clear();
    radio.SetVolume(30);
    radio.Tune(100000000);
    radio.ForceOn();
    QCOMPARE(tuners.calls, QStringList({"volume 30", "frequency 100000000"}));
    QCOMPARE(radio.Frequency(), 100000000);
    QCOMPARE(radio.Channel(), 1);
}

void RadioTest::noiseAndFlagPerChannel_data()
{
    QTest::addColumn<int>("channel");
    for (int channel = 0; channel < 20; ++channel)
        QTest::addRow("channel %d", channel) << channel;
}

void RadioTest::noiseAndFlagPerChannel()
{
    QFETCH(int, channel);
    Radio radio;
    StepTo(radio, channel);

    QCOMPARE(radio.GetSuperNoise(), IsFlagged(channel) ? 1 : 0);
    radio.SetNoise(0);
    QCOMPARE(radio.GetNoise(), IsFlagged(channel) ? 0 : 45);
    radio.SetNoise(100);
    QCOMPARE(radio.GetNoise(), IsFlagged(channel) ? 50 : 95);
}

void RadioTest::noiseFromAnyReport_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("noise");
    QTest::newRow("3 on channel 0") << 0 << 3 << 1;
    QTest::newRow("100 on channel 1") << 1 << 100 << 95;
    QTest::newRow("0 on channel 1") << 1 << 0 << 45;
    QTest::newRow("-1 flagged, truncated toward zero") << 0 << -1 << 0;
    QTest::newRow("-1 unflagged") << 1 << -1 << 44;
    QTest::newRow("-91 unflagged, truncated toward zero") << 3 << -91 << 0;
    QTest::newRow("-93 unflagged") << 4 << -93 << -1;
    QTest::newRow("101 flagged") << 2 << 101 << 50;
    QTest::newRow("101 unflagged") << 5 << 101 << 95;
    QTest::newRow("INT_MAX flagged") << 10 << INT_MAX << 1073741823;
    QTest::newRow("INT_MAX unflagged") << 19 << INT_MAX << 1073741868;
    QTest::newRow("INT_MIN flagged") << 0 << INT_MIN << -1073741824;
    QTest::newRow("INT_MIN unflagged") << 1 << INT_MIN << -1073741779;
}

void RadioTest::noiseFromAnyReport()
{
    QFETCH(int, channel);
    QFETCH(int, strength);
    QFETCH(int, noise);
    Radio radio;
    StepTo(radio, channel);
    radio.SetNoise(strength);
    QCOMPARE(radio.GetNoise(), noise);
    QCOMPARE(radio.GetSuperNoise(), IsFlagged(channel) ? 1 : 0);
}

void RadioTest::reportsReachTheNoise()
{
    Radio radio;
    QCOMPARE(radio.GetNoise(), 0);
    radio.Switch(true);
    RecordingTunerControl* control = tuners.Only();
    QVERIFY(control);

    control->ReportStrength(60);
    QCOMPARE(radio.GetNoise(), 75);
    control->ReportStrength(INT_MIN);
    QCOMPARE(radio.GetNoise(), -1073741779);

    for (int report = 0; report < 10000; ++report)
        control->ReportStrength(report % 101);
    control->ReportStrength(37);
    QCOMPARE(radio.GetNoise(), 63);

    radio.Switch(false);
    QCOMPARE(radio.GetNoise(), 63);
}

QTEST_GUILESS_MAIN(RadioTest)
#include "tst_radio.moc"
