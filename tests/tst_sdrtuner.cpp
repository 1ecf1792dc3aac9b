#include "signal/audioring.h"
#include "signal/receiver/fmreceivechain.h"
#include "signal/receiver/iqrecording.h"
#include "signal/receiver/sdrreceiver.h"
#include "platform/tuner/sdr/deemphasischoice.h"
#include "platform/tuner/sdr/sdrtuner.h"
#include "platform/tuner/sdr/sdrtunercontrol.h"
#include "platform/tuner/standin/standintuner.h"
#include "support/fmrecording.h"

#include <QRadioTuner>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

// The SDR tuner fed with synthesised recordings through the real back end:
// the recording device, the receive thread, the receive chain, and the
// QRadioTuner that the radio uses.
class SdrTunerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void ringKeepsOrder_data();
    void ringKeepsOrder();
    void toneComesThrough();
    void reception_data();
    void reception();
    void deemphasisChoice_data();
    void deemphasisChoice();
    void strength_data();
    void strength();
    void unpluggedMidStream();

private:
    void WriteRecording(const QByteArray& bytes);
    std::vector<float> Receive(const QByteArray& recording, double rate, double offsetHz,
                               double deemphasisSeconds, bool* stereo, int* strength);

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

// Fits tones of the frequencies hz to one channel of stereo audio at 48 kHz
// by least squares (exact over whole periods of each): their amplitudes,
// and the mean power of what is left.
double FitTones(const std::vector<float>& stereo, int channel, const QVector<double>& hz,
                QVector<double>* amplitudes)
{
    const double pi = 3.14159265358979323846;
    const size_t count = stereo.size() / 2 - stereo.size() / 2 % 48;
    std::vector<double> residual(count);
    double mean = 0;
    for (size_t n = 0; n < count; ++n)
        mean += stereo[2 * n + channel] / double(count);
    for (size_t n = 0; n < count; ++n)
        residual[n] = stereo[2 * n + channel] - mean;
    amplitudes->clear();
    for (double f : hz) {
        double inPhase = 0;
        double quadrature = 0;
        for (size_t n = 0; n < count; ++n) {
            inPhase += 2 * residual[n] * std::cos(2 * pi * f * n / 48000) / count;
            quadrature += 2 * residual[n] * std::sin(2 * pi * f * n / 48000) / count;
        }
        for (size_t n = 0; n < count; ++n)
            residual[n] -= inPhase * std::cos(2 * pi * f * n / 48000)
                + quadrature * std::sin(2 * pi * f * n / 48000);
        amplitudes->push_back(std::hypot(inPhase, quadrature));
    }
    double power = 0;
    for (double r : residual)
        power += r * r / count;
    return power;
}

// THD+N of the 1 kHz tone in one channel, in dB: everything but the tone
// against the tone.
double ThdPlusNoiseDb(const std::vector<float>& stereo, int channel, double* amplitude)
{
    QVector<double> amplitudes;
    const double rest = FitTones(stereo, channel, {fmrecording::toneHz}, &amplitudes);
    *amplitude = amplitudes[0];
    return 10 * std::log10(rest / (*amplitude * *amplitude / 2));
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

void SdrTunerTest::ringKeepsOrder_data()
{
    QTest::addColumn<int>("chunk");
    for (int chunk : {1, 7, 40})
        QTest::addRow("%d frames at a time", chunk) << chunk;
}

// Frames come out in the order they went in, left and right apart, also
// after the ring has wrapped around many times.
void SdrTunerTest::ringKeepsOrder()
{
    QFETCH(int, chunk);
    AudioRing ring(64);
    int pushed = 0;
    const auto push = [&](int frames) {
        std::vector<float> block;
        for (int i = 0; i < frames; ++i) {
            block.push_back(float(pushed + i));
            block.push_back(-float(pushed + i));
        }
        QCOMPARE(ring.Push(block.data(), frames), frames);
        pushed += frames;
    };
    push(64);
    int expected = 0;
    std::vector<float> out(size_t(chunk) * 2);
    while (expected < 1000) {
        ring.Render(out.data(), chunk);
        for (int i = 0; i < chunk; ++i, ++expected) {
            QCOMPARE(out[size_t(2 * i)], float(expected));
            QCOMPARE(out[size_t(2 * i + 1)], -float(expected));
        }
        push(chunk);
    }
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
        stereo.erase(stereo.begin(), stereo.begin() + 2 * settled);
        double amplitude = 0;
        const double thdPlusNoise = ThdPlusNoiseDb(stereo, 0, &amplitude);
        qInfo("1 kHz at 75 kHz deviation, 40 dB SNR: amplitude %.3f, THD+N %.1f dB", amplitude,
              thdPlusNoise);
        // Full deviation gives full scale; 50 us de-emphasis takes 0.4 dB at 1 kHz.
        QVERIFY2(amplitude > 0.85 && amplitude < 1.0, qPrintable(QString::number(amplitude)));
        QVERIFY2(thdPlusNoise < -60, qPrintable(QString::number(thdPlusNoise)));

        // Outside the recording's band the receiver falls silent.
        receiver.Tune(outsideHz);
        QTest::qWait(300);
        std::vector<float> drained(2 * ring.Held());
        ring.Render(drained.data(), ring.Held());
        QTest::qWait(300);
        QCOMPARE(ring.Held(), 0);
    }
}

