#include "signal/audioring.h"
#include "signal/receiver/fmreceivechain.h"
#include "signal/receiver/iqrecording.h"
#include "signal/receiver/sdrreceiver.h"
#include "platform/tuner/sdr/sdrtuner.h"
#include "platform/tuner/sdr/sdrtunercontrol.h"
#include "platform/tuner/standin/standintuner.h"
#include "support/fmrecording.h"

#include <QRadioTuner>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <vector>

// The SDR tuner fed with synthesised recordings through the real back end:
// the recording device, the receive thread, the receive chain, and the
// QRadioTuner that the radio uses.
class SdrTunerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void toneComesThrough();
    void strength_data();
    void strength();
    void unpluggedMidStream();

private:
    void WriteRecording(const QByteArray& bytes);

    QTemporaryDir folder;
    QString path;
};

namespace {

const double sampleRate = 1024000;
const int centreHz = 100000000;
// Where a real stick would see its station: a quarter of the rate off centre.
const int stationHz = centreHz + 256000;
const int emptyChannelHz = centreHz - 256000;
const int outsideHz = centreHz + 3000000;
const int reportsToWait = 5;

QByteArray Station(double snrDb)
{
    return fmrecording::Synthesise(sampleRate, 1, {{stationHz - centreHz, snrDb}}, 15);
}

// THD+N of a 1 kHz tone in 48 kHz audio, in dB: everything but the tone
// (fitted by least squares over whole periods) against the tone.
double ThdPlusNoiseDb(const std::vector<float>& audio, double* amplitude)
{
    const double pi = 3.14159265358979323846;
    const size_t count = audio.size() - audio.size() % 48;
    double mean = 0;
    double inPhase = 0;
    double quadrature = 0;
    for (size_t n = 0; n < count; ++n) {
        const double phase = 2 * pi * fmrecording::toneHz * n / 48000;
        mean += audio[n] / double(count);
        inPhase += 2 * audio[n] * std::cos(phase) / count;
        quadrature += 2 * audio[n] * std::sin(phase) / count;
    }
    double residual = 0;
    for (size_t n = 0; n < count; ++n) {
        const double phase = 2 * pi * fmrecording::toneHz * n / 48000;
        const double fitted = mean + inPhase * std::cos(phase) + quadrature * std::sin(phase);
        residual += (audio[n] - fitted) * (audio[n] - fitted) / count;
    }
    *amplitude = std::hypot(inPhase, quadrature);
    return 10 * std::log10(residual / (*amplitude * *amplitude / 2));
}

}

void SdrTunerTest::initTestCase()
{
    QVERIFY(folder.isValid());
    path = folder.filePath(QStringLiteral("band.cu8"));
    qputenv(IqRecording::variable,
            QStringLiteral("%1,%2,%3").arg(path).arg(centreHz).arg(sampleRate).toUtf8());
    QVERIFY(InstallSdrTuner());
    InstallStandInTuner();
}

void SdrTunerTest::WriteRecording(const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void SdrTunerTest::toneComesThrough()
{
    WriteRecording(Station(40));
    AudioRing ring(1 << 16);
    {
        SdrReceiver receiver(OpenSdrDevice, ring, stationHz, FmReceiveChain::europeanDeemphasisSeconds);
        const int settled = 9600;
        const int analysed = 24000;
        QTRY_VERIFY_WITH_TIMEOUT(ring.Held() >= settled + analysed, 10000);
        std::vector<float> stereo(2 * (settled + analysed));
        ring.Render(stereo.data(), settled + analysed);
        std::vector<float> audio;
        for (int n = settled; n < settled + analysed; ++n)
            audio.push_back(stereo[2 * n]);
        double amplitude = 0;
        const double thdPlusNoise = ThdPlusNoiseDb(audio, &amplitude);
        qInfo("1 kHz at 75 kHz deviation, 40 dB SNR: amplitude %.3f, THD+N %.1f dB", amplitude,
              thdPlusNoise);
        // Full deviation gives full scale; 50 us de-emphasis takes 0.4 dB at 1 kHz.
        QVERIFY2(amplitude > 0.85 && amplitude < 1.0, qPrintable(QString::number(amplitude)));
        QVERIFY2(thdPlusNoise < -30, qPrintable(QString::number(thdPlusNoise)));

        // Outside the recording's band the receiver falls silent.
        receiver.Tune(outsideHz);
        QTest::qWait(300);
        std::vector<float> drained(2 * ring.Held());
        ring.Render(drained.data(), ring.Held());
        QTest::qWait(300);
        QCOMPARE(ring.Held(), 0);
    }
}

void SdrTunerTest::strength_data()
{
    QTest::addColumn<QByteArray>("recording");
    QTest::addColumn<int>("tunedHz");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");

    // 2.5 per dB: the rows' ranges are disjoint and rise with the SNR.
    QTest::newRow("0 dB") << Station(0) << stationHz << 0 << 12;
    QTest::newRow("10 dB") << Station(10) << stationHz << 15 << 35;
    QTest::newRow("20 dB") << Station(20) << stationHz << 40 << 60;
    QTest::newRow("30 dB") << Station(30) << stationHz << 65 << 85;
    QTest::newRow("40 dB") << Station(40) << stationHz << 88 << 100;
    QTest::newRow("empty channel") << Station(40) << emptyChannelHz << 0 << 10;
    QTest::newRow("outside the recording") << Station(40) << outsideHz << 0 << 0;
    QTest::newRow("empty recording") << QByteArray() << stationHz << 0 << 0;
    QTest::newRow("half a sample") << QByteArray(1, '\x80') << stationHz << 0 << 0;
    QTest::newRow("odd length") << Station(40) + QByteArray(1, '\x80') << stationHz << 88 << 100;
}

void SdrTunerTest::strength()
{
    QFETCH(QByteArray, recording);
    QFETCH(int, tunedHz);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    WriteRecording(recording);

    QRadioTuner tuner;
    QVERIFY(qobject_cast<SdrTunerControl*>(tuner.service()->requestControl(QRadioTunerControl_iid)));
    QSignalSpy reports(&tuner, &QRadioTuner::signalStrengthChanged);
    tuner.start();
    tuner.setFrequency(tunedHz);
    QTRY_VERIFY_WITH_TIMEOUT(reports.count() >= reportsToWait, 10000);
    const int strength = reports.last().first().toInt();
    QVERIFY2(strength >= lowest && strength <= highest, qPrintable(QString::number(strength)));
    tuner.stop();
}

// The recording's reader fails under the receiver, as an unplugged stick
// would: the strength falls to 0 and the tuner still stops.
void SdrTunerTest::unpluggedMidStream()
{
    WriteRecording(Station(40));
    QRadioTuner tuner;
    QSignalSpy reports(&tuner, &QRadioTuner::signalStrengthChanged);
    tuner.start();
    tuner.setFrequency(stationHz);
    QTRY_VERIFY_WITH_TIMEOUT(!reports.isEmpty() && reports.last().first().toInt() > 80, 10000);
    QVERIFY(QFile::resize(path, 0));
    QTRY_VERIFY_WITH_TIMEOUT(reports.last().first().toInt() == 0, 10000);
    const int reportsAfterFault = reports.count();
    QTRY_VERIFY_WITH_TIMEOUT(reports.count() > reportsAfterFault, 10000);
    QCOMPARE(reports.last().first().toInt(), 0);
    tuner.stop();
    QCOMPARE(tuner.state(), QRadioTuner::StoppedState);
}

QTEST_GUILESS_MAIN(SdrTunerTest)
#include "tst_sdrtuner.moc"
