#include "signal/receiver/iqrecording.h"
#include "signal/receiver/soapydevice.h"
#include "platform/tuner/sdr/sdrtuner.h"
#include "platform/tuner/sdr/sdrtunercontrol.h"
#include "platform/tuner/standin/standintuner.h"

#include <QRadioTuner>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The SDR tuner on a receiver that SoapySDR drives: the tests' own SoapySDR
// module, whose one station sits at 100.0 MHz and which can be unplugged,
// listed after a sound card and a receiver that does not open.
class SoapyTunerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void receivesAndSurvivesUnplugging();
    void choosesOnlyReceiversThatOpen_data();
    void choosesOnlyReceiversThatOpen();

private:
    QTemporaryDir folder;
};

namespace {

const int stationHz = 100000000;
const int emptyChannelHz = 100400000;
const int reportsToWait = 5;

// The strength reportsToWait reports on, or -1 when they do not come.
int StrengthAfterReports(QSignalSpy& reports)
{
    const int before = reports.count();
    if (!QTest::qWaitFor([&] { return reports.count() >= before + reportsToWait; }, 10000))
        return -1;
    return reports.last().first().toInt();
}

}

void SoapyTunerTest::initTestCase()
{
    QVERIFY(folder.isValid());
    qunsetenv(IqRecording::variable);
    qputenv("SOAPY_SDR_PLUGIN_PATH", FAKE_SOAPY_MODULE_DIR);
    qputenv("RADIOSHOW_FAKE_SDR_UNPLUGGED", folder.filePath(QStringLiteral("unplugged")).toUtf8());
    QVERIFY(InstallSdrTuner());
    InstallStandInTuner();
}

void SoapyTunerTest::receivesAndSurvivesUnplugging()
{
    QRadioTuner tuner;
    QVERIFY(qobject_cast<SdrTunerControl*>(tuner.service()->requestControl(QRadioTunerControl_iid)));
    QSignalSpy reports(&tuner, &QRadioTuner::signalStrengthChanged);
    tuner.start();
    tuner.setFrequency(stationHz);
    QVERIFY(StrengthAfterReports(reports) >= 90);
    tuner.setFrequency(emptyChannelHz);
    QVERIFY(StrengthAfterReports(reports) <= 10);
    tuner.setFrequency(stationHz);
    QVERIFY(StrengthAfterReports(reports) >= 90);

    QFile unplug(folder.filePath(QStringLiteral("unplugged")));
    QVERIFY(unplug.open(QIODevice::WriteOnly));
    QTRY_VERIFY_WITH_TIMEOUT(reports.last().first().toInt() == 0, 10000);
    QCOMPARE(StrengthAfterReports(reports), 0);
    tuner.stop();
    QCOMPARE(tuner.state(), QRadioTuner::StoppedState);
}

void SoapyTunerTest::choosesOnlyReceiversThatOpen_data()
{
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("the receiver") << false << QStringLiteral("radioshowfake");
    QTest::newRow("none, when the receiver does not open") << true << QString();
}

void SoapyTunerTest::choosesOnlyReceiversThatOpen()
{
    QFETCH(bool, refused);
    QFETCH(QString, chosen);
    if (refused)
        qputenv("RADIOSHOW_FAKE_SDR_REFUSED", "1");
    else
        qunsetenv("RADIOSHOW_FAKE_SDR_REFUSED");
    SoapySDR::Kwargs found;
    QCOMPARE(SoapyDevice::Find(&found), !chosen.isEmpty());
    QCOMPARE(QString::fromStdString(found["driver"]), chosen);
}

QTEST_GUILESS_MAIN(SoapyTunerTest)
#include "tst_soapytuner.moc"