// Plays a recording at rate through the receive thread, tuned offsetHz off
// its centre, and returns half a second of the stereo audio after 0.6 s
// (time for the loop to lock and the stereo blend to open), with whether
// the receiver then reports stereo and its strength.
std::vector<float> SdrTunerTest::Receive(const QByteArray& recording, double rate,
                                         double offsetHz, double deemphasisSeconds,
                                         bool* stereo, int* strength)
{
    const int settled = 28800;
    const int analysed = 24000;
    WriteRecording(recording);
    const IqRecording::Setting setting{path.toStdString(), double(centreHz), rate};
    AudioRing ring(1 << 16);
    SdrReceiver receiver([&] { return std::make_unique<IqRecording>(setting); }, ring,
                         int(centreHz + offsetHz), deemphasisSeconds);
    std::vector<float> audio(2 * (settled + analysed));
    if (!QTest::qWaitFor([&] { return ring.Held() >= settled + analysed; }, 10000))
        return {};
    ring.Render(audio.data(), settled + analysed);
    audio.erase(audio.begin(), audio.begin() + 2 * settled);
    *stereo = receiver.IsStereo();
    *strength = receiver.Strength();
    return audio;
}

// What reaches the ears, by rate, neighbours, stereo and de-emphasis: each
// row's tones at their levels (within the row's tolerance), THD+N of the 1 kHz tone in
// the left channel below the row's bound, the right channel at its level,
// and the stereo indication.
void SdrTunerTest::reception_data()
{
    using fmrecording::Station;
    QTest::addColumn<QByteArray>("recording");
    QTest::addColumn<double>("rate");
    QTest::addColumn<double>("deemphasis");
    QTest::addColumn<QVector<double>>("hz");
    QTest::addColumn<double>("level");
    QTest::addColumn<double>("toleranceDb");
    QTest::addColumn<double>("rightLevel");
    QTest::addColumn<double>("highestThdPlusNoise");
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<int>("lowestStrength");

    const double europe = FmReceiveChain::europeanDeemphasisSeconds;
    const double america = FmReceiveChain::americanDeemphasisSeconds;
    // 1 kHz at full deviation after 50 us de-emphasis.
    const double full = 1 / std::hypot(1.0, 2 * 3.14159265358979 * 1000 * europe);
    const QVector<double> tone{fmrecording::toneHz};
    // A neighbour 200 kHz away and 20 dB stronger: not heard at all.
    for (double rate : {1024000.0, 2048000.0, 2400000.0}) {
        for (double side : {-1.0, 1.0}) {
            const QByteArray bytes = fmrecording::Synthesise(
                rate, 1, {Station{rate / 4, 40}, Station{rate / 4 + side * 200000, 60}}, 15);
            QTest::addRow("%+.0f kHz neighbour at %.3f Msps", side * 200, rate / 1e6)
                << bytes << rate << europe << tone << full << 0.5 << full << -60.0 << false << 80;
        }
    }
    QTest::newRow("alone at 250 ksps")
        << fmrecording::Synthesise(250000, 1, {Station{0, 40}}, 15) << 250000.0 << europe
        << tone << full << 0.5 << full << -60.0 << false << 80;
    // Left only: the right channel silent by 30 dB.
    QTest::newRow("left only, stereo")
        << fmrecording::Synthesise(sampleRate, 1, {Station{sampleRate / 4, 40, fmrecording::StereoTone(1, 0)}}, 15)
        << sampleRate << europe << tone << 0.9 * full << 0.5 << 0.9 * full / std::pow(10, 30 / 20.0)
        << -40.0 << true << 80;
    // Too weak for stereo without hiss: mono, the tone in both channels.
    QTest::newRow("left only, stereo at 12 dB")
        << fmrecording::Synthesise(sampleRate, 1, {Station{sampleRate / 4, 12, fmrecording::StereoTone(1, 0)}}, 15)
        << sampleRate << europe << tone << 0.45 * full << 0.5 << 0.45 * full << -20.0 << false << 20;
    // Pre-emphasised tones come out flat with the matching de-emphasis.
    const QVector<double> sweep{50, 1000, 5000, 10000, 15000};
    for (double seconds : {europe, america})
        QTest::addRow("de-emphasis %.0f us", seconds * 1e6)
            << fmrecording::Synthesise(sampleRate, 1, {Station{sampleRate / 4, 40, fmrecording::PreemphasisedTones(sweep, 0.05, seconds)}}, 15)
            << sampleRate << seconds << sweep << 0.05 << 0.2 << 0.05 << 0.0 << false << 80;
}

void SdrTunerTest::reception()
{
    QFETCH(QByteArray, recording);
    QFETCH(double, rate);
    QFETCH(double, deemphasis);
    QFETCH(QVector<double>, hz);
    QFETCH(double, level);
    QFETCH(double, toleranceDb);
    QFETCH(double, rightLevel);
    QFETCH(double, highestThdPlusNoise);
    QFETCH(bool, stereo);
    QFETCH(int, lowestStrength);

    bool stereoReported = false;
    int strength = 0;
    const double offsetHz = rate > 1e6 ? rate / 4 : 0;
    const std::vector<float> audio
        = Receive(recording, rate, offsetHz, deemphasis, &stereoReported, &strength);
    QVERIFY(!audio.empty());
    QVector<double> left;
    QVector<double> right;
    const double leftRest = FitTones(audio, 0, hz, &left);
    FitTones(audio, 1, hz, &right);
    for (int i = 0; i < hz.size(); ++i) {
        qInfo("%.0f Hz: left %.2f dB, right %.2f dB", hz[i], 20 * std::log10(left[i] / level),
              20 * std::log10(right[i] / rightLevel));
        QVERIFY2(std::abs(20 * std::log10(left[i] / level)) < toleranceDb,
                 qPrintable(QString::number(left[i])));
        if (rightLevel == level)
            QVERIFY2(std::abs(20 * std::log10(right[i] / level)) < toleranceDb,
                     qPrintable(QString::number(right[i])));
        else
            QVERIFY2(right[i] < rightLevel, qPrintable(QString::number(right[i])));
    }
    if (hz.size() == 1) {
        const double thdPlusNoise = 10 * std::log10(leftRest / (left[0] * left[0] / 2));
        qInfo("THD+N %.1f dB, strength %d", thdPlusNoise, strength);
        QVERIFY2(thdPlusNoise < highestThdPlusNoise, qPrintable(QString::number(thdPlusNoise)));
    }
    QCOMPARE(stereoReported, stereo);
    // A 40 dB station reads near the top at every rate, neighbours or not.
    QVERIFY2(strength >= lowestStrength, qPrintable(QString::number(strength)));
}

// The variable, when it holds 50 or 75, else the territory.
void SdrTunerTest::deemphasisChoice_data()
{
    QTest::addColumn<QString>("territory");
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<double>("microseconds");
    QTest::newRow("United States") << "US" << QByteArray() << 75.0;
    QTest::newRow("Brazil") << "BR" << QByteArray() << 75.0;
    QTest::newRow("Jamaica") << "jm" << QByteArray() << 75.0;
    QTest::newRow("South Korea") << "KR" << QByteArray() << 75.0;
    QTest::newRow("Germany") << "DE" << QByteArray() << 50.0;
    QTest::newRow("Japan") << "JP" << QByteArray() << 50.0;
    QTest::newRow("no territory") << "" << QByteArray() << 50.0;
    QTest::newRow("told 75") << "" << QByteArray("75") << 75.0;
    QTest::newRow("told 50") << "" << QByteArray("50") << 50.0;
}

void SdrTunerTest::deemphasisChoice()
{
    QFETCH(QString, territory);
    QFETCH(QByteArray, variable);
    QFETCH(double, microseconds);
    if (variable.isEmpty()) {
        QCOMPARE(deemphasischoice::ForTerritory(territory) * 1e6, microseconds);
    } else {
        qputenv(deemphasischoice::variable, variable);
        const double chosen = deemphasischoice::Choose();
        qunsetenv(deemphasischoice::variable);
        QCOMPARE(chosen * 1e6, microseconds);
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
    // Stations as strong 200 kHz away on both sides are not noise.
    QTest::newRow("30 dB between equal neighbours")
        << fmrecording::Synthesise(sampleRate, 1, {{stationHz - centreHz, 30}, {stationHz - centreHz - 200000, 30}, {stationHz - centreHz + 200000, 30}}, 15)
        << stationHz << 70 << 80;
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
